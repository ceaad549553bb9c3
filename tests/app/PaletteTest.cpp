// The tool palette on the real window: its content, command modes, objects
// that wait for the next press on the plan, and the pen of new walls.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QImage>

#include "AppTestSupport.h"
#include "ColorBox.h"
#include "GraphLink.h"

namespace {

struct PaletteTest : DesignerTest {
  void SetUp() override {
    Start();
    trace.Clear();
  }
  void ClickLineWidth(int Index) { QTest::mouseClick(window->LineWidthButtons->button(Index), Qt::LeftButton); }
  // Draws a wall by dragging between two graph points on the grid.
  TWallLine* DrawWall(QPoint From, QPoint To) {
    ClickPalette(0, 2);
    DragPlan(ClientOf(From.x(), From.y()), ClientOf(To.x(), To.y()));
    auto walls = ObjectsOf<TWallLine>();
    return walls.empty() ? nullptr : walls.back();
  }
};

TEST_F(PaletteTest, HasFiveExpandedCategoriesWithTheirButtons) {
  const struct {
    const char* Caption;
    QRgb Color;
    int Count;
  } expected[] = {{"基本工具", 0xEAEAFF, 6},
                  {"文字", 0xFFEAFF, 8},
                  {"门窗,楼梯", 0xEAEAFF, 9},
                  {"床,桌柜,沙发", 0xFFEAFF, 12},
                  {"其它", 0xEAFFEB, 8}};
  ASSERT_EQ(Palette()->CategoryCount(), 5);
  for (int c = 0; c < 5; ++c) {
    const TPaletteCategory& category = Palette()->Category(c);
    EXPECT_EQ(category.Caption, QString::fromUtf8(expected[c].Caption));
    EXPECT_EQ(category.Color, QColor(expected[c].Color));
    EXPECT_EQ(int(category.Buttons.size()), expected[c].Count);
    EXPECT_FALSE(category.Collapsed);
  }
  const TPaletteButton& bed = Palette()->Category(3).Buttons[0];
  EXPECT_EQ(bed.Caption, QStringLiteral("床"));
  EXPECT_EQ(bed.Hint, QStringLiteral("单人床"));
  EXPECT_EQ(bed.ImageIndex, 42);
  const TPaletteButton& pan = Palette()->Category(0).Buttons[0];
  EXPECT_EQ(pan.Caption, QStringLiteral("AA"));
  EXPECT_EQ(pan.Hint, QStringLiteral("移动画布"));
  const TPaletteButton& dimension = Palette()->Category(0).Buttons[5];
  EXPECT_EQ(dimension.Caption, QStringLiteral("尺寸线"));
  EXPECT_EQ(dimension.ImageIndex, 87);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Palette()->Category(1).Buttons[size_t(i)].Caption, RoomLabels[size_t(i)]);
  EXPECT_EQ(Palette()->Category(4).Buttons[7].ImageIndex, 64);
  EXPECT_EQ(Palette()->ButtonColor(), QColor(Qt::white));
  EXPECT_EQ(Palette()->SelectedButtonColor(), QColor(0xE6, 0xE6, 0xE6));
}

TEST_F(PaletteTest, BasicToolsSetModeAndDefaultClasses) {
  ClickPalette(0, 0);
  EXPECT_EQ(Graph()->CommandMode(), cmPan);
  ClickPalette(0, 2);
  EXPECT_EQ(Graph()->CommandMode(), cmInsertLink);
  EXPECT_EQ(Graph()->DefaultLinkClass(), &TWallLine::ClassInfo);
  ClickPalette(0, 4);
  EXPECT_EQ(Graph()->CommandMode(), cmInsertNode);
  EXPECT_EQ(Graph()->DefaultNodeClass(), &TRoundRectangularNode::ClassInfo);
  ClickPalette(0, 3);
  EXPECT_EQ(Graph()->DefaultNodeClass(), &TRectangularNode::ClassInfo);
  EXPECT_EQ(Graph()->CommandMode(), cmInsertNode);
  ClickPalette(0, 1);
  EXPECT_EQ(Graph()->CommandMode(), cmEdit);
  EXPECT_EQ(trace.Messages(), QStringList({"0-0", "0-2", "0-4", "0-3", "0-1"}));
  EXPECT_EQ(Graph()->Objects().Count(), 0);
}

TEST_F(PaletteTest, BedWaitsOutsideThePlanThenLandsAtThePressPoint) {
  const QImage picture(AppDir + QStringLiteral("meta/3_0.bmp"));
  ASSERT_FALSE(picture.isNull());
  ClickPalette(3, 0);
  const QString path = program.Path() + QStringLiteral("/meta/3_0.bmp");
  EXPECT_EQ(trace.Messages(), QStringList({QStringLiteral("3-0"), path}));
  ASSERT_NE(window->PendingObject(), nullptr);
  EXPECT_EQ(window->PendingObject()->Button(), TPaletteItem({3, 0}));
  // Waiting, it is no part of the plan: nothing to count, save or copy.
  EXPECT_EQ(Graph()->Objects().Count(), 0);
  EXPECT_FALSE(Graph()->Modified());
  EXPECT_EQ(Palette()->SelectedItem(), TPaletteItem({3, 0}));

  TZyTextBoxNode::Create2(Graph(), QStringLiteral("阳"))->SetBounds(600, 500, 100, 40);  // room to scroll
  Graph()->SetZoom(200);
  ProcessEvents();
  const TPoint unscrolled = Graph()->ClientToGraph(0, 0);
  Graph()->HorzScrollBar()->SetPosition(30);
  Graph()->VertScrollBar()->SetPosition(20);
  ProcessEvents();
  ASSERT_NE(Graph()->ClientToGraph(0, 0), unscrolled);
  const QPoint press(123, 97);
  MovePlan(press, Qt::NoButton);
  EXPECT_EQ(Graph()->ScreenCursor(), crCross);  // the cursor says something waits
  const TPoint expected = Graph()->ClientToGraph(press.x(), press.y());
  PressPlan(press);
  ReleasePlan(press);
  EXPECT_EQ(window->PendingObject(), nullptr);
  auto nodes = ObjectsOf<TZyImageNode>();
  ASSERT_EQ(nodes.size(), 1u);
  EXPECT_TRUE(nodes[0]->Visible());
  EXPECT_EQ(nodes[0]->BoundsRect(),
            TRect(expected.X, expected.Y, expected.X + picture.width(), expected.Y + picture.height()));
  EXPECT_TRUE(Graph()->Modified());
  EXPECT_EQ(Palette()->SelectedItem(), TPaletteItem({0, 1}));  // back to 选择
}

TEST_F(PaletteTest, WaitingObjectIsNeverSavedNorCopied) {
  TZyTextBoxNode::Create2(Graph(), QStringLiteral("厅"));
  ClickPalette(4, 0);  // 马桶 waits
  TMemoryStream saved;
  Graph()->SaveToStream(saved);
  TGraphEditor reread;
  saved.SetPosition(0);
  reread.LoadFromStream(saved);
  ASSERT_EQ(reread.Objects().Count(), 1);
  EXPECT_EQ(reread.Objects()[0]->Text(), QStringLiteral("厅"));
  EXPECT_EQ(Graph()->ObjectsCount(), 1);
}

TEST_F(PaletteTest, EscapeAbandonsTheWaitingObject) {
  ClickPalette(1, 0);  // 厅
  ASSERT_NE(window->PendingObject(), nullptr);
  Graph()->setFocus();
  QTest::keyClick(Graph(), Qt::Key_Escape);
  EXPECT_EQ(window->PendingObject(), nullptr);
  EXPECT_EQ(Palette()->SelectedItem(), TPaletteItem({0, 1}));
  PressPlan(ClientOf(40, 40));
  ReleasePlan(ClientOf(40, 40));
  EXPECT_EQ(Graph()->Objects().Count(), 0);

  ClickPalette(1, 1);  // 房, focus on the palette this time
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_EQ(window->PendingObject(), nullptr);
}

TEST_F(PaletteTest, PaletteFollowsTheModeWhenAWallIsDone) {
  ClickPalette(0, 2);  // 画线
  EXPECT_EQ(Palette()->SelectedItem(), TPaletteItem({0, 2}));
  DragPlan(ClientOf(40, 40), ClientOf(200, 40));
  ASSERT_EQ(ObjectsOf<TWallLine>().size(), 1u);
  EXPECT_EQ(Graph()->CommandMode(), cmEdit);
  EXPECT_EQ(Palette()->SelectedItem(), TPaletteItem({0, 1}));
  ClickPalette(0, 4);
  EXPECT_EQ(Palette()->SelectedItem(), TPaletteItem({0, 4}));
  DragPlan(ClientOf(40, 100), ClientOf(120, 160));
  EXPECT_EQ(Graph()->CommandMode(), cmEdit);
  EXPECT_EQ(Palette()->SelectedItem(), TPaletteItem({0, 1}));
}

TEST_F(PaletteTest, LabelThenWallPlacesBothFromOnePressAndTheWallStaysFree) {
  ClickPalette(1, 0);                                          // 厅
  ClickPalette(0, 2);                                          // 画线
  EXPECT_EQ(Palette()->SelectedItem(), TPaletteItem({1, 0}));  // the label still waits
  const QPoint from = ClientOf(80, 64), to = ClientOf(240, 64);
  DragPlan(from, to);

  auto labels = ObjectsOf<TZyTextBoxNode>();
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_EQ(labels[0]->Text(), QStringLiteral("厅"));
  EXPECT_TRUE(labels[0]->Visible());
  EXPECT_EQ(labels[0]->BoundsRect(), TRect(80, 64, 180, 104));
  auto walls = ObjectsOf<TWallLine>();
  ASSERT_EQ(walls.size(), 1u);
  // The press landed on the label just placed; a label draws no box, so
  // the wall starts where the user pressed, free.
  EXPECT_EQ(walls[0]->Source(), nullptr);
  ASSERT_GE(walls[0]->PointCount(), 2);
  EXPECT_EQ(walls[0]->Polyline().front(), TPoint(80, 64));
  EXPECT_EQ(walls[0]->Polyline().back(), TPoint(240, 64));
  EXPECT_EQ(walls[0]->Pen()->Width(), 4);
  EXPECT_EQ(window->PendingObject(), nullptr);
}

TEST_F(PaletteTest, WallEndsDroppedOnALabelStayFreeButDoorsHookThem) {
  TZyTextBoxNode* label = TZyTextBoxNode::Create2(Graph(), QStringLiteral("卧"));
  label->SetBounds(200, 40, 100, 40);
  ClickPalette(0, 2);
  DragPlan(ClientOf(40, 56), ClientOf(240, 56));
  auto walls = ObjectsOf<TWallLine>();
  ASSERT_EQ(walls.size(), 1u);
  EXPECT_EQ(walls[0]->Target(), nullptr);
  EXPECT_EQ(walls[0]->Polyline().back(), TPoint(240, 56));

  ClickPalette(2, 0);  // 门
  PressPlan(ClientOf(400, 200));
  ReleasePlan(ClientOf(400, 200));
  auto doors = ObjectsOf<TZyImageNode>();
  ASSERT_EQ(doors.size(), 1u);
  const TRect door = doors[0]->BoundsRect();
  ClickPalette(0, 2);
  DragPlan(ClientOf(400, 400), ClientOf((door.Left + door.Right) / 2, (door.Top + door.Bottom) / 2));
  walls = ObjectsOf<TWallLine>();
  ASSERT_EQ(walls.size(), 2u);
  EXPECT_EQ(walls[1]->Target(), doors[0]);
}

TEST_F(PaletteTest, ChoosingAnotherObjectReplacesTheWaitingOne) {
  ClickPalette(1, 0);  // 厅
  ClickPalette(1, 1);  // 房
  EXPECT_EQ(window->PendingObject()->Button(), TPaletteItem({1, 1}));
  ClickPalette(4, 0);  // 马桶
  EXPECT_EQ(window->PendingObject()->Button(), TPaletteItem({4, 0}));
  EXPECT_EQ(Graph()->Objects().Count(), 0);

  PressPlan(ClientOf(40, 40));
  ReleasePlan(ClientOf(40, 40));
  EXPECT_EQ(Graph()->Objects().Count(), 1);
  EXPECT_TRUE(ObjectsOf<TZyTextBoxNode>().empty());
  EXPECT_EQ(ObjectsOf<TZyImageNode>().size(), 1u);
}

TEST_F(PaletteTest, RightButtonPlacesTooAndInPanMode) {
  ClickPalette(0, 0);  // pan
  ClickPalette(1, 5);  // 卫
  PressPlan(ClientOf(48, 56), Qt::RightButton);
  ReleasePlan(ClientOf(48, 56), Qt::RightButton);
  auto labels = ObjectsOf<TZyTextBoxNode>();
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_TRUE(labels[0]->Visible());
  EXPECT_EQ(labels[0]->Left(), 48);
  EXPECT_EQ(labels[0]->Top(), 56);
  EXPECT_EQ(Graph()->CommandMode(), cmPan);
  EXPECT_EQ(Palette()->SelectedItem(), TPaletteItem({0, 0}));
}

TEST_F(PaletteTest, PressWithNothingWaitingChangesNothing) {
  PressPlan(ClientOf(40, 40));
  ReleasePlan(ClientOf(40, 40));
  EXPECT_EQ(Graph()->Objects().Count(), 0);
}

TEST_F(PaletteTest, MissingPictureIsReportedAndTheWaitingObjectStays) {
  QFile::remove(program.Path() + QStringLiteral("meta"));
  ClickPalette(1, 2);  // 卧
  const TPendingObject* waiting = window->PendingObject();
  ASSERT_NE(waiting, nullptr);
  TMessageBoxCatcher catcher;
  ClickPalette(3, 1);
  EXPECT_EQ(catcher.Texts.size(), 1);
  EXPECT_EQ(window->PendingObject(), waiting);
  EXPECT_EQ(Palette()->SelectedItem(), TPaletteItem({1, 2}));
  EXPECT_EQ(Graph()->Objects().Count(), 0);
}

TEST_F(PaletteTest, LineWidthButtonsSetThePenOfLaterWalls) {
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(window->LineWidthButtons->button(i)->isChecked());
  TWallLine* before = DrawWall({40, 40}, {200, 40});
  ASSERT_NE(before, nullptr);
  EXPECT_EQ(before->Pen()->Width(), 4);

  trace.Clear();
  ClickLineWidth(2);  // 粗
  EXPECT_TRUE(window->LineWidthButtons->button(2)->isChecked());
  EXPECT_EQ(trace.Messages(), QStringList({QStringLiteral("Integer: 2")}));
  TWallLine* thick = DrawWall({40, 120}, {200, 120});
  ASSERT_NE(thick, nullptr);
  EXPECT_NE(thick, before);
  EXPECT_EQ(thick->Pen()->Width(), 8);
  EXPECT_EQ(before->Pen()->Width(), 4);

  ClickLineWidth(0);  // 细
  EXPECT_EQ(CurrentLineWidth, 1);
  EXPECT_FALSE(window->LineWidthButtons->button(2)->isChecked());
  ClickLineWidth(1);  // 中
  EXPECT_EQ(CurrentLineWidth, 4);
}

TEST_F(PaletteTest, ColourBoxSetsTheColourOfLaterWalls) {
  TColorBox* box = window->PenColorBox;
  EXPECT_EQ(box->Selected(), clBlack);
  const int red = box->IndexOfColor(clRed);
  ASSERT_GT(red, 0);
  box->setCurrentIndex(red);
  emit box->activated(red);
  EXPECT_EQ(CurrentLineColor, clRed);
  TWallLine* wall = DrawWall({40, 40}, {200, 40});
  ASSERT_NE(wall, nullptr);
  EXPECT_EQ(wall->Pen()->Color(), clRed);

  const int none = box->IndexOfColor(clNone);
  box->setCurrentIndex(none);
  emit box->activated(none);
  EXPECT_EQ(CurrentLineColor, clNone);
  EXPECT_EQ(wall->Pen()->Color(), clRed);
}

}  // namespace
