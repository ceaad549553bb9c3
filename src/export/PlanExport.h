// The plan as a picture file and on paper, shared by the designer's
// commands and kvftool so both give the same result: the JPEG export
// (baseline, colour, quality 90, full size) and the printed pages (fitted
// or to scale, as one job).
#pragma once

#include <QString>

#include "PrintLayout.h"

class QPrinter;
class TGraphEditor;

inline constexpr int ExportJpegQuality = 90;

// The whole plan at 100 %, whatever the zoom, as a JPEG file under
// FileName, whatever its extension. Raises the file error when it cannot
// be written, keeping the file that was there.
void SaveAsJpeg(TGraphEditor& Graph, const QString& FileName);

// Prints the plan as one job named Title on Printer's pages, fitted or to
// scale as Options say (PrintLayout). The job ends also when printing
// fails; a printer that cannot start the job raises.
void PrintPlan(TGraphEditor& Graph, QPrinter& Printer, const QString& Title, const TPrintOptions& Options = {});
