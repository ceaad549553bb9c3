// Icons for a denser screen are drawn at its resolution, not doubled.
#include <gtest/gtest.h>

#include "ArtTestUtil.h"
#include "IconList.h"

namespace {

// The 1x picture with every pixel doubled: what a denser screen would show
// without icons of its own.
QImage Doubled(const QImage& Image) {
  return Image.scaled(Image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

TEST(IconRatio, RatioTwoIconsHaveTheirOwnDetailInTheSamePlace) {
  int sharper = 0;
  for (int i = 0; i < IconListCount; ++i) {
    const QImage one = IconListImage(i), two = IconListImage(i, 2.0);
    ASSERT_EQ(two.size(), QSize(32, 32)) << i;
    EXPECT_EQ(two.devicePixelRatio(), 2.0) << i;
    // Drawn in the same place: nearly as much ink, four device pixels to
    // an icon pixel.
    const double ratio = double(OpaqueCount(two)) / (4 * OpaqueCount(one));
    EXPECT_GT(ratio, 0.5) << i;
    EXPECT_LT(ratio, 1.6) << i;
    if (two.convertToFormat(QImage::Format_ARGB32_Premultiplied) !=
        Doubled(one).convertToFormat(QImage::Format_ARGB32_Premultiplied))
      ++sharper;
  }
  // Only pictures made of whole pixels (boxes, the hand) may come out the
  // same as doubled ones; text, curves and slants do not.
  EXPECT_GT(sharper, IconListCount / 2);
}

}  // namespace
