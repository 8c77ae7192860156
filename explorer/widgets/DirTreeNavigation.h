#pragma once

#include <QModelIndex>
#include <QPoint>
#include <QString>

class QTreeView;

namespace odz {

class TDirTreeModel;

// Whether OpenPath may walk to the path: an absolute path of an existing folder. A one-character path
// is only accepted when it is "/", the root of the file system (which is a drive).
bool IsOpenablePath(const QString& path);

// Collapses every node of the tree, then walks down to the folder: the drive that holds it (the one
// with the longest matching root), then each folder on the way, each selected and expanded (which
// reads its sub-folders). A folder made since its parent was read is found by reading the parent again.
// Runs inside one bulk-update bracket. Returns the last node reached; `complete` tells whether every
// part of the path was found. With `addDrives`, a root without drive nodes gets them first.
QModelIndex WalkToPath(QTreeView* view, TDirTreeModel* model, const QString& path, bool addDrives,
                       bool& complete);

// Reads a node's sub-folders when needed and expands it.
void ExpandNode(QTreeView* view, TDirTreeModel* model, const QModelIndex& index);

// The node whose icon or caption lies under `pos` (viewport coordinates). Elsewhere in its row (the
// expand button, the indentation, the blank after the caption) there is none.
QModelIndex NodeLabelAt(const QTreeView* view, const QPoint& pos);

// The centre of the visible part of a node's caption in viewport coordinates, where a click chooses it.
QPoint NodeLabelCenter(const QTreeView* view, const QModelIndex& index);

}  // namespace odz
