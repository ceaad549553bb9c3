#include "Startup.h"

#include <QApplication>
#include <QFileInfo>

#include "DesignerTrace.h"
#include "MainForm.h"
#include "PlanObjects.h"
#include "Updater.h"

QString AppDir;
QString FileToLoad;
QString ApplicationTitle;

std::unique_ptr<THouseDesigner> StartDesigner(const QString& ExecutablePath, const QStringList& Arguments) {
  AppDir = QFileInfo(ExecutablePath).absolutePath() + QLatin1Char('/');
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
