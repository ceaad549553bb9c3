// Documents that pile everything onto one thing: many objects sharing one
// ID, many nodes stacked on one spot, many links hooked on one node. They
// load with the results the rules give (the time they take is measured by
// LoadBench), and a crowded cell or relation list lets go of exactly the
// object taken out.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "Filer.h"
#include "GraphTestSupport.h"
#include "ObjectIDIndex.h"

namespace {

// The objects as a document, in the order given, each under the ID IDOf
// gives it.
template <class F>
void WriteDocument(TMemoryStream& out, const std::vector<TGraphObject*>& Objects, F IDOf) {
  out.WriteInt32(0x53472E30);
  out.WriteInt32(int32_t(Objects.size()));
  for (TGraphObject* o : Objects) {
    QByteArray name(o->ClassName());
    out.WriteInt32(int32_t(name.size() + 1));
    uint8_t length = uint8_t(name.size());
    out.WriteBuffer(&length, 1);
    out.WriteBuffer(name.constData(), name.size());
    TGraphStreamableObject wrapper;
    wrapper.SetG(o);
    wrapper.SetID(IDOf(o));
    TWriter(out).WriteRootObject(wrapper, wrapper.ClassName());
  }
  out.SetPosition(0);
}

std::vector<TGraphObject*> ListOf(TGraphEditor& Graph) { return {Graph.Objects().begin(), Graph.Objects().end()}; }

// From the top of the pile at Pt down, as hit testing steps through it.
std::vector<TGraphObject*> PileAt(TGraphEditor& Graph, const TPoint& Pt) {
  std::vector<TGraphObject*> pile;
  for (TGraphObject* o = Graph.FindObjectAt(Pt.X, Pt.Y); o; o = Graph.FindObjectAt(Pt.X, Pt.Y, o)) pile.push_back(o);
  return pile;
}

}  // namespace

TEST(PiledUpLoad, ObjectsSharingOneIDAreRenumberedInListOrderAndLinksFollowTheFirst) {
  constexpr int kNodes = 3000;
  auto source = MakeGraph();
  for (int i = 0; i < kNodes; ++i) AddNode<TRectangularNode>(*source, TRect(i * 20, 0, i * 20 + 16, 16));
  TGraphLink* link = source->InsertLink(source->Objects()[0], TPoints{{8, 8}, {8, 100}});
  ASSERT_NE(link, nullptr);
  // Every node is 1, the link 9999 and its source names 1.
  TMemoryStream bytes;
  WriteDocument(bytes, ListOf(*source), [&](TGraphObject* o) { return o == link ? 9999u : 1u; });

  auto graph = MakeGraph();
  graph->LoadFromStream(bytes);
  ASSERT_EQ(graph->Objects().Count(), kNodes + 1);
  // Each namesake in turn takes the first ID free above 1 while the others
  // still hold 1; the last one is alone with it by then and keeps it.
  for (int i = 0; i < kNodes - 1; ++i) ASSERT_EQ(graph->Objects()[i]->ID(), uint32_t(i + 2)) << i;
  EXPECT_EQ(graph->Objects()[kNodes - 1]->ID(), 1u);
  auto* loaded = static_cast<TGraphLink*>(graph->Objects()[kNodes]);
  EXPECT_EQ(loaded->ID(), 9999u);
  // A reference to a shared ID follows the first of its holders.
  EXPECT_EQ(loaded->Source(), graph->Objects()[0]);
  EXPECT_EQ(loaded->SourceID(), 2u);
  for (TGraphObject* o : graph->Objects()) ASSERT_EQ(graph->FindObjectByID(o->ID()), o);

  // Appending the same document again renumbers every object past them.
  bytes.SetPosition(0);
  graph->MergeFromStream(bytes, 0, 0);
  ASSERT_EQ(graph->Objects().Count(), 2 * (kNodes + 1));
  std::vector<uint32_t> ids;
  for (TGraphObject* o : graph->Objects()) ids.push_back(o->ID());
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end()) << "an ID is held twice";
}

TEST(PiledUpLoad, StackedNodesAreAllFoundAndLetGoOneByOne) {
  constexpr int kNodes = 800;
  auto source = MakeGraph();
  // Small nodes in one cell and large ones over many cells, on one spot.
  for (int i = 0; i < kNodes; ++i) {
    int32_t size = i % 4 == 0 ? 700 : 16;
    AddNode<TRectangularNode>(*source, TRect(40, 40, 40 + size, 40 + size));
  }
  auto graph = MakeGraph();
  TMemoryStream bytes;
  WriteDocument(bytes, ListOf(*source), [](TGraphObject* o) { return o->ID(); });
  graph->LoadFromStream(bytes);
  ASSERT_EQ(graph->Objects().Count(), kNodes);
  std::vector<TGraphObject*> expected = ListOf(*graph);
  std::reverse(expected.begin(), expected.end());
  EXPECT_EQ(PileAt(*graph, {48, 48}), expected);

  // Take them out in a random order, moving some within their cells and
  // some to other cells and back on the way.
  std::mt19937 random(5);
  std::vector<TGraphObject*> doomed = ListOf(*graph);
  std::shuffle(doomed.begin(), doomed.end(), random);
  doomed.resize(doomed.size() / 2);
  for (size_t i = 0; i < doomed.size(); ++i) {
    auto* node = static_cast<TGraphNode*>(graph->Objects()[int(random() % uint32_t(graph->Objects().Count()))]);
    if (std::find(doomed.begin() + ptrdiff_t(i), doomed.end(), node) == doomed.end()) {
      if (i % 3 == 0) node->ShiftBy(1, 0);
      if (i % 3 == 1) {
        node->ShiftBy(5000, 5000);
        EXPECT_EQ(graph->FindObjectAt(5048, 5048), node);
        node->ShiftBy(-5000, -5000);
      }
    }
    doomed[i]->Delete();
    if (i % 100 == 0) {
      EXPECT_EQ(graph->FindObjectAt(48, 48), graph->Objects()[graph->Objects().Count() - 1]) << i;
    }
  }
  std::vector<TGraphObject*> left = ListOf(*graph);
  std::reverse(left.begin(), left.end());
  EXPECT_EQ(PileAt(*graph, {48, 48}), left);
  // Only the large ones reach out there, and the index agrees with the scan.
  std::vector<TGraphObject*> far = PileAt(*graph, {700, 700});
  graph->SetSpatialIndexEnabled(false);
  EXPECT_EQ(PileAt(*graph, {700, 700}), far);
  graph->SetSpatialIndexEnabled(true);
  EXPECT_FALSE(far.empty());
  for (TGraphObject* o : far) EXPECT_GT(static_cast<TGraphNode*>(o)->Width(), 16);

  // Loading over the pile clears it first.
  bytes.SetPosition(0);
  graph->LoadFromStream(bytes);
  EXPECT_EQ(PileAt(*graph, {48, 48}).size(), size_t(kNodes));
}

TEST(PiledUpLoad, LinksOnOneNodeAreEachHookedAndLetGoWhateverTheOrder) {
  constexpr int kLinks = 2000;
  auto source = MakeGraph();
  TGraphNode* hub = AddNode<TRectangularNode>(*source, TRect(0, 0, 40, 40));
  std::vector<TGraphObject*> order;
  for (int i = 0; i < kLinks; ++i)
    order.push_back(source->InsertLink(hub, TPoints{{20, 20}, {100 + i % 50, 100 + i / 50}}));
  // The node last: the links find it only once the whole batch is read.
  order.push_back(hub);
  TMemoryStream bytes;
  WriteDocument(bytes, order, [](TGraphObject* o) { return o->ID(); });

  auto graph = MakeGraph();
  graph->LoadFromStream(bytes);
  ASSERT_EQ(graph->Objects().Count(), kLinks + 1);
  TGraphObject* node = graph->Objects()[kLinks];
  ASSERT_FALSE(node->IsLink());
  EXPECT_EQ(node->LinkOutputCount(), kLinks);
  EXPECT_EQ(node->DependentCount(), kLinks);
  for (int i = 0; i < kLinks; ++i) {
    auto* link = static_cast<TGraphLink*>(graph->Objects()[i]);
    ASSERT_EQ(link->Source(), node) << i;
    ASSERT_EQ(node->LinkOutputList()[i], link) << i;
  }

  // Deleting a random half leaves exactly the others hooked, in order.
  std::vector<TGraphObject*> links(graph->Objects().begin(), graph->Objects().begin() + kLinks);
  std::shuffle(links.begin(), links.end(), std::mt19937(3));
  for (int i = 0; i < kLinks / 2; ++i) links[size_t(i)]->Delete();
  std::vector<TGraphObject*> kept(graph->Objects().begin(), graph->Objects().begin() + kLinks / 2);
  EXPECT_EQ(std::vector<TGraphObject*>(node->LinkOutputList().begin(), node->LinkOutputList().end()), kept);
  EXPECT_EQ(std::vector<TGraphObject*>(node->DependentList().begin(), node->DependentList().end()), kept);

  // Deleting the node lets every link go.
  node->Delete();
  for (TGraphObject* o : graph->Objects()) EXPECT_EQ(static_cast<TGraphLink*>(o)->Source(), nullptr);
}

TEST(ObjectIDIndex, SharersComeAndGoInAnyOrder) {
  auto graph = MakeGraph();
  auto* a = AddNode<TRectangularNode>(*graph, TRect(0, 0, 10, 10));
  auto* b = AddNode<TRectangularNode>(*graph, TRect(0, 0, 10, 10));
  auto* c = AddNode<TRectangularNode>(*graph, TRect(0, 0, 10, 10));
  TObjectIDIndex index;
  bool shared = false;
  EXPECT_EQ(index.SoleHolder(7, shared), nullptr);
  EXPECT_FALSE(shared);
  for (TGraphObject* o : {static_cast<TGraphObject*>(a), static_cast<TGraphObject*>(b), static_cast<TGraphObject*>(c)})
    index.Add(o, 7);
  EXPECT_TRUE(index.TakenByOther(7, a));
  EXPECT_EQ(index.SoleHolder(7, shared), nullptr);
  EXPECT_TRUE(shared);
  // The first holder goes: a sharer takes over.
  index.Remove(a, 7);
  EXPECT_TRUE(index.TakenByOther(7, a));
  EXPECT_TRUE(index.TakenByOther(7, b));
  index.Remove(c, 7);
  EXPECT_FALSE(index.TakenByOther(7, b));
  EXPECT_EQ(index.SoleHolder(7, shared), b);
  EXPECT_FALSE(shared);
  // Removing an object that does not hold the ID changes nothing.
  index.Remove(c, 7);
  index.Remove(c, 8);
  EXPECT_EQ(index.SoleHolder(7, shared), b);

  // Sharers that leave out of order move the last one into their place; an
  // object held twice under one ID goes once per removal.
  auto* d = AddNode<TRectangularNode>(*graph, TRect(0, 0, 10, 10));
  for (TGraphObject* o : {static_cast<TGraphObject*>(a), static_cast<TGraphObject*>(c), static_cast<TGraphObject*>(d),
                          static_cast<TGraphObject*>(d)})
    index.Add(o, 7);
  for (TGraphObject* o : {static_cast<TGraphObject*>(a), static_cast<TGraphObject*>(d), static_cast<TGraphObject*>(b),
                          static_cast<TGraphObject*>(c)}) {
    EXPECT_TRUE(index.TakenByOther(7, nullptr));
    index.Remove(o, 7);
  }
  EXPECT_EQ(index.SoleHolder(7, shared), d);
  index.Remove(d, 7);
  EXPECT_FALSE(index.TakenByOther(7, nullptr));
  index.Add(b, 7);

  // 7 and 8 held: from 7 the first free is 9, and after 8 is let go, 8.
  index.Add(c, 8);
  EXPECT_EQ(index.FirstFree(7, a), 9u);
  EXPECT_EQ(index.FirstFree(7, b), 7u);
  index.Remove(c, 8);
  EXPECT_EQ(index.FirstFree(7, a), 8u);
}
