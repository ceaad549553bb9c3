#include <set>
// The plan benchmarks at 1 000, 10 000 and 100 000 objects: saving and
// loading, painting a 1920 x 1080 view and the whole plan fitted into it,
// hit finding, one drag step with its repaint, the rubber band, and memory
// per object. Cases 2-4 run again on the same scene in Qt's graphics scene
// ("Qt..." names); the summary at the end gives the ratios.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QGraphicsItem>
#include <QPainter>
#include <chrono>
#include <fstream>
#include <random>

#include "Canvas.h"
#include "GraphLink.h"
#include "GraphNode.h"
#include "PlanObjects.h"
#include "Picture.h"
#include "PlanFixture.h"

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

// What a paint of the whole client area does, into an image kept between
// runs: background, grid, objects, selection marks.
void PaintGraph(TGraphEditor& Graph, QImage& Image) {
  TCanvas canvas(&Image);
  canvas.Painter()->fillRect(Image.rect(), ToQColor(Graph.Color()));
  Graph.SetupZoomedDC(canvas, nullptr);
  if (Graph.ShowGrid()) Graph.PaintGrid(canvas);
  Graph.PaintObjects(canvas, Graph.Objects());
  Graph.PaintSelectionMarks(canvas);
}

// The same paint for a screen of device pixel ratio Ratio: the image has
// Ratio device pixels per client pixel, the client area is the same.
void PaintGraphAt(TGraphEditor& Graph, QImage& Image, double Ratio) {
  TCanvas canvas(&Image);
  canvas.Painter()->fillRect(Image.rect(), ToQColor(Graph.Color()));
  Graph.SetupDeviceDC(canvas, TPoint(), Ratio);
  if (Graph.ShowGrid()) Graph.PaintGrid(canvas);
  Graph.PaintObjects(canvas, Graph.Objects());
  Graph.PaintSelectionMarks(canvas);
}

void PaintScene(QGraphicsScene& Scene, QImage& Image, const QRectF& Source) {
  Image.fill(Qt::white);
  QPainter painter(&Image);
  Scene.render(&painter, QRectF(Image.rect()), Source);
}

QRectF ToQRectF(const TRect& r) { return QRectF(r.Left, r.Top, r.Width(), r.Height()); }

// --- 1. saving and loading ---------------------------------------------------

void Save(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  int64_t size = 0;
  for (auto _ : state) {
    TMemoryStream out;
    plan.Graph().SaveToStream(out);
    size = out.Size();
  }
  state.counters["bytes"] = double(size);
}
BENCHMARK(Save)->Apply(PlanSizes);

void Load(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  for (auto _ : state) {
    auto graph = std::make_unique<TGraphEditor>();
    plan.Saved().SetPosition(0);
    Clock::time_point start = Clock::now();
    graph->LoadFromStream(plan.Saved());
    state.SetIterationTime(Seconds(start));
    if (graph->Objects().Count() != state.range(0)) state.SkipWithError("the plan did not load whole");
  }
}
BENCHMARK(Load)->Apply(PlanSizes)->UseManualTime();

// --- 2. painting ---------------------------------------------------------------

void PaintView(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  plan.ResetGraphView();
  QImage image(kViewWidth, kViewHeight, QImage::Format_RGB32);
  for (auto _ : state) PaintGraph(plan.Graph(), image);
}
BENCHMARK(PaintView)->Apply(PlanSizes);

void QtPaintView(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  plan.ResetGraphView();
  QImage image(kViewWidth, kViewHeight, QImage::Format_RGB32);
  for (auto _ : state) PaintScene(plan.Mirror().Scene(), image, ToQRectF(plan.ViewArea()));
}
BENCHMARK(QtPaintView)->Apply(PlanSizes);

void PaintFitted(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  plan.ResetGraphView();
  plan.Graph().ZoomGraph();
  QImage image(kViewWidth, kViewHeight, QImage::Format_RGB32);
  for (auto _ : state) PaintGraph(plan.Graph(), image);
  state.counters["zoom"] = plan.Graph().Zoom();
  plan.ResetGraphView();
}
BENCHMARK(PaintFitted)->Apply(PlanSizes);

// The view and fitted cases on a screen of device pixel ratio 2.
void PaintViewRatio2(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  plan.ResetGraphView();
  QImage image(2 * kViewWidth, 2 * kViewHeight, QImage::Format_RGB32);
  for (auto _ : state) PaintGraphAt(plan.Graph(), image, 2.0);
}
BENCHMARK(PaintViewRatio2)->Apply(PlanSizes);

void PaintFittedRatio2(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  plan.ResetGraphView();
  plan.Graph().ZoomGraph();
  QImage image(2 * kViewWidth, 2 * kViewHeight, QImage::Format_RGB32);
  for (auto _ : state) PaintGraphAt(plan.Graph(), image, 2.0);
  plan.ResetGraphView();
}
BENCHMARK(PaintFittedRatio2)->Apply(PlanSizes);

void QtPaintFitted(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  QImage image(kViewWidth, kViewHeight, QImage::Format_RGB32);
  QRectF all = plan.Mirror().Scene().itemsBoundingRect();
  for (auto _ : state) PaintScene(plan.Mirror().Scene(), image, all);
}
BENCHMARK(QtPaintFitted)->Apply(PlanSizes);

// --- 3. hit finding --------------------------------------------------------------

void FindObjectAt(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  plan.ResetGraphView();
  std::vector<TPoint> points = RandomPoints(plan.Summary().Area, 0);
  size_t i = 0, hits = 0;
  for (auto _ : state) {
    const TPoint& p = points[i++ % points.size()];
    TGraphObject* found = plan.Graph().FindObjectAt(p.X, p.Y);
    benchmark::DoNotOptimize(found);
    hits += found != nullptr;
  }
  state.counters["hit_rate"] = double(hits) / double(std::max<size_t>(i, 1));
}
BENCHMARK(FindObjectAt)->Apply(PlanSizes);

void QtItemAt(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  plan.ResetGraphView();
  std::vector<TPoint> points = RandomPoints(plan.Summary().Area, 0);
  QGraphicsScene& scene = plan.Mirror().Scene();
  size_t i = 0, hits = 0;
  for (auto _ : state) {
    const TPoint& p = points[i++ % points.size()];
    QGraphicsItem* found = scene.itemAt(QPointF(p.X, p.Y), QTransform());
    benchmark::DoNotOptimize(found);
    hits += found != nullptr;
  }
  state.counters["hit_rate"] = double(hits) / double(std::max<size_t>(i, 1));
}
BENCHMARK(QtItemAt)->Apply(PlanSizes);

// --- 4. one drag step of a door with two hooked walls, and its repaint ------------

void DragStep(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  plan.ResetGraphView();
  TGraphNode* door = TPlanGenerator::DoorNear(plan.Graph(), plan.Center());
  if (!door || !door->BeginDrag(door->Center(), htBody)) return state.SkipWithError("no door to drag");
  SettleEvents();
  int step = 0;
  for (auto _ : state) {
    door->DragBy((step++ & 1) ? -8 : 8, 0, false);
    SettleEvents();
  }
  door->EndDrag(false);
  plan.ResetGraphView();
  SettleEvents();
}
BENCHMARK(DragStep)->Apply(PlanSizes);

void QtDragStep(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  plan.ResetGraphView();
  TGraphNode* door = TPlanGenerator::DoorNear(plan.Graph(), plan.Center());
  QGraphicsItem* item = plan.Mirror().ItemOf(door);
  if (!item) return state.SkipWithError("no door to drag");
  item->setSelected(true);
  SettleEvents();
  int step = 0;
  for (auto _ : state) {
    plan.Mirror().MoveNode(door, (step++ & 1) ? -8 : 8, 0);
    SettleEvents();
  }
  if (step & 1) plan.Mirror().MoveNode(door, -8, 0);
  plan.ResetGraphView();
  SettleEvents();
}
BENCHMARK(QtDragStep)->Apply(PlanSizes);

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

// --- 5. rubber band ------------------------------------------------------------------

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

// --- 6. memory per object ------------------------------------------------------------

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
