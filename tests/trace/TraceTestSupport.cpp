#include "TraceTestSupport.h"

#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <cstring>

namespace {

// Settings of this test program live in a directory of its own.
QTemporaryDir& SettingsDir() {
  static QTemporaryDir dir;
  return dir;
}

const bool kEnvironmentReady = [] {
  qputenv("PLANTRACE_AUTOSTART", "0");
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsDir().path());
  return true;
}();

}  // namespace

void TRecordingChannel::SendContent(const void* MsgDesc, uint32_t Size) {
  TTraceRecord record{};
  std::memcpy(&record, MsgDesc, Size < sizeof record ? Size : sizeof record);
  Records.push_back(record);
  Sizes.push_back(Size);
}

std::unique_ptr<TTraceChannel> CreateRecordingChannel(bool) { return std::make_unique<TRecordingChannel>(); }

QByteArray BytesOf(const TTraceRecord& Record) {
  return QByteArray(Record.MsgText, static_cast<qsizetype>(Record.Length - TraceRecordHeaderSize));
}

QString TextOf(const TTraceRecord& Record) { return QString::fromUtf8(BytesOf(Record)); }

QString TagOf(const TTraceRecord& Record) {
  return QString::fromUtf8(Record.Tag, static_cast<qsizetype>(qstrnlen(Record.Tag, sizeof Record.Tag)));
}

std::string UniqueNamespace() {
  static std::atomic<int> counter{0};
  return "test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
}

QStringList SharedObjectsOf(const std::string& Namespace) {
  const QString suffix = QStringLiteral("-") + QString::fromStdString(Namespace);
  QStringList found;
  for (const QString& name : QDir(QStringLiteral("/dev/shm")).entryList(QDir::Files))
    if (name.endsWith(suffix)) found << name;
  return found;
}

std::vector<std::string> SharedFilesOf(const TTraceNames& Names) {
  return {"/dev/shm" + Names.Map, "/dev/shm/sem." + Names.QueueEvent.substr(1),
          "/dev/shm/sem." + Names.QueueMutex.substr(1), "/dev/shm/sem." + Names.FlushEvent.substr(1)};
}

bool WaitUntil(const std::function<bool()>& Condition, int TimeoutMs) {
  QDeadlineTimer deadline(TimeoutMs);
  while (!Condition()) {
    if (deadline.hasExpired()) return false;
    QThread::msleep(20);
  }
  return true;
}
