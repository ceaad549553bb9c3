// The base of everything that lives on a graph control: caption, hint, pen,
// brush and font, visibility, selection, options, a graph-wide ID, the three
// relation lists, update counting with deferred change flags, the painted
// rectangle, hit testing and the mouse, keyboard and drag protocols. Every
// change ends in ApplyChanges, which tells the owning control.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "GraphObjectList.h"
#include "GraphTypes.h"
#include "GraphicsObjects.h"
#include "Persistent.h"

class TCanvas;
class TGraphEditor;
class TGraphObject;
class TStream;

// A class reference: the name documents store, the parent class, and the
// factory that runs the class's own constructor (never AfterConstruction).
struct TGraphObjectClassInfo {
  const char* Name;
  const TGraphObjectClassInfo* Parent;
  TGraphObject* (*New)(TGraphEditor* AOwner);  // nullptr for abstract classes

  bool InheritsFrom(const TGraphObjectClassInfo* Other) const;
  bool IsLink() const;
  bool IsNode() const { return !IsLink(); }
};
using TGraphObjectClass = const TGraphObjectClassInfo*;
using TGraphNodeClass = TGraphObjectClass;
using TGraphLinkClass = TGraphObjectClass;

// Declares the class reference of a graph object class. Concrete classes
// pass their factory; abstract ones pass nullptr.
#define GRAPH_OBJECT_CLASS(Class)               \
 public:                                        \
  static const TGraphObjectClassInfo ClassInfo; \
  TGraphObjectClass ClassType() const override { return &ClassInfo; }

#define DEFINE_GRAPH_OBJECT_CLASS(Class, ParentClass)                              \
  const TGraphObjectClassInfo Class::ClassInfo = {#Class, &ParentClass::ClassInfo, \
                                                  [](TGraphEditor* o) -> TGraphObject* { return new Class(o); }}
#define DEFINE_ABSTRACT_GRAPH_OBJECT_CLASS(Class, ParentClass) \
  const TGraphObjectClassInfo Class::ClassInfo = {#Class, &ParentClass::ClassInfo, nullptr}

class TGraphObject : public TPersistent {
 public:
  static const TGraphObjectClassInfo ClassInfo;
  virtual TGraphObjectClass ClassType() const { return &ClassInfo; }
  const char* ClassName() const override { return ClassType()->Name; }
  bool InheritsFrom(TGraphObjectClass Class) const { return ClassType()->InheritsFrom(Class); }

  // Builds an object of Class owned by AOwner and registers it with the
  // control (AfterConstruction). A failure destroys the half-built object.
  static TGraphObject* Create(TGraphObjectClass Class, TGraphEditor* AOwner);
  // Creates the object in the loading state and reads its property stream.
  static TGraphObject* CreateLoaded(TGraphObjectClass Class, TGraphEditor* AOwner, TStream& Stream);
  // Creates an object of Class that takes AnotherObject's place.
  static TGraphObject* CreateConverted(TGraphObjectClass Class, TGraphObject* AnotherObject);

  // Leaves the graph and frees the object.
  void Destroy();

  void Assign(const TPersistent* Source) override;
  const TPropList& Properties() const override;
  void DefineProperties(TFiler& Filer) override;

  TGraphObject* ConvertTo(TGraphObjectClass AnotherClass);
  void LoadFromStream(TStream& Stream);
  void SaveToStream(TStream& Stream);
  void BeginUpdate();
  void EndUpdate();
  void Invalidate();
  void BringToFront();
  void SendToBack();
  bool IsLink() const { return ClassType()->IsLink(); }
  bool IsNode() const { return !IsLink(); }
  bool IsLocked() const;
  bool Delete();
  bool CanDelete() const;
  THitCode HitTest(const TPoint& Pt) const;
  bool ContainsPoint(int32_t X, int32_t Y) const { return HitTest({X, Y}) != htNone; }
  virtual bool ContainsRect(const TRect& Rect) const;
  bool BeginDrag(const TPoint& Pt, THitCode HT = THitCode(-1));
  bool DragTo(const TPoint& Pt, bool SnapToGrid);
  bool DragBy(int32_t dX, int32_t dY, bool SnapToGrid);
  bool EndDrag(bool Accept);

  // Properties.
  uint32_t ID() const { return fID; }
  TGraphEditor* Owner() const { return fOwner; }
  const QString& Text() const { return fText; }
  void SetText(const QString& Value);
  const QString& Hint() const { return fHint; }
  void SetHint(const QString& Value);
  TBrush* Brush() const { return const_cast<TBrush*>(&fBrush); }
  void SetBrush(const TBrush& Value) { fBrush.Assign(&Value); }
  TPen* Pen() const { return const_cast<TPen*>(&fPen); }
  void SetPen(const TPen& Value) { fPen.Assign(&Value); }
  TFont* Font() const { return const_cast<TFont*>(&fFont); }
  void SetFont(const TFont& Value) { fFont.Assign(&Value); }
  bool ParentFont() const { return fParentFont; }
  void SetParentFont(bool Value);
  TGraphObjectOptions Options() const { return fOptions; }
  void SetOptions(TGraphObjectOptions Value);
  bool Visible() const { return fVisible; }
  void SetVisible(bool Value);
  bool Selected() const { return fSelected; }
  void SetSelected(bool Value);
  int32_t Tag() const { return fTag; }
  void SetTag(int32_t Value) { fTag = Value; }
  bool HasCustomData() const { return fHasCustomData; }
  void SetHasCustomData(bool Value);
  void* Data() const { return fData; }
  void SetData(void* Value) { fData = Value; }
  TGraphObjectStates States() const { return fStates; }
  bool Dragging() const { return fStates & osDragging; }
  bool Showing() const;
  int ZOrder() const;
  void SetZOrder(int Value);
  TRect BoundsRect() const { return GetBoundsRect(); }
  void SetBoundsRect(const TRect& Rect) { SetBoundsRectValue(Rect); }
  const TRect& VisualRect() const { return fVisualRect; }
  TRect SelectedVisualRect() const { return GetSelectedVisualRect(); }
  const QString& TextToShow() const { return fTextToShow; }
  int DependentCount() const { return fDependentList.Count(); }
  int LinkInputCount() const { return fLinkInputList.Count(); }
  int LinkOutputCount() const { return fLinkOutputList.Count(); }
  TGraphObjectList& DependentList() { return fDependentList; }
  TGraphObjectList& LinkInputList() { return fLinkInputList; }
  TGraphObjectList& LinkOutputList() { return fLinkOutputList; }

  // The virtual operations, in the order objects introduce them.
  virtual void Prepare();
  virtual void FinishLoading();
  virtual void SubstituteID(uint32_t OldID, uint32_t NewID);
  // The IDs of other objects a loaded object refers to until its references
  // are resolved: those SubstituteID must hear of when they are renumbered.
  virtual void ReferencedIDs(std::vector<uint32_t>& IDs) const {}
  virtual void SubstituteObject(TGraphObject* Old, TGraphObject* New);
  virtual void NotifyDependentObjects(TDependencyNotice Notice);
  virtual void ResolveReferences() {}
  virtual void RefreshDependencies() {}
  virtual void DependencyChanged(TGraphObject* GraphObject, TDependencyNotice Notice) {}
  virtual bool PlaceText(bool Recalc, int32_t DX, int32_t DY) { return false; }
  virtual void ApplyChanges(TGraphChangeFlags Flags);
  virtual void GeometryChanged(int32_t DX, int32_t DY, int32_t DW, int32_t DH);
  virtual void DependentsChanged(TGraphObject* GraphObject, TGraphObjectListAction Action) {}
  virtual void LinkInputsChanged(TGraphObject* GraphObject, TGraphObjectListAction Action);
  virtual void LinkOutputsChanged(TGraphObject* GraphObject, TGraphObjectListAction Action);
  virtual void OwnerFontChanged();
  virtual bool ChangesHeld() const;
  virtual int32_t MarkerRadius() const;
  virtual TPoint AnchorPoint() const = 0;
  virtual void AttachPoint(const TPoint& RefPt, TPoint& Pt) const = 0;
  virtual void DrawMarker(TCanvas& Canvas, const TPoint& Pt, bool Enabled) const;
  virtual void DrawMarkers(TCanvas& Canvas) const = 0;
  virtual void DrawDragOutline(TCanvas& Canvas) const = 0;
  virtual void DrawCaption(TCanvas& Canvas) const = 0;
  virtual void DrawBody(TCanvas& Canvas) const = 0;
  virtual void Render(TCanvas& Canvas) const;
  virtual void RenderState(TCanvas& Canvas) const;
  virtual bool IsShownOn(const TCanvas& Canvas) const;
  virtual void ComputeVisualRect(TRect& Rect) const = 0;
  virtual THitCode LocateHit(const TPoint& Pt) const { return htNone; }
  virtual TCursor CursorForHit(THitCode HitCode) const;
  virtual TObjectSides SidesForHit(THitCode HitCode) const { return 0; }
  virtual bool MoveHit(THitCode HitCode, int32_t DX, int32_t DY) { return false; }
  virtual void SnapHitOffset(THitCode HitCode, int32_t& DX, int32_t& DY) const {}
  virtual bool StartDragging(THitCode HitCode);
  virtual bool StopDragging();
  void SuspendDrag();
  void ResumeDrag();
  virtual void ShiftBy(int32_t DX, int32_t DY) = 0;
  virtual void HandleMouseDown(TMouseButton Button, TShiftState Shift, const TPoint& Pt);
  virtual void HandleMouseMove(TShiftState Shift, const TPoint& Pt);
  virtual void HandleMouseUp(TMouseButton Button, TShiftState Shift, const TPoint& Pt);
  virtual bool HandleKeyDown(int& Key, TShiftState Shift);
  // The rectangle a drag by HitCode moves, which the constraints must keep
  // inside the graph: the painted area for whole-object moves.
  virtual TRect DragRect(THitCode HitCode) const { return fVisualRect; }

  bool IsFontStored() const;

  // The control's bookkeeping: whether the object sits in its Objects list
  // and its place in that list's storage (-1 for none), its record in the
  // control's spatial index (-1 for none), and its place among the objects
  // sharing its ID (-1 for none).
  bool Listed() const { return fListed; }
  void SetListed(bool Value) { fListed = Value; }
  int ListPlace() const { return fListPlace; }
  void SetListPlace(int Value) { fListPlace = Value; }
  int IndexSlot() const { return fIndexSlot; }
  void SetIndexSlot(int Value) { fIndexSlot = Value; }
  int SharerSlot() const { return fSharerSlot; }
  void SetSharerSlot(int Value) { fSharerSlot = Value; }

 protected:
  explicit TGraphObject(TGraphEditor* AOwner);
  ~TGraphObject() override;
  TGraphObject(const TGraphObject&) = delete;
  TGraphObject& operator=(const TGraphObject&) = delete;

  virtual void AfterConstruction();
  virtual void BeforeDestruction();
  virtual void SetBoundsRectValue(const TRect& Rect) = 0;
  virtual TRect GetBoundsRect() const = 0;
  virtual TRect GetSelectedVisualRect() const;

  void SetID(uint32_t Value);
  void Include(TGraphObjectStates s) { fStates |= s; }
  void Exclude(TGraphObjectStates s) { fStates &= TGraphObjectStates(~s); }
  bool Has(TGraphObjectStates s) const { return (fStates & s) != 0; }
  // Copies the control's font with the font's change event muted.
  void CopyOwnerFont();

  uint32_t fID = 0;
  TGraphEditor* const fOwner;
  TBrush fBrush;
  TPen fPen;
  QString fText;
  QString fHint;
  TFont fFont;
  bool fParentFont = true;
  TGraphObjectOptions fOptions = goAll;
  bool fVisible = true;
  bool fSelected = false;
  TGraphObjectStates fStates = 0;
  TGraphObjectList fDependentList;
  TGraphObjectList fLinkInputList;
  TGraphObjectList fLinkOutputList;
  QString fTextToShow;
  int32_t fTag = 0;
  void* fData = nullptr;
  bool fHasCustomData = false;
  TRect fVisualRect;
  TGraphChangeFlags fVisualRectFlags = gcPlacement;
  int32_t UpdateCount = 0;
  TGraphChangeFlags PendingChanges = 0;
  int32_t DragDisableCount = 0;

 private:
  void StyleChanged(TGraphicsObject* Sender);
  void FontChanged(TGraphicsObject* Sender);
  void ListChanged(TGraphObjectList* Sender, TGraphObject* GraphObject, TGraphObjectListAction Action);
  // Tells the control that the painted area or the showing may have changed.
  void AreaChanged();
  bool fListed = false;
  int fListPlace = -1;
  int fIndexSlot = -1;
  int fSharerSlot = -1;

  friend class TGraphEditor;
  friend struct GraphObjectDeleter;
};

// Runs the two-step destruction (leave the graph, then free) for owners
// that hold an object that never made it into a control's list.
struct GraphObjectDeleter {
  void operator()(TGraphObject* Object) const;
};
using TGraphObjectPtr = std::unique_ptr<TGraphObject, GraphObjectDeleter>;

// The streaming wrapper: an object streams itself wrapped in one, so that
// its ID travels beside its own properties ("ID", "G.Left", ...).
class TGraphStreamableObject : public TPersistent {
 public:
  const char* ClassName() const override { return "TGraphStreamableObject"; }
  const TPropList& Properties() const override;

  uint32_t ID() const { return fID; }
  void SetID(uint32_t v) { fID = v; }
  TGraphObject* G() const { return fG; }
  void SetG(TGraphObject* g) { fG = g; }

 private:
  int32_t Dummy() const { return fDummy; }
  void SetDummy(int32_t v) { fDummy = v; }
  QString Name() const { return {}; }
  void SetName(const QString&) {}
  int32_t IDValue() const { return static_cast<int32_t>(fID); }
  void SetIDValue(int32_t v) { fID = static_cast<uint32_t>(v); }

  uint32_t fID = 0;
  TGraphObject* fG = nullptr;
  int32_t fDummy = 0;
};
