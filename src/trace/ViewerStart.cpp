// Starting the viewer: which command, and the hand-shake on the start event.
#include <unistd.h>

#include <QFileInfo>
#include <QProcess>
#include <QSettings>

#include "MapFileChannel.h"

namespace {

QString ExecutableDir() {
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
}

QString SettingsValue() {
  const QSettings settings(QSettings::UserScope, QStringLiteral("PlanTrace"), QStringLiteral("Viewer"));
  return settings.value(QStringLiteral("PlanTraceViewer")).toString().trimmed();
}

}  // namespace

TViewerCommand TViewerCommand::ForProcess(qint64 ProcessId) {
  const QStringList attach{QStringLiteral("-a"), QString::number(ProcessId)};
  const QString value = SettingsValue();
  if (!value.isEmpty()) {
    if (QFileInfo(value).isFile()) return {value, attach};
    QStringList parts = QProcess::splitCommand(value);
    if (!parts.isEmpty()) {
      const QString program = parts.takeFirst();
      return {program, parts + attach};
    }
  }
  const QString beside = ExecutableDir() + QStringLiteral("/PlanTraceViewer");
  if (QFileInfo(beside).isFile() && QFileInfo(beside).isExecutable()) return {beside, attach};
  return {QStringLiteral("PlanTraceViewer"), attach};
}

QString TViewerCommand::Text() const {
  return Arguments.isEmpty() ? Program : Program + QLatin1Char(' ') + Arguments.join(QLatin1Char(' '));
}

void TMapFileChannel::StartDebugViewer() {
  try {
    if (IsReady()) return;
    const TViewerCommand command = TViewerCommand::ForProcess(::getpid());
    // A start event that is not this user's alone is refused: the viewer
    // is started all the same, only not waited for.
    TNamedSemaphore started;
    started.Create(FNames.StartEvent, 0, false);
    started.Reset();
    const bool launched = QProcess::startDetached(command.Program, command.Arguments);
    if (launched && started.IsOpen()) started.Wait(StartTimeoutMs);
    if (started.IsOpen()) TNamedSemaphore::Unlink(FNames.StartEvent);
    started.Close();
    std::lock_guard lock(FLock);
    FNextOpenTry = {};  // the next record looks for the new viewer at once
  } catch (...) {
    // A viewer that cannot be started is no error: records are dropped.
  }
}
