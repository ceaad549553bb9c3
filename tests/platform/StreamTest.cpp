#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "Exceptions.h"
#include "Stream.h"

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
