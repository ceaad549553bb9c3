#include "TraceFilter.h"

bool TTraceFilter::Passes(QStringView ATag, int32_t ALevel, uint32_t AType) const {
  if (!FEnabled) return true;
  const uint32_t level = static_cast<uint8_t>(ALevel);
  if (static_cast<int64_t>(level) > FLevel) return false;
  if (FMsgTypes != 0) {
    if (AType > 15) return false;
    if ((FMsgTypes & (1u << AType)) == 0) return false;
  }
  if (!FTag.isEmpty()) {
    if (ATag.size() > 8) return false;
    if (ATag.compare(FTag, Qt::CaseInsensitive) != 0) return false;
  }
  return true;
}
