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

class TGraphObjectList : public TPersistent {
 public:
  using TGraphObjectListEvent = std::function<void(TGraphObjectList* Sender, TGraphObject* GraphObject,
                                                   TGraphObjectListAction Action)>;

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
  bool Contains(const TGraphObject* Item) const { return IndexOf(Item) >= 0; }
  void Clear();
  // Replaces Item in place without any event.
  int Substitute(TGraphObject* OldItem, TGraphObject* NewItem);

  TGraphObject* First();
  TGraphObject* Last();
  // Raises "List enumeration is not initialized" when stepping an idle cursor.
  TGraphObject* Next();
  TGraphObject* Prior();
  bool Push();
  bool Pop();

  TGraphObjectListEvent OnChange;

  // Plain iteration over the items in use (no cursor, no events).
  TGraphObject* const* begin() const { return fItems.data() + fHead; }
  TGraphObject* const* end() const { return fItems.data() + fHead + fCount; }

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
  TGraphObject*& Slot(int Index) { return fItems[size_t(fHead + Index)]; }
  TGraphObject* Slot(int Index) const { return fItems[size_t(fHead + Index)]; }
  void DropHead();
  void ReuseHead();

  // The items in use are fItems[fHead, fHead + fCount): removing or inserting
  // shifts the shorter side, so the front is as cheap to change as the end.
  std::vector<TGraphObject*> fItems;
  int fHead = 0;
  int fCount = 0;
  int fCapacity = 0;
  bool fUniqueItems = false;
  mutable int fHint = -1;  // where the last lookup or change was
  TListEnumState Enum;
  std::vector<TListEnumState> EnumStack;
  int EnumStackPos = 0;
};

// Walks a list with its cursor, saving and restoring it around each visit
// (also when the visit throws), so the visit may walk or change the list.
// Stops early when Visit answers false; answers whether it ran to the end.
bool ForEachInList(TGraphObjectList& List, const std::function<bool(TGraphObject*)>& Visit, bool Backward = false);
