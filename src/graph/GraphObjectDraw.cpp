// How an object paints itself: its body, caption and, when selected or
// dragged, its markers and outline.
#include "Canvas.h"
#include "GraphEditor.h"
#include "GraphObject.h"
#include "IntMath.h"

// ---------------------------------------------------------------------------
// Drawing

void TGraphObject::DrawMarker(TCanvas& Canvas, const TPoint& Pt, bool Enabled) const {
  int32_t m = fOwner->MarkerSize();
  Canvas.Rectangle(Pt.X - m, Pt.Y - m, Pt.X + m, Pt.Y + m);
  if (!Enabled) Canvas.Rectangle(Pt.X - m + 2, Pt.Y - m + 2, Pt.X + m - 2, Pt.Y + m - 2);
}

bool TGraphObject::IsShownOn(const TCanvas& Canvas) const {
  if (!Showing()) return false;
  if (Canvas.IsMetafile()) return true;
  return Canvas.RectVisible(GetSelectedVisualRect());
}

void TGraphObject::Render(TCanvas& Canvas) const {
  if (!IsShownOn(Canvas)) return;
  Canvas.SetBrush(fBrush);
  Canvas.SetPen(fPen);
  Canvas.SetFont(fFont);
  auto* self = const_cast<TGraphObject*>(this);
  fOwner->NotifyObjectBeforeDraw(Canvas, self);
  DrawBody(Canvas);
  if (fOptions & goShowCaption) DrawCaption(Canvas);
  fOwner->NotifyObjectAfterDraw(Canvas, self);
}

void TGraphObject::RenderState(TCanvas& Canvas) const {
  if (!IsShownOn(Canvas)) return;
  if (Dragging()) {
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Pen().SetMode(pmNot);
    Canvas.Pen().SetStyle(psSolid);
    int w = fPen.Width();
    Canvas.Pen().SetWidth(w < 2 ? w + 2 : Div(w - 1, 2));
    DrawDragOutline(Canvas);
    return;
  }
  if (!fSelected) return;
  Canvas.Pen().SetWidth(1);
  Canvas.Pen().SetMode(pmCopy);
  Canvas.Pen().SetStyle(psInsideFrame);
  Canvas.Pen().SetColor(fOwner->MarkerColor());
  Canvas.Brush().SetStyle(bsSolid);
  Canvas.Brush().SetColor(fOwner->Color());
  DrawMarkers(Canvas);
}
