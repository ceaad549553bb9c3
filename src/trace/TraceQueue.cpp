#include "TraceQueue.h"

#include <cstring>

bool TTraceQueue::WouldOverwrite(uint32_t Front, uint32_t Tail, uint32_t RecordSize, uint32_t QueueSize) {
  if (Tail == Front) return false;
  const uint64_t end = static_cast<uint64_t>(Tail) + RecordSize;
  if (Tail < Front) return end >= Front;
  return end >= QueueSize && end % QueueSize >= Front;
}

uint32_t TTraceQueue::Used(uint32_t Front, uint32_t Tail) const {
  return Tail >= Front ? Tail - Front : fSize - Front + Tail;
}

void TTraceQueue::CopyIn(uint32_t Pos, const void* Data, uint32_t Count) const {
  const uint32_t first = Count < fSize - Pos ? Count : fSize - Pos;
  std::memcpy(fBase + Pos, Data, first);
  std::memcpy(fBase, static_cast<const uint8_t*>(Data) + first, Count - first);
}

void TTraceQueue::CopyOut(uint32_t Pos, void* Dest, uint32_t Count) const {
  const uint32_t first = Count < fSize - Pos ? Count : fSize - Pos;
  std::memcpy(Dest, fBase + Pos, first);
  std::memcpy(static_cast<uint8_t*>(Dest) + first, fBase, Count - first);
}

uint32_t TTraceQueue::LengthAt(uint32_t Pos) const {
  uint32_t length = 0;
  CopyOut(Pos, &length, sizeof length);
  return length;
}

bool TTraceQueue::Write(uint32_t& Front, uint32_t& Tail, const void* Data, uint32_t Size) const {
  if (Size == 0 || Size >= fSize) return false;
  bool frontMoved = false;
  if (!ValidPositions(Front, Tail)) {
    Front = Tail = 0;
    frontMoved = true;
  }
  while (WouldOverwrite(Front, Tail, Size, fSize)) {
    const uint32_t length = LengthAt(Front);
    frontMoved = true;
    if (length < sizeof(uint32_t) || length > Used(Front, Tail)) {
      Front = Tail;
      break;
    }
    Front = static_cast<uint32_t>((static_cast<uint64_t>(Front) + length) % fSize);
  }
  CopyIn(Tail, Data, Size);
  Tail = static_cast<uint32_t>((static_cast<uint64_t>(Tail) + Size) % fSize);
  return frontMoved;
}

uint32_t TTraceQueue::Read(uint32_t& Front, uint32_t Tail, void* Dest, uint32_t Capacity, uint32_t MinRecord) const {
  if (!ValidPositions(Front, Tail)) {
    Front = Tail < fSize ? Tail : 0;
    return 0;
  }
  if (Front == Tail) return 0;
  const uint32_t length = LengthAt(Front);
  if (length < MinRecord || length < sizeof(uint32_t) || length > Capacity || length > Used(Front, Tail)) {
    Front = Tail;
    return 0;
  }
  CopyOut(Front, Dest, length);
  Front = static_cast<uint32_t>((static_cast<uint64_t>(Front) + length) % fSize);
  return length;
}
