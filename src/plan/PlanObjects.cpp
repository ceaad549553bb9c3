#include "PlanObjects.h"

#include <cstdlib>
#include <cstring>

#include "Canvas.h"
#include "DimensionLine.h"
#include "GraphEditor.h"
#include "IntMath.h"
#include "Picture.h"

int CurrentLineWidth = 4;
TColor CurrentLineColor = clBlack;

DEFINE_GRAPH_OBJECT_CLASS(TWallLine, TGraphLink);
DEFINE_GRAPH_OBJECT_CLASS(TZyImageNode, TRectangularNode);
DEFINE_GRAPH_OBJECT_CLASS(TZyTextBoxNode, TRectangularNode);

TWallLine::TWallLine(TGraphEditor* AOwner) : TGraphLink(AOwner) {
  SetEndStyle(lsNone);
  SetOptions(goSelectable);
}

void TWallLine::AfterConstruction() {
  // A loaded or pasted wall has read its pen already: what the stream left
  // out is the pen's own default, not whatever the pen controls show now.
  if (!Has(osLoading | osConverting)) {
    fPen.SetWidth(CurrentLineWidth);
    fPen.SetColor(CurrentLineColor);
  }
  TGraphLink::AfterConstruction();
}

TZyImageNode* TZyImageNode::Create2(TGraphEditor* AOwner, const QString& BackgroudImage) {
  TGraphObjectPtr obj(ClassInfo.New(AOwner));
  auto* node = static_cast<TZyImageNode*>(obj.get());
  node->Background()->LoadFromFile(BackgroudImage);
  node->SetBoundsRect({0, 0, node->Background()->Width(), node->Background()->Height()});
  node->AfterConstruction();
  obj.release();
  return node;
}

TZyImageNode* TZyImageNode::Create2(TGraphEditor* AOwner, const TPicture& Picture) {
  TGraphObjectPtr obj(ClassInfo.New(AOwner));
  auto* node = static_cast<TZyImageNode*>(obj.get());
  node->Background()->Assign(&Picture);
  node->SetBoundsRect({0, 0, node->Background()->Width(), node->Background()->Height()});
  node->AfterConstruction();
  obj.release();
  return node;
}

void TZyImageNode::DrawBody(TCanvas& Canvas) const {
  if (fNodeOptions & gnoShowBackground) DrawPicture(Canvas);
}

void TZyImageNode::DrawBorder(TCanvas&) const {}

TZyTextBoxNode* TZyTextBoxNode::Create2(TGraphEditor* AOwner, const QString& Append) {
  TGraphObjectPtr obj(ClassInfo.New(AOwner));
  auto* node = static_cast<TZyTextBoxNode*>(obj.get());
  node->SetText(Append);
  node->SetBounds(0, 0, LabelWidth, LabelHeight);
  node->AfterConstruction();
  obj.release();
  return node;
}

void TZyTextBoxNode::DrawBody(TCanvas& Canvas) const {
  if (fNodeOptions & gnoShowBackground) DrawPicture(Canvas);
}

const TFont& TZyTextBoxNode::CaptionFont() const {
  fLabelFont.Assign(&fFont);
  // A positive height is a cell height, a little above the em size: both
  // are raised to the label size when smaller.
  if (std::abs(fFont.Height()) < RoomLabelPixels) fLabelFont.SetHeight(-RoomLabelPixels);
  return fLabelFont;
}

void RegisterPlanClasses() {
  TGraphEditor::Register(&TZyImageNode::ClassInfo);
  TGraphEditor::Register(&TWallLine::ClassInfo);
  TGraphEditor::Register(&TZyTextBoxNode::ClassInfo);
  TGraphEditor::Register(&TDimensionLine::ClassInfo);
}

void RotateBitmapClockwise(const TBitmap& Source, TBitmap& Dest) {
  int32_t h = Source.Height(), w = Source.Width();
  TBitmap src;
  src.Assign(&Source);
  src.SetPixelFormat(pf24bit);
  Dest.SetPixelFormat(pf24bit);
  Dest.SetHeight(w);
  Dest.SetWidth(h);
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* from = src.ScanLine(y);
    for (int32_t x = 0; x < w; ++x) std::memcpy(Dest.ScanLine(x) + 3 * (h - 1 - y), from + 3 * x, 3);
  }
  Dest.Modified();
}

bool RotateNodeClockwise(TGraphObject* GraphObject) {
  auto* node = dynamic_cast<TRectangularNode*>(GraphObject);
  if (!node) return false;
  int32_t l = node->Left(), t = node->Top(), w = node->Width(), h = node->Height();
  node->SetLeft(l + Div(w, 2) - Div(h, 2));
  node->SetTop(t + Div(h, 2) - Div(w, 2));
  node->SetWidth(h);
  node->SetHeight(w);
  TBitmap& picture = node->Background()->Bitmap();
  TBitmap copy;
  copy.Assign(&picture);
  RotateBitmapClockwise(copy, picture);
  node->Invalidate();
  return true;
}
