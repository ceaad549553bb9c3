#include <QBuffer>
#include <QImage>

#include "AtomicFile.h"
#include "Exceptions.h"
#include "GraphEditor.h"
#include "KvfTool.h"
#include "PlanObjects.h"

std::unique_ptr<TGraphEditor> NewDocumentGraph() {
  // Designer documents hold the plan classes besides the built-in ones.
  static const bool registered = [] {
    RegisterPlanClasses();
    return true;
  }();
  (void)registered;
  return std::make_unique<TGraphEditor>();
}

void WritePngFile(const QImage& Image, const QString& FileName) {
  // Encoded in memory first, so the file is written like any other save.
  QBuffer png;
  png.open(QIODevice::WriteOnly);
  if (!Image.save(&png, "PNG")) throw EWriteError(QStringLiteral("Stream write error"));
  WriteFileAtomically(FileName, png.data());
}
