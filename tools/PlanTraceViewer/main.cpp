// PlanTraceViewer: the console viewer of the trace channel. It owns the
// shared map and its semaphores for as long as it runs and removes them
// when it ends, also on Ctrl+C or a termination signal.
#include <signal.h>

#include <QStringList>
#include <cstdio>

#include "SharedAccess.h"
#include "TraceRecordText.h"
#include "TraceViewerHost.h"
#include "ViewerOptions.h"

namespace {

volatile sig_atomic_t gStop = 0;

void OnSignal(int) { gStop = 1; }

// No SA_RESTART: a signal interrupts the wait so the loop sees gStop.
void InstallSignalHandlers() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (int number : {SIGINT, SIGTERM, SIGHUP}) sigaction(number, &action, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
}

class TViewer {
 public:
  TViewer(const TViewerOptions& Options, FILE* Out)
      : fOptions(Options), fOut(Out), fHost(TTraceNames::FromEnvironment()) {}

  int Run() {
    if (!fHost.Create(fOptions.QueueSize ? fOptions.QueueSize : TTraceViewerHost::DefaultQueueSize)) {
      std::fprintf(stderr, "PlanTraceViewer: %s\n", qPrintable(fHost.Error()));
      fHost.SignalStarted();  // a writer waiting for this viewer need not wait longer
      return 1;
    }
    if (fOptions.FilterGiven) fHost.SetFilter(fOptions.Filter);
    fHost.Publish();
    fHost.SignalStarted();
    std::fprintf(stderr, "PlanTraceViewer: ready on %s\n", fHost.Names().Map.c_str());
    Loop();
    fHost.Close();
    return 0;
  }

 private:
  void Loop() {
    while (!gStop && !LimitReached()) {
      fHost.WaitForRecords(200);
      Drain();
      if (AttachedProcessEnded()) {
        Drain();  // what it sent last
        return;
      }
    }
  }

  void Drain() {
    fHost.Drain([this](const TTraceRecord& record) {
      if (LimitReached()) return;
      std::fputs(TraceRecordLine(record).toUtf8().constData(), fOut);
      std::fputc('\n', fOut);
      ++fCount;
    });
    std::fflush(fOut);
    ReportHeader();
  }

  // Once per change, so a damaged header does not flood the terminal.
  void ReportHeader() {
    if (fHost.HeaderIntact() == fHeaderIntact) return;
    fHeaderIntact = fHost.HeaderIntact();
    std::fputs(fHeaderIntact ? "PlanTraceViewer: the queue header is valid again\n"
                             : "PlanTraceViewer: the queue header was damaged; its records are ignored\n",
               stderr);
  }

  bool LimitReached() const { return fOptions.RecordLimit > 0 && fCount >= fOptions.RecordLimit; }

  bool AttachedProcessEnded() const {
    return fOptions.AttachedProcess && !fOptions.KeepRunning && !IsProcessAlive(fOptions.AttachedProcess);
  }

  const TViewerOptions& fOptions;
  FILE* fOut;
  TTraceViewerHost fHost;
  int64_t fCount = 0;
  bool fHeaderIntact = true;
};

}  // namespace

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const TViewerOptions options = TViewerOptions::Parse(arguments);
  if (options.ShowHelp || !options.Error.isEmpty()) {
    if (!options.Error.isEmpty()) std::fprintf(stderr, "PlanTraceViewer: %s\n", qPrintable(options.Error));
    std::fputs(qPrintable(TViewerOptions::Usage()), options.ShowHelp ? stdout : stderr);
    return options.Error.isEmpty() ? 0 : 2;
  }
  InstallSignalHandlers();
  FILE* out = stdout;
  if (!options.OutputFile.isEmpty()) {
    out = std::fopen(options.OutputFile.toLocal8Bit().constData(), "w");
    if (!out) {
      std::fprintf(stderr, "PlanTraceViewer: cannot write %s\n", qPrintable(options.OutputFile));
      return 1;
    }
  }
  const int result = TViewer(options, out).Run();
  if (out != stdout) std::fclose(out);
  return result;
}
