#include <gtest/gtest.h>

#include <QImage>
#include <QPalette>
#include <QWidget>

#include "CanvasRecall.h"
#include "CompatibleCanvas.h"
#include "PatternImages.h"
#include "TextFit.h"

namespace {

struct TTools {
  TColor PenColor;
  int PenWidth;
  TBrushStyle BrushStyle;
  int FontHeight;
  int32_t CopyMode;
  int32_t TextFlags;
};

const TTools Original{clRed, 2, bsClear, -14, cmSrcCopy, 0x10};
const TTools Scribbled{clLime, 7, bsCross, -30, 0x00330008, 0x25};

void SetTools(TCanvas& Canvas, const TTools& T) {
  Canvas.Pen().SetColor(T.PenColor);
  Canvas.Pen().SetWidth(T.PenWidth);
  Canvas.Brush().SetStyle(T.BrushStyle);
  Canvas.Font().SetHeight(T.FontHeight);
  Canvas.SetCopyMode(T.CopyMode);
  Canvas.SetTextFlags(T.TextFlags);
}

bool HasTools(const TCanvas& Canvas, const TTools& T) {
  return Canvas.Pen().Color() == T.PenColor && Canvas.Pen().Width() == T.PenWidth &&
         Canvas.Brush().Style() == T.BrushStyle && Canvas.Font().Height() == T.FontHeight &&
         Canvas.CopyMode() == T.CopyMode && Canvas.TextFlags() == T.TextFlags;
}

}  // namespace

TEST(CanvasRecall, PutsTheToolsBackOnDestructionAndWhenSwitching) {
  TCanvas first;
  TCanvas second;
  SetTools(first, Original);
  SetTools(second, Original);
  second.Font().SetHeight(-16);
  {
    TCanvasRecall recall(&first);
    SetTools(first, Scribbled);
    recall.SetReference(&second);
    EXPECT_TRUE(HasTools(first, Original));
    SetTools(second, Scribbled);
  }
  EXPECT_TRUE(HasTools(first, Original));
  EXPECT_EQ(second.Font().Height(), -16);
  EXPECT_EQ(second.Pen().Color(), clRed);
}

TEST(CanvasRecall, SameReferenceDoesNotStoreAgainAndNullDetaches) {
  TCanvas canvas;
  SetTools(canvas, Original);
  {
    TCanvasRecall recall(&canvas);
    SetTools(canvas, Scribbled);
    recall.SetReference(&canvas);  // must not store the scribbled tools
    recall.SetReference(nullptr);
    EXPECT_TRUE(HasTools(canvas, Original));
    EXPECT_EQ(recall.Reference(), nullptr);
    SetTools(canvas, Scribbled);
    recall.Store();
    recall.Retrieve();
  }
  // Detached: neither Store, Retrieve nor the destructor touched it.
  EXPECT_TRUE(HasTools(canvas, Scribbled));
}

TEST(CompatibleCanvas, MeasuresTextWithoutAWindow) {
  TCompatibleCanvas canvas;
  ASSERT_TRUE(canvas.HandleAllocated());
  const QString text = QStringLiteral("户型图");
  TSize small = canvas.TextExtent(text);
  EXPECT_GT(small.cx, 0);
  canvas.Font().SetHeight(-33);
  TSize large = canvas.TextExtent(text);
  EXPECT_GT(large.cx, small.cx);
  EXPECT_GT(large.cy, small.cy);
  canvas.TextOut(0, 0, text);  // drawing on it is harmless
}

namespace {

constexpr QRgb Black = 0xFF000000;
constexpr QRgb ParentColor = 0xFFFF0000;
constexpr QRgb BelowColor = 0xFF00FF00;

QWidget* Filled(QWidget* Widget, const QRect& Geometry, QRgb Color) {
  Widget->setGeometry(Geometry);
  QPalette palette = Widget->palette();
  palette.setColor(QPalette::Window, QColor::fromRgb(Color));
  Widget->setPalette(palette);
  Widget->setAutoFillBackground(true);
  return Widget;
}

QImage PaintBehind(QWidget* Control, int X, int Y) {
  QImage image = PlainImage(50, 50, Black);
  TCanvas canvas(&image);
  PaintParentBackground(Control, canvas, X, Y);
  canvas.End();
  return image;
}

}  // namespace

TEST(PaintParentBackground, PaintsTheParentAndTheSiblingsBeneath) {
  // Children are owned by parent. Stacking order is creation order: a strip
  // beneath the control, a hidden sibling, the control, and one above it.
  QWidget parent;
  Filled(&parent, QRect(0, 0, 100, 100), ParentColor);
  Filled(new QWidget(&parent), QRect(0, 0, 30, 100), BelowColor);
  Filled(new QWidget(&parent), QRect(0, 0, 100, 100), 0xFF808080)->hide();
  QWidget* control = Filled(new QWidget(&parent), QRect(20, 10, 50, 50), 0xFF0000FF);
  Filled(new QWidget(&parent), QRect(0, 0, 100, 100), 0xFFFFFF00);

  QImage image = PaintBehind(control, 0, 0);
  EXPECT_EQ(image.pixel(0, 0), BelowColor);  // control x 0..9 lies over the strip
  EXPECT_EQ(image.pixel(9, 49), BelowColor);
  EXPECT_EQ(image.pixel(10, 0), ParentColor);
  EXPECT_EQ(image.pixel(49, 49), ParentColor);

  // Pixel (0, 0) shows control point (-5, 3), i.e. parent point (15, 13);
  // only the control's own area is painted.
  QImage shifted = PaintBehind(control, -5, 3);
  EXPECT_EQ(shifted.pixel(4, 0), Black);
  EXPECT_EQ(shifted.pixel(14, 0), BelowColor);
  EXPECT_EQ(shifted.pixel(15, 0), ParentColor);
  EXPECT_EQ(shifted.pixel(30, 46), ParentColor);
  EXPECT_EQ(shifted.pixel(30, 47), Black);
}

TEST(PaintParentBackground, DoesNothingWithoutAParent) {
  QWidget lonely;
  Filled(&lonely, QRect(0, 0, 50, 50), ParentColor);
  EXPECT_EQ(PaintBehind(&lonely, 0, 0).pixel(10, 10), Black);
  EXPECT_EQ(PaintBehind(nullptr, 0, 0).pixel(10, 10), Black);
}

// Lines of text are shaped once per canvas and then drawn from their
// glyphs: the pixels must be those drawText gives, first time and from the
// kept shaping, for Chinese, Latin and mixed lines, several lines at once.
TEST(CanvasText, KeptShapingDrawsWhatDrawTextDraws) {
  const QString text = QStringLiteral("餐厅 Kitchen\n卧室 2\nfig. ÄÖ");
  TFont font;
  font.SetHeight(-17);
  font.SetColor(clNavy);
  const QSize size(260, 90);
  QImage expected(size, QImage::Format_RGB32);
  expected.fill(Qt::white);
  {
    QPainter p(&expected);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(font.ToQFont(1.0));
    p.setPen(QColor(0, 0, 128));
    const QFontMetrics m(p.font());
    int y = 5;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
      p.drawText(QPoint(7, y + m.ascent()), line);
      y += m.ascent() + m.descent();
    }
  }
  QImage drawn(size, QImage::Format_RGB32);
  drawn.fill(Qt::white);
  TCanvas canvas(&drawn);
  canvas.SetFont(font);
  canvas.SetBkMode(bkTransparent);
  for (int pass = 0; pass < 2; ++pass) {
    TRect r{7, 5, 250, 85};
    canvas.DrawText(text, r, DT_NOCLIP | DT_NOPREFIX);
    EXPECT_EQ(drawn, expected) << "pass " << pass;
    canvas.Painter()->fillRect(drawn.rect(), Qt::white);
  }
}
