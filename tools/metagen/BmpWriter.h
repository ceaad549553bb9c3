// Writes pictures as 24-bit uncompressed Windows bitmaps (BITMAPINFOHEADER,
// bottom-up rows, each padded to a multiple of 4 bytes), the one layout the
// designer's picture files use. Written here byte by byte so the layout does
// not depend on any image library's choices.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

constexpr int kBmpFileHeaderSize = 14;
constexpr int kBmpInfoHeaderSize = 40;
constexpr int kBmpPixelsPerMetre = 3780;  // 96 dots per inch

// Bytes of one stored row of a 24-bit picture of the given width.
int BmpRowSize(int width);

// The whole file; an empty array for a null image.
QByteArray PaletteBmpBytes(const QImage& image);

// Raises EFCreateError when the file cannot be created and EWriteError when
// it cannot be written completely.
void SavePaletteBmp(const QImage& image, const QString& path);
