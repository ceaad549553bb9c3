#include "Updater.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <filesystem>

#include "DesignerTrace.h"

bool CopyFileOverwriting(const QString& Source, const QString& Target) {
  if (!QFileInfo(Source).isFile()) return false;
  std::error_code error;
  return std::filesystem::copy_file(Source.toStdString(), Target.toStdString(),
                                    std::filesystem::copy_options::overwrite_existing, error);
}

bool LaunchDetached(const QString& Program, const QString& Parameters) {
  if (!QFileInfo(Program).isFile()) return false;
  return QProcess::startDetached(Program, QProcess::splitCommand(Parameters));
}

void RefreshAndLaunchUpdater(const QString& AppDirectory) {
  // An installed program ships no updater: its bin folder (/usr/bin) gets
  // no "setup" folder of ours.
  const bool shipsUpdater = QFileInfo::exists(AppDirectory + QStringLiteral("AutoUpdate")) ||
                            QFileInfo::exists(AppDirectory + QStringLiteral("Update.ini"));
  if (shipsUpdater) QDir().mkpath(AppDirectory + QStringLiteral("setup"));
  CopyFileOverwriting(AppDirectory + QStringLiteral("AutoUpdate"), AppDirectory + QStringLiteral("setup/AutoUpdate"));
  CopyFileOverwriting(AppDirectory + QStringLiteral("Update.ini"), AppDirectory + QStringLiteral("setup/Update.ini"));
  const QString program = AppDirectory + QStringLiteral("setup/AutoUpdate");
  const QString settings = AppDirectory + QStringLiteral("setup/Update.ini");
  DesignerDebugger().LogMsg(QStringLiteral("ShellExecute: cmd=") + program + QStringLiteral(" params=") + settings);
  LaunchDetached(program, QLatin1Char('"') + settings + QLatin1Char('"'));
}
