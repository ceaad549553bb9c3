#include "MapFileChannel.h"

#include <cerrno>
#include <cstring>

#include "SharedField.h"
#include "TraceFilter.h"
#include "TraceQueue.h"

TMapFileChannel::TMapFileChannel(bool IsAutoFlush) : TMapFileChannel(IsAutoFlush, TTraceNames::FromEnvironment()) {}

TMapFileChannel::TMapFileChannel(bool IsAutoFlush, TTraceNames Names)
    : TTraceChannel(IsAutoFlush), FNames(std::move(Names)) {
  UpdateFlush();
}

TMapFileChannel::~TMapFileChannel() { CloseMap(); }

bool TMapFileChannel::IsReady() {
  std::lock_guard lock(FLock);
  return IsReadyLocked();
}

bool TMapFileChannel::IsReadyLocked() {
  if (IsConnected() && LoadShared(FMapHeader->ReadyMark) == TraceReadyMark) return true;
  if (!IsConnected() && Connect()) return true;
  CloseMap();
  return false;
}

bool TMapFileChannel::Connect() {
  const auto now = std::chrono::steady_clock::now();
  if (now < FNextOpenTry) return false;
  if (!FMap.Open(FNames.Map)) {
    if (errno == ENOENT) FNextOpenTry = now + RetryInterval;
    return false;
  }
  if (!FQueueEvent.Open(FNames.QueueEvent)) return false;
  if (!FQueueMutex.Open(FNames.QueueMutex)) return false;
  if (!CheckHeader()) return false;
  UpdateFlushLocked();
  return true;
}

bool TMapFileChannel::CheckHeader() {
  if (FMap.Size() < TraceAgreedHeaderSize) return false;
  auto* header = reinterpret_cast<TTraceMapHeader*>(FMap.View());
  if (std::memcmp(header->Magic, TraceMagic, sizeof TraceMagic) != 0) return false;
  if (LoadShared(header->ReadyMark) != TraceReadyMark) return false;
  const uint32_t mapSize = header->MapSize;
  const uint32_t queueOffset = header->QueueOffset;
  if (mapSize > FMap.Size() || queueOffset < TraceAgreedHeaderSize || queueOffset >= mapSize) return false;
  FMapHeader = header;
  FMsgBase = FMap.View() + queueOffset;
  FMapSize = mapSize;
  FQueueSize = mapSize - queueOffset;
  return true;
}

void TMapFileChannel::CloseMap() {
  FQueueFlush.Close();
  FQueueEvent.Close();
  FQueueMutex.Close();
  FMap.Close();
  FMapHeader = nullptr;
  FMsgBase = nullptr;
  FMapSize = 0;
  FQueueSize = 0;
}

void TMapFileChannel::UpdateFlush() {
  std::lock_guard lock(FLock);
  UpdateFlushLocked();
}

void TMapFileChannel::UpdateFlushLocked() {
  if (!AutoFlush()) {
    FQueueFlush.Close();
    return;
  }
  if (IsConnected() && !FQueueFlush.IsOpen()) FQueueFlush.Open(FNames.FlushEvent);
}

bool TMapFileChannel::CheckFilterChanged() {
  std::lock_guard lock(FLock);
  return IsConnected() && LoadShared(FMapHeader->FilterChanged) != 0;
}

void TMapFileChannel::RefreshFilter(TTraceFilter* Filter) {
  std::lock_guard lock(FLock);
  if (!Filter || !IsConnected()) return;
  if (FQueueMutex.Wait(MutexTimeoutMs) != TWaitResult::Signaled) return;  // picked up with a later record
  Filter->SetEnabled(FMapHeader->FilterEnabled != 0);
  Filter->SetLevel(FMapHeader->FilterLevel);
  int length = 0;
  while (length < TraceFilterTagChars && FMapHeader->FilterTag[length] != 0) ++length;
  Filter->SetTag(QString(reinterpret_cast<const QChar*>(FMapHeader->FilterTag), length));
  Filter->SetMsgTypes(FMapHeader->FilterMsgTypes);
  StoreShared(FMapHeader->FilterChanged, 0);
  FQueueMutex.Post();
}

void TMapFileChannel::SendContent(const void* MsgDesc, uint32_t Size) {
  std::lock_guard lock(FLock);
  if (!IsConnected() || !MsgDesc || Size == 0 || Size >= FQueueSize) return;
  if (FQueueMutex.Wait(MutexTimeoutMs) != TWaitResult::Signaled) return;  // "Mutex Obtained Error."
  WriteRecordLocked(MsgDesc, Size);
  FQueueMutex.Post();
  FQueueEvent.Set();
  if (AutoFlush() && FQueueFlush.IsOpen()) FQueueFlush.Wait(FlushTimeoutMs);
}

void TMapFileChannel::WriteRecordLocked(const void* MsgDesc, uint32_t Size) {
  FFront = LoadShared(FMapHeader->QueueFront);
  FTail = LoadShared(FMapHeader->QueueTail);
  const TTraceQueue queue(FMsgBase, FQueueSize);
  const bool frontMoved = queue.Write(FFront, FTail, MsgDesc, Size);
  StoreShared(FMapHeader->QueueTail, FTail);
  if (frontMoved) StoreShared(FMapHeader->QueueFront, FFront);
}
