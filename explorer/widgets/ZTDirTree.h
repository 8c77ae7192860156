#pragma once

#include <QPersistentModelIndex>
#include <QPointer>

#include "DirChooser.h"
#include "ZTCustomTreeView.h"

namespace odz {

class TDirTreeContents;
class TDirTreeModel;
class TZTDirTreePopUp;

// The folder tree: a root node for the computer (standing for the file list's drive list), one node
// per mounted volume, and their folders, read as nodes are first expanded. Choosing a node by mouse or
// arrow keys shows it in the linked file list. Its own context menu creates, renames and deletes
// folders, reports the size of a folder tree, shows a folder's files, and connects network locations.
class TZTDirTree : public TZTCustomTreeView, public TDirChooser {
    Q_OBJECT
public:
    explicit TZTDirTree(QWidget* parent = nullptr);
    ~TZTDirTree() override;
    // edit(index) starts an in-place edit, as in every item view.
    using TZTCustomTreeView::edit;

    // The file list link; a list linked to this tree shows SelectedPath when there is one.
    void OpenPath(const QString& path) override;
    QString FirstNodeText() const override;
    // The last chosen folder: "Drives" for the root, else its path. Writing only stores the text.
    QString SelectedPath() const { return FSelectedPath; }
    void SetSelectedPath(const QString& path);
    // The file chosen in the folder-contents window. Writing only stores the text.
    QString SelectedFile() const { return FSelectedFile; }
    void SetSelectedFile(const QString& file) { FSelectedFile = file; }
    bool PopUpMenuEnabled() const { return FPopUpMenuEnabled; }
    void SetPopUpMenuEnabled(bool enabled);
    // When set, folders cannot be renamed in place.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool readOnly) { FReadOnly = readOnly; }
    TZTDirTreePopUp* PopupMenu() const { return FPopUp; }
    TDirTreeModel* Nodes() const { return FModel; }
    // The folder-contents window while it is open.
    TDirTreeContents* ContentsWindow() const;

    // Removes every node and adds the root and the drives; no folder is read.
    void ReloadTree();
    QString PathOfNode(const QModelIndex& node) const;
    QModelIndex SelectedNode() const;
    // Starts the in-place edit of the selected node's caption, which renames the folder; false when
    // that node cannot be renamed.
    bool EditSelected();
    // Whether a caption is being edited in place.
    bool Editing() const { return state() == QAbstractItemView::EditingState; }
    // The end of the in-place edit: renames the node's folder to `name` (after the checks and the
    // question) and gives the node the new caption. True when renamed.
    bool RenameNode(const QModelIndex& node, const QString& name);

    // The context menu's commands.
    bool AddNewNode(const QModelIndex& node, const QString& name);
    bool DeleteNode(const QModelIndex& node);
    void GetTreeSize();
    void ShowFolderContents();
    void ConnectNetResource();
    void DisConnectNetResource();

signals:
    // A node was chosen, or OpenPath reached its folder.
    void OnDirChange(QObject* sender, const QString& selectedPath);
    // The folder-contents window was closed with a file selected.
    void OnFileChange(QObject* sender, const QString& selectedFile);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void ShowChosenIn(TZTFilelistView& list) override;

private:
    void ChooseSelected();
    // Whether the selected node is the folder last chosen.
    bool CurrentIsChosen() const;
    void ShowInList(const QString& path);
    void ContentsFinished(const QString& file);
    void SelectParentOf(const QModelIndex& node);

    TDirTreeModel* FModel;
    TZTDirTreePopUp* FPopUp;
    QPointer<TDirTreeContents> FContents;
    QString FSelectedPath;
    QString FSelectedFile;
    bool FPopUpMenuEnabled = true;
    bool FReadOnly = false;
    // Set by AddNewNode for its "New Folder": the rename that names it asks no question.
    bool FSuppressRenameQuestion = false;
    QPersistentModelIndex FEditedNode;
    bool FRenamePending = false;
};

}  // namespace odz
