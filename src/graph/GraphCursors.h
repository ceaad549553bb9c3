// The graph control's own mouse cursors, ids 51 .. 57: 32 × 32, two colours
// (black and white) with a transparent rest, drawn by code for the screen's
// device pixel ratio.
#pragma once

#include <QCursor>
#include <QImage>
#include <QPoint>

constexpr int GE_HANDFLAT = 51;   // pan mode, idle
constexpr int GE_HANDGRAB = 52;   // pan mode, dragging
constexpr int GE_HANDPNT = 53;    // pointing hand for objects
constexpr int GE_XHAIR1 = 54;     // insert a point / insert modes over empty space
constexpr int GE_XHAIR2 = 55;     // move a point
constexpr int GE_XHAIR3 = 56;     // remove a point
constexpr int GE_XHAIRLINK = 57;  // a drop here hooks the link

constexpr int GraphCursorFirst = GE_HANDFLAT;
constexpr int GraphCursorLast = GE_XHAIRLINK;
constexpr int GraphCursorSize = 32;

struct TGraphCursorInfo {
  int Id;
  const char* Name;
  QPoint HotSpot;
};

// The table of the seven cursors, in id order.
const TGraphCursorInfo* GraphCursorTable();

// The entry for id, or null for an id outside 51 .. 57.
const TGraphCursorInfo* GraphCursorInfo(int id);

// The cursor's picture: opaque black, opaque white, transparent elsewhere
// (ARGB32), drawn at the device pixel ratio (64 × 64 device pixels at 2)
// with edges one device pixel wide. A null image for an unknown id.
QImage GraphCursorImage(int id, double PixelRatio = 1.0);

// The cursor built from its bitmap and mask (a picture at the ratio above 1),
// with its hot spot in logical pixels; the arrow cursor for an unknown id.
// Needs a running QGuiApplication.
QCursor GraphCursor(int id, double PixelRatio = 1.0);
