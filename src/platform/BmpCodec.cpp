#include "BmpCodec.h"

#include <array>
#include <bit>
#include <cstring>
#include <limits>

#include "Exceptions.h"
#include "IntMath.h"
#include "PictureLimits.h"

namespace {

constexpr uint32_t kRgb = 0;
constexpr uint32_t kBitFields = 3;
constexpr int64_t kFileHeaderSize = 14;
constexpr int64_t kInfoHeaderSize = 40;
constexpr int64_t kCoreHeaderSize = 12;

[[noreturn]] void RaiseInvalid() { throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid")); }

// Little-endian fields at checked offsets.
class TBytes {
 public:
  explicit TBytes(QByteArrayView data) : fData(reinterpret_cast<const uint8_t*>(data.data())), fSize(data.size()) {}
  int64_t Size() const { return fSize; }
  const uint8_t* At(int64_t offset, int64_t count) const {
    if (offset < 0 || count < 0 || offset > fSize || count > fSize - offset) RaiseInvalid();
    return fData + offset;
  }
  uint32_t U16(int64_t offset) const {
    const uint8_t* p = At(offset, 2);
    return p[0] | p[1] << 8;
  }
  uint32_t U32(int64_t offset) const {
    const uint8_t* p = At(offset, 4);
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
  }
  int32_t I32(int64_t offset) const { return static_cast<int32_t>(U32(offset)); }

 private:
  const uint8_t* fData;
  int64_t fSize;
};

// One colour channel of a bit-field pixel, scaled to 8 bits.
class TChannel {
 public:
  TChannel() = default;
  TChannel(uint32_t mask, int pixelBits) : fMask(mask) {
    if (mask == 0) return;
    if (pixelBits < 32 && (mask >> pixelBits) != 0) RaiseInvalid();
    fShift = std::countr_zero(mask);
    fBits = std::popcount(mask);
    if (fBits < 32 && (mask >> fShift) != (uint32_t(1) << fBits) - 1) RaiseInvalid();  // not contiguous
  }
  uint8_t Value(uint32_t pixel) const {
    if (fMask == 0) return 0;
    uint32_t v = (pixel & fMask) >> fShift;
    if (fBits >= 8) return uint8_t(v >> (fBits - 8));
    return uint8_t(MulDiv(int32_t(v), 255, (1 << fBits) - 1));
  }

 private:
  uint32_t fMask = 0;
  int fShift = 0;
  int fBits = 0;
};

struct THeader {
  int64_t Width = 0;
  int64_t Height = 0;
  bool TopDown = false;
  int Bits = 0;
  uint32_t Compression = kRgb;
  int64_t ColorsUsed = 0;
  int64_t PaletteOffset = 0;
  int PaletteEntrySize = 4;
  std::array<uint32_t, 3> Masks{};  // red, green, blue
  int64_t PixelOffset = 0;
};

void ReadCoreHeader(const TBytes& b, THeader& h) {
  h.Width = b.U16(18);
  h.Height = b.U16(20);
  if (b.U16(22) != 1) RaiseInvalid();
  h.Bits = int(b.U16(24));
  h.PaletteEntrySize = 3;
  h.PaletteOffset = kFileHeaderSize + kCoreHeaderSize;
}

void ReadInfoHeader(const TBytes& b, int64_t headerSize, THeader& h) {
  h.Width = b.I32(18);
  int32_t height = b.I32(22);
  if (height == std::numeric_limits<int32_t>::min()) RaiseInvalid();
  h.TopDown = height < 0;
  h.Height = h.TopDown ? -int64_t(height) : height;
  if (b.U16(26) != 1) RaiseInvalid();
  h.Bits = int(b.U16(28));
  h.Compression = b.U32(30);
  h.ColorsUsed = b.U32(46);
  h.PaletteOffset = kFileHeaderSize + headerSize;
  if (h.Compression != kBitFields) return;
  // A 40-byte header is followed by the three masks; longer ones hold them.
  int64_t masks = kFileHeaderSize + kInfoHeaderSize;
  h.Masks = {b.U32(masks), b.U32(masks + 4), b.U32(masks + 8)};
  if (headerSize == kInfoHeaderSize) h.PaletteOffset += 12;
}

bool SupportedFormat(const THeader& h) {
  if (h.Compression == kBitFields) return h.Bits == 16 || h.Bits == 32;
  if (h.Compression != kRgb) return false;
  return h.Bits == 1 || h.Bits == 4 || h.Bits == 8 || h.Bits == 16 || h.Bits == 24 || h.Bits == 32;
}

THeader ReadHeader(const TBytes& b) {
  if (b.Size() < kFileHeaderSize + kCoreHeaderSize) RaiseInvalid();
  const uint8_t* magic = b.At(0, 2);
  if (magic[0] != 'B' || magic[1] != 'M') RaiseInvalid();
  THeader h;
  h.PixelOffset = b.U32(10);
  int64_t headerSize = b.U32(14);
  if (headerSize == kCoreHeaderSize)
    ReadCoreHeader(b, h);
  else if (headerSize >= kInfoHeaderSize && headerSize <= b.Size())
    ReadInfoHeader(b, headerSize, h);
  else
    RaiseInvalid();
  if (h.Width <= 0 || h.Height <= 0 || !SupportedFormat(h)) RaiseInvalid();
  if (h.PixelOffset < h.PaletteOffset || h.PixelOffset > b.Size()) RaiseInvalid();
  return h;
}

// Palette entries are blue, green, red (and a reserved byte); indices past
// the palette read as black.
std::array<std::array<uint8_t, 3>, 256> ReadPalette(const TBytes& b, const THeader& h) {
  std::array<std::array<uint8_t, 3>, 256> palette{};
  int64_t maxColors = int64_t(1) << h.Bits;
  int64_t count = h.ColorsUsed == 0 || h.ColorsUsed > maxColors ? maxColors : h.ColorsUsed;
  const uint8_t* p = b.At(h.PaletteOffset, count * h.PaletteEntrySize);
  for (int64_t i = 0; i < count; ++i, p += h.PaletteEntrySize) palette[size_t(i)] = {p[0], p[1], p[2]};
  return palette;
}

void DecodeIndexedRow(const uint8_t* src, uint8_t* dst, int64_t width, int bits,
                      const std::array<std::array<uint8_t, 3>, 256>& palette) {
  const int perByte = 8 / bits;
  const uint8_t mask = uint8_t((1 << bits) - 1);
  for (int64_t x = 0; x < width; ++x) {
    int shift = 8 - bits * int(x % perByte + 1);
    uint8_t index = (src[x / perByte] >> shift) & mask;
    std::memcpy(dst + 3 * x, palette[index].data(), 3);
  }
}

void DecodeFieldRow(const uint8_t* src, uint8_t* dst, int64_t width, int bits, const TChannel (&rgb)[3]) {
  const int bytes = bits / 8;
  for (int64_t x = 0; x < width; ++x, src += bytes) {
    uint32_t pixel = bytes == 2
                         ? uint32_t(src[0] | src[1] << 8)
                         : uint32_t(src[0]) | uint32_t(src[1]) << 8 | uint32_t(src[2]) << 16 | uint32_t(src[3]) << 24;
    dst[3 * x] = rgb[2].Value(pixel);
    dst[3 * x + 1] = rgb[1].Value(pixel);
    dst[3 * x + 2] = rgb[0].Value(pixel);
  }
}

void DecodeDirectRow(const uint8_t* src, uint8_t* dst, int64_t width, int bits) {
  if (bits == 24) return void(std::memcpy(dst, src, size_t(3 * width)));
  for (int64_t x = 0; x < width; ++x) std::memcpy(dst + 3 * x, src + 4 * x, 3);
}

}  // namespace

QImage DecodeBmp(QByteArrayView File) {
  TBytes b(File);
  THeader h = ReadHeader(b);
  CheckPictureSize(h.Width, h.Height);
  const int64_t stride = (h.Width * h.Bits + 31) / 32 * 4;
  // The pixel data must be there in full before anything is allocated.
  if (h.Height > b.Size() / stride) RaiseInvalid();
  const uint8_t* pixels = b.At(h.PixelOffset, stride * h.Height);
  std::array<std::array<uint8_t, 3>, 256> palette{};
  if (h.Bits <= 8) palette = ReadPalette(b, h);
  TChannel channels[3];
  if (h.Compression == kBitFields)
    for (int i = 0; i < 3; ++i) channels[i] = TChannel(h.Masks[size_t(i)], h.Bits);
  else if (h.Bits == 16)
    channels[0] = TChannel(0x7C00, 16), channels[1] = TChannel(0x03E0, 16), channels[2] = TChannel(0x001F, 16);

  QImage image(int(h.Width), int(h.Height), QImage::Format_BGR888);
  if (image.isNull()) RaiseInvalid();
  for (int64_t row = 0; row < h.Height; ++row) {
    const uint8_t* src = pixels + row * stride;
    uint8_t* dst = image.scanLine(int(h.TopDown ? row : h.Height - 1 - row));
    if (h.Bits <= 8)
      DecodeIndexedRow(src, dst, h.Width, h.Bits, palette);
    else if (h.Bits == 16 || h.Compression == kBitFields)
      DecodeFieldRow(src, dst, h.Width, h.Bits, channels);
    else
      DecodeDirectRow(src, dst, h.Width, h.Bits);
  }
  return image;
}

namespace {

void Put16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
  Put16(p, v);
  Put16(p + 2, v >> 16);
}

}  // namespace

QByteArray EncodeBmp24(const QImage& Image) {
  if (Image.isNull() || Image.width() <= 0 || Image.height() <= 0) return {};
  QImage image = Image.convertToFormat(QImage::Format_BGR888);
  const int64_t width = image.width();
  const int64_t height = image.height();
  const int64_t stride = (width * 3 + 3) / 4 * 4;
  const int64_t headers = kFileHeaderSize + kInfoHeaderSize;
  const int64_t fileSize = headers + stride * height;
  if (fileSize > std::numeric_limits<int32_t>::max()) RaiseInvalid();

  QByteArray file(fileSize, '\0');
  auto* p = reinterpret_cast<uint8_t*>(file.data());
  p[0] = 'B';
  p[1] = 'M';
  Put32(p + 2, uint32_t(fileSize));
  Put32(p + 10, uint32_t(headers));
  Put32(p + 14, uint32_t(kInfoHeaderSize));
  Put32(p + 18, uint32_t(width));
  Put32(p + 22, uint32_t(height));
  Put16(p + 26, 1);
  Put16(p + 28, 24);
  Put32(p + 34, uint32_t(stride * height));
  for (int64_t row = 0; row < height; ++row)
    std::memcpy(p + headers + row * stride, image.constScanLine(int(height - 1 - row)), size_t(3 * width));
  return file;
}
