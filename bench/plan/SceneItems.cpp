#include "SceneItems.h"

#include <QPen>
#include <cmath>

#include "Geometry.h"

namespace {
TPoint ToTPoint(const QPointF& P) { return {int32_t(std::lround(P.x())), int32_t(std::lround(P.y()))}; }
}  // namespace

double WallDistance(const QPointF& A, const QPointF& B, const QPointF& P) {
  return SegmentDistance(ToTPoint(A), ToTPoint(B), ToTPoint(P));
}

bool HalfOpenContains(const QRectF& R, const QPointF& P) {
  return P.x() >= R.left() && P.x() < R.right() && P.y() >= R.top() && P.y() < R.bottom();
}

TWallItem::TWallItem(const QPainterPath& Path, const QPen& Pen, double Tolerance, const QMarginsF& Margins)
    : QGraphicsPathItem(Path), fTolerance(Tolerance), fMargins(Margins) {
  setPen(Pen);
}

QRectF TWallItem::boundingRect() const { return path().controlPointRect().marginsAdded(fMargins); }

bool TWallItem::contains(const QPointF& Point) const {
  if (!HalfOpenContains(boundingRect(), Point)) return false;
  const QPainterPath& p = path();
  const int count = p.elementCount();
  for (int i = count - 1; i >= 0; --i) {
    const QPointF e = p.elementAt(i);
    if (std::abs(Point.x() - e.x()) <= fTolerance && std::abs(Point.y() - e.y()) <= fTolerance &&
        Point.x() < e.x() + fTolerance && Point.y() < e.y() + fTolerance)
      return true;
  }
  for (int i = 0; i + 1 < count; ++i)
    if (WallDistance(p.elementAt(i), p.elementAt(i + 1), Point) <= fTolerance) return true;
  return false;
}

TPictureItem::TPictureItem(const QPixmap& Pixmap, const QRectF& Box) : QGraphicsPixmapItem(Pixmap), fBox(Box) {
  setShapeMode(QGraphicsPixmapItem::BoundingRectShape);
}

QRectF TPictureItem::boundingRect() const { return QGraphicsPixmapItem::boundingRect().united(fBox); }

bool TPictureItem::contains(const QPointF& Point) const { return HalfOpenContains(fBox, Point); }

TLabelItem::TLabelItem(const QString& Text, const QFont& Font, const QRectF& Box)
    : QGraphicsSimpleTextItem(Text), fBox(Box) {
  setFont(Font);
}

QRectF TLabelItem::boundingRect() const { return QGraphicsSimpleTextItem::boundingRect().united(fBox); }

bool TLabelItem::contains(const QPointF& Point) const { return HalfOpenContains(fBox, Point); }
