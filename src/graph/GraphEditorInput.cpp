// Mouse, keyboard, wheel, focus, context menu and hint handling of the
// graph control: turns platform input into editing.
#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusTipEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

#include "GraphCursors.h"
#include "GraphEditor.h"
#include "GraphLink.h"
#include "GraphNode.h"
#include "IntMath.h"
#include "UpdateBracket.h"

namespace {
TShiftState ShiftOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
  TShiftState s = 0;
  if (mods & Qt::ShiftModifier) s |= ssShift;
  if (mods & Qt::AltModifier) s |= ssAlt;
  if (mods & Qt::ControlModifier) s |= ssCtrl;
  if (buttons & Qt::LeftButton) s |= ssLeft;
  if (buttons & Qt::RightButton) s |= ssRight;
  if (buttons & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

bool ButtonOf(Qt::MouseButton b, TMouseButton& out) {
  switch (b) {
    case Qt::LeftButton: out = mbLeft; return true;
    case Qt::RightButton: out = mbRight; return true;
    case Qt::MiddleButton: out = mbMiddle; return true;
    default: return false;
  }
}
}  // namespace

QCursor CursorFromId(TCursor Cursor, double PixelRatio) {
  switch (Cursor) {
    case crArrow: return Qt::ArrowCursor;
    case crCross: return Qt::CrossCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: break;
  }
  if (Cursor >= crHandFlat && Cursor <= crXHairLink) return GraphCursor(Cursor, PixelRatio);
  return Qt::ArrowCursor;
}

void TGraphEditor::SetScreenCursor(TCursor Cursor) {
  fScreenCursor = Cursor;
  viewport()->setCursor(CursorFromId(Cursor, viewport()->devicePixelRatioF()));
}

TPoint TGraphEditor::ClientPointOf(const QPointF& P) const {
  return {int32_t(std::floor(P.x())), int32_t(std::floor(P.y()))};
}

// ---------------------------------------------------------------------------
// Object under the mouse

void TGraphEditor::TrackObjectAtCursor(const TPoint& Pt) {
  ChangeObjectAtCursor(fDragSource ? fDragSource : FindObjectAt(Pt.X, Pt.Y));
}

void TGraphEditor::ChangeObjectAtCursor(TGraphObject* GraphObject) {
  if (GraphObject == fObjectAtCursor) return;
  if (fObjectAtCursor) NotifyObjectMouseLeave(fObjectAtCursor);
  fObjectAtCursor = GraphObject;
  if (GraphObject) NotifyObjectMouseEnter(GraphObject);
  if (!fDragSource) CancelHint();
}

void TGraphEditor::CancelHint() { QToolTip::hideText(); }

namespace {
// The area whose objects a band may touch: normalised, with a pixel to
// spare for shapes whose outline reaches their right and bottom edges.
TRect BandArea(const TRect& Rect) {
  return {std::min(Rect.Left, Rect.Right) - 1, std::min(Rect.Top, Rect.Bottom) - 1, std::max(Rect.Left, Rect.Right) + 1,
          std::max(Rect.Top, Rect.Bottom) + 1};
}

// Raises a flag for its lifetime and gives back its old value.
class TFlagHold {
 public:
  explicit TFlagHold(bool& Flag) : fFlag(Flag), fSaved(Flag) { fFlag = true; }
  ~TFlagHold() { fFlag = fSaved; }
  TFlagHold(const TFlagHold&) = delete;
  TFlagHold& operator=(const TFlagHold&) = delete;

 private:
  bool& fFlag;
  bool fSaved;
};

// One step of the search for the object at a point, over the objects from
// the top down: the first hit is the answer unless something is selected,
// in which case a selected object further down may take its place.
class TObjectAtSearch {
 public:
  TObjectAtSearch(const TPoint& Pt, bool SomethingSelected) : fPt(Pt), fSomethingSelected(SomethingSelected) {}
  // Answers true when the search is over.
  bool Consider(TGraphObject* Object) {
    THitCode hit = Object->HitTest(fPt);
    if (hit == htNone) return false;
    if (!fAnswer) {
      fAnswer = Object;
      return !fSomethingSelected || Object->Selected();
    }
    if (!Object->Selected()) return false;
    if (!Object->IsLink() && (hit & (htBody | htCaption))) return false;
    fAnswer = Object;
    return true;
  }
  TGraphObject* Answer() const { return fAnswer; }

 private:
  TPoint fPt;
  bool fSomethingSelected;
  TGraphObject* fAnswer = nullptr;
};
}  // namespace

TGraphObject* TGraphEditor::FindObjectAt(int32_t X, int32_t Y, TGraphObject* LookAfter) {
  if (!fSpatialIndexEnabled || !fSpatialIndex.Usable()) return FindObjectAtByScan(X, Y, LookAfter);
  // The index hands over the objects whose area holds the point, top down:
  // every other object's hit test answers htNone, so the scan would pass it.
  // The list is kept between calls (this runs at every mouse move) unless a
  // hit test asks again while it is in use.
  std::vector<TGraphObject*> own;
  std::vector<TGraphObject*>& candidates = fFindingObject ? own : fObjectsAtPoint;
  TFlagHold busy(fFindingObject);
  fSpatialIndex.ObjectsAt({X, Y}, LookAfter, candidates);
  TObjectAtSearch search({X, Y}, fSelectedObjects.Count() > 0);
  for (TGraphObject* o : candidates)
    if (o != fDragSource && search.Consider(o)) break;
  return search.Answer();
}

// The definition: the whole list from the top (or from below LookAfter).
TGraphObject* TGraphEditor::FindObjectAtByScan(int32_t X, int32_t Y, TGraphObject* LookAfter) {
  int start = LookAfter ? LookAfter->ZOrder() - 1 : fObjects.Count() - 1;
  TObjectAtSearch search({X, Y}, fSelectedObjects.Count() > 0);
  for (int i = start; i >= 0; --i) {
    TGraphObject* o = fObjects[i];
    if (o != fDragSource && search.Consider(o)) break;
  }
  return search.Answer();
}

// ---------------------------------------------------------------------------
// Selection helpers

void TGraphEditor::ToggleSelection(const TRect& Rect, bool KeepOld, TGraphObjectClass GraphObjectClass) {
  if (!GraphObjectClass) GraphObjectClass = &TGraphObject::ClassInfo;
  auto toggle = [&](TGraphObject* o) {
    if (o->InheritsFrom(GraphObjectClass) && o->ContainsRect(Rect))
      o->SetSelected(KeepOld ? !o->Selected() : true);
    else if (!KeepOld)
      o->SetSelected(false);
  };
  WithinUpdate(*this, [&] {
    if (fSpatialIndexEnabled && fSpatialIndex.Usable()) {
      // Only the objects near the band can be in it, and only selected ones
      // can change otherwise: those, in list order, take the same steps.
      std::vector<TGraphObject*> affected;
      fSpatialIndex.ObjectsIn(BandArea(Rect), affected);
      if (!KeepOld) MergeSelected(affected);
      for (TGraphObject* o : affected) toggle(o);
    } else {
      for (int i = 0; i < fObjects.Count(); ++i) toggle(fObjects[i]);
    }
  });
}

void TGraphEditor::MergeSelected(std::vector<TGraphObject*>& Objects) {
  if (fSelectedObjects.Count() == 0) return;
  std::vector<std::pair<int, TGraphObject*>> ordered;
  ordered.reserve(Objects.size() + size_t(fSelectedObjects.Count()));
  for (TGraphObject* o : Objects) ordered.emplace_back(ZOrderOf(o), o);
  for (TGraphObject* o : fSelectedObjects) ordered.emplace_back(ZOrderOf(o), o);
  std::sort(ordered.begin(), ordered.end());
  ordered.erase(std::unique(ordered.begin(), ordered.end()), ordered.end());
  Objects.clear();
  for (const auto& entry : ordered) Objects.push_back(entry.second);
}

TGraphObject* TGraphEditor::FindNextObject(int StartIndex, bool Inclusive, bool Backward, bool Wrap,
                                           TGraphObjectClass GraphObjectClass) {
  if (!GraphObjectClass) GraphObjectClass = &TGraphObject::ClassInfo;
  int count = fObjects.Count();
  auto candidate = [&](int i) { return fObjects[i]->InheritsFrom(GraphObjectClass); };
  if (!Backward) {
    for (int i = Inclusive ? StartIndex : StartIndex + 1; i < count; ++i)
      if (i >= 0 && candidate(i)) return fObjects[i];
    if (Wrap)
      for (int i = 0; i < StartIndex && i < count; ++i)
        if (candidate(i)) return fObjects[i];
    return nullptr;
  }
  int from = Inclusive ? StartIndex : StartIndex - 1;
  for (int i = std::min(from, count - 1); i >= 0; --i)
    if (candidate(i)) return fObjects[i];
  if (Wrap)
    for (int i = count - 1; i > StartIndex && i >= 0; --i)
      if (candidate(i)) return fObjects[i];
  return nullptr;
}

bool TGraphEditor::SelectNextObject(bool Backward, TGraphObjectClass GraphObjectClass) {
  if (fObjects.Count() == 0) return false;
  TGraphObjectClass cls = GraphObjectClass ? GraphObjectClass : &TGraphObject::ClassInfo;
  TGraphObject* current = nullptr;
  for (TGraphObject* o : fSelectedObjects)
    if (o->InheritsFrom(cls)) {
      current = o;
      break;
    }
  for (int examined = 0; examined <= fObjects.Count(); ++examined) {
    int index = current ? current->ZOrder() : -1;
    current = FindNextObject(index, false, Backward, true, GraphObjectClass);
    if (!current || (current->Options() & goSelectable)) break;
  }
  if (!current || !(current->Options() & goSelectable)) return false;
  fSelectedObjects.Clear();
  current->SetSelected(true);
  ScrollInView(current);
  return true;
}

// ---------------------------------------------------------------------------
// Mouse

bool TGraphEditor::viewportEvent(QEvent* Event) {
  switch (Event->type()) {
    case QEvent::ToolTip: ShowHint(Event); return true;
    case QEvent::Leave:
      if (QApplication::mouseButtons() == Qt::NoButton) {
        fMouseKnown = false;
        ChangeObjectAtCursor(nullptr);
        SetScreenCursor(crDefault);
      }
      break;
    default: break;
  }
  return QAbstractScrollArea::viewportEvent(Event);
}

void TGraphEditor::mousePressEvent(QMouseEvent* Event) {
  TMouseButton button;
  if (!ButtonOf(Event->button(), button)) return;
  TPoint p = ClientPointOf(Event->position());
  fMouseClientPos = QPoint(p.X, p.Y);
  fMouseKnown = true;
  if (button == mbLeft) fClicked = true;
  HandleMouseDown(button, ShiftOf(Event->modifiers(), Event->buttons()), p);
}

void TGraphEditor::mouseDoubleClickEvent(QMouseEvent* Event) {
  TMouseButton button;
  if (!ButtonOf(Event->button(), button)) return;
  TPoint p = ClientPointOf(Event->position());
  fMouseClientPos = QPoint(p.X, p.Y);
  fMouseKnown = true;
  if (button == mbLeft) DblClick();
  HandleMouseDown(button, ShiftOf(Event->modifiers(), Event->buttons()) | ssDouble, p);
}

void TGraphEditor::mouseMoveEvent(QMouseEvent* Event) {
  TPoint p = ClientPointOf(Event->position());
  fMouseClientPos = QPoint(p.X, p.Y);
  fMouseKnown = true;
  HandleMouseMove(ShiftOf(Event->modifiers(), Event->buttons()), p);
}

void TGraphEditor::mouseReleaseEvent(QMouseEvent* Event) {
  TMouseButton button;
  if (!ButtonOf(Event->button(), button)) return;
  TPoint p = ClientPointOf(Event->position());
  fMouseClientPos = QPoint(p.X, p.Y);
  fMouseKnown = true;
  if (button == mbLeft && fClicked) {
    fClicked = false;
    if (viewport()->rect().contains(p.X, p.Y)) Click();
  }
  HandleMouseUp(button, ShiftOf(Event->modifiers(), Event->buttons()), p);
}

void TGraphEditor::HandleMouseDown(TMouseButton Button, TShiftState Shift, const TPoint& P) {
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  if (OnMouseDown) OnMouseDown(this, Button, Shift, P.X, P.Y);
  TPoint g = ClientToGraph(P.X, P.Y);
  TrackObjectAtCursor(g);
  bool plainLeft = Button == mbLeft && !(Shift & ssDouble);
  switch (fCommandMode) {
    case cmPan:
      if (plainLeft) {
        fDragSourcePt = P;
        SetScreenCursor(crHandGrab);
      }
      break;
    case cmViewOnly:
    case cmEdit:
      if (fObjectAtCursor && fCommandMode != cmViewOnly && (fObjectAtCursor->Options() & goSelectable)) {
        fObjectAtCursor->HandleMouseDown(Button, Shift, g);
      } else if (plainLeft) {
        fDragSourcePt = fDragTargetPt = g;
        ChangeMarkedArea(TRect(g, g));
        SetScreenCursor(crCross);
      }
      break;
    case cmInsertNode:
    case cmInsertLink: {
      if (fDragSource) {
        fDragSource->HandleMouseDown(Button, Shift, g);
        break;
      }
      if (!plainLeft) break;
      bool snap = fSnapToGrid != bool(Shift & ssCtrl);
      TGraphObjectClass cls = fCommandMode == cmInsertNode ? fDefaultNodeClass : fDefaultLinkClass;
      // A new line starts exactly on a line point close by, not beside it.
      if (fCommandMode == cmInsertLink && FindLinkPointNear(g, nullptr, g)) snap = false;
      TGraphObject* o = PlaceObjectAt(g, cls, snap);
      if (!o) break;
      o->SetSelected(true);
      o->HandleMouseDown(Button, Shift, g);
      if (o == fDragSource) {
        SetCursorPos(g);
      } else {
        SetCommandMode(cmEdit);
        ReportObjectChange(o, gcData);
      }
      ChangeObjectAtCursor(o);
      break;
    }
  }
}

void TGraphEditor::HandleMouseMove(TShiftState Shift, const TPoint& P) {
  TPoint g = ClientToGraph(P.X, P.Y);
  TrackObjectAtCursor(g);
  if (fCommandMode == cmPan) {
    if (Shift & ssLeft) {
      if (fHorzScrollBar->IsScrollBarVisible()) {
        fHorzScrollBar->SetPosition(
            std::clamp(fHorzScrollBar->Position() + fDragSourcePt.X - P.X, 0, fHorzScrollBar->Range()));
        fDragSourcePt.X = P.X;
      }
      if (fVertScrollBar->IsScrollBarVisible()) {
        fVertScrollBar->SetPosition(
            std::clamp(fVertScrollBar->Position() + fDragSourcePt.Y - P.Y, 0, fVertScrollBar->Range()));
        fDragSourcePt.Y = P.Y;
      }
    } else {
      SetScreenCursor(crHandFlat);
    }
  } else if (fValidMarkedArea) {
    fDragTargetPt = g;
    TRect band{std::min(fDragSourcePt.X, g.X), std::min(fDragSourcePt.Y, g.Y), std::max(fDragSourcePt.X, g.X),
               std::max(fDragSourcePt.Y, g.Y)};
    ChangeMarkedArea(band);
    ScrollInView(fDragTargetPt);
  } else if (fObjectAtCursor && fCommandMode != cmViewOnly) {
    fObjectAtCursor->HandleMouseMove(Shift, g);
  } else if (fCommandMode == cmInsertNode || fCommandMode == cmInsertLink) {
    SetScreenCursor(crXHair1);
  } else {
    SetScreenCursor(fCursor);
  }
  if (OnMouseMove) OnMouseMove(this, Shift, P.X, P.Y);
}

void TGraphEditor::HandleMouseUp(TMouseButton Button, TShiftState Shift, const TPoint& P) {
  TPoint g = ClientToGraph(P.X, P.Y);
  TrackObjectAtCursor(g);
  if (fCommandMode == cmPan) {
    if (Button == mbLeft) SetScreenCursor(crHandFlat);
  } else if (fValidMarkedArea) {
    if (Shift & ssAlt) {
      if (!fMarkedArea.IsEmpty()) ZoomRect(fMarkedArea);
    } else if (fCommandMode == cmEdit) {
      ToggleSelection(fMarkedArea, Shift & ssShift, (Shift & ssCtrl) ? &TGraphNode::ClassInfo : nullptr);
    }
    ChangeMarkedArea(InvertedRect);
    SetScreenCursor(fCursor);
  } else if (fObjectAtCursor && fCommandMode != cmViewOnly) {
    fObjectAtCursor->HandleMouseUp(Button, Shift, g);
  } else {
    SetScreenCursor(fCursor);
  }
  if (OnMouseUp) OnMouseUp(this, Button, Shift, P.X, P.Y);
}

void TGraphEditor::Click() {
  if (fSelectedObjects.Count() > 0)
    NotifyObjectClick(fSelectedObjects[0]);
  else if (OnClick)
    OnClick(this);
}

void TGraphEditor::DblClick() {
  if (fDragSource) return;
  if (fSelectedObjects.Count() > 0)
    NotifyObjectDblClick(fSelectedObjects[0]);
  else if (OnDblClick)
    OnDblClick(this);
}

void TGraphEditor::wheelEvent(QWheelEvent* Event) {
  QPoint steps = Event->angleDelta();
  int delta = steps.y() != 0 ? steps.y() : steps.x();
  if (delta == 0) return;
  TPoint p = ClientPointOf(Event->position());
  fMouseClientPos = QPoint(p.X, p.Y);
  fMouseKnown = true;
  int notches = delta / 120;
  if (notches == 0) notches = delta > 0 ? 1 : -1;
  if (Event->modifiers() & Qt::ControlModifier) {
    // Each notch zooms by a fifth, about the graph point under the mouse.
    int zoom = fZoom;
    for (int i = 0; i < std::abs(notches); ++i)
      zoom = notches > 0 ? zoom + std::max(1, MulDiv(zoom, 1, 5)) : zoom - std::max(1, MulDiv(zoom, 1, 6));
    ChangeZoomBy(zoom - fZoom, zoCursor);
    Event->accept();
    return;
  }
  bool horizontal = (Event->modifiers() & Qt::ShiftModifier) || steps.y() == 0;
  TGraphScrollBar* bar = horizontal ? fHorzScrollBar.get() : fVertScrollBar.get();
  int lines = std::abs(notches) * std::max(1, QApplication::wheelScrollLines());
  for (int i = 0; i < lines; ++i) bar->HandleScrollMessage(notches > 0 ? scLineUp : scLineDown, 0);
  Event->accept();
}

// ---------------------------------------------------------------------------
// Keys

void TGraphEditor::RefreshCursorAfterKey(Qt::KeyboardModifiers Modifiers) {
  if (!fMouseKnown || !viewport()->rect().contains(fMouseClientPos)) return;
  HandleMouseMove(ShiftOf(Modifiers, QApplication::mouseButtons()), {fMouseClientPos.x(), fMouseClientPos.y()});
}

namespace {
// The modifier state after the key event, not before it.
Qt::KeyboardModifiers ModifiersAfter(QKeyEvent* e, bool pressed) {
  Qt::KeyboardModifiers m = e->modifiers();
  Qt::KeyboardModifier k = Qt::NoModifier;
  switch (e->key()) {
    case Qt::Key_Shift: k = Qt::ShiftModifier; break;
    case Qt::Key_Control: k = Qt::ControlModifier; break;
    case Qt::Key_Alt: k = Qt::AltModifier; break;
    default: return m;
  }
  return pressed ? (m | k) : (m & ~k);
}
}  // namespace

bool TGraphEditor::event(QEvent* Event) {
  // A window moved to a screen of another pixel ratio gets its cursor drawn
  // anew for that ratio.
  if (Event->type() == QEvent::ScreenChangeInternal) SetScreenCursor(fScreenCursor);
  if (Event->type() != QEvent::KeyPress) return QAbstractScrollArea::event(Event);
  auto* e = static_cast<QKeyEvent*>(Event);
  Qt::KeyboardModifiers mods = ModifiersAfter(e, true);
  RefreshCursorAfterKey(mods);
  int key = e->key();
  if (key == Qt::Key_Backtab) key = Qt::Key_Tab;
  TShiftState shift = ShiftOf(e->modifiers(), Qt::NoButton);
  if (e->key() == Qt::Key_Backtab) shift |= ssShift;
  bool handled = fDefaultKeyMap && ProcessGraphKey(key, shift);
  if (!handled && (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab))
    return QAbstractScrollArea::event(Event);  // the usual focus move
  if (OnKeyDown) OnKeyDown(this, key, shift);
  e->accept();
  return true;
}

void TGraphEditor::keyPressEvent(QKeyEvent* Event) { Event->accept(); }

void TGraphEditor::keyReleaseEvent(QKeyEvent* Event) {
  int key = Event->key();
  TShiftState shift = ShiftOf(Event->modifiers(), Qt::NoButton);
  if (OnKeyUp) OnKeyUp(this, key, shift);
  RefreshCursorAfterKey(ModifiersAfter(Event, false));
  Event->accept();
}

bool TGraphEditor::ProcessGraphKey(int& Key, TShiftState Shift) {
  bool handled = false;
  if (fDragSource) {
    fGraphConstraints->SetSourceRect(DraggingBounds());
    handled = fDragSource->HandleKeyDown(Key, Shift);
  } else if (fCommandMode == cmEdit || fCommandMode == cmInsertNode || fCommandMode == cmInsertLink) {
    fGraphConstraints->SetSourceRect(SelectionBounds());
    WithinUpdate(*this, [&] {
      ForEachInList(fSelectedObjects, [&](TGraphObject* o) {
        if (o->HandleKeyDown(Key, Shift)) handled = true;
        return true;
      });
    });
  }
  if (handled) return true;
  switch (Key) {
    case Qt::Key_Tab:
      if (fCommandMode == cmEdit || fCommandMode == cmInsertNode || fCommandMode == cmInsertLink) {
        SelectNextObject(Shift & ssShift);
        return true;
      }
      return false;
    case Qt::Key_Left:
    case Qt::Key_Right:
      if (fCommandMode != cmPan) return false;
      if (fHorzScrollBar->IsScrollBarVisible()) {
        int step = Key == Qt::Key_Left ? -fHorzScrollBar->Increment() : fHorzScrollBar->Increment();
        fHorzScrollBar->SetPosition(std::clamp(fHorzScrollBar->Position() + step, 0, fHorzScrollBar->Range()));
      }
      return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (fCommandMode != cmPan) return false;
      if (fVertScrollBar->IsScrollBarVisible()) {
        int step = Key == Qt::Key_Up ? -fVertScrollBar->Increment() : fVertScrollBar->Increment();
        fVertScrollBar->SetPosition(std::clamp(fVertScrollBar->Position() + step, 0, fVertScrollBar->Range()));
      }
      return true;
    default: return false;
  }
}

bool TGraphEditor::focusNextPrevChild(bool Next) { return QAbstractScrollArea::focusNextPrevChild(Next); }

// ---------------------------------------------------------------------------
// Focus, context menu, hints

void TGraphEditor::focusInEvent(QFocusEvent* Event) {
  QAbstractScrollArea::focusInEvent(Event);
  if (fHideSelection && fSelectedObjects.Count() > 0) InvalidateRect(SelectionBounds());
  if (OnEnter) OnEnter(this);
}

void TGraphEditor::focusOutEvent(QFocusEvent* Event) {
  QAbstractScrollArea::focusOutEvent(Event);
  if (fHideSelection && fSelectedObjects.Count() > 0) InvalidateRect(SelectionBounds());
  if (OnExit) OnExit(this);
}

void TGraphEditor::contextMenuEvent(QContextMenuEvent* Event) {
  QPoint client = viewport()->mapFrom(this, Event->pos());
  TPoint mousePos{client.x(), client.y()};
  bool handled = false;
  if (fDragSource) {
    Event->accept();
    return;
  }
  if (fSelectedObjects.Count() > 0) {
    NotifyObjectContextPopup(fSelectedObjects[0], mousePos, handled);
    if (!handled && fObjectPopupMenu) {
      fObjectPopupMenu->popup(viewport()->mapToGlobal(client));
      handled = true;
    }
  }
  if (!handled && OnContextPopup) OnContextPopup(this, mousePos, handled);
  if (!handled && fPopupMenu) {
    fPopupMenu->popup(viewport()->mapToGlobal(client));
    handled = true;
  }
  Event->setAccepted(handled);
}

void TGraphEditor::ShowHint(QEvent* Event) {
  auto* help = static_cast<QHelpEvent*>(Event);
  TPoint g = ClientToGraph(help->pos().x(), help->pos().y());
  TGraphObject* o = FindObjectAt(g.X, g.Y);
  bool truncated = o && o->TextToShow() != o->Text();
  if (!o || !(OnInfoTip || !o->Hint().isEmpty() || truncated)) {
    QToolTip::hideText();
    Event->ignore();
    return;
  }
  TRect v = o->VisualRect();
  TPoint corners[2] = {v.TopLeft(), v.BottomRight()};
  MapGraphToClient(corners, 2);
  QRect trigger(QPoint(corners[0].X, corners[0].Y), QPoint(corners[1].X, corners[1].Y));
  QStatusTipEvent status(o->Hint());
  QApplication::sendEvent(this, &status);
  QString text = o->Hint().section(QLatin1Char('|'), 0, 0);
  if (text.isEmpty() && truncated) text = o->Text();
  if (OnInfoTip) OnInfoTip(this, o, text);
  QToolTip::showText(help->globalPos(), text, viewport(), trigger);
}

void TGraphEditor::leaveEvent(QEvent* Event) { QAbstractScrollArea::leaveEvent(Event); }

void TGraphEditor::changeEvent(QEvent* Event) {
  QAbstractScrollArea::changeEvent(Event);
  if (Event->type() == QEvent::LayoutDirectionChange) {
    fHorzScrollBar->ChangeBiDiPosition();
    RefreshScrollBars();
  }
}
