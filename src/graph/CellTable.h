// The spatial index's cells by cell key: an open-addressing hash table with
// linear probing, keys and values side by side in one array, so that finding
// a cell costs one look into memory instead of a bucket and a node apart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

template <class TValue>
class TCellTable {
 public:
  // A key no cell can have: cell coordinates are graph coordinates shifted
  // right, so neither half reaches the least 32-bit integer.
  static constexpr uint64_t NoKey = 0x8000000080000000ull;

  size_t Size() const { return fSize; }

  TValue* Find(uint64_t Key) {
    if (fSize == 0) return nullptr;
    for (size_t i = Home(Key);; i = (i + 1) & fMask) {
      if (fSlots[i].Key == Key) return &fSlots[i].Value;
      if (fSlots[i].Key == NoKey) return nullptr;
    }
  }

  // The cell's value, added empty when the key is new. Adding may move
  // every value, so a reference lasts until the next addition.
  TValue& operator[](uint64_t Key) {
    if ((fSize + 1) * 10 > fSlots.size() * 7) Rehash(fSlots.empty() ? 16 : fSlots.size() * 2);
    size_t i = Home(Key);
    for (; fSlots[i].Key != NoKey; i = (i + 1) & fMask)
      if (fSlots[i].Key == Key) return fSlots[i].Value;
    fSlots[i].Key = Key;
    ++fSize;
    return fSlots[i].Value;
  }

  void Erase(uint64_t Key) {
    if (fSize == 0) return;
    size_t hole = Home(Key);
    while (fSlots[hole].Key != Key) {
      if (fSlots[hole].Key == NoKey) return;
      hole = (hole + 1) & fMask;
    }
    // Close the hole: pull back every later entry of the run that may sit
    // there without passing its home slot.
    for (size_t next = (hole + 1) & fMask; fSlots[next].Key != NoKey; next = (next + 1) & fMask) {
      size_t home = Home(fSlots[next].Key);
      if (((next - home) & fMask) < ((next - hole) & fMask)) continue;
      fSlots[hole] = std::move(fSlots[next]);
      hole = next;
    }
    fSlots[hole] = TSlot();
    --fSize;
  }

  void Clear() {
    fSlots.clear();
    fSlots.shrink_to_fit();
    fMask = 0;
    fSize = 0;
  }

  // Visit(key, value) for every cell, in no particular order.
  template <class F>
  void ForEach(F&& Visit) {
    for (TSlot& s : fSlots)
      if (s.Key != NoKey) Visit(s.Key, s.Value);
  }

 private:
  struct TSlot {
    uint64_t Key = NoKey;
    TValue Value{};
  };

  size_t Home(uint64_t Key) const { return size_t((Key * 0x9E3779B97F4A7C15ull) >> 32) & fMask; }

  void Rehash(size_t Capacity) {
    std::vector<TSlot> old = std::move(fSlots);
    fSlots = std::vector<TSlot>(Capacity);
    fMask = Capacity - 1;
    for (TSlot& s : old) {
      if (s.Key == NoKey) continue;
      size_t i = Home(s.Key);
      while (fSlots[i].Key != NoKey) i = (i + 1) & fMask;
      fSlots[i] = std::move(s);
    }
  }

  std::vector<TSlot> fSlots;  // a power of two long
  size_t fMask = 0;
  size_t fSize = 0;
};
