#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TraceQueue.h"
#include "TraceTypes.h"

namespace {

// A record of Size bytes: its Length, then bytes all equal to Fill.
std::vector<uint8_t> Record(uint32_t Size, uint8_t Fill) {
  std::vector<uint8_t> bytes(Size, Fill);
  std::memcpy(bytes.data(), &Size, sizeof Size);
  return bytes;
}

// A 1000-byte queue whose unread records start at Front and are laid with
// the given sizes.
struct TQueueFixture {
  std::vector<uint8_t> Memory = std::vector<uint8_t>(1000, 0xEE);
  TTraceQueue Queue{Memory.data(), 1000};
  uint32_t Front = 0;
  uint32_t Tail = 0;

  TQueueFixture(uint32_t front, std::initializer_list<uint32_t> sizes) : Front(front), Tail(front) {
    uint32_t f = front;
    uint8_t fill = 1;
    for (uint32_t size : sizes) {
      const auto bytes = Record(size, fill++);
      EXPECT_FALSE(Queue.Write(f, Tail, bytes.data(), size));
    }
  }

  bool Write(uint32_t size, uint8_t fill) {
    const auto bytes = Record(size, fill);
    return Queue.Write(Front, Tail, bytes.data(), size);
  }

  // Lengths of the unread records, oldest first.
  std::vector<uint32_t> Unread() const {
    std::vector<uint32_t> lengths;
    uint32_t f = Front;
    std::vector<uint8_t> buffer(1000);
    while (const uint32_t n = Queue.Read(f, Tail, buffer.data(), 1000, 4)) lengths.push_back(n);
    return lengths;
  }
};

}  // namespace

TEST(TraceQueue, OverwriteRule) {
  // Tail == Front: empty, never overwriting.
  EXPECT_FALSE(TTraceQueue::WouldOverwrite(500, 500, 999, 1000));
  // Tail before Front: the record must end before Front.
  EXPECT_FALSE(TTraceQueue::WouldOverwrite(600, 200, 399, 1000));
  EXPECT_TRUE(TTraceQueue::WouldOverwrite(600, 200, 400, 1000));
  // Tail after Front: only a record that wraps can reach Front.
  EXPECT_FALSE(TTraceQueue::WouldOverwrite(150, 900, 249, 1000));
  EXPECT_TRUE(TTraceQueue::WouldOverwrite(150, 900, 250, 1000));
  EXPECT_TRUE(TTraceQueue::WouldOverwrite(0, 900, 100, 1000));
  EXPECT_FALSE(TTraceQueue::WouldOverwrite(10, 900, 100, 1000));
}

TEST(TraceQueue, WrappingWriteWithRoomDropsNothing) {
  TQueueFixture q(150, {250, 250, 250});  // unread from 150 to 900
  ASSERT_EQ(q.Tail, 900u);
  EXPECT_FALSE(q.Write(200, 9));
  EXPECT_EQ(q.Front, 150u);
  EXPECT_EQ(q.Tail, 100u);
  EXPECT_EQ(q.Memory[904], 9);  // first part at 900..999
  EXPECT_EQ(q.Memory[999], 9);
  EXPECT_EQ(q.Memory[0], 9);  // the rest at 0..99
  EXPECT_EQ(q.Memory[99], 9);
  EXPECT_EQ(q.Memory[100], 0xEE);
  EXPECT_EQ(q.Unread(), (std::vector<uint32_t>{250, 250, 250, 200}));
}

TEST(TraceQueue, WrappingWriteDropsFrontRecordsUntilItFits) {
  TQueueFixture exact(100, {400, 400});  // unread from 100 to 900
  EXPECT_TRUE(exact.Write(200, 9));      // ends exactly at the front: that record goes
  EXPECT_EQ(exact.Front, 500u);
  EXPECT_EQ(exact.Tail, 100u);
  EXPECT_EQ(exact.Unread(), (std::vector<uint32_t>{400, 200}));

  TQueueFixture one(50, {100, 100, 650});  // unread from 50 to 900
  EXPECT_TRUE(one.Write(200, 9));          // reaches 100: the record at 50 goes, 150 lies beyond
  EXPECT_EQ(one.Front, 150u);
  EXPECT_EQ(one.Unread(), (std::vector<uint32_t>{100, 650, 200}));

  TQueueFixture two(50, {30, 30, 790});  // 50..80, 80..110, 110..900
  EXPECT_TRUE(two.Write(200, 9));        // both short records go
  EXPECT_EQ(two.Front, 110u);
  EXPECT_EQ(two.Unread(), (std::vector<uint32_t>{790, 200}));
}

TEST(TraceQueue, TailBeforeFront) {
  TQueueFixture q(600, {300, 300});  // 600..900, then 900..200 wrapped
  ASSERT_EQ(q.Tail, 200u);
  EXPECT_FALSE(q.Write(300, 7));  // 200..500 fits before 600
  EXPECT_EQ(q.Unread(), (std::vector<uint32_t>{300, 300, 300}));
  EXPECT_TRUE(q.Write(150, 8));  // 500..650 reaches 600: the record there goes
  EXPECT_EQ(q.Front, 900u);
  EXPECT_EQ(q.Unread(), (std::vector<uint32_t>{300, 300, 150}));
}

TEST(TraceQueue, LengthFieldMayStraddleTheEnd) {
  TQueueFixture q(500, {498});  // unread 500..998: 2 bytes left before the end
  ASSERT_EQ(q.Tail, 998u);
  EXPECT_FALSE(q.Write(60, 5));
  EXPECT_EQ(q.Tail, 58u);
  EXPECT_EQ(q.Memory[998], 60);  // low bytes of the length at the end...
  EXPECT_EQ(q.Memory[0], 0);     // ...high bytes at the start
  EXPECT_EQ(q.Queue.LengthAt(998), 60u);
  std::vector<uint8_t> out(1000);
  uint32_t front = 998;
  ASSERT_EQ(q.Queue.Read(front, q.Tail, out.data(), 1000, 4), 60u);
  EXPECT_EQ(front, 58u);
  EXPECT_EQ(out[4], 5);
  EXPECT_EQ(out[59], 5);

  // The writer reads a straddling length too when it drops that record.
  q.Front = 998;
  EXPECT_TRUE(q.Write(941, 6));  // 58..999 reaches 998
  EXPECT_EQ(q.Front, 58u);
  EXPECT_EQ(q.Unread(), (std::vector<uint32_t>{941}));
}

TEST(TraceQueue, OversizedRecordsAndCorruptionAreContained) {
  TQueueFixture q(0, {100});
  EXPECT_FALSE(q.Write(1000, 1));  // as large as the queue: would look empty
  EXPECT_EQ(q.Tail, 100u);
  EXPECT_EQ(q.Unread(), (std::vector<uint32_t>{100}));

  // A front record whose length cannot be right: the unread data is lost,
  // the new record is kept and nothing outside the queue is touched.
  TQueueFixture bad(400, {300, 300});  // 400..1000, tail 0
  const uint32_t huge = 5000;
  std::memcpy(bad.Memory.data() + 400, &huge, sizeof huge);
  EXPECT_TRUE(bad.Write(450, 2));
  EXPECT_EQ(bad.Front, 0u);
  EXPECT_EQ(bad.Unread(), (std::vector<uint32_t>{450}));

  std::vector<uint8_t> out(100);
  uint32_t front = 0;
  EXPECT_EQ(bad.Queue.Read(front, bad.Tail, out.data(), 100, 4), 0u);  // longer than the reader's buffer
  EXPECT_EQ(front, bad.Tail);

  uint32_t outside = 5000, tail = 7000;
  EXPECT_TRUE(bad.Queue.Write(outside, tail, Record(10, 1).data(), 10));
  EXPECT_EQ(outside, 0u);
  EXPECT_EQ(tail, 10u);
}
