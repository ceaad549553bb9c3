// The control's side of the object drag protocol, the command modes, and
// interactive and programmatic insertion of nodes and links.
#include "GraphEditor.h"
#include "GraphLink.h"
#include "GraphNode.h"
#include "IntMath.h"
#include "UpdateBracket.h"

void TGraphEditor::SetCommandMode(TGraphCommandMode Value) {
  if (Value == fCommandMode) return;
  if (fDragSource) fDragSource->EndDrag(false);
  fCommandMode = Value;
  if (Value == cmViewOnly || Value == cmInsertNode || Value == cmInsertLink) fSelectedObjects.Clear();
  RecalcScrollRanges();
  NotifyCommandModeChange();
}

bool TGraphEditor::StartObjectsDrag(TGraphObject* GraphObject, const TPoint& Pt, THitCode HT) {
  if (!GraphObject) return false;
  UndoStorage->Clear();
  fModifiedBeforeDrag = fModified;
  fDragSource = GraphObject;
  fDragHitTest = HT;
  fDragSourcePt = fDragTargetPt = Pt;
  if (!GraphObject->Selected()) {
    fSelectedObjects.Clear();
    GraphObject->SetSelected(true);
  }
  fDraggingObjects.Clear();
  fDraggingObjects.SetCapacity(fSelectedObjects.Count());
  fDraggingObjects.Add(GraphObject);
  if (fCommandMode == cmInsertNode || fCommandMode == cmInsertLink) {
    fDragModified = true;
    UpdateDragMeasure();
    return true;
  }
  fDragModified = false;
  for (TGraphObject* o : fSelectedObjects)
    if (o->ID() != GraphObject->ID() && o->StartDragging(HT)) fDraggingObjects.Add(o);
  // Every object the drag moves, so that a cancel puts all of them back.
  UndoStorage->SetPosition(0);
  StoreObjectsState(*UndoStorage, fDraggingObjects);
  NotifyObjectBeginDrag(GraphObject, HT);
  UpdateDragMeasure();
  return true;
}

void TGraphEditor::DragObjectsBy(int32_t dX, int32_t dY) {
  if (!fDragSource || (dX == 0 && dY == 0)) return;
  TObjectSides sides = 0;
  for (TGraphObject* o : fDraggingObjects) sides |= o->SidesForHit(fDragHitTest);
  // A single object knows what its drag moves (one link point, say); several
  // move together as one block.
  fGraphConstraints->SetSourceRect(fDraggingObjects.Count() == 1 ? fDragSource->DragRect(fDragHitTest)
                                                                 : DraggingBounds());
  if (!fGraphConstraints->ConfineOffset(dX, dY, sides)) return;
  WithinUpdate(*this, [&] {
    ForEachInList(fDraggingObjects, [&](TGraphObject* o) {
      o->MoveHit(fDragHitTest, dX, dY);
      return true;
    });
  });
  fDragTargetPt = {fDragTargetPt.X + dX, fDragTargetPt.Y + dY};
  ScrollInView(fDragTargetPt);
  UpdateDragMeasure();
}

void TGraphEditor::FinishObjectsDrag(bool Accept) {
  if (!fDragSource) return;
  TGraphObject* source = fDragSource;
  THitCode hit = fDragHitTest;
  bool inserting = fCommandMode == cmInsertNode || fCommandMode == cmInsertLink;
  fDragSource = nullptr;
  UpdateDragMeasure();
  for (int i = fDraggingObjects.Count() - 1; i >= 1; --i) fDraggingObjects[i]->StopDragging();
  fDraggingObjects.Clear();
  if (!Accept) {
    fDragModified = false;
    if (inserting) {
      source->Destroy();
      source = nullptr;
    } else {
      UndoStorage->SetPosition(0);
      LoadObjectsState(*UndoStorage);
    }
  }
  UndoStorage->Clear();
  // A cancelled drag leaves the document as it found it, Modified included.
  if (!Accept) SetModified(fModifiedBeforeDrag);
  if (inserting)
    SetCommandMode(cmEdit);
  else
    NotifyObjectEndDrag(source, hit, !Accept);
  if (fDragModified) {
    fModified = true;
    NotifyGraphChange();
  }
}

// ---------------------------------------------------------------------------
// Insertion

TGraphNode* TGraphEditor::InsertNode(const TRect& Bounds, TGraphNodeClass ANodeClass) {
  if (!ANodeClass) ANodeClass = fDefaultNodeClass;
  if (!ANodeClass) return nullptr;
  try {
    return TGraphNode::CreateNew(ANodeClass, this, Bounds);
  } catch (...) {
    return nullptr;
  }
}

TGraphLink* TGraphEditor::InsertLink(TGraphObject* Source, TGraphObject* Target, TGraphLinkClass ALinkClass) {
  if (!ALinkClass) ALinkClass = fDefaultLinkClass;
  if (!ALinkClass) return nullptr;
  try {
    return TGraphLink::CreateNew(ALinkClass, this, Source, {}, Target);
  } catch (...) {
    return nullptr;
  }
}

TGraphLink* TGraphEditor::InsertLink(TGraphObject* Source, const TPoints& PointArray, TGraphLinkClass ALinkClass) {
  if (!ALinkClass) ALinkClass = fDefaultLinkClass;
  if (!ALinkClass) return nullptr;
  try {
    return TGraphLink::CreateNew(ALinkClass, this, Source, PointArray, nullptr);
  } catch (...) {
    return nullptr;
  }
}

TGraphLink* TGraphEditor::InsertLink(const TPoints& PointArray, TGraphObject* Target, TGraphLinkClass ALinkClass) {
  if (!ALinkClass) ALinkClass = fDefaultLinkClass;
  if (!ALinkClass) return nullptr;
  try {
    return TGraphLink::CreateNew(ALinkClass, this, nullptr, PointArray, Target);
  } catch (...) {
    return nullptr;
  }
}

TGraphLink* TGraphEditor::InsertLink(const TPoints& PointArray, TGraphLinkClass ALinkClass) {
  if (!ALinkClass) ALinkClass = fDefaultLinkClass;
  if (!ALinkClass) return nullptr;
  try {
    return TGraphLink::CreateNew(ALinkClass, this, nullptr, PointArray, nullptr);
  } catch (...) {
    return nullptr;
  }
}

TGraphObject* TGraphEditor::PlaceObjectAt(TPoint& Pt, TGraphObjectClass ObjectClass, bool Snap) {
  if (!ObjectClass) return nullptr;
  if (ObjectClass->IsLink()) {
    TGraphLink* link = nullptr;
    if (TGraphObject* s = FindObjectAt(Pt.X, Pt.Y)) link = InsertLink(s, TPoints{Pt}, ObjectClass);
    if (!link) {
      if (Snap) Pt = SnapPoint(Pt);
      if (fGraphConstraints->WithinBounds(Pt)) link = InsertLink(TPoints{Pt, Pt}, ObjectClass);
    }
    if (link) Pt = link->PointAt(link->PointCount() - 1);
    return link;
  }
  if (Snap) Pt = SnapPoint(Pt);
  if (!fGraphConstraints->WithinBounds(Pt)) return nullptr;
  int32_t size;
  if (fSnapToGrid && fGridSize >= fMinNodeSize) {
    size = fGridSize;
  } else {
    size = fMinNodeSize;
    if (fSnapToGrid) size = fGridSize * Div(size + fGridSize - 1, fGridSize);
  }
  TPoint corner{Pt.X + size, Pt.Y + size};
  fGraphConstraints->ConfinePt(corner);
  TGraphNode* node = InsertNode(TRect(Pt, corner), ObjectClass);
  if (node) Pt = {node->Left() + node->Width(), node->Top() + node->Height()};
  return node;
}
