// Icons of the palette's tools, the shapes, the line widths, the room labels
// and the plan symbols.
#include <QtMath>

#include "IconDrawings.h"
#include "IconList.h"
#include "IntMath.h"
#include "PlanSymbols.h"

using namespace icon_colors;

namespace {

// The silhouette of an open hand; OutlineShape draws its edge and the gaps
// between the fingers.
void HandShape(QPainter& painter) {
  const QColor shape(Qt::black);
  painter.fillRect(4, 3, 2, 8, shape);   // index
  painter.fillRect(7, 1, 2, 10, shape);  // middle
  painter.fillRect(10, 2, 2, 9, shape);  // ring
  painter.fillRect(13, 5, 2, 6, shape);  // little
  painter.fillRect(4, 9, 11, 5, shape);  // palm
  painter.fillRect(5, 14, 9, 1, shape);
  painter.fillRect(1, 7, 2, 2, shape);  // thumb, slanting in
  painter.fillRect(2, 9, 2, 2, shape);
  painter.fillRect(3, 11, 2, 2, shape);
}

QPolygonF RegularPolygon(int corners, double radius, double cx, double cy) {
  QPolygonF polygon;
  for (int k = 0; k < corners; ++k) {
    const double angle = qDegreesToRadians(-90 + k * 360.0 / corners);
    polygon << QPointF(cx + radius * qCos(angle), cy + radius * qSin(angle));
  }
  return polygon;
}

// A line of three points with a handle on each.
void PointLine(TIconPainter& p) {
  p.SmoothLine(1, 13, 6, 5, kInk, 1.2);
  p.SmoothLine(6, 5, 13, 13, kInk, 1.2);
  for (QPoint at : {QPoint(1, 13), QPoint(6, 5), QPoint(13, 13)}) p.Box(at.x() - 1, at.y() - 1, 3, 3, kInk, kPaper);
}

void WidthLine(TIconPainter& p, int width) { p.Fill(1, 8 - Div(width, 2), 14, width, kInk); }

// The symbol's box fitted into the icon on whole pixels (so its outline is
// crisp) keeping its proportions. Long thin ones (sliding doors, windows)
// keep a few pixels of depth so their lines stay apart, and share one scale
// along the wall so that the small and the large one still differ.
QRect FittedSymbol(QSize natural) {
  constexpr double kRoom = IconListSize - 1;
  constexpr int kMinDepth = 5;
  constexpr double kWidestThin = 120;  // the large sliding door
  double scale = qMin(kRoom / natural.width(), kRoom / natural.height());
  if (natural.height() * scale < kMinDepth) scale = kRoom / kWidestThin;
  const int w = qMax(qFloor(natural.width() * scale), kMinDepth);
  const int h = qMax(qFloor(natural.height() * scale), kMinDepth);
  return QRect(qFloor((IconListSize - w) / 2.0), qFloor((IconListSize - h) / 2.0), w, h);
}

}  // namespace

void DrawHandIcon(TIconPainter& p) {
  QImage hand = BlankIcon(IconListSize);
  {
    QPainter painter(&hand);
    HandShape(painter);
  }
  OutlineShape(hand, kPaper, kInk);
  p.Painter().drawImage(0, 0, hand);
}

void DrawArrowIcon(TIconPainter& p) {
  p.Polygon(QPolygonF({QPointF(4, 1), QPointF(4, 13), QPointF(7, 10), QPointF(9, 15), QPointF(11, 14), QPointF(9, 9),
                       QPointF(13, 9)}),
            kInk, kPaper);
}

void DrawWallIcon(TIconPainter& p) {
  p.SmoothLine(2, 13, 13, 2, kInk, 3);
  p.Box(0, 11, 4, 4, kInk, kPaper);
  p.Box(11, 0, 4, 4, kInk, kPaper);
}

// A measured span: end ticks, a line with arrow heads between them, and
// the figure above it.
void DrawDimensionLineIcon(TIconPainter& p) {
  p.Line(1, 8, 1, 15, kInk);
  p.Line(14, 8, 14, 15, kInk);
  p.Line(3, 12, 12, 12, kBlue);
  p.Arrowhead(2, 12, -1, 0, 4, 2.5, kBlue);
  p.Arrowhead(13, 12, 1, 0, 4, 2.5, kBlue);
  p.Text(QRectF(0, 0, 16, 9), QStringLiteral("3.6"), kInk, 8, true);
}

void DrawRectangleIcon(TIconPainter& p) { p.Box(1, 3, 14, 10, kInk, kLightBlue); }

void DrawRoundRectangleIcon(TIconPainter& p) { p.RoundBox(1, 3, 14, 10, 3.5, kInk, kLightBlue); }

void DrawEllipseIcon(TIconPainter& p) { p.Ellipse(1, 3, 14, 10, kInk, kLightBlue); }

void DrawTriangleIcon(TIconPainter& p) {
  p.Polygon(QPolygonF({QPointF(7.5, 2), QPointF(14, 13), QPointF(1, 13)}), kInk, kLightBlue, true);
}

void DrawRhomboidIcon(TIconPainter& p) {
  p.Polygon(QPolygonF({QPointF(5, 3), QPointF(14, 3), QPointF(10, 12), QPointF(1, 12)}), kInk, kLightBlue, true);
}

void DrawPentagonIcon(TIconPainter& p) { p.Polygon(RegularPolygon(5, 7, 7.5, 8), kInk, kLightBlue, true); }

void DrawHexagonIcon(TIconPainter& p) { p.Polygon(RegularPolygon(6, 7, 7.5, 7.5), kInk, kLightBlue, true); }

void DrawAddPointIcon(TIconPainter& p) {
  PointLine(p);
  p.Fill(10, 2, 5, 1, kGreen);
  p.Fill(12, 0, 1, 5, kGreen);
}

void DrawRemovePointIcon(TIconPainter& p) {
  PointLine(p);
  p.Fill(10, 2, 5, 1, kRed);
}

void DrawReverseLinkIcon(TIconPainter& p) {
  p.Line(1, 4, 11, 4, kInk);
  p.Arrowhead(14, 4, 1, 0, 4, 3, kInk);
  p.Line(4, 11, 14, 11, kBlue);
  p.Arrowhead(1, 11, -1, 0, 4, 3, kBlue);
}

void DrawThinLineIcon(TIconPainter& p) { WidthLine(p, 1); }

void DrawMediumLineIcon(TIconPainter& p) { WidthLine(p, 3); }

void DrawThickLineIcon(TIconPainter& p) { WidthLine(p, 6); }

void DrawLabelIcon(TIconPainter& p, const QString& text) {
  p.Text(QRectF(0, 0, IconListSize, IconListSize), text, kInk, 14);
}

void DrawSymbolIcon(TIconPainter& p, int category, int item) {
  DrawSymbol(p.Painter(), category, item, FittedSymbol(SymbolSize(category, item)));
}
