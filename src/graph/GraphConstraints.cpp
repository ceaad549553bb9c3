#include "GraphConstraints.h"

#include "GraphEditor.h"

TGraphConstraints::TGraphConstraints(TGraphEditor* AOwner) : fOwner(AOwner) {}

void TGraphConstraints::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TGraphConstraints*>(Source)) {
    SetBoundsRect(src->fBoundsRect);
    return;
  }
  TPersistent::Assign(Source);
}

const TPropList& TGraphConstraints::Properties() const {
  static const TPropList list =
      TPropTable<TGraphConstraints>(TPersistent::Properties())
          .Integer("MinLeft", &TGraphConstraints::MinLeft, &TGraphConstraints::SetMinLeft, 0)
          .Integer("MinTop", &TGraphConstraints::MinTop, &TGraphConstraints::SetMinTop, 0)
          .Integer("MaxRight", &TGraphConstraints::MaxRight, &TGraphConstraints::SetMaxRight, 65535)
          .Integer("MaxBottom", &TGraphConstraints::MaxBottom, &TGraphConstraints::SetMaxBottom, 65535);
  return list;
}

void TGraphConstraints::SetBoundsRect(const TRect& Rect) {
  if (Rect == fBoundsRect) return;
  fBoundsRect = Rect;
  DoChange();
}

void TGraphConstraints::SetBounds(int32_t aLeft, int32_t aTop, int32_t aWidth, int32_t aHeight) {
  SetBoundsRect({aLeft, aTop, aLeft + aWidth, aTop + aHeight});
}

void TGraphConstraints::SetMinLeft(int32_t v) {
  TRect r = fBoundsRect;
  r.Left = v;
  SetBoundsRect(r);
}

void TGraphConstraints::SetMinTop(int32_t v) {
  TRect r = fBoundsRect;
  r.Top = v;
  SetBoundsRect(r);
}

void TGraphConstraints::SetMaxRight(int32_t v) {
  TRect r = fBoundsRect;
  r.Right = v;
  SetBoundsRect(r);
}

void TGraphConstraints::SetMaxBottom(int32_t v) {
  TRect r = fBoundsRect;
  r.Bottom = v;
  SetBoundsRect(r);
}

void TGraphConstraints::DoChange() {
  if (fOwner) {
    fOwner->RecalcScrollRanges();
    fOwner->Invalidate();
  }
  if (OnChange) OnChange(this);
}

bool TGraphConstraints::WithinBounds(const TPoint& Pt) const { return fBoundsRect.Contains(Pt); }

bool TGraphConstraints::WithinBounds(const TPoints& Points) const {
  for (const TPoint& p : Points)
    if (!fBoundsRect.Contains(p)) return false;
  return true;
}

bool TGraphConstraints::ConfinePt(TPoint& Pt) const {
  bool inside = true;
  if (Pt.X < fBoundsRect.Left) {
    Pt.X = fBoundsRect.Left;
    inside = false;
  } else if (Pt.X > fBoundsRect.Right) {
    Pt.X = fBoundsRect.Right;
    inside = false;
  }
  if (Pt.Y < fBoundsRect.Top) {
    Pt.Y = fBoundsRect.Top;
    inside = false;
  } else if (Pt.Y > fBoundsRect.Bottom) {
    Pt.Y = fBoundsRect.Bottom;
    inside = false;
  }
  return inside;
}

bool TGraphConstraints::ConfineRect(TRect& Rect) const {
  TRect old = Rect;
  Rect.Left = std::max(Rect.Left, fBoundsRect.Left);
  Rect.Right = std::min(Rect.Right, fBoundsRect.Right);
  Rect.Top = std::max(Rect.Top, fBoundsRect.Top);
  Rect.Bottom = std::min(Rect.Bottom, fBoundsRect.Bottom);
  return Rect == old;
}

bool TGraphConstraints::ConfineOffset(int32_t& DX, int32_t& DY, TObjectSides Mobility) const {
  const TRect& S = fSourceRect;
  const TRect& B = fBoundsRect;
  if ((Mobility & osLeft) && S.Left + DX < B.Left) DX = B.Left - S.Left;
  if ((Mobility & osTop) && S.Top + DY < B.Top) DY = B.Top - S.Top;
  if ((Mobility & osRight) && S.Right + DX > B.Right) DX = B.Right - S.Right;
  if ((Mobility & osBottom) && S.Bottom + DY > B.Bottom) DY = B.Bottom - S.Bottom;
  return DX != 0 || DY != 0;
}
