// What a wide solid pen covers along one polyline, kept as device
// rectangles so that a repaint fills them instead of stroking the line
// again. Stroking a wide pen with round caps and joins is the dearest thing
// a plan repaint does; the rectangles come from Qt's own rasteriser, drawn
// once into a mask, so the pixels are the same either way.
#pragma once

#include <QPoint>
#include <QRect>
#include <memory>
#include <vector>

class QPainter;

class TStrokeCache {
 public:
  // Strokes the polyline Points (device pixels, Count of them) with the
  // painter's pen, within ClipBox, from the kept rectangles. Answers false
  // when the caller must stroke it itself: the painter does not draw the
  // way the rectangles assume, or this shape has not been drawn before (a
  // shape is kept on its second drawing, so one that changes at every
  // repaint, such as a wall being dragged, costs nothing extra).
  bool Draw(QPainter& Painter, const QPoint* Points, int Count, const QRect& ClipBox);

  // Whether the painter strokes a wide solid pen opaquely, without
  // antialiasing or transformation, on a raster device.
  static bool Applies(const QPainter& Painter);

 private:
  bool SameShape(const QPoint* Points, int Count, int Width) const;
  void Remember(const QPoint* Points, int Count, int Width);
  void Rasterize(const QPainter& Painter);
  void Fill(QPainter& Painter, QPoint Origin, const QRect& ClipBox) const;

  struct TShape {
    // The polyline relative to its first point, and the pen width.
    std::vector<QPoint> Points;
    int Width = 0;
    bool Rasterized = false;
    // Covered pixels relative to the first point, in bands from the top.
    std::vector<QRect> Rects;
  };
  // Only a line drawn with a wide pen has one; an object keeps a pointer.
  std::unique_ptr<TShape> fShape;
};
