#pragma once

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <optional>

#include "BackgroundDecoration.h"
#include "TransparentItemDelegate.h"

namespace odz {

// An item view (a QListView or a QTreeView) with a decorated background. The decoration is painted on
// the viewport before the rows, from a composed copy, so rows never flicker against a half-painted
// background. It stays fixed to the viewport (a full repaint follows every scroll), unless
// ScrollingBackground is set: then copies of it are laid from the first row's position and move with
// the rows, as in a details view.
template <class TView>
class TDecoratedView : public TView {
public:
    explicit TDecoratedView(QWidget* parent = nullptr)
        : TView(parent), FDecoration([this] { ApplyBackground(); }) {
        this->setItemDelegate(new TTransparentItemDelegate([this] { return FDecoration.IsOn(); }, this));
        ApplyBackground();
    }

    const QPixmap& BackPict() const { return FDecoration.BackPict(); }
    void SetBackPict(const QPixmap& picture) { FDecoration.SetBackPict(picture); }
    void SetBackPict(const QImage& picture) { FDecoration.SetBackPict(picture); }
    TColor ColorBegin() const { return FDecoration.ColorBegin(); }
    void SetColorBegin(TColor color) { FDecoration.SetColorBegin(color); }
    TColor ColorEnd() const { return FDecoration.ColorEnd(); }
    void SetColorEnd(TColor color) { FDecoration.SetColorEnd(color); }
    TImageMode ImageMode() const { return FDecoration.ImageMode(); }
    void SetImageMode(TImageMode mode) { FDecoration.SetImageMode(mode); }
    TBackEffect BackEffect() const { return FDecoration.BackEffect(); }
    void SetBackEffect(TBackEffect effect) { FDecoration.SetBackEffect(effect); }
    bool ITransparent() const { return FDecoration.ITransparent(); }
    void SetITransparent(bool transparent) { FDecoration.SetITransparent(transparent); }
    // The plain background colour (white at first), shown where no decoration is on.
    TColor Color() const { return FDecoration.Color(); }
    void SetColor(TColor color) { FDecoration.SetColor(color); }

    bool ScrollingBackground() const { return FScrolling; }
    void SetScrollingBackground(bool scrolling) {
        if (scrolling == FScrolling) return;
        FScrolling = scrolling;
        this->viewport()->update();
    }

    bool DecorationOn() const { return FDecoration.IsOn(); }

    // The whole decorated background of the viewport, at (0, 0).
    void PaintBackground(QPainter& canvas) const {
        FDecoration.PaintBackground(canvas, this->viewport()->size());
    }

    // Puts the decoration on the viewport from the top down to height; 0 paints nothing.
    void PaintBackgroundTo(QPainter& canvas, int height) {
        FDecoration.PaintBackgroundTo(canvas, this->viewport()->size(), height, TileOrigin(),
                                      this->viewport()->devicePixelRatioF());
    }

    // Makes the viewport show the decoration under its items (or its plain colour when none is on)
    // and repaints it. Runs after every change of the decoration.
    virtual void ApplyBackground() {
        QWidget* viewport = this->viewport();
        const bool on = FDecoration.IsOn();
        viewport->setAutoFillBackground(!on);
        viewport->setAttribute(Qt::WA_OpaquePaintEvent, on);
        const QColor base = ResolveColor(FDecoration.Color());
        if (this->palette().color(QPalette::Base) != base) {
            QPalette palette = this->palette();
            palette.setColor(QPalette::Base, base);
            this->setPalette(palette);
        }
        viewport->update();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (FDecoration.IsOn()) {
            QPainter canvas(this->viewport());
            canvas.setClipRegion(event->region());
            PaintBackgroundTo(canvas, this->viewport()->height());
        }
        TView::paintEvent(event);
    }

    void scrollContentsBy(int dx, int dy) override {
        TView::scrollContentsBy(dx, dy);
        // The base class moves the painted rows; a decoration fixed to the viewport must not move.
        if (FDecoration.IsOn() && !FScrolling) this->viewport()->update();
    }

    void resizeEvent(QResizeEvent* event) override {
        TView::resizeEvent(event);
        if (FDecoration.IsOn()) this->viewport()->update();
    }

    bool event(QEvent* event) override {
        // System colours follow the desktop's palette.
        if (event->type() == QEvent::ApplicationPaletteChange) ApplyBackground();
        return TView::event(event);
    }

private:
    // Where the copies of a scrolling decoration start: the first row's top, and the left edge of the
    // content (never right of the viewport's edge); (0, 0) without rows.
    std::optional<QPoint> TileOrigin() const {
        if (!FScrolling) return std::nullopt;
        const QAbstractItemModel* model = this->model();
        if (!model || model->rowCount(this->rootIndex()) == 0 || model->columnCount(this->rootIndex()) == 0)
            return QPoint(0, 0);
        const QRect first = this->visualRect(model->index(0, 0, this->rootIndex()));
        if (!first.isValid()) return QPoint(0, 0);
        return QPoint(std::min(-this->horizontalOffset(), 0), first.top());
    }

    TBackgroundDecoration FDecoration;
    bool FScrolling = false;
};

}  // namespace odz
