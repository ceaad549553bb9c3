// Edit commands: copy the whole plan, paste a copy of it onto itself (every
// ID collides); delete, bring to the front and send to the back the whole
// plan, its middle third and every other object, in selection order, at
// sizes doubling from 25 000 to 200 000 so that growth shows. Each should
// grow linearly with the plan.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "PlanFixture.h"

namespace {

void EditSizes(benchmark::internal::Benchmark* b) {
  for (int n : {1000, 10000, 100000}) b->Arg(n);
  // Each iteration first loads a plan: a few of them are enough.
  b->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
}

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point From) { return std::chrono::duration<double>(Clock::now() - From).count(); }

// A fresh control holding the plan of the given size, everything selected.
std::unique_ptr<TGraphEditor> LoadedPlan(benchmark::State& State) {
  TPlanFixture& plan = TPlanFixture::Get(int(State.range(0)));
  auto graph = std::make_unique<TGraphEditor>();
  plan.Saved().SetPosition(0);
  graph->LoadFromStream(plan.Saved());
  graph->ForEachObject(
      [](TGraphObject* o, void*) {
        o->SetSelected(true);
        return true;
      },
      nullptr, false);
  return graph;
}

void CopySelection(benchmark::State& state) {
  for (auto _ : state) {
    auto graph = LoadedPlan(state);
    Clock::time_point start = Clock::now();
    graph->CopyToClipboard(true);
    state.SetIterationTime(Seconds(start));
  }
}
BENCHMARK(CopySelection)->Apply(EditSizes);

void PasteOntoItself(benchmark::State& state) {
  for (auto _ : state) {
    auto graph = LoadedPlan(state);
    graph->CopyToClipboard(true);
    Clock::time_point start = Clock::now();
    graph->PasteFromClipboard();
    state.SetIterationTime(Seconds(start));
    if (graph->SelectedObjects().Count() != state.range(0)) state.SkipWithError("the paste was not whole");
  }
}
BENCHMARK(PasteOntoItself)->Apply(EditSizes);

// --- delete, bring to front and send to back of part of the plan ----------------

void SelectionSizes(benchmark::internal::Benchmark* b) {
  for (int n : {25000, 50000, 100000, 200000}) b->Arg(n);
  // A load of up to 200 000 objects comes before each: one edit a run.
  b->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
}

// Which objects, by their place in the drawing order, a case selects.
enum TPart { tpAll, tpMiddleThird, tpEveryOther };

bool InPart(TPart Part, int Index, int Count) {
  switch (Part) {
    case tpAll: return true;
    case tpMiddleThird: return Index >= Count / 3 && Index < 2 * Count / 3;
    case tpEveryOther: return Index % 2 == 0;
  }
  return false;
}

// A fresh control holding the plan of the given size with Part selected;
// gives the number selected.
std::unique_ptr<TGraphEditor> LoadedPlan(benchmark::State& State, TPart Part, int& Selected) {
  auto graph = LoadedPlan(State);
  graph->ClearSelection();
  const int count = graph->Objects().Count();
  std::vector<TGraphObject*> chosen;
  for (int i = 0; i < count; ++i)
    if (InPart(Part, i, count)) chosen.push_back(graph->Objects()[i]);
  for (TGraphObject* o : chosen) o->SetSelected(true);
  Selected = int(chosen.size());
  return graph;
}

enum TEdit { teDelete, teFront, teBack };

void EditPart(benchmark::State& state, TEdit Edit, TPart Part) {
  for (auto _ : state) {
    int selected = 0;
    auto graph = LoadedPlan(state, Part, selected);
    const int before = graph->Objects().Count();
    Clock::time_point start = Clock::now();
    graph->ForEachObject(
        [](TGraphObject* o, void* edit) {
          switch (*static_cast<TEdit*>(edit)) {
            case teDelete: return o->Delete();
            case teFront: o->BringToFront(); return true;
            case teBack: o->SendToBack(); return true;
          }
          return true;
        },
        &Edit, true);
    state.SetIterationTime(Seconds(start));
    const int expected = Edit == teDelete ? before - selected : before;
    if (graph->Objects().Count() != expected) state.SkipWithError("the edit left the wrong number of objects");
  }
}

// DeleteAll, DeleteMiddleThird, DeleteEveryOther, then Front... and Back...
int RegisterPartEdits() {
  const std::pair<TEdit, const char*> edits[] = {{teDelete, "Delete"}, {teFront, "Front"}, {teBack, "Back"}};
  const std::pair<TPart, const char*> parts[] = {
      {tpAll, "All"}, {tpMiddleThird, "MiddleThird"}, {tpEveryOther, "EveryOther"}};
  for (const auto& [edit, editName] : edits)
    for (const auto& [part, partName] : parts)
      benchmark::RegisterBenchmark((std::string(editName) + partName).c_str(), [edit = edit,
                                                                                part = part](benchmark::State& s) {
        EditPart(s, edit, part);
      })->Apply(SelectionSizes);
  return 0;
}
const int kPartEditsRegistered = RegisterPartEdits();

}  // namespace
