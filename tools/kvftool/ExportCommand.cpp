// kvftool export IN OUT: the plan as a picture, chosen by OUT's extension —
// .jpg/.jpeg the designer's JPEG export, .bmp its bitmap export, .png the
// same pixels, .svg the metafile form, .pdf the printed page on A4.
#include <QFileInfo>
#include <cstdio>

#include "Exceptions.h"
#include "GraphEditor.h"
#include "KvfTool.h"
#include "Picture.h"
#include "PlanExport.h"
#include "Startup.h"

namespace {

void SaveAsPng(TGraphEditor& Graph, const QString& FileName) {
  std::unique_ptr<TBitmap> bitmap = Graph.GetAsBitmap(Graph.Objects());
  WritePngFile(bitmap->ToImage(), FileName);
}

void SaveAsPdfPage(TGraphEditor& Graph, const QString& FileName) { SaveAsPdf(Graph, FileName, DesignerTitle); }

}  // namespace

int RunExport(const QStringList& Arguments) {
  const QString& out = Arguments[1];
  const QString type = QFileInfo(out).suffix().toLower();
  void (*save)(TGraphEditor&, const QString&) = nullptr;
  if (type == QLatin1String("jpg") || type == QLatin1String("jpeg"))
    save = SaveAsJpeg;
  else if (type == QLatin1String("bmp"))
    save = [](TGraphEditor& Graph, const QString& FileName) { Graph.SaveAsBitmap(FileName); };
  else if (type == QLatin1String("png"))
    save = SaveAsPng;
  else if (type == QLatin1String("svg"))
    save = [](TGraphEditor& Graph, const QString& FileName) { Graph.SaveAsMetafile(FileName); };
  else if (type == QLatin1String("pdf"))
    save = SaveAsPdfPage;
  if (!save) {
    std::fputs("kvftool: OUT must end in .jpg, .jpeg, .bmp, .png, .svg or .pdf\n", stderr);
    return 2;
  }
  auto graph = NewDocumentGraph();
  graph->LoadFromFile(Arguments[0]);
  // The designer offers no export of an empty plan: there is no picture.
  if (graph->Objects().Count() == 0) throw Exception(QStringLiteral("The plan is empty: nothing to export"));
  save(*graph, out);
  return 0;
}
