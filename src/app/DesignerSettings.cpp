#include "DesignerSettings.h"

#include <QFileInfo>

namespace {

const QString RecentFilesKey = QStringLiteral("RecentFiles");

QString Absolute(const QString& FileName) { return QFileInfo(FileName).absoluteFilePath(); }

void Store(const QStringList& Files) { DesignerSettings()->setValue(RecentFilesKey, Files); }

}  // namespace

std::unique_ptr<QSettings> DesignerSettings() {
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("huxing"),
                                     QStringLiteral("designer"));
}

QStringList TRecentFiles::Load() {
  QStringList files = DesignerSettings()->value(RecentFilesKey).toStringList();
  files.removeAll(QString());
  files.removeDuplicates();
  while (files.size() > MaxCount) files.removeLast();
  return files;
}

void TRecentFiles::Add(const QString& FileName) {
  const QString file = Absolute(FileName);
  QStringList files = Load();
  files.removeAll(file);
  files.prepend(file);
  while (files.size() > MaxCount) files.removeLast();
  Store(files);
}

void TRecentFiles::Remove(const QString& FileName) {
  QStringList files = Load();
  files.removeAll(Absolute(FileName));
  Store(files);
}
