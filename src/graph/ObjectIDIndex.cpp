#include "ObjectIDIndex.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "GraphObject.h"

size_t TObjectIDIndex::Home(uint32_t ID) const {
  // Runs of 16 IDs stay together, so a document's sequential IDs are looked
  // up in neighbouring slots; the runs are spread by Fibonacci hashing (the
  // top bits of the product), which scatters any arithmetic progression.
  // The table has at least 64 slots, so there are always run bits to take.
  const int runBits = std::countr_zero(fSlots.size()) - kRunBits;
  const uint64_t run = (uint64_t(ID >> kRunBits) * 0x9E3779B97F4A7C15ull) >> (64 - runBits);
  return size_t(run << kRunBits) | (ID & kRunMask);
}

size_t TObjectIDIndex::SlotOf(uint32_t ID) const {
  if (fSlots.empty()) return kNone;
  const size_t mask = fSlots.size() - 1;
  for (size_t i = Home(ID);; i = (i + 1) & mask) {
    if (!fSlots[i].Holders.First) return kNone;
    if (fSlots[i].ID == ID) return i;
  }
}

const TObjectIDIndex::THolders* TObjectIDIndex::Find(uint32_t ID) const {
  const size_t slot = SlotOf(ID);
  return slot == kNone ? nullptr : &fSlots[slot].Holders;
}

size_t TObjectIDIndex::Insert(uint32_t ID, bool& Inserted) {
  Inserted = false;
  if (size_t slot = SlotOf(ID); slot != kNone) return slot;
  if (2 * (fCount + 1) > fSlots.size()) Grow();
  const size_t mask = fSlots.size() - 1;
  size_t i = Home(ID);
  while (fSlots[i].Holders.First) i = (i + 1) & mask;
  fSlots[i].ID = ID;
  ++fCount;
  Inserted = true;
  return i;
}

void TObjectIDIndex::Grow() {
  std::vector<TSlot> old = std::exchange(fSlots, std::vector<TSlot>(std::max<size_t>(64, 2 * fSlots.size())));
  const size_t mask = fSlots.size() - 1;
  for (TSlot& slot : old) {
    if (!slot.Holders.First) continue;
    size_t i = Home(slot.ID);
    while (fSlots[i].Holders.First) i = (i + 1) & mask;
    fSlots[i] = std::move(slot);
  }
}

// Backward-shift deletion: later entries of the same probe run move up into
// the hole, so lookups need no tombstones.
void TObjectIDIndex::Erase(size_t Slot) {
  const size_t mask = fSlots.size() - 1;
  size_t hole = Slot;
  fSlots[hole] = TSlot();
  --fCount;
  for (size_t i = (hole + 1) & mask; fSlots[i].Holders.First; i = (i + 1) & mask) {
    // An entry may fill the hole only when the hole lies on its probe path,
    // cyclically from its home up to where it sits.
    const size_t home = Home(fSlots[i].ID);
    const bool onPath = hole <= i ? (home <= hole || home > i) : (home <= hole && home > i);
    if (!onPath) continue;
    fSlots[hole] = std::move(fSlots[i]);
    fSlots[i] = TSlot();
    hole = i;
  }
}

void TObjectIDIndex::Add(TGraphObject* Object, uint32_t ID) {
  bool inserted = false;
  THolders& holders = fSlots[Insert(ID, inserted)].Holders;
  if (inserted) {
    holders.First = Object;
    return;
  }
  if (!holders.Others) holders.Others = std::make_unique<std::vector<TGraphObject*>>();
  Object->SetSharerSlot(int(holders.Others->size()));
  holders.Others->push_back(Object);
}

void TObjectIDIndex::Remove(TGraphObject* Object, uint32_t ID) {
  const size_t slot = SlotOf(ID);
  if (slot == kNone) return;
  THolders& holders = fSlots[slot].Holders;
  if (holders.First != Object) {
    if (holders.Others) RemoveSharer(*holders.Others, Object);
  } else if (holders.Shared()) {
    // Any sharer may take over: only the count and membership are asked.
    holders.First = holders.Others->back();
    holders.Others->pop_back();
    holders.First->SetSharerSlot(-1);
  } else {
    Erase(slot);
    if (ID >= fHeldRunFirst && ID <= fHeldRunLast) {
      fHeldRunFirst = 1;
      fHeldRunLast = 0;
    }
    return;
  }
  if (holders.Others && holders.Others->empty()) holders.Others.reset();
}

void TObjectIDIndex::RemoveSharer(std::vector<TGraphObject*>& Others, TGraphObject* Object) {
  auto slot = size_t(Object->SharerSlot());
  // An object listed twice has one slot for two places: then it is looked for.
  if (slot >= Others.size() || Others[slot] != Object) {
    auto it = std::find(Others.begin(), Others.end(), Object);
    if (it == Others.end()) return;
    slot = size_t(it - Others.begin());
  }
  TGraphObject* moved = Others.back();
  Others[slot] = moved;
  moved->SetSharerSlot(int(slot));
  Others.pop_back();
  Object->SetSharerSlot(-1);
}

bool TObjectIDIndex::TakenByOther(uint32_t ID, const TGraphObject* Self) const {
  const THolders* holders = Find(ID);
  return holders && (holders->First != Self || holders->Shared());
}

TGraphObject* TObjectIDIndex::SoleHolder(uint32_t ID, bool& Shared) const {
  const THolders* holders = Find(ID);
  Shared = holders && holders->Shared();
  return !holders || Shared ? nullptr : holders->First;
}

uint32_t TObjectIDIndex::FirstFree(uint32_t Candidate, const TGraphObject* Self) {
  if (!TakenByOther(Candidate, Self)) return Candidate;
  uint32_t first = Candidate;
  do {
    if (Candidate >= fHeldRunFirst && Candidate <= fHeldRunLast) Candidate = fHeldRunLast;
    ++Candidate;
  } while (TakenByOther(Candidate, Self));
  uint32_t last = Candidate - 1;
  bool joins = fHeldRunFirst <= fHeldRunLast && first <= fHeldRunLast + 1 && last + 1 >= fHeldRunFirst;
  fHeldRunFirst = joins ? std::min(first, fHeldRunFirst) : first;
  fHeldRunLast = joins ? std::max(last, fHeldRunLast) : last;
  return Candidate;
}
