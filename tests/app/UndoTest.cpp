// Undo and redo through the real window: every kind of action a user takes
// is one step, and undoing and redoing it gives back the document bytes of
// before and after it; Modified follows the saved state.
#include <QClipboard>

#include "CommandsTestSupport.h"
#include "GraphHistory.h"

namespace {

using A = TDialogAnswers;

struct UndoTest : CommandsTest {
  // The document as it would be saved, without touching Modified.
  QByteArray Document() {
    TMemoryStream data;
    Graph()->StoreObjects(data, Graph()->Objects());
    return QByteArray(reinterpret_cast<const char*>(data.Memory()), qsizetype(data.Size()));
  }
  QUndoStack& Stack() { return window->History->Stack(); }

  // Runs Action, then checks it made exactly one step named Name, that
  // undo gives back the document before it and redo the one after it.
  void Step(const char* Name, const std::function<void()>& Action) {
    SCOPED_TRACE(Name);
    const QByteArray before = Document();
    const int steps = Stack().count();
    Action();
    ProcessEvents();
    const QByteArray after = Document();
    ASSERT_NE(after, before) << "the action changed nothing";
    ASSERT_EQ(Stack().count(), steps + 1);
    EXPECT_EQ(Stack().undoText(), QString::fromUtf8(Name));
    Idle();
    ASSERT_TRUE(window->actEditUndo->isEnabled());
    EXPECT_EQ(window->actEditUndo->toolTip(), QStringLiteral("撤销 ") + QString::fromUtf8(Name));
    window->actEditUndo->trigger();
    EXPECT_EQ(Document(), before);
    Idle();
    ASSERT_TRUE(window->actEditRedo->isEnabled());
    EXPECT_EQ(window->actEditRedo->toolTip(), QStringLiteral("重做 ") + QString::fromUtf8(Name));
    window->actEditRedo->trigger();
    EXPECT_EQ(Document(), after);
  }

  // As a user would: the commands' states are up to date by then.
  void Undo() {
    Idle();
    window->actEditUndo->trigger();
  }
  void Redo() {
    Idle();
    window->actEditRedo->trigger();
  }

  void Select(const std::vector<TGraphObject*>& Objects) {
    Graph()->ClearSelection();
    for (TGraphObject* o : Objects) o->SetSelected(true);
  }
  TGraphObject* ByText(const QString& Text) {
    for (TGraphObject* o : Graph()->Objects())
      if (o->Text() == Text) return o;
    return nullptr;
  }
  template <class T>
  T* Last() {
    auto all = ObjectsOf<T>();
    return all.empty() ? nullptr : all.back();
  }
};

TEST_F(UndoTest, EveryActionIsOneStepThatUndoesAndRedoesExactly) {
  Step("放置", [&] {
    ClickPalette(1, 0);  // 厅
    PressPlan(ClientOf(40, 40));
    ReleasePlan(ClientOf(40, 40));
  });
  Step("放置", [&] {
    ClickPalette(2, 0);  // 门
    PressPlan(ClientOf(320, 48));
    ReleasePlan(ClientOf(320, 48));
  });
  TZyImageNode* door = Last<TZyImageNode>();
  ASSERT_NE(door, nullptr);
  const TRect d = door->BoundsRect();
  Step("画线", [&] {
    ClickPalette(0, 2);
    DragPlan(ClientOf(40, 200), ClientOf((d.Left + d.Right) / 2, (d.Top + d.Bottom) / 2));
  });
  ASSERT_NE(Last<TWallLine>(), nullptr);
  EXPECT_EQ(Last<TWallLine>()->Target(), Last<TZyImageNode>());  // hooked, also after redo
  Step("插入矩形", [&] {
    ClickPalette(0, 3);
    DragPlan(ClientOf(200, 240), ClientOf(280, 300));
  });
  Step("移动", [&] {
    Graph()->ClearSelection();
    DragPlan(ClientOf(90, 60), ClientOf(130, 84));  // the label
  });
  Step("移动", [&] {  // the door drags its wall along
    door = Last<TZyImageNode>();
    Select({door});
    const TRect r = door->BoundsRect();
    DragPlan(ClientOf((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2),
             ClientOf((r.Left + r.Right) / 2 + 32, (r.Top + r.Bottom) / 2 + 16));
  });
  Step("编辑线", [&] {
    TWallLine* wall = Last<TWallLine>();
    Select({wall});
    const TPoint start = wall->PointAt(0);
    DragPlan(ClientOf(start.X, start.Y), ClientOf(start.X, start.Y + 48));
  });
  Step("移动", [&] {
    Select({ByText(QStringLiteral("厅"))});
    Graph()->setFocus();
    QTest::keyClick(Graph(), Qt::Key_Right);
  });
  Step("调整大小", [&] {
    Select({Last<TRectangularNode>()});
    Graph()->setFocus();
    QTest::keyClick(Graph(), Qt::Key_Down, Qt::ShiftModifier);
  });
  Step("修改文字", [&] {
    TGraphObject* label = ByText(QStringLiteral("厅"));
    Graph()->ClearSelection();
    const TRect r = label->BoundsRect();
    QTest::mouseClick(Plan(), Qt::LeftButton, {}, ClientOf((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    ProcessEvents();
    ASSERT_TRUE(window->LabelEdit->isVisible());
    TypeText(window->LabelEdit, QStringLiteral("客厅"));
    QTest::keyClick(window->LabelEdit, Qt::Key_Return);
  });
  Step("旋转", [&] {
    Select({Last<TZyImageNode>()});
    window->actEditRotate->trigger();
  });
  Step("放到下层", [&] {
    Select({Last<TRectangularNode>()});
    window->actEditSendToBack->trigger();
  });
  Step("放到上层", [&] {
    Select({Graph()->Objects()[0]});
    window->actEditBringToFront->trigger();
  });
  Step("删除", [&] {  // the door takes its wall's hook along
    Select({Last<TZyImageNode>()});
    window->actEditDelete->trigger();
  });
  Step("剪切", [&] {
    Select({ByText(QStringLiteral("客厅"))});
    window->actEditCut->trigger();
  });
  Idle();
  Step("粘贴", [&] { window->actEditPaste->trigger(); });
  EXPECT_GE(Stack().count(), 16);
}

TEST_F(UndoTest, ModifiedFollowsTheSavedStateAndACancelledDragAddsNoStep) {
  const QString path = PathOf(QStringLiteral("plan.kvf"));
  ClickPalette(1, 1);
  PressPlan(ClientOf(40, 40));
  ReleasePlan(ClientOf(40, 40));
  RunWithFile(window->actFileSave, path);
  EXPECT_FALSE(Graph()->Modified());
  DragPlan(ClientOf(90, 60), ClientOf(170, 100));
  EXPECT_EQ(Graph()->Objects()[0]->BoundsRect().Left, 120);
  EXPECT_TRUE(Graph()->Modified());
  Undo();
  EXPECT_FALSE(Graph()->Modified());  // back at the saved state
  Redo();
  EXPECT_TRUE(Graph()->Modified());
  Undo();
  Undo();  // before the save
  EXPECT_TRUE(Graph()->Modified());
  EXPECT_EQ(Graph()->Objects().Count(), 0);
  Redo();
  EXPECT_FALSE(Graph()->Modified());

  // Escape during a drag: nothing to undo for it.
  const int steps = Stack().count();
  PressPlan(ClientOf(90, 60));
  MovePlan(ClientOf(150, 120), Qt::LeftButton);
  QTest::keyClick(Graph(), Qt::Key_Escape);
  ReleasePlan(ClientOf(150, 120));
  EXPECT_EQ(Stack().count(), steps);
  EXPECT_FALSE(Graph()->Modified());
}

TEST_F(UndoTest, NewAndOpenForgetTheHistory) {
  AddLabel(QStringLiteral("厅"));
  Select({Graph()->Objects()[0]});
  window->actEditRotate->trigger();
  ASSERT_TRUE(Stack().canUndo());
  {
    TDialogAnswers answers;
    answers.Then(A::Press(QMessageBox::No));
    window->actFileNew->trigger();
    ASSERT_EQ(answers.Seen.size(), 1u);
    EXPECT_EQ(answers.Seen[0].Text, QStringLiteral("设计已被修改, 是否保存?"));
  }
  EXPECT_EQ(Graph()->Objects().Count(), 0);
  EXPECT_FALSE(Stack().canUndo());
  EXPECT_FALSE(Graph()->Modified());
  EXPECT_EQ(Graph()->CommandMode(), cmEdit);
  EXPECT_EQ(Graph()->Zoom(), 100);
  EXPECT_EQ(window->windowTitle(), Caption(QStringLiteral("未命名")));
  Idle();
  EXPECT_FALSE(window->actEditUndo->isEnabled());
}

TEST_F(UndoTest, SaveAsMakesTheCopyTheDocument) {
  const QString first = PathOf(QStringLiteral("first.kvf"));
  AddLabel(QStringLiteral("厅"));
  RunWithFile(window->actFileSave, first);
  Select({Graph()->Objects()[0]});
  window->actEditRotate->trigger();
  ASSERT_TRUE(Graph()->Modified());
  {
    TDialogAnswers answers;
    answers.Then(A::ChooseFile(PathOf(QStringLiteral("copy"))));
    window->actFileSavePlanAs->trigger();
    ASSERT_EQ(answers.Seen.size(), 1u);
    EXPECT_EQ(answers.Seen[0].Title, QStringLiteral("保存户型图为"));
    EXPECT_EQ(answers.Seen[0].FileName, QStringLiteral("first.kvf"));
  }
  const QString copy = PathOf(QStringLiteral("copy.kvf"));
  EXPECT_EQ(window->windowTitle(), Caption(copy));
  EXPECT_FALSE(Graph()->Modified());
  EXPECT_NE(FileBytes(copy), FileBytes(first));  // the first file keeps its state
  // Saving again writes the copy without asking.
  Graph()->Objects()[0]->SetText(QStringLiteral("卧"));
  TDialogAnswers none;
  window->actFileSave->trigger();
  EXPECT_TRUE(none.Seen.empty());
  EXPECT_EQ(TextsIn(copy), QStringList{QStringLiteral("卧")});
  EXPECT_EQ(TextsIn(first), QStringList{QStringLiteral("厅")});
}

}  // namespace
