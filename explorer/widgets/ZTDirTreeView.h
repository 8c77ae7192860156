#pragma once

#include <QTreeView>

namespace odz {

class TDirTreeModel;
class TZTDirTreeCombo;

// The drop-down tree of a directory combo: a plain tree of the same nodes as the folder tree, in a
// floating window of its own. It is enabled exactly while it is dropped down. A click outside closes
// it, a click on a node's icon or caption chooses the node, and the node under the pointer is
// highlighted as it moves.
class TZTDirTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit TZTDirTreeView(TZTDirTreeCombo* combo);

    TDirTreeModel* Nodes() const { return FModel; }
    // The path of the node chosen last ("Drives" for the root), or the one OpenPath reached.
    QString ChosenPath() const { return FChosenPath; }
    void SetChosenPath(const QString& path) { FChosenPath = path; }
    bool ExpandRoot() const { return FExpandRoot; }
    void SetExpandRoot(bool expand);
    bool MouseInside() const { return FMouseInside; }

    // Removes every node and adds the root and the drives.
    void ReloadTree();
    // Shows the tree at `geometry` (screen coordinates), enabled and in front.
    void Open(const QRect& geometry);
    // Hides and disables it.
    void CloseUp();

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    TZTDirTreeCombo* FCombo;
    TDirTreeModel* FModel;
    QString FChosenPath;
    bool FExpandRoot = true;
    bool FMouseInside = false;
};

}  // namespace odz
