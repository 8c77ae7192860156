#pragma once

#include <QMenu>

namespace odz {

class TZTDirTree;

// The folder tree's context menu. Every item is named after the command it runs, and one handler
// dispatches on that name.
class TZTDirTreePopUp : public QMenu {
    Q_OBJECT
public:
    explicit TZTDirTreePopUp(TZTDirTree* tree);

    // The item of that name (AddNode, EditNode, DelNode, GetTreeSize, ShowFolderContents,
    // ConnectNetResource, DisConnectNetResource); null for any other.
    QAction* Item(const QString& name) const;
    // Enables the items that apply to the tree's selected node.
    void UpdateItems();
    // Shows the menu a little right of and below the point, clear of the pointer.
    void Popup(const QPoint& globalPos);
    void ItemClick(const QString& name);

private:
    TZTDirTree* FTree;
};

}  // namespace odz
