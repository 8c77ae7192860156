#include "ZTPanel.h"

#include <QPainter>
#include <algorithm>

namespace odz {

namespace {

// A frame of the given width: top and left edges in one colour, bottom and right in the other. The
// rectangle shrinks by the width.
void Frame3D(QPainter& canvas, QRect& rect, const QColor& topLeft, const QColor& bottomRight, int width) {
    for (int i = 0; i < width && !rect.isEmpty(); ++i) {
        canvas.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), topLeft);
        canvas.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), topLeft);
        canvas.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
        canvas.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
        rect.adjust(1, 1, -1, -1);
    }
}

}  // namespace

TZTPanel::TZTPanel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(185, 41);
}

void TZTPanel::SetAlignment(TAlignment alignment) {
    Store(FAlignment, alignment);
}
void TZTPanel::SetBevelInner(TPanelBevel bevel) {
    Store(FBevelInner, bevel);
}
void TZTPanel::SetBevelOuter(TPanelBevel bevel) {
    Store(FBevelOuter, bevel);
}
void TZTPanel::SetBevelWidth(int width) {
    Store(FBevelWidth, std::max(width, 1));
}
void TZTPanel::SetBorderWidth(int width) {
    Store(FBorderWidth, std::max(width, 0));
}
void TZTPanel::SetCaption(const QString& caption) {
    Store(FCaption, caption);
}
void TZTPanel::SetColor(TColor color) {
    Store(FColor, color);
}
void TZTPanel::SetBeveltopcolor(TColor color) {
    Store(FBevelTopColor, color);
}
void TZTPanel::SetBevelBotColor(TColor color) {
    Store(FBevelBotColor, color);
}
void TZTPanel::SetColorEnd(TColor color) {
    Store(FColorEnd, color);
}
void TZTPanel::SetImageMode(TZTPImageMode mode) {
    Store(FImageMode, mode);
}
void TZTPanel::SetGradient(TPanBackEffect gradient) {
    Store(FGradient, gradient);
}
void TZTPanel::SetTextEffect(TTextEffect effect) {
    Store(FTextEffect, effect);
}
void TZTPanel::SetVertAlign(TVertAlign vertAlign) {
    Store(FVertAlign, vertAlign);
}
void TZTPanel::SetTextRotation(TTextRotation rotation) {
    Store(FTextRotation, rotation);
}
void TZTPanel::SetShadowColor(TColor color) {
    Store(FShadowColor, color);
}
void TZTPanel::SetShadowDepth(int depth) {
    Store(FShadowDepth, depth);
}

void TZTPanel::SetPicture(const QPixmap& picture) {
    if (picture.isNull() && FPicture.isNull()) return;
    if (!picture.isNull() && picture.cacheKey() == FPicture.cacheKey()) return;
    FPicture = picture;
    FDrawnPicture = TransparentPicture(FPicture, FTransparent);
    update();
}

void TZTPanel::SetPicture(const QImage& picture) {
    SetPicture(picture.isNull() ? QPixmap() : QPixmap::fromImage(picture));
}

void TZTPanel::SetTransparent(bool transparent) {
    if (FPicture.isNull() || transparent == FTransparent) return;
    FTransparent = transparent;
    FDrawnPicture = TransparentPicture(FPicture, FTransparent);
    update();
}

QRect TZTPanel::InnerRect() const {
    const int inset = 2 * FBevelWidth + FBorderWidth;
    return rect().adjusted(inset, inset, -inset, -inset);
}

void TZTPanel::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    canvas.setFont(font());
    const QRect client = rect();
    const QRect inner = InnerRect();
    canvas.fillRect(client, ResolveColor(FColor));

    if (FImageMode != imNone) {
        PaintPicture(canvas, client, inner);
    } else if (FGradient != gdSolid) {
        PaintGradient(FGradient, ColorFromQColor(ResolveColor(FColor)),
                      ColorFromQColor(ResolveColor(FColorEnd)), canvas, inner);
    }

    if (!FCaption.isEmpty()) {
        TCaptionStyle style;
        style.alignment = FAlignment;
        style.vertAlign = FVertAlign;
        style.rotation = FTextRotation;
        style.effect = FTextEffect;
        style.textColor =
            palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
        style.shadowColor = ResolveColor(FShadowColor);
        style.depth = FShadowDepth;
        DrawEffectCaption(canvas, inner, FCaption, style);
    }
    PaintBevels(canvas, client);
}

void TZTPanel::PaintPicture(QPainter& canvas, const QRect& client, const QRect& inner) {
    if (FDrawnPicture.isNull()) return;
    if (FImageMode != imStretched) {
        if (FGradient == gdSolid)
            canvas.fillRect(client, ResolveColor(FColor));
        else
            PaintGradient(FGradient, ColorFromQColor(ResolveColor(FColor)),
                          ColorFromQColor(ResolveColor(FColorEnd)), canvas, client);
    }
    // The picture stays inside the bevels and the border.
    canvas.save();
    canvas.setClipRect(inner, Qt::IntersectClip);
    const QSize size = FDrawnPicture.deviceIndependentSize().toSize();
    switch (FImageMode) {
        case imStretched:
            canvas.drawPixmap(inner, FDrawnPicture);
            break;
        case imStretchRatio:
            canvas.drawPixmap(FitPictureRect(inner, size), FDrawnPicture);
            break;
        case imCentered:
            canvas.drawPixmap(CenteredPicturePos(inner, size), FDrawnPicture);
            break;
        case imTiled:
            DrawTiled(canvas, FDrawnPicture, inner, inner.topLeft());
            break;
        case imNone:
            break;
    }
    canvas.restore();
}

void TZTPanel::PaintBevels(QPainter& canvas, QRect rect) {
    const QColor top = ResolveColor(FBevelTopColor);
    const QColor bottom = ResolveColor(FBevelBotColor);
    const QColor face = ResolveColor(FColor);
    const auto bevel = [&](TPanelBevel kind) {
        switch (kind) {
            case bvRaised:
                Frame3D(canvas, rect, top, bottom, FBevelWidth);
                break;
            case bvLowered:
                Frame3D(canvas, rect, bottom, top, FBevelWidth);
                break;
            case bvSpace:
                Frame3D(canvas, rect, face, face, FBevelWidth);
                break;
            case bvNone:
                break;
        }
    };
    bevel(FBevelOuter);
    Frame3D(canvas, rect, face, face, FBorderWidth);
    bevel(FBevelInner);
}

}  // namespace odz
