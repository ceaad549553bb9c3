// Names of the shared objects that connect writers and the viewer.
//
// The base names are /PlanTraceMap, /PlanTraceQueueEvent,
// /PlanTraceQueueMutex, /PlanTraceFlushEvent and /PlanTraceStartEvent.
// When the environment variable PLANTRACE_NAMESPACE is set, "-" and its
// value (letters, digits, '_', '.' and '-' only; other characters become
// '_'; at most 64 of them) are appended to every name, so that tests and
// parallel sessions neither meet a real viewer nor each other. A viewer
// started by a writer inherits the writer's environment and so its names.
#pragma once

#include <string>

constexpr const char* TraceNamespaceVariable = "PLANTRACE_NAMESPACE";

struct TTraceNames {
  std::string Map;
  std::string QueueEvent;
  std::string QueueMutex;
  std::string FlushEvent;
  std::string StartEvent;

  // The names for the current value of PLANTRACE_NAMESPACE.
  static TTraceNames FromEnvironment();
  // The names for an explicit namespace ("" gives the base names).
  static TTraceNames ForNamespace(const std::string& Namespace);
};
