// A drawing surface over QPainter with pixel-exact, aliased output and a
// window-to-viewport mapping: logical (graph) coordinates are mapped to
// device pixels with integer rounding before anything is drawn, so what is
// drawn and what is hit-tested agree at every zoom. Text is antialiased
// (unless its font asks otherwise); pictures are filtered when scaled.
#pragma once

#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <memory>
#include <optional>
#include <unordered_map>

#include "GraphicsObjects.h"
#include "Types.h"

class TGraphic;
class TStrokeCache;
struct TShapedLines;

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;
  friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

// Draw-text flags.
enum : int {
  DT_LEFT = 0x0000,
  DT_CENTER = 0x0001,
  DT_RIGHT = 0x0002,
  DT_VCENTER = 0x0004,
  DT_BOTTOM = 0x0008,
  DT_WORDBREAK = 0x0010,
  DT_SINGLELINE = 0x0020,
  DT_NOCLIP = 0x0100,
  DT_CALCRECT = 0x0400,
  DT_NOPREFIX = 0x0800,
  DT_EDITCONTROL = 0x2000,
  DT_RTLREADING = 0x20000,
};
// Text alignment of TextOut's reference point.
enum : int { TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24 };
enum TBkMode { bkTransparent = 1, bkOpaque = 2 };
// Copy modes used by the program.
enum : int32_t { cmSrcCopy = 0x00CC0020 };

enum class TCanvasKind { Raster, Metafile, Printer };

class TCanvas {
 public:
  // A canvas without a device: drawing does nothing until Begin is called.
  TCanvas();
  // Draws on Device for the canvas' lifetime.
  explicit TCanvas(QPaintDevice* Device, TCanvasKind Kind = TCanvasKind::Raster);
  virtual ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  void Begin(QPaintDevice* Device, TCanvasKind Kind = TCanvasKind::Raster);
  void End();
  bool HandleAllocated() const { return fPainter != nullptr; }
  QPainter* Painter() const { return fPainter.get(); }
  QPaintDevice* Device() const { return fDevice; }
  TCanvasKind Kind() const { return fKind; }
  bool IsMetafile() const { return fKind == TCanvasKind::Metafile; }

  TPen& Pen() { return fPen; }
  TBrush& Brush() { return fBrush; }
  TFont& Font() { return fFont; }
  const TPen& Pen() const { return fPen; }
  const TBrush& Brush() const { return fBrush; }
  const TFont& Font() const { return fFont; }
  void SetPen(const TPen& v) { fPen.AssignPen(v); }
  void SetBrush(const TBrush& v) { fBrush.AssignBrush(v); }
  void SetFont(const TFont& v) { fFont.AssignFont(v); }

  int32_t CopyMode() const { return fCopyMode; }
  void SetCopyMode(int32_t v) { fCopyMode = v; }
  int32_t TextFlags() const { return fTextFlags; }
  void SetTextFlags(int32_t v) { fTextFlags = v; }
  int TextAlign() const { return fTextAlign; }
  void SetTextAlign(int v) { fTextAlign = v; }
  TBkMode BkMode() const { return fBkMode; }
  void SetBkMode(TBkMode v) { fBkMode = v; }
  void Lock() {}
  void Unlock() {}
  // Device pixels per screen pixel (a high-density screen's 2, say): the
  // mapping already holds it; hairlines keep the width in device pixels
  // they have at ratio 1 instead of growing with it.
  double PixelRatio() const { return fPixelRatio; }
  void SetPixelRatio(double v) { fPixelRatio = v > 0 ? v : 1.0; }
  // Level of detail: a raster canvas drawing below one device pixel per
  // logical unit may draw what the eye cannot resolve more cheaply (see
  // Reduced). At one device pixel per unit or more nothing changes.
  bool LevelOfDetail() const { return fLevelOfDetail; }
  void SetLevelOfDetail(bool v) { fLevelOfDetail = v; }
  // Whether level of detail applies to what is drawn now: on, a screen
  // canvas (not a recording or a printer), and the mapping shrinking.
  bool Reduced() const;

  // Mapping: device = (logical - WindowOrg) * ViewportExt / WindowExt + ViewportOrg.
  TSize WindowExt() const { return fWindowExt; }
  TSize ViewportExt() const { return fViewportExt; }
  TPoint ViewportOrg() const { return fViewportOrg; }
  TPoint WindowOrg() const { return fWindowOrg; }
  void SetWindowExt(TSize v) { fWindowExt = v; }
  void SetViewportExt(TSize v) { fViewportExt = v; }
  void SetViewportOrg(TPoint v) { fViewportOrg = v; }
  void SetWindowOrg(TPoint v) { fWindowOrg = v; }
  // Identity mapping.
  void ResetMapping();
  // Saves / restores mapping, clip and drawing attributes.
  void SaveState();
  void RestoreState();

  TPoint LPtoDP(TPoint p) const;
  TPoint DPtoLP(TPoint p) const;
  TRect LPtoDP(const TRect& r) const;
  TRect DPtoLP(const TRect& r) const;
  // A logical length along x in device pixels.
  int32_t ScaleX(int32_t len) const;
  double ScaleFactor() const;

  // Clipping, in device pixels. The clip region is intersected with the
  // device's own rectangle.
  void SetDeviceClipRect(const QRect& r);
  void SelectClipRegion(const QRegion* DeviceRegion);  // nullptr removes it
  bool HasClipRegion() const { return fHasClipRegion; }
  const QRegion& ClipRegion() const { return fClipRegion; }
  QRect DeviceClipBox() const;
  // The clip box in logical coordinates.
  TRect ClipRect() const;
  bool RectVisible(const TRect& LogicalRect) const;

  // Shapes, GDI style: the outline lies inside Left..Right-1, Top..Bottom-1.
  void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t cw, int32_t ch);
  void Polygon(const TPoint* Points, int Count);
  void Polygon(const TPoints& p) { Polygon(p.data(), int(p.size())); }
  // With a Cache, a wide solid line is filled from what the cache kept of
  // its last drawing of the same shape.
  void Polyline(const TPoint* Points, int Count, TStrokeCache* Cache = nullptr);
  void Polyline(const TPoints& p, TStrokeCache* Cache = nullptr) { Polyline(p.data(), int(p.size()), Cache); }
  void MoveTo(int32_t x, int32_t y) { fPenPos = {x, y}; }
  void LineTo(int32_t x, int32_t y);
  TPoint PenPos() const { return fPenPos; }
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  // Fills a device region with the brush.
  void FillRegion(const QRegion& DeviceRegion);
  void SetPixel(int32_t x, int32_t y, TColor c);
  // Many single device pixels at logical points, one colour.
  void SetPixels(const TPoints& LogicalPoints, TColor c);
  // One device pixel at every crossing of the given device columns and
  // rows (sorted ascending), within the clip.
  void SetDevicePixelGrid(const std::vector<int32_t>& Xs, const std::vector<int32_t>& Ys, TColor c);

  // Text. Extents are in logical units of the current mapping.
  TSize TextExtent(const QString& s) const;
  int32_t TextWidth(const QString& s) const { return TextExtent(s).cx; }
  int32_t TextHeight(const QString& s) const { return TextExtent(s).cy; }
  // Draws at the reference point given by TextAlign, rotated by the font's
  // orientation.
  void TextOut(int32_t x, int32_t y, const QString& s);
  void TextRect(const TRect& r, int32_t x, int32_t y, const QString& s);
  // Multi-line text in a rectangle; with DT_CALCRECT only measures and sets
  // Rect's right and bottom. Answers the text height.
  int32_t DrawText(const QString& s, TRect& Rect, int Flags);
  // Whether the font has a glyph for the character.
  bool HasGlyph(QChar c) const;

  // Pictures.
  void Draw(int32_t x, int32_t y, const TGraphic& g);
  void StretchDraw(const TRect& r, const TGraphic& g);
  // Draws an image stretched into a logical rectangle.
  void DrawImage(const TRect& r, const QImage& img);
  // The device pixels DrawImage covers for a logical rectangle.
  QRect ImageTarget(const TRect& r) const;

 protected:
  struct State;
  void ApplyPen(QPainter& p, bool forLine) const;
  void ApplyBrush(QPainter& p) const;
  bool ApplyRasterOp(QPainter& p) const;
  void ApplyClip(QPainter& p) const;
  int32_t DevicePenWidth() const;
  bool StepsOutline(const QPainter& p) const;
  QPoint Dev(TPoint p) const;
  QFont DeviceFont() const;

  // The Qt font and metrics made from the canvas font at one scale, shared
  // by the canvases of the process that draw with the same font lately
  // (a repaint makes a canvas of its own): building them for every text
  // measured or drawn costs more than the text itself.
  // Plans repeat the same few captions, so their widths are kept too.
  struct TFontCache {
    TFont Font;
    double Scale = 0;
    QFont QtFont;
    std::optional<QFontMetrics> Metrics;
    std::unordered_map<QString, int> Advances;
    // Lines shaped in this font, their baseline at y 0, shared by every
    // canvas drawing with it on a like device: shaping costs more than
    // drawing the glyphs, and a repaint makes a canvas of its own.
    std::shared_ptr<TShapedLines> Shaped;
    // The device resolution and direction Shaped was shaped for.
    int ShapedDpiX = 0, ShapedDpiY = 0;
    Qt::LayoutDirection ShapedDirection = Qt::LeftToRight;
    int Advance(const QString& Text);
    QList<QGlyphRun> GlyphRuns(const QString& Text, const QPainter& Painter);
  };
  TFontCache& FontAt(std::shared_ptr<TFontCache>& Cache, double Scale) const;
  TFontCache& MeasureFont() const { return FontAt(fMeasureFont, 1.0); }

 private:
  QPaintDevice* fDevice = nullptr;
  std::unique_ptr<QPainter> fPainter;
  TCanvasKind fKind = TCanvasKind::Raster;
  TPen fPen;
  TBrush fBrush;
  TFont fFont;
  int32_t fCopyMode = cmSrcCopy;
  int32_t fTextFlags = 0;
  int fTextAlign = TA_LEFT | TA_TOP;
  TBkMode fBkMode = bkOpaque;
  double fPixelRatio = 1.0;
  bool fLevelOfDetail = false;
  TPoint fPenPos;
  TSize fWindowExt{1, 1};
  TSize fViewportExt{1, 1};
  TPoint fViewportOrg;
  TPoint fWindowOrg;
  QRect fDeviceRect;
  QRegion fClipRegion;
  bool fHasClipRegion = false;
  std::vector<std::unique_ptr<State>> fSaved;
  mutable std::shared_ptr<TFontCache> fMeasureFont;  // scale 1: logical units
  mutable std::shared_ptr<TFontCache> fDeviceFont;   // the current mapping's scale
};

// Region helpers (regions are device or graph pixel sets).
QRegion PolygonRegion(const TPoints& Points, Qt::FillRule Rule);
QRegion EllipticRegion(const TRect& r);
QRegion RoundRectRegion(const TRect& r, int32_t cw, int32_t ch);
bool RegionContains(const QRegion& r, TPoint p);
bool RegionTouchesRect(const QRegion& r, const TRect& rect);
