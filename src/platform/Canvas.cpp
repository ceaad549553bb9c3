#include "Canvas.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPicture>
#include <QTextLayout>
#include <QVarLengthArray>
#include <algorithm>
#include <cmath>
#include <list>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "IntMath.h"
#include "Picture.h"
#include "StrokeCache.h"

struct TCanvas::State {
  TSize WindowExt, ViewportExt;
  TPoint ViewportOrg, WindowOrg;
  QRegion ClipRegion;
  bool HasClipRegion;
  TPen Pen;
  TBrush Brush;
  TFont Font;
  int32_t CopyMode, TextFlags;
  int TextAlign;
  TBkMode BkMode;
};

TCanvas::TCanvas() = default;

TCanvas::TCanvas(QPaintDevice* Device, TCanvasKind Kind) { Begin(Device, Kind); }

TCanvas::~TCanvas() { End(); }

void TCanvas::Begin(QPaintDevice* Device, TCanvasKind Kind) {
  End();
  fDevice = Device;
  fKind = Kind;
  if (!Device) return;
  fPainter = std::make_unique<QPainter>(Device);
  fPainter->setRenderHint(QPainter::Antialiasing, false);
  // Glyphs are antialiased: aliased CJK strokes at label sizes run
  // together. Fonts that ask for aliased text still get it (TFont).
  fPainter->setRenderHint(QPainter::TextAntialiasing, true);
  fPainter->setRenderHint(QPainter::SmoothPixmapTransform, false);
  // A PDF or print engine would store colour pictures as JPEG, smearing
  // the line art of palette pictures; pictures go out losslessly instead.
  fPainter->setRenderHint(QPainter::LosslessImageRendering, true);
  if (Kind == TCanvasKind::Metafile || Device->width() <= 0 || Device->height() <= 0)
    fDeviceRect = QRect(-(1 << 29), -(1 << 29), 1 << 30, 1 << 30);
  else
    fDeviceRect = QRect(0, 0, Device->width(), Device->height());
}

void TCanvas::End() {
  if (fPainter) fPainter->end();
  fPainter.reset();
  fDevice = nullptr;
  fSaved.clear();
  fHasClipRegion = false;
  fClipRegion = QRegion();
}

// ---------------------------------------------------------------------------
// Mapping

void TCanvas::ResetMapping() {
  fWindowExt = {1, 1};
  fViewportExt = {1, 1};
  fViewportOrg = {};
  fWindowOrg = {};
}

void TCanvas::SaveState() {
  auto s = std::make_unique<State>();
  s->WindowExt = fWindowExt;
  s->ViewportExt = fViewportExt;
  s->ViewportOrg = fViewportOrg;
  s->WindowOrg = fWindowOrg;
  s->ClipRegion = fClipRegion;
  s->HasClipRegion = fHasClipRegion;
  s->Pen.Assign(&fPen);
  s->Brush.Assign(&fBrush);
  s->Font.Assign(&fFont);
  s->CopyMode = fCopyMode;
  s->TextFlags = fTextFlags;
  s->TextAlign = fTextAlign;
  s->BkMode = fBkMode;
  fSaved.push_back(std::move(s));
}

void TCanvas::RestoreState() {
  if (fSaved.empty()) return;
  std::unique_ptr<State> s = std::move(fSaved.back());
  fSaved.pop_back();
  fWindowExt = s->WindowExt;
  fViewportExt = s->ViewportExt;
  fViewportOrg = s->ViewportOrg;
  fWindowOrg = s->WindowOrg;
  fPen.Assign(&s->Pen);
  fBrush.Assign(&s->Brush);
  fFont.Assign(&s->Font);
  fCopyMode = s->CopyMode;
  fTextFlags = s->TextFlags;
  fTextAlign = s->TextAlign;
  fBkMode = s->BkMode;
  SelectClipRegion(s->HasClipRegion ? &s->ClipRegion : nullptr);
}

namespace {
// Points far out (an empty area's inverted corners, say) wrap around in 32
// bits as they always did; the sums are taken in 64 bits so that this is
// defined rather than an overflow.
int32_t Wrapped(int64_t Value) { return static_cast<int32_t>(Value); }

int32_t Map(int32_t Value, int32_t FromOrg, int32_t Num, int32_t Den, int32_t ToOrg) {
  return Wrapped(int64_t(MulDiv(Wrapped(int64_t(Value) - FromOrg), Num, Den)) + ToOrg);
}
}  // namespace

TPoint TCanvas::LPtoDP(TPoint p) const {
  return {Map(p.X, fWindowOrg.X, fViewportExt.cx, fWindowExt.cx, fViewportOrg.X),
          Map(p.Y, fWindowOrg.Y, fViewportExt.cy, fWindowExt.cy, fViewportOrg.Y)};
}

TPoint TCanvas::DPtoLP(TPoint p) const {
  return {Map(p.X, fViewportOrg.X, fWindowExt.cx, fViewportExt.cx, fWindowOrg.X),
          Map(p.Y, fViewportOrg.Y, fWindowExt.cy, fViewportExt.cy, fWindowOrg.Y)};
}

TRect TCanvas::LPtoDP(const TRect& r) const { return TRect(LPtoDP(r.TopLeft()), LPtoDP(r.BottomRight())); }

TRect TCanvas::DPtoLP(const TRect& r) const { return TRect(DPtoLP(r.TopLeft()), DPtoLP(r.BottomRight())); }

int32_t TCanvas::ScaleX(int32_t len) const { return MulDiv(len, fViewportExt.cx, fWindowExt.cx); }

double TCanvas::ScaleFactor() const { return double(fViewportExt.cx) / double(fWindowExt.cx); }

QPoint TCanvas::Dev(TPoint p) const {
  TPoint d = LPtoDP(p);
  return {d.X, d.Y};
}

// ---------------------------------------------------------------------------
// Clipping

void TCanvas::SetDeviceClipRect(const QRect& r) {
  QRegion region(r);
  SelectClipRegion(&region);
}

void TCanvas::SelectClipRegion(const QRegion* DeviceRegion) {
  fHasClipRegion = DeviceRegion != nullptr;
  fClipRegion = DeviceRegion ? *DeviceRegion : QRegion();
  if (!fPainter) return;
  if (fHasClipRegion)
    fPainter->setClipRegion(fClipRegion);
  else
    fPainter->setClipping(false);
}

QRect TCanvas::DeviceClipBox() const {
  if (!fHasClipRegion) return fDeviceRect;
  return fClipRegion.boundingRect().intersected(fDeviceRect);
}

TRect TCanvas::ClipRect() const {
  QRect b = DeviceClipBox();
  // Logical rectangle covering every device pixel of the box.
  TRect r = DPtoLP(TRect(b.left(), b.top(), b.left() + b.width(), b.top() + b.height()));
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  return {r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1};
}

bool TCanvas::Reduced() const {
  if (!fLevelOfDetail || fKind != TCanvasKind::Raster) return false;
  return std::abs(int64_t(fViewportExt.cx)) < std::abs(int64_t(fWindowExt.cx)) &&
         std::abs(int64_t(fViewportExt.cy)) < std::abs(int64_t(fWindowExt.cy));
}

bool TCanvas::RectVisible(const TRect& LogicalRect) const {
  TRect d = LPtoDP(LogicalRect);
  QRect q = QRect(QPoint(std::min(d.Left, d.Right), std::min(d.Top, d.Bottom)),
                  QPoint(std::max(d.Left, d.Right), std::max(d.Top, d.Bottom)));
  if (!fHasClipRegion) return q.intersects(fDeviceRect);
  return fClipRegion.intersects(q) && q.intersects(fDeviceRect);
}

// ---------------------------------------------------------------------------
// Drawing attributes

int32_t TCanvas::DevicePenWidth() const {
  if (fPen.Width() <= 0) return 1;
  const int32_t scaled = std::abs(ScaleX(fPen.Width()));
  // A one-pixel pen is a hairline: on a denser screen it gets finer, as
  // many device pixels as at ratio 1, rather than doubled and soft.
  if (fPen.Width() == 1 && fPixelRatio != 1.0) return std::max<int32_t>(1, int32_t(std::lround(scaled / fPixelRatio)));
  return std::max(1, scaled);
}

void TCanvas::ApplyPen(QPainter& p, bool forLine) const {
  if (fPen.Style() == psClear) {
    p.setPen(Qt::NoPen);
    return;
  }
  QPen pen(ToQColor(fPen.Mode() == pmBlack ? clBlack : fPen.Mode() == pmWhite ? clWhite : fPen.Color()));
  int w = DevicePenWidth();
  pen.setWidth(w);
  switch (fPen.Style()) {
    case psDash: pen.setStyle(Qt::DashLine); break;
    case psDot:
    case psAlternate: pen.setStyle(Qt::DotLine); break;
    case psDashDot: pen.setStyle(Qt::DashDotLine); break;
    case psDashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    default: pen.setStyle(Qt::SolidLine); break;
  }
  if (w > 1) {
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
  } else {
    pen.setCapStyle(forLine ? Qt::FlatCap : Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
  }
  p.setPen(pen);
}

void TCanvas::ApplyBrush(QPainter& p) const {
  Qt::BrushStyle style = Qt::SolidPattern;
  switch (fBrush.Style()) {
    case bsClear: p.setBrush(Qt::NoBrush); return;
    case bsHorizontal: style = Qt::HorPattern; break;
    case bsVertical: style = Qt::VerPattern; break;
    case bsFDiagonal: style = Qt::FDiagPattern; break;
    case bsBDiagonal: style = Qt::BDiagPattern; break;
    case bsCross: style = Qt::CrossPattern; break;
    case bsDiagCross: style = Qt::DiagCrossPattern; break;
    default: break;
  }
  p.setBrush(QBrush(ToQColor(fBrush.Color()), style));
}

// Sets the composition for the pen mode; answers false when nothing is to
// be drawn at all.
bool TCanvas::ApplyRasterOp(QPainter& p) const {
  TPenMode mode = fPen.Mode();
  if (mode == pmNop) return false;
  bool raster = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster;
  QPainter::CompositionMode cm = QPainter::CompositionMode_SourceOver;
  if (raster) {
    switch (mode) {
      case pmNot: cm = QPainter::RasterOp_NotDestination; break;
      case pmNotCopy: cm = QPainter::RasterOp_NotSource; break;
      case pmXor: cm = QPainter::RasterOp_SourceXorDestination; break;
      case pmNotXor: cm = QPainter::RasterOp_NotSourceXorDestination; break;
      case pmMerge: cm = QPainter::RasterOp_SourceOrDestination; break;
      case pmMask: cm = QPainter::RasterOp_SourceAndDestination; break;
      case pmNotMerge: cm = QPainter::RasterOp_NotSourceAndNotDestination; break;
      case pmNotMask: cm = QPainter::RasterOp_NotSourceOrNotDestination; break;
      case pmMergePenNot: cm = QPainter::RasterOp_SourceOrNotDestination; break;
      case pmMaskPenNot: cm = QPainter::RasterOp_SourceAndNotDestination; break;
      case pmMergeNotPen: cm = QPainter::RasterOp_NotSourceOrDestination; break;
      case pmMaskNotPen: cm = QPainter::RasterOp_NotSourceAndDestination; break;
      default: break;
    }
  }
  // Changing the mode, even to the same one, makes the engine set up its
  // blending again.
  if (p.compositionMode() != cm) p.setCompositionMode(cm);
  return true;
}

// ---------------------------------------------------------------------------
// Shapes

namespace {
// Device rectangle spanned by two mapped corners, normalised.
QRect Span(QPoint a, QPoint b) {
  return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
               QPoint(std::max(a.x(), b.x()) - 1, std::max(a.y(), b.y()) - 1));
}

struct CompositionReset {
  QPainter& p;
  ~CompositionReset() {
    if (p.compositionMode() != QPainter::CompositionMode_SourceOver)
      p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
};
}  // namespace

void TCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (!fPainter) return;
  QPainter& p = *fPainter;
  if (!ApplyRasterOp(p)) return;
  CompositionReset reset{p};
  QRect box = Span(Dev({x1, y1}), Dev({x2, y2}));
  if (box.width() <= 0 || box.height() <= 0) return;
  if (fBrush.Style() != bsClear) {
    ApplyBrush(p);
    p.fillRect(box, p.brush());
  }
  if (fPen.Style() == psClear) return;
  ApplyPen(p, false);
  p.setBrush(Qt::NoBrush);
  int w = DevicePenWidth();
  // A centred pen of width w covers (w - 1) / 2 pixels outside the path;
  // an inside-frame pen keeps all of it within the box.
  QRect path = fPen.Style() == psInsideFrame ? box.adjusted(w / 2, w / 2, -(w - 1) / 2, -(w - 1) / 2) : box;
  if (w == 1) {
    p.drawRect(path.adjusted(0, 0, -1, -1));
  } else {
    QPen pen = p.pen();
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.drawRect(QRectF(path).adjusted(0.5, 0.5, -0.5, -0.5));
  }
}

void TCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (!fPainter) return;
  QPainter& p = *fPainter;
  if (!ApplyRasterOp(p)) return;
  CompositionReset reset{p};
  QRect box = Span(Dev({x1, y1}), Dev({x2, y2}));
  if (box.width() <= 0 || box.height() <= 0) return;
  int w = fPen.Style() == psClear ? 0 : DevicePenWidth();
  QRectF path = QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5);
  if (fPen.Style() == psInsideFrame) path.adjust(w / 2.0 - 0.5, w / 2.0 - 0.5, -(w / 2.0 - 0.5), -(w / 2.0 - 0.5));
  ApplyBrush(p);
  ApplyPen(p, false);
  p.drawEllipse(path);
}

void TCanvas::RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t cw, int32_t ch) {
  if (!fPainter) return;
  QPainter& p = *fPainter;
  if (!ApplyRasterOp(p)) return;
  CompositionReset reset{p};
  QRect box = Span(Dev({x1, y1}), Dev({x2, y2}));
  if (box.width() <= 0 || box.height() <= 0) return;
  double rx = std::abs(ScaleX(cw)) / 2.0;
  double ry = std::abs(MulDiv(ch, fViewportExt.cy, fWindowExt.cy)) / 2.0;
  QRectF path = QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5);
  ApplyBrush(p);
  ApplyPen(p, false);
  p.drawRoundedRect(path, std::min(rx, path.width() / 2), std::min(ry, path.height() / 2));
}

namespace {
// The pixels of a one-pixel edge from A up to, not including, B, as the
// raster engine's own line stepping picks them; only the rows (or columns)
// of the clip box, with a pixel to spare, so a zoomed-in edge costs no more
// than the view is wide.
void AddEdgePixels(QPolygon& Pixels, QPoint A, QPoint B, QRect Clip) {
  const bool yMajor = std::abs(B.x() - A.x()) < std::abs(B.y() - A.y());
  const int ma = yMajor ? A.y() : A.x(), mb = yMajor ? B.y() : B.x();
  if (ma == mb) return;
  const int na = yMajor ? A.x() : A.y(), nb = yMajor ? B.x() : B.y();
  // The engine steps in ascending order whichever way the edge runs.
  const bool ascending = ma < mb;
  const int64_t lo = ascending ? ma : mb, hi = ascending ? mb : ma;
  const int64_t nLo = ascending ? na : nb, nHi = ascending ? nb : na;
  const int64_t inc = (nHi - nLo) * 65536 / (hi - lo);  // 16.16 fixed point, as the engine's
  const int64_t first = std::max<int64_t>(lo, yMajor ? Clip.top() - 1 : Clip.left() - 1);
  const int64_t last = std::min<int64_t>(hi, yMajor ? Clip.bottom() + 1 : Clip.right() + 1);
  int64_t n = nLo * 65536 + (inc > 0 ? 32 * inc / 64 : 0) + (first - lo) * inc;
  for (int64_t m = first; m <= last; ++m, n += inc) {
    if (m == mb) continue;
    const int minor = int(n >> 16);
    Pixels << (yMajor ? QPoint(minor, int(m)) : QPoint(int(m), minor));
  }
}
}  // namespace

// A one-pixel outline on a bitmap is stepped here rather than by the
// engine's stroker: that one joins edges without painting any pixel twice
// and so drops the corner pixel where the outline turns back along its
// major axis (a triangle's bottom-right vertex). Each edge here paints its
// first vertex and stops before its last, so every vertex is painted once,
// and the edges keep the engine's pixels.
bool TCanvas::StepsOutline(const QPainter& p) const {
  return p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster && p.transform().isIdentity() &&
         p.pen().style() == Qt::SolidLine && DevicePenWidth() == 1;
}

void TCanvas::Polygon(const TPoint* Points, int Count) {
  if (!fPainter || Count < 2) return;
  QPainter& p = *fPainter;
  if (!ApplyRasterOp(p)) return;
  CompositionReset reset{p};
  QPolygon poly(Count);
  for (int i = 0; i < Count; ++i) poly[i] = Dev(Points[i]);
  ApplyBrush(p);
  ApplyPen(p, false);
  if (!StepsOutline(p)) {
    p.drawPolygon(poly, Qt::OddEvenFill);
    return;
  }
  const QColor ink = p.pen().color();
  if (p.brush().style() != Qt::NoBrush) {
    p.setPen(Qt::NoPen);
    p.drawPolygon(poly, Qt::OddEvenFill);
  }
  QPolygon pixels;
  const QRect clip = DeviceClipBox();
  for (int i = 0; i < Count; ++i) AddEdgePixels(pixels, poly[i], poly[(i + 1) % Count], clip);
  p.setPen(QPen(ink, 0, Qt::SolidLine, Qt::SquareCap));
  p.drawPoints(pixels);
}

void TCanvas::Polyline(const TPoint* Points, int Count, TStrokeCache* Cache) {
  if (!fPainter || Count < 2) return;
  QPainter& p = *fPainter;
  if (fPen.Style() == psClear || !ApplyRasterOp(p)) return;
  CompositionReset reset{p};
  QVarLengthArray<QPoint, 16> poly(Count);
  for (int i = 0; i < Count; ++i) poly[i] = Dev(Points[i]);
  // Shrunk, many corners land on one device pixel: the zero-length pieces
  // between them are dropped (a line still keeps its two ends).
  if (Reduced() && Count > 2) {
    int kept = 1;
    for (int i = 1; i < Count; ++i)
      if (poly[i] != poly[kept - 1]) poly[kept++] = poly[i];
    if (kept < 2) poly[kept++] = poly[0];
    poly.resize(kept);
  }
  ApplyPen(p, true);
  if (Cache && fKind == TCanvasKind::Raster && Cache->Draw(p, poly.constData(), int(poly.size()), DeviceClipBox()))
    return;
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(poly.constData(), int(poly.size()));
}

void TCanvas::LineTo(int32_t x, int32_t y) {
  TPoint pts[2] = {fPenPos, {x, y}};
  Polyline(pts, 2);
  fPenPos = {x, y};
}

void TCanvas::FillRect(const TRect& r) {
  if (!fPainter || fBrush.Style() == bsClear) return;
  QRect box = Span(Dev(r.TopLeft()), Dev(r.BottomRight()));
  ApplyBrush(*fPainter);
  fPainter->fillRect(box, fPainter->brush());
}

void TCanvas::FrameRect(const TRect& r) {
  if (!fPainter || fBrush.Style() == bsClear) return;
  QRect box = Span(Dev(r.TopLeft()), Dev(r.BottomRight()));
  QColor c = ToQColor(fBrush.Color());
  fPainter->fillRect(QRect(box.left(), box.top(), box.width(), 1), c);
  fPainter->fillRect(QRect(box.left(), box.bottom(), box.width(), 1), c);
  fPainter->fillRect(QRect(box.left(), box.top(), 1, box.height()), c);
  fPainter->fillRect(QRect(box.right(), box.top(), 1, box.height()), c);
}

void TCanvas::FillRegion(const QRegion& DeviceRegion) {
  if (!fPainter || fBrush.Style() == bsClear) return;
  ApplyBrush(*fPainter);
  for (const QRect& r : DeviceRegion) fPainter->fillRect(r, fPainter->brush());
}

void TCanvas::SetPixel(int32_t x, int32_t y, TColor c) {
  if (!fPainter) return;
  fPainter->setPen(QPen(ToQColor(c), 0));
  fPainter->drawPoint(Dev({x, y}));
}

void TCanvas::SetPixels(const TPoints& LogicalPoints, TColor c) {
  if (!fPainter || LogicalPoints.empty()) return;
  QPolygon pts(int(LogicalPoints.size()));
  for (size_t i = 0; i < LogicalPoints.size(); ++i) pts[int(i)] = Dev(LogicalPoints[i]);
  fPainter->setPen(QPen(ToQColor(c), 0));
  fPainter->drawPoints(pts);
}

void TCanvas::SetDevicePixelGrid(const std::vector<int32_t>& Xs, const std::vector<int32_t>& Ys, TColor c) {
  if (!fPainter || Xs.empty() || Ys.empty()) return;
  QRect clip = DeviceClipBox();
  auto* image = dynamic_cast<QImage*>(fDevice);
  bool direct = image &&
                (image->format() == QImage::Format_RGB32 || image->format() == QImage::Format_ARGB32 ||
                 image->format() == QImage::Format_ARGB32_Premultiplied) &&
                (!fHasClipRegion || fClipRegion.rectCount() <= 1);
  if (direct) {
    // Writing the pixels straight into the image keeps dense grids cheap.
    clip = clip.intersected(image->rect());
    QRgb rgb = ToQColor(c).rgb();
    // The columns are sorted: find those inside the clip once.
    auto first = std::lower_bound(Xs.begin(), Xs.end(), clip.left());
    auto last = std::upper_bound(first, Xs.end(), clip.right());
    if (first == last) return;
    uchar* bits = image->bits();
    qsizetype stride = image->bytesPerLine();
    for (int32_t y : Ys) {
      if (y < clip.top() || y > clip.bottom()) continue;
      auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
      for (auto x = first; x != last; ++x) line[*x] = rgb;
    }
    return;
  }
  QPolygon pts;
  for (int32_t y : Ys)
    for (int32_t x : Xs)
      if (clip.contains(x, y)) pts << QPoint(x, y);
  fPainter->setPen(QPen(ToQColor(c), 0));
  fPainter->drawPoints(pts);
}

// ---------------------------------------------------------------------------
// Text

TCanvas::TFontCache& TCanvas::FontAt(std::shared_ptr<TFontCache>& Cache, double Scale) const {
  auto matches = [&](const std::shared_ptr<TFontCache>& c) { return c && c->Scale == Scale && c->Font == fFont; };
  if (matches(Cache)) return *Cache;
  // The fonts drawn with lately, the latest first: a plan uses a few, at
  // the scale of the view and of its measurements.
  constexpr size_t kMaxRecent = 16;
  static std::vector<std::shared_ptr<TFontCache>> recent;
  auto found = std::find_if(recent.begin(), recent.end(), matches);
  if (found != recent.end()) {
    std::rotate(recent.begin(), found, found + 1);
  } else {
    auto made = std::make_shared<TFontCache>();
    made->Font.Assign(&fFont);
    made->Scale = Scale;
    made->QtFont = fFont.ToQFont(Scale);
    made->Metrics.emplace(made->QtFont);
    if (recent.size() >= kMaxRecent) recent.pop_back();
    recent.insert(recent.begin(), std::move(made));
  }
  Cache = recent.front();
  return *Cache;
}

struct TShapedLines {
  std::unordered_map<QString, QList<QGlyphRun>> Runs;
};

namespace {
// The shaped lines of every font drawn lately, by the font's key, the
// device's resolution and the direction; bounded, since zooming makes a
// font per scale.
std::mutex gShapingMutex;

std::shared_ptr<TShapedLines> ShapingFor(const QFont& Font, const QPaintDevice* Device, Qt::LayoutDirection Direction) {
  static std::unordered_map<QString, std::shared_ptr<TShapedLines>> shapings;
  constexpr size_t kMaxFonts = 64;
  const QString key = Font.key() + QLatin1Char('|') + QString::number(Device ? Device->logicalDpiX() : 0) +
                      QLatin1Char('|') + QString::number(Device ? Device->logicalDpiY() : 0) + QLatin1Char('|') +
                      QString::number(int(Direction));
  std::shared_ptr<TShapedLines>& shaping = shapings[key];
  if (!shaping) {
    if (shapings.size() > kMaxFonts) {
      shapings.clear();
      return shapings[key] = std::make_shared<TShapedLines>();
    }
    shaping = std::make_shared<TShapedLines>();
  }
  return shaping;
}
}  // namespace

QList<QGlyphRun> TCanvas::TFontCache::GlyphRuns(const QString& Text, const QPainter& Painter) {
  constexpr size_t kMaxKept = 1024;
  std::lock_guard<std::mutex> lock(gShapingMutex);
  const QPaintDevice* device = Painter.device();
  const int dpiX = device ? device->logicalDpiX() : 0, dpiY = device ? device->logicalDpiY() : 0;
  if (!Shaped || dpiX != ShapedDpiX || dpiY != ShapedDpiY || Painter.layoutDirection() != ShapedDirection) {
    Shaped = ShapingFor(Painter.font(), device, Painter.layoutDirection());
    ShapedDpiX = dpiX;
    ShapedDpiY = dpiY;
    ShapedDirection = Painter.layoutDirection();
  }
  auto& runsOf = Shaped->Runs;
  auto it = runsOf.find(Text);
  if (it != runsOf.end()) return it->second;
  if (runsOf.size() >= kMaxKept) runsOf.clear();
  // Laid out as drawText lays out one line: the painter's font on its
  // device, in its direction.
  QTextLayout layout(Text, Painter.font(), Painter.device());
  QTextOption option;
  option.setTextDirection(Painter.layoutDirection());
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  QList<QGlyphRun> runs;
  if (line.isValid()) {
    runs = line.glyphRuns();
    const double ascent = line.ascent();
    for (QGlyphRun& run : runs) {
      QList<QPointF> positions = run.positions();
      for (QPointF& p : positions) p.ry() -= ascent;
      run.setPositions(positions);
    }
  }
  return runsOf.emplace(Text, std::move(runs)).first->second;
}

int TCanvas::TFontCache::Advance(const QString& Text) {
  // Bounded: a long text fitted character by character measures many heads.
  constexpr size_t kMaxKept = 4096;
  auto it = Advances.find(Text);
  if (it != Advances.end()) return it->second;
  if (Advances.size() >= kMaxKept) Advances.clear();
  int width = Metrics->horizontalAdvance(Text);
  Advances.emplace(Text, width);
  return width;
}

QFont TCanvas::DeviceFont() const { return FontAt(fDeviceFont, std::abs(ScaleFactor())).QtFont; }

TSize TCanvas::TextExtent(const QString& s) const {
  TFontCache& font = MeasureFont();
  int32_t w = font.Advance(s);
  int32_t h = font.Metrics->ascent() + font.Metrics->descent();
  return {w, h};
}

bool TCanvas::HasGlyph(QChar c) const { return MeasureFont().Metrics->inFont(c); }

namespace {
// Lines of text fewer than this many device pixels high cannot be read (a
// 14-pixel room label below about 35 %). With level of detail they are drawn
// as a light bar over the text's extent instead of glyphs that would merge
// into a smudge: shaping them costs more than the rest of a zoomed-out plan.
constexpr int kLegibleTextPixels = 6;
// The bar covers the middle half of the line in the text colour at this
// opacity, about the share of its box that small antialiased glyphs ink.
constexpr int kTextBarAlpha = 96;

void DrawTextBar(QPainter& Painter, int X, int Top, int Width, int LineHeight, TColor Ink) {
  const int h = std::max(1, LineHeight / 2);
  QColor color = ToQColor(Ink);
  color.setAlpha(kTextBarAlpha);
  Painter.fillRect(QRect(X, Top + (LineHeight - h) / 2, std::max(1, Width), h), color);
}
}  // namespace

void TCanvas::TextOut(int32_t x, int32_t y, const QString& s) {
  if (!fPainter || s.isEmpty()) return;
  QPainter& p = *fPainter;
  TFontCache& device = FontAt(fDeviceFont, std::abs(ScaleFactor()));
  const QFont& font = device.QtFont;
  const QFontMetrics& m = *device.Metrics;
  p.save();
  p.setFont(font);
  QPoint origin = Dev({x, y});
  p.translate(origin);
  if (fFont.Orientation() != 0) p.rotate(-fFont.Orientation() / 10.0);
  int w = device.Advance(s);
  int dx = 0;
  if ((fTextAlign & TA_CENTER) == TA_CENTER)
    dx = -w / 2;
  else if (fTextAlign & TA_RIGHT)
    dx = -w;
  int baseline = m.ascent();
  if ((fTextAlign & TA_BASELINE) == TA_BASELINE)
    baseline = 0;
  else if (fTextAlign & TA_BOTTOM)
    baseline = -m.descent();
  if (fBkMode == bkOpaque && fBrush.Style() == bsSolid)
    p.fillRect(QRect(dx, baseline - m.ascent(), w, m.ascent() + m.descent()), ToQColor(fBrush.Color()));
  if (Reduced() && m.ascent() + m.descent() < kLegibleTextPixels) {
    DrawTextBar(p, dx, baseline - m.ascent(), w, m.ascent() + m.descent(), fFont.Color());
  } else {
    p.setPen(ToQColor(fFont.Color()));
    p.drawText(QPoint(dx, baseline), s);
  }
  p.restore();
}

void TCanvas::TextRect(const TRect& r, int32_t x, int32_t y, const QString& s) {
  if (!fPainter) return;
  fPainter->save();
  TRect d = LPtoDP(r);
  fPainter->setClipRect(QRect(QPoint(d.Left, d.Top), QPoint(d.Right - 1, d.Bottom - 1)), Qt::IntersectClip);
  int align = fTextAlign;
  fTextAlign = TA_LEFT | TA_TOP;
  TextOut(x, y, s);
  fTextAlign = align;
  fPainter->restore();
}

namespace {
QStringList SplitLines(const QString& s, bool single) {
  if (single) {
    QString t = s;
    t.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return {t};
  }
  QStringList lines;
  QString cur;
  for (int i = 0; i < s.size(); ++i) {
    QChar c = s[i];
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
      lines << cur;
      cur.clear();
      if (i + 1 < s.size()) {
        QChar n = s[i + 1];
        if ((n == QLatin1Char('\r') || n == QLatin1Char('\n')) && n != c) ++i;
      }
    } else {
      cur += c;
    }
  }
  lines << cur;
  return lines;
}
}  // namespace

int32_t TCanvas::DrawText(const QString& s, TRect& Rect, int Flags) {
  bool single = Flags & DT_SINGLELINE;
  QStringList lines = SplitLines(s, single);
  if (Flags & DT_CALCRECT) {
    TFontCache& measure = MeasureFont();
    const QFontMetrics& m = *measure.Metrics;
    int32_t w = 0;
    for (const QString& l : lines) w = std::max<int32_t>(w, measure.Advance(l));
    int32_t h = int32_t(lines.size()) * (m.ascent() + m.descent());
    Rect.Right = Rect.Left + w;
    Rect.Bottom = Rect.Top + h;
    return h;
  }
  if (!fPainter) return 0;
  QPainter& p = *fPainter;
  TFontCache& device = FontAt(fDeviceFont, std::abs(ScaleFactor()));
  const QFont& font = device.QtFont;
  const QFontMetrics& m = *device.Metrics;
  TRect d = LPtoDP(Rect);
  QRect box(QPoint(d.Left, d.Top), QPoint(d.Right - 1, d.Bottom - 1));
  int lineH = m.ascent() + m.descent();
  int totalH = lineH * int(lines.size());
  int y = box.top();
  if (single && (Flags & DT_VCENTER))
    y = box.top() + (box.height() - totalH) / 2;
  else if (single && (Flags & DT_BOTTOM))
    y = box.top() + box.height() - totalH;
  // Every drawing call sets the pen and font it needs, so only a clip of
  // the text's own has to be undone afterwards.
  bool clipped = !(Flags & DT_NOCLIP);
  if (clipped) {
    p.save();
    p.setClipRect(box, Qt::IntersectClip);
  }
  const bool legible = lineH >= kLegibleTextPixels || !Reduced();
  if (legible) p.setFont(font);
  // Lines are shaped once per canvas and font and then drawn from their
  // glyphs, the same glyphs at the same places; decorations are left to
  // drawText.
  const bool shapedOnce = legible && !font.underline() && !font.strikeOut() && !font.overline() && p.paintEngine() &&
                          p.paintEngine()->type() == QPaintEngine::Raster;
  for (const QString& l : lines) {
    int w = device.Advance(l);
    int x = box.left();
    if (Flags & DT_CENTER)
      x = box.left() + (box.width() - w) / 2;
    else if (Flags & DT_RIGHT)
      x = box.left() + box.width() - w;
    if (fBkMode == bkOpaque && fBrush.Style() == bsSolid) p.fillRect(QRect(x, y, w, lineH), ToQColor(fBrush.Color()));
    if (!legible) {
      if (w > 0) DrawTextBar(p, x, y, w, lineH, fFont.Color());
    } else if (shapedOnce) {
      p.setPen(ToQColor(fFont.Color()));
      for (const QGlyphRun& run : device.GlyphRuns(l, p)) p.drawGlyphRun(QPointF(x, y + m.ascent()), run);
    } else {
      p.setPen(ToQColor(fFont.Color()));
      p.drawText(QPoint(x, y + m.ascent()), l);
    }
    y += lineH;
  }
  if (clipped) p.restore();
  return DPtoLP(TPoint(0, totalH)).Y - DPtoLP(TPoint(0, 0)).Y;
}

// ---------------------------------------------------------------------------
// Pictures

void TCanvas::Draw(int32_t x, int32_t y, const TGraphic& g) {
  if (g.Empty()) return;
  StretchDraw(TRect(x, y, x + g.Width(), y + g.Height()), g);
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic& g) {
  if (!fPainter || g.Empty()) return;
  g.Draw(*this, r);
}

namespace {
// Pictures are kept 24-bit, which the raster engine cannot copy onto a
// 32-bit surface: it converts every pixel at every paint. Converted copies
// of the pictures drawn lately are kept, within a fixed budget, so that a
// repaint copies pixels instead. Pictures drawn smaller than their size
// are kept the same way at that size, area-averaged once rather than
// filtered at every paint. A copy is found by the image's cache key, which
// any write to the image changes, and its size.
class TDisplayImages {
 public:
  static TDisplayImages& Instance() {
    static TDisplayImages images;
    return images;
  }

  const QImage& Get(const QImage& Image, QSize Size) {
    std::lock_guard<std::mutex> lock(fMutex);
    const TKey key{Image.cacheKey(), Size.width(), Size.height()};
    auto it = fEntries.find(key);
    if (it != fEntries.end()) {
      fUse.splice(fUse.begin(), fUse, it->second.Use);
      return it->second.Image;
    }
    QImage copy = Display(Image, Size);
    fBytes += copy.sizeInBytes();
    fUse.push_front(key);
    TEntry& entry = fEntries[key];
    entry.Image = std::move(copy);
    entry.Use = fUse.begin();
    while (fBytes > kBudget && fUse.size() > 1) Evict();
    return entry.Image;
  }

 private:
  static constexpr qsizetype kBudget = qsizetype(32) << 20;
  struct TKey {
    qint64 CacheKey;
    int Width, Height;
    bool operator==(const TKey&) const = default;
  };
  struct THash {
    size_t operator()(const TKey& k) const {
      return std::hash<qint64>()(k.CacheKey) ^ (size_t(k.Width) * 0x9E3779B1u) ^ (size_t(k.Height) << 20);
    }
  };
  struct TEntry {
    QImage Image;
    std::list<TKey>::iterator Use;
  };

  static QImage Display(const QImage& Image, QSize Size) {
    const bool alpha = Image.hasAlphaChannel();
    const QImage::Format format = alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (Size == Image.size()) return Image.convertToFormat(format);
    // Smooth scaling down averages the pixels each target pixel covers, so
    // thin lines fade instead of dropping out; up, it interpolates.
    return Image.convertToFormat(format)
        .scaled(Size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(format);
  }

  void Evict() {
    auto it = fEntries.find(fUse.back());
    fBytes -= it->second.Image.sizeInBytes();
    fEntries.erase(it);
    fUse.pop_back();
  }

  std::mutex fMutex;
  std::unordered_map<TKey, TEntry, THash> fEntries;
  std::list<TKey> fUse;  // most recent first
  qsizetype fBytes = 0;
};

// Pictures drawn no more than this many device pixels wide and high, with
// level of detail, come from a chain of halvings of the picture, each pixel
// the average of the (up to) four below it, built once per shared picture:
// at that size a door or a bed is a few dots whose colours the averages
// give, and no zoom step has to filter the picture anew.
constexpr int kTinyPicturePixels = 8;

class TMipChains {
 public:
  static TMipChains& Instance() {
    static TMipChains chains;
    return chains;
  }

  // The smallest level at least Size large (the picture's own size when
  // none is smaller).
  QImage Level(const QImage& Image, QSize Size) {
    std::lock_guard<std::mutex> lock(fMutex);
    auto it = fChains.find(Image.cacheKey());
    if (it == fChains.end()) {
      if (fChains.size() >= kMaxChains) fChains.clear();
      it = fChains.emplace(Image.cacheKey(), Build(Image)).first;
    }
    const std::vector<QImage>& levels = it->second;
    for (auto level = levels.rbegin(); level != levels.rend(); ++level)
      if (level->width() >= Size.width() && level->height() >= Size.height()) return *level;
    return levels.front();
  }

  static QImage Halved(const QImage& Image) {
    const int w = (Image.width() + 1) / 2, h = (Image.height() + 1) / 2;
    QImage half(w, h, Image.format());
    for (int y = 0; y < h; ++y) {
      const int y0 = 2 * y, y1 = std::min(2 * y + 1, Image.height() - 1);
      const auto* a = reinterpret_cast<const uint32_t*>(Image.constScanLine(y0));
      const auto* b = reinterpret_cast<const uint32_t*>(Image.constScanLine(y1));
      auto* out = reinterpret_cast<uint32_t*>(half.scanLine(y));
      for (int x = 0; x < w; ++x) {
        const int x0 = 2 * x, x1 = std::min(2 * x + 1, Image.width() - 1);
        const uint32_t px[4] = {a[x0], a[x1], b[x0], b[x1]};
        uint32_t result = 0;
        for (int shift = 0; shift < 32; shift += 8) {
          uint32_t sum = 0;
          for (uint32_t p : px) sum += (p >> shift) & 0xFF;
          result |= ((sum + 2) / 4) << shift;
        }
        out[x] = result;
      }
    }
    return half;
  }

 private:
  static constexpr size_t kMaxChains = 4096;

  static std::vector<QImage> Build(const QImage& Image) {
    const QImage::Format format = Image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    std::vector<QImage> levels{Image.convertToFormat(format)};
    while (levels.back().width() > 1 || levels.back().height() > 1) levels.push_back(Halved(levels.back()));
    return levels;
  }

  std::mutex fMutex;
  std::unordered_map<qint64, std::vector<QImage>> fChains;
};

bool NeedsConversion(const QImage& Image) {
  return Image.format() == QImage::Format_BGR888 || Image.format() == QImage::Format_RGB888;
}
}  // namespace

QRect TCanvas::ImageTarget(const TRect& r) const {
  TRect d = LPtoDP(r);
  return QRect(QPoint(std::min(d.Left, d.Right), std::min(d.Top, d.Bottom)),
               QPoint(std::max(d.Left, d.Right) - 1, std::max(d.Top, d.Bottom) - 1));
}

void TCanvas::DrawImage(const TRect& r, const QImage& img) {
  if (!fPainter || img.isNull()) return;
  QRect target = ImageTarget(r);
  if (target.isEmpty()) return;
  const bool raster = fPainter->paintEngine() && fPainter->paintEngine()->type() == QPaintEngine::Raster;
  // A PDF, SVG or printer keeps the picture's own pixels, losslessly, and
  // scales it at the output's resolution.
  if (!raster) {
    fPainter->drawImage(target, img);
    return;
  }
  // A few pixels large on a shrunk view: from the nearest halving at least
  // as large, picked without filtering.
  if (target.width() <= kTinyPicturePixels && target.height() <= kTinyPicturePixels && Reduced() &&
      (target.width() < img.width() || target.height() < img.height())) {
    const QImage level = TMipChains::Instance().Level(img, target.size());
    if (level.size() == target.size())
      fPainter->drawImage(target.topLeft(), level);
    else
      fPainter->drawImage(target, level);
    return;
  }
  // At its own size an image is copied, not scaled: the same pixels, and
  // far less work for the engine.
  if (target.size() == img.size()) {
    fPainter->drawImage(target.topLeft(), NeedsConversion(img) ? TDisplayImages::Instance().Get(img, img.size()) : img);
    return;
  }
  // Scaled, it is drawn from a filtered copy at the target size: smaller,
  // area-averaged; larger (zoomed in, a denser screen), interpolated. A
  // repaint then copies pixels as at the picture's own size.
  constexpr qint64 kCopiedPixels = qint64(1) << 18;
  const bool smaller = target.width() <= img.width() && target.height() <= img.height();
  if (smaller || qint64(target.width()) * target.height() <= kCopiedPixels) {
    fPainter->drawImage(target.topLeft(), TDisplayImages::Instance().Get(img, target.size()));
    return;
  }
  // Much larger, it is filtered as it is drawn, over the clipped part only.
  fPainter->save();
  fPainter->setRenderHint(QPainter::SmoothPixmapTransform, true);
  fPainter->drawImage(target, img);
  fPainter->restore();
}

// ---------------------------------------------------------------------------
// Regions

QRegion PolygonRegion(const TPoints& Points, Qt::FillRule Rule) {
  QPolygon poly(int(Points.size()));
  for (size_t i = 0; i < Points.size(); ++i) poly[int(i)] = QPoint(Points[i].X, Points[i].Y);
  return QRegion(poly, Rule);
}

QRegion EllipticRegion(const TRect& r) {
  if (r.IsEmpty()) return {};
  return QRegion(QRect(r.Left, r.Top, r.Width(), r.Height()), QRegion::Ellipse);
}

QRegion RoundRectRegion(const TRect& r, int32_t cw, int32_t ch) {
  if (r.IsEmpty()) return {};
  QPainterPath path;
  path.addRoundedRect(QRectF(r.Left, r.Top, r.Width(), r.Height()), cw / 2.0, ch / 2.0);
  return QRegion(path.toFillPolygon().toPolygon(), Qt::WindingFill);
}

bool RegionContains(const QRegion& r, TPoint p) { return r.contains(QPoint(p.X, p.Y)); }

bool RegionTouchesRect(const QRegion& r, const TRect& rect) {
  QRect q(QPoint(std::min(rect.Left, rect.Right), std::min(rect.Top, rect.Bottom)),
          QPoint(std::max(rect.Left, rect.Right), std::max(rect.Top, rect.Bottom)));
  return r.intersects(q);
}
