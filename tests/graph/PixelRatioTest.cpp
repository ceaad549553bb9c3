// The control painted for a denser screen: hairlines stay one device pixel,
// wider pens keep their size, text is antialiased and pictures shown
// smaller than their pixels are averaged, not thinned out.
#include <gtest/gtest.h>

#include <QImage>

#include "GraphTestSupport.h"
#include "PatternImages.h"
#include "Picture.h"

namespace {

bool Dark(QRgb c) { return qGray(c) < 128; }

// Dark pixels down the device column through client x, within client rows
// Top..Bottom.
int DarkRunDown(const QImage& Image, int X, int Top, int Bottom) {
  const double r = Image.devicePixelRatio();
  int n = 0;
  for (int y = int(Top * r); y < int(Bottom * r); ++y) n += Dark(Image.pixel(int(X * r), y)) ? 1 : 0;
  return n;
}

std::unique_ptr<TGraphEditor> PlainGraph() {
  auto g = MakeGraph(300, 200);
  g->SetShowGrid(false);
  return g;
}

TGraphLink* Wall(TGraphEditor& g, int Y, int Width) {
  TGraphLink* l = g.InsertLink(TPoints{{20, Y}, {200, Y}});
  l->Pen()->SetWidth(Width);
  l->Pen()->SetColor(clBlack);
  return l;
}

TEST(PixelRatioTest, HairlinesStayOneDevicePixelAndWiderPensKeepTheirSize) {
  auto g = PlainGraph();
  Wall(*g, 50, 1);
  Wall(*g, 100, 4);
  const QImage one = g->RenderToImage(1.0), two = g->RenderToImage(2.0);
  ASSERT_EQ(two.size(), one.size() * 2);
  EXPECT_EQ(two.devicePixelRatio(), 2.0);
  EXPECT_EQ(DarkRunDown(one, 100, 40, 60), 1);
  EXPECT_EQ(DarkRunDown(two, 100, 40, 60), 1);
  EXPECT_EQ(DarkRunDown(one, 100, 90, 110), 4);
  EXPECT_EQ(DarkRunDown(two, 100, 90, 110), 8);
  // Zoomed in, a hairline is as many device pixels as at ratio 1.
  g->SetZoom(300);
  EXPECT_EQ(DarkRunDown(g->RenderToImage(2.0), 50 * 3, 40 * 3, 60 * 3), 3);
}

TEST(PixelRatioTest, TheSameGraphPointLandsOnTheSameClientPointAtEitherRatio) {
  auto g = PlainGraph();
  g->InsertNode({40, 40, 120, 90})->Brush()->SetColor(clBlack);
  g->SetZoom(150);
  const QImage one = g->RenderToImage(1.0), two = g->RenderToImage(2.0);
  // The node's corners at 150 %: (60, 60) to (180, 135) in client pixels.
  for (QPoint p : {QPoint(61, 61), QPoint(178, 133), QPoint(120, 100)}) {
    EXPECT_TRUE(Dark(one.pixel(p))) << p.x() << "," << p.y();
    EXPECT_TRUE(Dark(two.pixel(p * 2))) << p.x() << "," << p.y();
  }
  for (QPoint p : {QPoint(58, 100), QPoint(182, 100), QPoint(120, 137)}) {
    EXPECT_FALSE(Dark(one.pixel(p))) << p.x() << "," << p.y();
    EXPECT_FALSE(Dark(two.pixel(p * 2))) << p.x() << "," << p.y();
  }
}

// Grey levels strictly between the background and the ink, within Box.
int IntermediatePixels(const QImage& Image, const QRect& Box) {
  int n = 0;
  for (int y = Box.top(); y <= Box.bottom(); ++y)
    for (int x = Box.left(); x <= Box.right(); ++x) {
      const int grey = qGray(Image.pixel(x, y));
      if (grey > 40 && grey < 215) ++n;
    }
  return n;
}

TEST(PixelRatioTest, CaptionsAreAntialiasedAtBothRatios) {
  auto g = PlainGraph();
  TGraphNode* node = g->InsertNode({20, 20, 220, 120});
  node->Pen()->SetStyle(psClear);
  node->Font()->SetHeight(-20);
  node->SetText(QStringLiteral("餐厅"));
  const QImage one = g->RenderToImage(1.0), two = g->RenderToImage(2.0);
  EXPECT_GT(IntermediatePixels(one, QRect(30, 30, 180, 80)), 20);
  EXPECT_GT(IntermediatePixels(two, QRect(60, 60, 360, 160)), 40);

  // A font that asks for aliased glyphs keeps them.
  node->Font()->SetQuality(fqNonAntialiased);
  EXPECT_EQ(IntermediatePixels(g->RenderToImage(1.0), QRect(30, 30, 180, 80)), 0);
}

TEST(PixelRatioTest, APictureShownSmallerIsAveragedNotThinnedOut) {
  // Every fourth column black: at a quarter of its size nearest-neighbour
  // sampling keeps all of them or none, averaging gives an even grey.
  QImage stripes = PlainImage(64, 64, Qt::white, QImage::Format_RGB888);
  for (int x = 1; x < 64; x += 4)
    for (int y = 0; y < 64; ++y) stripes.setPixel(x, y, qRgb(0, 0, 0));
  TBitmap bitmap;
  bitmap.SetImage(stripes);
  auto g = PlainGraph();
  TGraphNode* node = g->InsertNode({0, 0, 64, 64});
  node->Pen()->SetStyle(psClear);
  TPicture picture;
  picture.SetGraphic(&bitmap);
  node->SetBackground(picture);
  g->SetZoom(25);
  const QImage shown = g->RenderToImage(1.0);
  for (int x = 1; x < 15; ++x) {
    const int grey = qGray(shown.pixel(x, 8));
    EXPECT_GT(grey, 150) << x;
    EXPECT_LT(grey, 225) << x;
  }
}

}  // namespace
