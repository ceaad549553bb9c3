#include "Picture.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>
#include <QTransform>
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "BmpCodec.h"
#include "Canvas.h"
#include "Exceptions.h"
#include "JpegCodec.h"
#include "PictureLimits.h"
#include "Recording.h"
#include "Stream.h"
#include "StreamView.h"

namespace {

// The rest of the stream, which for a graphic is one complete file.
QByteArray ReadRest(TStream& Stream) {
  int64_t count = std::max<int64_t>(Stream.Remaining(), 0);
  QByteArray bytes(count, Qt::Uninitialized);
  Stream.ReadBuffer(bytes.data(), count);
  return bytes;
}

void WriteBytes(TStream& Stream, const QByteArray& Bytes) { Stream.WriteBuffer(Bytes.constData(), Bytes.size()); }

// Bitmaps and JPEG images are framed by a size in picture data; other
// graphics frame themselves.
bool IsFramedFile(const TGraphic& g) { return dynamic_cast<const TBitmap*>(&g) || dynamic_cast<const TJPEGImage*>(&g); }

// Recently decoded files by content. A bounded cache: an entry costs one copy
// of the file and one of its pixels, however many pictures share them.
// Files are looked up where they lie in the document, so a picture seen
// before costs a hash and a compare, not a copy.
class TDecodeCache {
 public:
  TDecodedFile Decode(QByteArrayView Bytes, QImage (*Decoder)(QByteArrayView)) {
    auto it = fEntries.find(Bytes);
    if (it != fEntries.end()) return {it->first, it->second};
    QByteArray file(Bytes.data(), Bytes.size());
    QImage image = Decoder(file);
    if (file.size() <= kMaxFileBytes && image.sizeInBytes() <= kMaxImageBytes) {
      if (fBytes + file.size() + image.sizeInBytes() > kMaxCacheBytes || fEntries.size() >= kMaxEntries) {
        fEntries.clear();
        fBytes = 0;
      }
      fEntries.emplace(file, image);
      fBytes += file.size() + image.sizeInBytes();
    }
    return {file, image};
  }

 private:
  static constexpr qsizetype kMaxFileBytes = 1 << 20;
  static constexpr qsizetype kMaxImageBytes = 4 << 20;
  static constexpr qsizetype kMaxCacheBytes = 32 << 20;
  static constexpr size_t kMaxEntries = 1024;

  struct THash {
    using is_transparent = void;
    // A seed lets Qt take its hardware-assisted hash where the processor has one.
    size_t operator()(QByteArrayView b) const { return qHash(b, size_t(0x9E3779B9)); }
  };
  struct TEqual {
    using is_transparent = void;
    bool operator()(QByteArrayView a, QByteArrayView b) const { return a == b; }
  };
  std::unordered_map<QByteArray, QImage, THash, TEqual> fEntries;
  qsizetype fBytes = 0;
};

const TGraphic* GraphicOf(const TPersistent* Source) {
  if (auto* picture = dynamic_cast<const TPicture*>(Source)) return picture->Graphic();
  return dynamic_cast<const TGraphic*>(Source);
}

}  // namespace

TDecodedFile DecodeShared(TStream& Stream, QImage (*Decode)(QByteArrayView)) {
  const int64_t count = std::max<int64_t>(Stream.Remaining(), 0);
  if (count == 0) return {};
  QByteArray copy;
  const auto* bytes = reinterpret_cast<const char*>(TStreamView::TakeInPlace(Stream, count));
  if (!bytes) {
    copy = ReadRest(Stream);
    bytes = copy.constData();
  }
  // One cache per file format: the same bytes mean different pictures (or
  // none) to different decoders.
  static std::unordered_map<QImage (*)(QByteArrayView), TDecodeCache> caches;
  return caches[Decode].Decode(QByteArrayView(bytes, count), Decode);
}

// ---------------------------------------------------------------------------
// TGraphic

void TGraphic::LoadFromFile(const QString& FileName) {
  TFileStream file(FileName, fmOpenRead);
  LoadFromStream(file);
}

void TGraphic::SaveToFile(const QString& FileName) const {
  TFileStream file(FileName, fmCreate);
  SaveToStream(file);
}

// ---------------------------------------------------------------------------
// TBitmap

TBitmap::TBitmap() = default;

void TBitmap::Assign(const TPersistent* Source) {
  if (auto* bitmap = dynamic_cast<const TBitmap*>(Source)) {
    fImage = bitmap->fImage;
    fFile = bitmap->fFile;
    fWidth = bitmap->fWidth;
    fHeight = bitmap->fHeight;
    fPixelFormat = bitmap->fPixelFormat;
    return Changed();
  }
  if (!Source || dynamic_cast<const TPicture*>(Source) || dynamic_cast<const TGraphic*>(Source)) {
    const TGraphic* graphic = GraphicOf(Source);
    return SetImage(graphic ? graphic->ToImage() : QImage());
  }
  TGraphic::Assign(Source);
}

void TBitmap::SetWidth(int32_t w) { SetSize(w, fHeight); }

void TBitmap::SetHeight(int32_t h) { SetSize(fWidth, h); }

void TBitmap::SetSize(int32_t w, int32_t h) {
  w = std::max(w, 0);
  h = std::max(h, 0);
  if (w == fWidth && h == fHeight) return;
  QImage resized;
  if (w > 0 && h > 0) {
    resized = QImage(w, h, QImage::Format_BGR888);
    if (resized.isNull()) throw EOutOfResources(QStringLiteral("Out of memory for a %1 x %2 bitmap").arg(w).arg(h));
    resized.fill(Qt::black);
    int rows = std::min(h, int32_t(fImage.height()));
    int bytes = 3 * std::min(w, int32_t(fImage.width()));
    for (int y = 0; y < rows; ++y) std::memcpy(resized.scanLine(y), fImage.constScanLine(y), size_t(bytes));
  }
  fImage = resized;
  fFile.clear();
  fWidth = w;
  fHeight = h;
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat f) {
  // Pixels are kept at 24 bits whatever is asked; the format is remembered.
  if (fPixelFormat == f) return;
  fPixelFormat = f;
  Changed();
}

uint8_t* TBitmap::ScanLine(int32_t Row) {
  if (Row < 0 || Row >= fHeight || fImage.isNull())
    throw EInvalidGraphic(QStringLiteral("Scan line index out of range"));
  fFile.clear();
  return fImage.scanLine(Row);  // detaches from any picture sharing the pixels
}

QImage& TBitmap::MutableImage() {
  fFile.clear();
  if (!fImage.isNull()) fImage.bits();  // detaches from any picture sharing the pixels
  return fImage;
}

const uint8_t* TBitmap::ScanLine(int32_t Row) const {
  if (Row < 0 || Row >= fHeight || fImage.isNull())
    throw EInvalidGraphic(QStringLiteral("Scan line index out of range"));
  return fImage.constScanLine(Row);
}

void TBitmap::Draw(TCanvas& Canvas, const TRect& Rect) const {
  if (!Empty()) Canvas.DrawImage(Rect, fImage);
}

void TBitmap::LoadFromStream(TStream& Stream) {
  TDecodedFile decoded = DecodeShared(Stream, DecodeBmp);
  SetImage(decoded.Image);
  fFile = decoded.File;
}

void TBitmap::SaveToStream(TStream& Stream) const {
  if (!fFile.isEmpty()) return WriteBytes(Stream, fFile);
  WriteBytes(Stream, EncodeBmp24(fImage));
}

QImage TBitmap::ToImage() const { return fImage; }

void TBitmap::SetImage(const QImage& img) {
  fFile.clear();
  if (img.isNull() || img.width() == 0 || img.height() == 0) {
    fImage = QImage();
    fWidth = fHeight = 0;
  } else {
    fImage = img.convertToFormat(QImage::Format_BGR888);  // shares img when it is one already
    if (fImage.isNull()) throw EOutOfResources(QStringLiteral("Out of memory for a bitmap"));
    fWidth = fImage.width();
    fHeight = fImage.height();
  }
  Changed();
}

// ---------------------------------------------------------------------------
// TJPEGImage

void TJPEGImage::Assign(const TPersistent* Source) {
  if (auto* jpeg = dynamic_cast<const TJPEGImage*>(Source)) {
    fData = jpeg->fData;
    fImage = jpeg->fImage;
    return Changed();
  }
  if (!Source || dynamic_cast<const TPicture*>(Source) || dynamic_cast<const TGraphic*>(Source)) {
    const TGraphic* graphic = GraphicOf(Source);
    if (graphic && !graphic->Empty()) return Compress(graphic->ToImage());
    fData.clear();
    fImage = QImage();
    return Changed();
  }
  TGraphic::Assign(Source);
}

void TJPEGImage::Draw(TCanvas& Canvas, const TRect& Rect) const {
  if (!Empty()) Canvas.DrawImage(Rect, fImage);
}

void TJPEGImage::LoadFromStream(TStream& Stream) {
  TDecodedFile decoded = DecodeShared(Stream, DecodeJpeg);
  fData = decoded.File;
  fImage = decoded.Image;
  Changed();
}

void TJPEGImage::SaveToStream(TStream& Stream) const { WriteBytes(Stream, fData); }

// The image kept is the decoded file, so what is drawn is what a reload shows.
void TJPEGImage::Compress(const QImage& Image, int Quality) {
  QByteArray file = EncodeJpeg(Image, Quality);
  QImage image = DecodeJpeg(file);
  fData = file;
  fImage = image;
  Changed();
}

// ---------------------------------------------------------------------------
// TMetafile

TMetafile::TMetafile() = default;

void TMetafile::Assign(const TPersistent* Source) {
  if (auto* metafile = dynamic_cast<const TMetafile*>(Source)) {
    fPicture = metafile->fPicture;
    fWidth = metafile->fWidth;
    fHeight = metafile->fHeight;
    fEmpty = metafile->fEmpty;
    return Changed();
  }
  if (!Source) {
    fPicture = QPicture();
    fWidth = fHeight = 0;
    fEmpty = true;
    return Changed();
  }
  TGraphic::Assign(Source);
}

namespace {

// The size the recording is laid out in: the logical size when set, else
// what the drawing covers.
QSize LogicalSize(const QPicture& picture, int32_t width, int32_t height) {
  if (width > 0 && height > 0) return {width, height};
  QRect covered = picture.boundingRect();
  return {std::max(0, covered.right() + 1), std::max(0, covered.bottom() + 1)};
}

}  // namespace

// Plays the recording stretched into Rect. Each unit of the recording is a
// pixel, the square right of and below its coordinates, so it is played
// half a unit further on: a line of width 1 at x then covers [x, x + 1)
// scaled, as on a bitmap, and the outermost lines end at Rect's edges. A
// recording also replays scaled by the device's resolution over its own (a
// printer's 1200 dpi against the screen's 96); that factor is taken out.
void TMetafile::Draw(TCanvas& Canvas, const TRect& Rect) const {
  QPainter* painter = Canvas.Painter();
  QSize source = LogicalSize(fPicture, fWidth, fHeight);
  if (fEmpty || !painter || source.isEmpty()) return;
  const QPaintDevice* device = painter->device();
  const double kx = double(device->logicalDpiX()) / fPicture.logicalDpiX();
  const double ky = double(device->logicalDpiY()) / fPicture.logicalDpiY();
  TRect d = Canvas.LPtoDP(Rect);
  const double ux = double(d.Width()) / source.width();
  const double uy = double(d.Height()) / source.height();
  painter->save();
  painter->setTransform(QTransform::fromTranslate(d.Left, d.Top).scale(ux / kx, uy / ky).translate(kx / 2, ky / 2),
                        true);
  painter->drawPicture(0, 0, fPicture);
  painter->restore();
}

void TMetafile::LoadFromStream(TStream& Stream) {
  auto invalid = [] { return EInvalidGraphic(QStringLiteral("Metafile is not valid")); };
  int32_t width = Stream.ReadInt32();
  int32_t height = Stream.ReadInt32();
  int32_t size = Stream.ReadInt32();
  if (width < 0 || height < 0 || size < 0 || size > Stream.Remaining()) throw invalid();
  QByteArray data(size, Qt::Uninitialized);
  Stream.ReadBuffer(data.data(), size);
  CheckPictureSize(width, height);
  QPicture picture;
  if (size > 0) {
    // The player trusts what it reads; the recording is checked instead of
    // played, and kept byte for byte.
    CheckRecording(data);
    picture.setData(data.constData(), uint(size));
  }
  fPicture = picture;
  fWidth = width;
  fHeight = height;
  fEmpty = size == 0;
  Changed();
}

void TMetafile::SaveToStream(TStream& Stream) const {
  Stream.WriteInt32(fWidth);
  Stream.WriteInt32(fHeight);
  int32_t size = fEmpty ? 0 : int32_t(fPicture.size());
  Stream.WriteInt32(size);
  Stream.WriteBuffer(fPicture.data(), size);
}

QByteArray TMetafile::ToSvg() const {
  QSize size = LogicalSize(fPicture, fWidth, fHeight);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  // At the recording's resolution one unit stays one pixel: viewers show
  // the picture at its size and the recording replays unscaled.
  generator.setResolution(fPicture.logicalDpiX());
  QPainter painter(&generator);
  if (!fEmpty) painter.drawPicture(0, 0, fPicture);
  painter.end();
  return buffer.data();
}

void TMetafile::SaveToSvgFile(const QString& FileName) const {
  TFileStream file(FileName, fmCreate);
  WriteBytes(file, ToSvg());
}

QImage TMetafile::ToImage() const {
  QSize size = LogicalSize(fPicture, fWidth, fHeight);
  if (fEmpty || size.isEmpty()) return {};
  QImage image(size, QImage::Format_RGB888);
  if (image.isNull()) return {};
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.drawPicture(0, 0, fPicture);
  return image;
}

// ---------------------------------------------------------------------------
// TUnknownGraphic

void TUnknownGraphic::Assign(const TPersistent* Source) {
  auto* unknown = dynamic_cast<const TUnknownGraphic*>(Source);
  if (!unknown) return TGraphic::Assign(Source);
  fName = unknown->fName;
  fData = unknown->fData;
  Changed();
}

void TUnknownGraphic::LoadFromStream(TStream& Stream) {
  fData = ReadRest(Stream);
  Changed();
}

void TUnknownGraphic::SaveToStream(TStream& Stream) const { WriteBytes(Stream, fData); }

// ---------------------------------------------------------------------------
// TPicture

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::Assign(const TPersistent* Source) {
  if (Source == this) return;
  if (!Source || dynamic_cast<const TPicture*>(Source) || dynamic_cast<const TGraphic*>(Source))
    return SetGraphic(GraphicOf(Source));
  TPersistent::Assign(Source);
}

void TPicture::SetGraphic(const TGraphic* g) {
  if (!g) return TakeGraphic(nullptr);
  if (auto* unknown = dynamic_cast<const TUnknownGraphic*>(g))
    return TakeGraphic(std::make_unique<TUnknownGraphic>(unknown->StoredName(), unknown->Data()));
  std::unique_ptr<TGraphic> copy = CreateGraphicByClassName(QString::fromUtf8(g->ClassName()));
  if (!copy) copy = std::make_unique<TBitmap>();
  copy->Assign(g);
  TakeGraphic(std::move(copy));
}

void TPicture::TakeGraphic(std::unique_ptr<TGraphic> g) {
  fGraphic = std::move(g);
  if (fGraphic) fGraphic->OnChange = [this](TGraphic* changed) { GraphicChanged(changed); };
  Changed();
}

void TPicture::GraphicChanged(TGraphic*) { Changed(); }

TBitmap& TPicture::Bitmap() {
  if (auto* bitmap = dynamic_cast<TBitmap*>(fGraphic.get())) return *bitmap;
  auto bitmap = std::make_unique<TBitmap>();
  if (fGraphic) bitmap->SetImage(fGraphic->ToImage());
  TBitmap& result = *bitmap;
  TakeGraphic(std::move(bitmap));
  return result;
}

void TPicture::LoadFromFile(const QString& FileName) {
  QString extension = QFileInfo(FileName).suffix();
  std::unique_ptr<TGraphic> graphic = CreateGraphicByExtension(extension);
  if (!graphic) throw EInvalidGraphic(QStringLiteral("Unknown picture file extension (.%1)").arg(extension));
  graphic->LoadFromFile(FileName);
  TakeGraphic(std::move(graphic));
}

void TPicture::SaveToFile(const QString& FileName) const {
  if (fGraphic) fGraphic->SaveToFile(FileName);
}

void TPicture::DefineProperties(TFiler& Filer) {
  Filer.DefineBinaryProperty(
      // An empty bitmap still counts as a picture (a turned label keeps its frame).
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, fGraphic != nullptr);
}

void TPicture::WriteData(TStream& Stream) const {
  if (!fGraphic) return;
  auto* unknown = dynamic_cast<const TUnknownGraphic*>(fGraphic.get());
  QByteArrayView name = unknown ? QByteArrayView(unknown->StoredName()) : QByteArrayView(fGraphic->ClassName());
  uint8_t length = uint8_t(std::min<qsizetype>(name.size(), 255));
  Stream.WriteBuffer(&length, 1);
  Stream.WriteBuffer(name.data(), length);
  if (!IsFramedFile(*fGraphic)) return fGraphic->SaveToStream(Stream);
  // The file goes straight into the stream; its size is filled in after.
  int64_t sizeAt = Stream.Position();
  Stream.WriteInt32(0);
  fGraphic->SaveToStream(Stream);
  int64_t end = Stream.Position();
  Stream.SetPosition(sizeAt);
  Stream.WriteInt32(int32_t(end - sizeAt - 4));
  Stream.SetPosition(end);
}

namespace {

// The graphic the data describes. A class nobody knows keeps its bytes: the
// block is framed by the property, so they are all its own.
std::unique_ptr<TGraphic> ParsePictureData(TStream& Stream) {
  uint8_t length;
  Stream.ReadBuffer(&length, 1);
  char name[256];
  Stream.ReadBuffer(name, length);
  // The known names are plain ASCII: compared as bytes, they need no string.
  const QByteArrayView nameBytes(name, length);
  std::unique_ptr<TGraphic> graphic;
  if (nameBytes == QByteArrayView("TBitmap"))
    graphic = std::make_unique<TBitmap>();
  else if (nameBytes == QByteArrayView("TJPEGImage"))
    graphic = std::make_unique<TJPEGImage>();
  else if (nameBytes == QByteArrayView("TMetafile"))
    graphic = std::make_unique<TMetafile>();
  if (!graphic) return std::make_unique<TUnknownGraphic>(nameBytes.toByteArray(), ReadRest(Stream));
  if (!IsFramedFile(*graphic)) {
    graphic->LoadFromStream(Stream);
    return graphic;
  }
  int32_t size = Stream.ReadInt32();
  if (size < 0 || size > Stream.Remaining()) throw EReadError(QStringLiteral("Stream read error"));
  if (const uint8_t* inPlace = TStreamView::TakeInPlace(Stream, size)) {
    TStreamView file(inPlace, size);
    graphic->LoadFromStream(file);
    return graphic;
  }
  TMemoryStream file;
  file.SetSize(size);
  Stream.ReadBuffer(file.Memory(), size);
  file.SetPosition(0);
  graphic->LoadFromStream(file);
  return graphic;
}

}  // namespace

void TPicture::ReadData(TStream& Stream) {
  std::unique_ptr<TGraphic> graphic;
  try {
    graphic = ParsePictureData(Stream);
  } catch (const EStreamError&) {
    throw EReadError(QStringLiteral("Invalid property value"));
  } catch (const EPictureTooLarge& e) {
    throw EReadError(e.Message());
  } catch (const EInvalidGraphic&) {
    throw EReadError(QStringLiteral("Invalid property value"));
  }
  TakeGraphic(std::move(graphic));
}

// ---------------------------------------------------------------------------

std::unique_ptr<TGraphic> CreateGraphicByClassName(const QString& ClassName) {
  if (ClassName == QLatin1String("TBitmap")) return std::make_unique<TBitmap>();
  if (ClassName == QLatin1String("TJPEGImage")) return std::make_unique<TJPEGImage>();
  if (ClassName == QLatin1String("TMetafile")) return std::make_unique<TMetafile>();
  return nullptr;
}

std::unique_ptr<TGraphic> CreateGraphicByExtension(const QString& Extension) {
  QString ext = Extension.toLower();
  if (ext.startsWith(QLatin1Char('.'))) ext.remove(0, 1);
  if (ext == QLatin1String("bmp")) return std::make_unique<TBitmap>();
  if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) return std::make_unique<TJPEGImage>();
  return nullptr;
}
