#include "SpatialIndex.h"

#include <algorithm>

#include "GraphObject.h"
#include "GraphObjectList.h"

namespace {
bool Inverted(const TRect& R) { return R.Left > R.Right || R.Top > R.Bottom; }

// Both rectangles taken with their edges (closed intervals).
bool Meets(const TRect& A, const TRect& B) {
  return A.Left <= B.Right && B.Left <= A.Right && A.Top <= B.Bottom && B.Top <= A.Bottom;
}

TRect Normalised(const TRect& R) {
  return {std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right), std::max(R.Top, R.Bottom)};
}

TRect Union(const TRect& A, const TRect& B) {
  return {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right), std::max(A.Bottom, B.Bottom)};
}

bool ByKey(const std::pair<uint32_t, TGraphObject*>& A, const std::pair<uint32_t, TGraphObject*>& B) {
  return A.first < B.first;
}
}  // namespace

// ---------------------------------------------------------------------------
// TCoordinateCounter

void TCoordinateCounter::Add(int32_t Value) {
  ++fTotal;
  TRun& run = fBuckets[Value >> 8];
  auto it = std::lower_bound(run.begin(), run.end(), std::pair<int32_t, int32_t>(Value, INT32_MIN));
  if (it != run.end() && it->first == Value) {
    if (it->second++ == 0) --fEmptied;
  } else {
    run.insert(it, {Value, 1});
    ++fPairs;
  }
}

void TCoordinateCounter::Remove(int32_t Value) {
  auto bucket = fBuckets.find(Value >> 8);
  if (bucket == fBuckets.end()) return;
  TRun& run = bucket->second;
  auto it = std::lower_bound(run.begin(), run.end(), std::pair<int32_t, int32_t>(Value, INT32_MIN));
  if (it == run.end() || it->first != Value || it->second == 0) return;
  --it->second;
  if (--fTotal == 0) return Clear();
  if (it->second == 0 && ++fEmptied > fPairs / 2 + 256) DropEmptied();
}

void TCoordinateCounter::DropEmptied() {
  for (auto bucket = fBuckets.begin(); bucket != fBuckets.end();) {
    TRun& run = bucket->second;
    run.erase(std::remove_if(run.begin(), run.end(), [](const auto& p) { return p.second == 0; }), run.end());
    bucket = run.empty() ? fBuckets.erase(bucket) : std::next(bucket);
  }
  fPairs -= fEmptied;
  fEmptied = 0;
}

// Both drop the emptied pairs they meet on the way (never more than were
// counted down since), so they stay logarithmic over a run of removals.
int32_t TCoordinateCounter::Min() {
  for (;;) {
    TRun& run = fBuckets.begin()->second;
    auto live = std::find_if(run.begin(), run.end(), [](const auto& p) { return p.second > 0; });
    fPairs -= live - run.begin();
    fEmptied -= live - run.begin();
    run.erase(run.begin(), live);
    if (!run.empty()) return run.front().first;
    fBuckets.erase(fBuckets.begin());
  }
}

int32_t TCoordinateCounter::Max() {
  for (;;) {
    auto last = std::prev(fBuckets.end());
    TRun& run = last->second;
    while (!run.empty() && run.back().second == 0) {
      run.pop_back();
      --fPairs;
      --fEmptied;
    }
    if (!run.empty()) return run.back().first;
    fBuckets.erase(last);
  }
}

// ---------------------------------------------------------------------------
// Records

TSpatialIndex::TSpatialIndex(const TGraphObjectList& Objects) : fObjects(Objects) {}

TSpatialIndex::~TSpatialIndex() {
  for (TRecord& r : fRecords)
    if (r.Object) r.Object->SetIndexSlot(-1);
}

TSpatialIndex::TRecord* TSpatialIndex::RecordOf(const TGraphObject* Object) {
  int slot = Object->IndexSlot();
  if (slot < 0 || size_t(slot) >= fRecords.size() || fRecords[size_t(slot)].Object != Object) return nullptr;
  return &fRecords[size_t(slot)];
}

void TSpatialIndex::Added(TGraphObject* Object, bool AtTop) {
  if (TRecord* r = RecordOf(Object)) {
    ++r->Occurrences;
    ++fDuplicates;
    fOrderStale = true;
    return;
  }
  uint32_t slot;
  if (fFree.empty()) {
    slot = uint32_t(fRecords.size());
    fRecords.emplace_back();
  } else {
    slot = fFree.back();
    fFree.pop_back();
    fRecords[slot] = TRecord();
  }
  TRecord& r = fRecords[slot];
  r.Object = Object;
  r.Occurrences = 1;
  r.ZKey = fNextKey;
  if (fNextKey == UINT32_MAX || !AtTop) fOrderStale = true;
  if (fNextKey < UINT32_MAX) ++fNextKey;
  Object->SetIndexSlot(int(slot));
  Touch(Object);
}

void TSpatialIndex::Removed(TGraphObject* Object) {
  TRecord* r = RecordOf(Object);
  if (!r) return;
  if (r->Occurrences > 1) {
    --r->Occurrences;
    --fDuplicates;
    fOrderStale = true;
    return;
  }
  if (r->ZKey + 1 == fNextKey)
    --fNextKey;
  else
    fKeysAreIndexes = false;
  Forget(uint32_t(Object->IndexSlot()));
  Object->SetIndexSlot(-1);
  if (Count() == 0) {
    // Emptied: start afresh, with nothing left over.
    fRecords.clear();
    fFree.clear();
    fDirty.clear();
    fCells.Clear();
    fPlaces = {};
    fStalePlaces = 0;
    fEverywhere.clear();
    fNextKey = 0;
    fOrderStale = false;
    fKeysAreIndexes = true;
    fAllDirty = false;
  }
}

void TSpatialIndex::Forget(uint32_t Slot) {
  TRecord& r = fRecords[Slot];
  TakeFromCells(Slot);
  if (r.Counted) HideFrom(r.Visual);
  r = TRecord();
  fFree.push_back(Slot);
}

void TSpatialIndex::Substituted(TGraphObject* Old, TGraphObject* New) {
  TRecord* r = RecordOf(Old);
  if (!r) return;
  int slot = Old->IndexSlot();
  // The cells hold the object too: it is filed afresh.
  TakeFromCells(uint32_t(slot));
  r->Object = New;
  Old->SetIndexSlot(-1);
  New->SetIndexSlot(slot);
  r->Dirty = false;
  Touch(New);
}

void TSpatialIndex::Touch(TGraphObject* Object) {
  TRecord* r = RecordOf(Object);
  if (!r || r->Dirty) return;
  r->Dirty = true;
  fDirty.push_back(uint32_t(Object->IndexSlot()));
}

// ---------------------------------------------------------------------------
// Bringing changes in

void TSpatialIndex::Bring() {
  if (fOrderStale) Renumber();
  if (fAllDirty) {
    fAllDirty = false;
    fDirty.clear();
    for (uint32_t slot = 0; slot < fRecords.size(); ++slot)
      if (fRecords[slot].Object) Refresh(slot);
    return;
  }
  // A refresh reads only the object, so it cannot add to the list it walks.
  for (uint32_t slot : fDirty)
    if (fRecords[slot].Object && fRecords[slot].Dirty) Refresh(slot);
  fDirty.clear();
}

void TSpatialIndex::Renumber() {
  uint32_t index = 0;
  for (TGraphObject* o : fObjects) {
    if (TRecord* r = RecordOf(o)) r->ZKey = index;
    ++index;
  }
  fNextKey = index;
  fOrderStale = false;
  fKeysAreIndexes = fDuplicates == 0;
  fCells.ForEach([this](uint64_t, std::vector<TCellEntry>& Members) {
    for (TCellEntry& e : Members) e.ZKey = fRecords[e.Slot].ZKey;
  });
}

TSpatialIndex::TCellRange TSpatialIndex::CellsOf(const TRecord& Record) {
  return Record.InCells ? RangeOf(Record.Area) : TCellRange();
}

TSpatialIndex::TCellRange TSpatialIndex::RangeOf(const TRect& Area) {
  return {Area.Left >> CellShift, Area.Top >> CellShift, Area.Right >> CellShift, Area.Bottom >> CellShift};
}

void TSpatialIndex::Refresh(uint32_t Slot) {
  TRecord& r = fRecords[Slot];
  r.Dirty = false;
  const TGraphObject* o = r.Object;
  bool showing = o->Showing();
  const TRect& visual = o->VisualRect();
  if (r.Counted && (!showing || visual != r.Visual)) {
    HideFrom(r.Visual);
    r.Counted = false;
  }
  if (showing && !r.Counted) {
    ShowIn(visual);
    r.Visual = visual;
    r.Counted = true;
  }
  if (!showing) {
    TakeFromCells(Slot);
    return;
  }
  TRect selected = o->SelectedVisualRect();
  TRect area = Inverted(visual) || Inverted(selected) ? InvertedRect : Union(visual, selected);
  TCellRange range = Inverted(area) ? TCellRange() : RangeOf(area);
  bool everywhere = Inverted(area) || range.Cells() > MaxCells;
  if (everywhere) range = TCellRange();
  bool filed = r.EverywherePos >= 0 || r.InCells;
  if (!filed || everywhere != (r.EverywherePos >= 0) || range != CellsOf(r)) {
    TakeFromCells(Slot);
    r.Area = area;
    r.InCells = !everywhere;
    FileInCells(Slot);
    if (everywhere) {
      r.EverywherePos = int32_t(fEverywhere.size());
      fEverywhere.push_back(Slot);
    }
    return;
  }
  if (area == r.Area) return;
  r.Area = area;
  // Same cells, new area: the copies the cells hold follow.
  const TCellRange q = range;
  for (int32_t x = q.X0; !q.Empty() && x <= q.X1; ++x)
    for (int32_t y = q.Y0; y <= q.Y1; ++y)
      if (std::vector<TCellEntry>* members = fCells.Find(CellKey(x, y))) (*members)[PlaceIn(r, x, y)].Area = area;
}

uint32_t& TSpatialIndex::PlaceIn(const TRecord& Record, int32_t X, int32_t Y) {
  const TCellRange q = CellsOf(Record);
  size_t column = size_t(int64_t(X) - q.X0) * size_t(int64_t(q.Y1) - q.Y0 + 1);
  return fPlaces[Record.Places + column + size_t(int64_t(Y) - q.Y0)];
}

uint32_t TSpatialIndex::AllocatePlaces(int64_t Count, uint32_t Filing) {
  if (fStalePlaces > 4096 && fStalePlaces * 2 > fPlaces.size()) CompactPlaces(Filing);
  auto start = uint32_t(fPlaces.size());
  fPlaces.resize(fPlaces.size() + size_t(Count));
  return start;
}

void TSpatialIndex::CompactPlaces(uint32_t Filing) {
  std::vector<uint32_t> kept;
  kept.reserve(fPlaces.size() - fStalePlaces);
  for (uint32_t slot = 0; slot < fRecords.size(); ++slot) {
    TRecord& r = fRecords[slot];
    if (!r.Object || !r.InCells || slot == Filing) continue;
    auto count = size_t(CellsOf(r).Cells());
    auto from = fPlaces.begin() + r.Places;
    r.Places = uint32_t(kept.size());
    kept.insert(kept.end(), from, from + ptrdiff_t(count));
  }
  fPlaces = std::move(kept);
  fStalePlaces = 0;
}

void TSpatialIndex::FileInCells(uint32_t Slot) {
  TRecord& r = fRecords[Slot];
  const TCellRange q = CellsOf(r);
  if (q.Empty()) return;
  r.Places = AllocatePlaces(q.Cells(), Slot);
  uint32_t* place = &fPlaces[r.Places];
  for (int32_t x = q.X0; x <= q.X1; ++x)
    for (int32_t y = q.Y0; y <= q.Y1; ++y) {
      std::vector<TCellEntry>& members = fCells[CellKey(x, y)];
      *place++ = uint32_t(members.size());
      members.push_back({r.Object, Slot, r.ZKey, r.Area});
    }
}

void TSpatialIndex::TakeFromCells(uint32_t Slot) {
  TRecord& r = fRecords[Slot];
  if (r.EverywherePos >= 0) {
    uint32_t moved = fEverywhere.back();
    fEverywhere[size_t(r.EverywherePos)] = moved;
    fRecords[moved].EverywherePos = r.EverywherePos;
    fEverywhere.pop_back();
    r.EverywherePos = -1;
  }
  const TCellRange q = CellsOf(r);
  for (int32_t x = q.X0; !q.Empty() && x <= q.X1; ++x)
    for (int32_t y = q.Y0; y <= q.Y1; ++y) {
      std::vector<TCellEntry>* members = fCells.Find(CellKey(x, y));
      if (!members) continue;
      // The cell's last member takes the place let go, and notes it.
      uint32_t place = PlaceIn(r, x, y);
      const TCellEntry& last = members->back();
      if (last.Slot != Slot) {
        PlaceIn(fRecords[last.Slot], x, y) = place;
        (*members)[place] = last;
      }
      members->pop_back();
      if (members->empty()) fCells.Erase(CellKey(x, y));
    }
  fStalePlaces += size_t(q.Cells());
  r.InCells = false;
}

void TSpatialIndex::ShowIn(const TRect& Visual) {
  fLefts.Add(Visual.Left);
  fTops.Add(Visual.Top);
  fRights.Add(Visual.Right);
  fBottoms.Add(Visual.Bottom);
}

void TSpatialIndex::HideFrom(const TRect& Visual) {
  fLefts.Remove(Visual.Left);
  fTops.Remove(Visual.Top);
  fRights.Remove(Visual.Right);
  fBottoms.Remove(Visual.Bottom);
}

// ---------------------------------------------------------------------------
// Questions

template <class F>
void TSpatialIndex::VisitArea(const TRect& Area, F&& Visit) {
  if (++fStamp == 0) {
    for (TRecord& r : fRecords) r.Stamp = 0;
    fStamp = 1;
  }
  TCellRange q = RangeOf(Area);
  // An object sits in a cell once, so an area within one cell needs no
  // check for objects met twice; the cells' copies of the areas spare a
  // look at the records of the objects that do not meet it.
  bool oneCell = q.Cells() == 1;
  auto consider = [&](const TCellEntry& e) {
    if (!Meets(e.Area, Area)) return;
    if (!oneCell) {
      TRecord& r = fRecords[e.Slot];
      if (r.Stamp == fStamp) return;
      r.Stamp = fStamp;
    }
    Visit(e.ZKey, e.Object);
  };
  if (q.Cells() > int64_t(fCells.Size())) {
    fCells.ForEach([&](uint64_t Key, const std::vector<TCellEntry>& Members) {
      auto x = int32_t(uint32_t(Key >> 32)), y = int32_t(uint32_t(Key));
      if (x < q.X0 || x > q.X1 || y < q.Y0 || y > q.Y1) return;
      for (const TCellEntry& e : Members) consider(e);
    });
  } else {
    for (int32_t x = q.X0; x <= q.X1; ++x)
      for (int32_t y = q.Y0; y <= q.Y1; ++y)
        if (const std::vector<TCellEntry>* members = fCells.Find(CellKey(x, y)))
          for (const TCellEntry& e : *members) consider(e);
  }
  for (uint32_t slot : fEverywhere) {
    TRecord& r = fRecords[slot];
    if (r.Stamp == fStamp) continue;
    r.Stamp = fStamp;
    if (Inverted(r.Area) || Meets(r.Area, Area)) Visit(r.ZKey, r.Object);
  }
}

void TSpatialIndex::ObjectsAt(const TPoint& Pt, const TGraphObject* Below, std::vector<TGraphObject*>& Out) {
  Out.clear();
  Bring();
  uint32_t limit = UINT32_MAX;
  if (Below) {
    TRecord* b = RecordOf(Below);
    if (!b) return;
    limit = b->ZKey;
  }
  std::vector<std::pair<uint32_t, TGraphObject*>>& found = fFound;
  found.clear();
  VisitArea(TRect(Pt.X, Pt.Y, Pt.X, Pt.Y), [&](uint32_t Key, TGraphObject* Object) {
    if (Key < limit) found.emplace_back(Key, Object);
  });
  std::sort(found.begin(), found.end(), [](const auto& A, const auto& B) { return ByKey(B, A); });
  for (const auto& f : found) Out.push_back(f.second);
}

void TSpatialIndex::ObjectsIn(const TRect& Area, std::vector<TGraphObject*>& Out) {
  Out.clear();
  Bring();
  std::vector<std::pair<uint32_t, TGraphObject*>>& found = fFound;
  found.clear();
  VisitArea(Normalised(Area), [&](uint32_t Key, TGraphObject* Object) { found.emplace_back(Key, Object); });
  std::sort(found.begin(), found.end(), ByKey);
  Out.reserve(found.size());
  for (const auto& f : found) Out.push_back(f.second);
}

bool TSpatialIndex::Selective(const TRect& Area) {
  Bring();
  return RangeOf(Normalised(Area)).Cells() * 2 < int64_t(fCells.Size());
}

TRect TSpatialIndex::ShowingBounds() {
  Bring();
  if (fLefts.Empty()) return TRect();
  return {fLefts.Min(), fTops.Min(), fRights.Max(), fBottoms.Max()};
}

int TSpatialIndex::ZOrder(const TGraphObject* Object) {
  TRecord* r = RecordOf(Object);
  if (!r) return -1;
  if (fOrderStale || !fKeysAreIndexes) Renumber();
  return int(r->ZKey);
}
