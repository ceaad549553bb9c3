#include "GraphObjectList.h"

#include <algorithm>

#include "Exceptions.h"

TGraphObjectList::~TGraphObjectList() {
  OnChange = nullptr;  // the owner is going away; nobody listens any more
  Clear();
}

void TGraphObjectList::Assign(const TPersistent* Source) {
  auto* src = dynamic_cast<const TGraphObjectList*>(Source);
  if (!src) return TPersistent::Assign(Source);
  Clear();
  SetCapacity(src->fCount);
  for (TGraphObject* item : *src) Add(item);
}

void TGraphObjectList::CheckIndex(int Index, int Limit) const {
  if (Index < 0 || Index >= Limit) throw EListError(FormatMessage("Index out of range (%d)", Index));
}

void TGraphObjectList::SetCapacity(int Value) {
  if (Value == fCapacity) return;
  fCapacity = Value;
  while (fCapacity < fCount) Delete(fCount - 1);
  // The storage holds the items in use. Room asked for ahead (a load that
  // knows its count) is reserved; an emptied list lets go of everything.
  if (fCapacity <= 0) {
    fItems.clear();
    fItems.shrink_to_fit();
    fHead = 0;
  } else if (size_t(fHead + fCapacity) > fItems.capacity()) {
    DropHead();
    fItems.reserve(size_t(fCapacity));
  }
}

// Gives the slots freed at the front back to the storage's end.
void TGraphObjectList::DropHead() {
  fItems.erase(fItems.begin(), fItems.begin() + fHead);
  fHead = 0;
}

// Before the storage grows at its end: when the front has freed a good share
// of it, take that back instead (paid for by the removals that freed it).
void TGraphObjectList::ReuseHead() {
  if (fHead > 0 && fItems.size() == fItems.capacity() && fHead >= fCount / 2) DropHead();
}

// The capacity follows the documented steps, but the storage grows
// geometrically (push_back), so that adding N items never costs N * N.
void TGraphObjectList::Grow() { fCapacity += fCount < 64 ? 16 : 8; }

TGraphObject* TGraphObjectList::Items(int Index) const {
  CheckIndex(Index, fCount);
  return Slot(Index);
}

int TGraphObjectList::Add(TGraphObject* Item) {
  if (fCount == fCapacity) Grow();
  ReuseHead();
  int index = fCount++;
  fItems.push_back(Item);
  ListChanged(Item, glAdded);
  return index;
}

void TGraphObjectList::Insert(int Index, TGraphObject* Item) {
  CheckIndex(Index, fCount + 1);
  if (fCount == fCapacity) Grow();
  if (fHead > 0 && Index < fCount / 2) {
    --fHead;
    std::move(fItems.begin() + fHead + 1, fItems.begin() + fHead + 1 + Index, fItems.begin() + fHead);
    Slot(Index) = Item;
  } else {
    ReuseHead();
    fItems.insert(fItems.begin() + fHead + Index, Item);
  }
  ++fCount;
  fHint = Index;
  ListChanged(Item, glAdded);
}

void TGraphObjectList::AdjustCursor(TListEnumState& State, int DeletedIndex) {
  if (State.Dir == 0) return;
  if (DeletedIndex < State.Current || (State.Dir == 1 && DeletedIndex == State.Current)) --State.Current;
}

void TGraphObjectList::Delete(int Index) {
  CheckIndex(Index, fCount);
  TGraphObject* item = Slot(Index);
  if (Index < fCount / 2) {
    auto front = fItems.begin() + fHead;
    std::move_backward(front, front + Index, front + Index + 1);
    ++fHead;
    // Never more than half the storage idle at the front.
    if (fHead > fCount) DropHead();
  } else {
    fItems.erase(fItems.begin() + fHead + Index);
  }
  --fCount;
  fHint = Index;
  AdjustCursor(Enum, Index);
  for (int i = 0; i < EnumStackPos; ++i) AdjustCursor(EnumStack[size_t(i)], Index);
  ListChanged(item, glRemoved);
}

int TGraphObjectList::Remove(TGraphObject* Item) {
  int index = IndexOf(Item);
  if (index >= 0) Delete(index);
  return index;
}

void TGraphObjectList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex, fCount);
  CheckIndex(NewIndex, fCount);
  TGraphObject* item = Slot(CurIndex);
  // A null travels through Delete and Insert, so neither raises an event.
  Slot(CurIndex) = nullptr;
  Delete(CurIndex);
  Insert(NewIndex, nullptr);
  Slot(NewIndex) = item;
  // The next item of a walk that moves each in turn now stands here.
  fHint = CurIndex;
  ListChanged(item, glReordered);
}

int TGraphObjectList::IndexOf(const TGraphObject* Item) const {
  if (fUniqueItems && Item) {
    // A walk that removes or moves each item in turn finds the next one
    // where the last change was made, or beside it.
    for (int i : {fHint, fHint + 1, fHint - 1})
      if (i >= 0 && i < fCount && Slot(i) == Item) return fHint = i;
  }
  for (int i = fCount - 1; i >= 0; --i)
    if (Slot(i) == Item) return fHint = i;
  return -1;
}

void TGraphObjectList::Clear() {
  SetCapacity(0);
  EnumStack.clear();
  EnumStack.shrink_to_fit();
  EnumStackPos = 0;
}

int TGraphObjectList::Substitute(TGraphObject* OldItem, TGraphObject* NewItem) {
  int index = IndexOf(OldItem);
  if (index >= 0) Slot(index) = NewItem;
  return index;
}

TGraphObject* TGraphObjectList::First() {
  if (fCount == 0) {
    Enum.Dir = 0;
    return nullptr;
  }
  Enum.Dir = 1;
  Enum.Current = 0;
  return Slot(0);
}

TGraphObject* TGraphObjectList::Last() {
  if (fCount == 0) {
    Enum.Dir = 0;
    return nullptr;
  }
  Enum.Dir = -1;
  Enum.Current = fCount - 1;
  return Slot(Enum.Current);
}

TGraphObject* TGraphObjectList::Next() {
  ++Enum.Current;
  if (Enum.Current >= 0 && Enum.Current < fCount) return Slot(Enum.Current);
  if (Enum.Dir == 0) throw EListError(QStringLiteral("List enumeration is not initialized"));
  Enum.Dir = 0;
  return nullptr;
}

TGraphObject* TGraphObjectList::Prior() {
  --Enum.Current;
  if (Enum.Current >= 0 && Enum.Current < fCount) return Slot(Enum.Current);
  if (Enum.Dir == 0) throw EListError(QStringLiteral("List enumeration is not initialized"));
  Enum.Dir = 0;
  return nullptr;
}

bool TGraphObjectList::Push() {
  if (Enum.Dir == 0) return false;
  if (EnumStackPos == int(EnumStack.size())) EnumStack.push_back(Enum);
  else EnumStack[size_t(EnumStackPos)] = Enum;
  ++EnumStackPos;
  return true;
}

bool TGraphObjectList::Pop() {
  if (EnumStackPos == 0) return false;
  Enum = EnumStack[size_t(--EnumStackPos)];
  return true;
}

void TGraphObjectList::ListChanged(TGraphObject* GraphObject, TGraphObjectListAction Action) {
  if (GraphObject && OnChange) OnChange(this, GraphObject, Action);
}

bool ForEachInList(TGraphObjectList& List, const std::function<bool(TGraphObject*)>& Visit, bool Backward) {
  TGraphObject* item = Backward ? List.Last() : List.First();
  while (item) {
    bool pushed = List.Push();
    bool goOn;
    try {
      goOn = Visit(item);
    } catch (...) {
      if (pushed) List.Pop();
      throw;
    }
    if (pushed) List.Pop();
    if (!goOn) return false;
    item = Backward ? List.Prior() : List.Next();
  }
  return true;
}
