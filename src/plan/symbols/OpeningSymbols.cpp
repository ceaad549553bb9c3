// Doors, windows and stairs. Openings are drawn as they sit in a wall: the
// picture's white covers the wall line under it, so the opening shows.
#include <QtMath>

#include "IntMath.h"
#include "SymbolDrawings.h"

namespace {

constexpr int kJamb = 2;        // frame at each end of an opening
constexpr int kLeafDepth = 4;   // a sliding leaf, 8 cm
constexpr int kWallDepth = 12;  // 24 cm wall under a bay window
constexpr int kBaySlant = 15;   // sideways run of a bay's slanted side

// Drawn small, a jamb would shrink to a faint sliver: it becomes a line.
void Jambs(TSymbolInk& ink, int w, int h) {
  if (!ink.Fine()) {
    ink.Line(0, 0, 0, h - 1);
    ink.Line(w - 1, 0, w - 1, h - 1);
    return;
  }
  ink.Solid(0, 0, kJamb, h);
  ink.Solid(w - kJamb, 0, kJamb, h);
}

// A sliding leaf on track 0 (outer) or 1; drawn small, a line along its middle.
void SlidingLeaf(TSymbolInk& ink, int x, int track, int w) {
  const int y = 1 + track * kLeafDepth;
  if (ink.Fine())
    ink.Box(x, y, w, kLeafDepth);
  else
    ink.Line(x, y + Div(kLeafDepth, 2), x + w - 1, y + Div(kLeafDepth, 2));
}

// Screen point of a circle's angle, angles as Qt counts them.
QPointF OnCircle(double cx, double cy, double radius, double deg) {
  const double rad = qDegreesToRadians(deg);
  return QPointF(cx + radius * qCos(rad), cy - radius * qSin(rad));
}

}  // namespace

// Leaf standing open at the hinge side, its swing a quarter circle down to
// the opening.
void DrawSwingDoor(TSymbolInk& ink, int w, int h) {
  ink.Solid(0, 0, kJamb, h);
  ink.Arc(0, h - 1, w - 1, 0, 90);
  ink.Line(kJamb, h - 1, w - 1, h - 1);
}

// Two leaves on two tracks, overlapping in the middle.
void DrawSlidingDoorTwo(TSymbolInk& ink, int w, int h) {
  Jambs(ink, w, h);
  const int leaf = Div(w - 2 * kJamb, 2) + 3;
  SlidingLeaf(ink, kJamb, 0, leaf);
  SlidingLeaf(ink, w - kJamb - leaf, 1, leaf);
}

// Four leaves: the outer pair on the outer track, the middle pair meeting
// in the centre on the inner one.
void DrawSlidingDoorFour(TSymbolInk& ink, int w, int h) {
  Jambs(ink, w, h);
  const int quarter = Div(w - 2 * kJamb, 4);
  const int outer = quarter + 3;
  const int centre = Div(w, 2);
  SlidingLeaf(ink, kJamb, 0, outer);
  SlidingLeaf(ink, w - kJamb - outer, 0, outer);
  SlidingLeaf(ink, centre - quarter, 1, quarter);
  SlidingLeaf(ink, centre, 1, quarter);
}

// The wall's two faces with the glass as two lines between them.
void DrawFlatWindow(TSymbolInk& ink, int w, int h) {
  ink.Box(0, 0, w, h);
  const int third = Div(h, 3);
  ink.Line(0, third, w - 1, third);
  ink.Line(0, h - 1 - third, w - 1, h - 1 - third);
}

// A bay standing out from the wall (upwards in the picture): outer frame,
// glass and inner sill follow its three sides; the low wall stays below.
void DrawBayWindow(TSymbolInk& ink, int w, int h) {
  const int wallTop = h - kWallDepth;
  ink.Box(0, wallTop, w, kWallDepth);
  const QPolygonF outer({Px(0, wallTop), Px(kBaySlant, 0), Px(w - 1 - kBaySlant, 0), Px(w - 1, wallTop)});
  const double foot = wallTop + 0.5;
  ink.Polyline(outer);
  ink.Polyline(OffsetPolyline(outer, -3, foot, foot));
  ink.Polyline(OffsetPolyline(outer, -7, foot, foot));
}

// A straight flight seen from above: treads, the walking line with its arrow
// pointing up the stair, and the break line where the plan cuts the flight.
void DrawStraightStair(TSymbolInk& ink, int w, int h) {
  constexpr int kTreads = 10;
  ink.Box(0, 0, w, h);
  const int pitch = Div(h, kTreads);
  for (int k = 1; k < kTreads; ++k) {
    if (ink.Fine() || k % 2 == 0) ink.Line(0, k * pitch, w - 1, k * pitch);
  }
  const int mid = Div(w - 1, 2);
  const int start = h - 1 - Div(pitch, 2);
  ink.Line(mid, start, mid, Div(pitch, 2) + 2);
  ink.Arrowhead(mid, Div(pitch, 2) - 2, 0, -1, 6, 3);
  if (!ink.Fine()) return;
  ink.Circle(mid, start, 2.5);
  // The break: a slant across the flight with a sharp zigzag at its middle.
  const int breakY = Div(h * 2, 3);
  ink.Polyline({QPointF(0, breakY + 7), QPointF(mid - 4, breakY + 2), QPointF(mid - 2, breakY + 8),
                QPointF(mid + 2, breakY - 8), QPointF(mid + 4, breakY - 2), QPointF(w - 1, breakY - 7)});
}

// Treads fanning round a central post; the walking line climbs clockwise.
void DrawSpiralStair(TSymbolInk& ink, int w, int h) {
  // Centred on a pixel so that the upright and level treads stay crisp.
  const double cx = Div(w - 1, 2);
  const double cy = Div(h - 1, 2);
  const double radius = (w - 1) / 2.0;
  constexpr double kPost = 5;
  ink.Ellipse(0, 0, w, h);
  const int treads = ink.Fine() ? 16 : 8;
  for (int k = 0; k < treads; ++k) {
    const double deg = 270 + k * 360.0 / treads;
    const QPointF a = OnCircle(cx, cy, kPost, deg);
    const QPointF b = OnCircle(cx, cy, radius, deg);
    ink.Line(a.x(), a.y(), b.x(), b.y());
  }
  ink.Circle(cx, cy, kPost);
  if (!ink.Fine()) return;
  const double walk = radius * 0.62;
  constexpr double kStart = 250;
  constexpr double kSpan = -290;
  ink.Arc(cx, cy, walk, kStart, kSpan);
  const double endDeg = qDegreesToRadians(kStart + kSpan);
  const QPointF end = OnCircle(cx, cy, walk, kStart + kSpan);
  ink.Arrowhead(end.x(), end.y(), qSin(endDeg), qCos(endDeg), 6, 3);
  const QPointF first = OnCircle(cx, cy, walk, kStart);
  ink.Circle(first.x(), first.y(), 2.5);
}
