// The application icon the build draws for the desktop's icon theme.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>

#include "DesktopIcons.h"
#include "Exceptions.h"
#include "IconList.h"

namespace {

int ChannelDifference(QRgb P, QRgb Q) {
  return std::max({std::abs(qRed(P) - qRed(Q)), std::abs(qGreen(P) - qGreen(Q)), std::abs(qBlue(P) - qBlue(Q)),
                   std::abs(qAlpha(P) - qAlpha(Q))});
}

// The largest difference of one colour channel over two images of one size.
int LargestDifference(const QImage& A, const QImage& B) {
  if (A.size() != B.size()) return 256;
  const QImage a = A.convertToFormat(QImage::Format_ARGB32);
  const QImage b = B.convertToFormat(QImage::Format_ARGB32);
  int largest = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) largest = std::max(largest, ChannelDifference(a.pixel(x, y), b.pixel(x, y)));
  return largest;
}

TEST(DesktopIcons, EverySizeIsTheWindowIconsPlanInTheThemesFolders) {
  QTemporaryDir dir;
  WriteDesktopIcons(dir.path());
  for (int size : DesktopIconSizes) {
    const QString path = dir.filePath(QStringLiteral("%1x%1/apps/huxing.png").arg(size));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    EXPECT_TRUE(file.read(8).startsWith("\x89PNG")) << size;
    const QImage png(path);
    ASSERT_EQ(png.size(), QSize(size, size));
    EXPECT_TRUE(png.hasAlphaChannel()) << size;
    // Transparent corner, drawn middle: the icon itself, not a blank.
    EXPECT_EQ(qAlpha(png.pixel(0, 0)), 0) << size;
    EXPECT_EQ(LargestDifference(png, WindowIconImage(size)), 0) << size;
  }
  // The window's own icon sizes are among them, with the same pixels.
  const QIcon window = WindowIcon();
  for (const QSize& size : window.availableSizes())
    EXPECT_EQ(LargestDifference(window.pixmap(size).toImage(), WindowIconImage(size.width())), 0);
}

TEST(DesktopIcons, ScalableIconDrawsThePlanAsTheLargestPngDoes) {
  QTemporaryDir dir;
  WriteDesktopIcons(dir.path());
  const QString path = dir.filePath(QStringLiteral("scalable/apps/huxing.svg"));
  EXPECT_EQ(DesktopIconPath(0), QStringLiteral("scalable/apps/huxing.svg"));
  QSvgRenderer svg(path);
  ASSERT_TRUE(svg.isValid());
  EXPECT_EQ(svg.viewBox(), QRect(0, 0, 256, 256));
  QImage drawn(256, 256, QImage::Format_ARGB32_Premultiplied);
  drawn.fill(Qt::transparent);
  QPainter painter(&drawn);
  svg.render(&painter);
  painter.end();
  // Edges may be antialiased a little differently; the plan must not move
  // or lose parts.
  const QImage png = WindowIconImage(256).convertToFormat(QImage::Format_ARGB32);
  const QImage svgPixels = drawn.convertToFormat(QImage::Format_ARGB32);
  int differing = 0;
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x)
      if (ChannelDifference(svgPixels.pixel(x, y), png.pixel(x, y)) > 64) ++differing;
  EXPECT_LT(differing, 256 * 256 / 100);
  EXPECT_EQ(qAlpha(svgPixels.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(svgPixels.pixel(128, 128)), 255);
}

TEST(DesktopIcons, AnUnwritableFolderRaisesNamingIt) {
  QTemporaryDir dir;
  // A file where the size folder must go.
  QFile blocker(dir.filePath(QStringLiteral("16x16")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  try {
    WriteDesktopIcons(dir.path());
    FAIL() << "no error raised";
  } catch (const EFCreateError& e) {
    EXPECT_TRUE(e.Message().contains(QStringLiteral("16x16"))) << e.Message().toStdString();
  }
}

}  // namespace
