#include <gtest/gtest.h>

#include "GraphTestSupport.h"
#include "PatternImages.h"
#include "Picture.h"

TEST(NodeShapes, TriangleVerticesCentreAndCaptionArea) {
  auto g = MakeGraph();
  auto* t = AddNode<TTriangularNode>(*g, {0, 0, 100, 90});
  EXPECT_EQ(t->Vertices(), (TPoints{{50, 0}, {100, 90}, {0, 90}}));
  EXPECT_EQ(t->Center(), TPoint(50, 60));
  // (25, 45)-(75, 90) clipped to the general area (pen inset 0 + margin 8).
  TRect area;
  t->CaptionArea(area);
  EXPECT_EQ(area, TRect(25, 45, 75, 82));
}

TEST(NodeShapes, PolygonVerticesFollowTheBounds) {
  auto g = MakeGraph();
  g->SetMinNodeSize(1);
  auto* r = AddNode<TRectangularNode>(*g, {10, 20, 50, 60});
  EXPECT_EQ(r->Vertices(), (TPoints{{10, 20}, {50, 20}, {50, 60}, {10, 60}}));
  EXPECT_EQ(r->Center(), TPoint(30, 40));
  auto* h = AddNode<THexagonalNode>(*g, {0, 0, 10, 40});
  EXPECT_EQ(h->Vertices()[0], TPoint(2, 0));  // Q = 10 div 4 = 2
  auto* narrow = AddNode<THexagonalNode>(*g, {0, 0, 3, 40});
  EXPECT_EQ(narrow->Vertices(), (TPoints{{0, 0}, {3, 0}, {3, 20}, {3, 40}, {0, 40}, {0, 20}}));
  // A move shifts the cached vertices; a resize recomputes them.
  h->SetBounds(5, -3 + 10, 10, 40);
  EXPECT_EQ(h->Vertices()[0], TPoint(7, 7));
  h->SetBounds(5, 7, 20, 40);
  EXPECT_EQ(h->Vertices()[1], TPoint(20, 7));  // R - Q = 25 - 5
}

TEST(NodeShapes, RoundRectCornerSize) {
  auto g = MakeGraph();
  EXPECT_EQ(AddNode<TRoundRectangularNode>(*g, {0, 0, 200, 80})->CornerSize(), 50);
  EXPECT_EQ(AddNode<TRoundRectangularNode>(*g, {0, 0, 40, 120})->CornerSize(), 30);
}

TEST(GraphNode, LeftHandleAtMinimumSizeKeepsTheRightEdge) {
  auto g = MakeGraph();
  auto* n = AddNode<TRectangularNode>(*g, {100, 100, 116, 140});
  ASSERT_EQ(n->Width(), 16);
  EXPECT_TRUE(n->MoveHit(htLeftHandle, 10, 0));
  EXPECT_EQ(n->Left(), 100);
  EXPECT_EQ(n->Width(), 16);
  EXPECT_TRUE(n->MoveHit(htLeftHandle, -20, 0));
  EXPECT_EQ(n->Left(), 80);
  EXPECT_EQ(n->Width(), 36);
}

TEST(GraphNode, ConstraintBoundsStopMovesAndShrinkResizes) {
  auto g = MakeGraph();
  g->GraphConstraints()->SetBoundsRect({0, 0, 500, 400});
  auto* n = AddNode<TRectangularNode>(*g, {450, 100, 480, 140});
  n->SetBounds(490, 100, 30, 40);  // a move past the right edge
  EXPECT_EQ(n->Left(), 470);
  EXPECT_EQ(n->Width(), 30);
  n->SetBounds(470, 100, 60, 40);  // a resize past it
  EXPECT_EQ(n->Left(), 470);
  EXPECT_EQ(n->Width(), 30);
  n->SetBounds(-10, -10, 30, 40);
  EXPECT_EQ(n->BoundsRect(), TRect(0, 0, 30, 40));
}

TEST(GraphNode, OptionsRefuseMovesAndResizes) {
  auto g = MakeGraph();
  auto* n = AddNode<TRectangularNode>(*g, {100, 100, 150, 150});
  n->SetNodeOptions(gnoResizable | gnoShowBackground);
  EXPECT_FALSE(n->MoveHit(htBody, 10, 10));
  EXPECT_TRUE(n->MoveHit(htBottomRightHandle, 10, 10));
  EXPECT_EQ(n->BoundsRect(), TRect(100, 100, 160, 160));
  EXPECT_TRUE(n->MoveHit(htLeftHandle, -10, 0));  // the repositioning half is refused
  EXPECT_EQ(n->Left(), 100);
  EXPECT_EQ(n->Width(), 70);
  n->SetNodeOptions(gnoMovable);
  EXPECT_FALSE(n->MoveHit(htRightHandle, 10, 0));
}

TEST(GraphNode, HitCodesDependOnSelection) {
  auto g = MakeGraph();
  auto* n = AddNode<TRectangularNode>(*g, {100, 100, 200, 160});
  n->SetText(QStringLiteral("厅"));
  EXPECT_EQ(n->HitTest({100, 100}), htBody);
  EXPECT_EQ(n->HitTest({99, 100}), htNone);
  EXPECT_EQ(n->HitTest(n->TextRect().TopLeft()), htBody | htCaption);
  n->SetSelected(true);
  EXPECT_EQ(n->HitTest({100, 100}), htTopLeftHandle);
  EXPECT_EQ(n->HitTest({202, 162}), htBottomRightHandle);
  EXPECT_EQ(n->HitTest({150, 97}), htTopHandle);
  EXPECT_EQ(n->HitTest({150, 102}), htTopHandle);
  EXPECT_EQ(n->HitTest({150, 103}), htBody);  // the handle square excludes its bottom edge
  n->SetOptions(goLinkable | goShowCaption);  // not selectable: deselected, htObject
  EXPECT_FALSE(n->Selected());
  EXPECT_EQ(n->HitTest({120, 120}), htObject);
}

TEST(GraphNode, LongCaptionEndsWithTheTruncationMark) {
  auto g = MakeGraph();
  auto* n = AddNode<TRectangularNode>(*g, {0, 0, 60, 30});
  n->SetText(QStringLiteral("a very long caption that cannot possibly fit in this small node"));
  QString shown = n->TextToShow();
  EXPECT_NE(shown, n->Text());
  EXPECT_TRUE(shown.endsWith(QChar(0x2026)) || shown.endsWith(QStringLiteral("...")));
  TRect area;
  n->CaptionArea(area);
  EXPECT_GE(n->TextRect().Left, area.Left);
  EXPECT_LE(n->TextRect().Right, area.Right);
  EXPECT_LE(n->TextRect().Bottom, area.Bottom);
  // A short caption is centred inside the area.
  n->SetText(QStringLiteral("x"));
  EXPECT_EQ(n->TextToShow(), QStringLiteral("x"));
  int left = n->TextRect().Left - area.Left, right = area.Right - n->TextRect().Right;
  EXPECT_LE(std::abs(left - right), 1);
}

TEST(GraphNode, LinksAttachOnTheOutline) {
  auto g = MakeGraph();
  auto* e = AddNode<TEllipticNode>(*g, {100, 100, 200, 160});
  TPoint pt;
  e->AttachPoint({150, 0}, pt);
  EXPECT_EQ(pt, TPoint(150, 100));
  e->AttachPoint({150, 130}, pt);  // inside: the centre
  EXPECT_EQ(pt, e->Center());
  auto* r = AddNode<TRectangularNode>(*g, {300, 100, 400, 160});
  r->AttachPoint({0, 130}, pt);
  EXPECT_EQ(pt, TPoint(300, 130));
  auto* rh = AddNode<TRhomboidalNode>(*g, {500, 100, 600, 200});
  rh->AttachPoint({550, 0}, pt);
  EXPECT_EQ(pt, TPoint(550, 100));
  auto* tr = AddNode<TTriangularNode>(*g, {100, 300, 200, 390});
  tr->AttachPoint({150, 500}, pt);
  EXPECT_EQ(pt, TPoint(150, 390));
  auto* rr = AddNode<TRoundRectangularNode>(*g, {300, 300, 500, 380});
  rr->AttachPoint({400, 0}, pt);
  EXPECT_EQ(pt, TPoint(400, 300));
  auto* p = AddNode<TPentagonalNode>(*g, {600, 300, 700, 400});
  p->AttachPoint({p->Center().X, 1000}, pt);
  EXPECT_EQ(pt.Y, 400);
  auto* h = AddNode<THexagonalNode>(*g, {800, 300, 900, 400});
  h->AttachPoint({2000, h->Center().Y}, pt);
  EXPECT_EQ(pt, TPoint(900, h->Center().Y));
}

TEST(GraphNode, RegistryAfterStartUp) {
  EXPECT_EQ(TGraphEditor::NodeClassCount(), 7);
  EXPECT_EQ(TGraphEditor::NodeClasses(0), &TRectangularNode::ClassInfo);
  EXPECT_EQ(TGraphEditor::NodeClasses(6), &THexagonalNode::ClassInfo);
  EXPECT_EQ(TGraphEditor::LinkClassCount(), 1);
  EXPECT_EQ(TGraphEditor::LinkClasses(0), &TGraphLink::ClassInfo);
  TGraphEditor::Register(&TEllipticNode::ClassInfo);
  EXPECT_EQ(TGraphEditor::NodeClassCount(), 7);
  EXPECT_THROW(TGraphEditor::NodeClasses(7), EListError);
  EXPECT_EQ(TGraphEditor::FindClass(QStringLiteral("TEllipticNode")), &TEllipticNode::ClassInfo);
}

// Names are found whatever their case, and only while their class is
// registered, however often they were found before.
TEST(GraphNode, FindClassFollowsTheRegistry) {
  std::vector<TGraphObjectClass> order;
  for (int i = 0; i < TGraphEditor::NodeClassCount(); ++i) order.push_back(TGraphEditor::NodeClasses(i));
  const QString name = QStringLiteral("tellipticNODE");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(TGraphEditor::FindClass(name), &TEllipticNode::ClassInfo);
  TGraphEditor::Unregister(&TEllipticNode::ClassInfo);
  EXPECT_EQ(TGraphEditor::FindClass(name), nullptr);
  EXPECT_EQ(TGraphEditor::FindClass(QStringLiteral("TEllipticNode")), nullptr);
  TGraphEditor::Register(&TEllipticNode::ClassInfo);
  EXPECT_EQ(TGraphEditor::FindClass(name), &TEllipticNode::ClassInfo);
  EXPECT_EQ(TGraphEditor::FindClass(QStringLiteral("TNoSuchNode")), nullptr);
  // The registry as it was, in its order.
  for (TGraphObjectClass c : order) TGraphEditor::Unregister(c);
  for (TGraphObjectClass c : order) TGraphEditor::Register(c);
}

TEST(GraphNode, UnregisteredClassesLeaveNoDefault) {
  std::vector<TGraphObjectClass> saved;
  while (TGraphEditor::NodeClassCount() > 0) {
    saved.push_back(TGraphEditor::NodeClasses(0));
    TGraphEditor::Unregister(saved.back());
  }
  {
    auto g = MakeGraph();
    EXPECT_EQ(g->DefaultNodeClass(), nullptr);
    EXPECT_EQ(g->InsertNode({0, 0, 20, 20}), nullptr);
  }
  for (TGraphObjectClass c : saved) TGraphEditor::Register(c);
  EXPECT_EQ(TGraphEditor::NodeClasses(0), &TRectangularNode::ClassInfo);
}

namespace {
bool IsInk(QRgb c) { return qRed(c) < 64 && qGreen(c) < 64 && qBlue(c) < 64; }

// Whether any pixel within one device pixel of (x, y) is black.
bool InkNear(const QImage& img, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      int px = x + dx, py = y + dy;
      if (px >= 0 && py >= 0 && px < img.width() && py < img.height() && IsInk(img.pixel(px, py))) return true;
    }
  return false;
}
}  // namespace

// Every shape's outline is drawn where its geometry puts it, at any zoom:
// the points where a line from outside meets the outline are inked, and the
// middle of the shape is not.
TEST(NodeShapes, OutlinesArePaintedWhereTheGeometryPutsThem) {
  const TGraphObjectClass classes[] = {&TRectangularNode::ClassInfo, &TRoundRectangularNode::ClassInfo,
                                       &TEllipticNode::ClassInfo,    &TTriangularNode::ClassInfo,
                                       &TRhomboidalNode::ClassInfo,  &TPentagonalNode::ClassInfo,
                                       &THexagonalNode::ClassInfo};
  for (int zoom : {100, 200}) {
    for (TGraphObjectClass cls : classes) {
      auto g = MakeGraph(400, 400);
      g->SetShowGrid(false);
      g->SetZoom(zoom);
      auto* n = static_cast<TGraphNode*>(g->InsertNode({40, 40, 140, 120}, cls));
      ASSERT_NE(n, nullptr);
      QImage img = g->RenderToImage();
      TPoint c = n->Center();
      const TPoint refs[] = {{c.X, -50}, {c.X, 400}, {-50, c.Y}, {400, c.Y}, {-50, -50}};
      for (const TPoint& ref : refs) {
        TPoint at;
        n->AttachPoint(ref, at);
        TPoint d = g->GraphToClient(at.X, at.Y);
        EXPECT_TRUE(InkNear(img, d.X, d.Y)) << cls->Name << " zoom " << zoom << " at " << at.X << "," << at.Y;
      }
      TPoint mid = g->GraphToClient(c.X, c.Y + 5);
      EXPECT_FALSE(IsInk(img.pixel(mid.X, mid.Y))) << cls->Name << " filled black";
    }
  }
}

// A closed outline paints every one of its corners, in the exported
// picture and on screen alike, at 100 % where the pen is one pixel wide
// and zoomed in where it is wider.
TEST(NodeShapes, PolygonOutlinesPaintEveryVertexPixel) {
  const TGraphObjectClass classes[] = {&TTriangularNode::ClassInfo, &TRhomboidalNode::ClassInfo,
                                       &TPentagonalNode::ClassInfo, &THexagonalNode::ClassInfo,
                                       &TRectangularNode::ClassInfo};
  for (TGraphObjectClass cls : classes) {
    auto g = MakeGraph(400, 300);
    g->SetShowGrid(false);
    auto* n = static_cast<TPolygonalNode*>(g->InsertNode({0, 0, 100, 90}, cls));
    ASSERT_NE(n, nullptr);
    const QImage exported = g->GetAsBitmap(g->Objects())->ToImage();
    ASSERT_EQ(exported.size(), QSize(101, 91)) << cls->Name;
    for (const TPoint& v : n->Vertices())
      EXPECT_TRUE(IsInk(exported.pixel(v.X, v.Y))) << cls->Name << " exported, vertex " << v.X << "," << v.Y;
    for (int zoom : {100, 300}) {
      g->SetZoom(zoom);
      const QImage shown = g->RenderToImage();
      for (const TPoint& v : n->Vertices()) {
        const TPoint d = g->GraphToClient(v.X, v.Y);
        EXPECT_TRUE(IsInk(shown.pixel(d.X, d.Y))) << cls->Name << " zoom " << zoom << ", vertex " << v.X << "," << v.Y;
      }
    }
  }
}

// An inverting outline (a drag's) paints each pixel once: painted twice,
// a corner would invert back to the background.
TEST(NodeShapes, InvertedOutlinesPaintEachPixelOnce) {
  const TPoints triangle{{50, 0}, {100, 90}, {0, 90}};
  const TPoints pentagon{{50, 0}, {100, 45}, {75, 90}, {25, 90}, {0, 45}};
  for (const TPoints& shape : {triangle, pentagon}) {
    QImage copied = PlainImage(110, 100), inverted = PlainImage(110, 100);
    for (QImage* img : {&copied, &inverted}) {
      TCanvas canvas(img);
      canvas.Brush().SetStyle(bsClear);
      canvas.Pen().SetColor(clBlack);
      canvas.Pen().SetMode(img == &copied ? pmCopy : pmNot);
      canvas.Polygon(shape);
    }
    EXPECT_EQ(inverted, copied);
    for (const TPoint& v : shape) EXPECT_TRUE(IsInk(inverted.pixel(v.X, v.Y))) << v.X << "," << v.Y;
  }
}

TEST(GraphNode, EmptyBackgroundDrawsTheShapeOnce) {
  auto g = MakeGraph(100, 100);
  g->SetShowGrid(false);
  auto* n = AddNode<TRectangularNode>(*g, {10, 10, 60, 60});
  n->Brush()->SetColor(clYellow);
  QImage img = g->RenderToImage();
  EXPECT_EQ(img.pixel(30, 30), qRgb(255, 255, 0));
  EXPECT_TRUE(IsInk(img.pixel(10, 30)));
  EXPECT_TRUE(IsInk(img.pixel(60, 30)));  // a polygon outline runs through its vertices
}

TEST(GraphNode, BackgroundPictureIsClippedToTheShape) {
  auto g = MakeGraph(200, 200);
  g->SetShowGrid(false);
  auto* e = AddNode<TEllipticNode>(*g, {10, 10, 110, 110});
  TBitmap red = PlainBitmap(10, 10, Qt::red);
  e->Background()->SetGraphic(&red);
  for (int zoom : {100, 150}) {
    g->SetZoom(zoom);
    QImage img = g->RenderToImage();
    TPoint centre = g->GraphToClient(60, 60);
    TPoint corner = g->GraphToClient(13, 13);  // inside the box, outside the ellipse
    EXPECT_EQ(img.pixel(centre.X, centre.Y), qRgb(255, 0, 0)) << zoom;
    EXPECT_EQ(img.pixel(corner.X, corner.Y), qRgb(255, 255, 255)) << zoom;
  }
}
