#include "RecoveryStore.h"

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <algorithm>

#include "AtomicFile.h"
#include "Exceptions.h"

namespace {

const QString DocumentSuffix = QStringLiteral(".kvf");
const QString InfoSuffix = QStringLiteral(".json");

// The start time field of /proc/PID/stat (clock ticks since boot), or
// empty when no such process runs.
QString StartTimeOf(qint64 Pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(Pid));
  if (!stat.open(QIODevice::ReadOnly)) return {};
  const QByteArray line = stat.readAll();
  // The command name may hold spaces and parentheses: fields follow the last ')'.
  const qsizetype close = line.lastIndexOf(')');
  if (close < 0) return {};
  const QList<QByteArray> fields = line.mid(close + 2).split(' ');
  // Field 22 overall is the 20th after the name and state.
  return fields.size() > 19 ? QString::fromLatin1(fields[19]) : QString();
}

bool IsRunning(const QString& Key) {
  const qsizetype dash = Key.indexOf(QLatin1Char('-'));
  if (dash <= 0) return false;
  bool ok = false;
  const qint64 pid = Key.left(dash).toLongLong(&ok);
  return ok && StartTimeOf(pid) == Key.mid(dash + 1);
}

}  // namespace

QString ProcessKey(qint64 Pid) { return QStringLiteral("%1-%2").arg(Pid).arg(StartTimeOf(Pid)); }

TRecoveryStore::TRecoveryStore(QString Folder) : fFolder(std::move(Folder)), fOwnKey(ProcessKey(getpid())) {}

QString TRecoveryStore::DefaultFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery");
}

QString TRecoveryStore::DocumentPath(const QString& Key) const {
  return fFolder + QLatin1Char('/') + Key + DocumentSuffix;
}

QString TRecoveryStore::InfoPath(const QString& Key) const { return fFolder + QLatin1Char('/') + Key + InfoSuffix; }

void TRecoveryStore::Write(const QByteArray& Document, const QString& DocumentName) {
  QDir().mkpath(fFolder);
  // The document first: an information file always has its document.
  WriteFileAtomically(DocumentPath(fOwnKey), Document);
  const QJsonObject info{{QStringLiteral("document"), DocumentName},
                         {QStringLiteral("written"), QDateTime::currentDateTimeUtc().toString(Qt::ISODate)}};
  WriteFileAtomically(InfoPath(fOwnKey), QJsonDocument(info).toJson());
}

void TRecoveryStore::Remove() {
  QFile::remove(InfoPath(fOwnKey));
  QFile::remove(DocumentPath(fOwnKey));
}

bool TRecoveryStore::HasCopy() const { return QFile::exists(InfoPath(fOwnKey)); }

std::vector<TRecoveryStore::TOrphan> TRecoveryStore::FindOrphans() const {
  std::vector<TOrphan> orphans;
  const QStringList infos = QDir(fFolder).entryList({QStringLiteral("*") + InfoSuffix}, QDir::Files);
  for (const QString& name : infos) {
    const QString key = name.chopped(InfoSuffix.size());
    if (key == fOwnKey || IsRunning(key) || !QFile::exists(DocumentPath(key))) continue;
    QFile file(InfoPath(key));
    if (!file.open(QIODevice::ReadOnly)) continue;
    const QJsonObject info = QJsonDocument::fromJson(file.readAll()).object();
    orphans.push_back({key, info.value(QStringLiteral("document")).toString(),
                       QDateTime::fromString(info.value(QStringLiteral("written")).toString(), Qt::ISODate)});
  }
  std::sort(orphans.begin(), orphans.end(), [](const TOrphan& A, const TOrphan& B) { return A.Written > B.Written; });
  return orphans;
}

bool TRecoveryStore::Claim(const TOrphan& Orphan, QByteArray& Document) {
  // Renaming is atomic: of two designers claiming one copy, one wins.
  const QString claimed = fFolder + QStringLiteral("/claimed-") + fOwnKey + DocumentSuffix;
  if (!QFile::rename(DocumentPath(Orphan.Key), claimed)) return false;
  QFile file(claimed);
  const bool read = file.open(QIODevice::ReadOnly);
  if (read) Document = file.readAll();
  file.close();
  QFile::remove(claimed);
  QFile::remove(InfoPath(Orphan.Key));
  return read;
}

void TRecoveryStore::Discard(const TOrphan& Orphan) {
  QFile::remove(DocumentPath(Orphan.Key));
  QFile::remove(InfoPath(Orphan.Key));
}
