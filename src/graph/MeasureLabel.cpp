#include "MeasureLabel.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace {
constexpr int LabelPaddingX = 4;
constexpr int LabelPaddingY = 2;
const QColor LabelFill(255, 255, 225);
const QColor LabelFrame(128, 128, 128);
constexpr double MetresPerInch = 0.0254;

TMeasureLabels::TLabel Render(const QString& Text, const QWidget& Widget) {
  TMeasureLabels::TLabel label;
  label.Text = Text;
  label.Size = Widget.fontMetrics().size(Qt::TextSingleLine, Text) + QSize(2 * LabelPaddingX, 2 * LabelPaddingY);
  const qreal ratio = Widget.devicePixelRatioF();
  label.Image = QImage((QSizeF(label.Size) * ratio).toSize(), QImage::Format_RGB32);
  label.Image.setDevicePixelRatio(ratio);
  // The font resolves against the device's resolution: the image's must be
  // the widget's for the glyphs to come out as they would on it.
  label.Image.setDotsPerMeterX(qRound(Widget.logicalDpiX() / MetresPerInch));
  label.Image.setDotsPerMeterY(qRound(Widget.logicalDpiY() / MetresPerInch));
  label.Image.fill(LabelFill);
  QPainter painter(&label.Image);
  const QRect r(QPoint(0, 0), label.Size);
  // The frame is drawn inside the rectangle, so the rectangle is all a
  // repaint needs to wipe the label out.
  painter.setPen(LabelFrame);
  painter.setBrush(LabelFill);
  painter.drawRect(r.adjusted(0, 0, -1, -1));
  painter.setPen(Qt::black);
  painter.setFont(Widget.font());
  painter.drawText(r, Qt::AlignCenter, Text);
  return label;
}
}  // namespace

const TMeasureLabels::TLabel& TMeasureLabels::Label(const QString& Text, const QWidget& Widget) {
  Follow(Widget);
  auto found = std::find_if(fLabels.rbegin(), fLabels.rend(), [&](const TLabel& l) { return l.Text == Text; });
  if (found != fLabels.rend()) {
    std::rotate(found.base() - 1, found.base(), fLabels.end());
    return fLabels.back();
  }
  if (fLabels.size() >= Capacity) fLabels.erase(fLabels.begin());
  fLabels.push_back(Render(Text, Widget));
  return fLabels.back();
}

void TMeasureLabels::Follow(const QWidget& Widget) {
  const QFont& font = Widget.font();
  const int dpiX = Widget.logicalDpiX(), dpiY = Widget.logicalDpiY();
  const qreal ratio = Widget.devicePixelRatioF();
  if (font == fFont && dpiX == fDpiX && dpiY == fDpiY && ratio == fRatio) return;
  fLabels.clear();
  fFont = font;
  fDpiX = dpiX;
  fDpiY = dpiY;
  fRatio = ratio;
}
