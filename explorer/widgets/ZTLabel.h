#pragma once

#include <QPointer>
#include <QWidget>

#include "Colors.h"
#include "ShadowText.h"
#include "TextAlignment.h"

namespace odz {

// A label that draws its caption over a shadow copy of it. An "&" in the caption marks the access
// key, which moves the focus to FocusControl. A new label is 65 by 17 pixels; with AutoSize it then
// takes the size of its text whenever the caption, the font or the wrapping changes. Every setter
// stores a changed value and repaints; the same value again does nothing.
class TZTCustomLabel : public QWidget {
    Q_OBJECT
public:
    explicit TZTCustomLabel(QWidget* parent = nullptr);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool autoSize);
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    QWidget* FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget* control);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout layout);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool show);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool transparent);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool wrap);

    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor color);
    quint8 ShadowSize() const { return FShadowSize; }
    void SetShadowSize(quint8 size);
    TShadowPosition ShadowPos() const { return FShadowPos; }
    void SetShadowPos(TShadowPosition position);
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool show);

    // Whether the mouse is over the label as far as OnMouseEnter and OnMouseLeave have told.
    bool MouseInControl() const { return FMouseInControl; }

    // The rectangle the text is drawn in, and the text drawing flags.
    QRect TextRect() const;
    int TextFlags() const;
    // The size of the text as measured for auto-sizing, shadow included.
    QSize MeasuredSize() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void OnMouseEnter();
    void OnMouseLeave();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <class T>
    void Store(T& field, const T& value) {
        if (field == value) return;
        field = value;
        update();
    }
    // The text as the measuring pass sees it: an empty caption, or a lone access-key mark, is one space.
    QString MeasuredText() const;
    // The text rectangle moved down as Layout asks.
    QRect LaidOutRect() const;
    void AdjustBounds();
    void UpdateShortcut();
    void SetMouseInControl(bool inside);
    bool CursorOverMe() const;

    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    QString FCaption;
    TColor FColor = clBtnFace;
    QPointer<QWidget> FFocusControl;
    TTextLayout FLayout = tlTop;
    bool FShowAccelChar = true;
    bool FTransparent = false;
    bool FWordWrap = false;
    TColor FShadowColor = clBtnHighlight;
    quint8 FShadowSize = 1;
    TShadowPosition FShadowPos = spLeftTop;
    bool FShowFocus = false;
    bool FMouseInControl = false;
    int FShortcutId = 0;
};

// The label as forms use it.
class TZTLabel : public TZTCustomLabel {
    Q_OBJECT
public:
    explicit TZTLabel(QWidget* parent = nullptr);
};

}  // namespace odz
