#include "GraphSnapshot.h"

#include <algorithm>
#include <unordered_set>

#include "GraphEditor.h"
#include "GraphObject.h"
#include "Stream.h"

namespace {

// Small snapshots (most steps: a few objects, whose pictures are line art)
// are compressed; large ones are kept as they are, so that a step over a
// whole plan stays quick to take and to undo.
constexpr qsizetype kCompressBelow = 1 << 20;
constexpr int kCompressLevel = 1;

struct TPlaced {
  int Index;
  TGraphObject* Object;
};

std::vector<TPlaced> InListOrder(TGraphEditor& Graph, const std::vector<TGraphObject*>& Objects) {
  std::vector<TPlaced> placed;
  placed.reserve(Objects.size());
  for (TGraphObject* o : Objects) placed.push_back({Graph.ZOrderOf(o), o});
  std::sort(placed.begin(), placed.end(), [](const TPlaced& A, const TPlaced& B) { return A.Index < B.Index; });
  return placed;
}

// Links go first: removing a node first would unhook (or take along) the
// links that are about to be removed anyway.
void RemoveObjects(TGraphEditor& Graph, std::vector<uint32_t> IDs) {
  std::sort(IDs.begin(), IDs.end());
  IDs.erase(std::unique(IDs.begin(), IDs.end()), IDs.end());
  std::vector<TGraphObject*> links, nodes;
  for (uint32_t id : IDs)
    if (TGraphObject* o = Graph.FindObjectByID(id)) (o->IsLink() ? links : nodes).push_back(o);
  for (auto* group : {&links, &nodes})
    for (TGraphObject* o : *group) {
      // Removing one object may have taken another along.
      if (Graph.FindObjectByID(o->ID()) == o) Graph.Objects().Remove(o);
    }
}

}  // namespace

std::vector<TGraphObject*> WithDependents(TGraphEditor& Graph, const std::vector<TGraphObject*>& Objects) {
  std::vector<TGraphObject*> all;
  std::unordered_set<TGraphObject*> seen;
  auto visit = [&](TGraphObject* o) {
    if (o && seen.insert(o).second) all.push_back(o);
  };
  for (TGraphObject* o : Objects) visit(o);
  for (size_t i = 0; i < all.size(); ++i) {
    TGraphObject* o = all[i];
    for (TGraphObjectList* list : {&o->LinkInputList(), &o->LinkOutputList(), &o->DependentList()})
      for (TGraphObject* d : *list) visit(d);
  }
  std::vector<TGraphObject*> ordered;
  ordered.reserve(all.size());
  for (const TPlaced& p : InListOrder(Graph, all)) ordered.push_back(p.Object);
  return ordered;
}

TGraphSnapshot TGraphSnapshot::Take(TGraphEditor& Graph, const std::vector<TGraphObject*>& Objects) {
  TGraphSnapshot snapshot;
  const std::vector<TPlaced> placed = InListOrder(Graph, Objects);
  TMemoryStream data;
  data.WriteInt32(int32_t(placed.size()));
  snapshot.fIDs.reserve(placed.size());
  for (const TPlaced& p : placed) {
    snapshot.fIDs.push_back(p.Object->ID());
    data.WriteInt32(p.Index);
    Graph.StoreObjectRecord(data, p.Object);
  }
  const auto* bytes = reinterpret_cast<const char*>(data.Memory());
  const auto size = qsizetype(data.Size());
  snapshot.fCompressed = size < kCompressBelow;
  snapshot.fData = snapshot.fCompressed ? qCompress(reinterpret_cast<const uchar*>(bytes), size, kCompressLevel)
                                        : QByteArray(bytes, size);
  snapshot.fData.squeeze();
  return snapshot;
}

void TGraphSnapshot::Restore(TGraphEditor& Graph, const std::vector<uint32_t>& Remove) const {
  // Loading asks no questions: the records hold what was allowed then.
  Graph.WithinLoadBracket([&] {
    Graph.ClearSelection();
    std::vector<uint32_t> removed = Remove;
    removed.insert(removed.end(), fIDs.begin(), fIDs.end());
    RemoveObjects(Graph, std::move(removed));

    const QByteArray bytes = fCompressed ? qUncompress(fData) : fData;
    TMemoryStream data;
    data.WriteBuffer(bytes.constData(), bytes.size());
    data.SetPosition(0);
    const int32_t count = data.ReadInt32();
    TGraphObjectList& objects = Graph.Objects();
    const int kept = objects.Count();
    std::vector<TPlaced> restored;
    restored.reserve(size_t(count));
    for (int32_t i = 0; i < count; ++i) {
      const int32_t index = data.ReadInt32();
      restored.push_back({index, Graph.LoadObjectRecord(data)});
    }
    for (const TPlaced& p : restored) p.Object->FinishLoading();
    // In ascending order every object lands where it was: those below it
    // are all in place by then. The loaded objects were appended in that
    // order and each move goes down past the kept ones only, so the i-th
    // still stands at kept + i; asking the list instead would renumber the
    // whole spatial index after every move.
    for (size_t i = 0; i < restored.size(); ++i) {
      const TPlaced& p = restored[i];
      const int expected = kept + int(i);
      const int at = expected < objects.Count() && objects[expected] == p.Object ? expected : Graph.ZOrderOf(p.Object);
      if (p.Index < objects.Count() && at != p.Index) objects.Move(at, p.Index);
    }
    for (const TPlaced& p : restored) p.Object->SetSelected(true);
  });
}
