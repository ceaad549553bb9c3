// The printed plan's pages: fitted to the page, or at a drafting scale
// (1:20 … 1:200, one plan pixel being 2 cm) tiled over as many pages as
// it takes, each page with its place in the order, a scale bar in metres
// and a footer with the document's name and date.
#pragma once

#include <QDateTime>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

#include "Types.h"

class QPagedPaintDevice;
class QPainter;
class QPrinter;
class TCanvas;
class TGraphEditor;

// Millimetres of paper one plan pixel stands for at 1:1 (2 cm).
inline constexpr int PlanPixelMillimetres = 20;
// The scales offered besides fitting to the page (their denominators).
inline constexpr int PrintScales[] = {20, 50, 100, 200};

struct TPrintOptions {
  int Scale = 0;  // 1:Scale; 0 fits the plan to the page
  QString DocumentName;
  QDateTime Date;
};

// "1:100" (or "100") as 100 when it is one of PrintScales, "fit" as 0;
// nothing for anything else.
std::optional<int> ParsePrintScale(const QString& Text);
// The scale as shown: "1:100", or 适合页面 for 0.
QString PrintScaleText(int Scale);

// One page of a tiled plan: the plan area it shows (graph pixels) and its
// place in the grid of pages, counted from 0.
struct TPrintTile {
  TRect Plan;
  int Row = 0, Column = 0;
};

// How a plan goes onto pages of one size.
struct TPrintLayout {
  QRect Content;         // device pixels of a page the plan may use
  QRect Footer;          // device pixels of the footer band below it
  double DotsPerMm = 0;  // device pixels per millimetre of paper
  int Rows = 1, Columns = 1;
  std::vector<TPrintTile> Tiles;  // row by row, left to right
};

// The layout of Bounds (graph pixels) at Options.Scale on pages of
// PageWidth × PageHeight device pixels at Resolution dots per inch.
TPrintLayout LayOutPrint(const TRect& Bounds, int Scale, int PageWidth, int PageHeight, int Resolution);

// Paper millimetres per metre of the plan at a scale (10 at 1:100).
double MillimetresPerMetre(int Scale);

// A scale bar's length in whole metres for a scale given as paper
// millimetres per metre: the longest of 1, 2, 5, 10, 20, 50, 100 metres
// that stays within MaxMm, at least 1.
int ScaleBarMetres(double MmPerMetre, double MaxMm);

// Draws the plan area of Tile on Canvas, into Layout.Content, at Scale.
void PrintTile(TGraphEditor& Graph, TCanvas& Canvas, const TPrintLayout& Layout, const TPrintTile& Tile, int Scale);

// Draws a page's footer: scale bar, document name and date, page order.
// MmPerMetre is what one metre of plan measures on this paper.
void PrintFooter(QPainter& Painter, const TPrintLayout& Layout, int Page, double MmPerMetre,
                 const TPrintOptions& Options);

// Prints the plan on Device's pages (a printer, a PDF writer) as one job,
// as Options say. Raises when the device cannot start the job; the job
// ends also on failure.
void PrintPages(TGraphEditor& Graph, QPagedPaintDevice& Device, const TPrintOptions& Options);

// The plan as a PDF file of A4 pages under FileName, as printed, titled
// Title. Written whole or not at all: the previous file stays when
// writing fails.
void SavePlanAsPdf(TGraphEditor& Graph, const QString& FileName, const TPrintOptions& Options, const QString& Title);
