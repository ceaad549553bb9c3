#include "DesignerTrace.h"

namespace {
TTraceDebugger* gReplacement = nullptr;
}

TTraceDebugger& DesignerDebugger() { return gReplacement ? *gReplacement : *GlobalDebugger(); }

void SetDesignerDebugger(TTraceDebugger* ADebugger) { gReplacement = ADebugger; }
