#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>

#include "BmpCodec.h"
#include "Canvas.h"
#include "Exceptions.h"
#include "IntMath.h"
#include "JpegCodec.h"
#include "PatternImages.h"
#include "Picture.h"
#include "PictureLimits.h"
#include "Stream.h"

namespace {

QByteArray Le(uint32_t v, int bytes) {
  QByteArray b;
  for (int i = 0; i < bytes; ++i) b.append(char(v >> (8 * i)));
  return b;
}

// A BMP file from rows in file order; masks go after a 40-byte header or
// inside a longer one.
QByteArray Bmp(int32_t width, int32_t height, int bits, const std::vector<QByteArray>& rows,
               const QByteArray& palette = {}, uint32_t compression = 0, const QByteArray& masks = {},
               uint32_t headerSize = 40) {
  int stride = (width * bits + 31) / 32 * 4;
  QByteArray info = Le(headerSize, 4) + Le(uint32_t(width), 4) + Le(uint32_t(height), 4) + Le(1, 2) +
                    Le(uint32_t(bits), 2) + Le(compression, 4) + Le(0, 4) + Le(0, 4) + Le(0, 4) +
                    Le(uint32_t(palette.size() / 4), 4) + Le(0, 4);
  if (headerSize > 40)
    info += masks.leftJustified(int(headerSize) - 40, '\0');
  else
    info += masks;
  QByteArray pixels;
  for (const QByteArray& row : rows) pixels += row.leftJustified(stride, '\0');
  uint32_t offset = uint32_t(14 + info.size() + palette.size());
  return "BM" + Le(offset + uint32_t(pixels.size()), 4) + Le(0, 4) + Le(offset, 4) + info + palette + pixels;
}

QByteArray Bgr(const QColor& c) { return QByteArray(1, char(c.blue())) + char(c.green()) + char(c.red()); }

QByteArray Bgra(std::initializer_list<QColor> colors) {
  QByteArray b;
  for (const QColor& c : colors) b += Bgr(c) + '\0';
  return b;
}

QByteArray Bytes(TMemoryStream& s) { return QByteArray(reinterpret_cast<const char*>(s.Memory()), s.Size()); }

TMemoryStream& Fill(TMemoryStream& s, const QByteArray& bytes) {
  s.WriteBuffer(bytes.constData(), bytes.size());
  s.SetPosition(0);
  return s;
}

const QColor kRed(255, 0, 0), kBlue(0, 0, 255), kGreen(0, 255, 0), kBlack(0, 0, 0);

}  // namespace

TEST(BmpCodec, DecodesEveryAcceptedLayout) {
  struct Case {
    const char* name;
    QByteArray file;
    QColor topLeft, topRight, bottomLeft;
  };
  const QByteArray two = Bgra({kRed, kBlue});
  const Case cases[] = {
      {"1-bit", Bmp(2, 2, 1, {"\x80", "\x40"}, two), kRed, kBlue, kBlue},
      {"4-bit, index past palette", Bmp(2, 2, 4, {"\x10", "\x07"}, two), kRed, kBlack, kBlue},
      {"8-bit", Bmp(2, 2, 8, {QByteArray("\x01\x00", 2), QByteArray("\x00\x01", 2)}, two), kRed, kBlue, kBlue},
      {"16-bit 5-5-5", Bmp(2, 2, 16, {Le(0x001F, 2) + Le(0x4210, 2), Le(0x7C00, 2) + Le(0x03E0, 2)}), kRed, kGreen,
       kBlue},
      {"16-bit fields 5-6-5",
       Bmp(2, 2, 16, {Le(0x001F, 2) + Le(0, 2), Le(0xF800, 2) + Le(0x07E0, 2)}, {}, 3,
           Le(0xF800, 4) + Le(0x07E0, 4) + Le(0x001F, 4)),
       kRed, kGreen, kBlue},
      {"24-bit top-down", Bmp(2, -2, 24, {QByteArray("\0\0\xFF\xFF\0\0", 6), QByteArray(6, '\0')}), kRed, kBlue,
       kBlack},
      {"32-bit", Bmp(2, 2, 32, {Le(0xFF, 4) + Le(0, 4), Le(0xFF0000, 4) + Le(0xFF00, 4)}), kRed, kGreen, kBlue},
      {"32-bit fields in a 108-byte header",
       Bmp(2, 2, 32, {Le(0x0000FF00, 4) + Le(0, 4), Le(0xFF000000, 4) + Le(0x00FF0000, 4)}, {}, 3,
           Le(0xFF000000, 4) + Le(0x00FF0000, 4) + Le(0x0000FF00, 4), 108),
       kRed, kGreen, kBlue},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QImage img = DecodeBmp(c.file);
    ASSERT_EQ(img.size(), QSize(2, 2));
    EXPECT_EQ(img.format(), QImage::Format_BGR888);
    EXPECT_EQ(img.pixelColor(0, 0), c.topLeft);
    EXPECT_EQ(img.pixelColor(1, 0), c.topRight);
    EXPECT_EQ(img.pixelColor(0, 1), c.bottomLeft);
  }
  // 5-bit 16/31 scales to the nearest 8-bit value.
  EXPECT_EQ(DecodeBmp(cases[3].file).pixelColor(1, 1), QColor(132, 132, 132));
}

TEST(BmpCodec, RejectsMalformedFiles) {
  const QByteArray good = Bmp(3, 2, 24, {QByteArray(9, 'a'), QByteArray(9, 'b')});
  ASSERT_EQ(DecodeBmp(good).size(), QSize(3, 2));
  auto patched = [&](int offset, const QByteArray& bytes) {
    return QByteArray(good).replace(offset, bytes.size(), bytes);
  };
  const QByteArray bad[] = {
      patched(0, "BX"),                                                         // signature
      patched(10, Le(4000, 4)),                                                 // pixel data past the end
      patched(10, Le(20, 4)),                                                   // pixel data inside the header
      patched(14, Le(20, 4)),                                                   // unknown header size
      patched(18, Le(0, 4)),                                                    // no width
      patched(18, Le(uint32_t(-3), 4)),                                         // negative width
      patched(22, Le(0, 4)),                                                    // no height
      patched(22, Le(0x80000000u, 4)),                                          // height that cannot be negated
      patched(18, Le(0x7FFFFFFF, 4) + Le(0x7FFFFFFF, 4)),                       // far more pixels than data
      patched(26, Le(2, 2)),                                                    // planes
      patched(28, Le(7, 2)),                                                    // bit count
      patched(30, Le(1, 4)),                                                    // run-length compression
      Bmp(2, 1, 16, {Le(0, 4)}, {}, 3, Le(0x0F0F, 4) + Le(0, 4) + Le(0, 4)),    // mask with a gap
      Bmp(2, 1, 16, {Le(0, 4)}, {}, 3, Le(0x1F0000, 4) + Le(0, 4) + Le(0, 4)),  // mask past 16 bits
  };
  for (size_t i = 0; i < std::size(bad); ++i) EXPECT_THROW(DecodeBmp(bad[i]), EInvalidGraphic) << i;
  for (qsizetype n = 0; n < good.size(); ++n) EXPECT_THROW(DecodeBmp(good.left(n)), EInvalidGraphic) << n;
}

TEST(PictureLimits, OversizedHeadersAreTooLargeBeforeAnyDecoding) {
  // A BMP header of 20000 x 20000 at 24 bits, without its 1.2 GB of pixels.
  QByteArray bmp = Bmp(20000, 20000, 24, {});
  try {
    DecodeBmp(bmp);
    FAIL() << "decoded";
  } catch (const EPictureTooLarge& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("图片太大：20000 × 20000 像素"))) << e.Message().toStdString();
  }
  // A JPEG claiming 12000 x 12000, padded so its size could code that many
  // blocks.
  QByteArray jpeg = EncodeJpeg(ColourPattern(16, 16), 90);
  qsizetype sof = jpeg.indexOf("\xFF\xC0");
  ASSERT_GT(sof, 0);
  jpeg.replace(sof + 5, 4, QByteArray("\x2E\xE0\x2E\xE0", 4));
  jpeg += QByteArray(300'000, '\0');
  EXPECT_THROW(DecodeJpeg(jpeg), EPictureTooLarge);
  TPicture picture;
  TMemoryStream s;
  try {
    picture.ReadData(Fill(s, "\x0ATJPEGImage" + Le(uint32_t(jpeg.size()), 4) + jpeg));
    FAIL() << "loaded";
  } catch (const EReadError& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("图片太大：12000 × 12000 像素"))) << e.Message().toStdString();
  }
  // At the limit itself the size is accepted.
  EXPECT_NO_THROW(CheckPictureSize(10000, MaxPicturePixels / 10000));
  EXPECT_THROW(CheckPictureSize(10000, MaxPicturePixels / 10000 + 1), EPictureTooLarge);
}

TEST(Bitmap, SavesA24BitBottomUpFileAndReadsItBack) {
  TBitmap bmp;
  bmp.SetImage(ColourPattern(5, 3));
  TMemoryStream s;
  bmp.SaveToStream(s);
  QByteArray file = Bytes(s);
  ASSERT_EQ(file.size(), 54 + 16 * 3);  // 15 bytes a row, padded to 16
  EXPECT_EQ(file.left(2), "BM");
  EXPECT_EQ(file.mid(2, 4), Le(102, 4));
  EXPECT_EQ(file.mid(10, 4), Le(54, 4));
  EXPECT_EQ(file.mid(14, 4), Le(40, 4));
  EXPECT_EQ(file.mid(22, 4), Le(3, 4));  // positive height: bottom-up
  EXPECT_EQ(file.mid(28, 2), Le(24, 2));
  QColor bottomLeft = ColourPattern(5, 3).pixelColor(0, 2);
  EXPECT_EQ(file.mid(54, 3), Bgr(bottomLeft));

  TBitmap back;
  s.SetPosition(0);
  back.LoadFromStream(s);
  EXPECT_EQ(back.ToImage().convertToFormat(QImage::Format_RGB888), ColourPattern(5, 3));
}

TEST(Bitmap, ScanLinesHoldBlueGreenRedAndSurviveResizing) {
  TBitmap bmp;
  bmp.SetPixelFormat(pf24bit);
  bmp.SetWidth(2);
  EXPECT_TRUE(bmp.Empty());
  bmp.SetHeight(3);
  ASSERT_FALSE(bmp.Empty());
  uint8_t* row = bmp.ScanLine(2);
  row[3] = 10, row[4] = 20, row[5] = 30;
  EXPECT_EQ(bmp.ToImage().pixelColor(1, 2), QColor(30, 20, 10));
  bmp.SetWidth(4);
  EXPECT_EQ(bmp.ToImage().pixelColor(1, 2), QColor(30, 20, 10));
  EXPECT_EQ(bmp.ToImage().pixelColor(3, 2), kBlack);
  EXPECT_THROW(bmp.ScanLine(3), EInvalidGraphic);
  EXPECT_THROW(bmp.ScanLine(-1), EInvalidGraphic);
}

namespace {

struct TSegment {
  uint8_t Marker;
  QByteArray Body;
};

// The marker segments up to the start of the scan.
std::vector<TSegment> Segments(const QByteArray& jpeg) {
  std::vector<TSegment> out;
  qsizetype pos = 2;
  while (pos + 4 <= jpeg.size() && uint8_t(jpeg[pos]) == 0xFF) {
    uint8_t marker = uint8_t(jpeg[pos + 1]);
    int length = uint8_t(jpeg[pos + 2]) << 8 | uint8_t(jpeg[pos + 3]);
    out.push_back({marker, jpeg.mid(pos + 4, length - 2)});
    if (marker == 0xDA) break;
    pos += 2 + length;
  }
  return out;
}

constexpr int kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
                             41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
                             30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};
constexpr int kLuminance[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                                14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                                18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                                49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr int kChrominance[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                  24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// The standard tables scaled for quality 90, in the file's zig-zag order.
QByteArray Quality90Table(const int (&base)[64]) {
  QByteArray table;
  for (int i = 0; i < 64; ++i) table.append(char(std::clamp(Div(base[kZigzag[i]] * 20 + 50, 100), 1, 255)));
  return table;
}

// Baseline, three 8-bit components, quality-90 tables, JFIF.
void ExpectBaselineQuality90Colour(const QByteArray& jpeg) {
  ASSERT_TRUE(jpeg.startsWith("\xFF\xD8"));
  QByteArray tables;
  int frames = 0;
  for (const TSegment& s : Segments(jpeg)) {
    if (s.Marker == 0xE0) {
      EXPECT_TRUE(s.Body.startsWith(QByteArray("JFIF\0", 5)));
    }
    if (s.Marker == 0xDB) tables += s.Body;
    if (s.Marker >= 0xC1 && s.Marker <= 0xCF && s.Marker != 0xC4 && s.Marker != 0xC8 && s.Marker != 0xCC)
      ADD_FAILURE() << "non-baseline frame " << int(s.Marker);
    if (s.Marker != 0xC0) continue;
    ++frames;
    EXPECT_EQ(uint8_t(s.Body[0]), 8);  // precision
    EXPECT_EQ(uint8_t(s.Body[5]), 3);  // components
  }
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(tables, '\0' + Quality90Table(kLuminance) + '\1' + Quality90Table(kChrominance));
}

}  // namespace

TEST(JpegImage, CompressesBaselineQuality90Colour) {
  TJPEGImage jpeg;
  jpeg.Compress(ColourPattern(40, 24));
  EXPECT_EQ(jpeg.Width(), 40);
  EXPECT_EQ(jpeg.Height(), 24);
  ExpectBaselineQuality90Colour(jpeg.Data());
}

TEST(JpegImage, KeepsTheBytesReadAndDecodesThemTheSameWay) {
  QByteArray original = EncodeJpeg(ColourPattern(33, 17), 50);
  TJPEGImage first;
  TMemoryStream in;
  first.LoadFromStream(Fill(in, original));
  TMemoryStream out;
  first.SaveToStream(out);
  EXPECT_EQ(Bytes(out), original);

  TJPEGImage second;
  out.SetPosition(0);
  second.LoadFromStream(out);
  EXPECT_EQ(second.ToImage(), first.ToImage());

  // A bitmap made from it and turned back into a JPEG is re-encoded at 90.
  TBitmap bmp;
  bmp.Assign(&first);
  EXPECT_EQ(bmp.ToImage().convertToFormat(QImage::Format_RGB888), first.ToImage());
  TJPEGImage again;
  again.Assign(&bmp);
  ExpectBaselineQuality90Colour(again.Data());
}

TEST(JpegImage, DecodesGreyAndProgressiveFiles) {
  QImage grey(16, 8, QImage::Format_Grayscale8);
  grey.fill(90);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpg");
  writer.setProgressiveScanWrite(true);
  ASSERT_TRUE(writer.write(grey));
  QImage decoded = DecodeJpeg(buffer.data());
  ASSERT_EQ(decoded.size(), QSize(16, 8));
  QColor c = decoded.pixelColor(7, 3);
  EXPECT_NEAR(c.red(), 90, 2);
  EXPECT_EQ(c.red(), c.green());
  EXPECT_EQ(c.green(), c.blue());
}

TEST(JpegImage, RejectsDamagedAndOversizedFiles) {
  const QByteArray good = EncodeJpeg(ColourPattern(24, 24), 90);
  for (qsizetype n = 0; n + 2 < good.size(); ++n) EXPECT_THROW(DecodeJpeg(good.left(n)), EInvalidGraphic) << n;
  EXPECT_THROW(DecodeJpeg(QByteArray(500, 'x')), EInvalidGraphic);

  // The same data claiming 60000 x 60000 pixels.
  QByteArray huge = good;
  qsizetype sof = huge.indexOf("\xFF\xC0");
  ASSERT_GT(sof, 0);
  huge.replace(sof + 5, 4, QByteArray("\xEA\x60\xEA\x60", 4));
  try {
    DecodeJpeg(huge);
    FAIL() << "decoded";
  } catch (const EInvalidGraphic& e) {
    EXPECT_TRUE(e.Message().contains(QStringLiteral("larger than its data"))) << e.Message().toStdString();
  }
}

namespace {

// A red rectangle recorded over the whole 100 x 50 logical area.
void RecordRedRectangle(TMetafile& mf) {
  mf.SetSize(100, 50);
  {
    TCanvas canvas(&mf.Recording(), TCanvasKind::Metafile);
    canvas.Pen().SetColor(clRed);
    canvas.Brush().SetColor(clRed);
    canvas.Rectangle(0, 0, 100, 50);
  }
  mf.FinishRecording();
}

}  // namespace

TEST(Metafile, PlaysStretchedIntoTheMappedRectangle) {
  TMetafile mf;
  RecordRedRectangle(mf);
  QImage img = PlainImage(200, 120);
  {
    TCanvas canvas(&img);
    canvas.SetWindowExt({1, 1});
    canvas.SetViewportExt({2, 2});
    canvas.StretchDraw(TRect(10, 5, 85, 55), mf);  // device (20, 10)-(170, 110)
  }
  EXPECT_EQ(img.pixelColor(21, 11), kRed);
  EXPECT_EQ(img.pixelColor(168, 108), kRed);
  EXPECT_EQ(img.pixelColor(18, 8), QColor(Qt::white));
  EXPECT_EQ(img.pixelColor(173, 113), QColor(Qt::white));
}

TEST(Metafile, StreamsAndExportsSvg) {
  TMetafile mf;
  RecordRedRectangle(mf);
  TMemoryStream s;
  mf.SaveToStream(s);
  TMetafile back;
  s.SetPosition(0);
  back.LoadFromStream(s);
  EXPECT_EQ(back.Width(), 100);
  EXPECT_EQ(back.Height(), 50);
  EXPECT_EQ(back.ToImage(), mf.ToImage());
  EXPECT_EQ(back.ToImage().pixelColor(50, 25), kRed);

  QByteArray svg = mf.ToSvg();
  EXPECT_TRUE(svg.contains("<svg"));
  EXPECT_TRUE(svg.contains("viewBox=\"0 0 100 50\""));

  TMemoryStream junk;
  Fill(junk, Le(100, 4) + Le(50, 4) + Le(8, 4) + "QPICjunk");
  EXPECT_THROW(back.LoadFromStream(junk), EInvalidGraphic);
  EXPECT_EQ(back.ToImage(), mf.ToImage());
}

TEST(Picture, DataIsClassNameThenSizedFile) {
  TPicture pic;
  pic.Bitmap().SetImage(ColourPattern(2, 1));
  TMemoryStream s;
  pic.WriteData(s);
  QByteArray bmp = EncodeBmp24(ColourPattern(2, 1));
  EXPECT_EQ(Bytes(s), "\x07TBitmap" + Le(uint32_t(bmp.size()), 4) + bmp);

  QByteArray jpegFile = EncodeJpeg(ColourPattern(8, 8), 75);
  TMemoryStream in;
  pic.ReadData(Fill(in, "\x0ATJPEGImage" + Le(uint32_t(jpegFile.size()), 4) + jpegFile));
  ASSERT_STREQ(pic.Graphic()->ClassName(), "TJPEGImage");
  TMemoryStream out;
  pic.WriteData(out);
  EXPECT_EQ(Bytes(out), Bytes(in));

  TPicture copy;
  copy.Assign(&pic);
  ASSERT_STREQ(copy.Graphic()->ClassName(), "TJPEGImage");
  EXPECT_NE(copy.Graphic(), pic.Graphic());
  EXPECT_EQ(copy.Bitmap().ToImage().convertToFormat(QImage::Format_RGB888), pic.Graphic()->ToImage());
  EXPECT_STREQ(pic.Graphic()->ClassName(), "TJPEGImage");
}

TEST(Picture, UnknownClassIsKeptAndDamagedDataRaises) {
  TPicture pic;
  int changes = 0;
  pic.OnChange = [&](TPicture*) { ++changes; };
  pic.Bitmap().SetImage(ColourPattern(3, 3));
  EXPECT_EQ(changes, 2);  // the bitmap created, then its pixels

  const QByteArray bmp = EncodeBmp24(ColourPattern(2, 2));
  const QByteArray damaged[] = {
      QByteArray(),
      "\x07TBit",
      "\x07TBitmap" + Le(uint32_t(bmp.size()) + 1, 4) + bmp,
      "\x07TBitmap" + Le(uint32_t(-1), 4),
      "\x07TBitmap" + Le(uint32_t(bmp.size()), 4) + QByteArray(bmp).replace(0, 2, "XX"),
      "\x0ATJPEGImage" + Le(4, 4) + "\xFF\xD8\xFF\xD9",
      "\x09TMetafile" + Le(1, 4),
  };
  for (const QByteArray& data : damaged) {
    TMemoryStream s;
    try {
      pic.ReadData(Fill(s, data));
      ADD_FAILURE() << "accepted " << data.toHex().toStdString();
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("Invalid property value"));
    }
    EXPECT_EQ(pic.Width(), 3);
  }
  EXPECT_EQ(changes, 2);

  // A class from elsewhere (the name may hold any bytes) draws nothing and
  // writes back exactly, also from a copy.
  const QByteArray unknown = QByteArray("\x06TI\0con", 7) + Le(4, 4) + "abcd\x01";
  TMemoryStream s;
  pic.ReadData(Fill(s, unknown));
  EXPECT_FALSE(pic.HasGraphic());
  EXPECT_EQ(changes, 3);
  TPicture copy;
  copy.Assign(&pic);
  for (const TPicture* p : {&pic, &copy}) {
    TMemoryStream out;
    p->WriteData(out);
    EXPECT_EQ(Bytes(out), unknown);
  }
  EXPECT_TRUE(pic.Bitmap().Empty());
}

TEST(Picture, LoadsFilesByExtension) {
  QTemporaryDir dir;
  TPicture pic;
  int changes = 0;
  pic.OnChange = [&](TPicture*) { ++changes; };
  QString bmpName = dir.filePath(QStringLiteral("a.bmp")), jpgName = dir.filePath(QStringLiteral("b.JPEG"));
  TBitmap bmp;
  bmp.SetImage(ColourPattern(4, 4));
  bmp.SaveToFile(bmpName);
  TJPEGImage jpeg;
  jpeg.Compress(ColourPattern(4, 4));
  jpeg.SaveToFile(jpgName);

  pic.LoadFromFile(bmpName);
  EXPECT_STREQ(pic.Graphic()->ClassName(), "TBitmap");
  pic.LoadFromFile(jpgName);
  EXPECT_STREQ(pic.Graphic()->ClassName(), "TJPEGImage");
  EXPECT_EQ(changes, 2);
  EXPECT_THROW(pic.LoadFromFile(dir.filePath(QStringLiteral("c.png"))), EInvalidGraphic);
  EXPECT_THROW(pic.LoadFromFile(dir.filePath(QStringLiteral("missing.bmp"))), EFOpenError);
  QFile::copy(jpgName, dir.filePath(QStringLiteral("fake.bmp")));
  EXPECT_THROW(pic.LoadFromFile(dir.filePath(QStringLiteral("fake.bmp"))), EInvalidGraphic);
  EXPECT_STREQ(pic.Graphic()->ClassName(), "TJPEGImage");
  EXPECT_EQ(changes, 2);
}

TEST(Picture, IdenticalFilesSharePixelsUntilOneChanges) {
  TBitmap source;
  source.SetImage(ColourPattern(6, 5));
  TMemoryStream file;
  source.SaveToStream(file);
  auto load = [&](TBitmap& b) {
    file.SetPosition(0);
    b.LoadFromStream(file);
  };
  TBitmap a, b;
  load(a);
  load(b);
  EXPECT_EQ(a.Image().constBits(), b.Image().constBits());  // one copy of the pixels
  a.ScanLine(0)[0] = 0x12;
  EXPECT_NE(a.Image().constBits(), b.Image().constBits());
  EXPECT_NE(b.ScanLine(0)[0], 0x12);
  // The unchanged one writes back the very file it came from; the changed
  // one writes its new pixels.
  TMemoryStream outB, outA;
  b.SaveToStream(outB);
  a.SaveToStream(outA);
  ASSERT_EQ(outB.Size(), file.Size());
  EXPECT_EQ(std::memcmp(outB.Memory(), file.Memory(), size_t(file.Size())), 0);
  TBitmap reread;
  outA.SetPosition(0);
  reread.LoadFromStream(outA);
  EXPECT_EQ(reread.ScanLine(0)[0], 0x12);
}
