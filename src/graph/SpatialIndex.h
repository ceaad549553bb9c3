// A uniform grid over the control's Objects list, so that hit finding,
// painting a part of the graph and the rubber band look only at the objects
// near the place in question instead of walking the whole list. It answers
// candidates, never the final answer: callers run the same exact tests the
// list scans run, on the candidates, in the same order.
//
// Each showing object is filed in the cells its area meets. The area is the
// union of VisualRect and SelectedVisualRect, so it holds every rectangle
// the exact tests use (the hit rectangle selected or not, the painted one),
// and selecting an object never moves it in the grid. Objects too large for
// the cells, or with an inverted area, are candidates everywhere.
//
// Order: every object carries a z-key that grows with its list index. An
// object appended takes the next key; removals keep the order; a reorder or
// an insertion below the top renumbers the keys lazily, before the next
// question.
//
// Changes arrive as Touch (an object's area or showing may have changed) and
// are brought in lazily, before the next question, reading the objects'
// live state. The index also keeps the bounds of the showing objects' visual
// rectangles, edge by edge, so the graph's extent never needs a full scan.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

#include "CellTable.h"
#include "Types.h"

class TGraphObject;
class TGraphObjectList;

// A multiset of coordinates that answers its least and greatest member in
// logarithmic time: values grouped in buckets of 256, each a short sorted
// run of (value, count) pairs. A value counted down to none keeps its pair
// until Min or Max meets it or such pairs outnumber the live ones, so that
// removing many objects one after the other frees next to nothing.
class TCoordinateCounter {
 public:
  void Add(int32_t Value);
  void Remove(int32_t Value);
  bool Empty() const { return fTotal == 0; }
  int32_t Min();
  int32_t Max();
  void Clear() {
    fBuckets.clear();
    fTotal = 0;
    fPairs = fEmptied = 0;
  }

 private:
  using TRun = std::vector<std::pair<int32_t, int32_t>>;
  void DropEmptied();
  std::map<int32_t, TRun> fBuckets;
  int64_t fTotal = 0;    // values counted
  int64_t fPairs = 0;    // pairs held
  int64_t fEmptied = 0;  // of which counted down to none
};

class TSpatialIndex {
 public:
  // Cells are CellSize graph units square; an object meeting more than
  // MaxCells of them is a candidate everywhere instead.
  static constexpr int CellShift = 7;
  static constexpr int32_t CellSize = 1 << CellShift;
  static constexpr int64_t MaxCells = 1024;

  explicit TSpatialIndex(const TGraphObjectList& Objects);
  ~TSpatialIndex();
  TSpatialIndex(const TSpatialIndex&) = delete;
  TSpatialIndex& operator=(const TSpatialIndex&) = delete;

  // --- keeping in step with the list ---
  // Object joined the list; AtTop: as its last item.
  void Added(TGraphObject* Object, bool AtTop);
  void Removed(TGraphObject* Object);
  void Reordered() { fOrderStale = true; }
  // New took Old's place in the list without any list event.
  void Substituted(TGraphObject* Old, TGraphObject* New);
  // The object's area or showing may have changed.
  void Touch(TGraphObject* Object);
  // Every object's (marker size, showing of hidden objects).
  void TouchAll() { fAllDirty = true; }

  // False while the list holds an object twice: then only the scans answer.
  bool Usable() const { return fDuplicates == 0; }
  int Count() const { return int(fRecords.size() - fFree.size()); }

  // --- questions ---
  // Objects whose area contains Pt (edges included), topmost first; with
  // Below, only those under it in the list.
  void ObjectsAt(const TPoint& Pt, const TGraphObject* Below, std::vector<TGraphObject*>& Out);
  // Objects whose area meets Area (edges included; an inverted Area counts
  // as its normalised form), in list order.
  void ObjectsIn(const TRect& Area, std::vector<TGraphObject*>& Out);
  // Whether asking about Area is cheaper than walking the whole list.
  bool Selective(const TRect& Area);
  // Union of the visual rectangles of the showing objects; (0, 0, 0, 0)
  // when none shows.
  TRect ShowingBounds();
  // The object's list index, or -1 when it is not in the index.
  int ZOrder(const TGraphObject* Object);

 private:
  struct TCellRange {
    int32_t X0 = 0, Y0 = 0, X1 = -1, Y1 = -1;
    bool Empty() const { return X1 < X0; }
    int64_t Cells() const { return Empty() ? 0 : (int64_t(X1) - X0 + 1) * (int64_t(Y1) - Y0 + 1); }
    friend bool operator==(const TCellRange&, const TCellRange&) = default;
  };
  struct TRecord {
    TGraphObject* Object = nullptr;  // none: a free slot
    TRect Area;                      // as filed; inverted means "everywhere"
    TRect Visual;                    // as counted in the bounds
    uint32_t ZKey = 0;
    uint32_t Stamp = 0;
    int32_t EverywherePos = -1;  // its place in fEverywhere, or -1
    uint32_t Places = 0;         // where in fPlaces its places in its cells start
    uint16_t Occurrences = 0;
    bool Dirty = false;
    bool Counted = false;  // Visual is in the bounds counters
    bool InCells = false;  // filed in the cells Area meets
  };

  TRecord* RecordOf(const TGraphObject* Object);
  void Bring();  // brings in pending renumbering and touches
  void Refresh(uint32_t Slot);
  void Renumber();
  void FileInCells(uint32_t Slot);
  void TakeFromCells(uint32_t Slot);
  // The record's place in cell (X, Y) of its range, as kept in fPlaces.
  uint32_t& PlaceIn(const TRecord& Record, int32_t X, int32_t Y);
  // Room in fPlaces for Count places; the record of Filing has none yet.
  uint32_t AllocatePlaces(int64_t Count, uint32_t Filing);
  void CompactPlaces(uint32_t Filing);
  void Forget(uint32_t Slot);
  static TCellRange RangeOf(const TRect& Area);
  static TCellRange CellsOf(const TRecord& Record);
  static uint64_t CellKey(int32_t X, int32_t Y) { return (uint64_t(uint32_t(X)) << 32) | uint32_t(Y); }
  // Calls Visit(z-key, object) once for every candidate meeting Area.
  template <class F>
  void VisitArea(const TRect& Area, F&& Visit);
  void ShowIn(const TRect& Visual);
  void HideFrom(const TRect& Visual);

  const TGraphObjectList& fObjects;
  // A deque: records stay put and the storage grows without slack.
  std::deque<TRecord> fRecords;
  std::vector<uint32_t> fFree;
  std::vector<uint32_t> fDirty;
  // A cell holds its objects' slots with a copy of their areas, so that a
  // question reads one short run of memory per cell.
  struct TCellEntry {
    TGraphObject* Object;
    uint32_t Slot;
    uint32_t ZKey;
    TRect Area;
  };
  TCellTable<std::vector<TCellEntry>> fCells;
  // Each filed record's place in each of its cells, column by column from
  // Record.Places, so that taking an object out of a crowded cell (a
  // hundred thousand nodes stacked on one spot) needs no search. Runs let go
  // of stay behind until they are half of it.
  std::vector<uint32_t> fPlaces;
  size_t fStalePlaces = 0;
  std::vector<uint32_t> fEverywhere;
  // Kept between questions (they come at every mouse move); the questions
  // call nothing outside the index while they use it.
  std::vector<std::pair<uint32_t, TGraphObject*>> fFound;
  TCoordinateCounter fLefts, fTops, fRights, fBottoms;
  uint32_t fNextKey = 0;
  uint32_t fStamp = 0;
  int fDuplicates = 0;
  bool fOrderStale = false;
  bool fKeysAreIndexes = true;
  bool fAllDirty = false;
};
