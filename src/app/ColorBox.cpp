#include "ColorBox.h"

#include <QAbstractItemView>
#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "IntMath.h"

namespace {

constexpr int ColorRole = Qt::UserRole + 1;
constexpr QSize SwatchSize(14, 12);

QPixmap Swatch(TColor Value) {
  QPixmap pixmap(SwatchSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  QRect r(0, 0, SwatchSize.width() - 1, SwatchSize.height() - 1);
  if (Value == clNone) {
    painter.fillRect(r, Qt::white);
    painter.setPen(Qt::red);
    painter.drawLine(r.bottomLeft(), r.topRight());
  } else if (Value == clDefault) {
    painter.fillRect(r, Qt::white);
    painter.fillRect(r.adjusted(0, 0, -Div(r.width(), 2), 0), Qt::black);
  } else {
    painter.fillRect(r, ToQColor(Value));
  }
  painter.setPen(Qt::gray);
  painter.drawRect(r);
  return pixmap;
}

}  // namespace

TColorBox::TColorBox(QWidget* Parent) : QComboBox(Parent) {
  setIconSize(SwatchSize);
  setMaxVisibleItems(16);
  view()->setMinimumWidth(190);
  // The identifier table lists the standard, extended and system colours
  // in that order; the two special values go last.
  AddColor(clBlack, CustomColorCaption());
  auto entries = ColorIdents.Entries();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].Value == clNone || entries[i].Value == clDefault) continue;
    AddColor(entries[i].Value, ReadableColorName(entries[i].Value));
  }
  AddColor(clNone, ReadableColorName(clNone));
  AddColor(clDefault, ReadableColorName(clDefault));
  setCurrentIndex(IndexOfColor(clBlack));
  fLastIndex = currentIndex();
  connect(this, &QComboBox::activated, this, [this](int Index) { Activated(Index); });
}

void TColorBox::AddColor(TColor Value, const QString& Name) {
  addItem(QIcon(Swatch(Value)), Name, QVariant::fromValue(Value));
}

TColor TColorBox::Selected() const { return currentData().value<TColor>(); }

int TColorBox::IndexOfColor(TColor Value) const {
  for (int i = 1; i < count(); ++i)
    if (itemData(i).value<TColor>() == Value) return i;
  return -1;
}

void TColorBox::SetSelected(TColor Value) {
  int index = IndexOfColor(Value);
  if (index < 0) {
    SetCustomColor(Value);
    index = CustomIndex();
  }
  setCurrentIndex(index);
  fLastIndex = index;
}

void TColorBox::SetCustomColor(TColor Value) {
  setItemData(CustomIndex(), QVariant::fromValue(Value));
  setItemIcon(CustomIndex(), QIcon(Swatch(Value)));
}

// Only the user's choices count as changes. Picking the custom entry
// opens the colour chooser; cancelling it puts the earlier selection back.
void TColorBox::Activated(int Index) {
  if (fChoosing) return;
  if (Index != CustomIndex()) {
    Changed(Index);
    return;
  }
  QColor color = ToQColor(itemData(Index).value<TColor>());
  fChoosing = true;
  bool chosen = false;
  if (fChooser) {
    chosen = fChooser(color);
  } else {
    QColor picked = QColorDialog::getColor(color, this);
    chosen = picked.isValid();
    if (chosen) color = picked;
  }
  fChoosing = false;
  if (!chosen) {
    setCurrentIndex(fLastIndex);
    return;
  }
  SetCustomColor(FromQColor(color));
  fLastIndex = -1;  // a new custom colour is a change even on the same entry
  Changed(Index);
}

void TColorBox::Changed(int Index) {
  if (Index == fLastIndex) return;
  fLastIndex = Index;
  if (OnChange) OnChange(this);
}

void TColorBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  QPixmap swatch = itemIcon(currentIndex()).pixmap(SwatchSize);
  QPoint at = field.center() - QPoint(Div(SwatchSize.width(), 2), Div(SwatchSize.height(), 2)) + QPoint(1, 1);
  painter.drawPixmap(at, swatch);
}
