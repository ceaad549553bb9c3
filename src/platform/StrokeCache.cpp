#include "StrokeCache.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>

namespace {
// The largest mask drawn to find the rectangles; a bigger stroke (a long
// diagonal wall zoomed far in) is stroked at every repaint instead.
constexpr int64_t kMaxMaskPixels = int64_t(1) << 20;

// The runs of covered pixels in one mask row.
void RowRuns(const uchar* Row, int Width, std::vector<std::pair<int, int>>& Runs) {
  Runs.clear();
  for (int x = 0; x < Width;) {
    while (x < Width && Row[x] == 0) ++x;
    if (x == Width) break;
    const int start = x;
    while (x < Width && Row[x] != 0) ++x;
    Runs.emplace_back(start, x);
  }
}
}  // namespace

bool TStrokeCache::Applies(const QPainter& Painter) {
  const QPaintEngine* engine = Painter.paintEngine();
  if (!engine || engine->type() != QPaintEngine::Raster) return false;
  const QPen& pen = Painter.pen();
  return pen.style() == Qt::SolidLine && pen.width() > 1 && pen.brush().style() == Qt::SolidPattern &&
         pen.color().alpha() == 255 && Painter.compositionMode() == QPainter::CompositionMode_SourceOver &&
         !Painter.testRenderHint(QPainter::Antialiasing) && Painter.deviceTransform().type() == QTransform::TxNone;
}

bool TStrokeCache::Draw(QPainter& Painter, const QPoint* Points, int Count, const QRect& ClipBox) {
  if (Count < 2 || !Applies(Painter)) return false;
  const int width = Painter.pen().width();
  if (!SameShape(Points, Count, width)) {
    Remember(Points, Count, width);
    return false;
  }
  if (!fShape->Rasterized) Rasterize(Painter);
  if (!fShape->Rasterized) return false;
  Fill(Painter, Points[0], ClipBox);
  return true;
}

bool TStrokeCache::SameShape(const QPoint* Points, int Count, int Width) const {
  if (!fShape || Width != fShape->Width || size_t(Count) != fShape->Points.size()) return false;
  for (int i = 0; i < Count; ++i)
    if (Points[i] - Points[0] != fShape->Points[size_t(i)]) return false;
  return true;
}

void TStrokeCache::Remember(const QPoint* Points, int Count, int Width) {
  if (!fShape) fShape = std::make_unique<TShape>();
  fShape->Points.resize(size_t(Count));
  for (int i = 0; i < Count; ++i) fShape->Points[size_t(i)] = Points[i] - Points[0];
  fShape->Width = Width;
  fShape->Rasterized = false;
  fShape->Rects.clear();
}

void TStrokeCache::Rasterize(const QPainter& Painter) {
  const std::vector<QPoint>& points = fShape->Points;
  const int width = fShape->Width;
  std::vector<QRect>& rects = fShape->Rects;
  // Round caps and joins reach half the width past a point; a full width
  // of margin leaves room for the rasteriser's rounding.
  QRect bounds(points[0], points[0]);
  for (const QPoint& p : points) bounds = bounds.united(QRect(p, p));
  bounds.adjust(-width, -width, width, width);
  if (int64_t(bounds.width()) * bounds.height() > kMaxMaskPixels) return;
  QImage mask(bounds.size(), QImage::Format_Alpha8);
  mask.fill(0);
  {
    // Shifted by whole pixels, Qt's stroke covers the same pixels.
    std::vector<QPoint> shifted(points.size());
    for (size_t i = 0; i < points.size(); ++i) shifted[i] = points[i] - bounds.topLeft();
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen = Painter.pen();
    pen.setColor(Qt::black);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(shifted.data(), int(shifted.size()));
  }
  // Rows with the same runs as the row above lengthen that row's rectangles.
  std::vector<std::pair<int, int>> runs, above;
  size_t bandStart = 0;
  for (int y = 0; y < mask.height(); ++y) {
    RowRuns(mask.constScanLine(y), mask.width(), runs);
    if (y > 0 && runs == above && !runs.empty()) {
      for (size_t i = bandStart; i < rects.size(); ++i) rects[i].setBottom(rects[i].bottom() + 1);
      continue;
    }
    bandStart = rects.size();
    for (const auto& [left, right] : runs)
      rects.emplace_back(QPoint(left, y) + bounds.topLeft(), QPoint(right - 1, y) + bounds.topLeft());
    std::swap(runs, above);
  }
  rects.shrink_to_fit();
  fShape->Rasterized = true;
}

void TStrokeCache::Fill(QPainter& Painter, QPoint Origin, const QRect& ClipBox) const {
  const std::vector<QRect>& rects = fShape->Rects;
  const QRect box = ClipBox.translated(-Origin);
  // Bands run down the mask, so the first one reaching the box is found by
  // halving and the walk stops below it.
  auto first = std::partition_point(rects.begin(), rects.end(), [&](const QRect& r) { return r.bottom() < box.top(); });
  const QColor color = Painter.pen().color();
  for (auto r = first; r != rects.end() && r->top() <= box.bottom(); ++r) {
    if (r->right() < box.left() || r->left() > box.right()) continue;
    Painter.fillRect(r->translated(Origin), color);
  }
}
