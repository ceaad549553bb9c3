// The window's shared image list (toolbar, palette and line-width buttons):
// 88 pictures of 16 × 16 on a transparent background, drawn by code. The
// indexes are the ones the commands and palette buttons name; the palette's
// plan symbols appear as small versions of the pictures they place.
//
// Also the top panel's 24 × 24 pen picture and the window icon.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

class QPainter;

constexpr int IconListCount = 88;
constexpr int IconListSize = 16;

// The picture at index 0 .. 87 (ARGB32, premultiplied); a null image for
// any other index. At a pixel ratio above 1 it is drawn at that many
// device pixels per icon pixel (and says so in its devicePixelRatio), so a
// denser screen shows it sharp rather than doubled.
QImage IconListImage(int index, double PixelRatio = 1.0);

// The same as an icon (drawn for ratios 1 and 2, and the screen's) or a
// pixmap for the screen's ratio (need a running QGuiApplication); empty
// for an index out of range.
QIcon IconListIcon(int index);
QPixmap IconListPixmap(int index);

// The pen picture beside the line-width buttons, 24 × 24.
QImage PenPicture();

// A little house plan, in the sizes 16, 24, 32, 48, 64 and 256.
QIcon WindowIcon();

// The window icon's plan at any size in pixels, as WindowIcon draws it.
QImage WindowIconImage(int Size);
// Draws the plan on Painter into (0, 0, Size, Size) with no size-dependent
// simplification: the vector form (SVG) of the icon.
void PaintWindowIcon(QPainter& Painter, int Size);
