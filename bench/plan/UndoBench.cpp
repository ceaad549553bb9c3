// Undo and redo on a whole plan, the way the designer records its steps:
// select all and delete it as one step, then undo and redo it; and move one
// door with its hooked walls as one step, then undo and redo it. Each case's
// time is the undo; recording the step (BeginStep .. EndStep, and the same
// without the action in it), the redo and the bytes the history holds are
// counters. A step must cost what it changed, not the size of the plan.
#include <benchmark/benchmark.h>

#include <chrono>

#include "GraphHistory.h"
#include "GraphNode.h"
#include "PlanFixture.h"

namespace {

void UndoSizes(benchmark::internal::Benchmark* b) {
  for (int n : {1000, 10000, 100000}) b->Arg(n);
  // Each iteration first loads a plan: a few of them are enough.
  b->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
}

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point From) { return std::chrono::duration<double>(Clock::now() - From).count(); }

// A fresh control holding the plan of the given size, with a history that
// hears of every object the control inserts from now on.
struct TEditedPlan {
  std::unique_ptr<TGraphEditor> Graph;
  std::unique_ptr<TGraphHistory> History;

  explicit TEditedPlan(int Count) : Graph(std::make_unique<TGraphEditor>()) {
    TPlanFixture& plan = TPlanFixture::Get(Count);
    plan.Saved().SetPosition(0);
    Graph->LoadFromStream(plan.Saved());
    History = std::make_unique<TGraphHistory>(*Graph);
    Graph->OnObjectInsert = [this](TGraphEditor*, TGraphObject* o) { History->ObjectInserted(o); };
  }
  ~TEditedPlan() {
    // The history's steps are about the graph: they go first.
    Graph->OnObjectInsert = nullptr;
    History.reset();
  }

  // The document as it would be saved.
  QByteArray Document() {
    TMemoryStream data;
    Graph->StoreObjects(data, Graph->Objects());
    return QByteArray(reinterpret_cast<const char*>(data.Memory()), qsizetype(data.Size()));
  }
};

// Per-iteration sums, reported as averages over the iterations.
struct TSums {
  double Step = 0, Record = 0, Redo = 0, HistoryBytes = 0;

  void Report(benchmark::State& State) const {
    auto average = [&](double Sum, double Scale) {
      return benchmark::Counter(Sum * Scale, benchmark::Counter::kAvgIterations);
    };
    State.counters["step_ms"] = average(Step, 1e3);
    State.counters["record_ms"] = average(Record, 1e3);
    State.counters["redo_ms"] = average(Redo, 1e3);
    State.counters["history_B"] = average(HistoryBytes, 1);
  }
};

// Times the undo as the iteration and the redo as a counter; each must
// give back the document it promises. False (the case skipped) otherwise.
bool UndoAndRedo(benchmark::State& State, TEditedPlan& Plan, TSums& Sums, const QByteArray& Before,
                 const QByteArray& After) {
  Clock::time_point start = Clock::now();
  Plan.History->Stack().undo();
  State.SetIterationTime(Seconds(start));
  if (Plan.Document() != Before) {
    State.SkipWithError("undo did not give the plan back");
    return false;
  }
  start = Clock::now();
  Plan.History->Stack().redo();
  Sums.Redo += Seconds(start);
  if (Plan.Document() != After) {
    State.SkipWithError("redo did not give the changed plan back");
    return false;
  }
  return true;
}

// Select all, delete it as one step ("删除", the selection as candidates),
// undo, redo. After the undo the document must be byte for byte the one
// before the delete (IDs, links, stacking order, pictures), after the redo
// the one after it.
void UndoDeleteAll(benchmark::State& state) {
  const int count = int(state.range(0));
  TSums sums;
  for (auto _ : state) {
    TEditedPlan plan(count);
    TGraphEditor& graph = *plan.Graph;
    graph.ForEachObject(
        [](TGraphObject* o, void*) {
          o->SetSelected(true);
          return true;
        },
        nullptr, false);
    const QByteArray before = plan.Document();

    Clock::time_point start = Clock::now();
    plan.History->BeginStep(QStringLiteral("删除"), graph.SelectedObjects());
    const double begin = Seconds(start);
    graph.ForEachObject([](TGraphObject* o, void*) { return o->Delete(); }, nullptr, true);
    Clock::time_point end = Clock::now();
    plan.History->EndStep();
    sums.Record += begin + Seconds(end);
    sums.Step += Seconds(start);
    sums.HistoryBytes += double(plan.History->Size());
    if (graph.Objects().Count() != 0) return state.SkipWithError("the selection was not deleted");
    if (plan.History->Stack().count() != 1) return state.SkipWithError("the delete was not one step");
    if (!UndoAndRedo(state, plan, sums, before, plan.Document())) return;
  }
  sums.Report(state);
  state.counters["history_B_per_object"] =
      benchmark::Counter(sums.HistoryBytes / count, benchmark::Counter::kAvgIterations);
}
BENCHMARK(UndoDeleteAll)->Apply(UndoSizes);

// One 8-unit drag of the door with two hooked walls nearest the plan's
// centre (the drag step's door), as one step ("移动", the door as its
// candidate: its walls hang on it), undone and redone.
void UndoDrag(benchmark::State& state) {
  const int count = int(state.range(0));
  TSums sums;
  for (auto _ : state) {
    TEditedPlan plan(count);
    TGraphEditor& graph = *plan.Graph;
    TGraphNode* door = TPlanGenerator::DoorNear(graph, TPlanFixture::Get(count).Center());
    if (!door) return state.SkipWithError("no door to drag");
    const QByteArray before = plan.Document();

    Clock::time_point start = Clock::now();
    plan.History->BeginStep(QStringLiteral("移动"), std::vector<TGraphObject*>{door});
    const double begin = Seconds(start);
    if (!door->BeginDrag(door->Center(), htBody)) return state.SkipWithError("the door would not drag");
    door->DragBy(8, 0, false);
    door->EndDrag(true);
    Clock::time_point end = Clock::now();
    plan.History->EndStep();
    sums.Record += begin + Seconds(end);
    sums.Step += Seconds(start);
    sums.HistoryBytes += double(plan.History->Size());
    if (plan.History->Stack().count() != 1) return state.SkipWithError("the drag was not one step");
    const QByteArray after = plan.Document();
    if (after == before) return state.SkipWithError("the drag changed nothing");
    if (!UndoAndRedo(state, plan, sums, before, after)) return;
  }
  sums.Report(state);
}
BENCHMARK(UndoDrag)->Apply(UndoSizes);

}  // namespace
