#include "MapFileChannel.h"

#include <cstddef>
#include <cstring>

#include "SharedAccess.h"
#include "SharedField.h"
#include "TraceFilter.h"
#include "TraceQueue.h"

namespace {
// A header names its viewer only when the queue starts after ViewerPid.
constexpr uint32_t kViewerPidEnd = offsetof(TTraceMapHeader, ViewerPid) + sizeof(uint32_t);

// Looks at the header through the map's handle: a ready map whose viewer
// process is gone was left behind by a killed viewer.
bool NamesEndedViewer(const TSharedMap& Map) {
  TTraceMapHeader head{};
  if (!Map.ReadHead(&head, sizeof head)) return false;
  if (std::memcmp(head.Magic, TraceMagic, sizeof TraceMagic) != 0 || head.ReadyMark != TraceReadyMark) return false;
  return head.QueueOffset >= kViewerPidEnd && head.ViewerPid != 0 && !IsProcessAlive(head.ViewerPid);
}
}  // namespace

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

bool TMapFileChannel::Connected() {
  std::lock_guard lock(FLock);
  return IsConnected();
}

bool TMapFileChannel::IsReadyLocked() {
  if (IsConnected()) {
    if (MapIntactLocked() && LoadShared(FMapHeader->ReadyMark) == TraceReadyMark) {
      FFilterChanged = LoadShared(FMapHeader->FilterChanged) != 0;
      return true;
    }
    CloseMap();
    return false;
  }
  if (Connect()) return true;
  CloseMap();
  return false;
}

bool TMapFileChannel::Connect() {
  const auto now = std::chrono::steady_clock::now();
  if (now < FNextOpenTry) return false;
  FNextOpenTry = now + RetryInterval;
  // A killed viewer's map is left before it is mapped or its semaphores
  // are opened: finding it costs about what finding no map costs.
  if (!FMap.OpenUnmapped(FNames.Map) || NamesEndedViewer(FMap) || !FMap.MapAll()) return false;
  const THeaderState state = CheckHeader();
  if (state == THeaderState::Unpublished) FNextOpenTry = {};  // its viewer publishes it in a moment
  if (state != THeaderState::Usable) return false;
  if (!FQueueEvent.Open(FNames.QueueEvent)) return false;
  if (!FQueueMutex.Open(FNames.QueueMutex)) return false;
  FNextOpenTry = {};
  FFilterChanged = LoadShared(FMapHeader->FilterChanged) != 0;
  UpdateFlushLocked();
  return true;
}

TMapFileChannel::THeaderState TMapFileChannel::CheckHeader() {
  if (FMap.Size() < TraceAgreedHeaderSize) return THeaderState::Refused;
  auto* header = reinterpret_cast<TTraceMapHeader*>(FMap.View());
  if (std::memcmp(header->Magic, TraceMagic, sizeof TraceMagic) != 0) return THeaderState::Refused;
  if (LoadShared(header->ReadyMark) != TraceReadyMark) return THeaderState::Unpublished;
  const uint32_t mapSize = header->MapSize;
  const uint32_t queueOffset = header->QueueOffset;
  if (mapSize > FMap.Size() || queueOffset < TraceAgreedHeaderSize || queueOffset >= mapSize)
    return THeaderState::Refused;
  const uint32_t viewer = queueOffset >= kViewerPidEnd ? header->ViewerPid : 0;
  if (viewer != 0 && !IsProcessAlive(viewer)) return THeaderState::Refused;  // left behind by a killed viewer
  FMapHeader = header;
  FMsgBase = FMap.View() + queueOffset;
  FMapSize = mapSize;
  FQueueSize = mapSize - queueOffset;
  FViewerPid = viewer;
  return THeaderState::Usable;
}

// Map memory is touched only after this check: a page past the end of a
// map that was shrunk since raises SIGBUS.
bool TMapFileChannel::MapIntactLocked() {
  if (!IsConnected()) return false;
  if (FMap.IsWhole()) return true;
  DisconnectLocked();
  return false;
}

// Takes the queue mutex; the map and ReadyMark are checked again after the
// wait, since the viewer may have shrunk the map or gone meanwhile.
bool TMapFileChannel::AcquireQueueLocked() {
  const TWaitResult result = FQueueMutex.Wait(MutexTimeoutMs);
  if (result == TWaitResult::TimedOut && !ViewerAlive()) DisconnectLocked();  // killed while holding it
  if (result != TWaitResult::Signaled) return false;
  const bool whole = FMap.IsWhole();
  if (whole && LoadShared(FMapHeader->ReadyMark) == TraceReadyMark) return true;
  FQueueMutex.Post();
  if (whole) {
    CloseMap();  // closed as usual: a new viewer may be up at once
  } else {
    DisconnectLocked();
  }
  return false;
}

void TMapFileChannel::AwaitFlushLocked() {
  if (FQueueFlush.Wait(FlushTimeoutMs) == TWaitResult::TimedOut && !ViewerAlive()) DisconnectLocked();
}

bool TMapFileChannel::ViewerAlive() const { return FViewerPid == 0 || IsProcessAlive(FViewerPid); }

// A map that was shrunk or whose viewer died stays until a viewer replaces
// it; looking at it again for every record would cost more than finding
// no viewer, so the next look waits for the retry interval.
void TMapFileChannel::DisconnectLocked() {
  CloseMap();
  FNextOpenTry = std::chrono::steady_clock::now() + RetryInterval;
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
  FViewerPid = 0;
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
  return IsConnected() && FFilterChanged;
}

void TMapFileChannel::RefreshFilter(TTraceFilter* Filter) {
  std::lock_guard lock(FLock);
  if (!Filter || !IsConnected()) return;
  if (!AcquireQueueLocked()) return;  // picked up with a later record
  Filter->SetEnabled(FMapHeader->FilterEnabled != 0);
  Filter->SetLevel(FMapHeader->FilterLevel);
  int length = 0;
  while (length < TraceFilterTagChars && FMapHeader->FilterTag[length] != 0) ++length;
  Filter->SetTag(QString(reinterpret_cast<const QChar*>(FMapHeader->FilterTag), length));
  Filter->SetMsgTypes(FMapHeader->FilterMsgTypes);
  StoreShared(FMapHeader->FilterChanged, 0);
  FFilterChanged = false;
  FQueueMutex.Post();
}

void TMapFileChannel::SendContent(const void* MsgDesc, uint32_t Size) {
  std::lock_guard lock(FLock);
  if (!IsConnected() || !MsgDesc || Size == 0 || Size >= FQueueSize) return;
  if (!AcquireQueueLocked()) return;  // "Mutex Obtained Error."
  WriteRecordLocked(MsgDesc, Size);
  FQueueMutex.Post();
  FQueueEvent.Set();
  if (AutoFlush() && FQueueFlush.IsOpen()) AwaitFlushLocked();
}

void TMapFileChannel::WriteRecordLocked(const void* MsgDesc, uint32_t Size) {
  FFront = LoadShared(FMapHeader->QueueFront);
  FTail = LoadShared(FMapHeader->QueueTail);
  const TTraceQueue queue(FMsgBase, FQueueSize);
  const bool frontMoved = queue.Write(FFront, FTail, MsgDesc, Size);
  StoreShared(FMapHeader->QueueTail, FTail);
  if (frontMoved) StoreShared(FMapHeader->QueueFront, FFront);
}
