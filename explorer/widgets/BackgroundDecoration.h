#pragma once

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <functional>
#include <optional>

#include "Colors.h"
#include "Gradient.h"
#include "PicturePlacement.h"

class QPainter;

namespace odz {

// The background of a decorated list or tree: a gradient, a picture placed in one of five ways, or
// both. It keeps the properties, paints them, and keeps the last composed background so that
// scrolling and repainting rows costs one copy. Colours that name system colours are looked up in
// the application's palette.
class TBackgroundDecoration {
public:
    // changed runs after every property that took a new value, so the owner can repaint.
    explicit TBackgroundDecoration(std::function<void()> changed);

    const QPixmap& BackPict() const { return FBackPict; }
    // A null picture clears it; the same picture again changes nothing.
    void SetBackPict(const QPixmap& picture);
    void SetBackPict(const QImage& picture);
    TColor ColorBegin() const { return FColorBegin; }
    void SetColorBegin(TColor color);
    TColor ColorEnd() const { return FColorEnd; }
    void SetColorEnd(TColor color);
    TImageMode ImageMode() const { return FImageMode; }
    void SetImageMode(TImageMode mode);
    TBackEffect BackEffect() const { return FBackEffect; }
    void SetBackEffect(TBackEffect effect);
    // Leaves the colour of the picture's bottom-left pixel out of the picture wherever it appears.
    bool ITransparent() const { return FITransparent; }
    void SetITransparent(bool transparent);
    // The plain background, and the colour that the decoration replaces.
    TColor Color() const { return FColor; }
    void SetColor(TColor color);

    // A decoration is on when a picture mode or a gradient is chosen.
    bool IsOn() const { return FImageMode != imNone || FBackEffect != gdSolid; }
    // The picture as it is drawn, with ITransparent applied.
    const QPixmap& DrawnPicture() const { return FDrawnPict; }

    // Paints the whole background of a client area whose top-left corner is (0, 0).
    void PaintBackground(QPainter& canvas, const QSize& client) const;

    // Puts the decoration of a client area on a surface, from the top down to height (0 paints
    // nothing). Without a tile origin the decoration is fixed to the surface; with one, copies of it
    // are laid from that point rightwards and downwards over the plain colour, so that it moves with
    // the content it lies under.
    void PaintBackgroundTo(QPainter& canvas, const QSize& client, int height,
                           const std::optional<QPoint>& tileOrigin = std::nullopt, qreal pixelRatio = 1.0);

private:
    const QPixmap& Composed(const QSize& client, qreal pixelRatio);
    void Changed();

    std::function<void()> FChanged;
    QPixmap FBackPict;
    QPixmap FDrawnPict;
    TColor FColorBegin = clNavy;
    TColor FColorEnd = clBlue;
    TImageMode FImageMode = imNone;
    TBackEffect FBackEffect = gdSolid;
    bool FITransparent = false;
    TColor FColor = clWhite;

    struct TCacheKey {
        QSize size;
        qreal pixelRatio = 0;
        QRgb color = 0, begin = 0, end = 0;
        bool operator==(const TCacheKey&) const = default;
    };
    QPixmap FComposed;
    std::optional<TCacheKey> FComposedFor;
};

}  // namespace odz
