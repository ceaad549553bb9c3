// A repaint of part of the control must leave there exactly what a paint of
// the whole control shows, however the part is cut up and whatever the
// walls kept from their earlier drawings.
#include <gtest/gtest.h>

#include <QImage>
#include <QRegion>

#include "GraphTestSupport.h"

namespace {

constexpr QRgb kUntouched = 0xffff00ff;

// What a paint of Region alone leaves on an image that was all magenta.
QImage PaintOnly(TGraphEditor& Graph, const QRegion& Region) {
  QImage image(Graph.viewport()->size(), QImage::Format_RGB32);
  image.fill(kUntouched);
  // Rendering starts at the offset given for the region's top-left.
  Graph.viewport()->render(&image, Region.boundingRect().topLeft(), Region, QWidget::RenderFlags());
  return image;
}

// The pixels of Region that differ from Full, and those outside it that
// were painted.
void ExpectPaintedAsWhole(const QImage& Part, const QImage& Full, const QRegion& Region) {
  int wrong = 0, outside = 0;
  for (int y = 0; y < Part.height(); ++y)
    for (int x = 0; x < Part.width(); ++x) {
      if (Region.contains(QPoint(x, y)))
        wrong += Part.pixel(x, y) != Full.pixel(x, y);
      else
        outside += Part.pixel(x, y) != kUntouched;
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(outside, 0);
}

// A few walls, one of them bent Bend units down, and a label. Shown, it
// has been painted once.
std::unique_ptr<TGraphEditor> Plan(bool Shown, int Bend = 0) {
  auto g = MakeGraph(500, 400);
  g->SetShowGrid(true);
  for (int y : {40, 200, 360}) {
    TGraphLink* wall = g->InsertLink(TPoints{{20, y}, {480, y + (y == 200 ? Bend : 0)}, {470, y + 20}});
    wall->Pen()->SetWidth(y == 200 ? 9 : 4);
  }
  TGraphLink* diagonal = g->InsertLink(TPoints{{30, 380}, {460, 30}});
  diagonal->Pen()->SetWidth(6);
  g->InsertNode({200, 150, 300, 190})->SetText(QStringLiteral("主卧"));
  if (Shown) g->show();
  ProcessEvents();
  return g;
}

// The control painted whole by a plan drawn for the first time: every
// wall stroked by Qt.
QImage FirstPaint(int Bend = 0) { return Plan(false, Bend)->RenderToImage(); }

TEST(PartialPaint, RectanglesFarApartArePaintedEachAsInAWholePaint) {
  auto g = Plan(true);
  const QImage full = FirstPaint();
  // Two corners: painted one by one. Two crossing strips: painted as the
  // box around them, which they mostly fill.
  for (const QRegion& region :
       {QRegion(10, 10, 60, 50) + QRegion(400, 330, 80, 60), QRegion(0, 190, 500, 20) + QRegion(240, 0, 20, 400),
        QRegion(100, 30, 300, 20) + QRegion(150, 195, 10, 10) + QRegion(420, 350, 30, 30)}) {
    ExpectPaintedAsWhole(PaintOnly(*g, region), full, region);
    // Again, now that the walls fill what they kept.
    ExpectPaintedAsWhole(PaintOnly(*g, region), full, region);
  }
}

TEST(PartialPaint, AMovedWallIsPaintedWhereItIsNow) {
  auto g = Plan(true);
  TGraphLink* wall = static_cast<TGraphLink*>(g->Objects()[1]);
  const QRegion all(g->viewport()->rect());
  for (int bend : {0, 7, 7, -5, 0}) {
    wall->SetPolyline(TPoints{{20, 200}, {480, 200 + bend}, {470, 220}});
    // Twice at each place: the second paint fills from what the first kept.
    ExpectPaintedAsWhole(PaintOnly(*g, all), FirstPaint(bend), all);
    ExpectPaintedAsWhole(PaintOnly(*g, all), FirstPaint(bend), all);
  }
}

}  // namespace
