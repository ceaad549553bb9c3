// The real program, started as a user starts it, with a trace viewer of our
// own hosted in this process on shared objects no one else uses.
#include <unistd.h>

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>

#include "AppTestSupport.h"
#include "TraceViewerHost.h"

namespace {

QString RecordText(const TTraceRecord& Record) {
  return QString::fromUtf8(Record.MsgText, qsizetype(Record.Length - TraceRecordHeaderSize));
}

TEST(Program, StartsTracesItsStepsAndOpensTheDocumentNamedFirst) {
  const std::string space = "huxing-app-" + std::to_string(::getpid());
  TTraceViewerHost viewer(TTraceNames::ForNamespace(space));
  ASSERT_TRUE(viewer.Create()) << qPrintable(viewer.Error());
  viewer.Publish();

  const QString bin = QFileInfo(BinDir()).canonicalFilePath();
  const QString sample = bin + QStringLiteral("/samples/两室一厅.kvf");
  ASSERT_TRUE(QFileInfo::exists(sample));
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("PLANTRACE_NAMESPACE"), QString::fromStdString(space));
  env.insert(QStringLiteral("PLANTRACE_AUTOSTART"), QStringLiteral("0"));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  program.setProcessEnvironment(env);
  program.start(bin + QStringLiteral("/huxing"), {sample, QStringLiteral("second.kvf")});
  ASSERT_TRUE(program.waitForStarted());

  QStringList texts;
  const QString shown = QStringLiteral("FormShow: FileToLoad=") + sample;
  QDeadlineTimer deadline(60000);
  while (!texts.contains(shown) && !deadline.hasExpired() && program.state() == QProcess::Running) {
    viewer.WaitForRecords(100);
    viewer.Drain([&](const TTraceRecord& Record) { texts << RecordText(Record); });
  }
  program.kill();
  program.waitForFinished();
  viewer.Close();

  ASSERT_EQ(texts.size(), 3) << qPrintable(texts.join(QLatin1Char('\n')));
  EXPECT_EQ(texts[0], QStringLiteral("LoadFile: ") + sample);
  EXPECT_EQ(texts[1], QStringLiteral("ShellExecute: cmd=") + bin + QStringLiteral("/setup/AutoUpdate params=") + bin +
                          QStringLiteral("/setup/Update.ini"));
  EXPECT_EQ(texts[2], shown);
}

}  // namespace
