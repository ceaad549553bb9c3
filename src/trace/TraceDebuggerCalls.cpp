// The typed trace calls: each builds its text and goes through LogFull (or
// straight to OutputRecord for raw bytes).
#include <cerrno>

#include "PropertyDump.h"
#include "TraceClock.h"
#include "TraceDebugger.h"
#include "TraceFormat.h"
#include "TraceTexts.h"

void TTraceDebugger::LogMsg(const QString& AMsg) noexcept { LogFull(AMsg, DefaultTag, DefaultLevel, DefaultType); }

void TTraceDebugger::LogMsgWithTag(const QString& AMsg, const QString& ATag) noexcept {
  LogFull(AMsg, ATag, DefaultLevel, DefaultType);
}

void TTraceDebugger::LogMsgWithLevel(const QString& AMsg, int32_t ALevel) noexcept {
  LogFull(AMsg, DefaultTag, ALevel, DefaultType);
}

void TTraceDebugger::LogMsgWithType(const QString& AMsg, TTraceMsgType AType) noexcept {
  LogFull(AMsg, DefaultTag, DefaultLevel, AType);
}

void TTraceDebugger::LogMsgWithTagLevel(const QString& AMsg, const QString& ATag, int32_t ALevel) noexcept {
  LogFull(AMsg, ATag, ALevel, DefaultType);
}

void TTraceDebugger::LogMsgWithLevelType(const QString& AMsg, int32_t ALevel, TTraceMsgType AType) noexcept {
  LogFull(AMsg, DefaultTag, ALevel, AType);
}

void TTraceDebugger::LogMsgWithTypeTag(const QString& AMsg, TTraceMsgType AType, const QString& ATag) noexcept {
  LogFull(AMsg, ATag, DefaultLevel, AType);
}

void TTraceDebugger::LogFmt(const QString& AFmt, TTraceArgs Args) noexcept {
  Safely([&] { LogFull(SafeFormat(AFmt, Args), DefaultTag, DefaultLevel, DefaultType); });
}

void TTraceDebugger::LogFmtWithTag(const QString& AFmt, TTraceArgs Args, const QString& ATag) noexcept {
  Safely([&] { LogFull(SafeFormat(AFmt, Args), ATag, DefaultLevel, DefaultType); });
}

void TTraceDebugger::LogFmtWithLevel(const QString& AFmt, TTraceArgs Args, int32_t ALevel) noexcept {
  Safely([&] { LogFull(SafeFormat(AFmt, Args), DefaultTag, ALevel, DefaultType); });
}

void TTraceDebugger::LogFmtWithType(const QString& AFmt, TTraceArgs Args, TTraceMsgType AType) noexcept {
  Safely([&] { LogFull(SafeFormat(AFmt, Args), DefaultTag, DefaultLevel, AType); });
}

void TTraceDebugger::LogErrorFmt(const QString& AFmt, TTraceArgs Args) noexcept {
  Safely([&] { LogFull(SafeFormat(AFmt, Args), DefaultTag, DefaultLevel, tmtError); });
}

void TTraceDebugger::LogMsgWarning(const QString& AMsg) noexcept {
  LogFull(AMsg, DefaultTag, DefaultLevel, tmtWarning);
}

void TTraceDebugger::LogMsgError(const QString& AMsg) noexcept { LogFull(AMsg, DefaultTag, DefaultLevel, tmtError); }

void TTraceDebugger::LogSeparator() noexcept {
  Safely([&] { LogFull(QStringLiteral("-"), DefaultTag, DefaultLevel, tmtSeparator); });
}

void TTraceDebugger::LogEnter(const QString& AProcName, const QString& ATag) noexcept {
  Safely([&] {
    LogFull(QStringLiteral("Enter: ") + AProcName, ATag, DefaultLevel, tmtEnterProc);
    PushIndent(CurrentThreadId());
  });
}

void TTraceDebugger::LogLeave(const QString& AProcName, const QString& ATag) noexcept {
  Safely([&] {
    PopIndent(CurrentThreadId());
    LogFull(QStringLiteral("Leave: ") + AProcName, ATag, DefaultLevel, tmtLeaveProc);
  });
}

void TTraceDebugger::LogLastError() noexcept {
  const int code = errno;
  Safely([&] { LogFull(LastErrorText(code), DefaultTag, DefaultLevel, tmtError); });
}

void TTraceDebugger::LogInteger(int64_t Value, const QString& AMsg) noexcept {
  Safely([&] { LogMsg(IntegerText(Value, AMsg)); });
}

void TTraceDebugger::LogBoolean(bool Value, const QString& AMsg) noexcept {
  Safely([&] { LogMsg(BooleanText(Value, AMsg)); });
}

void TTraceDebugger::LogAssigned(const void* Value, const QString& AMsg) noexcept {
  Safely([&] { LogMsg(AssignedText(Value, AMsg)); });
}

void TTraceDebugger::LogColor(TColor Color, const QString& AMsg) noexcept {
  Safely([&] { LogMsg(ColorText(Color, AMsg)); });
}

void TTraceDebugger::LogFloat(double Value, const QString& AMsg) noexcept {
  Safely([&] { LogMsg(FloatText(Value, AMsg)); });
}

void TTraceDebugger::LogChar(QChar Value, const QString& AMsg) noexcept {
  Safely([&] { LogMsg(CharText(Value, AMsg)); });
}

void TTraceDebugger::LogDateTime(const QDateTime& Value, const QString& AMsg) noexcept {
  Safely([&] { LogMsg(DateTimeText(Value, QString::fromLatin1(DefaultDateTimeFormat), AMsg)); });
}

void TTraceDebugger::LogDateTimeFmt(const QDateTime& Value, const QString& AFmt, const QString& AMsg) noexcept {
  Safely([&] { LogMsg(DateTimeText(Value, AFmt, AMsg)); });
}

void TTraceDebugger::LogPointer(const void* Value, const QString& AMsg) noexcept {
  Safely([&] { LogMsg(PointerText(Value, AMsg)); });
}

void TTraceDebugger::LogPoint(const TPoint& Point, const QString& AMsg) noexcept {
  Safely([&] { LogMsg(PointText(Point, AMsg)); });
}

void TTraceDebugger::LogRect(const TRect& Rect, const QString& AMsg) noexcept {
  Safely([&] { LogMsg(RectText(Rect, AMsg)); });
}

void TTraceDebugger::LogStrings(const QStringList& Strings, const QString& AMsg) noexcept {
  Safely([&] { LogMsg(StringsText(Strings, AMsg)); });
}

void TTraceDebugger::LogVirtualKey(int AKey) noexcept { LogVirtualKeyWithTag(AKey, DefaultTag); }

void TTraceDebugger::LogVirtualKeyWithTag(int AKey, const QString& ATag) noexcept {
  Safely([&] { LogFull(VirtualKeyText(AKey), ATag, DefaultLevel, DefaultType); });
}

void TTraceDebugger::LogMemDump(const void* AMem, int64_t Size) noexcept {
  if (!AMem || Size < 0) return;
  Safely([&] {
    const uint32_t thread = CurrentThreadId();
    const uint32_t count = Size < TraceMaxTextSize ? static_cast<uint32_t>(Size) : TraceMaxTextSize;
    OutputRecord({QStringView(), AMem, count}, DefaultTag, DefaultLevel, IndentOf(thread), tmtMemoryDump, thread, 0);
  });
}

void TTraceDebugger::LogObject(const TPersistent* AObject) noexcept {
  Safely([&] { LogFull(ObjectText(AObject, true), DefaultTag, DefaultLevel, tmtObject); });
}

void TTraceDebugger::LogObjectWithTag(const TPersistent* AObject, const QString& ATag) noexcept { LogObject(AObject); }

void TTraceDebugger::TraceObject(const TPersistent* AObject) noexcept {
  Safely([&] { LogFull(ObjectText(AObject, false), DefaultTag, DefaultLevel, tmtObject); });
}

void TTraceDebugger::SendCollection(const void* Address, const char* ClassName,
                                    const std::vector<const TPersistent*>& Items) {
  LogFull(CollectionText(Address, ClassName, Items), DefaultTag, DefaultLevel, tmtObject);
}

void TTraceDebugger::LogComponent(const TPersistent* AComponent) noexcept {
  LogComponentWithTag(AComponent, DefaultTag);
}

void TTraceDebugger::LogComponentWithTag(const TPersistent* AComponent, const QString& ATag) noexcept {
  Safely([&] { SendBytes(ComponentText(AComponent).toUtf8(), ATag, tmtComponent); });
}

void TTraceDebugger::SendBytes(const QByteArray& Bytes, const QString& ATag, TTraceMsgType AType) {
  const uint32_t thread = CurrentThreadId();
  const uint32_t count = Bytes.size() < TraceMaxTextSize ? static_cast<uint32_t>(Bytes.size()) : TraceMaxTextSize;
  OutputRecord({QStringView(), Bytes.constData(), count}, ATag, DefaultLevel, IndentOf(thread), AType, thread, 0);
}
