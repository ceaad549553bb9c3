#include "Geometry.h"

#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "IntMath.h"

namespace {

constexpr double HalfPi = Pi / 2;
constexpr double TwoPi = 2 * Pi;
// Start value of nearest-point searches: no distance found yet.
constexpr double NoDistance = 1.7e308;
// Beyond this many half turns the subtraction loop of WrapAngle would be
// slow (or, for huge values, never finish), so the angle is reduced first.
constexpr double LoopWrapLimit = 64 * Pi;

// Results are 32-bit like every coordinate; sums and offsets are formed in
// 64 bits so that extreme input wraps instead of overflowing.
int32_t Narrow(int64_t Value) { return static_cast<int32_t>(Value); }

// Integer midpoint, truncating toward zero; the sum cannot overflow.
TPoint MidPoint(const TPoint& A, const TPoint& B) {
  return {Narrow(Div64(int64_t(A.X) + B.X, 2)), Narrow(Div64(int64_t(A.Y) + B.Y, 2))};
}

bool IsVertical(double Angle) { return std::fabs(Angle) == HalfPi; }

void AddEdgeCrossing(TPoints& Result, const TPoint& LinePt, double Angle, const TPoint& E1, const TPoint& E2) {
  TPoint pt;
  if (!CrossLines(LinePt, Angle, E1, DirectionAngle(E1, E2), pt)) return;
  if (ValueBetween(pt.X, E1.X, E2.X) && ValueBetween(pt.Y, E1.Y, E2.Y)) Result.push_back(pt);
}

struct TEllipse {
  double A;  // squared half width
  double B;  // squared half height
  double CX;
  double CY;
};

TPoints CrossSlantedLineEllipse(const TPoint& LinePt, double Angle, const TEllipse& E) {
  double m = std::tan(Angle);
  double h = LinePt.Y - LinePt.X * m;
  double k = m * E.A * (h - E.CY) - E.CX * E.B;
  double f = E.B + m * m * E.A;
  double d = k * k - (E.CX * E.CX * E.B + E.A * Square(h - E.CY) - E.A * E.B) * f;
  // The negated test also rejects a NaN discriminant.
  if (!(d >= 0) || f == 0) return {};
  auto at = [&](double x) { return TPoint(Round(x), Round(h + m * x)); };
  if (d == 0) return {at(-k / f)};
  double root = std::sqrt(d);
  return {at((-k - root) / f), at((-k + root) / f)};
}

TPoints CrossVerticalLineEllipse(const TPoint& LinePt, const TEllipse& E) {
  double t = 1 - Square(LinePt.X - E.CX) / E.A;
  if (!(t >= 0)) return {};
  if (t == 0) return {TPoint(LinePt.X, Round(E.CY))};
  double d = std::sqrt(E.B) * std::sqrt(t);
  return {TPoint(LinePt.X, Round(E.CY - d)), TPoint(LinePt.X, Round(E.CY + d))};
}

}  // namespace

// ---------------------------------------------------------------------------
// Scalars and points

double Square(double X) { return X * X; }

bool ValueBetween(double Value, double Bound1, double Bound2) {
  if (Bound1 <= Bound2) return Bound1 <= Value && Value <= Bound2;
  return Bound2 <= Value && Value <= Bound1;
}

bool SamePoint(const TPoint& P1, const TPoint& P2) { return P1.X == P2.X && P1.Y == P2.Y; }

double PointDistance(const TPoint& P1, const TPoint& P2) {
  return std::sqrt(Square(double(P2.X) - P1.X) + Square(double(P2.Y) - P1.Y));
}

double WrapAngle(double Angle) {
  if (!std::isfinite(Angle)) return 0;
  if (std::fabs(Angle) > LoopWrapLimit) Angle = std::remainder(Angle, TwoPi);
  while (Angle > Pi) Angle -= TwoPi;
  while (Angle < -Pi) Angle += TwoPi;
  return Angle;
}

double DirectionAngle(const TPoint& P1, const TPoint& P2) {
  int64_t dx = int64_t(P2.X) - P1.X;
  int64_t dy = int64_t(P2.Y) - P1.Y;
  if (dx != 0) return std::atan2(static_cast<float>(dy), static_cast<float>(dx));
  if (dy < 0) return -HalfPi;
  if (dy > 0) return HalfPi;
  return 0;
}

TPoint PointBackAlong(const TPoint& From, double Angle, double Distance) {
  double a = WrapAngle(Angle);
  if (IsVertical(a)) {
    int64_t d = Round64(Distance);
    return {From.X, Narrow(a > 0 ? int64_t(From.Y) - d : int64_t(From.Y) + d)};
  }
  double t = std::tan(Angle);
  double s = Distance / std::sqrt(t * t + 1);
  double x = std::fabs(a) < HalfPi ? From.X - s : From.X + s;
  double y = t * (x - From.X) + From.Y;
  return {Round(x), Round(y)};
}

double SegmentDistance(const TPoint& P1, const TPoint& P2, const TPoint& Pt) {
  return PointDistance(Pt, ClosestPointOnSegment(P1, P2, Pt));
}

TPoint ClosestPointOnSegment(TPoint A, TPoint B, const TPoint& Pt) {
  // Every step shortens A-B on some axis, so the loop ends.
  for (;;) {
    TPoint q = MidPoint(A, B);
    if (q == A || q == B) return q;
    if (PointDistance(Pt, MidPoint(A, q)) >= PointDistance(Pt, MidPoint(B, q)))
      A = q;
    else
      B = q;
  }
}

// ---------------------------------------------------------------------------
// Rectangles

TRect SquareAround(const TPoint& Pt, int32_t Size) {
  return {Narrow(int64_t(Pt.X) - Size), Narrow(int64_t(Pt.Y) - Size), Narrow(int64_t(Pt.X) + Size),
          Narrow(int64_t(Pt.Y) + Size)};
}

TRect RectFromCorners(const TPoint& P1, const TPoint& P2) {
  return {std::min(P1.X, P2.X), std::min(P1.Y, P2.Y), std::max(P1.X, P2.X), std::max(P1.Y, P2.Y)};
}

TPoint RectMidPoint(const TRect& Rect) { return MidPoint(Rect.TopLeft(), Rect.BottomRight()); }

void ExtendRect(TRect& Rect, const TRect& Other) {
  Rect.Left = std::min(Rect.Left, Other.Left);
  Rect.Top = std::min(Rect.Top, Other.Top);
  Rect.Right = std::max(Rect.Right, Other.Right);
  Rect.Bottom = std::max(Rect.Bottom, Other.Bottom);
}

void ClipRectTo(TRect& Rect, const TRect& Other) {
  Rect.Left = std::max(Rect.Left, Other.Left);
  Rect.Top = std::max(Rect.Top, Other.Top);
  Rect.Right = std::min(Rect.Right, Other.Right);
  Rect.Bottom = std::min(Rect.Bottom, Other.Bottom);
}

bool RectsTouch(const TRect& R1, const TRect& R2) {
  return !(R1.Right < R2.Left || R2.Right < R1.Left || R1.Bottom < R2.Top || R2.Bottom < R1.Top);
}

QRegion TransformRegion(const QRegion& Region, const TRegionMatrix& Matrix) {
  if (Region.isEmpty()) return {};
  QTransform transform(Matrix[0], Matrix[1], Matrix[2], Matrix[3], Matrix[4], Matrix[5]);
  return transform.map(Region);
}

// ---------------------------------------------------------------------------
// Point lists

void TranslatePoints(TPoint* Points, int High, int32_t DX, int32_t DY) {
  for (int i = 0; i <= High; ++i) {
    Points[i].X = Narrow(int64_t(Points[i].X) + DX);
    Points[i].Y = Narrow(int64_t(Points[i].Y) + DY);
  }
}

void TurnPoints(TPoint* Points, int High, const TPoint& Origin, double Angle) {
  double a = WrapAngle(Angle);
  double cosA = std::cos(a);
  double sinA = std::sin(a);
  for (int i = 0; i <= High; ++i) {
    double dx = double(Points[i].X) - Origin.X;
    double dy = double(Points[i].Y) - Origin.Y;
    Points[i].X = Narrow(Round64(dx * cosA - dy * sinA) + Origin.X);
    Points[i].Y = Narrow(Round64(dx * sinA + dy * cosA) + Origin.Y);
  }
}

void StretchPoints(TPoint* Points, int High, const TPoint& Origin, double Factor) {
  for (int i = 0; i <= High; ++i) {
    TPoint& p = Points[i];
    p = PointBackAlong(Origin, DirectionAngle(p, Origin), Factor * PointDistance(p, Origin));
  }
}

namespace {
int32_t ExpandCoordinate(int32_t Value, int32_t Offset, int32_t Ref) {
  if (Value < Ref) return Narrow(int64_t(Value) - Offset);
  if (Value > Ref) return Narrow(int64_t(Value) + Offset);
  return Value;
}
}  // namespace

void ExpandPoints(TPoint* Points, int High, int32_t DX, int32_t DY, const TPoint& Ref) {
  for (int i = 0; i <= High; ++i) {
    Points[i].X = ExpandCoordinate(Points[i].X, DX, Ref.X);
    Points[i].Y = ExpandCoordinate(Points[i].Y, DY, Ref.Y);
  }
}

TPoint AveragePoint(const TPoint* Points, int High) {
  if (High < 0) return {};
  // 64-bit sums: the same result as 32-bit ones wherever those do not
  // overflow, and the true average where they would.
  int64_t sumX = 0;
  int64_t sumY = 0;
  for (int i = 0; i <= High; ++i) {
    sumX += Points[i].X;
    sumY += Points[i].Y;
  }
  int64_t count = int64_t(High) + 1;
  return {Narrow(Div64(sumX, count)), Narrow(Div64(sumY, count))};
}

TPoint AveragePoint(const TPoint& A, const TPoint& B) {
  const TPoint pair[2] = {A, B};
  return AveragePoint(pair, 1);
}

TRect PointListBounds(const TPoint* Points, int High) {
  TRect r = InvertedRect;
  for (int i = 0; i <= High; ++i) {
    r.Left = std::min(r.Left, Points[i].X);
    r.Top = std::min(r.Top, Points[i].Y);
    r.Right = std::max(r.Right, Points[i].X);
    r.Bottom = std::max(r.Bottom, Points[i].Y);
  }
  return r;
}

int ClosestPointIndex(const TPoint* Points, int High, const TPoint& Pt, TPoint& Nearest) {
  int best = -1;
  double bestDistance = NoDistance;
  for (int i = 0; i <= High; ++i) {
    double d = PointDistance(Points[i], Pt);
    if (d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  if (best >= 0) Nearest = Points[best];
  return best;
}

// ---------------------------------------------------------------------------
// Line crossings

bool CrossLines(const TPoint& P1, double Angle1, const TPoint& P2, double Angle2, TPoint& Pt) {
  bool vertical1 = IsVertical(Angle1);
  bool vertical2 = IsVertical(Angle2);
  if (vertical1 && vertical2) return false;
  if (vertical1) {
    double m2 = std::tan(Angle2);
    Pt = {P1.X, Round(m2 * P1.X + (P2.Y - m2 * P2.X))};
    return true;
  }
  if (vertical2) {
    double m1 = std::tan(Angle1);
    Pt = {P2.X, Round(m1 * P2.X + (P1.Y - m1 * P1.X))};
    return true;
  }
  double m1 = std::tan(Angle1);
  double m2 = std::tan(Angle2);
  if (m1 == m2) return false;
  double b1 = P1.Y - m1 * P1.X;
  double b2 = P2.Y - m2 * P2.X;
  Pt = {Round((b1 - b2) / (m2 - m1)), Round((m2 * b1 - m1 * b2) / (m2 - m1))};
  return true;
}

TPoints CrossLinePolygon(const TPoint& LinePt, double Angle, const TPoint* Vertices, int High) {
  TPoints result;
  int count = High + 1;
  for (int i = 0; i < count; ++i) AddEdgeCrossing(result, LinePt, Angle, Vertices[i], Vertices[(i + 1) % count]);
  return result;
}

TPoints CrossLinePolyline(const TPoint& LinePt, double Angle, const TPoint* Points, int High) {
  TPoints result;
  for (int i = 0; i < High; ++i) AddEdgeCrossing(result, LinePt, Angle, Points[i], Points[i + 1]);
  return result;
}

TPoints CrossLineRect(const TPoint& LinePt, double Angle, const TRect& Rect) {
  const TPoint corners[4] = {
      {Rect.Left, Rect.Top}, {Rect.Right, Rect.Top}, {Rect.Right, Rect.Bottom}, {Rect.Left, Rect.Bottom}};
  return CrossLinePolygon(LinePt, Angle, corners, 3);
}

TPoints CrossLineEllipse(const TPoint& LinePt, double Angle, const TRect& Rect) {
  if (Rect.IsEmpty()) return {};
  TEllipse e{Square((double(Rect.Right) - Rect.Left) / 2), Square((double(Rect.Bottom) - Rect.Top) / 2),
             (double(Rect.Left) + Rect.Right) / 2, (double(Rect.Top) + Rect.Bottom) / 2};
  if (IsVertical(Angle)) return CrossVerticalLineEllipse(LinePt, e);
  return CrossSlantedLineEllipse(LinePt, Angle, e);
}

TPoints CrossLineRoundRect(const TPoint& LinePt, double Angle, const TRect& Rect, int32_t CornerWidth,
                           int32_t CornerHeight) {
  TPoints points = CrossLineRect(LinePt, Angle, Rect);
  if (points.empty()) return points;
  int64_t w = int64_t(Rect.Right) - Rect.Left;
  int64_t h = int64_t(Rect.Bottom) - Rect.Top;
  TPoint c = RectMidPoint(Rect);
  for (TPoint& p : points) {
    int64_t dx = int64_t(p.X) - c.X;
    int64_t dy = int64_t(p.Y) - c.Y;
    bool inCornerZone =
        Div64(w, 2) - std::abs(dx) < Div(CornerWidth, 2) && Div64(h, 2) - std::abs(dy) < Div(CornerHeight, 2);
    if (!inCornerZone) continue;
    TRect corner(Rect.Left, Rect.Top, Narrow(int64_t(Rect.Left) + CornerWidth),
                 Narrow(int64_t(Rect.Top) + CornerHeight));
    if (dx > 0) corner = corner.Offset(Narrow(w - CornerWidth), 0);
    if (dy > 0) corner = corner.Offset(0, Narrow(h - CornerHeight));
    TPoints onCorner = CrossLineEllipse(LinePt, Angle, corner);
    if (onCorner.size() != 2) continue;
    // The crossing on the outer side of the corner arc is the one nearer
    // the rectangle's crossing. For lines through the centre that is the
    // first point left of the centre and the second right of it; choosing by
    // distance also gets vertical lines and corners wider than the node right.
    const TPoint& preferred = dx < 0 ? onCorner[0] : onCorner[1];
    const TPoint& other = dx < 0 ? onCorner[1] : onCorner[0];
    p = PointDistance(other, p) < PointDistance(preferred, p) ? other : preferred;
  }
  return points;
}

TPoint ConstrainToEighths(const TPoint& From, const TPoint& Pt) {
  const int64_t dx = int64_t(Pt.X) - From.X, dy = int64_t(Pt.Y) - From.Y;
  if (dx == 0 && dy == 0) return Pt;
  constexpr int UnitX[8] = {1, 1, 0, -1, -1, -1, 0, 1};
  constexpr int UnitY[8] = {0, 1, 1, 1, 0, -1, -1, -1};
  const int octant = (Round(std::atan2(double(dy), double(dx)) / (Pi / 4)) + 8) % 8;
  const int ux = UnitX[octant], uy = UnitY[octant];
  if (ux == 0) return {From.X, Pt.Y};
  if (uy == 0) return {Pt.X, From.Y};
  const int64_t along = Round64((double(dx) * ux + double(dy) * uy) / 2.0);
  auto clamp = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  return {clamp(From.X + along * ux), clamp(From.Y + along * uy)};
}
