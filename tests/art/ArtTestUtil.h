// Measuring drawn pictures.
#pragma once

#include <QImage>
#include <QRect>

// Bounding box of the pixels that are clearly not white (any channel below
// 160) on an opaque picture.
inline QRect InkBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) < 160 || qGreen(p) < 160 || qBlue(p) < 160) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

// Number of pixels that are not fully transparent.
inline int OpaqueCount(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) != 0;
  }
  return count;
}
