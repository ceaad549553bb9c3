// Measuring drawn pictures, and reading the headers of picture files.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <cstdint>

// Little-endian fields of a picture file's headers.
inline uint32_t U32(const QByteArray& bytes, int at) {
  uint32_t value = 0;
  for (int k = 3; k >= 0; --k) value = (value << 8) | uint8_t(bytes[at + k]);
  return value;
}

inline uint16_t U16(const QByteArray& bytes, int at) {
  return uint16_t(uint8_t(bytes[at]) | (uint8_t(bytes[at + 1]) << 8));
}

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
