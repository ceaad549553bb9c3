// The control's listed objects by ID, so that allocating, checking and
// finding IDs cost the same whatever the IDs are. An ID has one holder; the
// objects that share it for a while (a batch read from a document, before
// it is renumbered) sit in a list beside the holder, each knowing its place
// there, so that letting any one of them go is as cheap as letting a lone
// holder go.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
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

  static void RemoveSharer(std::vector<TGraphObject*>& Others, TGraphObject* Object);

  std::unordered_map<uint32_t, THolders> fHolders;
  // IDs known to be all held, so that allocating many IDs in a row does not
  // probe the same held IDs again; forgotten when one of them is let go.
  uint32_t fHeldRunFirst = 1, fHeldRunLast = 0;
};
