// Coordinates, zoom and painting of the graph control.
#include <QCursor>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <cmath>

#include "CanvasRecall.h"
#include "GraphEditor.h"
#include "GraphLink.h"
#include "IntMath.h"
#include "TextFit.h"

// ---------------------------------------------------------------------------
// Coordinates

void TGraphEditor::SetupZoomedDC(TCanvas& Canvas, const TPoint* Origin) {
  TPoint o = Origin ? *Origin : TPoint();
  Canvas.SetViewportOrg({-o.X - fHorzScrollBar->Position(), -o.Y - fVertScrollBar->Position()});
  Canvas.SetWindowOrg({0, 0});
  Canvas.SetWindowExt({100, 100});
  Canvas.SetViewportExt({fZoom, fZoom});
}

void TGraphEditor::MapGraphToClient(TPoint* Points, int Count) const {
  int32_t h = fHorzScrollBar->Position(), v = fVertScrollBar->Position();
  for (int i = 0; i < Count; ++i)
    Points[i] = {MulDiv(Points[i].X, fZoom, 100) - h, MulDiv(Points[i].Y, fZoom, 100) - v};
}

void TGraphEditor::MapClientToGraph(TPoint* Points, int Count) const {
  int32_t h = fHorzScrollBar->Position(), v = fVertScrollBar->Position();
  for (int i = 0; i < Count; ++i)
    Points[i] = {MulDiv(Points[i].X + h, 100, fZoom), MulDiv(Points[i].Y + v, 100, fZoom)};
}

TPoint TGraphEditor::ClientToGraph(int32_t X, int32_t Y) const {
  TPoint p{X, Y};
  MapClientToGraph(&p, 1);
  return p;
}

TPoint TGraphEditor::GraphToClient(int32_t X, int32_t Y) const {
  TPoint p{X, Y};
  MapGraphToClient(&p, 1);
  return p;
}

TPoint TGraphEditor::ScreenToGraph(int32_t X, int32_t Y) const {
  QPoint c = viewport()->mapFromGlobal(QPoint(X, Y));
  return ClientToGraph(c.x(), c.y());
}

TPoint TGraphEditor::GraphToScreen(int32_t X, int32_t Y) const {
  TPoint c = GraphToClient(X, Y);
  QPoint s = viewport()->mapToGlobal(QPoint(c.X, c.Y));
  return {s.x(), s.y()};
}

TPoint TGraphEditor::CursorPos() const {
  QPoint c = fMouseKnown ? fMouseClientPos : viewport()->mapFromGlobal(QCursor::pos());
  return ClientToGraph(c.x(), c.y());
}

void TGraphEditor::SetCursorPos(const TPoint& Pt) {
  TPoint c = GraphToClient(Pt.X, Pt.Y);
  fMouseClientPos = QPoint(c.X, c.Y);
  fMouseKnown = true;
  QCursor::setPos(viewport()->mapToGlobal(fMouseClientPos));
}

TRect TGraphEditor::VisibleBounds() const {
  TPoint corners[2] = {{0, 0}, {ClientWidth(), ClientHeight()}};
  MapClientToGraph(corners, 2);
  return {corners[0], corners[1]};
}

TPoint TGraphEditor::SnapPoint(const TPoint& Pt) const {
  return {fGridSize * Div(Pt.X + Div(fGridSize, 2), fGridSize), fGridSize * Div(Pt.Y + Div(fGridSize, 2), fGridSize)};
}

void TGraphEditor::SnapOffset(const TPoint& Pt, int32_t& dX, int32_t& dY) const {
  TPoint t = SnapPoint({Pt.X + dX, Pt.Y + dY});
  if (dX != 0) dX = t.X - Pt.X;
  if (dY != 0) dY = t.Y - Pt.Y;
}

// ---------------------------------------------------------------------------
// Zoom

bool TGraphEditor::ChangeZoom(int NewZoom, TGraphZoomOrigin Origin) {
  NewZoom = std::clamp(NewZoom, MinZoom, MaxZoom);
  if (NewZoom == fZoom) return false;
  TRect r;
  TPoint p;
  if (Origin == zoTopLeft || Origin == zoCenter)
    r = VisibleBounds();
  else
    p = CursorPos();
  fZoom = NewZoom;
  RecalcScrollRanges();
  switch (Origin) {
    case zoTopLeft: ScrollInView(r); break;
    case zoCenter: ScrollCenter(r); break;
    case zoCursor: {
      TPoint q = CursorPos();
      if (fHorzScrollBar->IsScrollBarVisible())
        fHorzScrollBar->SetPosition(fHorzScrollBar->Position() - MulDiv(q.X - p.X, fZoom, 100));
      if (fVertScrollBar->IsScrollBarVisible())
        fVertScrollBar->SetPosition(fVertScrollBar->Position() - MulDiv(q.Y - p.Y, fZoom, 100));
      break;
    }
    case zoCursorCenter: ScrollCenter(p); break;
  }
  Invalidate();
  NotifyZoomChange();
  return true;
}

bool TGraphEditor::ChangeZoomBy(int Delta, TGraphZoomOrigin Origin) { return ChangeZoom(fZoom + Delta, Origin); }

bool TGraphEditor::ZoomRect(const TRect& Rect) {
  int width = ClientWidth();
  int height = ClientHeight();
  int thickness = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  if (fVertScrollBar->IsScrollBarVisible()) width -= thickness;
  if (fHorzScrollBar->IsScrollBarVisible()) height -= thickness;
  // A degenerate rectangle asks for as much zoom as there is.
  int zx = Rect.Width() > 0 ? MulDiv(100, width, Rect.Width()) : MaxZoom;
  int zy = Rect.Height() > 0 ? MulDiv(100, height, Rect.Height()) : MaxZoom;
  SetZoom(std::min(zx, zy));
  ScrollCenter(Rect);
  return fZoom == zx || fZoom == zy;
}

bool TGraphEditor::ZoomObject(TGraphObject* GraphObject) {
  if (!GraphObject) return false;
  return ZoomRect(GraphObject->VisualRect());
}

bool TGraphEditor::ZoomSelection() {
  if (fSelectedObjects.Count() == 0) return false;
  return ZoomRect(SelectionBounds());
}

bool TGraphEditor::ZoomGraph() {
  if (fObjects.Count() == 0) return false;
  return ZoomRect(GraphBounds());
}

// ---------------------------------------------------------------------------
// Painting

void TGraphEditor::SetupDeviceDC(TCanvas& Canvas, const TPoint& Origin, double PixelRatio) {
  Canvas.SetPixelRatio(PixelRatio);
  if (PixelRatio == 1.0) return SetupZoomedDC(Canvas, &Origin);
  // The ratio as a whole percentage keeps the mapping in integers; the
  // scroll position and origin stay in client pixels until mapped here.
  const int32_t percent = int32_t(std::lround(PixelRatio * 100));
  const auto device = [&](int32_t ClientPixels) { return -int32_t(std::lround(ClientPixels * PixelRatio)); };
  Canvas.SetViewportOrg({device(Origin.X + fHorzScrollBar->Position()), device(Origin.Y + fVertScrollBar->Position())});
  Canvas.SetWindowOrg({0, 0});
  Canvas.SetWindowExt({100 * 100, 100 * 100});
  Canvas.SetViewportExt({fZoom * percent, fZoom * percent});
}

// Paints the client rectangle Client onto a canvas whose top-left device
// pixel is Client's top-left corner.
void TGraphEditor::PaintBuffer(TCanvas& Canvas, const QRect& Client, double PixelRatio) {
  const QSize device(int(std::ceil(Client.width() * PixelRatio)), int(std::ceil(Client.height() * PixelRatio)));
  Canvas.SetDeviceClipRect(QRect(QPoint(0, 0), device));
  if (fTransparent) {
    Canvas.Painter()->save();
    Canvas.Painter()->scale(PixelRatio, PixelRatio);
    PaintParentBackground(this, Canvas, Client.left(), Client.top());
    Canvas.Painter()->restore();
  } else {
    Canvas.Painter()->fillRect(QRect(QPoint(0, 0), device), ToQColor(fColor));
  }
  Canvas.SaveState();
  SetupDeviceDC(Canvas, {Client.left(), Client.top()}, PixelRatio);
  PaintControl(Canvas);
  Canvas.RestoreState();
}

namespace {
// A paint of a few rectangles far apart (a selection mark left behind here,
// a dragged door there) paints each on its own rather than everything in
// the box around them.
constexpr int kMaxPaintedApart = 8;

bool PaintedApart(const QRegion& Region) {
  const int count = Region.rectCount();
  if (count < 2 || count > kMaxPaintedApart) return false;
  int64_t covered = 0;
  for (const QRect& r : Region) covered += int64_t(r.width()) * r.height();
  const QRect box = Region.boundingRect();
  return 2 * covered <= int64_t(box.width()) * box.height();
}
}  // namespace

void TGraphEditor::paintEvent(QPaintEvent* Event) {
  const QRegion& region = Event->region();
  if (!PaintedApart(region)) return PaintUpdateRect(Event->rect(), false);
  for (const QRect& r : region) PaintUpdateRect(r, true);
}

void TGraphEditor::PaintUpdateRect(const QRect& u, bool Clip) {
  if (u.isEmpty()) return;
  // The buffer holds device pixels, so lines and text are drawn at the
  // screen's own resolution; the mapping brings the ratio in.
  const double ratio = viewport()->devicePixelRatioF();
  const QSize device(int(std::ceil(u.width() * ratio)), int(std::ceil(u.height() * ratio)));
  if (fBackBuffer.width() < device.width() || fBackBuffer.height() < device.height())
    fBackBuffer = QImage(std::max(device.width(), fBackBuffer.width()), std::max(device.height(), fBackBuffer.height()),
                         QImage::Format_RGB32);
  {
    TCanvas canvas(&fBackBuffer);
    PaintBuffer(canvas, u, ratio);
  }
  QPainter screen(viewport());
  // The live measure below must not reach past the rectangle painted.
  if (Clip) screen.setClipRect(u);
  if (ratio == 1.0)
    screen.drawImage(u.topLeft(), fBackBuffer, QRect(QPoint(0, 0), device));
  else
    screen.drawImage(QRectF(u), fBackBuffer, QRectF(QPointF(0, 0), QSizeF(device)));
  // The live measure floats above the plan, never in the back buffer.
  if (fDragMeasureRect.intersects(u)) PaintDragMeasure(screen, QPoint(0, 0));
}

QImage TGraphEditor::RenderToImage(double PixelRatio) {
  if (PixelRatio <= 0) PixelRatio = 1.0;
  const QRect client(0, 0, std::max(1, ClientWidth()), std::max(1, ClientHeight()));
  QImage image(int(std::ceil(client.width() * PixelRatio)), int(std::ceil(client.height() * PixelRatio)),
               QImage::Format_RGB32);
  {
    TCanvas canvas(&image);
    PaintBuffer(canvas, client, PixelRatio);
  }
  image.setDevicePixelRatio(PixelRatio);
  QPainter painter(&image);
  PaintDragMeasure(painter, QPoint(0, 0));
  return image;
}

void TGraphEditor::PaintControl(TCanvas& Canvas) {
  Canvas.Lock();
  if (fShowGrid) PaintGrid(Canvas);
  PaintObjects(Canvas, fObjects);
  PaintSelectionMarks(Canvas);
  Canvas.Unlock();
}

void TGraphEditor::Draw(TCanvas& Canvas) {
  // Whatever Draw paints is output (a print, a preview of one): in full.
  const bool detail = fLevelOfDetail;
  fLevelOfDetail = false;
  try {
    PaintObjects(Canvas, fObjects);
  } catch (...) {
    fLevelOfDetail = detail;
    throw;
  }
  fLevelOfDetail = detail;
}

void TGraphEditor::SetLevelOfDetail(bool Value) {
  if (Value == fLevelOfDetail) return;
  fLevelOfDetail = Value;
  if (fZoom * viewport()->devicePixelRatioF() < 100) Invalidate();
}

namespace {
int32_t SaturatedAdd(int32_t Value, int32_t By) {
  return int32_t(std::clamp<int64_t>(int64_t(Value) + By, INT32_MIN, INT32_MAX));
}

// The least distance, in device pixels, between two grid dots drawn.
constexpr int64_t MinGridDotSpacing = 6;
// The first multiple of Step at or after Value (floor-safe for negatives).
int32_t FirstMultipleAtOrAfter(int32_t Value, int32_t Step) {
  int32_t q = Div(Value, Step);
  if (q * Step < Value) ++q;
  return q * Step;
}
}  // namespace

int32_t TGraphEditor::GridStep(int32_t GridSize, int Zoom) {
  int64_t step = std::max(1, GridSize);
  while (step * Zoom < MinGridDotSpacing * 100 && step < (int64_t(1) << 24)) step *= 2;
  return int32_t(step);
}

void TGraphEditor::PaintGrid(TCanvas& Canvas) {
  TRect c = Canvas.ClipRect();
  const TRect& b = fGraphConstraints->BoundsRect();
  c.Left = std::max(c.Left, b.Left);
  c.Top = std::max(c.Top, b.Top);
  c.Right = std::min(c.Right, b.Right);
  c.Bottom = std::min(c.Bottom, b.Bottom);
  if (c.Right <= c.Left || c.Bottom <= c.Top) return;
  // Dots closer than a few device pixels would only grey the plan: zoomed
  // out, every k-th dot shows (k a power of two, so they stay on the grid).
  const int32_t step = GridStep(fGridSize, fZoom);
  // Grid dots fall on device pixels; at small zooms many dots share one, so
  // each device column and row is visited once.
  std::vector<int32_t> xs, ys;
  for (int32_t x = FirstMultipleAtOrAfter(c.Left, step); x < c.Right; x += step) {
    int32_t d = Canvas.LPtoDP(TPoint(x, 0)).X;
    if (xs.empty() || xs.back() != d) xs.push_back(d);
  }
  for (int32_t y = FirstMultipleAtOrAfter(c.Top, step); y < c.Bottom; y += step) {
    int32_t d = Canvas.LPtoDP(TPoint(0, y)).Y;
    if (ys.empty() || ys.back() != d) ys.push_back(d);
  }
  Canvas.Pen().SetMode(pmCopy);
  Canvas.SetDevicePixelGrid(xs, ys, ColorToRGB(fGridColor));
}

bool TGraphEditor::PaintCandidates(TCanvas& Canvas, std::vector<TGraphObject*>& Objects) {
  if (!fSpatialIndexEnabled || !fSpatialIndex.Usable() || Canvas.IsMetafile()) return false;
  TSize w = Canvas.WindowExt(), v = Canvas.ViewportExt();
  if (w.cx == 0 || w.cy == 0 || v.cx == 0 || v.cy == 0) return false;
  // The clip box in graph units, widened by what rounding to device pixels
  // can add at this zoom: an object the index leaves out is not visible.
  double unitsPerPixel = std::max(std::abs(double(w.cx) / v.cx), std::abs(double(w.cy) / v.cy));
  int32_t margin = int32_t(std::min(std::ceil(unitsPerPixel), 1e6)) + 2;
  TRect clip = Canvas.ClipRect();
  TRect area{SaturatedAdd(clip.Left, -margin), SaturatedAdd(clip.Top, -margin), SaturatedAdd(clip.Right, margin),
             SaturatedAdd(clip.Bottom, margin)};
  if (!fSpatialIndex.Selective(area)) return false;
  fSpatialIndex.ObjectsIn(area, Objects);
  return true;
}

void TGraphEditor::PaintObjects(TCanvas& Canvas, TGraphObjectList& ObjectList) {
  NotifyBeforeDraw(Canvas);
  fCanvasRecall->SetReference(&Canvas);
  const bool canvasDetail = Canvas.LevelOfDetail();
  Canvas.SetLevelOfDetail(fLevelOfDetail);
  try {
    // Painting the control's own list, only the objects near the clip box
    // can show; they come in list order, so the drawing is the same.
    std::vector<TGraphObject*> nearby;
    bool indexed = &ObjectList == &fObjects && PaintCandidates(Canvas, nearby);
    auto renderIf = [&](auto&& pred) {
      auto render = [&](TGraphObject* o) {
        if (pred(o)) o->Render(Canvas);
      };
      if (indexed) return ForEachPrefetched(nearby, render);
      ForEachPrefetched(ObjectList, render);
    };
    switch (fDrawOrder) {
      case doDefault: renderIf([](TGraphObject*) { return true; }); break;
      case doNodesOnTop:
        renderIf([](TGraphObject* o) { return o->IsLink(); });
        renderIf([](TGraphObject* o) { return o->IsNode(); });
        break;
      case doLinksOnTop:
        renderIf([](TGraphObject* o) { return o->IsNode(); });
        renderIf([](TGraphObject* o) { return o->IsLink(); });
        break;
    }
  } catch (...) {
    Canvas.SetLevelOfDetail(canvasDetail);
    fCanvasRecall->SetReference(nullptr);
    throw;
  }
  Canvas.SetLevelOfDetail(canvasDetail);
  fCanvasRecall->SetReference(nullptr);
  NotifyAfterDraw(Canvas);
}

void TGraphEditor::PaintSelectionMarks(TCanvas& Canvas) {
  if (!(fHideSelection && !hasFocus())) {
    for (TGraphObject* o : fSelectedObjects) o->RenderState(Canvas);
  }
  if (fValidMarkedArea && !fMarkedArea.IsEmpty()) {
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Pen().SetMode(pmNot);
    Canvas.Pen().SetStyle(psDot);
    Canvas.Pen().SetWidth(0);
    Canvas.Rectangle(fMarkedArea);
  }
}

void TGraphEditor::ChangeMarkedArea(const TRect& Rect) {
  if (Rect == fMarkedArea) return;
  if (fValidMarkedArea) InvalidateRect(fMarkedArea);
  fMarkedArea = Rect;
  fValidMarkedArea = Rect.Right >= Rect.Left && Rect.Bottom >= Rect.Top;
  RecalcScrollRanges();
  if (fValidMarkedArea) InvalidateRect(fMarkedArea);
}
