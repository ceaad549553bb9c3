#include "GraphicsObjects.h"

#include <QFontMetricsF>
#include <cmath>

#include "IntMath.h"

namespace {
constexpr const char* kPenStyles[] = {"psSolid", "psDash",        "psDot",       "psDashDot",  "psDashDotDot",
                                      "psClear", "psInsideFrame", "psUserStyle", "psAlternate"};
constexpr const char* kPenModes[] = {
    "pmBlack",       "pmWhite",      "pmNop",   "pmNot",      "pmCopy", "pmNotCopy", "pmMergePenNot", "pmMaskPenNot",
    "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor",         "pmNotXor"};
constexpr const char* kBrushStyles[] = {"bsSolid",     "bsClear",     "bsHorizontal", "bsVertical",
                                        "bsFDiagonal", "bsBDiagonal", "bsCross",      "bsDiagCross"};
constexpr const char* kFontStyles[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
constexpr const char* kFontPitches[] = {"fpDefault", "fpVariable", "fpFixed"};
constexpr const char* kFontQualities[] = {"fqDefault",     "fqDraft",     "fqProof",           "fqNonAntialiased",
                                          "fqAntialiased", "fqClearType", "fqClearTypeNatural"};
}  // namespace

const TEnumType PenStyleType{"TPenStyle", kPenStyles};
const TEnumType PenModeType{"TPenMode", kPenModes};
const TEnumType BrushStyleType{"TBrushStyle", kBrushStyles};
const TEnumType FontStyleType{"TFontStyle", kFontStyles};
const TEnumType FontPitchType{"TFontPitch", kFontPitches};
const TEnumType FontQualityType{"TFontQuality", kFontQualities};

const char* const DefaultFontName = "WenQuanYi Micro Hei";

const QString& DefaultFontNameString() {
  static const QString name = QString::fromLatin1(DefaultFontName);
  return name;
}

#define SETTER(Class, Name, Type, field) \
  void Class::Set##Name(Type v) {        \
    if (field == v) return;              \
    field = v;                           \
    Changed();                           \
  }

SETTER(TPen, Color, TColor, fColor)
SETTER(TPen, Width, int, fWidth)
SETTER(TPen, Style, TPenStyle, fStyle)
SETTER(TPen, Mode, TPenMode, fMode)
SETTER(TBrush, Color, TColor, fColor)
SETTER(TBrush, Style, TBrushStyle, fStyle)
SETTER(TFont, Charset, TFontCharset, fCharset)
SETTER(TFont, Color, TColor, fColor)
SETTER(TFont, Height, int, fHeight)
SETTER(TFont, Name, const QString&, fName)
SETTER(TFont, Orientation, int, fOrientation)
SETTER(TFont, Pitch, TFontPitch, fPitch)
SETTER(TFont, Style, TFontStyles, fStyle)
SETTER(TFont, Quality, TFontQuality, fQuality)
#undef SETTER

void TPen::Assign(const TPersistent* Source) {
  auto* src = dynamic_cast<const TPen*>(Source);
  if (!src) return TGraphicsObject::Assign(Source);
  AssignPen(*src);
}

void TPen::AssignPen(const TPen& Source) {
  if (fColor == Source.fColor && fWidth == Source.fWidth && fStyle == Source.fStyle && fMode == Source.fMode) return;
  fColor = Source.fColor;
  fWidth = Source.fWidth;
  fStyle = Source.fStyle;
  fMode = Source.fMode;
  Changed();
}

const TPropList& TPen::Properties() const {
  static const TPropList list = TPropTable<TPen>(TGraphicsObject::Properties())
                                    .Integer("Color", &TPen::Color, &TPen::SetColor, clBlack, &ColorIdents)
                                    .Enumeration("Mode", &TPen::Mode, &TPen::SetMode, PenModeType, pmCopy)
                                    .Enumeration("Style", &TPen::Style, &TPen::SetStyle, PenStyleType, psSolid)
                                    .Integer("Width", &TPen::Width, &TPen::SetWidth, 1);
  return list;
}

void TBrush::Assign(const TPersistent* Source) {
  auto* src = dynamic_cast<const TBrush*>(Source);
  if (!src) return TGraphicsObject::Assign(Source);
  AssignBrush(*src);
}

void TBrush::AssignBrush(const TBrush& Source) {
  if (fColor == Source.fColor && fStyle == Source.fStyle) return;
  fColor = Source.fColor;
  fStyle = Source.fStyle;
  Changed();
}

const TPropList& TBrush::Properties() const {
  static const TPropList list = TPropTable<TBrush>(TGraphicsObject::Properties())
                                    .Integer("Color", &TBrush::Color, &TBrush::SetColor, clWhite, &ColorIdents)
                                    .Enumeration("Style", &TBrush::Style, &TBrush::SetStyle, BrushStyleType, bsSolid);
  return list;
}

bool TFont::operator==(const TFont& o) const {
  return fCharset == o.fCharset && fColor == o.fColor && fHeight == o.fHeight && fName == o.fName &&
         fOrientation == o.fOrientation && fPitch == o.fPitch && fStyle == o.fStyle && fQuality == o.fQuality;
}

void TFont::Assign(const TPersistent* Source) {
  auto* src = dynamic_cast<const TFont*>(Source);
  if (!src) return TGraphicsObject::Assign(Source);
  AssignFont(*src);
}

void TFont::AssignFont(const TFont& Source) {
  if (*this == Source) return;
  fCharset = Source.fCharset;
  fColor = Source.fColor;
  fHeight = Source.fHeight;
  fName = Source.fName;
  fOrientation = Source.fOrientation;
  fPitch = Source.fPitch;
  fStyle = Source.fStyle;
  fQuality = Source.fQuality;
  Changed();
}

int TFont::Size() const { return -MulDiv(fHeight, 72, ScreenPixelsPerInch); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenPixelsPerInch, 72)); }

const TPropList& TFont::Properties() const {
  static const TPropList list =
      TPropTable<TFont>(TGraphicsObject::Properties())
          .Integer("Charset", &TFont::Charset, &TFont::SetCharset, std::nullopt, &CharsetIdents)
          .Integer("Color", &TFont::Color, &TFont::SetColor, std::nullopt, &ColorIdents)
          .Integer("Height", &TFont::Height, &TFont::SetHeight, std::nullopt)
          .String("Name", &TFont::Name, &TFont::SetName, /*writeEmpty=*/true)
          .Integer("Orientation", &TFont::Orientation, &TFont::SetOrientation, 0)
          .Enumeration("Pitch", &TFont::Pitch, &TFont::SetPitch, FontPitchType, fpDefault)
          .Integer("Size", &TFont::Size, &TFont::SetSize, std::nullopt)
          .NeverStored()
          .Set("Style", &TFont::Style, &TFont::SetStyle, FontStyleType, std::nullopt)
          .Enumeration("Quality", &TFont::Quality, &TFont::SetQuality, FontQualityType, fqDefault);
  return list;
}

QFont TFont::ToQFont(double scale) const {
  QFont f(fName);
  // Antialiased unless the font asks for aliased glyphs.
  f.setStyleStrategy(fQuality == fqNonAntialiased ? QFont::NoAntialias : QFont::PreferAntialias);
  f.setHintingPreference(QFont::PreferFullHinting);
  double pixels;
  if (fHeight < 0) {
    pixels = -fHeight;
  } else if (fHeight > 0) {
    // A positive height includes the internal leading: scale the em size so
    // that ascent + descent matches it.
    QFont probe(fName);
    probe.setPixelSize(100);
    QFontMetricsF m(probe);
    double cell = m.ascent() + m.descent();
    pixels = cell > 0 ? fHeight * 100.0 / cell : fHeight;
  } else {
    pixels = -DefaultFontHeight;
  }
  f.setPixelSize(std::max(1, int(std::lround(pixels * scale))));
  f.setBold(fStyle & (1 << fsBold));
  f.setItalic(fStyle & (1 << fsItalic));
  f.setUnderline(fStyle & (1 << fsUnderline));
  f.setStrikeOut(fStyle & (1 << fsStrikeOut));
  if (fPitch == fpFixed) f.setFixedPitch(true);
  return f;
}
