// The channel against an in-process viewer on shared objects of its own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <atomic>
#include <cstring>
#include <thread>

#include "MapFileChannel.h"
#include "TraceTestSupport.h"
#include "TraceViewerHost.h"

namespace {

struct TChannelFixture : TNamespaceTest {
  std::unique_ptr<TMapFileChannel> Channel(bool AutoFlush = false) {
    return std::make_unique<TMapFileChannel>(AutoFlush, Names);
  }

  static std::vector<TTraceRecord> Drain(TTraceViewerHost& Host) {
    std::vector<TTraceRecord> records;
    Host.Drain([&](const TTraceRecord& r) { records.push_back(r); });
    return records;
  }
};

// A debugger on a map channel with the fixture's names.
struct TMapDebugger {
  static inline TTraceNames Names;
  static std::unique_ptr<TTraceChannel> Create(bool IsAutoFlush) {
    return std::make_unique<TMapFileChannel>(IsAutoFlush, Names);
  }
  static TTraceChannelClass WithNames(const TTraceNames& names) {
    Names = names;
    return Create;
  }
  explicit TMapDebugger(const TTraceNames& names) : Debugger(WithNames(names)) {}
  TTraceDebugger Debugger;
};

}  // namespace

TEST_F(TChannelFixture, WithoutViewerNothingIsReadyOrWritten) {
  auto channel = Channel(true);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(channel->IsReady());
  TTraceRecord record{};
  record.Length = 60;
  channel->SendContent(&record, record.Length);
  EXPECT_FALSE(channel->CheckFilterChanged());

  TMapDebugger d(Names);
  d.Debugger.LogMsg(QStringLiteral("nobody listens"));
  EXPECT_EQ(d.Debugger.DiscardedMessageCount(), 1);
  EXPECT_EQ(SharedObjectsOf(Namespace), QStringList());  // a writer creates nothing
}

TEST_F(TChannelFixture, AViewerThatComesUpIsFoundAfterTheRetryInterval) {
  auto channel = Channel();
  EXPECT_FALSE(channel->IsReady());
  TTraceViewerHost host(Names);
  ASSERT_TRUE(host.Create());
  host.Publish();
  std::this_thread::sleep_for(2 * TMapFileChannel::RetryInterval);
  EXPECT_TRUE(channel->IsReady());
}

TEST_F(TChannelFixture, RecordsReachTheViewerInOrder) {
  TTraceViewerHost host(Names);
  ASSERT_TRUE(host.Create()) << qPrintable(host.Error());
  host.Publish();
  {
    TMapDebugger d(Names);
    d.Debugger.Channel()->SetAutoFlush(false);
    d.Debugger.LogMsgWithTag(QStringLiteral("one"), QStringLiteral("A"));
    d.Debugger.LogInteger(2);
    d.Debugger.LogMsg(QStringLiteral("三"));
    EXPECT_EQ(d.Debugger.PostedMessageCount(), 3);
    EXPECT_EQ(host.WaitForRecords(0), TWaitResult::Signaled);
  }
  const auto records = Drain(host);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(TextOf(records[0]), QStringLiteral("one"));
  EXPECT_EQ(TagOf(records[0]), QStringLiteral("A"));
  EXPECT_EQ(TextOf(records[1]), QStringLiteral("Integer: 2"));
  EXPECT_EQ(TextOf(records[2]), QStringLiteral("三"));
  EXPECT_EQ(records[2].ProcessId, static_cast<uint32_t>(::getpid()));
  EXPECT_EQ(host.Header()->QueueFront, host.Header()->QueueTail);
}

TEST_F(TChannelFixture, ReadyOnlyWhileTheViewerPublishes) {
  auto channel = Channel();
  {
    TTraceViewerHost host(Names);
    ASSERT_TRUE(host.Create());
    EXPECT_FALSE(channel->IsReady());  // map exists, ReadyMark not yet set
    host.Publish();
    EXPECT_TRUE(channel->IsReady());
    EXPECT_TRUE(channel->IsReady());
  }
  EXPECT_FALSE(channel->IsReady());  // the viewer went away
  TTraceViewerHost next(Names);
  ASSERT_TRUE(next.Create());
  next.Publish();
  EXPECT_TRUE(channel->IsReady());  // and a new one is found
  TTraceRecord record{};
  record.Length = 50;
  channel->SendContent(&record, record.Length);
  EXPECT_EQ(Drain(next).size(), 1u);
}

TEST_F(TChannelFixture, HeaderThatDisagreesWithTheMapIsNotReady) {
  TTraceViewerHost host(Names);
  ASSERT_TRUE(host.Create());
  host.Publish();
  host.Header()->MapSize += 4096;
  EXPECT_FALSE(Channel()->IsReady());
  host.Header()->MapSize -= 4096;
  host.Header()->Magic[0] = 'X';
  EXPECT_FALSE(Channel()->IsReady());
  host.Header()->Magic[0] = 'P';
  EXPECT_TRUE(Channel()->IsReady());
}

TEST_F(TChannelFixture, AQueueRightAfterTheAgreedHeaderIsServed) {
  // Another viewer's map: no fields of its own, the queue at byte 50.
  TTraceViewerHost host(Names);
  ASSERT_TRUE(host.Create());
  host.Header()->QueueOffset = 49;  // would overlap FilterMsgTypes
  host.Publish();
  EXPECT_FALSE(Channel()->IsReady());
  host.Header()->QueueOffset = TraceAgreedHeaderSize;
  TMapDebugger d(Names);
  d.Debugger.Channel()->SetAutoFlush(false);
  d.Debugger.LogMsg(QStringLiteral("right after the header"));
  EXPECT_EQ(d.Debugger.PostedMessageCount(), 1);
  const auto records = Drain(host);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(TextOf(records[0]), QStringLiteral("right after the header"));
  uint32_t length = 0;
  std::memcpy(&length, reinterpret_cast<const uint8_t*>(host.Header()) + 50, sizeof length);
  EXPECT_EQ(length, records[0].Length);
}

TEST_F(TChannelFixture, ViewerFilterIsPickedUpAndFilterChangedCleared) {
  TTraceViewerHost host(Names);
  ASSERT_TRUE(host.Create());
  host.Publish();
  TTraceFilter filter;
  filter.SetEnabled(true);
  filter.SetLevel(2);
  filter.SetTag(QStringLiteral("netio"));  // the header keeps 4 characters
  filter.SetMsgTypes(TraceTypeBit(tmtWarning) | TraceTypeBit(tmtError));
  ASSERT_TRUE(host.SetFilter(filter));
  EXPECT_EQ(host.Header()->FilterChanged, 1u);

  TMapDebugger d(Names);
  d.Debugger.Channel()->SetAutoFlush(false);
  d.Debugger.LogMsgWithTagLevel(QStringLiteral("level 3"), QStringLiteral("neti"), 3);
  EXPECT_EQ(host.Header()->FilterChanged, 0u);
  const TTraceFilter* taken = d.Debugger.Filter();
  EXPECT_TRUE(taken->Enabled());
  EXPECT_EQ(taken->Level(), 2);
  EXPECT_EQ(taken->Tag(), QStringLiteral("neti"));
  EXPECT_EQ(taken->MsgTypes(), filter.MsgTypes());

  d.Debugger.LogFull(QStringLiteral("info"), QStringLiteral("NETI"), 2, tmtInformation);
  d.Debugger.LogFull(QStringLiteral("warn"), QStringLiteral("NETI"), 2, tmtWarning);
  d.Debugger.LogFull(QStringLiteral("error, other tag"), QStringLiteral("disk"), 2, tmtError);
  const auto records = Drain(host);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(TextOf(records[0]), QStringLiteral("warn"));
}

TEST_F(TChannelFixture, FullQueueDropsTheOldestRecords) {
  TTraceViewerHost host(Names);
  ASSERT_TRUE(host.Create(TTraceViewerHost::MinQueueSize));  // room for one full record and a bit
  host.Publish();
  TMapDebugger d(Names);
  d.Debugger.Channel()->SetAutoFlush(false);
  for (char c : {'a', 'b', 'c'}) d.Debugger.LogMsg(QString(4096, QLatin1Char(c)));
  d.Debugger.LogMsg(QStringLiteral("last"));
  const auto records = Drain(host);
  ASSERT_FALSE(records.empty());
  EXPECT_LT(records.size(), 4u);
  EXPECT_EQ(TextOf(records.back()), QStringLiteral("last"));
  EXPECT_EQ(TextOf(records.front()), QString(4096, QLatin1Char('c')));
}

TEST_F(TChannelFixture, FlushWaitEndsWhenTheViewerDrains) {
  TTraceViewerHost host(Names);
  ASSERT_TRUE(host.Create());
  host.Publish();
  auto channel = Channel(true);
  ASSERT_TRUE(channel->IsReady());
  TTraceRecord record{};
  record.Length = 52;
  std::atomic<bool> sent{false};
  std::thread writer([&] {
    channel->SendContent(&record, record.Length);
    sent = true;
  });
  // The writer waits (up to 100 ms) for this drain's flush signal.
  ASSERT_EQ(host.WaitForRecords(2000), TWaitResult::Signaled);
  EXPECT_EQ(Drain(host).size(), 1u);
  writer.join();
  EXPECT_TRUE(sent);
}

TEST_F(TChannelFixture, LeftoversOfAKilledViewerAreReplacedALiveOneIsNot) {
  {
    // What a killed viewer leaves: a ready map whose owner is gone.
    TSharedMap map;
    ASSERT_TRUE(map.Create(Names.Map, 4096));
    auto* header = reinterpret_cast<TTraceMapHeader*>(map.View());
    header->ReadyMark = TraceReadyMark;
    header->ViewerPid = 0x7FFFFFF0;  // no such process
    TNamedSemaphore mutex;
    ASSERT_TRUE(mutex.Create(Names.QueueMutex, 0, true));  // and a mutex held forever
    TTraceViewerHost host(Names);
    ASSERT_TRUE(host.Create()) << qPrintable(host.Error());
    EXPECT_EQ(header->ReadyMark, 0u);  // writers still on the old map disconnect
    host.Publish();

    TTraceViewerHost second(Names);
    EXPECT_FALSE(second.Create());
    EXPECT_TRUE(second.Error().contains(QStringLiteral("Another viewer")));
    EXPECT_TRUE(host.IsOpen());
  }
  EXPECT_EQ(SharedObjectsOf(Namespace), QStringList());
}

TEST(ViewerCommand, FromSettingsOrBesideTheProgram) {
  const QString pid = QString::number(::getpid());
  QSettings settings(QSettings::UserScope, QStringLiteral("PlanTrace"), QStringLiteral("Viewer"));
  settings.remove(QStringLiteral("PlanTraceViewer"));
  settings.sync();
  // Tests run from a folder without a viewer: the search path decides.
  EXPECT_EQ(TViewerCommand::ForProcess(::getpid()).Text(), QStringLiteral("PlanTraceViewer -a ") + pid);

  QTemporaryDir dir;
  const QString spaced = dir.filePath(QStringLiteral("my viewer"));
  QFile file(spaced);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  settings.setValue(QStringLiteral("PlanTraceViewer"), spaced);
  settings.sync();
  TViewerCommand command = TViewerCommand::ForProcess(42);
  EXPECT_EQ(command.Program, spaced);
  EXPECT_EQ(command.Arguments, (QStringList{QStringLiteral("-a"), QStringLiteral("42")}));

  settings.setValue(QStringLiteral("PlanTraceViewer"), QStringLiteral("xterm -e \"/opt/trace viewer\""));
  settings.sync();
  command = TViewerCommand::ForProcess(42);
  EXPECT_EQ(command.Program, QStringLiteral("xterm"));
  EXPECT_EQ(command.Arguments, (QStringList{QStringLiteral("-e"), QStringLiteral("/opt/trace viewer"),
                                            QStringLiteral("-a"), QStringLiteral("42")}));
  settings.remove(QStringLiteral("PlanTraceViewer"));
}
