// How a link looks and where it is: end shapes, drawing, the caption laid
// along a segment, the painted rectangle and the hit tests.
#include <cmath>

#include "Canvas.h"
#include "Geometry.h"
#include "GraphEditor.h"
#include "GraphLink.h"
#include "IntMath.h"

namespace {
constexpr double kArrowSpread = Pi / 9;        // 20 degrees each side
constexpr double kSimpleArrowSpread = Pi / 6;  // 30 degrees each side
const QString kEllipsis = QStringLiteral("...");

TRect Grow(const TRect& R, int32_t By) { return {R.Left - By, R.Top - By, R.Right + By, R.Bottom + By}; }

TRect RegionBounds(const QRegion& Region) {
  QRect r = Region.boundingRect();
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// Closed-interval test: a crossing on the right or bottom line of a band
// still lies on the band's border.
bool OnOrInside(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}

// The first Length UTF-16 units of Text, not splitting a surrogate pair.
QString Head(const QString& Text, int Length) {
  if (Length > 0 && Length < Text.size() && Text[Length].isLowSurrogate()) --Length;
  return Text.left(Length);
}

// Text shortened to Width with a trailing ellipsis, as the text-rectangle
// calculation with end ellipsis does; the longest head that still fits.
QString ElideEnd(const TCanvas& Canvas, const QString& Text, int32_t Width) {
  if (Canvas.TextWidth(Text) <= Width) return Text;
  int low = 0, high = int(Text.size()) - 1;  // a fitting head length lies in [low, high]
  if (Canvas.TextWidth(kEllipsis) > Width) high = -1;
  while (low < high) {
    int mid = (low + high + 1) / 2;
    if (Canvas.TextWidth(Head(Text, mid) + kEllipsis) <= Width)
      low = mid;
    else
      high = mid - 1;
  }
  if (high < 0) {
    // Not even the ellipsis fits: as much of it as does.
    QString mark = kEllipsis;
    while (!mark.isEmpty() && Canvas.TextWidth(mark) > Width) mark.chop(1);
    return mark;
  }
  return Head(Text, low) + kEllipsis;
}

// A caption is one line; line ends show as blanks.
QString SingleLine(QString Text) {
  Text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  Text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
  return Text;
}

// The caption is never drawn upside down.
double UprightAngle(double Angle) { return std::fabs(Angle) <= Pi / 2 ? Angle : Angle - Pi; }
}  // namespace

// ---------------------------------------------------------------------------
// End shapes

int32_t TGraphLink::EndStyleExtent(TLinkBeginEndStyle Style, int Size) const {
  int32_t width = fPen.Width();
  switch (Style) {
    case lsArrow:
    case lsArrowSimple: return 2 * (Size + width);
    case lsCircle:
    case lsDiamond: return Div(Size + width + 1, 2);
    case lsNone: break;
  }
  return 0;
}

TPoints TGraphLink::EndShape(const TPoint& Pt, TLinkBeginEndStyle Style, int Size, double Angle,
                             TPoint& LineEnd) const {
  int32_t d = EndStyleExtent(Style, Size);
  auto back = [&](double a, double distance) { return PointBackAlong(Pt, a, distance); };
  LineEnd = Pt;
  switch (Style) {
    case lsArrow: {
      TPoint notch = back(Angle, MulDiv(d, 6, 10));
      LineEnd = notch;
      return {Pt, back(Angle + kArrowSpread, d), notch, back(Angle - kArrowSpread, d)};
    }
    case lsArrowSimple: return {back(Angle + kSimpleArrowSpread, d), Pt, back(Angle - kSimpleArrowSpread, d)};
    case lsCircle: LineEnd = back(Angle, d); return {};
    case lsDiamond:
      LineEnd = back(Angle, d);
      return {back(Angle, d), back(Angle + Pi / 2, d), back(Angle, -d), back(Angle - Pi / 2, d)};
    case lsNone: break;
  }
  return {};
}

void TGraphLink::EndStyleBounds(const TPoint& Pt, TLinkBeginEndStyle Style, TRect& Rect, int Size, double Angle) const {
  int32_t d = EndStyleExtent(Style, Size);
  auto back = [&](double a) { return PointBackAlong(Pt, a, d); };
  switch (Style) {
    case lsArrow: Rect = PointListBounds(TPoints{Pt, back(Angle + kArrowSpread), back(Angle - kArrowSpread)}); break;
    case lsArrowSimple:
      Rect = PointListBounds(TPoints{back(Angle + kSimpleArrowSpread), Pt, back(Angle - kSimpleArrowSpread)});
      break;
    case lsCircle:
    case lsDiamond: Rect = SquareAround(Pt, d); break;
    case lsNone: Rect = SquareAround(Pt, 1); break;
  }
  if (fPen.Style() != psInsideFrame) Rect = Grow(Rect, Div(fPen.Width(), 2) + 1);
}

void TGraphLink::DrawEndStyle(TCanvas& Canvas, const TPoint& Pt, TPoint& LineEnd, int Size, TLinkBeginEndStyle Style,
                              double Angle) const {
  TPoints shape = EndShape(Pt, Style, Size, Angle, LineEnd);
  int32_t d = EndStyleExtent(Style, Size);
  switch (Style) {
    case lsArrow:
    case lsDiamond: Canvas.Polygon(shape); break;
    case lsArrowSimple: Canvas.Polyline(shape); break;
    case lsCircle: Canvas.Ellipse(Pt.X - d, Pt.Y - d, Pt.X + d, Pt.Y + d); break;
    case lsNone: break;
  }
}

// ---------------------------------------------------------------------------
// Drawing

void TGraphLink::DrawBody(TCanvas& Canvas) const {
  if (fPointCount == 0) return;
  if (fPointCount == 1) {
    // A filled dot as wide as the pen.
    for (TRect r = SquareAround(fPoints[0], Div(fPen.Width(), 2)); !r.IsEmpty(); r = Grow(r, -1))
      Canvas.Ellipse(r.Left, r.Top, r.Right, r.Bottom);
    return;
  }
  if (fBeginStyle == lsNone && fEndStyle == lsNone) return DrawLine(Canvas, fPoints);
  // The ends come first, filled with the brush; the line stops where they say.
  TPoints line = fPoints;
  const size_t last = line.size() - 1;
  TPenStyle style = Canvas.Pen().Style();
  Canvas.Pen().SetStyle(psSolid);
  DrawEndStyle(Canvas, fPoints[0], line[0], fBeginSize, fBeginStyle, DirectionAngle(fPoints[1], fPoints[0]));
  DrawEndStyle(Canvas, fPoints[last], line[last], fEndSize, fEndStyle,
               DirectionAngle(fPoints[last - 1], fPoints[last]));
  Canvas.Pen().SetStyle(style);
  DrawLine(Canvas, line);
}

void TGraphLink::DrawLine(TCanvas& Canvas, const TPoints& Line) const {
  TBrushStyle brush = Canvas.Brush().Style();
  Canvas.Brush().SetStyle(bsClear);
  Canvas.Polyline(Line, &fStrokeCache);
  Canvas.Brush().SetStyle(brush);
}

void TGraphLink::DrawCaption(TCanvas& Canvas) const {
  if (!fHasTextRegion) return;
  TFont saved;
  saved.Assign(&Canvas.Font());
  TFont turned;
  turned.Assign(&Canvas.Font());
  turned.SetOrientation(Round(UprightAngle(fTextAngle) * -1800 / Pi));
  turned.SetQuality(fqProof);
  Canvas.SetFont(turned);
  TBkMode mode = Canvas.BkMode();
  int align = Canvas.TextAlign();
  int32_t flags = Canvas.TextFlags();
  Canvas.SetBkMode(bkTransparent);
  Canvas.SetTextAlign(TA_BOTTOM | TA_CENTER);
  if (fOwner->UseRightToLeftReading()) Canvas.SetTextFlags(flags | DT_RTLREADING);
  Canvas.TextOut(fTextCenter.X, fTextCenter.Y, fTextToShow);
  Canvas.SetTextFlags(flags);
  Canvas.SetTextAlign(align);
  Canvas.SetBkMode(mode);
  Canvas.SetFont(saved);
}

void TGraphLink::DrawMarkers(TCanvas& Canvas) const {
  if (fPointCount == 0) return;
  bool locked = fOwner->LockLinks();
  DrawMarker(Canvas, fPoints[0], !locked && !(fLinkOptions & gloFixedStartPoint));
  for (int i = 1; i < fPointCount - 1; ++i)
    DrawMarker(Canvas, fPoints[size_t(i)], !locked && !(fLinkOptions & gloFixedBreakPoints));
  DrawMarker(Canvas, fPoints.back(), !locked && !(fLinkOptions & gloFixedEndPoint));
}

void TGraphLink::DrawDragOutline(TCanvas& Canvas) const {
  if (fPointCount == 0) return;
  if (fPointCount == 1) {
    TRect r = SquareAround(fPoints[0], Canvas.Pen().Width());
    Canvas.Ellipse(r.Left, r.Top, r.Right, r.Bottom);
    return;
  }
  if (fMovingPoint < 0 || fMovingPoint >= fPointCount) {
    Canvas.Polyline(fPoints);
    return;
  }
  int first = std::max(fMovingPoint - 1, 0);
  int last = std::min(fMovingPoint + 1, fPointCount - 1);
  Canvas.Polyline(fPoints.data() + first, last - first + 1);
}

// ---------------------------------------------------------------------------
// Caption layout

bool TGraphLink::BuildTextRegion(QRegion& Region) {
  fTextToShow.clear();
  if (fText.isEmpty() || fPointCount < 2) return false;
  fTextLine = fTextPosition;
  if (fTextLine < 0 || fTextLine >= fPointCount - 1) fTextLine = LongestSegment();
  int32_t margin = 0;
  if (fTextLine == 0)
    margin = EndStyleExtent(fBeginStyle, fBeginSize);
  else if (fTextLine == fPointCount - 2)
    margin = EndStyleExtent(fEndStyle, fEndSize);
  TPoint a = fPoints[size_t(fTextLine)];
  TPoint b = fPoints[size_t(fTextLine) + 1];
  fTextCenter = AveragePoint(a, b);
  fTextAngle = DirectionAngle(a, b);
  double room = std::trunc(PointDistance(a, b)) - fPen.Width() - margin;
  if (room <= 0) return false;

  TCanvas& canvas = fOwner->MeasureCanvas();
  canvas.SetFont(fFont);
  QString shown = ElideEnd(canvas, SingleLine(fText.trimmed()), int32_t(std::min<double>(room, MaxInt)));
  if (shown.isEmpty()) return false;
  fTextToShow = shown;
  TSize extent = canvas.TextExtent(shown);

  // Off the line, on the side that is above it for a reader of the upright
  // text, then back along the segment by half the end-shape margin.
  int32_t gap = fTextSpacing + Div(fPen.Width() + 1, 2);
  bool upright = std::fabs(fTextAngle) <= Pi / 2;
  fTextCenter = PointBackAlong(fTextCenter, fTextAngle - Pi / 2, upright ? -gap : gap);
  fTextCenter = PointBackAlong(fTextCenter, fTextAngle, Div(margin, 2));

  TRect r{0, 0, extent.cx, extent.cy};
  r = r.Offset(fTextCenter.X - Div(r.Right, 2), fTextCenter.Y - r.Bottom);
  TPoints corners{{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}};
  TurnPoints(corners, fTextCenter, UprightAngle(fTextAngle));
  Region = PolygonRegion(corners, Qt::OddEvenFill);
  return true;
}

bool TGraphLink::PlaceText(bool Recalc, int32_t DX, int32_t DY) {
  if (Recalc) {
    QRegion region;
    fHasTextRegion = BuildTextRegion(region);
    fTextRegion = fHasTextRegion ? region : QRegion();
    return true;
  }
  if (!fHasTextRegion) return false;
  fTextCenter = fTextCenter + TPoint(DX, DY);
  fTextRegion.translate(DX, DY);
  return true;
}

// ---------------------------------------------------------------------------
// Extent and hit tests

void TGraphLink::ComputeVisualRect(TRect& Rect) const {
  if (fPointCount == 0) {
    Rect = InvertedRect;
    return;
  }
  Rect = Grow(PointListBounds(fPoints), Div(fPen.Width(), 2) + 1);
  if (fPointCount >= 2) {
    const size_t last = fPoints.size() - 1;
    TRect shape;
    if (fBeginStyle != lsNone) {
      EndStyleBounds(fPoints[0], fBeginStyle, shape, fBeginSize, DirectionAngle(fPoints[1], fPoints[0]));
      ExtendRect(Rect, shape);
    }
    if (fEndStyle != lsNone) {
      EndStyleBounds(fPoints[last], fEndStyle, shape, fEndSize, DirectionAngle(fPoints[last - 1], fPoints[last]));
      ExtendRect(Rect, shape);
    }
  }
  if (CaptionShown()) ExtendRect(Rect, RegionBounds(fTextRegion));
}

THitCode TGraphLink::LocateHit(const TPoint& Pt) const {
  int32_t radius = MarkerRadius();
  for (int i = fPointCount - 1; i >= 0; --i) {
    if (!SquareAround(fPoints[size_t(i)], radius).Contains(Pt)) continue;
    return fSelected ? (THitCode(i) << 16) | htLinkPoint : htBody;
  }
  for (int i = 0; i + 1 < fPointCount; ++i) {
    if (SegmentDistance(fPoints[size_t(i)], fPoints[size_t(i) + 1], Pt) > radius) continue;
    return fSelected ? (THitCode(i) << 16) | htLinkSegment | htBody : htBody;
  }
  if (CaptionShown() && RegionContains(fTextRegion, Pt)) return htBody | htCaption;
  return htNone;
}

bool TGraphLink::ContainsRect(const TRect& Rect) const {
  if (!TGraphObject::ContainsRect(Rect)) return false;
  if (CaptionShown() && RegionTouchesRect(fTextRegion, Rect)) return true;
  for (int i = 0; i < fPointCount; ++i)
    if (Rect.Contains(PointAt(i))) return true;
  // The polyline crossing one of the band's edge lines within the band.
  const TPoint topLeft = Rect.TopLeft(), bottomRight = Rect.BottomRight();
  const struct {
    TPoint Through;
    double Angle;
  } lines[] = {{topLeft, 0}, {topLeft, Pi / 2}, {bottomRight, 0}, {bottomRight, Pi / 2}};
  for (const auto& line : lines)
    for (const TPoint& crossing : CrossLinePolyline(line.Through, line.Angle, fPoints))
      if (OnOrInside(Rect, crossing)) return true;
  return false;
}
