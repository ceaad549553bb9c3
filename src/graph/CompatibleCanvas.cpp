#include "CompatibleCanvas.h"

// Text is measured in logical units independent of the device, so one pixel
// of the screen's format is enough.
TCompatibleCanvas::TCompatibleCanvas() : fImage(1, 1, QImage::Format_RGB32) {
  fImage.fill(Qt::white);
  Begin(&fImage);
}

TCompatibleCanvas::~TCompatibleCanvas() { End(); }
