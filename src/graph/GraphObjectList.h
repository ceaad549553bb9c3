// The ordered, non-owning list of graph objects with a re-entrant
// enumeration cursor: code that walks a list may call out to code that
// walks (or shrinks) the same list, by saving the cursor with Push and
// restoring it with Pop.
#pragma once

#include <functional>
#include <vector>

#include "Persistent.h"

class TGraphObject;

enum TGraphObjectListAction { glAdded, glRemoved, glReordered };

// Where an owner keeps each item's place in a list's storage, so that the
// list finds any item of a large list without searching it. PlaceOf answers
// -1 for an item it keeps no place for.
class TGraphObjectPlaces {
 public:
  virtual int PlaceOf(const TGraphObject* Item) const = 0;
  virtual void SetPlace(TGraphObject* Item, int Place) = 0;

 protected:
  ~TGraphObjectPlaces() = default;
};

class TGraphObjectList : public TPersistent {
 public:
  using TGraphObjectListEvent =
      std::function<void(TGraphObjectList* Sender, TGraphObject* GraphObject, TGraphObjectListAction Action)>;

  TGraphObjectList() = default;
  ~TGraphObjectList() override;
  TGraphObjectList(const TGraphObjectList&) = delete;
  TGraphObjectList& operator=(const TGraphObjectList&) = delete;

  const char* ClassName() const override { return "TGraphObjectList"; }
  void Assign(const TPersistent* Source) override;

  int Count() const { return fCount; }
  int Capacity() const { return fCapacity; }
  void SetCapacity(int Value);
  // Raises "Index out of range (%d)".
  TGraphObject* Items(int Index) const;
  TGraphObject* operator[](int Index) const { return Items(Index); }

  int Add(TGraphObject* Item);
  void Insert(int Index, TGraphObject* Item);
  void Delete(int Index);
  int Remove(TGraphObject* Item);
  void Move(int CurIndex, int NewIndex);
  // Highest index holding Item, or -1.
  int IndexOf(const TGraphObject* Item) const;
  // The owner's promise that no item is ever held twice. Lookups may then
  // start where the last change was made, so that walking a large list and
  // removing or moving each item in turn stays linear.
  void SetUniqueItems(bool Value) { fUniqueItems = Value; }
  // With unique items: Places (not owned) keeps every item's storage place,
  // so IndexOf, Remove and the moves to the front or back find an item
  // without searching.
  void SetPlaces(TGraphObjectPlaces* Places);
  bool Contains(const TGraphObject* Item) const { return IndexOf(Item) >= 0; }
  void Clear();
  // Replaces Item in place without any event.
  int Substitute(TGraphObject* OldItem, TGraphObject* NewItem);

  TGraphObject* First();
  TGraphObject* Last();
  // Raises "List enumeration is not initialized" when stepping an idle cursor.
  TGraphObject* Next();
  TGraphObject* Prior();
  // The item Next (or Prior) would give now, without moving the cursor.
  TGraphObject* Upcoming(bool Backward) const {
    const int at = Enum.Current + (Backward ? -1 : 1);
    return Enum.Dir != 0 && at >= 0 && at < fCount ? Slot(at) : nullptr;
  }
  bool Push();
  bool Pop();

  TGraphObjectListEvent OnChange;

  // Plain iteration over the items in use (no cursor, no events).
  TGraphObject* const* begin() const {
    Settle();
    return fItems.data() + fHead;
  }
  TGraphObject* const* end() const {
    Settle();
    return fItems.data() + fHead + fCount;
  }

 protected:
  virtual void ListChanged(TGraphObject* GraphObject, TGraphObjectListAction Action);

 private:
  struct TListEnumState {
    int Current = 0;
    int Dir = 0;  // 0 idle, 1 forward, -1 backward
  };

  void Grow();
  void CheckIndex(int Index, int Limit) const;
  void AdjustCursor(TListEnumState& State, int DeletedIndex);
  void AdjustCursors(int DeletedIndex);
  // The storage place of the item at Index, and the index of the item at a
  // place in use.
  int PlaceAt(int Index) const;
  int IndexAt(int Place) const;
  TGraphObject* Slot(int Index) const { return fItems[size_t(PlaceAt(Index))]; }
  void Put(int Place, TGraphObject* Item);
  void Unplace(int Place);
  void PlaceRange(int From, int To) const;
  void DropHead();
  void ReuseHead();
  // Taking out and putting in without any event; the shifting ones need a
  // settled list.
  void TakeOut(int Index);
  void PutIn(int Index, TGraphObject* Item);
  void PutOnTop(TGraphObject* Item);
  void PutAtBottom(TGraphObject* Item);
  // Gaps: places given up in the middle, closed all at once later.
  void LeaveGap(int Place);
  void OpenGaps();
  // Closes the gaps, leaving Room free places before the first item.
  void Settle(int Room) const;
  void Settle() const {
    if (fGaps > 0) Settle(fHead);
  }
  int LiveBefore(int Place) const;
  void CountLive(int Place, int Delta);

  // The items in use are fItems[fHead, fHead + fCount + fGaps): removing or
  // inserting at either end moves nothing. An item taken from the middle,
  // or moved from the middle to an end, leaves a gap behind instead of
  // shifting the rest; fGap marks the gaps and fLive counts the places in
  // use (a Fenwick tree), so that indexes still map to places in
  // logarithmic time, and any walk over the storage closes them first.
  mutable std::vector<TGraphObject*> fItems;
  mutable std::vector<uint8_t> fGap;
  mutable std::vector<int> fLive;
  mutable int fGaps = 0;
  mutable int fHead = 0;
  int fCount = 0;
  int fCapacity = 0;
  bool fUniqueItems = false;
  TGraphObjectPlaces* fPlaces = nullptr;
  mutable int fHint = -1;  // where the last lookup or change was
  TListEnumState Enum;
  std::vector<TListEnumState> EnumStack;
  int EnumStackPos = 0;
};

// Asks for an object's memory ahead of its turn in a walk. Work on one
// object reads a field here and a field there all over it, and objects lie
// wherever they were allocated: without this, a walk over a large plan waits
// on memory for most of its time. The footprint covers a node or a link;
// reaching past a smaller object's end does no harm.
constexpr size_t kObjectFootprint = 1152;
inline void PrefetchObject(const TGraphObject* Object) {
  const char* at = reinterpret_cast<const char*>(Object);
  for (size_t line = 0; line < kObjectFootprint; line += 64) __builtin_prefetch(at + line);
}

// Visits the objects of a range of pointers in order, asking for each next
// one's memory before visiting this one.
template <class Range, class Visitor>
void ForEachPrefetched(const Range& Objects, Visitor&& Visit) {
  for (auto it = std::begin(Objects), end = std::end(Objects); it != end; ++it) {
    if (it + 1 != end) PrefetchObject(it[1]);
    Visit(*it);
  }
}

// Walks a list with its cursor, saving and restoring it around each visit
// (also when the visit throws), so the visit may walk or change the list.
// Stops early when Visit answers false; answers whether it ran to the end.
bool ForEachInList(TGraphObjectList& List, const std::function<bool(TGraphObject*)>& Visit, bool Backward = false);
