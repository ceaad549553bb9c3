#include "ContactSheet.h"

#include <QFont>
#include <QIcon>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "IconList.h"
#include "PlanSymbols.h"

namespace {

constexpr int kSheetWidth = 1400;
constexpr int kMargin = 16;
constexpr int kCaptionHeight = 18;
constexpr int kIconZoom = 4;

struct TCell {
  QImage Picture;
  QString Caption;
};

QImage Enlarged(const QImage& image, int factor) {
  return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

std::vector<TCell> SymbolCells(int scale) {
  std::vector<TCell> cells;
  for (int c = SymbolFirstCategory; c <= SymbolLastCategory; ++c) {
    for (int i = 0; i < SymbolCount(c); ++i) {
      const QSize size = SymbolSize(c, i);
      const QString caption = QStringLiteral("%1_%2 %3 (%4×%5)")
                                  .arg(c)
                                  .arg(i)
                                  .arg(SymbolCaption(c, i))
                                  .arg(size.width())
                                  .arg(size.height());
      cells.push_back({Enlarged(RenderSymbol(c, i), scale), caption});
    }
  }
  return cells;
}

// Icons on the palette buttons' white and a grey square showing their edges.
std::vector<TCell> IconCells() {
  std::vector<TCell> cells;
  for (int i = 0; i < IconListCount; ++i) {
    QImage tile(IconListSize * kIconZoom + 2, IconListSize * kIconZoom + 2, QImage::Format_ARGB32);
    tile.fill(QColor(0xE0, 0xE0, 0xE0));
    QPainter painter(&tile);
    painter.fillRect(1, 1, IconListSize * kIconZoom, IconListSize * kIconZoom, Qt::white);
    painter.drawImage(1, 1, Enlarged(IconListImage(i), kIconZoom));
    cells.push_back({tile, QString::number(i)});
  }
  cells.push_back({Enlarged(PenPicture(), kIconZoom), QStringLiteral("pen")});
  const QIcon icon = WindowIcon();
  for (const QSize& size : icon.availableSizes()) {
    cells.push_back({icon.pixmap(size).toImage(), QStringLiteral("%1").arg(size.width())});
  }
  return cells;
}

// Lays cells out in rows from top, drawing them with painter (a painter on a
// scratch image only measures); answers the y below the last row.
int FlowCells(QPainter& painter, const std::vector<TCell>& cells, int top) {
  int x = kMargin;
  int y = top;
  int rowHeight = 0;
  for (const TCell& cell : cells) {
    const int width = std::max(cell.Picture.width(), painter.fontMetrics().horizontalAdvance(cell.Caption));
    if (x + width > kSheetWidth - kMargin && x > kMargin) {
      x = kMargin;
      y += rowHeight + kMargin;
      rowHeight = 0;
    }
    painter.drawImage(x, y, cell.Picture);
    painter.drawText(QRect(x, y + cell.Picture.height(), width, kCaptionHeight), Qt::AlignLeft, cell.Caption);
    x += width + kMargin;
    rowHeight = std::max(rowHeight, cell.Picture.height() + kCaptionHeight);
  }
  return y + rowHeight + kMargin;
}

QFont CaptionFont() {
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(12);
  return font;
}

}  // namespace

QImage RenderContactSheet(int symbolScale) {
  const std::vector<TCell> symbols = SymbolCells(std::max(1, symbolScale));
  const std::vector<TCell> icons = IconCells();
  // Measure with a painter on a scratch image so the text widths agree.
  QImage scratch(1, 1, QImage::Format_ARGB32);
  QPainter measure(&scratch);
  measure.setFont(CaptionFont());
  const int iconsTop = FlowCells(measure, symbols, kMargin);
  const int height = FlowCells(measure, icons, iconsTop);
  measure.end();

  QImage sheet(kSheetWidth, height, QImage::Format_RGB32);
  sheet.fill(QColor(0xF4, 0xF4, 0xF4));
  QPainter painter(&sheet);
  painter.setFont(CaptionFont());
  painter.setPen(Qt::black);
  FlowCells(painter, symbols, kMargin);
  FlowCells(painter, icons, iconsTop);
  return sheet;
}
