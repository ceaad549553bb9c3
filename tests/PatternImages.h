// Pictures the tests draw by rule instead of loading them: plain ones to
// paint on, and a colour pattern whose pixels can all be told apart.
#pragma once

#include <QColor>
#include <QImage>

#include "Picture.h"

// One colour all over: a page to paint on, or a picture that must come
// back the same.
inline QImage PlainImage(int Width, int Height, const QColor& Colour = Qt::white,
                         QImage::Format Format = QImage::Format_RGB32) {
  QImage image(Width, Height, Format);
  image.fill(Colour);
  return image;
}

// Red steps by 37 along a row and green by 53 down a column, both odd, so
// up to 256 × 256 pixels no two columns and no two rows are alike; blue is
// x·y. A pixel lost, shifted, mirrored or turned, or two channels swapped,
// changes the picture, and it compresses badly. Seed shifts every channel,
// for another picture of the same kind.
inline QImage ColourPattern(int Width, int Height, QImage::Format Format = QImage::Format_RGB888, int Seed = 0) {
  QImage image(Width, Height, Format);
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x)
      image.setPixel(x, y, qRgb((x * 37 + Seed) % 256, (y * 53 + Seed) % 256, (x * y + Seed) % 256));
  return image;
}

// The same pictures as 24-bit bitmaps, the form the plan keeps.
inline TBitmap PlainBitmap(int Width, int Height, const QColor& Colour) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetImage(PlainImage(Width, Height, Colour, QImage::Format_RGB888));
  return bitmap;
}

inline TBitmap PatternBitmap(int Width, int Height, int Seed = 0) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetImage(ColourPattern(Width, Height, QImage::Format_RGB888, Seed));
  return bitmap;
}
