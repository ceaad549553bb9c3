// Names of the shared objects that connect writers and the viewer.
//
// The base names are /PlanTraceMap, /PlanTraceQueueEvent,
// /PlanTraceQueueMutex, /PlanTraceFlushEvent and /PlanTraceStartEvent,
// each followed by "." and the user's number (/PlanTraceMap.1000): every
// user has a channel of their own, and records never reach another
// user's viewer. Another user may still take these names first; the
// objects are then refused (SharedAccess.h) and tracing stays off.
//
// When the environment variable PLANTRACE_NAMESPACE is set, "-" and its
// value (letters, digits, '_', '.' and '-' only; other characters become
// '_'; at most 64 of them) are appended to every name, so that tests and
// parallel sessions neither meet a real viewer nor each other. A viewer
// started by a writer inherits the writer's environment and so its names.
#pragma once

#include <cstdint>
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
  // The names for an explicit namespace ("" gives the base names) and user.
  static TTraceNames ForNamespace(const std::string& Namespace);
  static TTraceNames ForUser(uint32_t UserId, const std::string& Namespace);
};
