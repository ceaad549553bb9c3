// One scroll direction of the graph control: computes how far the view can
// scroll (from the graph's extent, the constraints or the rubber band, at
// the current zoom), keeps the control's QScrollBar in step, turns bar
// actions into position changes (optionally in smooth steps) and scrolls the
// control when the position changes. Positions are client pixels.
#pragma once

#include <QObject>
#include <cstdint>

#include "Color.h"
#include "Persistent.h"

class TGraphEditor;
class QScrollBar;

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollBarStyle { ssRegular, ssFlat, ssHotTrack };

// Scroll requests, numbered as bar messages number them.
enum TScrollCode {
  scLineUp = 0,
  scLineDown = 1,
  scPageUp = 2,
  scPageDown = 3,
  scPosition = 4,
  scTrack = 5,
  scTop = 6,
  scBottom = 7,
  scEndScroll = 8,
};

class TGraphScrollBar : public QObject, public TPersistent {
  Q_OBJECT

 public:
  TGraphScrollBar(TGraphEditor* AOwner, TScrollBarKind AKind);
  ~TGraphScrollBar() override;

  const char* ClassName() const override { return "TGraphScrollBar"; }
  void Assign(const TPersistent* Source) override;
  const TPropList& Properties() const override;

  TGraphEditor* Owner() const { return fOwner; }
  TScrollBarKind Kind() const { return fKind; }
  int32_t Range() const { return fRange; }
  int32_t CalcRange() const { return fCalcRange; }
  int32_t ScrollPos() const { return fVisible ? fPosition : 0; }
  int32_t Position() const { return fPosition; }
  void SetPosition(int32_t Value);
  int Increment() const { return fIncrement; }
  void SetIncrement(int Value) { fIncrement = uint16_t(Value); }
  int PageIncrement() const { return fPageIncrement; }
  int Margin() const { return fMargin; }
  void SetMargin(int Value) { fMargin = uint16_t(Value); }
  bool Visible() const { return fVisible; }
  void SetVisible(bool Value);
  bool Tracking() const { return fTracking; }
  void SetTracking(bool Value) { fTracking = Value; }
  bool Smooth() const { return fSmooth; }
  void SetSmooth(bool Value) { fSmooth = Value; }
  int ButtonSize() const { return fButtonSize; }
  void SetButtonSize(int Value);
  TColor Color() const { return fColor; }
  void SetColor(TColor Value);
  bool ParentColor() const { return fParentColor; }
  void SetParentColor(bool Value);
  int Size() const { return fSize; }
  void SetSize(int Value);
  TScrollBarStyle Style() const { return fStyle; }
  void SetStyle(TScrollBarStyle Value);
  int ThumbSize() const { return fThumbSize; }
  void SetThumbSize(int Value);

  bool IsScrollBarVisible() const;
  void ChangeBiDiPosition();

  // Internal operations the control calls.
  int ClientExtent(bool AsIs, bool AssumeOther) const;
  bool RangeExceedsClient() const;
  void SetExtent(int32_t E);
  void ComputeRange();
  void Synchronize(bool AsIs, bool AssumeOther);
  void HandleScrollMessage(int Code, int Pos);

 private:
  QScrollBar* Bar() const;
  TGraphScrollBar* Other() const;
  void PushLook();
  void OnBarAction(int Action);
  void OnBarReleased();
  bool IncrementStored() const { return !fSmooth; }

  TGraphEditor* fOwner;
  uint16_t fIncrement = 8;
  uint16_t fPageIncrement = 80;
  int32_t fPosition = 0;
  int32_t fRange = 0;
  int32_t fCalcRange = 0;
  TScrollBarKind fKind;
  uint16_t fMargin = 0;
  bool fVisible = true;
  bool fTracking = false;
  bool fSmooth = false;
  int32_t fDelay = 10;
  int32_t fButtonSize = 0;
  TColor fColor = clBtnHighlight;
  bool fParentColor = true;
  int32_t fSize = 0;
  TScrollBarStyle fStyle = ssRegular;
  int32_t fThumbSize = 0;
  int32_t fPageDiv = 12;
  int32_t fLineDiv = 4;
  bool fUpdateNeeded = true;
  bool fShown = false;       // the window bar currently shows (has a range)
  bool fSettingBar = false;  // we are writing the window bar ourselves
};
