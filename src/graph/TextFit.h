// Caption text wrapping and fitting, measured with a canvas' current font,
// and painting of what lies behind a transparent widget.
#pragma once

#include <QString>

#include "Types.h"

class QWidget;
class TCanvas;

// The text word-wrapped to MaxWidth pixels, lines joined by CR LF. A line
// breaks after a break character or is cut between characters when a word
// is too long; its first character is always taken. CR, LF and the pairs
// CR LF / LF CR end lines, and a final line end of the text survives.
QString BreakTextLines(TCanvas& Canvas, const QString& Text, int MaxWidth);
// The text wrapped to Rect's width and cut after the last whole line that
// fits its height; that line then ends in a truncation mark and is shortened
// until it fits the width. Empty when not even one line fits.
QString FitTextToRect(TCanvas& Canvas, const QString& Text, const TRect& Rect);
// Paints into Canvas what lies behind Control within its area: the parent's
// background and the visible siblings stacked beneath Control. Canvas device
// pixel (0, 0) shows Control's point (X, Y); the canvas' own mapping is not
// used. Does nothing without a parent or an active canvas.
void PaintParentBackground(QWidget* Control, TCanvas& Canvas, int X, int Y);
