// The concrete node shapes: five polygons sharing a vertex cache, the
// rounded rectangle and the ellipse.
#pragma once

#include "GraphNode.h"

class TPolygonalNode : public TGraphNode {
  GRAPH_OBJECT_CLASS(TPolygonalNode)

 public:
  const TPoints& Vertices() const { return fVertices; }

  void Prepare() override;
  void GeometryChanged(int32_t DX, int32_t DY, int32_t DW, int32_t DH) override;
  void IntersectOutline(const TPoint& RefPt, TPoints& Points, double Angle) const override;
  QRegion MakeRegion() const override;
  void DrawBorder(TCanvas& Canvas) const override;
  TPoint GetCenter() const override;
  // The shape's corners for the bounds Rect, in drawing order.
  virtual void ComputeVertices(const TRect& Rect, TPoints& Vertices) const = 0;

 protected:
  using TGraphNode::TGraphNode;
  // Narrows the general caption area to a shape-specific rectangle.
  void ClipCaptionArea(TRect& Rect, const TRect& Shape) const;

  TPoints fVertices;
};

class TRectangularNode : public TPolygonalNode {
  GRAPH_OBJECT_CLASS(TRectangularNode)

 public:
  void ComputeVertices(const TRect& Rect, TPoints& Vertices) const override;

 protected:
  using TPolygonalNode::TPolygonalNode;
};

class TTriangularNode : public TPolygonalNode {
  GRAPH_OBJECT_CLASS(TTriangularNode)

 public:
  void CaptionArea(TRect& Rect) const override;
  void ComputeVertices(const TRect& Rect, TPoints& Vertices) const override;

 protected:
  using TPolygonalNode::TPolygonalNode;
};

class TRhomboidalNode : public TPolygonalNode {
  GRAPH_OBJECT_CLASS(TRhomboidalNode)

 public:
  void CaptionArea(TRect& Rect) const override;
  void ComputeVertices(const TRect& Rect, TPoints& Vertices) const override;

 protected:
  using TPolygonalNode::TPolygonalNode;
};

class TPentagonalNode : public TPolygonalNode {
  GRAPH_OBJECT_CLASS(TPentagonalNode)

 public:
  void CaptionArea(TRect& Rect) const override;
  void ComputeVertices(const TRect& Rect, TPoints& Vertices) const override;

 protected:
  using TPolygonalNode::TPolygonalNode;
};

class THexagonalNode : public TPolygonalNode {
  GRAPH_OBJECT_CLASS(THexagonalNode)

 public:
  void CaptionArea(TRect& Rect) const override;
  void ComputeVertices(const TRect& Rect, TPoints& Vertices) const override;

 protected:
  using TPolygonalNode::TPolygonalNode;
};

class TRoundRectangularNode : public TGraphNode {
  GRAPH_OBJECT_CLASS(TRoundRectangularNode)

 public:
  // Width and height of the ellipse that rounds each corner.
  int32_t CornerSize() const;
  void IntersectOutline(const TPoint& RefPt, TPoints& Points, double Angle) const override;
  QRegion MakeRegion() const override;
  void DrawBorder(TCanvas& Canvas) const override;

 protected:
  using TGraphNode::TGraphNode;
};

class TEllipticNode : public TGraphNode {
  GRAPH_OBJECT_CLASS(TEllipticNode)

 public:
  void IntersectOutline(const TPoint& RefPt, TPoints& Points, double Angle) const override;
  QRegion MakeRegion() const override;
  void DrawBorder(TCanvas& Canvas) const override;

 protected:
  using TGraphNode::TGraphNode;
};
