// Level of detail: a generated plan painted with it on and off is the same
// pixel for pixel at 100 % and above (and at any zoom through Draw, which
// is for output); zoomed out to the whole plan the two stay close, and
// tiny pictures are averaged rather than sampled.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdlib>

#include "Canvas.h"
#include "GraphEditor.h"
#include "GraphNode.h"
#include "Picture.h"
#include "PlanGenerator.h"
#include "PlanObjects.h"

namespace {

struct TImageDifference {
  double MeanPerChannel = 0;  // mean absolute difference of R, G and B, 0..255
  double DifferingShare = 0;  // share of pixels that differ at all
};

TImageDifference Compare(const QImage& A, const QImage& B) {
  TImageDifference d;
  const QImage a = A.convertToFormat(QImage::Format_RGB32), b = B.convertToFormat(QImage::Format_RGB32);
  double sum = 0;
  qint64 differing = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
      differing += p != q;
    }
  const double pixels = double(a.width()) * a.height();
  d.MeanPerChannel = sum / (3 * pixels);
  d.DifferingShare = double(differing) / pixels;
  return d;
}

class LevelOfDetailTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterPlanClasses(); }
  void SetUp() override {
    fGraph.resize(640, 480);
    fGraph.SetShowGrid(false);
    TPlanGenerator().Build(fGraph, 1500);
  }

  // The client area painted with level of detail on and off.
  std::pair<QImage, QImage> Both(double Ratio = 1.0) {
    fGraph.SetLevelOfDetail(true);
    QImage on = fGraph.RenderToImage(Ratio);
    fGraph.SetLevelOfDetail(false);
    QImage off = fGraph.RenderToImage(Ratio);
    fGraph.SetLevelOfDetail(true);
    return {on, off};
  }

  TGraphEditor fGraph;
};

TEST_F(LevelOfDetailTest, IsOnByDefault) { EXPECT_TRUE(TGraphEditor().LevelOfDetail()); }

TEST_F(LevelOfDetailTest, ChangesNothingAtOneDevicePixelPerUnitOrMore) {
  fGraph.ZoomGraph();
  const TRect all = fGraph.GraphBounds();
  const TPoint middle{(all.Left + all.Right) / 2, (all.Top + all.Bottom) / 2};
  for (int zoom : {100, 150, 300}) {
    fGraph.SetZoom(zoom);
    fGraph.ScrollCenter(middle);
    auto [on, off] = Both();
    EXPECT_EQ(on, off) << "zoom " << zoom;
  }
  // 50 % on a screen of ratio 2 is one device pixel per unit again.
  fGraph.SetZoom(50);
  fGraph.ScrollCenter(middle);
  auto [on, off] = Both(2.0);
  EXPECT_EQ(on, off) << "zoom 50 at ratio 2";
}

// Zoomed out to the whole plan, labels become bars, pictures come from
// their halvings and collapsed wall corners are dropped: the picture may
// differ, but by at most 2 levels per channel on average, in at most 6 %
// of the pixels.
TEST_F(LevelOfDetailTest, StaysCloseWhenTheWholePlanIsShown) {
  fGraph.ZoomGraph();
  ASSERT_LT(fGraph.Zoom(), 40);
  auto [on, off] = Both();
  const TImageDifference d = Compare(on, off);
  RecordProperty("zoom", fGraph.Zoom());
  RecordProperty("mean_per_channel_x1000", int(d.MeanPerChannel * 1000));
  RecordProperty("differing_per_10000", int(d.DifferingShare * 10000));
  EXPECT_GT(d.DifferingShare, 0) << "level of detail drew nothing differently";
  EXPECT_LT(d.MeanPerChannel, 2.0);
  EXPECT_LT(d.DifferingShare, 0.06);
}

TEST_F(LevelOfDetailTest, DrawPaintsInFullWhateverTheSetting) {
  fGraph.ZoomGraph();
  const TRect all = fGraph.GraphBounds();
  auto paint = [&](bool Detail) {
    fGraph.SetLevelOfDetail(Detail);
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas(&image);
    canvas.SetWindowOrg(all.TopLeft());
    canvas.SetWindowExt({all.Width(), all.Width()});
    canvas.SetViewportExt({400, 400});
    fGraph.Draw(canvas);
    return image;
  };
  EXPECT_EQ(paint(true), paint(false));
}

// A checkerboard picture shown 4 pixels large is grey from its averaged
// halvings, not black or white as a sampled copy would be.
TEST(LevelOfDetailPictureTest, TinyPicturesAreAveraged) {
  RegisterPlanClasses();
  TGraphEditor graph;
  graph.resize(200, 200);
  graph.SetShowGrid(false);
  QImage board(16, 16, QImage::Format_RGB32);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) board.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
  TBitmap picture;
  picture.SetImage(board);
  TGraphNode* node = graph.InsertNode({0, 0, 16, 16}, &TZyImageNode::ClassInfo);
  ASSERT_NE(node, nullptr);
  node->Background()->SetGraphic(&picture);
  graph.SetZoom(25);
  graph.HorzScrollBar()->SetPosition(0);
  graph.VertScrollBar()->SetPosition(0);
  const QImage shown = graph.RenderToImage(1.0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const int gray = qGray(shown.pixel(x, y));
      EXPECT_GT(gray, 100) << x << "," << y;
      EXPECT_LT(gray, 156) << x << "," << y;
    }
}

}  // namespace
