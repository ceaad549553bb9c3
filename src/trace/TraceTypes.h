// The trace message types, the fixed-layout message record that travels to
// the viewer and into the dump file, and the header of the shared map.
// Both layouts are little-endian byte formats shared with other processes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

enum TTraceMsgType : uint8_t {
  tmtInformation,
  tmtWarning,
  tmtError,
  tmtSeparator,
  tmtEnterProc,
  tmtLeaveProc,
  tmtTimeMarkStart,
  tmtTimeMarkStop,
  tmtMemoryDump,
  tmtException,
  tmtObject,
  tmtComponent,
  tmtCustom,
  tmtSystem,
};
constexpr int TraceMsgTypeCount = tmtSystem + 1;

// Bit n stands for type n.
using TTraceMsgTypes = uint16_t;
constexpr TTraceMsgTypes TraceTypeBit(TTraceMsgType Type) { return static_cast<TTraceMsgTypes>(1u << Type); }

// "tmtInformation" ... "tmtSystem"; "" outside the range.
const char* TraceMsgTypeName(uint32_t Type);

constexpr int32_t DefaultLevel = 3;
constexpr TTraceMsgType DefaultType = tmtInformation;
// 1: the record's Stamp is the local date and time as a day count.
constexpr uint32_t TimeStampKind = 1;

constexpr uint32_t TraceRecordHeaderSize = 48;
constexpr uint32_t TraceMaxTextSize = 4096;
constexpr uint32_t TraceMaxRecordSize = TraceRecordHeaderSize + TraceMaxTextSize;

struct TTraceRecord {
  uint32_t Length;  // 48 + text size
  int32_t Level;
  int32_t Indent;
  uint32_t ProcessId;
  uint32_t ThreadId;
  char Tag[8];         // UTF-8, cut to 8 bytes, zero-filled
  uint32_t MsgType;    // TTraceMsgType ordinal
  uint32_t CPUPeriod;  // low 32 bits of a time mark's cycles, else 0
  uint32_t StampKind;
  double Stamp;                    // kind 1: days since 1899-12-30, time of day as fraction
  char MsgText[TraceMaxTextSize];  // no terminator; Length tells the size
};

static_assert(std::endian::native == std::endian::little, "records are little-endian byte formats");
static_assert(offsetof(TTraceRecord, Tag) == 20 && offsetof(TTraceRecord, MsgType) == 28);
static_assert(offsetof(TTraceRecord, Stamp) == 40 && offsetof(TTraceRecord, MsgText) == 48);
static_assert(sizeof(TTraceRecord) == TraceMaxRecordSize);

constexpr uint32_t TraceReadyMark = 0x7F3D92E0;
constexpr char TraceMagic[8] = {'P', 'L', 'T', 'R', 'A', 'C', 'E', 0};
constexpr int TraceFilterTagChars = 4;

// The start of the shared map. Fields up to FilterMsgTypes are the agreed
// layout; ViewerPid is this viewer's own addition inside the header area
// (its queue starts at QueueOffset, after it), so a new viewer can tell a
// live map from one left behind by a killed viewer. Writers neither need
// nor touch it.
struct TTraceMapHeader {
  char Magic[8];
  uint32_t ReadyMark;
  uint32_t MapSize;
  uint32_t QueueOffset;
  uint32_t QueueFront;
  uint32_t QueueTail;
  uint32_t FilterChanged;
  uint32_t FilterEnabled;
  int32_t FilterLevel;
  char16_t FilterTag[TraceFilterTagChars];
  uint16_t FilterMsgTypes;
  uint16_t Reserved;
  uint32_t ViewerPid;
};

static_assert(offsetof(TTraceMapHeader, ReadyMark) == 8 && offsetof(TTraceMapHeader, QueueFront) == 20);
static_assert(offsetof(TTraceMapHeader, FilterChanged) == 28 && offsetof(TTraceMapHeader, FilterTag) == 40);
static_assert(offsetof(TTraceMapHeader, FilterMsgTypes) == 48 && offsetof(TTraceMapHeader, ViewerPid) == 52);

// The bytes every viewer's header has, up to FilterMsgTypes: a writer
// touches no others, so another viewer may start its queue right after them.
constexpr uint32_t TraceAgreedHeaderSize = offsetof(TTraceMapHeader, FilterMsgTypes) + sizeof(uint16_t);
static_assert(TraceAgreedHeaderSize == 50);

// Where this viewer puts the queue: the first 8-aligned offset after the header.
constexpr uint32_t TraceQueueOffset = 64;
static_assert(sizeof(TTraceMapHeader) <= TraceQueueOffset);
