// Drawing helpers shared by the symbol drawings (not part of the public
// interface). Coordinates are the symbol's own pixels at natural size: a
// point (x, y) is the centre of pixel x, y, and a box (x, y, w, h) inks
// exactly the pixels x .. x + w - 1, y .. y + h - 1, so a drawing covers the
// size it claims and straight lines stay crisp.
#pragma once

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <initializer_list>

class TSymbolInk {
 public:
  // fine: the symbol is drawn large enough for small details.
  TSymbolInk(QPainter& painter, bool fine);

  bool Fine() const { return fFine; }

  // Outlines; the inside is painted white, so later shapes may cover earlier ones.
  void Box(double x, double y, double w, double h);
  void RoundBox(double x, double y, double w, double h, double radius);
  void Ellipse(double x, double y, double w, double h);
  void Circle(double cx, double cy, double radius);
  void Polygon(std::initializer_list<QPointF> points);
  void Polygon(const QPolygonF& points);
  // A closed path in pixel-centre coordinates (build it with Px).
  void Shape(const QPainterPath& path);

  // Solid black.
  void Solid(double x, double y, double w, double h);
  void SolidPolygon(const QPolygonF& points);
  void Dot(double cx, double cy, double radius);
  // A filled arrow head with its tip at pixel (x, y), pointing along (dx, dy).
  void Arrowhead(double x, double y, double dx, double dy, double length, double halfWidth);

  // Bare lines.
  void Line(double x1, double y1, double x2, double y2);
  void DashedLine(double x1, double y1, double x2, double y2);
  void Polyline(std::initializer_list<QPointF> points);
  void Polyline(const QPolygonF& points);
  // Angles in degrees as Qt counts them: from 3 o'clock, positive
  // counter-clockwise on screen. The centre is a pixel centre.
  void Arc(double cx, double cy, double radius, double startDeg, double spanDeg);
  void Stroke(const QPainterPath& path);

 private:
  void Outline(const QBrush& fill);

  QPainter& fPainter;
  bool fFine;
};

// Pixel centre of pixel (x, y).
inline QPointF Px(double x, double y) { return QPointF(x + 0.5, y + 0.5); }

// A polyline moved sideways by distance (positive to the left of its
// direction of travel as seen on screen, so outwards for an outline running
// clockwise), corners kept sharp; its ends are slid along the first and last
// segments onto the lines y = firstY and y = lastY.
QPolygonF OffsetPolyline(const QPolygonF& points, double distance, double firstY, double lastY);
