// The console report, followed by a summary of the medians per plan size in
// Markdown tables: our figures; the comparison with Qt's two scenes (each
// median with its spread, the ratio to the better scene, parity within
// ±10 %); saving and loading with allocations per object; the edit
// commands, with growth per doubling for the partial selections; undo and
// redo, and the loads of piled-up documents.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>

class TSummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& Reports) override;
  void Finalize() override;

 private:
  struct TFigure {
    double Seconds = 0;
    double StdDev = -1;  // of the repetitions, when there were some
    std::map<std::string, double> Counters;
    bool IsMedian = false;
  };

  const TFigure* Find(const std::string& Case, int Size) const;
  // "12.3 ms" style text of a case's median time, or "-".
  std::string Time(const std::string& Case, int Size) const;
  // Ours / theirs, or "-".
  std::string Ratio(const std::string& Ours, const std::string& Theirs, int Size) const;
  std::string Counter(const std::string& Case, int Size, const std::string& Name) const;
  // The median with its spread, "83.6 µs ±4%".
  std::string TimeSpread(const std::string& Case, int Size) const;
  // Ours against the better of Qt's two scenes.
  double BetterQtRatio(const std::string& Ours, const std::string& Flat, const std::string& Grouped, int Size) const;
  // T(N) / T(N / 2), or "-".
  std::string Growth(const std::string& Case, int Size) const;
  // The sizes Case ran at.
  std::set<int> SizesOf(const std::string& Case) const;
  void PrintComparison(FILE* Out) const;
  void PrintPartEdits(FILE* Out) const;
  // Save and the loads, with their allocations per object.
  void PrintLoading(FILE* Out) const;
  // A counter holding milliseconds, as a time.
  std::string CounterTime(const std::string& Case, int Size, const std::string& Name) const;
  // The hostile documents' load times against their spread-out counterparts.
  void PrintLoadRatios(FILE* Out) const;

  // (case name, size) -> figure.
  std::map<std::pair<std::string, int>, TFigure> fFigures;
};
