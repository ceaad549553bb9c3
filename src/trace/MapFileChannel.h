// The channel to an external viewer: the viewer owns a named shared map
// (header and ring queue, see TraceTypes.h and TraceQueue.h) and its
// semaphores; this writer appends records under the queue mutex and
// signals the queue event. Without a viewer the channel is not ready and
// costs one failed map open per record. Nothing here raises.
//
// Differences from a plain reading of the protocol, all on the safe side:
// - the objects are this user's (TraceNames.h); objects anyone else could
//   open or change are refused as if no viewer ran, so another user can
//   neither read the records nor hold the writer up;
// - the flush event is opened, never created, by writers (the viewer
//   creates it), so no process leaves a named semaphore behind;
// - the queue mutex and event stay open while connected instead of being
//   opened per record; a viewer that goes away clears ReadyMark, which
//   disconnects every writer;
// - a viewer killed without clearing ReadyMark is found by its process
//   number (ViewerPid, where the header has it) when a wait for it times
//   out, and at connect: the writer disconnects instead of waiting for it
//   on every record;
// - a header whose sizes disagree with the mapped size is not ready, and
//   the map's size is checked again before every stretch of access (in
//   IsReady, and after each wait), so a map shrunk after connect is
//   dropped instead of raising SIGBUS. A record pays two such checks: the
//   filter flag is read by IsReady together with ReadyMark, and
//   CheckFilterChanged answers what IsReady saw;
// - a record as large as the whole queue is dropped like a larger one;
// - the filter is read under the queue mutex, so it is never seen torn;
// - StartDebugViewer does nothing while a viewer is already up;
// - after finding no usable map, the next open is tried 1 ms later at the
//   earliest (and right after StartDebugViewer): messages without a viewer
//   then cost one failed open per millisecond, and a viewer that just came
//   up is found within 1 ms. A map whose viewer has not yet published it
//   is tried again at once.
#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <mutex>

#include "NamedSemaphore.h"
#include "SharedMap.h"
#include "TraceChannel.h"
#include "TraceNames.h"
#include "TraceTypes.h"

// How the viewer is started: the settings value "PlanTraceViewer" (user
// scope, organisation "PlanTrace", application "Viewer") followed by
// " -a " and the process number; without a value, PlanTraceViewer beside
// this executable, else "PlanTraceViewer" from the search path. A value
// naming an existing file is run as that program (so paths may contain
// blanks); any other value is split like a shell command line.
struct TViewerCommand {
  QString Program;
  QStringList Arguments;

  static TViewerCommand ForProcess(qint64 ProcessId);
  // The command line as text ("PlanTraceViewer -a 1234").
  QString Text() const;
};

class TMapFileChannel : public TTraceChannel {
 public:
  static constexpr int MutexTimeoutMs = 1000;
  static constexpr int FlushTimeoutMs = 100;
  static constexpr int StartTimeoutMs = 5000;
  static constexpr std::chrono::microseconds RetryInterval{1000};

  // Names from PLANTRACE_NAMESPACE.
  explicit TMapFileChannel(bool IsAutoFlush);
  TMapFileChannel(bool IsAutoFlush, TTraceNames Names);
  ~TMapFileChannel() override;

  bool IsReady() override;
  void UpdateFlush() override;
  void StartDebugViewer() override;
  bool CheckFilterChanged() override;
  void RefreshFilter(TTraceFilter* Filter) override;
  void SendContent(const void* MsgDesc, uint32_t Size) override;

  const TTraceNames& Names() const { return FNames; }
  // Whether the channel holds a viewer's objects now.
  bool Connected();

 private:
  enum class THeaderState { Usable, Unpublished, Refused };

  bool IsConnected() const { return FMapHeader != nullptr; }
  bool IsReadyLocked();
  bool Connect();
  THeaderState CheckHeader();
  bool MapIntactLocked();
  bool AcquireQueueLocked();
  void AwaitFlushLocked();
  bool ViewerAlive() const;
  void DisconnectLocked();
  void CloseMap();
  void UpdateFlushLocked();
  void WriteRecordLocked(const void* MsgDesc, uint32_t Size);

  std::mutex FLock;  // guards everything below against the process's other threads
  TSharedMap FMap;
  TNamedSemaphore FQueueEvent;
  TNamedSemaphore FQueueFlush;
  TNamedSemaphore FQueueMutex;
  uint32_t FMapSize = 0;
  uint32_t FQueueSize = 0;
  TTraceMapHeader* FMapHeader = nullptr;
  uint8_t* FMsgBase = nullptr;
  uint32_t FFront = 0;
  uint32_t FTail = 0;
  uint32_t FViewerPid = 0;      // 0: the header names no viewer process
  bool FFilterChanged = false;  // FilterChanged as IsReady last read it
  std::chrono::steady_clock::time_point FNextOpenTry;
  TTraceNames FNames;
};
