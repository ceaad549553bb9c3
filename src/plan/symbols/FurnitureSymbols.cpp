// Beds, sofas, tables and cabinets, each seen from above with its back
// (headboard, sofa back, cabinet back) at the top of the picture.
#include "IntMath.h"
#include "SymbolDrawings.h"

namespace {

constexpr int kHeadboard = 3;  // 6 cm
constexpr int kSofaArm = 8;    // arm and back, 16 cm
constexpr int kChair = 22;     // 44 cm chair

// A cushion filling the pixels x .. x + w - 1, y .. y + h - 1 with a gap;
// drawn small, only its left seam shows.
void Cushion(TSymbolInk& ink, double x, double y, double w, double h) {
  if (ink.Fine())
    ink.RoundBox(x + 1, y + 1, w - 2, h - 2, 2);
  else
    ink.Line(x, y, x, y + h - 1);
}

// A bed at column x: headboard, pillows, and the blanket's edge with its
// corner turned down.
void Bed(TSymbolInk& ink, int x, int w, int h, int pillows) {
  ink.Box(x, 0, w, h);
  ink.Solid(x, 0, w, kHeadboard);
  constexpr int kMargin = 5;
  const double pillow = (w - kMargin * (pillows + 1)) / double(pillows);
  for (int k = 0; k < pillows; ++k) {
    ink.RoundBox(x + kMargin + k * (pillow + kMargin), kHeadboard + 3, pillow, 13, 3);
  }
  const int blanket = Div(h * 7, 25);
  ink.Line(x, blanket, x + w - 1, blanket);
  const int fold = Div(w * 3, 8);
  ink.Line(x + w - 1 - fold, blanket, x + w - 1, blanket + fold);
}

// A night table with a lamp on it.
void NightTable(TSymbolInk& ink, int x, int w, int h) {
  ink.Box(x, 0, w, h);
  const double cx = x + (w - 1) / 2.0;
  const double cy = (h - 1) / 2.0;
  ink.Circle(cx, cy, 5);
  if (!ink.Fine()) return;
  ink.Line(cx - 7, cy, cx + 7, cy);
  ink.Line(cx, cy - 7, cx, cy + 7);
}

// A straight sofa: back along the top, an arm at each end, a cushion per seat.
void Sofa(TSymbolInk& ink, int w, int h, int seats) {
  ink.RoundBox(0, 0, w, h, 3);
  const int rightArm = w - 1 - kSofaArm;
  ink.Line(kSofaArm, kSofaArm, rightArm, kSofaArm);
  ink.Line(kSofaArm, kSofaArm, kSofaArm, h - 1);
  ink.Line(rightArm, kSofaArm, rightArm, h - 1);
  const double seat = double(rightArm - kSofaArm - 1) / seats;
  for (int k = 0; k < seats; ++k) Cushion(ink, kSofaArm + 1 + k * seat, kSofaArm + 1, seat, h - 2 - kSofaArm);
}

// A table top; large ones show the edge of the top as a second line.
void Table(TSymbolInk& ink, int x, int y, int w, int h) {
  ink.Box(x, y, w, h);
  if (ink.Fine()) ink.Box(x + 3, y + 3, w - 6, h - 6);
}

// A chair seen from above, its back towards the top (back up) or bottom.
void Chair(TSymbolInk& ink, double x, double y, bool backUp) {
  constexpr int kBack = 4;
  const double seatY = backUp ? y + kBack - 1 : y;
  ink.RoundBox(x, seatY, kChair, kChair - kBack + 1, 2);
  ink.RoundBox(x, backUp ? y : y + kChair - kBack, kChair, kBack, 1);
}

}  // namespace

void DrawSingleBed(TSymbolInk& ink, int w, int h) { Bed(ink, 0, w, h, 1); }

void DrawDoubleBed(TSymbolInk& ink, int w, int h) { Bed(ink, 0, w, h, 2); }

void DrawBedWithNightTables(TSymbolInk& ink, int w, int h) {
  constexpr int kTableWidth = 22;
  constexpr int kTableDepth = 20;
  NightTable(ink, 0, kTableWidth, kTableDepth);
  NightTable(ink, w - kTableWidth, kTableWidth, kTableDepth);
  Bed(ink, kTableWidth, w - 2 * kTableWidth, h, 2);
}

void DrawArmchair(TSymbolInk& ink, int w, int h) { Sofa(ink, w, h, 1); }

void DrawThreeSeatSofa(TSymbolInk& ink, int w, int h) { Sofa(ink, w, h, 3); }

// L-shaped: three seats along the top beside the corner seat, one more down
// the left side.
void DrawCornerSofa(TSymbolInk& ink, int w, int h) {
  constexpr int kDepth = 42;  // 84 cm, as the straight sofas
  const int a = kSofaArm;
  const int rightArm = w - 1 - a;
  const int bottomArm = h - 1 - a;
  ink.Polygon({QPointF(0, 0), QPointF(w - 1, 0), QPointF(w - 1, kDepth - 1), QPointF(kDepth - 1, kDepth - 1),
               QPointF(kDepth - 1, h - 1), QPointF(0, h - 1)});
  ink.Line(a, a, rightArm, a);
  ink.Line(a, a, a, bottomArm);
  ink.Line(rightArm, a, rightArm, kDepth - 1);
  ink.Line(a, bottomArm, kDepth - 1, bottomArm);
  const int seatDepth = kDepth - 2 - a;
  Cushion(ink, a + 1, a + 1, seatDepth, seatDepth);
  const double topSeat = double(rightArm - (kDepth - 1)) / 3;
  for (int k = 0; k < 3; ++k) Cushion(ink, kDepth - 1 + k * topSeat, a + 1, topSeat, seatDepth);
  Cushion(ink, a + 1, kDepth - 1, seatDepth, bottomArm - (kDepth - 1));
}

void DrawSquareTable(TSymbolInk& ink, int w, int h) { Table(ink, 0, 0, w, h); }

void DrawLongTable(TSymbolInk& ink, int w, int h) { Table(ink, 0, 0, w, h); }

// Cabinet against the wall with a flat-screen set on it: the thin panel and
// its foot.
void DrawTvCabinet(TSymbolInk& ink, int w, int h) {
  ink.Box(0, 0, w, h);
  const int screen = Div(w * 2, 3);
  const int left = Div(w - screen, 2);
  ink.Box(left + Div(screen, 2) - 9, 5, 18, 7);
  ink.Box(left, 3, screen, 4);
  if (ink.Fine()) ink.DashedLine(0, h - 5, w - 1, h - 5);
}

// Hanging space with its rail and hangers, the doors along the front.
void DrawWardrobe(TSymbolInk& ink, int w, int h) {
  ink.Box(0, 0, w, h);
  constexpr int kDoors = 4;
  const int front = h - kDoors;
  ink.Line(0, front, w - 1, front);
  const int rail = Div(front, 2);
  ink.Line(3, rail, w - 4, rail);
  const int step = ink.Fine() ? 9 : 18;
  for (int x = step; x < w - Div(step, 2); x += step) ink.Line(x - 3, rail - 8, x + 3, rail + 8);
}

// Desk against the wall with a screen and keyboard, its chair pulled up.
void DrawDesk(TSymbolInk& ink, int w, int h) {
  constexpr int kDeskDepth = 30;
  const int chairX = Div(w - kChair, 2);
  Chair(ink, chairX, h - kChair, false);
  ink.Box(0, 0, w, kDeskDepth);
  if (!ink.Fine()) return;
  ink.Box(Div(w, 2) - 12, 3, 24, 3);
  ink.Box(Div(w, 2) - 9, 15, 18, 6);
}

// Six chairs, three on each long side, tucked under the table's edges.
void DrawDiningTable(TSymbolInk& ink, int w, int h) {
  constexpr int kTucked = 5;
  const int tableY = kChair - kTucked;
  const int tableDepth = h - 2 * tableY;
  const double spacing = double(w) / 3;
  for (int k = 0; k < 3; ++k) {
    const double x = k * spacing + (spacing - kChair) / 2;
    Chair(ink, x, 0, true);
    Chair(ink, x, h - kChair, false);
  }
  Table(ink, 0, tableY, w, tableDepth);
}
