#include <gtest/gtest.h>

#include <QPainter>

#include "ArtTestUtil.h"
#include "PatternImages.h"
#include "PlanSymbols.h"

namespace {

// Real sizes a drafter would use, in centimetres, and the palette captions.
struct TRealSize {
  int Category, Item;
  const char* Caption;
  int WidthCm, DepthCm;
};

const TRealSize kRealSizes[] = {
    {2, 0, "门", 90, 90},          {2, 1, "拉门(小)", 150, 20},  {2, 2, "拉门(大)", 240, 20},
    {2, 3, "平窗(小)", 120, 24},   {2, 4, "平窗(大)", 180, 24},  {2, 5, "凸窗(小)", 150, 84},
    {2, 6, "凸窗(大)", 240, 84},   {2, 7, "垂直楼梯", 100, 300}, {2, 8, "旋转楼梯", 160, 160},
    {3, 0, "床", 100, 200},        {3, 1, "双人床", 150, 200},   {3, 2, "双人床(有床头柜)", 240, 200},
    {3, 3, "单人沙发", 90, 84},    {3, 4, "3人沙发", 210, 84},   {3, 5, "5人沙发", 280, 160},
    {3, 6, "方桌", 80, 80},        {3, 7, "长桌", 160, 70},      {3, 8, "电视机柜", 180, 46},
    {3, 9, "衣柜", 180, 60},       {3, 10, "书桌", 120, 100},    {3, 11, "餐桌", 160, 158},
    {4, 0, "马桶", 40, 70},        {4, 1, "浴缸", 170, 76},      {4, 2, "煤气灶", 72, 40},
    {4, 3, "洗衣机", 60, 60},      {4, 4, "花卉", 60, 60},       {4, 5, "洗手台(短)", 60, 50},
    {4, 6, "洗手台(长)", 120, 50}, {4, 7, "方向", 80, 112},
};

QString Name(const TRealSize& s) { return QStringLiteral("%1_%2").arg(s.Category).arg(s.Item); }

}  // namespace

TEST(PlanSymbols, PaletteHasTwentyNineSymbolsWithTheirCaptions) {
  EXPECT_EQ(SymbolCount(2), 9);
  EXPECT_EQ(SymbolCount(3), 12);
  EXPECT_EQ(SymbolCount(4), 8);
  EXPECT_EQ(SymbolCount(1), 0);
  EXPECT_EQ(SymbolCount(5), 0);
  for (const TRealSize& s : kRealSizes) {
    EXPECT_TRUE(HasSymbol(s.Category, s.Item)) << qPrintable(Name(s));
    EXPECT_EQ(SymbolCaption(s.Category, s.Item), QString::fromUtf8(s.Caption)) << qPrintable(Name(s));
  }
}

TEST(PlanSymbols, EachIsDrawnAtTwoCentimetresPerPixel) {
  for (const TRealSize& s : kRealSizes) {
    SCOPED_TRACE(qPrintable(Name(s)));
    const QSize size = SymbolSize(s.Category, s.Item);
    EXPECT_EQ(size.width() * 2, s.WidthCm);
    EXPECT_EQ(size.height() * 2, s.DepthCm);
    const QImage image = RenderSymbol(s.Category, s.Item);
    ASSERT_EQ(image.size(), size);
    // The ink reaches every edge: the drawing covers the real size, no more.
    const QRect ink = InkBounds(image);
    EXPECT_LE(qAbs(ink.width() * 2 - s.WidthCm), 2) << ink.width();
    EXPECT_LE(qAbs(ink.height() * 2 - s.DepthCm), 2) << ink.height();
    EXPECT_LE(ink.left(), 1);
    EXPECT_LE(ink.top(), 1);
  }
}

TEST(PlanSymbols, RenderedBlackOnWhite) {
  for (const TRealSize& s : kRealSizes) {
    const QImage image = RenderSymbol(s.Category, s.Item);
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        EXPECT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << qPrintable(Name(s)) << " grey only";
        dark += qGray(p) < 64;
      }
    }
    // Lines, not blots: some ink, but mostly paper (a window, four lines
    // in a 24 cm wall, is the darkest).
    EXPECT_GT(dark, 10) << qPrintable(Name(s));
    EXPECT_LT(dark, image.width() * image.height() / 2) << qPrintable(Name(s));
  }
}

TEST(PlanSymbols, SymbolsDifferFromEachOther) {
  for (const TRealSize& a : kRealSizes) {
    for (const TRealSize& b : kRealSizes) {
      if (&a >= &b) continue;
      EXPECT_NE(RenderSymbol(a.Category, a.Item), RenderSymbol(b.Category, b.Item))
          << qPrintable(Name(a)) << " " << qPrintable(Name(b));
    }
  }
}

TEST(PlanSymbols, DrawingStretchesIntoTargetAndLeavesPainterAsFound) {
  QImage image = PlainImage(300, 200);
  QPainter painter(&image);
  painter.setPen(Qt::red);
  painter.translate(5, 5);
  const QTransform before = painter.transform();
  DrawSymbol(painter, 3, 0, QRectF(20, 10, 100, 150));  // a 50 × 100 bed, drawn twice as wide
  EXPECT_EQ(painter.transform(), before);
  EXPECT_EQ(painter.pen().color(), QColor(Qt::red));
  painter.end();
  const QRect ink = InkBounds(image);
  EXPECT_NEAR(ink.left(), 25, 1);
  EXPECT_NEAR(ink.top(), 15, 1);
  EXPECT_NEAR(ink.width(), 100, 2);
  EXPECT_NEAR(ink.height(), 150, 2);
}

namespace {

// Dark stretches met walking down one column.
int DarkRuns(const QImage& image, int x) {
  int runs = 0;
  bool inRun = false;
  for (int y = 0; y < image.height(); ++y) {
    const bool dark = qGray(image.pixel(x, y)) < 160;
    runs += dark && !inRun;
    inRun = dark;
  }
  return runs;
}

}  // namespace

TEST(PlanSymbols, SmallRenderingDropsDetailsThatWouldMerge) {
  // The straight stair's ten treads would run into one block at icon size;
  // drawn small it keeps every other tread, with paper between them.
  const QImage full = RenderSymbol(2, 7);
  QImage small = PlainImage(16, 48);
  QPainter painter(&small);
  DrawSymbol(painter, 2, 7, QRectF(0, 0, 16, 48));
  painter.end();
  EXPECT_GE(DarkRuns(full, 10), 11);  // both ends, nine treads (and the break line)
  EXPECT_EQ(DarkRuns(small, 4), 6);   // both ends, four treads
}

TEST(PlanSymbols, UnknownSymbolsDrawNothing) {
  for (auto [c, i] : {std::pair{1, 0}, std::pair{2, 9}, std::pair{3, -1}, std::pair{5, 0}, std::pair{4, 8}}) {
    EXPECT_FALSE(HasSymbol(c, i));
    EXPECT_TRUE(SymbolSize(c, i).isEmpty());
    EXPECT_TRUE(SymbolCaption(c, i).isEmpty());
    EXPECT_TRUE(RenderSymbol(c, i).isNull());
  }
  QImage image = PlainImage(20, 20);
  QPainter painter(&image);
  DrawSymbol(painter, 9, 9, QRectF(0, 0, 20, 20));
  DrawSymbol(painter, 3, 0, QRectF());
  painter.end();
  EXPECT_TRUE(InkBounds(image).isNull());
}

TEST(PlanSymbols, OutlineStaysOnWholePixelsWhenScaledDown) {
  // Icons draw the symbols into small whole-pixel boxes; the outline must
  // land on the box's edge pixels in full black, not smear over two (the
  // corners themselves come out a shade softer).
  QImage image = PlainImage(15, 15);
  QPainter painter(&image);
  DrawSymbol(painter, 3, 6, QRectF(0, 0, 15, 15));  // the square table
  painter.end();
  for (int k = 1; k < 14; ++k) {
    EXPECT_LT(qGray(image.pixel(0, k)), 40) << k;
    EXPECT_LT(qGray(image.pixel(14, k)), 40) << k;
    EXPECT_LT(qGray(image.pixel(k, 0)), 40) << k;
    EXPECT_LT(qGray(image.pixel(k, 14)), 40) << k;
  }
  for (int k = 2; k < 13; ++k) EXPECT_GT(qGray(image.pixel(1, k)), 200) << k;
}
