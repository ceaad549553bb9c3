// The edit commands: clipboard, delete, select all, stacking order, the two
// locks and the quarter turn, with their enable rules. Commands that change
// the plan are off while it is open read-only (the quarter turn excepted).
#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "MainForm.h"
#include "PlanObjects.h"

namespace {

bool ClipboardHoldsGraph() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data && data->hasFormat(QString::fromLatin1(GraphClipboardFormat));
}

}  // namespace

bool THouseDesigner::HasSelection() { return GraphEditor->SelectedObjects().Count() > 0; }

bool THouseDesigner::ForEachCallback(TGraphObject* GraphObject, void* UserData) {
  switch (*static_cast<const TForEachObjectAction*>(UserData)) {
    case feoDelete: return GraphObject->Delete();
    case feoSelect: GraphObject->SetSelected(true); return true;
    case feoSendToBack: GraphObject->SendToBack(); return true;
    case feoBringToFront: GraphObject->BringToFront(); return true;
  }
  return true;
}

void THouseDesigner::ForEach(TForEachObjectAction Action, bool Selection) {
  GraphEditor->ForEachObject([this](TGraphObject* o, void* Data) { return ForEachCallback(o, Data); }, &Action,
                             Selection);
}

void THouseDesigner::actEditCutUpdate(QAction* Sender) { Sender->setEnabled(!IsReadonly && HasSelection()); }

void THouseDesigner::actEditCutExecute(QAction*) {
  // Each through its command, which asks its own enable rule again.
  RecordStep(tr("剪切"), Selection(), [this] {
    ActionList->Execute(actEditCopy);
    ActionList->Execute(actEditDelete);
  });
}

void THouseDesigner::actEditCopyUpdate(QAction* Sender) { Sender->setEnabled(HasSelection()); }

void THouseDesigner::actEditCopyExecute(QAction*) { GraphEditor->CopyToClipboard(true); }

void THouseDesigner::actEditPasteUpdate(QAction* Sender) { Sender->setEnabled(!IsReadonly && ClipboardHoldsGraph()); }

void THouseDesigner::actEditPasteExecute(QAction*) {
  RecordStep(tr("粘贴"), {}, [this] { GraphEditor->PasteFromClipboard(); });
}

void THouseDesigner::actEditDeleteUpdate(QAction* Sender) { Sender->setEnabled(!IsReadonly && HasSelection()); }

// In selection order, up to the first object that refuses.
void THouseDesigner::actEditDeleteExecute(QAction*) {
  RecordStep(tr("删除"), Selection(), [this] { ForEach(feoDelete, true); });
}

void THouseDesigner::actEditSelectAllUpdate(QAction* Sender) {
  Sender->setEnabled(!IsReadonly && GraphEditor->SelectedObjects().Count() < GraphEditor->Objects().Count());
}

void THouseDesigner::actEditSelectAllExecute(QAction*) { ForEach(feoSelect, false); }

void THouseDesigner::actEditBringToFrontUpdate(QAction* Sender) { Sender->setEnabled(!IsReadonly && HasSelection()); }

// The last selected ends on top.
void THouseDesigner::actEditBringToFrontExecute(QAction*) {
  RecordStep(tr("放到上层"), Selection(), [this] { ForEach(feoBringToFront, true); });
}

void THouseDesigner::actEditSendToBackUpdate(QAction* Sender) { Sender->setEnabled(!IsReadonly && HasSelection()); }

// The last selected ends at the very back.
void THouseDesigner::actEditSendToBackExecute(QAction*) {
  RecordStep(tr("放到下层"), Selection(), [this] { ForEach(feoSendToBack, true); });
}

void THouseDesigner::actEditLockNodesUpdate(QAction* Sender) {
  Sender->setEnabled(!IsReadonly);
  Sender->setChecked(GraphEditor->LockNodes());
}

void THouseDesigner::actEditLockNodesExecute(QAction* Sender) {
  GraphEditor->SetLockNodes(!GraphEditor->LockNodes());
  Sender->setChecked(GraphEditor->LockNodes());
}

void THouseDesigner::actEditLockLinksUpdate(QAction* Sender) {
  Sender->setEnabled(!IsReadonly);
  Sender->setChecked(GraphEditor->LockLinks());
}

void THouseDesigner::actEditLockLinksExecute(QAction* Sender) {
  GraphEditor->SetLockLinks(!GraphEditor->LockLinks());
  Sender->setChecked(GraphEditor->LockLinks());
}

// Each selected rectangular node in selection order; other objects are
// skipped.
void THouseDesigner::actEditRotateExecute(QAction*) {
  TGraphObjectList& selected = GraphEditor->SelectedObjects();
  std::vector<TGraphObject*> objects(selected.begin(), selected.end());
  RecordStep(tr("旋转"), objects, [&] {
    for (TGraphObject* o : objects) RotateNodeClockwise(o);
  });
}
