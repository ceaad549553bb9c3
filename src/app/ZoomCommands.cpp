// The zoom commands and their buttons: in and out along a ladder of zooms
// about the view's centre, actual size, and the whole plan fitted.
#include <QHBoxLayout>
#include <QToolButton>
#include <algorithm>
#include <array>

#include "GraphScrollBar.h"
#include "MainForm.h"

namespace {

// The zooms 放大 and 缩小 step through; a zoom between two steps goes to
// the next one in the direction asked.
constexpr std::array<int, 12> ZoomLadder = {10, 25, 33, 50, 67, 75, 100, 150, 200, 300, 400, 800};

constexpr QRect ZoomButtonsBounds(150, 4, 4 * 23, 22);

int NextZoomUp(int Zoom) {
  for (int z : ZoomLadder)
    if (z > Zoom) return z;
  return ZoomLadder.back();
}

int NextZoomDown(int Zoom) {
  for (auto z = ZoomLadder.rbegin(); z != ZoomLadder.rend(); ++z)
    if (*z < Zoom) return *z;
  return ZoomLadder.front();
}

}  // namespace

void THouseDesigner::actViewZoomInExecute(QAction*) {
  GraphEditor->ChangeZoom(NextZoomUp(GraphEditor->Zoom()), zoCenter);
}

void THouseDesigner::actViewZoomOutExecute(QAction*) {
  GraphEditor->ChangeZoom(NextZoomDown(GraphEditor->Zoom()), zoCenter);
}

void THouseDesigner::actViewActualSizeExecute(QAction*) { GraphEditor->ChangeZoom(100, zoCenter); }

// The scroll range reaches past the plan's right and bottom by the same
// room a fitted plan gets, so that a fit can centre the plan in it.
void THouseDesigner::KeepRoomAroundPlan() {
  GraphEditor->HorzScrollBar()->SetMargin(FitMargin);
  GraphEditor->VertScrollBar()->SetMargin(FitMargin);
  GraphEditor->RecalcScrollRanges();
}

void THouseDesigner::actViewWholeGraphExecute(QAction*) {
  if (GraphEditor->Objects().Count() == 0) return;
  TRect b = GraphEditor->GraphBounds();
  GraphEditor->ZoomRect({b.Left - FitMargin, b.Top - FitMargin, b.Right + FitMargin, b.Bottom + FitMargin});
}

// The buttons sit right of the pen controls: the toolbar has no room left
// of the help link at the window's design width.
void THouseDesigner::CreateZoomButtons() {
  ZoomButtons = new QWidget(TopPanel);
  ZoomButtons->setObjectName(QStringLiteral("ZoomButtons"));
  ZoomButtons->setGeometry(ZoomButtonsBounds);
  auto* row = new QHBoxLayout(ZoomButtons);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  for (QAction* action : {actViewZoomIn, actViewZoomOut, actViewActualSize, actViewWholeGraph}) {
    auto* button = new QToolButton(ZoomButtons);
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(23, 22);
    row->addWidget(button);
  }
}
