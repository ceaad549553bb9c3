// Drawing to measure: a palette tool kept in force by a double click, and
// a segment's length typed in metres while it is drawn or dragged.
#include <QKeyEvent>
#include <algorithm>
#include <cmath>

#include "ErrorReport.h"
#include "GraphLink.h"
#include "IntMath.h"
#include "MainForm.h"
#include "PlanUnits.h"

namespace {

// The character a key adds to a typed length, or none.
QChar LengthCharacter(const QKeyEvent& Press) {
  if (Press.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return {};
  const QString text = Press.text();
  if (text.size() != 1) return {};
  const QChar c = text.front();
  return (c >= u'0' && c <= u'9') || c == u'.' ? c : QChar();
}

// The end of a segment of Pixels from Anchor towards Moving (to the right
// when the two points meet).
TPoint PointAlong(const TPoint& Anchor, const TPoint& Moving, int32_t Pixels) {
  const double angle = Anchor == Moving ? 0.0 : std::atan2(double(Moving.Y) - Anchor.Y, double(Moving.X) - Anchor.X);
  auto clamp = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  return {clamp(Anchor.X + Round64(Pixels * std::cos(angle))), clamp(Anchor.Y + Round64(Pixels * std::sin(angle)))};
}

}  // namespace

void THouseDesigner::LeftButtonsButtonDoubleClicked(TToolPalette*, TPaletteItem Button) {
  // Panning and selecting stay in force anyway.
  if (Button.Category == 0 && Button.Index <= 1) return;
  fStickyTool = Button;
}

void THouseDesigner::RearmStickyTool() {
  if (!fStickyTool || fPendingObject || GraphEditor->DragSource()) return;
  if (GraphEditor->CommandMode() != cmEdit) return;  // the tool is still in force
  const TPaletteItem tool = *fStickyTool;
  bool failed = true;
  Guarded(this, [&] {
    LeftButtonsButtonClicked(LeftButtons, tool);
    failed = false;
  });
  if (failed) fStickyTool.reset();
  ShowToolInForce();
}

void THouseDesigner::EndStickyTool() {
  fStickyTool.reset();
  fTypedLength.clear();
  fPendingObject.reset();
  const TGraphCommandMode mode = GraphEditor->CommandMode();
  if (!GraphEditor->DragSource() && (mode == cmInsertLink || mode == cmInsertNode)) GraphEditor->SetCommandMode(cmEdit);
  GraphEditor->SetScreenCursor(GraphEditor->Cursor());
  ShowToolInForce();
  ScheduleStatus();
}

bool THouseDesigner::TypedLengthKey(QKeyEvent* Press) {
  if (Press->key() == Qt::Key_Escape && fStickyTool && !GraphEditor->DragSource()) {
    EndStickyTool();
    return true;
  }
  auto* link = dynamic_cast<TGraphLink*>(GraphEditor->DragSource());
  if (!link || link->ChangeMode() != lcmMovePoint) {
    fTypedLength.clear();
    return false;
  }
  const QChar typed = LengthCharacter(*Press);
  const int key = Press->key();
  if (!typed.isNull()) {
    fTypedLength += typed;
  } else if (key == Qt::Key_Backspace && !fTypedLength.isEmpty()) {
    fTypedLength.chop(1);
  } else if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !fTypedLength.isEmpty()) {
    const int32_t pixels = PixelsOfMetres(fTypedLength);
    fTypedLength.clear();
    TPoint anchor, moving;
    if (pixels > 0 && EditedSegment(*link, link->MovingPoint(), anchor, moving))
      link->DropMovingPoint(PointAlong(anchor, moving, pixels));
  } else {
    if (key == Qt::Key_Escape) fTypedLength.clear();
    return false;
  }
  ScheduleStatus();
  return true;
}
