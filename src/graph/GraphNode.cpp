#include "GraphNode.h"

#include "Canvas.h"
#include "Exceptions.h"
#include "Filer.h"
#include "Geometry.h"
#include "GraphEditor.h"
#include "IntMath.h"
#include "Picture.h"
#include "TextFit.h"
#include "UpdateBracket.h"

DEFINE_ABSTRACT_GRAPH_OBJECT_CLASS(TGraphNode, TGraphObject);

namespace {
constexpr THitCode kAnyNodePart = 0x07FE;

// Bounds read from a stream must stay where no arithmetic on them overflows
// and the shape's region stays a sane size (larger shapes make the platform's
// region code fail): the default constraints never let a node get that far
// or that large, so only a damaged or hostile document gets there.
constexpr int32_t kMaxStreamedCoordinate = 1 << 20;
constexpr int32_t kMaxStreamedExtent = 1 << 16;

int32_t StreamedValue(int32_t Value, int32_t Min, int32_t Max) {
  if (Value < Min || Value > Max) throw EReadError(QStringLiteral("Invalid property value"));
  return Value;
}
}  // namespace

TGraphNode::TGraphNode(TGraphEditor* AOwner) : TGraphObject(AOwner), fBackground(std::make_unique<TPicture>()) {
  fBackground->OnChange = [this](TPicture*) { ApplyChanges(gcView | gcData); };
}

TGraphNode::~TGraphNode() { fBackground->OnChange = nullptr; }

TGraphNode* TGraphNode::CreateNew(TGraphNodeClass Class, TGraphEditor* AOwner, const TRect& Bounds) {
  if (!Class || !Class->New || Class->IsLink()) RaiseAbstract();
  TGraphObjectPtr obj(Class->New(AOwner));
  auto* node = static_cast<TGraphNode*>(obj.get());
  node->SetBoundsRect(Bounds);
  node->AfterConstruction();
  obj.release();
  return node;
}

// ---------------------------------------------------------------------------
// Properties and streaming

const TPropList& TGraphNode::Properties() const {
  static const TPropList list =
      TPropTable<TGraphNode>(TGraphObject::Properties())
          .Integer("Left", &TGraphNode::Left, &TGraphNode::SetLeft, std::nullopt)
          .Integer("Top", &TGraphNode::Top, &TGraphNode::SetTop, std::nullopt)
          .Integer("Width", &TGraphNode::Width, &TGraphNode::SetWidth, std::nullopt)
          .Integer("Height", &TGraphNode::Height, &TGraphNode::SetHeight, std::nullopt)
          .Enumeration("Alignment", &TGraphNode::Alignment, &TGraphNode::SetAlignment, AlignmentType, taCenter)
          .Enumeration("Layout", &TGraphNode::Layout, &TGraphNode::SetLayout, TextLayoutType, tlCenter)
          .Integer("Margin", &TGraphNode::Margin, &TGraphNode::SetMargin, 8)
          .Object("Background", &TGraphNode::Background)
          .Set("NodeOptions", &TGraphNode::NodeOptions, &TGraphNode::SetNodeOptions, GraphNodeOptionType, gnoAll);
  return list;
}

void TGraphNode::DefineProperties(TFiler& Filer) {
  TGraphObject::DefineProperties(Filer);
  Filer.DefineProperty(
      "BackgroundMargins",
      [this](TReader& r) {
        TRect m;
        m.Left = r.ReadInteger();
        m.Top = r.ReadInteger();
        m.Right = r.ReadInteger();
        m.Bottom = r.ReadInteger();
        SetBackgroundMargins(m);
      },
      [this](TWriter& w) {
        w.WriteInteger(fBackgroundMargins.Left);
        w.WriteInteger(fBackgroundMargins.Top);
        w.WriteInteger(fBackgroundMargins.Right);
        w.WriteInteger(fBackgroundMargins.Bottom);
      },
      fBackgroundMargins != TRect());
}

void TGraphNode::Assign(const TPersistent* Source) {
  WithinUpdate(*this, [&] {
    TGraphObject::Assign(Source);
    auto* src = dynamic_cast<const TGraphNode*>(Source);
    if (!src) return;
    fBackground->Assign(src->fBackground.get());
    SetAlignment(src->fAlignment);
    SetLayout(src->fLayout);
    SetMargin(src->fMargin);
    SetNodeOptions(src->fNodeOptions);
    SetBackgroundMargins(src->fBackgroundMargins);
    SetBounds(src->fLeft, src->fTop, src->fWidth, src->fHeight);
  });
}

void TGraphNode::SetLeft(int32_t Value) {
  if (Has(osReading)) {
    fLeft = StreamedValue(Value, -kMaxStreamedCoordinate, kMaxStreamedCoordinate);
  } else if (Value != fLeft) {
    SetBounds(Value, fTop, fWidth, fHeight);
  }
}

void TGraphNode::SetTop(int32_t Value) {
  if (Has(osReading)) {
    fTop = StreamedValue(Value, -kMaxStreamedCoordinate, kMaxStreamedCoordinate);
  } else if (Value != fTop) {
    SetBounds(fLeft, Value, fWidth, fHeight);
  }
}

void TGraphNode::SetWidth(int32_t Value) {
  if (Has(osReading)) {
    fWidth = StreamedValue(Value, 0, kMaxStreamedExtent);
  } else if (Value != fWidth) {
    SetBounds(fLeft, fTop, Value, fHeight);
  }
}

void TGraphNode::SetHeight(int32_t Value) {
  if (Has(osReading)) {
    fHeight = StreamedValue(Value, 0, kMaxStreamedExtent);
  } else if (Value != fHeight) {
    SetBounds(fLeft, fTop, fWidth, Value);
  }
}

void TGraphNode::SetAlignment(TAlignment Value) {
  if (Value == fAlignment) return;
  fAlignment = Value;
  ApplyChanges(gcView | gcData | gcText);
}

void TGraphNode::SetLayout(TTextLayout Value) {
  if (Value == fLayout) return;
  fLayout = Value;
  ApplyChanges(gcView | gcData | gcText);
}

void TGraphNode::SetMargin(int32_t Value) {
  if (Value == fMargin) return;
  fMargin = Value;
  ApplyChanges(gcView | gcData | gcText);
}

void TGraphNode::SetNodeOptions(TGraphNodeOptions Value) {
  if (Value == fNodeOptions) return;
  fNodeOptions = Value;
  ApplyChanges(gcView | gcData);
}

void TGraphNode::SetBackgroundMargins(const TRect& Value) {
  if (Value == fBackgroundMargins) return;
  fBackgroundMargins = Value;
  ApplyChanges(gcView | gcData);
}

void TGraphNode::SetBackground(const TPicture& Value) { fBackground->Assign(&Value); }

// ---------------------------------------------------------------------------
// Geometry

void TGraphNode::SetBoundsRectValue(const TRect& Rect) {
  SetBounds(Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
}

void TGraphNode::CanMoveResize(int32_t& NewLeft, int32_t& NewTop, int32_t& NewWidth, int32_t& NewHeight, bool& CanMove,
                               bool& CanResize) {
  CanMove = fNodeOptions & gnoMovable;
  CanResize = fNodeOptions & gnoResizable;
  NewWidth = std::max<int32_t>(NewWidth, fOwner->MinNodeSize());
  NewHeight = std::max<int32_t>(NewHeight, fOwner->MinNodeSize());
  const TRect& b = fOwner->GraphConstraints()->BoundsRect();
  NewLeft = std::max(NewLeft, b.Left);
  NewTop = std::max(NewTop, b.Top);
  if (NewLeft + NewWidth > b.Right) {
    if (NewWidth == fWidth)
      NewLeft = b.Right - NewWidth;
    else
      NewWidth = b.Right - NewLeft;
  }
  if (NewTop + NewHeight > b.Bottom) {
    if (NewHeight == fHeight)
      NewTop = b.Bottom - NewHeight;
    else
      NewHeight = b.Bottom - NewTop;
  }
  fOwner->QueryCanMoveResizeNode(this, NewLeft, NewTop, NewWidth, NewHeight, CanMove, CanResize);
}

void TGraphNode::SetBounds(int32_t aLeft, int32_t aTop, int32_t aWidth, int32_t aHeight) {
  bool canMove, canResize;
  CanMoveResize(aLeft, aTop, aWidth, aHeight, canMove, canResize);
  if (!canMove && !canResize) return;
  int32_t dx = 0, dy = 0, dw = 0, dh = 0;
  if (canMove) {
    dx = aLeft - fLeft;
    dy = aTop - fTop;
    fLeft = aLeft;
    fTop = aTop;
  }
  if (canResize) {
    dw = aWidth - fWidth;
    dh = aHeight - fHeight;
    fWidth = aWidth;
    fHeight = aHeight;
  }
  if (dx == 0 && dy == 0 && dw == 0 && dh == 0) return;
  GeometryChanged(dx, dy, dw, dh);
  fOwner->NotifyNodeMoveResize(this);
}

void TGraphNode::ShiftBy(int32_t DX, int32_t DY) { SetBounds(fLeft + DX, fTop + DY, fWidth, fHeight); }

TPoint TGraphNode::GetCenter() const { return {fLeft + Div(fWidth, 2), fTop + Div(fHeight, 2)}; }

void TGraphNode::Prepare() {
  fRegionStale = true;
  TGraphObject::Prepare();
}

void TGraphNode::GeometryChanged(int32_t DX, int32_t DY, int32_t DW, int32_t DH) {
  if (DW != 0 || DH != 0)
    fRegionStale = true;
  else if ((DX != 0 || DY != 0) && !fRegionStale)
    fRegion.translate(DX, DY);
  TGraphObject::GeometryChanged(DX, DY, DW, DH);
}

const QRegion& TGraphNode::Region() const {
  if (fRegionStale) {
    fRegion = MakeRegion();
    fRegionStale = false;
  }
  return fRegion;
}

void TGraphNode::ComputeVisualRect(TRect& Rect) const {
  Rect = GetBoundsRect();
  if (fPen.Style() == psInsideFrame) return;
  int32_t grow = Div(fPen.Width(), 2);
  Rect = {Rect.Left - grow, Rect.Top - grow, Rect.Right + grow, Rect.Bottom + grow};
}

void TGraphNode::AttachPoint(const TPoint& RefPt, TPoint& Pt) const {
  Pt = AnchorPoint();
  if (RegionContains(Region(), RefPt)) return;
  double angle = DirectionAngle(RefPt, Pt);
  TPoints points;
  IntersectOutline(RefPt, points, angle);
  TPoint nearest;
  if (ClosestPointIndex(points, RefPt, nearest) >= 0)
    Pt = nearest;
  else
    Pt = AnchorPoint();
}

bool TGraphNode::ContainsRect(const TRect& Rect) const {
  if (fSelected) return TGraphObject::ContainsRect(Rect);
  return Showing() && RegionTouchesRect(Region(), Rect);
}

// ---------------------------------------------------------------------------
// Caption

void TGraphNode::CaptionArea(TRect& Rect) const {
  Rect = GetBoundsRect();
  int32_t inset = (fPen.Style() == psInsideFrame ? fPen.Width() : Div(fPen.Width(), 2)) + fMargin;
  Rect = {Rect.Left + inset, Rect.Top + inset, Rect.Right - inset, Rect.Bottom - inset};
}

bool TGraphNode::PlaceText(bool Recalc, int32_t DX, int32_t DY) {
  if (Recalc)
    LayoutCaption(fTextRect);
  else
    fTextRect = fTextRect.Offset(DX, DY);
  return true;
}

void TGraphNode::LayoutCaption(TRect& Rect) {
  fTextToShow.clear();
  if (fText.isEmpty()) {
    Rect = TRect();
    return;
  }
  TRect a;
  CaptionArea(a);
  a = a.Offset(-fLeft, -fTop);
  TCanvas& canvas = fOwner->MeasureCanvas();
  canvas.SetFont(CaptionFont());
  fTextToShow = FitTextToRect(canvas, fText, a);
  TRect r = a;
  int flags = DT_CALCRECT | DT_NOPREFIX | DT_EDITCONTROL;
  if (fOwner->UseRightToLeftReading()) flags |= DT_RTLREADING;
  canvas.DrawText(fTextToShow, r, flags);
  r.Right = std::min(r.Right, a.Right);
  r.Bottom = std::min(r.Bottom, a.Bottom);
  int32_t dx = 0, dy = 0;
  if (fAlignment == taRightJustify)
    dx = a.Right - r.Right;
  else if (fAlignment == taCenter)
    dx = Div(a.Right - r.Right, 2);
  if (fLayout == tlBottom)
    dy = a.Bottom - r.Bottom;
  else if (fLayout == tlCenter)
    dy = Div(a.Bottom - r.Bottom, 2);
  Rect = r.Offset(fLeft + dx, fTop + dy);
}

void TGraphNode::DrawCaption(TCanvas& Canvas) const {
  if (fTextToShow.isEmpty()) return;
  int flags = DT_NOCLIP | DT_NOPREFIX | DT_EDITCONTROL;
  if (fAlignment == taRightJustify) flags |= DT_RIGHT;
  if (fAlignment == taCenter) flags |= DT_CENTER;
  if (fLayout == tlCenter) flags |= DT_VCENTER;
  if (fLayout == tlBottom) flags |= DT_BOTTOM;
  if (fOwner->UseRightToLeftReading()) flags |= DT_RTLREADING;
  TBkMode bk = Canvas.BkMode();
  int align = Canvas.TextAlign();
  Canvas.SetBkMode(bkTransparent);
  Canvas.SetTextAlign(TA_LEFT | TA_TOP);
  Canvas.SetFont(CaptionFont());
  TRect r = fTextRect;
  Canvas.DrawText(fTextToShow, r, flags);
  Canvas.SetTextAlign(align);
  Canvas.SetBkMode(bk);
}

// ---------------------------------------------------------------------------
// Drawing

void TGraphNode::DrawBody(TCanvas& Canvas) const {
  DrawBorder(Canvas);
  if (fNodeOptions & gnoShowBackground) DrawPicture(Canvas);
}

void TGraphNode::DrawDragOutline(TCanvas& Canvas) const { DrawBorder(Canvas); }

QRegion TGraphNode::MakeDeviceRegion(const TCanvas& Canvas) const {
  TSize v = Canvas.ViewportExt(), w = Canvas.WindowExt();
  TPoint o = Canvas.ViewportOrg();
  return TransformRegion(Region(), {double(v.cx) / w.cx, 0, 0, double(v.cy) / w.cy, double(o.X), double(o.Y)});
}

namespace {
// Whether the graphic, drawn into Rect, puts every pixel inside a
// rectangular Shape (device pixels): images fill exactly their target.
bool ImageWithin(const TCanvas& Canvas, const TGraphic& Graphic, const TRect& Rect, const QRegion& Shape) {
  if (Shape.rectCount() != 1) return false;
  if (!dynamic_cast<const TBitmap*>(&Graphic) && !dynamic_cast<const TJPEGImage*>(&Graphic)) return false;
  return Shape.boundingRect().contains(Canvas.ImageTarget(Rect));
}
}  // namespace

void TGraphNode::DrawPicture(TCanvas& Canvas) const {
  TGraphic* graphic = fBackground->Graphic();
  if (!graphic) return;
  const TRect& m = fBackgroundMargins;
  TRect p{fLeft + MulDiv(fWidth, m.Left, 100), fTop + MulDiv(fHeight, m.Top, 100),
          fLeft + fWidth - MulDiv(fWidth, m.Right, 100), fTop + fHeight - MulDiv(fHeight, m.Bottom, 100)};
  // Drawing the picture must not count as a change of it.
  auto draw = [&] {
    auto handler = std::move(fBackground->OnChange);
    fBackground->OnChange = nullptr;
    try {
      Canvas.StretchDraw(p, *graphic);
    } catch (...) {
      fBackground->OnChange = std::move(handler);
      throw;
    }
    fBackground->OnChange = std::move(handler);
  };
  // Zoomed out with level of detail, an image inside a rectangular node is
  // drawn unclipped: the shape's edge could only trim a pixel's rounding.
  // (A recording may draw beyond its rectangle, so it stays clipped.)
  const bool inside = fRegion.rectCount() == 1 && m.Left >= 0 && m.Top >= 0 && m.Right >= 0 && m.Bottom >= 0;
  if (inside && Canvas.Reduced() &&
      (dynamic_cast<const TBitmap*>(graphic) || dynamic_cast<const TJPEGImage*>(graphic))) {
    draw();
    Canvas.Brush().SetStyle(bsClear);
    DrawBorder(Canvas);
    return;
  }
  QRegion shape = MakeDeviceRegion(Canvas);
  if (ImageWithin(Canvas, *graphic, p, shape)) {
    // The shape would clip nothing away: drawing straight is the same.
    draw();
  } else {
    // Clip to the shape on top of whatever clip the canvas already has, and
    // give that clip back afterwards.
    bool hadClip = Canvas.HasClipRegion();
    QRegion oldClip = Canvas.ClipRegion();
    if (hadClip) shape = shape.intersected(oldClip);
    Canvas.SelectClipRegion(&shape);
    try {
      draw();
    } catch (...) {
      Canvas.SelectClipRegion(hadClip ? &oldClip : nullptr);
      throw;
    }
    Canvas.SelectClipRegion(hadClip ? &oldClip : nullptr);
  }
  Canvas.Brush().SetStyle(bsClear);
  DrawBorder(Canvas);
}

void TGraphNode::DrawMarkers(TCanvas& Canvas) const {
  bool enabled = !fOwner->LockNodes() && (fNodeOptions & gnoResizable);
  int32_t r = fLeft + fWidth, b = fTop + fHeight;
  int32_t cx = fLeft + Div(fWidth, 2), cy = fTop + Div(fHeight, 2);
  const TPoint handles[8] = {{fLeft, fTop}, {r, fTop}, {fLeft, b}, {r, b}, {cx, b}, {r, cy}, {fLeft, cy}, {cx, fTop}};
  for (const TPoint& h : handles) DrawMarker(Canvas, h, enabled);
}

// ---------------------------------------------------------------------------
// Hit testing and moving

THitCode TGraphNode::LocateHit(const TPoint& Pt) const {
  if (fSelected) {
    int32_t rad = std::max(Div(fPen.Width(), 2), int32_t(fOwner->MarkerSize()));
    int32_t r = fLeft + fWidth, b = fTop + fHeight;
    int32_t cx = fLeft + Div(fWidth, 2), cy = fTop + Div(fHeight, 2);
    const std::pair<THitCode, TPoint> handles[8] = {{htBottomRightHandle, {r, b}}, {htBottomLeftHandle, {fLeft, b}},
                                                    {htTopRightHandle, {r, fTop}}, {htTopLeftHandle, {fLeft, fTop}},
                                                    {htBottomHandle, {cx, b}},     {htRightHandle, {r, cy}},
                                                    {htLeftHandle, {fLeft, cy}},   {htTopHandle, {cx, fTop}}};
    for (const auto& [code, p] : handles)
      if (SquareAround(p, rad).Contains(Pt)) return code;
  }
  THitCode code = htNone;
  if (RegionContains(Region(), Pt)) code |= htBody;
  if ((fOptions & goShowCaption) && fTextRect.Contains(Pt)) code |= htCaption;
  return code;
}

TCursor TGraphNode::CursorForHit(THitCode HitCode) const {
  auto allowed = [this](TGraphNodeOptions option) { return (fNodeOptions & option) && !IsLocked(); };
  switch (HitCode) {
    case htLeftHandle:
    case htRightHandle: return allowed(gnoResizable) ? crSizeWE : crHandPoint;
    case htTopHandle:
    case htBottomHandle: return allowed(gnoResizable) ? crSizeNS : crHandPoint;
    case htTopLeftHandle:
    case htBottomRightHandle: return allowed(gnoResizable) ? crSizeNWSE : crHandPoint;
    case htTopRightHandle:
    case htBottomLeftHandle: return allowed(gnoResizable) ? crSizeNESW : crHandPoint;
    case htBody:
    case htCaption:
    case htBody | htCaption: return allowed(gnoMovable) ? crSizeAll : crHandPoint;
    default: return TGraphObject::CursorForHit(HitCode);
  }
}

TObjectSides TGraphNode::SidesForHit(THitCode HitCode) const {
  if (!(HitCode & kAnyNodePart)) return TGraphObject::SidesForHit(HitCode);
  TObjectSides sides = 0;
  if (HitCode & 0x06A2) sides |= osLeft;
  if (HitCode & 0x0664) sides |= osTop;
  if (HitCode & 0x0748) sides |= osRight;
  if (HitCode & 0x0790) sides |= osBottom;
  return sides;
}

bool TGraphNode::MoveHit(THitCode HitCode, int32_t DX, int32_t DY) {
  bool resizable = fNodeOptions & gnoResizable;
  switch (HitCode) {
    case htLeftHandle: {
      if (!resizable) return false;
      int32_t w0 = fWidth;
      SetBounds(fLeft, fTop, w0 - DX, fHeight);
      SetBounds(fLeft + w0 - fWidth, fTop, fWidth, fHeight);
      return true;
    }
    case htTopHandle: {
      if (!resizable) return false;
      int32_t h0 = fHeight;
      SetBounds(fLeft, fTop, fWidth, h0 - DY);
      SetBounds(fLeft, fTop + h0 - fHeight, fWidth, fHeight);
      return true;
    }
    case htRightHandle:
      if (!resizable) return false;
      SetBounds(fLeft, fTop, fWidth + DX, fHeight);
      return true;
    case htBottomHandle:
      if (!resizable) return false;
      SetBounds(fLeft, fTop, fWidth, fHeight + DY);
      return true;
    case htTopLeftHandle: {
      if (!resizable) return false;
      int32_t w0 = fWidth, h0 = fHeight;
      SetBounds(fLeft, fTop, w0 - DX, h0 - DY);
      SetBounds(fLeft + w0 - fWidth, fTop + h0 - fHeight, fWidth, fHeight);
      return true;
    }
    case htTopRightHandle: {
      if (!resizable) return false;
      int32_t h0 = fHeight;
      SetBounds(fLeft, fTop, fWidth + DX, h0 - DY);
      SetBounds(fLeft, fTop + h0 - fHeight, fWidth, fHeight);
      return true;
    }
    case htBottomLeftHandle: {
      if (!resizable) return false;
      int32_t w0 = fWidth;
      SetBounds(fLeft, fTop, w0 - DX, fHeight + DY);
      SetBounds(fLeft + w0 - fWidth, fTop, fWidth, fHeight);
      return true;
    }
    case htBottomRightHandle:
      if (!resizable) return false;
      SetBounds(fLeft, fTop, fWidth + DX, fHeight + DY);
      return true;
    case htBody:
    case htCaption:
    case htBody | htCaption:
      if (!(fNodeOptions & gnoMovable)) return false;
      SetBounds(fLeft + DX, fTop + DY, fWidth, fHeight);
      return true;
    default: return TGraphObject::MoveHit(HitCode, DX, DY);
  }
}

void TGraphNode::SnapHitOffset(THitCode HitCode, int32_t& DX, int32_t& DY) const {
  if (!(HitCode & kAnyNodePart)) return;
  TPoint ref{fLeft, fTop};
  if (HitCode & 0x0148) ref.X = fLeft + fWidth;
  if (HitCode & 0x0190) ref.Y = fTop + fHeight;
  fOwner->SnapOffset(ref, DX, DY);
}

bool TGraphNode::StartDragging(THitCode HitCode) {
  if (!(HitCode & kAnyNodePart)) return false;
  return TGraphObject::StartDragging(HitCode);
}
