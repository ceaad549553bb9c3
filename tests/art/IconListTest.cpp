#include <gtest/gtest.h>

#include <QSet>

#include "ArtTestUtil.h"
#include "IconList.h"

TEST(IconList, EightyFiveIconsOfSixteenPixels) {
  EXPECT_EQ(IconListCount, 88);
  for (int i = 0; i < IconListCount; ++i) {
    const QImage image = IconListImage(i);
    ASSERT_EQ(image.size(), QSize(16, 16)) << i;
    EXPECT_TRUE(image.hasAlphaChannel()) << i;
  }
}

TEST(IconList, EveryIconShowsSomethingAndLeavesBackgroundClear) {
  for (int i = 0; i < IconListCount; ++i) {
    const int opaque = OpaqueCount(IconListImage(i));
    EXPECT_GE(opaque, 12) << "icon " << i << " is (nearly) blank";
    EXPECT_LT(opaque, 256) << "icon " << i << " covers the whole button";
  }
}

TEST(IconList, AllIconsDiffer) {
  std::vector<QImage> images;
  for (int i = 0; i < IconListCount; ++i) images.push_back(IconListImage(i));
  for (int a = 0; a < IconListCount; ++a) {
    for (int b = a + 1; b < IconListCount; ++b) EXPECT_NE(images[a], images[b]) << a << " and " << b;
  }
}

TEST(IconList, DrawingIsRepeatable) {
  for (int i : {0, 39, 44, 70, 84}) EXPECT_EQ(IconListImage(i), IconListImage(i)) << i;
}

TEST(IconList, RoomLabelsAreCharactersNotBoxes) {
  // A missing glyph draws as the same hollow box for every character; real
  // glyphs differ and the strokes of "厅" and "房" have different weights.
  QSet<int> counts;
  for (int i = 44; i <= 51; ++i) counts.insert(OpaqueCount(IconListImage(i)));
  EXPECT_GE(counts.size(), 5);
}

TEST(IconList, OutOfRangeGivesNothing) {
  for (int i : {-1, 88, 1000}) {
    EXPECT_TRUE(IconListImage(i).isNull());
    EXPECT_TRUE(IconListIcon(i).isNull());
    EXPECT_TRUE(IconListPixmap(i).isNull());
  }
  EXPECT_FALSE(IconListIcon(0).isNull());
  EXPECT_EQ(IconListPixmap(3).size(), QSize(16, 16));
}

TEST(IconList, PenPictureIsTwentyFourSquare) {
  const QImage pen = PenPicture();
  EXPECT_EQ(pen.size(), QSize(24, 24));
  EXPECT_GT(OpaqueCount(pen), 60);
  EXPECT_LT(OpaqueCount(pen), 24 * 24 / 2);
}

TEST(IconList, WindowIconHasSixSizesOfOnePlan) {
  const QIcon icon = WindowIcon();
  QList<QSize> sizes = icon.availableSizes();
  std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
  const QList<QSize> expected = {QSize(16, 16), QSize(24, 24), QSize(32, 32),
                                 QSize(48, 48), QSize(64, 64), QSize(256, 256)};
  EXPECT_EQ(sizes, expected);
  for (const QSize& size : expected) {
    const QImage image = icon.pixmap(size).toImage();
    ASSERT_EQ(image.size(), size);
    // Walls around the edge, floor inside: the centre is white, the outer
    // wall at a sixteenth in from the edge is dark.
    const QRgb floor = image.pixel(size.width() / 2 - size.width() / 8, size.height() / 2 + size.height() / 8);
    const QRgb wall = image.pixel(size.width() / 2, size.height() * 3 / 32);
    EXPECT_GT(qGray(floor), 200) << size.width();
    EXPECT_LT(qGray(wall), 100) << size.width();
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size.width();
  }
}

TEST(IconList, LineWidthImagesGrowFromThinToThick) {
  const int thin = OpaqueCount(IconListImage(81));
  const int medium = OpaqueCount(IconListImage(82));
  const int thick = OpaqueCount(IconListImage(83));
  EXPECT_LT(thin, medium);
  EXPECT_LT(medium, thick);
  EXPECT_GE(medium, 2 * thin);
}
