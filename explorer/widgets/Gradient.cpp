#include "Gradient.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cstdlib>

namespace odz {

namespace {

constexpr const char* kEffectNames[kBackEffectCount] = {
    "gdSolid",         "gdTopToBottom",   "gdLeftToRight",   "gdBottomToTop", "gdRightToLeft",
    "gdHorzIn",        "gdHorzOut",       "gdVertIn",        "gdVertOut",     "gdTLeftToBRight",
    "gdBLeftToTRight", "gdTRightToBLeft", "gdBRightToTLeft", "gdRectangleIn", "gdRectangleOut",
    "gdDRecHorIn",     "gdDRecHorOut",    "gdDRecVerIn",     "gdRectVerOut",  "gdQRecIn",
    "gdQRecOut",       "gdEllipseIn",     "gdEllipseOut",    "gdDEliHorIn",   "gdDEHorOut",
    "gdDEliVerIn",     "gdDEliVerOut",    "gdQEliIn",        "gdQEliOut",
};

int Channel(TColor color, int shift) {
    return static_cast<int>(color >> shift & 0xFF);
}

// Half-way values go to the even neighbour, as the rest of the layout arithmetic expects.
int HalfRoundedToEven(int value) {
    const int half = value / 2;
    if (value % 2 == 0) return half;
    return half % 2 == 0 ? half : half + 1;
}

// Bands stacked from the top (or set side by side from the left): band i covers the rows (columns)
// from MulDiv(i, extent, 256) up to MulDiv(i + 1, extent, 256); bands that start and end on the same
// row paint nothing.
template <class TEntry>
void PaintBands(QPainter& canvas, const QRect& rect, const TGradientColors& ramp, bool stacked,
                TEntry entryOf) {
    const int extent = stacked ? rect.height() : rect.width();
    for (int i = 0; i < kRampSize; ++i) {
        const int from = MulDiv(i, extent, kRampSize);
        const int to = MulDiv(i + 1, extent, kRampSize);
        if (to <= from) continue;
        const QRect band = stacked ? QRect(rect.left(), rect.top() + from, rect.width(), to - from)
                                   : QRect(rect.left() + from, rect.top(), to - from, rect.height());
        canvas.fillRect(band, QColor(ramp[entryOf(i)]));
    }
}

int Symmetric(int band) {
    return band < kRampSize / 2 ? 2 * band + 1 : 2 * (kRampSize - 1) - 2 * band;
}

// Stripes across the diagonal from the top-left corner, mirrored to start from another corner. The
// stripe boundary at distance t (a whole number of pixels) is the line x + y = t + 0.5 in the painter's
// coordinates, so every pixel falls into exactly one stripe; where a stripe turns round a corner of the
// rectangle the corner point is part of its outline, so no pixel there is left out.
void PaintDiagonal(QPainter& canvas, const QRect& rect, const TGradientColors& ramp, bool mirrorX,
                   bool mirrorY) {
    const int w = rect.width();
    const int h = rect.height();
    const qreal left = rect.left();
    const qreal top = rect.top();
    const qreal right = left + w;
    const qreal bottom = top + h;
    const auto place = [&](qreal x, qreal y) {
        return QPointF(mirrorX ? left + right - x : x, mirrorY ? top + bottom - y : y);
    };
    const auto alongTopAndRight = [&](int t) {
        return t < w ? place(left + t + 0.5, top) : place(right, top + (t - w) + 0.5);
    };
    const auto alongLeftAndBottom = [&](int t) {
        return t < h ? place(left, top + t + 0.5) : place(left + (t - h) + 0.5, bottom);
    };
    for (int i = 0; i < kRampSize - 1; ++i) {
        // i * (w + h) / 255 and (i + 1) * (w + h) / 255, truncated; whole numbers keep the far edge exact.
        const int a = static_cast<int>(static_cast<std::int64_t>(i) * (w + h) / (kRampSize - 1));
        const int b = static_cast<int>(static_cast<std::int64_t>(i + 1) * (w + h) / (kRampSize - 1));
        if (b <= a) continue;
        QPolygonF stripe;
        stripe << alongTopAndRight(a);
        if (a < w && b >= w) stripe << place(right, top);
        stripe << alongTopAndRight(b) << alongLeftAndBottom(b);
        if (a < h && b >= h) stripe << place(left, bottom);
        stripe << alongLeftAndBottom(a);
        canvas.setBrush(QColor(ramp[i]));
        canvas.drawPolygon(stripe);
    }
}

// Rectangles and ellipses drawn concentrically inside one, two or four areas. Area bounds include
// their right and bottom edges.
struct TArea {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
    QRect Rect() const { return QRect(QPoint(left, top), QPoint(right, bottom)); }
};

void PaintShapes(QPainter& canvas, const QRect& rect, const TGradientColors& ramp, int effect) {
    const int midX = rect.left() + HalfRoundedToEven(rect.width());
    const int midY = rect.top() + HalfRoundedToEven(rect.height());
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    const bool ellipses = effect >= gdEllipseIn;
    std::array<TArea, 4> areas{};
    switch ((effect - gdRectangleIn) % 8 / 2) {
        case 0:
            areas[0] = {l, t, r, b};
            break;
        case 1:
            areas[0] = {l, t, r, midY + 1};
            areas[1] = {l, midY - 1, r, b};
            break;
        case 2:
            areas[0] = {l, t, midX + 1, b};
            areas[1] = {midX - 1, t, r, b};
            break;
        default:
            areas[0] = {l, t, midX + 1, midY + 1};
            areas[1] = {midX - 1, t, r, midY + 1};
            areas[2] = {l, midY - 1, midX + 1, b};
            areas[3] = {midX - 1, midY - 1, r, b};
            break;
    }
    const bool second = !areas[1].Empty();
    const bool thirdAndFourth = !areas[2].Empty() && !areas[3].Empty();
    const auto painted = [&](int index) {
        return index == 0 || (index == 1 && second) || (index > 1 && thirdAndFourth);
    };

    // The steps of the insets come from the first area for all of them.
    const int spanX = areas[0].right - areas[0].left + 1;
    const int spanY = areas[0].bottom - areas[0].top + 1;
    for (int index = 0; index < 4; ++index)
        if (painted(index)) canvas.fillRect(areas[index].Rect(), QColor(ramp[0]));
    for (int i = 1; i < kRampSize; ++i) {
        // Trunc(i * dx / 2) with dx = span / 256.
        const int insetX = static_cast<int>(static_cast<std::int64_t>(i) * spanX / (2 * kRampSize));
        const int insetY = static_cast<int>(static_cast<std::int64_t>(i) * spanY / (2 * kRampSize));
        for (int index = 0; index < 4; ++index) {
            if (!painted(index)) continue;
            const TArea& area = areas[index];
            const QRect shape(QPoint(area.left + insetX, area.top + insetY),
                              QPoint(area.right - insetX, area.bottom - insetY));
            if (shape.isEmpty()) continue;
            if (ellipses) {
                // Filled as a path: the painter's own aliased ellipses stray outside their rectangle
                // (and the clip) when they are only a pixel or two high.
                QPainterPath path;
                path.addEllipse(QRectF(shape));
                canvas.fillPath(path, QColor(ramp[i]));
            } else
                canvas.fillRect(shape, QColor(ramp[i]));
        }
    }
}

}  // namespace

QString BackEffectName(TBackEffect effect) {
    if (effect < 0 || effect >= kBackEffectCount) return {};
    return QString::fromLatin1(kEffectNames[effect]);
}

TGradientColors BuildColorRamp(TColor first, TColor second, int count) {
    TGradientColors ramp{};
    ramp.fill(qRgb(0, 0, 0));
    int channels[3][2];
    for (int c = 0; c < 3; ++c) {
        channels[c][0] = Channel(first, 8 * c);
        channels[c][1] = Channel(second, 8 * c);
    }
    const int filled = qBound(0, count, kRampSize);
    for (int i = 0; i < filled; ++i) {
        int value[3];
        for (int c = 0; c < 3; ++c) {
            // The step is a multiple of 1/256, so the product is exact and truncation is well defined.
            const double step = (channels[c][1] - channels[c][0]) / static_cast<double>(kRampSize);
            value[c] = static_cast<int>(channels[c][0] + i * step);
        }
        ramp[i] = qRgb(value[0], value[1], value[2]);
    }
    return ramp;
}

int MulDiv(int a, int b, int c) {
    if (c == 0) return 0;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t magnitude =
        (std::llabs(product) * 2 + std::llabs(c)) / (2 * std::llabs(static_cast<std::int64_t>(c)));
    return static_cast<int>((product < 0) != (c < 0) ? -magnitude : magnitude);
}

void PaintGradient(TBackEffect effect, TColor first, TColor second, QPainter& canvas, const QRect& rect) {
    if (effect <= gdSolid || effect >= kBackEffectCount || rect.width() <= 0 || rect.height() <= 0) return;
    const bool reversed = (effect >= gdTopToBottom && effect <= gdVertOut)
                              ? (effect == gdBottomToTop || effect == gdRightToLeft || effect == gdHorzOut ||
                                 effect == gdVertOut)
                              : (effect >= gdRectangleIn && (effect - gdRectangleIn) % 2 == 1);
    const TGradientColors ramp = reversed ? BuildColorRamp(second, first) : BuildColorRamp(first, second);

    canvas.save();
    canvas.setPen(Qt::NoPen);
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setClipRect(rect, Qt::IntersectClip);
    const auto same = [](int i) { return i; };
    switch (effect) {
        case gdTopToBottom:
        case gdBottomToTop:
            PaintBands(canvas, rect, ramp, true, same);
            break;
        case gdLeftToRight:
        case gdRightToLeft:
            PaintBands(canvas, rect, ramp, false, same);
            break;
        case gdHorzIn:
        case gdHorzOut:
            PaintBands(canvas, rect, ramp, true, Symmetric);
            break;
        case gdVertIn:
        case gdVertOut:
            PaintBands(canvas, rect, ramp, false, Symmetric);
            break;
        case gdTLeftToBRight:
            PaintDiagonal(canvas, rect, ramp, false, false);
            break;
        case gdBLeftToTRight:
            PaintDiagonal(canvas, rect, ramp, false, true);
            break;
        case gdTRightToBLeft:
            PaintDiagonal(canvas, rect, ramp, true, false);
            break;
        case gdBRightToTLeft:
            PaintDiagonal(canvas, rect, ramp, true, true);
            break;
        default:
            PaintShapes(canvas, rect, ramp, effect);
            break;
    }
    canvas.restore();
}

}  // namespace odz
