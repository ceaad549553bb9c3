#include "SummaryReporter.h"

#include <cctype>
#include <cstdio>
#include <set>
#include <string>

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
    // "1000/1": a size, then a second argument, which names a case of its own.
    const std::string& args = run.run_name.args;
    const size_t slash = args.find('/');
    std::string name = run.run_name.function_name;
    if (slash != std::string::npos && slash + 1 < args.size() &&
        std::isdigit(static_cast<unsigned char>(args[slash + 1])))
      name += "/" + args.substr(slash + 1);
    TFigure& figure = fFigures[{name, std::atoi(args.c_str())}];
    if (run.aggregate_name == "stddev") {
      figure.StdDev = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      continue;
    }
    bool median = run.aggregate_name == "median";
    if (!run.aggregate_name.empty() && !median) continue;
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
  const std::set<int> sizes = SizesOf("UndoDeleteAll");
  FILE* out = stdout;
  std::fprintf(out, "\nSummary (medians of the repetitions)\n\n");
  std::fprintf(out,
               "| N | save | load | wall point | with live measure | rubber band | heap B/object | of which pixels "
               "| RSS B/object |\n");
  std::fprintf(out, "|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  for (int n : SizesOf("Save"))
    std::fprintf(out, "| %d | %s | %s | %s | %s | %s | %s | %s | %s |\n", n, Time("Save", n).c_str(),
                 Time("Load", n).c_str(), Time("WallPointDrag/0", n).c_str(), Time("WallPointDrag/1", n).c_str(),
                 Time("RubberBand", n).c_str(), Counter("Memory", n, "heap_B_per_object").c_str(),
                 Counter("Memory", n, "pixel_B_per_object").c_str(), Counter("Memory", n, "rss_B_per_object").c_str());
  PrintLoading(out);
  PrintComparison(out);
  std::fprintf(out, "\nCopying the whole plan\n\n");
  std::fprintf(out, "| N | copy selection | paste onto itself |\n");
  std::fprintf(out, "|---:|---:|---:|\n");
  for (int n : SizesOf("CopySelection"))
    std::fprintf(out, "| %d | %s | %s |\n", n, Time("CopySelection", n).c_str(), Time("PasteOntoItself", n).c_str());
  PrintPartEdits(out);
  std::fprintf(out, "\nUndo and redo (step: BeginStep, the action, EndStep; record: the same without the action)\n\n");
  std::fprintf(out,
               "| N | delete all: step | record | undo | redo | history B/object | drag: step | record | undo | redo "
               "| history B |\n");
  std::fprintf(out, "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  for (int n : sizes)
    std::fprintf(
        out, "| %d | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", n,
        CounterTime("UndoDeleteAll", n, "step_ms").c_str(), CounterTime("UndoDeleteAll", n, "record_ms").c_str(),
        Time("UndoDeleteAll", n).c_str(), CounterTime("UndoDeleteAll", n, "redo_ms").c_str(),
        Counter("UndoDeleteAll", n, "history_B_per_object").c_str(), CounterTime("UndoDrag", n, "step_ms").c_str(),
        CounterTime("UndoDrag", n, "record_ms").c_str(), Time("UndoDrag", n).c_str(),
        CounterTime("UndoDrag", n, "redo_ms").c_str(), Counter("UndoDrag", n, "history_B").c_str());
  PrintLoadRatios(out);
  std::fflush(out);
  ConsoleReporter::Finalize();
}

std::string TSummaryReporter::TimeSpread(const std::string& Case, int Size) const {
  const TFigure* f = Find(Case, Size);
  if (!f) return "-";
  if (f->StdDev < 0 || f->Seconds <= 0) return FormatSeconds(f->Seconds);
  return FormatSeconds(f->Seconds) + Format(" ±%.0f%%", 100 * f->StdDev / f->Seconds);
}

double TSummaryReporter::BetterQtRatio(const std::string& Ours, const std::string& Flat, const std::string& Grouped,
                                       int Size) const {
  const TFigure* ours = Find(Ours, Size);
  double best = 0;
  for (const std::string& theirs : {Flat, Grouped})
    if (const TFigure* f = Find(theirs, Size); f && f->Seconds > 0 && (best == 0 || f->Seconds < best))
      best = f->Seconds;
  return ours && best > 0 ? ours->Seconds / best : -1;
}

std::string TSummaryReporter::Growth(const std::string& Case, int Size) const {
  const TFigure* now = Find(Case, Size);
  const TFigure* half = Find(Case, Size / 2);
  if (!now || !half || half->Seconds <= 0) return "-";
  return Format("%.2f×", now->Seconds / half->Seconds);
}

std::set<int> TSummaryReporter::SizesOf(const std::string& Case) const {
  std::set<int> sizes;
  for (const auto& [key, figure] : fFigures)
    if (key.first == Case) sizes.insert(key.second);
  return sizes;
}

void TSummaryReporter::PrintComparison(FILE* Out) const {
  struct TCase {
    const char* Title;
    const char* Ours;
    const char* Counter;  // what each side paints or hits
  };
  const TCase cases[] = {{"view", "PaintView", "painted"},
                         {"fitted", "PaintFitted", "painted"},
                         {"hit test", "FindObjectAt", "hit_rate"},
                         {"drag step", "DragStep", "doors"}};
  std::fprintf(Out,
               "\nAgainst Qt's graphics scene, flat and grouped per flat (median ±relative standard deviation; "
               "ratio = ours / the better scene; parity within ±10 %%)\n\n");
  std::fprintf(Out, "| N | case | ours | Qt flat | Qt grouped | ratio | verdict | ours : flat : grouped |\n");
  std::fprintf(Out, "|---:|---|---:|---:|---:|---:|---|---|\n");
  for (int n : SizesOf("PaintView"))
    for (const TCase& c : cases) {
      const std::string ours = c.Ours;
      const std::string flat = ours == "FindObjectAt" ? "QtItemAt" : "Qt" + ours;
      const std::string grouped = ours == "FindObjectAt" ? "QtGroupedItemAt" : "QtGrouped" + ours;
      const double ratio = BetterQtRatio(ours, flat, grouped, n);
      const char* verdict = ratio < 0 ? "-" : ratio < 0.9 ? "ahead" : ratio > 1.1 ? "behind" : "parity";
      const bool rate = std::string(c.Counter) == "hit_rate";
      auto counter = [&](const std::string& Case) {
        const TFigure* f = Find(Case, n);
        if (!f || !f->Counters.count(c.Counter)) return std::string("-");
        return Format(rate ? "%.3f" : "%.0f", f->Counters.at(c.Counter));
      };
      std::fprintf(Out, "| %d | %s | %s | %s | %s | %s | %s | %s : %s : %s |\n", n, c.Title,
                   TimeSpread(ours, n).c_str(), TimeSpread(flat, n).c_str(), TimeSpread(grouped, n).c_str(),
                   ratio < 0 ? "-" : Format(ratio >= 0.1 ? "%.2f" : "%.3f", ratio).c_str(), verdict,
                   counter(ours).c_str(), counter(flat).c_str(), counter(grouped).c_str());
    }
}

void TSummaryReporter::PrintLoading(FILE* Out) const {
  const std::set<int> sizes = SizesOf("DistinctPicturesLoad");
  if (sizes.empty()) return;
  std::fprintf(Out, "\nSaving and loading, with heap allocations per object\n\n");
  std::fprintf(Out, "| N | save | allocs | load | allocs | distinct pictures | allocs | from a file | allocs |\n");
  std::fprintf(Out, "|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  auto allocs = [&](const char* Case, int n) -> std::string {
    const TFigure* f = Find(Case, n);
    if (!f) return "-";
    auto it = f->Counters.find("allocs_per_object");
    return it == f->Counters.end() ? "-" : Format("%.1f", it->second);
  };
  for (int n : sizes)
    std::fprintf(Out, "| %d | %s | %s | %s | %s | %s | %s | %s | %s |\n", n, TimeSpread("Save", n).c_str(),
                 allocs("Save", n).c_str(), TimeSpread("Load", n).c_str(), allocs("Load", n).c_str(),
                 TimeSpread("DistinctPicturesLoad", n).c_str(), allocs("DistinctPicturesLoad", n).c_str(),
                 TimeSpread("FileLoad", n).c_str(), allocs("FileLoad", n).c_str());
}

void TSummaryReporter::PrintPartEdits(FILE* Out) const {
  const char* edits[] = {"Delete", "Front", "Back"};
  const char* parts[] = {"All", "MiddleThird", "EveryOther"};
  const std::set<int> sizes = SizesOf("DeleteAll");
  if (sizes.empty()) return;
  std::fprintf(Out, "\nDelete, bring to front, send to back of part of the plan (× = growth per doubling)\n\n| case |");
  for (int n : sizes) std::fprintf(Out, " %d | × |", n);
  std::fprintf(Out, "\n|---|");
  for (size_t i = 0; i < sizes.size(); ++i) std::fprintf(Out, "---:|---:|");
  std::fprintf(Out, "\n");
  for (const char* edit : edits)
    for (const char* part : parts) {
      const std::string name = std::string(edit) + part;
      std::fprintf(Out, "| %s |", name.c_str());
      for (int n : sizes) std::fprintf(Out, " %s | %s |", TimeSpread(name, n).c_str(), Growth(name, n).c_str());
      std::fprintf(Out, "\n");
    }
}

void TSummaryReporter::PrintLoadRatios(FILE* Out) const {
  std::set<int> sizes;
  for (const auto& [key, figure] : fFigures)
    if (IsPiledLoad(key.first)) sizes.insert(key.second);
  if (sizes.empty()) return;
  std::fprintf(Out, "\nLoading piled-up documents (ratio = piled up / spread out)\n\n");
  std::fprintf(Out,
               "| N | shared IDs | distinct IDs | ratio | stacked | side by side | ratio | links on one node "
               "| links on their own | ratio |\n");
  std::fprintf(Out, "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  for (int n : sizes)
    std::fprintf(Out, "| %d | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", n, Time("LoadSharedIDs", n).c_str(),
                 Time("LoadDistinctIDs", n).c_str(), Ratio("LoadSharedIDs", "LoadDistinctIDs", n).c_str(),
                 Time("LoadStacked", n).c_str(), Time("LoadSideBySide", n).c_str(),
                 Ratio("LoadStacked", "LoadSideBySide", n).c_str(), Time("LoadLinksOnOneNode", n).c_str(),
                 Time("LoadLinksOnTheirOwn", n).c_str(), Ratio("LoadLinksOnOneNode", "LoadLinksOnTheirOwn", n).c_str());
}
