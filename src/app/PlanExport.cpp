#include "PlanExport.h"

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

TRect PrintArea(int PageWidth, int PageHeight) {
  return {PrintPageMargin, PrintPageMargin, PageWidth - PrintPageMargin, PageHeight - PrintPageMargin};
}

void PrintPage(TGraphEditor& Graph, TCanvas& Canvas, int PageWidth, int PageHeight) {
  const TRect area = PrintArea(PageWidth, PageHeight);
  // A page too small for its margins has nowhere to print.
  if (area.IsEmpty()) return;
  Graph.Print(Canvas, area);
}

void PrintPlan(TGraphEditor& Graph, QPrinter& Printer, const QString& Title, const TPrintOptions& Options) {
  Printer.setDocName(Title);
  PrintPages(Graph, Printer, Options);
}
