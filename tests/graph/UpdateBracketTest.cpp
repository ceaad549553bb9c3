#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "UpdateBracket.h"

namespace {

// Records the calls made on it; EndUpdate throws when told to, as a change
// event's handler may.
struct TRecorder {
  std::string Calls;
  bool EndThrows = false;
  void BeginUpdate() { Calls += "B"; }
  void EndUpdate() {
    Calls += "E";
    if (EndThrows) throw std::runtime_error("end");
  }
};

std::string Caught(TRecorder& Target, bool StepThrows) {
  try {
    WithinUpdate(
        Target,
        [&] {
          Target.Calls += "S";
          if (StepThrows) throw std::runtime_error("step");
        },
        [&] { Target.Calls += "C"; });
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

}  // namespace

TEST(UpdateBracket, ClosesOnEveryPathWithTheRightError) {
  TRecorder ok;
  EXPECT_EQ(Caught(ok, false), "");
  EXPECT_EQ(ok.Calls, "BSCE");

  // A failed step still closes, and its own error reaches the caller.
  TRecorder failed;
  EXPECT_EQ(Caught(failed, true), "step");
  EXPECT_EQ(failed.Calls, "BSCE");

  // What the closing events raise after a good step is not lost.
  TRecorder endFails;
  endFails.EndThrows = true;
  EXPECT_EQ(Caught(endFails, false), "end");
  EXPECT_EQ(endFails.Calls, "BSCE");

  // Without a closing step only the bracket runs.
  TRecorder plain;
  WithinUpdate(plain, [&] { plain.Calls += "S"; });
  EXPECT_EQ(plain.Calls, "BSE");
}
