// The real PlanTraceViewer and a separate sending process.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <map>

#include "MapFileChannel.h"
#include "TraceTestSupport.h"

namespace {

constexpr int kPerThread = 150;
constexpr int kPerThreadRecords = kPerThread + 2;  // with Enter and Leave

struct TLine {
  QString Time, Process, Thread, Level, Indent, Type, Tag, Text;
};

std::vector<TLine> ParseLines(const QByteArray& Output) {
  std::vector<TLine> lines;
  for (const QByteArray& raw : Output.split('\n')) {
    if (raw.isEmpty()) continue;
    const QStringList f = QString::fromUtf8(raw).split(QLatin1Char('\t'));
    if (f.size() != 8) return {};
    lines.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]});
  }
  return lines;
}

QProcessEnvironment Environment(const std::string& Namespace) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("PLANTRACE_NAMESPACE"), QString::fromStdString(Namespace));
  env.insert(QStringLiteral("PLANTRACE_AUTOSTART"), QStringLiteral("0"));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  return env;
}

// Every message of both threads, in order per thread, with its fields.
void ExpectAllMessages(const std::vector<TLine>& Lines, qint64 SenderPid) {
  ASSERT_EQ(Lines.size(), 2u * kPerThreadRecords);
  std::map<QString, std::vector<const TLine*>> byTag;
  for (const TLine& line : Lines) byTag[line.Tag].push_back(&line);
  ASSERT_EQ(byTag.size(), 2u);
  for (const QString& name : {QStringLiteral("A"), QStringLiteral("B")}) {
    const auto& mine = byTag[name];
    ASSERT_EQ(mine.size(), static_cast<size_t>(kPerThreadRecords)) << qPrintable(name);
    EXPECT_EQ(mine.front()->Text, QStringLiteral("Enter: Worker"));
    EXPECT_EQ(mine.front()->Type, QStringLiteral("tmtEnterProc"));
    EXPECT_EQ(mine.front()->Indent, QStringLiteral("0"));
    EXPECT_EQ(mine.back()->Text, QStringLiteral("Leave: Worker"));
    EXPECT_EQ(mine.back()->Indent, QStringLiteral("0"));
    for (int i = 0; i < kPerThread; ++i) {
      const TLine& line = *mine[static_cast<size_t>(i) + 1];
      EXPECT_EQ(line.Text, name + QLatin1Char(' ') + QString::number(i));
      EXPECT_EQ(line.Level, QStringLiteral("2"));
      EXPECT_EQ(line.Indent, QStringLiteral("1"));
      EXPECT_EQ(line.Type, QStringLiteral("tmtInformation"));
      EXPECT_EQ(line.Thread, mine.front()->Thread);
    }
    for (const TLine* line : mine) {
      EXPECT_EQ(line->Process, QString::number(SenderPid));
      EXPECT_EQ(line->Time.size(), 23) << qPrintable(line->Time);
    }
  }
  EXPECT_NE(byTag[QStringLiteral("A")].front()->Thread, byTag[QStringLiteral("B")].front()->Thread);
}

}  // namespace

TEST(TraceEndToEnd, ViewerPrintsEveryMessageOfTwoThreads) {
  const std::string ns = UniqueNamespace();
  QProcess viewer;
  viewer.setProcessEnvironment(Environment(ns));
  viewer.start(QStringLiteral(TRACE_VIEWER_PATH), {QStringLiteral("-n"), QString::number(2 * kPerThreadRecords)});
  ASSERT_TRUE(viewer.waitForStarted(5000));
  TMapFileChannel probe(false, TTraceNames::ForNamespace(ns));
  ASSERT_TRUE(WaitUntil([&] { return probe.IsReady(); }, 10000)) << viewer.readAllStandardError().constData();

  QProcess sender;
  sender.setProcessEnvironment(Environment(ns));
  sender.start(QStringLiteral(TRACE_SENDER_PATH), {QString::number(kPerThread)});
  ASSERT_TRUE(sender.waitForStarted(5000));
  const qint64 senderPid = sender.processId();
  ASSERT_TRUE(sender.waitForFinished(60000));
  EXPECT_EQ(sender.exitCode(), 0) << "some messages were not posted";
  ASSERT_TRUE(viewer.waitForFinished(20000));
  EXPECT_EQ(viewer.exitCode(), 0);
  ExpectAllMessages(ParseLines(viewer.readAllStandardOutput()), senderPid);
  EXPECT_TRUE(WaitUntil([&] { return SharedObjectsOf(ns).isEmpty(); }, 2000))
      << qPrintable(SharedObjectsOf(ns).join(' '));
}

TEST(TraceEndToEnd, ViewerRemovesItsObjectsOnSignal) {
  const std::string ns = UniqueNamespace();
  QProcess viewer;
  viewer.setProcessEnvironment(Environment(ns));
  viewer.start(QStringLiteral(TRACE_VIEWER_PATH), {});
  ASSERT_TRUE(viewer.waitForStarted(5000));
  TMapFileChannel probe(false, TTraceNames::ForNamespace(ns));
  ASSERT_TRUE(WaitUntil([&] { return probe.IsReady(); }, 10000));
  EXPECT_EQ(SharedObjectsOf(ns).size(), 4);
  viewer.terminate();  // SIGTERM, as Ctrl+C's SIGINT
  ASSERT_TRUE(viewer.waitForFinished(5000));
  EXPECT_EQ(viewer.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(SharedObjectsOf(ns), QStringList());
  EXPECT_FALSE(probe.IsReady());
}

TEST(TraceEndToEnd, FirstMessageStartsTheViewerNamedInTheSettings) {
  const std::string ns = UniqueNamespace();
  QTemporaryDir config;
  const QString output = config.filePath(QStringLiteral("lines.txt"));
  {
    QSettings settings(config.filePath(QStringLiteral("PlanTrace/Viewer.conf")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("PlanTraceViewer"),
                      QStringLiteral("%1 -o %2").arg(QStringLiteral(TRACE_VIEWER_PATH), output));
  }
  QProcessEnvironment env = Environment(ns);
  env.remove(QStringLiteral("PLANTRACE_AUTOSTART"));
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
  QProcess sender;
  sender.setProcessEnvironment(env);
  sender.start(QStringLiteral(TRACE_SENDER_PATH), {QString::number(kPerThread)});
  ASSERT_TRUE(sender.waitForStarted(5000));
  const qint64 senderPid = sender.processId();
  ASSERT_TRUE(sender.waitForFinished(60000));
  EXPECT_EQ(sender.exitCode(), 0) << "the viewer was not up for the first message";
  // The viewer was started with "-a <sender>": it ends after the sender,
  // and takes its shared objects with it.
  EXPECT_TRUE(WaitUntil([&] { return SharedObjectsOf(ns).isEmpty(); }, 10000))
      << qPrintable(SharedObjectsOf(ns).join(' '));
  QFile file(output);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  ExpectAllMessages(ParseLines(file.readAll()), senderPid);
}
