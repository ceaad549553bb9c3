#include "TraceChannel.h"

void TTraceChannel::SetAutoFlush(bool Value) {
  if (FAutoFlush == Value) return;
  FAutoFlush = Value;
  UpdateFlush();
}
