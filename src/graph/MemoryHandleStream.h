// A memory stream whose storage is a movable global block (GlobalBlocks), so
// that a written graph can be handed to the clipboard as a handle and
// clipboard data can be read as a stream without copying.
#pragma once

#include "GlobalBlocks.h"
#include "Stream.h"

class TMemoryHandleStream : public TMemoryStream {
 public:
  // Over an existing block (its bytes become the stream's content), or,
  // with 0 or an unknown handle, empty until the first write allocates one.
  explicit TMemoryHandleStream(TMemHandle MemHandle = 0);
  // With ReleaseHandle the block is freed; otherwise it outlives the stream,
  // trimmed to exactly the stream's size.
  ~TMemoryHandleStream() override;

  TMemHandle Handle() const { return fHandle; }
  bool ReleaseHandle() const { return fReleaseHandle; }
  void SetReleaseHandle(bool Value) { fReleaseHandle = Value; }

 protected:
  // Capacities grow in 8 KiB steps; while the stream has memory it holds
  // one lock on the block and the capacity equals the block's size.
  uint8_t* Realloc(int64_t& NewCapacity) override;

 private:
  uint8_t* ResizeBlock(int64_t NewCapacity);
  void EmptyBlock();
  void FreeBlock();

  TMemHandle fHandle = 0;
  bool fReleaseHandle = false;
};
