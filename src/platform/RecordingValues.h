// The parameter values inside a QPicture recording, read the way Qt's
// player reads them (QDataStream, big-endian, version Qt_6_0, doubles) and
// accepted only when known and in range. Used by CheckRecording; every
// reader raises EInvalidGraphic for anything else.
#pragma once

#include <QByteArrayView>
#include <cstdint>

// Bounds shared by one recording: the player's cost grows with these, so
// they are counted across all records.
struct TRecordingBudget {
  int64_t Points = 4'000'000;      // path elements and polygon points
  int64_t Characters = 1'000'000;  // text, font family names included
  int64_t Pixels;                  // embedded images, all together
  TRecordingBudget();
};

// A bounds-checked reader over one record's parameters.
class TRecordingCursor {
 public:
  TRecordingCursor(const uint8_t* Data, int64_t Size) : fData(Data), fSize(Size) {}

  int64_t Position() const { return fAt; }
  int64_t Left() const { return fSize - fAt; }
  const uint8_t* Here() const { return fData + fAt; }
  void Skip(int64_t Count);

  uint8_t U8();
  uint16_t U16();
  uint32_t U32();
  int32_t I32() { return int32_t(U32()); }
  double F64();
  // A U8 that must be at most Max (enums, booleans).
  uint8_t Enum8(uint8_t Max);

  // Finite and within +-Limit.
  double Coordinate();
  void PointF() {
    Coordinate();
    Coordinate();
  }
  void RectF();
  void Color();
  void Brush();
  void Pen();
  void Font(TRecordingBudget& Budget);
  // A QString of at most MaxChars UTF-16 units (or the null string).
  void String(int64_t MaxChars, TRecordingBudget& Budget);
  void PolygonF(TRecordingBudget& Budget);
  void Path(TRecordingBudget& Budget);
  // An affine QTransform with bounded scale and offset.
  void Transform();
  // A QRegion as a list of rectangles (the only form Qt writes).
  void Region();
  // A QImage or QPixmap: a null marker, or a PNG file that decodes in full
  // within the pixel limits and ends where the PNG says it does.
  void Image(TRecordingBudget& Budget);

 private:
  [[noreturn]] static void Fail();
  const uint8_t* fData;
  int64_t fSize;
  int64_t fAt = 0;
};
