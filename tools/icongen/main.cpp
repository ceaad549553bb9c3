// icongen: draws the application icon into a hicolor theme folder at build
// time, for installing with the program.
//
//   icongen DIR      writes DIR/<N>x<N>/apps/huxing.png and
//                    DIR/scalable/apps/huxing.svg
#include <QGuiApplication>
#include <cstdio>

#include "DesktopIcons.h"
#include "Exceptions.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: icongen DIR\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  try {
    WriteDesktopIcons(QString::fromLocal8Bit(argv[1]));
  } catch (const Exception& e) {
    std::fprintf(stderr, "icongen: %s\n", e.Message().toLocal8Bit().constData());
    return 1;
  }
  return 0;
}
