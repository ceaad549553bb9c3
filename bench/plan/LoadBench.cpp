// Loading documents that pile everything onto one thing, against documents
// of the same size that spread it out: N nodes sharing one ID against N
// distinct IDs, N nodes stacked on one spot against N side by side, and N/2
// links hooked on one node against N/2 links each on a node of its own.
// Each iteration opens the document in a new control and closes it again
// (releasing a pile was as quadratic as loading one). Each hostile document
// must take about as long as its counterpart; the summary gives the ratios.
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>

#include "Filer.h"
#include "GraphEditor.h"
#include "GraphLink.h"
#include "GraphNode.h"
#include "NodeShapes.h"
#include "Stream.h"

namespace {

void LoadSizes(benchmark::internal::Benchmark* b) {
  for (int n : {10000, 40000}) b->Arg(n);
  b->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
}

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point From) { return std::chrono::duration<double>(Clock::now() - From).count(); }

enum class TShape { SharedIDs, DistinctIDs, Stacked, SideBySide, LinksOnOneNode, LinksOnTheirOwn };

constexpr int32_t kNodeSize = 16;
constexpr int32_t kPitch = 32;
constexpr int kColumns = 256;

TRect GridPlace(int Index) {
  int32_t x = (Index % kColumns) * kPitch, y = (Index / kColumns) * kPitch;
  return {x, y, x + kNodeSize, y + kNodeSize};
}

// Writes Graph's objects as a document, links first (so that their ends
// are found only once the whole batch is read), each under the ID IDOf
// gives it.
template <class F>
void WriteDocument(TGraphEditor& Graph, TMemoryStream& Out, F IDOf) {
  std::vector<TGraphObject*> order;
  for (TGraphObject* o : Graph.Objects())
    if (o->IsLink()) order.push_back(o);
  for (TGraphObject* o : Graph.Objects())
    if (!o->IsLink()) order.push_back(o);
  Out.WriteInt32(0x53472E30);
  Out.WriteInt32(int32_t(order.size()));
  for (TGraphObject* o : order) {
    QByteArray name(o->ClassName());
    Out.WriteInt32(int32_t(name.size() + 1));
    uint8_t length = uint8_t(name.size());
    Out.WriteBuffer(&length, 1);
    Out.WriteBuffer(name.constData(), name.size());
    TGraphStreamableObject wrapper;
    wrapper.SetG(o);
    wrapper.SetID(IDOf(o));
    TWriter writer(Out);
    writer.WriteRootObject(wrapper, wrapper.ClassName());
  }
}

void BuildNodes(TGraphEditor& Graph, int Count, bool Stacked) {
  for (int i = 0; i < Count; ++i) Graph.InsertNode(Stacked ? GridPlace(0) : GridPlace(i), &TRectangularNode::ClassInfo);
}

// Count/2 nodes side by side and Count/2 short links, each with its source
// on the first node or on a node of its own.
void BuildLinks(TGraphEditor& Graph, int Count, bool OnOneNode) {
  std::vector<TGraphNode*> nodes;
  for (int i = 0; i < Count / 2; ++i) nodes.push_back(Graph.InsertNode(GridPlace(i), &TRectangularNode::ClassInfo));
  for (int i = 0; i < Count - Count / 2; ++i) {
    TGraphNode* source = OnOneNode ? nodes.front() : nodes[size_t(i) % nodes.size()];
    TPoint from = source->Center();
    Graph.InsertLink(source, TPoints{from, {from.X + 8 + i % 16, from.Y + 8 + i % 16}});
  }
}

TMemoryStream& Document(TShape Shape, int Count) {
  static std::map<std::pair<TShape, int>, std::unique_ptr<TMemoryStream>> documents;
  std::unique_ptr<TMemoryStream>& document = documents[{Shape, Count}];
  if (document) return *document;
  document = std::make_unique<TMemoryStream>();
  TGraphEditor graph;
  graph.BeginUpdate();
  if (Shape == TShape::LinksOnOneNode || Shape == TShape::LinksOnTheirOwn)
    BuildLinks(graph, Count, Shape == TShape::LinksOnOneNode);
  else
    BuildNodes(graph, Count, Shape == TShape::Stacked);
  graph.EndUpdate();
  bool shared = Shape == TShape::SharedIDs;
  WriteDocument(graph, *document, [shared](TGraphObject* o) { return shared ? 1u : o->ID(); });
  return *document;
}

void LoadDocument(benchmark::State& state, TShape Shape) {
  int count = int(state.range(0));
  TMemoryStream& document = Document(Shape, count);
  for (auto _ : state) {
    document.SetPosition(0);
    Clock::time_point start = Clock::now();
    auto graph = std::make_unique<TGraphEditor>();
    graph->LoadFromStream(document);
    bool whole = graph->Objects().Count() == count;
    graph.reset();
    state.SetIterationTime(Seconds(start));
    if (!whole) state.SkipWithError("the document did not load whole");
  }
}

void LoadSharedIDs(benchmark::State& state) { LoadDocument(state, TShape::SharedIDs); }
void LoadDistinctIDs(benchmark::State& state) { LoadDocument(state, TShape::DistinctIDs); }
void LoadStacked(benchmark::State& state) { LoadDocument(state, TShape::Stacked); }
void LoadSideBySide(benchmark::State& state) { LoadDocument(state, TShape::SideBySide); }
void LoadLinksOnOneNode(benchmark::State& state) { LoadDocument(state, TShape::LinksOnOneNode); }
void LoadLinksOnTheirOwn(benchmark::State& state) { LoadDocument(state, TShape::LinksOnTheirOwn); }

BENCHMARK(LoadSharedIDs)->Apply(LoadSizes);
BENCHMARK(LoadDistinctIDs)->Apply(LoadSizes);
BENCHMARK(LoadStacked)->Apply(LoadSizes);
BENCHMARK(LoadSideBySide)->Apply(LoadSizes);
BENCHMARK(LoadLinksOnOneNode)->Apply(LoadSizes);
BENCHMARK(LoadLinksOnTheirOwn)->Apply(LoadSizes);

}  // namespace
