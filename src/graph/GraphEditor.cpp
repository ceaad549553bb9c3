#include "GraphEditor.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QToolTip>

#include "CanvasRecall.h"
#include "CompatibleCanvas.h"
#include "GraphLink.h"
#include "GraphNode.h"
#include "IntMath.h"
#include "UpdateBracket.h"

// The control's walks fetch this much of each next object ahead.
static_assert(kObjectFootprint >= sizeof(TGraphNode) && kObjectFootprint >= sizeof(TGraphLink));

TGraphEditor::TGraphEditor(QWidget* AOwner)
    : QAbstractScrollArea(AOwner), fColor(clWindow), fFont(std::make_unique<TFont>()) {
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAttribute(Qt::WA_NoSystemBackground);
  viewport()->setMouseTracking(true);
  viewport()->setAutoFillBackground(false);
  fFont->OnChange = [this](TGraphicsObject*) { FontChanged(); };

  UndoStorage = std::make_unique<TMemoryStream>();
  fHorzScrollBar = std::make_unique<TGraphScrollBar>(this, sbHorizontal);
  fVertScrollBar = std::make_unique<TGraphScrollBar>(this, sbVertical);
  fGraphConstraints = std::make_unique<TGraphConstraints>(this);
  fCanvasRecall = std::make_unique<TCanvasRecall>(nullptr);
  // Each object joins these lists at most once (their handlers turn away
  // strangers and the selection flag guards the selection).
  fObjects.SetUniqueItems(true);
  fSelectedObjects.SetUniqueItems(true);
  fDraggingObjects.SetUniqueItems(true);
  fObjects.SetPlaces(&fObjectPlaces);
  fObjects.OnChange = [this](TGraphObjectList* l, TGraphObject* o, TGraphObjectListAction a) {
    ObjectListChanged(l, o, a);
  };
  fSelectedObjects.OnChange = [this](TGraphObjectList* l, TGraphObject* o, TGraphObjectListAction a) {
    SelectedListChanged(l, o, a);
  };
  fDraggingObjects.OnChange = [this](TGraphObjectList* l, TGraphObject* o, TGraphObjectListAction a) {
    DraggingListChanged(l, o, a);
  };
  if (NodeClassCount() > 0) fDefaultNodeClass = NodeClasses(0);
  if (LinkClassCount() > 0) fDefaultLinkClass = LinkClasses(0);
}

TGraphEditor::~TGraphEditor() {
  fDestroying = true;
  ++SuspendQueryEvents;
  ++UpdateCount;
  fObjects.Clear();
  fObjects.OnChange = nullptr;
  fSelectedObjects.OnChange = nullptr;
  fSelectedObjects.Clear();
  fDraggingObjects.OnChange = nullptr;
  fDraggingObjects.Clear();
  fGraphConstraints.reset();
  fHorzScrollBar.reset();
  fVertScrollBar.reset();
  fCanvasRecall.reset();
  UndoStorage.reset();
  fMeasureCanvas.reset();
}

TCanvas& TGraphEditor::MeasureCanvas() {
  if (!fMeasureCanvas) fMeasureCanvas = std::make_unique<TCompatibleCanvas>();
  return *fMeasureCanvas;
}

// ---------------------------------------------------------------------------
// Published properties

void TGraphEditor::SetGridSize(int Value) {
  if (Value < 4 || Value > 128 || Value == fGridSize) return;
  fGridSize = Value;
  if (fShowGrid) Invalidate();
}

void TGraphEditor::SetGridColor(TColor Value) {
  if (Value == fGridColor) return;
  fGridColor = Value;
  if (fShowGrid) Invalidate();
}

void TGraphEditor::SetShowGrid(bool Value) {
  if (Value == fShowGrid) return;
  fShowGrid = Value;
  Invalidate();
}

void TGraphEditor::SetShowHiddenObjects(bool Value) {
  if (Value == fShowHiddenObjects) return;
  fShowHiddenObjects = Value;
  fSpatialIndex.TouchAll();
  MarkBoundsStale(bcGraph | bcSelection | bcDragging);
  RecalcScrollRanges();
  Invalidate();
}

void TGraphEditor::SetHideSelection(bool Value) {
  if (Value == fHideSelection) return;
  fHideSelection = Value;
  if (!hasFocus() && fSelectedObjects.Count() > 0) InvalidateRect(SelectionBounds());
}

void TGraphEditor::SetLockNodes(bool Value) {
  if (Value == fLockNodes) return;
  fLockNodes = Value;
  Invalidate();
}

void TGraphEditor::SetLockLinks(bool Value) {
  if (Value == fLockLinks) return;
  fLockLinks = Value;
  Invalidate();
}

void TGraphEditor::SetMarkerColor(TColor Value) {
  if (Value == fMarkerColor) return;
  fMarkerColor = Value;
  if (fSelectedObjects.Count() > 0) Invalidate();
}

void TGraphEditor::SetMarkerSize(int Value) {
  Value = std::clamp(Value, 3, 9);
  if (Value == fMarkerSize) return;
  fMarkerSize = Value;
  fSpatialIndex.TouchAll();
  if (fSelectedObjects.Count() > 0) Invalidate();
}

void TGraphEditor::SetZoom(int Value) {
  Value = std::clamp(Value, MinZoom, MaxZoom);
  if (Value == fZoom) return;
  fZoom = Value;
  RecalcScrollRanges();
  Invalidate();
  NotifyZoomChange();
}

void TGraphEditor::SetDrawOrder(TGraphDrawOrder Value) {
  if (Value == fDrawOrder) return;
  fDrawOrder = Value;
  Invalidate();
}

void TGraphEditor::SetFixedScrollBars(bool Value) {
  if (Value == fFixedScrollBars) return;
  fFixedScrollBars = Value;
  RecalcScrollRanges();
}

void TGraphEditor::SetTransparent(bool Value) {
  if (Value == fTransparent) return;
  fTransparent = Value;
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent, !Value);
  Invalidate();
}

void TGraphEditor::SetColor(TColor Value) {
  if (Value == fColor) return;
  fColor = Value;
  Invalidate();
}

void TGraphEditor::SetCursor(TCursor Value) {
  fCursor = Value;
  SetScreenCursor(Value);
}

void TGraphEditor::FontChanged() {
  WithinUpdate(*this, [&] {
    for (TGraphObject* o : fObjects) o->OwnerFontChanged();
  });
}

void TGraphEditor::SetModified(bool Value) {
  if (Value == fModified) return;
  fModified = Value;
  NotifyGraphChange();
}

// ---------------------------------------------------------------------------
// Updating and repainting

void TGraphEditor::BeginUpdate() {
  if (UpdateCount == 0) {
    SaveModified = 0;
    SaveRangeChange = false;
    SaveInvalidateRect = QRect();
    SaveInvalidateAll = false;
  }
  ++UpdateCount;
}

void TGraphEditor::EndUpdate() {
  --UpdateCount;
  if (UpdateCount != 0 || fDestroying) return;
  if (SaveRangeChange) {
    MarkBoundsStale(bcGraph | bcSelection | bcDragging);
    RecalcScrollRanges();
  }
  if (SaveInvalidateAll)
    InvalidateClientRect();
  else if (!SaveInvalidateRect.isNull())
    InvalidateClientRect(&SaveInvalidateRect);
  if (SaveModified != 0) {
    fModified = SaveModified == 1;
    NotifyGraphChange();
  }
}

void TGraphEditor::Invalidate() {
  if (UpdateCount == 0)
    InvalidateClientRect();
  else
    SaveInvalidateAll = true;
}

void TGraphEditor::InvalidateRect(const TRect& Rect) {
  // Inside an update that repaints everything, no rectangle adds to it.
  if (UpdateCount > 0 && SaveInvalidateAll) return;
  TPoint corners[2] = {Rect.TopLeft(), Rect.BottomRight()};
  MapGraphToClient(corners, 2);
  QRect r(QPoint(corners[0].X, corners[0].Y), QPoint(corners[1].X, corners[1].Y));  // +1 right and bottom
  if (r.isEmpty()) return;
  if (UpdateCount == 0) {
    InvalidateClientRect(&r);
    return;
  }
  SaveInvalidateRect = SaveInvalidateRect.isNull() ? r : SaveInvalidateRect.united(r);
}

void TGraphEditor::InvalidateClientRect(const QRect* Rect) {
  if (fDestroying) return;
  if (Rect)
    viewport()->update(*Rect);
  else
    viewport()->update();
}

// ---------------------------------------------------------------------------
// Change reports and the list handlers

void TGraphEditor::ReportObjectChange(TGraphObject* GraphObject, TGraphChangeFlags Flags) {
  if (fDestroying) return;
  if (UpdateCount > 0) {
    if ((Flags & gcData) && fCommandMode != cmInsertNode && fCommandMode != cmInsertLink) SaveModified = 1;
    if (Flags & gcPlacement) SaveRangeChange = true;
  } else {
    if (Flags & gcPlacement) {
      MarkBoundsStale(bcGraph | bcSelection | bcDragging);
      RecalcScrollRanges();
    }
    if (Flags & gcData) {
      if (fDragSource) {
        fDragModified = true;
      } else {
        fModified = true;
        NotifyGraphChange();
      }
    }
  }
  if (Flags & gcView) GraphObject->Invalidate();
}

void TGraphEditor::ObjectListChanged(TGraphObjectList*, TGraphObject* GraphObject, TGraphObjectListAction Action) {
  if (GraphObject->Owner() != this) {
    if (Action == glAdded) fObjects.Remove(GraphObject);
    return;
  }
  switch (Action) {
    case glAdded:
      GraphObject->SetListed(true);
      fSpatialIndex.Added(GraphObject, fObjects[fObjects.Count() - 1] == GraphObject);
      fIDIndex.Add(GraphObject, GraphObject->ID());
      NotifyObjectInsert(GraphObject);
      ReportObjectChange(GraphObject, gcView | gcData | gcPlacement);
      break;
    case glRemoved:
      GraphObject->SetListed(false);
      fSpatialIndex.Removed(GraphObject);
      fIDIndex.Remove(GraphObject, GraphObject->ID());
      if (GraphObject == fDragSource)
        GraphObject->EndDrag(false);
      else if (GraphObject->Dragging())
        fDraggingObjects.Remove(GraphObject);
      if (GraphObject == fObjectAtCursor) ChangeObjectAtCursor(nullptr);
      GraphObject->SetSelected(false);
      NotifyObjectRemove(GraphObject);
      ReportObjectChange(GraphObject, gcView | gcData | gcPlacement);
      if (!(GraphObject->States() & osDestroying)) GraphObject->Destroy();
      break;
    case glReordered:
      fSpatialIndex.Reordered();
      ReportObjectChange(GraphObject, gcView | gcData);
      break;
  }
}

void TGraphEditor::SelectedListChanged(TGraphObjectList*, TGraphObject* GraphObject, TGraphObjectListAction Action) {
  bool own = GraphObject->Owner() == this;
  if (Action == glAdded) {
    if (own && GraphObject->Selected()) {
      MarkBoundsStale(bcSelection);
      NotifyObjectSelect(GraphObject);
    } else {
      fSelectedObjects.Remove(GraphObject);
    }
    return;
  }
  if (Action == glRemoved && own) {
    if (GraphObject->fSelected) {
      // The list already let it go: clear the flag without asking the list
      // again (that search would make clearing a large selection quadratic).
      GraphObject->fSelected = false;
      GraphObject->ApplyChanges(gcView);
    }
    MarkBoundsStale(bcSelection);
    NotifyObjectSelect(GraphObject);
  }
}

void TGraphEditor::DraggingListChanged(TGraphObjectList*, TGraphObject* GraphObject, TGraphObjectListAction Action) {
  if (Action == glAdded && GraphObject->Owner() != this) {
    fDraggingObjects.Remove(GraphObject);
    return;
  }
  if (Action == glAdded || Action == glRemoved) MarkBoundsStale(bcDragging);
}

// ---------------------------------------------------------------------------
// IDs

void TGraphEditor::ObjectIDChanged(TGraphObject* GraphObject, uint32_t OldID) {
  fIDIndex.Remove(GraphObject, OldID);
  fIDIndex.Add(GraphObject, GraphObject->ID());
}

uint32_t TGraphEditor::AllocateObjectID(TGraphObject* GraphObject) {
  uint32_t candidate = GraphObject->ID();
  if (candidate == 0) candidate = uint32_t(fObjects.Count()) + 1;
  return fIDIndex.FirstFree(candidate, GraphObject);
}

TGraphObject* TGraphEditor::FindObjectByID(uint32_t ID) const {
  bool shared = false;
  if (TGraphObject* holder = fIDIndex.SoleHolder(ID, shared)) return holder;
  if (!shared) return nullptr;
  // Only while a batch is renumbered: the topmost namesake answers.
  for (int i = fObjects.Count() - 1; i >= 0; --i)
    if (fObjects[i]->ID() == ID) return fObjects[i];
  return nullptr;
}

// ---------------------------------------------------------------------------
// Objects, selection, bounds

int TGraphEditor::ObjectsCount(TGraphObjectClass GraphObjectClass) const {
  if (!GraphObjectClass) return fObjects.Count();
  int n = 0;
  for (TGraphObject* o : fObjects)
    if (o->InheritsFrom(GraphObjectClass)) ++n;
  return n;
}

int TGraphEditor::SelectedObjectsCount(TGraphObjectClass GraphObjectClass) const {
  if (!GraphObjectClass) return fSelectedObjects.Count();
  int n = 0;
  for (TGraphObject* o : fSelectedObjects)
    if (o->InheritsFrom(GraphObjectClass)) ++n;
  return n;
}

void TGraphEditor::ForEachObject(const TGraphForEachMethod& Callback, void* UserData, bool Selection) {
  TGraphObjectList& list = Selection ? fSelectedObjects : fObjects;
  if (!Callback || list.Count() == 0) return;
  WithinUpdate(*this, [&] { ForEachInList(list, [&](TGraphObject* o) { return Callback(o, UserData); }); });
}

void TGraphEditor::ObjectConverted(TGraphObject* Old, TGraphObject* New) {
  fObjects.Substitute(Old, New);
  fSpatialIndex.Substituted(Old, New);
  fSelectedObjects.Substitute(Old, New);
  if (New->Listed()) {
    fIDIndex.Remove(Old, Old->ID());
    fIDIndex.Add(New, New->ID());
  }
  for (int i = fObjects.Count() - 1; i >= 0; --i) fObjects[i]->SubstituteObject(Old, New);
  if (fObjectAtCursor == Old) fObjectAtCursor = New;
}

void TGraphEditor::ClearSelection() { fSelectedObjects.Clear(); }

void TGraphEditor::Clear() {
  if (fObjects.Count() > 0) {
    WithinUpdate(
        *this,
        [&] {
          ++SuspendQueryEvents;
          fObjects.Clear();
        },
        [&] {
          --SuspendQueryEvents;
          SaveModified = 2;
        });
  }
  SetCommandMode(cmEdit);
  fHorzScrollBar->SetPosition(0);
  fVertScrollBar->SetPosition(0);
}

TRect TGraphEditor::ObjectListBounds(TGraphObjectList& ObjectList) {
  TRect r;
  bool any = false;
  for (int i = ObjectList.Count() - 1; i >= 0; --i) {
    TGraphObject* o = ObjectList[i];
    if (!o->Showing()) continue;
    const TRect& v = o->VisualRect();
    if (!any) {
      r = v;
      any = true;
      continue;
    }
    r.Left = std::min(r.Left, v.Left);
    r.Top = std::min(r.Top, v.Top);
    r.Right = std::max(r.Right, v.Right);
    r.Bottom = std::max(r.Bottom, v.Bottom);
  }
  return any ? r : TRect();
}

// The list finds its own objects by their places, whatever was moved or
// removed since.
int TGraphEditor::ZOrderOf(const TGraphObject* GraphObject) { return fObjects.IndexOf(GraphObject); }

int TGraphEditor::TObjectPlaces::PlaceOf(const TGraphObject* Item) const {
  return Item->Owner() == Graph ? Item->ListPlace() : -1;
}

// A stranger put on the list keeps the place its own control gave it.
void TGraphEditor::TObjectPlaces::SetPlace(TGraphObject* Item, int Place) {
  if (Item->Owner() == Graph) Item->SetListPlace(Place);
}

TRect TGraphEditor::GraphBounds() {
  if (SaveBoundsChange & bcGraph) {
    // The index keeps the showing objects' bounds edge by edge: what the
    // scan answers, without walking the list after every move.
    bool indexed = fSpatialIndexEnabled && fSpatialIndex.Usable();
    SaveBounds[0] = indexed ? fSpatialIndex.ShowingBounds() : ObjectListBounds(fObjects);
    SaveBoundsChange &= uint8_t(~bcGraph);
  }
  return SaveBounds[0];
}

TRect TGraphEditor::SelectionBounds() {
  if (SaveBoundsChange & bcSelection) {
    SaveBounds[1] = ObjectListBounds(fSelectedObjects);
    SaveBoundsChange &= uint8_t(~bcSelection);
  }
  return SaveBounds[1];
}

TRect TGraphEditor::DraggingBounds() {
  if (SaveBoundsChange & bcDragging) {
    SaveBounds[2] = ObjectListBounds(fDraggingObjects);
    SaveBoundsChange &= uint8_t(~bcDragging);
  }
  return SaveBounds[2];
}

// ---------------------------------------------------------------------------
// Notifications and queries

namespace {
// Calls a single-listener event when a handler is set.
template <class TEvent, class... TArgs>
void Raise(const TEvent& Event, TArgs&&... Args) {
  if (Event) Event(std::forward<TArgs>(Args)...);
}
}  // namespace

void TGraphEditor::NotifyZoomChange() { Raise(OnZoomChange, this); }
void TGraphEditor::NotifyGraphChange() { Raise(OnGraphChange, this); }
void TGraphEditor::NotifyCommandModeChange() {
  if (!fDestroying) Raise(OnCommandModeChange, this);
}
void TGraphEditor::NotifyBeforeDraw(TCanvas& Canvas) { Raise(OnBeforeDraw, this, Canvas); }
void TGraphEditor::NotifyAfterDraw(TCanvas& Canvas) { Raise(OnAfterDraw, this, Canvas); }
void TGraphEditor::NotifyObjectClick(TGraphObject* o) { Raise(OnObjectClick, this, o); }
void TGraphEditor::NotifyObjectDblClick(TGraphObject* o) { Raise(OnObjectDblClick, this, o); }
void TGraphEditor::NotifyObjectInitInstance(TGraphObject* o) { Raise(OnObjectInitInstance, this, o); }
void TGraphEditor::NotifyObjectInsert(TGraphObject* o) { Raise(OnObjectInsert, this, o); }
void TGraphEditor::NotifyObjectRemove(TGraphObject* o) { Raise(OnObjectRemove, this, o); }
void TGraphEditor::NotifyObjectSelect(TGraphObject* o) { Raise(OnObjectSelect, this, o); }
void TGraphEditor::NotifyObjectChange(TGraphObject* o) { Raise(OnObjectChange, this, o); }
void TGraphEditor::NotifyObjectMouseEnter(TGraphObject* o) { Raise(OnObjectMouseEnter, this, o); }
void TGraphEditor::NotifyObjectMouseLeave(TGraphObject* o) { Raise(OnObjectMouseLeave, this, o); }
void TGraphEditor::NotifyObjectBeforeDraw(TCanvas& Canvas, TGraphObject* o) {
  Raise(OnObjectBeforeDraw, this, o, Canvas);
}
void TGraphEditor::NotifyObjectAfterDraw(TCanvas& Canvas, TGraphObject* o) {
  Raise(OnObjectAfterDraw, this, o, Canvas);
}
void TGraphEditor::NotifyObjectContextPopup(TGraphObject* o, const TPoint& MousePos, bool& Handled) {
  Raise(OnObjectContextPopup, this, o, MousePos, Handled);
}
void TGraphEditor::NotifyObjectBeginDrag(TGraphObject* o, THitCode HT) { Raise(OnObjectBeginDrag, this, o, HT); }
void TGraphEditor::NotifyObjectEndDrag(TGraphObject* o, THitCode HT, bool Cancelled) {
  Raise(OnObjectEndDrag, this, o, HT, Cancelled);
}
void TGraphEditor::NotifyObjectRead(TGraphObject* o, TStream& Stream) { Raise(OnObjectRead, this, o, Stream); }
void TGraphEditor::NotifyObjectWrite(TGraphObject* o, TStream& Stream) { Raise(OnObjectWrite, this, o, Stream); }
void TGraphEditor::NotifyObjectUnhook(TGraphObject* o, TGraphLink* Link, int Index) {
  Raise(OnObjectUnhook, this, o, Link, Index);
}
void TGraphEditor::NotifyObjectHook(TGraphObject* o, TGraphLink* Link, int Index) {
  Raise(OnObjectHook, this, o, Link, Index);
}
void TGraphEditor::QueryCanHookLink(TGraphObject* o, TGraphLink* Link, int Index, bool& CanHook) {
  if (SuspendQueryEvents == 0) Raise(OnCanHookLink, this, o, Link, Index, CanHook);
}
void TGraphEditor::QueryCanLinkObjects(TGraphLink* Link, TGraphObject* Source, TGraphObject* Target, bool& CanLink) {
  if (SuspendQueryEvents == 0) Raise(OnCanLinkObjects, this, Link, Source, Target, CanLink);
}
void TGraphEditor::QueryCanMoveResizeNode(TGraphNode* Node, int32_t& NewLeft, int32_t& NewTop, int32_t& NewWidth,
                                          int32_t& NewHeight, bool& CanMove, bool& CanResize) {
  if (SuspendQueryEvents == 0)
    Raise(OnCanMoveResizeNode, this, Node, NewLeft, NewTop, NewWidth, NewHeight, CanMove, CanResize);
}
void TGraphEditor::QueryCanRemoveObject(TGraphObject* o, bool& CanRemove) {
  if (SuspendQueryEvents == 0) Raise(OnCanRemoveObject, this, o, CanRemove);
}
void TGraphEditor::NotifyNodeMoveResize(TGraphNode* Node) { Raise(OnNodeMoveResize, this, Node); }
