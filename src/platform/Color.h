// Colours are 32-bit values with red in the lowest byte (0x00BBGGRR);
// 0xFF0000nn names the system colour nn, resolved through the palette.
#pragma once

#include <QColor>
#include <cstdint>
#include <optional>
#include <span>

using TColor = int32_t;

constexpr TColor RGBColor(uint8_t r, uint8_t g, uint8_t b) { return r | (g << 8) | (b << 16); }
constexpr uint8_t GetRValue(TColor c) { return c & 0xFF; }
constexpr uint8_t GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr uint8_t GetBValue(TColor c) { return (c >> 16) & 0xFF; }

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0xFF000000u | uint32_t(index)); }
constexpr bool IsSystemColor(TColor c) { return (uint32_t(c) & 0xFF000000u) == 0xFF000000u; }

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080, clNavy = 0x800000,
                 clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080, clSilver = 0xC0C0C0, clRed = 0x0000FF,
                 clLime = 0x00FF00, clYellow = 0x00FFFF, clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00,
                 clWhite = 0xFFFFFF, clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF,
                 clMedGray = 0xA4A0A0;
constexpr TColor clScrollBar = SystemColor(0), clBackground = SystemColor(1), clActiveCaption = SystemColor(2),
                 clInactiveCaption = SystemColor(3), clMenu = SystemColor(4), clWindow = SystemColor(5),
                 clWindowFrame = SystemColor(6), clMenuText = SystemColor(7), clWindowText = SystemColor(8),
                 clCaptionText = SystemColor(9), clActiveBorder = SystemColor(10), clInactiveBorder = SystemColor(11),
                 clAppWorkSpace = SystemColor(12), clHighlight = SystemColor(13), clHighlightText = SystemColor(14),
                 clBtnFace = SystemColor(15), clBtnShadow = SystemColor(16), clGrayText = SystemColor(17),
                 clBtnText = SystemColor(18), clInactiveCaptionText = SystemColor(19), clBtnHighlight = SystemColor(20),
                 cl3DDkShadow = SystemColor(21), cl3DLight = SystemColor(22), clInfoText = SystemColor(23),
                 clInfoBk = SystemColor(24), clHotLight = SystemColor(26), clGradientActiveCaption = SystemColor(27),
                 clGradientInactiveCaption = SystemColor(28), clMenuHighlight = SystemColor(29),
                 clMenuBar = SystemColor(30);
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;

// An integer value with a name: colours and font charsets are written by
// name when they have one.
struct TIdentEntry {
  int32_t Value;
  const char* Name;
};

class TIdentMap {
 public:
  constexpr explicit TIdentMap(std::span<const TIdentEntry> entries) : fEntries(entries) {}
  // The first name of the value, if any.
  const char* ToIdent(int32_t value) const;
  // Case-insensitive lookup by name.
  std::optional<int32_t> ToInt(const char* name) const;
  std::span<const TIdentEntry> Entries() const { return fEntries; }

 private:
  std::span<const TIdentEntry> fEntries;
};

extern const TIdentMap ColorIdents;
extern const TIdentMap CharsetIdents;

// The RGB value of a colour; system colours resolve through the application
// palette, clNone and clDefault to black/white as the caller expects.
TColor ColorToRGB(TColor color);
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& c);
