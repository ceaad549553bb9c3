#include "SummaryReporter.h"

#include <cstdio>
#include <set>

namespace {
std::string Format(const char* Pattern, double Value) {
  char text[64];
  std::snprintf(text, sizeof text, Pattern, Value);
  return text;
}

std::string FormatSeconds(double Seconds) {
  if (Seconds >= 1) return Format("%.2f s", Seconds);
  if (Seconds >= 1e-3) return Format("%.2f ms", Seconds * 1e3);
  return Format("%.2f µs", Seconds * 1e6);
}

// LoadBench's cases, which run at sizes of their own.
bool IsPiledLoad(const std::string& Case) { return Case.rfind("Load", 0) == 0 && Case != "Load"; }
}  // namespace

void TSummaryReporter::ReportRuns(const std::vector<Run>& Reports) {
  ConsoleReporter::ReportRuns(Reports);
  for (const Run& run : Reports) {
    if (run.error_occurred) continue;
    bool median = run.aggregate_name == "median";
    if (!run.aggregate_name.empty() && !median) continue;
    int size = std::atoi(run.run_name.args.c_str());
    TFigure& figure = fFigures[{run.run_name.function_name, size}];
    // A median, once there, wins over the single runs it summarises.
    if (figure.IsMedian && !median) continue;
    figure.IsMedian = median;
    figure.Seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    figure.Counters.clear();
    for (const auto& [name, counter] : run.counters) figure.Counters[name] = counter.value;
  }
}

const TSummaryReporter::TFigure* TSummaryReporter::Find(const std::string& Case, int Size) const {
  auto it = fFigures.find({Case, Size});
  return it == fFigures.end() ? nullptr : &it->second;
}

std::string TSummaryReporter::Time(const std::string& Case, int Size) const {
  const TFigure* f = Find(Case, Size);
  return f ? FormatSeconds(f->Seconds) : "-";
}

std::string TSummaryReporter::Ratio(const std::string& Ours, const std::string& Theirs, int Size) const {
  const TFigure* a = Find(Ours, Size);
  const TFigure* b = Find(Theirs, Size);
  if (!a || !b || b->Seconds <= 0) return "-";
  double ratio = a->Seconds / b->Seconds;
  return Format(ratio >= 0.1 ? "%.2f" : "%.3f", ratio);
}

std::string TSummaryReporter::Counter(const std::string& Case, int Size, const std::string& Name) const {
  const TFigure* f = Find(Case, Size);
  if (!f) return "-";
  auto it = f->Counters.find(Name);
  return it == f->Counters.end() ? "-" : Format("%.0f", it->second);
}

std::string TSummaryReporter::CounterTime(const std::string& Case, int Size, const std::string& Name) const {
  const TFigure* f = Find(Case, Size);
  if (!f) return "-";
  auto it = f->Counters.find(Name);
  return it == f->Counters.end() ? "-" : FormatSeconds(it->second / 1e3);
}

void TSummaryReporter::Finalize() {
  std::set<int> sizes;
  for (const auto& [key, figure] : fFigures)
    if (!IsPiledLoad(key.first)) sizes.insert(key.second);
  FILE* out = stdout;
  std::fprintf(out, "\nSummary (medians; ratio = ours / QGraphicsScene, below 1 is faster)\n\n");
  std::fprintf(out,
               "| N | save | load | view | Qt view | ratio | fitted | Qt fitted | ratio | FindObjectAt | Qt itemAt "
               "| ratio | drag step | Qt drag step | ratio | rubber band | heap B/object | of which pixels | RSS B/object |\n");
  std::fprintf(out, "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  for (int n : sizes) {
    std::fprintf(out,
                 "| %d | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n",
                 n, Time("Save", n).c_str(), Time("Load", n).c_str(), Time("PaintView", n).c_str(),
                 Time("QtPaintView", n).c_str(), Ratio("PaintView", "QtPaintView", n).c_str(),
                 Time("PaintFitted", n).c_str(), Time("QtPaintFitted", n).c_str(),
                 Ratio("PaintFitted", "QtPaintFitted", n).c_str(), Time("FindObjectAt", n).c_str(),
                 Time("QtItemAt", n).c_str(), Ratio("FindObjectAt", "QtItemAt", n).c_str(),
                 Time("DragStep", n).c_str(), Time("QtDragStep", n).c_str(),
                 Ratio("DragStep", "QtDragStep", n).c_str(), Time("RubberBand", n).c_str(),
                 Counter("Memory", n, "heap_B_per_object").c_str(), Counter("Memory", n, "pixel_B_per_object").c_str(),
                 Counter("Memory", n, "rss_B_per_object").c_str());
  }
  std::fprintf(out, "\nEdits of the whole plan\n\n");
  std::fprintf(out, "| N | delete selection | copy selection | paste onto itself | bring selection to front | send selection to back |\n");
  std::fprintf(out, "|---:|---:|---:|---:|---:|---:|\n");
  for (int n : sizes)
    std::fprintf(out, "| %d | %s | %s | %s | %s | %s |\n", n, Time("DeleteSelection", n).c_str(),
                 Time("CopySelection", n).c_str(), Time("PasteOntoItself", n).c_str(),
                 Time("BringSelectionToFront", n).c_str(), Time("SendSelectionToBack", n).c_str());
  std::fprintf(out, "\nUndo and redo (step: BeginStep, the action, EndStep; record: the same without the action)\n\n");
  std::fprintf(out,
               "| N | delete all: step | record | undo | redo | history B/object | drag: step | record | undo | redo "
               "| history B |\n");
  std::fprintf(out, "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  for (int n : sizes)
    std::fprintf(out, "| %d | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", n,
                 CounterTime("UndoDeleteAll", n, "step_ms").c_str(), CounterTime("UndoDeleteAll", n, "record_ms").c_str(),
                 Time("UndoDeleteAll", n).c_str(), CounterTime("UndoDeleteAll", n, "redo_ms").c_str(),
                 Counter("UndoDeleteAll", n, "history_B_per_object").c_str(),
                 CounterTime("UndoDrag", n, "step_ms").c_str(), CounterTime("UndoDrag", n, "record_ms").c_str(),
                 Time("UndoDrag", n).c_str(), CounterTime("UndoDrag", n, "redo_ms").c_str(),
                 Counter("UndoDrag", n, "history_B").c_str());
  PrintLoadRatios(out);
  std::fflush(out);
  ConsoleReporter::Finalize();
}

void TSummaryReporter::PrintLoadRatios(FILE* Out) const {
  std::set<int> sizes;
  for (const auto& [key, figure] : fFigures)
    if (IsPiledLoad(key.first)) sizes.insert(key.second);
  if (sizes.empty()) return;
  std::fprintf(Out, "\nLoading piled-up documents (ratio = piled up / spread out)\n\n");
  std::fprintf(Out, "| N | shared IDs | distinct IDs | ratio | stacked | side by side | ratio | links on one node "
                    "| links on their own | ratio |\n");
  std::fprintf(Out, "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  for (int n : sizes)
    std::fprintf(Out, "| %d | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", n, Time("LoadSharedIDs", n).c_str(),
                 Time("LoadDistinctIDs", n).c_str(), Ratio("LoadSharedIDs", "LoadDistinctIDs", n).c_str(),
                 Time("LoadStacked", n).c_str(), Time("LoadSideBySide", n).c_str(),
                 Ratio("LoadStacked", "LoadSideBySide", n).c_str(), Time("LoadLinksOnOneNode", n).c_str(),
                 Time("LoadLinksOnTheirOwn", n).c_str(), Ratio("LoadLinksOnOneNode", "LoadLinksOnTheirOwn", n).c_str());
}
