// The pictures of the live measure label, kept by text: a label is laid out
// and drawn once, and every repaint of it, or a return to a length shown a
// moment ago, only copies its pixels.
#pragma once

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>
#include <vector>

class QWidget;

class TMeasureLabels {
 public:
  struct TLabel {
    QString Text;
    QSize Size;    // in the widget's pixels
    QImage Image;  // at the widget's device pixel ratio
  };
  // The label of Text as it shows on Widget, in its font and resolution.
  const TLabel& Label(const QString& Text, const QWidget& Widget);
  void Clear() { fLabels.clear(); }
  int Count() const { return int(fLabels.size()); }

  // Enough for a drag that wavers between a few lengths.
  static constexpr size_t Capacity = 16;

 private:
  // Labels drawn for another font or resolution are dropped.
  void Follow(const QWidget& Widget);

  std::vector<TLabel> fLabels;  // the most recently used last
  QFont fFont;
  int fDpiX = 0;
  int fDpiY = 0;
  qreal fRatio = 0;
};
