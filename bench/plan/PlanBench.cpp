// The plan benchmarks at 1 000, 10 000 and 100 000 objects: saving and
// loading (with the heap allocations per object), a wall's end dragged, the
// rubber band, and memory per object. The cases compared with Qt's graphics
// scene are in CompareBench.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <chrono>
#include <fstream>
#include <random>
#include <set>

#include "AllocCounter.h"
#include "Canvas.h"
#include "GraphLink.h"
#include "GraphNode.h"
#include "Picture.h"
#include "PlanFixture.h"
#include "PlanObjects.h"

namespace {

void PlanSizes(benchmark::internal::Benchmark* b) {
  for (int n : {1000, 10000, 100000}) b->Arg(n);
  b->Unit(benchmark::kMicrosecond);
}

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point From) { return std::chrono::duration<double>(Clock::now() - From).count(); }

// Random points, or rectangle corners, spread over the plan's area.
std::vector<TPoint> RandomPoints(const TRect& Area, int32_t Margin) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> x(Area.Left, Area.Right - Margin - 1), y(Area.Top, Area.Bottom - Margin - 1);
  std::vector<TPoint> points(4096);
  for (TPoint& p : points) p = {x(random), y(random)};
  return points;
}

// --- 1. saving and loading ---------------------------------------------------

void Save(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  int64_t size = 0;
  uint64_t allocations = 0;
  for (auto _ : state) {
    uint64_t before = HeapAllocations();
    TMemoryStream out;
    plan.Graph().SaveToStream(out);
    allocations = HeapAllocations() - before;
    size = out.Size();
  }
  state.counters["bytes"] = double(size);
  state.counters["allocs_per_object"] = double(allocations) / double(state.range(0));
}
BENCHMARK(Save)->Apply(PlanSizes);

// Loads Document into a new control (the timed part: Load), Count objects
// expected; reports the heap allocations per object of the last load.
template <class F>
void LoadCase(benchmark::State& state, int Count, F Load) {
  uint64_t allocations = 0;
  for (auto _ : state) {
    auto graph = std::make_unique<TGraphEditor>();
    uint64_t before = HeapAllocations();
    Clock::time_point start = Clock::now();
    Load(*graph);
    state.SetIterationTime(Seconds(start));
    allocations = HeapAllocations() - before;
    if (graph->Objects().Count() != Count) state.SkipWithError("the plan did not load whole");
  }
  state.counters["allocs_per_object"] = double(allocations) / double(Count);
}

void Load(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  LoadCase(state, int(state.range(0)), [&](TGraphEditor& Graph) {
    plan.Saved().SetPosition(0);
    Graph.LoadFromStream(plan.Saved());
  });
}
BENCHMARK(Load)->Apply(PlanSizes)->UseManualTime();

void LoadSizes(benchmark::internal::Benchmark* b) {
  for (int n : {1000, 10000}) b->Arg(n);
  b->Unit(benchmark::kMicrosecond)->UseManualTime();
}

// The plan with every picture node given pixels of its own (one pixel
// differs), so that no two pictures share a decoded image.
TMemoryStream& DistinctPicturesDocument(int Count) {
  static std::map<int, std::unique_ptr<TMemoryStream>> documents;
  std::unique_ptr<TMemoryStream>& document = documents[Count];
  if (document) return *document;
  TPlanFixture& plan = TPlanFixture::Get(Count);
  TGraphEditor graph;
  plan.Saved().SetPosition(0);
  graph.LoadFromStream(plan.Saved());
  int index = 0;
  for (TGraphObject* o : graph.Objects()) {
    auto* node = dynamic_cast<TGraphNode*>(o);
    auto* bitmap = node ? dynamic_cast<TBitmap*>(node->Background()->Graphic()) : nullptr;
    if (!bitmap || bitmap->Empty()) continue;
    TBitmap own;
    own.Assign(bitmap);
    QImage& pixels = own.MutableImage();
    pixels.setPixel(0, 0, qRgb(index & 0xFF, (index >> 8) & 0xFF, (index >> 16) & 0xFF));
    ++index;
    own.Modified();
    node->Background()->SetGraphic(&own);
  }
  document = std::make_unique<TMemoryStream>();
  graph.SaveToStream(*document);
  return *document;
}

void DistinctPicturesLoad(benchmark::State& state) {
  const int count = int(state.range(0));
  TMemoryStream& document = DistinctPicturesDocument(count);
  LoadCase(state, count, [&](TGraphEditor& Graph) {
    document.SetPosition(0);
    Graph.LoadFromStream(document);
  });
}
BENCHMARK(DistinctPicturesLoad)->Apply(LoadSizes);

// The plan read from a file on disk: reading the file and decoding it (the
// file is fresh, so mostly read from the page cache).
void FileLoad(benchmark::State& state) {
  const int count = int(state.range(0));
  TPlanFixture& plan = TPlanFixture::Get(count);
  const QString file =
      QDir::temp().filePath(QStringLiteral("plan_bench_%1_%2.hxp").arg(QCoreApplication::applicationPid()).arg(count));
  plan.Graph().SaveToFile(file);
  LoadCase(state, count, [&](TGraphEditor& Graph) { Graph.LoadFromFile(file); });
  QFile::remove(file);
}
BENCHMARK(FileLoad)->Apply(LoadSizes);

// --- 2. one step of a wall's end dragged, and its repaint ------------------------

// One step of a wall's end dragged with the mouse (snapping onto nearby
// line points included) and its repaint, with the live measure off (0) and
// on (1).
void WallPointDrag(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  plan.ResetGraphView();
  plan.SetLiveMeasure(state.range(1) != 0);
  const TPoint c = plan.Center();
  TGraphLink* wall = plan.Graph().InsertLink(TPoints{{c.X - 200, c.Y + 3}, {c.X, c.Y + 3}}, &TWallLine::ClassInfo);
  if (!wall) return state.SkipWithError("no wall to drag");
  wall->SetSelected(true);
  const TPoint end = wall->PointAt(1);
  wall->HandleMouseDown(mbLeft, ssLeft, end);
  if (!wall->Dragging()) return state.SkipWithError("the wall's end did not start to move");
  SettleEvents();
  int step = 0;
  for (auto _ : state) {
    const int32_t dx = (step++ & 1) ? 0 : 24;
    wall->HandleMouseMove(ssLeft, {end.X + dx, end.Y + 16});
    SettleEvents();
  }
  int escape = Qt::Key_Escape;
  wall->HandleKeyDown(escape, 0);
  wall->Destroy();
  plan.SetLiveMeasure(true);
  plan.ResetGraphView();
  SettleEvents();
}
BENCHMARK(WallPointDrag)->ArgsProduct({{1000, 10000, 100000}, {0, 1}})->Unit(benchmark::kMicrosecond);

// --- 3. rubber band ------------------------------------------------------------------

void RubberBand(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  plan.ResetGraphView();
  std::vector<TPoint> corners = RandomPoints(plan.Summary().Area, 500);
  size_t i = 0, selected = 0;
  for (auto _ : state) {
    const TPoint& c = corners[i++ % corners.size()];
    plan.Graph().ToggleSelection(TRect(c.X, c.Y, c.X + 500, c.Y + 500), false);
    selected += size_t(plan.Graph().SelectedObjects().Count());
  }
  state.counters["selected"] = double(selected) / double(std::max<size_t>(i, 1));
  plan.ResetGraphView();
  SettleEvents();
}
BENCHMARK(RubberBand)->Apply(PlanSizes);

// --- 4. memory per object ------------------------------------------------------------

size_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  size_t pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * size_t(sysconf(_SC_PAGESIZE));
}

size_t HeapBytes() {
  struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// The pixels the plan's pictures hold, per object: document data, which a
// picture node keeps whatever the control does. Pictures sharing one image
// count once.
double PixelBytesPerObject(TGraphEditor& Graph) {
  double bytes = 0;
  std::set<const uchar*> seen;
  for (TGraphObject* o : Graph.Objects()) {
    auto* node = dynamic_cast<TGraphNode*>(o);
    TGraphic* graphic = node ? node->Background()->Graphic() : nullptr;
    auto* bitmap = dynamic_cast<TBitmap*>(graphic);
    if (bitmap && seen.insert(bitmap->Image().constBits()).second) bytes += double(bitmap->Image().sizeInBytes());
  }
  return bytes / std::max(1, Graph.Objects().Count());
}

// Builds a fresh plan; the time is the building's, the counters what it
// holds in memory, per object.
void Memory(benchmark::State& state) {
  int count = int(state.range(0));
  double heap = 0, resident = 0, pixels = 0;
  for (auto _ : state) {
    malloc_trim(0);
    size_t heap0 = HeapBytes(), resident0 = ResidentBytes();
    auto graph = std::make_unique<TGraphEditor>();
    TPlanGenerator().Build(*graph, count);
    heap = double(HeapBytes() - heap0) / count;
    resident = double(ResidentBytes() - resident0) / count;
    state.PauseTiming();
    pixels = PixelBytesPerObject(*graph);
    graph.reset();
    state.ResumeTiming();
  }
  state.counters["heap_B_per_object"] = heap;
  state.counters["rss_B_per_object"] = resident;
  state.counters["pixel_B_per_object"] = pixels;
}
BENCHMARK(Memory)->Apply(PlanSizes)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
