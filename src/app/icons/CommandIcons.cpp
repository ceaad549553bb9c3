// Icons of the document and edit commands, in the familiar desktop idiom:
// a page, a folder, a disk, a printer, scissors and so on.
#include <QtMath>

#include "IconDrawings.h"
#include "IntMath.h"

using namespace icon_colors;

namespace {

// A sheet of paper with its top-right corner folded.
void Page(TIconPainter& p, int x, int y, int w, int h) {
  constexpr int kEar = 3;
  const int r = x + w - 1;
  const int b = y + h - 1;
  p.Polygon(QPolygonF({QPointF(x, y), QPointF(r - kEar, y), QPointF(r, y + kEar), QPointF(r, b), QPointF(x, b)}), kInk,
            kPaper);
  p.Line(r - kEar, y, r - kEar, y + kEar, kInk);
  p.Line(r - kEar, y + kEar, r, y + kEar, kInk);
}

void TextLines(TIconPainter& p, int x, int y, int w, int count) {
  for (int k = 0; k < count; ++k) p.Line(x, y + 2 * k, x + w - 1, y + 2 * k, kGrey);
}

// A padlock at its top-left corner (x, y), 8 × 9.
void Padlock(TIconPainter& p, int x, int y) {
  p.Arc(x + 3.5, y + 3.5, 2.5, 0, 180, kGrey, 1.5);
  p.Line(x + 1, y + 3, x + 1, y + 4, kGrey);
  p.Line(x + 6, y + 3, x + 6, y + 4, kGrey);
  p.Box(x, y + 4, 8, 5, kDarkYellow, kYellow);
  p.Fill(x + 3, y + 5, 2, 2, kInk);
}

// A magnifying glass over the top-left.
void Magnifier(TIconPainter& p) {
  p.SmoothLine(9.5, 9.5, 13.5, 13.5, kBrown, 2.5);
  p.Ellipse(1, 1, 11, 11, kInk, kLightBlue, 1.2);
}

// Two objects, the blue one selected; front says which lies on top.
void Stack(TIconPainter& p, bool selectedOnTop) {
  const QColor back = selectedOnTop ? kPaper : kBlue;
  const QColor front = selectedOnTop ? kBlue : kPaper;
  p.Box(6, 6, 9, 9, kInk, back);
  p.Box(1, 1, 9, 9, kInk, front);
}

// Bars aligned to one side; vertical bars when across is true.
void AlignBars(TIconPainter& p, int edge, bool across, int lengthA, int lengthB, bool centred) {
  for (int k = 0; k < 2; ++k) {
    const int length = k == 0 ? lengthA : lengthB;
    const int at = centred ? 8 - Div(length, 2) : (edge == 1 ? 2 : 14 - length);
    const int lane = k == 0 ? 3 : 9;
    if (across)
      p.Box(lane, at, 4, length, kDarkBlue, kLightBlue);
    else
      p.Box(at, lane, length, 4, kDarkBlue, kLightBlue);
  }
}

// Three quarters of a circle ending in an arrow head.
void TurnArrow(TIconPainter& p, bool clockwise) {
  constexpr double kCx = 7.5, kCy = 7.5, kRadius = 5.5;
  const double start = clockwise ? 180 : 0;
  const double span = clockwise ? -250 : 250;
  p.Arc(kCx, kCy, kRadius, start, span, kBlue, 1.6);
  // The arc's last point and its direction of travel.
  const double end = qDegreesToRadians(start + span);
  const double ex = kCx + kRadius * qCos(end);
  const double ey = kCy - kRadius * qSin(end);
  const double dx = clockwise ? qSin(end) : -qSin(end);
  const double dy = clockwise ? qCos(end) : -qCos(end);
  p.Arrowhead(ex + dx * 3, ey + dy * 3, dx, dy, 5, 3, kBlue);
}

// Half a circle over the top, its arrow head pointing back down on the
// side the step goes to.
void StepArrow(TIconPainter& p, bool back) {
  constexpr double kCx = 8, kCy = 10, kRadius = 5.5;
  const double start = back ? 0 : 180;
  const double span = back ? 180 : -180;
  p.Arc(kCx, kCy, kRadius, start, span, kBlue, 1.8);
  const double ex = back ? kCx - kRadius : kCx + kRadius;
  p.Arrowhead(ex, kCy + 3.5, 0, 1, 5, 3.5, kBlue);
  p.Line(3, 14, 13, 14, kInk);
}

}  // namespace

void DrawUndoIcon(TIconPainter& p) { StepArrow(p, true); }

void DrawRedoIcon(TIconPainter& p) { StepArrow(p, false); }

void DrawNewIcon(TIconPainter& p) {
  Page(p, 2, 1, 11, 14);
  p.Line(12, 0, 12, 4, kDarkYellow);
  p.Line(10, 2, 14, 2, kDarkYellow);
  p.Fill(11, 1, 3, 3, kYellow);
}

void DrawOpenIcon(TIconPainter& p) {
  p.Box(1, 2, 6, 3, kDarkYellow, kYellow);
  p.Box(1, 4, 12, 10, kDarkYellow, kYellow);
  p.Polygon(QPolygonF({QPointF(4, 7), QPointF(15, 7), QPointF(12, 13), QPointF(1, 13)}), kDarkYellow,
            QColor(0xFA, 0xDC, 0x7A));
}

void DrawSaveIcon(TIconPainter& p) {
  p.Box(1, 1, 14, 14, kDarkBlue, kBlue);
  p.Box(4, 1, 8, 5, kDarkBlue, kLightGrey);
  p.Fill(9, 2, 2, 3, kDarkBlue);
  p.Box(3, 8, 10, 7, kDarkBlue, kPaper);
  p.Line(5, 10, 10, 10, kLightBlue);
  p.Line(5, 12, 10, 12, kLightBlue);
}

void DrawPrintIcon(TIconPainter& p) {
  p.Box(4, 1, 8, 6, kInk, kPaper);
  p.Box(1, 6, 14, 6, kInk, kLightGrey);
  p.Pixel(12, 8, kGreen);
  p.Box(4, 10, 8, 5, kInk, kPaper);
  TextLines(p, 6, 12, 4, 1);
}

void DrawExitIcon(TIconPainter& p) {
  p.Box(1, 1, 8, 14, kBrown, kTan);
  p.Polygon(QPolygonF({QPointF(1, 1), QPointF(5, 3), QPointF(5, 15), QPointF(1, 14)}), kBrown, kBrown);
  p.SmoothLine(7, 8, 12, 8, kGreen, 2);
  p.Arrowhead(14, 8, 1, 0, 5, 3.5, kGreen);
}

void DrawCutIcon(TIconPainter& p) {
  p.SmoothLine(5, 10, 11, 0, kGrey, 1.5);
  p.SmoothLine(10, 10, 4, 0, kInk, 1.5);
  p.Ellipse(1, 9, 6, 6, kRed, QColor(), 1.5);
  p.Ellipse(9, 9, 6, 6, kRed, QColor(), 1.5);
}

void DrawCopyIcon(TIconPainter& p) {
  Page(p, 1, 1, 9, 11);
  TextLines(p, 3, 5, 4, 3);
  Page(p, 6, 4, 9, 11);
  TextLines(p, 8, 8, 5, 3);
}

void DrawPasteIcon(TIconPainter& p) {
  p.Box(1, 2, 11, 13, kBrown, kTan);
  p.Box(4, 1, 5, 3, kInk, kLightGrey);
  Page(p, 6, 5, 9, 10);
  TextLines(p, 8, 9, 5, 3);
}

void DrawDeleteIcon(TIconPainter& p) {
  p.SmoothLine(3, 3, 12, 12, kRed, 2.5);
  p.SmoothLine(12, 3, 3, 12, kRed, 2.5);
}

void DrawSendToBackIcon(TIconPainter& p) { Stack(p, false); }

void DrawBringToFrontIcon(TIconPainter& p) { Stack(p, true); }

void DrawSelectAllIcon(TIconPainter& p) {
  for (int k = 0; k < 15; k += 2) {
    for (int edge : {0, 15}) {
      p.Pixel(k, edge, kInk);
      p.Pixel(edge, k + 1, kInk);
    }
  }
  p.Box(3, 3, 5, 5, kDarkBlue, kBlue);
  p.Ellipse(7, 7, 6, 6, kDarkBlue, kBlue);
}

void DrawExportPictureIcon(TIconPainter& p) {
  p.Box(0, 1, 13, 11, kInk, kLightBlue);
  p.Polygon(QPolygonF({QPointF(1, 10), QPointF(5, 5), QPointF(8, 8), QPointF(10, 6), QPointF(11, 10)}), QColor(),
            kGreen);
  p.Ellipse(8, 2, 3, 3, QColor(), kYellow);
  p.SmoothLine(8, 13, 12, 13, kRed, 2);
  p.Arrowhead(15, 13, 1, 0, 4, 3, kRed);
}

void DrawLockNodesIcon(TIconPainter& p) {
  p.Box(1, 1, 9, 9, kInk, kLightBlue);
  Padlock(p, 7, 6);
}

void DrawLockLinesIcon(TIconPainter& p) {
  p.SmoothLine(1, 12, 9, 2, kInk, 2);
  p.Box(0, 11, 3, 3, kInk, kPaper);
  p.Box(8, 1, 3, 3, kInk, kPaper);
  Padlock(p, 7, 6);
}

// The selected object in the middle of the turn.
void DrawRotateIcon(TIconPainter& p) {
  TurnArrow(p, true);
  p.Box(6, 5, 4, 6, kInk, kLightBlue);
}

void DrawRotateBackIcon(TIconPainter& p) { TurnArrow(p, false); }

void DrawZoomInIcon(TIconPainter& p) {
  Magnifier(p);
  p.Line(4, 6, 8, 6, kInk);
  p.Line(6, 4, 6, 8, kInk);
}

void DrawZoomOutIcon(TIconPainter& p) {
  Magnifier(p);
  p.Line(4, 6, 8, 6, kInk);
}

void DrawInvertSelectionIcon(TIconPainter& p) {
  p.Box(1, 1, 14, 14, kInk, kPaper);
  p.Fill(2, 2, 6, 12, kBlue);
  p.Ellipse(4, 4, 8, 8, kInk, QColor());
}

void DrawAlignLeftIcon(TIconPainter& p) {
  p.Line(1, 0, 1, 15, kInk);
  AlignBars(p, 1, false, 11, 7, false);
}

void DrawAlignCentreIcon(TIconPainter& p) {
  AlignBars(p, 0, false, 12, 6, true);
  p.Line(8, 0, 8, 15, kInk);
}

void DrawAlignRightIcon(TIconPainter& p) {
  p.Line(14, 0, 14, 15, kInk);
  AlignBars(p, 2, false, 11, 7, false);
}

void DrawAlignTopIcon(TIconPainter& p) {
  p.Line(0, 1, 15, 1, kInk);
  AlignBars(p, 1, true, 11, 7, false);
}

void DrawAlignMiddleIcon(TIconPainter& p) {
  AlignBars(p, 0, true, 12, 6, true);
  p.Line(0, 8, 15, 8, kInk);
}

void DrawAlignBottomIcon(TIconPainter& p) {
  p.Line(0, 14, 15, 14, kInk);
  AlignBars(p, 2, true, 11, 7, false);
}

void DrawGridIcon(TIconPainter& p) {
  for (int y = 1; y < 16; y += 3) {
    for (int x = 1; x < 16; x += 3) p.Pixel(x, y, kGrey);
  }
  p.Box(4, 4, 7, 7, kDarkBlue, kLightBlue);
}

void DrawActualSizeIcon(TIconPainter& p) {
  p.Box(0, 2, 16, 12, kInk, kPaper);
  p.Text(QRectF(0, 2, 16, 12), QStringLiteral("1:1"), kInk, 9, true);
}

void DrawWholeGraphIcon(TIconPainter& p) {
  for (int x : {0, 15}) {
    for (int y : {0, 15}) {
      const int dx = x == 0 ? 1 : -1;
      const int dy = y == 0 ? 1 : -1;
      p.Line(x, y, x + 3 * dx, y, kInk);
      p.Line(x, y, x, y + 3 * dy, kInk);
    }
  }
  p.Box(4, 4, 8, 8, kDarkBlue, kLightBlue);
}

void DrawHelpIcon(TIconPainter& p) {
  p.Ellipse(0, 0, 16, 16, kDarkBlue, kBlue);
  p.Text(QRectF(0, 0, 16, 16), QStringLiteral("?"), kPaper, 12, true);
}

void DrawMergeIcon(TIconPainter& p) {
  Page(p, 5, 1, 10, 14);
  TextLines(p, 7, 5, 5, 2);
  p.SmoothLine(0, 10, 6, 10, kGreen, 2);
  p.Arrowhead(9, 10, 1, 0, 4, 3, kGreen);
}

void DrawColoursIcon(TIconPainter& p) {
  p.Box(1, 1, 7, 7, kInk, kRed);
  p.Box(8, 1, 7, 7, kInk, kYellow);
  p.Box(1, 8, 7, 7, kInk, kBlue);
  p.Box(8, 8, 7, 7, kInk, kGreen);
}
