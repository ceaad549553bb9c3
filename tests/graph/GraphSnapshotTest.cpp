// A snapshot of objects scattered through the list, restored after they
// were deleted or moved to the front, must give back the document byte for
// byte: the same IDs, links and stacking order.
#include <gtest/gtest.h>

#include "GraphSnapshot.h"
#include "GraphTestSupport.h"
#include "Stream.h"

namespace {

QByteArray Document(TGraphEditor& Graph) {
  TMemoryStream data;
  Graph.StoreObjects(data, Graph.Objects());
  return QByteArray(reinterpret_cast<const char*>(data.Memory()), qsizetype(data.Size()));
}

// A row of nodes, each linked to the next: links sit between the nodes in
// the list, so any few objects are scattered through it.
struct SnapshotTest : ::testing::Test {
  std::unique_ptr<TGraphEditor> graph = MakeGraph();
  std::vector<TGraphNode*> nodes;

  void SetUp() override {
    for (int i = 0; i < 40; ++i) {
      nodes.push_back(AddNode<TRectangularNode>(*graph, TRect(i * 30, 0, i * 30 + 20, 20)));
      if (i > 0) graph->InsertLink(nodes[size_t(i) - 1], nodes.back(), &TGraphLink::ClassInfo);
    }
  }

  // Every fifth node and what hangs on it.
  std::vector<TGraphObject*> Scattered() {
    std::vector<TGraphObject*> picked;
    for (size_t i = 3; i < nodes.size(); i += 5) picked.push_back(nodes[i]);
    return WithDependents(*graph, picked);
  }
};

TEST_F(SnapshotTest, DeletedObjectsComeBackInTheirPlaces) {
  const std::vector<TGraphObject*> picked = Scattered();
  ASSERT_GT(picked.size(), 16u);
  const QByteArray before = Document(*graph);
  const TGraphSnapshot snapshot = TGraphSnapshot::Take(*graph, picked);
  for (TGraphObject* o : picked) o->SetSelected(true);
  graph->ForEachObject([](TGraphObject* o, void*) { return o->Delete(); }, nullptr, true);
  ASSERT_EQ(graph->Objects().Count(), 40 + 39 - int(picked.size()));

  snapshot.Restore(*graph, {});
  EXPECT_EQ(Document(*graph), before);
  EXPECT_EQ(graph->SelectedObjects().Count(), int(picked.size()));
}

TEST_F(SnapshotTest, ObjectsBroughtToTheFrontGoBackDown) {
  const std::vector<TGraphObject*> picked = Scattered();
  const QByteArray before = Document(*graph);
  const TGraphSnapshot snapshot = TGraphSnapshot::Take(*graph, picked);
  std::vector<uint32_t> ids;
  for (TGraphObject* o : picked) {
    ids.push_back(o->ID());
    o->BringToFront();
  }
  ASSERT_NE(Document(*graph), before);

  snapshot.Restore(*graph, ids);
  EXPECT_EQ(Document(*graph), before);
  for (int i = 0; i < graph->Objects().Count(); ++i) EXPECT_EQ(graph->ZOrderOf(graph->Objects()[i]), i);
}

}  // namespace
