// The object's data: construction, properties and streaming, the change
// funnel and what it tells the objects that depend on it.
#include "GraphObject.h"

#include "Canvas.h"
#include "Exceptions.h"
#include "Filer.h"
#include "GraphEditor.h"
#include "GraphLink.h"
#include "GraphNode.h"
#include "IntMath.h"
#include "UpdateBracket.h"

// ---------------------------------------------------------------------------
// Class references

const TGraphObjectClassInfo TGraphObject::ClassInfo = {"TGraphObject", nullptr, nullptr};

bool TGraphObjectClassInfo::InheritsFrom(const TGraphObjectClassInfo* Other) const {
  for (const TGraphObjectClassInfo* c = this; c; c = c->Parent)
    if (c == Other) return true;
  return false;
}

bool TGraphObjectClassInfo::IsLink() const { return InheritsFrom(&TGraphLink::ClassInfo); }

void GraphObjectDeleter::operator()(TGraphObject* Object) const {
  if (Object) Object->Destroy();
}

namespace {
constexpr const char* kObjectOptions[] = {"goLinkable", "goSelectable", "goShowCaption"};
constexpr const char* kLinkStyles[] = {"lsNone", "lsArrow", "lsArrowSimple", "lsCircle", "lsDiamond"};
constexpr const char* kLinkOptions[] = {"gloFixedStartPoint", "gloFixedEndPoint", "gloFixedBreakPoints"};
constexpr const char* kNodeOptions[] = {"gnoMovable", "gnoResizable", "gnoShowBackground"};
constexpr const char* kAlignments[] = {"taLeftJustify", "taRightJustify", "taCenter"};
constexpr const char* kLayouts[] = {"tlTop", "tlCenter", "tlBottom"};
}  // namespace

const TEnumType GraphObjectOptionType{"TGraphObjectOption", kObjectOptions};
const TEnumType LinkBeginEndStyleType{"TLinkBeginEndStyle", kLinkStyles};
const TEnumType GraphLinkOptionType{"TGraphLinkOption", kLinkOptions};
const TEnumType GraphNodeOptionType{"TGraphNodeOption", kNodeOptions};
const TEnumType AlignmentType{"TAlignment", kAlignments};
const TEnumType TextLayoutType{"TTextLayout", kLayouts};

// ---------------------------------------------------------------------------
// Construction and destruction

TGraphObject::TGraphObject(TGraphEditor* AOwner) : fOwner(AOwner) {
  fStates = osCreating;
  fFont.Assign(AOwner->Font());
  fBrush.OnChange = [this](TGraphicsObject* s) { StyleChanged(s); };
  fPen.OnChange = [this](TGraphicsObject* s) { StyleChanged(s); };
  fFont.OnChange = [this](TGraphicsObject* s) { FontChanged(s); };
  auto listHandler = [this](TGraphObjectList* l, TGraphObject* o, TGraphObjectListAction a) { ListChanged(l, o, a); };
  fDependentList.OnChange = listHandler;
  fLinkInputList.OnChange = listHandler;
  fLinkOutputList.OnChange = listHandler;
  // A link stands once in each list of an object it hooks; knowing that lets
  // a node with thousands of links let them go one after the other without
  // searching its lists for each.
  fDependentList.SetUniqueItems(true);
  fLinkInputList.SetUniqueItems(true);
  fLinkOutputList.SetUniqueItems(true);
}

TGraphObject::~TGraphObject() {
  fDependentList.OnChange = nullptr;
  fLinkInputList.OnChange = nullptr;
  fLinkOutputList.OnChange = nullptr;
}

TGraphObject* TGraphObject::Create(TGraphObjectClass Class, TGraphEditor* AOwner) {
  if (!Class || !Class->New) RaiseAbstract();
  TGraphObjectPtr obj(Class->New(AOwner));
  obj->AfterConstruction();
  return obj.release();
}

TGraphObject* TGraphObject::CreateLoaded(TGraphObjectClass Class, TGraphEditor* AOwner, TStream& Stream) {
  if (!Class || !Class->New) RaiseAbstract();
  TGraphObjectPtr obj(Class->New(AOwner));
  obj->Include(osLoading);
  obj->LoadFromStream(Stream);
  obj->AfterConstruction();
  return obj.release();
}

TGraphObject* TGraphObject::CreateConverted(TGraphObjectClass Class, TGraphObject* AnotherObject) {
  if (!Class || !Class->New) RaiseAbstract();
  AnotherObject->Include(osConverting);
  TGraphObjectPtr obj(Class->New(AnotherObject->Owner()));
  obj->Include(osConverting);
  {
    TMemoryStream temp;
    AnotherObject->SaveToStream(temp);
    temp.SetPosition(0);
    obj->LoadFromStream(temp);
  }
  obj->fData = AnotherObject->fData;
  // The relations move over without list events.
  for (auto [from, to] : {std::pair{&AnotherObject->fDependentList, &obj->fDependentList},
                          std::pair{&AnotherObject->fLinkInputList, &obj->fLinkInputList},
                          std::pair{&AnotherObject->fLinkOutputList, &obj->fLinkOutputList}}) {
    auto handler = std::move(to->OnChange);
    to->OnChange = nullptr;
    to->Assign(from);
    to->OnChange = std::move(handler);
  }
  obj->fSelected = AnotherObject->fSelected;
  obj->fListed = AnotherObject->fListed;
  AnotherObject->fListed = false;
  AnotherObject->Owner()->ObjectConverted(AnotherObject, obj.get());
  obj->AfterConstruction();
  return obj.release();
}

void TGraphObject::AfterConstruction() {
  if (Has(osConverting)) {
    Exclude(osConverting | osCreating);
    Prepare();
    ApplyChanges(gcView | gcData | gcPlacement);
    return;
  }
  if (!Has(osLoading)) {
    SetID(fOwner->AllocateObjectID(this));
    fOwner->NotifyObjectInitInstance(this);
  }
  Exclude(osCreating);
  Prepare();
  fOwner->Objects().Add(this);
}

void TGraphObject::BeforeDestruction() {
  if (Has(osDestroying)) return;
  Include(osDestroying);
  if (Has(osConverting)) return;
  if (fListed) fOwner->Objects().Remove(this);
  NotifyDependentObjects(dnRemoved);
}

void TGraphObject::Destroy() {
  BeforeDestruction();
  delete this;
}

void TGraphObject::SetID(uint32_t Value) {
  if (fID == Value) return;
  uint32_t old = fID;
  fID = Value;
  if (fListed) fOwner->ObjectIDChanged(this, old);
}

// ---------------------------------------------------------------------------
// Properties

const TPropList& TGraphObject::Properties() const {
  static const TPropList list =
      TPropTable<TGraphObject>(TPersistent::Properties())
          .String("Text", &TGraphObject::Text, &TGraphObject::SetText)
          .String("Hint", &TGraphObject::Hint, &TGraphObject::SetHint)
          .Object("Brush", &TGraphObject::Brush)
          .Object("Pen", &TGraphObject::Pen)
          .Object("Font", &TGraphObject::Font)
          .StoredWhen(&TGraphObject::IsFontStored)
          .Boolean("ParentFont", &TGraphObject::ParentFont, &TGraphObject::SetParentFont, true)
          .Set("Options", &TGraphObject::Options, &TGraphObject::SetOptions, GraphObjectOptionType, goAll)
          .Boolean("Visible", &TGraphObject::Visible, &TGraphObject::SetVisible, true)
          .Integer("Tag", &TGraphObject::Tag, &TGraphObject::SetTag, 0)
          .Boolean("HasCustomData", &TGraphObject::HasCustomData, &TGraphObject::SetHasCustomData, false);
  return list;
}

void TGraphObject::DefineProperties(TFiler& Filer) {
  Filer.DefineBinaryProperty(
      "CustomData",
      [this](TStream& s) {
        int32_t size = s.ReadInt32();
        if (size < 1) return;
        if (size > s.Remaining()) throw EReadError(QStringLiteral("Invalid property value"));
        TMemoryStream data;
        data.CopyFrom(s, size);
        data.SetPosition(0);
        fOwner->NotifyObjectRead(this, data);
      },
      [this](TStream& s) {
        TMemoryStream data;
        fOwner->NotifyObjectWrite(this, data);
        s.WriteInt32(int32_t(data.Size()));
        data.SaveToStream(s);
      },
      fHasCustomData);
}

void TGraphObject::SetText(const QString& Value) {
  if (fText == Value || Has(osDestroying)) return;
  fText = Value;
  ApplyChanges(gcView | gcData | gcText);
}

void TGraphObject::SetHint(const QString& Value) {
  if (fHint == Value || Has(osDestroying)) return;
  fHint = Value;
  ApplyChanges(gcData);
}

void TGraphObject::SetHasCustomData(bool Value) {
  if (fHasCustomData == Value || Has(osDestroying)) return;
  fHasCustomData = Value;
  ApplyChanges(gcData);
}

void TGraphObject::SetParentFont(bool Value) {
  if (fParentFont == Value || Has(osDestroying)) return;
  fParentFont = Value;
  if (!Value) {
    ApplyChanges(gcData);
    return;
  }
  CopyOwnerFont();
  ApplyChanges(gcView | gcData | gcText);
}

void TGraphObject::CopyOwnerFont() {
  auto handler = std::move(fFont.OnChange);
  fFont.OnChange = nullptr;
  fFont.Assign(fOwner->Font());
  fFont.OnChange = std::move(handler);
}

void TGraphObject::SetOptions(TGraphObjectOptions Value) {
  if (fOptions == Value || Has(osDestroying)) return;
  fOptions = Value;
  if (!(fOptions & goSelectable)) SetSelected(false);
  ApplyChanges(gcView | gcData);
}

void TGraphObject::SetVisible(bool Value) {
  if (fVisible == Value || Has(osDestroying)) return;
  fVisible = Value;
  ApplyChanges(gcView | gcData);
}

void TGraphObject::SetSelected(bool Value) {
  if (Has(osDestroying) && Value) return;
  if (!(fOptions & goSelectable)) Value = false;
  if (fSelected == Value) return;
  fSelected = Value;
  if (Value)
    fOwner->SelectedObjects().Add(this);
  else
    fOwner->SelectedObjects().Remove(this);
  ApplyChanges(gcView);
}

bool TGraphObject::IsFontStored() const { return !fParentFont; }

void TGraphObject::StyleChanged(TGraphicsObject* Sender) {
  if (Sender == &fPen)
    ApplyChanges(gcView | gcData | gcText | gcPlacement);
  else
    ApplyChanges(gcView | gcData);
}

void TGraphObject::FontChanged(TGraphicsObject*) {
  fParentFont = false;
  ApplyChanges(gcView | gcData | gcText);
}

bool TGraphObject::Showing() const { return (fVisible || fOwner->ShowHiddenObjects()) && !Has(osDestroying); }

int TGraphObject::ZOrder() const { return fOwner->ZOrderOf(this); }

void TGraphObject::SetZOrder(int Value) {
  TGraphObjectList& objects = fOwner->Objects();
  int current = objects.IndexOf(this);
  if (current < 0) return;
  if (Value < 0 || Value >= objects.Count()) Value = objects.Count() - 1;
  objects.Move(current, Value);
}

void TGraphObject::BringToFront() { SetZOrder(fOwner->Objects().Count() - 1); }

void TGraphObject::SendToBack() { SetZOrder(0); }

TRect TGraphObject::GetSelectedVisualRect() const {
  int32_t grow = fOwner->MarkerSize() - Div(fPen.Width(), 2);
  if (grow <= 0) return fVisualRect;
  return {fVisualRect.Left - grow, fVisualRect.Top - grow, fVisualRect.Right + grow, fVisualRect.Bottom + grow};
}

bool TGraphObject::IsLocked() const {
  if (IsLink()) return fOwner->LockLinks();
  return fOwner->LockNodes();
}

bool TGraphObject::CanDelete() const {
  bool canRemove = true;
  fOwner->QueryCanRemoveObject(const_cast<TGraphObject*>(this), canRemove);
  return canRemove;
}

bool TGraphObject::Delete() {
  if (!CanDelete()) return false;
  Destroy();
  return true;
}

void TGraphObject::Assign(const TPersistent* Source) {
  auto* src = dynamic_cast<const TGraphObject*>(Source);
  if (!src) return TPersistent::Assign(Source);
  WithinUpdate(*this, [&] {
    SetText(src->fText);
    SetHint(src->fHint);
    SetBrush(src->fBrush);
    SetPen(src->fPen);
    SetFont(src->fFont);
    SetParentFont(src->fParentFont);
    SetVisible(src->fVisible);
    SetOptions(src->fOptions);
  });
}

TGraphObject* TGraphObject::ConvertTo(TGraphObjectClass AnotherClass) {
  if (!AnotherClass || AnotherClass == ClassType() || AnotherClass->IsLink() != IsLink()) return this;
  TGraphObject* converted = CreateConverted(AnotherClass, this);
  Destroy();
  return converted;
}

// ---------------------------------------------------------------------------
// Streaming one object

void TGraphObject::SaveToStream(TStream& Stream) {
  Include(osWriting);
  try {
    TGraphStreamableObject wrapper;
    wrapper.SetG(this);
    wrapper.SetID(fID);
    TWriter writer(Stream);
    writer.WriteRootObject(wrapper, wrapper.ClassName());
  } catch (...) {
    Exclude(osWriting);
    throw;
  }
  Exclude(osWriting);
}

namespace {

// What a document may hold: the program never draws with, places or pads by
// more than this, and within it no geometry arithmetic overflows.
constexpr int32_t kMaxStreamedExtent = 1 << 20;
constexpr int32_t kMaxStreamedPenWidth = 1 << 16;
constexpr int32_t kMaxStreamedFontHeight = 1 << 16;

bool Within(int64_t Value, int64_t Limit) { return Value >= -Limit && Value <= Limit; }

bool SaneRect(const TRect& R) {
  return Within(R.Left, kMaxStreamedExtent) && Within(R.Top, kMaxStreamedExtent) &&
         Within(R.Right, kMaxStreamedExtent) && Within(R.Bottom, kMaxStreamedExtent);
}

// Rejects values only a damaged or hostile document carries, before any
// geometry is computed from them.
void CheckStreamedValues(const TGraphObject& Object) {
  bool sane = Object.Pen()->Width() >= 0 && Object.Pen()->Width() <= kMaxStreamedPenWidth &&
              Within(Object.Font()->Height(), kMaxStreamedFontHeight);
  // The class reference says node or link; a cast that searches the
  // hierarchy would cost more than the check.
  if (Object.IsNode()) {
    const auto& node = static_cast<const TGraphNode&>(Object);
    sane = sane && Within(node.Margin(), kMaxStreamedExtent) && SaneRect(node.BackgroundMargins());
  } else {
    for (const TPoint& pt : static_cast<const TGraphLink&>(Object).Polyline())
      sane = sane && Within(pt.X, kMaxStreamedExtent) && Within(pt.Y, kMaxStreamedExtent);
  }
  if (!sane) throw EReadError(QStringLiteral("Invalid property value"));
}

}  // namespace

void TGraphObject::LoadFromStream(TStream& Stream) {
  WithinUpdate(
      *this,
      [&] {
        Include(osReading);
        TGraphStreamableObject wrapper;
        wrapper.SetG(this);
        wrapper.SetID(fID);
        TReader reader(Stream);
        reader.ReadRootObject(wrapper);
        CheckStreamedValues(*this);
        SetID(wrapper.ID());
        Exclude(osReading);
        if (!Has(osCreating)) Prepare();
      },
      [&] { Exclude(osReading); });
}

const TPropList& TGraphStreamableObject::Properties() const {
  static const TPropList list =
      TPropTable<TGraphStreamableObject>(TPersistent::Properties())
          .Integer("ID", &TGraphStreamableObject::IDValue, &TGraphStreamableObject::SetIDValue, std::nullopt)
          .Object("G", &TGraphStreamableObject::G)
          .Integer("Left", &TGraphStreamableObject::Dummy, &TGraphStreamableObject::SetDummy, std::nullopt)
          .NeverStored()
          .Integer("Top", &TGraphStreamableObject::Dummy, &TGraphStreamableObject::SetDummy, std::nullopt)
          .NeverStored()
          .Integer("Tag", &TGraphStreamableObject::Dummy, &TGraphStreamableObject::SetDummy, std::nullopt)
          .NeverStored()
          .String("Name", &TGraphStreamableObject::Name, &TGraphStreamableObject::SetName)
          .NeverStored();
  return list;
}

// ---------------------------------------------------------------------------
// Update counting and the change funnel

void TGraphObject::BeginUpdate() {
  if (UpdateCount == 0) {
    Include(osUpdating);
    PendingChanges = 0;
  }
  ++UpdateCount;
}

void TGraphObject::EndUpdate() {
  --UpdateCount;
  if (UpdateCount != 0) return;
  Exclude(osUpdating);
  if (PendingChanges) ApplyChanges(PendingChanges);
}

bool TGraphObject::ChangesHeld() const { return Has(osCreating | osDestroying | osReading | osUpdating); }

void TGraphObject::ApplyChanges(TGraphChangeFlags Flags) {
  // Whatever changed (pen, visibility, ...) changed before this call.
  AreaChanged();
  if (ChangesHeld()) {
    PendingChanges |= Flags;
    return;
  }
  if (Flags & gcDependency) RefreshDependencies();
  if ((Flags & gcText) && (!fText.isEmpty() || !fTextToShow.isEmpty())) PlaceText(true, 0, 0);
  if (Flags & gcPlacement) NotifyDependentObjects(dnChanged);
  if ((Flags & gcView) && (Flags & fVisualRectFlags)) {
    TRect r;
    ComputeVisualRect(r);
    if (r != fVisualRect) {
      Flags |= gcPlacement;
      Invalidate();
      fVisualRect = r;
      AreaChanged();
    }
  }
  if (Flags & (gcData | gcPlacement)) fOwner->NotifyObjectChange(this);
  fOwner->ReportObjectChange(this, Flags);
}

void TGraphObject::GeometryChanged(int32_t DX, int32_t DY, int32_t DW, int32_t DH) {
  bool movedOnly = DW == 0 && DH == 0;
  if (!fText.isEmpty()) PlaceText(!movedOnly, DX, DY);
  TGraphChangeFlags saved = fVisualRectFlags;
  if (movedOnly) {
    Invalidate();
    fVisualRect = fVisualRect.Offset(DX, DY);
    AreaChanged();
    fVisualRectFlags &= TGraphChangeFlags(~(gcData | gcPlacement));
  }
  try {
    ApplyChanges(gcView | gcData | gcPlacement);
  } catch (...) {
    fVisualRectFlags = saved;
    throw;
  }
  fVisualRectFlags = saved;
}

void TGraphObject::AreaChanged() {
  if (fListed) fOwner->ObjectAreaChanged(this);
}

void TGraphObject::Invalidate() { fOwner->InvalidateRect(GetSelectedVisualRect()); }

void TGraphObject::Prepare() {
  if (!Has(osLoading)) ResolveReferences();
  PlaceText(true, 0, 0);
  ComputeVisualRect(fVisualRect);
  AreaChanged();
  NotifyDependentObjects(dnChanged);
}

void TGraphObject::FinishLoading() {
  // Still loading while the references are resolved: no list can hold the
  // object yet, which spares the links a search of each list they join.
  ResolveReferences();
  Exclude(osLoading);
}

void TGraphObject::SubstituteID(uint32_t OldID, uint32_t NewID) {
  if (fID == OldID) SetID(NewID);
}

void TGraphObject::SubstituteObject(TGraphObject* Old, TGraphObject* New) {
  fDependentList.Substitute(Old, New);
  fLinkInputList.Substitute(Old, New);
  fLinkOutputList.Substitute(Old, New);
}

void TGraphObject::NotifyDependentObjects(TDependencyNotice Notice) {
  ForEachInList(fDependentList, [this, Notice](TGraphObject* dependent) {
    dependent->DependencyChanged(this, Notice);
    return true;
  });
}

void TGraphObject::ListChanged(TGraphObjectList* Sender, TGraphObject* GraphObject, TGraphObjectListAction Action) {
  if (Sender == &fDependentList)
    DependentsChanged(GraphObject, Action);
  else if (Sender == &fLinkInputList)
    LinkInputsChanged(GraphObject, Action);
  else
    LinkOutputsChanged(GraphObject, Action);
}

void TGraphObject::LinkInputsChanged(TGraphObject* GraphObject, TGraphObjectListAction Action) {
  if (Action == glAdded)
    fDependentList.Add(GraphObject);
  else if (Action == glRemoved)
    fDependentList.Remove(GraphObject);
}

void TGraphObject::LinkOutputsChanged(TGraphObject* GraphObject, TGraphObjectListAction Action) {
  LinkInputsChanged(GraphObject, Action);
}

void TGraphObject::OwnerFontChanged() {
  if (!fParentFont) return;
  CopyOwnerFont();
  ApplyChanges(gcView | gcText);
}

int32_t TGraphObject::MarkerRadius() const { return std::max(Div(fPen.Width(), 2), fOwner->MarkerSize()); }
