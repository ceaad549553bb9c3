#include "TraceNames.h"

#include <cstdlib>

#include "SharedAccess.h"

namespace {

std::string Sanitized(const std::string& Namespace) {
  std::string out;
  for (char c : Namespace.substr(0, 64)) {
    const bool plain =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '-';
    out += plain ? c : '_';
  }
  return out;
}

}  // namespace

TTraceNames TTraceNames::ForNamespace(const std::string& Namespace) { return ForUser(SharedUserId(), Namespace); }

TTraceNames TTraceNames::ForUser(uint32_t UserId, const std::string& Namespace) {
  const std::string suffix =
      "." + std::to_string(UserId) + (Namespace.empty() ? std::string() : "-" + Sanitized(Namespace));
  return {"/PlanTraceMap" + suffix, "/PlanTraceQueueEvent" + suffix, "/PlanTraceQueueMutex" + suffix,
          "/PlanTraceFlushEvent" + suffix, "/PlanTraceStartEvent" + suffix};
}

TTraceNames TTraceNames::FromEnvironment() {
  const char* value = std::getenv(TraceNamespaceVariable);
  return ForNamespace(value ? std::string(value) : std::string());
}
