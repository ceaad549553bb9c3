// The build draws the palette's pictures into the program's folder; these
// are the files the palette loads.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include "ArtTestUtil.h"
#include "BmpCodec.h"
#include "PlanSymbols.h"

TEST(MetaFiles, BuildDrewEveryPaletteSymbolAs24BitBitmap) {
  const QString bin = qEnvironmentVariable("HUXING_BIN_DIR");
  ASSERT_FALSE(bin.isEmpty()) << "HUXING_BIN_DIR is not set";
  int files = 0;
  for (int c = SymbolFirstCategory; c <= SymbolLastCategory; ++c) {
    for (int i = 0; i < SymbolCount(c); ++i) {
      const QString path = QDir(bin).filePath(QStringLiteral("meta/%1_%2.bmp").arg(c).arg(i));
      SCOPED_TRACE(qPrintable(path));
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      const QByteArray bytes = file.readAll();
      ASSERT_GE(bytes.size(), 54);
      EXPECT_EQ(bytes.left(2), QByteArray("BM"));
      EXPECT_EQ(U32(bytes, 14), 40u);
      EXPECT_EQ(uint8_t(bytes[28]), 24);
      EXPECT_EQ(U32(bytes, 30), 0u);
      const QImage image(path);
      ASSERT_FALSE(image.isNull());
      const QSize natural = SymbolSize(c, i);
      EXPECT_EQ(image.size(), QSize(std::max(natural.width(), 16), std::max(natural.height(), 16)));
      // The file holds today's drawing, pixel for pixel, read alike by Qt
      // and by the program's own picture reader.
      const QImage drawn = RenderPalettePicture(c, i);
      EXPECT_EQ(drawn.copy(QRect(QPoint((drawn.width() - natural.width()) / 2, (drawn.height() - natural.height()) / 2),
                                 natural)),
                RenderSymbol(c, i));
      EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), drawn);
      EXPECT_EQ(DecodeBmp(bytes).convertToFormat(QImage::Format_RGB32), drawn);
      ++files;
    }
  }
  EXPECT_EQ(files, 29);
}
