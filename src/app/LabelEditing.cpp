// Editing a room label in place: a click on a label opens a small editor
// over it, Enter stores the text, leaving the editor discards it.
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "ErrorReport.h"
#include "IntMath.h"
#include "MainForm.h"
#include "PlanObjects.h"
#include "UpdateBracket.h"

namespace {

constexpr char16_t EnterKey = 13;

}  // namespace

// The editor is centred on the label as it appears on screen, whatever the
// zoom and scroll position.
void THouseDesigner::GraphEditorObjectClick(TGraphEditor* Graph, TGraphObject* GraphObject) {
  if (!GraphObject || !GraphObject->InheritsFrom(&TZyTextBoxNode::ClassInfo)) return;
  // Only a click on this very label that left it where it was: not the end
  // of a drag, and not a click elsewhere while the label is still selected.
  if (!fPressedObject || GraphObject->ID() != fPressedObject->ID || GraphObject->BoundsRect() != fPressedObject->Bounds)
    return;
  const TRect& r = GraphObject->VisualRect();
  const TPoint topLeft = Graph->GraphToClient(r.Left, r.Top);
  const TPoint bottomRight = Graph->GraphToClient(r.Right, r.Bottom);
  const int32_t h = bottomRight.Y - topLeft.Y;
  const int32_t w = bottomRight.X - topLeft.X;
  LabelEdit->move(topLeft.X + Div(w, 2) - Div(LabelEdit->width(), 2),
                  topLeft.Y + Div(h, 2) - Div(LabelEdit->height(), 2));
  LabelEdit->show();
  LabelEdit->raise();
  LabelEdit->setText(GraphObject->Text());
  LabelEdit->setFocus(Qt::OtherFocusReason);
  // All but the last two characters are selected; too short a text is
  // selected to its end.
  const int length = int(LabelEdit->text().size()) - 2;
  LabelEdit->setSelection(0, length < 0 ? int(LabelEdit->text().size()) : length);
}

void THouseDesigner::LabelEditKeyPress(QLineEdit* Sender, QChar& Key) {
  if (Key != QChar(EnterKey)) return;
  TGraphObjectList& selected = GraphEditor->SelectedObjects();
  if (selected.Count() == 1) {
    TGraphObject* label = selected[0];
    RecordStep(tr("修改文字"), {label}, [&] {
      WithinUpdate(*GraphEditor, [&] { WithinUpdate(*label, [&] { label->SetText(Sender->text()); }); });
    });
  }
  Sender->hide();
}

void THouseDesigner::LabelEditExit(QLineEdit* Sender) {
  Sender->hide();
  Sender->clear();
}

// The editor's key presses and focus loss reach the handlers above. Focus
// that goes to another application leaves the editor open.
void THouseDesigner::RememberPressedObject(TGraphObject* Pressed) {
  fPressedObject.reset();
  if (Pressed) fPressedObject = TPressedObject{Pressed->ID(), Pressed->BoundsRect()};
}

bool THouseDesigner::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == GraphEditor) {
    if (Event->type() == QEvent::KeyPress && TypedLengthKey(static_cast<QKeyEvent*>(Event))) return true;
    return GraphKeyFilter(Event);
  }
  if (Watched != LabelEdit) return QMainWindow::eventFilter(Watched, Event);
  if (Event->type() == QEvent::KeyPress) {
    auto* press = static_cast<QKeyEvent*>(Event);
    if (press->key() == Qt::Key_Escape) {
      LabelEditExit(LabelEdit);
      GraphEditor->setFocus(Qt::OtherFocusReason);
      return true;
    }
    const bool enter = press->key() == Qt::Key_Return || press->key() == Qt::Key_Enter;
    if (!enter && press->text().size() != 1) return false;
    QChar key = enter ? QChar(EnterKey) : press->text().front();
    bool handled = false;
    Guarded(this, [&] {
      LabelEditKeyPress(LabelEdit, key);
      handled = key.isNull();
    });
    return handled || enter;
  }
  if (Event->type() == QEvent::FocusOut) {
    auto* focus = static_cast<QFocusEvent*>(Event);
    if (focus->reason() != Qt::ActiveWindowFocusReason) LabelEditExit(LabelEdit);
  }
  return false;
}
