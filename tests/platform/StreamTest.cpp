#include <gtest/gtest.h>

#include <vector>

#include <QTemporaryDir>

#include "Exceptions.h"
#include "Stream.h"
#include "StreamView.h"

TEST(MemoryStream, GrowsInBlocksAndReadsBack) {
  TMemoryStream s;
  std::vector<uint8_t> data(10000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 7);
  s.WriteBuffer(data.data(), int64_t(data.size()));
  EXPECT_EQ(s.Size(), 10000);
  EXPECT_EQ(s.Capacity(), 16384);
  s.SetPosition(0);
  std::vector<uint8_t> back(10000);
  s.ReadBuffer(back.data(), 10000);
  EXPECT_EQ(back, data);
}

// Large streams live in blocks of their own kind; the bytes must survive
// growing into one, growing within one, and shrinking back out of it.
TEST(MemoryStream, KeepsItsBytesAcrossLargeBlocks) {
  TMemoryStream s;
  std::vector<uint32_t> chunk(1 << 16);
  int64_t written = 0;
  auto writeUpTo = [&](int64_t bytes) {
    while (written < bytes) {
      for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = uint32_t(written / 4 + int64_t(i));
      s.WriteBuffer(chunk.data(), int64_t(chunk.size() * 4));
      written += int64_t(chunk.size() * 4);
    }
  };
  auto holdsPattern = [&](int64_t bytes) {
    const auto* words = reinterpret_cast<const uint32_t*>(s.Memory());
    for (int64_t i = 0; i < bytes / 4; i += 997)
      if (words[i] != uint32_t(i)) return false;
    return words[bytes / 4 - 1] == uint32_t(bytes / 4 - 1);
  };
  writeUpTo(int64_t(24) << 20);
  EXPECT_TRUE(holdsPattern(written));
  writeUpTo(int64_t(80) << 20);
  EXPECT_GE(s.Capacity(), written);
  EXPECT_TRUE(holdsPattern(written));
  s.SetSize(int64_t(1) << 20);
  EXPECT_EQ(s.Capacity(), int64_t(1) << 20);
  EXPECT_TRUE(holdsPattern(s.Size()));
  s.SetSize(int64_t(48) << 20);
  EXPECT_TRUE(holdsPattern(int64_t(1) << 20));
  s.Clear();
  EXPECT_EQ(s.Memory(), nullptr);
}

TEST(MemoryStream, ShortReadRaisesReadError) {
  TMemoryStream s;
  s.WriteInt32(42);
  s.SetPosition(0);
  EXPECT_EQ(s.ReadInt32(), 42);
  uint8_t b;
  EXPECT_THROW(s.ReadBuffer(&b, 1), EReadError);
}

TEST(FileStream, MissingFileRaisesOpenErrorWithName) {
  try {
    TFileStream f(QStringLiteral("/nonexistent/plan.kvf"), fmOpenRead);
    FAIL() << "no exception";
  } catch (const EFOpenError& e) {
    EXPECT_TRUE(e.Message().contains(QStringLiteral("/nonexistent/plan.kvf")));
  }
}

TEST(FileStream, WritesAndReadsLittleEndian) {
  QTemporaryDir dir;
  QString name = dir.filePath(QStringLiteral("x.bin"));
  {
    TFileStream f(name, fmCreate);
    f.WriteInt32(0x53472E30);
  }
  TMemoryStream m;
  m.LoadFromFile(name);
  ASSERT_EQ(m.Size(), 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(m.Memory()), 4), "0.GS");
}

// A block handed on in place: taken only from memory and only whole, read
// as a stream of exactly its bytes, never written.
TEST(StreamView, TakesBlocksInPlaceOnlyFromMemory) {
  TMemoryStream memory;
  memory.WriteBuffer("abcdef", 6);
  memory.SetPosition(1);
  const uint8_t* block = TStreamView::TakeInPlace(memory, 3);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(memory.Position(), 4);
  EXPECT_EQ(TStreamView::TakeInPlace(memory, 3), nullptr);  // two bytes remain
  EXPECT_EQ(memory.Position(), 4);
  for (int64_t outside : {-1, 7}) {
    memory.SetPosition(outside);
    EXPECT_EQ(TStreamView::TakeInPlace(memory, 0), nullptr);
    EXPECT_EQ(memory.Position(), outside);
  }
  memory.SetPosition(4);

  TStreamView view(block, 3);
  char read[4] = {};
  EXPECT_EQ(view.Read(read, 2), 2);
  EXPECT_STREQ(read, "bc");
  const uint8_t* inner = TStreamView::TakeInPlace(view, 1);
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(*inner, 'd');
  EXPECT_EQ(view.Read(read, 1), 0);
  EXPECT_EQ(view.Size(), 3);
  EXPECT_THROW(view.WriteBuffer("x", 1), EWriteError);
  EXPECT_THROW(view.SetSize(1), EWriteError);

  QTemporaryDir dir;
  const QString name = dir.filePath(QStringLiteral("block.bin"));
  {
    TFileStream out(name, fmCreate);
    out.WriteBuffer("abcdef", 6);
  }
  TFileStream file(name, fmOpenRead);
  file.SetPosition(1);
  EXPECT_EQ(TStreamView::TakeInPlace(file, 3), nullptr);
  EXPECT_EQ(file.Position(), 1);
}
