// Starts a Qt application on the offscreen platform (so the control and the
// graphics view really paint, with no display), registers the plan classes
// and runs the benchmarks with the summary reporter. Without arguments the
// run repeats every case five times, the repetitions of all cases shuffled
// together (so that ours and Qt's meet the same load on a shared machine),
// and reports the aggregates.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <vector>

#include "PlanFixture.h"
#include "PlanObjects.h"
#include "SummaryReporter.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegisterPlanClasses();
  std::vector<char*> args(argv, argv + argc);
  char repetitions[] = "--benchmark_repetitions=5";
  char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
  char interleaved[] = "--benchmark_enable_random_interleaving=true";
  if (argc == 1) {
    args.push_back(repetitions);
    args.push_back(aggregatesOnly);
    args.push_back(interleaved);
  }
  int count = int(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  TSummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  TPlanFixture::ReleaseAll();
  benchmark::Shutdown();
  return 0;
}
