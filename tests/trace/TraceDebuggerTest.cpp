#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <thread>

#include "PlanTrace.h"
#include "TestFiles.h"
#include "TraceClock.h"
#include "TraceTestSupport.h"

TEST(TraceDebugger, EmptyMessageIsNeitherSentNorCounted) {
  TRecordingDebugger t;
  t.Debugger.LogMsg(QString());
  t.Debugger.LogFmt(QString());
  EXPECT_EQ(t.Debugger.MessageCount(), 0);
  EXPECT_TRUE(t.Records().empty());
  t.Debugger.LogMsg(QStringLiteral("x"));
  EXPECT_EQ(t.Debugger.MessageCount(), 1);
  EXPECT_EQ(t.Debugger.PostedMessageCount(), 1);
}

TEST(TraceDebugger, LongTextIsCutTo4096Bytes) {
  TRecordingDebugger t;
  t.Debugger.LogMsg(QString(5000, QLatin1Char('a')));
  ASSERT_EQ(t.Records().size(), 1u);
  EXPECT_EQ(t.Records()[0].Length, 4144u);
  EXPECT_EQ(t.Channel().Sizes[0], 4144u);
  EXPECT_EQ(BytesOf(t.Records()[0]), QByteArray(4096, 'a'));

  // Three-byte characters are never split: 1365 of them fill 4095 bytes.
  t.Debugger.LogMsg(QString(2000, QChar(0x4E2D)));
  ASSERT_EQ(t.Records().size(), 2u);
  EXPECT_EQ(t.Records()[1].Length, 48u + 4095u);
  EXPECT_EQ(TextOf(t.Records()[1]), QString(1365, QChar(0x4E2D)));
}

TEST(TraceDebugger, RecordCarriesEveryField) {
  TRecordingDebugger t;
  const double before = LocalDateTimeStamp();
  t.Debugger.LogMsgWithTagLevel(QStringLiteral("读取 plan"), QStringLiteral("LongTagName"), 5);
  const double after = LocalDateTimeStamp();
  ASSERT_EQ(t.Records().size(), 1u);
  const TTraceRecord& r = t.Records()[0];
  EXPECT_EQ(r.Length, 48u + QByteArray("读取 plan").size());
  EXPECT_EQ(TextOf(r), QStringLiteral("读取 plan"));
  EXPECT_EQ(r.Level, 5);
  EXPECT_EQ(r.Indent, 0);
  EXPECT_EQ(r.ProcessId, static_cast<uint32_t>(::getpid()));
  EXPECT_EQ(r.ThreadId, static_cast<uint32_t>(::gettid()));
  EXPECT_EQ(QByteArray(r.Tag, 8), QByteArray("LongTagN"));
  EXPECT_EQ(r.MsgType, static_cast<uint32_t>(tmtInformation));
  EXPECT_EQ(r.CPUPeriod, 0u);
  EXPECT_EQ(r.StampKind, 1u);
  EXPECT_GE(r.Stamp, before);
  EXPECT_LE(r.Stamp, after);
  EXPECT_GT(r.Stamp, 45000.0);  // a day count after 2023

  t.Debugger.LogMsgWithTag(QStringLiteral("y"), QStringLiteral("ab"));
  EXPECT_EQ(QByteArray(t.Records()[1].Tag, 8), QByteArray("ab\0\0\0\0\0\0", 8));
}

TEST(TraceDebugger, FilterByLevelTypeAndTag) {
  TRecordingDebugger t;
  TTraceFilter& filter = *t.Debugger.Filter();
  filter.SetEnabled(true);
  filter.SetLevel(3);
  t.Debugger.LogMsgWithLevel(QStringLiteral("level 4"), 4);
  t.Debugger.LogMsgWithLevel(QStringLiteral("level 3"), 3);
  t.Debugger.LogMsgWithLevel(QStringLiteral("level 259"), 259);  // only the low 8 bits count
  ASSERT_EQ(t.Records().size(), 2u);
  EXPECT_EQ(TextOf(t.Records()[0]), QStringLiteral("level 3"));
  EXPECT_EQ(TextOf(t.Records()[1]), QStringLiteral("level 259"));
  EXPECT_EQ(t.Debugger.MessageCount(), 3);
  EXPECT_EQ(t.Debugger.DiscardedMessageCount(), 1);

  filter.SetMsgTypes(TraceTypeBit(tmtError));
  t.Debugger.LogMsg(QStringLiteral("plain"));
  t.Debugger.LogMsgError(QStringLiteral("error"));
  ASSERT_EQ(t.Records().size(), 3u);
  EXPECT_EQ(TextOf(t.Records()[2]), QStringLiteral("error"));

  filter.SetMsgTypes(0);
  filter.SetTag(QStringLiteral("ABC"));
  t.Debugger.LogMsgWithTag(QStringLiteral("lower"), QStringLiteral("abc"));
  t.Debugger.LogMsgWithTag(QStringLiteral("long"), QStringLiteral("ABCDEFGHI"));
  t.Debugger.LogMsg(QStringLiteral("untagged"));
  ASSERT_EQ(t.Records().size(), 4u);
  EXPECT_EQ(TextOf(t.Records()[3]), QStringLiteral("lower"));

  filter.SetEnabled(false);
  t.Debugger.LogMsgWithLevel(QStringLiteral("anything"), 200);
  EXPECT_EQ(t.Records().size(), 5u);
}

TEST(TraceDebugger, ViewerFilterReplacesOwnBeforeTheRecordIsFiltered) {
  TRecordingDebugger t;
  t.Channel().ViewerFilter.SetEnabled(true);
  t.Channel().ViewerFilter.SetLevel(1);
  t.Channel().ViewerFilter.SetTag(QStringLiteral("net"));
  t.Channel().ViewerFilterChanged = true;
  t.Debugger.LogMsg(QStringLiteral("level 3, no tag"));
  EXPECT_TRUE(t.Records().empty());
  EXPECT_FALSE(t.Channel().ViewerFilterChanged);
  EXPECT_TRUE(t.Debugger.Filter()->Enabled());
  EXPECT_EQ(t.Debugger.Filter()->Level(), 1);
  EXPECT_EQ(t.Debugger.Filter()->Tag(), QStringLiteral("net"));
  t.Debugger.LogMsgWithTagLevel(QStringLiteral("passes"), QStringLiteral("NET"), 1);
  EXPECT_EQ(t.Records().size(), 1u);
}

TEST(TraceDebugger, WithoutReadyChannelMessagesOnlyCount) {
  TRecordingDebugger t;
  t.Channel().Ready = false;
  for (int i = 0; i < 3; ++i) t.Debugger.LogInteger(i);
  EXPECT_EQ(t.Debugger.MessageCount(), 3);
  EXPECT_EQ(t.Debugger.PostedMessageCount(), 0);
  EXPECT_EQ(t.Debugger.DiscardedMessageCount(), 3);
  EXPECT_TRUE(t.Records().empty());

  t.Channel().Ready = true;
  t.Channel().SetActive(false);
  t.Debugger.LogMsg(QStringLiteral("inactive channel"));
  t.Channel().SetActive(true);
  t.Debugger.SetActive(false);
  t.Debugger.LogMsg(QStringLiteral("inactive debugger"));
  EXPECT_TRUE(t.Records().empty());
  EXPECT_EQ(t.Debugger.DiscardedMessageCount(), 5);

  TTraceDebugger channelless(nullptr);
  EXPECT_EQ(channelless.Channel(), nullptr);
  channelless.LogMsg(QStringLiteral("nowhere"));
  EXPECT_EQ(channelless.DiscardedMessageCount(), 1);
}

TEST(TraceDebugger, ViewerIsAutoStartedOnceUnlessSwitchedOff) {
  const QByteArray saved = qgetenv("PLANTRACE_AUTOSTART");
  qunsetenv("PLANTRACE_AUTOSTART");
  {
    TRecordingDebugger t;
    t.Channel().Ready = false;
    t.Debugger.LogMsg(QStringLiteral("a"));
    t.Debugger.LogMsg(QStringLiteral("b"));
    EXPECT_EQ(t.Channel().StartCalls, 1);
  }
  {
    TRecordingDebugger t;
    t.Debugger.SetAutoStart(false);
    t.Debugger.LogMsg(QStringLiteral("a"));
    EXPECT_EQ(t.Channel().StartCalls, 0);
    t.Debugger.StartDebugViewer();
    EXPECT_EQ(t.Channel().StartCalls, 1);
  }
  qputenv("PLANTRACE_AUTOSTART", "0");
  {
    TRecordingDebugger t;
    t.Debugger.LogMsg(QStringLiteral("a"));
    EXPECT_EQ(t.Channel().StartCalls, 0);
  }
  qputenv("PLANTRACE_AUTOSTART", saved);
}

TEST(TraceDebugger, EnterAndLeaveIndentPerThread) {
  TRecordingDebugger t;
  t.Debugger.LogEnter(QStringLiteral("Load"), QStringLiteral("io"));
  t.Debugger.LogMsg(QStringLiteral("inside"));
  std::thread other([&] { t.Debugger.LogMsg(QStringLiteral("other thread")); });
  other.join();
  t.Debugger.LogLeave(QStringLiteral("Load"), QStringLiteral("io"));
  t.Debugger.LogLeave(QStringLiteral("Extra"));  // never below 0
  t.Debugger.LogMsg(QStringLiteral("after"));
  const auto& r = t.Records();
  ASSERT_EQ(r.size(), 6u);
  EXPECT_EQ(TextOf(r[0]), QStringLiteral("Enter: Load"));
  EXPECT_EQ(r[0].MsgType, static_cast<uint32_t>(tmtEnterProc));
  EXPECT_EQ(TagOf(r[0]), QStringLiteral("io"));
  EXPECT_EQ(r[0].Indent, 0);
  EXPECT_EQ(r[1].Indent, 1);
  EXPECT_EQ(r[2].Indent, 0);
  EXPECT_NE(r[2].ThreadId, r[1].ThreadId);
  EXPECT_EQ(TextOf(r[3]), QStringLiteral("Leave: Load"));
  EXPECT_EQ(r[3].MsgType, static_cast<uint32_t>(tmtLeaveProc));
  EXPECT_EQ(r[3].Indent, 0);
  EXPECT_EQ(TextOf(r[4]), QStringLiteral("Leave: Extra"));
  EXPECT_EQ(r[4].Indent, 0);
  EXPECT_EQ(r[5].Indent, 0);
}

TEST(TraceDebugger, IndentationIsSafeAcrossManyThreads) {
  TRecordingDebugger t;
  t.Channel().Ready = false;  // the recorder is not thread-safe; counting is
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&] {
      for (int k = 0; k < 200; ++k) {
        t.Debugger.LogEnter(QStringLiteral("p"));
        t.Debugger.LogLeave(QStringLiteral("p"));
      }
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(t.Debugger.MessageCount(), 8 * 400);
}

namespace {

std::vector<uint64_t> gCycles;
size_t gCycleAt = 0;
uint64_t ScriptedCycles() { return gCycles.at(gCycleAt++); }

}  // namespace

TEST(TraceDebugger, TimeMarksSumTheirIntervals) {
  TRecordingDebugger t;
  const int64_t savedOverhead = TimeMarkOverhead;
  TimeMarkOverhead = 5;
  gCycles = {100, 150, 200, 230, 300, 302};
  gCycleAt = 0;
  t.Debugger.SetCycleCounter(ScriptedCycles);
  t.Debugger.StartTimeMark(QStringLiteral("load"), QStringLiteral("not sent"));
  t.Debugger.StopTimeMark(QStringLiteral("load"));
  t.Debugger.StartTimeMark(QStringLiteral("load"));
  t.Debugger.StopTimeMark(QStringLiteral("load"), QStringLiteral("loaded"));
  t.Debugger.StartTimeMark(QStringLiteral("load"));
  t.Debugger.StopTimeMark(QStringLiteral("load"));  // shorter than the overhead: adds nothing
  TimeMarkOverhead = savedOverhead;
  const auto& r = t.Records();
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(TextOf(r[0]), QStringLiteral("Stop Time Mark. "));
  EXPECT_EQ(r[0].MsgType, static_cast<uint32_t>(tmtTimeMarkStop));
  EXPECT_EQ(TagOf(r[0]), QStringLiteral("load"));
  EXPECT_EQ(r[0].CPUPeriod, 45u);
  EXPECT_EQ(TextOf(r[1]), QStringLiteral("loaded"));
  EXPECT_EQ(r[1].CPUPeriod, 45u + 25u);
  EXPECT_EQ(r[2].CPUPeriod, 70u);
}

TEST(TraceDebugger, TimeMarkKeysAndIntegerTags) {
  TRecordingDebugger t;
  const int64_t savedOverhead = TimeMarkOverhead;
  TimeMarkOverhead = 0;
  gCycles = {10, 20, 1000, 1000, 1003};
  gCycleAt = 0;
  t.Debugger.SetCycleCounter(ScriptedCycles);
  t.Debugger.StartTimeMark(QStringLiteral("ABCDEFGH-one"));
  t.Debugger.StopTimeMark(QStringLiteral("ABCDEFGH-two"));   // same first 8 characters: same mark
  t.Debugger.StopTimeMark(QStringLiteral("never started"));  // reads the counter, sends nothing
  t.Debugger.StartTimeMark(123456789);
  t.Debugger.StopTimeMark(123456789);
  TimeMarkOverhead = savedOverhead;
  const auto& r = t.Records();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].CPUPeriod, 10u);
  EXPECT_EQ(TagOf(r[1]), QStringLiteral("#1234567"));
  EXPECT_EQ(r[1].CPUPeriod, 3u);
}

TEST(TraceDebugger, CalibrationSendsNothingAndResetsCounters) {
  TRecordingDebugger t;
  const int64_t savedOverhead = TimeMarkOverhead;
  t.Debugger.LogMsg(QStringLiteral("before"));
  t.Debugger.CalibrateTimeMarks();
  EXPECT_EQ(t.Records().size(), 1u);
  EXPECT_EQ(t.Debugger.MessageCount(), 0);
  EXPECT_EQ(t.Debugger.PostedMessageCount(), 0);
  EXPECT_TRUE(t.Channel().Active());
  EXPECT_GE(TimeMarkOverhead.load(), 0);
  TimeMarkOverhead = savedOverhead;
}

TEST(TraceDebugger, GlobalDebuggerExistsAndIsCalibrated) {
  TTraceDebugger* debugger = GlobalDebugger();
  ASSERT_NE(debugger, nullptr);
  EXPECT_EQ(GlobalDebugger(), debugger);
  EXPECT_NE(debugger->Channel(), nullptr);
  EXPECT_TRUE(debugger->Active());
  EXPECT_GT(TimeMarkOverhead.load(), 0);
  // Made during static initialisation, it still has every default.
  EXPECT_EQ(debugger->DumpFileName(), QStringLiteral("PlanTraceDump.ptd"));
  EXPECT_FALSE(debugger->DumpToFile());
}

namespace {

QByteArray RecordBytes(const TTraceRecord& r) { return QByteArray(reinterpret_cast<const char*>(&r), r.Length); }

}  // namespace

TEST(TraceDebugger, DumpFileHoldsTheSentRecords) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("trace.ptd"));
  {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents that must go");
  }
  TRecordingDebugger t;
  EXPECT_EQ(t.Debugger.DumpFileName(), QStringLiteral("PlanTraceDump.ptd"));
  t.Debugger.SetDumpFileName(path);
  t.Debugger.SetDumpToFile(true);
  t.Debugger.LogMsg(QStringLiteral("first"));
  t.Debugger.LogMsg(QStringLiteral("second"));
  t.Channel().Ready = false;
  t.Debugger.LogMsg(QStringLiteral("no viewer, no dump"));
  t.Debugger.SetDumpToFile(false);
  ASSERT_EQ(t.Records().size(), 2u);
  EXPECT_EQ(FileBytes(path), RecordBytes(t.Records()[0]) + RecordBytes(t.Records()[1]));

  t.Channel().Ready = true;
  t.Debugger.SetUseAppend(true);
  t.Debugger.SetDumpToFile(true);
  t.Debugger.LogMsg(QStringLiteral("third"));
  t.Debugger.SetDumpToFile(false);
  EXPECT_EQ(FileBytes(path), RecordBytes(t.Records()[0]) + RecordBytes(t.Records()[1]) + RecordBytes(t.Records()[2]));
}

TEST(TraceDebugger, DumpFileHeldByAnotherWriterIsSkippedSilently) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("busy.ptd"));
  QFile other(path);
  ASSERT_TRUE(other.open(QIODevice::WriteOnly));
  ASSERT_EQ(::flock(other.handle(), LOCK_EX | LOCK_NB), 0);
  TRecordingDebugger t;
  t.Debugger.SetDumpFileName(path);
  t.Debugger.SetDumpToFile(true);
  t.Debugger.LogMsg(QStringLiteral("goes to the viewer only"));
  EXPECT_EQ(t.Records().size(), 1u);
  EXPECT_EQ(other.size(), 0);
  t.Debugger.SetDumpFileName(dir.filePath(QStringLiteral("missing/dir/x.ptd")));  // cannot open: no raise
  t.Debugger.LogMsg(QStringLiteral("still fine"));
  EXPECT_EQ(t.Records().size(), 2u);
}

TEST(TraceDebugger, ExceptionClassListIsKept) {
  TRecordingDebugger t;
  t.Debugger.AddFilterExceptClass(QStringLiteral("EGraphStreamError"));
  t.Debugger.AddFilterExceptClass(QStringLiteral("egraphstreamerror"));
  t.Debugger.AddFilterExceptClass(QStringLiteral("EListError"));
  t.Debugger.RemoveFilterExceptClass(QStringLiteral("ELISTERROR"));
  EXPECT_EQ(t.Debugger.FilterExceptClasses(), QStringList{QStringLiteral("EGraphStreamError")});
}
