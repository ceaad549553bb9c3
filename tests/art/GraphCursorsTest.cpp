#include <gtest/gtest.h>

#include <QBitmap>

#include "GraphCursors.h"

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

}  // namespace

TEST(GraphCursors, TableHoldsSevenCursorsWithTheirHotSpots) {
  const struct {
    int Id;
    const char* Name;
    QPoint HotSpot;
  } expected[] = {
      {51, "GE_HANDFLAT", {7, 14}}, {52, "GE_HANDGRAB", {7, 14}}, {53, "GE_HANDPNT", {2, 1}},
      {54, "GE_XHAIR1", {9, 9}},    {55, "GE_XHAIR2", {9, 9}},    {56, "GE_XHAIR3", {7, 7}},
      {57, "GE_XHAIRLINK", {9, 9}},
  };
  for (int k = 0; k < 7; ++k) {
    const TGraphCursorInfo& row = GraphCursorTable()[k];
    EXPECT_EQ(row.Id, expected[k].Id);
    EXPECT_STREQ(row.Name, expected[k].Name);
    EXPECT_EQ(row.HotSpot, expected[k].HotSpot) << row.Name;
    EXPECT_EQ(GraphCursorInfo(row.Id), &row);
  }
  EXPECT_EQ(GraphCursorInfo(50), nullptr);
  EXPECT_EQ(GraphCursorInfo(58), nullptr);
}

TEST(GraphCursors, PicturesAre32SquareInTwoColoursWithTheHotSpotOnThem) {
  for (int id = GraphCursorFirst; id <= GraphCursorLast; ++id) {
    SCOPED_TRACE(id);
    const QImage image = GraphCursorImage(id);
    ASSERT_EQ(image.size(), QSize(32, 32));
    int black = 0, white = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const QRgb p = image.pixel(x, y);
        if (qAlpha(p) == 0) continue;
        ASSERT_EQ(qAlpha(p), 255);
        ASSERT_TRUE((p | 0xFF000000u) == kBlack || (p | 0xFF000000u) == kWhite);
        ((p | 0xFF000000u) == kBlack ? black : white)++;
      }
    }
    EXPECT_GT(black, 20);
    EXPECT_GT(white, 20);
    // The corner far from every drawing stays see-through.
    EXPECT_EQ(qAlpha(image.pixel(31, 31)), 0);
    const QPoint hot = GraphCursorInfo(id)->HotSpot;
    EXPECT_NE(qAlpha(image.pixel(hot)), 0) << "hot spot on a see-through pixel";
  }
}

TEST(GraphCursors, CrosshairsCentreOnTheirHotSpot) {
  for (int id : {GE_XHAIR1, GE_XHAIR2, GE_XHAIR3, GE_XHAIRLINK}) {
    const QImage image = GraphCursorImage(id);
    const QPoint hot = GraphCursorInfo(id)->HotSpot;
    EXPECT_EQ(image.pixel(hot) | 0xFF000000u, kBlack) << id;
    // The arms run left and up from the hot spot to the picture's edge.
    EXPECT_EQ(image.pixel(1, hot.y()) | 0xFF000000u, kBlack) << id;
    EXPECT_EQ(image.pixel(hot.x(), 1) | 0xFF000000u, kBlack) << id;
  }
}

TEST(GraphCursors, HandsHaveWhiteInsidesAtTheHotSpot) {
  for (int id : {GE_HANDFLAT, GE_HANDGRAB, GE_HANDPNT}) {
    const QImage image = GraphCursorImage(id);
    EXPECT_EQ(image.pixel(GraphCursorInfo(id)->HotSpot) | 0xFF000000u, kWhite) << id;
  }
}

namespace {

// Colour at x, y: 't' transparent (also outside), 'b' black, 'w' white.
char At(const QImage& image, int x, int y) {
  if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return 't';
  const QRgb p = image.pixel(x, y);
  if (qAlpha(p) == 0) return 't';
  return (p | 0xFF000000u) == kBlack ? 'b' : 'w';
}

bool TouchesTransparent(const QImage& image, int x, int y) {
  return At(image, x - 1, y) == 't' || At(image, x + 1, y) == 't' || At(image, x, y - 1) == 't' ||
         At(image, x, y + 1) == 't';
}

}  // namespace

TEST(GraphCursors, ReadableOnAnyBackground) {
  // Hands are white inside a closed black edge (they show on white paper);
  // crosshairs are black inside a white halo (they show on black walls).
  for (int id = GraphCursorFirst; id <= GraphCursorLast; ++id) {
    const bool hand = id <= GE_HANDPNT;
    const QImage image = GraphCursorImage(id);
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        if (At(image, x, y) != (hand ? 'w' : 'b')) continue;
        ASSERT_FALSE(TouchesTransparent(image, x, y)) << id << " at " << x << "," << y;
      }
    }
  }
}

TEST(GraphCursors, CursorsCarryBitmapMaskAndHotSpot) {
  for (int id = GraphCursorFirst; id <= GraphCursorLast; ++id) {
    SCOPED_TRACE(id);
    const QCursor cursor = GraphCursor(id);
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), GraphCursorInfo(id)->HotSpot);
    const QImage bitmap = cursor.bitmap().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage mask = cursor.mask().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(bitmap.size(), QSize(32, 32));
    ASSERT_EQ(mask.size(), QSize(32, 32));
    // Bit set in the bitmap (drawn as color1, black) means black where the
    // mask is set, white where the bitmap is clear; no bit outside the mask.
    const QImage picture = GraphCursorImage(id);
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const bool opaque = qAlpha(picture.pixel(x, y)) != 0;
        const bool isBlack = opaque && (picture.pixel(x, y) | 0xFF000000u) == kBlack;
        ASSERT_EQ(qGray(mask.pixel(x, y)) < 128, opaque) << x << "," << y;
        ASSERT_EQ(qGray(bitmap.pixel(x, y)) < 128, isBlack) << x << "," << y;
      }
    }
  }
}

TEST(GraphCursors, UnknownIdsFallBackToTheArrow) {
  EXPECT_TRUE(GraphCursorImage(0).isNull());
  EXPECT_TRUE(GraphCursorImage(58).isNull());
  EXPECT_EQ(GraphCursor(50).shape(), Qt::ArrowCursor);
}

TEST(GraphCursors, CursorsDiffer) {
  for (int a = GraphCursorFirst; a <= GraphCursorLast; ++a) {
    for (int b = a + 1; b <= GraphCursorLast; ++b) EXPECT_NE(GraphCursorImage(a), GraphCursorImage(b)) << a << b;
  }
}

namespace {

bool IsHand(int id) { return id == GE_HANDFLAT || id == GE_HANDGRAB || id == GE_HANDPNT; }

// Colour of a device pixel: 'b', 'w' or '.' for transparent (or outside).
char Device(const QImage& image, int x, int y) {
  if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return '.';
  const QRgb p = image.pixel(x, y);
  if (qAlpha(p) == 0) return '.';
  return (p | 0xFF000000u) == kBlack ? 'b' : 'w';
}

bool NextTo(const QImage& image, int x, int y, char colour, bool diagonals) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if ((dx || dy) && (diagonals || !(dx && dy)) && Device(image, x + dx, y + dy) == colour) return true;
    }
  }
  return false;
}

}  // namespace

// At ratio 2 the same drawing lands on 64 × 64 device pixels: each pixel of
// the body (a hand's white, a cross's black strokes) becomes a 2 × 2 block,
// while the contrasting edge stays one device pixel wide instead of doubling.
TEST(GraphCursors, RatioTwoDrawsTheSameShapesWithDevicePixelEdges) {
  for (int id = GraphCursorFirst; id <= GraphCursorLast; ++id) {
    SCOPED_TRACE(id);
    const QImage one = GraphCursorImage(id, 1.0);
    const QImage two = GraphCursorImage(id, 2.0);
    ASSERT_EQ(two.size(), QSize(64, 64));
    EXPECT_EQ(two.devicePixelRatio(), 2.0);
    const char body = IsHand(id) ? 'w' : 'b';
    const char edge = IsHand(id) ? 'b' : 'w';
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const bool inBody = Device(one, x, y) == body;
        const bool blockIsBody = Device(two, 2 * x, 2 * y) == body && Device(two, 2 * x + 1, 2 * y) == body &&
                                 Device(two, 2 * x, 2 * y + 1) == body && Device(two, 2 * x + 1, 2 * y + 1) == body;
        ASSERT_EQ(inBody, blockIsBody) << x << "," << y;
      }
    }
    int edges = 0;
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) {
        if (Device(two, x, y) != edge) continue;
        ++edges;
        ASSERT_TRUE(NextTo(two, x, y, body, !IsHand(id))) << "edge pixel away from the body at " << x << "," << y;
      }
    }
    EXPECT_GT(edges, 0);
  }
}

TEST(GraphCursors, RatioTwoCursorIsAPictureWithTheLogicalHotSpot) {
  for (int id = GraphCursorFirst; id <= GraphCursorLast; ++id) {
    SCOPED_TRACE(id);
    const QCursor cursor = GraphCursor(id, 2.0);
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), GraphCursorInfo(id)->HotSpot);
    const QPixmap pixmap = cursor.pixmap();
    EXPECT_EQ(pixmap.size(), QSize(64, 64));
    EXPECT_EQ(pixmap.devicePixelRatio(), 2.0);
    EXPECT_EQ(pixmap.toImage().convertToFormat(QImage::Format_ARGB32), GraphCursorImage(id, 2.0));
  }
  // A fractional ratio rounds the device size; ratio 1 keeps the two-colour bitmap.
  EXPECT_EQ(GraphCursorImage(GE_HANDFLAT, 1.25).size(), QSize(40, 40));
  EXPECT_FALSE(GraphCursor(GE_HANDFLAT, 1.0).bitmap().isNull());
}
