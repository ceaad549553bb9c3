// The live measure label the control shows beside a dragged object, and the
// search for a link point to snap onto.
#include <QPainter>
#include <algorithm>

#include "GraphEditor.h"
#include "GraphLink.h"
#include "IntMath.h"

namespace {
// The label sits this far right of and below the dragged point.
constexpr QPoint LabelOffset(16, 8);
constexpr int LabelPaddingX = 4;
constexpr int LabelPaddingY = 2;
const QColor LabelFill(255, 255, 225);
const QColor LabelFrame(128, 128, 128);
}  // namespace

void TGraphEditor::UpdateDragMeasure() {
  QString text;
  if (fDragSource && OnDragMeasure) text = OnDragMeasure(this, fDragSource, fDragHitTest);
  QRect place;
  if (!text.isEmpty()) {
    TPoint at = GraphToClient(fDragTargetPt.X, fDragTargetPt.Y);
    QSize size = viewport()->fontMetrics().size(Qt::TextSingleLine, text);
    size += QSize(2 * LabelPaddingX, 2 * LabelPaddingY);
    QPoint corner = QPoint(at.X, at.Y) + LabelOffset;
    // Near the right edge the label goes to the left of the point instead.
    if (corner.x() + size.width() > viewport()->width()) corner.setX(at.X - LabelOffset.x() - size.width());
    place = QRect(corner, size);
  }
  if (text == fDragMeasure && place == fDragMeasureRect) return;
  // The frame is drawn inside the rectangle, so the rectangle is all a
  // repaint needs to wipe the label out.
  if (!fDragMeasureRect.isNull()) InvalidateClientRect(&fDragMeasureRect);
  fDragMeasure = text;
  fDragMeasureRect = place;
  if (!place.isNull()) InvalidateClientRect(&place);
}

void TGraphEditor::PaintDragMeasure(QPainter& Painter, const QPoint& Origin) {
  if (fDragMeasureRect.isNull()) return;
  QRect r = fDragMeasureRect.translated(-Origin);
  Painter.save();
  Painter.setPen(LabelFrame);
  Painter.setBrush(LabelFill);
  Painter.drawRect(r.adjusted(0, 0, -1, -1));
  Painter.setPen(Qt::black);
  Painter.setFont(viewport()->font());
  Painter.drawText(r, Qt::AlignCenter, fDragMeasure);
  Painter.restore();
}

bool TGraphEditor::FindLinkPointNear(const TPoint& Pt, const TGraphObject* Except, TPoint& Found) {
  const int32_t radius = std::max(1, MulDiv(LinkPointSnapPixels, 100, fZoom));
  const TRect area{Pt.X - radius, Pt.Y - radius, Pt.X + radius + 1, Pt.Y + radius + 1};
  std::vector<TGraphObject*> nearby;
  if (fSpatialIndexEnabled && fSpatialIndex.Usable())
    fSpatialIndex.ObjectsIn(area, nearby);
  else
    nearby.assign(fObjects.begin(), fObjects.end());
  int64_t best = int64_t(radius) * radius;
  bool found = false;
  for (TGraphObject* o : nearby) {
    if (o == Except || !o->IsLink() || !o->Showing()) continue;
    const auto* link = static_cast<const TGraphLink*>(o);
    const TPoints& points = link->Polyline();
    for (int i = 0; i < link->PointCount(); ++i) {
      const TPoint& p = points[size_t(i)];
      int64_t dx = int64_t(p.X) - Pt.X, dy = int64_t(p.Y) - Pt.Y;
      int64_t d2 = dx * dx + dy * dy;
      if (d2 > best || (found && d2 == best)) continue;
      best = d2;
      Found = p;
      found = true;
    }
  }
  return found;
}
