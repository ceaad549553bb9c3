// Drawing to scale through the real window: the status bar in metres, the
// live measure, Shift at 45°, points snapping onto walls, typed lengths,
// dimension lines, the zoom commands and tools kept in force.
#include <QLabel>

#include "AppTestSupport.h"
#include "DimensionLine.h"
#include "GraphNode.h"
#include "PaintSpy.h"

namespace {

struct MeasureTest : DesignerTest {
  void SetUp() override {
    Start();
    Graph()->SetZoom(100);
  }
  void Move(QPoint At, Qt::KeyboardModifiers Modifiers = Qt::NoModifier, Qt::MouseButtons Held = Qt::LeftButton) {
    QMouseEvent move(QEvent::MouseMove, At, Plan()->mapToGlobal(At), Qt::NoButton, Held, Modifiers);
    QApplication::sendEvent(Plan(), &move);
  }
  // Draws a line with the tool in force from one graph point to another,
  // without the grid (Ctrl held).
  void DrawFreely(TPoint From, TPoint To) {
    QTest::mousePress(Plan(), Qt::LeftButton, Qt::ControlModifier, ClientOf(From.X, From.Y));
    Move(ClientOf(To.X, To.Y), Qt::ControlModifier);
    QTest::mouseRelease(Plan(), Qt::LeftButton, Qt::ControlModifier, ClientOf(To.X, To.Y));
  }
  QString Status() {
    ProcessEvents();
    return window->StatusPanel->text();
  }
  TGraphLink* LastLink() {
    TGraphObjectList& list = Graph()->Objects();
    for (int i = list.Count() - 1; i >= 0; --i)
      if (list[i]->IsLink()) return static_cast<TGraphLink*>(list[i]);
    return nullptr;
  }
  TPoint ViewCentre() { return Graph()->ClientToGraph(Graph()->ClientWidth() / 2, Graph()->ClientHeight() / 2); }
};

TEST_F(MeasureTest, StatusBarGivesCursorZoomAndSelectionInMetres) {
  Move(ClientOf(100, 50), Qt::NoModifier, Qt::NoButton);
  EXPECT_EQ(Status(), QStringLiteral("X 2.00 m  Y 1.00 m   |   缩放 100%"));

  ClickPalette(0, 2);
  DrawFreely({40, 40}, {220, 40});
  ASSERT_EQ(ObjectsOf<TWallLine>().size(), 1u);
  EXPECT_TRUE(Status().endsWith(QStringLiteral("缩放 100%   |   墙长 3.60 m，1 段"))) << Status().toStdString();

  ClickPalette(0, 3);
  DrawFreely({300, 100}, {350, 200});
  auto boxes = ObjectsOf<TRectangularNode>();
  ASSERT_EQ(boxes.size(), 1u);
  ASSERT_EQ(boxes[0]->BoundsRect(), TRect(300, 100, 350, 200));
  EXPECT_TRUE(Status().endsWith(QStringLiteral("|   1.00 × 2.00 m"))) << Status().toStdString();

  window->ActionList->Execute(window->actEditSelectAll);
  EXPECT_TRUE(Status().endsWith(QStringLiteral("|   2 个对象，6.20 × 3.20 m"))) << Status().toStdString();

  Graph()->ChangeZoom(200, zoCenter);
  EXPECT_TRUE(Status().contains(QStringLiteral("|   缩放 200%   |"))) << Status().toStdString();
}

TEST_F(MeasureTest, LiveMeasureShowsWhileDrawingAndLeavesNoTrace) {
  ClickPalette(0, 2);
  QTest::mousePress(Plan(), Qt::LeftButton, Qt::ControlModifier, ClientOf(40, 100));
  Move(ClientOf(130, 100), Qt::ControlModifier);
  EXPECT_EQ(Graph()->DragMeasure(), QStringLiteral("1.80 m  0°"));
  Move(ClientOf(130, 10), Qt::ControlModifier);
  EXPECT_EQ(Graph()->DragMeasure(), QStringLiteral("2.55 m  45°"));
  EXPECT_TRUE(Status().endsWith(QStringLiteral("2.55 m  45°"))) << Status().toStdString();
  const QRect label = Graph()->DragMeasureRect();
  ASSERT_FALSE(label.isEmpty());
  EXPECT_TRUE(Plan()->rect().contains(label));
  // The label is drawn where it says it is.
  QImage shown = Graph()->RenderToImage();
  EXPECT_NE(shown.pixel(label.center()), Graph()->Color() == clWhite ? qRgb(255, 255, 255) : 0u);

  TPaintSpy spy(Plan());
  QTest::mouseRelease(Plan(), Qt::LeftButton, Qt::ControlModifier, ClientOf(130, 10));
  EXPECT_TRUE(Graph()->DragMeasure().isEmpty());
  ProcessEvents();
  // Where the label was is painted again, so nothing of it stays.
  EXPECT_TRUE(spy.Painted().contains(label)) << spy.Painted().boundingRect().x();
}

TEST_F(MeasureTest, ResizingABoxShowsItsSize) {
  TGraphNode* box = Graph()->InsertNode(TRect(100, 100, 150, 200), &TRectangularNode::ClassInfo);
  ASSERT_NE(box, nullptr);
  QTest::mouseClick(Plan(), Qt::LeftButton, {}, ClientOf(125, 150));
  QTest::mousePress(Plan(), Qt::LeftButton, Qt::ControlModifier, ClientOf(150, 200));
  Move(ClientOf(200, 225), Qt::ControlModifier);
  EXPECT_EQ(Graph()->DragMeasure(), QStringLiteral("2.00 × 2.50 m"));
  QTest::mouseRelease(Plan(), Qt::LeftButton, Qt::ControlModifier, ClientOf(200, 225));
  EXPECT_EQ(box->BoundsRect(), TRect(100, 100, 200, 225));
}

TEST_F(MeasureTest, ShiftKeepsSegmentsAtExactMultiplesOf45Degrees) {
  const struct {
    TPoint To;
    TPoint Expected;
  } cases[] = {
      {{257, 143}, {250, 150}},  // down the diagonal
      {{260, 110}, {260, 100}},  // level
      {{188, 30}, {200, 30}},    // straight up
      {{150, 155}, {148, 152}},  // down to the left
  };
  for (const auto& c : cases) {
    ClickPalette(0, 2);
    QTest::mousePress(Plan(), Qt::LeftButton, Qt::ControlModifier, ClientOf(200, 100));
    Move(ClientOf(c.To.X, c.To.Y), Qt::ControlModifier | Qt::ShiftModifier);
    QTest::mouseRelease(Plan(), Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, ClientOf(c.To.X, c.To.Y));
    TGraphLink* wall = LastLink();
    ASSERT_NE(wall, nullptr);
    ASSERT_EQ(wall->PointCount(), 2);
    EXPECT_EQ(wall->PointAt(0), TPoint(200, 100));
    EXPECT_EQ(wall->PointAt(1), c.Expected) << c.To.X << "," << c.To.Y;
  }
}

TEST_F(MeasureTest, PointDroppedNearAnotherWallsEndLandsOnItAtAnyZoom) {
  TGraphLink* room = Graph()->InsertLink(TPoints{{101, 203}, {301, 203}}, &TWallLine::ClassInfo);
  ASSERT_NE(room, nullptr);
  for (int zoom : {100, 200}) {
    Graph()->ChangeZoom(zoom, zoCenter);
    Graph()->ScrollCenter(TPoint(250, 230));
    ClickPalette(0, 2);
    // 3 screen pixels beside the end, wherever the grid would put it.
    const TPoint start = Graph()->GraphToClient(301, 203);
    const QPoint near(start.X + 3, start.Y);
    PressPlan(ClientOf(240, 280));
    Move(near);
    ReleasePlan(near);
    TGraphLink* wall = LastLink();
    ASSERT_NE(wall, room);
    EXPECT_EQ(wall->PointAt(wall->PointCount() - 1), TPoint(301, 203)) << zoom;

    // A new wall started beside a point starts on it.
    ClickPalette(0, 2);
    const TPoint other = Graph()->GraphToClient(101, 203);
    PressPlan(QPoint(other.X - 2, other.Y + 2));
    Move(ClientOf(104, 264));
    ReleasePlan(ClientOf(104, 264));
    EXPECT_EQ(LastLink()->PointAt(0), TPoint(101, 203)) << zoom;
  }
  // An existing wall's end dragged close by snaps too.
  QTest::mouseClick(Plan(), Qt::LeftButton, {}, ClientOf(200, 203));
  ASSERT_TRUE(room->Selected());
  const TPoint end = Graph()->GraphToClient(101, 203);
  const TPoint target = Graph()->GraphToClient(104, 264);
  QTest::mousePress(Plan(), Qt::LeftButton, {}, QPoint(end.X, end.Y));
  Move(QPoint(target.X + 3, target.Y - 3));
  QTest::mouseRelease(Plan(), Qt::LeftButton, {}, QPoint(target.X + 3, target.Y - 3));
  EXPECT_EQ(room->PointAt(0), LastLink()->PointAt(1));
}

TEST_F(MeasureTest, TypedLengthFixesTheSegmentAlongItsDirection) {
  ClickPalette(0, 2);
  PressPlan(ClientOf(40, 40));
  Move(ClientOf(96, 40));
  TypeText(Graph(), QStringLiteral("2.5"));
  EXPECT_EQ(window->TypedLength(), QStringLiteral("2.5"));
  EXPECT_TRUE(Status().contains(QStringLiteral("输入 2.5 m"))) << Status().toStdString();
  QTest::keyClick(Graph(), Qt::Key_Return);
  TGraphLink* wall = LastLink();
  ASSERT_NE(wall, nullptr);
  EXPECT_EQ(wall->PointAt(1), TPoint(165, 40));
  // The release that follows changes nothing.
  Move(ClientOf(300, 200));
  ReleasePlan(ClientOf(300, 200));
  EXPECT_EQ(wall->PointAt(1), TPoint(165, 40));
  EXPECT_EQ(Graph()->CommandMode(), cmEdit);
  EXPECT_TRUE(window->TypedLength().isEmpty());

  // Straight down, with a slip of the finger taken back.
  ClickPalette(0, 2);
  PressPlan(ClientOf(40, 80));
  Move(ClientOf(40, 120));
  TypeText(Graph(), QStringLiteral("19"));
  QTest::keyClick(Graph(), Qt::Key_Backspace);
  QTest::keyClick(Graph(), Qt::Key_Enter);
  EXPECT_EQ(LastLink()->PointAt(1), TPoint(40, 130));
  ReleasePlan(ClientOf(40, 120));
}

TEST_F(MeasureTest, DimensionLineCaptionFollowsAHookedBoxMovedBy50) {
  TGraphNode* box = Graph()->InsertNode(TRect(100, 100, 160, 160), &TRectangularNode::ClassInfo);
  ASSERT_NE(box, nullptr);
  ClickPalette(0, 5);
  EXPECT_EQ(Palette()->SelectedItem(), (TPaletteItem{0, 5}));
  EXPECT_EQ(Graph()->CommandMode(), cmInsertLink);
  DrawFreely({130, 130}, {400, 130});
  auto lines = ObjectsOf<TDimensionLine>();
  ASSERT_EQ(lines.size(), 1u);
  TDimensionLine* line = lines[0];
  EXPECT_EQ(line->Source(), box);
  const QString before = line->Text();
  // From the box's right side: 240 px, 2 cm each.
  EXPECT_EQ(line->Polyline(), TPoints({{160, 130}, {400, 130}}));
  EXPECT_EQ(before, QStringLiteral("4.80 m"));
  EXPECT_TRUE(Status().endsWith(QStringLiteral("尺寸线 ") + before)) << Status().toStdString();

  ClickPalette(0, 1);
  QTest::mouseClick(Plan(), Qt::LeftButton, {}, ClientOf(120, 120));
  ASSERT_TRUE(box->Selected());
  QTest::mousePress(Plan(), Qt::LeftButton, Qt::ControlModifier, ClientOf(120, 120));
  Move(ClientOf(170, 120), Qt::ControlModifier);
  QTest::mouseRelease(Plan(), Qt::LeftButton, Qt::ControlModifier, ClientOf(170, 120));
  ASSERT_EQ(box->Left(), 150);
  EXPECT_EQ(line->Polyline(), TPoints({{210, 130}, {400, 130}}));
  EXPECT_EQ(line->Text(), QStringLiteral("3.80 m"));
}

TEST_F(MeasureTest, ZoomCommandsZoomAboutTheCentreAndFitThePlan) {
  Graph()->InsertLink(TPoints{{100, 100}, {900, 100}, {900, 700}}, &TWallLine::ClassInfo);
  Graph()->ScrollCenter(TPoint(300, 250));
  const TPoint centre = ViewCentre();
  auto key = [&](Qt::Key Key) {
    QTest::keyClick(window.get(), Key, Qt::ControlModifier);
    ProcessEvents();
  };
  key(Qt::Key_Equal);
  EXPECT_EQ(Graph()->Zoom(), 150);
  EXPECT_NEAR(ViewCentre().X, centre.X, 1);
  EXPECT_NEAR(ViewCentre().Y, centre.Y, 1);
  key(Qt::Key_Minus);
  key(Qt::Key_Minus);
  EXPECT_EQ(Graph()->Zoom(), 75);
  EXPECT_NEAR(ViewCentre().X, centre.X, 2);
  EXPECT_NEAR(ViewCentre().Y, centre.Y, 2);
  EXPECT_TRUE(Status().contains(QStringLiteral("缩放 75%")));
  key(Qt::Key_0);
  EXPECT_EQ(Graph()->Zoom(), 100);
  EXPECT_NEAR(ViewCentre().X, centre.X, 2);

  key(Qt::Key_1);
  // The wall shows whole with room all round, and its box with 20 pixels
  // all round fills the view one way.
  const TRect fitted = Graph()->VisibleBounds();
  const TRect wall = Graph()->GraphBounds();
  EXPECT_LE(fitted.Left, wall.Left - 10);
  EXPECT_LE(fitted.Top, wall.Top - 10);
  EXPECT_GE(fitted.Right, wall.Right + 10);
  EXPECT_GE(fitted.Bottom, wall.Bottom + 10);
  const int zoom = Graph()->Zoom();
  const int across = MulDiv(100, Graph()->ClientWidth(), wall.Width() + 40);
  const int down = MulDiv(100, Graph()->ClientHeight(), wall.Height() + 40);
  // Less the scroll bars' room when they showed before the fit.
  EXPECT_LE(zoom, std::min(across, down));
  EXPECT_GE(zoom, std::min(across, down) * 9 / 10);
  for (QAction* a :
       {window->actViewZoomIn, window->actViewZoomOut, window->actViewActualSize, window->actViewWholeGraph})
    EXPECT_FALSE(a->icon().isNull());
}

TEST_F(MeasureTest, DoubleClickedToolDrawsWallAfterWallUntilEscape) {
  Palette()->EnsureVisible({0, 2});
  const QPoint wallButton = Palette()->ButtonRect({0, 2}).center();
  QTest::mouseClick(Palette()->viewport(), Qt::LeftButton, {}, wallButton);
  QTest::mouseDClick(Palette()->viewport(), Qt::LeftButton, {}, wallButton);
  ASSERT_TRUE(window->StickyTool().has_value());
  for (int i = 0; i < 3; ++i) {
    DragPlan(ClientOf(40, 40 + 40 * i), ClientOf(200, 40 + 40 * i));
    EXPECT_EQ(Graph()->CommandMode(), cmInsertLink) << i;
    EXPECT_EQ(Palette()->SelectedItem(), (TPaletteItem{0, 2})) << i;
  }
  EXPECT_EQ(ObjectsOf<TWallLine>().size(), 3u);

  QTest::keyClick(Graph(), Qt::Key_Escape);
  EXPECT_FALSE(window->StickyTool().has_value());
  EXPECT_EQ(Graph()->CommandMode(), cmEdit);
  EXPECT_EQ(Palette()->SelectedItem(), (TPaletteItem{0, 1}));
  DragPlan(ClientOf(40, 240), ClientOf(200, 240));
  EXPECT_EQ(ObjectsOf<TWallLine>().size(), 3u);

  // A single click is one wall, as before.
  ClickPalette(0, 2);
  DragPlan(ClientOf(40, 280), ClientOf(200, 280));
  EXPECT_EQ(Graph()->CommandMode(), cmEdit);
}

}  // namespace
