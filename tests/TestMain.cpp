// Runs every test inside a Qt application on the offscreen platform, so
// widgets, fonts and painting behave as in the program without a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Settings and recovery copies of the tests' own, never the user's.
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
  qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
  // The program's own language, whatever the developer's desktop prefers;
  // the English tests choose English themselves.
  qunsetenv("LANGUAGE");
  qputenv("LC_ALL", "C.UTF-8");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
