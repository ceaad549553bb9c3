// The control's listed objects by ID, so that allocating, checking and
// finding IDs cost the same whatever the IDs are. An ID has one holder; the
// objects that share it for a while (a batch read from a document, before
// it is renumbered) sit in a list beside the holder, each knowing its place
// there, so that letting any one of them go is as cheap as letting a lone
// holder go.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class TGraphObject;

class TObjectIDIndex {
 public:
  void Add(TGraphObject* Object, uint32_t ID);
  // Nothing happens when Object does not hold ID.
  void Remove(TGraphObject* Object, uint32_t ID);
  // Whether an object other than Self holds ID.
  bool TakenByOther(uint32_t ID, const TGraphObject* Self) const;
  // The one holder of ID, or nullptr when none holds it or several do
  // (Shared tells which).
  TGraphObject* SoleHolder(uint32_t ID, bool& Shared) const;
  // The first ID from Candidate up that no object but Self holds.
  uint32_t FirstFree(uint32_t Candidate, const TGraphObject* Self);

 private:
  struct THolders {
    TGraphObject* First = nullptr;
    std::unique_ptr<std::vector<TGraphObject*>> Others;  // none while First is alone
    bool Shared() const { return Others && !Others->empty(); }
  };

  // Holders by ID in one open-addressed array: a document's worth of IDs
  // goes in without a heap allocation each, and sequential IDs, the common
  // case, land in neighbouring slots (see Home). A slot is free while its
  // First is null.
  struct TSlot {
    uint32_t ID = 0;
    THolders Holders;
  };

  static void RemoveSharer(std::vector<TGraphObject*>& Others, TGraphObject* Object);
  static constexpr size_t kNone = ~size_t(0);
  static constexpr int kRunBits = 4;
  static constexpr uint32_t kRunMask = (1u << kRunBits) - 1;
  size_t Home(uint32_t ID) const;
  size_t SlotOf(uint32_t ID) const;  // kNone when no object holds ID
  const THolders* Find(uint32_t ID) const;
  size_t Insert(uint32_t ID, bool& Inserted);
  void Erase(size_t Slot);
  void Grow();

  std::vector<TSlot> fSlots;  // a power of two in size, at most half full
  size_t fCount = 0;
  // IDs known to be all held, so that allocating many IDs in a row does not
  // probe the same held IDs again; forgotten when one of them is let go.
  uint32_t fHeldRunFirst = 1, fHeldRunLast = 0;
};
