// JPEG decoding and encoding through libjpeg. Library errors come back as
// EInvalidGraphic; the library is never allowed to end the process.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

// The pixels of a complete JPEG file (grey, colour or CMYK) as a
// Format_RGB888 image. Raises EInvalidGraphic when the data cannot be
// decoded, ends early, or claims more pixels than its size can code.
QImage DecodeJpeg(QByteArrayView File);

// A baseline JFIF file, YCbCr colour from the image's RGB, at the quality
// given (1..100), full size. Raises EInvalidGraphic when libjpeg refuses.
QByteArray EncodeJpeg(const QImage& Image, int Quality);
