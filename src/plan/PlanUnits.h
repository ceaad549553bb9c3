// The plan's scale and the texts that give lengths in metres: one plan
// pixel is 2 cm. Lengths are rounded to the centimetre before they show.
#pragma once

#include <QString>

#include "GraphTypes.h"

class TGraphEditor;
class TGraphLink;
class TGraphObject;

constexpr int CentimetresPerPixel = 2;
constexpr int PixelsPerMetre = 100 / CentimetresPerPixel;

// "3.60": a length in pixels as metres with two decimals.
QString MetresNumber(double Pixels);
// "3.60 m".
QString LengthText(double Pixels);
// "1.00 × 2.00 m".
QString SizeText(int32_t Width, int32_t Height);
// The pixels of a length typed in metres ("2.5" is 125); negative when
// the text is no positive length.
int32_t PixelsOfMetres(const QString& Metres);

// The length of a polyline, in pixels.
double PolylineLength(const TPoints& Points);
// The segment a dragged link point shapes: from the point before it (the
// one after it for the first point) to the point itself. False when the
// link has no such segment.
bool EditedSegment(const TGraphLink& Link, int MovingPoint, TPoint& Anchor, TPoint& Moving);
// Degrees from the plan's x axis, counter-clockwise as the eye sees it,
// 0 up to 359.
int SegmentDegrees(const TPoint& From, const TPoint& To);

// What the live measure shows for the drag of Object by HitCode: the
// edited segment's length and angle, or a resized node's size; empty for
// a plain move.
QString DragMeasureText(const TGraphObject& Object, THitCode HitCode);
