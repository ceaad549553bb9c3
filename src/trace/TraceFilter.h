// Which messages the debugger passes on. The viewer may replace these
// settings through the shared map's header.
#pragma once

#include <QString>
#include <cstdint>

#include "TraceTypes.h"

class TTraceFilter {
 public:
  TTraceFilter() = default;

  int32_t Level() const { return FLevel; }
  void SetLevel(int32_t Value) { FLevel = Value; }
  QString Tag() const { return FTag; }
  void SetTag(const QString& Value) { FTag = Value; }
  TTraceMsgTypes MsgTypes() const { return FMsgTypes; }
  void SetMsgTypes(TTraceMsgTypes Value) { FMsgTypes = Value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }

  // A disabled filter passes everything. Otherwise the level's low 8 bits
  // (unsigned) must not exceed Level; a non-empty type set must hold Type;
  // a non-empty filter tag must equal ATag ignoring case, and ATag may have
  // at most 8 characters.
  bool Passes(QStringView ATag, int32_t ALevel, uint32_t AType) const;

 private:
  int32_t FLevel = DefaultLevel;
  QString FTag;
  TTraceMsgTypes FMsgTypes = 0;
  bool FEnabled = false;
};
