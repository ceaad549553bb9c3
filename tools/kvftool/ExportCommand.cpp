// kvftool export IN OUT: the plan as a picture, chosen by OUT's extension —
// .jpg/.jpeg the designer's JPEG export, .bmp its bitmap export, .png the
// same pixels, .svg the metafile form, .pdf the printed pages on A4
// (fitted, or at the scale --scale 1:N gives).
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <cstdio>
#include <optional>

#include "Exceptions.h"
#include "GraphEditor.h"
#include "KvfTool.h"
#include "Picture.h"
#include "PlanExport.h"
#include "Startup.h"
#include "Stream.h"

namespace {

void SaveAsPng(TGraphEditor& Graph, const QString& FileName) {
  std::unique_ptr<TBitmap> bitmap = Graph.GetAsBitmap(Graph.Objects());
  WritePngFile(bitmap->ToImage(), FileName);
}

TPrintOptions PdfOptions;

// The Print command's pages, on A4 paper, into a PDF file.
void SaveAsPdf(TGraphEditor& Graph, const QString& FileName) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setOutputFileName(FileName);
  PrintPlan(Graph, printer, DesignerTitle, PdfOptions);
}

// "--scale 1:N" after IN OUT; false for anything else.
bool ParseExportOptions(const QStringList& Arguments, const QString& Type) {
  if (Arguments.size() == 2) return true;
  if (Arguments.size() != 4 || Arguments[2] != QLatin1String("--scale") || Type != QLatin1String("pdf")) return false;
  const std::optional<int> scale = ParsePrintScale(Arguments[3]);
  if (!scale) return false;
  PdfOptions.Scale = *scale;
  return true;
}

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
    save = SaveAsPdf;
  if (!save) {
    std::fputs("kvftool: OUT must end in .jpg, .jpeg, .bmp, .png, .svg or .pdf\n", stderr);
    return 2;
  }
  if (!ParseExportOptions(Arguments, type)) {
    std::fputs("kvftool: --scale takes 1:20, 1:50, 1:100, 1:200 or fit, for a .pdf OUT\n", stderr);
    return 2;
  }
  auto graph = NewDocumentGraph();
  graph->LoadFromFile(Arguments[0]);
  PdfOptions.DocumentName = QFileInfo(Arguments[0]).completeBaseName();
  PdfOptions.Date = QFileInfo(Arguments[0]).lastModified();
  // The designer offers no export of an empty plan: there is no picture.
  if (graph->Objects().Count() == 0) throw Exception(QStringLiteral("The plan is empty: nothing to export"));
  save(*graph, out);
  return 0;
}
