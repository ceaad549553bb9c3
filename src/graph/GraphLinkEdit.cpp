// Editing a link: the mouse edits on a selected link (insert, remove and
// move points, move the polyline, hook a dropped end), drag moves, keyboard
// resizing, and turning, scaling and reversing.
#include "Geometry.h"
#include "GraphEditor.h"
#include "GraphLink.h"
#include "IntMath.h"

namespace {
constexpr TGraphChangeFlags kPointsChanged = gcView | gcData | gcText | gcPlacement;

THitCode LowWord(THitCode HitCode) { return HitCode & 0xFFFF; }
int IndexOf(THitCode HitCode) { return int(HitCode >> 16); }
THitCode PointCode(int Index) { return (THitCode(Index) << 16) | htLinkPoint; }
}  // namespace

// ---------------------------------------------------------------------------
// Choosing and showing the edit

void TGraphLink::ChooseChangeMode(THitCode HitCode, TShiftState Shift) {
  fChangeMode = lcmNone;
  int index = IndexOf(HitCode);
  bool alt = Shift & ssAlt;
  bool breakPointsFixed = fLinkOptions & gloFixedBreakPoints;
  switch (LowWord(HitCode) & ~htBody) {
    case htCaption:
      if (!breakPointsFixed && HookedPointCount() < fPointCount) fChangeMode = lcmMovePolyline;
      break;
    case htLinkPoint:
      // A hooked end may be dragged off its object.
      if (!IsFixedPoint(index, false)) fChangeMode = alt ? lcmRemovePoint : lcmMovePoint;
      break;
    case htLinkSegment:
      if (breakPointsFixed) break;
      if (alt)
        fChangeMode = lcmInsertPoint;
      else if (!IsFixedPoint(index, true) && !IsFixedPoint(index + 1, true))
        fChangeMode = lcmMovePolyline;
      break;
    default: break;
  }
}

TCursor TGraphLink::CursorForHit(THitCode HitCode) const {
  switch (LowWord(HitCode) & ~htBody) {
    case htCaption: return fChangeMode == lcmMovePolyline ? crSizeAll : crHandPoint;
    case htLinkPoint:
      if (fChangeMode == lcmRemovePoint) return crXHair3;
      if (fChangeMode == lcmMovePoint) return fAcceptingHook ? crXHairLink : crXHair2;
      return crHandPoint;
    case htLinkSegment:
      if (fChangeMode == lcmInsertPoint) return crXHair1;
      if (fChangeMode == lcmMovePolyline) return crSizeAll;
      return crHandPoint;
    default: break;
  }
  if (HitCode == htBody) return crHandPoint;
  return TGraphObject::CursorForHit(HitCode);
}

TObjectSides TGraphLink::SidesForHit(THitCode HitCode) const {
  return (HitCode & (htBody | htCaption | htLinkPoint)) ? osAllSides : TObjectSides(0);
}

bool TGraphLink::StartDragging(THitCode HitCode) {
  // Followers move as a whole; a point drag belongs to its own link only.
  if (!(HitCode & (htBody | htCaption))) return false;
  return TGraphObject::StartDragging(HitCode);
}

void TGraphLink::SnapHitOffset(THitCode HitCode, int32_t& DX, int32_t& DY) const {
  THitCode low = LowWord(HitCode);
  if (low & htLinkPoint) {
    int index = IndexOf(HitCode);
    if (index < fPointCount) fOwner->SnapOffset(fPoints[size_t(index)], DX, DY);
    return;
  }
  if ((low & (htBody | htCaption)) && fPointCount > 0) fOwner->SnapOffset(fPoints[0], DX, DY);
}

// ---------------------------------------------------------------------------
// Moving

bool TGraphLink::MoveHit(THitCode HitCode, int32_t DX, int32_t DY) {
  THitCode low = LowWord(HitCode);
  if (low & htLinkPoint) {
    int index = IndexOf(HitCode);
    if (index >= fPointCount || IsFixedPoint(index, true)) return false;
    fPoints[size_t(index)] = fPoints[size_t(index)] + TPoint(DX, DY);
    ApplyChanges(kPointsChanged);
    return true;
  }
  if (low & (htBody | htCaption)) return MoveWholeLink(DX, DY);
  return ResizeByHandle(low, DX, DY);
}

bool TGraphLink::MoveWholeLink(int32_t DX, int32_t DY) {
  int moved = 0;
  for (int i = 0; i < fPointCount; ++i) {
    if (IsFixedPoint(i, true)) continue;  // hooked ends stay with their objects
    fPoints[size_t(i)] = fPoints[size_t(i)] + TPoint(DX, DY);
    ++moved;
  }
  if (moved == 0) return false;
  if (moved == fPointCount && !ChangesHeld())
    GeometryChanged(DX, DY, 0, 0);
  else
    ApplyChanges(kPointsChanged);
  return true;
}

bool TGraphLink::ResizeByHandle(THitCode HitCode, int32_t DX, int32_t DY) {
  // The side opposite the handle stays; the points spread from it.
  TRect b = GetBoundsRect();
  int32_t midX = Div(b.Left + b.Right, 2), midY = Div(b.Top + b.Bottom, 2);
  struct TStretch {
    TPoint Ref;
    int32_t OX, OY;
  } s;
  switch (HitCode) {
    case htLeftHandle: s = {{b.Right, midY}, -DX, 0}; break;
    case htTopHandle: s = {{midX, b.Bottom}, 0, -DY}; break;
    case htRightHandle: s = {{b.Left, midY}, DX, 0}; break;
    case htBottomHandle: s = {{midX, b.Top}, 0, DY}; break;
    case htTopLeftHandle: s = {{b.Right, b.Bottom}, -DX, -DY}; break;
    case htTopRightHandle: s = {{b.Left, b.Bottom}, DX, -DY}; break;
    case htBottomLeftHandle: s = {{b.Right, b.Top}, -DX, DY}; break;
    case htBottomRightHandle: s = {{b.Left, b.Top}, DX, DY}; break;
    default: return false;
  }
  if (!CanMove()) return false;
  ExpandPoints(fPoints, s.OX, s.OY, s.Ref);
  ApplyChanges(kPointsChanged);
  return true;
}

void TGraphLink::ShiftBy(int32_t DX, int32_t DY) {
  if (fPointCount == 0 || (DX == 0 && DY == 0)) return;
  TranslatePoints(fPoints, DX, DY);
  if (ChangesHeld())
    ApplyChanges(kPointsChanged);
  else
    GeometryChanged(DX, DY, 0, 0);
}

bool TGraphLink::Rotate(double Angle, const TPoint& Origin) {
  if (!CanMove() || fPointCount < 2) return false;
  TPoints turned = fPoints;
  TurnPoints(turned, Origin, Angle);
  if (!fOwner->GraphConstraints()->WithinBounds(turned)) return false;
  SetPolyline(turned);
  return true;
}

bool TGraphLink::Scale(double Factor) {
  if (!CanMove() || fPointCount < 2) return false;
  TPoints scaled = fPoints;
  StretchPoints(scaled, AveragePoint(scaled), Factor);
  if (!fOwner->GraphConstraints()->WithinBounds(scaled)) return false;
  SetPolyline(scaled);
  return true;
}

void TGraphLink::Reverse() {
  TGraphObject* oldSource = fSource;
  TGraphObject* oldTarget = fTarget;
  std::swap(fSource, fTarget);
  std::swap(fSourceID, fTargetID);
  // The hooked objects' lists follow the ends they now hold.
  if (oldSource) {
    oldSource->LinkOutputList().Remove(this);
    oldSource->LinkInputList().Add(this);
  }
  if (oldTarget) {
    oldTarget->LinkInputList().Remove(this);
    oldTarget->LinkOutputList().Add(this);
  }
  if (fTextPosition >= 0 && fPointCount > 2) fTextPosition = fPointCount - fTextPosition - 2;
  std::reverse(fPoints.begin(), fPoints.end());
  // The caption is laid out again: its margin comes from the shape at
  // the end that now carries it.
  ApplyChanges(gcView | gcData | gcText | gcPlacement);
}

// ---------------------------------------------------------------------------
// The mouse

void TGraphLink::BendDraggedPoint(const TPoint& Pt, TShiftState Shift) {
  TPoint bend = bool(Shift & ssCtrl) != fOwner->SnapToGrid() ? fOwner->SnapPoint(Pt) : Pt;
  fOwner->GraphConstraints()->ConfinePt(bend);
  if (fMovingPoint > 0) {
    BeginDrag(Pt, PointCode(fMovingPoint + 1));
    InsertPoint(fMovingPoint, bend);
    ++fMovingPoint;
  } else if (fMovingPoint == 0) {
    BeginDrag(Pt, PointCode(0));
    InsertPoint(1, bend);
  }
}

bool TGraphLink::StartEdit(TShiftState Shift, const TPoint& Pt, bool& DragSuspended) {
  THitCode hit = HitTest(Pt);
  ChooseChangeMode(hit, Shift);
  switch (fChangeMode) {
    case lcmInsertPoint:
      fMovingPoint = AddBreakPoint(Pt);
      fChangeMode = fMovingPoint > 0 ? lcmMovePoint : lcmNone;
      if (fMovingPoint <= 0) {
        fMovingPoint = -1;
        SuspendDrag();
        DragSuspended = true;
      }
      return false;
    case lcmRemovePoint:
      RemovePoint(IndexOf(hit));
      if (fPointCount == 0) {
        Destroy();
        return true;
      }
      if (Dragging()) EndDrag(true);
      fOwner->SetScreenCursor(CursorForHit(hit));
      return true;
    case lcmMovePoint:
      fMovingPoint = IndexOf(hit);
      fHookingObject = HookedObjectOf(fMovingPoint);
      fDragStartHook = fHookingObject;
      fAcceptingHook = fHookingObject != nullptr;
      // The end leaves its object at once; dropping it back hooks it again.
      Unhook(fMovingPoint);
      return false;
    case lcmMovePolyline: fMovingPoint = -1; return false;
    case lcmNone:
      SuspendDrag();
      DragSuspended = true;
      return false;
  }
  return false;
}

void TGraphLink::HandleMouseDown(TMouseButton Button, TShiftState Shift, const TPoint& Pt) {
  bool wasDragging = Dragging();
  if (wasDragging) EndDrag(true);
  if (wasDragging && (Shift & ssRight) && fChangeMode == lcmMovePoint) {
    BendDraggedPoint(Pt, Shift);
    return;
  }
  bool suspended = false;
  if (Button == mbLeft && fSelected && !IsLocked()) {
    // A removed point finishes the press here (and may have freed the link).
    if (StartEdit(Shift, Pt, suspended)) return;
  }
  TGraphObject::HandleMouseDown(Button, Shift, Pt);
  if (suspended) ResumeDrag();
}

void TGraphLink::TrackHookTarget(TShiftState Shift, const TPoint& Pt) {
  fHookingObject = fOwner->FindObjectAt(Pt.X, Pt.Y);
  bool accept = !(Shift & ssAlt) && CanHook(fMovingPoint, fHookingObject);
  if (accept == fAcceptingHook) return;
  fAcceptingHook = accept;
  fOwner->SetScreenCursor(CursorForHit(PointCode(fMovingPoint)));
}

void TGraphLink::HandleMouseMove(TShiftState Shift, const TPoint& Pt) {
  if (!Dragging() && fSelected && !IsLocked())
    ChooseChangeMode(HitTest(Pt), Shift);
  else if (fChangeMode == lcmMovePoint && IsEndIndex(fMovingPoint))
    TrackHookTarget(Shift, Pt);
  TPoint target;
  if (Dragging() && fChangeMode == lcmMovePoint && PointDropTarget(Shift, Pt, target)) {
    DragTo(target, false);
    return;
  }
  TGraphObject::HandleMouseMove(Shift, Pt);
}

bool TGraphLink::PointDropTarget(TShiftState Shift, const TPoint& Pt, TPoint& Target) {
  int anchorIndex = fMovingPoint > 0 ? fMovingPoint - 1 : 1;
  if ((Shift & ssShift) && fMovingPoint >= 0 && anchorIndex < fPointCount) {
    TPoint free = fOwner->SnapToGrid() != bool(Shift & ssCtrl) ? fOwner->SnapPoint(Pt) : Pt;
    Target = ConstrainToEighths(fPoints[size_t(anchorIndex)], free);
    return true;
  }
  // Another link's end or bend close by wins over the grid, so rooms close.
  return fOwner->FindLinkPointNear(Pt, this, Target);
}

void TGraphLink::DropMovingPoint(const TPoint& Pt) {
  if (!Dragging() || fChangeMode != lcmMovePoint) return;
  DragTo(Pt, false);
  if (IsEndIndex(fMovingPoint)) TrackHookTarget(0, Pt);
  HandleMouseUp(mbLeft, 0, Pt);
}

void TGraphLink::HandleMouseUp(TMouseButton Button, TShiftState Shift, const TPoint& Pt) {
  // Releasing the right button ends a bend, not the drag of the point.
  if (Dragging() && fChangeMode == lcmMovePoint && Button == mbRight) return;
  TGraphObject::HandleMouseUp(Button, Shift, Pt);
  // The object under the mouse may have left the graph during the drag.
  if (fChangeMode == lcmMovePoint && fAcceptingHook && fOwner->Objects().Contains(fHookingObject))
    Hook(fMovingPoint, fHookingObject);
  EndPointEdit();
}

void TGraphLink::EndPointEdit() {
  fMovingPoint = -1;
  fHookingObject = nullptr;
  fDragStartHook = nullptr;
  fAcceptingHook = false;
  fChangeMode = lcmNone;
}

bool TGraphLink::HandleKeyDown(int& Key, TShiftState Shift) {
  bool cancelsPointDrag = Key == Qt::Key_Escape && Dragging() && fChangeMode == lcmMovePoint;
  TGraphObject* original = fDragStartHook;
  int index = fMovingPoint;
  bool used = TGraphObject::HandleKeyDown(Key, Shift);
  if (!cancelsPointDrag) return used;
  // The cancelled drag restored the point; the hook its press undid comes back too.
  EndPointEdit();
  if (original && fOwner->Objects().Contains(original)) Hook(index, original);
  return used;
}

TRect TGraphLink::DragRect(THitCode HitCode) const {
  // Dragging one point moves only that point: the rest of the line must not
  // stop it at the graph's edge.
  int index = int(HitCode >> 16);
  if ((HitCode & 0xFFFF & ~htBody) == htLinkPoint && index < fPointCount) {
    const TPoint& p = fPoints[size_t(index)];
    return {p.X, p.Y, p.X, p.Y};
  }
  return TGraphObject::DragRect(HitCode);
}
