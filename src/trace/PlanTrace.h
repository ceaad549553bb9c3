// Diagnostic tracing for every part of the program:
//
//   GlobalDebugger()->LogMsg("LoadFile: " + name);
//   GlobalDebugger()->LogFmt("%d-%d", {Category, Item});
//   GlobalDebugger()->LogInteger(Width);
//
// Messages reach a running PlanTraceViewer through shared memory; the
// first message starts one when none runs. Without a viewer they are
// counted and dropped. No trace call raises.
//
// Environment:
//   PLANTRACE_NAMESPACE  suffix for every shared object's name, so tests and
//                        parallel runs keep to themselves (TraceNames.h)
//   PLANTRACE_AUTOSTART  "0": the first message starts no viewer
#pragma once

#include "MapFileChannel.h"
#include "TraceDebugger.h"
#include "TraceTypes.h"

// The process-wide debugger, created (and its time marks calibrated) when
// the program loads, or on first use if that comes earlier; freed when the
// program ends. Owned by this module.
TTraceDebugger* GlobalDebugger();
