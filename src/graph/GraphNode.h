// A box-shaped graph object: position and size, a caption laid out inside
// it, an optional background picture, eight resize handles, and the rule
// that decides where a link meeting the node attaches to its outline. The
// outline itself comes from the shape classes.
#pragma once

#include <QRegion>
#include <memory>

#include "GraphObject.h"

class TPicture;

class TGraphNode : public TGraphObject {
  GRAPH_OBJECT_CLASS(TGraphNode)

 public:
  // Creates a node of Class with the given bounds and registers it.
  static TGraphNode* CreateNew(TGraphNodeClass Class, TGraphEditor* AOwner, const TRect& Bounds);

  void Assign(const TPersistent* Source) override;
  const TPropList& Properties() const override;
  void DefineProperties(TFiler& Filer) override;
  bool ContainsRect(const TRect& Rect) const override;

  int32_t Left() const { return fLeft; }
  void SetLeft(int32_t Value);
  int32_t Top() const { return fTop; }
  void SetTop(int32_t Value);
  int32_t Width() const { return fWidth; }
  void SetWidth(int32_t Value);
  int32_t Height() const { return fHeight; }
  void SetHeight(int32_t Value);
  TAlignment Alignment() const { return fAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return fLayout; }
  void SetLayout(TTextLayout Value);
  int32_t Margin() const { return fMargin; }
  void SetMargin(int32_t Value);
  TPicture* Background() const { return fBackground.get(); }
  void SetBackground(const TPicture& Value);
  const TRect& BackgroundMargins() const { return fBackgroundMargins; }
  void SetBackgroundMargins(const TRect& Value);
  TGraphNodeOptions NodeOptions() const { return fNodeOptions; }
  void SetNodeOptions(TGraphNodeOptions Value);
  TPoint Center() const { return GetCenter(); }
  const QRegion& Region() const;
  const TRect& TextRect() const { return fTextRect; }

  // TGraphObject operations the node supplies.
  void Prepare() override;
  bool PlaceText(bool Recalc, int32_t DX, int32_t DY) override;
  void GeometryChanged(int32_t DX, int32_t DY, int32_t DW, int32_t DH) override;
  TPoint AnchorPoint() const override { return GetCenter(); }
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
  void SnapHitOffset(THitCode HitCode, int32_t& DX, int32_t& DY) const override;
  bool StartDragging(THitCode HitCode) override;
  void ShiftBy(int32_t DX, int32_t DY) override;

  // Operations the node introduces, in order.
  virtual void IntersectOutline(const TPoint& RefPt, TPoints& Points, double Angle) const = 0;
  virtual void CaptionArea(TRect& Rect) const;
  virtual void LayoutCaption(TRect& Rect);
  // The font the caption is measured and drawn in: the object's own.
  virtual const TFont& CaptionFont() const { return fFont; }
  virtual QRegion MakeRegion() const = 0;
  virtual QRegion MakeDeviceRegion(const TCanvas& Canvas) const;
  virtual void DrawPicture(TCanvas& Canvas) const;
  virtual void DrawBorder(TCanvas& Canvas) const = 0;
  virtual TPoint GetCenter() const;
  virtual void CanMoveResize(int32_t& NewLeft, int32_t& NewTop, int32_t& NewWidth, int32_t& NewHeight, bool& CanMove,
                             bool& CanResize);
  virtual void SetBounds(int32_t aLeft, int32_t aTop, int32_t aWidth, int32_t aHeight);

 protected:
  explicit TGraphNode(TGraphEditor* AOwner);
  ~TGraphNode() override;

  void SetBoundsRectValue(const TRect& Rect) override;
  TRect GetBoundsRect() const override { return {fLeft, fTop, fLeft + fWidth, fTop + fHeight}; }

  int32_t fLeft = 0;
  int32_t fTop = 0;
  int32_t fWidth = 0;
  int32_t fHeight = 0;
  TAlignment fAlignment = taCenter;
  TTextLayout fLayout = tlCenter;
  int32_t fMargin = 8;
  std::unique_ptr<TPicture> fBackground;
  TRect fBackgroundMargins;
  TGraphNodeOptions fNodeOptions = gnoAll;
  // Made on first use after the shape changed: a document's nodes load
  // without building regions most of them are never asked for.
  mutable QRegion fRegion;
  mutable bool fRegionStale = true;
  TRect fTextRect;
};
