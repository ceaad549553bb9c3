// The designer's command line as a user meets it (--help, --version, wrong
// options), and Qt's own texts in the user's language.
#include <QAbstractButton>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTranslator>

#include "AppTestSupport.h"
#include "Translations.h"

namespace {

struct TRun {
  int Status = -1;
  QString Out;
  QString Err;
};

// Runs the built designer, which must end by itself.
TRun Huxing(const QStringList& Arguments, const QProcessEnvironment& Environment) {
  QProcess process;
  process.setProcessEnvironment(Environment);
  process.start(BinDir() + QStringLiteral("/huxing"), Arguments);
  TRun run;
  if (!process.waitForFinished(30000)) {
    process.kill();
    process.waitForFinished();
    ADD_FAILURE() << "huxing did not end: " << Arguments.join(QLatin1Char(' ')).toStdString();
    return run;
  }
  run.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
  run.Out = QString::fromUtf8(process.readAllStandardOutput());
  run.Err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

// No screen at all, and English unless asked otherwise: the answers to
// --help and --version need no window.
QProcessEnvironment NoScreen() {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "LANGUAGE", "LC_MESSAGES"})
    env.remove(QString::fromLatin1(name));
  env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
  env.insert(QStringLiteral("PLANTRACE_AUTOSTART"), QStringLiteral("0"));
  return env;
}

TEST(CommandLine, VersionIsTheProjectsAndNeedsNoScreen) {
  for (const char* option : {"--version", "-v"}) {
    const TRun run = Huxing({QString::fromLatin1(option)}, NoScreen());
    EXPECT_EQ(run.Status, 0) << option << ": " << run.Err.toStdString();
    EXPECT_EQ(run.Out, QLatin1String("huxing " HUXING_VERSION "\n")) << option;
  }
}

TEST(CommandLine, HelpDescribesTheProgramItsOptionsAndTheDocument) {
  for (const char* option : {"--help", "-h"}) {
    const TRun run = Huxing({QString::fromLatin1(option)}, NoScreen());
    EXPECT_EQ(run.Status, 0) << option << ": " << run.Err.toStdString();
    for (const char* text : {"huxing", "户型图设计器", "--version", "--help", "[文件]", "启动时打开的户型图"})
      EXPECT_TRUE(run.Out.contains(QString::fromUtf8(text))) << text << " in\n" << run.Out.toStdString();
  }
  // In a Chinese session Qt's own parts of the help are Chinese too.
  QProcessEnvironment chinese = NoScreen();
  chinese.insert(QStringLiteral("LC_ALL"), QStringLiteral("zh_CN.UTF-8"));
  const TRun english = Huxing({QStringLiteral("--help")}, NoScreen());
  const TRun run = Huxing({QStringLiteral("--help")}, chinese);
  EXPECT_EQ(run.Status, 0);
  EXPECT_TRUE(english.Out.contains(QStringLiteral("Displays version information.")));
  EXPECT_FALSE(run.Out.contains(QStringLiteral("Displays version information."))) << run.Out.toStdString();
  EXPECT_TRUE(run.Out.contains(QStringLiteral("户型图设计器")));
}

TEST(CommandLine, AnUnknownOptionIsReportedAndOpensNoWindow) {
  QProcessEnvironment env = NoScreen();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  const TRun run = Huxing({QStringLiteral("--bogus")}, env);
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(run.Err.contains(QStringLiteral("bogus"))) << run.Err.toStdString();
  EXPECT_TRUE(run.Out.isEmpty());
}

// Makes Locale the default and loads Qt's translations for it.
bool UseLocale(const QLocale& Locale) {
  QLocale::setDefault(Locale);
  return LoadQtTranslations();
}

// Puts the default locale and its translations back when it goes.
class TLocaleRestorer {
 public:
  ~TLocaleRestorer() { UseLocale(fSaved); }

 private:
  QLocale fSaved;
};

// The Yes, No and Cancel buttons' texts of a message box, joined by "|".
QString ButtonTexts() {
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  return box.button(QMessageBox::Yes)->text() + QLatin1Char('|') + box.button(QMessageBox::No)->text() +
         QLatin1Char('|') + box.button(QMessageBox::Cancel)->text();
}

TEST(QtTranslations, MessageBoxButtonsFollowTheLocale) {
  const TLocaleRestorer restore;
  ASSERT_TRUE(UseLocale(QLocale(QLocale::Chinese, QLocale::China)))
      << "qtbase_zh_CN.qm missing (scripts/setup.sh installs qt6-translations-l10n)";
  const QStringList texts = ButtonTexts().split(QLatin1Char('|'));
  ASSERT_EQ(texts.size(), 3);
  EXPECT_TRUE(texts[0].contains(QStringLiteral("是"))) << texts[0].toStdString();
  EXPECT_TRUE(texts[1].contains(QStringLiteral("否"))) << texts[1].toStdString();
  EXPECT_TRUE(texts[2].contains(QStringLiteral("取消"))) << texts[2].toStdString();
  // Loading again replaces the translation rather than stacking another.
  EXPECT_TRUE(UseLocale(QLocale(QLocale::Chinese, QLocale::China)));
  EXPECT_EQ(QCoreApplication::instance()->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly).size(), 1);

  // Back in English the Chinese texts are gone.
  UseLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(ButtonTexts(), QStringLiteral("&Yes|&No|Cancel"));
}

}  // namespace
