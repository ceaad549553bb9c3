// A line filled from the stroke cache must cover exactly the pixels Qt's
// own stroke covers, wherever it lies and however it is clipped.
#include <gtest/gtest.h>

#include <random>

#include "Canvas.h"
#include "StrokeCache.h"

namespace {

constexpr QSize kImage{160, 120};

// Paints Line with a pen of Width (logical units at the given zoom) into
// a fresh image, clipped to Clip, through Cache when one is given.
QImage Paint(const TPoints& Line, int Width, int Zoom, const QRect& Clip, TStrokeCache* Cache) {
  QImage image(kImage, QImage::Format_RGB32);
  image.fill(Qt::white);
  TCanvas canvas(&image);
  canvas.SetWindowExt({100, 100});
  canvas.SetViewportExt({Zoom, Zoom});
  canvas.SetDeviceClipRect(Clip);
  canvas.Pen().SetWidth(Width);
  canvas.Pen().SetColor(clMaroon);
  canvas.Polyline(Line, Cache);
  return image;
}

int DifferentPixels(const QImage& A, const QImage& B) {
  int count = 0;
  for (int y = 0; y < A.height(); ++y)
    for (int x = 0; x < A.width(); ++x) count += A.pixel(x, y) != B.pixel(x, y);
  return count;
}

TEST(StrokeCache, FillsExactlyWhatTheStrokeCovers) {
  std::mt19937 random(11);
  auto between = [&](int Low, int High) { return std::uniform_int_distribution<int>(Low, High)(random); };
  int filled = 0;
  for (int round = 0; round < 300; ++round) {
    TPoints line(size_t(between(2, 5)));
    // Most walls run straight; some turn at any angle.
    const bool straight = round % 3 != 0;
    line[0] = {between(-40, 200), between(-40, 160)};
    for (size_t i = 1; i < line.size(); ++i) {
      TPoint p{between(-40, 200), between(-40, 160)};
      if (straight) (i % 2 ? p.Y : p.X) = i % 2 ? line[i - 1].Y : line[i - 1].X;
      line[i] = p;
    }
    const int width = between(2, 24);
    const int zoom = between(50, 150);
    const QRect clip(between(0, 80), between(0, 60), between(40, 160), between(30, 120));
    const QImage expected = Paint(line, width, zoom, clip, nullptr);

    TStrokeCache cache;
    // The first drawing strokes and remembers; the second fills. The third
    // is moved by whole pixels, which the same rectangles serve.
    ASSERT_EQ(DifferentPixels(Paint(line, width, zoom, clip, &cache), expected), 0) << "round " << round;
    ASSERT_EQ(DifferentPixels(Paint(line, width, zoom, clip, &cache), expected), 0) << "round " << round;
    TPoints moved = line;
    for (TPoint& p : moved) p = {p.X + 100, p.Y - 100};
    const QImage movedExpected = Paint(moved, width, 100, clip.translated(3, 1), nullptr);
    TStrokeCache movedCache;
    Paint(moved, width, 100, QRect(QPoint(0, 0), kImage), &movedCache);
    ASSERT_EQ(DifferentPixels(Paint(moved, width, 100, clip.translated(3, 1), &movedCache), movedExpected), 0)
        << "round " << round;
    QImage blank(kImage, QImage::Format_RGB32);
    blank.fill(Qt::white);
    filled += DifferentPixels(expected, blank) > 0;
  }
  // Most lines cross their clip; those are the cases that count.
  EXPECT_GT(filled, 150);
}

TEST(StrokeCache, LeavesToTheStrokeWhatItCannotFill) {
  QImage image(kImage, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  const QPoint line[] = {{10, 10}, {90, 60}};
  const QRect all(QPoint(0, 0), kImage);
  TStrokeCache cache;
  // A thin pen, a dashed pen, antialiasing and raster operations are Qt's.
  painter.setPen(QPen(Qt::black, 1));
  EXPECT_FALSE(cache.Draw(painter, line, 2, all));
  EXPECT_FALSE(cache.Draw(painter, line, 2, all));
  painter.setPen(QPen(Qt::black, 6, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin));
  EXPECT_FALSE(cache.Draw(painter, line, 2, all));
  EXPECT_FALSE(cache.Draw(painter, line, 2, all));
  painter.setPen(QPen(Qt::black, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  EXPECT_FALSE(cache.Draw(painter, line, 2, all));
  EXPECT_FALSE(cache.Draw(painter, line, 2, all));
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  // The first drawing of a shape is the caller's; a changed shape starts over.
  EXPECT_FALSE(cache.Draw(painter, line, 2, all));
  EXPECT_TRUE(cache.Draw(painter, line, 2, all));
  const QPoint longer[] = {{10, 10}, {91, 60}};
  EXPECT_FALSE(cache.Draw(painter, longer, 2, all));
  EXPECT_TRUE(cache.Draw(painter, longer, 2, all));
  painter.setPen(QPen(Qt::black, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  EXPECT_FALSE(cache.Draw(painter, longer, 2, all));
}

}  // namespace
