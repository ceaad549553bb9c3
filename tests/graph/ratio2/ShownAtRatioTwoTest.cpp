// The shown control on a screen of device pixel ratio 2 (this program runs
// with QT_SCALE_FACTOR=2): clicks find the objects at the same logical
// points as at ratio 1, and what the screen gets is drawn in device pixels.
#include <gtest/gtest.h>

#include <QTest>

#include "../GraphTestSupport.h"

namespace {

struct RatioTwo : ::testing::Test {
  void SetUp() override {
    graph = MakeGraph(400, 300);
    graph->SetShowGrid(false);
    graph->show();
    ProcessEvents();
    ASSERT_EQ(graph->viewport()->devicePixelRatioF(), 2.0) << "run with QT_SCALE_FACTOR=2";
  }
  // Clicks at the client point of graph point (X, Y); answers the one
  // object selected then, if any.
  TGraphObject* ClickAt(int X, int Y) {
    const TPoint c = graph->GraphToClient(X, Y);
    QTest::mouseClick(graph->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(c.X, c.Y));
    return graph->SelectedObjects().Count() == 1 ? graph->SelectedObjects()[0] : nullptr;
  }
  std::unique_ptr<TGraphEditor> graph;
};

TEST_F(RatioTwo, ClicksFindTheObjectsHitTestingFindsAtRatioOne) {
  TGraphNode* box = graph->InsertNode({40, 40, 120, 100});
  TGraphLink* wall = graph->InsertLink(TPoints{{150, 60}, {300, 60}});
  wall->Pen()->SetWidth(1);
  graph->SetZoom(150);
  // Hit testing works on graph points alone; clicks at ratio 2 must reach
  // it with the same points, at every zoom, on edges and inside.
  const std::vector<TPoint> points{{41, 41}, {80, 70}, {119, 99}, {200, 60}, {299, 60}, {130, 60}, {200, 80}};
  for (int zoom : {150, 100, 75}) {
    graph->SetZoom(zoom);
    ProcessEvents();
    for (const TPoint& p : points) {
      TGraphObject* expected = graph->FindObjectAt(p.X, p.Y);
      graph->ClearSelection();
      EXPECT_EQ(ClickAt(p.X, p.Y), expected) << zoom << "% at " << p.X << "," << p.Y;
    }
  }
  EXPECT_EQ(graph->FindObjectAt(80, 70), box);
  EXPECT_EQ(graph->FindObjectAt(200, 60), wall);
}

TEST_F(RatioTwo, TheWidgetIsPaintedInDevicePixels) {
  TGraphLink* wall = graph->InsertLink(TPoints{{20, 50}, {300, 50}});
  wall->Pen()->SetWidth(1);
  wall->Pen()->SetColor(clBlack);
  ProcessEvents();
  const QImage shot = graph->viewport()->grab().toImage();
  ASSERT_EQ(shot.width(), graph->viewport()->width() * 2);
  // The hairline at client row 50 is one device row, not two.
  int dark = 0;
  for (int y = 90; y < 110; ++y) dark += qGray(shot.pixel(200, y)) < 128 ? 1 : 0;
  EXPECT_EQ(dark, 1);
}

}  // namespace
