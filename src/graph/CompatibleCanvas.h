// An off-screen canvas for measuring text without any window: a canvas over
// a small private image of its own.
#pragma once

#include <QImage>

#include "Canvas.h"

class TCompatibleCanvas : public TCanvas {
 public:
  TCompatibleCanvas();
  // Ends painting before the image goes away.
  ~TCompatibleCanvas() override;

 private:
  QImage fImage;
};
