// The plan as a picture file and on paper, shared by the designer's
// commands and kvftool so both give the same result: the JPEG export
// (baseline, colour, quality 90, full size) and the printed page (the plan
// scaled into the page less a margin, as one job).
#pragma once

#include <QString>

#include "PrintLayout.h"
#include "Types.h"

class QPagedPaintDevice;
class QPrinter;
class TCanvas;
class TGraphEditor;

inline constexpr int ExportJpegQuality = 90;
// Printer pixels left blank on each side of the page.
inline constexpr int PrintPageMargin = 50;

// The whole plan at 100 %, whatever the zoom, as a JPEG file under
// FileName, whatever its extension. Raises the file error when it cannot
// be written, keeping the file that was there.
void SaveAsJpeg(TGraphEditor& Graph, const QString& FileName);

// The rectangle a page of the given size in device pixels prints into.
TRect PrintArea(int PageWidth, int PageHeight);

// Draws the whole plan on a page of the given size, scaled uniformly into
// PrintArea and centred there.
void PrintPage(TGraphEditor& Graph, TCanvas& Canvas, int PageWidth, int PageHeight);

// Prints the plan as one job named Title on Printer's pages, fitted or to
// scale as Options say (PrintLayout). The job ends also when printing
// fails; a printer that cannot start the job raises.
void PrintPlan(TGraphEditor& Graph, QPrinter& Printer, const QString& Title, const TPrintOptions& Options = {});
