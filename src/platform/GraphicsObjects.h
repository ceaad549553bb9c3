// Pen, brush and font: drawing attributes with a change event, streamed
// through their published properties.
#pragma once

#include <QFont>
#include <QString>
#include <functional>

#include "Color.h"
#include "Persistent.h"

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
enum TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = uint8_t;  // bit n for TFontStyle n
enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural };
using TFontCharset = uint8_t;

extern const TEnumType PenStyleType, PenModeType, BrushStyleType, FontStyleType, FontPitchType, FontQualityType;

constexpr TFontCharset DEFAULT_CHARSET = 1;

// The window font of the program: a CJK sans face, 11 pixels high.
extern const char* const DefaultFontName;
// DefaultFontName as one string every font starts out sharing.
const QString& DefaultFontNameString();
constexpr int DefaultFontHeight = -11;
constexpr int ScreenPixelsPerInch = 96;

class TGraphicsObject : public TPersistent {
 public:
  using TNotifyEvent = std::function<void(TGraphicsObject*)>;
  TNotifyEvent OnChange;

 protected:
  void Changed() {
    if (OnChange) OnChange(this);
  }
};

class TPen : public TGraphicsObject {
 public:
  const char* ClassName() const override { return "TPen"; }
  void Assign(const TPersistent* Source) override;
  // The same for a pen known to be one: a canvas takes one per object drawn.
  void AssignPen(const TPen& Source);
  const TPropList& Properties() const override;

  TColor Color() const { return fColor; }
  void SetColor(TColor v);
  int Width() const { return fWidth; }
  void SetWidth(int v);
  TPenStyle Style() const { return fStyle; }
  void SetStyle(TPenStyle v);
  TPenMode Mode() const { return fMode; }
  void SetMode(TPenMode v);

 private:
  TColor fColor = clBlack;
  int fWidth = 1;
  TPenStyle fStyle = psSolid;
  TPenMode fMode = pmCopy;
};

class TBrush : public TGraphicsObject {
 public:
  const char* ClassName() const override { return "TBrush"; }
  void Assign(const TPersistent* Source) override;
  // The same for a brush known to be one: a canvas takes one per object drawn.
  void AssignBrush(const TBrush& Source);
  const TPropList& Properties() const override;

  TColor Color() const { return fColor; }
  void SetColor(TColor v);
  TBrushStyle Style() const { return fStyle; }
  void SetStyle(TBrushStyle v);

 private:
  TColor fColor = clWhite;
  TBrushStyle fStyle = bsSolid;
};

class TFont : public TGraphicsObject {
 public:
  const char* ClassName() const override { return "TFont"; }
  void Assign(const TPersistent* Source) override;
  // The same for a font known to be one: a canvas takes a font per caption.
  void AssignFont(const TFont& Source);
  const TPropList& Properties() const override;

  TFontCharset Charset() const { return fCharset; }
  void SetCharset(TFontCharset v);
  TColor Color() const { return fColor; }
  void SetColor(TColor v);
  // Negative: character (em) height in pixels; positive: cell height.
  int Height() const { return fHeight; }
  void SetHeight(int v);
  QString Name() const { return fName; }
  void SetName(const QString& v);
  // Tenths of a degree, counter-clockwise.
  int Orientation() const { return fOrientation; }
  void SetOrientation(int v);
  TFontPitch Pitch() const { return fPitch; }
  void SetPitch(TFontPitch v);
  // Points at 96 pixels per inch; derived from Height, never streamed.
  int Size() const;
  void SetSize(int points);
  TFontStyles Style() const { return fStyle; }
  void SetStyle(TFontStyles v);
  TFontQuality Quality() const { return fQuality; }
  void SetQuality(TFontQuality v);

  bool operator==(const TFont& o) const;

  // The font at a device scale (1.0 = graph pixels).
  QFont ToQFont(double scale = 1.0) const;

 private:
  TFontCharset fCharset = DEFAULT_CHARSET;
  TColor fColor = clWindowText;
  int fHeight = DefaultFontHeight;
  QString fName = DefaultFontNameString();
  int fOrientation = 0;
  TFontPitch fPitch = fpDefault;
  TFontStyles fStyle = 0;
  TFontQuality fQuality = fqDefault;
};
