// metagen: draws the palette's pictures into the program's "meta" folder at
// build time, and on request a contact sheet of all the program's pictures.
//
//   metagen --out DIR            writes DIR/C_I.bmp for every palette symbol
//   metagen --sheet FILE [N]     writes a PNG contact sheet, symbols N× (default 2)
#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "BmpWriter.h"
#include "ContactSheet.h"
#include "PlanSymbols.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: metagen --out DIR | --sheet FILE [SCALE]\n");
  return 2;
}

int WritePictures(const QString& folder) {
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "metagen: cannot create %s\n", qPrintable(folder));
    return 1;
  }
  for (int c = SymbolFirstCategory; c <= SymbolLastCategory; ++c) {
    for (int i = 0; i < SymbolCount(c); ++i) {
      SavePaletteBmp(RenderPalettePicture(c, i), QStringLiteral("%1/%2_%3.bmp").arg(folder).arg(c).arg(i));
    }
  }
  return 0;
}

int WriteSheet(int argc, char** argv, const QString& path, int scale) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (!RenderContactSheet(scale).save(path, "PNG")) {
    std::fprintf(stderr, "metagen: cannot write %s\n", qPrintable(path));
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  try {
    const QString target = QString::fromLocal8Bit(argv[2]);
    if (std::strcmp(argv[1], "--out") == 0) return WritePictures(target);
    if (std::strcmp(argv[1], "--sheet") == 0) return WriteSheet(argc, argv, target, argc > 3 ? std::atoi(argv[3]) : 2);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "metagen: %s\n", e.what());
    return 1;
  }
  return Usage();
}
