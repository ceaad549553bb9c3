#include "PlanFixture.h"

#include <QApplication>

#include "IntMath.h"
#include "PlanUnits.h"

void SettleEvents() {
  QApplication::processEvents();
  QApplication::processEvents();
}

std::map<int, std::unique_ptr<TPlanFixture>>& TPlanFixture::Plans() {
  static std::map<int, std::unique_ptr<TPlanFixture>> plans;
  return plans;
}

TPlanFixture& TPlanFixture::Get(int Count) {
  auto& plan = Plans()[Count];
  if (!plan) plan.reset(new TPlanFixture(Count));
  return *plan;
}

void TPlanFixture::ReleaseAll() { Plans().clear(); }

TPlanFixture::TPlanFixture(int Count) : fGraph(std::make_unique<TGraphEditor>()) {
  SetLiveMeasure(true);
  fGraph->resize(kViewWidth, kViewHeight);
  fGraph->show();
  fSummary = TPlanGenerator().Build(*fGraph, Count);
  SettleEvents();
  // Whatever bars the plan needs, the client area is 1920 x 1080.
  fGraph->resize(2 * kViewWidth - fGraph->ClientWidth(), 2 * kViewHeight - fGraph->ClientHeight());
  SettleEvents();
  fGraph->SaveToStream(fSaved);
  ResetGraphView();
}

TSceneMirror& TPlanFixture::Mirror(TSceneKind Kind) {
  std::unique_ptr<TSceneMirror>& mirror = fMirrors[Kind];
  if (mirror) return *mirror;
  mirror = std::make_unique<TSceneMirror>(*fGraph, Kind == skGrouped, TPlanGenerator::ObjectsPerFlat);
  mirror->View().resize(kViewWidth, kViewHeight);
  mirror->View().show();
  ShowInMirrors();
  SettleEvents();
  return *mirror;
}

TPoint TPlanFixture::Center() const {
  const TRect& a = fSummary.Area;
  return {Div(a.Left + a.Right, 2), Div(a.Top + a.Bottom, 2)};
}

void TPlanFixture::SetLiveMeasure(bool On) {
  if (!On) {
    fGraph->OnDragMeasure = nullptr;
    return;
  }
  fGraph->OnDragMeasure = [](TGraphEditor*, TGraphObject* GraphObject, THitCode HitCode) {
    return DragMeasureText(*GraphObject, HitCode);
  };
}

void TPlanFixture::ResetGraphView() {
  fGraph->ClearSelection();
  fGraph->SetZoom(100);
  TPoint c = Center();
  fGraph->HorzScrollBar()->SetPosition(c.X - kViewWidth / 2);
  fGraph->VertScrollBar()->SetPosition(c.Y - kViewHeight / 2);
  fViewArea = fGraph->VisibleBounds();
  ShowInMirrors();
}

void TPlanFixture::FitGraphView() {
  fGraph->ClearSelection();
  fGraph->ZoomGraph();
  ShowInMirrors();
}

void TPlanFixture::ShowInMirrors() {
  const TRect shown = fGraph->VisibleBounds();
  for (auto& mirror : fMirrors) {
    if (!mirror) continue;
    mirror->Scene().clearSelection();
    mirror->ShowArea(QRectF(shown.Left, shown.Top, shown.Width(), shown.Height()), fGraph->Zoom() / 100.0);
  }
}
