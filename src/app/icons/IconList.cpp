#include "IconList.h"

#include <QGuiApplication>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "IconDrawings.h"

namespace {

// What each index shows: a drawing, a room label's character, or a palette
// symbol (category, item).
struct TIconEntry {
  TIconDrawing Draw = nullptr;
  const char* Label = nullptr;
  int Category = 0;
  int Item = 0;
};

constexpr TIconEntry Drawn(TIconDrawing draw) { return {draw, nullptr, 0, 0}; }
constexpr TIconEntry Label(const char* text) { return {nullptr, text, 0, 0}; }
constexpr TIconEntry Symbol(int category, int item) { return {nullptr, nullptr, category, item}; }

constexpr std::array<TIconEntry, IconListCount> kIcons = {
    Drawn(DrawNewIcon),              // 0
    Drawn(DrawOpenIcon),             // 1
    Drawn(DrawSaveIcon),             // 2
    Drawn(DrawPrintIcon),            // 3
    Drawn(DrawExitIcon),             // 4
    Drawn(DrawCutIcon),              // 5
    Drawn(DrawCopyIcon),             // 6
    Drawn(DrawPasteIcon),            // 7
    Drawn(DrawDeleteIcon),           // 8
    Drawn(DrawZoomInIcon),           // 9
    Drawn(DrawZoomOutIcon),          // 10
    Drawn(DrawSendToBackIcon),       // 11
    Drawn(DrawBringToFrontIcon),     // 12
    Drawn(DrawInvertSelectionIcon),  // 13
    Drawn(DrawSelectAllIcon),        // 14
    Drawn(DrawExportPictureIcon),    // 15
    Drawn(DrawAlignLeftIcon),        // 16
    Drawn(DrawAlignCentreIcon),      // 17
    Drawn(DrawAlignRightIcon),       // 18
    Drawn(DrawAlignTopIcon),         // 19
    Drawn(DrawAlignMiddleIcon),      // 20
    Drawn(DrawAlignBottomIcon),      // 21
    Drawn(DrawEllipseIcon),          // 22
    Drawn(DrawTriangleIcon),         // 23
    Drawn(DrawRhomboidIcon),         // 24
    Drawn(DrawPentagonIcon),         // 25
    Drawn(DrawHexagonIcon),          // 26
    Drawn(DrawGridIcon),             // 27
    Drawn(DrawActualSizeIcon),       // 28
    Drawn(DrawArrowIcon),            // 29 select
    Drawn(DrawRectangleIcon),        // 30
    Drawn(DrawRoundRectangleIcon),   // 31
    Drawn(DrawWholeGraphIcon),       // 32
    Drawn(DrawAddPointIcon),         // 33
    Drawn(DrawRemovePointIcon),      // 34
    Drawn(DrawReverseLinkIcon),      // 35
    Drawn(DrawLockNodesIcon),        // 36
    Drawn(DrawLockLinesIcon),        // 37
    Drawn(DrawHelpIcon),             // 38
    Drawn(DrawHandIcon),             // 39 pan
    Drawn(DrawRotateBackIcon),       // 40
    Drawn(DrawMergeIcon),            // 41
    Symbol(3, 0),                    // 42 床
    Drawn(DrawRotateIcon),           // 43
    Label("厅"),                     // 44
    Label("房"),                     // 45
    Label("卧"),                     // 46
    Label("卫"),                     // 47
    Label("阳"),                     // 48
    Label("储"),                     // 49
    Label("厨"),                     // 50
    Label("餐"),                     // 51
    Symbol(3, 2),                    // 52 双人床(有床头柜)
    Symbol(3, 1),                    // 53 双人床
    Symbol(3, 3),                    // 54 单人沙发
    Symbol(3, 4),                    // 55 3人沙发
    Symbol(3, 5),                    // 56 5人沙发
    Symbol(3, 6),                    // 57 方桌
    Symbol(3, 7),                    // 58 长桌
    Symbol(3, 8),                    // 59 电视机柜
    Symbol(3, 9),                    // 60 衣柜
    Symbol(4, 2),                    // 61 煤气灶
    Symbol(4, 3),                    // 62 洗衣机
    Symbol(3, 10),                   // 63 书桌
    Symbol(4, 7),                    // 64 方向
    Symbol(2, 7),                    // 65 垂直楼梯
    Symbol(4, 4),                    // 66 花卉
    Symbol(2, 2),                    // 67 拉门(大)
    Symbol(2, 1),                    // 68 拉门(小)
    Symbol(4, 0),                    // 69 马桶
    Symbol(2, 0),                    // 70 门
    Symbol(2, 4),                    // 71 平窗(大)
    Symbol(2, 3),                    // 72 平窗(小)
    Symbol(2, 5),                    // 73 凸窗(小)
    Symbol(2, 6),                    // 74 凸窗(大)
    Symbol(4, 5),                    // 75 洗手台(短)
    Symbol(4, 6),                    // 76 洗手台(长)
    Symbol(2, 8),                    // 77 旋转楼梯
    Symbol(4, 1),                    // 78 浴缸
    Symbol(3, 11),                   // 79 餐桌
    Drawn(DrawWallIcon),             // 80 画线
    Drawn(DrawThinLineIcon),         // 81 细
    Drawn(DrawMediumLineIcon),       // 82 中
    Drawn(DrawThickLineIcon),        // 83 粗
    Drawn(DrawColoursIcon),          // 84
    Drawn(DrawUndoIcon),             // 85 撤销
    Drawn(DrawRedoIcon),             // 86 重做
    Drawn(DrawDimensionLineIcon),    // 87 尺寸线
};

void DrawEntry(TIconPainter& p, const TIconEntry& entry) {
  if (entry.Draw) {
    entry.Draw(p);
  } else if (entry.Label) {
    DrawLabelIcon(p, QString::fromUtf8(entry.Label));
  } else {
    DrawSymbolIcon(p, entry.Category, entry.Item);
  }
}

}  // namespace

QImage IconListImage(int index, double PixelRatio) {
  if (index < 0 || index >= IconListCount) return QImage();
  if (PixelRatio <= 0) PixelRatio = 1.0;
  QImage image = BlankIcon(int(std::lround(IconListSize * PixelRatio)));
  // The painter takes the ratio from the image: the drawings keep their
  // 16-pixel coordinates.
  image.setDevicePixelRatio(PixelRatio);
  {
    TIconPainter painter(image);
    DrawEntry(painter, kIcons[index]);
  }
  return image;
}

namespace {
double ScreenRatio() { return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0; }
}  // namespace

QPixmap IconListPixmap(int index) {
  const QImage image = IconListImage(index, ScreenRatio());
  return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

QIcon IconListIcon(int index) {
  if (index < 0 || index >= IconListCount) return QIcon();
  QIcon icon;
  std::vector<double> ratios{1.0, 2.0};
  if (std::find(ratios.begin(), ratios.end(), ScreenRatio()) == ratios.end()) ratios.push_back(ScreenRatio());
  for (double r : ratios) icon.addPixmap(QPixmap::fromImage(IconListImage(index, r)));
  return icon;
}
