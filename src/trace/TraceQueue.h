// The ring of records inside the shared map, as both the writer and the
// viewer see it. The caller holds the queue mutex and passes the header's
// positions in and out.
//
// Layout: records lie one after another; Front is the next unread record,
// Tail where the next record goes, Front == Tail means empty. A record may
// wrap from the queue's end to its start.
//
// Wrap rule, including the 4-byte Length: every byte of a record, its
// Length field too, sits at consecutive positions modulo the queue size.
// When fewer than 4 bytes remain before the end, the Length itself is
// split: its first bytes end the queue and its last bytes begin it. Readers
// (the viewer, and the writer when it drops old records) assemble the
// Length with the same modular copy. No padding is ever inserted, so every
// write stays inside the queue.
#pragma once

#include <cstdint>

class TTraceQueue {
 public:
  TTraceQueue(uint8_t* Base, uint32_t Size) : fBase(Base), fSize(Size) {}

  uint32_t Size() const { return fSize; }

  // True when a record of RecordSize bytes written at Tail would overwrite
  // unread data; a record ending exactly at Front counts as overwriting it.
  static bool WouldOverwrite(uint32_t Front, uint32_t Tail, uint32_t RecordSize, uint32_t QueueSize);

  // Writes Size bytes at Tail, first dropping the oldest unread records
  // while the new one would overwrite them, and advances Tail. Answers
  // whether Front moved. A record must be smaller than the queue (one the
  // size of the queue would make it look empty); larger ones are refused
  // and nothing changes. Positions outside the queue or a front record
  // whose Length cannot be right make the unread data count as lost.
  bool Write(uint32_t& Front, uint32_t& Tail, const void* Data, uint32_t Size) const;

  // Copies the record at Front into Dest and advances Front past it.
  // Answers its Length, or 0 when the queue is empty. A Length shorter than
  // MinRecord, longer than Capacity or than the unread data means the queue
  // is corrupt: Front jumps to Tail and 0 is answered.
  uint32_t Read(uint32_t& Front, uint32_t Tail, void* Dest, uint32_t Capacity, uint32_t MinRecord) const;

  // The 4-byte Length at Pos, read across the wrap.
  uint32_t LengthAt(uint32_t Pos) const;
  // Bytes of unread data between Front and Tail.
  uint32_t Used(uint32_t Front, uint32_t Tail) const;

 private:
  void CopyIn(uint32_t Pos, const void* Data, uint32_t Count) const;
  void CopyOut(uint32_t Pos, void* Dest, uint32_t Count) const;
  bool ValidPositions(uint32_t Front, uint32_t Tail) const { return Front < fSize && Tail < fSize; }

  uint8_t* fBase;
  uint32_t fSize;
};
