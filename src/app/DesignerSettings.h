// What the designer remembers between runs, kept with QSettings in the
// user's configuration folder: the recent plans and the window's state.
#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

// The designer's settings store.
std::unique_ptr<QSettings> DesignerSettings();

// The plans last opened or saved, newest first, at most MaxCount.
class TRecentFiles {
 public:
  static constexpr int MaxCount = 8;

  static QStringList Load();
  // Puts FileName first (once), dropping the oldest beyond MaxCount.
  static void Add(const QString& FileName);
  static void Remove(const QString& FileName);
};
