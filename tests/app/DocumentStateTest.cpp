// What the designer remembers between runs, on the real window: the recent
// plans under the Open button and the window's size, place and palette.
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include "CommandsTestSupport.h"
#include "DesignerSettings.h"

namespace {

struct DocumentStateTest : CommandsTest {
  void SetUp() override {
    DesignerSettings()->clear();
    CommandsTest::SetUp();
  }
  QStringList RecentMenuTexts() {
    window->FillRecentMenu();
    QStringList texts;
    for (QAction* a : window->RecentMenu->actions()) texts << a->text();
    return texts;
  }
  QAction* RecentEntry(int Index) {
    window->FillRecentMenu();
    return window->RecentMenu->actions().value(Index);
  }
};

TEST_F(DocumentStateTest, RecentPlansAreTheLastEightOpenedOrSavedNewestFirst) {
  auto* open = qobject_cast<QToolButton*>(window->ToolBar1->widgetForAction(window->actFileOpen));
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->menu(), window->RecentMenu);
  EXPECT_EQ(RecentMenuTexts(), QStringList{QStringLiteral("(无最近打开的文件)")});

  QStringList paths;
  for (int i = 0; i < 10; ++i) {
    paths << PathOf(QStringLiteral("plan%1.kvf").arg(i));
    if (i < 9) WritePlan(paths.back(), {QStringLiteral("厅")});
  }
  for (int i = 0; i < 9; ++i) window->OpenDocument(paths[i], false);
  AddLabel(QStringLiteral("卫"), 300);
  RunWithFile(window->actFileSavePlanAs, paths[9]);
  window->OpenDocument(paths[4], false);  // again: moves to the top
  const QStringList expected = {paths[4], paths[9], paths[8], paths[7], paths[6], paths[5], paths[3], paths[2]};
  EXPECT_EQ(TRecentFiles::Load(), expected);
  const QStringList texts = RecentMenuTexts();
  ASSERT_EQ(texts.size(), 8);
  EXPECT_EQ(texts[0], QStringLiteral("&1 plan4.kvf"));
  EXPECT_EQ(texts[7], QStringLiteral("&8 plan2.kvf"));
  EXPECT_EQ(RecentEntry(1)->toolTip(), paths[9]);

  // Choosing one opens it.
  RecentEntry(2)->trigger();
  EXPECT_EQ(window->windowTitle(), Caption(paths[8]));
  EXPECT_EQ(TRecentFiles::Load().first(), paths[8]);
}

TEST_F(DocumentStateTest, AMissingRecentPlanIsReportedAndDropped) {
  const QString gone = PathOf(QStringLiteral("gone.kvf"));
  const QString kept = PathOf(QStringLiteral("kept.kvf"));
  WritePlan(gone, {QStringLiteral("厅")});
  WritePlan(kept, {QStringLiteral("卧")});
  window->OpenDocument(kept, false);
  window->OpenDocument(gone, false);
  QFile::remove(gone);
  TMessageBoxCatcher catcher;
  RecentEntry(0)->trigger();
  ASSERT_EQ(catcher.Texts.size(), 1);
  EXPECT_TRUE(catcher.Texts[0].contains(gone));
  EXPECT_EQ(TRecentFiles::Load(), QStringList{kept});
  EXPECT_EQ(window->windowTitle(), Caption(gone));  // the plan shown stays
}

TEST_F(DocumentStateTest, WindowStateIsRestoredByTheNextWindow) {
  window->RestoreWindowState();  // a first start: two thirds of the screen
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  // Never below the design size (the test screen is small).
  EXPECT_NEAR(window->width(), std::max(551, screen.width() * 2 / 3), 2);
  EXPECT_NEAR(window->height(), std::max(441, screen.height() * 2 / 3), 2);
  EXPECT_NEAR(window->geometry().center().x(), screen.center().x(), 2);

  window->setGeometry(60, 50, 700, 520);
  Palette()->SetCollapsed(2, true);
  Palette()->SetCollapsed(4, true);
  ProcessEvents();
  window->close();  // unmodified: closes without asking
  window.reset();

  Start();
  window->RestoreWindowState();
  ProcessEvents();
  EXPECT_EQ(window->size(), QSize(700, 520));
  EXPECT_TRUE(Palette()->Category(2).Collapsed);
  EXPECT_TRUE(Palette()->Category(4).Collapsed);
  EXPECT_FALSE(Palette()->Category(0).Collapsed);
}

}  // namespace
