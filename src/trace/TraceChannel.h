// Where the debugger's records go. The base delivers nothing and is never
// ready; TMapFileChannel passes records to a viewer through shared memory.
// No operation raises.
#pragma once

#include <atomic>
#include <cstdint>

class TTraceFilter;

class TTraceChannel {
 public:
  explicit TTraceChannel(bool IsAutoFlush) : FAutoFlush(IsAutoFlush), FActive(true) {}
  virtual ~TTraceChannel() = default;
  TTraceChannel(const TTraceChannel&) = delete;
  TTraceChannel& operator=(const TTraceChannel&) = delete;

  bool Active() const { return FActive; }
  virtual void SetActive(bool Value) { FActive = Value; }
  // Whether records can be delivered now.
  virtual bool IsReady() { return false; }
  // Opens or closes the flush event to match AutoFlush.
  virtual void UpdateFlush() {}
  virtual void StartDebugViewer() {}
  // Whether the viewer changed the filter since it was last read.
  virtual bool CheckFilterChanged() { return false; }
  // Copies the viewer's filter into Filter.
  virtual void RefreshFilter(TTraceFilter* Filter) {}
  virtual void SendContent(const void* MsgDesc, uint32_t Size) {}

  bool AutoFlush() const { return FAutoFlush; }
  void SetAutoFlush(bool Value);

 protected:
  std::atomic<bool> FAutoFlush;
  std::atomic<bool> FActive;
};
