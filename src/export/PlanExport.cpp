#include "PlanExport.h"

#include <QPrinter>

#include "AtomicFile.h"
#include "GraphEditor.h"
#include "JpegCodec.h"
#include "Picture.h"

void SaveAsJpeg(TGraphEditor& Graph, const QString& FileName) {
  std::unique_ptr<TBitmap> bitmap = Graph.GetAsBitmap(Graph.Objects());
  WriteFileAtomically(FileName, EncodeJpeg(bitmap->ToImage(), ExportJpegQuality));
}

void PrintPlan(TGraphEditor& Graph, QPrinter& Printer, const QString& Title, const TPrintOptions& Options) {
  Printer.setDocName(Title);
  PrintPages(Graph, Printer, Options);
}
