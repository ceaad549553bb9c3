// The grid thinned out when zoomed out, and the search for a link point to
// snap onto.
#include <gtest/gtest.h>

#include "GraphEditor.h"
#include "GraphLink.h"

namespace {

TEST(GridStep, DotsStayAFewScreenPixelsApartOnTheGrid) {
  EXPECT_EQ(TGraphEditor::GridStep(8, 100), 8);
  EXPECT_EQ(TGraphEditor::GridStep(8, 75), 8);  // 6 pixels apart
  EXPECT_EQ(TGraphEditor::GridStep(8, 74), 16);
  EXPECT_EQ(TGraphEditor::GridStep(8, 50), 16);
  EXPECT_EQ(TGraphEditor::GridStep(8, 10), 64);
  EXPECT_EQ(TGraphEditor::GridStep(8, 5), 128);
  EXPECT_EQ(TGraphEditor::GridStep(4, 400), 4);
}

struct PointSnapTest : ::testing::Test {
  void SetUp() override {
    graph = std::make_unique<TGraphEditor>();
    graph->resize(400, 300);
    a = graph->InsertLink(TPoints{{101, 203}, {301, 203}, {301, 97}}, &TGraphLink::ClassInfo);
    ASSERT_NE(a, nullptr);
  }
  std::unique_ptr<TGraphEditor> graph;
  TGraphLink* a = nullptr;
};

TEST_F(PointSnapTest, FindsTheNearestPointWithinAFewScreenPixels) {
  TPoint found;
  ASSERT_TRUE(graph->FindLinkPointNear({104, 201}, nullptr, found));
  EXPECT_EQ(found, TPoint(101, 203));
  ASSERT_TRUE(graph->FindLinkPointNear({299, 100}, nullptr, found));  // a bend counts too
  EXPECT_EQ(found, TPoint(301, 97));
  EXPECT_FALSE(graph->FindLinkPointNear({108, 203}, nullptr, found));  // 7 pixels off
  EXPECT_FALSE(graph->FindLinkPointNear({104, 201}, a, found));        // its own points do not count
}

TEST_F(PointSnapTest, TheReachIsInScreenPixelsAtAnyZoom) {
  TPoint found;
  graph->SetZoom(200);
  EXPECT_TRUE(graph->FindLinkPointNear({103, 203}, nullptr, found));
  EXPECT_FALSE(graph->FindLinkPointNear({105, 203}, nullptr, found));
  graph->SetZoom(50);
  EXPECT_TRUE(graph->FindLinkPointNear({112, 203}, nullptr, found));
  graph->SetSpatialIndexEnabled(false);  // the same answer without the index
  EXPECT_TRUE(graph->FindLinkPointNear({112, 203}, nullptr, found));
  EXPECT_EQ(found, TPoint(101, 203));
}

}  // namespace
