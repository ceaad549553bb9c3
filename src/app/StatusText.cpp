// The status bar's panel: where the cursor is on the plan in metres, the
// zoom, and what is selected (or, during a drag, the live measure).
#include <QLabel>
#include <QTimer>
#include <algorithm>

#include "DimensionLine.h"
#include "GraphLink.h"
#include "GraphNode.h"
#include "MainForm.h"
#include "PlanObjects.h"
#include "PlanUnits.h"

namespace {

const QString PartSeparator = QStringLiteral("   |   ");

QString PositionText(const TPoint& At) {
  return QStringLiteral("X %1 m  Y %2 m").arg(MetresNumber(At.X), MetresNumber(At.Y));
}

QString OneObjectText(TGraphObject* Object) {
  if (auto* link = dynamic_cast<TGraphLink*>(Object)) {
    QString length = LengthText(PolylineLength(link->Polyline()));
    if (Object->InheritsFrom(&TDimensionLine::ClassInfo)) return THouseDesigner::tr("尺寸线 ") + length;
    return THouseDesigner::tr("墙长 %1，%2 段").arg(length).arg(std::max(0, link->PointCount() - 1));
  }
  TRect b = Object->BoundsRect();
  return SizeText(b.Width(), b.Height());
}

QString SelectionText(TGraphEditor& Graph) {
  TGraphObjectList& selected = Graph.SelectedObjects();
  if (selected.Count() == 0) return {};
  if (selected.Count() == 1) return OneObjectText(selected[0]);
  TRect all = selected[0]->BoundsRect();
  for (TGraphObject* o : selected) {
    TRect b = o->BoundsRect();
    all = {std::min(all.Left, b.Left), std::min(all.Top, b.Top), std::max(all.Right, b.Right),
           std::max(all.Bottom, b.Bottom)};
  }
  return THouseDesigner::tr("%1 个对象，%2").arg(selected.Count()).arg(SizeText(all.Width(), all.Height()));
}

}  // namespace

QString THouseDesigner::StatusText() {
  QStringList parts;
  if (fCursorAt) parts << PositionText(*fCursorAt);
  parts << tr("缩放 %1%").arg(GraphEditor->Zoom());
  QString detail = GraphEditor->DragMeasure();
  if (!fTypedLength.isEmpty()) detail += tr("  输入 %1 m").arg(fTypedLength);
  if (detail.isEmpty()) detail = SelectionText(*GraphEditor);
  if (!detail.isEmpty()) parts << detail;
  return parts.join(PartSeparator);
}

void THouseDesigner::ScheduleStatus() {
  // Many objects may change in one go: one refresh covers them all.
  if (!fStatusTimer->isActive()) fStatusTimer->start();
}

void THouseDesigner::ShowStatus() {
  QString text = StatusText();
  if (StatusPanel->text() != text) StatusPanel->setText(text);
}
