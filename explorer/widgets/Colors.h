#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace odz {

// A colour as the components store it: red in bits 0 to 7, green in 8 to 15, blue in 16 to 23. A value
// with the top bit set names a system colour instead; its low byte says which one.
using TColor = std::uint32_t;

constexpr TColor RGBColor(int red, int green, int blue) {
    return static_cast<TColor>(red & 0xFF) | static_cast<TColor>(green & 0xFF) << 8 |
           static_cast<TColor>(blue & 0xFF) << 16;
}

inline constexpr TColor clSystemColor = 0xFF000000;

inline constexpr TColor clBlack = RGBColor(0, 0, 0);
inline constexpr TColor clNavy = RGBColor(0, 0, 128);
inline constexpr TColor clBlue = RGBColor(0, 0, 255);
inline constexpr TColor clGray = RGBColor(128, 128, 128);
inline constexpr TColor clSilver = RGBColor(192, 192, 192);
inline constexpr TColor clWhite = RGBColor(255, 255, 255);
inline constexpr TColor clRed = RGBColor(255, 0, 0);
inline constexpr TColor clYellow = RGBColor(255, 255, 0);

// The system colours, numbered as the platforms that introduced them number them.
inline constexpr TColor clScrollBar = clSystemColor | 0;
inline constexpr TColor clBackground = clSystemColor | 1;
inline constexpr TColor clActiveCaption = clSystemColor | 2;
inline constexpr TColor clInactiveCaption = clSystemColor | 3;
inline constexpr TColor clMenu = clSystemColor | 4;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowFrame = clSystemColor | 6;
inline constexpr TColor clMenuText = clSystemColor | 7;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clCaptionText = clSystemColor | 9;
inline constexpr TColor clActiveBorder = clSystemColor | 10;
inline constexpr TColor clInactiveBorder = clSystemColor | 11;
inline constexpr TColor clAppWorkSpace = clSystemColor | 12;
inline constexpr TColor clHighlight = clSystemColor | 13;
inline constexpr TColor clHighlightText = clSystemColor | 14;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clBtnShadow = clSystemColor | 16;
inline constexpr TColor clGrayText = clSystemColor | 17;
inline constexpr TColor clBtnText = clSystemColor | 18;
inline constexpr TColor clInactiveCaptionText = clSystemColor | 19;
inline constexpr TColor clBtnHighlight = clSystemColor | 20;
inline constexpr TColor cl3DDkShadow = clSystemColor | 21;
inline constexpr TColor cl3DLight = clSystemColor | 22;
inline constexpr TColor clInfoText = clSystemColor | 23;
inline constexpr TColor clInfoBk = clSystemColor | 24;
inline constexpr TColor clHotLight = clSystemColor | 26;
inline constexpr TColor clGradientActiveCaption = clSystemColor | 27;
inline constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
inline constexpr TColor clMenuHighlight = clSystemColor | 29;
inline constexpr TColor clMenuBar = clSystemColor | 30;

constexpr bool IsSystemColor(TColor color) {
    return (color & 0x80000000u) != 0;
}

// The plain colour of the low three bytes, whatever the top byte says.
QColor ColorToRgb(TColor color);

// The palette group and role that stand for a system colour on this desktop.
struct TSystemColorRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};
TSystemColorRole SystemColorRole(TColor color);

// The colour to paint with: a system colour is looked up in the palette (the application's palette
// when none is given), any other value is its low three bytes.
QColor ResolveColor(TColor color, const QPalette& palette);
QColor ResolveColor(TColor color);

// The colour value of a plain colour (alpha dropped).
TColor ColorFromQColor(const QColor& color);

}  // namespace odz
