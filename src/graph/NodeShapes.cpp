#include "NodeShapes.h"

#include "Canvas.h"
#include "Geometry.h"
#include "GraphEditor.h"
#include "IntMath.h"

DEFINE_ABSTRACT_GRAPH_OBJECT_CLASS(TPolygonalNode, TGraphNode);
DEFINE_GRAPH_OBJECT_CLASS(TRectangularNode, TPolygonalNode);
DEFINE_GRAPH_OBJECT_CLASS(TTriangularNode, TPolygonalNode);
DEFINE_GRAPH_OBJECT_CLASS(TRhomboidalNode, TPolygonalNode);
DEFINE_GRAPH_OBJECT_CLASS(TPentagonalNode, TPolygonalNode);
DEFINE_GRAPH_OBJECT_CLASS(THexagonalNode, TPolygonalNode);
DEFINE_GRAPH_OBJECT_CLASS(TRoundRectangularNode, TGraphNode);
DEFINE_GRAPH_OBJECT_CLASS(TEllipticNode, TGraphNode);

namespace {
// The names of the shape notation: edges, middles and the quarter width.
struct TShapeBox {
  int32_t L, T, R, B, MX, MY, Q;
  explicit TShapeBox(const TRect& r)
      : L(r.Left),
        T(r.Top),
        R(r.Right),
        B(r.Bottom),
        MX(Div(r.Left + r.Right, 2)),
        MY(Div(r.Top + r.Bottom, 2)),
        Q(Div(r.Right - r.Left, 4)) {}
};
}  // namespace

// ---------------------------------------------------------------------------
// Polygons

void TPolygonalNode::Prepare() {
  ComputeVertices(GetBoundsRect(), fVertices);
  TGraphNode::Prepare();
}

void TPolygonalNode::GeometryChanged(int32_t DX, int32_t DY, int32_t DW, int32_t DH) {
  if (DW != 0 || DH != 0)
    ComputeVertices(GetBoundsRect(), fVertices);
  else if (DX != 0 || DY != 0)
    TranslatePoints(fVertices, DX, DY);
  TGraphNode::GeometryChanged(DX, DY, DW, DH);
}

void TPolygonalNode::IntersectOutline(const TPoint& RefPt, TPoints& Points, double Angle) const {
  Points = CrossLinePolygon(RefPt, Angle, fVertices);
}

QRegion TPolygonalNode::MakeRegion() const { return PolygonRegion(fVertices, Qt::WindingFill); }

void TPolygonalNode::DrawBorder(TCanvas& Canvas) const { Canvas.Polygon(fVertices); }

TPoint TPolygonalNode::GetCenter() const {
  if (fVertices.empty()) return TGraphNode::GetCenter();
  return AveragePoint(fVertices);
}

void TPolygonalNode::ClipCaptionArea(TRect& Rect, const TRect& Shape) const {
  TGraphNode::CaptionArea(Rect);
  TRect shape = Shape;
  ClipRectTo(shape, Rect);
  Rect = shape;
}

void TRectangularNode::ComputeVertices(const TRect& Rect, TPoints& Vertices) const {
  TShapeBox s(Rect);
  Vertices = {{s.L, s.T}, {s.R, s.T}, {s.R, s.B}, {s.L, s.B}};
}

void TTriangularNode::ComputeVertices(const TRect& Rect, TPoints& Vertices) const {
  TShapeBox s(Rect);
  Vertices = {{s.MX, s.T}, {s.R, s.B}, {s.L, s.B}};
}

void TTriangularNode::CaptionArea(TRect& Rect) const {
  // From the cached vertices: (MX, T), (R, B), (L, B).
  const TPoints& v = fVertices;
  int32_t mx = v[0].X, t = v[0].Y, r = v[1].X, b = v[1].Y, l = v[2].X;
  ClipCaptionArea(Rect, {Div(mx + l, 2), Div(t + b, 2), Div(mx + r, 2), b});
}

void TRhomboidalNode::ComputeVertices(const TRect& Rect, TPoints& Vertices) const {
  TShapeBox s(Rect);
  Vertices = {{s.MX, s.T}, {s.R, s.MY}, {s.MX, s.B}, {s.L, s.MY}};
}

void TRhomboidalNode::CaptionArea(TRect& Rect) const {
  // (MX, T), (R, MY), (MX, B), (L, MY).
  const TPoints& v = fVertices;
  int32_t mx = v[0].X, t = v[0].Y, r = v[1].X, my = v[1].Y, b = v[2].Y, l = v[3].X;
  ClipCaptionArea(Rect, {Div(mx + l, 2), Div(t + my, 2), Div(r + mx, 2), Div(my + b, 2)});
}

void TPentagonalNode::ComputeVertices(const TRect& Rect, TPoints& Vertices) const {
  TShapeBox s(Rect);
  Vertices = {{s.MX, s.T}, {s.R, s.MY}, {s.R - s.Q, s.B}, {s.L + s.Q, s.B}, {s.L, s.MY}};
}

void TPentagonalNode::CaptionArea(TRect& Rect) const {
  // (MX, T), (R, MY), (R - Q, B), (L + Q, B), (L, MY).
  const TPoints& v = fVertices;
  int32_t t = v[0].Y, my = v[1].Y, rq = v[2].X, b = v[2].Y, lq = v[3].X;
  ClipCaptionArea(Rect, {lq, Div(t + my, 2), rq, b});
}

void THexagonalNode::ComputeVertices(const TRect& Rect, TPoints& Vertices) const {
  TShapeBox s(Rect);
  Vertices = {{s.L + s.Q, s.T}, {s.R - s.Q, s.T}, {s.R, s.MY}, {s.R - s.Q, s.B}, {s.L + s.Q, s.B}, {s.L, s.MY}};
}

void THexagonalNode::CaptionArea(TRect& Rect) const {
  // (L + Q, T), (R - Q, T), (R, MY), (R - Q, B), (L + Q, B), (L, MY).
  const TPoints& v = fVertices;
  ClipCaptionArea(Rect, {v[0].X, v[0].Y, v[3].X, v[3].Y});
}

// ---------------------------------------------------------------------------
// Rounded rectangle

int32_t TRoundRectangularNode::CornerSize() const { return Div(std::max(fWidth, fHeight), 4); }

QRegion TRoundRectangularNode::MakeRegion() const {
  int32_t c = CornerSize();
  return RoundRectRegion({fLeft, fTop, fLeft + fWidth + 1, fTop + fHeight + 1}, c, c);
}

void TRoundRectangularNode::DrawBorder(TCanvas& Canvas) const {
  int32_t c = CornerSize();
  Canvas.RoundRect(fLeft, fTop, fLeft + fWidth, fTop + fHeight, c, c);
}

void TRoundRectangularNode::IntersectOutline(const TPoint& RefPt, TPoints& Points, double Angle) const {
  int32_t c = CornerSize();
  Points = CrossLineRoundRect(RefPt, Angle, GetBoundsRect(), c, c);
}

// ---------------------------------------------------------------------------
// Ellipse

QRegion TEllipticNode::MakeRegion() const {
  return EllipticRegion({fLeft, fTop, fLeft + fWidth + 1, fTop + fHeight + 1});
}

void TEllipticNode::DrawBorder(TCanvas& Canvas) const { Canvas.Ellipse(fLeft, fTop, fLeft + fWidth, fTop + fHeight); }

void TEllipticNode::IntersectOutline(const TPoint& RefPt, TPoints& Points, double Angle) const {
  Points = CrossLineEllipse(RefPt, Angle, GetBoundsRect());
}
