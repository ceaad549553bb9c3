// Shared pieces of the trace tests: a channel that records what it is
// given, namespaces that keep each test's shared objects to itself, and
// record accessors.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TraceChannel.h"
#include "TraceDebugger.h"
#include "TraceFilter.h"
#include "TraceNames.h"
#include "TraceTypes.h"

class TRecordingChannel : public TTraceChannel {
 public:
  TRecordingChannel() : TTraceChannel(true) {}

  bool IsReady() override { return Ready; }
  void StartDebugViewer() override { ++StartCalls; }
  bool CheckFilterChanged() override { return ViewerFilterChanged; }
  void RefreshFilter(TTraceFilter* Filter) override {
    *Filter = ViewerFilter;
    ViewerFilterChanged = false;
  }
  void SendContent(const void* MsgDesc, uint32_t Size) override;

  bool Ready = true;
  int StartCalls = 0;
  bool ViewerFilterChanged = false;
  TTraceFilter ViewerFilter;
  std::vector<TTraceRecord> Records;
  std::vector<uint32_t> Sizes;
};

std::unique_ptr<TTraceChannel> CreateRecordingChannel(bool IsAutoFlush);

// A debugger whose channel records; Channel() gives the recorder.
struct TRecordingDebugger {
  TTraceDebugger Debugger{CreateRecordingChannel};
  TRecordingChannel& Channel() { return *static_cast<TRecordingChannel*>(Debugger.Channel()); }
  const std::vector<TTraceRecord>& Records() { return Channel().Records; }
};

QString TextOf(const TTraceRecord& Record);
QByteArray BytesOf(const TTraceRecord& Record);
QString TagOf(const TTraceRecord& Record);

// A namespace no other test or process uses.
std::string UniqueNamespace();
// Entries of /dev/shm that belong to a namespace.
QStringList SharedObjectsOf(const std::string& Namespace);
// The files in /dev/shm behind the channel's map and its three semaphores.
std::vector<std::string> SharedFilesOf(const TTraceNames& Names);

// A test whose shared objects live in a namespace of its own; unless it
// says otherwise, none of them may outlive it.
struct TNamespaceTest : ::testing::Test {
  std::string Namespace = UniqueNamespace();
  TTraceNames Names = TTraceNames::ForNamespace(Namespace);

  void TearDown() override { EXPECT_EQ(SharedObjectsOf(Namespace), QStringList()) << "objects left behind"; }
};

// Asks Condition every 20 ms until it holds (true) or TimeoutMs is over.
bool WaitUntil(const std::function<bool()>& Condition, int TimeoutMs);
