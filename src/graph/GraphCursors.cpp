#include "GraphCursors.h"

#include <QBitmap>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>
#include <cmath>

namespace {

constexpr std::array<TGraphCursorInfo, 7> kCursors = {{
    {GE_HANDFLAT, "GE_HANDFLAT", QPoint(7, 14)},
    {GE_HANDGRAB, "GE_HANDGRAB", QPoint(7, 14)},
    {GE_HANDPNT, "GE_HANDPNT", QPoint(2, 1)},
    {GE_XHAIR1, "GE_XHAIR1", QPoint(9, 9)},
    {GE_XHAIR2, "GE_XHAIR2", QPoint(9, 9)},
    {GE_XHAIR3, "GE_XHAIR3", QPoint(7, 7)},
    {GE_XHAIRLINK, "GE_XHAIRLINK", QPoint(9, 9)},
}};

// A 32 × 32 drawing surface in logical pixels, backed by as many device
// pixels as the ratio asks; anything painted (any colour) counts as set.
QImage Blank(double PixelRatio) {
  const int side = int(std::lround(GraphCursorSize * PixelRatio));
  QImage image(side, side, QImage::Format_ARGB32);
  image.setDevicePixelRatio(PixelRatio);
  image.fill(Qt::transparent);
  return image;
}

QImage BlankLike(const QImage& image) { return Blank(image.devicePixelRatio()); }

bool IsSet(const QImage& image, int x, int y) {
  return x >= 0 && y >= 0 && x < image.width() && y < image.height() && qAlpha(image.pixel(x, y)) != 0;
}

bool TouchesSet(const QImage& image, int x, int y, bool diagonals) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if ((dx || dy) && (diagonals || !(dx && dy)) && IsSet(image, x + dx, y + dy)) return true;
    }
  }
  return false;
}

// A shape in white with a black edge one device pixel wide around it; one-pixel gaps inside the
// shape become edge, which keeps a hand's fingers apart.
QImage Outlined(const QImage& shape) {
  QImage out = BlankLike(shape);
  for (int y = 0; y < out.height(); ++y) {
    for (int x = 0; x < out.width(); ++x) {
      if (IsSet(shape, x, y))
        out.setPixel(x, y, qRgb(255, 255, 255));
      else if (TouchesSet(shape, x, y, false))
        out.setPixel(x, y, qRgb(0, 0, 0));
    }
  }
  return out;
}

// Black strokes with a white halo, readable on any background.
QImage Haloed(const QImage& strokes) {
  QImage out = BlankLike(strokes);
  for (int y = 0; y < out.height(); ++y) {
    for (int x = 0; x < out.width(); ++x) {
      if (IsSet(strokes, x, y))
        out.setPixel(x, y, qRgb(0, 0, 0));
      else if (TouchesSet(strokes, x, y, true))
        out.setPixel(x, y, qRgb(255, 255, 255));
    }
  }
  return out;
}

void Fill(QPainter& p, int x, int y, int w, int h) { p.fillRect(x, y, w, h, Qt::black); }

// A one-pixel square outline over w × h pixels, made of fills so that it
// scales with the ratio like every other stroke.
void Frame(QPainter& p, int x, int y, int w, int h) {
  Fill(p, x, y, w, 1);
  Fill(p, x, y + h - 1, w, 1);
  Fill(p, x, y, 1, h);
  Fill(p, x + w - 1, y, 1, h);
}

// Fingers of the hands: columns, two pixels wide, one pixel apart.
constexpr int kIndex = 4, kMiddle = 7, kRing = 10, kLittle = 13;

void Palm(QPainter& p) {
  Fill(p, 4, 9, 11, 9);
  Fill(p, 5, 18, 9, 2);
  Fill(p, 6, 20, 7, 2);  // wrist
}

void Thumb(QPainter& p, int top) {
  Fill(p, 1, top, 2, 2);
  Fill(p, 2, top + 2, 2, 2);
  Fill(p, 3, top + 4, 2, 2);
}

QImage OpenHand(double PixelRatio) {
  QImage shape = Blank(PixelRatio);
  QPainter p(&shape);
  Fill(p, kIndex, 3, 2, 8);
  Fill(p, kMiddle, 1, 2, 10);
  Fill(p, kRing, 2, 2, 9);
  Fill(p, kLittle, 5, 2, 6);
  Palm(p);
  Thumb(p, 8);
  p.end();
  return Outlined(shape);
}

// Fingers curled into the palm: only their knuckles show above it.
QImage GrabbingHand(double PixelRatio) {
  QImage shape = Blank(PixelRatio);
  QPainter p(&shape);
  for (int finger : {kIndex, kMiddle, kRing, kLittle}) Fill(p, finger, 7, 2, 3);
  Palm(p);
  Thumb(p, 10);
  p.end();
  return Outlined(shape);
}

// The index finger points straight up, its tip at the hot spot.
QImage PointingHand(double PixelRatio) {
  QImage shape = Blank(PixelRatio);
  QPainter p(&shape);
  Fill(p, 2, 1, 2, 11);
  for (int finger : {5, 8, 11}) Fill(p, finger, 8, 2, 4);
  Fill(p, 2, 10, 11, 8);
  Fill(p, 3, 18, 9, 2);
  Fill(p, 4, 20, 7, 2);
  p.end();
  return Outlined(shape);
}

// A cross through the hot spot with a gap at its centre, so the point under
// it stays visible; arms reach to `reach` pixels either side.
void Cross(QPainter& p, QPoint at, int reach) {
  constexpr int kGap = 2;
  Fill(p, at.x() - reach, at.y(), reach - kGap, 1);
  Fill(p, at.x() + kGap + 1, at.y(), reach - kGap, 1);
  Fill(p, at.x(), at.y() - reach, 1, reach - kGap);
  Fill(p, at.x(), at.y() + kGap + 1, 1, reach - kGap);
  Fill(p, at.x(), at.y(), 1, 1);
}

QImage InsertPointCross(double PixelRatio) {
  QImage strokes = Blank(PixelRatio);
  QPainter p(&strokes);
  Cross(p, QPoint(9, 9), 8);
  Fill(p, 14, 17, 7, 1);  // "+" badge
  Fill(p, 17, 14, 1, 7);
  p.end();
  return Haloed(strokes);
}

QImage MovePointCross(double PixelRatio) {
  QImage strokes = Blank(PixelRatio);
  QPainter p(&strokes);
  Cross(p, QPoint(9, 9), 8);
  // A small point square at the centre and arrow heads on the arms.
  Frame(p, 7, 7, 5, 5);
  for (int k = 1; k <= 2; ++k) {
    Fill(p, 1 + k, 9 - k, 1, 2 * k + 1);
    Fill(p, 17 - k, 9 - k, 1, 2 * k + 1);
    Fill(p, 9 - k, 1 + k, 2 * k + 1, 1);
    Fill(p, 9 - k, 17 - k, 2 * k + 1, 1);
  }
  p.end();
  return Haloed(strokes);
}

QImage RemovePointCross(double PixelRatio) {
  QImage strokes = Blank(PixelRatio);
  QPainter p(&strokes);
  Cross(p, QPoint(7, 7), 6);
  Fill(p, 12, 15, 7, 2);  // "−" badge
  p.end();
  return Haloed(strokes);
}

// A snap marker beside the cross, a square with a solid core: the link's
// end will hook onto the object here.
QImage HookLinkCross(double PixelRatio) {
  QImage strokes = Blank(PixelRatio);
  QPainter p(&strokes);
  Cross(p, QPoint(9, 9), 8);
  Frame(p, 14, 14, 8, 8);
  Fill(p, 16, 16, 4, 4);
  p.end();
  return Haloed(strokes);
}

// Monochrome image with the pixels of the given colour set.
QImage Plane(const QImage& picture, QRgb colour, bool anyOpaque) {
  QImage plane(GraphCursorSize, GraphCursorSize, QImage::Format_MonoLSB);
  plane.setColorTable({QColor(Qt::color0).rgb(), QColor(Qt::color1).rgb()});
  plane.fill(0);
  for (int y = 0; y < GraphCursorSize; ++y) {
    for (int x = 0; x < GraphCursorSize; ++x) {
      const QRgb pixel = picture.pixel(x, y);
      const bool opaque = qAlpha(pixel) != 0;
      if (opaque && (anyOpaque || (pixel | 0xFF000000u) == (colour | 0xFF000000u))) plane.setPixel(x, y, 1);
    }
  }
  return plane;
}

}  // namespace

const TGraphCursorInfo* GraphCursorTable() { return kCursors.data(); }

const TGraphCursorInfo* GraphCursorInfo(int id) {
  if (id < GraphCursorFirst || id > GraphCursorLast) return nullptr;
  return &kCursors[id - GraphCursorFirst];
}

QImage GraphCursorImage(int id, double PixelRatio) {
  if (!(PixelRatio > 0)) PixelRatio = 1.0;
  switch (id) {
    case GE_HANDFLAT: return OpenHand(PixelRatio);
    case GE_HANDGRAB: return GrabbingHand(PixelRatio);
    case GE_HANDPNT: return PointingHand(PixelRatio);
    case GE_XHAIR1: return InsertPointCross(PixelRatio);
    case GE_XHAIR2: return MovePointCross(PixelRatio);
    case GE_XHAIR3: return RemovePointCross(PixelRatio);
    case GE_XHAIRLINK: return HookLinkCross(PixelRatio);
    default: return QImage();
  }
}

QCursor GraphCursor(int id, double PixelRatio) {
  const TGraphCursorInfo* info = GraphCursorInfo(id);
  if (!info) return QCursor(Qt::ArrowCursor);
  // Above ratio 1 the cursor is a picture at device resolution; its hot spot
  // stays in logical pixels, which Qt scales with the picture.
  if (PixelRatio > 1.0) {
    return QCursor(QPixmap::fromImage(GraphCursorImage(id, PixelRatio)), info->HotSpot.x(), info->HotSpot.y());
  }
  const QImage picture = GraphCursorImage(id);
  const QBitmap bitmap = QBitmap::fromImage(Plane(picture, qRgb(0, 0, 0), false));
  const QBitmap mask = QBitmap::fromImage(Plane(picture, 0, true));
  return QCursor(bitmap, mask, info->HotSpot.x(), info->HotSpot.y());
}
