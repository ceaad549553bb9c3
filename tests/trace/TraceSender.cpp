// Sends trace messages from two threads through the global debugger, as
// the end-to-end test's stand-in for the designer:
//   trace_sender COUNT
// Each thread ("A", "B") sends LogEnter("Worker"), COUNT messages
// "<thread> <i>" tagged with its name at level 2, and LogLeave("Worker").
#include <QCoreApplication>
#include <thread>

#include "PlanTrace.h"

namespace {

void Work(const QString& Name, int Count) {
  TTraceDebugger* debugger = GlobalDebugger();
  debugger->LogEnter(QStringLiteral("Worker"), Name);
  for (int i = 0; i < Count; ++i) debugger->LogMsgWithTagLevel(Name + QLatin1Char(' ') + QString::number(i), Name, 2);
  debugger->LogLeave(QStringLiteral("Worker"), Name);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10;
  std::thread a(Work, QStringLiteral("A"), count);
  std::thread b(Work, QStringLiteral("B"), count);
  a.join();
  b.join();
  TTraceDebugger* debugger = GlobalDebugger();
  return debugger->PostedMessageCount() == debugger->MessageCount() ? 0 : 3;
}
