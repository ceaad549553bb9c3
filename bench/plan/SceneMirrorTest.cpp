// The Qt scenes the benchmark compares against: they must hold the same
// plan, answer hit tests with the items of the objects the control finds,
// show the area the control shows, and follow a dragged door as the
// control's walls do. The doors a drag step averages over come nearest
// first.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGraphicsPathItem>
#include <random>
#include <set>

#include "GraphEditor.h"
#include "GraphLink.h"
#include "GraphNode.h"
#include "PlanGenerator.h"
#include "PlanObjects.h"
#include "SceneMirror.h"

namespace {

class SceneMirrorTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterPlanClasses(); }
  void SetUp() override {
    // Smaller than the offscreen screen, which would clamp the view.
    fGraph.resize(640, 480);
    fSummary = TPlanGenerator().Build(fGraph, 1500);
  }

  TGraphEditor fGraph;
  TPlanSummary fSummary;
};

TEST_F(SceneMirrorTest, BothScenesHitWhatTheControlHits) {
  for (bool grouped : {false, true}) {
    TSceneMirror mirror(fGraph, grouped, TPlanGenerator::ObjectsPerFlat);
    std::mt19937 random(3);
    const TRect& a = fSummary.Area;
    std::uniform_int_distribution<int32_t> x(a.Left, a.Right - 1), y(a.Top, a.Bottom - 1);
    int hits = 0;
    for (int i = 0; i < 20000; ++i) {
      const TPoint p{x(random), y(random)};
      TGraphObject* ours = fGraph.FindObjectAt(p.X, p.Y);
      QGraphicsItem* theirs = mirror.Scene().itemAt(QPointF(p.X, p.Y), QTransform());
      ASSERT_EQ(theirs, ours ? mirror.ItemOf(ours) : nullptr) << "at " << p.X << "," << p.Y << " grouped " << grouped;
      hits += ours != nullptr;
    }
    // Enough of the points land on something for the agreement to mean much.
    EXPECT_GT(hits, 2000);
  }
}

TEST_F(SceneMirrorTest, WallsHitAtTheirReachAndNotInsideTheirRooms) {
  TSceneMirror mirror(fGraph, false, TPlanGenerator::ObjectsPerFlat);
  TGraphLink* outer = nullptr;
  for (TGraphObject* o : fGraph.Objects())
    if (o->IsLink() && static_cast<TGraphLink*>(o)->Polyline().size() >= 3) {
      outer = static_cast<TGraphLink*>(o);
      break;
    }
  ASSERT_NE(outer, nullptr);
  const TPoint a = outer->Polyline()[0], b = outer->Polyline()[1];
  const TPoint middle{(a.X + b.X) / 2, (a.Y + b.Y) / 2};
  QGraphicsItem* item = mirror.ItemOf(outer);
  const int32_t reach = outer->MarkerRadius();
  // Across the segment at the middle: within the reach it hits, beyond not.
  const bool horizontal = a.Y == b.Y;
  auto across = [&](int32_t d) {
    return horizontal ? QPointF(middle.X, middle.Y + d) : QPointF(middle.X + d, middle.Y);
  };
  EXPECT_TRUE(item->contains(across(0)));
  EXPECT_EQ(item->contains(across(reach)),
            outer->ContainsPoint(int32_t(across(reach).x()), int32_t(across(reach).y())));
  EXPECT_FALSE(item->contains(across(reach + 2)));
  EXPECT_FALSE(item->contains(across(-reach - 2)));
}

TEST_F(SceneMirrorTest, EqualPicturesShareOnePixmap) {
  TSceneMirror mirror(fGraph, false, TPlanGenerator::ObjectsPerFlat);
  EXPECT_GT(mirror.DistinctPixmaps(), 1);
  EXPECT_LT(mirror.DistinctPixmaps(), fSummary.Pictures / 10);
}

// The benchmark hands the view the area the control shows and its zoom.
TEST_F(SceneMirrorTest, ViewShowsExactlyTheAreaItIsGiven) {
  TSceneMirror mirror(fGraph, true, TPlanGenerator::ObjectsPerFlat);
  mirror.View().resize(400, 300);
  mirror.View().show();
  QApplication::processEvents();
  const QSize viewport = mirror.View().viewport()->size();
  for (double scale : {1.0, 0.25, 0.05}) {
    const QRectF area(160, 96, viewport.width() / scale, viewport.height() / scale);
    mirror.ShowArea(area, scale);
    const QRectF shown = mirror.View().mapToScene(mirror.View().viewport()->rect()).boundingRect();
    // Within a device pixel.
    EXPECT_NEAR(shown.left(), area.left(), 1 / scale) << scale;
    EXPECT_NEAR(shown.top(), area.top(), 1 / scale) << scale;
    EXPECT_NEAR(shown.width(), area.width(), 1 / scale) << scale;
    EXPECT_NEAR(shown.height(), area.height(), 1 / scale) << scale;
  }
}

TEST_F(SceneMirrorTest, MovedDoorDragsItsWallEnds) {
  TSceneMirror mirror(fGraph, true, TPlanGenerator::ObjectsPerFlat);
  TGraphNode* door = TPlanGenerator::DoorNear(fGraph, {0, 0});
  ASSERT_NE(door, nullptr);
  auto* in = static_cast<QGraphicsPathItem*>(mirror.ItemOf(door->LinkInputList()[0]));
  auto* out = static_cast<QGraphicsPathItem*>(mirror.ItemOf(door->LinkOutputList()[0]));
  const QPointF inEnd = in->path().currentPosition(), outStart = out->path().elementAt(0);
  const QPointF doorAt = mirror.ItemOf(door)->scenePos();
  mirror.MoveNode(door, 8, -4);
  EXPECT_EQ(mirror.ItemOf(door)->scenePos(), doorAt + QPointF(8, -4));
  EXPECT_EQ(in->path().currentPosition(), inEnd + QPointF(8, -4));
  EXPECT_EQ(QPointF(out->path().elementAt(0)), outStart + QPointF(8, -4));
}

TEST(DoorsNear, NearestFirstAndHookedBetweenTwoWalls) {
  RegisterPlanClasses();
  TGraphEditor graph;
  const TPlanSummary summary = TPlanGenerator().Build(graph, 3000);
  const TPoint centre{(summary.Area.Left + summary.Area.Right) / 2, (summary.Area.Top + summary.Area.Bottom) / 2};
  std::vector<TGraphNode*> doors = TPlanGenerator::DoorsNear(graph, centre, 24);
  ASSERT_EQ(doors.size(), 24u);
  EXPECT_EQ(doors.front(), TPlanGenerator::DoorNear(graph, centre));
  auto distance = [&](TGraphNode* d) {
    const int64_t dx = d->Center().X - centre.X, dy = d->Center().Y - centre.Y;
    return dx * dx + dy * dy;
  };
  for (size_t i = 0; i < doors.size(); ++i) {
    EXPECT_GT(doors[i]->LinkInputCount(), 0);
    EXPECT_GT(doors[i]->LinkOutputCount(), 0);
    if (i > 0) {
      EXPECT_LE(distance(doors[i - 1]), distance(doors[i]));
    }
  }
  EXPECT_EQ(std::set<TGraphNode*>(doors.begin(), doors.end()).size(), doors.size());
}

// Only doors shown whole in the area count, in the order of the nearest;
// an area that shows none has none.
TEST(DoorsIn, TheNearestDrawnWhollyInside) {
  RegisterPlanClasses();
  TGraphEditor graph;
  const TPlanSummary summary = TPlanGenerator().Build(graph, 3000);
  const TPoint centre{(summary.Area.Left + summary.Area.Right) / 2, (summary.Area.Top + summary.Area.Bottom) / 2};
  const TRect area(centre.X - 600, centre.Y - 400, centre.X + 600, centre.Y + 400);
  std::vector<TGraphNode*> nearest = TPlanGenerator::DoorsNear(graph, centre, 1000);
  std::vector<TGraphNode*> expected;
  for (TGraphNode* d : nearest) {
    const TRect& r = d->SelectedVisualRect();
    if (area.Left <= r.Left && r.Right <= area.Right && area.Top <= r.Top && r.Bottom <= area.Bottom)
      expected.push_back(d);
  }
  ASSERT_GT(expected.size(), 4u);
  ASSERT_LT(expected.size(), nearest.size());
  if (expected.size() > 24) expected.resize(24);
  EXPECT_EQ(TPlanGenerator::DoorsIn(graph, area, 24), expected);
  EXPECT_TRUE(TPlanGenerator::DoorsIn(graph, TRect(centre.X, centre.Y, centre.X + 10, centre.Y + 10), 24).empty());
}

}  // namespace
