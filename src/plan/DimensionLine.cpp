#include "DimensionLine.h"

#include <cstring>

#include "GraphEditor.h"
#include "PlanUnits.h"

DEFINE_GRAPH_OBJECT_CLASS(TDimensionLine, TGraphLink);

TDimensionLine::TDimensionLine(TGraphEditor* AOwner) : TGraphLink(AOwner) {
  SetBeginStyle(lsArrow);
  SetEndStyle(lsArrow);
  SetOptions(goSelectable | goShowCaption);
  // Never empty, so that every change of the points lays the caption out again.
  fText = LengthText(0);
}

const TPropList& TDimensionLine::Properties() const {
  static const TPropList list = [this] {
    TPropList props = TGraphLink::Properties();
    for (TPropInfo& prop : props)
      if (std::strcmp(prop.Name, "Text") == 0) prop.Stored = [](const TPersistent&) { return false; };
    return props;
  }();
  return list;
}

bool TDimensionLine::BuildTextRegion(QRegion& Region) {
  fText = LengthText(PolylineLength(fPoints));
  return TGraphLink::BuildTextRegion(Region);
}

void TDimensionLine::AfterConstruction() {
  TGraphLink::AfterConstruction();
  PlaceText(true, 0, 0);
}

void TDimensionLine::FinishLoading() {
  TGraphLink::FinishLoading();
  // A stream may carry a text of its own: the points decide.
  PlaceText(true, 0, 0);
}
