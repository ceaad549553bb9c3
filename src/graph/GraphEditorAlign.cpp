// Aligning, spacing and sizing the selection. Every move goes through the
// objects' own MoveHit, so their options, minimum sizes and the constraints
// apply.
#include <vector>

#include "GraphEditor.h"
#include "IntMath.h"
#include "UpdateBracket.h"

namespace {
int32_t CenterX(const TRect& r) { return Div(r.Left + r.Right, 2); }
int32_t CenterY(const TRect& r) { return Div(r.Top + r.Bottom, 2); }
}  // namespace

bool TGraphEditor::SpaceSelection(bool Horizontal) {
  // Sorted by leading edge; equal edges keep their selection order.
  std::vector<TGraphObject*> sorted;
  for (TGraphObject* o : fSelectedObjects) {
    int32_t edge = Horizontal ? o->BoundsRect().Left : o->BoundsRect().Top;
    auto at = std::find_if(sorted.begin(), sorted.end(), [&](TGraphObject* s) {
      return (Horizontal ? s->BoundsRect().Left : s->BoundsRect().Top) > edge;
    });
    sorted.insert(at, o);
  }
  int32_t total = 0;
  for (TGraphObject* o : sorted) total += Horizontal ? o->BoundsRect().Width() : o->BoundsRect().Height();
  TRect first = sorted.front()->BoundsRect();
  TRect last = sorted.back()->BoundsRect();
  int32_t span = Horizontal ? last.Right - first.Left : last.Bottom - first.Top;
  int32_t gap = Div(span - total, int32_t(sorted.size()) - 1);
  int32_t target = (Horizontal ? first.Right : first.Bottom) + gap;
  TObjectSides mobility = Horizontal ? TObjectSides(osLeft | osRight) : TObjectSides(osTop | osBottom);
  bool changed = false;
  for (size_t i = 1; i + 1 < sorted.size(); ++i) {
    TGraphObject* o = sorted[i];
    TRect b = o->BoundsRect();
    fGraphConstraints->SetSourceRect(b);
    int32_t dx = Horizontal ? target - b.Left : 0;
    int32_t dy = Horizontal ? 0 : target - b.Top;
    if (fGraphConstraints->ConfineOffset(dx, dy, mobility) && o->MoveHit(htBody, dx, dy)) changed = true;
    TRect moved = o->BoundsRect();
    target = (Horizontal ? moved.Right : moved.Bottom) + gap;
  }
  return changed;
}

bool TGraphEditor::AlignSelection(THAlignOption Horz, TVAlignOption Vert) {
  int count = fSelectedObjects.Count();
  if (count <= 1) return false;
  bool changed = false;
  WithinUpdate(*this, [&] {
    if (Horz == haSpaceEqually && count > 2) changed |= SpaceSelection(true);
    if (Vert == vaSpaceEqually && count > 2) changed |= SpaceSelection(false);
    if (Horz == haSpaceEqually && Vert == vaSpaceEqually) return;
    TRect r = fSelectedObjects[0]->BoundsRect();
    for (int i = 1; i < fSelectedObjects.Count(); ++i) {
      TGraphObject* o = fSelectedObjects[i];
      TRect b = o->BoundsRect();
      int32_t dx = 0, dy = 0;
      switch (Horz) {
        case haLeft: dx = r.Left - b.Left; break;
        case haCenter: dx = CenterX(r) - CenterX(b); break;
        case haRight: dx = r.Right - b.Right; break;
        default: break;
      }
      switch (Vert) {
        case vaTop: dy = r.Top - b.Top; break;
        case vaCenter: dy = CenterY(r) - CenterY(b); break;
        case vaBottom: dy = r.Bottom - b.Bottom; break;
        default: break;
      }
      fGraphConstraints->SetSourceRect(b);
      if (fGraphConstraints->ConfineOffset(dx, dy, osAllSides) && o->MoveHit(htBody, dx, dy)) changed = true;
    }
  });
  return changed;
}

bool TGraphEditor::ResizeSelection(TResizeOption Horz, TResizeOption Vert) {
  if (fSelectedObjects.Count() <= 1) return false;
  int32_t minW = MaxInt, maxW = 0, minH = MaxInt, maxH = 0;
  for (TGraphObject* o : fSelectedObjects) {
    TRect b = o->BoundsRect();
    minW = std::min(minW, b.Width());
    maxW = std::max(maxW, b.Width());
    minH = std::min(minH, b.Height());
    maxH = std::max(maxH, b.Height());
  }
  bool changed = false;
  WithinUpdate(*this, [&] {
    for (int i = 0; i < fSelectedObjects.Count(); ++i) {
      TGraphObject* o = fSelectedObjects[i];
      TRect b = o->BoundsRect();
      int32_t dx = Horz == roSmallest ? minW - b.Width() : Horz == roLargest ? maxW - b.Width() : 0;
      int32_t dy = Vert == roSmallest ? minH - b.Height() : Vert == roLargest ? maxH - b.Height() : 0;
      fGraphConstraints->SetSourceRect(b);
      if (fGraphConstraints->ConfineOffset(dx, dy, osRight | osBottom) && o->MoveHit(htBottomRightHandle, dx, dy))
        changed = true;
    }
  });
  return changed;
}
