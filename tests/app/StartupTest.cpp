// Start-up as the program runs it: the trace, the document named on the
// command line, load errors, and the updater's refresh and launch.
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

#include "AppTestSupport.h"
#include "DesignerSettings.h"
#include "TestFiles.h"
#include "Updater.h"

namespace {

// A plan with one room label, saved to Path.
void WritePlan(const QString& Path, const QString& Text = QStringLiteral("厅")) {
  TGraphEditor graph;
  TZyTextBoxNode::Create2(&graph, Text);
  graph.SaveToFile(Path);
}

bool WaitForFile(const QString& Path, int TimeoutMs = 10000) {
  QDeadlineTimer deadline(TimeoutMs);
  while (!QFileInfo::exists(Path)) {
    if (deadline.hasExpired()) return false;
    QThread::msleep(20);
  }
  return true;
}

// Runs in the current folder for its lifetime.
class TCurrentDir {
 public:
  explicit TCurrentDir(const QString& Path) : fSaved(QDir::currentPath()) { QDir::setCurrent(Path); }
  ~TCurrentDir() { QDir::setCurrent(fSaved); }

 private:
  QString fSaved;
};

using StartupTest = DesignerTest;

TEST_F(StartupTest, WithoutArgumentShowsAnEmptyUntitledPlan) {
  Start();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("户型图设计器"));
  EXPECT_EQ(Graph()->Objects().Count(), 0);
  EXPECT_EQ(Graph()->CommandMode(), cmEdit);
  EXPECT_EQ(AppDir, program.Path());
  EXPECT_TRUE(FileToLoad.isEmpty());
  EXPECT_EQ(window->SaveDialog.FileName(), QStringLiteral("未命名"));
  ASSERT_GE(trace.Messages().size(), 3);
  EXPECT_EQ(trace.Messages()[0], QStringLiteral("LoadFile: "));
  EXPECT_EQ(trace.Messages().last(), QStringLiteral("FormShow: FileToLoad="));
}

TEST_F(StartupTest, RelativePathLoadsFromCurrentFolderAndShowsAsTyped) {
  QTemporaryDir work;
  QDir(work.path()).mkpath(QStringLiteral("plans"));
  WritePlan(work.filePath(QStringLiteral("plans/小户型.kvf")), QStringLiteral("卧"));
  TCurrentDir current(work.path());
  Start({QStringLiteral("plans/小户型.kvf"), QStringLiteral("ignored.kvf")});

  EXPECT_EQ(window->windowTitle(), QStringLiteral("plans/小户型.kvf - 户型图设计器"));
  ASSERT_EQ(Graph()->Objects().Count(), 1);
  EXPECT_EQ(Graph()->Objects()[0]->Text(), QStringLiteral("卧"));
  EXPECT_STREQ(Graph()->Objects()[0]->ClassName(), "TZyTextBoxNode");
  EXPECT_EQ(Graph()->CommandMode(), cmEdit);
  EXPECT_EQ(Graph()->Zoom(), 100);
  EXPECT_FALSE(Graph()->Modified());
  EXPECT_FALSE(window->IsReadonly);
  EXPECT_EQ(window->SaveDialog.FileName(), QStringLiteral("plans/小户型.kvf"));
  EXPECT_EQ(trace.Messages()[0], QStringLiteral("LoadFile: plans/小户型.kvf"));
  EXPECT_TRUE(trace.Messages().contains(QStringLiteral("FormShow: FileToLoad=plans/小户型.kvf")));
  // Offered again among the recent plans, by its full path.
  EXPECT_EQ(TRecentFiles::Load().value(0), work.filePath(QStringLiteral("plans/小户型.kvf")));
}

TEST_F(StartupTest, BadDocumentIsReportedAndTheWindowStaysInEditMode) {
  QTemporaryDir work;
  const QString bad = work.filePath(QStringLiteral("bad.kvf"));
  WriteFile(bad, "this is not a plan at all");
  TMessageBoxCatcher catcher;
  Start({bad});

  ASSERT_EQ(catcher.Texts.size(), 1);
  EXPECT_EQ(catcher.Texts[0], QStringLiteral("无法打开户型图：文件已损坏 (Invalid stream content)"));
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(Graph()->CommandMode(), cmEdit);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("户型图设计器"));
  EXPECT_EQ(window->SaveDialog.FileName(), QStringLiteral("未命名"));
}

TEST_F(StartupTest, MissingDocumentIsReported) {
  TMessageBoxCatcher catcher;
  Start({QStringLiteral("/nonexistent/folder/plan.kvf")});
  ASSERT_EQ(catcher.Texts.size(), 1);
  EXPECT_TRUE(catcher.Texts[0].startsWith(QStringLiteral("无法打开户型图：文件无法读取 (")));
  EXPECT_TRUE(catcher.Texts[0].contains(QStringLiteral("/nonexistent/folder/plan.kvf")));
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("户型图设计器"));
}

// The fake updater writes its arguments, one per line, beside itself.
constexpr char FakeUpdater[] =
    "#!/bin/sh\n"
    "out=\"$(dirname \"$0\")/launched.txt\"\n"
    "printf '%s\\n' \"$#\" \"$@\" > \"$out.tmp\" && mv \"$out.tmp\" \"$out\"\n";

TEST_F(StartupTest, UpdaterIsCopiedFreshAndLaunchedWithTheQuotedSettingsPath) {
  WriteFile(program.Path() + QStringLiteral("AutoUpdate"), FakeUpdater, true);
  WriteFile(program.Path() + QStringLiteral("Update.ini"), "[update]\nversion=2\n");
  QDir(program.Path()).mkpath(QStringLiteral("setup"));
  WriteFile(program.Path() + QStringLiteral("setup/Update.ini"), "stale copy");

  window = StartDesigner(program.Executable(), {});
  const QString launched = program.Path() + QStringLiteral("setup/launched.txt");
  ASSERT_TRUE(WaitForFile(launched));

  EXPECT_EQ(FileBytes(program.Path() + QStringLiteral("setup/Update.ini")), QByteArray("[update]\nversion=2\n"));
  EXPECT_EQ(FileBytes(program.Path() + QStringLiteral("setup/AutoUpdate")), QByteArray(FakeUpdater));
  // One argument, the settings copy's full path, although the folder's
  // name holds a blank.
  const QString settings = program.Path() + QStringLiteral("setup/Update.ini");
  EXPECT_EQ(QString::fromUtf8(FileBytes(launched)), QStringLiteral("1\n") + settings + QLatin1Char('\n'));
  const QString expected =
      QStringLiteral("ShellExecute: cmd=") + program.Path() + QStringLiteral("setup/AutoUpdate params=") + settings;
  ASSERT_EQ(trace.Messages().size(), 2);  // before the window first shows
  EXPECT_EQ(trace.Messages()[1], expected);
}

TEST_F(StartupTest, StartingAgainRefreshesTheCopiesAndLaunchesAgain) {
  WriteFile(program.Path() + QStringLiteral("AutoUpdate"), FakeUpdater, true);
  WriteFile(program.Path() + QStringLiteral("Update.ini"), "first");
  window = StartDesigner(program.Executable(), {});
  const QString launched = program.Path() + QStringLiteral("setup/launched.txt");
  ASSERT_TRUE(WaitForFile(launched));
  QFile::remove(launched);
  window.reset();

  WriteFile(program.Path() + QStringLiteral("Update.ini"), "second");
  window = StartDesigner(program.Executable(), {});
  ASSERT_TRUE(WaitForFile(launched));
  EXPECT_EQ(FileBytes(program.Path() + QStringLiteral("setup/Update.ini")), QByteArray("second"));
}

TEST_F(StartupTest, MissingUpdaterFilesAreSkippedSilently) {
  WriteFile(program.Path() + QStringLiteral("Update.ini"), "only settings");
  Start();
  EXPECT_TRUE(QFileInfo(program.Path() + QStringLiteral("setup")).isDir());
  EXPECT_EQ(FileBytes(program.Path() + QStringLiteral("setup/Update.ini")), QByteArray("only settings"));
  EXPECT_FALSE(QFileInfo::exists(program.Path() + QStringLiteral("setup/AutoUpdate")));
  EXPECT_TRUE(window->isVisible());
}

TEST_F(StartupTest, BuiltProgramFindsItsDataBesideItself) {
  Start();
  EXPECT_EQ(AppDir, program.Path());
  EXPECT_EQ(DataDir, program.Path());
  EXPECT_EQ(HelpPageUrl(), QUrl::fromLocalFile(program.Path() + QStringLiteral("help.html")).toString());
}

TEST_F(StartupTest, InstalledProgramFindsItsDataInTheShareFolderBesideBin) {
  TProgramDir installed(true, QStringLiteral("usr"), TProgramLayout::Installed);
  StartProgram(installed.Executable());
  EXPECT_TRUE(installed.Path().endsWith(QStringLiteral("/usr/bin/")));
  EXPECT_EQ(AppDir, installed.Path());
  EXPECT_EQ(DataDir, installed.DataPath());
  EXPECT_TRUE(DataDir.endsWith(QStringLiteral("/usr/share/huxing/")));

  // The help link opens the installed page.
  const QUrl help(HelpPageUrl());
  EXPECT_EQ(help.toLocalFile(), installed.DataPath() + QStringLiteral("help.html"));
  EXPECT_TRUE(QFileInfo(help.toLocalFile()).isFile());

  // A palette object is read from the installed pictures and placed at
  // their size.
  const QString bed = installed.DataPath() + QStringLiteral("/meta/3_0.bmp");
  const QImage picture(bed);
  ASSERT_FALSE(picture.isNull());
  trace.Clear();
  ClickPalette(3, 0);
  EXPECT_EQ(trace.Messages(), QStringList({QStringLiteral("3-0"), bed}));
  PressPlan(QPoint(40, 40));
  ReleasePlan(QPoint(40, 40));
  auto nodes = ObjectsOf<TZyImageNode>();
  ASSERT_EQ(nodes.size(), 1u);
  EXPECT_EQ(nodes[0]->BoundsRect().Width(), picture.width());
  EXPECT_EQ(nodes[0]->BoundsRect().Height(), picture.height());

  // No updater installed: its step is skipped, leaving nothing in bin/,
  // and the window works on.
  EXPECT_FALSE(QFileInfo::exists(installed.Path() + QStringLiteral("setup")));
  EXPECT_TRUE(window->isVisible());
}

TEST(DataFolder, TheProgramsOwnFolderComesFirstThenTheInstalledOne) {
  const TProgramDir build(true, QStringLiteral("build"));
  EXPECT_EQ(DataDirFor(build.Path()), build.Path());

  const TProgramDir installed(true, QStringLiteral("usr"), TProgramLayout::Installed);
  EXPECT_EQ(DataDirFor(installed.Path()), installed.DataPath());
  // Pictures beside the executable win over installed ones.
  ASSERT_TRUE(QFile::link(BinDir() + QStringLiteral("/meta"), installed.Path() + QStringLiteral("meta")));
  EXPECT_EQ(DataDirFor(installed.Path()), installed.Path());

  // With pictures nowhere the program's folder stays the data folder.
  const TProgramDir bare(false, QStringLiteral("bare"), TProgramLayout::Installed);
  EXPECT_TRUE(QFileInfo(bare.DataPath()).isDir());
  EXPECT_EQ(DataDirFor(bare.Path()), bare.Path());
}

TEST(UpdaterFiles, CopyKeepsTheOldCopyWhenTheSourceIsMissing) {
  QTemporaryDir dir;
  const QString target = dir.filePath(QStringLiteral("copy"));
  WriteFile(target, "old");
  EXPECT_FALSE(CopyFileOverwriting(dir.filePath(QStringLiteral("missing")), target));
  EXPECT_EQ(FileBytes(target), QByteArray("old"));
  WriteFile(dir.filePath(QStringLiteral("source")), "new");
  EXPECT_TRUE(CopyFileOverwriting(dir.filePath(QStringLiteral("source")), target));
  EXPECT_EQ(FileBytes(target), QByteArray("new"));
}

TEST(UpdaterFiles, LaunchingAMissingProgramAnswersFalse) {
  QTemporaryDir dir;
  EXPECT_FALSE(LaunchDetached(dir.filePath(QStringLiteral("AutoUpdate")), QStringLiteral("\"x\"")));
}

}  // namespace
