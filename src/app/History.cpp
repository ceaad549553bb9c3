// Undo and redo in the designer: every action that changes the plan is one
// step of the graph's history. Presses on the plan (placing, drawing,
// dragging) are bracketed from the press to the release that ends them,
// arrow keys key by key, and the commands by their execution.
#include <QKeyEvent>

#include "GraphHistory.h"
#include "GraphLink.h"
#include "MainForm.h"

namespace {

bool IsArrowKey(int Key) {
  return Key == Qt::Key_Left || Key == Qt::Key_Right || Key == Qt::Key_Up || Key == Qt::Key_Down;
}

}  // namespace

void THouseDesigner::CreateHistory() {
  History = new TGraphHistory(*GraphEditor, this);
  GraphEditor->OnObjectInsert = [this](TGraphEditor*, TGraphObject* GraphObject) {
    History->ObjectInserted(GraphObject);
  };
  GraphEditor->OnMouseUp = [this](TGraphEditor*, TMouseButton, TShiftState, int, int) {
    EndPressStep();
    if (!GraphEditor->DragSource()) fTypedLength.clear();
    RearmStickyTool();
    ScheduleStatus();
  };
  GraphEditor->installEventFilter(this);
  // Redo answers both keys users know it by.
  actEditRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
}

QString THouseDesigner::PressStepText(TGraphEditor* Sender, TGraphObject* Pressed, const TPoint& At) const {
  if (fPendingObject) return tr("放置");
  switch (Sender->CommandMode()) {
    case cmInsertLink: return tr("画线");
    case cmInsertNode: return tr("插入矩形");
    default: break;
  }
  if (Pressed && Pressed->IsLink()) return tr("编辑线");
  if (Pressed && !(Pressed->HitTest(At) & htBody)) return tr("调整大小");
  return tr("移动");
}

void THouseDesigner::BeginPressStep(TGraphEditor* Sender, TShiftState Shift, TGraphObject* Pressed, const TPoint& At) {
  if (fPressStep) return;  // a press during a drag (a bend) belongs to it
  // A press drags the selection only from a selected object or when it adds
  // to the selection; otherwise at most the object pressed changes, and a
  // click on a large plan stays cheap.
  std::vector<TGraphObject*> candidates;
  if ((Pressed && Pressed->Selected()) || (Shift & (ssShift | ssCtrl))) candidates = Selection();
  if (Pressed) candidates.push_back(Pressed);
  History->BeginStep(PressStepText(Sender, Pressed, At), candidates);
  fPressStep = true;
}

void THouseDesigner::EndPressStep() {
  // A drag may go on past a release (drawing, bending): it ends with it.
  if (!fPressStep || GraphEditor->DragSource()) return;
  fPressStep = false;
  History->EndStep();
}

bool THouseDesigner::GraphKeyFilter(QEvent* Event) {
  if (Event->type() != QEvent::KeyPress) return false;
  auto* press = static_cast<QKeyEvent*>(Event);
  if (!IsArrowKey(press->key()) || fPressStep || fKeyStep || GraphEditor->DragSource()) return false;
  if (GraphEditor->SelectedObjects().Count() == 0) return false;
  const bool resizing = press->modifiers() & Qt::ShiftModifier;
  History->BeginStep(resizing ? tr("调整大小") : tr("移动"), GraphEditor->SelectedObjects());
  fKeyStep = true;
  return false;  // the control moves the objects; its key event ends the step
}

void THouseDesigner::GraphEditorKeyHandled() {
  if (!fKeyStep) return;
  fKeyStep = false;
  History->EndStep();
}

void THouseDesigner::RecordStep(const QString& Text, const std::vector<TGraphObject*>& Candidates,
                                const std::function<void()>& Action) {
  History->BeginStep(Text, Candidates);
  try {
    Action();
  } catch (...) {
    // What the action did before it failed can be undone too.
    History->EndStep();
    throw;
  }
  History->EndStep();
}

std::vector<TGraphObject*> THouseDesigner::Selection() {
  return {GraphEditor->SelectedObjects().begin(), GraphEditor->SelectedObjects().end()};
}

void THouseDesigner::actEditUndoUpdate(QAction* Sender) {
  QUndoStack& stack = History->Stack();
  Sender->setEnabled(!IsReadonly && stack.canUndo() && !GraphEditor->DragSource());
  Sender->setToolTip(stack.canUndo() ? tr("撤销 %1").arg(stack.undoText()) : tr("撤销"));
}

void THouseDesigner::actEditUndoExecute(QAction*) { History->Stack().undo(); }

void THouseDesigner::actEditRedoUpdate(QAction* Sender) {
  QUndoStack& stack = History->Stack();
  Sender->setEnabled(!IsReadonly && stack.canRedo() && !GraphEditor->DragSource());
  Sender->setToolTip(stack.canRedo() ? tr("重做 %1").arg(stack.redoText()) : tr("重做"));
}

void THouseDesigner::actEditRedoExecute(QAction*) { History->Stack().redo(); }
