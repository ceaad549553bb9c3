// The pictures the palette places on a plan: top-down drafting symbols of
// doors, windows, stairs, furniture and fittings, drawn at one real scale
// (1 pixel = 2 cm) so that they fit together and with the walls.
//
// Categories and items are those of the palette: category 2 openings and
// stairs, 3 furniture, 4 fittings and the north arrow.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>

constexpr int SymbolFirstCategory = 2;
constexpr int SymbolLastCategory = 4;

// Items in a category; 0 for a category without symbols.
int SymbolCount(int category);

// True for a category and item that has a symbol.
bool HasSymbol(int category, int item);

// Natural size in pixels (1 px = 2 cm); an empty size for an unknown symbol.
QSize SymbolSize(int category, int item);

// The palette button's caption of the symbol ("门", "拉门(小)", ...); empty
// for an unknown symbol.
QString SymbolCaption(int category, int item);

// Draws the symbol stretched to fill target (callers that want the natural
// proportions pass a target of the same aspect): its outermost pixels land
// on the target's outermost pixels. Lines are one device pixel wide at any
// scale; small targets get fewer details. Unknown symbols draw nothing. The
// painter's state is restored afterwards.
void DrawSymbol(QPainter& painter, int category, int item, const QRectF& target);

// The symbol at its natural size, black on white (RGB32); a null image for an
// unknown symbol.
QImage RenderSymbol(int category, int item);

// The picture file's content: the symbol at its natural size, centred on
// white that is at least PaletteMinSide pixels each way, because a node on
// the plan is never smaller than that and a thinner picture would be
// stretched out of scale.
constexpr int PaletteMinSide = 16;
QImage RenderPalettePicture(int category, int item);
