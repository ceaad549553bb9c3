// A small flat button showing an image and a caption side by side, made
// for tight rows such as the line-width buttons: the image shrinks to fit
// the button's height and the caption follows it. Checked and pressed
// buttons look sunk in; the pointer lights a button up.
#pragma once

#include <QAbstractButton>

class TCaptionButton : public QAbstractButton {
 public:
  static constexpr int ImageSide = 12;

  explicit TCaptionButton(QWidget* Parent = nullptr);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void enterEvent(QEnterEvent* Event) override;
  void leaveEvent(QEvent* Event) override;

 private:
  bool fHot = false;
};
