#include "PlanUnits.h"

#include <cmath>

#include "Geometry.h"
#include "GraphLink.h"
#include "GraphNode.h"
#include "IntMath.h"

QString MetresNumber(double Pixels) {
  // Whole centimetres first, so that the text never shows "-0.00" or a
  // rounding of the rounding.
  int64_t cm = Round64(Pixels * CentimetresPerPixel);
  const char* sign = cm < 0 ? "-" : "";
  int64_t magnitude = cm < 0 ? -cm : cm;
  return QString::asprintf("%s%lld.%02lld", sign, static_cast<long long>(magnitude / 100),
                           static_cast<long long>(magnitude % 100));
}

QString LengthText(double Pixels) { return MetresNumber(Pixels) + QStringLiteral(" m"); }

QString SizeText(int32_t Width, int32_t Height) {
  return MetresNumber(Width) + QStringLiteral(" × ") + MetresNumber(Height) + QStringLiteral(" m");
}

int32_t PixelsOfMetres(const QString& Metres) {
  bool ok = false;
  double metres = Metres.toDouble(&ok);
  if (!ok || !(metres > 0) || metres > 1e6) return -1;
  return Round(metres * PixelsPerMetre);
}

double PolylineLength(const TPoints& Points) {
  double length = 0;
  for (size_t i = 1; i < Points.size(); ++i) length += PointDistance(Points[i - 1], Points[i]);
  return length;
}

bool EditedSegment(const TGraphLink& Link, int MovingPoint, TPoint& Anchor, TPoint& Moving) {
  if (MovingPoint < 0 || MovingPoint >= Link.PointCount() || Link.PointCount() < 2) return false;
  Anchor = Link.PointAt(MovingPoint > 0 ? MovingPoint - 1 : 1);
  Moving = Link.PointAt(MovingPoint);
  return true;
}

int SegmentDegrees(const TPoint& From, const TPoint& To) {
  if (From == To) return 0;
  // The plan's y axis points down; the eye's angle turns the other way.
  double degrees = std::atan2(double(From.Y) - To.Y, double(To.X) - From.X) * 180.0 / Pi;
  int whole = Round(degrees);
  return ((whole % 360) + 360) % 360;
}

QString DragMeasureText(const TGraphObject& Object, THitCode HitCode) {
  if (const auto* link = dynamic_cast<const TGraphLink*>(&Object)) {
    TPoint anchor, moving;
    if (link->ChangeMode() != lcmMovePoint || !EditedSegment(*link, link->MovingPoint(), anchor, moving)) return {};
    return LengthText(PointDistance(anchor, moving)) + QStringLiteral("  %1°").arg(SegmentDegrees(anchor, moving));
  }
  const auto* node = dynamic_cast<const TGraphNode*>(&Object);
  constexpr THitCode handles = htLeftHandle | htTopHandle | htRightHandle | htBottomHandle | htTopLeftHandle |
                               htTopRightHandle | htBottomLeftHandle | htBottomRightHandle;
  if (!node || !(HitCode & handles)) return {};
  return SizeText(node->Width(), node->Height());
}
