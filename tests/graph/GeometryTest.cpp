#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Geometry.h"

namespace {
constexpr int32_t Big = 2000000000;
}

TEST(Geometry, DirectionAngleMarksVerticalLinesExactly) {
  EXPECT_EQ(DirectionAngle({3, 3}, {3, 3}), 0.0);
  EXPECT_EQ(DirectionAngle({0, 0}, {0, 5}), Pi / 2);
  EXPECT_EQ(DirectionAngle({0, 0}, {0, -5}), -Pi / 2);
  EXPECT_EQ(DirectionAngle({0, 0}, {7, 0}), 0.0);
  EXPECT_NEAR(DirectionAngle({0, 0}, {-7, 0}), Pi, 1e-6);
  // y grows downwards: a line going right and down has a positive angle.
  EXPECT_NEAR(DirectionAngle({0, 0}, {10, 10}), Pi / 4, 1e-6);
  // Differences beyond 32 bits do not wrap around.
  EXPECT_NEAR(DirectionAngle({-Big, 0}, {Big, 0}), 0.0, 1e-6);
  // A steep but not vertical line never claims to be exactly vertical.
  EXPECT_NE(std::fabs(DirectionAngle({0, 0}, {1, Big})), Pi / 2);
}

TEST(Geometry, WrapAngleBringsAnglesIntoOneTurn) {
  EXPECT_DOUBLE_EQ(WrapAngle(3 * Pi), Pi);
  EXPECT_DOUBLE_EQ(WrapAngle(-3 * Pi), -Pi);
  EXPECT_DOUBLE_EQ(WrapAngle(2.5 * Pi), 0.5 * Pi);
  EXPECT_EQ(WrapAngle(1.25), 1.25);
  // Huge and non-finite angles end quickly.
  double huge = WrapAngle(1e300);
  EXPECT_LE(std::fabs(huge), Pi);
  EXPECT_EQ(WrapAngle(std::numeric_limits<double>::infinity()), 0.0);
}

TEST(Geometry, PointBackAlongStepsAgainstTheDirection) {
  EXPECT_EQ(PointBackAlong({10, 10}, 0, 5), TPoint(5, 10));
  EXPECT_EQ(PointBackAlong({10, 10}, Pi / 2, 5), TPoint(10, 5));
  EXPECT_EQ(PointBackAlong({10, 10}, -Pi / 2, 5), TPoint(10, 15));
  EXPECT_EQ(PointBackAlong({10, 10}, Pi, 5), TPoint(15, 10));
  EXPECT_EQ(PointBackAlong({10, 10}, 0, -5), TPoint(15, 10));
  // An angle a whole turn away that wraps to exactly Pi/2 is vertical too.
  EXPECT_EQ(PointBackAlong({10, 10}, Pi / 2 + 2 * Pi, 5), TPoint(10, 5));
  EXPECT_EQ(PointBackAlong({0, 0}, Pi / 4, 5 * std::sqrt(2.0)), TPoint(-5, -5));
  EXPECT_EQ(PointBackAlong({0, 0}, DirectionAngle({3, 4}, {0, 0}), 10), TPoint(6, 8));
}

TEST(Geometry, ClosestPointOnSegmentBisectsOnTheGrid) {
  EXPECT_EQ(ClosestPointOnSegment({0, 0}, {100, 0}, {50, 30}), TPoint(50, 0));
  EXPECT_DOUBLE_EQ(SegmentDistance({0, 0}, {100, 0}, {50, 30}), 30.0);
  EXPECT_EQ(ClosestPointOnSegment({0, 0}, {100, 0}, {-50, 10}), TPoint(0, 0));
  // Truncating midpoints may stop one step short of the far end.
  TPoint beyond = ClosestPointOnSegment({0, 0}, {100, 0}, {150, 0});
  EXPECT_EQ(beyond.Y, 0);
  EXPECT_GE(beyond.X, 99);
  EXPECT_EQ(ClosestPointOnSegment({7, -3}, {7, -3}, {100, 100}), TPoint(7, -3));
  // A diagonal segment through negative coordinates.
  TPoint onDiagonal = ClosestPointOnSegment({-40, 40}, {40, -40}, {10, 10});
  EXPECT_LE(std::abs(onDiagonal.X), 1);
  EXPECT_LE(std::abs(onDiagonal.Y), 1);
  // Coordinates whose sums exceed 32 bits.
  TPoint far = ClosestPointOnSegment({Big, Big}, {Big - 1000, Big}, {Big - 500, Big - 10});
  EXPECT_LE(std::abs(far.X - (Big - 500)), 1);
  EXPECT_EQ(far.Y, Big);
}

TEST(Geometry, RectangleHelpers) {
  EXPECT_EQ(SquareAround({10, 20}, 3), TRect(7, 17, 13, 23));
  EXPECT_EQ(RectFromCorners({10, -5}, {-3, 8}), TRect(-3, -5, 10, 8));
  EXPECT_EQ(RectMidPoint(TRect(-3, -3, 0, 0)), TPoint(-1, -1));  // truncation toward zero
  EXPECT_EQ(RectMidPoint(TRect(Big, Big, Big + 100000000, Big + 2)), TPoint(Big + 50000000, Big + 1));

  TRect r(0, 0, 0, 0);
  ExtendRect(r, TRect(10, 10, 20, 20));  // an empty rectangle still counts
  EXPECT_EQ(r, TRect(0, 0, 20, 20));
  TRect c(0, 0, 10, 10);
  ClipRectTo(c, TRect(5, -5, 20, 8));
  EXPECT_EQ(c, TRect(5, 0, 10, 8));
  TRect apart(0, 0, 10, 10);
  ClipRectTo(apart, TRect(20, 20, 30, 30));
  EXPECT_EQ(apart, TRect(20, 20, 10, 10));

  EXPECT_TRUE(RectsTouch(TRect(0, 0, 10, 10), TRect(10, 0, 20, 10)));   // shared edge
  EXPECT_TRUE(RectsTouch(TRect(10, 10, 20, 20), TRect(0, 0, 10, 10)));  // shared corner
  EXPECT_FALSE(RectsTouch(TRect(0, 0, 10, 10), TRect(11, 0, 20, 10)));
  EXPECT_FALSE(RectsTouch(TRect(0, 11, 10, 20), TRect(0, 0, 10, 10)));
}

TEST(Geometry, TransformRegionMapsThroughTheMatrix) {
  EXPECT_TRUE(TransformRegion(QRegion(), {2, 0, 0, 2, 5, 5}).isEmpty());

  QRegion twoRects = QRegion(1, 1, 2, 3) + QRegion(10, 0, 1, 1);
  QRegion scaled = TransformRegion(twoRects, {2, 0, 0, 2, 10, 20});
  EXPECT_EQ(scaled, QRegion(12, 22, 4, 6) + QRegion(30, 20, 2, 2));
  EXPECT_EQ(TransformRegion(twoRects, {1, 0, 0, 1, 0, 0}), twoRects);

  // A quarter turn: (x, y) -> (-y, x).
  QRegion turned = TransformRegion(QRegion(0, 0, 10, 4), {0, 1, -1, 0, 0, 0});
  EXPECT_TRUE(turned.contains(QPoint(-2, 5)));
  EXPECT_FALSE(turned.contains(QPoint(2, 5)));
  EXPECT_FALSE(turned.contains(QPoint(-2, -2)));
}

TEST(Geometry, PointListTransformsTouchOnlyElementsUpToHigh) {
  TPoints pts{{1, 1}, {2, 2}, {3, 3}};
  TranslatePoints(pts.data(), 1, 10, -10);
  EXPECT_EQ(pts, (TPoints{{11, -9}, {12, -8}, {3, 3}}));
  TranslatePoints(pts.data(), -1, 5, 5);
  EXPECT_EQ(pts[0], TPoint(11, -9));

  TPoints turn{{10, 0}, {0, 10}, {15, 5}};
  TurnPoints(turn, {0, 0}, Pi / 2);  // clockwise on screen
  EXPECT_EQ(turn, (TPoints{{0, 10}, {-10, 0}, {-5, 15}}));
  TPoints around{{12, 5}};
  TurnPoints(around, {10, 5}, 5 * Pi / 2);
  EXPECT_EQ(around[0], TPoint(10, 7));
  TurnPoints(around, {10, 5}, -Pi);
  EXPECT_EQ(around[0], TPoint(10, 3));
}

TEST(Geometry, StretchPointsScalesDistancesFromTheOrigin) {
  TPoints pts{{10, 0}, {0, 10}, {-10, 0}, {3, 4}, {0, -6}, {5, 5}};
  StretchPoints(pts, {0, 0}, 2);
  EXPECT_EQ(pts, (TPoints{{20, 0}, {0, 20}, {-20, 0}, {6, 8}, {0, -12}, {10, 10}}));
  TPoints half{{110, 100}, {100, 100}};
  StretchPoints(half, {100, 100}, 0.5);
  EXPECT_EQ(half, (TPoints{{105, 100}, {100, 100}}));
}

TEST(Geometry, ExpandPointsLeavesTheReferenceRowAndColumn) {
  TPoints pts{{0, 0}, {10, 10}, {5, 0}, {0, 5}, {5, 5}};
  ExpandPoints(pts, 2, 3, {5, 5});
  EXPECT_EQ(pts, (TPoints{{-2, -3}, {12, 13}, {5, -3}, {-2, 5}, {5, 5}}));
  ExpandPoints(pts, -2, -3, {5, 5});
  EXPECT_EQ(pts, (TPoints{{0, 0}, {10, 10}, {5, 0}, {0, 5}, {5, 5}}));
}

TEST(Geometry, AveragePointTruncatesAndSurvivesLargeSums) {
  EXPECT_EQ(AveragePoint(TPoints{{-1, -1}, {0, 0}}), TPoint(0, 0));
  EXPECT_EQ(AveragePoint(TPoints{{0, 0}, {10, 0}, {2, 9}}), TPoint(4, 3));
  EXPECT_EQ(AveragePoint({Big, Big}, {Big, -Big}), TPoint(Big, 0));
  EXPECT_EQ(AveragePoint(TPoints{}), TPoint(0, 0));
  TPoints pts{{2, 2}, {4, 4}, {100, 100}};
  EXPECT_EQ(AveragePoint(pts.data(), 1), TPoint(3, 3));
}

TEST(Geometry, PointListBoundsAndClosestPoint) {
  EXPECT_EQ(PointListBounds(TPoints{}), TRect(2147483647, 2147483647, -2147483647, -2147483647));
  EXPECT_EQ(PointListBounds(TPoints{{3, -4}, {-1, 7}, {2, 2}}), TRect(-1, -4, 3, 7));

  TPoints pts{{10, 0}, {0, 10}, {-10, 0}, {1, 1}};
  TPoint nearest(99, 99);
  EXPECT_EQ(ClosestPointIndex(pts.data(), 2, {0, 0}, nearest), 0);  // ties: lower index
  EXPECT_EQ(nearest, TPoint(10, 0));
  EXPECT_EQ(ClosestPointIndex(pts, {0, 0}, nearest), 3);
  EXPECT_EQ(nearest, TPoint(1, 1));
  nearest = {99, 99};
  EXPECT_EQ(ClosestPointIndex(TPoints{}, {0, 0}, nearest), -1);
  EXPECT_EQ(nearest, TPoint(99, 99));
}

TEST(Geometry, CrossLines) {
  TPoint pt;
  EXPECT_FALSE(CrossLines({0, 0}, Pi / 2, {5, 0}, -Pi / 2, pt));
  EXPECT_FALSE(CrossLines({0, 0}, 0.3, {5, 9}, 0.3, pt));
  ASSERT_TRUE(CrossLines({5, 0}, Pi / 2, {0, 7}, 0, pt));
  EXPECT_EQ(pt, TPoint(5, 7));
  ASSERT_TRUE(CrossLines({0, 7}, 0, {5, 0}, -Pi / 2, pt));
  EXPECT_EQ(pt, TPoint(5, 7));
  ASSERT_TRUE(CrossLines({0, 0}, Pi / 4, {0, 10}, -Pi / 4, pt));
  EXPECT_EQ(pt, TPoint(5, 5));
  ASSERT_TRUE(CrossLines({0, 0}, Pi / 4, {20, 0}, Pi / 2, pt));
  EXPECT_EQ(pt, TPoint(20, 20));
}

TEST(Geometry, CrossLineRectAndPolygon) {
  TRect r(0, 0, 10, 10);
  EXPECT_EQ(CrossLineRect({3, 5}, 0, r), (TPoints{{10, 5}, {0, 5}}));
  EXPECT_EQ(CrossLineRect({3, 50}, Pi / 2, r), (TPoints{{3, 0}, {3, 10}}));
  EXPECT_TRUE(CrossLineRect({3, 50}, 0, r).empty());
  // Through two corners: each corner is found by both of its edges.
  EXPECT_EQ(CrossLineRect({0, 0}, Pi / 4, r), (TPoints{{0, 0}, {10, 10}, {10, 10}, {0, 0}}));

  TPoints triangle{{0, 0}, {20, 0}, {10, 20}};
  EXPECT_EQ(CrossLinePolygon({0, 10}, 0, triangle), (TPoints{{15, 10}, {5, 10}}));
  // The open polyline lacks the closing edge back to the first vertex.
  EXPECT_EQ(CrossLinePolyline({0, 10}, 0, triangle), (TPoints{{15, 10}}));
  EXPECT_TRUE(CrossLinePolygon({0, 10}, 0, TPoints{}).empty());
  EXPECT_TRUE(CrossLinePolyline({0, 10}, 0, TPoints{{0, 0}}).empty());
}

TEST(Geometry, CrossLineEllipse) {
  TRect circle(0, 0, 10, 10);
  EXPECT_EQ(CrossLineEllipse({3, 0}, 0, circle), (TPoints{{5, 0}}));        // tangent at the top
  EXPECT_EQ(CrossLineEllipse({0, 40}, Pi / 2, circle), (TPoints{{0, 5}}));  // tangent at the left
  EXPECT_EQ(CrossLineEllipse({0, 10}, 0, TRect(0, 0, 20, 10)), (TPoints{{10, 10}}));
  EXPECT_EQ(CrossLineEllipse({-7, 5}, 0, circle), (TPoints{{0, 5}, {10, 5}}));
  EXPECT_EQ(CrossLineEllipse({5, 99}, Pi / 2, circle), (TPoints{{5, 0}, {5, 10}}));  // upper first
  // y = x meets the circle at 5 -+ 5/sqrt(2).
  EXPECT_EQ(CrossLineEllipse({0, 0}, Pi / 4, circle), (TPoints{{1, 1}, {9, 9}}));
  EXPECT_TRUE(CrossLineEllipse({0, -1}, 0, circle).empty());
  EXPECT_TRUE(CrossLineEllipse({11, 0}, Pi / 2, circle).empty());
  EXPECT_TRUE(CrossLineEllipse({5, 5}, 0, TRect(0, 0, 10, 0)).empty());
  EXPECT_TRUE(CrossLineEllipse({5, 5}, Pi / 2, TRect(10, 0, 0, 10)).empty());
}

TEST(Geometry, CrossLineRoundRectFollowsTheCornerArcs) {
  TRect r(0, 0, 100, 50);
  // y = 5 lies in the top corner zones: (x - 90)^2 = 100 - 25 on the right
  // corner ellipse, (x - 10)^2 = 75 on the left one.
  EXPECT_EQ(CrossLineRoundRect({50, 5}, 0, r, 20, 20), (TPoints{{99, 5}, {1, 5}}));
  // The same in the bottom zones: y = 45 against the ellipses centred at y = 40.
  EXPECT_EQ(CrossLineRoundRect({50, 45}, 0, r, 20, 20), (TPoints{{99, 45}, {1, 45}}));
  // Outside the corner zones the straight edges answer.
  EXPECT_EQ(CrossLineRoundRect({50, 25}, 0, r, 20, 20), (TPoints{{100, 25}, {0, 25}}));
  // On the top edge the line only touches the corner ellipses: kept as is.
  EXPECT_EQ(CrossLineRoundRect({50, 0}, 0, r, 20, 20), (TPoints{{100, 0}, {0, 0}}));
  // A vertical line at x = 2 in the left zones: the top crossing moves down
  // onto the arc, (2 - 10)^2 / 100 + (y - 10)^2 / 100 = 1 gives y = 4.
  TPoints vertical = CrossLineRoundRect({2, 25}, Pi / 2, r, 20, 20);
  ASSERT_EQ(vertical.size(), 2u);
  EXPECT_EQ(vertical[0], TPoint(2, 4));
  // ...and the bottom one up onto the outer side of the bottom-left arc.
  EXPECT_EQ(vertical[1], TPoint(2, 46));
  EXPECT_TRUE(CrossLineRoundRect({50, 60}, 0, r, 20, 20).empty());
  // A node narrower than its corners: the vertical line through its middle
  // takes the outer arc crossings (y = 5 and 195 on the 50 x 50 ellipses),
  // never the inner ones (45 and 155).
  TPoints narrow = CrossLineRoundRect({10, -100}, Pi / 2, TRect(0, 0, 20, 200), 50, 50);
  ASSERT_EQ(narrow.size(), 2u);
  EXPECT_EQ(narrow[0], TPoint(10, 5));
  EXPECT_EQ(narrow[1], TPoint(10, 195));
}
