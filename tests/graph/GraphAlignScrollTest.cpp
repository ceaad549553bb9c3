#include <gtest/gtest.h>

#include <QScrollBar>

#include "GraphTestSupport.h"

TEST(Constraints, ConfineOffsetRules) {
  auto g = MakeGraph();
  TGraphConstraints* c = g->GraphConstraints();
  c->SetSourceRect({10, 10, 50, 50});
  int32_t dx = -25, dy = 0;
  EXPECT_TRUE(c->ConfineOffset(dx, dy, osAllSides));
  EXPECT_EQ(dx, -10);
  dx = -25;
  EXPECT_TRUE(c->ConfineOffset(dx, dy, osRight | osBottom));  // the left side does not move
  EXPECT_EQ(dx, -25);
  c->SetSourceRect({0, 0, 100, 10});
  dx = -5;
  EXPECT_FALSE(c->ConfineOffset(dx, dy, osAllSides));
  int changes = 0;
  c->OnChange = [&](TGraphConstraints*) { ++changes; };
  c->SetMaxRight(65535);
  EXPECT_EQ(changes, 0);
  c->SetMaxRight(1000);
  EXPECT_EQ(changes, 1);
  TPoint p{2000, -5};
  EXPECT_FALSE(c->ConfinePt(p));
  EXPECT_EQ(p, TPoint(1000, 0));
  EXPECT_TRUE(c->WithinBounds(TPoints{}));
  EXPECT_FALSE(c->WithinBounds(TPoints{{1000, 0}}));
}

TEST(AlignSelection, SpacingEvenly) {
  auto g = MakeGraph();
  g->SetMinNodeSize(1);
  auto* a = AddNode<TRectangularNode>(*g, {0, 0, 20, 20});
  auto* b = AddNode<TRectangularNode>(*g, {50, 40, 70, 60});
  auto* c = AddNode<TRectangularNode>(*g, {300, 80, 340, 100});
  for (auto* n : {c, a, b}) n->SetSelected(true);
  EXPECT_TRUE(g->AlignSelection(haSpaceEqually, vaNoChange));
  EXPECT_EQ(a->Left(), 0);
  EXPECT_EQ(b->Left(), 150);  // gap (340 - 0 - 80) div 2 = 130
  EXPECT_EQ(c->Left(), 300);
  EXPECT_EQ(b->Top(), 40);
}

TEST(AlignSelection, AlignsToTheFirstSelected) {
  auto g = MakeGraph();
  auto* a = AddNode<TRectangularNode>(*g, {0, 0, 20, 20});
  auto* b = AddNode<TRectangularNode>(*g, {50, 40, 90, 60});
  b->SetSelected(true);
  a->SetSelected(true);
  EXPECT_TRUE(g->AlignSelection(haLeft, vaNoChange));
  EXPECT_EQ(a->Left(), 50);
  EXPECT_EQ(b->Left(), 50);
  EXPECT_TRUE(g->AlignSelection(haNoChange, vaBottom));
  EXPECT_EQ(a->BoundsRect().Bottom, 60);
  EXPECT_FALSE(g->AlignSelection(haSpaceEqually, vaSpaceEqually));  // only two
  g->ClearSelection();
  a->SetSelected(true);
  EXPECT_FALSE(g->AlignSelection(haLeft, vaTop));
}

TEST(ResizeSelection, ToTheLargest) {
  auto g = MakeGraph();
  auto* a = AddNode<TRectangularNode>(*g, {10, 10, 40, 50});
  auto* b = AddNode<TRectangularNode>(*g, {100, 20, 180, 40});
  a->SetSelected(true);
  b->SetSelected(true);
  EXPECT_TRUE(g->ResizeSelection(roLargest, roNoChange));
  EXPECT_EQ(a->BoundsRect(), TRect(10, 10, 90, 50));
  EXPECT_EQ(b->BoundsRect(), TRect(100, 20, 180, 40));
  EXPECT_TRUE(g->ResizeSelection(roNoChange, roSmallest));
  EXPECT_EQ(a->Height(), 20);
}

TEST(Scrolling, SmoothLineStepsAndPageSize) {
  auto g = MakeGraph(400, 500);
  AddNode<TRectangularNode>(*g, {0, 0, 40, 40});
  AddNode<TRectangularNode>(*g, {2000, 3000, 2040, 3040});
  TGraphScrollBar* v = g->VertScrollBar();
  ASSERT_TRUE(v->IsScrollBarVisible());
  v->SetSmooth(true);
  g->RefreshScrollBars();
  // 500 high, less the horizontal bar's thickness.
  int client = g->ClientHeight();
  EXPECT_EQ(v->PageIncrement(), client * 9 / 10);
  EXPECT_EQ(v->Increment(), v->PageIncrement() / 10);
  v->SetSmooth(false);
  v->SetIncrement(10);
  v->SetSmooth(true);
  std::vector<int> positions;
  QObject::connect(g->verticalScrollBar(), &QScrollBar::valueChanged, [&](int p) { positions.push_back(p); });
  v->HandleScrollMessage(scLineDown, 0);
  EXPECT_EQ(positions, (std::vector<int>{2, 4, 6, 8, 10}));
  EXPECT_EQ(v->Position(), 10);
}

TEST(Scrolling, PageIs450On500HighClient) {
  auto g = MakeGraph(400, 500);
  g->HorzScrollBar()->SetVisible(false);
  AddNode<TRectangularNode>(*g, {0, 0, 40, 40});
  AddNode<TRectangularNode>(*g, {100, 3000, 140, 3040});
  TGraphScrollBar* v = g->VertScrollBar();
  v->SetSmooth(true);
  g->RefreshScrollBars();
  ASSERT_EQ(g->ClientHeight(), 500);
  EXPECT_EQ(v->PageIncrement(), 450);
  EXPECT_EQ(v->Increment(), 45);
}

TEST(Scrolling, NarrowGraphHidesTheBarAndKeepsPositionZero) {
  auto g = MakeGraph(400, 300);
  AddNode<TRectangularNode>(*g, {0, 0, 100, 100});
  TGraphScrollBar* h = g->HorzScrollBar();
  EXPECT_EQ(h->CalcRange(), 0);
  EXPECT_FALSE(h->IsScrollBarVisible());
  h->SetPosition(50);
  EXPECT_EQ(h->Position(), 0);
}

TEST(Scrolling, ThumbPositionOnLargeRangesUsesTheFullPosition) {
  auto g = MakeGraph(400, 300);
  AddNode<TRectangularNode>(*g, {0, 0, 40, 40});
  AddNode<TRectangularNode>(*g, {40000, 0, 40040, 40});
  TGraphScrollBar* h = g->HorzScrollBar();
  ASSERT_GE(h->CalcRange(), 32768);
  g->horizontalScrollBar()->setSliderPosition(39000);
  h->HandleScrollMessage(scPosition, 39000 & 0xFFFF);
  EXPECT_EQ(h->Position(), 39000);
}

TEST(Scrolling, ScrollInViewAndCenter) {
  auto g = MakeGraph(400, 300);
  AddNode<TRectangularNode>(*g, {0, 0, 40, 40});
  AddNode<TRectangularNode>(*g, {3000, 3000, 3040, 3040});
  // A rectangle larger than the view brings its top-left corner in, to the
  // nearest edge of the view.
  g->ScrollInView(TRect(1000, 1000, 2000, 2000));
  TPoint corner = g->GraphToClient(1000, 1000);
  EXPECT_EQ(corner, TPoint(g->ClientWidth(), g->ClientHeight()));
  g->ScrollInView(TRect(100, 100, 2000, 2000));
  EXPECT_EQ(g->GraphToClient(100, 100), TPoint(0, 0));
  TRect visible;
  // One that fits is brought fully into view.
  g->ScrollInView(TRect(2500, 2500, 2550, 2550));
  visible = g->VisibleBounds();
  EXPECT_LE(visible.Left, 2500);
  EXPECT_GE(visible.Right, 2550);
  g->ScrollCenter(TPoint(1500, 1500));
  TPoint centre = g->ClientToGraph(g->ClientWidth() / 2, g->ClientHeight() / 2);
  EXPECT_EQ(centre, TPoint(1500, 1500));
}
