#include "ZTDirTreeView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>

#include "DirTreeGuards.h"
#include "DirTreeModel.h"
#include "DirTreeNavigation.h"
#include "ZTDirTreeCombo.h"

namespace odz {

TZTDirTreeView::TZTDirTreeView(TZTDirTreeCombo* combo)
    : QTreeView(combo), FCombo(combo), FModel(new TDirTreeModel(this)) {
    setWindowFlags(Qt::Popup);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setModel(FModel);
    setHeaderHidden(true);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    setUniformRowHeights(true);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setGeometry(0, 0, 0, 0);
    ReloadTree();
    setEnabled(false);
    hide();
}

void TZTDirTreeView::SetExpandRoot(bool expand) {
    FExpandRoot = expand;
    if (expand) setExpanded(FModel->Root(), true);
}

void TZTDirTreeView::ReloadTree() {
    const TDirTreeUpdateBracket bracket(this);
    FModel->Reload();
    if (FExpandRoot) setExpanded(FModel->Root(), true);
}

void TZTDirTreeView::Open(const QRect& geometry) {
    setGeometry(geometry);
    setEnabled(true);
    show();
    raise();
    activateWindow();
    if (currentIndex().isValid()) scrollTo(currentIndex());
}

void TZTDirTreeView::CloseUp() {
    hide();
    setEnabled(false);
}

bool TZTDirTreeView::event(QEvent* event) {
    // While the tree is open every click comes here first; one outside it closes it. A click on the
    // combo's own button only closes it too, instead of opening it again at once.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!rect().contains(mouse->position().toPoint())) {
            const QToolButton* button = FCombo->Btn();
            const QPoint onButton = button->mapFromGlobal(mouse->globalPosition().toPoint());
            setAttribute(Qt::WA_NoMouseReplay, button->rect().contains(onButton));
            CloseUp();
            return true;
        }
    }
    return QTreeView::event(event);
}

void TZTDirTreeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QModelIndex node = NodeLabelAt(this, event->position().toPoint());
        if (node.isValid()) {
            setCurrentIndex(node);
            FCombo->ChooseNode(node);
            event->accept();
            return;
        }
    }
    QTreeView::mousePressEvent(event);
}

void TZTDirTreeView::mouseMoveEvent(QMouseEvent* event) {
    if (isEnabled() && event->buttons() == Qt::NoButton) {
        const QModelIndex node = NodeLabelAt(this, event->position().toPoint());
        if (node.isValid() && node != currentIndex()) setCurrentIndex(node);
    }
    QTreeView::mouseMoveEvent(event);
}

void TZTDirTreeView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (currentIndex().isValid()) FCombo->ChooseNode(currentIndex());
            return;
        case Qt::Key_Escape:
            CloseUp();
            return;
        case Qt::Key_F4:
            FCombo->DropDown();
            return;
        default:
            QTreeView::keyPressEvent(event);
    }
}

void TZTDirTreeView::enterEvent(QEnterEvent* event) {
    FMouseInside = true;
    QTreeView::enterEvent(event);
}

void TZTDirTreeView::leaveEvent(QEvent* event) {
    FMouseInside = false;
    QTreeView::leaveEvent(event);
}

void TZTDirTreeView::hideEvent(QHideEvent* event) {
    // However it was closed (a click outside, another window taking over), it is closed up.
    QTreeView::hideEvent(event);
    setEnabled(false);
    FMouseInside = false;
}

void TZTDirTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeView::currentChanged(current, previous);
    FModel->SetSelectedNode(current);
}

}  // namespace odz
