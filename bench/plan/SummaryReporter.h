// The console report, followed by a summary of the medians per plan size in
// a Markdown table: our figures, Qt's graphics scene's, and the ratios
// ours / theirs for painting, hit finding and dragging; then the edit
// commands, undo and redo, and the loads of piled-up documents.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

class TSummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& Reports) override;
  void Finalize() override;

 private:
  struct TFigure {
    double Seconds = 0;
    std::map<std::string, double> Counters;
    bool IsMedian = false;
  };

  const TFigure* Find(const std::string& Case, int Size) const;
  // "12.3 ms" style text of a case's median time, or "-".
  std::string Time(const std::string& Case, int Size) const;
  // Ours / theirs, or "-".
  std::string Ratio(const std::string& Ours, const std::string& Theirs, int Size) const;
  std::string Counter(const std::string& Case, int Size, const std::string& Name) const;
  // A counter holding milliseconds, as a time.
  std::string CounterTime(const std::string& Case, int Size, const std::string& Name) const;
  // The hostile documents' load times against their spread-out counterparts.
  void PrintLoadRatios(FILE* Out) const;

  // (case name, size) -> figure.
  std::map<std::pair<std::string, int>, TFigure> fFigures;
};
