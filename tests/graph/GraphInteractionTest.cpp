// Drives the real control with QTest: presses, moves, releases, keys and the
// wheel, on the offscreen platform.
#include <gtest/gtest.h>

#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include "GraphTestSupport.h"

namespace {
struct Interaction : ::testing::Test {
  void SetUp() override {
    graph = MakeGraph(500, 400);
    graph->show();
    ProcessEvents();
  }
  QWidget* vp() { return graph->viewport(); }
  // QTest presses and releases at the widget's centre when given (0, 0):
  // the tests keep their presses off the client's top-left corner.
  QPoint At(int gx, int gy) {
    TPoint c = graph->GraphToClient(gx, gy);
    return {c.X, c.Y};
  }
  void Press(int gx, int gy, Qt::KeyboardModifiers m = Qt::NoModifier, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mousePress(vp(), b, m, At(gx, gy));
  }
  void Move(int gx, int gy, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QMouseEvent e(QEvent::MouseMove, At(gx, gy), vp()->mapToGlobal(At(gx, gy)), Qt::NoButton, held, m);
    QApplication::sendEvent(vp(), &e);
  }
  void Release(int gx, int gy, Qt::KeyboardModifiers m = Qt::NoModifier, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mouseRelease(vp(), b, m, At(gx, gy));
  }
  // Press, move in steps and release with the left button.
  void Drag(int x0, int y0, int x1, int y1, Qt::KeyboardModifiers m = Qt::NoModifier) {
    Press(x0, y0, m);
    held = Qt::LeftButton;
    for (int i = 1; i <= 4; ++i) Move(x0 + (x1 - x0) * i / 4, y0 + (y1 - y0) * i / 4, m);
    held = Qt::NoButton;
    Release(x1, y1, m);
  }
  void Key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(graph.get(), k, m); }

  std::unique_ptr<TGraphEditor> graph;
  Qt::MouseButtons held = Qt::NoButton;
};
}  // namespace

TEST_F(Interaction, RubberBandSelectsInvertsAndFiltersNodes) {
  auto* a = AddNode<TRectangularNode>(*graph, {20, 20, 60, 60});
  auto* b = AddNode<TRectangularNode>(*graph, {100, 20, 140, 60});
  TGraphLink* l = graph->InsertLink(TPoints{{30, 100}, {130, 100}});
  Drag(10, 10, 150, 110);
  EXPECT_TRUE(a->Selected() && b->Selected() && l->Selected());
  EXPECT_FALSE(graph->ValidMarkedArea());
  // Shift inverts the enclosed ones and keeps the rest.
  Drag(10, 10, 70, 70, Qt::ShiftModifier);
  EXPECT_FALSE(a->Selected());
  EXPECT_TRUE(b->Selected() && l->Selected());
  // Ctrl: only nodes.
  graph->ClearSelection();
  Drag(10, 10, 150, 110, Qt::ControlModifier);
  EXPECT_TRUE(a->Selected() && b->Selected());
  EXPECT_FALSE(l->Selected());
}

TEST_F(Interaction, AltBandZoomsAndKeepsTheSelection) {
  auto* a = AddNode<TRectangularNode>(*graph, {20, 20, 60, 60});
  a->SetSelected(true);
  Drag(10, 10, 110, 110, Qt::AltModifier);
  // A 100 × 100 band in a 500 × 400 client without scroll bars: the height
  // decides, 400 / 100.
  EXPECT_EQ(graph->Zoom(), 400);
  EXPECT_TRUE(a->Selected());
}

TEST_F(Interaction, DragMovesBothSelectedNodesAndEscapeCancels) {
  auto* a = AddNode<TRectangularNode>(*graph, {16, 16, 48, 48});
  auto* b = AddNode<TRectangularNode>(*graph, {96, 16, 128, 48});
  a->SetSelected(true);
  b->SetSelected(true);
  graph->SetModified(false);
  Drag(30, 30, 70, 54);  // +40, +24: on the grid
  EXPECT_EQ(a->BoundsRect(), TRect(56, 40, 88, 72));
  EXPECT_EQ(b->BoundsRect(), TRect(136, 40, 168, 72));
  EXPECT_TRUE(graph->Modified());
  // A drag cancelled with Escape puts the source back.
  graph->SetModified(false);
  Press(70, 50);
  held = Qt::LeftButton;
  Move(90, 60);
  Move(110, 90);
  EXPECT_EQ(a->BoundsRect(), TRect(96, 80, 128, 112));  // +40, +40 so far
  EXPECT_EQ(b->BoundsRect(), TRect(176, 80, 208, 112));
  Key(Qt::Key_Escape);
  EXPECT_EQ(a->BoundsRect(), TRect(56, 40, 88, 72));
  EXPECT_EQ(graph->DragSource(), nullptr);
  EXPECT_EQ(b->BoundsRect(), TRect(136, 40, 168, 72));  // the follower too
  EXPECT_FALSE(graph->Modified());
  held = Qt::NoButton;
  Release(110, 90);
  EXPECT_FALSE(graph->Modified());
}

TEST_F(Interaction, CancelledPointDragAndResizeLeaveModifiedAsTheyFoundIt) {
  auto* n = AddNode<TRectangularNode>(*graph, {40, 40, 80, 80});
  TGraphLink* l = graph->InsertLink(n, TPoints{{200, 60}});
  ASSERT_NE(l, nullptr);
  for (bool modifiedBefore : {false, true}) {
    graph->SetModified(modifiedBefore);
    l->SetSelected(true);
    Press(200, 60);  // the free end
    held = Qt::LeftButton;
    Move(240, 120);
    Move(260, 140);
    Key(Qt::Key_Escape);
    held = Qt::NoButton;
    Release(260, 140);
    EXPECT_EQ(l->PointAt(1), TPoint(200, 60));
    EXPECT_EQ(l->Source(), n);
    EXPECT_EQ(graph->Modified(), modifiedBefore);

    graph->ClearSelection();
    n->SetSelected(true);
    Press(80, 80);  // the bottom-right handle
    held = Qt::LeftButton;
    Move(120, 120);
    Key(Qt::Key_Escape);
    held = Qt::NoButton;
    Release(120, 120);
    EXPECT_EQ(n->BoundsRect(), TRect(40, 40, 80, 80));
    EXPECT_EQ(graph->Modified(), modifiedBefore);
    graph->ClearSelection();
  }
}

TEST_F(Interaction, LocksHoldAgainstTheKeyboard) {
  auto* n = AddNode<TRectangularNode>(*graph, {40, 40, 80, 80});
  TGraphLink* l = graph->InsertLink(TPoints{{100, 100}, {200, 100}});
  graph->setFocus();
  const struct {
    Qt::Key Key;
    Qt::KeyboardModifiers Mods;
  } keys[] = {{Qt::Key_Right, {}},
              {Qt::Key_Down, Qt::ControlModifier},
              {Qt::Key_Left, Qt::ShiftModifier},
              {Qt::Key_Up, Qt::ShiftModifier | Qt::ControlModifier}};
  graph->SetLockNodes(true);
  graph->SetLockLinks(true);
  n->SetSelected(true);
  l->SetSelected(true);
  graph->SetModified(false);
  for (const auto& k : keys) Key(k.Key, k.Mods);
  EXPECT_EQ(n->BoundsRect(), TRect(40, 40, 80, 80));
  EXPECT_EQ(l->PointAt(0), TPoint(100, 100));
  EXPECT_EQ(l->PointAt(1), TPoint(200, 100));
  EXPECT_FALSE(graph->Modified());
  // Each lock holds its own kind only.
  graph->SetLockNodes(false);
  Key(Qt::Key_Right);
  EXPECT_EQ(n->Left(), 48);
  EXPECT_EQ(l->PointAt(0), TPoint(100, 100));
  EXPECT_TRUE(graph->Modified());
}

TEST_F(Interaction, TopLeftHandleAtMinimumSize) {
  auto* n = AddNode<TRectangularNode>(*graph, {104, 104, 120, 120});
  n->SetSelected(true);
  Drag(104, 104, 136, 136);  // would make it negative: the size stays, the far edge stays
  EXPECT_EQ(n->BoundsRect(), TRect(104, 104, 120, 120));
  Drag(104, 104, 80, 72);
  EXPECT_EQ(n->BoundsRect(), TRect(80, 72, 120, 120));
}

TEST_F(Interaction, InsertNodeSnapsUnlessCtrl) {
  graph->SetCommandMode(cmInsertNode);
  Press(13, 21);
  ASSERT_EQ(graph->Objects().Count(), 1);
  auto* n = static_cast<TGraphNode*>(graph->Objects()[0]);
  EXPECT_EQ(n->BoundsRect(), TRect(16, 24, 32, 40));
  EXPECT_EQ(graph->DragSource(), n);
  Release(13, 21);
  EXPECT_EQ(graph->CommandMode(), cmEdit);
  graph->SetCommandMode(cmInsertNode);
  Press(13, 21, Qt::ControlModifier);
  ASSERT_EQ(graph->Objects().Count(), 2);
  EXPECT_EQ(graph->Objects()[1]->BoundsRect(), TRect(13, 21, 29, 37));
  Release(13, 21, Qt::ControlModifier);
}

TEST_F(Interaction, InsertedNodeSizeFollowsGridAndMinimum) {
  auto sizeFor = [&](int grid, int minSize, bool snap) {
    graph->Clear();
    graph->SetGridSize(grid);
    graph->SetMinNodeSize(minSize);
    graph->SetSnapToGrid(snap);
    graph->SetCommandMode(cmInsertNode);
    Press(40, 40);
    Release(40, 40);
    return graph->Objects().Count() == 1 ? graph->Objects()[0]->BoundsRect().Width() : -1;
  };
  EXPECT_EQ(sizeFor(20, 16, true), 20);
  EXPECT_EQ(sizeFor(20, 16, false), 16);
  EXPECT_EQ(sizeFor(10, 16, true), 20);
}

TEST_F(Interaction, LinkDrawnFromANodeIsHookedToIt) {
  auto* n = AddNode<TRectangularNode>(*graph, {40, 40, 80, 80});
  graph->SetCommandMode(cmInsertLink);
  Press(60, 60);
  held = Qt::LeftButton;
  Move(150, 150);
  Move(200, 160);
  held = Qt::NoButton;
  Release(200, 160);
  ASSERT_EQ(graph->Objects().Count(), 2);
  auto* l = static_cast<TGraphLink*>(graph->Objects()[1]);
  EXPECT_EQ(l->Source(), n);
  EXPECT_EQ(l->PointAt(l->PointCount() - 1), TPoint(200, 160));
  EXPECT_EQ(graph->CommandMode(), cmEdit);
}

TEST_F(Interaction, PanningMovesTheScrollPositions) {
  AddNode<TRectangularNode>(*graph, {0, 0, 40, 40});
  AddNode<TRectangularNode>(*graph, {1500, 1200, 1540, 1240});
  graph->SetCommandMode(cmPan);
  ASSERT_TRUE(graph->HorzScrollBar()->IsScrollBarVisible());
  QPoint from(300, 300), to(200, 220);
  QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, from);
  EXPECT_EQ(graph->ScreenCursor(), crHandGrab);
  ASSERT_TRUE(graph->VertScrollBar()->IsScrollBarVisible());
  QMouseEvent move(QEvent::MouseMove, to, vp()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(vp(), &move);
  EXPECT_EQ(graph->HorzScrollBar()->Position(), 100);
  QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, to);
  EXPECT_EQ(graph->VertScrollBar()->Position(), 80);
  EXPECT_EQ(graph->horizontalScrollBar()->value(), 100);
}

TEST_F(Interaction, TabCyclesAndKeepsTheFocus) {
  auto* a = AddNode<TRectangularNode>(*graph, {0, 0, 20, 20});
  auto* b = AddNode<TRectangularNode>(*graph, {40, 0, 60, 20});
  auto* c = AddNode<TRectangularNode>(*graph, {80, 0, 100, 20});
  b->SetOptions(goLinkable);
  graph->setFocus();
  Key(Qt::Key_Tab);
  EXPECT_TRUE(a->Selected());
  Key(Qt::Key_Tab);
  EXPECT_TRUE(c->Selected());  // b cannot be selected
  EXPECT_FALSE(a->Selected());
  Key(Qt::Key_Tab);
  EXPECT_TRUE(a->Selected());
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(c->Selected());
  EXPECT_TRUE(graph->hasFocus());
}

TEST_F(Interaction, ArrowsMoveByTheGridAndCtrlArrowsByOnePixel) {
  auto* n = AddNode<TRectangularNode>(*graph, {40, 40, 80, 80});
  n->SetSelected(true);
  graph->setFocus();
  Key(Qt::Key_Right);
  EXPECT_EQ(n->Left(), 48);
  Key(Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(n->Top(), 41);
  Key(Qt::Key_Right, Qt::ShiftModifier);  // resize by the bottom-right edge
  EXPECT_EQ(n->Left(), 48);
  EXPECT_EQ(n->Width(), 48);
  Key(Qt::Key_Left, Qt::AltModifier);
  EXPECT_EQ(n->Left(), 48);
  EXPECT_TRUE(graph->hasFocus());
}

TEST_F(Interaction, CtrlWheelZoomsAboutTheMouse) {
  AddNode<TRectangularNode>(*graph, {0, 0, 40, 40});
  AddNode<TRectangularNode>(*graph, {1000, 1000, 1040, 1040});
  QPoint mouse(123, 77);
  TPoint before = graph->ClientToGraph(mouse.x(), mouse.y());
  QWheelEvent wheel(mouse, vp()->mapToGlobal(mouse), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(vp(), &wheel);
  ASSERT_EQ(before, TPoint(123, 77));
  // One notch adds a fifth. At 120 % the mouse is over (102.5, 64.17),
  // rounded to (103, 64): 20 and 13 graph pixels short of where it was, so
  // the bars move on by 24 and 15.6 -> 16 client pixels.
  EXPECT_EQ(graph->Zoom(), 120);
  EXPECT_EQ(graph->HorzScrollBar()->Position(), 24);
  EXPECT_EQ(graph->VertScrollBar()->Position(), 16);
  TPoint after = graph->ClientToGraph(mouse.x(), mouse.y());
  // (123 + 24) / 1.2 = 122.5 and (77 + 16) / 1.2 = 77.5, both rounded up:
  // the rounding of the scroll position leaves half a pixel.
  EXPECT_EQ(after, TPoint(123, 78));
  // Plain wheel scrolls down, Shift+wheel right.
  int v = graph->VertScrollBar()->Position();
  QWheelEvent down(mouse, vp()->mapToGlobal(mouse), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
  QApplication::sendEvent(vp(), &down);
  // Qt's three lines a notch, of the bar's 8-pixel increment.
  ASSERT_EQ(QApplication::wheelScrollLines(), 3);
  EXPECT_EQ(graph->VertScrollBar()->Position(), v + 3 * 8);
}

TEST_F(Interaction, ClickEventOnlyWithoutSelection) {
  auto* n = AddNode<TRectangularNode>(*graph, {40, 40, 80, 80});
  int clicks = 0, objectClicks = 0;
  graph->OnClick = [&](TGraphEditor*) { ++clicks; };
  graph->OnObjectClick = [&](TGraphEditor*, TGraphObject* o) {
    EXPECT_EQ(o, n);
    ++objectClicks;
  };
  Press(200, 200);
  Release(200, 200);
  EXPECT_EQ(clicks, 1);
  Press(60, 60);
  Release(60, 60);
  EXPECT_EQ(objectClicks, 1);
  EXPECT_EQ(clicks, 1);
}

TEST_F(Interaction, ModeChangeDuringADragCancelsIt) {
  auto* n = AddNode<TRectangularNode>(*graph, {40, 40, 80, 80});
  n->SetSelected(true);
  Press(60, 60);
  held = Qt::LeftButton;
  Move(100, 100);
  EXPECT_EQ(n->BoundsRect(), TRect(80, 80, 120, 120));
  graph->SetCommandMode(cmPan);
  EXPECT_EQ(n->BoundsRect(), TRect(40, 40, 80, 80));
  held = Qt::NoButton;
  Release(100, 100);
}

TEST_F(Interaction, ALinkPointDragIsNotStoppedByTheRestOfTheLine) {
  TGraphLink* l = graph->InsertLink(TPoints{{20, 100}, {300, 100}});
  l->SetSelected(true);
  Drag(300, 100, 104, 104);
  EXPECT_EQ(l->PointAt(1), TPoint(104, 104));
  EXPECT_EQ(l->PointAt(0), TPoint(20, 100));
  // The dragged point itself still stops at the graph's edge.
  Press(104, 104);
  held = Qt::LeftButton;
  for (int x : {72, 32, 0, -40}) Move(x, 104);
  held = Qt::NoButton;
  Release(-40, 104);
  EXPECT_EQ(l->PointAt(1).X, 0);
}

TEST_F(Interaction, ObjectPopupMenuComesBeforeTheControlsOwn) {
  auto* n = AddNode<TRectangularNode>(*graph, {40, 40, 80, 80});
  QMenu objectMenu, ownMenu;
  graph->SetObjectPopupMenu(&objectMenu);
  graph->SetPopupMenu(&ownMenu);
  auto request = [&](QPoint at) {
    QContextMenuEvent e(QContextMenuEvent::Mouse, at, vp()->mapToGlobal(at));
    QApplication::sendEvent(vp(), &e);
  };
  request(At(200, 200));
  EXPECT_TRUE(ownMenu.isVisible());
  ownMenu.hide();
  n->SetSelected(true);
  bool asked = false;
  graph->OnObjectContextPopup = [&](TGraphEditor*, TGraphObject* o, const TPoint&, bool&) { asked = o == n; };
  request(At(60, 60));
  EXPECT_TRUE(asked);
  EXPECT_TRUE(objectMenu.isVisible());
  EXPECT_FALSE(ownMenu.isVisible());
  objectMenu.hide();
  graph->OnObjectContextPopup = [&](TGraphEditor*, TGraphObject*, const TPoint&, bool& handled) { handled = true; };
  request(At(60, 60));
  EXPECT_FALSE(objectMenu.isVisible());
}

TEST_F(Interaction, HintsComeFromTheObjectsHintOrItsTruncatedCaption) {
  auto* n = AddNode<TRectangularNode>(*graph, {40, 40, 80, 80});
  n->SetHint(QStringLiteral("门|A door to the hall"));
  auto hintAt = [&](int gx, int gy) {
    QHelpEvent e(QEvent::ToolTip, At(gx, gy), vp()->mapToGlobal(At(gx, gy)));
    QApplication::sendEvent(vp(), &e);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  EXPECT_EQ(hintAt(60, 60), QStringLiteral("门"));
  QToolTip::hideText();
  n->SetHint(QString());
  n->SetText(QStringLiteral("a caption far too long to be shown in this little node"));
  ASSERT_NE(n->TextToShow(), n->Text());
  EXPECT_EQ(hintAt(60, 60), n->Text());
  QToolTip::hideText();
  graph->OnInfoTip = [](TGraphEditor*, TGraphObject*, QString& tip) { tip = QStringLiteral("changed"); };
  EXPECT_EQ(hintAt(60, 60), QStringLiteral("changed"));
  QToolTip::hideText();
}

TEST_F(Interaction, HiddenSelectionShowsNoMarkersWithoutFocus) {
  graph->SetShowGrid(false);
  auto* n = AddNode<TRectangularNode>(*graph, {40, 40, 80, 80});
  n->SetSelected(true);
  QWidget other;
  other.show();
  other.setFocus();
  ProcessEvents();
  auto markerInk = [&] {
    QImage img = graph->RenderToImage();
    TPoint handle = graph->GraphToClient(80, 80);  // the bottom-right handle lies outside the node
    return qGray(img.pixel(handle.X + 2, handle.Y + 2)) < 128;
  };
  EXPECT_TRUE(markerInk());
  graph->SetHideSelection(true);
  ASSERT_FALSE(graph->hasFocus());
  EXPECT_FALSE(markerInk());
  QApplication::setActiveWindow(graph.get());
  graph->setFocus();
  ProcessEvents();
  ASSERT_TRUE(graph->hasFocus());
  EXPECT_TRUE(markerInk());
}

TEST_F(Interaction, DoubleClickGoesToTheSelectionAndStartsNoBand) {
  auto* n = AddNode<TRectangularNode>(*graph, {40, 40, 80, 80});
  int objectDbl = 0, ownDbl = 0;
  graph->OnObjectDblClick = [&](TGraphEditor*, TGraphObject*) { ++objectDbl; };
  graph->OnDblClick = [&](TGraphEditor*) { ++ownDbl; };
  QTest::mouseDClick(vp(), Qt::LeftButton, Qt::NoModifier, At(200, 200));
  EXPECT_EQ(ownDbl, 1);
  EXPECT_FALSE(graph->ValidMarkedArea());
  QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, At(200, 200));
  n->SetSelected(true);
  QTest::mouseDClick(vp(), Qt::LeftButton, Qt::NoModifier, At(60, 60));
  EXPECT_EQ(objectDbl, 1);
}
