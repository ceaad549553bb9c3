#include "TraceViewerHost.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "SharedAccess.h"
#include "SharedField.h"
#include "TraceQueue.h"

namespace {
constexpr int kMutexTimeoutMs = 1000;
}

TTraceViewerHost::TTraceViewerHost(TTraceNames Names) : FNames(std::move(Names)) {}

TTraceViewerHost::~TTraceViewerHost() { Close(); }

bool TTraceViewerHost::Create(uint32_t QueueSize) {
  FError.clear();
  if (IsOpen()) return true;
  if (QueueSize < MinQueueSize || QueueSize > (1u << 30)) {
    FError = QStringLiteral("Queue size must lie between %1 and %2 bytes.").arg(MinQueueSize).arg(1u << 30);
    return false;
  }
  if (!ReplaceLeftovers()) return false;
  if (CreateObjects(QueueSize)) return true;
  // Only objects of someone else survive RemoveNames.
  const QString reason =
      errno == EEXIST ? QStringLiteral("they belong to another user") : QString::fromLocal8Bit(std::strerror(errno));
  FError = QStringLiteral("Cannot create the shared objects (%1): %2").arg(QString::fromStdString(FNames.Map), reason);
  FQueueEvent.Close();
  FQueueMutex.Close();
  FQueueFlush.Close();
  FMap.Close();
  RemoveNames();
  return false;
}

// A map whose viewer is gone is switched off (so writers still attached to
// it disconnect) and removed together with its semaphores. Another user's
// objects are neither opened nor (unless this is root) removable; creating
// ours then fails.
bool TTraceViewerHost::ReplaceLeftovers() {
  TSharedMap old;
  if (old.Open(FNames.Map) && old.Size() >= sizeof(TTraceMapHeader)) {
    auto* header = reinterpret_cast<TTraceMapHeader*>(old.View());
    const uint32_t owner = header->ViewerPid;
    if (LoadShared(header->ReadyMark) == TraceReadyMark && IsProcessAlive(owner)) {
      FError = QStringLiteral("Another viewer (process %1) is running.").arg(owner);
      return false;
    }
    StoreShared(header->ReadyMark, 0);
  }
  old.Close();
  RemoveNames();
  return true;
}

bool TTraceViewerHost::CreateObjects(uint32_t QueueSize) {
  if (!FQueueMutex.Create(FNames.QueueMutex, 1, true)) return false;
  if (!FQueueEvent.Create(FNames.QueueEvent, 0, true)) return false;
  if (!FQueueFlush.Create(FNames.FlushEvent, 0, true)) return false;
  const uint32_t mapSize = TraceQueueOffset + QueueSize;
  if (!FMap.Create(FNames.Map, mapSize)) return false;
  TTraceMapHeader* header = Header();
  std::memcpy(header->Magic, TraceMagic, sizeof TraceMagic);
  header->MapSize = mapSize;
  header->QueueOffset = TraceQueueOffset;
  header->FilterLevel = DefaultLevel;
  header->ViewerPid = static_cast<uint32_t>(::getpid());
  return true;
}

void TTraceViewerHost::Publish() {
  if (FMap.IsWhole()) StoreShared(Header()->ReadyMark, TraceReadyMark);
}

void TTraceViewerHost::Close() {
  if (!IsOpen()) return;
  if (FMap.IsWhole()) StoreShared(Header()->ReadyMark, 0);
  FQueueEvent.Close();
  FQueueMutex.Close();
  FQueueFlush.Close();
  FMap.Close();
  RemoveNames();
}

void TTraceViewerHost::RemoveNames() {
  TSharedMap::Unlink(FNames.Map);
  TNamedSemaphore::Unlink(FNames.QueueEvent);
  TNamedSemaphore::Unlink(FNames.QueueMutex);
  TNamedSemaphore::Unlink(FNames.FlushEvent);
}

bool TTraceViewerHost::SetFilter(const TTraceFilter& Filter) {
  if (!IsOpen() || FQueueMutex.Wait(kMutexTimeoutMs) != TWaitResult::Signaled) return false;
  if (!FMap.IsWhole()) {
    FQueueMutex.Post();
    return false;
  }
  TTraceMapHeader* header = Header();
  header->FilterEnabled = Filter.Enabled() ? 1 : 0;
  header->FilterLevel = Filter.Level();
  const QString tag = Filter.Tag().left(TraceFilterTagChars);
  for (int i = 0; i < TraceFilterTagChars; ++i) header->FilterTag[i] = i < tag.size() ? tag[i].unicode() : 0;
  header->FilterMsgTypes = Filter.MsgTypes();
  StoreShared(header->FilterChanged, 1);
  FQueueMutex.Post();
  return true;
}

TWaitResult TTraceViewerHost::WaitForRecords(int TimeoutMs) { return FQueueEvent.Wait(TimeoutMs, false); }

// Each field is read once, so a writer changing it meanwhile cannot make
// the checked value differ from the used one.
bool TTraceViewerHost::QueueBounds(uint32_t& Offset, uint32_t& Size) const {
  if (!FMap.IsWhole()) return false;
  TTraceMapHeader* header = Header();
  const uint32_t mapSize = LoadShared(header->MapSize);
  Offset = LoadShared(header->QueueOffset);
  if (mapSize > FMap.Size() || Offset < TraceAgreedHeaderSize || Offset >= mapSize) return false;
  Size = mapSize - Offset;
  return Size >= TraceRecordHeaderSize;  // the smallest record; a smaller queue holds none
}

int TTraceViewerHost::Drain(const std::function<void(const TTraceRecord&)>& Sink) {
  if (!IsOpen() || FQueueMutex.Wait(kMutexTimeoutMs) != TWaitResult::Signaled) return 0;
  uint32_t offset = 0;
  uint32_t size = 0;
  FHeaderIntact = QueueBounds(offset, size);
  if (!FHeaderIntact) {
    FQueueMutex.Post();
    FQueueFlush.Set();  // writers lose their records, but do not wait for them
    return 0;
  }
  TTraceMapHeader* header = Header();
  const TTraceQueue queue(FMap.View() + offset, size);
  uint32_t front = LoadShared(header->QueueFront);
  const uint32_t tail = LoadShared(header->QueueTail);
  // Copied out compactly under the mutex, handed on after it is released.
  std::vector<uint8_t> taken;
  TTraceRecord one;
  while (const uint32_t length = queue.Read(front, tail, &one, sizeof one, TraceRecordHeaderSize))
    taken.insert(taken.end(), reinterpret_cast<uint8_t*>(&one), reinterpret_cast<uint8_t*>(&one) + length);
  StoreShared(header->QueueFront, front);
  FQueueMutex.Post();
  FQueueFlush.Set();
  int count = 0;
  for (size_t at = 0; at < taken.size(); ++count) {
    TTraceRecord record{};
    std::memcpy(&record, taken.data() + at, sizeof(uint32_t));
    std::memcpy(&record, taken.data() + at, record.Length);
    at += record.Length;
    Sink(record);
  }
  return count;
}

void TTraceViewerHost::SignalStarted() {
  TNamedSemaphore started;
  if (started.Open(FNames.StartEvent)) started.Set();
}
