// How large a picture may be once decoded. Checked from a file's header
// before anything is allocated, so a small hostile file cannot ask for
// gigabytes.
#pragma once

#include <QCoreApplication>
#include <cstdint>

#include "Exceptions.h"

// 100 megapixels: 300 MB at 24 bits, far beyond any plan's picture.
constexpr int64_t MaxPicturePixels = 100'000'000;

// Raises EPictureTooLarge ("图片太大") naming the size when Width x Height
// exceeds MaxPicturePixels; negative sizes count as empty.
inline void CheckPictureSize(int64_t Width, int64_t Height) {
  if (Width <= 0 || Height <= 0) return;
  if (Width <= MaxPicturePixels / Height) return;
  throw EPictureTooLarge(QCoreApplication::translate("TPicture", "图片太大：%1 × %2 像素，最多 %3 像素")
                             .arg(Width)
                             .arg(Height)
                             .arg(MaxPicturePixels));
}
