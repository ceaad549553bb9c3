#include "GraphScrollBar.h"

#include <QElapsedTimer>
#include <QScrollBar>
#include <QStyle>
#include <QThread>

#include "GraphEditor.h"
#include "IntMath.h"

namespace {
constexpr const char* kStyles[] = {"ssRegular", "ssFlat", "ssHotTrack"};
const TEnumType ScrollBarStyleType{"TScrollBarStyle", kStyles};
}  // namespace

TGraphScrollBar::TGraphScrollBar(TGraphEditor* AOwner, TScrollBarKind AKind) : fOwner(AOwner), fKind(AKind) {
  QScrollBar* bar = Bar();
  if (!bar) return;
  bar->setTracking(true);
  connect(bar, &QAbstractSlider::actionTriggered, this, &TGraphScrollBar::OnBarAction);
  connect(bar, &QAbstractSlider::sliderReleased, this, &TGraphScrollBar::OnBarReleased);
}

TGraphScrollBar::~TGraphScrollBar() = default;

QScrollBar* TGraphScrollBar::Bar() const {
  return fKind == sbHorizontal ? fOwner->horizontalScrollBar() : fOwner->verticalScrollBar();
}

TGraphScrollBar* TGraphScrollBar::Other() const {
  return fKind == sbHorizontal ? fOwner->VertScrollBar() : fOwner->HorzScrollBar();
}

void TGraphScrollBar::Assign(const TPersistent* Source) {
  auto* src = dynamic_cast<const TGraphScrollBar*>(Source);
  if (!src) return TPersistent::Assign(Source);
  SetExtent(src->fRange);
  SetVisible(src->fVisible);
  SetPosition(src->fPosition);
  SetButtonSize(src->fButtonSize);
  SetColor(src->fColor);
  SetParentColor(src->fParentColor);
  SetIncrement(src->fIncrement);
  SetMargin(src->fMargin);
  SetSmooth(src->fSmooth);
  SetSize(src->fSize);
  SetStyle(src->fStyle);
  SetThumbSize(src->fThumbSize);
  SetTracking(src->fTracking);
}

const TPropList& TGraphScrollBar::Properties() const {
  static const TPropList list =
      TPropTable<TGraphScrollBar>(TPersistent::Properties())
          .Integer("ButtonSize", &TGraphScrollBar::ButtonSize, &TGraphScrollBar::SetButtonSize, 0)
          .Integer("Color", &TGraphScrollBar::Color, &TGraphScrollBar::SetColor, clBtnHighlight, &ColorIdents)
          .Integer("Increment", &TGraphScrollBar::Increment, &TGraphScrollBar::SetIncrement, 8)
          .StoredWhen(&TGraphScrollBar::IncrementStored)
          .Integer("Margin", &TGraphScrollBar::Margin, &TGraphScrollBar::SetMargin, 0)
          .Boolean("ParentColor", &TGraphScrollBar::ParentColor, &TGraphScrollBar::SetParentColor, true)
          .Integer("Position", &TGraphScrollBar::Position, &TGraphScrollBar::SetPosition, 0)
          .Boolean("Smooth", &TGraphScrollBar::Smooth, &TGraphScrollBar::SetSmooth, false)
          .Integer("Size", &TGraphScrollBar::Size, &TGraphScrollBar::SetSize, 0)
          .Enumeration("Style", &TGraphScrollBar::Style, &TGraphScrollBar::SetStyle, ScrollBarStyleType, ssRegular)
          .Integer("ThumbSize", &TGraphScrollBar::ThumbSize, &TGraphScrollBar::SetThumbSize, 0)
          .Boolean("Tracking", &TGraphScrollBar::Tracking, &TGraphScrollBar::SetTracking, false)
          .Boolean("Visible", &TGraphScrollBar::Visible, &TGraphScrollBar::SetVisible, true);
  return list;
}

// ---------------------------------------------------------------------------

bool TGraphScrollBar::IsScrollBarVisible() const { return fVisible && fShown; }

void TGraphScrollBar::ChangeBiDiPosition() {
  if (fKind != sbHorizontal || !IsScrollBarVisible()) return;
  SetPosition(fOwner->UseRightToLeftReading() ? fRange : 0);
}

int TGraphScrollBar::ClientExtent(bool AsIs, bool AssumeOther) const {
  int extent = fKind == sbHorizontal ? fOwner->ClientWidth() : fOwner->ClientHeight();
  if (AsIs) return extent;
  int thickness = fOwner->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, fOwner);
  bool otherShown = Other() && Other()->fShown;
  if (AssumeOther && !otherShown) extent -= thickness;
  if (!AssumeOther && otherShown) extent += thickness;
  return extent;
}

bool TGraphScrollBar::RangeExceedsClient() const { return ClientExtent(false, false) < fRange; }

void TGraphScrollBar::SetExtent(int32_t E) {
  int32_t range = E > 0 ? MulDiv(E, fOwner->Zoom(), 100) : 0;
  if (range == fRange) return;
  fRange = range;
  fOwner->RefreshScrollBars();
}

void TGraphScrollBar::ComputeRange() {
  bool horz = fKind == sbHorizontal;
  int32_t E;
  if (fOwner->FixedScrollBars()) {
    E = horz ? fOwner->GraphConstraints()->MaxRight() : fOwner->GraphConstraints()->MaxBottom();
  } else {
    E = 1;
    if (fOwner->ValidMarkedArea()) {
      int32_t edge = horz ? fOwner->MarkedArea().Right : fOwner->MarkedArea().Bottom;
      if (edge > 1) E = edge;
    }
    TRect bounds = fOwner->GraphBounds();
    E = std::max(E, horz ? bounds.Right : bounds.Bottom);
  }
  int32_t extra = 0;
  for (QObject* child : fOwner->viewport()->children()) {
    auto* w = qobject_cast<QWidget*>(child);
    if (!w || !w->isVisible()) continue;
    // Children are placed freely (anchored left/top); they extend the range.
    int32_t reach = fPosition + (horz ? w->x() + w->width() : w->y() + w->height());
    E = std::max(E, reach);
  }
  SetExtent(E + extra + fMargin);
}

void TGraphScrollBar::PushLook() {
  QScrollBar* bar = Bar();
  if (fSize > 0) {
    if (fKind == sbHorizontal)
      bar->setFixedHeight(fSize);
    else
      bar->setFixedWidth(fSize);
  }
  if (!fParentColor) {
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Button, ToQColor(fColor));
    pal.setColor(QPalette::Window, ToQColor(fColor));
    bar->setPalette(pal);
  } else {
    bar->setPalette(QPalette());
  }
  fUpdateNeeded = false;
}

void TGraphScrollBar::Synchronize(bool AsIs, bool AssumeOther) {
  fCalcRange = 0;
  if (fVisible) fCalcRange = std::max(0, fRange - ClientExtent(AsIs, AssumeOther));
  if (fUpdateNeeded) PushLook();
  QScrollBar* bar = Bar();
  bool show = fVisible && fCalcRange >= 1;
  fSettingBar = true;
  Qt::ScrollBarPolicy policy = show ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
  if (fKind == sbHorizontal) {
    if (fOwner->horizontalScrollBarPolicy() != policy) fOwner->setHorizontalScrollBarPolicy(policy);
  } else if (fOwner->verticalScrollBarPolicy() != policy) {
    fOwner->setVerticalScrollBarPolicy(policy);
  }
  fShown = show;
  int page = ClientExtent(AsIs, AssumeOther) + 1;
  bar->setRange(0, show ? fCalcRange : 0);
  bar->setPageStep(std::max(1, page));
  bar->setSingleStep(std::max(1, int(fIncrement)));
  bar->setValue(std::min(fPosition, bar->maximum()));
  fSettingBar = false;
  SetPosition(fPosition);
  fPageIncrement = uint16_t(Div(ClientExtent(true, false) * 9, 10));
  if (fSmooth) fIncrement = uint16_t(Div(fPageIncrement, 10));
}

void TGraphScrollBar::SetPosition(int32_t Value) {
  int32_t pos = std::clamp(Value, 0, fCalcRange);
  int32_t old = fPosition;
  if (pos != old) {
    fPosition = pos;
    if (fKind == sbHorizontal)
      fOwner->ScrollBy(old - pos, 0);
    else
      fOwner->ScrollBy(0, old - pos);
  }
  QScrollBar* bar = Bar();
  if (bar && bar->value() != fPosition) {
    fSettingBar = true;
    bar->setValue(fPosition);
    fSettingBar = false;
  }
}

void TGraphScrollBar::HandleScrollMessage(int Code, int Pos) {
  if (fSmooth && Code >= scLineUp && Code <= scPageDown) {
    bool line = Code <= scLineDown;
    int n = line ? fLineDiv : fPageDiv;
    int amount = line ? fIncrement : fPageIncrement;
    int step = Div(amount, n);
    int rest = amount % n;
    int sign = (Code == scLineUp || Code == scPageUp) ? -1 : 1;
    QElapsedTimer timer;
    for (int i = 0; i < n; ++i) {
      if (i > 0 && timer.isValid()) {
        qint64 spent = timer.elapsed();
        if (spent < fDelay) QThread::msleep(static_cast<unsigned long>(fDelay - spent));
      }
      timer.start();
      SetPosition(fPosition + sign * step);
      if (fOwner->isVisible()) fOwner->viewport()->repaint();
    }
    if (rest >= 1) SetPosition(fPosition + sign * rest);
    return;
  }
  switch (Code) {
    case scLineUp: SetPosition(fPosition - fIncrement); break;
    case scLineDown: SetPosition(fPosition + fIncrement); break;
    case scPageUp: SetPosition(fPosition - ClientExtent(true, false)); break;
    case scPageDown: SetPosition(fPosition + ClientExtent(true, false)); break;
    case scPosition:
    case scTrack: {
      if (Code == scTrack && !fTracking) break;
      int32_t pos = fCalcRange < 32768 ? Pos : Bar()->sliderPosition();
      SetPosition(pos);
      break;
    }
    case scTop: SetPosition(0); break;
    case scBottom: SetPosition(fCalcRange); break;
    default: break;
  }
}

void TGraphScrollBar::OnBarAction(int Action) {
  if (fSettingBar || !fVisible) return;
  QScrollBar* bar = Bar();
  int code = -1;
  switch (Action) {
    case QAbstractSlider::SliderSingleStepSub: code = scLineUp; break;
    case QAbstractSlider::SliderSingleStepAdd: code = scLineDown; break;
    case QAbstractSlider::SliderPageStepSub: code = scPageUp; break;
    case QAbstractSlider::SliderPageStepAdd: code = scPageDown; break;
    case QAbstractSlider::SliderToMinimum: code = scTop; break;
    case QAbstractSlider::SliderToMaximum: code = scBottom; break;
    case QAbstractSlider::SliderMove: code = scTrack; break;
    default: return;
  }
  int track = bar->sliderPosition();
  fSettingBar = true;
  bar->setSliderPosition(fPosition);  // the bar shows what we decide, not what it guessed
  fSettingBar = false;
  HandleScrollMessage(code, track & 0xFFFF);
  if (code == scTrack && !fTracking) {
    fSettingBar = true;
    bar->setSliderPosition(track);  // keep the thumb under the mouse until release
    fSettingBar = false;
  }
  fOwner->Invalidate();
}

void TGraphScrollBar::OnBarReleased() {
  if (!fVisible) return;
  QScrollBar* bar = Bar();
  HandleScrollMessage(scPosition, bar->sliderPosition() & 0xFFFF);
  fOwner->Invalidate();
}

// ---------------------------------------------------------------------------
// Look

void TGraphScrollBar::SetVisible(bool Value) {
  fVisible = Value;
  fOwner->RefreshScrollBars();
}

void TGraphScrollBar::SetButtonSize(int Value) {
  if (Value == fButtonSize) return;
  fButtonSize = Value;
  fUpdateNeeded = true;
  fOwner->RefreshScrollBars();
}

void TGraphScrollBar::SetSize(int Value) {
  if (Value == fSize) return;
  fSize = Value;
  fUpdateNeeded = true;
  fOwner->RefreshScrollBars();
}

void TGraphScrollBar::SetColor(TColor Value) {
  fColor = Value;
  fParentColor = false;
  fUpdateNeeded = true;
  fOwner->RefreshScrollBars();
}

void TGraphScrollBar::SetParentColor(bool Value) {
  fParentColor = Value;
  if (!Value) return;
  SetColor(clBtnHighlight);
  fParentColor = true;
}

void TGraphScrollBar::SetStyle(TScrollBarStyle Value) {
  fStyle = Value;
  fUpdateNeeded = true;
  fOwner->RefreshScrollBars();
}

void TGraphScrollBar::SetThumbSize(int Value) {
  fThumbSize = Value;
  fUpdateNeeded = true;
  fOwner->RefreshScrollBars();
}
