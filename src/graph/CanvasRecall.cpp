#include "CanvasRecall.h"

#include "Canvas.h"

TCanvasRecall::TCanvasRecall(TCanvas* AReference) : fReference(AReference) { Store(); }

TCanvasRecall::~TCanvasRecall() { Retrieve(); }

void TCanvasRecall::Store() {
  if (!fReference) return;
  fFont.Assign(&fReference->Font());
  fPen.Assign(&fReference->Pen());
  fBrush.Assign(&fReference->Brush());
  fCopyMode = fReference->CopyMode();
  fTextFlags = fReference->TextFlags();
}

void TCanvasRecall::Retrieve() {
  if (!fReference) return;
  fReference->SetFont(fFont);
  fReference->SetPen(fPen);
  fReference->SetBrush(fBrush);
  fReference->SetCopyMode(fCopyMode);
  fReference->SetTextFlags(fTextFlags);
}

void TCanvasRecall::SetReference(TCanvas* Value) {
  if (Value == fReference) return;
  Retrieve();
  fReference = Value;
  Store();
}
