// kvftool thumbnail -s SIZE IN OUT: the plan's picture scaled to fit a
// SIZE × SIZE square, keeping its aspect, as a PNG file; what the desktop's
// file managers call through the thumbnailer entry.
#include <QImage>
#include <cstdio>

#include "Exceptions.h"
#include "GraphEditor.h"
#include "KvfTool.h"
#include "Picture.h"

namespace {

// Well beyond what a file manager asks for (at most 1024).
constexpr int kLargestThumbnail = 4096;

}  // namespace

int RunThumbnail(const QStringList& Arguments) {
  bool isNumber = false;
  const int size = Arguments[1].toInt(&isNumber);
  if (Arguments[0] != QLatin1String("-s") || !isNumber || size < 1 || size > kLargestThumbnail) {
    std::fprintf(stderr, "kvftool: SIZE must be a whole number from 1 to %d, after -s\n", kLargestThumbnail);
    return 2;
  }
  auto graph = NewDocumentGraph();
  graph->LoadFromFile(Arguments[2]);
  if (graph->Objects().Count() == 0) throw Exception(QStringLiteral("The plan is empty: nothing to export"));
  const QImage picture = graph->GetAsBitmap(graph->Objects())->ToImage();
  WritePngFile(picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation), Arguments[3]);
  return 0;
}
