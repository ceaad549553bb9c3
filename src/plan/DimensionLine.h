// A dimension line: a straight link with an arrow head at both ends whose
// caption is its own length in metres. The caption is never stored; it is
// worked out from the points whenever they change, loading included.
#pragma once

#include "GraphLink.h"

class TDimensionLine : public TGraphLink {
  GRAPH_OBJECT_CLASS(TDimensionLine)

 public:
  // The link's properties with Text never stored.
  const TPropList& Properties() const override;
  bool BuildTextRegion(QRegion& Region) override;

 protected:
  explicit TDimensionLine(TGraphEditor* AOwner);
  void AfterConstruction() override;
  void FinishLoading() override;
};
