// The Qt scene's items, built as a competent Qt developer would for a plan:
// hit tests answer the way the control's objects do (walls by distance to
// their polyline within the marker radius, boxes by their rectangle), not
// by shape(), which strokes the path on every call.
#pragma once

#include <QGraphicsPathItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsSimpleTextItem>

// A wall: hit within Tolerance of its polyline or in the square of that
// size around one of its points, inside its area (the path's bounds
// widened by Margins, as the wall's drawing reaches beyond its points).
class TWallItem : public QGraphicsPathItem {
 public:
  TWallItem(const QPainterPath& Path, const QPen& Pen, double Tolerance, const QMarginsF& Margins);
  QRectF boundingRect() const override;
  bool contains(const QPointF& Point) const override;

 private:
  double fTolerance;
  QMarginsF fMargins;
};

// A picture hit in its node's box (item coordinates), not by its mask.
class TPictureItem : public QGraphicsPixmapItem {
 public:
  TPictureItem(const QPixmap& Pixmap, const QRectF& Box);
  QRectF boundingRect() const override;
  bool contains(const QPointF& Point) const override;

 private:
  QRectF fBox;
};

// A room label hit in its 100 x 40 box (item coordinates), not only on
// its glyphs' bounds.
class TLabelItem : public QGraphicsSimpleTextItem {
 public:
  TLabelItem(const QString& Text, const QFont& Font, const QRectF& Box);
  QRectF boundingRect() const override;
  bool contains(const QPointF& Point) const override;

 private:
  QRectF fBox;
};

// Distance from P to the segment A-B on the plan's integer grid, measured
// as the control measures it (to the nearest grid point of the segment), so
// that both sides agree on the edge of a wall's reach and do the same
// arithmetic per segment.
double WallDistance(const QPointF& A, const QPointF& B, const QPointF& P);
// Whether P lies in R taken as half-open, as the control's rectangles are.
bool HalfOpenContains(const QRectF& R, const QPointF& P);
