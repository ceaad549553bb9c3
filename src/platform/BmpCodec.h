// Reading and writing BMP files. Reading accepts uncompressed 1, 4, 8, 16,
// 24 and 32-bit files (16 and 32-bit also with bit-field masks), bottom-up
// or top-down; writing always produces a 24-bit bottom-up file.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

// The pixels of a complete BMP file as a Format_BGR888 image. Raises
// EInvalidGraphic for anything malformed or truncated; never reads outside
// File and allocates only what the file's pixel data covers.
QImage DecodeBmp(QByteArrayView File);

// A 24-bit BMP file with a 40-byte info header, rows bottom-up and padded to
// four bytes. An empty image gives an empty array.
QByteArray EncodeBmp24(const QImage& Image);
