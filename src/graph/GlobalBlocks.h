// Movable memory blocks named by integer handles, the storage the clipboard
// exchanges: a block is allocated, locked to get its address, unlocked, and
// may move when it is resized. One process-wide instance, GlobalBlocks().
#pragma once

#include <QByteArray>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

// 0 is no block.
using TMemHandle = uint32_t;

class TGlobalBlocks {
 public:
  // The largest block: sizes stay 32-bit, and a stream may still round a
  // block of this size up to its next 8 KiB step.
  static constexpr int64_t MaxSize = 0x7FFFE000;

  TGlobalBlocks() = default;
  TGlobalBlocks(const TGlobalBlocks&) = delete;
  TGlobalBlocks& operator=(const TGlobalBlocks&) = delete;

  // A new zero-filled block; raises EOutOfResources when Size is negative,
  // above MaxSize or cannot be had.
  TMemHandle Alloc(int64_t Size);
  // Resizes the block, keeping its first bytes; growing may move it, so
  // addresses from Lock become invalid. Shrinking never raises. False for
  // an unknown handle; raises EOutOfResources as Alloc, leaving the block
  // as it was.
  bool ReAlloc(TMemHandle Handle, int64_t Size);
  // The block's address (counted lock), or nullptr for an unknown handle
  // or an empty block.
  uint8_t* Lock(TMemHandle Handle);
  // Answers whether the block is still locked afterwards; false for an
  // unknown or unlocked handle.
  bool Unlock(TMemHandle Handle);
  // 0 for an unknown handle.
  int64_t Size(TMemHandle Handle) const;
  int LockCount(TMemHandle Handle) const;
  bool Exists(TMemHandle Handle) const;
  // False for an unknown handle. Addresses from Lock become invalid.
  bool Free(TMemHandle Handle);
  // A copy of the block's bytes (empty for an unknown handle).
  QByteArray Bytes(TMemHandle Handle) const;
  // A new block holding Bytes.
  TMemHandle FromBytes(const QByteArray& Bytes);
  // Live blocks, for leak checks.
  int64_t Count() const;

 private:
  struct TBlock {
    std::vector<uint8_t> Data;
    int Locks = 0;
  };

  TMemHandle NewHandle();
  TMemHandle Insert(std::vector<uint8_t> Data);
  const TBlock* Find(TMemHandle Handle) const;
  TBlock* Find(TMemHandle Handle);

  mutable std::mutex fLock;
  std::unordered_map<TMemHandle, TBlock> fBlocks;
  TMemHandle fLastHandle = 0;
};

TGlobalBlocks& GlobalBlocks();
