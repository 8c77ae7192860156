#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

class QFontMetrics;
class QPainter;

namespace odz {

// Where a label's shadow falls, seen from the text.
enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };

// The shift of the shadow copy for a shadow of the given size.
QPoint ShadowOffset(TShadowPosition position, int size);

// Draws the text twice: first a copy in the shadow colour shifted by the shadow size, then the text
// itself in the painter's pen colour, which is left as it was found. Flags are Qt::TextFlag and
// alignment values. Without a painter nothing is drawn and the text is only measured with the
// metrics, the way a label measures itself: rect keeps its top-left corner and takes the text's size.
// Either way rect becomes the union of the text's rectangle and the shadow copy's, so a measurement
// includes the shadow. Returns the height of the shadow copy plus the shadow size (0 when nothing
// was laid out).
int DrawShadowText(QPainter* painter, const QFontMetrics& metrics, const QString& text,
                   TShadowPosition position, const QColor& shadowColor, int size, int flags, QRect& rect);

}  // namespace odz
