#pragma once

// Colour values as the window descriptions store them. No Qt here: the plain C++ layers use the
// names and ColorToRGB too.

#include <cstdint>

class QColor;

namespace framework {

// 0x00BBGGRR, red in the low byte; 0xFF0000nn names the system colour with index nn.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;

inline constexpr TColor SystemColorFlag = 0xFF000000;

inline constexpr TColor clScrollBar = SystemColorFlag | 0;
inline constexpr TColor clBackground = SystemColorFlag | 1;
inline constexpr TColor clActiveCaption = SystemColorFlag | 2;
inline constexpr TColor clInactiveCaption = SystemColorFlag | 3;
inline constexpr TColor clMenu = SystemColorFlag | 4;
inline constexpr TColor clWindow = SystemColorFlag | 5;
inline constexpr TColor clWindowFrame = SystemColorFlag | 6;
inline constexpr TColor clMenuText = SystemColorFlag | 7;
inline constexpr TColor clWindowText = SystemColorFlag | 8;
inline constexpr TColor clCaptionText = SystemColorFlag | 9;
inline constexpr TColor clActiveBorder = SystemColorFlag | 10;
inline constexpr TColor clInactiveBorder = SystemColorFlag | 11;
inline constexpr TColor clAppWorkSpace = SystemColorFlag | 12;
inline constexpr TColor clHighlight = SystemColorFlag | 13;
inline constexpr TColor clHighlightText = SystemColorFlag | 14;
inline constexpr TColor clBtnFace = SystemColorFlag | 15;
inline constexpr TColor clBtnShadow = SystemColorFlag | 16;
inline constexpr TColor clGrayText = SystemColorFlag | 17;
inline constexpr TColor clBtnText = SystemColorFlag | 18;
inline constexpr TColor clInactiveCaptionText = SystemColorFlag | 19;
inline constexpr TColor clBtnHighlight = SystemColorFlag | 20;
inline constexpr TColor cl3DDkShadow = SystemColorFlag | 21;
inline constexpr TColor cl3DLight = SystemColorFlag | 22;
inline constexpr TColor clInfoText = SystemColorFlag | 23;
inline constexpr TColor clInfoBk = SystemColorFlag | 24;
inline constexpr TColor clHotLight = SystemColorFlag | 26;
inline constexpr TColor clGradientActiveCaption = SystemColorFlag | 27;
inline constexpr TColor clGradientInactiveCaption = SystemColorFlag | 28;
inline constexpr TColor clMenuHighlight = SystemColorFlag | 29;
inline constexpr TColor clMenuBar = SystemColorFlag | 30;

inline constexpr int SystemColorCount = 31;

// The system colours are not taken from the desktop theme: a fixed table (the classic scheme of
// Windows 2000, e.g. button face 0xC8D0D4) makes the window look the same on every machine.
inline constexpr TColor SystemColorTable[SystemColorCount] = {
    0xC8D0D4, // 0 scroll bar
    0xA56E3A, // 1 desktop background
    0x6A240A, // 2 active caption
    0x808080, // 3 inactive caption
    0xC8D0D4, // 4 menu
    0xFFFFFF, // 5 window
    0x000000, // 6 window frame
    0x000000, // 7 menu text
    0x000000, // 8 window text
    0xFFFFFF, // 9 caption text
    0xC8D0D4, // 10 active border
    0xC8D0D4, // 11 inactive border
    0x808080, // 12 application workspace
    0x6A240A, // 13 highlight
    0xFFFFFF, // 14 highlight text
    0xC8D0D4, // 15 button face
    0x808080, // 16 button shadow
    0x808080, // 17 grey text
    0x000000, // 18 button text
    0xC8D0D4, // 19 inactive caption text
    0xFFFFFF, // 20 button highlight
    0x404040, // 21 3-D dark shadow
    0xC8D0D4, // 22 3-D light
    0x000000, // 23 tooltip text
    0xE1FFFF, // 24 tooltip background
    0xB5B5B5, // 25 unused slot
    0x800000, // 26 hot-tracked item
    0xF0CAA6, // 27 active caption gradient
    0xC0C0C0, // 28 inactive caption gradient
    0x6A240A, // 29 menu highlight
    0xC8D0D4, // 30 menu bar
};

constexpr bool IsSystemColor(TColor c) {
  return (c & 0xFF000000) == SystemColorFlag;
}

// Resolves a system colour through the table (an unknown index gives black, as the platform does);
// any other value keeps its three colour bytes.
constexpr TColor ColorToRGB(TColor c) {
  if (IsSystemColor(c)) {
    const unsigned index = c & 0xFF;
    return index < SystemColorCount ? SystemColorTable[index] : clBlack;
  }
  return c & 0x00FFFFFF;
}

constexpr int GetRValue(TColor c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(TColor c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(TColor c) {
  return static_cast<int>((c >> 16) & 0xFF);
}
constexpr TColor RGBColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// Opaque 0xAARRGGBB as Qt's QRgb holds it.
constexpr std::uint32_t ToQRgb(TColor c) {
  const TColor rgb = ColorToRGB(c);
  return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(rgb)) << 16) |
         (static_cast<std::uint32_t>(GetGValue(rgb)) << 8) |
         static_cast<std::uint32_t>(GetBValue(rgb));
}

// The alpha byte is dropped.
constexpr TColor FromQRgb(std::uint32_t argb) {
  return RGBColor(static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
                  static_cast<int>(argb & 0xFF));
}

QColor ToQColor(TColor c);
TColor FromQColor(const QColor &c);

} // namespace framework
