// The line object of the graph: a polyline with an optional shape at each
// end and a caption laid along one segment. Either end can be hooked to a
// node or another link and then follows it.
#pragma once

#include <QByteArray>
#include <QRegion>
#include <algorithm>

#include "GraphObject.h"
#include "StrokeCache.h"

class TGraphLink : public TGraphObject {
  GRAPH_OBJECT_CLASS(TGraphLink)

 public:
  // A link from ASource through PointArray to ATarget (either may be none),
  // registered with the control. Raises EGraphInvalidOperation "Cannot
  // create link with the specified parameters" when an end cannot be hooked.
  static TGraphLink* CreateNew(TGraphLinkClass Class, TGraphEditor* AOwner, TGraphObject* ASource,
                               const TPoints& PointArray, TGraphObject* ATarget);

  const TPropList& Properties() const override;
  void DefineProperties(TFiler& Filer) override;
  void Assign(const TPersistent* Source) override;
  bool ContainsRect(const TRect& Rect) const override;

  // Properties.
  TLinkBeginEndStyle BeginStyle() const { return fBeginStyle; }
  void SetBeginStyle(TLinkBeginEndStyle Value);
  int BeginSize() const { return fBeginSize; }
  void SetBeginSize(int Value);
  TLinkBeginEndStyle EndStyle() const { return fEndStyle; }
  void SetEndStyle(TLinkBeginEndStyle Value);
  int EndSize() const { return fEndSize; }
  void SetEndSize(int Value);
  TGraphLinkOptions LinkOptions() const { return fLinkOptions; }
  void SetLinkOptions(TGraphLinkOptions Value);
  int32_t TextPosition() const { return fTextPosition; }
  void SetTextPosition(int32_t Value);
  int32_t TextSpacing() const { return fTextSpacing; }
  void SetTextSpacing(int32_t Value);
  TGraphObject* Source() const { return fSource; }
  void SetSource(TGraphObject* Value);
  TGraphObject* Target() const { return fTarget; }
  void SetTarget(TGraphObject* Value);
  int PointCount() const { return fPointCount; }
  const TPoints& Polyline() const { return fPoints; }
  void SetPolyline(const TPoints& Value);
  uint32_t SourceID() const { return fSourceID; }
  uint32_t TargetID() const { return fTargetID; }
  // The caption's rotated rectangle in graph coordinates; meaningful only
  // while HasTextRegion (no caption is shown otherwise).
  const QRegion& TextRegion() const { return fTextRegion; }
  bool HasTextRegion() const { return fHasTextRegion; }
  double TextAngle() const { return fTextAngle; }
  const TPoint& TextCenter() const { return fTextCenter; }
  int TextLine() const { return fTextLine; }
  TLinkChangeMode ChangeMode() const { return fChangeMode; }
  int MovingPoint() const { return fMovingPoint; }
  bool AcceptingHook() const { return fAcceptingHook; }
  TGraphObject* HookingObject() const { return fHookingObject; }
  // Raises EPointListError "Invalid point index. (%d)".
  TPoint PointAt(int Index) const;

  // TGraphObject operations the link supplies, in order.
  void FinishLoading() override;
  void SubstituteID(uint32_t OldID, uint32_t NewID) override;
  void ReferencedIDs(std::vector<uint32_t>& IDs) const override;
  void SubstituteObject(TGraphObject* Old, TGraphObject* New) override;
  void NotifyDependentObjects(TDependencyNotice Notice) override;
  void ResolveReferences() override;
  void RefreshDependencies() override;
  void DependencyChanged(TGraphObject* GraphObject, TDependencyNotice Notice) override;
  bool PlaceText(bool Recalc, int32_t DX, int32_t DY) override;
  TPoint AnchorPoint() const override;
  void AttachPoint(const TPoint& RefPt, TPoint& Pt) const override;
  void DrawMarkers(TCanvas& Canvas) const override;
  void DrawDragOutline(TCanvas& Canvas) const override;
  void DrawCaption(TCanvas& Canvas) const override;
  void DrawBody(TCanvas& Canvas) const override;
  void ComputeVisualRect(TRect& Rect) const override;
  THitCode LocateHit(const TPoint& Pt) const override;
  TCursor CursorForHit(THitCode HitCode) const override;
  TObjectSides SidesForHit(THitCode HitCode) const override;
  bool MoveHit(THitCode HitCode, int32_t DX, int32_t DY) override;
  TRect DragRect(THitCode HitCode) const override;
  void SnapHitOffset(THitCode HitCode, int32_t& DX, int32_t& DY) const override;
  bool StartDragging(THitCode HitCode) override;
  void ShiftBy(int32_t DX, int32_t DY) override;
  void HandleMouseDown(TMouseButton Button, TShiftState Shift, const TPoint& Pt) override;
  void HandleMouseMove(TShiftState Shift, const TPoint& Pt) override;
  void HandleMouseUp(TMouseButton Button, TShiftState Shift, const TPoint& Pt) override;
  // Escape while an end point is dragged also gives the end back to the
  // object it was hooked to when the drag began.
  bool HandleKeyDown(int& Key, TShiftState Shift) override;
  // Puts the point being dragged exactly at Pt and ends the drag there, as
  // a release at Pt would (hooking included); nothing when no point is
  // being dragged.
  void DropMovingPoint(const TPoint& Pt);

  // Operations the link introduces, in order.
  // Lays out the caption; false (and Region untouched) when none is shown.
  virtual bool BuildTextRegion(QRegion& Region);
  virtual int LongestSegment() const;
  virtual int NearestSegment(const TPoint& Pt, int32_t MaxDistance) const;
  virtual void ChooseChangeMode(THitCode HitCode, TShiftState Shift);
  virtual int32_t EndStyleExtent(TLinkBeginEndStyle Style, int Size) const;
  virtual void EndStyleBounds(const TPoint& Pt, TLinkBeginEndStyle Style, TRect& Rect, int Size, double Angle) const;
  virtual void DrawEndStyle(TCanvas& Canvas, const TPoint& Pt, TPoint& LineEnd, int Size, TLinkBeginEndStyle Style,
                            double Angle) const;
  virtual bool CanMove() const;
  virtual int AddPoint(const TPoint& Pt);
  virtual void InsertPoint(int Index, const TPoint& Pt);
  virtual void RemovePoint(int Index);
  virtual int IndexOfPoint(const TPoint& Pt, int32_t Neighborhood) const;
  virtual int AddBreakPoint(const TPoint& Pt);
  virtual bool NormalizeBreakPoints(TLinkNormalizeOptions Options);
  virtual bool IsFixedPoint(int Index, bool HookedPointsAsFixed) const;
  virtual bool IsHookedPoint(int Index) const;
  virtual TGraphObject* HookedObjectOf(int Index) const;
  virtual int HookedIndexOf(const TGraphObject* GraphObject) const;
  virtual int HookedPointCount() const;
  virtual bool CanHook(int Index, TGraphObject* GraphObject);
  virtual bool Hook(int Index, TGraphObject* GraphObject);
  virtual int Unhook(TGraphObject* GraphObject);
  virtual bool Unhook(int Index);
  virtual bool CanLink(TGraphObject* ASource, TGraphObject* ATarget);
  virtual bool Link(TGraphObject* ASource, TGraphObject* ATarget);
  virtual bool Rotate(double Angle, const TPoint& Origin);
  virtual bool Scale(double Factor);
  virtual void Reverse();

 protected:
  explicit TGraphLink(TGraphEditor* AOwner);
  ~TGraphLink() override;

  void SetBoundsRectValue(const TRect&) override {}
  TRect GetBoundsRect() const override;

 private:
  // Hooking without asking: CanHook or CanLink has already agreed.
  void AttachSource(TGraphObject* GraphObject);
  void AttachTarget(TGraphObject* GraphObject);
  // A hook ID read from a stream; an end held by another object lets go.
  void ReadHookID(bool IsSource, int64_t Value);
  // Adds the link to a hooked object's input or output list.
  void JoinList(TGraphObjectList& List);
  void ReadBreakPoints(TStream& Stream);
  void WriteBreakPoints(TStream& Stream) const;
  void ReadLegacyKind(const QByteArray& Kind);
  // Whether AttachPoint may answer point Index: not when it is hooked to a node.
  bool IsUsableAttachPoint(int Index) const;
  // The index that makes Hook take the target end, also for a link of one
  // point (where index 0 would mean the source).
  int TargetHookIndex() const { return std::max(fPointCount - 1, 1); }
  bool IsEndIndex(int Index) const { return Index >= 0 && (Index == 0 || Index == fPointCount - 1); }
  bool CaptionShown() const { return fHasTextRegion && (fOptions & goShowCaption); }
  // The shape of an end: the points to draw and where the line stops.
  TPoints EndShape(const TPoint& Pt, TLinkBeginEndStyle Style, int Size, double Angle, TPoint& LineEnd) const;
  bool MoveWholeLink(int32_t DX, int32_t DY);
  // The body's line, without brush, through the stroke cache.
  void DrawLine(TCanvas& Canvas, const TPoints& Line) const;
  bool ResizeByHandle(THitCode HitCode, int32_t DX, int32_t DY);
  void BendDraggedPoint(const TPoint& Pt, TShiftState Shift);
  // Answers true when the press was fully handled here (point removed).
  bool StartEdit(TShiftState Shift, const TPoint& Pt, bool& DragSuspended);
  void TrackHookTarget(TShiftState Shift, const TPoint& Pt);
  // Where the dragged point goes for the mouse at Pt when not simply to
  // the mouse (or the grid): with Shift along a multiple of 45° from its
  // neighbour, else onto another link's point close by.
  bool PointDropTarget(TShiftState Shift, const TPoint& Pt, TPoint& Target);
  void EndPointEdit();

 protected:
  TPoints fPoints;
  int fPointCount = 0;
  TGraphObject* fSource = nullptr;
  TGraphObject* fTarget = nullptr;
  int32_t fTextPosition = -1;
  int32_t fTextSpacing = 0;
  TLinkBeginEndStyle fBeginStyle = lsNone;
  uint8_t fBeginSize = 6;
  TLinkBeginEndStyle fEndStyle = lsArrow;
  uint8_t fEndSize = 6;
  TGraphLinkOptions fLinkOptions = 0;
  QRegion fTextRegion;
  bool fHasTextRegion = false;
  // What the body's last stroke covered, for the next repaint.
  mutable TStrokeCache fStrokeCache;
  double fTextAngle = 0;
  TPoint fTextCenter;
  int fTextLine = -1;
  TLinkChangeMode fChangeMode = lcmNone;
  bool fAcceptingHook = false;
  TGraphObject* fHookingObject = nullptr;
  int fMovingPoint = -1;
  // The object the dragged end was hooked to when the press began.
  TGraphObject* fDragStartHook = nullptr;
  uint32_t fSourceID = 0;
  uint32_t fTargetID = 0;
  bool UpdatingEndPoints = false;
  bool CheckingLink = false;
};
