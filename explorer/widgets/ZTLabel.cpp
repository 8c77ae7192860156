#include "ZTLabel.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QKeySequence>
#include <QPainter>
#include <QShortcutEvent>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace odz {

TZTCustomLabel::TZTCustomLabel(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    resize(65, 17);
}

void TZTCustomLabel::SetAlignment(TAlignment alignment) {
    Store(FAlignment, alignment);
}
void TZTCustomLabel::SetColor(TColor color) {
    Store(FColor, color);
}
void TZTCustomLabel::SetLayout(TTextLayout layout) {
    Store(FLayout, layout);
}
void TZTCustomLabel::SetTransparent(bool transparent) {
    Store(FTransparent, transparent);
}
void TZTCustomLabel::SetShadowColor(TColor color) {
    Store(FShadowColor, color);
}
void TZTCustomLabel::SetShadowPos(TShadowPosition position) {
    Store(FShadowPos, position);
}
void TZTCustomLabel::SetShowFocus(bool show) {
    Store(FShowFocus, show);
}

void TZTCustomLabel::SetAutoSize(bool autoSize) {
    if (autoSize == FAutoSize) return;
    FAutoSize = autoSize;
    AdjustBounds();
    update();
}

void TZTCustomLabel::SetCaption(const QString& caption) {
    if (caption == FCaption) return;
    FCaption = caption;
    UpdateShortcut();
    AdjustBounds();
    update();
}

void TZTCustomLabel::SetWordWrap(bool wrap) {
    if (wrap == FWordWrap) return;
    FWordWrap = wrap;
    AdjustBounds();
    update();
}

void TZTCustomLabel::SetShowAccelChar(bool show) {
    if (show == FShowAccelChar) return;
    FShowAccelChar = show;
    UpdateShortcut();
    AdjustBounds();
    update();
}

void TZTCustomLabel::SetShadowSize(quint8 size) {
    if (size == FShadowSize) return;
    FShadowSize = size;
    AdjustBounds();
    update();
}

void TZTCustomLabel::SetFocusControl(QWidget* control) {
    if (control == FFocusControl) return;
    if (FFocusControl) FFocusControl->removeEventFilter(this);
    FFocusControl = control;
    if (FFocusControl) FFocusControl->installEventFilter(this);
    update();
}

QRect TZTCustomLabel::TextRect() const {
    return rect().adjusted(1, 0, -1, 0);
}

int TZTCustomLabel::TextFlags() const {
    return Qt::TextExpandTabs | HorizontalAlignment(FAlignment) | Qt::AlignTop |
           (FWordWrap ? int(Qt::TextWordWrap) : 0) | (FShowAccelChar ? int(Qt::TextShowMnemonic) : 0);
}

QString TZTCustomLabel::MeasuredText() const {
    if (FCaption.isEmpty() || (FShowAccelChar && FCaption == QLatin1String("&"))) return QStringLiteral(" ");
    return FCaption;
}

QSize TZTCustomLabel::MeasuredSize() const {
    QRect measured = TextRect();
    DrawShadowText(nullptr, fontMetrics(), MeasuredText(), FShadowPos, QColor(), FShadowSize, TextFlags(),
                   measured);
    return QSize(measured.width() + 2, measured.height());
}

QRect TZTCustomLabel::LaidOutRect() const {
    QRect text = TextRect();
    if (FLayout == tlTop) return text;
    QRect measured = text;
    DrawShadowText(nullptr, fontMetrics(), MeasuredText(), FShadowPos, QColor(), FShadowSize, TextFlags(),
                   measured);
    const int room = height() - measured.height();
    text.translate(0, FLayout == tlCenter ? room / 2 : room);
    return text;
}

QSize TZTCustomLabel::sizeHint() const {
    return FAutoSize ? MeasuredSize() : size();
}

void TZTCustomLabel::AdjustBounds() {
    if (!FAutoSize) return;
    updateGeometry();
    const QSize measured = MeasuredSize();
    const QRect bounds = geometry();
    // A right-justified label grows and shrinks to the left.
    const int left =
        FAlignment == taRightJustify ? bounds.x() + bounds.width() - measured.width() : bounds.x();
    setGeometry(left, bounds.y(), measured.width(), measured.height());
}

void TZTCustomLabel::UpdateShortcut() {
    if (FShortcutId != 0) {
        releaseShortcut(FShortcutId);
        FShortcutId = 0;
    }
    if (!FShowAccelChar) return;
    const QKeySequence key = QKeySequence::mnemonic(FCaption);
    if (!key.isEmpty()) FShortcutId = grabShortcut(key);
}

void TZTCustomLabel::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    canvas.setFont(font());
    if (!FTransparent) canvas.fillRect(rect(), ResolveColor(FColor));
    QColor textColor = palette().color(QPalette::Active, QPalette::WindowText);
    QColor shadowColor = ResolveColor(FShadowColor);
    int size = FShadowSize;
    TShadowPosition position = FShadowPos;
    if (!isEnabled()) {
        // Engraved: grey text over a light shadow, which must show even when the label has none.
        textColor = ResolveColor(clGrayText);
        shadowColor = ResolveColor(clBtnHighlight);
        if (size == 0) {
            size = 1;
            position = spRightBottom;
        }
    }
    const QRect text = LaidOutRect();
    QRect drawn = text;
    canvas.setPen(textColor);
    DrawShadowText(&canvas, fontMetrics(), FCaption, position, shadowColor, size, TextFlags(), drawn);

    if (FShowFocus && FFocusControl && FFocusControl->hasFocus()) {
        QRect around = text;
        DrawShadowText(nullptr, fontMetrics(), MeasuredText(), FShadowPos, QColor(), FShadowSize, TextFlags(),
                       around);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        // Shown whatever way the focus came: some styles draw focus frames only after keyboard use.
        option.state |= QStyle::State_KeyboardFocusChange | QStyle::State_HasFocus;
        option.rect = around.adjusted(-1, -1, 1, 1) & rect();
        option.backgroundColor = ResolveColor(FColor);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &canvas, this);
    }
}

bool TZTCustomLabel::CursorOverMe() const {
    return isVisible() && isEnabled() && QApplication::widgetAt(QCursor::pos()) == this;
}

void TZTCustomLabel::SetMouseInControl(bool inside) {
    if (inside == FMouseInControl) return;
    FMouseInControl = inside;
    if (inside)
        emit OnMouseEnter();
    else
        emit OnMouseLeave();
}

bool TZTCustomLabel::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::Shortcut:
            if (static_cast<QShortcutEvent*>(event)->shortcutId() == FShortcutId && FShortcutId != 0) {
                if (FFocusControl && FFocusControl->isEnabled() && FFocusControl->isVisible())
                    FFocusControl->setFocus(Qt::ShortcutFocusReason);
                return true;
            }
            break;
        case QEvent::Enter:
        case QEvent::MouseMove:
            SetMouseInControl(isEnabled());
            break;
        case QEvent::Leave:
        case QEvent::Hide:
            SetMouseInControl(false);
            break;
        case QEvent::Show:
            SetMouseInControl(CursorOverMe());
            break;
        default:
            break;
    }
    return QWidget::event(event);
}

void TZTCustomLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) AdjustBounds();
    // A disabled label is never under the mouse as far as its events go.
    if (event->type() == QEvent::EnabledChange)
        SetMouseInControl(isEnabled() && (FMouseInControl || CursorOverMe()));
    QWidget::changeEvent(event);
}

bool TZTCustomLabel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FFocusControl && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) &&
        FShowFocus)
        update();
    return QWidget::eventFilter(watched, event);
}

TZTLabel::TZTLabel(QWidget* parent) : TZTCustomLabel(parent) {}

}  // namespace odz
