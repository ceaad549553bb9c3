#include "RecordingValues.h"

#include <QBuffer>
#include <QFont>
#include <QImageReader>
#include <QPainterPath>
#include <cmath>
#include <cstring>
#include <vector>

#include "PictureLimits.h"

namespace {

// Coordinates of the program's recordings are pixels of a plan (20 km at
// a million). Dashed curves much longer than that take the stroker
// seconds each.
constexpr double kMaxCoordinate = 1e6;
// Scale factors of transforms, pen widths, dash lengths.
constexpr double kMaxScale = 1e4;
constexpr int64_t kMaxFontName = 256;
constexpr uint32_t kMaxFontFamilies = 16;
constexpr uint32_t kMaxDashes = 64;
constexpr uint32_t kMaxRegionRects = 1024;
constexpr int kQRegionRects = 10;  // the QRegion stream's rectangle-list form

bool Within(double Value, double Low, double High) { return std::isfinite(Value) && Value >= Low && Value <= High; }

uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

}  // namespace

TRecordingBudget::TRecordingBudget() : Pixels(MaxPicturePixels) {}

void TRecordingCursor::Fail() { throw EInvalidGraphic(QStringLiteral("Metafile is not valid")); }

void TRecordingCursor::Skip(int64_t Count) {
  if (Count < 0 || Count > Left()) Fail();
  fAt += Count;
}

uint8_t TRecordingCursor::U8() {
  Skip(1);
  return fData[fAt - 1];
}

uint16_t TRecordingCursor::U16() {
  Skip(2);
  return uint16_t(fData[fAt - 2] << 8 | fData[fAt - 1]);
}

uint32_t TRecordingCursor::U32() {
  Skip(4);
  return Be32(fData + fAt - 4);
}

double TRecordingCursor::F64() {
  uint64_t bits = uint64_t(U32()) << 32;
  bits |= U32();
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

uint8_t TRecordingCursor::Enum8(uint8_t Max) {
  uint8_t value = U8();
  if (value > Max) Fail();
  return value;
}

double TRecordingCursor::Coordinate() {
  double value = F64();
  if (!Within(value, -kMaxCoordinate, kMaxCoordinate)) Fail();
  return value;
}

void TRecordingCursor::RectF() {
  PointF();
  PointF();  // width and height
}

// The colour model (invalid or RGB only: the colours the program makes),
// alpha, the
// three channels and a padding word.
void TRecordingCursor::Color() {
  Enum8(1);
  Skip(10);
}

// Plain and hatched brushes; gradients and textures are never recorded by
// the program and are refused.
void TRecordingCursor::Brush() {
  Enum8(Qt::DiagCrossPattern);
  Color();
  Transform();
}

void TRecordingCursor::Pen() {
  uint16_t style = U16();
  const uint16_t line = style & Qt::MPenStyle, cap = style & Qt::MPenCapStyle, join = style & Qt::MPenJoinStyle;
  if (line + cap + join != style) Fail();  // bits outside the three fields
  if (line > Qt::CustomDashLine || cap == Qt::MPenCapStyle) Fail();
  if (join != Qt::MiterJoin && join != Qt::BevelJoin && join != Qt::RoundJoin && join != Qt::SvgMiterJoin) Fail();
  Enum8(1);                                  // cosmetic
  if (!Within(F64(), 0, kMaxScale)) Fail();  // width
  Brush();
  if (!Within(F64(), 0, kMaxScale)) Fail();  // miter limit
  uint32_t dashes = U32();
  if (dashes > kMaxDashes || dashes % 2 != 0) Fail();
  // A period of at least one pen width keeps the dashes along a line
  // countable; Qt's own patterns are whole numbers.
  double period = 0;
  for (uint32_t i = 0; i < dashes; ++i) {
    double dash = F64();
    if (!Within(dash, 0, kMaxScale)) Fail();
    period += dash;
  }
  if (dashes > 0 && period < 1) Fail();
  Coordinate();  // dash offset
  Enum8(1);      // width left at its default
}

void TRecordingCursor::String(int64_t MaxChars, TRecordingBudget& Budget) {
  uint32_t bytes = U32();
  if (bytes == 0xFFFFFFFFu) return;  // the null string
  if (bytes % 2 != 0 || bytes / 2 > uint64_t(MaxChars)) Fail();
  Budget.Characters -= bytes / 2;
  if (Budget.Characters < 0) Fail();
  Skip(bytes);
}

// The QFont stream of version Qt_6_0: families, sizes, style, spacing.
void TRecordingCursor::Font(TRecordingBudget& Budget) {
  String(kMaxFontName, Budget);  // family
  String(kMaxFontName, Budget);  // style name
  double pointSize = F64();
  if (pointSize != -1 && !Within(pointSize, 0.01, 4096)) Fail();
  int32_t pixelSize = I32();
  if (pixelSize != -1 && (pixelSize < 1 || pixelSize > 4096)) Fail();
  Enum8(QFont::Fantasy);  // style hint
  U16();                  // style strategy: flags, each one harmless
  uint16_t weight = U16();
  if (weight < 1 || weight > 1000) Fail();
  U8();                      // italic, underline and the like
  if (U16() > 4000) Fail();  // stretch
  U8();                      // more flags
  for (int spacing = 0; spacing < 2; ++spacing) {
    int32_t value = I32();  // 26.6 fixed point
    if (value < -1000 * 64 || value > 1000 * 64) Fail();
  }
  Enum8(QFont::PreferFullHinting);
  Enum8(QFont::Capitalize);
  uint32_t families = U32();
  if (families > kMaxFontFamilies) Fail();
  for (uint32_t i = 0; i < families; ++i) String(kMaxFontName, Budget);
}

void TRecordingCursor::PolygonF(TRecordingBudget& Budget) {
  uint32_t count = U32();
  if (count > Left() / 16) Fail();
  Budget.Points -= count;
  if (Budget.Points < 0) Fail();
  for (uint32_t i = 0; i < count; ++i) PointF();
}

// Elements as QPainterPath keeps them: a subpath starts with a move, and a
// curve is a CurveTo followed by exactly two CurveToData control points.
void TRecordingCursor::Path(TRecordingBudget& Budget) {
  int32_t count = I32();
  if (count == 0) return;
  if (count < 0 || count > Left() / 20) Fail();
  Budget.Points -= count;
  if (Budget.Points < 0) Fail();
  int pendingData = 0;
  std::vector<bool> moves(size_t(count), false);
  for (int32_t i = 0; i < count; ++i) {
    uint32_t type = U32();
    PointF();
    if (type == QPainterPath::CurveToDataElement) {
      if (pendingData == 0) Fail();
      --pendingData;
      continue;
    }
    if (pendingData != 0 || type > QPainterPath::CurveToElement) Fail();
    if (i == 0 && type != QPainterPath::MoveToElement) Fail();
    if (type == QPainterPath::CurveToElement) pendingData = 2;
    moves[size_t(i)] = type == QPainterPath::MoveToElement;
  }
  if (pendingData != 0) Fail();
  int32_t subpathStart = I32();
  if (subpathStart < 0 || subpathStart >= count || !moves[size_t(subpathStart)]) Fail();
  if (U32() > Qt::WindingFill) Fail();
}

void TRecordingCursor::Transform() {
  const double m11 = F64(), m12 = F64(), m13 = F64();
  const double m21 = F64(), m22 = F64(), m23 = F64();
  Coordinate();
  Coordinate();
  const double m33 = F64();
  if (m13 != 0 || m23 != 0 || m33 != 1) Fail();  // perspective
  for (double m : {m11, m12, m21, m22})
    if (!Within(m, -kMaxScale, kMaxScale)) Fail();
}

void TRecordingCursor::Region() {
  uint32_t bytes = U32();
  if (bytes == 0 || bytes == 0xFFFFFFFFu) return;  // no region
  if (bytes < 8 || bytes > Left()) Fail();
  if (I32() != kQRegionRects) Fail();
  uint32_t rects = U32();
  if (rects > kMaxRegionRects || bytes != 8 + 16 * rects) Fail();
  for (uint32_t i = 0; i < 4 * rects; ++i) {
    int32_t v = I32();
    if (v < -kMaxCoordinate || v > kMaxCoordinate) Fail();
  }
}

namespace {

// The extent of a PNG file starting at Data: its header's size, and where
// its IEND chunk ends. Size 0 when the chunks do not add up.
struct TPngExtent {
  int64_t Size = 0;
  int64_t Width = 0;
  int64_t Height = 0;
};

TPngExtent ScanPng(const uint8_t* Data, int64_t Left) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (Left < 8 + 25 || std::memcmp(Data, kSignature, 8) != 0) return {};
  if (Be32(Data + 8) != 13 || std::memcmp(Data + 12, "IHDR", 4) != 0) return {};
  TPngExtent png{0, Be32(Data + 16), Be32(Data + 20)};
  for (int64_t at = 8; Left - at >= 12;) {
    int64_t length = Be32(Data + at);
    if (length > Left - at - 12) return {};
    bool end = std::memcmp(Data + at + 4, "IEND", 4) == 0;
    at += 12 + length;
    if (end) return png.Size = at, png;
  }
  return {};
}

}  // namespace

void TRecordingCursor::Image(TRecordingBudget& Budget) {
  uint32_t present = U32();
  if (present == 0) return;
  if (present != 1) Fail();
  TPngExtent png = ScanPng(Here(), Left());
  if (png.Size == 0) Fail();
  CheckPictureSize(png.Width, png.Height);
  Budget.Pixels -= png.Width * png.Height;
  if (Budget.Pixels < 0) Fail();
  // The player reads the image with this same reader from the same bytes:
  // it must decode, and stop exactly at the end of the file.
  QByteArray file = QByteArray::fromRawData(reinterpret_cast<const char*>(Here()), qsizetype(png.Size));
  QBuffer buffer(&file);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "png");
  if (reader.read().isNull() || buffer.pos() != png.Size) Fail();
  Skip(png.Size);
}
