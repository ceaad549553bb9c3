// Enumerations, sets and codes shared by the graph objects and the control.
// Sets are bit masks: bit n stands for the n-th value of the enumeration.
#pragma once

#include <cstdint>

#include "Persistent.h"
#include "Types.h"

using TGraphObjectStates = uint16_t;
enum TGraphObjectState : TGraphObjectStates {
  osCreating = 1 << 0,
  osDestroying = 1 << 1,
  osLoading = 1 << 2,
  osReading = 1 << 3,
  osWriting = 1 << 4,
  osUpdating = 1 << 5,
  osDragging = 1 << 6,
  osDragDisabled = 1 << 7,
  osConverting = 1 << 8,
};

using TGraphChangeFlags = uint8_t;
enum TGraphChangeFlag : TGraphChangeFlags {
  gcView = 0x01,
  gcData = 0x02,
  gcText = 0x04,
  gcPlacement = 0x08,
  gcDependency = 0x10,
};

using TGraphObjectOptions = uint8_t;
enum TGraphObjectOption : TGraphObjectOptions {
  goLinkable = 0x01,
  goSelectable = 0x02,
  goShowCaption = 0x04,
};
constexpr TGraphObjectOptions goAll = goLinkable | goSelectable | goShowCaption;

using TObjectSides = uint8_t;
enum TObjectSide : TObjectSides {
  osLeft = 0x01,
  osTop = 0x02,
  osRight = 0x04,
  osBottom = 0x08,
};
constexpr TObjectSides osAllSides = osLeft | osTop | osRight | osBottom;

enum TDependencyNotice { dnChanged, dnRemoved };

// Hit codes: low 16 bits are flags; links carry a point or segment index in
// the high 16 bits.
using THitCode = uint32_t;
constexpr THitCode htNone = 0x0000;
constexpr THitCode htObject = 0x0001;
constexpr THitCode htLeftHandle = 0x0002;
constexpr THitCode htTopHandle = 0x0004;
constexpr THitCode htRightHandle = 0x0008;
constexpr THitCode htBottomHandle = 0x0010;
constexpr THitCode htTopLeftHandle = 0x0020;
constexpr THitCode htTopRightHandle = 0x0040;
constexpr THitCode htBottomLeftHandle = 0x0080;
constexpr THitCode htBottomRightHandle = 0x0100;
constexpr THitCode htBody = 0x0200;
constexpr THitCode htCaption = 0x0400;
constexpr THitCode htLinkPoint = 0x0800;
constexpr THitCode htLinkSegment = 0x1000;

using TGraphLinkOptions = uint8_t;
enum TGraphLinkOption : TGraphLinkOptions {
  gloFixedStartPoint = 0x01,
  gloFixedEndPoint = 0x02,
  gloFixedBreakPoints = 0x04,
};

enum TLinkBeginEndStyle { lsNone, lsArrow, lsArrowSimple, lsCircle, lsDiamond };

using TLinkNormalizeOptions = uint8_t;
enum TLinkNormalizeOption : TLinkNormalizeOptions {
  lnoDeleteSamePoint = 0x01,
  lnoDeleteSameAngle = 0x02,
};

enum TLinkChangeMode { lcmNone, lcmInsertPoint, lcmRemovePoint, lcmMovePoint, lcmMovePolyline };

using TGraphNodeOptions = uint8_t;
enum TGraphNodeOption : TGraphNodeOptions {
  gnoMovable = 0x01,
  gnoResizable = 0x02,
  gnoShowBackground = 0x04,
};
constexpr TGraphNodeOptions gnoAll = gnoMovable | gnoResizable | gnoShowBackground;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

enum TGraphCommandMode { cmViewOnly, cmPan, cmEdit, cmInsertNode, cmInsertLink };
using TZoom = uint16_t;
constexpr int MinZoom = 5;
constexpr int MaxZoom = 36863;
using TGridSize = uint8_t;
using TMarkerSize = uint8_t;
enum TGraphDrawOrder { doDefault, doNodesOnTop, doLinksOnTop };
using TGraphClipboardFormats = uint8_t;
enum TGraphClipboardFormat : TGraphClipboardFormats {
  cfNative = 0x01,
  cfMetafile = 0x02,
  cfBitmap = 0x04,
};
enum TGraphZoomOrigin { zoTopLeft, zoCenter, zoCursor, zoCursorCenter };

enum THAlignOption { haNoChange, haLeft, haCenter, haRight, haSpaceEqually };
enum TVAlignOption { vaNoChange, vaTop, vaCenter, vaBottom, vaSpaceEqually };
enum TResizeOption { roNoChange, roSmallest, roLargest };

// Mouse cursors: the platform's standard ones (negative) and the control's
// own (51..57).
using TCursor = int;
constexpr TCursor crDefault = 0, crArrow = -2, crCross = -3, crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8,
                  crSizeWE = -9, crHandPoint = -21, crSizeAll = -22;
constexpr TCursor crHandFlat = 51, crHandGrab = 52, crHandPnt = 53, crXHair1 = 54, crXHair2 = 55, crXHair3 = 56,
                  crXHairLink = 57;

// Names of the streamed enumerations and sets.
extern const TEnumType GraphObjectOptionType, LinkBeginEndStyleType, GraphLinkOptionType, GraphNodeOptionType,
    AlignmentType, TextLayoutType;
