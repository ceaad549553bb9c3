// The process-wide debugger: turns each trace call into a TTraceRecord,
// filters it, hands it to its channel (a viewer, when one runs) and can
// append it to a dump file. Any thread may call it; no call raises.
//
// While no viewer is ready every record is counted and dropped, and
// nothing is dumped either: DiscardedMessageCount tells how many.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "Color.h"
#include "Persistent.h"
#include "Stream.h"
#include "TraceArg.h"
#include "TraceChannel.h"
#include "TraceFilter.h"
#include "TraceTypes.h"
#include "Types.h"

inline const QString DefaultTag;

// Cycles one StartTimeMark/StopTimeMark pair costs by itself; measured by
// CalibrateTimeMarks when the global debugger is created.
inline std::atomic<int64_t> TimeMarkOverhead{0};

// The class of the channel each debugger creates (TMapFileChannel).
using TTraceChannelClass = std::unique_ptr<TTraceChannel> (*)(bool IsAutoFlush);
std::unique_ptr<TTraceChannel> CreateMapFileChannel(bool IsAutoFlush);

// Setting PLANTRACE_AUTOSTART to "0" keeps the first message from starting
// a viewer (tests, scripted runs); StartDebugViewer still works when called.
constexpr const char* TraceAutoStartVariable = "PLANTRACE_AUTOSTART";

struct TTimeMarkRecord {
  QString Tag;  // key: the tag's first 8 characters
  int32_t PassCount = 0;
  uint64_t StartStamp = 0;
  int64_t Elapsed = 0;
};

class TTraceDebugger {
 public:
  // The processor's time-stamp counter, or another source for tests.
  using TCycleCounter = uint64_t (*)();

  explicit TTraceDebugger(TTraceChannelClass ChannelClass = CreateMapFileChannel);
  ~TTraceDebugger();
  TTraceDebugger(const TTraceDebugger&) = delete;
  TTraceDebugger& operator=(const TTraceDebugger&) = delete;

  TTraceChannel* Channel() const { return FChannel.get(); }
  // Change the filter before tracing starts; later the viewer replaces it.
  TTraceFilter* Filter() const { return FFilter.get(); }
  bool Active() const { return FActive; }
  void SetActive(bool Value) { FActive = Value; }
  bool ExceptTracking() const { return FExceptTracking; }
  void SetExceptTracking(bool Value) { FExceptTracking = Value; }
  bool AutoStart() const { return FAutoStart; }
  void SetAutoStart(bool Value) { FAutoStart = Value; }
  bool DumpToFile() const { return FDumpToFile; }
  void SetDumpToFile(bool Value) noexcept;
  QString DumpFileName() const;
  void SetDumpFileName(const QString& Value) noexcept;
  bool UseAppend() const { return FUseAppend; }
  void SetUseAppend(bool Value) { FUseAppend = Value; }
  int32_t MessageCount() const { return FMessageCount; }
  int32_t PostedMessageCount() const { return FPostedMessageCount; }
  int32_t DiscardedMessageCount() const { return FMessageCount - FPostedMessageCount; }

  // The one entry every text message goes through; an empty AMsg is ignored.
  void LogFull(const QString& AMsg, const QString& ATag, int32_t ALevel, TTraceMsgType AType,
               int64_t CPUPeriod = 0) noexcept;
  void StartDebugViewer() noexcept;

  void StartTimeMark(const QString& ATag, const QString& AMsg = QString()) noexcept;
  void StartTimeMark(int ATag, const QString& AMsg = QString()) noexcept;
  // Sends the mark's running total of cycles as CPUPeriod.
  void StopTimeMark(const QString& ATag, const QString& AMsg = QString()) noexcept;
  void StopTimeMark(int ATag, const QString& AMsg = QString()) noexcept;
  // Measures TimeMarkOverhead with 1000 start/stop pairs on the empty tag,
  // sending nothing and leaving both counters at 0.
  void CalibrateTimeMarks() noexcept;
  void SetCycleCounter(TCycleCounter Counter) { FCycleCounter = Counter; }

  void AddFilterExceptClass(const QString& EClassName) noexcept;
  void RemoveFilterExceptClass(const QString& EClassName) noexcept;
  QStringList FilterExceptClasses() const;
  void EvaluateObject(const TPersistent* AObject) noexcept {}
  void EvaluateObject(const void* APointer) noexcept {}

  void LogMsg(const QString& AMsg) noexcept;
  void LogMsgWithTag(const QString& AMsg, const QString& ATag) noexcept;
  void LogMsgWithLevel(const QString& AMsg, int32_t ALevel) noexcept;
  void LogMsgWithType(const QString& AMsg, TTraceMsgType AType) noexcept;
  void LogMsgWithTagLevel(const QString& AMsg, const QString& ATag, int32_t ALevel) noexcept;
  void LogMsgWithLevelType(const QString& AMsg, int32_t ALevel, TTraceMsgType AType) noexcept;
  void LogMsgWithTypeTag(const QString& AMsg, TTraceMsgType AType, const QString& ATag) noexcept;
  // Safe formatting: a bad format sends "Format Error! Format String: ...".
  void LogFmt(const QString& AFmt, TTraceArgs Args = {}) noexcept;
  void LogFmtWithTag(const QString& AFmt, TTraceArgs Args, const QString& ATag) noexcept;
  void LogFmtWithLevel(const QString& AFmt, TTraceArgs Args, int32_t ALevel) noexcept;
  void LogFmtWithType(const QString& AFmt, TTraceArgs Args, TTraceMsgType AType) noexcept;
  void LogErrorFmt(const QString& AFmt, TTraceArgs Args = {}) noexcept;
  void LogMsgWarning(const QString& AMsg) noexcept;
  void LogMsgError(const QString& AMsg) noexcept;
  void LogSeparator() noexcept;
  // "Enter: " + name at the current depth, then one level deeper.
  void LogEnter(const QString& AProcName, const QString& ATag = QString()) noexcept;
  // One level up (not below 0), then "Leave: " + name.
  void LogLeave(const QString& AProcName, const QString& ATag = QString()) noexcept;
  // errno and its system text.
  void LogLastError() noexcept;
  void LogInteger(int64_t Value, const QString& AMsg = QString()) noexcept;
  void LogBoolean(bool Value, const QString& AMsg = QString()) noexcept;
  void LogAssigned(const void* Value, const QString& AMsg = QString()) noexcept;
  void LogColor(TColor Color, const QString& AMsg = QString()) noexcept;
  void LogFloat(double Value, const QString& AMsg = QString()) noexcept;
  void LogChar(QChar Value, const QString& AMsg = QString()) noexcept;
  void LogDateTime(const QDateTime& Value, const QString& AMsg = QString()) noexcept;
  void LogDateTimeFmt(const QDateTime& Value, const QString& AFmt, const QString& AMsg = QString()) noexcept;
  void LogPointer(const void* Value, const QString& AMsg = QString()) noexcept;
  void LogPoint(const TPoint& Point, const QString& AMsg = QString()) noexcept;
  void LogRect(const TRect& Rect, const QString& AMsg = QString()) noexcept;
  void LogStrings(const QStringList& Strings, const QString& AMsg = QString()) noexcept;
  void LogVirtualKey(int AKey) noexcept;
  void LogVirtualKeyWithTag(int AKey, const QString& ATag) noexcept;
  // The Size raw bytes at AMem, cut to 4096.
  void LogMemDump(const void* AMem, int64_t Size) noexcept;
  // Property dumps (see PropertyDump.h); the tag argument is not used.
  void LogObject(const TPersistent* AObject) noexcept;
  void LogObjectWithTag(const TPersistent* AObject, const QString& ATag) noexcept;
  // C has ClassName(), Count() and Items(i) giving TPersistent-derived pointers.
  template <class C>
  void LogCollection(const C& ACollection) noexcept {
    Safely([&] { SendCollection(&ACollection, ACollection.ClassName(), ItemsOf(ACollection)); });
  }
  template <class C>
  void LogCollectionWithTag(const C& ACollection, const QString& ATag) noexcept {
    LogCollection(ACollection);
  }
  void LogComponent(const TPersistent* AComponent) noexcept;
  void LogComponentWithTag(const TPersistent* AComponent, const QString& ATag) noexcept;

  // The Trace... twins behave like their Log... calls; TraceObject writes
  // the address without "$".
  void TraceFull(const QString& AMsg, const QString& ATag, int32_t ALevel, TTraceMsgType AType,
                 int64_t CPUPeriod = 0) noexcept {
    LogFull(AMsg, ATag, ALevel, AType, CPUPeriod);
  }
  void TraceMsg(const QString& AMsg) noexcept { LogMsg(AMsg); }
  void TraceMsgWithTag(const QString& AMsg, const QString& ATag) noexcept { LogMsgWithTag(AMsg, ATag); }
  void TraceMsgWithLevel(const QString& AMsg, int32_t ALevel) noexcept { LogMsgWithLevel(AMsg, ALevel); }
  void TraceMsgWithType(const QString& AMsg, TTraceMsgType AType) noexcept { LogMsgWithType(AMsg, AType); }
  void TraceMsgWithTagLevel(const QString& AMsg, const QString& ATag, int32_t ALevel) noexcept {
    LogMsgWithTagLevel(AMsg, ATag, ALevel);
  }
  void TraceMsgWithLevelType(const QString& AMsg, int32_t ALevel, TTraceMsgType AType) noexcept {
    LogMsgWithLevelType(AMsg, ALevel, AType);
  }
  void TraceMsgWithTypeTag(const QString& AMsg, TTraceMsgType AType, const QString& ATag) noexcept {
    LogMsgWithTypeTag(AMsg, AType, ATag);
  }
  void TraceFmt(const QString& AFmt, TTraceArgs Args = {}) noexcept { LogFmt(AFmt, Args); }
  void TraceFmtWithTag(const QString& AFmt, TTraceArgs Args, const QString& ATag) noexcept {
    LogFmtWithTag(AFmt, Args, ATag);
  }
  void TraceFmtWithLevel(const QString& AFmt, TTraceArgs Args, int32_t ALevel) noexcept {
    LogFmtWithLevel(AFmt, Args, ALevel);
  }
  void TraceFmtWithType(const QString& AFmt, TTraceArgs Args, TTraceMsgType AType) noexcept {
    LogFmtWithType(AFmt, Args, AType);
  }
  void TraceErrorFmt(const QString& AFmt, TTraceArgs Args = {}) noexcept { LogErrorFmt(AFmt, Args); }
  void TraceMsgWarning(const QString& AMsg) noexcept { LogMsgWarning(AMsg); }
  void TraceMsgError(const QString& AMsg) noexcept { LogMsgError(AMsg); }
  void TraceSeparator() noexcept { LogSeparator(); }
  void TraceEnter(const QString& AProcName, const QString& ATag = QString()) noexcept { LogEnter(AProcName, ATag); }
  void TraceLeave(const QString& AProcName, const QString& ATag = QString()) noexcept { LogLeave(AProcName, ATag); }
  void TraceLastError() noexcept { LogLastError(); }
  void TraceInteger(int64_t Value, const QString& AMsg = QString()) noexcept { LogInteger(Value, AMsg); }
  void TraceBoolean(bool Value, const QString& AMsg = QString()) noexcept { LogBoolean(Value, AMsg); }
  void TraceAssigned(const void* Value, const QString& AMsg = QString()) noexcept { LogAssigned(Value, AMsg); }
  void TraceColor(TColor Color, const QString& AMsg = QString()) noexcept { LogColor(Color, AMsg); }
  void TraceFloat(double Value, const QString& AMsg = QString()) noexcept { LogFloat(Value, AMsg); }
  void TraceChar(QChar Value, const QString& AMsg = QString()) noexcept { LogChar(Value, AMsg); }
  void TraceDateTime(const QDateTime& Value, const QString& AMsg = QString()) noexcept { LogDateTime(Value, AMsg); }
  void TraceDateTimeFmt(const QDateTime& Value, const QString& AFmt, const QString& AMsg = QString()) noexcept {
    LogDateTimeFmt(Value, AFmt, AMsg);
  }
  void TracePointer(const void* Value, const QString& AMsg = QString()) noexcept { LogPointer(Value, AMsg); }
  void TracePoint(const TPoint& Point, const QString& AMsg = QString()) noexcept { LogPoint(Point, AMsg); }
  void TraceRect(const TRect& Rect, const QString& AMsg = QString()) noexcept { LogRect(Rect, AMsg); }
  void TraceStrings(const QStringList& Strings, const QString& AMsg = QString()) noexcept { LogStrings(Strings, AMsg); }
  void TraceVirtualKey(int AKey) noexcept { LogVirtualKey(AKey); }
  void TraceVirtualKeyWithTag(int AKey, const QString& ATag) noexcept { LogVirtualKeyWithTag(AKey, ATag); }
  void TraceMemDump(const void* AMem, int64_t Size) noexcept { LogMemDump(AMem, Size); }
  void TraceObject(const TPersistent* AObject) noexcept;
  void TraceObjectWithTag(const TPersistent* AObject, const QString& ATag) noexcept { TraceObject(AObject); }
  template <class C>
  void TraceCollection(const C& ACollection) noexcept {
    LogCollection(ACollection);
  }
  template <class C>
  void TraceCollectionWithTag(const C& ACollection, const QString& ATag) noexcept {
    LogCollection(ACollection);
  }
  void TraceComponent(const TPersistent* AComponent) noexcept { LogComponent(AComponent); }
  void TraceComponentWithTag(const TPersistent* AComponent, const QString& ATag) noexcept {
    LogComponentWithTag(AComponent, ATag);
  }

 private:
  // A message's body: UTF-16 text converted while the record is built, or
  // raw bytes taken as they are.
  struct TRecordText {
    QStringView Text;
    const void* Bytes = nullptr;
    uint32_t ByteCount = 0;
  };

  template <class F>
  static void Safely(F&& Action) noexcept {
    try {
      Action();
    } catch (...) {
      // Tracing never disturbs the caller.
    }
  }
  template <class C>
  static std::vector<const TPersistent*> ItemsOf(const C& ACollection) {
    std::vector<const TPersistent*> items;
    for (int i = 0; i < ACollection.Count(); ++i) items.push_back(ACollection.Items(i));
    return items;
  }
  void SendCollection(const void* Address, const char* ClassName, const std::vector<const TPersistent*>& Items);
  void SendBytes(const QByteArray& Bytes, const QString& ATag, TTraceMsgType AType);

  void OutputRecord(const TRecordText& AText, QStringView ATag, int32_t ALevel, int32_t AIndent, TTraceMsgType AType,
                    uint32_t AThreadId, int64_t CPUPeriod);
  void AutoStartViewerOnce();
  bool CanOutput() const;
  void PickUpViewerFilter();
  bool PassesFilter(QStringView ATag, int32_t ALevel, TTraceMsgType AType) const;
  void BuildRecord(TTraceRecord& Record, const TRecordText& AText, QStringView ATag, int32_t ALevel, int32_t AIndent,
                   TTraceMsgType AType, uint32_t AThreadId, int64_t CPUPeriod) const;
  void PostToChannel(const TTraceRecord& Record);
  void DumpRecord(const TTraceRecord& Record);

  int32_t IndentOf(uint32_t AThreadId);
  void PushIndent(uint32_t AThreadId);
  void PopIndent(uint32_t AThreadId);
  size_t ThreadIndex(uint32_t AThreadId);  // caller holds FCSThrdId

  TTimeMarkRecord* FindTimeMark(const QString& AKey);  // caller holds FCSTimes
  void OpenDumpFile();                                 // caller holds FCSDump
  void CloseDumpFile();                                // caller holds FCSDump

  std::atomic<bool> FActive{false};
  std::vector<uint32_t> FThrdIDList;
  std::vector<int32_t> FIndentList;
  std::vector<TTimeMarkRecord> FTimes;
  std::unique_ptr<TTraceFilter> FFilter;
  std::unique_ptr<TTraceChannel> FChannel;
  std::mutex FCSThrdId;
  std::atomic<bool> FAutoStart{true};
  std::atomic<bool> FViewerAutoStartCalled{false};
  std::once_flag FAutoStartOnce;
  std::atomic<bool> FIgnoreViewer{false};
  QStringList FExceptFilter;
  std::atomic<bool> FExceptTracking{false};
  std::atomic<int32_t> FPostedMessageCount{0};
  std::atomic<int32_t> FMessageCount{0};
  std::atomic<bool> FDumpToFile{false};
  QString FDumpFileName;
  std::unique_ptr<TFileStream> FDumpFile;
  std::atomic<bool> FUseAppend{false};
  bool FAfterFirstWrite = false;

  // The thread lists are not all that threads share: the filter (which
  // the viewer may replace), the time marks and the dump file get locks of
  // their own, and the counters are atomic.
  mutable std::mutex FCSFilter;
  mutable std::mutex FCSTimes;
  mutable std::mutex FCSDump;
  mutable std::mutex FCSExcept;
  TCycleCounter FCycleCounter;
};
