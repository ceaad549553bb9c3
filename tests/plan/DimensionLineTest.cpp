// Lengths in metres, and the dimension line: its caption follows its points
// through edits, hooked objects, streams and resaves.
#include <gtest/gtest.h>

#include "DimensionLine.h"
#include "Geometry.h"
#include "GraphEditor.h"
#include "GraphNode.h"
#include "PlanObjects.h"
#include "PlanUnits.h"
#include "Stream.h"

namespace {

TEST(PlanUnits, LengthsShowInMetresToTheCentimetre) {
  EXPECT_EQ(LengthText(180), QStringLiteral("3.60 m"));
  EXPECT_EQ(LengthText(0), QStringLiteral("0.00 m"));
  EXPECT_EQ(MetresNumber(0.24), QStringLiteral("0.00"));
  EXPECT_EQ(MetresNumber(0.26), QStringLiteral("0.01"));
  EXPECT_EQ(MetresNumber(-75), QStringLiteral("-1.50"));
  EXPECT_EQ(MetresNumber(-0.2), QStringLiteral("0.00"));
  EXPECT_EQ(MetresNumber(PointDistance({0, 0}, {30, 40})), QStringLiteral("1.00"));
  EXPECT_EQ(SizeText(50, 100), QStringLiteral("1.00 × 2.00 m"));
}

TEST(PlanUnits, TypedMetresBecomePixelsAndNonsenseIsRefused) {
  EXPECT_EQ(PixelsOfMetres(QStringLiteral("2.5")), 125);
  EXPECT_EQ(PixelsOfMetres(QStringLiteral("3.6")), 180);
  EXPECT_EQ(PixelsOfMetres(QStringLiteral(".02")), 1);
  for (const char* bad : {"", ".", "0", "1..2", "-3", "abc", "1e9"})
    EXPECT_LT(PixelsOfMetres(QString::fromLatin1(bad)), 0) << bad;
}

TEST(PlanUnits, SegmentDegreesCountCounterClockwiseAsSeen) {
  EXPECT_EQ(SegmentDegrees({0, 0}, {10, 0}), 0);
  EXPECT_EQ(SegmentDegrees({0, 0}, {10, -10}), 45);  // up and right on screen
  EXPECT_EQ(SegmentDegrees({0, 0}, {0, 10}), 270);
  EXPECT_EQ(SegmentDegrees({0, 0}, {-10, 0}), 180);
  EXPECT_EQ(SegmentDegrees({5, 5}, {5, 5}), 0);
}

TEST(Geometry, ConstrainToEighthsEndsOnExactMultiplesOf45Degrees) {
  const TPoint from{100, 100};
  EXPECT_EQ(ConstrainToEighths(from, {160, 110}), TPoint(160, 100));
  EXPECT_EQ(ConstrainToEighths(from, {95, 30}), TPoint(100, 30));
  EXPECT_EQ(ConstrainToEighths(from, {157, 143}), TPoint(150, 150));
  EXPECT_EQ(ConstrainToEighths(from, {40, 165}), TPoint(38, 162));
  EXPECT_EQ(ConstrainToEighths(from, {60, 55}), TPoint(58, 58));
  EXPECT_EQ(ConstrainToEighths(from, from), from);
}

struct DimensionLineTest : ::testing::Test {
  void SetUp() override {
    RegisterPlanClasses();
    graph = std::make_unique<TGraphEditor>();
    graph->resize(400, 300);
  }
  TDimensionLine* Insert(const TPoints& Points, TGraphObject* Source = nullptr) {
    TGraphLink* link = Source ? graph->InsertLink(Source, Points, &TDimensionLine::ClassInfo)
                              : graph->InsertLink(Points, &TDimensionLine::ClassInfo);
    return dynamic_cast<TDimensionLine*>(link);
  }
  QByteArray Saved() {
    TMemoryStream stream;
    graph->SaveToStream(stream);
    return QByteArray(reinterpret_cast<const char*>(stream.Memory()), qsizetype(stream.Size()));
  }
  std::unique_ptr<TGraphEditor> graph;
};

TEST_F(DimensionLineTest, CaptionIsItsLengthWithArrowsAtBothEnds) {
  TDimensionLine* line = Insert({{10, 10}, {190, 10}});
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->Text(), QStringLiteral("3.60 m"));
  EXPECT_EQ(line->BeginStyle(), lsArrow);
  EXPECT_EQ(line->EndStyle(), lsArrow);
  EXPECT_TRUE(line->Options() & goShowCaption);
  EXPECT_TRUE(line->HasTextRegion());
  EXPECT_EQ(TGraphEditor::FindClass(QStringLiteral("TDimensionLine")), &TDimensionLine::ClassInfo);
}

TEST_F(DimensionLineTest, CaptionFollowsMovesStretchesAndHookedNodes) {
  TGraphNode* box = graph->InsertNode(TRect(100, 100, 160, 160), &TRectangularNode::ClassInfo);
  ASSERT_NE(box, nullptr);
  TDimensionLine* line = Insert({{400, 130}}, box);
  ASSERT_NE(line, nullptr);
  ASSERT_EQ(line->Source(), box);
  ASSERT_EQ(line->PointCount(), 2);
  // From the box's right side: 240 px, 2 cm each.
  EXPECT_EQ(line->Polyline(), TPoints({{160, 130}, {400, 130}}));
  EXPECT_EQ(line->Text(), QStringLiteral("4.80 m"));

  box->SetBounds(150, 100, 60, 60);  // the hooked end follows the box 50 px
  EXPECT_EQ(line->Polyline(), TPoints({{210, 130}, {400, 130}}));
  EXPECT_EQ(line->Text(), QStringLiteral("3.80 m"));

  // A move takes the free end along; the hooked end stays on the box, aimed
  // at the moved point: 197 across and 8 down make 197.2 px.
  line->ShiftBy(7, 9);
  EXPECT_EQ(line->Polyline(), TPoints({{210, 131}, {407, 139}}));
  EXPECT_EQ(line->Text(), QStringLiteral("3.94 m"));
  line->SetPolyline({{0, 0}, {0, 50}});
  EXPECT_EQ(line->Text(), QStringLiteral("1.00 m"));
  line->SetPolyline({{0, 0}, {1, 0}});  // too short to show a caption
  line->SetPolyline({{0, 0}, {0, 250}});
  EXPECT_EQ(line->Text(), QStringLiteral("5.00 m"));
  EXPECT_TRUE(line->HasTextRegion());
}

TEST_F(DimensionLineTest, StoredWithoutItsCaptionAndReadBackWithIt) {
  Insert({{0, 0}, {90, 120}});
  const QByteArray bytes = Saved();
  EXPECT_TRUE(bytes.contains("TDimensionLine"));
  EXPECT_FALSE(bytes.contains("3.00 m"));

  auto other = std::make_unique<TGraphEditor>();
  TMemoryStream in;
  in.Write(bytes.constData(), bytes.size());
  in.SetPosition(0);
  other->LoadFromStream(in);
  ASSERT_EQ(other->Objects().Count(), 1);
  auto* loaded = dynamic_cast<TDimensionLine*>(other->Objects()[0]);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Text(), QStringLiteral("3.00 m"));
  EXPECT_EQ(loaded->BeginStyle(), lsArrow);

  TMemoryStream again;
  other->SaveToStream(again);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(again.Memory()), qsizetype(again.Size())), bytes);
}

}  // namespace
