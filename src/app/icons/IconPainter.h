// Helpers for drawing the small icons (not part of the public interface).
// Coordinates are whole pixels of the icon: a box (x, y, w, h) covers the
// pixels x .. x + w - 1, y .. y + h - 1; lines run through pixel centres.
// Straight edges are drawn without smoothing so they stay crisp; curves and
// slants ask for it.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QString>

namespace icon_colors {
inline const QColor kInk(0x2B, 0x2B, 0x2B);
inline const QColor kPaper(0xFF, 0xFF, 0xFF);
inline const QColor kBlue(0x2F, 0x6F, 0xD0);
inline const QColor kDarkBlue(0x1F, 0x3F, 0x80);
inline const QColor kLightBlue(0xB4, 0xD0, 0xF4);
inline const QColor kYellow(0xF2, 0xC2, 0x48);
inline const QColor kDarkYellow(0xB0, 0x80, 0x20);
inline const QColor kRed(0xD2, 0x32, 0x32);
inline const QColor kGreen(0x2E, 0x9D, 0x3A);
inline const QColor kGrey(0x8A, 0x8A, 0x8A);
inline const QColor kLightGrey(0xD4, 0xD4, 0xD4);
inline const QColor kBrown(0xA0, 0x6A, 0x30);
inline const QColor kTan(0xE8, 0xC8, 0x98);
}  // namespace icon_colors

class TIconPainter {
 public:
  explicit TIconPainter(QImage& image);

  QPainter& Painter() { return fPainter; }

  // Outline and fill; an invalid fill colour leaves the inside as it is.
  void Box(int x, int y, int w, int h, const QColor& outline, const QColor& fill = QColor());
  void Fill(int x, int y, int w, int h, const QColor& color);
  void Pixel(int x, int y, const QColor& color);
  void Line(double x1, double y1, double x2, double y2, const QColor& color, double width = 1);
  void SmoothLine(double x1, double y1, double x2, double y2, const QColor& color, double width = 1);
  // Points are pixel positions (drawn through their centres).
  void Polygon(const QPolygonF& points, const QColor& outline, const QColor& fill, bool smooth = false);
  void Ellipse(double x, double y, double w, double h, const QColor& outline, const QColor& fill, double width = 1);
  void RoundBox(double x, double y, double w, double h, double radius, const QColor& outline, const QColor& fill);
  // Angles as Qt counts them; the arc's ends are round.
  void Arc(double cx, double cy, double radius, double startDeg, double spanDeg, const QColor& color, double width);
  // A filled arrow head with its tip at pixel (x, y) pointing along (dx, dy).
  void Arrowhead(double x, double y, double dx, double dy, double length, double halfWidth, const QColor& color);
  void Text(const QRectF& box, const QString& text, const QColor& color, int pixelSize, bool bold = false);

 private:
  void Pen(const QColor& color, double width, bool smooth);

  QPainter fPainter;
};

// A fresh transparent icon of the given size.
QImage BlankIcon(int size);

// Gives a shape painted in any colour on a transparent image a fill and a
// one-pixel outline around it (pixels next to the shape, sideways or up and
// down); gaps of one pixel inside the shape become outline, which is how the
// fingers of a hand stay apart.
void OutlineShape(QImage& image, const QColor& fill, const QColor& outline);
