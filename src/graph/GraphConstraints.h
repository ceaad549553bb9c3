// The rectangle of graph coordinates objects must stay in, and the offset
// and point confinement that drags, key moves and merges rely on.
#pragma once

#include <functional>

#include "GraphTypes.h"
#include "Persistent.h"
#include "Types.h"

class TGraphEditor;

class TGraphConstraints : public TPersistent {
 public:
  explicit TGraphConstraints(TGraphEditor* AOwner);
  const char* ClassName() const override { return "TGraphConstraints"; }
  void Assign(const TPersistent* Source) override;
  const TPropList& Properties() const override;

  TGraphEditor* Owner() const { return fOwner; }
  const TRect& BoundsRect() const { return fBoundsRect; }
  void SetBoundsRect(const TRect& Rect);
  void SetBounds(int32_t aLeft, int32_t aTop, int32_t aWidth, int32_t aHeight);
  const TRect& SourceRect() const { return fSourceRect; }
  void SetSourceRect(const TRect& Rect) { fSourceRect = Rect; }

  int32_t MinLeft() const { return fBoundsRect.Left; }
  int32_t MinTop() const { return fBoundsRect.Top; }
  int32_t MaxRight() const { return fBoundsRect.Right; }
  int32_t MaxBottom() const { return fBoundsRect.Bottom; }
  void SetMinLeft(int32_t v);
  void SetMinTop(int32_t v);
  void SetMaxRight(int32_t v);
  void SetMaxBottom(int32_t v);

  // Every point inside the bounds (right and bottom edges outside).
  bool WithinBounds(const TPoints& Points) const;
  bool WithinBounds(const TPoint& Pt) const;
  // Clamps the point; true when it was inside already (edges inclusive).
  bool ConfinePt(TPoint& Pt) const;
  // Clamps each edge; true when nothing changed.
  bool ConfineRect(TRect& Rect) const;
  // Shortens the offset so that the sides of SourceRect that move stay in
  // the bounds; true when some movement remains.
  bool ConfineOffset(int32_t& DX, int32_t& DY, TObjectSides Mobility) const;

  std::function<void(TGraphConstraints*)> OnChange;

 protected:
  virtual void DoChange();

 private:
  TGraphEditor* fOwner;
  TRect fBoundsRect{0, 0, 65535, 65535};
  TRect fSourceRect;
};
