#include <gtest/gtest.h>

#include <cstring>

#include "Exceptions.h"
#include "MemoryHandleStream.h"

namespace {

QByteArray Pattern(int Size, int Seed) {
  QByteArray data(Size, '\0');
  for (int i = 0; i < Size; ++i) data[i] = char(i * 7 + Seed);
  return data;
}

// Frees what a test leaves in the process-wide allocator.
struct TBlockGuard {
  TMemHandle Handle;
  ~TBlockGuard() { GlobalBlocks().Free(Handle); }
};

}  // namespace

TEST(GlobalBlocks, ResizingKeepsBytesAndLocksAreCounted) {
  TGlobalBlocks& blocks = GlobalBlocks();
  int64_t before = blocks.Count();
  TMemHandle h = blocks.FromBytes(QByteArray("abc"));
  uint8_t* p = blocks.Lock(h);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(blocks.Lock(h), p);
  EXPECT_TRUE(blocks.Unlock(h));
  EXPECT_FALSE(blocks.Unlock(h));
  EXPECT_FALSE(blocks.Unlock(h));  // never below zero
  EXPECT_EQ(blocks.LockCount(h), 0);

  ASSERT_TRUE(blocks.ReAlloc(h, 50000));
  EXPECT_EQ(blocks.Bytes(h), QByteArray("abc") + QByteArray(49997, '\0'));
  ASSERT_TRUE(blocks.ReAlloc(h, 2));
  EXPECT_EQ(blocks.Bytes(h), QByteArray("ab"));
  EXPECT_THROW(blocks.ReAlloc(h, int64_t(1) << 40), EOutOfResources);
  EXPECT_THROW(blocks.Alloc(-1), EOutOfResources);
  EXPECT_EQ(blocks.Bytes(h), QByteArray("ab"));

  // Grown in steps after a shrink, as a stream grows it: whatever room the
  // block kept behind it, the bytes it gains are zero.
  std::memset(blocks.Lock(h), 0xAB, 2);
  blocks.Unlock(h);
  ASSERT_TRUE(blocks.ReAlloc(h, 1));
  for (int64_t size = 8192; size <= 65536; size += 8192) ASSERT_TRUE(blocks.ReAlloc(h, size));
  EXPECT_EQ(blocks.Bytes(h), QByteArray(1, '\xAB') + QByteArray(65535, '\0'));
  ASSERT_TRUE(blocks.ReAlloc(h, 2));

  TBlockGuard empty{blocks.Alloc(0)};
  EXPECT_NE(empty.Handle, h);
  EXPECT_EQ(blocks.Lock(empty.Handle), nullptr);  // an empty block has no address
  EXPECT_EQ(blocks.Count(), before + 2);
  EXPECT_TRUE(blocks.Free(h));
  EXPECT_FALSE(blocks.Exists(h));
  EXPECT_EQ(blocks.Size(h), 0);
  EXPECT_EQ(blocks.Lock(h), nullptr);
  EXPECT_FALSE(blocks.ReAlloc(h, 10));
  EXPECT_FALSE(blocks.Free(h));
}

TEST(MemoryHandleStream, WrittenBlockIsTrimmedAndOutlivesTheStream) {
  const QByteArray data = Pattern(10000, 1);
  TMemHandle handle = 0;
  {
    TMemoryHandleStream stream(0);
    stream.WriteBuffer(data.constData(), data.size());
    handle = stream.Handle();
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(stream.Capacity(), 16384);
    EXPECT_EQ(GlobalBlocks().Size(handle), 16384);
    // Growing moves the block but keeps its bytes and its handle.
    stream.WriteBuffer(data.constData(), 8000);
    EXPECT_EQ(stream.Handle(), handle);
    EXPECT_EQ(GlobalBlocks().Size(handle), 24576);
    EXPECT_EQ(GlobalBlocks().LockCount(handle), 1);
  }
  TBlockGuard guard{handle};
  EXPECT_EQ(GlobalBlocks().LockCount(handle), 0);
  EXPECT_EQ(GlobalBlocks().Bytes(handle), data + data.left(8000));
}

TEST(MemoryHandleStream, ReadsAnExistingBlockAndLeavesItAsItWas) {
  const QByteArray bytes = Pattern(10000, 3);
  TBlockGuard guard{GlobalBlocks().FromBytes(bytes)};
  {
    TMemoryHandleStream stream(guard.Handle);
    EXPECT_EQ(stream.Size(), 10000);
    EXPECT_EQ(GlobalBlocks().Size(guard.Handle), 16384);  // enlarged while held
    QByteArray back(10000, '\0');
    stream.ReadBuffer(back.data(), back.size());
    EXPECT_EQ(back, bytes);
  }
  EXPECT_EQ(GlobalBlocks().Bytes(guard.Handle), bytes);
  EXPECT_EQ(GlobalBlocks().LockCount(guard.Handle), 0);
}

TEST(MemoryHandleStream, ReleaseHandleFreesWrittenGivenAndEmptyBlocks) {
  TMemHandle written = 0;
  TMemHandle given = GlobalBlocks().FromBytes(QByteArray("xyz"));
  TMemHandle empty = GlobalBlocks().Alloc(0);
  {
    TMemoryHandleStream a;
    a.SetReleaseHandle(true);
    a.WriteInt32(42);
    written = a.Handle();
    TMemoryHandleStream b(given);
    b.SetReleaseHandle(true);
    TMemoryHandleStream c(empty);
    c.SetReleaseHandle(true);
  }
  EXPECT_FALSE(GlobalBlocks().Exists(written));
  EXPECT_FALSE(GlobalBlocks().Exists(given));
  EXPECT_FALSE(GlobalBlocks().Exists(empty));
}

TEST(MemoryHandleStream, ClearingKeepsABlockItDoesNotRelease) {
  TBlockGuard guard{GlobalBlocks().FromBytes(QByteArray("clipboard"))};
  {
    TMemoryHandleStream stream(guard.Handle);
    stream.Clear();
    EXPECT_EQ(stream.Handle(), guard.Handle);
    EXPECT_EQ(GlobalBlocks().LockCount(guard.Handle), 0);
    stream.WriteBuffer("new", 3);
  }
  EXPECT_EQ(GlobalBlocks().Bytes(guard.Handle), QByteArray("new"));
}

TEST(MemoryHandleStream, EmptyOrUnknownBlocksStartEmpty) {
  TBlockGuard empty{GlobalBlocks().Alloc(0)};
  {
    TMemoryHandleStream stream(empty.Handle);
    EXPECT_EQ(stream.Size(), 0);
    stream.WriteBuffer("ab", 2);
    EXPECT_EQ(stream.Handle(), empty.Handle);
  }
  EXPECT_EQ(GlobalBlocks().Bytes(empty.Handle), QByteArray("ab"));

  TMemHandle gone = GlobalBlocks().Alloc(4);
  GlobalBlocks().Free(gone);
  TMemoryHandleStream stream(gone);
  EXPECT_EQ(stream.Handle(), 0u);
  EXPECT_EQ(stream.Size(), 0);
}

TEST(MemoryHandleStream, FailedGrowthRaisesAndKeepsTheContent) {
  TMemoryHandleStream stream;
  stream.SetReleaseHandle(true);
  stream.WriteBuffer("keep", 4);
  uint8_t* memory = stream.Memory();
  EXPECT_THROW(stream.SetSize(int64_t(1) << 40), EOutOfResources);
  EXPECT_THROW(stream.SetSize(INT64_MAX), EOutOfResources);
  EXPECT_EQ(stream.Memory(), memory);
  EXPECT_EQ(stream.Size(), 4);
  EXPECT_EQ(GlobalBlocks().LockCount(stream.Handle()), 1);
  stream.WriteBuffer("!", 1);
  EXPECT_EQ(GlobalBlocks().Bytes(stream.Handle()).left(5), QByteArray("keep!"));
}
