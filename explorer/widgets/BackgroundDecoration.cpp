#include "BackgroundDecoration.h"

#include <QPainter>
#include <algorithm>

namespace odz {

TBackgroundDecoration::TBackgroundDecoration(std::function<void()> changed) : FChanged(std::move(changed)) {}

void TBackgroundDecoration::Changed() {
    FComposedFor.reset();
    if (FChanged) FChanged();
}

void TBackgroundDecoration::SetBackPict(const QPixmap& picture) {
    if (picture.isNull() && FBackPict.isNull()) return;
    if (!picture.isNull() && picture.cacheKey() == FBackPict.cacheKey()) return;
    FBackPict = picture;
    FDrawnPict = TransparentPicture(FBackPict, FITransparent);
    Changed();
}

void TBackgroundDecoration::SetBackPict(const QImage& picture) {
    SetBackPict(picture.isNull() ? QPixmap() : QPixmap::fromImage(picture));
}

void TBackgroundDecoration::SetColorBegin(TColor color) {
    if (color == FColorBegin) return;
    FColorBegin = color;
    Changed();
}

void TBackgroundDecoration::SetColorEnd(TColor color) {
    if (color == FColorEnd) return;
    FColorEnd = color;
    Changed();
}

void TBackgroundDecoration::SetImageMode(TImageMode mode) {
    if (mode == FImageMode) return;
    FImageMode = mode;
    Changed();
}

void TBackgroundDecoration::SetBackEffect(TBackEffect effect) {
    if (effect == FBackEffect) return;
    FBackEffect = effect;
    Changed();
}

void TBackgroundDecoration::SetITransparent(bool transparent) {
    if (transparent == FITransparent) return;
    FITransparent = transparent;
    FDrawnPict = TransparentPicture(FBackPict, FITransparent);
    Changed();
}

void TBackgroundDecoration::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    Changed();
}

void TBackgroundDecoration::PaintBackground(QPainter& canvas, const QSize& client) const {
    const QRect area(QPoint(0, 0), client);
    if (area.isEmpty()) return;
    // The plain colour first: every mode that leaves part of the area uncovered shows it there, and
    // nothing of what was on the surface before shines through.
    canvas.fillRect(area, ResolveColor(FColor));
    const TColor begin = ColorFromQColor(ResolveColor(FColorBegin));
    const TColor end = ColorFromQColor(ResolveColor(FColorEnd));
    const bool gradient = FBackEffect != gdSolid;
    const QPixmap& picture = FDrawnPict;
    const QSize pictureSize = picture.deviceIndependentSize().toSize();
    // Without a picture every mode shows what it would show around one: the gradient or the colour.
    if (FImageMode == imNone || picture.isNull()) {
        if (gradient) PaintGradient(FBackEffect, begin, end, canvas, area);
        return;
    }
    switch (FImageMode) {
        case imStretched:
            canvas.drawPixmap(area, picture);
            break;
        case imStretchRatio:
            if (gradient) PaintGradient(FBackEffect, begin, end, canvas, area);
            canvas.drawPixmap(FitPictureRect(area, pictureSize), picture);
            break;
        case imCentered:
            if (gradient && (pictureSize.width() < client.width() || pictureSize.height() < client.height()))
                PaintGradient(FBackEffect, begin, end, canvas, area);
            canvas.drawPixmap(CenteredPicturePos(area, pictureSize), picture);
            break;
        case imTiled:
            DrawTiled(canvas, picture, area, QPoint(0, 0));
            break;
        case imNone:
            break;
    }
}

const QPixmap& TBackgroundDecoration::Composed(const QSize& client, qreal pixelRatio) {
    const TCacheKey key{client, pixelRatio, ResolveColor(FColor).rgb(), ResolveColor(FColorBegin).rgb(),
                        ResolveColor(FColorEnd).rgb()};
    if (FComposedFor == key) return FComposed;
    FComposed = QPixmap((QSizeF(client) * pixelRatio).toSize());
    FComposed.setDevicePixelRatio(pixelRatio);
    FComposed.fill(Qt::transparent);
    {
        QPainter canvas(&FComposed);
        PaintBackground(canvas, client);
    }
    FComposedFor = key;
    return FComposed;
}

void TBackgroundDecoration::PaintBackgroundTo(QPainter& canvas, const QSize& client, int height,
                                              const std::optional<QPoint>& tileOrigin, qreal pixelRatio) {
    if (height <= 0 || client.isEmpty()) return;
    const QPixmap& tile = Composed(client, pixelRatio);
    const QRect target(0, 0, client.width(), height);
    canvas.save();
    canvas.setClipRect(target, Qt::IntersectClip);
    if (!tileOrigin) {
        canvas.drawPixmap(0, 0, tile);
    } else {
        canvas.fillRect(target, ResolveColor(FColor));
        const int left = std::min(tileOrigin->x(), 0);
        int top = tileOrigin->y();
        // Copies that lie wholly above the surface are skipped, however far the content is scrolled.
        if (top < 0) top += (-top / client.height()) * client.height();
        for (int y = top; y < height; y += client.height())
            for (int x = left; x < client.width(); x += client.width()) canvas.drawPixmap(x, y, tile);
    }
    canvas.restore();
}

}  // namespace odz
