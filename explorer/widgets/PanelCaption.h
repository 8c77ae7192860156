#pragma once

#include <QColor>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include "TextAlignment.h"

class QPainter;

namespace odz {

// How the panel's caption is drawn: plain, or over copies of itself in the shadow colour.
enum TTextEffect {
    tenone,
    teRaised,
    teLowered,
    teEmbossed,
    teLowerLeftShadow,
    teLowerRightShadow,
    teUpperLeftShadow,
    teUpperRightShadow,
};
// Vertical placement of the panel's caption.
enum TVertAlign { ztTop, ztCenter, ZtBottom };
// Direction of the panel's caption: along the line, reading upwards (90 degrees) or downwards (270).
enum TTextRotation { trNone, TrUp, TrDown };

// The shifts of the shadow-coloured copies that an effect draws under the caption, on the screen.
QList<QPoint> CaptionEffectOffsets(TTextEffect effect, int depth);

struct TCaptionStyle {
    TAlignment alignment = taCenter;
    TVertAlign vertAlign = ztCenter;
    TTextRotation rotation = trNone;
    TTextEffect effect = tenone;
    QColor textColor;
    QColor shadowColor;
    int depth = 2;
};

// Draws the caption in the rectangle on one line, cut short with an ellipsis when it does not fit; an
// "&" marks the following character as the access key. Uses the painter's font.
void DrawEffectCaption(QPainter& painter, const QRect& rect, const QString& caption,
                       const TCaptionStyle& style);

}  // namespace odz
