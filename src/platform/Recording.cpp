#include "Recording.h"

#include <QDataStream>
#include <QPainter>
#include <algorithm>

#include "PictureLimits.h"
#include "RecordingValues.h"

namespace {

// The layout QPicture writes: "QPIC", a CRC-16 over everything after it,
// version major and minor, a begin record holding the bounding rectangle
// and the number of records, then the records.
constexpr qsizetype kChecksumAt = 4;
constexpr qsizetype kChecksummedFrom = 6;
constexpr qsizetype kRecordsFrom = 32;
// Format major is the QDataStream version of the writing Qt; Qt 6.0 up to
// 6.5 all write this one, and the value readers follow its layout.
constexpr uint16_t kFormatMajor = QDataStream::Qt_6_0;
constexpr int kMaxSaveDepth = 256;

// Command codes of QPicture's format, as the recorder writes them.
enum TCommand : uint8_t {
  cmdDrawEllipse = 7,
  cmdDrawPolyline = 12,
  cmdDrawPolygon = 13,
  cmdDrawPixmap = 17,
  cmdDrawImage = 18,
  cmdDrawTextItem = 21,
  cmdDrawPath = 25,
  cmdBegin = 30,
  cmdEnd = 31,
  cmdSave = 32,
  cmdRestore = 33,
  cmdSetBkColor = 40,
  cmdSetBkMode = 41,
  cmdSetBrushOrigin = 43,
  cmdSetFont = 45,
  cmdSetPen = 46,
  cmdSetBrush = 47,
  cmdSetWMatrix = 55,
  cmdSetClipRegion = 61,
  cmdSetClipPath = 62,
  cmdSetRenderHint = 63,
  cmdSetCompositionMode = 64,
  cmdSetClipEnabled = 65,
  cmdSetOpacity = 66,
};

constexpr int64_t kMaxText = 4096;
constexpr uint32_t kKnownRenderHints = 0xFF;
constexpr uint32_t kKnownConversionFlags = 0xFFFF;

[[noreturn]] void Invalid() { throw EInvalidGraphic(QStringLiteral("Metafile is not valid")); }

uint16_t Be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

// After a text item's font: its flags, the font's resolution over 96 dpi
// and the width the text is justified to.
void TextItemTail(TRecordingCursor& p) {
  if (p.U32() > 0xFF) Invalid();
  double resolution = p.F64();
  if (!(resolution >= 0.01 && resolution <= 100)) Invalid();
  double justified = p.F64();
  if (!(justified >= 0 && justified <= 1e6)) Invalid();
}

class TRecordWalker {
 public:
  explicit TRecordWalker(TRecordingCursor& Cursor) : fCursor(Cursor) {}
  // Reads one record; true when it was the end record.
  bool Next();
  int Depth() const { return fDepth; }

 private:
  void Parameters(uint8_t Command, TRecordingCursor& p);
  TRecordingCursor& fCursor;
  TRecordingBudget fBudget;
  int fDepth = 0;
};

bool TRecordWalker::Next() {
  uint8_t command = fCursor.U8();
  int64_t length = fCursor.U8();
  if (length == 255) length = fCursor.U32();
  if (length > fCursor.Left()) Invalid();
  // The player does not skip to the record's end: the parameters must
  // account for exactly the length the record states.
  TRecordingCursor parameters(fCursor.Here(), length);
  fCursor.Skip(length);
  Parameters(command, parameters);
  if (parameters.Left() != 0) Invalid();
  return command == cmdEnd;
}

void TRecordWalker::Parameters(uint8_t Command, TRecordingCursor& p) {
  switch (Command) {
    case cmdEnd: return;
    case cmdSave:
      if (++fDepth > kMaxSaveDepth) Invalid();
      return;
    case cmdRestore:
      if (--fDepth < 0) Invalid();
      return;
    case cmdDrawEllipse: return p.RectF();
    case cmdDrawPolyline: return p.PolygonF(fBudget);
    case cmdDrawPolygon:
      p.PolygonF(fBudget);
      p.Enum8(Qt::WindingFill);
      return;
    case cmdDrawPixmap:
      p.RectF();
      p.Image(fBudget);
      p.RectF();
      return;
    case cmdDrawImage:
      p.RectF();
      p.Image(fBudget);
      p.RectF();
      if (p.U32() > kKnownConversionFlags) Invalid();
      return;
    case cmdDrawTextItem:
      p.PointF();
      p.String(kMaxText, fBudget);
      p.Font(fBudget);
      TextItemTail(p);
      return;
    case cmdDrawPath:
    case cmdSetClipPath:
      p.Path(fBudget);
      if (Command == cmdSetClipPath) p.Enum8(Qt::IntersectClip);
      return;
    case cmdSetBkColor: return p.Color();
    case cmdSetBkMode: p.Enum8(Qt::OpaqueMode); return;
    case cmdSetBrushOrigin: return p.PointF();
    case cmdSetFont: return p.Font(fBudget);
    case cmdSetPen: return p.Pen();
    case cmdSetBrush: return p.Brush();
    case cmdSetWMatrix:
      p.Transform();
      p.Enum8(1);
      return;
    case cmdSetClipRegion:
      p.Region();
      p.Enum8(Qt::IntersectClip);
      return;
    case cmdSetRenderHint:
      if (p.U32() & ~kKnownRenderHints) Invalid();
      return;
    case cmdSetCompositionMode:
      if (p.U32() > QPainter::RasterOp_NotDestination) Invalid();
      return;
    case cmdSetClipEnabled: p.Enum8(1); return;
    case cmdSetOpacity: {
      double opacity = p.F64();
      if (!(opacity >= 0 && opacity <= 1)) Invalid();
      return;
    }
    default: Invalid();
  }
}

// The begin record: the bounding rectangle (left, top, width, height) and
// how many records follow, the end record included.
uint32_t ReadBegin(TRecordingCursor& Cursor) {
  if (Cursor.U8() != cmdBegin) Invalid();
  Cursor.U8();  // a length the player ignores
  int32_t left = Cursor.I32(), top = Cursor.I32(), width = Cursor.I32(), height = Cursor.I32();
  constexpr int32_t kFar = 1'000'000;
  if (left < -kFar || left > kFar || top < -kFar || top > kFar || width < 0 || height < 0) Invalid();
  // Without a logical size the picture is drawn from the origin to the
  // rectangle's far corner.
  CheckPictureSize(std::max(left, 0) + int64_t(width), std::max(top, 0) + int64_t(height));
  return Cursor.U32();
}

}  // namespace

void CheckRecording(QByteArrayView Data) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(Data.data());
  const int64_t size = Data.size();
  if (size < kRecordsFrom || Data.first(4) != QByteArrayView("QPIC")) Invalid();
  if (Be16(bytes + kChecksumAt) != qChecksum(Data.sliced(kChecksummedFrom))) Invalid();
  TRecordingCursor cursor(bytes, size);
  cursor.Skip(kChecksummedFrom);
  if (cursor.U16() != kFormatMajor || cursor.U16() != 0) Invalid();
  const uint32_t records = ReadBegin(cursor);
  if (records > uint64_t(size - kRecordsFrom) / 2) Invalid();  // two bytes each at least
  // The player stops at the end record only when it is the last one counted.
  TRecordWalker walker(cursor);
  for (uint32_t i = 1; i < records; ++i)
    if (walker.Next()) Invalid();
  if (records == 0 || !walker.Next() || cursor.Left() != 0 || walker.Depth() != 0) Invalid();
}

void SealRecording(QByteArray& Data) {
  if (Data.size() < kChecksummedFrom) return;
  uint16_t sum = qChecksum(QByteArrayView(Data).sliced(kChecksummedFrom));
  Data[kChecksumAt] = char(sum >> 8);
  Data[kChecksumAt + 1] = char(sum);
}
