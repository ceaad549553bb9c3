// One record as one line of text, as the viewer prints it. Fields are
// separated by tabs:
//   time  process  thread  level  indent  type  tag  text
// e.g. "2024-05-01 09:30:12.345\t4711\t4712\t3\t0\ttmtInformation\t\tLoadFile: a.kvf".
// The text's backslashes, tabs, CR, LF and other control characters are
// escaped (\\ \t \r \n \xHH); a memory dump shows its bytes in hex; a
// time-mark stop adds " [<n> cycles]".
#pragma once

#include <QString>

#include "TraceTypes.h"

// The stamp as "yyyy-mm-dd hh:nn:ss.zzz" for kind 1, else its raw value.
QString TraceStampText(uint32_t StampKind, double Stamp);
QString TraceRecordLine(const TTraceRecord& Record);
