#include "FuzzSupport.h"

#include <QApplication>
#include <cstring>
#include <memory>

#include "GraphEditor.h"
#include "PlanObjects.h"
#include "Recording.h"

namespace {
// Both live until the process ends; libFuzzer never returns from its loop.
QApplication* App = nullptr;
std::unique_ptr<TGraphEditor> Graph;
}  // namespace

void StartFuzzApplication() {
  if (App) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  App = new QApplication(argc, argv);
  RegisterPlanClasses();
}

TGraphEditor& FuzzGraph() {
  StartFuzzApplication();
  if (!Graph) {
    Graph = std::make_unique<TGraphEditor>();
    Graph->resize(400, 300);
  }
  return *Graph;
}

void FillStream(TMemoryStream& Stream, const uint8_t* Data, size_t Size) {
  Stream.WriteBuffer(Data, int64_t(Size));
  Stream.SetPosition(0);
}

void SealEmbeddedRecordings(uint8_t* Data, size_t Size) {
  for (size_t at = 4; at + 4 <= Size; ++at) {
    if (std::memcmp(Data + at, "QPIC", 4) != 0) continue;
    uint32_t length = uint32_t(Data[at - 4]) | uint32_t(Data[at - 3]) << 8 | uint32_t(Data[at - 2]) << 16 |
                      uint32_t(Data[at - 1]) << 24;  // little-endian, as documents store sizes
    if (length > Size - at) continue;
    QByteArray recording(reinterpret_cast<const char*>(Data + at), qsizetype(length));
    SealRecording(recording);
    std::memcpy(Data + at, recording.constData(), length);
  }
}
