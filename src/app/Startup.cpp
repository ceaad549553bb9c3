#include "Startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <cstring>

#include "DesignerTrace.h"
#include "MainForm.h"
#include "PlanObjects.h"
#include "Translations.h"
#include "Updater.h"

QString AppDir;
QString DataDir;
QString FileToLoad;
QString ApplicationTitle;

namespace {

// Names the user's data folder (recovery copies), whatever the executable,
// and what --version prints. Needs no application object.
void SetProgramIdentity() {
  QCoreApplication::setApplicationName(QStringLiteral("huxing"));
  QCoreApplication::setApplicationVersion(QLatin1String(HUXING_VERSION));
}

void DescribeCommandLine(QCommandLineParser& Parser) {
  Parser.setApplicationDescription(
      QCoreApplication::translate("THouseDesigner", "户型图设计器：绘制住宅的户型图，保存为 .kvf 文档。"));
  Parser.addHelpOption();
  Parser.addVersionOption();
  Parser.addPositionalArgument(QCoreApplication::translate("THouseDesigner", "文件"),
                               QCoreApplication::translate("THouseDesigner", "启动时打开的户型图（.kvf）"),
                               QCoreApplication::translate("THouseDesigner", "[文件]"));
}

// Whether the command line asks only for the help or the version, which
// are answered without a screen.
bool AsksForInformation(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) return false;
    for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
      if (std::strcmp(argv[i], option) == 0) return true;
  }
  return false;
}

}  // namespace

QString DataDirFor(const QString& AppDirectory) {
  const QString meta = QStringLiteral("meta");
  if (QFileInfo(AppDirectory + meta).isDir()) return AppDirectory;
  // The relative path from the installed bin folder to the data folder,
  // as configured (GNUInstallDirs).
  const QString installed = QDir::cleanPath(AppDirectory + QString::fromUtf8(HUXING_DATA_FROM_BIN)) + QLatin1Char('/');
  if (QFileInfo(installed + meta).isDir()) return installed;
  return AppDirectory;
}

std::unique_ptr<THouseDesigner> StartDesigner(const QString& ExecutablePath, const QStringList& Arguments) {
  AppDir = QFileInfo(ExecutablePath).absolutePath() + QLatin1Char('/');
  DataDir = DataDirFor(AppDir);
  SetProgramIdentity();
  // Before the first text is made.
  LoadInterfaceTranslations(DataDir);
  // Documents name their objects' classes: the plan's must be known before
  // anything is loaded.
  RegisterPlanClasses();
  // Each top-level window has its own task bar entry here; only the title
  // needs setting.
  ApplicationTitle = QCoreApplication::translate("THouseDesigner", "户型图设计器");
  const QString firstArgument = Arguments.value(0);
  DesignerDebugger().LogMsg(QStringLiteral("LoadFile: ") + firstArgument);
  FileToLoad = firstArgument;
  auto window = std::make_unique<THouseDesigner>();
  RefreshAndLaunchUpdater(AppDir);
  return window;
}

int RunDesigner(int argc, char** argv) {
  SetProgramIdentity();
  if (AsksForInformation(argc, argv)) {
    QCoreApplication application(argc, argv);
    LoadQtTranslations();
    LoadInterfaceTranslations(DataDirFor(QCoreApplication::applicationDirPath() + QLatin1Char('/')));
    QCommandLineParser parser;
    DescribeCommandLine(parser);
    parser.process(application);  // prints and ends the program
    return 0;
  }
  QApplication application(argc, argv);
  LoadQtTranslations();
  LoadInterfaceTranslations(DataDirFor(QCoreApplication::applicationDirPath() + QLatin1Char('/')));
  QCommandLineParser parser;
  DescribeCommandLine(parser);
  parser.process(application);  // an unknown option is reported and ends the program
  std::unique_ptr<THouseDesigner> window =
      StartDesigner(QCoreApplication::applicationFilePath(), parser.positionalArguments());
  window->RestoreWindowState();
  window->show();
  window->WatchEndingSignals();
  window->OfferRecovery();
  return QApplication::exec();
}
