// The edit commands driven through the real window: their enable rules,
// the clipboard round trip, deleting, stacking, the locks and the turn.
#include <QClipboard>
#include <QMimeData>
#include <QSvgRenderer>
#include <set>

#include "CommandsTestSupport.h"
#include "Picture.h"

namespace {

using EditCommandsTest = CommandsTest;

std::vector<QString> TextsInOrder(TGraphEditor& Graph) {
  std::vector<QString> texts;
  for (TGraphObject* o : Graph.Objects()) texts.push_back(o->Text());
  return texts;
}

void SelectInOrder(TGraphEditor& Graph, const std::vector<TGraphObject*>& Objects) {
  Graph.ClearSelection();
  for (TGraphObject* o : Objects) o->SetSelected(true);
}

TEST_F(EditCommandsTest, OnAnEmptyPlanOnlyTheDocumentCommandsRotateAndTheLocksAreOn) {
  Idle();
  for (QAction* a :
       {window->actFileNew, window->actFileOpen, window->actFileSave, window->actFileSavePlanAs, window->actFilePrint,
        window->actFileExit, window->actEditRotate, window->actEditLockNodes, window->actEditLockLinks})
    EXPECT_TRUE(a->isEnabled()) << qPrintable(a->objectName());
  for (QAction* a : {window->actEditUndo, window->actEditRedo, window->actFileSaveAs, window->actEditCut,
                     window->actEditCopy, window->actEditPaste, window->actEditDelete, window->actEditSelectAll,
                     window->actEditBringToFront, window->actEditSendToBack})
    EXPECT_FALSE(a->isEnabled()) << qPrintable(a->objectName());
}

TEST_F(EditCommandsTest, SelectAllIsOffWhenEverythingIsSelected) {
  TGraphObject* a = AddLabel(QStringLiteral("厅"));
  TGraphObject* b = AddLabel(QStringLiteral("卧"), 300);
  a->SetSelected(true);
  Idle();
  ASSERT_TRUE(window->actEditSelectAll->isEnabled());
  QTest::keyClick(window.get(), Qt::Key_A, Qt::ControlModifier);  // its only way in
  EXPECT_TRUE(a->Selected());
  EXPECT_TRUE(b->Selected());
  Idle();
  EXPECT_FALSE(window->actEditSelectAll->isEnabled());
}

TEST_F(EditCommandsTest, DeleteGoesInSelectionOrderAndStopsAtAnObjectThatRefuses) {
  TGraphObject* a = AddLabel(QStringLiteral("厅"), 0);
  TGraphObject* b = AddLabel(QStringLiteral("卧"), 150);
  TGraphObject* c = AddLabel(QStringLiteral("卫"), 300);
  Graph()->OnCanRemoveObject = [b](TGraphEditor*, TGraphObject* o, bool& CanRemove) { CanRemove = o != b; };
  SelectInOrder(*Graph(), {c, b, a});
  Idle();
  window->actEditDelete->trigger();
  EXPECT_EQ(TextsInOrder(*Graph()), (std::vector<QString>{QStringLiteral("厅"), QStringLiteral("卧")}));
  Graph()->OnCanRemoveObject = nullptr;
}

TEST_F(EditCommandsTest, CutThenPastePutsTheObjectsBackSelectedAsNewObjects) {
  TGraphNode* label = AddLabel(QStringLiteral("厅"), 120, 80);
  AddLabel(QStringLiteral("卧"), 300, 80);
  TGraphLink* wall = Graph()->InsertLink(TPoints{{10, 300}, {400, 300}}, &TWallLine::ClassInfo);
  const TRect labelBounds = label->BoundsRect();
  SelectInOrder(*Graph(), {label, wall});
  Idle();
  EXPECT_FALSE(window->actEditPaste->isEnabled());
  window->actEditCut->trigger();
  ASSERT_EQ(Graph()->Objects().Count(), 1);
  EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(QString::fromLatin1(GraphClipboardFormat)));

  Graph()->SetModified(false);
  Idle();
  ASSERT_TRUE(window->actEditPaste->isEnabled());
  window->actEditPaste->trigger();
  ASSERT_EQ(Graph()->Objects().Count(), 3);
  auto* pastedLabel = static_cast<TGraphNode*>(Graph()->Objects()[1]);
  auto* pastedWall = static_cast<TGraphLink*>(Graph()->Objects()[2]);
  EXPECT_STREQ(pastedLabel->ClassName(), "TZyTextBoxNode");
  EXPECT_EQ(pastedLabel->Text(), QStringLiteral("厅"));
  EXPECT_EQ(pastedLabel->BoundsRect(), labelBounds);
  EXPECT_EQ(pastedWall->Polyline()[0], TPoint(10, 300));
  EXPECT_EQ(pastedWall->Polyline()[1], TPoint(400, 300));
  EXPECT_EQ(Graph()->SelectedObjects().Count(), 2);
  EXPECT_TRUE(pastedLabel->Selected());
  EXPECT_TRUE(pastedWall->Selected());
  EXPECT_FALSE(Graph()->Objects()[0]->Selected());
  EXPECT_TRUE(Graph()->Modified());

  // Pasting again gives objects of their own.
  window->actEditPaste->trigger();
  ASSERT_EQ(Graph()->Objects().Count(), 5);
  std::set<uint32_t> ids;
  for (TGraphObject* o : Graph()->Objects()) ids.insert(o->ID());
  EXPECT_EQ(ids.size(), 5u);
  EXPECT_EQ(Graph()->SelectedObjects().Count(), 2);
  EXPECT_TRUE(Graph()->Objects()[3]->Selected());
}

TEST_F(EditCommandsTest, PasteIsOnOnlyWithGraphDataOnTheClipboard) {
  TGraphObject* label = AddLabel(QStringLiteral("厅"));
  QApplication::clipboard()->setText(QStringLiteral("厅"));
  Idle();
  EXPECT_FALSE(window->actEditPaste->isEnabled());
  label->SetSelected(true);
  Idle();
  window->actEditCopy->trigger();
  EXPECT_EQ(Graph()->Objects().Count(), 1);  // copying leaves the plan
  Idle();
  EXPECT_TRUE(window->actEditPaste->isEnabled());
}

TEST_F(EditCommandsTest, StackingMovesEachSelectedObjectInSelectionOrder) {
  TGraphObject* a = AddLabel(QStringLiteral("A"), 0);
  TGraphObject* b = AddLabel(QStringLiteral("B"), 20);
  TGraphObject* c = AddLabel(QStringLiteral("C"), 40);
  TGraphObject* d = AddLabel(QStringLiteral("D"), 60);
  SelectInOrder(*Graph(), {d, b});
  Idle();
  window->actEditBringToFront->trigger();  // the last selected ends on top
  EXPECT_EQ(TextsInOrder(*Graph()),
            (std::vector<QString>{QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("B")}));
  SelectInOrder(*Graph(), {c, a});
  Idle();
  window->actEditSendToBack->trigger();  // the last selected ends at the back
  EXPECT_EQ(TextsInOrder(*Graph()),
            (std::vector<QString>{QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("B")}));
  SelectInOrder(*Graph(), {a, c});
  Idle();
  window->actEditSendToBack->trigger();
  EXPECT_EQ(TextsInOrder(*Graph()),
            (std::vector<QString>{QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("D"), QStringLiteral("B")}));
}

TEST_F(EditCommandsTest, LockedObjectsIgnoreArrowKeysAndThePlanStaysUnmodified) {
  TZyTextBoxNode* label = AddLabel(QStringLiteral("厅"), 96, 80);
  TGraphLink* wall = Graph()->InsertLink(TPoints{{20, 300}, {400, 300}}, &TWallLine::ClassInfo);
  label->SetSelected(true);
  wall->SetSelected(true);
  Graph()->SetModified(false);
  window->actEditLockNodes->trigger();
  window->actEditLockLinks->trigger();
  Graph()->setFocus();
  for (auto mods :
       {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier), Qt::KeyboardModifiers(Qt::ControlModifier)})
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) QTest::keyClick(Graph(), key, mods);
  EXPECT_EQ(label->BoundsRect(), TRect(96, 80, 196, 120));
  EXPECT_EQ(wall->PointAt(0), TPoint(20, 300));
  EXPECT_FALSE(Graph()->Modified());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("户型图设计器"));
}

TEST_F(EditCommandsTest, LocksToggleAndShowWhetherTheyAreOn) {
  window->actEditLockNodes->trigger();
  EXPECT_TRUE(Graph()->LockNodes());
  EXPECT_TRUE(window->actEditLockNodes->isChecked());
  Idle();
  EXPECT_TRUE(window->actEditLockNodes->isChecked());
  window->actEditLockNodes->trigger();
  EXPECT_FALSE(Graph()->LockNodes());
  EXPECT_FALSE(window->actEditLockNodes->isChecked());

  window->actEditLockLinks->trigger();
  EXPECT_TRUE(Graph()->LockLinks());
  EXPECT_FALSE(Graph()->LockNodes());
  Graph()->SetLockLinks(false);  // changed elsewhere: shown at the next idle
  Idle();
  EXPECT_FALSE(window->actEditLockLinks->isChecked());
}

TEST_F(EditCommandsTest, RotateTurnsTheSelectedLabelsAndPicturesAndSkipsWalls) {
  TGraphNode* label = AddLabel(QStringLiteral("厅"), 100, 100);
  TGraphNode* other = AddLabel(QStringLiteral("卧"), 300, 100);
  TGraphLink* wall = Graph()->InsertLink(TPoints{{10, 300}, {400, 300}}, &TWallLine::ClassInfo);
  SelectInOrder(*Graph(), {wall, label});
  window->actEditRotate->trigger();
  EXPECT_EQ(label->BoundsRect(), TRect(130, 70, 170, 170));
  EXPECT_EQ(other->BoundsRect(), TRect(300, 100, 400, 140));
  EXPECT_EQ(wall->Polyline()[1], TPoint(400, 300));
  window->actEditRotate->trigger();
  EXPECT_EQ(label->BoundsRect(), TRect(100, 100, 200, 140));
}

}  // namespace

// Other programs paste a copied selection as a picture: PNG (the image
// form) and SVG, both at the size the selection renders at.
TEST_F(EditCommandsTest, CopyOffersTheSelectionAsPngAndSvgPictures) {
  AddLabel(QStringLiteral("A"), 0);
  TGraphObject* b = AddLabel(QStringLiteral("B"), 200);
  TGraphObject* c = AddLabel(QStringLiteral("C"), 400);
  SelectInOrder(*Graph(), {b, c});
  Idle();
  window->actEditCopy->trigger();

  const QMimeData* mime = QApplication::clipboard()->mimeData();
  ASSERT_NE(mime, nullptr);
  const QSize expected = Graph()->GetAsBitmap(Graph()->SelectedObjects())->ToImage().size();
  ASSERT_TRUE(mime->hasImage());
  const QImage image = qvariant_cast<QImage>(mime->imageData());
  EXPECT_EQ(image.size(), expected);
  // The plan is wider than the two labels copied.
  EXPECT_LT(expected.width(), Graph()->GetAsBitmap(Graph()->Objects())->ToImage().width());

  ASSERT_TRUE(mime->hasFormat(QStringLiteral("image/svg+xml")));
  QSvgRenderer svg(mime->data(QStringLiteral("image/svg+xml")));
  ASSERT_TRUE(svg.isValid());
  EXPECT_EQ(svg.viewBox(), QRect(QPoint(0, 0), expected));
  // The plan's own form travels beside them, so pasting here still works.
  Idle();
  EXPECT_TRUE(window->actEditPaste->isEnabled());
}
