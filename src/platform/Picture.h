// Pictures: bitmaps (24-bit, BMP files), JPEG images (libjpeg), metafiles
// (recorded drawing, SVG as file form) and the TPicture holder that nodes
// use for their background, streamed as class name + file data.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPicture>
#include <QString>
#include <functional>
#include <memory>

#include "Persistent.h"
#include "Types.h"

class TCanvas;
class TStream;

class TGraphic : public TPersistent {
 public:
  using TNotifyEvent = std::function<void(TGraphic*)>;
  TNotifyEvent OnChange;

  virtual bool Empty() const = 0;
  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  // Stretches the graphic into a logical rectangle of the canvas.
  virtual void Draw(TCanvas& Canvas, const TRect& Rect) const = 0;
  // The graphic's own file form (a complete BMP or JPEG file, an SVG document).
  virtual void LoadFromStream(TStream& Stream) = 0;
  virtual void SaveToStream(TStream& Stream) const = 0;
  void LoadFromFile(const QString& FileName);
  void SaveToFile(const QString& FileName) const;
  // The pixels as an image (for drawing, conversion and comparison).
  virtual QImage ToImage() const = 0;

 protected:
  void Changed() {
    if (OnChange) OnChange(this);
  }
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

class TBitmap : public TGraphic {
 public:
  TBitmap();
  const char* ClassName() const override { return "TBitmap"; }
  void Assign(const TPersistent* Source) override;

  bool Empty() const override { return fWidth == 0 || fHeight == 0; }
  int32_t Width() const override { return fWidth; }
  int32_t Height() const override { return fHeight; }
  // Resizing keeps the pixels of the common top-left area; new ones are black.
  void SetWidth(int32_t w);
  void SetHeight(int32_t h);
  void SetSize(int32_t w, int32_t h);
  TPixelFormat PixelFormat() const { return fPixelFormat; }
  void SetPixelFormat(TPixelFormat f);
  // A row of 3-byte pixels (blue, green, red) at pf24bit, top row 0.
  uint8_t* ScanLine(int32_t Row);
  const uint8_t* ScanLine(int32_t Row) const;

  void Draw(TCanvas& Canvas, const TRect& Rect) const override;
  // Reads the rest of the stream as one BMP file; raises EInvalidGraphic
  // when it is not one. No bytes at all give an empty bitmap. Identical
  // files share one decoded image until one of them is changed.
  void LoadFromStream(TStream& Stream) override;
  // Writes the file the bitmap was read from while its pixels are
  // unchanged, else a 24-bit BMP file (nothing for an empty bitmap).
  void SaveToStream(TStream& Stream) const override;
  QImage ToImage() const override;
  void SetImage(const QImage& img);
  const QImage& Image() const { return fImage; }
  // Pixels of the bitmap as the drawing target (24-bit, BGR888 internally).
  QImage& MutableImage();
  void Modified() { Changed(); }

 private:
  QImage fImage;       // Format_BGR888 when not null: blue, green, red in memory
  QByteArray fFile;    // the file the pixels came from; empty once they change
  int32_t fWidth = 0;  // kept apart so SetWidth then SetHeight builds the size
  int32_t fHeight = 0;
  TPixelFormat fPixelFormat = pfDevice;
};

// A picture file and its pixels.
struct TDecodedFile {
  QByteArray File;
  QImage Image;
};

// Reads the rest of Stream as one picture file and decodes it through a
// small process-wide cache, so that a plan holding the same door or bed many
// times keeps its pixels and its file bytes once (both are shared until
// written to). An empty stream gives an empty file and no image.
TDecodedFile DecodeShared(TStream& Stream, QImage (*Decode)(QByteArrayView));

class TJPEGImage : public TGraphic {
 public:
  static constexpr int DefaultQuality = 90;

  const char* ClassName() const override { return "TJPEGImage"; }
  void Assign(const TPersistent* Source) override;

  bool Empty() const override { return fData.isEmpty(); }
  int32_t Width() const override { return fImage.width(); }
  int32_t Height() const override { return fImage.height(); }
  void Draw(TCanvas& Canvas, const TRect& Rect) const override;
  // Reads the rest of the stream as one JPEG file; raises EInvalidGraphic
  // when it cannot be decoded. No bytes at all give an empty image.
  void LoadFromStream(TStream& Stream) override;
  // Writes the JPEG bytes as they were read or compressed.
  void SaveToStream(TStream& Stream) const override;
  QImage ToImage() const override { return fImage; }
  // Compresses an image: baseline, colour, at the quality given.
  void Compress(const QImage& Image, int Quality = DefaultQuality);
  const QByteArray& Data() const { return fData; }

 private:
  QByteArray fData;
  QImage fImage;
};

class TMetafile : public TGraphic {
 public:
  TMetafile();
  const char* ClassName() const override { return "TMetafile"; }
  void Assign(const TPersistent* Source) override;

  bool Empty() const override { return fEmpty; }
  int32_t Width() const override { return fWidth; }
  int32_t Height() const override { return fHeight; }
  void SetSize(int32_t w, int32_t h) {
    fWidth = w;
    fHeight = h;
  }
  void Draw(TCanvas& Canvas, const TRect& Rect) const override;
  // Stored as int32 width, int32 height, int32 size, then the recording's
  // own serial form; raises EInvalidGraphic for damaged data.
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) const override;
  // The file form people open elsewhere: an SVG document.
  void SaveToSvgFile(const QString& FileName) const;
  QByteArray ToSvg() const;
  // The recording played onto white at its logical size.
  QImage ToImage() const override;
  // Paint with TCanvas(&Recording(), TCanvasKind::Metafile), then call
  // FinishRecording.
  QPicture& Recording() { return fPicture; }
  const QPicture& Recording() const { return fPicture; }
  void FinishRecording() {
    fEmpty = false;
    Changed();
  }

 private:
  QPicture fPicture;
  int32_t fWidth = 0;
  int32_t fHeight = 0;
  bool fEmpty = true;
};

// A picture of a class this program does not know. Its bytes are kept, never
// interpreted, so a save writes the picture back unchanged; it draws nothing
// and counts as empty.
class TUnknownGraphic : public TGraphic {
 public:
  TUnknownGraphic(QByteArray StoredName, QByteArray Data) : fName(std::move(StoredName)), fData(std::move(Data)) {}
  const char* ClassName() const override { return "TUnknownGraphic"; }
  void Assign(const TPersistent* Source) override;

  bool Empty() const override { return true; }
  int32_t Width() const override { return 0; }
  int32_t Height() const override { return 0; }
  void Draw(TCanvas&, const TRect&) const override {}
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) const override;
  QImage ToImage() const override { return {}; }
  // The class name as the document spells it (any bytes).
  const QByteArray& StoredName() const { return fName; }
  const QByteArray& Data() const { return fData; }

 private:
  QByteArray fName;
  QByteArray fData;
};

// Holds one graphic (or none) and tells its owner about every change.
class TPicture : public TPersistent {
 public:
  using TNotifyEvent = std::function<void(TPicture*)>;
  TNotifyEvent OnChange;

  TPicture();
  ~TPicture() override;
  const char* ClassName() const override { return "TPicture"; }
  void Assign(const TPersistent* Source) override;
  // The "Data" property: class name of the graphic, then its file form.
  void DefineProperties(TFiler& Filer) override;

  TGraphic* Graphic() const { return fGraphic.get(); }
  void SetGraphic(const TGraphic* g);  // copies
  bool HasGraphic() const { return fGraphic && !fGraphic->Empty(); }
  int32_t Width() const { return fGraphic ? fGraphic->Width() : 0; }
  int32_t Height() const { return fGraphic ? fGraphic->Height() : 0; }
  // The picture in bitmap form: converts another graphic into a bitmap, and
  // gives a picture without one an empty bitmap.
  TBitmap& Bitmap();
  // Chooses the graphic class by the file's extension; raises EInvalidGraphic
  // for an unknown extension or unreadable file.
  void LoadFromFile(const QString& FileName);
  void SaveToFile(const QString& FileName) const;

  // Reads/writes the Data block: one length byte and the class name, then
  // the graphic's data (int32 size + file bytes for bitmaps and JPEG images).
  // An unknown class name keeps the rest as a TUnknownGraphic; damaged
  // data raises EReadError "Invalid property value", a picture beyond the
  // size limit EReadError "图片太大 …", and leaves the picture as it was.
  void ReadData(TStream& Stream);
  void WriteData(TStream& Stream) const;

 private:
  // Takes ownership, follows the graphic's changes and reports the change.
  void TakeGraphic(std::unique_ptr<TGraphic> g);
  void GraphicChanged(TGraphic*);
  void Changed() {
    if (OnChange) OnChange(this);
  }
  std::unique_ptr<TGraphic> fGraphic;
};

// The graphic classes the picture loader and the stream reader know.
std::unique_ptr<TGraphic> CreateGraphicByClassName(const QString& ClassName);
std::unique_ptr<TGraphic> CreateGraphicByExtension(const QString& Extension);
