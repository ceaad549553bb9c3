#include "SymbolInk.h"

#include <QLineF>

namespace {

QPen CosmeticPen(Qt::PenStyle style = Qt::SolidLine) {
  QPen pen(Qt::black, 1, style, Qt::SquareCap, Qt::MiterJoin);
  pen.setCosmetic(true);
  return pen;
}

QRectF CentreRect(double x, double y, double w, double h) { return QRectF(x + 0.5, y + 0.5, w - 1, h - 1); }

QPolygonF Centres(std::initializer_list<QPointF> points) {
  QPolygonF polygon;
  for (const QPointF& p : points) polygon << Px(p.x(), p.y());
  return polygon;
}

QLineF Shifted(const QLineF& line, double distance) {
  QLineF normal = line.normalVector().unitVector();
  QPointF d = (normal.p2() - normal.p1()) * distance;
  return line.translated(d);
}

QPointF MeetHorizontal(const QLineF& line, double y) {
  QPointF hit;
  line.intersects(QLineF(0, y, 1, y), &hit);
  return hit;
}

}  // namespace

TSymbolInk::TSymbolInk(QPainter& painter, bool fine) : fPainter(painter), fFine(fine) {
  fPainter.setRenderHint(QPainter::Antialiasing, true);
  fPainter.setPen(CosmeticPen());
  fPainter.setBrush(Qt::white);
}

void TSymbolInk::Box(double x, double y, double w, double h) {
  Outline(Qt::white);
  fPainter.drawRect(CentreRect(x, y, w, h));
}

void TSymbolInk::RoundBox(double x, double y, double w, double h, double radius) {
  Outline(Qt::white);
  fPainter.drawRoundedRect(CentreRect(x, y, w, h), radius, radius);
}

void TSymbolInk::Ellipse(double x, double y, double w, double h) {
  Outline(Qt::white);
  fPainter.drawEllipse(CentreRect(x, y, w, h));
}

void TSymbolInk::Circle(double cx, double cy, double radius) {
  Outline(Qt::white);
  fPainter.drawEllipse(Px(cx, cy), radius, radius);
}

void TSymbolInk::Polygon(std::initializer_list<QPointF> points) { Polygon(Centres(points)); }

void TSymbolInk::Polygon(const QPolygonF& points) {
  Outline(Qt::white);
  fPainter.drawPolygon(points);
}

void TSymbolInk::Shape(const QPainterPath& path) {
  Outline(Qt::white);
  fPainter.drawPath(path);
}

void TSymbolInk::Solid(double x, double y, double w, double h) { fPainter.fillRect(QRectF(x, y, w, h), Qt::black); }

void TSymbolInk::SolidPolygon(const QPolygonF& points) {
  Outline(Qt::black);
  fPainter.drawPolygon(points);
}

void TSymbolInk::Dot(double cx, double cy, double radius) {
  Outline(Qt::black);
  fPainter.drawEllipse(Px(cx, cy), radius, radius);
}

void TSymbolInk::Arrowhead(double x, double y, double dx, double dy, double length, double halfWidth) {
  QLineF axis(0, 0, dx, dy);
  if (axis.length() == 0) return;
  axis = axis.unitVector();
  const QPointF along = axis.p2() * length;
  const QPointF across(-axis.dy() * halfWidth, axis.dx() * halfWidth);
  const QPointF tip = Px(x, y);
  SolidPolygon(QPolygonF({tip, tip - along + across, tip - along - across}));
}

void TSymbolInk::Line(double x1, double y1, double x2, double y2) {
  fPainter.setPen(CosmeticPen());
  fPainter.drawLine(Px(x1, y1), Px(x2, y2));
}

void TSymbolInk::DashedLine(double x1, double y1, double x2, double y2) {
  QPen pen = CosmeticPen(Qt::CustomDashLine);
  pen.setDashPattern({3, 2});
  pen.setCapStyle(Qt::FlatCap);
  fPainter.setPen(pen);
  fPainter.drawLine(Px(x1, y1), Px(x2, y2));
  fPainter.setPen(CosmeticPen());
}

void TSymbolInk::Polyline(std::initializer_list<QPointF> points) { Polyline(Centres(points)); }

void TSymbolInk::Polyline(const QPolygonF& points) {
  fPainter.setPen(CosmeticPen());
  fPainter.drawPolyline(points);
}

void TSymbolInk::Arc(double cx, double cy, double radius, double startDeg, double spanDeg) {
  QPointF c = Px(cx, cy);
  QRectF bounds(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
  QPainterPath path;
  path.arcMoveTo(bounds, startDeg);
  path.arcTo(bounds, startDeg, spanDeg);
  Stroke(path);
}

void TSymbolInk::Stroke(const QPainterPath& path) {
  fPainter.setPen(CosmeticPen());
  fPainter.strokePath(path, fPainter.pen());
}

void TSymbolInk::Outline(const QBrush& fill) {
  fPainter.setPen(CosmeticPen());
  fPainter.setBrush(fill);
}

QPolygonF OffsetPolyline(const QPolygonF& points, double distance, double firstY, double lastY) {
  QPolygonF result;
  const int count = points.size();
  if (count < 2) return result;
  QLineF previous = Shifted(QLineF(points[0], points[1]), distance);
  result << MeetHorizontal(previous, firstY);
  for (int i = 1; i + 1 < count; ++i) {
    QLineF next = Shifted(QLineF(points[i], points[i + 1]), distance);
    QPointF corner;
    if (previous.intersects(next, &corner) == QLineF::NoIntersection) corner = next.p1();
    result << corner;
    previous = next;
  }
  result << MeetHorizontal(previous, lastY);
  return result;
}
