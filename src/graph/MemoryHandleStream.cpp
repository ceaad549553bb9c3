#include "MemoryHandleStream.h"

#include "Exceptions.h"

namespace {

constexpr int64_t CapacityStep = 8192;

[[noreturn]] void RaiseOutOfMemory() {
  throw EOutOfResources(QStringLiteral("Out of memory while expanding memory stream"));
}

}  // namespace

TMemoryHandleStream::TMemoryHandleStream(TMemHandle MemHandle) {
  if (MemHandle == 0 || !GlobalBlocks().Exists(MemHandle)) return;
  fHandle = MemHandle;
  SetSize(GlobalBlocks().Size(MemHandle));
}

TMemoryHandleStream::~TMemoryHandleStream() {
  if (fReleaseHandle) {
    Clear();
    FreeBlock();
    return;
  }
  if (fHandle != 0) {
    TGlobalBlocks& blocks = GlobalBlocks();
    if (Memory()) blocks.Unlock(fHandle);
    if (Capacity() > Size()) blocks.ReAlloc(fHandle, Size());  // shrinking never raises
    fHandle = 0;
  }
  // The inherited destructor must find nothing to free.
  ForgetMemory();
}

uint8_t* TMemoryHandleStream::Realloc(int64_t& NewCapacity) {
  if (NewCapacity > TGlobalBlocks::MaxSize) RaiseOutOfMemory();
  if (NewCapacity > 0 && NewCapacity != Size())
    NewCapacity = (NewCapacity + (CapacityStep - 1)) / CapacityStep * CapacityStep;
  if (NewCapacity == Capacity()) return Memory();
  if (NewCapacity != 0) return ResizeBlock(NewCapacity);
  // A block the stream does not release belongs to its caller: empty it
  // but keep it, so the caller's handle stays valid.
  if (fReleaseHandle)
    FreeBlock();
  else
    EmptyBlock();
  return nullptr;
}

uint8_t* TMemoryHandleStream::ResizeBlock(int64_t NewCapacity) {
  TGlobalBlocks& blocks = GlobalBlocks();
  if (fHandle == 0) {
    fHandle = blocks.Alloc(NewCapacity);
  } else {
    // The stream holds exactly one lock while it has memory; other lockers
    // keep theirs.
    bool locked = Memory() != nullptr;
    if (locked) blocks.Unlock(fHandle);
    bool resized = false;
    try {
      resized = blocks.ReAlloc(fHandle, NewCapacity);
    } catch (...) {
      if (locked) blocks.Lock(fHandle);  // the old memory stays in use
      throw;
    }
    if (!resized) RaiseOutOfMemory();
  }
  uint8_t* memory = blocks.Lock(fHandle);
  if (!memory) RaiseOutOfMemory();
  return memory;
}

void TMemoryHandleStream::EmptyBlock() {
  if (fHandle == 0) return;
  if (Memory()) GlobalBlocks().Unlock(fHandle);
  GlobalBlocks().ReAlloc(fHandle, 0);
}

void TMemoryHandleStream::FreeBlock() {
  if (fHandle == 0) return;
  if (Memory()) GlobalBlocks().Unlock(fHandle);
  GlobalBlocks().Free(fHandle);
  fHandle = 0;
}
