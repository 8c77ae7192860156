#include "ZTDirTree.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "DirTreeContents.h"
#include "DirTreeGuards.h"
#include "DirTreeModel.h"
#include "DirTreeNavigation.h"
#include "Drives.h"
#include "PathRoutines.h"
#include "ZTDirTreePopUp.h"

namespace odz {

TZTDirTree::TZTDirTree(QWidget* parent)
    : TZTCustomTreeView(parent), TDirChooser(lkTree), FModel(new TDirTreeModel(this)), FPopUp(nullptr) {
    setModel(FModel);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setIconSize(QSize(16, 16));
    setUniformRowHeights(true);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    resize(180, 120);
    FPopUp = new TZTDirTreePopUp(this);
    SetPopUpMenuEnabled(true);
    ReloadTree();
    setExpanded(FModel->Root(), true);
}

TZTDirTree::~TZTDirTree() = default;

TDirTreeContents* TZTDirTree::ContentsWindow() const {
    return FContents;
}

QString TZTDirTree::FirstNodeText() const {
    return FModel->RootText();
}

QString TZTDirTree::PathOfNode(const QModelIndex& node) const {
    return FModel->PathOfNode(node);
}

QModelIndex TZTDirTree::SelectedNode() const {
    return currentIndex();
}

void TZTDirTree::SetSelectedPath(const QString& path) {
    // Folder names differ by letter case here, so a different case is a different folder.
    if (path != FSelectedPath) FSelectedPath = path;
}

void TZTDirTree::SetPopUpMenuEnabled(bool enabled) {
    FPopUpMenuEnabled = enabled;
    setContextMenuPolicy(enabled ? Qt::DefaultContextMenu : Qt::NoContextMenu);
}

void TZTDirTree::ShowChosenIn(TZTFilelistView& list) {
    if (!FSelectedPath.isEmpty()) list.SetDirectory(FSelectedPath);
}

void TZTDirTree::ReloadTree() {
    const TDirTreeUpdateBracket bracket(this);
    FModel->Reload();
}

void TZTDirTree::OpenPath(const QString& path) {
    if (!IsOpenablePath(path)) return;
    bool complete = false;
    WalkToPath(this, FModel, path, true, complete);
    if (!complete) return;
    SetSelectedPath(AddSlash(QDir::cleanPath(path)));
    emit OnDirChange(this, FSelectedPath);
}

void TZTDirTree::ChooseSelected() {
    const QModelIndex node = currentIndex();
    const TDirTreeNode* data = FModel->Node(node);
    if (!data) return;
    if (data->Kind() == nkRoot && FModel->rowCount(node) == 0) FModel->AddDrives();
    FSelectedPath = data->Kind() == nkRoot ? kDrives : PathOfNode(node);
    if (data->Kind() == nkDrive &&
        (data->DriveType() == kDriveRemovable || data->DriveType() == kDriveCdRom)) {
        if (!DiskInDrive(FSelectedPath, true)) return;
    }
    emit OnDirChange(this, FSelectedPath);
    if (FFileList && !FSelectedPath.isEmpty()) FFileList->SetDirectory(FSelectedPath);
}

bool TZTDirTree::CurrentIsChosen() const {
    const QModelIndex node = currentIndex();
    const QString path = FModel->Level(node) == 0 ? kDrives : AddSlash(PathOfNode(node));
    const QString chosen =
        FSelectedPath.compare(kDrives, Qt::CaseInsensitive) == 0 ? kDrives : AddSlash(FSelectedPath);
    return path == chosen;
}

void TZTDirTree::ShowInList(const QString& path) {
    if (!FFileList || path.isEmpty()) return;
    // The list may show that folder already, from before its content changed.
    const QString before = FFileList->Directory();
    FFileList->SetDirectory(path);
    if (FFileList->Directory() == before) FFileList->UpdateFileList();
}

void TZTDirTree::SelectParentOf(const QModelIndex& node) {
    const QModelIndex parent = node.parent();
    setCurrentIndex(parent);
    FSelectedPath = FModel->Level(parent) == 0 ? kDrives : PathOfNode(parent);
    // The folder shown before may be gone or renamed: whoever shows the chosen path follows.
    emit OnDirChange(this, FSelectedPath);
}

void TZTDirTree::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    setFocus(Qt::MouseFocusReason);
    // Other buttons leave the selection alone, so the context menu acts on the node the list shows.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    const QModelIndex row = indexAt(pos);
    if (row.isValid()) {
        const int left = visualRect(row).left();
        if (pos.x() < left && pos.x() >= left - indentation()) {
            // The expand button.
            TZTCustomTreeView::mousePressEvent(event);
            return;
        }
    }
    const QModelIndex label = NodeLabelAt(this, pos);
    if (!label.isValid()) {
        event->accept();
        return;
    }
    TZTCustomTreeView::mousePressEvent(event);
    if (currentIndex() == label) ChooseSelected();
}

void TZTDirTree::mouseMoveEvent(QMouseEvent* event) {
    // Dragging over the nodes would select them one after the other, away from the chosen one.
    if (event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    TZTCustomTreeView::mouseMoveEvent(event);
}

void TZTDirTree::keyReleaseEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
            // Holding a key down moves through many nodes; the list follows once, at the end.
            if (!event->isAutoRepeat() && currentIndex().isValid()) ChooseSelected();
            break;
        default:
            // Home, End, the page keys and typing a name move the selection too; the list follows
            // whenever it moved to another folder, so the two never show different folders.
            if (!event->isAutoRepeat() && currentIndex().isValid() && !CurrentIsChosen()) ChooseSelected();
            break;
    }
    TZTCustomTreeView::keyReleaseEvent(event);
}

void TZTDirTree::contextMenuEvent(QContextMenuEvent* event) {
    if (!FPopUpMenuEnabled) {
        TZTCustomTreeView::contextMenuEvent(event);
        return;
    }
    FPopUp->Popup(event->globalPos());
    event->accept();
}

bool TZTDirTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (FReadOnly || FModel->Level(index) < 2) return false;
    if (FRenamePending) return false;
    const bool started = TZTCustomTreeView::edit(index, trigger, event);
    if (started) FEditedNode = index;
    return started;
}

void TZTDirTree::commitData(QWidget* editor) {
    // The caption changes only when the folder was renamed, so nothing is written into the node here.
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line || !FEditedNode.isValid() || FRenamePending) return;
    FRenamePending = true;
    const QPersistentModelIndex node = FEditedNode;
    const QString name = line->text();
    // The questions and the rename run after the editor has gone, so no box opens while it holds the
    // focus.
    QMetaObject::invokeMethod(
        this,
        [this, node, name] {
            FRenamePending = false;
            RenameNode(node, name);
        },
        Qt::QueuedConnection);
}

void TZTDirTree::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    TZTCustomTreeView::closeEditor(editor, hint);
    FEditedNode = QPersistentModelIndex();
    // An edit given up ends the rename that AddNewNode began.
    if (!FRenamePending) FSuppressRenameQuestion = false;
}

void TZTDirTree::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    TZTCustomTreeView::currentChanged(current, previous);
    FModel->SetSelectedNode(current);
}

}  // namespace odz
