// The control against the same plan in Qt's graphics scene, flat and
// grouped per flat ("Qt..." and "QtGrouped..." names), at 1 000, 10 000 and
// 100 000 objects: a repaint of the 1920 x 1080 view at zoom 100 over the
// plan's centre, the same with the whole plan fitted (both sides show the
// area the control shows), hit finding at random points (both sides must
// answer with corresponding objects) and one drag step of a door with two
// hooked walls, averaged over the doors nearest the view's centre that it
// shows whole. Both sides paint through their own repaint, neither with a
// grid: Qt's view has none of its own.
#include <benchmark/benchmark.h>

#include <QGraphicsItem>
#include <chrono>
#include <random>

#include "Canvas.h"
#include "GraphNode.h"
#include "PlanFixture.h"

namespace {

using TSceneKind = TPlanFixture::TSceneKind;
using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point From) { return std::chrono::duration<double>(Clock::now() - From).count(); }

void PlanSizes(benchmark::internal::Benchmark* b) {
  for (int n : {1000, 10000, 100000}) b->Arg(n);
  b->Unit(benchmark::kMicrosecond);
}

// The doors a drag step averages over.
constexpr int kDraggedDoors = 24;

// The doors nearest the view's centre that the view shows whole: a door
// at its edge would scroll the control's view (it keeps the dragged point
// in sight) and not Qt's, and Qt paints nothing for one outside it.
std::vector<TGraphNode*> DraggedDoors(TPlanFixture& Plan) {
  return TPlanGenerator::DoorsIn(Plan.Graph(), Plan.Graph().VisibleBounds(), kDraggedDoors);
}

// Turns the control's grid off for its lifetime.
class TNoGrid {
 public:
  explicit TNoGrid(TGraphEditor& Graph) : fGraph(Graph), fShown(Graph.ShowGrid()) { fGraph.SetShowGrid(false); }
  ~TNoGrid() { fGraph.SetShowGrid(fShown); }
  TNoGrid(const TNoGrid&) = delete;
  TNoGrid& operator=(const TNoGrid&) = delete;

 private:
  TGraphEditor& fGraph;
  bool fShown;
};

// What a paint of the whole client area does, into an image kept between
// runs: background, grid (when shown), objects, selection marks.
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

// The objects whose drawing meets Area: what a paint of it draws.
int ObjectsIn(TGraphEditor& Graph, const TRect& Area) {
  int count = 0;
  for (TGraphObject* o : Graph.Objects()) {
    const TRect& r = o->VisualRect();
    count += r.Left < Area.Right && Area.Left < r.Right && r.Top < Area.Bottom && Area.Top < r.Bottom;
  }
  return count;
}

void ShowView(TPlanFixture& Plan, bool Fitted) {
  if (Fitted)
    Plan.FitGraphView();
  else
    Plan.ResetGraphView();
  SettleEvents();
}

// --- painting ---------------------------------------------------------------

void Paint(benchmark::State& state, bool Fitted) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  ShowView(plan, Fitted);
  TNoGrid noGrid(plan.Graph());
  QImage image(kViewWidth, kViewHeight, QImage::Format_RGB32);
  for (auto _ : state) PaintGraph(plan.Graph(), image);
  state.counters["zoom"] = plan.Graph().Zoom();
  state.counters["painted"] = ObjectsIn(plan.Graph(), plan.Graph().VisibleBounds());
  plan.ResetGraphView();
}

// The view and fitted cases on a screen of device pixel ratio 2.
void PaintRatio2(benchmark::State& state, bool Fitted) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  ShowView(plan, Fitted);
  TNoGrid noGrid(plan.Graph());
  QImage image(2 * kViewWidth, 2 * kViewHeight, QImage::Format_RGB32);
  for (auto _ : state) PaintGraphAt(plan.Graph(), image, 2.0);
  plan.ResetGraphView();
}

void QtPaint(benchmark::State& state, TSceneKind Kind, bool Fitted) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  TSceneMirror& mirror = plan.Mirror(Kind);
  ShowView(plan, Fitted);
  QWidget* viewport = mirror.View().viewport();
  if (viewport->size() != QSize(kViewWidth, kViewHeight)) return state.SkipWithError("the view is not 1920 x 1080");
  QImage image(kViewWidth, kViewHeight, QImage::Format_RGB32);
  for (auto _ : state) viewport->render(&image);
  const QRectF shown = mirror.View().mapToScene(viewport->rect()).boundingRect();
  state.counters["zoom"] = mirror.View().transform().m11() * 100;
  state.counters["painted"] = mirror.ItemsIn(shown);
  plan.ResetGraphView();
}

// --- hit finding ----------------------------------------------------------------

std::vector<TPoint> RandomPoints(const TRect& Area) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> x(Area.Left, Area.Right - 1), y(Area.Top, Area.Bottom - 1);
  std::vector<TPoint> points(4096);
  for (TPoint& p : points) p = {x(random), y(random)};
  return points;
}

// The test points at which the two sides do not answer with corresponding
// objects (both nothing, or the item of the control's object).
int Mismatches(TPlanFixture& Plan, TSceneMirror& Mirror, const std::vector<TPoint>& Points) {
  int count = 0;
  for (const TPoint& p : Points) {
    QGraphicsItem* theirs = Mirror.Scene().itemAt(QPointF(p.X, p.Y), QTransform());
    TGraphObject* ours = Plan.Graph().FindObjectAt(p.X, p.Y);
    count += theirs != (ours ? Mirror.ItemOf(ours) : nullptr);
  }
  return count;
}

void FindObjectAt(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  plan.ResetGraphView();
  std::vector<TPoint> points = RandomPoints(plan.Summary().Area);
  size_t i = 0, hits = 0;
  for (auto _ : state) {
    const TPoint& p = points[i++ % points.size()];
    TGraphObject* found = plan.Graph().FindObjectAt(p.X, p.Y);
    benchmark::DoNotOptimize(found);
    hits += found != nullptr;
  }
  state.counters["hit_rate"] = double(hits) / double(std::max<size_t>(i, 1));
}

void QtItemAt(benchmark::State& state, TSceneKind Kind) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  TSceneMirror& mirror = plan.Mirror(Kind);
  plan.ResetGraphView();
  std::vector<TPoint> points = RandomPoints(plan.Summary().Area);
  if (int wrong = Mismatches(plan, mirror, points))
    return state.SkipWithError(("the scenes disagree at " + std::to_string(wrong) + " points").c_str());
  QGraphicsScene& scene = mirror.Scene();
  size_t i = 0, hits = 0;
  for (auto _ : state) {
    const TPoint& p = points[i++ % points.size()];
    QGraphicsItem* found = scene.itemAt(QPointF(p.X, p.Y), QTransform());
    benchmark::DoNotOptimize(found);
    hits += found != nullptr;
  }
  state.counters["hit_rate"] = double(hits) / double(std::max<size_t>(i, 1));
}

// --- one drag step of a door with two hooked walls, and its repaint --------------

// Each iteration takes the next of the doors nearest the centre, moves it
// 8 units untimed (the first step of a drag also shows what the drag
// brings up, such as the live measure) and times the step back with the
// repaint that follows.
void DragStep(benchmark::State& state) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  plan.ResetGraphView();
  TNoGrid noGrid(plan.Graph());
  std::vector<TGraphNode*> doors = DraggedDoors(plan);
  if (doors.empty()) return state.SkipWithError("no door to drag");
  size_t i = 0;
  for (auto _ : state) {
    TGraphNode* door = doors[i++ % doors.size()];
    if (!door->BeginDrag(door->Center(), htBody)) return state.SkipWithError("a door did not start to move");
    door->DragBy(8, 0, false);
    SettleEvents();
    Clock::time_point start = Clock::now();
    door->DragBy(-8, 0, false);
    SettleEvents();
    state.SetIterationTime(Seconds(start));
    door->EndDrag(false);
    SettleEvents();
  }
  state.counters["doors"] = double(doors.size());
  plan.ResetGraphView();
  SettleEvents();
}

void QtDragStep(benchmark::State& state, TSceneKind Kind) {
  TPlanFixture& plan = TPlanFixture::Get(int(state.range(0)));
  TSceneMirror& mirror = plan.Mirror(Kind);
  plan.ResetGraphView();
  std::vector<TGraphNode*> doors = DraggedDoors(plan);
  if (doors.empty()) return state.SkipWithError("no door to drag");
  SettleEvents();
  size_t i = 0;
  for (auto _ : state) {
    TGraphNode* door = doors[i++ % doors.size()];
    QGraphicsItem* item = mirror.ItemOf(door);
    if (!item) return state.SkipWithError("a door has no item");
    item->setSelected(true);
    mirror.MoveNode(door, 8, 0);
    SettleEvents();
    Clock::time_point start = Clock::now();
    mirror.MoveNode(door, -8, 0);
    SettleEvents();
    state.SetIterationTime(Seconds(start));
    item->setSelected(false);
    SettleEvents();
  }
  state.counters["doors"] = double(doors.size());
  plan.ResetGraphView();
  SettleEvents();
}

// Ours, then Qt's flat scene, then the grouped one, case by case.
int Register() {
  using benchmark::RegisterBenchmark;
  using benchmark::State;
  constexpr auto flat = TPlanFixture::skFlat;
  constexpr auto grouped = TPlanFixture::skGrouped;
  for (bool fitted : {false, true}) {
    const std::string name = fitted ? "PaintFitted" : "PaintView";
    RegisterBenchmark(name.c_str(), [fitted](State& s) { Paint(s, fitted); })->Apply(PlanSizes);
    RegisterBenchmark(("Qt" + name).c_str(), [fitted](State& s) { QtPaint(s, flat, fitted); })->Apply(PlanSizes);
    RegisterBenchmark(("QtGrouped" + name).c_str(), [fitted](State& s) {
      QtPaint(s, grouped, fitted);
    })->Apply(PlanSizes);
    RegisterBenchmark((name + "Ratio2").c_str(), [fitted](State& s) { PaintRatio2(s, fitted); })->Apply(PlanSizes);
  }
  RegisterBenchmark("FindObjectAt", FindObjectAt)->Apply(PlanSizes);
  RegisterBenchmark("QtItemAt", [](State& s) { QtItemAt(s, flat); })->Apply(PlanSizes);
  RegisterBenchmark("QtGroupedItemAt", [](State& s) { QtItemAt(s, grouped); })->Apply(PlanSizes);
  RegisterBenchmark("DragStep", DragStep)->Apply(PlanSizes)->UseManualTime();
  RegisterBenchmark("QtDragStep", [](State& s) { QtDragStep(s, flat); })->Apply(PlanSizes)->UseManualTime();
  RegisterBenchmark("QtGroupedDragStep", [](State& s) { QtDragStep(s, grouped); })->Apply(PlanSizes)->UseManualTime();
  return 0;
}
const int kRegistered = Register();

}  // namespace
