#include "ObjectIDIndex.h"

#include <algorithm>

#include "GraphObject.h"

void TObjectIDIndex::Add(TGraphObject* Object, uint32_t ID) {
  auto [it, inserted] = fHolders.try_emplace(ID);
  THolders& holders = it->second;
  if (inserted) {
    holders.First = Object;
    return;
  }
  if (!holders.Others) holders.Others = std::make_unique<std::vector<TGraphObject*>>();
  Object->SetSharerSlot(int(holders.Others->size()));
  holders.Others->push_back(Object);
}

void TObjectIDIndex::Remove(TGraphObject* Object, uint32_t ID) {
  auto it = fHolders.find(ID);
  if (it == fHolders.end()) return;
  THolders& holders = it->second;
  if (holders.First != Object) {
    if (holders.Others) RemoveSharer(*holders.Others, Object);
  } else if (holders.Shared()) {
    // Any sharer may take over: only the count and membership are asked.
    holders.First = holders.Others->back();
    holders.Others->pop_back();
    holders.First->SetSharerSlot(-1);
  } else {
    fHolders.erase(it);
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
  auto it = fHolders.find(ID);
  if (it == fHolders.end()) return false;
  return it->second.First != Self || it->second.Shared();
}

TGraphObject* TObjectIDIndex::SoleHolder(uint32_t ID, bool& Shared) const {
  auto it = fHolders.find(ID);
  Shared = it != fHolders.end() && it->second.Shared();
  return it == fHolders.end() || Shared ? nullptr : it->second.First;
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
