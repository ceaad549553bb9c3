// The window's components, sizes and texts, its command list, the help
// link, and the bundled sample plan.
#include <QButtonGroup>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "AppTestSupport.h"
#include "ColorBox.h"
#include "Exceptions.h"
#include "IconList.h"

namespace {

struct WindowLayoutTest : DesignerTest {
  void SetUp() override { Start(); }
};

TEST_F(WindowLayoutTest, ComponentsHaveTheirDesignSizes) {
  EXPECT_EQ(window->size(), QSize(551, 441));
  EXPECT_EQ(window->objectName(), QStringLiteral("HouseDesigner"));
  EXPECT_EQ(window->font().pixelSize(), 11);
  EXPECT_FALSE(window->windowIcon().isNull());
  EXPECT_EQ(window->ToolBar1->height(), 29);
  EXPECT_EQ(window->ToolBar1->geometry().top(), 0);
  EXPECT_EQ(window->StatusBar1->height(), 19);
  EXPECT_EQ(window->StatusBar1->geometry().bottom(), 440);
  EXPECT_EQ(window->LeftButtons->width(), 129);
  EXPECT_EQ(window->LeftButtons->mapTo(window.get(), QPoint(0, 0)), QPoint(0, 29));
  // Inside the right panel's one-pixel bevel.
  EXPECT_EQ(window->TopPanel->mapTo(window.get(), QPoint(0, 0)), QPoint(130, 30));
  EXPECT_EQ(window->TopPanel->height(), 31);
  EXPECT_EQ(window->LinkLabel->geometry(), QRect(462, 7, 52, 17));
  EXPECT_EQ(window->Image1->geometry(), QRect(2, 3, 24, 24));
  EXPECT_EQ(window->LineWidthBtnGroup->geometry(), QRect(25, 2, 80, 25));
  EXPECT_EQ(window->PenColorBox->geometry(), QRect(107, 3, 38, 22));
  // The zoom commands' buttons follow the pen controls.
  EXPECT_EQ(window->ZoomButtons->geometry(), QRect(150, 4, 92, 22));
  QList<QAction*> zoomActions;
  for (auto* button : window->ZoomButtons->findChildren<QToolButton*>()) zoomActions << button->defaultAction();
  EXPECT_EQ(zoomActions, (QList<QAction*>{window->actViewZoomIn, window->actViewZoomOut, window->actViewActualSize,
                                          window->actViewWholeGraph}));
  EXPECT_EQ(window->LineWidthBtnGroup->toolTip(), QStringLiteral("划线的粗细"));
  EXPECT_EQ(window->PenColorBox->toolTip(), QStringLiteral("划线的颜色"));
  // The graph fills what the palette and the top panel leave.
  const QRect graph = window->GraphEditor->geometry();
  EXPECT_EQ(graph.size(), QSize(420, 360));
}

TEST_F(WindowLayoutTest, LineWidthButtonsShowCaptionsAndImages) {
  const char* captions[] = {"细", "中", "粗"};
  for (int i = 0; i < 3; ++i) {
    QAbstractButton* button = window->LineWidthButtons->button(i);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString::fromUtf8(captions[i]));
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_TRUE(button->isCheckable());
  }
  EXPECT_TRUE(window->LineWidthButtons->exclusive());
  EXPECT_EQ(window->LineWidthButtons->checkedButton(), nullptr);
}

TEST_F(WindowLayoutTest, ToolBarHoldsItsCommandsInOrder) {
  QStringList names;
  for (QAction* action : window->ToolBar1->actions()) {
    if (action->objectName().isEmpty()) {
      names << QStringLiteral("|");
      continue;
    }
    names << action->objectName();
    auto* button = qobject_cast<QToolButton*>(window->ToolBar1->widgetForAction(action));
    ASSERT_NE(button, nullptr);
    // Open and Save have room for their drop-downs: recent plans, Save As.
    const bool dropDown = action == window->actFileOpen || action == window->actFileSave;
    EXPECT_EQ(button->width(), dropDown ? 35 : 23);
    EXPECT_EQ(button->menu() != nullptr, dropDown);
    EXPECT_EQ(button->toolTip(), action->toolTip());
  }
  EXPECT_EQ(names, QStringList({"actFileNew", "actFileOpen", "actFileSave", "actFileSaveAs", "|", "actEditUndo",
                                "actEditRedo", "|", "actEditCut", "actEditCopy", "actEditPaste", "actEditDelete", "|",
                                "actEditRotate", "actEditLockNodes", "actEditSendToBack", "actEditBringToFront",
                                "actFilePrint", "actFileExit"}));
}

TEST_F(WindowLayoutTest, CommandsCarryTheirCaptionsHintsShortcutsAndImages) {
  const struct {
    const char* Name;
    const char* Caption;
    const char* ToolTip;
    QKeySequence Shortcut;
    int Image;
  } expected[] = {
      {"actFileNew", "New", "新建设计文件", QKeySequence(QStringLiteral("Ctrl+N")), 0},
      {"actFileSaveAs", "Save  As...", "导出为JPG格式图片，可以上传至网站", QKeySequence(), 15},
      {"actFileExit", "Exit", "退出程序", QKeySequence(QStringLiteral("Alt+F4")), 4},
      {"actEditDelete", "Delete", "删除", QKeySequence(QStringLiteral("Del")), 8},
      {"actEditSelectAll", "Select All", "Select All", QKeySequence(QStringLiteral("Ctrl+A")), 14},
      {"actEditLockLinks", "Lock Links/Lines", "Lock Links/Lines", QKeySequence(), 37},
      {"actEditRotate", "actEditRotate", "旋转", QKeySequence(), 43},
      {"actEditUndo", "撤销", "撤销", QKeySequence(QStringLiteral("Ctrl+Z")), 85},
      {"actEditRedo", "重做", "重做", QKeySequence(QStringLiteral("Ctrl+Shift+Z")), 86},
      {"actFileSavePlanAs", "另存为…", "另存为", QKeySequence(QStringLiteral("Ctrl+Shift+S")), 2},
      {"actViewZoomIn", "放大", "放大", QKeySequence(QStringLiteral("Ctrl+=")), 9},
      {"actViewZoomOut", "缩小", "缩小", QKeySequence(QStringLiteral("Ctrl+-")), 10},
      {"actViewActualSize", "实际大小", "实际大小", QKeySequence(QStringLiteral("Ctrl+0")), 28},
      {"actViewWholeGraph", "适合窗口", "适合窗口：显示整个户型图", QKeySequence(QStringLiteral("Ctrl+1")), 32},
  };
  for (const auto& e : expected) {
    QAction* action = window->ActionList->Find(QString::fromLatin1(e.Name));
    ASSERT_NE(action, nullptr) << e.Name;
    EXPECT_EQ(action->text(), QString::fromUtf8(e.Caption)) << e.Name;
    EXPECT_EQ(action->toolTip(), QString::fromUtf8(e.ToolTip)) << e.Name;
    EXPECT_EQ(action->shortcut(), e.Shortcut) << e.Name;
    EXPECT_EQ(action->property("ImageIndex").toInt(), e.Image) << e.Name;
    EXPECT_FALSE(action->icon().isNull()) << e.Name;
    EXPECT_TRUE(window->actions().contains(action)) << e.Name;  // its shortcut works anywhere
  }
  EXPECT_EQ(window->actEditSelectAll->property("Hint").toString(),
            QStringLiteral("Select All|Marks all graph's objects as selected."));
  EXPECT_EQ(window->ActionList->Actions().size(), 23u + 47u);
  auto* save = qobject_cast<QToolButton*>(window->ToolBar1->widgetForAction(window->actFileSave));
  ASSERT_TRUE(save && save->menu());
  EXPECT_EQ(save->menu()->actions(), QList<QAction*>{window->actFileSavePlanAs});
  EXPECT_EQ(window->actEditRedo->shortcuts(), QList<QKeySequence>({QKeySequence(QStringLiteral("Ctrl+Shift+Z")),
                                                                   QKeySequence(QStringLiteral("Ctrl+Y"))}));
  for (const char* name : {"actFileMerge", "actViewGrid", "actObjectsHexagon", "actObjectTest"})
    EXPECT_NE(window->ActionList->Find(QString::fromLatin1(name)), nullptr) << name;
}

TEST_F(WindowLayoutTest, CommandsWithoutHandlersStayDisabled) {
  ProcessEvents();
  const std::vector<TCommandInfo>& commands = CommandTable();
  // The first twenty-three carry behaviour.
  for (size_t i = 23; i < commands.size(); ++i) {
    QAction* action = window->ActionList->Find(QString::fromLatin1(commands[i].Name));
    EXPECT_FALSE(action->isEnabled()) << commands[i].Name;
  }
}

TEST_F(WindowLayoutTest, BoundCommandsFollowTheirUpdateHandlerBeforeRunning) {
  int runs = 0;
  bool allowed = true;
  window->ActionList->Bind(window->actEditRotate,
                           {[&](QAction*) { ++runs; }, [&](QAction* a) { a->setEnabled(allowed); }});
  EXPECT_TRUE(window->actEditRotate->isEnabled());
  window->actEditRotate->trigger();
  EXPECT_EQ(runs, 1);

  // The enable rule is asked again just before the command runs.
  allowed = false;
  window->actEditRotate->trigger();
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(window->actEditRotate->isEnabled());

  // And whenever the event loop goes idle.
  allowed = true;
  QEventLoop idle;
  QTimer::singleShot(30, &idle, &QEventLoop::quit);
  idle.exec();
  EXPECT_TRUE(window->actEditRotate->isEnabled());

  // A command whose Execute fails reports the error; the window stays.
  TMessageBoxCatcher catcher;
  window->ActionList->Bind(window->actFileNew, {[](QAction*) { throw EInvalidGraphic(QStringLiteral("bad")); }, {}});
  EXPECT_TRUE(window->actFileNew->isEnabled());
  window->actFileNew->trigger();
  EXPECT_EQ(catcher.Texts, QStringList({QStringLiteral("bad")}));
}

// Records the address the help link hands to the desktop.
class TUrlRecorder : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> Opened;
 public slots:
  void Open(const QUrl& Url) { Opened << Url; }
};

TEST_F(WindowLayoutTest, HelpLinkOpensTheInstalledHelpPage) {
  EXPECT_TRUE(window->LinkLabel->text().contains(QStringLiteral("使用帮助")));
  TUrlRecorder recorder;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "Open");
  emit window->LinkLabel->linkActivated(HelpPageUrl());
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  ASSERT_EQ(recorder.Opened.size(), 1);
  EXPECT_EQ(recorder.Opened[0].toLocalFile(), program.Path() + QStringLiteral("help.html"));
  // The build installs the page beside the real program.
  EXPECT_TRUE(QFileInfo(BinDir() + QStringLiteral("/help.html")).isFile());
}

TEST(SamplePlan, IsATwoBedroomFlatOfAllThreeKinds) {
  RegisterPlanClasses();
  TGraphEditor graph;
  graph.LoadFromFile(BinDir() + QStringLiteral("/samples/两室一厅.kvf"));
  QStringList labels;
  std::set<int> wallWidths;
  int pictures = 0;
  for (int i = 0; i < graph.Objects().Count(); ++i) {
    TGraphObject* o = graph.Objects()[i];
    if (o->InheritsFrom(&TZyTextBoxNode::ClassInfo)) labels << o->Text();
    if (o->InheritsFrom(&TWallLine::ClassInfo)) wallWidths.insert(o->Pen()->Width());
    if (o->InheritsFrom(&TZyImageNode::ClassInfo)) ++pictures;
  }
  for (const char* room : {"厅", "卧", "房", "餐", "厨", "卫"})
    EXPECT_TRUE(labels.contains(QString::fromUtf8(room))) << room;
  EXPECT_EQ(wallWidths, (std::set<int>{2, 4, 8}));
  EXPECT_GE(pictures, 20);
}

}  // namespace

#include "WindowLayoutTest.moc"
