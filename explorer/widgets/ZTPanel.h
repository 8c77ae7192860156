#pragma once

#include <QPixmap>
#include <QWidget>

#include "Colors.h"
#include "Gradient.h"
#include "PanelCaption.h"
#include "PicturePlacement.h"
#include "TextAlignment.h"

namespace odz {

// The kinds of bevel a panel draws round its edge.
enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

// A panel with a gradient or picture background, bevels in colours of its own and a caption drawn
// with a shadow or relief effect. Every setter stores a changed value and repaints; the same value
// again does nothing. Colours may name system colours.
class TZTPanel : public QWidget {
    Q_OBJECT
public:
    explicit TZTPanel(QWidget* parent = nullptr);

    // The panel's frame.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel bevel);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel bevel);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int width);  // at least 1
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int width);  // at least 0
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    // The panel's colour, and the gradient's first colour.
    TColor Color() const { return FColor; }
    void SetColor(TColor color);

    TColor Beveltopcolor() const { return FBevelTopColor; }
    void SetBeveltopcolor(TColor color);
    TColor BevelBotColor() const { return FBevelBotColor; }
    void SetBevelBotColor(TColor color);
    TColor ColorEnd() const { return FColorEnd; }
    void SetColorEnd(TColor color);
    const QPixmap& Picture() const { return FPicture; }
    void SetPicture(const QPixmap& picture);  // a null picture clears it
    void SetPicture(const QImage& picture);
    TZTPImageMode ImageMode() const { return FImageMode; }
    void SetImageMode(TZTPImageMode mode);
    TPanBackEffect Gradient() const { return FGradient; }
    void SetGradient(TPanBackEffect gradient);
    // Leaves the colour of the picture's bottom-left pixel out of it. Taken only while a picture is
    // set; without one the call is ignored and the value stays as it was.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool transparent);
    TTextEffect TextEffect() const { return FTextEffect; }
    void SetTextEffect(TTextEffect effect);
    TVertAlign VertAlign() const { return FVertAlign; }
    void SetVertAlign(TVertAlign vertAlign);
    TTextRotation TextRotation() const { return FTextRotation; }
    void SetTextRotation(TTextRotation rotation);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor color);
    int ShadowDepth() const { return FShadowDepth; }
    void SetShadowDepth(int depth);

    // The area inside the bevels and the border, where the gradient and the picture go.
    QRect InnerRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    template <class T>
    void Store(T& field, const T& value) {
        if (field == value) return;
        field = value;
        update();
    }
    void PaintPicture(QPainter& canvas, const QRect& client, const QRect& inner);
    void PaintBevels(QPainter& canvas, QRect rect);

    TAlignment FAlignment = taCenter;
    TPanelBevel FBevelInner = bvNone;
    TPanelBevel FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    QString FCaption;
    TColor FColor = clBtnFace;
    TColor FBevelTopColor = clBtnHighlight;
    TColor FBevelBotColor = clBtnShadow;
    TColor FColorEnd = clSilver;
    QPixmap FPicture;
    QPixmap FDrawnPicture;
    TZTPImageMode FImageMode = imNone;
    TPanBackEffect FGradient = gdSolid;
    bool FTransparent = false;
    TTextEffect FTextEffect = tenone;
    TVertAlign FVertAlign = ztCenter;
    TTextRotation FTextRotation = trNone;
    TColor FShadowColor = clGray;
    int FShadowDepth = 2;
};

}  // namespace odz
