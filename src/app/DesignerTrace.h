// The debugger the designer's trace calls go to: the process-wide one,
// unless a test has put a recording debugger in its place.
#pragma once

#include "PlanTrace.h"

TTraceDebugger& DesignerDebugger();

// Sends the designer's trace to ADebugger (nullptr: back to the
// process-wide one). The caller keeps ownership and must restore the
// default before ADebugger goes.
void SetDesignerDebugger(TTraceDebugger* ADebugger);
