// Editing a room label in place on the real window.
#include "AppTestSupport.h"

namespace {

struct LabelEditTest : DesignerTest {
  void SetUp() override { Start(); }

  // A label with Text, its top-left corner at graph (X, Y).
  TZyTextBoxNode* AddLabel(const QString& Text, int X, int Y) {
    TZyTextBoxNode* label = TZyTextBoxNode::Create2(Graph(), Text);
    label->SetBounds(X, Y, label->Width(), label->Height());
    Graph()->SetModified(false);
    return label;
  }
  // Clicks the middle of a label as the user sees it.
  void ClickLabel(TZyTextBoxNode* Label) {
    const TRect r = Label->BoundsRect();
    const QPoint at = ClientOf(Div(r.Left + r.Right, 2), Div(r.Top + r.Bottom, 2));
    QTest::mouseClick(Plan(), Qt::LeftButton, {}, at);
    ProcessEvents();
  }
  QLineEdit* Editor() const { return window->LabelEdit; }
  // The editor's centre and the label's visible centre, in client pixels.
  QPoint EditorCentre() const {
    return Editor()->pos() + QPoint(Div(Editor()->width(), 2), Div(Editor()->height(), 2));
  }
  QPoint LabelCentre(TZyTextBoxNode* Label) const {
    const TRect& r = Label->VisualRect();
    const QPoint a = ClientOf(r.Left, r.Top), b = ClientOf(r.Right, r.Bottom);
    return (a + b) / 2;
  }
};

TEST_F(LabelEditTest, EditorStartsHiddenWithItsDesignSize) {
  EXPECT_FALSE(Editor()->isVisible());
  EXPECT_EQ(Editor()->size(), QSize(49, 21));
  EXPECT_FALSE(Editor()->hasFrame());
  EXPECT_EQ(Editor()->parentWidget(), Plan());
}

TEST_F(LabelEditTest, OneCharacterLabelIsSelectedWholeAndEnterStoresTheText) {
  TZyTextBoxNode* label = AddLabel(QStringLiteral("卫"), 96, 80);
  ClickLabel(label);
  ASSERT_TRUE(Editor()->isVisible());
  EXPECT_TRUE(Editor()->hasFocus());
  EXPECT_EQ(Editor()->text(), QStringLiteral("卫"));
  EXPECT_EQ(Editor()->selectedText(), QStringLiteral("卫"));
  EXPECT_LE((EditorCentre() - LabelCentre(label)).manhattanLength(), 1);

  TypeText(Editor(), QStringLiteral("厨房"));
  EXPECT_EQ(Editor()->text(), QStringLiteral("厨房"));
  EXPECT_EQ(label->Text(), QStringLiteral("卫"));
  QTest::keyClick(Editor(), Qt::Key_Return);
  EXPECT_EQ(label->Text(), QStringLiteral("厨房"));
  EXPECT_TRUE(Graph()->Modified());
  EXPECT_FALSE(Editor()->isVisible());
}

TEST_F(LabelEditTest, SelectionLeavesTheLastTwoCharacters) {
  TZyTextBoxNode* two = AddLabel(QStringLiteral("主卧"), 40, 40);
  ClickLabel(two);
  EXPECT_FALSE(Editor()->hasSelectedText());
  EXPECT_EQ(Editor()->cursorPosition(), 0);

  TZyTextBoxNode* five = AddLabel(QStringLiteral("主卧室北侧"), 40, 200);
  ClickLabel(five);
  EXPECT_EQ(Editor()->text(), QStringLiteral("主卧室北侧"));
  EXPECT_EQ(Editor()->selectionStart(), 0);
  EXPECT_EQ(Editor()->selectedText(), QStringLiteral("主卧室"));
}

TEST_F(LabelEditTest, LeavingTheEditorDiscardsTheText) {
  TZyTextBoxNode* label = AddLabel(QStringLiteral("厅"), 96, 80);
  ClickLabel(label);
  ASSERT_TRUE(Editor()->hasFocus());
  TypeText(Editor(), QStringLiteral("餐"));
  Graph()->setFocus(Qt::MouseFocusReason);
  ProcessEvents();
  EXPECT_FALSE(Editor()->isVisible());
  EXPECT_TRUE(Editor()->text().isEmpty());
  EXPECT_EQ(label->Text(), QStringLiteral("厅"));
  EXPECT_FALSE(Graph()->Modified());
}

TEST_F(LabelEditTest, EditorIsCentredOnTheLabelAsSeenWhenZoomedAndScrolled) {
  TZyTextBoxNode* label = AddLabel(QStringLiteral("房"), 200, 200);
  AddLabel(QStringLiteral("阳"), 700, 600);  // makes the plan worth scrolling
  Graph()->SetZoom(150);
  ProcessEvents();
  const QPoint unscrolled = ClientOf(200, 200);
  Graph()->HorzScrollBar()->SetPosition(100);
  Graph()->VertScrollBar()->SetPosition(80);
  ProcessEvents();
  ASSERT_NE(ClientOf(200, 200), unscrolled);
  ClickLabel(label);
  ASSERT_TRUE(Editor()->isVisible());
  EXPECT_LE((EditorCentre() - LabelCentre(label)).manhattanLength(), 1);
  EXPECT_TRUE(Plan()->rect().contains(Editor()->geometry()));
}

TEST_F(LabelEditTest, ClickOnAnotherObjectOpensNoEditor) {
  TZyImageNode* bed = TZyImageNode::Create2(Graph(), AppDir + QStringLiteral("meta/3_0.bmp"));
  bed->SetBounds(40, 40, bed->Width(), bed->Height());
  QTest::mouseClick(Plan(), Qt::LeftButton, {}, ClientOf(60, 80));
  ProcessEvents();
  EXPECT_TRUE(bed->Selected());
  EXPECT_FALSE(Editor()->isVisible());
}

TEST_F(LabelEditTest, EnterWithoutASingleSelectionChangesNothing) {
  TZyTextBoxNode* label = AddLabel(QStringLiteral("储"), 96, 80);
  TZyTextBoxNode* other = AddLabel(QStringLiteral("阳"), 96, 200);
  ClickLabel(label);
  ASSERT_TRUE(Editor()->isVisible());
  other->SetSelected(true);  // two selected now
  TypeText(Editor(), QStringLiteral("x"));
  QTest::keyClick(Editor(), Qt::Key_Enter);
  EXPECT_FALSE(Editor()->isVisible());
  EXPECT_EQ(label->Text(), QStringLiteral("储"));
  EXPECT_EQ(other->Text(), QStringLiteral("阳"));
}

TEST_F(LabelEditTest, AClickElsewhereClosesTheEditorForGoodAndEscapeStoresNothing) {
  TZyTextBoxNode* label = AddLabel(QStringLiteral("厅"), 96, 80);
  ClickLabel(label);
  ASSERT_TRUE(Editor()->isVisible());
  TypeText(Editor(), QStringLiteral("餐"));
  // On the empty plan: the label is still selected when the click arrives.
  QTest::mouseClick(Plan(), Qt::LeftButton, {}, ClientOf(400, 300));
  ProcessEvents();
  EXPECT_FALSE(Editor()->isVisible());
  EXPECT_EQ(label->Text(), QStringLiteral("厅"));

  ClickLabel(label);
  ASSERT_TRUE(Editor()->isVisible());
  TypeText(Editor(), QStringLiteral("餐"));
  QTest::keyClick(Editor(), Qt::Key_Escape);
  ProcessEvents();
  EXPECT_FALSE(Editor()->isVisible());
  EXPECT_EQ(label->Text(), QStringLiteral("厅"));
  EXPECT_FALSE(Graph()->Modified());
}

TEST_F(LabelEditTest, DraggingALabelOpensNoEditor) {
  TZyTextBoxNode* label = AddLabel(QStringLiteral("卧"), 96, 80);
  ClickLabel(label);  // selected, editor open
  ASSERT_TRUE(Editor()->isVisible());
  QTest::keyClick(Editor(), Qt::Key_Escape);
  const QPoint from = ClientOf(146, 100), to = ClientOf(226, 140);
  DragPlan(from, to);
  ProcessEvents();
  EXPECT_EQ(label->BoundsRect(), TRect(176, 120, 276, 160));
  EXPECT_FALSE(Editor()->isVisible());
}

}  // namespace
