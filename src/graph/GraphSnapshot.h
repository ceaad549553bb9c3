// Snapshots of some of a graph's objects, for undo and redo: each object's
// stream record with its ID and its place in the Objects list. Restoring a
// snapshot replaces those objects (and any others named) by the recorded
// ones, with the same IDs, references and stacking order, so a step of the
// history costs what it changed, not the size of the plan.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

class TGraphEditor;
class TGraphObject;

class TGraphSnapshot {
 public:
  TGraphSnapshot() = default;

  // Records Objects (each once; any order).
  static TGraphSnapshot Take(TGraphEditor& Graph, const std::vector<TGraphObject*>& Objects);

  // The recorded objects' IDs, in list order.
  const std::vector<uint32_t>& IDs() const { return fIDs; }
  // Bytes held.
  size_t Size() const { return fData.size() + fIDs.size() * sizeof(uint32_t); }
  bool operator==(const TGraphSnapshot& Other) const { return fIDs == Other.fIDs && fData == Other.fData; }

  // Removes the objects with the IDs in Remove and those recorded here,
  // then recreates the recorded ones in their places; they end up selected.
  void Restore(TGraphEditor& Graph, const std::vector<uint32_t>& Remove) const;

 private:
  std::vector<uint32_t> fIDs;
  QByteArray fData;  // count, then per object: list index, record
  bool fCompressed = false;
};

// Objects and everything that hangs on them (links hooked to them, and
// what hangs on those), each once, in list order: what a change to
// Objects may also change.
std::vector<TGraphObject*> WithDependents(TGraphEditor& Graph, const std::vector<TGraphObject*>& Objects);
