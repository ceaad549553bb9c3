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
}  // namespace

void TGraphEditor::UpdateDragMeasure() {
  QString text;
  if (fDragSource && OnDragMeasure) text = OnDragMeasure(this, fDragSource, fDragHitTest);
  QRect place;
  if (!text.isEmpty()) {
    TPoint at = GraphToClient(fDragTargetPt.X, fDragTargetPt.Y);
    const QSize size = fMeasureLabels.Label(text, *viewport()).Size;
    QPoint corner = QPoint(at.X, at.Y) + LabelOffset;
    // Near the right edge the label goes to the left of the point instead.
    if (corner.x() + size.width() > viewport()->width()) corner.setX(at.X - LabelOffset.x() - size.width());
    place = QRect(corner, size);
  } else {
    fMeasureLabels.Clear();
  }
  if (text == fDragMeasure && place == fDragMeasureRect) return;
  if (!fDragMeasureRect.isNull()) InvalidateClientRect(&fDragMeasureRect);
  fDragMeasure = text;
  fDragMeasureRect = place;
  if (!place.isNull()) InvalidateClientRect(&place);
}

void TGraphEditor::PaintDragMeasure(QPainter& Painter, const QPoint& Origin) {
  if (fDragMeasureRect.isNull()) return;
  // Drawn over the plan after it is painted, never into it: a moved label
  // needs only the plan under its old place repainted.
  Painter.drawImage(fDragMeasureRect.topLeft() - Origin, fMeasureLabels.Label(fDragMeasure, *viewport()).Image);
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
