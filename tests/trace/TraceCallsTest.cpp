// The texts, types and tags of the typed calls.
#include <gtest/gtest.h>

#include <cerrno>

#include "PlanTrace.h"
#include "TraceTestSupport.h"

namespace {

struct TSent {
  QString Text;
  uint32_t Type;
  QString Tag;
};

// Runs one call on a fresh debugger and answers what it sent.
template <class F>
TSent SentBy(F&& Call) {
  TRecordingDebugger t;
  Call(t.Debugger);
  if (t.Records().size() != 1) return {QStringLiteral("<%1 records>").arg(t.Records().size()), 99, QString()};
  const TTraceRecord& r = t.Records()[0];
  return {TextOf(r), r.MsgType, TagOf(r)};
}

}  // namespace

TEST(TraceCalls, IntegerAndFormatTexts) {
  EXPECT_EQ(SentBy([](auto& d) { d.LogInteger(7); }).Text, QStringLiteral("Integer: 7"));
  EXPECT_EQ(SentBy([](auto& d) { d.LogInteger(7, QStringLiteral("w")); }).Text, QStringLiteral("w 7"));
  EXPECT_EQ(SentBy([](auto& d) { d.LogInteger(-2147483649LL, QStringLiteral("w")); }).Text,
            QStringLiteral("w -2147483649"));
  EXPECT_EQ(SentBy([](auto& d) { d.LogFmt(QStringLiteral("%d-%d"), {3, 0}); }).Text, QStringLiteral("3-0"));
  EXPECT_EQ(SentBy([](auto& d) { d.LogFmt(QStringLiteral("%d")); }).Text,
            QStringLiteral("Format Error! Format String: %d. "));
  EXPECT_EQ(SentBy([](auto& d) {
              d.LogFmt(QStringLiteral("%s=%d"), {5, QStringLiteral("x")});
            }).Text,
            QStringLiteral("Format Error! Format String: %s=%d. \r\nHex Params: 00000005 00000001"));
  const TSent error = SentBy([](auto& d) { d.LogErrorFmt(QStringLiteral("code %x"), {255}); });
  EXPECT_EQ(error.Text, QStringLiteral("code FF"));
  EXPECT_EQ(error.Type, static_cast<uint32_t>(tmtError));
  const TSent tagged = SentBy([](auto& d) { d.LogFmtWithTag(QStringLiteral("%s"), {"v"}, QStringLiteral("T1")); });
  EXPECT_EQ(tagged.Tag, QStringLiteral("T1"));
  EXPECT_EQ(SentBy([](auto& d) { d.LogFmtWithType(QStringLiteral("w"), {}, tmtCustom); }).Type,
            static_cast<uint32_t>(tmtCustom));
}

TEST(TraceCalls, MessageTypesOfPlainCalls) {
  EXPECT_EQ(SentBy([](auto& d) { d.LogMsgWarning(QStringLiteral("w")); }).Type, static_cast<uint32_t>(tmtWarning));
  EXPECT_EQ(SentBy([](auto& d) { d.LogMsgError(QStringLiteral("e")); }).Type, static_cast<uint32_t>(tmtError));
  const TSent separator = SentBy([](auto& d) { d.LogSeparator(); });
  EXPECT_EQ(separator.Text, QStringLiteral("-"));
  EXPECT_EQ(separator.Type, static_cast<uint32_t>(tmtSeparator));
  const TSent typed =
      SentBy([](auto& d) { d.TraceMsgWithTypeTag(QStringLiteral("m"), tmtSystem, QStringLiteral("s")); });
  EXPECT_EQ(typed.Type, static_cast<uint32_t>(tmtSystem));
  EXPECT_EQ(typed.Tag, QStringLiteral("s"));
}

TEST(TraceCalls, ValueTexts) {
  EXPECT_EQ(SentBy([](auto& d) { d.LogBoolean(true); }).Text, QStringLiteral("True: a Boolean Value."));
  EXPECT_EQ(SentBy([](auto& d) { d.LogBoolean(false, QStringLiteral("ok")); }).Text, QStringLiteral("False: ok"));
  EXPECT_EQ(SentBy([](auto& d) { d.LogAssigned(nullptr); }).Text, QStringLiteral("Unassigned: a Pointer."));
  EXPECT_EQ(SentBy([](auto& d) { d.LogAssigned(&d, QStringLiteral("me")); }).Text, QStringLiteral("Assigned: me"));
  EXPECT_EQ(SentBy([](auto& d) { d.LogColor(clRed); }).Text, QStringLiteral("Color: clRed"));
  EXPECT_EQ(SentBy([](auto& d) { d.LogColor(0x123456, QStringLiteral("pen")); }).Text, QStringLiteral("pen $00123456"));
  EXPECT_EQ(SentBy([](auto& d) { d.LogFloat(2.5); }).Text, QStringLiteral("Float: 2.5"));
  EXPECT_EQ(SentBy([](auto& d) { d.LogFloat(0.1, QStringLiteral("x")); }).Text, QStringLiteral("x 0.1"));
  EXPECT_EQ(SentBy([](auto& d) { d.LogChar(QLatin1Char('A')); }).Text, QStringLiteral("Char: 'A'(65/$41)"));
  EXPECT_EQ(SentBy([](auto& d) { d.LogChar(QChar(0x5385), QStringLiteral("c")); }).Text,
            QStringLiteral("c '厅'(21381/$5385)"));
  EXPECT_EQ(SentBy([](auto& d) { d.LogPoint(TPoint(1, -2)); }).Text, QStringLiteral("Point: (1,-2)"));
  EXPECT_EQ(SentBy([](auto& d) { d.LogRect(TRect(1, 2, 3, 4), QStringLiteral("r")); }).Text,
            QStringLiteral("r ((1,2),(3,4))"));
  EXPECT_EQ(SentBy([](auto& d) { d.LogPointer(reinterpret_cast<void*>(0xBEEF)); }).Text,
            QStringLiteral("Pointer Address: $000000000000BEEF"));
  EXPECT_EQ(SentBy([](auto& d) {
              d.LogStrings({QStringLiteral("a"), QStringLiteral("b")}, QStringLiteral("L"));
            }).Text,
            QStringLiteral("L\r\na\r\nb\r\n"));
  EXPECT_EQ(SentBy([](auto& d) { d.LogVirtualKey(13); }).Text, QStringLiteral("VirtualKey: 13($0D), VK_RETURN"));
  const TSent key = SentBy([](auto& d) { d.LogVirtualKeyWithTag(0x41, QStringLiteral("k")); });
  EXPECT_EQ(key.Text, QStringLiteral("VirtualKey: 65($41), VK_UNKNOWN"));
  EXPECT_EQ(key.Tag, QStringLiteral("k"));
}

TEST(TraceCalls, DateTimeTexts) {
  const QDateTime moment(QDate(2024, 1, 2), QTime(3, 4, 5, 6));
  EXPECT_EQ(SentBy([&](auto& d) { d.LogDateTime(moment); }).Text,
            QStringLiteral("A Date/Time: 2024-01-02 03:04:05.006"));
  EXPECT_EQ(SentBy([&](auto& d) { d.LogDateTime(moment, QStringLiteral("at ")); }).Text,
            QStringLiteral("at 2024-01-02 03:04:05.006"));
  // "mm" right after an hour means minutes; quoted text stays as it is.
  EXPECT_EQ(
      SentBy([&](auto& d) { d.LogDateTimeFmt(moment, QStringLiteral("d/m/yy h:mm 'mm'"), QStringLiteral("T")); }).Text,
      QStringLiteral("T2/1/24 3:04 mm"));
}

TEST(TraceCalls, LastErrorTellsCodeAndText) {
  const TSent sent = SentBy([](auto& d) {
    errno = ENOENT;
    d.LogLastError();
  });
  EXPECT_EQ(sent.Text, QStringLiteral("Last Error (Code: 2): No such file or directory"));
  EXPECT_EQ(sent.Type, static_cast<uint32_t>(tmtError));
}

TEST(TraceCalls, MemoryDumpSendsRawBytes) {
  TRecordingDebugger t;
  const char bytes[] = {'\0', '\x01', '\xFF', 'a'};
  t.Debugger.LogMemDump(bytes, sizeof bytes);
  const QByteArray big(5000, '\x7F');
  t.Debugger.LogMemDump(big.constData(), big.size());
  t.Debugger.LogMemDump(nullptr, 10);  // nothing to read: nothing sent
  ASSERT_EQ(t.Records().size(), 2u);
  EXPECT_EQ(BytesOf(t.Records()[0]), QByteArray(bytes, 4));
  EXPECT_EQ(t.Records()[0].MsgType, static_cast<uint32_t>(tmtMemoryDump));
  EXPECT_EQ(t.Records()[1].Length, 4144u);
}
