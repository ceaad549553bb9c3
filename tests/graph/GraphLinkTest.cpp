#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <memory>

#include "Canvas.h"
#include "DocumentBytes.h"
#include "Exceptions.h"
#include "Filer.h"
#include "Geometry.h"
#include "GraphEditor.h"
#include "GraphErrors.h"
#include "GraphLink.h"
#include "IntMath.h"
#include "NodeShapes.h"
#include "PatternImages.h"
#include "Stream.h"

namespace {

class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    graph = std::make_unique<TGraphEditor>();
    graph->resize(640, 480);
    graph->SetSnapToGrid(false);
  }

  TGraphNode* AddNode(const TRect& Bounds) { return graph->InsertNode(Bounds, &TRectangularNode::ClassInfo); }
  TGraphLink* AddLink(const TPoints& Points) { return graph->InsertLink(Points, &TGraphLink::ClassInfo); }

  std::unique_ptr<TGraphEditor> graph;
};

TPoint Back(const TPoint& From, double Angle, double Distance) {
  return {Round(From.X - Distance * std::cos(Angle)), Round(From.Y - Distance * std::sin(Angle))};
}

bool IsBlack(const QImage& Image, int X, int Y) { return Image.pixelColor(X, Y) == QColor(Qt::black); }

// ---------------------------------------------------------------------------
// End shapes

TEST_F(LinkTest, NewLinkArrowHeadHasBackCornersAt20DegreesAndNotchedLine) {
  TGraphLink* link = AddLink({{10, 50}, {100, 50}});
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->EndStyle(), lsArrow);
  EXPECT_EQ(link->EndSize(), 6);
  EXPECT_EQ(link->BeginStyle(), lsNone);
  EXPECT_EQ(link->EndStyleExtent(lsArrow, 6), 14);

  // Along a slanted end segment the corners lie 14 px back at +-20 degrees.
  const TPoint end{100, 100};
  const double angle = 0.6;
  TRect bounds;
  link->EndStyleBounds(end, lsArrow, bounds, 6, angle);
  TPoints corners{end, Back(end, angle + Pi / 9, 14), Back(end, angle - Pi / 9, 14)};
  TRect expected = PointListBounds(corners);
  EXPECT_EQ(bounds, TRect(expected.Left - 1, expected.Top - 1, expected.Right + 1, expected.Bottom + 1));

  QImage image = PlainImage(120, 100);
  TPoint lineEnd;
  {
    TCanvas canvas(&image);
    canvas.Brush().SetColor(clBlack);
    link->DrawEndStyle(canvas, {100, 50}, lineEnd, 6, lsArrow, 0);
  }
  EXPECT_EQ(lineEnd, TPoint(92, 50));   // 14 * 6 / 10 = 8.4 -> 8 back
  EXPECT_TRUE(IsBlack(image, 87, 45));  // back corners
  EXPECT_TRUE(IsBlack(image, 87, 55));
  EXPECT_TRUE(IsBlack(image, 96, 50));   // filled head
  EXPECT_FALSE(IsBlack(image, 89, 50));  // the notch stays open
}

TEST_F(LinkTest, CircleEndHasRadiusFourAndLineStopsAtItsInnerSide) {
  TGraphLink* link = AddLink({{10, 50}, {100, 50}});
  link->SetEndStyle(lsCircle);
  EXPECT_EQ(link->EndStyleExtent(lsCircle, 6), 4);
  TRect bounds;
  link->EndStyleBounds({100, 50}, lsCircle, bounds, 6, 0);
  EXPECT_EQ(bounds, TRect(95, 45, 105, 55));
  QImage image = PlainImage(120, 100);
  TPoint lineEnd;
  {
    TCanvas canvas(&image);
    link->DrawEndStyle(canvas, {100, 50}, lineEnd, 6, lsCircle, 0);
  }
  EXPECT_EQ(lineEnd, TPoint(96, 50));
  // The painted area covers the circle and the pen.
  EXPECT_LE(link->VisualRect().Right, 106);
  EXPECT_GE(link->VisualRect().Right, 105);
}

// ---------------------------------------------------------------------------
// Points

TEST_F(LinkTest, AddBreakPointInsertsOnlyNearASegment) {
  TGraphLink* link = AddLink({{0, 0}, {100, 0}, {100, 100}});
  EXPECT_EQ(link->AddBreakPoint({50, 50}), 0);
  EXPECT_EQ(link->PointCount(), 3);
  EXPECT_EQ(link->AddBreakPoint({103, 60}), 2);
  ASSERT_EQ(link->PointCount(), 4);
  EXPECT_EQ(link->PointAt(2), TPoint(103, 60));
  EXPECT_EQ(link->AddBreakPoint({40, 2}), 1);
  EXPECT_EQ(link->PointAt(1), TPoint(40, 2));
}

TEST_F(LinkTest, NormalizeBreakPointsRemovesStraightBendsAndClosePoints) {
  TGraphLink* link = AddLink({{0, 0}, {100, 0}, {200, 0}, {200, 100}});
  EXPECT_TRUE(link->NormalizeBreakPoints(lnoDeleteSameAngle));
  EXPECT_EQ(link->Polyline(), TPoints({{0, 0}, {200, 0}, {200, 100}}));

  link->SetPolyline({{0, 0}, {10, 0}, {20, 0}, {30, 0}});
  EXPECT_TRUE(link->NormalizeBreakPoints(lnoDeleteSameAngle));
  EXPECT_EQ(link->Polyline(), TPoints({{0, 0}, {30, 0}}));
  EXPECT_FALSE(link->NormalizeBreakPoints(lnoDeleteSameAngle | lnoDeleteSamePoint));  // too few points

  link->SetPolyline({{10, 10}, {11, 11}, {12, 12}});
  EXPECT_TRUE(link->NormalizeBreakPoints(lnoDeleteSamePoint));
  EXPECT_EQ(link->Polyline(), TPoints({{12, 12}}));

  // Both options: merging leaves too few points to compare angles.
  link->SetPolyline({{10, 10}, {11, 11}, {12, 12}});
  EXPECT_TRUE(link->NormalizeBreakPoints(lnoDeleteSamePoint | lnoDeleteSameAngle));
  EXPECT_EQ(link->PointCount(), 1);
  EXPECT_FALSE(link->NormalizeBreakPoints(0));
}

TEST_F(LinkTest, PointAtOutOfRangeRaisesWithTheIndex) {
  TGraphLink* link = AddLink({{0, 0}, {10, 0}});
  try {
    link->PointAt(5);
    FAIL() << "no exception";
  } catch (const EPointListError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Invalid point index. (5)"));
  }
  EXPECT_THROW(link->PointAt(-1), EPointListError);
}

// ---------------------------------------------------------------------------
// Hooking

TEST_F(LinkTest, DeletingANodeUnhooksItsLinksInPlace) {
  TGraphNode* node = AddNode({100, 100, 200, 200});
  TGraphLink* in = graph->InsertLink(TPoints{{0, 150}}, node, &TGraphLink::ClassInfo);
  TGraphLink* out = graph->InsertLink(node, TPoints{{300, 150}}, &TGraphLink::ClassInfo);
  ASSERT_TRUE(in && out);
  ASSERT_EQ(in->Target(), node);
  ASSERT_EQ(out->Source(), node);
  TPoints inPoints = in->Polyline(), outPoints = out->Polyline();
  std::vector<std::pair<TGraphLink*, int>> unhooked;
  graph->OnObjectUnhook = [&](TGraphEditor*, TGraphObject* o, TGraphLink* l, int index) {
    EXPECT_EQ(o, node);
    unhooked.push_back({l, index});
  };
  ASSERT_TRUE(node->Delete());
  EXPECT_EQ(graph->Objects().Count(), 2);
  EXPECT_EQ(in->Target(), nullptr);
  EXPECT_EQ(out->Source(), nullptr);
  EXPECT_EQ(in->TargetID(), 0u);
  EXPECT_EQ(in->Polyline(), inPoints);
  EXPECT_EQ(out->Polyline(), outPoints);
  ASSERT_EQ(unhooked.size(), 2u);
  EXPECT_EQ(unhooked[0].second + unhooked[1].second, 1);  // index 1 of `in`, 0 of `out`
}

TEST_F(LinkTest, ReverseSwapsEndsAndListMemberships) {
  TGraphNode* a = AddNode({0, 0, 40, 40});
  TGraphNode* b = AddNode({200, 0, 240, 40});
  TGraphLink* link = graph->InsertLink(a, b, &TGraphLink::ClassInfo);
  ASSERT_TRUE(link);
  link->SetPolyline({{40, 20}, {100, 20}, {100, 60}, {200, 20}});
  ASSERT_TRUE(link->Link(a, b));
  link->SetTextPosition(0);
  TPoints before = link->Polyline();
  link->Reverse();
  EXPECT_EQ(link->Source(), b);
  EXPECT_EQ(link->Target(), a);
  EXPECT_EQ(link->SourceID(), b->ID());
  EXPECT_EQ(a->LinkInputCount(), 1);
  EXPECT_EQ(a->LinkOutputCount(), 0);
  EXPECT_EQ(b->LinkOutputCount(), 1);
  EXPECT_EQ(b->LinkInputCount(), 0);
  EXPECT_EQ(a->DependentCount(), 1);
  EXPECT_EQ(link->TextPosition(), 2);  // the same segment counted from the other end
  EXPECT_EQ(link->Polyline(), TPoints(before.rbegin(), before.rend()));
}

TEST_F(LinkTest, CanHookRefusals) {
  TGraphNode* node = AddNode({100, 100, 150, 150});
  TGraphNode* closed = AddNode({300, 100, 350, 150});
  closed->SetOptions(goSelectable | goShowCaption);
  TGraphLink* link = AddLink({{0, 0}, {50, 0}, {50, 50}});
  TGraphLink* other = graph->InsertLink(link, TPoints{{0, 300}}, &TGraphLink::ClassInfo);
  ASSERT_TRUE(other);
  EXPECT_FALSE(link->CanHook(0, link));
  EXPECT_FALSE(link->CanHook(0, nullptr));
  EXPECT_FALSE(link->CanHook(0, closed));
  EXPECT_FALSE(link->CanHook(1, node));   // a middle point
  EXPECT_FALSE(link->CanHook(2, other));  // `other` is hooked to `link`
  TGraphEditor elsewhere;
  TGraphNode* foreign = elsewhere.InsertNode({0, 0, 10, 10}, &TRectangularNode::ClassInfo);
  EXPECT_FALSE(link->CanHook(2, foreign));  // another graph's object
  EXPECT_FALSE(link->Hook(2, other));
  EXPECT_TRUE(link->CanHook(2, node));
  ASSERT_TRUE(link->Hook(2, node));
  EXPECT_FALSE(link->CanHook(0, node));  // one object, both ends
  // An event handler has the last word, and a refused hook fails creation.
  graph->OnCanHookLink = [](TGraphEditor*, TGraphObject*, TGraphLink*, int, bool& can) { can = false; };
  EXPECT_FALSE(link->CanHook(0, closed));
  int before = node->LinkOutputCount();
  EXPECT_EQ(graph->InsertLink(node, TPoints{{400, 400}}, &TGraphLink::ClassInfo), nullptr);
  EXPECT_EQ(node->LinkOutputCount(), before);
  EXPECT_THROW(TGraphLink::CreateNew(&TGraphLink::ClassInfo, graph.get(), node, {{400, 400}}, nullptr),
               EGraphInvalidOperation);
}

TEST_F(LinkTest, LinkHooksBothEndsAndCanSwapThem) {
  TGraphNode* a = AddNode({0, 0, 40, 40});
  TGraphNode* b = AddNode({200, 0, 240, 40});
  TGraphLink* link = AddLink({{60, 20}, {180, 20}});
  int hooks = 0;
  graph->OnObjectHook = [&](TGraphEditor*, TGraphObject*, TGraphLink*, int) { ++hooks; };
  EXPECT_FALSE(link->Link(a, a));
  EXPECT_TRUE(link->Link(a, b));
  EXPECT_EQ(hooks, 2);
  EXPECT_TRUE(link->Link(b, a));
  EXPECT_EQ(link->Source(), b);
  EXPECT_EQ(link->Target(), a);
  EXPECT_EQ(a->LinkInputCount() + a->LinkOutputCount(), 1);
  EXPECT_EQ(b->LinkInputCount() + b->LinkOutputCount(), 1);
}

TEST_F(LinkTest, MovedNodeReattachesBothHookedEndsOnItsOutline) {
  TGraphNode* node = AddNode({100, 100, 200, 200});
  TGraphLink* in = graph->InsertLink(TPoints{{0, 150}}, node, &TGraphLink::ClassInfo);
  TGraphLink* out = graph->InsertLink(node, TPoints{{300, 150}}, &TGraphLink::ClassInfo);
  ASSERT_TRUE(in && out);
  node->SetBounds(100, 150, 100, 100);  // centre now (150, 200)
  TPoint inEnd = in->PointAt(1);
  TPoint outStart = out->PointAt(0);
  // On the left and right edges, where the lines toward the centre cross them.
  EXPECT_NEAR(inEnd.X, 100, 1);
  EXPECT_NEAR(inEnd.Y, 183, 1);
  EXPECT_NEAR(outStart.X, 200, 1);
  EXPECT_NEAR(outStart.Y, 183, 1);
  EXPECT_EQ(in->PointAt(0), TPoint(0, 150));
  EXPECT_EQ(out->PointAt(1), TPoint(300, 150));
}

TEST_F(LinkTest, LinkHookedToALinkFollowsIt) {
  TGraphLink* base = AddLink({{0, 100}, {200, 100}});
  TGraphLink* branch = graph->InsertLink(TPoints{{100, 0}}, base, &TGraphLink::ClassInfo);
  ASSERT_TRUE(branch);
  EXPECT_EQ(branch->PointAt(1), TPoint(100, 100));
  EXPECT_FALSE(base->CanHook(0, branch));  // never both ways
  ASSERT_TRUE(base->MoveHit(htBody, 0, 50));
  EXPECT_EQ(branch->PointAt(1), TPoint(100, 150));
  EXPECT_EQ(branch->PointAt(0), TPoint(100, 0));

  // A two-point link between two links settles on both.
  TGraphLink* top = AddLink({{300, 0}, {500, 0}});
  TGraphLink* bottom = AddLink({{300, 100}, {500, 100}});
  TGraphLink* rung = graph->InsertLink(top, bottom, &TGraphLink::ClassInfo);
  ASSERT_TRUE(rung);
  EXPECT_EQ(rung->Polyline(), TPoints({{400, 0}, {400, 100}}));
  bottom->ShiftBy(0, 20);
  EXPECT_EQ(rung->PointAt(1), TPoint(400, 120));
}

TEST_F(LinkTest, AssignCopiesTheOneHookedEnd) {
  TGraphNode* node = AddNode({100, 100, 200, 200});
  TGraphLink* original = graph->InsertLink(node, TPoints{{300, 150}}, &TGraphLink::ClassInfo);
  original->SetEndStyle(lsDiamond);
  TGraphLink* copy = AddLink({{0, 0}, {10, 10}});
  copy->Assign(original);
  EXPECT_EQ(copy->Source(), node);
  EXPECT_EQ(copy->Target(), nullptr);
  EXPECT_EQ(copy->EndStyle(), lsDiamond);
  EXPECT_EQ(copy->Polyline(), original->Polyline());
  EXPECT_EQ(node->LinkOutputCount(), 2);
}

// ---------------------------------------------------------------------------
// Caption

TEST_F(LinkTest, CaptionOnTooShortSegmentIsAbsentAndNotHittable) {
  TGraphLink* link = AddLink({{100, 100}, {115, 100}});
  link->SetBeginStyle(lsArrow);  // margin 14 on the only segment
  link->SetText(QStringLiteral("Hall"));
  EXPECT_FALSE(link->HasTextRegion());
  EXPECT_TRUE(link->TextToShow().isEmpty());
  EXPECT_EQ(link->HitTest({107, 94}), htNone);

  link->SetPolyline({{100, 100}, {400, 100}});
  ASSERT_TRUE(link->HasTextRegion());
  EXPECT_EQ(link->TextToShow(), QStringLiteral("Hall"));
  QRect box = link->TextRegion().boundingRect();
  EXPECT_LE(box.bottom(), 100);  // above the line
  TPoint inside{box.center().x(), box.center().y()};
  EXPECT_EQ(link->HitTest(inside), htBody | htCaption);
  EXPECT_TRUE(link->ContainsRect({inside.X, inside.Y, inside.X + 1, inside.Y + 1}));
}

TEST_F(LinkTest, CaptionStaysUprightAndShortensToFit) {
  TGraphLink* link = AddLink({{400, 100}, {100, 100}});  // drawn right to left
  link->SetEndStyle(lsNone);
  link->SetText(QStringLiteral("  Kitchen  "));
  ASSERT_TRUE(link->HasTextRegion());
  EXPECT_EQ(link->TextToShow(), QStringLiteral("Kitchen"));
  EXPECT_LE(link->TextRegion().boundingRect().bottom(), 100);  // still above the line

  link->SetPolyline({{100, 100}, {130, 100}});
  link->SetText(QStringLiteral("A very long caption for a short wall"));
  ASSERT_TRUE(link->HasTextRegion());
  EXPECT_TRUE(link->TextToShow().endsWith(QStringLiteral("...")));
  EXPECT_LE(link->TextRegion().boundingRect().width(), 30);
}

// ---------------------------------------------------------------------------
// Mouse editing

TEST_F(LinkTest, MouseInsertsDragsAndRemovesAPoint) {
  TGraphLink* link = AddLink({{20, 100}, {200, 100}});
  link->SetSelected(true);
  link->HandleMouseMove(ssAlt, {100, 101});
  EXPECT_EQ(link->CursorForHit(link->HitTest({100, 101})), crXHair1);

  link->HandleMouseDown(mbLeft, ssAlt | ssLeft, {100, 101});
  ASSERT_EQ(link->PointCount(), 3);
  EXPECT_EQ(link->ChangeMode(), lcmMovePoint);
  EXPECT_TRUE(link->Dragging());
  link->HandleMouseMove(ssLeft, {100, 141});
  link->HandleMouseUp(mbLeft, 0, {100, 141});
  EXPECT_FALSE(link->Dragging());
  EXPECT_EQ(link->PointAt(1), TPoint(100, 141));
  EXPECT_EQ(link->ChangeMode(), lcmNone);

  link->HandleMouseDown(mbLeft, ssAlt | ssLeft, {100, 141});
  EXPECT_EQ(link->Polyline(), TPoints({{20, 100}, {200, 100}}));
  EXPECT_FALSE(link->Dragging());
  link->HandleMouseUp(mbLeft, ssAlt, {100, 141});
}

TEST_F(LinkTest, RightButtonBendsTheDraggedPoint) {
  TGraphLink* link = AddLink({{20, 100}, {200, 100}});
  link->SetSelected(true);
  link->HandleMouseDown(mbLeft, ssLeft, {200, 100});
  link->HandleMouseMove(ssLeft, {200, 200});
  link->HandleMouseDown(mbRight, ssLeft | ssRight, {200, 200});
  link->HandleMouseUp(mbRight, ssLeft, {200, 200});
  EXPECT_TRUE(link->Dragging());
  link->HandleMouseMove(ssLeft, {300, 200});
  link->HandleMouseUp(mbLeft, 0, {300, 200});
  EXPECT_EQ(link->Polyline(), TPoints({{20, 100}, {200, 200}, {300, 200}}));
}

TEST_F(LinkTest, DroppingAnEndOnANodeHooksItUnlessAltIsHeld) {
  TGraphNode* node = AddNode({300, 50, 400, 150});
  TGraphLink* link = AddLink({{20, 100}, {100, 100}});
  link->SetSelected(true);

  link->HandleMouseDown(mbLeft, ssLeft, {100, 100});
  link->HandleMouseMove(ssLeft | ssAlt, {350, 100});
  EXPECT_FALSE(link->AcceptingHook());
  link->HandleMouseMove(ssLeft, {350, 101});
  EXPECT_TRUE(link->AcceptingHook());
  EXPECT_EQ(link->HookingObject(), node);
  EXPECT_EQ(graph->ScreenCursor(), crXHairLink);
  link->HandleMouseUp(mbLeft, 0, {350, 101});
  ASSERT_EQ(link->Target(), node);
  EXPECT_EQ(node->LinkInputCount(), 1);
  EXPECT_NEAR(link->PointAt(1).X, 300, 1);  // re-attached on the outline

  // Dragging it off again and dropping it on empty space unhooks it.
  TPoint end = link->PointAt(1);
  link->HandleMouseDown(mbLeft, ssLeft, end);
  EXPECT_EQ(link->Target(), nullptr);
  link->HandleMouseMove(ssLeft, {450, 300});
  link->HandleMouseUp(mbLeft, 0, {450, 300});
  EXPECT_EQ(link->Target(), nullptr);
  EXPECT_EQ(node->LinkInputCount(), 0);
  EXPECT_EQ(link->PointAt(1), TPoint(450, 300));

  // Alt held while releasing over the node refuses the hook.
  link->HandleMouseDown(mbLeft, ssLeft, {450, 300});
  link->HandleMouseMove(ssLeft | ssAlt, {350, 100});
  link->HandleMouseUp(mbLeft, ssAlt, {350, 100});
  EXPECT_EQ(link->Target(), nullptr);
}

TEST_F(LinkTest, EscapeGivesADraggedEndBackToItsObject) {
  TGraphNode* node = AddNode({300, 50, 400, 150});
  TGraphLink* link = graph->InsertLink(TPoints{{100, 100}}, node, &TGraphLink::ClassInfo);
  ASSERT_TRUE(link);
  link->SetSelected(true);
  TPoint end = link->PointAt(1);
  link->HandleMouseDown(mbLeft, ssLeft, end);
  EXPECT_EQ(link->Target(), nullptr);  // the end leaves its object at once
  link->HandleMouseMove(ssLeft, {450, 300});
  int key = Qt::Key_Escape;
  EXPECT_TRUE(link->HandleKeyDown(key, 0));
  EXPECT_FALSE(link->Dragging());
  EXPECT_EQ(link->Target(), node);
  EXPECT_EQ(link->PointAt(1), end);
  link->HandleMouseMove(ssLeft, {450, 310});
  link->HandleMouseUp(mbLeft, 0, {450, 310});
  EXPECT_EQ(link->Target(), node);
  EXPECT_EQ(node->LinkInputCount(), 1);
}

TEST_F(LinkTest, DraggingASegmentMovesTheFreePointsOnly) {
  TGraphNode* node = AddNode({20, 80, 60, 120});
  TGraphLink* link = graph->InsertLink(node, TPoints{{200, 100}, {200, 200}}, &TGraphLink::ClassInfo);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->HitTest({200, 150}), htBody);  // unselected: no index
  link->SetSelected(true);
  EXPECT_EQ(link->HitTest({200, 150}), (1u << 16) | htLinkSegment | htBody);
  EXPECT_EQ(link->HitTest({200, 200}), (2u << 16) | htLinkPoint);
  TPoint hooked = link->PointAt(0);

  // Next to the hooked end the segment cannot carry the polyline.
  link->HandleMouseDown(mbLeft, ssLeft, {130, 100});
  EXPECT_FALSE(link->Dragging());
  link->HandleMouseUp(mbLeft, 0, {130, 100});

  link->HandleMouseDown(mbLeft, ssLeft, {200, 150});
  EXPECT_EQ(link->ChangeMode(), lcmMovePolyline);
  link->HandleMouseMove(ssLeft, {230, 150});
  link->HandleMouseUp(mbLeft, 0, {230, 150});
  EXPECT_EQ(link->Source(), node);
  EXPECT_EQ(link->PointAt(0), hooked);
  EXPECT_EQ(link->PointAt(1), TPoint(230, 100));
  EXPECT_EQ(link->PointAt(2), TPoint(230, 200));
}

// A second link class, as an application derives one.
class TTestLink : public TGraphLink {
  GRAPH_OBJECT_CLASS(TTestLink)

 protected:
  using TGraphLink::TGraphLink;
};
DEFINE_GRAPH_OBJECT_CLASS(TTestLink, TGraphLink);

TEST_F(LinkTest, ConvertedLinkStaysHookedOnce) {
  TGraphNode* a = AddNode({0, 0, 40, 40});
  TGraphNode* b = AddNode({200, 0, 240, 40});
  TGraphLink* link = graph->InsertLink(a, b, &TGraphLink::ClassInfo);
  ASSERT_TRUE(link);
  TGraphObject* converted = link->ConvertTo(&TTestLink::ClassInfo);
  ASSERT_NE(converted, link);
  auto* copy = dynamic_cast<TTestLink*>(converted);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->Source(), a);
  EXPECT_EQ(copy->Target(), b);
  EXPECT_EQ(a->LinkOutputCount(), 1);
  EXPECT_EQ(b->LinkInputCount(), 1);
  EXPECT_EQ(a->DependentCount(), 1);
  EXPECT_EQ(a->LinkOutputList()[0], copy);
}

// ---------------------------------------------------------------------------
// Moves, turns and selection

TEST_F(LinkTest, KeyboardResizeStretchesFromTheOppositeCorner) {
  TGraphLink* link = AddLink({{10, 10}, {110, 60}});
  EXPECT_TRUE(link->MoveHit(htBottomRightHandle, 10, 10));
  EXPECT_EQ(link->Polyline(), TPoints({{10, 10}, {120, 70}}));
  link->SetLinkOptions(gloFixedEndPoint);
  EXPECT_FALSE(link->MoveHit(htBottomRightHandle, 10, 10));
  EXPECT_FALSE(link->MoveHit((1u << 16) | htLinkPoint, 5, 5));  // the fixed end point
}

TEST_F(LinkTest, RotateAndScaleStayWithinTheGraphBounds) {
  TGraphLink* link = AddLink({{100, 100}, {200, 100}});
  EXPECT_TRUE(link->Rotate(Pi / 2, {100, 100}));
  EXPECT_EQ(link->Polyline(), TPoints({{100, 100}, {100, 200}}));
  EXPECT_FALSE(link->Rotate(Pi, {40, 40}));  // would leave the bounds
  EXPECT_EQ(link->Polyline(), TPoints({{100, 100}, {100, 200}}));
  EXPECT_TRUE(link->Scale(2));
  EXPECT_EQ(link->Polyline(), TPoints({{100, 50}, {100, 250}}));
  TGraphNode* node = AddNode({0, 0, 20, 20});
  ASSERT_TRUE(link->Hook(0, node));
  EXPECT_FALSE(link->Scale(0.5));
}

TEST_F(LinkTest, RubberBandFindsCrossedSegments) {
  TGraphLink* link = AddLink({{0, 0}, {200, 200}});
  EXPECT_TRUE(link->ContainsRect({50, 80, 150, 120}));   // crosses the band
  EXPECT_FALSE(link->ContainsRect({120, 10, 190, 60}));  // beside the line
  EXPECT_TRUE(link->ContainsRect({60, 40, 100, 70}));    // cuts its bottom-left corner
}

// ---------------------------------------------------------------------------
// Streaming

TEST_F(LinkTest, ReadsLegacyPropertiesAndRejectsBadPointCounts) {
  TGraphNode* node = AddNode({0, 0, 20, 20});
  TGraphLink* link = AddLink({{100, 100}, {200, 100}});
  QByteArray bytes("TPF0");
  PutShort(bytes, "TGraphStreamableObject");
  bytes.append('\0');
  PutShort(bytes, "G.Kind");
  bytes.append(char(vaIdent));
  PutShort(bytes, "LKBIDIRECTED");
  PutShort(bytes, "G.ArrowSize");
  bytes.append(char(vaInt8)).append(char(4));
  PutShort(bytes, "G.FromNode");
  bytes.append(char(vaInt8)).append(char(node->ID()));
  bytes.append('\0').append('\0');
  TMemoryStream stream;
  stream.WriteBuffer(bytes.constData(), bytes.size());
  stream.SetPosition(0);
  link->LoadFromStream(stream);
  EXPECT_EQ(link->BeginStyle(), lsArrow);
  EXPECT_EQ(link->EndSize(), 6);
  EXPECT_EQ(link->Source(), node);

  QByteArray bad("TPF0");
  PutShort(bad, "TGraphStreamableObject");
  bad.append('\0');
  PutShort(bad, "G.BreakPoints");
  bad.append(char(vaBinary));
  PutInt32(bad, 12);
  PutInt32(bad, 1000000);  // far more points than the block holds
  PutInt32(bad, 1);
  PutInt32(bad, 2);
  bad.append('\0').append('\0');
  TMemoryStream badStream;
  badStream.WriteBuffer(bad.constData(), bad.size());
  badStream.SetPosition(0);
  EXPECT_THROW(link->LoadFromStream(badStream), EReadError);
}

TEST_F(LinkTest, ReloadedLinkKeepsBothHooksAndItsCaption) {
  TGraphNode* a = AddNode({0, 0, 40, 40});
  TGraphNode* b = AddNode({200, 0, 240, 40});
  TGraphLink* link = graph->InsertLink(a, b, &TGraphLink::ClassInfo);
  ASSERT_TRUE(link);
  link->SetText(QStringLiteral("厅"));
  link->SetBeginStyle(lsCircle);
  TMemoryStream stream;
  graph->SaveToStream(stream);
  stream.SetPosition(0);

  TGraphEditor other;
  other.LoadFromStream(stream);
  ASSERT_EQ(other.Objects().Count(), 3);
  auto* loaded = dynamic_cast<TGraphLink*>(other.Objects()[2]);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->Source(), other.Objects()[0]);
  EXPECT_EQ(loaded->Target(), other.Objects()[1]);
  EXPECT_EQ(other.Objects()[1]->LinkInputCount(), 1);
  EXPECT_EQ(loaded->Polyline(), link->Polyline());
  EXPECT_EQ(loaded->BeginStyle(), lsCircle);
  EXPECT_EQ(loaded->Text(), QStringLiteral("厅"));
  EXPECT_TRUE(loaded->HasTextRegion());
}

}  // namespace
