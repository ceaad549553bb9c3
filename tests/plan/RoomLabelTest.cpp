// Room labels are shown at a size for reading a plan, whatever smaller
// font they carry, without changing the font the document stores.
#include <gtest/gtest.h>

#include <cstring>

#include "GraphEditor.h"
#include "PlanObjects.h"
#include "Stream.h"

namespace {

// The height in client pixels of the dark pixels inside Box.
int InkHeight(const QImage& Image, const QRect& Box) {
  int top = -1, bottom = -1;
  for (int y = Box.top(); y <= Box.bottom(); ++y)
    for (int x = Box.left(); x <= Box.right(); ++x)
      if (qGray(Image.pixel(x, y)) < 160) {
        if (top < 0) top = y;
        bottom = y;
      }
  return top < 0 ? 0 : bottom - top + 1;
}

struct RoomLabel : ::testing::Test {
  void SetUp() override {
    RegisterPlanClasses();
    graph = std::make_unique<TGraphEditor>();
    graph->resize(300, 200);
    graph->SetShowGrid(false);
  }
  std::unique_ptr<TGraphEditor> graph;
};

TEST_F(RoomLabel, ShownAtLeastFourteenPixelsHighAtAHundredPercent) {
  TZyTextBoxNode* label = TZyTextBoxNode::Create2(graph.get(), QStringLiteral("餐"));
  label->SetBounds(50, 50, TZyTextBoxNode::LabelWidth, TZyTextBoxNode::LabelHeight);
  const QRect box(50, 50, TZyTextBoxNode::LabelWidth, TZyTextBoxNode::LabelHeight);
  const int shown = InkHeight(graph->RenderToImage(), box);
  // The glyph's ink is most of its em: 12 pixels or more at 14.
  EXPECT_GE(shown, 12);
  EXPECT_LE(shown, 16);
  // Zoomed, it grows with the plan.
  graph->SetZoom(200);
  EXPECT_NEAR(InkHeight(graph->RenderToImage(), QRect(box.topLeft() * 2, box.size() * 2)), 2 * shown, 2);

  // A label whose own font is larger keeps it.
  graph->SetZoom(100);
  label->Font()->SetHeight(-18);
  EXPECT_GT(InkHeight(graph->RenderToImage(), box), shown);
}

TEST_F(RoomLabel, TheDocumentKeepsTheFontItHad) {
  TZyTextBoxNode* label = TZyTextBoxNode::Create2(graph.get(), QStringLiteral("厅"));
  label->SetBounds(10, 10, TZyTextBoxNode::LabelWidth, TZyTextBoxNode::LabelHeight);
  TMemoryStream before;
  graph->SaveToStream(before);
  graph->RenderToImage();
  EXPECT_TRUE(label->ParentFont());
  EXPECT_EQ(label->Font()->Height(), graph->Font()->Height());
  TMemoryStream after;
  graph->SaveToStream(after);
  ASSERT_EQ(after.Size(), before.Size());
  EXPECT_EQ(std::memcmp(after.Memory(), before.Memory(), size_t(before.Size())), 0);
}

}  // namespace
