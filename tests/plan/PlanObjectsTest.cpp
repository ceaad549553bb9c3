#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstring>

#include "Exceptions.h"
#include "GraphEditor.h"
#include "PatternImages.h"
#include "Picture.h"
#include "PlanObjects.h"
#include "Recording.h"
#include "Stream.h"

namespace {
struct PlanTest : ::testing::Test {
  void SetUp() override {
    RegisterPlanClasses();
    CurrentLineWidth = 4;
    CurrentLineColor = clBlack;
    graph = std::make_unique<TGraphEditor>();
    graph->resize(400, 300);
    graph->SetShowGrid(false);
  }
  void TearDown() override {
    CurrentLineWidth = 4;
    CurrentLineColor = clBlack;
  }
  QString SaveBitmap(const TBitmap& b) {
    QString name = dir.filePath(QStringLiteral("pic.bmp"));
    b.SaveToFile(name);
    return name;
  }
  QTemporaryDir dir;
  std::unique_ptr<TGraphEditor> graph;
};

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.ScanLine(y), b.ScanLine(y), size_t(3 * a.Width())) != 0) return false;
  return true;
}
}  // namespace

TEST_F(PlanTest, NewLabelIsCentredAt100By40) {
  TZyTextBoxNode* label = TZyTextBoxNode::Create2(graph.get(), QStringLiteral("厅"));
  EXPECT_EQ(label->BoundsRect(), TRect(0, 0, 100, 40));
  EXPECT_EQ(label->Text(), QStringLiteral("厅"));
  TRect text = label->TextRect();
  EXPECT_LE(std::abs((text.Left + text.Right) - 100), 1);
  EXPECT_LE(std::abs((text.Top + text.Bottom) - 40), 1);
  EXPECT_EQ(graph->Objects().Count(), 1);
}

TEST_F(PlanTest, PictureNodeHasThePictureSizeAndABadFileAddsNothing) {
  TBitmap b = PatternBitmap(45, 20);
  TZyImageNode* node = TZyImageNode::Create2(graph.get(), SaveBitmap(b));
  EXPECT_EQ(node->BoundsRect(), TRect(0, 0, 45, 20));
  EXPECT_THROW(TZyImageNode::Create2(graph.get(), dir.filePath(QStringLiteral("missing.bmp"))), Exception);
  QString junk = dir.filePath(QStringLiteral("junk.bmp"));
  QFile f(junk);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("not a picture");
  f.close();
  EXPECT_THROW(TZyImageNode::Create2(graph.get(), junk), EInvalidGraphic);
  EXPECT_EQ(graph->Objects().Count(), 1);
}

TEST_F(PlanTest, PictureNodeNeverDrawsAFrameAndALabelOnlyOnceTurned) {
  const TBitmap white = PlainBitmap(60, 40, Qt::white);
  TZyImageNode* pic = TZyImageNode::Create2(graph.get(), SaveBitmap(white));
  pic->SetBounds(20, 20, 60, 40);
  auto edgeInk = [&](const QImage& img, const TRect& r) {
    int ink = 0;
    for (int x = r.Left; x < r.Right; ++x)
      if (qGray(img.pixel(x, r.Top)) < 128) ++ink;
    return ink;
  };
  EXPECT_EQ(edgeInk(graph->RenderToImage(), pic->BoundsRect()), 0);
  pic->SetSelected(true);
  ASSERT_TRUE(pic->BeginDrag({40, 30}));  // dragged: the outline is the border, which is nothing
  EXPECT_EQ(edgeInk(graph->RenderToImage(), {pic->Left() + 5, pic->Top(), pic->Left() + 55, 0}), 0);
  pic->EndDrag(false);
  pic->SetSelected(false);

  TZyTextBoxNode* label = TZyTextBoxNode::Create2(graph.get(), QStringLiteral("卫"));
  label->SetBounds(200, 100, 100, 40);
  EXPECT_EQ(edgeInk(graph->RenderToImage(), {210, 100, 290, 0}), 0);
  ASSERT_TRUE(RotateNodeClockwise(label));
  EXPECT_NE(label->Background()->Graphic(), nullptr);
  EXPECT_GT(edgeInk(graph->RenderToImage(), {label->Left() + 2, label->Top(), label->Left() + 38, 0}), 30);
}

TEST_F(PlanTest, QuarterTurnsOfTheBox) {
  TZyTextBoxNode* label = TZyTextBoxNode::Create2(graph.get(), QStringLiteral("房"));
  label->SetBounds(100, 100, 100, 40);
  RotateNodeClockwise(label);
  EXPECT_EQ(label->BoundsRect(), TRect(130, 70, 170, 170));
  RotateNodeClockwise(label);
  EXPECT_EQ(label->BoundsRect(), TRect(100, 100, 200, 140));

  TBitmap b = PatternBitmap(61, 20);
  TZyImageNode* pic = TZyImageNode::Create2(graph.get(), SaveBitmap(b));
  pic->SetBounds(100, 100, 61, 20);
  RotateNodeClockwise(pic);
  EXPECT_EQ(pic->BoundsRect(), TRect(120, 80, 140, 141));
  RotateNodeClockwise(pic);
  EXPECT_EQ(pic->BoundsRect(), TRect(100, 100, 161, 120));
}

TEST_F(PlanTest, FourTurnsGiveThePictureBack) {
  TBitmap original = PatternBitmap(13, 7);
  TBitmap turned;
  RotateBitmapClockwise(original, turned);
  ASSERT_EQ(turned.Width(), 7);
  ASSERT_EQ(turned.Height(), 13);
  // The top-left pixel goes to the top-right.
  EXPECT_EQ(std::memcmp(turned.ScanLine(0) + 3 * 6, original.ScanLine(0), 3), 0);
  EXPECT_FALSE(SamePixels(turned, original));
  TBitmap work;
  work.Assign(&turned);
  for (int i = 0; i < 3; ++i) {
    TBitmap next;
    RotateBitmapClockwise(work, next);
    work.Assign(&next);
  }
  EXPECT_TRUE(SamePixels(work, original));
}

TEST_F(PlanTest, WallsKeepTheirPenThroughSaveAndLoad) {
  CurrentLineWidth = 8;
  CurrentLineColor = clRed;
  graph->SetDefaultLinkClass(&TWallLine::ClassInfo);
  TGraphLink* red = graph->InsertLink(TPoints{{10, 10}, {100, 10}});
  CurrentLineWidth = 1;
  CurrentLineColor = clBlack;
  TGraphLink* thin = graph->InsertLink(TPoints{{10, 50}, {100, 50}});
  ASSERT_TRUE(red && thin);
  EXPECT_EQ(red->Pen()->Width(), 8);
  TMemoryStream s;
  graph->SaveToStream(s);
  CurrentLineWidth = 8;
  CurrentLineColor = clBlue;
  s.SetPosition(0);
  graph->LoadFromStream(s);
  ASSERT_EQ(graph->Objects().Count(), 2);
  auto* a = dynamic_cast<TWallLine*>(graph->Objects()[0]);
  auto* b = dynamic_cast<TWallLine*>(graph->Objects()[1]);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->Pen()->Width(), 8);
  EXPECT_EQ(a->Pen()->Color(), clRed);
  // Width 1 and black are the pen's defaults, left out of the stream: they
  // come back as stored, whatever the current pen is.
  EXPECT_EQ(b->Pen()->Width(), 1);
  EXPECT_EQ(b->Pen()->Color(), clBlack);
  // A pasted wall keeps its pen too; a new one takes the current pen.
  TMemoryStream copy;
  graph->SaveToStream(copy);
  TGraphEditor other;
  copy.SetPosition(0);
  other.MergeFromStream(copy, 0, 0);
  ASSERT_EQ(other.Objects().Count(), 2);
  EXPECT_EQ(other.Objects()[1]->Pen()->Width(), 1);
  TGraphLink* fresh = graph->InsertLink(TPoints{{10, 90}, {100, 90}});
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->Pen()->Width(), 8);
  EXPECT_EQ(fresh->Pen()->Color(), clBlue);
}

TEST_F(PlanTest, WallHasNoArrowNoCaptionAndTakesNoHooks) {
  graph->SetDefaultLinkClass(&TWallLine::ClassInfo);
  TGraphLink* wall = graph->InsertLink(TPoints{{10, 10}, {200, 10}});
  ASSERT_NE(wall, nullptr);
  EXPECT_EQ(wall->EndStyle(), lsNone);
  EXPECT_EQ(wall->BeginStyle(), lsNone);
  EXPECT_EQ(wall->Options(), goSelectable);
  TGraphLink* other = graph->InsertLink(TPoints{{50, 100}, {60, 200}}, &TGraphLink::ClassInfo);
  ASSERT_NE(other, nullptr);
  EXPECT_FALSE(other->CanHook(0, wall));
  EXPECT_EQ(graph->InsertLink(wall, TPoints{{300, 300}}, &TGraphLink::ClassInfo), nullptr);
}

// The plan as a metafile (the program's own recordings: walls, labels,
// turned labels, pictures) passes the check, stores byte for byte and
// draws what the recording drew.
TEST_F(PlanTest, PlanRecordingPassesTheCheckAndReloadsTheSame) {
  TZyImageNode::Create2(graph.get(), SaveBitmap(PatternBitmap(45, 20)))->SetBoundsRect({200, 10, 245, 30});
  TZyTextBoxNode::Create2(graph.get(), QStringLiteral("卧"));
  RotateNodeClockwise(TZyTextBoxNode::Create2(graph.get(), QStringLiteral("厨")));
  graph->InsertLink(TPoints{{0, 0}, {300, 0}, {300, 150}}, &TWallLine::ClassInfo);
  std::unique_ptr<TMetafile> recorded = graph->GetAsMetafile(nullptr, graph->Objects());
  const QByteArray recording(recorded->Recording().data(), qsizetype(recorded->Recording().size()));
  ASSERT_NO_THROW(CheckRecording(recording));

  TMemoryStream stored;
  recorded->SaveToStream(stored);
  stored.SetPosition(0);
  TMetafile loaded;
  loaded.LoadFromStream(stored);
  TMemoryStream again;
  loaded.SaveToStream(again);
  ASSERT_EQ(again.Size(), stored.Size());
  EXPECT_EQ(std::memcmp(again.Memory(), stored.Memory(), size_t(stored.Size())), 0);
  const QImage image = loaded.ToImage();
  EXPECT_EQ(image, recorded->ToImage());
  int ink = 0;  // the walls, the labels and the picture
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ink += image.pixelColor(x, y) != QColor(Qt::white);
  EXPECT_GT(ink, 2 * 300 * 4);
}
