#include "GraphObjectList.h"

#include <algorithm>
#include <bit>

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

void TGraphObjectList::SetPlaces(TGraphObjectPlaces* Places) {
  fPlaces = Places;
  PlaceRange(fHead, int(fItems.size()));
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
    fGaps = 0;
    fGap = {};
    fLive = {};
  } else if (size_t(fHead + fCapacity) > fItems.capacity()) {
    DropHead();
    fItems.reserve(size_t(fCapacity));
  }
}

// --- places ------------------------------------------------------------------

int TGraphObjectList::PlaceAt(int Index) const {
  if (fGaps == 0) return fHead + Index;
  // The place holding the (Index + 1)th item in use: a descent of the tree.
  const int n = int(fLive.size()) - 1;
  int place = 0, rest = Index + 1;
  for (int step = int(std::bit_floor(unsigned(n))); step > 0; step >>= 1)
    if (place + step <= n && fLive[size_t(place + step)] < rest) {
      place += step;
      rest -= fLive[size_t(place)];
    }
  return place;
}

int TGraphObjectList::IndexAt(int Place) const { return fGaps == 0 ? Place - fHead : LiveBefore(Place); }

int TGraphObjectList::LiveBefore(int Place) const {
  int sum = 0;
  for (int i = Place; i > 0; i -= i & -i) sum += fLive[size_t(i)];
  return sum;
}

void TGraphObjectList::CountLive(int Place, int Delta) {
  for (int i = Place + 1; i < int(fLive.size()); i += i & -i) fLive[size_t(i)] += Delta;
}

void TGraphObjectList::Put(int Place, TGraphObject* Item) {
  fItems[size_t(Place)] = Item;
  if (fPlaces && Item) fPlaces->SetPlace(Item, Place);
}

void TGraphObjectList::Unplace(int Place) {
  TGraphObject* item = fItems[size_t(Place)];
  if (fPlaces && item && fPlaces->PlaceOf(item) == Place) fPlaces->SetPlace(item, -1);
}

void TGraphObjectList::PlaceRange(int From, int To) const {
  if (!fPlaces) return;
  for (int p = From; p < To; ++p) {
    TGraphObject* item = fItems[size_t(p)];
    if (item && (fGaps == 0 || !fGap[size_t(p)])) fPlaces->SetPlace(item, p);
  }
}

// Gives the slots freed at the front back to the storage's end.
void TGraphObjectList::DropHead() {
  if (fGaps > 0) return Settle(0);
  fItems.erase(fItems.begin(), fItems.begin() + fHead);
  fHead = 0;
  PlaceRange(0, fCount);
}

// Before the storage grows at its end: when the front has freed a good share
// of it, take that back instead (paid for by the removals that freed it).
void TGraphObjectList::ReuseHead() {
  if (fGaps == 0 && fHead > 0 && fItems.size() == fItems.capacity() && fHead >= fCount / 2) DropHead();
}

void TGraphObjectList::OpenGaps() {
  const size_t n = fItems.size();
  fGap.assign(n, 0);
  fLive.assign(n + 1, 0);
  for (size_t i = size_t(fHead); i < n; ++i) fLive[i + 1] = 1;
  for (size_t i = 1; i <= n; ++i) {
    size_t parent = i + (i & (~i + 1));
    if (parent <= n) fLive[parent] += fLive[i];
  }
}

void TGraphObjectList::LeaveGap(int Place) {
  if (fGaps == 0) OpenGaps();
  fItems[size_t(Place)] = nullptr;
  fGap[size_t(Place)] = 1;
  CountLive(Place, -1);
  ++fGaps;
}

void TGraphObjectList::Settle(int Room) const {
  if (Room == fHead && fGaps == 0) return;
  const size_t end = fItems.size();
  if (Room == fHead) {
    size_t to = size_t(fHead);
    for (size_t p = size_t(fHead); p < end; ++p)
      if (!fGap[p]) fItems[to++] = fItems[p];
    fItems.resize(to);
  } else {
    std::vector<TGraphObject*> items;
    items.reserve(size_t(Room) + size_t(std::max(fCapacity, fCount)));
    items.assign(size_t(Room), nullptr);
    for (size_t p = size_t(fHead); p < end; ++p)
      if (fGaps == 0 || !fGap[p]) items.push_back(fItems[p]);
    fItems.swap(items);
  }
  fHead = Room;
  fGaps = 0;
  fGap = {};
  fLive = {};
  PlaceRange(fHead, fHead + fCount);
}

// --- taking out and putting in ---------------------------------------------

void TGraphObjectList::TakeOut(int Index) {
  const int place = PlaceAt(Index);
  Unplace(place);
  --fCount;
  if (fGaps == 0 && Index == fCount) {
    fItems.pop_back();
  } else if (fGaps == 0 && Index == 0) {
    fItems[size_t(place)] = nullptr;
    ++fHead;
    // Never more than half the storage idle at the front.
    if (fHead > fCount + 1) DropHead();
  } else {
    LeaveGap(place);
    // Never more gaps than items: closing them costs what leaving them saved.
    if (fGaps > fCount + 64) Settle();
  }
}

void TGraphObjectList::PutOnTop(TGraphObject* Item) {
  if (fGaps == 0) {
    ReuseHead();
    fItems.push_back(nullptr);
  } else {
    // The tree's new last node counts the places it covers.
    const int node = int(fItems.size()) + 1;
    const int count = 1 + LiveBefore(node - 1) - LiveBefore(node - (node & -node));
    fItems.push_back(nullptr);
    fGap.push_back(0);
    fLive.push_back(count);
  }
  Put(int(fItems.size()) - 1, Item);
  ++fCount;
}

void TGraphObjectList::PutAtBottom(TGraphObject* Item) {
  // Room at the front for as many again as half the items, so that sending
  // them to the back one after the other moves each only once.
  if (fHead == 0) Settle(std::max(16, fCount / 2));
  --fHead;
  if (fGaps > 0) {
    fGap[size_t(fHead)] = 0;
    CountLive(fHead, +1);
  }
  Put(fHead, Item);
  ++fCount;
}

void TGraphObjectList::PutIn(int Index, TGraphObject* Item) {
  if (Index == fCount) return PutOnTop(Item);
  if (Index == 0) return PutAtBottom(Item);
  Settle();
  if (fHead > 0 && Index < fCount / 2) {
    --fHead;
    std::move(fItems.begin() + fHead + 1, fItems.begin() + fHead + 1 + Index, fItems.begin() + fHead);
    fItems[size_t(fHead + Index)] = Item;
    PlaceRange(fHead, fHead + Index + 1);
  } else {
    ReuseHead();
    fItems.insert(fItems.begin() + fHead + Index, Item);
    PlaceRange(fHead + Index, int(fItems.size()));
  }
  ++fCount;
}

// ---------------------------------------------------------------------------

// The capacity follows the documented steps, but the storage grows
// geometrically (push_back), so that adding N items never costs N * N.
void TGraphObjectList::Grow() { fCapacity += fCount < 64 ? 16 : 8; }

TGraphObject* TGraphObjectList::Items(int Index) const {
  CheckIndex(Index, fCount);
  return Slot(Index);
}

int TGraphObjectList::Add(TGraphObject* Item) {
  if (fCount == fCapacity) Grow();
  int index = fCount;
  PutOnTop(Item);
  ListChanged(Item, glAdded);
  return index;
}

void TGraphObjectList::Insert(int Index, TGraphObject* Item) {
  CheckIndex(Index, fCount + 1);
  if (fCount == fCapacity) Grow();
  PutIn(Index, Item);
  fHint = Index;
  ListChanged(Item, glAdded);
}

void TGraphObjectList::AdjustCursor(TListEnumState& State, int DeletedIndex) {
  if (State.Dir == 0) return;
  if (DeletedIndex < State.Current || (State.Dir == 1 && DeletedIndex == State.Current)) --State.Current;
}

void TGraphObjectList::AdjustCursors(int DeletedIndex) {
  AdjustCursor(Enum, DeletedIndex);
  for (int i = 0; i < EnumStackPos; ++i) AdjustCursor(EnumStack[size_t(i)], DeletedIndex);
}

void TGraphObjectList::Delete(int Index) {
  CheckIndex(Index, fCount);
  TGraphObject* item = Slot(Index);
  TakeOut(Index);
  fHint = Index;
  AdjustCursors(Index);
  ListChanged(item, glRemoved);
}

int TGraphObjectList::Remove(TGraphObject* Item) {
  int index = IndexOf(Item);
  if (index >= 0) Delete(index);
  return index;
}

// Cursors follow a move as they follow a removal from CurIndex.
void TGraphObjectList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex, fCount);
  CheckIndex(NewIndex, fCount);
  TGraphObject* item = Slot(CurIndex);
  TakeOut(CurIndex);
  AdjustCursors(CurIndex);
  PutIn(NewIndex, item);
  // The next item of a walk that moves each in turn now stands here.
  fHint = CurIndex;
  ListChanged(item, glReordered);
}

int TGraphObjectList::IndexOf(const TGraphObject* Item) const {
  const int end = int(fItems.size());
  if (fPlaces && Item) {
    const int place = fPlaces->PlaceOf(Item);
    if (place >= fHead && place < end && fItems[size_t(place)] == Item) return fHint = IndexAt(place);
  }
  if (fUniqueItems && Item) {
    // A walk that removes or moves each item in turn finds the next one
    // where the last change was made, or beside it.
    for (int i : {fHint, fHint + 1, fHint - 1})
      if (i >= 0 && i < fCount && Slot(i) == Item) return fHint = i;
  }
  for (int p = end - 1; p >= fHead; --p)
    if (fItems[size_t(p)] == Item && (fGaps == 0 || !fGap[size_t(p)])) return fHint = IndexAt(p);
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
  if (index >= 0) {
    const int place = PlaceAt(index);
    Unplace(place);
    Put(place, NewItem);
  }
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
  if (EnumStackPos == int(EnumStack.size()))
    EnumStack.push_back(Enum);
  else
    EnumStack[size_t(EnumStackPos)] = Enum;
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
    // Only a guess when the visit changes the list, and a wrong one costs nothing.
    if (TGraphObject* upcoming = List.Upcoming(Backward)) PrefetchObject(upcoming);
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
