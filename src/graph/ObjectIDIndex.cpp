#include "ObjectIDIndex.h"

#include <algorithm>

void TObjectIDIndex::Add(TGraphObject* Object, uint32_t ID) {
  auto [it, inserted] = fHolders.try_emplace(ID);
  THolders& holders = it->second;
  if (inserted) {
    holders.First = Object;
    return;
  }
  if (!holders.Others) holders.Others = std::make_unique<std::unordered_set<TGraphObject*>>();
  holders.Others->insert(Object);
}

void TObjectIDIndex::Remove(TGraphObject* Object, uint32_t ID) {
  auto it = fHolders.find(ID);
  if (it == fHolders.end()) return;
  THolders& holders = it->second;
  if (holders.First != Object) {
    if (holders.Others) holders.Others->erase(Object);
    return;
  }
  if (holders.Shared()) {
    // Any sharer may take over: only the count and membership are asked.
    auto next = holders.Others->begin();
    holders.First = *next;
    holders.Others->erase(next);
    return;
  }
  fHolders.erase(it);
  if (ID >= fHeldRunFirst && ID <= fHeldRunLast) {
    fHeldRunFirst = 1;
    fHeldRunLast = 0;
  }
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
