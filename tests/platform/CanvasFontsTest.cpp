// Canvases share the fonts they build; a canvas must still draw and measure
// with its own font, whatever others drew with before.
#include <gtest/gtest.h>

#include "Canvas.h"

namespace {

struct TDrawn {
  QImage Image;
  TSize Extent;
};

TDrawn DrawLabel(int Height, bool Bold, int Zoom) {
  TDrawn drawn{QImage(120, 60, QImage::Format_RGB32), {}};
  drawn.Image.fill(Qt::white);
  TCanvas canvas(&drawn.Image);
  canvas.SetWindowExt({100, 100});
  canvas.SetViewportExt({Zoom, Zoom});
  canvas.Font().SetHeight(-Height);
  canvas.Font().SetStyle(Bold ? TFontStyles(1 << fsBold) : TFontStyles(0));
  canvas.SetBkMode(bkTransparent);
  TRect box(0, 0, 100, 40);
  canvas.DrawText(QStringLiteral("主卧 12"), box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  drawn.Extent = canvas.TextExtent(QStringLiteral("主卧 12"));
  return drawn;
}

TEST(CanvasFonts, EachCanvasDrawsWithItsOwnFont) {
  const TDrawn first = DrawLabel(14, false, 100);
  const TDrawn bold = DrawLabel(14, true, 100);
  const TDrawn larger = DrawLabel(20, false, 100);
  const TDrawn zoomed = DrawLabel(14, false, 150);
  EXPECT_NE(bold.Image, first.Image);
  EXPECT_NE(larger.Image, first.Image);
  EXPECT_NE(zoomed.Image, first.Image);
  EXPECT_GT(larger.Extent.cx, first.Extent.cx);
  // Back to the first font after the others: the same pixels and size.
  const TDrawn again = DrawLabel(14, false, 100);
  EXPECT_EQ(again.Image, first.Image);
  EXPECT_EQ(again.Extent, first.Extent);
  // Many fonts in turn push the first out of the shared ones; it is built
  // again the same.
  for (int height = 8; height < 40; ++height) DrawLabel(height, height % 2 == 0, 100);
  EXPECT_EQ(DrawLabel(14, false, 100).Image, first.Image);
}

}  // namespace
