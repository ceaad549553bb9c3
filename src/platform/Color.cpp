#include "Color.h"

#include <strings.h>
#include <QGuiApplication>
#include <QPalette>
#include <cstring>

namespace {

constexpr TIdentEntry kColors[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
    {clDefault, "clDefault"},
    {clNone, "clNone"},
};

constexpr TIdentEntry kCharsets[] = {
    {0, "ANSI_CHARSET"},          {1, "DEFAULT_CHARSET"},   {2, "SYMBOL_CHARSET"},    {77, "MAC_CHARSET"},
    {128, "SHIFTJIS_CHARSET"},    {129, "HANGEUL_CHARSET"}, {130, "JOHAB_CHARSET"},   {134, "GB2312_CHARSET"},
    {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"},   {162, "TURKISH_CHARSET"}, {177, "HEBREW_CHARSET"},
    {178, "ARABIC_CHARSET"},      {186, "BALTIC_CHARSET"},  {204, "RUSSIAN_CHARSET"}, {222, "THAI_CHARSET"},
    {238, "EASTEUROPE_CHARSET"},  {255, "OEM_CHARSET"},
};

// System colour index -> palette role, with a fallback RGB for a missing app.
struct SystemEntry {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
  TColor fallback;
};

SystemEntry SystemEntryFor(int index) {
  using P = QPalette;
  switch (index) {
    case 0: return {P::Active, P::Button, RGBColor(200, 200, 200)};     // scroll bar
    case 1: return {P::Active, P::Window, RGBColor(0, 0, 0)};           // desktop
    case 2: return {P::Active, P::Highlight, RGBColor(153, 180, 209)};  // active caption
    case 3: return {P::Inactive, P::Highlight, RGBColor(191, 205, 219)};
    case 4: return {P::Active, P::Window, RGBColor(240, 240, 240)};  // menu
    case 5: return {P::Active, P::Base, RGBColor(255, 255, 255)};    // window
    case 6: return {P::Active, P::Shadow, RGBColor(100, 100, 100)};  // window frame
    case 7: return {P::Active, P::WindowText, RGBColor(0, 0, 0)};    // menu text
    case 8: return {P::Active, P::Text, RGBColor(0, 0, 0)};          // window text
    case 9: return {P::Active, P::HighlightedText, RGBColor(0, 0, 0)};
    case 10: return {P::Active, P::Mid, RGBColor(180, 180, 180)};
    case 11: return {P::Inactive, P::Mid, RGBColor(244, 247, 252)};
    case 12: return {P::Active, P::Dark, RGBColor(171, 171, 171)};
    case 13: return {P::Active, P::Highlight, RGBColor(0, 120, 215)};
    case 14: return {P::Active, P::HighlightedText, RGBColor(255, 255, 255)};
    case 15: return {P::Active, P::Button, RGBColor(240, 240, 240)};
    case 16: return {P::Active, P::Dark, RGBColor(160, 160, 160)};
    case 17: return {P::Disabled, P::Text, RGBColor(109, 109, 109)};
    case 18: return {P::Active, P::ButtonText, RGBColor(0, 0, 0)};
    case 19: return {P::Inactive, P::HighlightedText, RGBColor(0, 0, 0)};
    case 20: return {P::Active, P::Light, RGBColor(255, 255, 255)};
    case 21: return {P::Active, P::Shadow, RGBColor(105, 105, 105)};
    case 22: return {P::Active, P::Midlight, RGBColor(227, 227, 227)};
    case 23: return {P::Active, P::ToolTipText, RGBColor(0, 0, 0)};
    case 24: return {P::Active, P::ToolTipBase, RGBColor(255, 255, 225)};
    case 26: return {P::Active, P::Link, RGBColor(0, 102, 204)};
    case 27: return {P::Active, P::Highlight, RGBColor(185, 209, 234)};
    case 28: return {P::Inactive, P::Highlight, RGBColor(215, 228, 242)};
    case 29: return {P::Active, P::Highlight, RGBColor(0, 120, 215)};
    case 30: return {P::Active, P::Window, RGBColor(240, 240, 240)};
    default: return {P::Active, P::Window, RGBColor(0, 0, 0)};
  }
}

}  // namespace

const TIdentMap ColorIdents{kColors};
const TIdentMap CharsetIdents{kCharsets};

const char* TIdentMap::ToIdent(int32_t value) const {
  for (const auto& e : fEntries)
    if (e.Value == value) return e.Name;
  return nullptr;
}

std::optional<int32_t> TIdentMap::ToInt(const char* name) const {
  for (const auto& e : fEntries)
    if (strcasecmp(e.Name, name) == 0) return e.Value;
  return std::nullopt;
}

TColor ColorToRGB(TColor color) {
  if (color == clNone) return clBlack;
  if (color == clDefault) return clWhite;
  if (!IsSystemColor(color)) return color & 0xFFFFFF;
  SystemEntry e = SystemEntryFor(color & 0xFF);
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return e.fallback;
  return FromQColor(QGuiApplication::palette().color(e.group, e.role));
}

QColor ToQColor(TColor color) {
  TColor rgb = ColorToRGB(color);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor& c) { return RGBColor(c.red(), c.green(), c.blue()); }
