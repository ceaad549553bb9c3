#include "PlanTrace.h"

#include <mutex>

namespace {

constinit std::atomic<TTraceDebugger*> gDebuggerRef{nullptr};
constinit std::atomic<bool> gModuleEnded{false};
constinit std::mutex gCreateLock;

// Owns the global debugger from its creation until the program ends.
struct TTraceModule {
  std::unique_ptr<TTraceDebugger> Debugger;

  ~TTraceModule() {
    gModuleEnded = true;
    gDebuggerRef = nullptr;  // cleared before the debugger goes
    Debugger.reset();
  }
};
constinit TTraceModule gModule;

// Module start: the debugger exists before the program's own start-up.
const bool kCreatedAtStart = [] {
  GlobalDebugger();
  return true;
}();

// Calls made while static objects are being destroyed, after the module
// ended, get a debugger without channel: they count and go nowhere.
TTraceDebugger* LateDebugger() {
  static TTraceDebugger late(nullptr);
  return &late;
}

}  // namespace

TTraceDebugger* GlobalDebugger() {
  if (TTraceDebugger* debugger = gDebuggerRef.load(std::memory_order_acquire)) return debugger;
  if (gModuleEnded) return LateDebugger();
  std::lock_guard lock(gCreateLock);
  if (!gModule.Debugger) {
    auto debugger = std::make_unique<TTraceDebugger>();
    debugger->CalibrateTimeMarks();
    gModule.Debugger = std::move(debugger);
  }
  gDebuggerRef.store(gModule.Debugger.get(), std::memory_order_release);
  return gModule.Debugger.get();
}
