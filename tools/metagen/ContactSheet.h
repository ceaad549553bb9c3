// A single picture of everything the program draws, for people to look at:
// the palette's symbols with their captions, the 85 icons enlarged, the pen
// picture and the window icon's sizes. Needs a running QGuiApplication
// (captions are text).
#pragma once

#include <QImage>

// symbolScale: each symbol pixel as a square of this many pixels (1 = as on
// a plan at 100 %); icons are always shown four times enlarged.
QImage RenderContactSheet(int symbolScale);
