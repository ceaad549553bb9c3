// kvftool export IN OUT: the plan as a picture, chosen by OUT's extension —
// .jpg/.jpeg the designer's JPEG export, .bmp its bitmap export, .png the
// same pixels, .svg the metafile form, .pdf the printed pages on A4
// (fitted, or at the scale --scale 1:N gives).
#include <QFileInfo>
#include <cstdio>
#include <functional>
#include <optional>

#include "DesignerTitle.h"
#include "Exceptions.h"
#include "GraphEditor.h"
#include "KvfTool.h"
#include "Picture.h"
#include "PlanExport.h"

namespace {

void SaveAsPng(TGraphEditor& Graph, const QString& FileName) {
  std::unique_ptr<TBitmap> bitmap = Graph.GetAsBitmap(Graph.Objects());
  WritePngFile(bitmap->ToImage(), FileName);
}

// The scale "--scale 1:N" after IN OUT asks for (0 without it); nothing
// for anything else.
std::optional<int> ExportScale(const QStringList& Arguments, const QString& Type) {
  if (Arguments.size() == 2) return 0;
  if (Arguments.size() != 4 || Arguments[2] != QLatin1String("--scale") || Type != QLatin1String("pdf"))
    return std::nullopt;
  return ParsePrintScale(Arguments[3]);
}

}  // namespace

int RunExport(const QStringList& Arguments) {
  const QString& out = Arguments[1];
  const QString type = QFileInfo(out).suffix().toLower();
  std::function<void(TGraphEditor&, const QString&)> save;
  TPrintOptions pdf;
  if (type == QLatin1String("jpg") || type == QLatin1String("jpeg"))
    save = SaveAsJpeg;
  else if (type == QLatin1String("bmp"))
    save = [](TGraphEditor& Graph, const QString& FileName) { Graph.SaveAsBitmap(FileName); };
  else if (type == QLatin1String("png"))
    save = SaveAsPng;
  else if (type == QLatin1String("svg"))
    save = [](TGraphEditor& Graph, const QString& FileName) { Graph.SaveAsMetafile(FileName); };
  else if (type == QLatin1String("pdf"))
    save = [&pdf](TGraphEditor& Graph, const QString& FileName) { SavePlanAsPdf(Graph, FileName, pdf, DesignerTitle); };
  if (!save) {
    std::fputs("kvftool: OUT must end in .jpg, .jpeg, .bmp, .png, .svg or .pdf\n", stderr);
    return 2;
  }
  const std::optional<int> scale = ExportScale(Arguments, type);
  if (!scale) {
    std::fputs("kvftool: --scale takes 1:20, 1:50, 1:100, 1:200 or fit, for a .pdf OUT\n", stderr);
    return 2;
  }
  pdf = {*scale, QFileInfo(Arguments[0]).completeBaseName(), QFileInfo(Arguments[0]).lastModified()};
  auto graph = NewDocumentGraph();
  graph->LoadFromFile(Arguments[0]);
  // The designer offers no export of an empty plan: there is no picture.
  if (graph->Objects().Count() == 0) throw Exception(QStringLiteral("The plan is empty: nothing to export"));
  save(*graph, out);
  return 0;
}
