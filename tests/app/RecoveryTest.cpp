// Recovery copies: the store's rules, the window's autosave and offer, and
// a session killed outright and brought back by the next one.
#include <QProcess>
#include <QStandardPaths>
#include <csignal>

#include "CommandsTestSupport.h"
#include "RecoveryStore.h"

namespace {

using A = TDialogAnswers;

// A copy as a designer that has since ended would have left it.
void LeaveOrphan(const QString& Folder, const QString& Key, const QByteArray& Document, const QString& Name) {
  QDir().mkpath(Folder);
  QFile doc(Folder + QLatin1Char('/') + Key + QStringLiteral(".kvf"));
  ASSERT_TRUE(doc.open(QIODevice::WriteOnly));
  doc.write(Document);
  QFile info(Folder + QLatin1Char('/') + Key + QStringLiteral(".json"));
  ASSERT_TRUE(info.open(QIODevice::WriteOnly));
  info.write(QStringLiteral("{\"document\": \"%1\", \"written\": \"2026-12-01T10:00:00Z\"}").arg(Name).toUtf8());
}

QByteArray PlanBytes(const QStringList& Texts) {
  TGraphEditor graph;
  for (const QString& text : Texts) TZyTextBoxNode::Create2(&graph, text);
  TMemoryStream data;
  graph.SaveToStream(data);
  return QByteArray(reinterpret_cast<const char*>(data.Memory()), qsizetype(data.Size()));
}

TEST(RecoveryStore, OffersOnlyCopiesOfEndedWritersAndEachToOneTaker) {
  QTemporaryDir dir;
  TRecoveryStore mine(dir.path()), other(dir.path());
  mine.Write("own", QStringLiteral("/plans/a.kvf"));
  EXPECT_TRUE(mine.HasCopy());
  EXPECT_TRUE(mine.FindOrphans().empty());  // this process is running
  // A number no process has, and one that is running but started at
  // another time (its number was reused).
  LeaveOrphan(dir.path(), QStringLiteral("2147483000-5"), "ended", QStringLiteral("/plans/b.kvf"));
  LeaveOrphan(dir.path(), QStringLiteral("1-0"), "reused", QString());
  const auto orphans = mine.FindOrphans();
  ASSERT_EQ(orphans.size(), 2u);
  QByteArray document;
  ASSERT_TRUE(mine.Claim(orphans[0], document));
  EXPECT_FALSE(other.Claim(orphans[0], document));  // taken already
  mine.Discard(orphans[1]);
  EXPECT_TRUE(other.FindOrphans().empty());
  mine.Remove();
  EXPECT_FALSE(mine.HasCopy());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

struct RecoveryTest : CommandsTest {
  QString Folder() const { return TRecoveryStore::DefaultFolder(); }
  void SetUp() override {
    QDir(Folder()).removeRecursively();
    CommandsTest::SetUp();
  }
};

TEST_F(RecoveryTest, AutosaveKeepsACopyOnlyWhileThereAreUnsavedChanges) {
  TRecoveryStore store;
  window->Autosave();
  EXPECT_FALSE(store.HasCopy());
  AddLabel(QStringLiteral("厅"));
  window->Autosave();
  EXPECT_TRUE(store.HasCopy());
  RunWithFile(window->actFileSave, PathOf(QStringLiteral("plan.kvf")));
  EXPECT_FALSE(store.HasCopy());
  AddLabel(QStringLiteral("卧"), 300);
  window->Autosave();
  EXPECT_TRUE(store.HasCopy());
  {
    TDialogAnswers answers;
    answers.Then(A::Press(QMessageBox::No));
    window->close();
  }
  EXPECT_FALSE(store.HasCopy());
}

TEST_F(RecoveryTest, AnOfferedPlanComesBackModifiedUnderItsNameOrIsDropped) {
  LeaveOrphan(Folder(), QStringLiteral("2147483000-5"), PlanBytes({QStringLiteral("厨")}),
              PathOf(QStringLiteral("kitchen.kvf")));
  {
    TDialogAnswers answers;
    answers.Then(A::Press(QMessageBox::Yes));
    EXPECT_TRUE(window->OfferRecovery());
    ASSERT_EQ(answers.Seen.size(), 1u);
    EXPECT_EQ(answers.Seen[0].Text, QStringLiteral("发现未保存的设计，是否恢复？"));
  }
  EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("kitchen.kvf"))));  // nothing written there
  ASSERT_EQ(Graph()->Objects().Count(), 1);
  EXPECT_EQ(Graph()->Objects()[0]->Text(), QStringLiteral("厨"));
  EXPECT_TRUE(Graph()->Modified());
  EXPECT_EQ(window->windowTitle(), Caption(PathOf(QStringLiteral("kitchen.kvf"))));
  EXPECT_TRUE(TRecoveryStore().HasCopy());  // kept again, as this session's

  LeaveOrphan(Folder(), QStringLiteral("2147483001-5"), PlanBytes({QStringLiteral("卫")}), QString());
  {
    TDialogAnswers answers;
    answers.Then(A::Press(QMessageBox::No));
    EXPECT_FALSE(window->OfferRecovery());
  }
  EXPECT_TRUE(TRecoveryStore().FindOrphans().empty());
  EXPECT_EQ(Graph()->Objects()[0]->Text(), QStringLiteral("厨"));
}

// The real start-up and window in a process of its own, killed outright.
TEST(RecoveryEndToEnd, AKilledSessionIsBroughtBackOnceByTheNext) {
  QTemporaryDir home;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
  env.insert(QStringLiteral("HUXING_AUTOSAVE_MS"), QStringLiteral("100"));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("PLANTRACE_AUTOSTART"), QStringLiteral("0"));
  const QString driver = BinDir() + QStringLiteral("/recovery_driver");
  const QString folder = home.filePath(QStringLiteral("data/huxing/recovery"));

  QProcess session;
  session.setProcessEnvironment(env);
  session.start(driver, {QStringLiteral("change")});
  ASSERT_TRUE(session.waitForStarted());
  QByteArray said;
  for (int i = 0; i < 300 && !said.contains("autosaved"); ++i) {
    session.waitForReadyRead(100);
    said += session.readAllStandardOutput();
  }
  ASSERT_TRUE(said.contains("autosaved")) << session.readAllStandardError().constData();
  ::kill(pid_t(session.processId()), SIGKILL);
  session.waitForFinished();
  const QStringList copies = QDir(folder).entryList({QStringLiteral("*.kvf")}, QDir::Files);
  ASSERT_EQ(copies.size(), 1);
  QFile copy(folder + QLatin1Char('/') + copies[0]);
  ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
  const QByteArray autosaved = copy.readAll();

  const QString recovered = home.filePath(QStringLiteral("recovered.kvf"));
  QProcess next;
  next.setProcessEnvironment(env);
  next.start(driver, {QStringLiteral("recover"), recovered});
  ASSERT_TRUE(next.waitForFinished(30000));
  const QByteArray report = next.readAllStandardOutput();
  EXPECT_TRUE(report.contains("recovered=1 objects=1 modified=1")) << report.constData();
  EXPECT_TRUE(report.contains("closed=1 copy=0")) << report.constData();
  QFile plan(recovered);
  ASSERT_TRUE(plan.open(QIODevice::ReadOnly));
  EXPECT_EQ(plan.readAll(), autosaved);

  // A session ended by SIGTERM before any autosave keeps its changes too.
  env.insert(QStringLiteral("HUXING_AUTOSAVE_MS"), QStringLiteral("3600000"));
  QProcess ended;
  ended.setProcessEnvironment(env);
  ended.start(driver, {QStringLiteral("edit")});
  ASSERT_TRUE(ended.waitForStarted());
  said.clear();
  for (int i = 0; i < 300 && !said.contains("edited"); ++i) {
    ended.waitForReadyRead(100);
    said += ended.readAllStandardOutput();
  }
  ASSERT_TRUE(said.contains("edited"));
  EXPECT_TRUE(QDir(folder).entryList({QStringLiteral("*.kvf")}, QDir::Files).isEmpty())
      << QDir(folder).entryList(QDir::Files).join(QLatin1Char(' ')).toStdString();
  ::kill(pid_t(ended.processId()), SIGTERM);
  ASSERT_TRUE(ended.waitForFinished(30000));
  EXPECT_EQ(ended.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.kvf")}, QDir::Files).size(), 1);
  QProcess again;
  again.setProcessEnvironment(env);
  again.start(driver, {QStringLiteral("recover"), recovered});
  ASSERT_TRUE(again.waitForFinished(30000));
  EXPECT_TRUE(again.readAllStandardOutput().contains("recovered=1 objects=1"));

  QProcess third;
  third.setProcessEnvironment(env);
  third.start(driver, {QStringLiteral("check")});
  ASSERT_TRUE(third.waitForFinished(30000));
  EXPECT_TRUE(third.readAllStandardOutput().contains("recovered=0 objects=0")) << "offered again";
}

}  // namespace
