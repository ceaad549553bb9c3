// One plan per size, built once and shared by every benchmark case of that
// size: the control showing a 1920 x 1080 view at the plan's centre, the
// plan's saved bytes, and the same scene in Qt's graphics scene and view,
// flat and grouped per flat (built on first use: the edit cases need
// neither).
#pragma once

#include <map>
#include <memory>

#include "GraphEditor.h"
#include "PlanGenerator.h"
#include "SceneMirror.h"
#include "Stream.h"

constexpr int kViewWidth = 1920;
constexpr int kViewHeight = 1080;

// Delivers what is pending (queued calls, then the repaints they asked for).
void SettleEvents();

class TPlanFixture {
 public:
  static TPlanFixture& Get(int Count);
  // Frees every plan (their widgets must go before the application does).
  static void ReleaseAll();

  TGraphEditor& Graph() { return *fGraph; }
  const TPlanSummary& Summary() const { return fSummary; }
  TMemoryStream& Saved() { return fSaved; }
  enum TSceneKind { skFlat, skGrouped };
  TSceneMirror& Mirror(TSceneKind Kind = skFlat);
  // The graph area both views show at zoom 100.
  const TRect& ViewArea() const { return fViewArea; }
  TPoint Center() const;

  // The label beside a dragged object, as the designer shows it (on from
  // the start).
  void SetLiveMeasure(bool On);
  // Puts the control back at zoom 100 over ViewArea with nothing selected,
  // and the Qt views over the same area.
  void ResetGraphView();
  // Zooms the control to the whole plan (as far as its zoom goes) and the
  // Qt views onto exactly the area the control then shows.
  void FitGraphView();

 private:
  explicit TPlanFixture(int Count);
  static std::map<int, std::unique_ptr<TPlanFixture>>& Plans();

  std::unique_ptr<TGraphEditor> fGraph;
  TPlanSummary fSummary;
  TMemoryStream fSaved;
  void ShowInMirrors();

  std::unique_ptr<TSceneMirror> fMirrors[2];
  TRect fViewArea;
};
