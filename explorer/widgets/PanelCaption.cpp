#include "PanelCaption.h"

#include <QFontMetrics>
#include <QPainter>

namespace odz {

QList<QPoint> CaptionEffectOffsets(TTextEffect effect, int depth) {
    const int d = depth;
    switch (effect) {
        case teRaised:
        case teLowered:
        case teEmbossed:
            return {QPoint(-d, 0), QPoint(0, -d), QPoint(d, 0), QPoint(0, d)};
        case teLowerLeftShadow:
            return {QPoint(-d, d)};
        case teLowerRightShadow:
            return {QPoint(d, d)};
        case teUpperLeftShadow:
            return {QPoint(-d, -d)};
        case teUpperRightShadow:
            return {QPoint(d, -d)};
        default:
            return {};
    }
}

namespace {

int VerticalFlag(TVertAlign vertAlign) {
    switch (vertAlign) {
        case ztTop:
            return Qt::AlignTop;
        case ZtBottom:
            return Qt::AlignBottom;
        default:
            return Qt::AlignVCenter;
    }
}

// Where a block of the given size goes inside the rectangle.
QPoint Place(const QRect& rect, const QSize& block, TAlignment alignment, TVertAlign vertAlign) {
    int x = rect.left();
    if (alignment == taRightJustify) x = rect.left() + rect.width() - block.width();
    if (alignment == taCenter) x = rect.left() + (rect.width() - block.width()) / 2;
    int y = rect.top();
    if (vertAlign == ZtBottom) y = rect.top() + rect.height() - block.height();
    if (vertAlign == ztCenter) y = rect.top() + (rect.height() - block.height()) / 2;
    return QPoint(x, y);
}

// One copy of the caption, shifted on the screen by offset.
void DrawOnce(QPainter& painter, const QRect& rect, const QString& text, const TCaptionStyle& style,
              const QPoint& offset, const QColor& color) {
    const QFontMetrics metrics = painter.fontMetrics();
    painter.save();
    painter.setPen(color);
    painter.translate(offset);
    if (style.rotation == trNone) {
        const int flags = Qt::TextSingleLine | Qt::TextShowMnemonic | HorizontalAlignment(style.alignment) |
                          VerticalFlag(style.vertAlign);
        painter.drawText(rect, flags, text);
    } else {
        // On the screen a turned line is as wide as the text is high ("^_" stands for the tallest
        // letters) and as tall as the text is long.
        const int lineHeight = metrics.size(Qt::TextSingleLine, QStringLiteral("^_")).height();
        const int length = metrics.size(Qt::TextSingleLine | Qt::TextShowMnemonic, text).width();
        const QPoint at = Place(rect, QSize(lineHeight, length), style.alignment, style.vertAlign);
        if (style.rotation == TrUp) {
            painter.translate(at.x(), at.y() + length);
            painter.rotate(-90);
        } else {
            painter.translate(at.x() + lineHeight, at.y());
            painter.rotate(90);
        }
        painter.drawText(QRect(0, 0, length, lineHeight),
                         Qt::TextSingleLine | Qt::TextShowMnemonic | Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    painter.restore();
}

}  // namespace

void DrawEffectCaption(QPainter& painter, const QRect& rect, const QString& caption,
                       const TCaptionStyle& style) {
    if (caption.isEmpty() || rect.isEmpty()) return;
    const int room = style.rotation == trNone ? rect.width() : rect.height();
    const QString text =
        painter.fontMetrics().elidedText(caption, Qt::ElideRight, qMax(room, 0), Qt::TextShowMnemonic);
    for (const QPoint& offset : CaptionEffectOffsets(style.effect, style.depth))
        DrawOnce(painter, rect, text, style, offset, style.shadowColor);
    DrawOnce(painter, rect, text, style, QPoint(0, 0), style.textColor);
}

}  // namespace odz
