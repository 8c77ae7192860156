#include "DirTreeNavigation.h"

#include <QDir>
#include <QFileInfo>
#include <QTreeView>
#include <algorithm>

#include "DirTreeGuards.h"
#include "DirTreeModel.h"
#include "PathRoutines.h"

namespace odz {

namespace {

// Space between the icon, the caption and the ends of the caption's box, as the styles draw them.
constexpr int kLabelMargin = 4;

QModelIndex ChildWithPart(TDirTreeModel* model, const QModelIndex& parent, const QString& part) {
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex child = model->index(row, 0, parent);
        if (const TDirTreeNode* node = model->Node(child); node && node->Part() == part) return child;
    }
    return {};
}

QModelIndex DriveHolding(TDirTreeModel* model, const QString& path) {
    QModelIndex best;
    qsizetype bestLength = -1;
    const QModelIndex root = model->Root();
    for (int row = 0; row < model->rowCount(root); ++row) {
        const QModelIndex drive = model->index(row, 0, root);
        const QString key = model->KeyOfNode(drive);
        if (!key.isEmpty() && path.startsWith(key) && key.size() > bestLength) {
            best = drive;
            bestLength = key.size();
        }
    }
    return best;
}

int LabelWidth(const QTreeView* view, const QModelIndex& index) {
    const int icon = view->iconSize().isValid() ? view->iconSize().width() : 16;
    return icon + view->fontMetrics().horizontalAdvance(index.data(Qt::DisplayRole).toString()) +
           3 * kLabelMargin;
}

}  // namespace

bool IsOpenablePath(const QString& path) {
    if (path.isEmpty() || !QDir::isAbsolutePath(path)) return false;
    if (path.size() == 1 && path != QLatin1String("/")) return false;
    return QFileInfo(path).isDir();
}

void ExpandNode(QTreeView* view, TDirTreeModel* model, const QModelIndex& index) {
    model->LoadFolders(index);
    view->setExpanded(index, true);
}

QModelIndex WalkToPath(QTreeView* view, TDirTreeModel* model, const QString& path, bool addDrives,
                       bool& complete) {
    complete = false;
    const TDirTreeUpdateBracket bracket(view);
    if (addDrives) model->AddDrives();
    view->collapseAll();
    const QModelIndex root = model->Root();
    if (!root.isValid()) return {};
    view->setExpanded(root, true);

    const QString target = AddSlash(QDir::cleanPath(path));
    QModelIndex current = DriveHolding(model, target);
    if (!current.isValid()) return {};
    view->setCurrentIndex(current);
    ExpandNode(view, model, current);
    const QStringList parts =
        target.mid(model->KeyOfNode(current).size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        QModelIndex next = ChildWithPart(model, current, part);
        if (!next.isValid()) {
            model->RefreshFolders(current);
            view->setExpanded(current, true);
            next = ChildWithPart(model, current, part);
        }
        if (!next.isValid()) {
            view->scrollTo(current);
            return current;
        }
        current = next;
        view->setCurrentIndex(current);
        ExpandNode(view, model, current);
    }
    view->scrollTo(current);
    complete = true;
    return current;
}

QModelIndex NodeLabelAt(const QTreeView* view, const QPoint& pos) {
    const QModelIndex index = view->indexAt(pos);
    if (!index.isValid()) return {};
    const QRect rect = view->visualRect(index);
    if (pos.x() < rect.left() || pos.x() > rect.left() + LabelWidth(view, index)) return {};
    return index;
}

QPoint NodeLabelCenter(const QTreeView* view, const QModelIndex& index) {
    const QRect rect = view->visualRect(index);
    // The middle of the part of the caption that is in view.
    const int right = std::min(rect.left() + LabelWidth(view, index), view->viewport()->width() - 1);
    return {(rect.left() + std::max(right, rect.left())) / 2, rect.center().y()};
}

}  // namespace odz
