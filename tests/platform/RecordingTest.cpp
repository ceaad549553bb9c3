// Metafile recordings are checked before anything plays them: what the
// program records passes and replays the same; damaged ones, their
// checksum made valid again, are refused as damaged picture data.
#include <gtest/gtest.h>

#include <QPainter>
#include <QPainterPath>
#include <QtEndian>
#include <functional>

#include "Exceptions.h"
#include "PatternImages.h"
#include "Picture.h"
#include "PictureLimits.h"
#include "Recording.h"
#include "Stream.h"

namespace {

QByteArray Record(const std::function<void(QPainter&)>& Paint) {
  QPicture picture;
  {
    QPainter painter(&picture);
    Paint(painter);
  }
  return QByteArray(picture.data(), qsizetype(picture.size()));
}

// Everything the recorder writes: pens and brushes of every style, text,
// images, clipping, transforms, hints, composition and opacity.
void PaintEverything(QPainter& p) {
  const QImage image = PlainImage(5, 3, Qt::darkGreen, QImage::Format_RGB888);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::red, 3, Qt::DashDotLine, Qt::RoundCap, Qt::BevelJoin));
  p.setBrush(QBrush(Qt::blue, Qt::DiagCrossPattern));
  p.drawRect(1, 2, 30, 20);
  p.drawEllipse(QRectF(5, 5, 20, 10));
  p.drawPolygon(QPolygon({QPoint(0, 0), QPoint(50, 0), QPoint(25, 40)}), Qt::WindingFill);
  p.drawPolyline(QPolygonF({QPointF(0, 0), QPointF(9.5, 3), QPointF(20, 0)}));
  QPainterPath path;
  path.moveTo(0, 0);
  path.cubicTo(10, 0, 20, 10, 30, 30);
  path.closeSubpath();
  path.addEllipse(40, 40, 10, 10);
  p.drawPath(path);
  p.save();
  p.setClipRect(0, 0, 40, 40);
  p.translate(3, 4);
  p.rotate(30);
  p.setOpacity(0.5);
  p.setCompositionMode(QPainter::CompositionMode_Multiply);
  p.setFont(QFont(QStringLiteral("Sans"), 12, QFont::Bold, true));
  p.drawText(10, 20, QStringLiteral("厅 A"));
  p.restore();
  p.setClipPath(path);
  p.setBackground(Qt::yellow);
  p.setBackgroundMode(Qt::OpaqueMode);
  p.setBrushOrigin(2, 3);
  p.drawImage(QRect(0, 0, 10, 6), image);
  p.drawPixmap(QRect(20, 0, 10, 6), QPixmap::fromImage(image));
  p.setClipping(false);
  p.drawPoint(7, 7);
}

QImage Played(const QByteArray& Recording) {
  QPicture picture;
  picture.setData(Recording.constData(), uint(Recording.size()));
  QImage image = PlainImage(80, 60);
  QPainter painter(&image);
  painter.drawPicture(0, 0, picture);
  return image;
}

// The stream form of TMetafile: width, height, size, recording.
TMemoryStream& Stored(TMemoryStream& s, const QByteArray& Recording, int32_t Width = 0, int32_t Height = 0) {
  s.WriteInt32(Width);
  s.WriteInt32(Height);
  s.WriteInt32(int32_t(Recording.size()));
  s.WriteBuffer(Recording.constData(), Recording.size());
  s.SetPosition(0);
  return s;
}

// Where the parameters of the first record with the command begin.
qsizetype FindRecord(const QByteArray& Recording, uint8_t Command) {
  for (qsizetype at = 32; at + 2 <= Recording.size();) {
    uint8_t command = uint8_t(Recording[at]);
    qsizetype length = uint8_t(Recording[at + 1]);
    at += 2;
    if (length == 255) {
      length = qFromBigEndian<quint32>(Recording.constData() + at);
      at += 4;
    }
    if (command == Command) return at;
    at += length;
  }
  return -1;
}

QByteArray PutBe32(QByteArray Recording, qsizetype At, uint32_t Value) {
  qToBigEndian(Value, Recording.data() + At);
  SealRecording(Recording);
  return Recording;
}

void ExpectRefused(const QByteArray& Recording, const char* What) {
  SCOPED_TRACE(What);
  EXPECT_THROW(CheckRecording(Recording), EInvalidGraphic);
  TMetafile metafile;
  TMemoryStream s;
  try {
    metafile.LoadFromStream(Stored(s, Recording));
    ADD_FAILURE() << "loaded";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Metafile is not valid"));
  }
  EXPECT_TRUE(metafile.Empty());
}

}  // namespace

TEST(Recording, WhatTheRecorderWritesPassesAndReplaysTheSame) {
  const QByteArray recording = Record(PaintEverything);
  ASSERT_NO_THROW(CheckRecording(recording));
  TMetafile metafile;
  TMemoryStream s;
  metafile.LoadFromStream(Stored(s, recording, 80, 60));
  TMemoryStream out;
  metafile.SaveToStream(out);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(out.Memory()), qsizetype(out.Size())),
            QByteArray(reinterpret_cast<const char*>(s.Memory()), qsizetype(s.Size())));
  QPicture original;
  {
    QPainter painter(&original);
    PaintEverything(painter);
  }
  QImage expected = PlainImage(80, 60);
  {
    QPainter painter(&expected);
    painter.drawPicture(0, 0, original);
  }
  EXPECT_EQ(Played(recording), expected);
  EXPECT_NE(expected.pixelColor(3, 2), QColor(Qt::white));
}

TEST(Recording, ChangedValuesAreRefused) {
  const QByteArray good = Record(PaintEverything);
  const qsizetype mode = FindRecord(good, 64), path = FindRecord(good, 25), polygon = FindRecord(good, 13);
  const qsizetype pen = FindRecord(good, 46), brush = FindRecord(good, 47);
  ASSERT_GT(mode, 0);
  ASSERT_GT(path, 0);
  ASSERT_GT(polygon, 0);
  ASSERT_GT(pen, 0);
  ASSERT_GT(brush, 0);
  ExpectRefused(PutBe32(good, mode, 200), "composition mode");
  ExpectRefused(PutBe32(good, path, 0x7FFFFFFF), "path element count");
  ExpectRefused(PutBe32(good, path, 3), "path element count, fewer");
  ExpectRefused(PutBe32(good, path + 4, 7), "path element type");
  ExpectRefused(PutBe32(good, path + 4, 2), "path starting with a curve");
  ExpectRefused(PutBe32(good, path + 4 + 20 + 4, 0x7FF00000), "path coordinate infinite");
  ExpectRefused(PutBe32(good, polygon, 0x10000000), "polygon point count");
  QByteArray style = good;
  style[pen + 1] = char(0x0B);  // pen style 11
  SealRecording(style);
  ExpectRefused(style, "pen style");
  QByteArray texture = good;
  texture[brush] = char(Qt::TexturePattern);
  SealRecording(texture);
  ExpectRefused(texture, "texture brush");
  ExpectRefused(PutBe32(good, 28, 1000), "record count");
  QByteArray unsealed = good;
  unsealed[mode + 3] = char(200);
  ExpectRefused(unsealed, "checksum");
}

TEST(Recording, TruncatedRecordsAreRefused) {
  const QByteArray good = Record(PaintEverything);
  for (qsizetype n = 0; n < good.size(); ++n) {
    QByteArray cut = good.left(n);
    SealRecording(cut);
    EXPECT_THROW(CheckRecording(cut), EInvalidGraphic) << n;
  }
  // A record cut short inside the stream, the rest still following.
  const qsizetype text = FindRecord(good, 21);
  ASSERT_GT(text, 0);
  QByteArray shorter = good;
  shorter[text - 1] = char(uint8_t(shorter[text - 1]) - 4);
  SealRecording(shorter);
  ExpectRefused(shorter, "text record shortened");
}

TEST(Recording, BoundsBeyondThePictureLimitAreTooLarge) {
  const QByteArray good = Record([](QPainter& p) { p.drawLine(0, 0, 9, 9); });
  // Bounding rectangle width and height in the begin record.
  QByteArray huge = PutBe32(PutBe32(good, 20, 20000), 24, 20000);
  EXPECT_THROW(CheckRecording(huge), EPictureTooLarge);
  // A small rectangle far out covers everything from the origin to it.
  EXPECT_THROW(CheckRecording(PutBe32(PutBe32(good, 12, 30000), 16, 30000)), EPictureTooLarge);
  EXPECT_NO_THROW(CheckRecording(PutBe32(PutBe32(good, 12, -30000), 16, -30000)));
  TMetafile metafile;
  TMemoryStream s;
  EXPECT_THROW(metafile.LoadFromStream(Stored(s, good, 200000, 1000)), EPictureTooLarge);
  TPicture picture;
  TMemoryStream data;
  data.WriteBuffer("\x09TMetafile", 10);
  Stored(data, good, 200000, 1000);
  data.SetPosition(0);
  try {
    picture.ReadData(data);
    FAIL() << "loaded";
  } catch (const EReadError& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("图片太大：200000 × 1000 像素"))) << e.Message().toStdString();
  }
  EXPECT_FALSE(picture.HasGraphic());
}

TEST(Recording, EmbeddedImagesAreCheckedBeforeDecoding) {
  const QImage image = PlainImage(4, 4, Qt::red, QImage::Format_RGB888);
  const QByteArray good = Record([&](QPainter& p) { p.drawImage(QRect(0, 0, 8, 8), image); });
  const qsizetype record = FindRecord(good, 18);
  ASSERT_GT(record, 0);
  const qsizetype png = record + 32 + 4;
  ASSERT_EQ(good.mid(png + 1, 3), QByteArray("PNG"));
  // IHDR claims 20000 x 20000: refused from the header, nothing decoded.
  EXPECT_THROW(CheckRecording(PutBe32(PutBe32(good, png + 16, 20000), png + 20, 20000)), EPictureTooLarge);
  QByteArray corrupt = good;
  const qsizetype pixels = corrupt.indexOf("IDAT", png) + 4;
  ASSERT_GT(pixels, png);
  corrupt[pixels] = char(~corrupt[pixels]);  // the compressed pixels no longer match their CRC
  SealRecording(corrupt);
  ExpectRefused(corrupt, "damaged PNG");
}
