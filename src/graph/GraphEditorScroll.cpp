// Scrolling of the graph control: keeping the two bars in step, scrolling
// the view, and bringing points, rectangles and objects into view.
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>

#include "GraphEditor.h"
#include "IntMath.h"

// The client size follows from the control's own size and the bars it shows,
// so it is right even before the widget has been shown and laid out.
int TGraphEditor::ClientWidth() const {
  int w = contentsRect().width();
  if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
    w -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  return std::max(0, w);
}

int TGraphEditor::ClientHeight() const {
  int h = contentsRect().height();
  if (horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
    h -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  return std::max(0, h);
}

void TGraphEditor::RefreshScrollBars() {
  if (fDestroying) return;
  if (fUpdatingScrollBars) {
    // Showing or hiding a bar resizes the client area, and the ranges may
    // change while the bars are being synchronised: go round once more.
    fRefreshPending = true;
    return;
  }
  fUpdatingScrollBars = true;
  try {
    for (int round = 0; round < 4; ++round) {
      fRefreshPending = false;
      if (fVertScrollBar->RangeExceedsClient()) {
        fHorzScrollBar->Synchronize(false, true);
        fVertScrollBar->Synchronize(true, false);
      } else {
        fVertScrollBar->Synchronize(false, fHorzScrollBar->RangeExceedsClient());
        fHorzScrollBar->Synchronize(true, false);
      }
      if (!fRefreshPending) break;
    }
  } catch (...) {
    fUpdatingScrollBars = false;
    throw;
  }
  fUpdatingScrollBars = false;
}

void TGraphEditor::RecalcScrollRanges() {
  if (fDestroying) return;
  fHorzScrollBar->ComputeRange();
  fVertScrollBar->ComputeRange();
}

void TGraphEditor::resizeEvent(QResizeEvent* Event) {
  // The viewport's own resizes (a bar appearing) come through here too; only
  // a resize of the control itself recalculates.
  if (Event->size() != size()) return QAbstractScrollArea::resizeEvent(Event);
  bool saved = fUpdatingScrollBars;
  fUpdatingScrollBars = true;
  RecalcScrollRanges();
  fUpdatingScrollBars = saved;
  if (fHorzScrollBar->Visible() || fVertScrollBar->Visible()) RefreshScrollBars();
  QAbstractScrollArea::resizeEvent(Event);
}

void TGraphEditor::scrollContentsBy(int, int) {
  // The scroll bar objects move the view themselves (ScrollBy).
}

void TGraphEditor::ScrollBy(int32_t DeltaX, int32_t DeltaY) {
  if (DeltaX == 0 && DeltaY == 0) return;
  for (QObject* child : viewport()->children()) {
    if (auto* w = qobject_cast<QWidget*>(child)) w->move(w->x() + DeltaX, w->y() + DeltaY);
  }
  InvalidateClientRect();
}

void TGraphEditor::ScrollInView(const TPoint& Pt) {
  int32_t x = MulDiv(Pt.X, fZoom, 100);
  int32_t y = MulDiv(Pt.Y, fZoom, 100);
  if (fHorzScrollBar->IsScrollBarVisible()) {
    if (x < fHorzScrollBar->Position())
      fHorzScrollBar->SetPosition(x);
    else if (x > ClientWidth() + fHorzScrollBar->Position())
      fHorzScrollBar->SetPosition(x - ClientWidth());
  }
  if (fVertScrollBar->IsScrollBarVisible()) {
    if (y < fVertScrollBar->Position())
      fVertScrollBar->SetPosition(y);
    else if (y > ClientHeight() + fVertScrollBar->Position())
      fVertScrollBar->SetPosition(y - ClientHeight());
  }
}

void TGraphEditor::ScrollInView(const TRect& Rect) {
  TRect visible = VisibleBounds();
  TPoint p = Rect.TopLeft();
  if (Rect.Width() <= visible.Width() && Rect.Right > visible.Right) p.X = Rect.Right;
  if (Rect.Height() <= visible.Height() && Rect.Bottom > visible.Bottom) p.Y = Rect.Bottom;
  ScrollInView(p);
}

void TGraphEditor::ScrollInView(TGraphObject* GraphObject) {
  if (!GraphObject) return;
  ScrollInView(GraphObject->SelectedVisualRect());
}

void TGraphEditor::ScrollCenter(const TPoint& Pt) {
  int32_t x = MulDiv(Pt.X, fZoom, 100);
  int32_t y = MulDiv(Pt.Y, fZoom, 100);
  if (fHorzScrollBar->IsScrollBarVisible()) fHorzScrollBar->SetPosition(x - Div(ClientWidth(), 2));
  if (fVertScrollBar->IsScrollBarVisible()) fVertScrollBar->SetPosition(y - Div(ClientHeight(), 2));
}

void TGraphEditor::ScrollCenter(const TRect& Rect) {
  ScrollCenter(TPoint(Div(Rect.Left + Rect.Right, 2), Div(Rect.Top + Rect.Bottom, 2)));
}

void TGraphEditor::ScrollCenter(TGraphObject* GraphObject) {
  if (!GraphObject) return;
  ScrollCenter(GraphObject->VisualRect());
}
