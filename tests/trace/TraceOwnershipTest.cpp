// Shared objects that another user created, or that anyone else could
// open, are never used: the writer acts as if no viewer ran.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <chrono>
#include <functional>
#include <thread>

#include "MapFileChannel.h"
#include "SharedAccess.h"
#include "TraceTestSupport.h"
#include "TraceViewerHost.h"

namespace {

constexpr uid_t kOtherUser = 65534;

// The tests change the objects' owner and modes under the host, so the
// fixture removes their files itself instead of expecting none left.
struct TOwnershipFixture : TNamespaceTest {
  void TearDown() override {
    for (const std::string& file : SharedFilesOf(Names)) ::unlink(file.c_str());
  }

  // A viewer's objects, ready for writers, then handed to their attacker.
  void PublishAndChange(TTraceViewerHost& Host, const std::function<void(const char*)>& Change) {
    ASSERT_TRUE(Host.Create()) << qPrintable(Host.Error());
    Host.Publish();
    for (const std::string& file : SharedFilesOf(Names)) Change(file.c_str());
  }

  // Whatever it is sent, the channel takes no record into Host's queue.
  void ExpectRefused(TTraceViewerHost& Host) {
    TMapFileChannel channel(true, Names);
    TTraceRecord record{};
    record.Length = 60;
    for (int i = 0; i < 3; ++i) {
      EXPECT_FALSE(channel.IsReady());
      channel.SendContent(&record, record.Length);
      std::this_thread::sleep_for(2 * TMapFileChannel::RetryInterval);
    }
    EXPECT_FALSE(channel.Connected());
    EXPECT_EQ(Host.Header()->QueueTail, 0u);
  }
};

void SkipUnlessRoot() {
  if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
}

}  // namespace

TEST(TraceNames, EveryUserHasNamesOfTheirOwn) {
  const TTraceNames mine = TTraceNames::ForNamespace("x");
  const TTraceNames other = TTraceNames::ForUser(SharedUserId() + 1, "x");
  for (const auto& [a, b] : {std::pair{mine.Map, other.Map},
                             {mine.QueueEvent, other.QueueEvent},
                             {mine.QueueMutex, other.QueueMutex},
                             {mine.FlushEvent, other.FlushEvent},
                             {mine.StartEvent, other.StartEvent}})
    EXPECT_NE(a, b);
}

TEST_F(TOwnershipFixture, ObjectsOthersMayOpenAreRefused) {
  TTraceViewerHost host(Names);
  PublishAndChange(host, [](const char* File) { ::chmod(File, 0666); });
  ExpectRefused(host);
}

TEST_F(TOwnershipFixture, ObjectsOfAnotherUserAreRefused) {
  SkipUnlessRoot();
  TTraceViewerHost host(Names);
  PublishAndChange(host, [](const char* File) { ASSERT_EQ(::chown(File, kOtherUser, kOtherUser), 0); });
  ExpectRefused(host);
}

TEST_F(TOwnershipFixture, OneForeignSemaphoreIsEnough) {
  SkipUnlessRoot();
  TTraceViewerHost host(Names);
  ASSERT_TRUE(host.Create());
  host.Publish();
  // A mutex that another user holds forever would stall every record.
  const std::string mutexFile = SharedFilesOf(Names)[2];
  ASSERT_EQ(::chown(mutexFile.c_str(), kOtherUser, kOtherUser), 0);
  ExpectRefused(host);
  TNamedSemaphore mutex;
  EXPECT_FALSE(mutex.Open(Names.QueueMutex));
  EXPECT_FALSE(mutex.Create(Names.QueueMutex, 1, false));
  EXPECT_EQ(errno, EACCES);
}

TEST_F(TOwnershipFixture, OwnPrivateObjectsAreUsedAndCreatedPrivate) {
  TTraceViewerHost host(Names);
  ASSERT_TRUE(host.Create());
  host.Publish();
  for (const std::string& file : SharedFilesOf(Names)) {
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0) << file;
    EXPECT_EQ(st.st_mode & 0777, 0600u) << file;
  }
  TMapFileChannel channel(false, Names);
  EXPECT_TRUE(channel.IsReady());
  EXPECT_TRUE(channel.Connected());
}

// The viewer of a user whose names someone else took first says so and
// ends, instead of serving those objects.
TEST_F(TOwnershipFixture, ViewerReportsNamesTakenByAnotherUser) {
  SkipUnlessRoot();
  const TTraceNames victim = TTraceNames::ForUser(kOtherUser, Namespace);
  TTraceViewerHost squatter(victim);
  ASSERT_TRUE(squatter.Create());
  squatter.Publish();
  for (const std::string& file : SharedFilesOf(victim)) ::chmod(file.c_str(), 0666);
  QProcess viewer;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("PLANTRACE_NAMESPACE"), QString::fromStdString(Namespace));
  viewer.setProcessEnvironment(env);
  viewer.setChildProcessModifier([] {
    if (::setgid(kOtherUser) != 0 || ::setuid(kOtherUser) != 0) ::_exit(99);
  });
  viewer.start(QStringLiteral(TRACE_VIEWER_PATH), {});
  ASSERT_TRUE(viewer.waitForFinished(10000));
  EXPECT_EQ(viewer.exitCode(), 1);
  EXPECT_TRUE(viewer.readAllStandardError().contains("belong to another user"));
  EXPECT_EQ(squatter.Header()->ReadyMark, TraceReadyMark);  // left alone
}
