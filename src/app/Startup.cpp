#include "Startup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "DesignerTrace.h"
#include "MainForm.h"
#include "PlanObjects.h"
#include "Updater.h"

QString AppDir;
QString DataDir;
QString FileToLoad;
QString ApplicationTitle;

QString DataDirFor(const QString& AppDirectory) {
  const QString meta = QStringLiteral("meta");
  if (QFileInfo(AppDirectory + meta).isDir()) return AppDirectory;
  // The relative path from the installed bin folder to the data folder,
  // as configured (GNUInstallDirs).
  const QString installed =
      QDir::cleanPath(AppDirectory + QString::fromUtf8(HUXING_DATA_FROM_BIN)) + QLatin1Char('/');
  if (QFileInfo(installed + meta).isDir()) return installed;
  return AppDirectory;
}

std::unique_ptr<THouseDesigner> StartDesigner(const QString& ExecutablePath, const QStringList& Arguments) {
  AppDir = QFileInfo(ExecutablePath).absolutePath() + QLatin1Char('/');
  DataDir = DataDirFor(AppDir);
  // Names the user's data folder (recovery copies), whatever the executable.
  QCoreApplication::setApplicationName(QStringLiteral("huxing"));
  // Documents name their objects' classes: the plan's must be known before
  // anything is loaded.
  RegisterPlanClasses();
  // Each top-level window has its own task bar entry here; only the title
  // needs setting.
  ApplicationTitle = DesignerTitle;
  const QString firstArgument = Arguments.value(0);
  DesignerDebugger().LogMsg(QStringLiteral("LoadFile: ") + firstArgument);
  FileToLoad = firstArgument;
  auto window = std::make_unique<THouseDesigner>();
  RefreshAndLaunchUpdater(AppDir);
  return window;
}

int RunDesigner(int argc, char** argv) {
  QApplication application(argc, argv);
  QStringList arguments = QCoreApplication::arguments();
  arguments.removeFirst();
  std::unique_ptr<THouseDesigner> window = StartDesigner(QCoreApplication::applicationFilePath(), arguments);
  window->RestoreWindowState();
  window->show();
  window->WatchEndingSignals();
  window->OfferRecovery();
  return QApplication::exec();
}
