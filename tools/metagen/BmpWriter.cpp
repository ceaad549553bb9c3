#include "BmpWriter.h"

#include <QFile>

#include "Exceptions.h"
#include "IntMath.h"

namespace {

void Put16(QByteArray& out, uint16_t value) {
  out.append(char(value & 0xFF));
  out.append(char(value >> 8));
}

void Put32(QByteArray& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.append(char((value >> shift) & 0xFF));
}

void PutHeaders(QByteArray& out, int width, int height) {
  const uint32_t pixelBytes = uint32_t(BmpRowSize(width)) * uint32_t(height);
  const uint32_t offset = kBmpFileHeaderSize + kBmpInfoHeaderSize;
  out.append("BM", 2);
  Put32(out, offset + pixelBytes);
  Put32(out, 0);  // two reserved words
  Put32(out, offset);
  Put32(out, kBmpInfoHeaderSize);
  Put32(out, uint32_t(width));
  Put32(out, uint32_t(height));  // positive: rows stored bottom-up
  Put16(out, 1);                 // planes
  Put16(out, 24);                // bits per pixel
  Put32(out, 0);                 // BI_RGB, no compression
  Put32(out, pixelBytes);
  Put32(out, kBmpPixelsPerMetre);
  Put32(out, kBmpPixelsPerMetre);
  Put32(out, 0);  // colours used: none, no palette
  Put32(out, 0);  // important colours: all
}

void PutRow(QByteArray& out, const QImage& image, int y) {
  const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
  const int width = image.width();
  for (int x = 0; x < width; ++x) {
    out.append(char(qBlue(line[x])));
    out.append(char(qGreen(line[x])));
    out.append(char(qRed(line[x])));
  }
  for (int pad = width * 3; pad < BmpRowSize(width); ++pad) out.append('\0');
}

}  // namespace

int BmpRowSize(int width) { return Div(width * 3 + 3, 4) * 4; }

QByteArray PaletteBmpBytes(const QImage& image) {
  if (image.isNull()) return QByteArray();
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  QByteArray out;
  out.reserve(kBmpFileHeaderSize + kBmpInfoHeaderSize + BmpRowSize(rgb.width()) * rgb.height());
  PutHeaders(out, rgb.width(), rgb.height());
  for (int y = rgb.height() - 1; y >= 0; --y) PutRow(out, rgb, y);
  return out;
}

void SavePaletteBmp(const QImage& image, const QString& path) {
  const QByteArray bytes = PaletteBmpBytes(image);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
  }
  if (file.write(bytes) != bytes.size() || !file.flush()) {
    throw EWriteError(QStringLiteral("Stream write error"));
  }
}
