#include "CaptionButton.h"

#include <QPainter>

#include "IntMath.h"

TCaptionButton::TCaptionButton(QWidget* Parent) : QAbstractButton(Parent) { setAttribute(Qt::WA_Hover); }

QSize TCaptionButton::sizeHint() const { return {2 + ImageSide + 2 + fontMetrics().horizontalAdvance(text()) + 2, 25}; }

void TCaptionButton::enterEvent(QEnterEvent* Event) {
  fHot = true;
  update();
  QAbstractButton::enterEvent(Event);
}

void TCaptionButton::leaveEvent(QEvent* Event) {
  fHot = false;
  update();
  QAbstractButton::leaveEvent(Event);
}

void TCaptionButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QRect r = rect().adjusted(0, 0, -1, -1);
  const bool sunk = isChecked() || isDown();
  if (sunk || fHot) {
    painter.fillRect(r, sunk ? QColor(0xD6, 0xE2, 0xF5) : QColor(0xEA, 0xF0, 0xFA));
    painter.setPen(sunk ? QColor(0x6F, 0x8C, 0xC0) : QColor(0xA8, 0xBC, 0xDE));
    painter.drawRect(r);
  }
  const int offset = isDown() ? 1 : 0;
  const QPixmap image = icon().pixmap(ImageSide, ImageSide, isEnabled() ? QIcon::Normal : QIcon::Disabled);
  const int imageTop = Div(height() - ImageSide, 2) + offset;
  painter.drawPixmap(2 + offset, imageTop, image);
  QRect caption(2 + ImageSide + 2 + offset, offset, width() - ImageSide - 4, height());
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, text());
}
