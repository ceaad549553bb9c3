// Free geometry routines shared by the graph objects and the control:
// distances and angles on the screen grid (y grows downwards, so a positive
// angle turns clockwise), rectangle helpers, point-list transforms, and the
// crossings of a line with the outlines the node shapes use.
//
// Point-list routines take the first element and the index of the last one
// (High, one less than the count; -1 for an empty list) so that they work on
// any prefix of a list. Overloads on TPoints cover the whole list.
#pragma once

#include <QRegion>
#include <array>

#include "Types.h"

constexpr double Pi = 3.141592653589793;

// ---------------------------------------------------------------------------
// Scalars and points

double Square(double X);
// Value lies in the closed interval between the bounds, in either order.
bool ValueBetween(double Value, double Bound1, double Bound2);
bool SamePoint(const TPoint& P1, const TPoint& P2);
double PointDistance(const TPoint& P1, const TPoint& P2);
// Brings an angle into [-Pi, Pi] by whole turns.
double WrapAngle(double Angle);
// Direction of the line from P1 to P2, at single-precision accuracy, except
// that a vertical line answers exactly +-Pi/2 (the mark of a vertical line
// for the crossing routines) and two equal points answer 0.
double DirectionAngle(const TPoint& P1, const TPoint& P2);
// The point Distance away from From against the direction Angle (a negative
// Distance steps forward).
TPoint PointBackAlong(const TPoint& From, double Angle, double Distance);
double SegmentDistance(const TPoint& P1, const TPoint& P2, const TPoint& Pt);
// A grid point near the segment A-B closest to Pt, found by bisection.
TPoint ClosestPointOnSegment(TPoint A, TPoint B, const TPoint& Pt);
// The point nearest Pt on the nearest of the eight rays from From at the
// multiples of 45°: along a diagonal both offsets are equal, exactly.
TPoint ConstrainToEighths(const TPoint& From, const TPoint& Pt);

// ---------------------------------------------------------------------------
// Rectangles

TRect SquareAround(const TPoint& Pt, int32_t Size);
TRect RectFromCorners(const TPoint& P1, const TPoint& P2);
TPoint RectMidPoint(const TRect& Rect);
// Per-edge min/max; an empty rectangle is not special.
void ExtendRect(TRect& Rect, const TRect& Other);
// Per-edge max/min; inverted when the two do not meet.
void ClipRectTo(TRect& Rect, const TRect& Other);
// Rectangles that only share an edge touch.
bool RectsTouch(const TRect& R1, const TRect& R2);

// A 2x3 world transform: M11, M12, M21, M22, Dx, Dy, mapping (x, y) to
// (x*M11 + y*M21 + Dx, x*M12 + y*M22 + Dy).
using TRegionMatrix = std::array<double, 6>;
// A new region: Region mapped through Matrix; empty for an empty region.
QRegion TransformRegion(const QRegion& Region, const TRegionMatrix& Matrix);

// ---------------------------------------------------------------------------
// Point lists, in place on elements 0..High

void TranslatePoints(TPoint* Points, int High, int32_t DX, int32_t DY);
// Rotates about Origin by Angle (clockwise on screen for positive angles).
void TurnPoints(TPoint* Points, int High, const TPoint& Origin, double Angle);
// Scales every point's distance from Origin by Factor.
void StretchPoints(TPoint* Points, int High, const TPoint& Origin, double Factor);
// Moves points away from Ref by DX / DY on each axis where they differ from
// it; negative offsets pull them in.
void ExpandPoints(TPoint* Points, int High, int32_t DX, int32_t DY, const TPoint& Ref);
// Coordinate sums divided by the count, truncated toward zero; (0, 0) for an
// empty list.
TPoint AveragePoint(const TPoint* Points, int High);
TPoint AveragePoint(const TPoint& A, const TPoint& B);
// InvertedRect for an empty list.
TRect PointListBounds(const TPoint* Points, int High);
// Index of the point nearest Pt (the first of equally near ones), or -1 for
// an empty list; Nearest receives the point only when one is found.
int ClosestPointIndex(const TPoint* Points, int High, const TPoint& Pt, TPoint& Nearest);

inline void TranslatePoints(TPoints& Points, int32_t DX, int32_t DY) {
  TranslatePoints(Points.data(), int(Points.size()) - 1, DX, DY);
}
inline void TurnPoints(TPoints& Points, const TPoint& Origin, double Angle) {
  TurnPoints(Points.data(), int(Points.size()) - 1, Origin, Angle);
}
inline void StretchPoints(TPoints& Points, const TPoint& Origin, double Factor) {
  StretchPoints(Points.data(), int(Points.size()) - 1, Origin, Factor);
}
inline void ExpandPoints(TPoints& Points, int32_t DX, int32_t DY, const TPoint& Ref) {
  ExpandPoints(Points.data(), int(Points.size()) - 1, DX, DY, Ref);
}
inline TPoint AveragePoint(const TPoints& Points) { return AveragePoint(Points.data(), int(Points.size()) - 1); }
inline TRect PointListBounds(const TPoints& Points) { return PointListBounds(Points.data(), int(Points.size()) - 1); }
inline int ClosestPointIndex(const TPoints& Points, const TPoint& Pt, TPoint& Nearest) {
  return ClosestPointIndex(Points.data(), int(Points.size()) - 1, Pt, Nearest);
}

// ---------------------------------------------------------------------------
// Line crossings. A line is a point on it and its DirectionAngle; exactly
// +-Pi/2 means vertical. Crossing points are rounded to the grid.

// False for two vertical lines and for lines of equal slope.
bool CrossLines(const TPoint& P1, double Angle1, const TPoint& P2, double Angle2, TPoint& Pt);
// Edges i -> (i + 1) mod count in vertex order; a line through a vertex may
// yield that vertex twice.
TPoints CrossLinePolygon(const TPoint& LinePt, double Angle, const TPoint* Vertices, int High);
// Edges i -> i + 1 of the open polyline.
TPoints CrossLinePolyline(const TPoint& LinePt, double Angle, const TPoint* Points, int High);
// The rectangle as the polygon (L, T), (R, T), (R, B), (L, B).
TPoints CrossLineRect(const TPoint& LinePt, double Angle, const TRect& Rect);
// The ellipse inscribed in Rect: none, one (tangent) or two points, the
// smaller x first, or the upper first for a vertical line.
TPoints CrossLineEllipse(const TPoint& LinePt, double Angle, const TRect& Rect);
// The rectangle with CornerWidth x CornerHeight corner ellipses.
TPoints CrossLineRoundRect(const TPoint& LinePt, double Angle, const TRect& Rect, int32_t CornerWidth,
                           int32_t CornerHeight);

inline TPoints CrossLinePolygon(const TPoint& LinePt, double Angle, const TPoints& Vertices) {
  return CrossLinePolygon(LinePt, Angle, Vertices.data(), int(Vertices.size()) - 1);
}
inline TPoints CrossLinePolyline(const TPoint& LinePt, double Angle, const TPoints& Points) {
  return CrossLinePolyline(LinePt, Angle, Points.data(), int(Points.size()) - 1);
}
