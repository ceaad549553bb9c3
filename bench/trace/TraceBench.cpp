// What a trace call costs. Target: a message with no viewer running stays
// under 5 microseconds: it is counted and dropped, and the channel tries to
// open the viewer's map at most once per millisecond. A viewer that was
// killed costs the same once the writer has noticed.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "MapFileChannel.h"
#include "TraceDebugger.h"
#include "TraceViewerHost.h"

namespace {

// Names no viewer uses, so the bench never meets a real one.
TTraceNames BenchNames() { return TTraceNames::ForNamespace("bench-" + std::to_string(::getpid())); }

std::unique_ptr<TTraceChannel> CreateBenchChannel(bool IsAutoFlush) {
  return std::make_unique<TMapFileChannel>(IsAutoFlush, BenchNames());
}

// One message at a time, each after a pause longer than the channel's retry
// interval, so every message meets the channel as a lone message would.
void TimeIsolatedMessages(benchmark::State& state, TTraceDebugger& debugger, const QString& text) {
  for (auto _ : state) {
    const auto until = std::chrono::steady_clock::now() + 2 * TMapFileChannel::RetryInterval;
    while (std::chrono::steady_clock::now() < until) {
    }
    const auto start = std::chrono::steady_clock::now();
    debugger.LogMsg(text);
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
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
  TimeIsolatedMessages(state, debugger, text);
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

// As the designer traces: every record waits for a viewer (a thread here)
// that drains the queue and releases it.
void BM_LogMsgToDrainingViewer(benchmark::State& state) {
  TTraceViewerHost host(BenchNames());
  if (!host.Create()) {
    state.SkipWithError("cannot create the viewer's objects");
    return;
  }
  host.Publish();
  std::atomic<bool> stop{false};
  std::thread viewer([&] {
    while (!stop) {
      host.WaitForRecords(10);
      host.Drain([](const TTraceRecord&) {});
    }
  });
  TTraceDebugger debugger(CreateBenchChannel);
  debugger.SetAutoStart(false);
  const QString text = QStringLiteral("Placing picture /meta/3_0.bmp");
  for (auto _ : state) debugger.LogMsg(text);
  stop = true;
  viewer.join();
  state.counters["posted"] = debugger.PostedMessageCount();
}
BENCHMARK(BM_LogMsgToDrainingViewer)->UseRealTime();

// A viewer killed with SIGKILL: its objects stay, still marked ready. The
// designer's channel flushes every record, so the first record after the
// kill waits out the flush timeout, finds the viewer's process gone and
// disconnects; the records timed here come after that.
class TKilledViewer {
 public:
  TKilledViewer() : fHost(BenchNames()) {
    fStandIn = ::fork();  // the process number the header names
    if (fStandIn == 0) {
      for (;;) ::pause();
    }
    if (!fHost.Create()) return;
    fHost.Header()->ViewerPid = static_cast<uint32_t>(fStandIn);
    fHost.Publish();
  }
  ~TKilledViewer() { Kill(); }

  bool IsOpen() const { return fHost.IsOpen(); }
  void Kill() {
    if (fStandIn <= 0) return;
    ::kill(fStandIn, SIGKILL);
    ::waitpid(fStandIn, nullptr, 0);
    fStandIn = 0;
  }

 private:
  pid_t fStandIn = 0;
  TTraceViewerHost fHost;
};

// Returns whether the channel had to let go of the killed viewer.
bool ConnectThenKill(TTraceDebugger& Debugger, TKilledViewer& Viewer, const QString& Text) {
  auto* channel = static_cast<TMapFileChannel*>(Debugger.Channel());
  channel->SetAutoFlush(false);
  Debugger.LogMsg(Text);
  const bool wasConnected = channel->Connected();
  channel->SetAutoFlush(true);
  Viewer.Kill();
  Debugger.LogMsg(Text);  // waits out the flush timeout once
  return wasConnected && !channel->Connected();
}

void BM_LogMsgViewerKilled(benchmark::State& state) {
  TKilledViewer viewer;
  if (!viewer.IsOpen()) {
    state.SkipWithError("cannot create the viewer's objects");
    return;
  }
  TTraceDebugger debugger(CreateBenchChannel);
  debugger.SetAutoStart(false);
  const QString text = QStringLiteral("Placing picture /meta/3_0.bmp");
  if (!ConnectThenKill(debugger, viewer, text)) {
    state.SkipWithError("the writer did not let go of the killed viewer");
    return;
  }
  const int64_t posted = debugger.PostedMessageCount();
  for (auto _ : state) debugger.LogMsg(text);
  state.counters["posted"] = static_cast<double>(debugger.PostedMessageCount() - posted);
}
BENCHMARK(BM_LogMsgViewerKilled);

// As the isolated case without a viewer: each record pays for one look at
// the killed viewer's map (open, map, its process number, close).
void BM_LogMsgViewerKilledIsolated(benchmark::State& state) {
  TKilledViewer viewer;
  TTraceDebugger debugger(CreateBenchChannel);
  debugger.SetAutoStart(false);
  const QString text = QStringLiteral("Placing picture /meta/3_0.bmp");
  if (!viewer.IsOpen() || !ConnectThenKill(debugger, viewer, text)) {
    state.SkipWithError("no killed viewer to measure against");
    return;
  }
  TimeIsolatedMessages(state, debugger, text);
}
BENCHMARK(BM_LogMsgViewerKilledIsolated)->UseManualTime()->Iterations(500);

}  // namespace

BENCHMARK_MAIN();
