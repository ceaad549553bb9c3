#include <gtest/gtest.h>

#include "TraceFormat.h"

namespace {

QString Fmt(const char* format, TTraceArgs args = {}) {
  return TraceFormat(QString::fromUtf8(format), args).value_or(QStringLiteral("<error>"));
}

}  // namespace

TEST(TraceFormat, IntegerDirectives) {
  EXPECT_EQ(Fmt("%d-%d", {3, 0}), QStringLiteral("3-0"));
  EXPECT_EQ(Fmt("[%5d|%-5d|%.3d]", {42, 42, -7}), QStringLiteral("[   42|42   |-007]"));
  EXPECT_EQ(Fmt("%x %.4x", {255, 10}), QStringLiteral("FF 000A"));
  EXPECT_EQ(Fmt("%u %x", {-1, -1}), QStringLiteral("4294967295 FFFFFFFF"));
  EXPECT_EQ(Fmt("%d", {uint64_t(18446744073709551615ull)}), QStringLiteral("18446744073709551615"));
  EXPECT_EQ(Fmt("%*d", {4, 7}), QStringLiteral("   7"));
  EXPECT_EQ(Fmt("%1:s %0:s %s", {"a", "b"}), QStringLiteral("b a b"));
  EXPECT_EQ(Fmt("100%%"), QStringLiteral("100%"));
}

TEST(TraceFormat, TextAndFloatDirectives) {
  EXPECT_EQ(Fmt("%s|%.2s|%s|%s", {QStringLiteral("户型"), "abc", 'c', true}), QStringLiteral("户型|ab|c|True"));
  EXPECT_EQ(Fmt("%f %.1f %n", {1.5, 2.26, -1234567.891}), QStringLiteral("1.50 2.3 -1,234,567.89"));
  EXPECT_EQ(Fmt("%e", {1234.5}), QStringLiteral("1.23450000000000E+003"));
  EXPECT_EQ(Fmt("%g %g %g", {1.5, 1e20, 0.0001}), QStringLiteral("1.5 1E20 0.0001"));
  EXPECT_EQ(Fmt("%m", {1234.5}), QStringLiteral("1,234.50"));
  EXPECT_EQ(Fmt("%p", {reinterpret_cast<const void*>(0x10)}), QStringLiteral("0000000000000010"));
}

TEST(TraceFormat, MismatchesAndMalformedDirectivesFail) {
  for (const char* bad : {"%d", "%s %s", "%q", "%", "%5", "%.x", "%3:d"})
    EXPECT_EQ(Fmt(bad, {"one"}), QStringLiteral("<error>")) << bad;
  EXPECT_EQ(Fmt("%f", {1}), QStringLiteral("<error>"));
  EXPECT_EQ(Fmt("%d", {1.5}), QStringLiteral("<error>"));
  EXPECT_EQ(Fmt("%p", {1}), QStringLiteral("<error>"));
}

TEST(TraceFormat, SafeFormatListsArgumentsAsHex) {
  const TTraceArgs args = {-1, 'A', 3.9, "four", nullptr};
  EXPECT_EQ(
      SafeFormat(u"%z", std::span<const TTraceArg>(args.begin(), args.size())),
      QStringLiteral("Format Error! Format String: %z. \r\nHex Params: FFFFFFFF 00000041 00000003 00000004 00000000"));
  EXPECT_EQ(SafeFormat(u"%d", {}), QStringLiteral("Format Error! Format String: %d. "));
  const TTraceArgs good = {1};
  EXPECT_EQ(SafeFormat(u"%d", std::span<const TTraceArg>(good.begin(), good.size())), QStringLiteral("1"));
}
