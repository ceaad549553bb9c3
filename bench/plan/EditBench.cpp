// Edit commands on a whole plan: select all and delete it in selection
// order, copy it, paste a copy of the plan onto itself (every ID collides),
// and bring a whole selection to the front or send it to the back. Each must grow linearly with the plan.
#include <benchmark/benchmark.h>

#include <chrono>

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

void DeleteSelection(benchmark::State& state) {
  for (auto _ : state) {
    auto graph = LoadedPlan(state);
    Clock::time_point start = Clock::now();
    graph->ForEachObject([](TGraphObject* o, void*) { return o->Delete(); }, nullptr, true);
    state.SetIterationTime(Seconds(start));
    if (graph->Objects().Count() != 0) state.SkipWithError("the selection was not deleted");
  }
}
BENCHMARK(DeleteSelection)->Apply(EditSizes);

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

void BringSelectionToFront(benchmark::State& state) {
  for (auto _ : state) {
    auto graph = LoadedPlan(state);
    Clock::time_point start = Clock::now();
    graph->ForEachObject(
        [](TGraphObject* o, void*) {
          o->BringToFront();
          return true;
        },
        nullptr, true);
    state.SetIterationTime(Seconds(start));
  }
}
BENCHMARK(BringSelectionToFront)->Apply(EditSizes);

// Each object in turn to the very back: each move shifts the objects
// before it, so this one grows with the square of the selection.
void SendSelectionToBack(benchmark::State& state) {
  for (auto _ : state) {
    auto graph = LoadedPlan(state);
    Clock::time_point start = Clock::now();
    graph->ForEachObject(
        [](TGraphObject* o, void*) {
          o->SendToBack();
          return true;
        },
        nullptr, true);
    state.SetIterationTime(Seconds(start));
  }
}
BENCHMARK(SendSelectionToBack)->Apply(EditSizes);

}  // namespace
