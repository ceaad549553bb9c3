// What a trace call costs. Target: a message with no viewer running stays
// under 5 microseconds: it is counted and dropped, and the channel tries to
// open the viewer's map at most once per millisecond.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "MapFileChannel.h"
#include "TraceDebugger.h"
#include "TraceViewerHost.h"

namespace {

// Names no viewer uses, so the bench never meets a real one.
TTraceNames BenchNames() { return TTraceNames::ForNamespace("bench-" + std::to_string(::getpid())); }

std::unique_ptr<TTraceChannel> CreateBenchChannel(bool IsAutoFlush) {
  return std::make_unique<TMapFileChannel>(IsAutoFlush, BenchNames());
}

void BM_LogMsgWithoutViewer(benchmark::State& state) {
  TTraceDebugger debugger(CreateBenchChannel);
  debugger.SetAutoStart(false);
  const QString text = QStringLiteral("Placing picture /meta/3_0.bmp");
  for (auto _ : state) debugger.LogMsg(text);
  state.counters["discarded"] = debugger.DiscardedMessageCount();
}
BENCHMARK(BM_LogMsgWithoutViewer);

// The worst case: an isolated message, past the channel's retry interval,
// pays for a whole failed map open, whose cost is the kernel's.
void BM_LogMsgWithoutViewerIsolated(benchmark::State& state) {
  TTraceDebugger debugger(CreateBenchChannel);
  debugger.SetAutoStart(false);
  const QString text = QStringLiteral("Placing picture /meta/3_0.bmp");
  for (auto _ : state) {
    const auto until = std::chrono::steady_clock::now() + 2 * TMapFileChannel::RetryInterval;
    while (std::chrono::steady_clock::now() < until) {
    }
    const auto start = std::chrono::steady_clock::now();
    debugger.LogMsg(text);
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
}
BENCHMARK(BM_LogMsgWithoutViewerIsolated)->UseManualTime()->Iterations(500);

void BM_LogFmtWithoutViewer(benchmark::State& state) {
  TTraceDebugger debugger(CreateBenchChannel);
  debugger.SetAutoStart(false);
  int item = 0;
  for (auto _ : state) debugger.LogFmt(QStringLiteral("%d-%d"), {3, item++});
}
BENCHMARK(BM_LogFmtWithoutViewer);

// With a viewer that never reads: every record goes through the mutex and
// the ring, overwriting the oldest ones.
void BM_LogMsgToViewer(benchmark::State& state) {
  TTraceViewerHost host(BenchNames());
  if (!host.Create()) {
    state.SkipWithError("cannot create the viewer's objects");
    return;
  }
  host.Publish();
  TTraceDebugger debugger(CreateBenchChannel);
  debugger.SetAutoStart(false);
  debugger.Channel()->SetAutoFlush(false);
  const QString text = QStringLiteral("Placing picture /meta/3_0.bmp");
  for (auto _ : state) debugger.LogMsg(text);
  state.counters["posted"] = debugger.PostedMessageCount();
}
BENCHMARK(BM_LogMsgToViewer);

}  // namespace

BENCHMARK_MAIN();
