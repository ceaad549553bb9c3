#include "TraceDebugger.h"

#include <sys/file.h>
#include <unistd.h>

#include <QFileInfo>
#include <cstdlib>
#include <cstring>

#include "MapFileChannel.h"
#include "TraceClock.h"

namespace {

// A function, not a namespace-scope QString: the global debugger is made
// during static initialisation, possibly before this file's own statics.
QString DefaultDumpFileName() { return QStringLiteral("PlanTraceDump.ptd"); }

// UTF-16 to UTF-8 straight into Dest, never splitting a character: a cut
// text stays valid for whoever prints it. Lone surrogates become U+FFFD.
uint32_t EncodeUtf8(QStringView Text, char* Dest, uint32_t Capacity) {
  uint32_t out = 0;
  for (qsizetype i = 0; i < Text.size(); ++i) {
    char32_t c = Text[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < Text.size() && QChar::isLowSurrogate(Text[i + 1].unicode())) {
      c = QChar::surrogateToUcs4(static_cast<char16_t>(c), Text[++i].unicode());
    } else if (QChar::isSurrogate(c)) {
      c = 0xFFFD;
    }
    const uint32_t need = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    if (out + need > Capacity) break;
    auto* p = reinterpret_cast<unsigned char*>(Dest + out);
    switch (need) {
      case 1: p[0] = static_cast<unsigned char>(c); break;
      case 2:
        p[0] = 0xC0 | (c >> 6);
        p[1] = 0x80 | (c & 0x3F);
        break;
      case 3:
        p[0] = 0xE0 | (c >> 12);
        p[1] = 0x80 | ((c >> 6) & 0x3F);
        p[2] = 0x80 | (c & 0x3F);
        break;
      default:
        p[0] = 0xF0 | (c >> 18);
        p[1] = 0x80 | ((c >> 12) & 0x3F);
        p[2] = 0x80 | ((c >> 6) & 0x3F);
        p[3] = 0x80 | (c & 0x3F);
    }
    out += need;
  }
  return out;
}

bool AutoStartAllowed() {
  const char* value = std::getenv(TraceAutoStartVariable);
  return !value || std::strcmp(value, "0") != 0;
}

}  // namespace

std::unique_ptr<TTraceChannel> CreateMapFileChannel(bool IsAutoFlush) {
  return std::make_unique<TMapFileChannel>(IsAutoFlush);
}

TTraceDebugger::TTraceDebugger(TTraceChannelClass ChannelClass)
    : FFilter(std::make_unique<TTraceFilter>()), FDumpFileName(DefaultDumpFileName()), FCycleCounter(ReadCycleCounter) {
  try {
    if (ChannelClass) FChannel = ChannelClass(true);
  } catch (...) {
    FChannel.reset();  // without a channel every message only counts
  }
  FActive = true;
}

TTraceDebugger::~TTraceDebugger() {
  FChannel.reset();
  std::lock_guard lock(FCSDump);
  CloseDumpFile();
}

// ---- the record path ----

void TTraceDebugger::LogFull(const QString& AMsg, const QString& ATag, int32_t ALevel, TTraceMsgType AType,
                             int64_t CPUPeriod) noexcept {
  if (AMsg.isEmpty()) return;
  Safely([&] {
    const uint32_t thread = CurrentThreadId();
    const int32_t indent = IndentOf(thread);
    OutputRecord({AMsg, nullptr, 0}, ATag, ALevel, indent, AType, thread, CPUPeriod);
  });
}

void TTraceDebugger::OutputRecord(const TRecordText& AText, QStringView ATag, int32_t ALevel, int32_t AIndent,
                                  TTraceMsgType AType, uint32_t AThreadId, int64_t CPUPeriod) {
  AutoStartViewerOnce();
  ++FMessageCount;
  if (!CanOutput()) return;
  if (!FChannel->IsReady()) return;
  PickUpViewerFilter();
  if (!PassesFilter(ATag, ALevel, AType)) return;
  TTraceRecord record{};
  BuildRecord(record, AText, ATag, ALevel, AIndent, AType, AThreadId, CPUPeriod);
  PostToChannel(record);
  DumpRecord(record);
}

// Threads that trace while the viewer is being started wait for it (at
// most the start's 5 s) instead of losing their messages.
void TTraceDebugger::AutoStartViewerOnce() {
  if (!FAutoStart || FIgnoreViewer) return;
  std::call_once(FAutoStartOnce, [this] {
    FViewerAutoStartCalled = true;
    if (AutoStartAllowed()) StartDebugViewer();
  });
}

void TTraceDebugger::StartDebugViewer() noexcept {
  Safely([&] {
    if (FChannel) FChannel->StartDebugViewer();
  });
}

bool TTraceDebugger::CanOutput() const { return FActive && FChannel && FChannel->Active(); }

void TTraceDebugger::PickUpViewerFilter() {
  if (!FChannel->CheckFilterChanged()) return;
  std::lock_guard lock(FCSFilter);
  FChannel->RefreshFilter(FFilter.get());
}

bool TTraceDebugger::PassesFilter(QStringView ATag, int32_t ALevel, TTraceMsgType AType) const {
  std::lock_guard lock(FCSFilter);
  return FFilter->Passes(ATag, ALevel, AType);
}

void TTraceDebugger::BuildRecord(TTraceRecord& Record, const TRecordText& AText, QStringView ATag, int32_t ALevel,
                                 int32_t AIndent, TTraceMsgType AType, uint32_t AThreadId, int64_t CPUPeriod) const {
  Record.Level = ALevel;
  Record.Indent = AIndent;
  Record.ProcessId = static_cast<uint32_t>(::getpid());
  Record.ThreadId = AThreadId;
  EncodeUtf8(ATag, Record.Tag, sizeof Record.Tag);
  Record.MsgType = AType;
  Record.CPUPeriod = static_cast<uint32_t>(CPUPeriod);
  Record.StampKind = TimeStampKind;
  Record.Stamp = LocalDateTimeStamp();
  uint32_t size = 0;
  if (AText.Bytes) {
    size = AText.ByteCount < TraceMaxTextSize ? AText.ByteCount : TraceMaxTextSize;
    std::memcpy(Record.MsgText, AText.Bytes, size);
  } else {
    size = EncodeUtf8(AText.Text, Record.MsgText, TraceMaxTextSize);
  }
  Record.Length = TraceRecordHeaderSize + size;
}

// Readiness was asked for this record already; the channel checks again
// after its own waits.
void TTraceDebugger::PostToChannel(const TTraceRecord& Record) {
  if (!FChannel->Active() || Record.Length == 0) return;
  FChannel->SendContent(&Record, Record.Length);
  ++FPostedMessageCount;
}

// ---- indentation ----

size_t TTraceDebugger::ThreadIndex(uint32_t AThreadId) {
  for (size_t i = 0; i < FThrdIDList.size(); ++i)
    if (FThrdIDList[i] == AThreadId) return i;
  FThrdIDList.push_back(AThreadId);
  FIndentList.push_back(0);
  return FThrdIDList.size() - 1;
}

int32_t TTraceDebugger::IndentOf(uint32_t AThreadId) {
  std::lock_guard lock(FCSThrdId);
  return FIndentList[ThreadIndex(AThreadId)];
}

void TTraceDebugger::PushIndent(uint32_t AThreadId) {
  std::lock_guard lock(FCSThrdId);
  ++FIndentList[ThreadIndex(AThreadId)];
}

void TTraceDebugger::PopIndent(uint32_t AThreadId) {
  std::lock_guard lock(FCSThrdId);
  int32_t& depth = FIndentList[ThreadIndex(AThreadId)];
  if (depth > 0) --depth;
}

// ---- the dump file ----

QString TTraceDebugger::DumpFileName() const {
  std::lock_guard lock(FCSDump);
  return FDumpFileName;
}

void TTraceDebugger::SetDumpToFile(bool Value) noexcept {
  Safely([&] {
    std::lock_guard lock(FCSDump);
    if (Value == FDumpToFile) return;
    FDumpToFile = Value;
    if (Value) {
      OpenDumpFile();
    } else {
      CloseDumpFile();
    }
  });
}

void TTraceDebugger::SetDumpFileName(const QString& Value) noexcept {
  Safely([&] {
    std::lock_guard lock(FCSDump);
    if (Value == FDumpFileName) return;
    FDumpFileName = Value;
    if (FDumpToFile) OpenDumpFile();
  });
}

void TTraceDebugger::OpenDumpFile() {
  if (FDumpFileName.isEmpty()) FDumpFileName = DefaultDumpFileName();
  CloseDumpFile();
  try {
    const TFileMode mode = QFileInfo::exists(FDumpFileName) ? fmOpenReadWrite : fmCreate;
    auto file = std::make_unique<TFileStream>(FDumpFileName, mode);
    if (::flock(file->Handle(), LOCK_EX | LOCK_NB) != 0) return;  // another writer has it
    file->Seek(0, FUseAppend ? soEnd : soBeginning);
    FDumpFile = std::move(file);
    FAfterFirstWrite = false;
  } catch (...) {
    // No dump file; tracing goes on.
  }
}

void TTraceDebugger::CloseDumpFile() { FDumpFile.reset(); }

void TTraceDebugger::DumpRecord(const TTraceRecord& Record) {
  if (!FDumpToFile || FIgnoreViewer) return;
  std::lock_guard lock(FCSDump);
  if (!FDumpFile) return;
  if (!FAfterFirstWrite) {
    if (FUseAppend) {
      FDumpFile->Seek(0, soEnd);
    } else {
      FDumpFile->SetSize(0);
      FDumpFile->Seek(0, soBeginning);
    }
    FAfterFirstWrite = true;
  }
  FDumpFile->Write(&Record, Record.Length);
}

// ---- exception class filter (kept, not consulted) ----

void TTraceDebugger::AddFilterExceptClass(const QString& EClassName) noexcept {
  Safely([&] {
    std::lock_guard lock(FCSExcept);
    if (!FExceptFilter.contains(EClassName, Qt::CaseInsensitive)) FExceptFilter << EClassName;
  });
}

void TTraceDebugger::RemoveFilterExceptClass(const QString& EClassName) noexcept {
  Safely([&] {
    std::lock_guard lock(FCSExcept);
    FExceptFilter.removeIf([&](const QString& name) { return name.compare(EClassName, Qt::CaseInsensitive) == 0; });
  });
}

QStringList TTraceDebugger::FilterExceptClasses() const {
  std::lock_guard lock(FCSExcept);
  return FExceptFilter;
}
