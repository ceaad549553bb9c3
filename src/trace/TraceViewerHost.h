// The viewer's side of the channel: it creates the shared map and its
// semaphores, publishes the header with ReadyMark, hands the filter to the
// writers and takes their records off the queue. PlanTraceViewer is a
// thin program around it; tests host a viewer in-process with it.
//
// Any process of this user can write into the map, so nothing read from
// it is trusted: the queue's bounds in the header are checked against the
// mapped size before each drain (a header that fails is refused and its
// records left alone), and the map's size is checked again after every
// wait, since a map shrunk by another process raises SIGBUS on access.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "NamedSemaphore.h"
#include "SharedMap.h"
#include "TraceFilter.h"
#include "TraceNames.h"
#include "TraceTypes.h"

class TTraceViewerHost {
 public:
  static constexpr uint32_t DefaultQueueSize = 1u << 20;
  static constexpr uint32_t MinQueueSize = 2 * TraceMaxRecordSize;

  explicit TTraceViewerHost(TTraceNames Names);
  ~TTraceViewerHost();
  TTraceViewerHost(const TTraceViewerHost&) = delete;
  TTraceViewerHost& operator=(const TTraceViewerHost&) = delete;

  // Creates the map (header and a queue of QueueSize bytes) and the queue
  // event, queue mutex and flush event. Objects a killed viewer left behind
  // are replaced; a live viewer's are not (Error() tells why).
  bool Create(uint32_t QueueSize = DefaultQueueSize);
  const QString& Error() const { return FError; }
  // Sets ReadyMark: writers connect from now on.
  void Publish();
  // Clears ReadyMark (writers disconnect) and removes the shared objects.
  void Close();
  bool IsOpen() const { return FMap.IsOpen(); }

  // Writes the filter into the header and raises FilterChanged.
  bool SetFilter(const TTraceFilter& Filter);
  // Waits at most TimeoutMs for a writer's signal; a process signal ends
  // the wait early.
  TWaitResult WaitForRecords(int TimeoutMs);
  // Takes every unread record off the queue, passes them to Sink in order
  // and then releases writers waiting for their flush. Answers the count.
  // A header whose queue does not fit the map is refused: nothing is read
  // and HeaderIntact() turns false until a drain finds it right again.
  int Drain(const std::function<void(const TTraceRecord&)>& Sink);
  bool HeaderIntact() const { return FHeaderIntact; }
  // Tells a writer that waits for the viewer to come up.
  void SignalStarted();

  TTraceMapHeader* Header() const { return reinterpret_cast<TTraceMapHeader*>(FMap.View()); }
  const TTraceNames& Names() const { return FNames; }

 private:
  bool QueueBounds(uint32_t& Offset, uint32_t& Size) const;
  bool ReplaceLeftovers();
  bool CreateObjects(uint32_t QueueSize);
  void RemoveNames();

  TTraceNames FNames;
  TSharedMap FMap;
  TNamedSemaphore FQueueEvent;
  TNamedSemaphore FQueueMutex;
  TNamedSemaphore FQueueFlush;
  QString FError;
  bool FHeaderIntact = true;
};
