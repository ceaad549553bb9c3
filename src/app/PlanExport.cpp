#include "PlanExport.h"

#include <QPdfWriter>
#include <QPrinter>

#include "AtomicFile.h"
#include "Canvas.h"
#include "Exceptions.h"
#include "GraphEditor.h"
#include "JpegCodec.h"
#include "Picture.h"

void SaveAsJpeg(TGraphEditor& Graph, const QString& FileName) {
  std::unique_ptr<TBitmap> bitmap = Graph.GetAsBitmap(Graph.Objects());
  WriteFileAtomically(FileName, EncodeJpeg(bitmap->ToImage(), ExportJpegQuality));
}

void SaveAsPdf(TGraphEditor& Graph, const QString& FileName, const QString& Title) {
  // The page and resolution a PDF printer would use, so the file is what
  // printing to a file gives.
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  TAtomicFile file(FileName);
  {
    QPdfWriter pdf(&file.Device());
    pdf.setTitle(Title);
    pdf.setResolution(printer.resolution());
    pdf.setPageLayout(printer.pageLayout());
    PrintOn(Graph, pdf);
  }
  // The writer ignores failed writes; the file remembers them.
  file.Commit();
}

TRect PrintArea(int PageWidth, int PageHeight) {
  return {PrintPageMargin, PrintPageMargin, PageWidth - PrintPageMargin, PageHeight - PrintPageMargin};
}

void PrintPage(TGraphEditor& Graph, TCanvas& Canvas, int PageWidth, int PageHeight) {
  const TRect area = PrintArea(PageWidth, PageHeight);
  // A page too small for its margins has nowhere to print.
  if (area.IsEmpty()) return;
  Graph.Print(Canvas, area);
}

void PrintPlan(TGraphEditor& Graph, QPrinter& Printer, const QString& Title) {
  Printer.setDocName(Title);
  PrintOn(Graph, Printer);
}

void PrintOn(TGraphEditor& Graph, QPagedPaintDevice& Device) {
  TCanvas canvas(&Device, TCanvasKind::Printer);
  if (!canvas.Painter()->isActive()) throw Exception(QStringLiteral("The printer cannot start printing"));
  // The canvas ends the job when it goes, also after a failure.
  PrintPage(Graph, canvas, Device.width(), Device.height());
}
