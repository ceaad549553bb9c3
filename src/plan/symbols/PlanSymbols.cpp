#include "PlanSymbols.h"

#include <algorithm>
#include <span>

#include "SymbolDrawings.h"

namespace {

struct TSymbolEntry {
  const char* Caption;
  int Width;  // pixels, 1 px = 2 cm
  int Height;
  TSymbolDrawing Draw;
};

// Real sizes (width × depth in cm; the pixel size is half of it):
//
//   2_0 门               90 ×  90   leaf 90, swing radius 90
//   2_1 拉门(小)        150 ×  20   two leaves on two tracks
//   2_2 拉门(大)        240 ×  20   four leaves
//   2_3 平窗(小)        120 ×  24   in a 24 cm wall
//   2_4 平窗(大)        180 ×  24
//   2_5 凸窗(小)        150 ×  84   24 wall + 60 projection
//   2_6 凸窗(大)        240 ×  84
//   2_7 垂直楼梯        100 × 300   10 treads of 30
//   2_8 旋转楼梯        160 × 160   diameter
//   3_0 床              100 × 200
//   3_1 双人床          150 × 200
//   3_2 双人床(有床头柜) 240 × 200   bed 150, night tables 44 × 40
//   3_3 单人沙发         90 ×  84
//   3_4 3人沙发         210 ×  84
//   3_5 5人沙发         280 × 160   L: three seats, corner, one seat
//   3_6 方桌             80 ×  80
//   3_7 长桌            160 ×  70
//   3_8 电视机柜        180 ×  46
//   3_9 衣柜            180 ×  60
//   3_10 书桌           120 × 100   desk 120 × 60 with its chair
//   3_11 餐桌           160 × 158   table 160 × 90, six chairs 44 × 44
//   4_0 马桶             40 ×  70
//   4_1 浴缸            170 ×  76
//   4_2 煤气灶           72 ×  40
//   4_3 洗衣机           60 ×  60
//   4_4 花卉             60 ×  60   leaves spread from a 28 cm pot
//   4_5 洗手台(短)       60 ×  50
//   4_6 洗手台(长)      120 ×  50   two basins
//   4_7 方向             80 × 112   an annotation, drawn 40 × 56 px
const TSymbolEntry kOpenings[] = {
    {"门", 45, 45, DrawSwingDoor},
    {"拉门(小)", 75, 10, DrawSlidingDoorTwo},
    {"拉门(大)", 120, 10, DrawSlidingDoorFour},
    {"平窗(小)", 60, 12, DrawFlatWindow},
    {"平窗(大)", 90, 12, DrawFlatWindow},
    {"凸窗(小)", 75, 42, DrawBayWindow},
    {"凸窗(大)", 120, 42, DrawBayWindow},
    {"垂直楼梯", 50, 150, DrawStraightStair},
    {"旋转楼梯", 80, 80, DrawSpiralStair},
};

const TSymbolEntry kFurniture[] = {
    {"床", 50, 100, DrawSingleBed},
    {"双人床", 75, 100, DrawDoubleBed},
    {"双人床(有床头柜)", 120, 100, DrawBedWithNightTables},
    {"单人沙发", 45, 42, DrawArmchair},
    {"3人沙发", 105, 42, DrawThreeSeatSofa},
    {"5人沙发", 140, 80, DrawCornerSofa},
    {"方桌", 40, 40, DrawSquareTable},
    {"长桌", 80, 35, DrawLongTable},
    {"电视机柜", 90, 23, DrawTvCabinet},
    {"衣柜", 90, 30, DrawWardrobe},
    {"书桌", 60, 50, DrawDesk},
    {"餐桌", 80, 79, DrawDiningTable},
};

const TSymbolEntry kFittings[] = {
    {"马桶", 20, 35, DrawToilet},           {"浴缸", 85, 38, DrawBathtub},     {"煤气灶", 36, 20, DrawGasStove},
    {"洗衣机", 30, 30, DrawWashingMachine}, {"花卉", 30, 30, DrawPottedPlant}, {"洗手台(短)", 30, 25, DrawShortBasin},
    {"洗手台(长)", 60, 25, DrawLongBasin},  {"方向", 40, 56, DrawNorthArrow},
};

std::span<const TSymbolEntry> Category(int category) {
  switch (category) {
    case 2: return kOpenings;
    case 3: return kFurniture;
    case 4: return kFittings;
    default: return {};
  }
}

const TSymbolEntry* Find(int category, int item) {
  std::span<const TSymbolEntry> entries = Category(category);
  if (item < 0 || item >= static_cast<int>(entries.size())) return nullptr;
  return &entries[item];
}

// Below this scale treads, hangers and the like would run together.
constexpr double kFineScale = 0.45;

}  // namespace

int SymbolCount(int category) { return static_cast<int>(Category(category).size()); }

bool HasSymbol(int category, int item) { return Find(category, item) != nullptr; }

QSize SymbolSize(int category, int item) {
  const TSymbolEntry* entry = Find(category, item);
  return entry ? QSize(entry->Width, entry->Height) : QSize();
}

QString SymbolCaption(int category, int item) {
  const TSymbolEntry* entry = Find(category, item);
  return entry ? QString::fromUtf8(entry->Caption) : QString();
}

void DrawSymbol(QPainter& painter, int category, int item, const QRectF& target) {
  const TSymbolEntry* entry = Find(category, item);
  if (!entry || target.isEmpty()) return;
  // The symbol's outermost pixel centres go onto the target's, so that at
  // whole-pixel targets its outline stays on whole pixels.
  const double sx = entry->Width > 1 ? (target.width() - 1) / (entry->Width - 1) : 1;
  const double sy = entry->Height > 1 ? (target.height() - 1) / (entry->Height - 1) : 1;
  painter.save();
  painter.translate(target.topLeft() + QPointF(0.5, 0.5));
  painter.scale(sx, sy);
  painter.translate(-0.5, -0.5);
  TSymbolInk ink(painter, std::min(sx, sy) >= kFineScale);
  entry->Draw(ink, entry->Width, entry->Height);
  painter.restore();
}

QImage RenderSymbol(int category, int item) {
  const QSize size = SymbolSize(category, item);
  if (size.isEmpty()) return QImage();
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  DrawSymbol(painter, category, item, QRectF(QPointF(0, 0), size));
  return image;
}

QImage RenderPalettePicture(int category, int item) {
  const QImage symbol = RenderSymbol(category, item);
  if (symbol.isNull()) return symbol;
  const QSize size(std::max(symbol.width(), PaletteMinSide), std::max(symbol.height(), PaletteMinSide));
  if (size == symbol.size()) return symbol;
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.drawImage((size.width() - symbol.width()) / 2, (size.height() - symbol.height()) / 2, symbol);
  return image;
}
