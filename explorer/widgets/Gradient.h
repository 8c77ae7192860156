#pragma once

#include <QRect>
#include <QRgb>
#include <QString>
#include <array>
#include <cstdint>

#include "Colors.h"

class QPainter;

namespace odz {

// How a two-colour gradient is laid over a rectangle. The names are those stored in form files.
enum TBackEffect {
    gdSolid,
    gdTopToBottom,
    gdLeftToRight,
    gdBottomToTop,
    gdRightToLeft,
    gdHorzIn,
    gdHorzOut,
    gdVertIn,
    gdVertOut,
    gdTLeftToBRight,
    gdBLeftToTRight,
    gdTRightToBLeft,
    gdBRightToTLeft,
    gdRectangleIn,
    gdRectangleOut,
    gdDRecHorIn,
    gdDRecHorOut,
    gdDRecVerIn,
    gdRectVerOut,
    gdQRecIn,
    gdQRecOut,
    gdEllipseIn,
    gdEllipseOut,
    gdDEliHorIn,
    gdDEHorOut,
    gdDEliVerIn,
    gdDEliVerOut,
    gdQEliIn,
    gdQEliOut,
};
// The panel's name for the same set.
using TPanBackEffect = TBackEffect;

inline constexpr int kBackEffectCount = gdQEliOut + 1;

// The name of an effect as form files store it ("gdTopToBottom"); empty for a value out of range.
QString BackEffectName(TBackEffect effect);

// The ramp: 256 colours from the first colour towards the second.
inline constexpr int kRampSize = 256;
using TGradientColors = std::array<QRgb, kRampSize>;

// Entry i holds first + i * (second - first) / 256 per channel, truncated toward zero: entry 0 is the
// first colour, entry 255 stops one step short of the second. Only the low three bytes of the colours
// count. The count is the number of entries to fill (at most 256); the rest stay black.
TGradientColors BuildColorRamp(TColor first, TColor second, int count = kRampSize);

// a * b / c with a 64-bit intermediate, rounded to the nearest integer (halves away from zero); 0 when c
// is 0.
int MulDiv(int a, int b, int c);

// Paints the effect over the rectangle (right and bottom included, as QRect has them), with plain
// colours: system colours must be resolved by the caller. gdSolid paints nothing; the caller fills.
// The painter's state is left as it was found.
void PaintGradient(TBackEffect effect, TColor first, TColor second, QPainter& canvas, const QRect& rect);

}  // namespace odz
