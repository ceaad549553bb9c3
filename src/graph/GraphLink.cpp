// The link's data: construction, properties and streaming, its points, the
// hooks at its ends and how it follows the objects it is hooked to.
#include "GraphLink.h"

#include <algorithm>

#include "Exceptions.h"
#include "Filer.h"
#include "Geometry.h"
#include "GraphEditor.h"
#include "GraphErrors.h"
#include "IntMath.h"
#include "Stream.h"
#include "UpdateBracket.h"

DEFINE_GRAPH_OBJECT_CLASS(TGraphLink, TGraphObject);

namespace {
constexpr TGraphChangeFlags kPointsChanged = gcView | gcData | gcText | gcPlacement;
constexpr TGraphChangeFlags kHookChanged = gcView | gcData | gcDependency;
constexpr TGraphChangeFlags kStyleChanged = gcView | gcData | gcText;
// A two-point link between links settles its ends in a few passes.
constexpr int kMaxAttachPasses = 5;

uint8_t ClampByte(int Value) { return uint8_t(std::clamp(Value, 0, 255)); }

// Sets a flag for the lifetime of the guard, clearing it also on failure.
class TFlagGuard {
 public:
  explicit TFlagGuard(bool& Flag) : fFlag(Flag), fSaved(Flag) { fFlag = true; }
  ~TFlagGuard() { fFlag = fSaved; }
  TFlagGuard(const TFlagGuard&) = delete;
  TFlagGuard& operator=(const TFlagGuard&) = delete;

 private:
  bool& fFlag;
  bool fSaved;
};
}  // namespace

// ---------------------------------------------------------------------------
// Construction

TGraphLink::TGraphLink(TGraphEditor* AOwner) : TGraphObject(AOwner) { fVisualRectFlags |= gcText; }

TGraphLink::~TGraphLink() = default;

TGraphLink* TGraphLink::CreateNew(TGraphLinkClass Class, TGraphEditor* AOwner, TGraphObject* ASource,
                                  const TPoints& PointArray, TGraphObject* ATarget) {
  if (!Class || !Class->New) RaiseAbstract();
  auto refuse = [] {
    throw EGraphInvalidOperation(QStringLiteral("Cannot create link with the specified parameters"));
  };
  if (!Class->IsLink()) refuse();
  // A refusal below destroys the half-built link, which unhooks what it held.
  TGraphObjectPtr holder(Class->New(AOwner));
  auto* link = static_cast<TGraphLink*>(holder.get());
  if (ASource) link->AddPoint(ASource->AnchorPoint());
  for (const TPoint& pt : PointArray) link->AddPoint(pt);
  if (ATarget) link->AddPoint(ATarget->AnchorPoint());
  if (ASource && ATarget)
    link->Link(ASource, ATarget);
  else if (ASource)
    link->Hook(0, ASource);
  else if (ATarget)
    link->Hook(link->PointCount() - 1, ATarget);
  if (link->Source() != ASource || link->Target() != ATarget) refuse();
  link->AfterConstruction();
  holder.release();
  return link;
}

// ---------------------------------------------------------------------------
// Properties

const TPropList& TGraphLink::Properties() const {
  static const TPropList list =
      TPropTable<TGraphLink>(TGraphObject::Properties())
          .Enumeration("BeginStyle", &TGraphLink::BeginStyle, &TGraphLink::SetBeginStyle, LinkBeginEndStyleType, lsNone)
          .Integer("BeginSize", &TGraphLink::BeginSize, &TGraphLink::SetBeginSize, 6)
          .Enumeration("EndStyle", &TGraphLink::EndStyle, &TGraphLink::SetEndStyle, LinkBeginEndStyleType, lsArrow)
          .Integer("EndSize", &TGraphLink::EndSize, &TGraphLink::SetEndSize, 6)
          .Set("LinkOptions", &TGraphLink::LinkOptions, &TGraphLink::SetLinkOptions, GraphLinkOptionType, 0)
          .Integer("TextPosition", &TGraphLink::TextPosition, &TGraphLink::SetTextPosition, -1)
          .Integer("TextSpacing", &TGraphLink::TextSpacing, &TGraphLink::SetTextSpacing, 0);
  return list;
}

void TGraphLink::SetBeginStyle(TLinkBeginEndStyle Value) {
  if (fBeginStyle == Value || Has(osDestroying)) return;
  fBeginStyle = Value;
  ApplyChanges(kStyleChanged);
}

void TGraphLink::SetBeginSize(int Value) {
  uint8_t size = ClampByte(Value);
  if (fBeginSize == size || Has(osDestroying)) return;
  fBeginSize = size;
  ApplyChanges(kStyleChanged);
}

void TGraphLink::SetEndStyle(TLinkBeginEndStyle Value) {
  if (fEndStyle == Value || Has(osDestroying)) return;
  fEndStyle = Value;
  ApplyChanges(kStyleChanged);
}

void TGraphLink::SetEndSize(int Value) {
  uint8_t size = ClampByte(Value);
  if (fEndSize == size || Has(osDestroying)) return;
  fEndSize = size;
  ApplyChanges(kStyleChanged);
}

void TGraphLink::SetLinkOptions(TGraphLinkOptions Value) {
  if (fLinkOptions == Value || Has(osDestroying)) return;
  fLinkOptions = Value;
  ApplyChanges(gcView | gcData);
}

void TGraphLink::SetTextPosition(int32_t Value) {
  if (fTextPosition == Value || Has(osDestroying)) return;
  fTextPosition = Value;
  ApplyChanges(kStyleChanged);
}

void TGraphLink::SetTextSpacing(int32_t Value) {
  if (fTextSpacing == Value || Has(osDestroying)) return;
  fTextSpacing = Value;
  ApplyChanges(kStyleChanged);
}

void TGraphLink::SetSource(TGraphObject* Value) {
  if (fSource == Value) return;
  WithinUpdate(*this, [&] {
    Unhook(fSource);
    Hook(0, Value);
  });
}

void TGraphLink::SetTarget(TGraphObject* Value) {
  if (fTarget == Value) return;
  WithinUpdate(*this, [&] {
    Unhook(fTarget);
    Hook(TargetHookIndex(), Value);
  });
}

void TGraphLink::SetPolyline(const TPoints& Value) {
  if (Value == fPoints) return;
  WithinUpdate(*this, [&] {
    fPoints = Value;
    fPointCount = int(fPoints.size());
    Unhook(fSource);
    Unhook(fTarget);
    ApplyChanges(kPointsChanged);
  });
}

TRect TGraphLink::GetBoundsRect() const { return PointListBounds(fPoints); }

// ---------------------------------------------------------------------------
// Streaming

void TGraphLink::DefineProperties(TFiler& Filer) {
  TGraphObject::DefineProperties(Filer);
  auto readSource = [this](TReader& r) { ReadHookID(true, r.ReadInt64()); };
  auto readTarget = [this](TReader& r) { ReadHookID(false, r.ReadInt64()); };
  Filer.DefineProperty(
      "Source", readSource, [this](TWriter& w) { w.WriteInt64(fSource->ID()); }, fSource != nullptr);
  Filer.DefineProperty(
      "Target", readTarget, [this](TWriter& w) { w.WriteInt64(fTarget->ID()); }, fTarget != nullptr);
  Filer.DefineBinaryProperty(
      "BreakPoints", [this](TStream& s) { ReadBreakPoints(s); }, [this](TStream& s) { WriteBreakPoints(s); },
      fPointCount > 0);
  // Names older documents used; read, never written.
  Filer.DefineProperty("FromNode", readSource, nullptr, false);
  Filer.DefineProperty("ToNode", readTarget, nullptr, false);
  Filer.DefineProperty(
      "Kind", [this](TReader& r) { ReadLegacyKind(r.ReadIdent()); }, nullptr, false);
  // Saturated: a document may hold any integer here.
  Filer.DefineProperty(
      "ArrowSize", [this](TReader& r) { SetEndSize(Saturate32(int64_t(r.ReadInteger()) + 2)); }, nullptr, false);
}

void TGraphLink::ReadHookID(bool IsSource, int64_t Value) {
  // IDs are unsigned 32-bit; older writers stored the high ones as negative.
  auto id = static_cast<uint32_t>(Value);
  TGraphObject* held = IsSource ? fSource : fTarget;
  if (held && held->ID() != id) Unhook(held);
  (IsSource ? fSourceID : fTargetID) = id;
}

void TGraphLink::ReadBreakPoints(TStream& Stream) {
  int32_t count = Stream.ReadInt32();
  if (count < 0 || int64_t(count) * 8 > Stream.Remaining()) throw EReadError(QStringLiteral("Invalid property value"));
  TPoints points(static_cast<size_t>(count));
  for (TPoint& pt : points) {
    pt.X = Stream.ReadInt32();
    pt.Y = Stream.ReadInt32();
  }
  fPoints = std::move(points);
  fPointCount = count;
  ApplyChanges(kPointsChanged);
}

void TGraphLink::WriteBreakPoints(TStream& Stream) const {
  Stream.WriteInt32(fPointCount);
  for (const TPoint& pt : fPoints) {
    Stream.WriteInt32(pt.X);
    Stream.WriteInt32(pt.Y);
  }
}

void TGraphLink::ReadLegacyKind(const QByteArray& Kind) {
  QByteArray kind = Kind.toLower();
  if (kind == "lkundirected")
    SetEndStyle(lsNone);
  else if (kind == "lkbidirected")
    SetBeginStyle(lsArrow);
}

void TGraphLink::Assign(const TPersistent* Source) {
  TGraphObject::Assign(Source);
  auto* src = dynamic_cast<const TGraphLink*>(Source);
  if (!src || src == this) return;
  WithinUpdate(*this, [&] {
    SetPolyline(src->fPoints);
    SetBeginStyle(src->fBeginStyle);
    SetBeginSize(src->fBeginSize);
    SetEndStyle(src->fEndStyle);
    SetEndSize(src->fEndSize);
    SetLinkOptions(src->fLinkOptions);
    SetTextPosition(src->fTextPosition);
    SetTextSpacing(src->fTextSpacing);
    // Only objects of this graph can be hooked; a copy keeps what the
    // original holds, one end or both.
    if (src->Owner() != fOwner) return;
    if (src->fSource && src->fTarget)
      Link(src->fSource, src->fTarget);
    else if (src->fSource)
      Hook(0, src->fSource);
    else if (src->fTarget)
      Hook(TargetHookIndex(), src->fTarget);
  });
}

// ---------------------------------------------------------------------------
// Points

TPoint TGraphLink::PointAt(int Index) const {
  if (Index < 0 || Index >= fPointCount) throw EPointListError(FormatMessage("Invalid point index. (%d)", Index));
  return fPoints[size_t(Index)];
}

int TGraphLink::AddPoint(const TPoint& Pt) {
  Unhook(fTarget);
  fPoints.push_back(Pt);
  fPointCount = int(fPoints.size());
  ApplyChanges(kPointsChanged);
  return fPointCount - 1;
}

void TGraphLink::InsertPoint(int Index, const TPoint& Pt) {
  if (Index < 0) {
    Unhook(fSource);
    Index = 0;
  }
  Index = std::min(Index, fPointCount);
  fPoints.insert(fPoints.begin() + Index, Pt);
  fPointCount = int(fPoints.size());
  ApplyChanges(kPointsChanged);
}

void TGraphLink::RemovePoint(int Index) {
  if (Index < 0 || Index >= fPointCount) return;
  Unhook(Index);
  fPoints.erase(fPoints.begin() + Index);
  fPointCount = int(fPoints.size());
  ApplyChanges(kPointsChanged);
}

int TGraphLink::IndexOfPoint(const TPoint& Pt, int32_t Neighborhood) const {
  TRect around = SquareAround(Pt, Neighborhood);
  for (int i = 0; i < fPointCount; ++i)
    if (around.Contains(fPoints[size_t(i)])) return i;
  return -1;
}

int TGraphLink::AddBreakPoint(const TPoint& Pt) {
  int segment = NearestSegment(Pt, Div(fPen.Width(), 2) + fOwner->MarkerSize());
  int index = segment + 1;
  if (index > 0) InsertPoint(index, Pt);
  return index;
}

bool TGraphLink::NormalizeBreakPoints(TLinkNormalizeOptions Options) {
  if (Options == 0 || fPointCount < 3) return false;
  int before = fPointCount;
  WithinUpdate(*this, [&] {
    if (Options & lnoDeleteSamePoint) {
      int32_t radius = MarkerRadius();
      int i = 1;
      while (i < fPointCount) {
        if (PointDistance(PointAt(i - 1), PointAt(i)) > radius) {
          ++i;
          continue;
        }
        // The last point always stays.
        RemovePoint(i == fPointCount - 1 ? i - 1 : i);
      }
    }
    // Merging close points may have left too few points to compare angles.
    if ((Options & lnoDeleteSameAngle) && fPointCount >= 3) {
      double previous = DirectionAngle(PointAt(0), PointAt(1));
      int i = 2;
      while (i < fPointCount) {
        double current = DirectionAngle(PointAt(i - 1), PointAt(i));
        if (std::fabs(current - previous) < Pi * 0.05)
          RemovePoint(i - 1);
        else
          ++i;
        previous = current;
      }
    }
  });
  return fPointCount != before;
}

int TGraphLink::LongestSegment() const {
  int best = -1;
  double bestLength = -1;
  for (int i = 0; i + 1 < fPointCount; ++i) {
    double length = PointDistance(fPoints[size_t(i)], fPoints[size_t(i) + 1]);
    if (length > bestLength) {
      bestLength = length;
      best = i;
    }
  }
  return best;
}

int TGraphLink::NearestSegment(const TPoint& Pt, int32_t MaxDistance) const {
  int best = -1;
  double bestDistance = 0;
  for (int i = 0; i + 1 < fPointCount; ++i) {
    double distance = SegmentDistance(fPoints[size_t(i)], fPoints[size_t(i) + 1], Pt);
    if (std::trunc(distance) > MaxDistance) continue;
    if (best < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

bool TGraphLink::CanMove() const {
  if (fSource || fTarget) return false;
  return (fLinkOptions & (gloFixedStartPoint | gloFixedEndPoint | gloFixedBreakPoints)) == 0;
}

bool TGraphLink::IsFixedPoint(int Index, bool HookedPointsAsFixed) const {
  if (Index > 0 && Index < fPointCount - 1) return (fLinkOptions & gloFixedBreakPoints) != 0;
  if (Index == 0 && (fLinkOptions & gloFixedStartPoint)) return true;
  if (Index == fPointCount - 1 && (fLinkOptions & gloFixedEndPoint)) return true;
  return HookedPointsAsFixed && IsHookedPoint(Index);
}

bool TGraphLink::IsHookedPoint(int Index) const { return HookedObjectOf(Index) != nullptr; }

TGraphObject* TGraphLink::HookedObjectOf(int Index) const {
  if (Index == fPointCount - 1) return fTarget;
  if (Index == 0) return fSource;
  return nullptr;
}

int TGraphLink::HookedIndexOf(const TGraphObject* GraphObject) const {
  if (!GraphObject) return -1;
  if (GraphObject == fSource) return 0;
  if (GraphObject == fTarget) return fPointCount - 1;
  return -1;
}

int TGraphLink::HookedPointCount() const { return (fSource ? 1 : 0) + (fTarget ? 1 : 0); }

// ---------------------------------------------------------------------------
// Hooking

bool TGraphLink::CanHook(int Index, TGraphObject* GraphObject) {
  if (!GraphObject || GraphObject == this || GraphObject->Owner() != fOwner) return false;
  if (GraphObject->IsLink() && static_cast<TGraphLink*>(GraphObject)->HookedIndexOf(this) >= 0) return false;
  bool isSourceEnd = Index == 0;
  if (!isSourceEnd && Index < fPointCount - 1) return false;
  TGraphObject* same = isSourceEnd ? fSource : fTarget;
  TGraphObject* other = isSourceEnd ? fTarget : fSource;
  if (GraphObject == same) return true;
  // One object may not hold both ends, unless Link is swapping them.
  if (GraphObject == other && !CheckingLink) return false;
  bool answer = (GraphObject->Options() & goLinkable) != 0;
  fOwner->QueryCanHookLink(GraphObject, this, Index, answer);
  if (answer && !CheckingLink && other) {
    if (isSourceEnd)
      fOwner->QueryCanLinkObjects(this, GraphObject, other, answer);
    else
      fOwner->QueryCanLinkObjects(this, other, GraphObject, answer);
  }
  return answer;
}

void TGraphLink::AttachSource(TGraphObject* GraphObject) {
  Unhook(fSource);
  if (GraphObject == fTarget) Unhook(fTarget);
  if (fPointCount == 0) InsertPoint(0, GraphObject->AnchorPoint());
  fSource = GraphObject;
  fSourceID = GraphObject->ID();
  GraphObject->LinkOutputList().Add(this);
  ApplyChanges(kHookChanged);
}

void TGraphLink::AttachTarget(TGraphObject* GraphObject) {
  Unhook(fTarget);
  if (GraphObject == fSource) Unhook(fSource);
  if (fPointCount < 2) AddPoint(GraphObject->AnchorPoint());
  fTarget = GraphObject;
  fTargetID = GraphObject->ID();
  GraphObject->LinkInputList().Add(this);
  ApplyChanges(kHookChanged);
}

bool TGraphLink::Hook(int Index, TGraphObject* GraphObject) {
  if (!GraphObject) return false;
  if (Index == 0) {
    if (GraphObject == fSource) return true;
    if (!CanHook(0, GraphObject)) return false;
    WithinUpdate(*this, [&] { AttachSource(GraphObject); });
    fOwner->NotifyObjectHook(GraphObject, this, 0);
    return true;
  }
  if (Index < fPointCount - 1) return false;
  if (GraphObject == fTarget) return true;
  if (!CanHook(Index, GraphObject)) return false;
  WithinUpdate(*this, [&] { AttachTarget(GraphObject); });
  fOwner->NotifyObjectHook(GraphObject, this, fPointCount - 1);
  return true;
}

int TGraphLink::Unhook(TGraphObject* GraphObject) {
  if (!GraphObject) return -1;
  int index = -1;
  if (GraphObject == fSource) {
    fSource = nullptr;
    fSourceID = 0;
    GraphObject->LinkOutputList().Remove(this);
    index = 0;
  }
  if (GraphObject == fTarget) {
    fTarget = nullptr;
    fTargetID = 0;
    GraphObject->LinkInputList().Remove(this);
    index = fPointCount - 1;
  }
  if (index < 0) return -1;
  ApplyChanges(gcData);
  fOwner->NotifyObjectUnhook(GraphObject, this, index);
  return index;
}

bool TGraphLink::Unhook(int Index) {
  // A one-point link holds both ends at index 0; removing that point must
  // free both.
  bool done = false;
  if (Index == 0 && fSource) done = Unhook(fSource) >= 0;
  if (Index >= 0 && Index == fPointCount - 1 && fTarget) done = Unhook(fTarget) >= 0 || done;
  return done;
}

bool TGraphLink::CanLink(TGraphObject* ASource, TGraphObject* ATarget) {
  TFlagGuard checking(CheckingLink);
  if (ASource == ATarget) return false;
  if (!CanHook(0, ASource) || !CanHook(fPointCount - 1, ATarget)) return false;
  bool answer = true;
  fOwner->QueryCanLinkObjects(this, ASource, ATarget, answer);
  return answer;
}

bool TGraphLink::Link(TGraphObject* ASource, TGraphObject* ATarget) {
  if (!CanLink(ASource, ATarget)) return false;
  WithinUpdate(*this, [&] {
    if (ASource != fSource) {
      AttachSource(ASource);
      fOwner->NotifyObjectHook(ASource, this, 0);
    }
    if (ATarget != fTarget) {
      AttachTarget(ATarget);
      fOwner->NotifyObjectHook(ATarget, this, fPointCount - 1);
    }
  });
  return true;
}

// ---------------------------------------------------------------------------
// Following the hooked objects

void TGraphLink::RefreshDependencies() {
  if (UpdatingEndPoints || fPointCount < 2 || (!fSource && !fTarget)) return;
  TFlagGuard updating(UpdatingEndPoints);
  const size_t last = size_t(fPointCount) - 1;
  TPoint oldFirst = PointAt(0);
  TPoint oldLast = PointAt(fPointCount - 1);
  bool betweenTwo = fSource && fTarget && fPointCount == 2;
  bool linkInvolved = false;
  if (fSource) {
    TPoint ref = betweenTwo ? fTarget->AnchorPoint() : PointAt(1);
    fSource->AttachPoint(ref, fPoints[0]);
    if (betweenTwo) linkInvolved = fTarget->IsLink();
  }
  if (fTarget) {
    TPoint ref = betweenTwo ? fSource->AnchorPoint() : PointAt(fPointCount - 2);
    fTarget->AttachPoint(ref, fPoints[last]);
    if (betweenTwo) linkInvolved = linkInvolved || fSource->IsLink();
  }
  for (int pass = 0; betweenTwo && linkInvolved && pass < kMaxAttachPasses; ++pass) {
    TPoint first, end;
    fSource->AttachPoint(PointAt(1), first);
    bool settled = first == fPoints[0];
    fPoints[0] = first;
    fTarget->AttachPoint(PointAt(0), end);
    settled = settled && end == fPoints[last];
    fPoints[last] = end;
    if (settled) break;
  }
  if (fPoints[0] != oldFirst || fPoints[last] != oldLast) ApplyChanges(gcView | gcText | gcPlacement);
}

void TGraphLink::DependencyChanged(TGraphObject* GraphObject, TDependencyNotice Notice) {
  if (!GraphObject || (GraphObject != fSource && GraphObject != fTarget)) return;
  if (Notice == dnChanged)
    RefreshDependencies();
  else
    Unhook(GraphObject);
}

void TGraphLink::NotifyDependentObjects(TDependencyNotice Notice) {
  if (fSource || fTarget) {
    if (Notice == dnChanged) {
      RefreshDependencies();
    } else {
      Unhook(fSource);
      Unhook(fTarget);
    }
  }
  TGraphObject::NotifyDependentObjects(Notice);
}

TPoint TGraphLink::AnchorPoint() const {
  if (fPointCount == 0) return RectMidPoint(fOwner->VisibleBounds());
  size_t middle = size_t(fPointCount / 2);
  if (fPointCount % 2 == 1) return fPoints[middle];
  return AveragePoint(fPoints[middle - 1], fPoints[middle]);
}

bool TGraphLink::IsUsableAttachPoint(int Index) const {
  TGraphObject* hooked = HookedObjectOf(Index);
  return !hooked || hooked->IsLink();
}

void TGraphLink::AttachPoint(const TPoint& RefPt, TPoint& Pt) const {
  int segment = NearestSegment(RefPt, MaxInt);
  if (segment < 0) {
    Pt = fPointCount == 1 ? PointAt(0) : RefPt;
    return;
  }
  TPoint closest = ClosestPointOnSegment(PointAt(segment), PointAt(segment + 1), RefPt);
  int near = IndexOfPoint(closest, MarkerRadius());
  if (near < 0) {
    Pt = closest;
  } else if (IsUsableAttachPoint(near)) {
    Pt = PointAt(near);
  } else if (near == 0 && IsUsableAttachPoint(1)) {
    Pt = PointAt(1);
  } else if (near == fPointCount - 1 && IsUsableAttachPoint(near - 1)) {
    Pt = PointAt(near - 1);
  } else {
    Pt = AnchorPoint();
  }
}

// ---------------------------------------------------------------------------
// Loading and renumbering

void TGraphLink::ResolveReferences() {
  if (fSourceID != 0 && !fSource) {
    TGraphObject* found = fOwner->FindObjectByID(fSourceID);
    if (found && found != this && found != fTarget) {
      fSource = found;
      JoinList(found->LinkOutputList());
    }
  }
  if (fTargetID != 0 && !fTarget) {
    TGraphObject* found = fOwner->FindObjectByID(fTargetID);
    if (found && found != this && found != fSource) {
      fTarget = found;
      JoinList(found->LinkInputList());
    }
  }
}

void TGraphLink::JoinList(TGraphObjectList& List) {
  // A link just read is in no list; one converted from another object may
  // already stand in the lists of the objects it hooks.
  if (Has(osLoading) || !List.Contains(this)) List.Add(this);
}

void TGraphLink::FinishLoading() {
  TGraphObject::FinishLoading();
  // An ID that names no object of the graph must not catch a later one.
  if (!fSource) fSourceID = 0;
  if (!fTarget) fTargetID = 0;
  if (fPointCount != 0 || !fSource || !fTarget) return;
  // Older documents stored only the two objects.
  fPoints = {fSource->AnchorPoint(), fTarget->AnchorPoint()};
  fPointCount = 2;
  RefreshDependencies();
  ApplyChanges(gcView | gcText | gcPlacement);
}

void TGraphLink::SubstituteID(uint32_t OldID, uint32_t NewID) {
  TGraphObject::SubstituteID(OldID, NewID);
  if (fSourceID != 0 && fSourceID == OldID) fSourceID = NewID;
  if (fTargetID != 0 && fTargetID == OldID) fTargetID = NewID;
}

void TGraphLink::ReferencedIDs(std::vector<uint32_t>& IDs) const {
  if (fSourceID != 0) IDs.push_back(fSourceID);
  if (fTargetID != 0) IDs.push_back(fTargetID);
}

void TGraphLink::SubstituteObject(TGraphObject* Old, TGraphObject* New) {
  if (Old && fSource == Old) {
    fSource = New;
    fSourceID = New ? New->ID() : 0;
  }
  if (Old && fTarget == Old) {
    fTarget = New;
    fTargetID = New ? New->ID() : 0;
  }
  TGraphObject::SubstituteObject(Old, New);
}
