#include "ShadowText.h"

#include <QFontMetrics>
#include <QPainter>

namespace odz {

namespace {

constexpr int kUnbounded = 1 << 20;
constexpr int kAlignmentFlags = Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask;

// The text's rectangle with its top-left corner at the rectangle's, as a measuring pass reports it.
QRect Measure(const QFontMetrics& metrics, const QString& text, int flags, const QRect& rect) {
    const int wrapWidth = (flags & Qt::TextWordWrap) ? qMax(rect.width(), 1) : kUnbounded;
    const QRect measured =
        metrics.boundingRect(QRect(rect.left(), rect.top(), wrapWidth, kUnbounded),
                             (flags & ~kAlignmentFlags) | Qt::AlignLeft | Qt::AlignTop, text);
    return QRect(rect.topLeft(), measured.size());
}

int Lay(QPainter* painter, const QFontMetrics& metrics, const QString& text, int flags, QRect& rect) {
    if (!painter) {
        rect = Measure(metrics, text, flags, rect);
        return text.isEmpty() ? 0 : rect.height();
    }
    QRect drawn;
    painter->drawText(rect, flags, text, &drawn);
    return text.isEmpty() ? 0 : drawn.height();
}

}  // namespace

QPoint ShadowOffset(TShadowPosition position, int size) {
    switch (position) {
        case spLeftBottom:
            return QPoint(-size, size);
        case spRightBottom:
            return QPoint(size, size);
        case spRightTop:
            return QPoint(size, -size);
        default:
            return QPoint(-size, -size);
    }
}

int DrawShadowText(QPainter* painter, const QFontMetrics& metrics, const QString& text,
                   TShadowPosition position, const QColor& shadowColor, int size, int flags, QRect& rect) {
    QRect shadow = rect.translated(ShadowOffset(position, size));
    int result = 0;
    if (painter) {
        const QPen textPen = painter->pen();
        painter->setPen(shadowColor);
        const int height = Lay(painter, metrics, text, flags, shadow);
        if (height > 0) result = height + size;
        painter->setPen(textPen);
    } else {
        const int height = Lay(nullptr, metrics, text, flags, shadow);
        if (height > 0) result = height + size;
    }
    Lay(painter, metrics, text, flags, rect);
    rect = rect.united(shadow);
    return result;
}

}  // namespace odz
