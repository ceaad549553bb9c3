// What the drawing shortcuts keep: kept fonts and widths follow every font
// change, kept picture copies follow every write to the picture, pictures
// drawn without a shape clip still end at the shape, and a clipped text
// gives its clip back.
#include <gtest/gtest.h>

#include <QImage>

#include "Canvas.h"
#include "GraphTestSupport.h"
#include "PatternImages.h"
#include "Picture.h"

TEST(DrawingShortcuts, TextMeasuresFollowEveryFontChange) {
  QImage image = PlainImage(10, 10);
  TCanvas canvas(&image);
  const QString text = QStringLiteral("客厅 Living");
  int32_t small = canvas.TextWidth(text);
  canvas.Font().SetHeight(-22);
  int32_t large = canvas.TextWidth(text);
  EXPECT_GT(large, small);
  canvas.Font().SetStyle(1 << fsBold);
  EXPECT_GE(canvas.TextWidth(text), large);
  canvas.Font().SetStyle(0);
  canvas.Font().SetHeight(-11);
  EXPECT_EQ(canvas.TextWidth(text), small);
  TRect r(0, 0, 0, 0);
  canvas.DrawText(text, r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(r.Right, small);
}

TEST(DrawingShortcuts, PictureDrawnAtItsSizeShowsItsPixelsAndLaterWritesToThem) {
  TBitmap picture = PatternBitmap(20, 12);
  QImage expected = picture.Image().convertToFormat(QImage::Format_RGB32);
  auto draw = [&] {
    QImage image = PlainImage(40, 30);
    TCanvas canvas(&image);
    picture.Draw(canvas, TRect(5, 7, 25, 19));
    return image.copy(5, 7, 20, 12);
  };
  EXPECT_EQ(draw(), expected);
  // A write through the scan lines must show at the next paint.
  picture.ScanLine(3)[3 * 4 + 1] = 250;
  picture.Modified();
  QImage changed = draw();
  EXPECT_NE(changed, expected);
  EXPECT_EQ(changed, picture.Image().convertToFormat(QImage::Format_RGB32));
}

TEST(DrawingShortcuts, PictureLargerThanItsNodeStillEndsAtTheShape) {
  auto g = MakeGraph();
  g->SetShowGrid(false);
  TGraphNode* node = AddNode<TRectangularNode>(*g, TRect(20, 20, 60, 50));
  node->Pen()->SetStyle(psClear);
  TBitmap picture = PatternBitmap(40, 30);
  node->Background()->Bitmap().Assign(&picture);
  // Margins below zero put the picture out past every side of the node.
  node->SetBackgroundMargins(TRect(-50, -50, -50, -50));
  QImage image = PlainImage(100, 80);
  {
    TCanvas canvas(&image);
    g->SetupZoomedDC(canvas, nullptr);
    g->Draw(canvas);
  }
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      bool inside = x >= 20 && x < 60 && y >= 20 && y < 50;
      ASSERT_EQ(image.pixel(x, y) != qRgb(255, 255, 255), inside) << x << ", " << y;
    }
}

TEST(DrawingShortcuts, ClippedTextGivesItsClipBack) {
  QImage image = PlainImage(60, 40);
  TCanvas canvas(&image);
  canvas.SetBkMode(bkTransparent);
  TRect box(0, 0, 10, 10);
  canvas.DrawText(QStringLiteral("WWWWWWWW"), box, DT_SINGLELINE);
  for (int x = 10; x < 60; ++x)
    for (int y = 0; y < 40; ++y) ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255));
  canvas.Brush().SetColor(clBlack);
  canvas.FillRect(TRect(50, 30, 60, 40));
  EXPECT_EQ(image.pixel(55, 35), qRgb(0, 0, 0));
}
