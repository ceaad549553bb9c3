#include "ToolPalette.h"

#include <QHelpEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QToolTip>

#include "IntMath.h"

namespace {

constexpr int ImageSize = 16;
constexpr int ImageLeft = 4;
constexpr int TextLeft = ImageLeft + ImageSize + 5;

// The colour a fraction of the way from A to B.
QColor Blend(const QColor& A, const QColor& B, double Fraction) {
  auto mix = [Fraction](int a, int b) { return Round(a + (b - a) * Fraction); };
  return QColor(mix(A.red(), B.red()), mix(A.green(), B.green()), mix(A.blue(), B.blue()));
}

}  // namespace

TToolPalette::TToolPalette(QWidget* Parent) : QAbstractScrollArea(Parent) {
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setMouseTracking(true);
  viewport()->setAutoFillBackground(false);
  verticalScrollBar()->setSingleStep(ButtonHeight + ButtonSpacing);
}

int TToolPalette::AddCategory(const QString& Caption, const QColor& Color) {
  fCategories.push_back({Caption, Color, {}, false});
  Relayout();
  return CategoryCount() - 1;
}

void TToolPalette::AddButton(int Category, const TPaletteButton& Button) {
  fCategories.at(size_t(Category)).Buttons.push_back(Button);
  Relayout();
}

void TToolPalette::SetCollapsed(int Category, bool Collapsed) {
  TPaletteCategory& category = fCategories.at(size_t(Category));
  if (category.Collapsed == Collapsed) return;
  category.Collapsed = Collapsed;
  SetHot({});
  Relayout();
}

void TToolPalette::SetImageSource(TImageSource Source) {
  fImages = std::move(Source);
  viewport()->update();
}

void TToolPalette::SetButtonColor(const QColor& Value) {
  fButtonColor = Value;
  viewport()->update();
}

void TToolPalette::SetSelectedItem(TPaletteItem Item) {
  if (Item == fSelected) return;
  fSelected = Item;
  viewport()->update();
}

void TToolPalette::SetSelectedButtonColor(const QColor& Value) {
  fSelectedButtonColor = Value;
  viewport()->update();
}

QSize TToolPalette::sizeHint() const { return {129, fContentHeight}; }

// --- geometry ---------------------------------------------------------------

void TToolPalette::Relayout() {
  fCategoryTops.clear();
  int y = 0;
  for (const TPaletteCategory& category : fCategories) {
    fCategoryTops.push_back(y);
    y += CaptionHeight;
    if (category.Collapsed) continue;
    y += ButtonInset + int(category.Buttons.size()) * (ButtonHeight + ButtonSpacing) + ButtonInset;
  }
  fContentHeight = y;
  QScrollBar* bar = verticalScrollBar();
  bar->setPageStep(viewport()->height());
  bar->setRange(0, std::max(0, fContentHeight - viewport()->height()));
  viewport()->update();
}

QRect TToolPalette::ContentCaptionRect(int Category) const {
  if (Category < 0 || Category >= CategoryCount()) return {};
  return {0, fCategoryTops[size_t(Category)], viewport()->width(), CaptionHeight};
}

QRect TToolPalette::ContentButtonRect(TPaletteItem Item) const {
  if (Item.Category < 0 || Item.Category >= CategoryCount()) return {};
  const TPaletteCategory& category = fCategories[size_t(Item.Category)];
  if (category.Collapsed || Item.Index < 0 || Item.Index >= int(category.Buttons.size())) return {};
  int top =
      fCategoryTops[size_t(Item.Category)] + CaptionHeight + ButtonInset + Item.Index * (ButtonHeight + ButtonSpacing);
  return {ButtonInset, top, viewport()->width() - 2 * ButtonInset, ButtonHeight};
}

QRect TToolPalette::CaptionRect(int Category) const {
  return ContentCaptionRect(Category).translated(0, -verticalScrollBar()->value());
}

QRect TToolPalette::ButtonRect(TPaletteItem Item) const {
  return ContentButtonRect(Item).translated(0, -verticalScrollBar()->value());
}

TPaletteItem TToolPalette::ButtonAt(const QPoint& Pos) const {
  for (int c = 0; c < CategoryCount(); ++c)
    for (int i = 0; i < int(fCategories[size_t(c)].Buttons.size()); ++i)
      if (ButtonRect({c, i}).contains(Pos)) return {c, i};
  return {};
}

int TToolPalette::CaptionAt(const QPoint& Pos) const {
  for (int c = 0; c < CategoryCount(); ++c)
    if (CaptionRect(c).contains(Pos)) return c;
  return -1;
}

void TToolPalette::EnsureVisible(TPaletteItem Item) {
  QRect r = ContentButtonRect(Item);
  if (r.isEmpty()) return;
  QScrollBar* bar = verticalScrollBar();
  if (r.top() < bar->value())
    bar->setValue(r.top());
  else if (r.bottom() >= bar->value() + viewport()->height())
    bar->setValue(r.bottom() + 1 - viewport()->height());
}

// --- painting ---------------------------------------------------------------

QPixmap TToolPalette::ImageOf(int ImageIndex) const {
  if (!fImages || ImageIndex < 0) return {};
  return fImages(ImageIndex);
}

void TToolPalette::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), palette().window());
  for (int c = 0; c < CategoryCount(); ++c) {
    const TPaletteCategory& category = fCategories[size_t(c)];
    if (!category.Collapsed) {
      QRect caption = CaptionRect(c);
      int bottom = c + 1 < CategoryCount() ? CaptionRect(c + 1).top() : fContentHeight - verticalScrollBar()->value();
      QRect body(0, caption.bottom() + 1, viewport()->width(), bottom - caption.bottom() - 1);
      painter.fillRect(body, category.Color);
      for (int i = 0; i < int(category.Buttons.size()); ++i) PaintButton(painter, {c, i});
    }
    PaintCaption(painter, c);
  }
}

void TToolPalette::PaintCaption(QPainter& Painter, int Category) const {
  const TPaletteCategory& category = fCategories[size_t(Category)];
  QRect r = CaptionRect(Category);
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  fill.setColorAt(0, Blend(category.Color, Qt::white, 0.5));
  fill.setColorAt(1, category.Color.darker(112));
  Painter.fillRect(r, fill);
  Painter.setPen(category.Color.darker(135));
  Painter.drawLine(r.bottomLeft(), r.bottomRight());

  // A small triangle: pointing down when unfolded, right when folded.
  Painter.save();
  Painter.setRenderHint(QPainter::Antialiasing);
  Painter.setPen(Qt::NoPen);
  Painter.setBrush(QColor(0x40, 0x40, 0x50));
  QPointF c(r.left() + 9.5, r.center().y() + 0.5);
  QPolygonF arrow = category.Collapsed ? QPolygonF({c + QPointF(-2, -4), c + QPointF(2.5, 0), c + QPointF(-2, 4)})
                                       : QPolygonF({c + QPointF(-4, -2), c + QPointF(4, -2), c + QPointF(0, 2.5)});
  Painter.drawPolygon(arrow);
  Painter.restore();

  QFont bold = font();
  bold.setBold(true);
  Painter.setFont(bold);
  Painter.setPen(QColor(0x20, 0x20, 0x30));
  Painter.drawText(r.adjusted(18, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, category.Caption);
  Painter.setFont(font());
}

void TToolPalette::PaintButton(QPainter& Painter, TPaletteItem Item) const {
  const TPaletteCategory& category = fCategories[size_t(Item.Category)];
  const TPaletteButton& button = category.Buttons[size_t(Item.Index)];
  QRect r = ButtonRect(Item);
  if (!r.intersects(viewport()->rect())) return;
  bool selected = Item == fSelected;
  bool hot = Item == fHot;
  bool down = hot && Item == fPressed;

  QColor face = selected || down ? fSelectedButtonColor : fButtonColor;
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  fill.setColorAt(0, down ? face.darker(106) : face);
  fill.setColorAt(1, Blend(face, category.Color.darker(115), 0.45));
  QPainterPath shape;
  shape.addRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
  Painter.save();
  Painter.setRenderHint(QPainter::Antialiasing);
  Painter.fillPath(shape, fill);
  QColor border = selected ? QColor(0x90, 0x90, 0x98) : hot ? QColor(0x7A, 0x96, 0xC8) : category.Color.darker(118);
  Painter.setPen(border);
  Painter.drawPath(shape);
  Painter.restore();

  QPixmap image = ImageOf(button.ImageIndex);
  if (!image.isNull()) Painter.drawPixmap(r.left() + ImageLeft, r.top() + Div(r.height() - ImageSize, 2), image);
  QRect text = r.adjusted(TextLeft, 0, -3, 0);
  QString shown = Painter.fontMetrics().elidedText(button.Caption, Qt::ElideRight, text.width());
  Painter.setPen(palette().color(QPalette::ButtonText));
  Painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, shown);
}

// --- mouse ------------------------------------------------------------------

void TToolPalette::SetHot(TPaletteItem Item) {
  if (fHot == Item) return;
  fHot = Item;
  viewport()->update();
}

void TToolPalette::mousePressEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton) return;
  QPoint pos = Event->position().toPoint();
  fPressed = ButtonAt(pos);
  fPressedCaption = fPressed.IsValid() ? -1 : CaptionAt(pos);
  SetHot(fPressed);
  viewport()->update();
}

void TToolPalette::mouseReleaseEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton) return;
  QPoint pos = Event->position().toPoint();
  TPaletteItem pressed = fPressed;
  int pressedCaption = fPressedCaption;
  fPressed = {};
  fPressedCaption = -1;
  viewport()->update();
  if (pressedCaption >= 0 && CaptionAt(pos) == pressedCaption) {
    SetCollapsed(pressedCaption, !fCategories[size_t(pressedCaption)].Collapsed);
    return;
  }
  if (!pressed.IsValid() || ButtonAt(pos) != pressed) return;
  fSelected = pressed;
  if (OnButtonClicked) OnButtonClicked(this, pressed);
}

void TToolPalette::mouseDoubleClickEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton) return;
  TPaletteItem item = ButtonAt(Event->position().toPoint());
  if (item.IsValid() && item == fSelected && OnButtonDoubleClicked) OnButtonDoubleClicked(this, item);
}

void TToolPalette::mouseMoveEvent(QMouseEvent* Event) { SetHot(ButtonAt(Event->position().toPoint())); }

void TToolPalette::leaveEvent(QEvent*) { SetHot({}); }

void TToolPalette::resizeEvent(QResizeEvent* Event) {
  QAbstractScrollArea::resizeEvent(Event);
  Relayout();
}

void TToolPalette::scrollContentsBy(int, int) { viewport()->update(); }

bool TToolPalette::viewportEvent(QEvent* Event) {
  if (Event->type() == QEvent::Resize) Relayout();
  if (Event->type() != QEvent::ToolTip) return QAbstractScrollArea::viewportEvent(Event);
  auto* help = static_cast<QHelpEvent*>(Event);
  TPaletteItem item = ButtonAt(help->pos());
  if (!item.IsValid()) {
    QToolTip::hideText();
    Event->ignore();
    return true;
  }
  const QString& hint = fCategories[size_t(item.Category)].Buttons[size_t(item.Index)].Hint;
  QToolTip::showText(help->globalPos(), hint, viewport(), ButtonRect(item));
  return true;
}
