#include <gtest/gtest.h>

#include "GraphTestSupport.h"

DEFINE_GRAPH_OBJECT_CLASS(TRecordingNode, TRectangularNode);

TEST(GraphEditorCore, DefaultsAndClamping) {
  auto g = MakeGraph();
  EXPECT_EQ(g->GridSize(), 8);
  EXPECT_EQ(g->Zoom(), 100);
  EXPECT_EQ(g->CommandMode(), cmEdit);
  EXPECT_FALSE(g->Modified());
  EXPECT_EQ(g->DefaultNodeClass(), &TRectangularNode::ClassInfo);
  EXPECT_EQ(g->DefaultLinkClass()->Name, std::string("TGraphLink"));
  g->SetGridSize(3);
  EXPECT_EQ(g->GridSize(), 8);
  g->SetGridSize(129);
  EXPECT_EQ(g->GridSize(), 8);
  g->SetGridSize(128);
  EXPECT_EQ(g->GridSize(), 128);
  int zoomEvents = 0;
  g->OnZoomChange = [&](TGraphEditor*) { ++zoomEvents; };
  g->SetZoom(2);
  EXPECT_EQ(g->Zoom(), 5);
  g->SetZoom(40000);
  EXPECT_EQ(g->Zoom(), 36863);
  EXPECT_EQ(zoomEvents, 2);
  g->SetZoom(100);
  zoomEvents = 0;
  EXPECT_FALSE(g->ChangeZoom(100, zoCenter));
  EXPECT_EQ(zoomEvents, 0);
}

TEST(GraphEditorCore, SnapPointAndOffset) {
  auto g = MakeGraph();
  EXPECT_EQ(g->SnapPoint({3, 4}), TPoint(0, 8));
  EXPECT_EQ(g->SnapPoint({12, 13}), TPoint(16, 16));
  int32_t dx = 5, dy = 0;
  g->SnapOffset({0, 0}, dx, dy);
  EXPECT_EQ(dx, 8);
  EXPECT_EQ(dy, 0);
}

TEST(GraphEditorCore, BracketedChangesApplyOnce) {
  auto g = MakeGraph();
  auto* n = AddNode<TRecordingNode>(*g, {10, 10, 50, 50});
  ASSERT_NE(n, nullptr);
  n->Applied.clear();
  n->BeginUpdate();
  n->SetText(QStringLiteral("a"));
  n->SetVisible(false);
  n->EndUpdate();
  ASSERT_EQ(n->Applied.size(), 1u);
  EXPECT_EQ(n->Applied[0], gcView | gcData | gcText);
}

TEST(GraphEditorCore, NestedBracketsRepaintOnceAtTheOutermostEnd) {
  auto g = MakeGraph();
  auto* a = AddNode<TRectangularNode>(*g, {10, 10, 50, 50});
  auto* b = AddNode<TRectangularNode>(*g, {200, 100, 260, 160});
  g->show();
  ProcessEvents();
  TPaintSpy spy(g->viewport());
  g->BeginUpdate();
  g->BeginUpdate();
  a->SetText(QStringLiteral("x"));
  g->EndUpdate();
  ProcessEvents();
  EXPECT_TRUE(spy.Regions.empty()) << "repainted before the outermost EndUpdate";
  b->SetVisible(false);
  g->EndUpdate();
  ProcessEvents();
  ASSERT_EQ(spy.Regions.size(), 1u);
  QRect r = spy.Regions[0].boundingRect();
  EXPECT_TRUE(r.contains(QRect(10, 10, 40, 40)));
  EXPECT_TRUE(r.contains(QRect(200, 100, 60, 60)));
}

TEST(GraphEditorCore, ModifiedAndGraphChange) {
  auto g = MakeGraph();
  int changes = 0;
  g->OnGraphChange = [&](TGraphEditor*) { ++changes; };
  auto* n = AddNode<TRectangularNode>(*g, {0, 0, 20, 20});
  EXPECT_TRUE(g->Modified());
  EXPECT_GE(changes, 1);
  changes = 0;
  g->BeginUpdate();
  n->SetText(QStringLiteral("a"));
  n->SetText(QStringLiteral("b"));
  EXPECT_EQ(changes, 0);
  g->EndUpdate();
  EXPECT_EQ(changes, 1);
  // Selection changes only the view.
  g->SetModified(false);
  changes = 0;
  n->SetSelected(true);
  EXPECT_FALSE(g->Modified());
  EXPECT_EQ(changes, 0);
  // Clear: one change, not modified; on an empty graph, none.
  g->SetModified(true);
  changes = 0;
  g->SetCommandMode(cmPan);
  g->Clear();
  EXPECT_FALSE(g->Modified());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(g->CommandMode(), cmEdit);
  changes = 0;
  g->SetCommandMode(cmPan);
  g->Clear();
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(g->CommandMode(), cmEdit);
}

TEST(GraphEditorCore, IDsAreUniqueAndReused) {
  auto g = MakeGraph();
  auto* a = AddNode<TRectangularNode>(*g, {0, 0, 20, 20});
  auto* b = AddNode<TRectangularNode>(*g, {30, 0, 50, 20});
  auto* c = AddNode<TRectangularNode>(*g, {60, 0, 80, 20});
  EXPECT_EQ(a->ID(), 1u);
  EXPECT_EQ(b->ID(), 2u);
  EXPECT_EQ(c->ID(), 3u);
  EXPECT_EQ(g->FindObjectByID(2), b);
  b->Delete();
  EXPECT_EQ(g->FindObjectByID(2), nullptr);
  // Count + 1 is 3, taken by c: the next free value is 4.
  auto* d = AddNode<TRectangularNode>(*g, {0, 40, 20, 60});
  EXPECT_EQ(d->ID(), 4u);
  a->Delete();
  auto* e = AddNode<TRectangularNode>(*g, {0, 80, 20, 100});
  EXPECT_EQ(e->ID(), 5u);  // 3 and 4 are taken
  EXPECT_EQ(g->FindObjectByID(5), e);
}

TEST(GraphEditorCore, ForeignObjectsAreRefused) {
  auto g = MakeGraph();
  auto h = MakeGraph();
  auto* n = AddNode<TRectangularNode>(*h, {0, 0, 20, 20});
  int inserts = 0;
  g->OnObjectInsert = [&](TGraphEditor*, TGraphObject*) { ++inserts; };
  g->Objects().Add(n);
  EXPECT_EQ(g->Objects().Count(), 0);
  EXPECT_EQ(inserts, 0);
  EXPECT_EQ(h->Objects().Count(), 1);
}

TEST(GraphEditorCore, ObjectsCountByClassAndBounds) {
  auto g = MakeGraph();
  AddNode<TRectangularNode>(*g, {0, 0, 20, 20});
  AddNode<TEllipticNode>(*g, {100, 50, 140, 90});
  EXPECT_EQ(g->ObjectsCount(), 2);
  EXPECT_EQ(g->ObjectsCount(&TGraphNode::ClassInfo), 2);
  EXPECT_EQ(g->ObjectsCount(&TEllipticNode::ClassInfo), 1);
  EXPECT_EQ(g->GraphBounds(), TRect(0, 0, 140, 90));
  g->Objects()[1]->SetVisible(false);
  g->SetShowHiddenObjects(true);
  EXPECT_EQ(g->GraphBounds(), TRect(0, 0, 140, 90));
  g->SetShowHiddenObjects(false);
  EXPECT_EQ(g->GraphBounds(), TRect(0, 0, 20, 20));
  EXPECT_FALSE(MakeGraph()->ZoomGraph());
}

TEST(GraphEditorCore, ZOrderMoves) {
  auto g = MakeGraph();
  auto* a = AddNode<TRectangularNode>(*g, {0, 0, 20, 20});
  auto* b = AddNode<TRectangularNode>(*g, {0, 0, 20, 20});
  auto* c = AddNode<TRectangularNode>(*g, {0, 0, 20, 20});
  a->SetZOrder(-5);
  EXPECT_EQ(a->ZOrder(), 2);
  b->SetZOrder(g->Objects().Count());
  EXPECT_EQ(b->ZOrder(), 2);
  b->SendToBack();
  EXPECT_EQ(b->ZOrder(), 0);
  EXPECT_EQ(c->ZOrder(), 1);
}

TEST(GraphEditorCore, ForEachObjectStopsAndMayDelete) {
  auto g = MakeGraph();
  for (int i = 0; i < 4; ++i) AddNode<TRectangularNode>(*g, {i * 30, 0, i * 30 + 20, 20});
  int visits = 0;
  g->ForEachObject(
      [&](TGraphObject* o, void*) {
        ++visits;
        o->Delete();
        return visits < 3;
      },
      nullptr, false);
  EXPECT_EQ(visits, 3);
  EXPECT_EQ(g->Objects().Count(), 1);
}

namespace {
// Device pixels of the grid colour in a rendering of an otherwise empty graph.
std::vector<QPoint> GridDots(const QImage& img, QRgb grid) {
  std::vector<QPoint> dots;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) == grid) dots.push_back({x, y});
  return dots;
}
}  // namespace

TEST(GraphEditorCore, GridDotsAtMultiplesOfGridSize) {
  for (int zoom : {100, 250}) {
    auto g = MakeGraph(200, 120);
    g->SetZoom(zoom);
    QImage img = g->RenderToImage();
    std::vector<QPoint> dots = GridDots(img, qRgb(128, 128, 128));
    ASSERT_FALSE(dots.empty());
    int expectedCols = 0, expectedRows = 0;
    for (int x = 0; MulDiv(x, zoom, 100) < 200; x += 8) ++expectedCols;
    for (int y = 0; MulDiv(y, zoom, 100) < 120; y += 8) ++expectedRows;
    EXPECT_EQ(int(dots.size()), expectedCols * expectedRows) << "zoom " << zoom;
    for (const QPoint& d : dots) {
      TPoint graph = g->ClientToGraph(d.x(), d.y());
      EXPECT_EQ(graph.X % 8, 0) << d.x() << "," << d.y();
      EXPECT_EQ(graph.Y % 8, 0) << d.x() << "," << d.y();
      EXPECT_EQ(g->GraphToClient(graph.X, graph.Y), TPoint(d.x(), d.y()));
    }
  }
}

TEST(GraphEditorCore, DrawOrderNodesOnTop) {
  auto g = MakeGraph(100, 100);
  g->SetShowGrid(false);
  auto* n = AddNode<TRectangularNode>(*g, {10, 10, 60, 60});
  n->Brush()->SetColor(clRed);
  TGraphLink* l = g->InsertLink(TPoints{{0, 35}, {90, 35}});
  ASSERT_NE(l, nullptr);
  l->Pen()->SetWidth(5);
  l->Pen()->SetColor(clBlue);
  QImage byList = g->RenderToImage();
  EXPECT_EQ(byList.pixel(35, 35), qRgb(0, 0, 255));  // the later link covers the node
  g->SetDrawOrder(doNodesOnTop);
  QImage nodesOnTop = g->RenderToImage();
  EXPECT_EQ(nodesOnTop.pixel(35, 35), qRgb(255, 0, 0));
}
