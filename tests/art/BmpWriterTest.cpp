#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "ArtTestUtil.h"
#include "BmpWriter.h"
#include "Exceptions.h"
#include "PatternImages.h"

namespace {

// Pixel x, y of a 24-bit bottom-up file, as (r, g, b).
QRgb StoredPixel(const QByteArray& bytes, int width, int height, int x, int y) {
  const int at = 54 + (height - 1 - y) * BmpRowSize(width) + x * 3;
  return qRgb(uint8_t(bytes[at + 2]), uint8_t(bytes[at + 1]), uint8_t(bytes[at]));
}

}  // namespace

TEST(BmpWriter, RowsArePaddedToFourBytes) {
  EXPECT_EQ(BmpRowSize(1), 4);
  EXPECT_EQ(BmpRowSize(2), 8);
  EXPECT_EQ(BmpRowSize(3), 12);
  EXPECT_EQ(BmpRowSize(4), 12);
  EXPECT_EQ(BmpRowSize(5), 16);
  EXPECT_EQ(BmpRowSize(45), 136);
}

TEST(BmpWriter, HeadersDescribeAnUncompressed24BitPicture) {
  const QByteArray bytes = PaletteBmpBytes(ColourPattern(45, 7, QImage::Format_RGB32));
  ASSERT_GE(bytes.size(), 54);
  EXPECT_EQ(bytes.left(2), QByteArray("BM"));
  EXPECT_EQ(U32(bytes, 2), uint32_t(bytes.size()));  // file size
  EXPECT_EQ(U32(bytes, 6), 0u);                      // reserved
  EXPECT_EQ(U32(bytes, 10), 54u);                    // pixels follow both headers
  EXPECT_EQ(U32(bytes, 14), 40u);                    // BITMAPINFOHEADER
  EXPECT_EQ(int32_t(U32(bytes, 18)), 45);
  EXPECT_EQ(int32_t(U32(bytes, 22)), 7);  // positive: bottom-up
  EXPECT_EQ(U16(bytes, 26), 1);
  EXPECT_EQ(U16(bytes, 28), 24);
  EXPECT_EQ(U32(bytes, 30), 0u);  // BI_RGB
  EXPECT_EQ(U32(bytes, 34), uint32_t(136 * 7));
  EXPECT_EQ(U32(bytes, 38), 3780u);
  EXPECT_EQ(U32(bytes, 42), 3780u);
  EXPECT_EQ(U32(bytes, 46), 0u);
  EXPECT_EQ(U32(bytes, 50), 0u);
  EXPECT_EQ(bytes.size(), 54 + 136 * 7);
}

TEST(BmpWriter, PixelsAreStoredBlueFirstBottomRowFirstWithZeroPadding) {
  for (int width : {1, 2, 3, 4, 5, 75}) {
    SCOPED_TRACE(width);
    const QImage image = ColourPattern(width, 3, QImage::Format_RGB32);
    const QByteArray bytes = PaletteBmpBytes(image);
    ASSERT_EQ(bytes.size(), 54 + BmpRowSize(width) * 3);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < width; ++x) EXPECT_EQ(StoredPixel(bytes, width, 3, x, y), image.pixel(x, y) | 0xFF000000u);
      for (int pad = width * 3; pad < BmpRowSize(width); ++pad)
        EXPECT_EQ(bytes[54 + y * BmpRowSize(width) + pad], '\0');
    }
  }
}

TEST(BmpWriter, WrittenFileReadsBackUnchanged) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("g.bmp"));
  const QImage image = ColourPattern(13, 9, QImage::Format_RGB32);
  SavePaletteBmp(image, path);
  QImage back(path);
  ASSERT_FALSE(back.isNull());
  EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image);
}

TEST(BmpWriter, AlphaIsDroppedAndNullImagesGiveNothing) {
  QImage translucent(2, 1, QImage::Format_ARGB32);
  translucent.fill(qRgba(10, 20, 30, 255));
  const QByteArray bytes = PaletteBmpBytes(translucent);
  EXPECT_EQ(StoredPixel(bytes, 2, 1, 1, 0), qRgb(10, 20, 30));
  EXPECT_TRUE(PaletteBmpBytes(QImage()).isEmpty());
}

TEST(BmpWriter, UnwritablePathRaisesCreateError) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("missing/folder/x.bmp"));
  try {
    SavePaletteBmp(ColourPattern(2, 2, QImage::Format_RGB32), path);
    FAIL() << "no error";
  } catch (const EFCreateError& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Cannot create file \"") + path));
  }
}
