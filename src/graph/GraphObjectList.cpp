#include "GraphObjectList.h"

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
  for (int i = 0; i < src->fCount; ++i) Add(src->fItems[size_t(i)]);
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
  } else if (size_t(fCapacity) > fItems.capacity()) {
    fItems.reserve(size_t(fCapacity));
  }
}

// The capacity follows the documented steps, but the storage grows
// geometrically (push_back), so that adding N items never costs N * N.
void TGraphObjectList::Grow() { fCapacity += fCount < 64 ? 16 : 8; }

TGraphObject* TGraphObjectList::Items(int Index) const {
  CheckIndex(Index, fCount);
  return fItems[size_t(Index)];
}

int TGraphObjectList::Add(TGraphObject* Item) {
  if (fCount == fCapacity) Grow();
  int index = fCount++;
  fItems.push_back(Item);
  ListChanged(Item, glAdded);
  return index;
}

void TGraphObjectList::Insert(int Index, TGraphObject* Item) {
  CheckIndex(Index, fCount + 1);
  if (fCount == fCapacity) Grow();
  fItems.insert(fItems.begin() + Index, Item);
  ++fCount;
  ListChanged(Item, glAdded);
}

void TGraphObjectList::AdjustCursor(TListEnumState& State, int DeletedIndex) {
  if (State.Dir == 0) return;
  if (DeletedIndex < State.Current || (State.Dir == 1 && DeletedIndex == State.Current)) --State.Current;
}

void TGraphObjectList::Delete(int Index) {
  CheckIndex(Index, fCount);
  TGraphObject* item = fItems[size_t(Index)];
  fItems.erase(fItems.begin() + Index);
  --fCount;
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
  TGraphObject* item = fItems[size_t(CurIndex)];
  // A null travels through Delete and Insert, so neither raises an event.
  fItems[size_t(CurIndex)] = nullptr;
  Delete(CurIndex);
  Insert(NewIndex, nullptr);
  fItems[size_t(NewIndex)] = item;
  ListChanged(item, glReordered);
}

int TGraphObjectList::IndexOf(const TGraphObject* Item) const {
  for (int i = fCount - 1; i >= 0; --i)
    if (fItems[size_t(i)] == Item) return i;
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
  if (index >= 0) fItems[size_t(index)] = NewItem;
  return index;
}

TGraphObject* TGraphObjectList::First() {
  if (fCount == 0) {
    Enum.Dir = 0;
    return nullptr;
  }
  Enum.Dir = 1;
  Enum.Current = 0;
  return fItems[0];
}

TGraphObject* TGraphObjectList::Last() {
  if (fCount == 0) {
    Enum.Dir = 0;
    return nullptr;
  }
  Enum.Dir = -1;
  Enum.Current = fCount - 1;
  return fItems[size_t(Enum.Current)];
}

TGraphObject* TGraphObjectList::Next() {
  ++Enum.Current;
  if (Enum.Current >= 0 && Enum.Current < fCount) return fItems[size_t(Enum.Current)];
  if (Enum.Dir == 0) throw EListError(QStringLiteral("List enumeration is not initialized"));
  Enum.Dir = 0;
  return nullptr;
}

TGraphObject* TGraphObjectList::Prior() {
  --Enum.Current;
  if (Enum.Current >= 0 && Enum.Current < fCount) return fItems[size_t(Enum.Current)];
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
