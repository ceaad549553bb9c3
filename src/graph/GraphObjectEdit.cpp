// How an object answers the mouse and keyboard: hit tests, dragging and the
// arrow-key nudges.
#include "Canvas.h"
#include "GraphConstraints.h"
#include "GraphEditor.h"
#include "GraphObject.h"

// ---------------------------------------------------------------------------
// Hit testing

THitCode TGraphObject::HitTest(const TPoint& Pt) const {
  if (!Showing()) return htNone;
  TRect area = fSelected ? GetSelectedVisualRect() : fVisualRect;
  if (!area.Contains(Pt)) return htNone;
  THitCode code = LocateHit(Pt);
  if (code != htNone && !(fOptions & goSelectable)) return htObject;
  return code;
}

bool TGraphObject::ContainsRect(const TRect& Rect) const {
  if (!Showing()) return false;
  TRect area = fSelected ? GetSelectedVisualRect() : fVisualRect;
  return !(Rect.Right < area.Left || area.Right < Rect.Left || Rect.Bottom < area.Top || area.Bottom < Rect.Top);
}

TCursor TGraphObject::CursorForHit(THitCode) const { return fOwner->Cursor(); }

// ---------------------------------------------------------------------------
// Dragging

bool TGraphObject::BeginDrag(const TPoint& Pt, THitCode HT) {
  if (Has(osDragDisabled)) return false;
  if (fOwner->DragSource() && fOwner->DragSource() != this) return false;
  if (HT == THitCode(-1)) HT = HitTest(Pt);
  if (!fOwner->StartObjectsDrag(this, Pt, HT)) return false;
  Include(osDragging);
  ApplyChanges(gcView);
  return true;
}

bool TGraphObject::DragTo(const TPoint& Pt, bool SnapToGrid) {
  TPoint from = fOwner->DragTargetPt();
  return DragBy(Pt.X - from.X, Pt.Y - from.Y, SnapToGrid);
}

bool TGraphObject::DragBy(int32_t dX, int32_t dY, bool SnapToGrid) {
  if (fOwner->DragSource() != this) return false;
  if (dX == 0 && dY == 0) return true;
  if (SnapToGrid) SnapHitOffset(fOwner->DragHitTest(), dX, dY);
  fOwner->DragObjectsBy(dX, dY);
  return true;
}

bool TGraphObject::EndDrag(bool Accept) {
  if (fOwner->DragSource() != this) return false;
  Exclude(osDragging);
  ApplyChanges(gcView);
  fOwner->FinishObjectsDrag(Accept);
  return true;
}

bool TGraphObject::StartDragging(THitCode) {
  if (Has(osDragDisabled) && !IsLocked()) return false;
  Include(osDragging);
  ApplyChanges(gcView);
  return true;
}

bool TGraphObject::StopDragging() {
  if (!Dragging()) return false;
  Exclude(osDragging);
  ApplyChanges(gcView);
  return true;
}

void TGraphObject::SuspendDrag() {
  if (DragDisableCount == 0) Include(osDragDisabled);
  ++DragDisableCount;
}

void TGraphObject::ResumeDrag() {
  --DragDisableCount;
  if (DragDisableCount == 0) Exclude(osDragDisabled);
}

// ---------------------------------------------------------------------------
// Mouse and keyboard

void TGraphObject::HandleMouseDown(TMouseButton Button, TShiftState Shift, const TPoint& Pt) {
  if (Dragging()) EndDrag(true);
  if (fSelected && (Shift & ssShift)) {
    SetSelected(false);
  } else if (!fSelected && (fOptions & goSelectable)) {
    if (!(Shift & ssShift)) fOwner->SelectedObjects().Clear();
    SetSelected(true);
  }
  THitCode hit = HitTest(Pt);
  if (Button == mbLeft && !(Shift & ssDouble) && fSelected && !IsLocked()) BeginDrag(Pt, hit);
  fOwner->SetScreenCursor(CursorForHit(hit));
}

void TGraphObject::HandleMouseMove(TShiftState Shift, const TPoint& Pt) {
  if (Dragging()) {
    bool snap = fOwner->SnapToGrid() != bool(Shift & ssCtrl);
    DragTo(Pt, snap);
    return;
  }
  fOwner->SetScreenCursor(CursorForHit(HitTest(Pt)));
}

void TGraphObject::HandleMouseUp(TMouseButton, TShiftState, const TPoint& Pt) {
  if (!Dragging()) return;
  EndDrag(true);
  fOwner->SetScreenCursor(CursorForHit(HitTest(Pt)));
}

bool TGraphObject::HandleKeyDown(int& Key, TShiftState Shift) {
  if (Key == Qt::Key_Escape) {
    if (!Dragging()) return false;
    EndDrag(false);
    return true;
  }
  // A lock holds against the keyboard as it does against the mouse.
  if (IsLocked()) return false;
  int32_t dx = 0, dy = 0;
  switch (Key) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Down: dy = 1; break;
    default: return false;
  }
  if (Shift & ~(ssShift | ssCtrl)) return false;
  if (bool(Shift & ssCtrl) != fOwner->SnapToGrid()) {
    dx *= fOwner->GridSize();
    dy *= fOwner->GridSize();
  }
  TObjectSides sides = (Shift & ssShift) ? TObjectSides(osRight | osBottom) : osAllSides;
  THitCode code = (Shift & ssShift) ? htBottomRightHandle : htBody;
  if (fOwner->GraphConstraints()->ConfineOffset(dx, dy, sides)) MoveHit(code, dx, dy);
  return true;
}
