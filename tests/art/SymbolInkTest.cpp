#include <gtest/gtest.h>

#include <QLineF>

#include "SymbolInk.h"

TEST(SymbolInk, OffsetPolylineKeepsSidesParallelAndEndsOnTheWall) {
  // A bay's outline running clockwise on screen: up, across, down.
  const QPolygonF outline({QPointF(0, 10), QPointF(5, 0), QPointF(15, 0), QPointF(20, 10)});
  const QPolygonF inner = OffsetPolyline(outline, -2, 10, 10);
  ASSERT_EQ(inner.size(), 4);
  EXPECT_DOUBLE_EQ(inner[0].y(), 10);
  EXPECT_DOUBLE_EQ(inner[3].y(), 10);
  EXPECT_NEAR(inner[1].y(), 2, 1e-9);  // the top moved down (inwards) by 2
  EXPECT_NEAR(inner[2].y(), 2, 1e-9);
  // Symmetric outline, symmetric offset; the inner one is narrower.
  EXPECT_NEAR(inner[0].x() + inner[3].x(), 20, 1e-9);
  EXPECT_NEAR(inner[1].x() + inner[2].x(), 20, 1e-9);
  EXPECT_GT(inner[0].x(), 0);
  EXPECT_GT(inner[2].x() - inner[1].x(), 0);
  EXPECT_LT(inner[2].x() - inner[1].x(), 10);
  // The slanted side stays parallel: same direction as the original's.
  const QLineF side(outline[0], outline[1]);
  const QLineF moved(inner[0], inner[1]);
  EXPECT_NEAR(side.angleTo(moved), 0, 1e-6);
}

TEST(SymbolInk, OffsetPolylineOfOnePointIsEmpty) {
  EXPECT_TRUE(OffsetPolyline(QPolygonF({QPointF(1, 1)}), 2, 0, 0).isEmpty());
}
