// Named stopwatches in processor cycles.
#include "IntMath.h"
#include "TraceDebugger.h"

namespace {

constexpr int kCalibrationRuns = 1000;

// Tags that agree in their first 8 characters share a mark.
QString MarkKey(const QString& ATag) { return ATag.left(8); }

QString IntegerTag(int ATag) { return (QLatin1Char('#') + QString::number(ATag)).left(8); }

}  // namespace

TTimeMarkRecord* TTraceDebugger::FindTimeMark(const QString& AKey) {
  for (TTimeMarkRecord& mark : FTimes)
    if (mark.Tag == AKey) return &mark;
  return nullptr;
}

void TTraceDebugger::StartTimeMark(const QString& ATag, const QString& AMsg) noexcept {
  Safely([&] {
    const QString key = MarkKey(ATag);
    std::lock_guard lock(FCSTimes);
    TTimeMarkRecord* mark = FindTimeMark(key);
    if (!mark) {
      FTimes.push_back(TTimeMarkRecord{key});
      mark = &FTimes.back();
    }
    ++mark->PassCount;
    mark->StartStamp = FCycleCounter();
  });
}

void TTraceDebugger::StartTimeMark(int ATag, const QString& AMsg) noexcept { StartTimeMark(IntegerTag(ATag), AMsg); }

void TTraceDebugger::StopTimeMark(const QString& ATag, const QString& AMsg) noexcept {
  Safely([&] {
    const uint64_t now = FCycleCounter();
    int64_t elapsed = 0;
    {
      std::lock_guard lock(FCSTimes);
      TTimeMarkRecord* mark = FindTimeMark(MarkKey(ATag));
      if (!mark) return;
      // A pair shorter than the calibrated overhead adds nothing rather
      // than a negative count.
      const int64_t interval = static_cast<int64_t>(now - mark->StartStamp) - TimeMarkOverhead.load();
      if (interval > 0) mark->Elapsed += interval;
      elapsed = mark->Elapsed;
    }
    const QString text = AMsg.isEmpty() ? QStringLiteral("Stop Time Mark. ") : AMsg;
    TraceFull(text, ATag, DefaultLevel, tmtTimeMarkStop, elapsed);
  });
}

void TTraceDebugger::StopTimeMark(int ATag, const QString& AMsg) noexcept { StopTimeMark(IntegerTag(ATag), AMsg); }

void TTraceDebugger::CalibrateTimeMarks() noexcept {
  Safely([&] {
    if (FChannel) FChannel->SetActive(false);
    FIgnoreViewer = true;
    TimeMarkOverhead = 0;
    {
      std::lock_guard lock(FCSTimes);
      if (TTimeMarkRecord* mark = FindTimeMark(QString())) *mark = TTimeMarkRecord{};
    }
    for (int i = 0; i < kCalibrationRuns; ++i) {
      StartTimeMark(QString());
      StopTimeMark(QString());
    }
    FIgnoreViewer = false;
    FMessageCount = 0;
    FPostedMessageCount = 0;
    if (FChannel) FChannel->SetActive(true);
    std::lock_guard lock(FCSTimes);
    const TTimeMarkRecord* mark = FindTimeMark(QString());
    TimeMarkOverhead = mark ? Div64(mark->Elapsed, kCalibrationRuns) : 0;
  });
}
