#include "GlobalBlocks.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "Exceptions.h"

namespace {

void CheckSize(int64_t Size) {
  if (Size < 0 || Size > TGlobalBlocks::MaxSize)
    throw EOutOfResources(FormatMessage("Not enough memory for a block of %d bytes", Size));
}

std::vector<uint8_t> NewStorage(int64_t Size) {
  CheckSize(Size);
  try {
    return std::vector<uint8_t>(static_cast<size_t>(Size));
  } catch (const std::bad_alloc&) {
    throw EOutOfResources(FormatMessage("Not enough memory for a block of %d bytes", Size));
  }
}

}  // namespace

TGlobalBlocks& GlobalBlocks() {
  static TGlobalBlocks instance;
  return instance;
}

TMemHandle TGlobalBlocks::NewHandle() {
  do {
    ++fLastHandle;
  } while (fLastHandle == 0 || fBlocks.count(fLastHandle) != 0);
  return fLastHandle;
}

const TGlobalBlocks::TBlock* TGlobalBlocks::Find(TMemHandle Handle) const {
  auto it = fBlocks.find(Handle);
  return it == fBlocks.end() ? nullptr : &it->second;
}

TGlobalBlocks::TBlock* TGlobalBlocks::Find(TMemHandle Handle) {
  auto it = fBlocks.find(Handle);
  return it == fBlocks.end() ? nullptr : &it->second;
}

TMemHandle TGlobalBlocks::Insert(std::vector<uint8_t> Data) {
  std::lock_guard guard(fLock);
  TMemHandle handle = NewHandle();
  fBlocks.emplace(handle, TBlock{std::move(Data), 0});
  return handle;
}

TMemHandle TGlobalBlocks::Alloc(int64_t Size) { return Insert(NewStorage(Size)); }

bool TGlobalBlocks::ReAlloc(TMemHandle Handle, int64_t Size) {
  CheckSize(Size);
  std::lock_guard guard(fLock);
  TBlock* block = Find(Handle);
  if (!block) return false;
  auto oldSize = static_cast<int64_t>(block->Data.size());
  if (Size <= oldSize) {
    block->Data.resize(static_cast<size_t>(Size));
    block->Data.shrink_to_fit();
    return true;
  }
  // Growing doubles the room behind the block, so that a stream written in
  // 8 KiB steps copies its bytes once in all instead of once per step.
  auto wanted = static_cast<size_t>(Size);
  if (wanted > block->Data.capacity()) {
    size_t doubled = std::min(2 * block->Data.capacity(), static_cast<size_t>(MaxSize));
    try {
      block->Data.reserve(std::max(wanted, doubled));
    } catch (const std::bad_alloc&) {
      try {
        block->Data.reserve(wanted);
      } catch (const std::bad_alloc&) {
        throw EOutOfResources(FormatMessage("Not enough memory for a block of %d bytes", Size));
      }
    }
  }
  block->Data.resize(wanted);  // the new bytes are zero
  return true;
}

uint8_t* TGlobalBlocks::Lock(TMemHandle Handle) {
  std::lock_guard guard(fLock);
  TBlock* block = Find(Handle);
  if (!block || block->Data.empty()) return nullptr;
  ++block->Locks;
  return block->Data.data();
}

bool TGlobalBlocks::Unlock(TMemHandle Handle) {
  std::lock_guard guard(fLock);
  TBlock* block = Find(Handle);
  if (!block || block->Locks == 0) return false;
  --block->Locks;
  return block->Locks > 0;
}

int64_t TGlobalBlocks::Size(TMemHandle Handle) const {
  std::lock_guard guard(fLock);
  const TBlock* block = Find(Handle);
  return block ? static_cast<int64_t>(block->Data.size()) : 0;
}

int TGlobalBlocks::LockCount(TMemHandle Handle) const {
  std::lock_guard guard(fLock);
  const TBlock* block = Find(Handle);
  return block ? block->Locks : 0;
}

bool TGlobalBlocks::Exists(TMemHandle Handle) const {
  std::lock_guard guard(fLock);
  return Find(Handle) != nullptr;
}

bool TGlobalBlocks::Free(TMemHandle Handle) {
  std::lock_guard guard(fLock);
  return fBlocks.erase(Handle) != 0;
}

QByteArray TGlobalBlocks::Bytes(TMemHandle Handle) const {
  std::lock_guard guard(fLock);
  const TBlock* block = Find(Handle);
  if (!block) return {};
  return QByteArray(reinterpret_cast<const char*>(block->Data.data()), static_cast<qsizetype>(block->Data.size()));
}

TMemHandle TGlobalBlocks::FromBytes(const QByteArray& Bytes) {
  std::vector<uint8_t> data = NewStorage(Bytes.size());
  if (!data.empty()) std::memcpy(data.data(), Bytes.constData(), data.size());
  return Insert(std::move(data));
}

int64_t TGlobalBlocks::Count() const {
  std::lock_guard guard(fLock);
  return static_cast<int64_t>(fBlocks.size());
}
