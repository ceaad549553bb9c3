// Bathroom and kitchen fittings, the potted plant and the north arrow; the
// wall side of a fitting is the top of its picture.
#include <QtMath>

#include "SymbolDrawings.h"

namespace {

// A basin bowl in a counter, its tap at the wall.
void Basin(TSymbolInk& ink, double cx, int h) {
  constexpr double kHalf = 10;
  ink.Ellipse(cx - kHalf + 0.5, 7, 2 * kHalf, h - 10);
  ink.Solid(cx - 0.5, 1, 2, 6);
  if (ink.Fine()) ink.Dot(cx, 7 + (h - 10) / 2.0, 1);
}

// A leaf from near the stem out to its tip at the given angle.
QPainterPath Leaf(QPointF centre, double deg, double from, double to, double width) {
  const double rad = qDegreesToRadians(deg);
  const QPointF dir(qCos(rad), -qSin(rad));
  const QPointF side(-dir.y(), dir.x());
  const QPointF base = centre + dir * from;
  const QPointF tip = centre + dir * to;
  const QPointF mid = centre + dir * ((from + to) / 2);
  QPainterPath path(base);
  path.quadTo(mid + side * width, tip);
  path.quadTo(mid - side * width, base);
  return path;
}

}  // namespace

// Cistern against the wall, the bowl and its seat in front.
void DrawToilet(TSymbolInk& ink, int w, int h) {
  constexpr int kTank = 9;
  ink.Ellipse(2, kTank - 3, w - 4, h - kTank + 3);
  if (ink.Fine()) ink.Ellipse(5, kTank + 3, w - 10, h - kTank - 7);
  ink.RoundBox(0, 0, w, kTank, 1);
}

// Tub with a rounded basin, the drain at the tap end.
void DrawBathtub(TSymbolInk& ink, int w, int h) {
  ink.Box(0, 0, w, h);
  ink.RoundBox(4, 4, w - 8, h - 8, 12);
  const double cy = (h - 1) / 2.0;
  ink.Circle(10, cy, 2);
  if (ink.Fine()) ink.Solid(1, cy - 1.5, 3, 4);
}

// Two burners side by side, the knobs along the front.
void DrawGasStove(TSymbolInk& ink, int w, int h) {
  ink.RoundBox(0, 0, w, h, 2);
  const double cy = 8;
  for (double cx : {(w - 1) / 4.0, (w - 1) * 3 / 4.0}) {
    ink.Circle(cx, cy, 6);
    if (!ink.Fine()) continue;
    ink.Circle(cx, cy, 3);
    ink.Dot(cx, h - 3, 1.2);
  }
}

// Front loader: control panel at the back edge, the drum's round door.
void DrawWashingMachine(TSymbolInk& ink, int w, int h) {
  constexpr int kPanel = 6;
  ink.RoundBox(0, 0, w, h, 2);
  ink.Line(0, kPanel, w - 1, kPanel);
  const double cx = (w - 1) / 2.0;
  const double cy = kPanel + (h - kPanel) / 2.0;
  ink.Circle(cx, cy, 9);
  if (!ink.Fine()) return;
  ink.Circle(cx, cy, 6);
  ink.Circle(w - 6, kPanel / 2.0 - 0.5, 1.5);
}

// A round pot hidden under eight leaves.
void DrawPottedPlant(TSymbolInk& ink, int w, int h) {
  const QPointF centre = Px((w - 1) / 2.0, (h - 1) / 2.0);
  const double reach = (w - 1) / 2.0;
  ink.Circle(centre.x() - 0.5, centre.y() - 0.5, 7);
  for (int k = 0; k < 8; ++k) {
    const double deg = k * 45;
    const bool shortLeaf = k % 2 == 1;
    ink.Shape(Leaf(centre, deg, 2, shortLeaf ? reach - 3 : reach, shortLeaf ? 3.5 : 4));
  }
  ink.Dot(centre.x() - 0.5, centre.y() - 0.5, 1.5);
}

void DrawShortBasin(TSymbolInk& ink, int w, int h) {
  ink.Box(0, 0, w, h);
  Basin(ink, (w - 1) / 2.0, h);
}

void DrawLongBasin(TSymbolInk& ink, int w, int h) {
  ink.Box(0, 0, w, h);
  Basin(ink, (w - 1) / 4.0, h);
  Basin(ink, (w - 1) * 3 / 4.0, h);
}

// "N" over a circle pierced by the arrow; the arrow's left half is solid.
void DrawNorthArrow(TSymbolInk& ink, int w, int h) {
  constexpr int kLetter = 10;
  constexpr int kGap = 6;
  const double cx = (w - 1) / 2.0;
  const int ringTop = kLetter + kGap;
  ink.Ellipse(0, ringTop, w, h - ringTop);
  const QPointF tip = Px(cx, ringTop - 3);
  const QPointF notch = Px(cx, h - 14);
  const QPointF left = Px(cx - 6, h - 8);
  const QPointF right = Px(cx + 6, h - 8);
  ink.Polygon(QPolygonF({tip, right, notch}));
  ink.SolidPolygon(QPolygonF({tip, notch, left}));
  const double nLeft = cx - 4.5;
  const double nRight = cx + 4.5;
  ink.Polyline({QPointF(nLeft, kLetter - 1), QPointF(nLeft, 0), QPointF(nRight, kLetter - 1), QPointF(nRight, 0)});
}
