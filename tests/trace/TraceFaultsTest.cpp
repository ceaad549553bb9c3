// Faults of the other side of the channel: a map shrunk under the writer,
// a viewer killed without cleaning up, a header whose queue does not fit.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QProcess>
#include <thread>

#include "MapFileChannel.h"
#include "TraceTestSupport.h"
#include "TraceViewerHost.h"

namespace {

struct TFaultFixture : TNamespaceTest {
  TTraceRecord Record = [] {
    TTraceRecord r{};
    r.Length = 60;
    return r;
  }();

  void Truncate(off_t Size) {
    const int fd = ::shm_open(Names.Map.c_str(), O_RDWR, 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, Size), 0);
    ::close(fd);
  }

  void Send(TMapFileChannel& Channel, int Count = 1) {
    for (int i = 0; i < Count; ++i) Channel.SendContent(&Record, Record.Length);
  }

  static int Drain(TTraceViewerHost& Host) {
    return Host.Drain([](const TTraceRecord&) {});
  }

  // Removes what a killed viewer left, as the next viewer does.
  void ReplaceLeftovers() {
    TTraceViewerHost next(Names);
    ASSERT_TRUE(next.Create()) << qPrintable(next.Error());
  }
};

}  // namespace

// Without the size checks each of these raises SIGBUS and ends the test program.
TEST_F(TFaultFixture, AMapShrunkBetweenRecordsDisconnectsTheWriter) {
  TTraceViewerHost host(Names);
  ASSERT_TRUE(host.Create());
  host.Publish();
  TMapFileChannel channel(false, Names);
  ASSERT_TRUE(channel.IsReady());
  Send(channel);
  Truncate(0);
  EXPECT_FALSE(channel.IsReady());
  EXPECT_FALSE(channel.Connected());
  EXPECT_FALSE(channel.CheckFilterChanged());
  Send(channel);
  // The viewer's own view is as short; it reads nothing and closes cleanly.
  EXPECT_EQ(Drain(host), 0);
  EXPECT_FALSE(host.HeaderIntact());
  EXPECT_FALSE(host.SetFilter(TTraceFilter()));
  host.Close();
}

TEST_F(TFaultFixture, AMapShrunkWhileTheWriterWaitsIsNotWritten) {
  TTraceViewerHost host(Names);
  ASSERT_TRUE(host.Create());
  host.Publish();
  TMapFileChannel channel(false, Names);
  ASSERT_TRUE(channel.IsReady());
  Send(channel, 100);  // the next record goes past the first 4 KiB
  ASSERT_GT(host.Header()->QueueTail, 4096u);
  ASSERT_TRUE(channel.IsReady());
  Truncate(4096);
  Send(channel);
  EXPECT_FALSE(channel.Connected());
  EXPECT_FALSE(channel.IsReady());
  EXPECT_EQ(Drain(host), 0);
}

TEST_F(TFaultFixture, AViewerKilledIsLeftAtTheFirstFlushTimeout) {
  QProcess viewer;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("PLANTRACE_NAMESPACE"), QString::fromStdString(Namespace));
  viewer.setProcessEnvironment(env);
  viewer.start(QStringLiteral(TRACE_VIEWER_PATH), {});
  ASSERT_TRUE(viewer.waitForStarted(5000));
  TMapFileChannel channel(true, Names);
  ASSERT_TRUE(WaitUntil([&] { return channel.IsReady(); }, 10000));
  Send(channel);  // drained and flushed by the viewer
  EXPECT_TRUE(channel.Connected());

  viewer.kill();  // SIGKILL: its objects stay, still marked ready
  ASSERT_TRUE(viewer.waitForFinished(5000));
  Send(channel);
  EXPECT_FALSE(channel.Connected());
  std::this_thread::sleep_for(2 * TMapFileChannel::RetryInterval);
  EXPECT_FALSE(channel.IsReady());
  EXPECT_EQ(SharedObjectsOf(Namespace).size(), 4);
  ReplaceLeftovers();
}

TEST_F(TFaultFixture, AViewerKilledHoldingTheMutexIsLeftAtTheMutexTimeout) {
  const pid_t standIn = ::fork();  // the "viewer" whose process number the header carries
  if (standIn == 0) {
    for (;;) ::pause();
  }
  {
    TTraceViewerHost host(Names);
    ASSERT_TRUE(host.Create());
    host.Header()->ViewerPid = static_cast<uint32_t>(standIn);
    host.Publish();
    TMapFileChannel channel(false, Names);
    ASSERT_TRUE(channel.IsReady());
    TNamedSemaphore mutex;
    ASSERT_TRUE(mutex.Open(Names.QueueMutex));
    ASSERT_EQ(mutex.Wait(0), TWaitResult::Signaled);  // taken, and never given back
    ::kill(standIn, SIGKILL);
    ::waitpid(standIn, nullptr, 0);
    Send(channel);
    EXPECT_FALSE(channel.Connected());
    EXPECT_EQ(host.Header()->QueueTail, 0u);
  }
}

TEST_F(TFaultFixture, ViewerRefusesAHeaderWhoseQueueDoesNotFit) {
  TTraceViewerHost host(Names);
  ASSERT_TRUE(host.Create(TTraceViewerHost::MinQueueSize));
  host.Publish();
  TMapFileChannel channel(false, Names);
  ASSERT_TRUE(channel.IsReady());
  Send(channel);
  TTraceMapHeader* header = host.Header();
  const TTraceMapHeader good = *header;
  const uint32_t mapSize = good.MapSize;
  const struct {
    uint32_t MapSize, QueueOffset, Front, Tail;
  } bad[] = {
      {0x7FFFFFFF, TraceQueueOffset, 0x10000000, 0x10000100},  // positions far past the map
      {mapSize + 1, TraceQueueOffset, 0, 60},
      {mapSize, 20, 0, 60},  // queue over the header
      {mapSize, mapSize, 0, 0},
      {mapSize, mapSize - 8, 0, 4},  // room for no record
  };
  TNamedSemaphore flush;  // writers waiting for their flush are let go all the same
  ASSERT_TRUE(flush.Open(Names.FlushEvent));
  for (const auto& b : bad) {
    header->MapSize = b.MapSize;
    header->QueueOffset = b.QueueOffset;
    header->QueueFront = b.Front;
    header->QueueTail = b.Tail;
    flush.Reset();
    EXPECT_EQ(Drain(host), 0) << b.MapSize << " " << b.QueueOffset;
    EXPECT_FALSE(host.HeaderIntact());
    EXPECT_EQ(flush.Wait(0), TWaitResult::Signaled);
  }
  *header = good;
  EXPECT_EQ(Drain(host), 1);
  EXPECT_TRUE(host.HeaderIntact());
}
