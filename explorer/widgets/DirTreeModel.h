#pragma once

#include <QIcon>
#include <QList>
#include <QStandardItemModel>
#include <functional>

#include "Drives.h"

namespace odz {

// What a node of a directory tree stands for. The level in the tree follows from it: the root is level
// 0, drives level 1, folders level 2 and deeper.
enum TNodeKind : int { nkRoot = 0, nkDrive = 1, nkFolder = 2 };

// One node. Its path is built from the nodes' own data (a drive keeps its mount root, a folder its
// name), so a caption is only ever shown, never taken apart.
class TDirTreeNode : public QStandardItem {
public:
    TDirTreeNode(TNodeKind kind, const QString& text);

    TNodeKind Kind() const { return FKind; }
    // A drive's root with a trailing "/", a folder's name; empty for the root.
    QString Part() const { return FPart; }
    void SetPart(const QString& part) { FPart = part; }
    TDriveType DriveType() const { return FDriveType; }
    void SetDriveType(TDriveType type) { FDriveType = type; }
    void SetImages(int image, int selectedImage);
    int ImageIndex() const { return FImage; }
    int SelectedImageIndex() const { return FSelectedImage; }
    void SetShownSelected(bool selected) { FShownSelected = selected; }
    // Marked as having children until it is loaded: the expand button shows before anything is read.
    bool MarkedWithChildren() const { return FMarkedWithChildren; }
    void SetMarkedWithChildren(bool marked) { FMarkedWithChildren = marked; }
    bool Loaded() const { return FLoaded; }
    void SetLoaded(bool loaded) { FLoaded = loaded; }

    QVariant data(int role) const override;
    void multiData(QModelRoleDataSpan roleDataSpan) const override;
    int type() const override { return UserType + 1; }
    bool operator<(const QStandardItem& other) const override;

private:
    TNodeKind FKind;
    QString FPart;
    TDriveType FDriveType = kDriveUnknown;
    int FImage = -1;
    int FSelectedImage = -1;
    bool FShownSelected = false;
    bool FMarkedWithChildren = false;
    bool FLoaded = false;
};

// Gives the drives a tree shows; tests install their own volumes.
using TDriveSource = std::function<QList<TDrive>()>;

// The nodes of a directory tree: the root (the computer, standing for the drive list), one node per
// mounted volume, and folders read lazily when a node is first expanded. The folder tree and the
// combo's drop-down each hold one.
class TDirTreeModel : public QStandardItemModel {
    Q_OBJECT
public:
    explicit TDirTreeModel(QObject* parent = nullptr);

    // Removes every node and adds the root and the drives below it; no folder is read.
    void Reload();
    // Adds the drive nodes below the root (when it has none).
    void AddDrives();

    QModelIndex Root() const;
    QString RootText() const;
    TDirTreeNode* Node(const QModelIndex& index) const;
    // 0 for the root, 1 for a drive, 2 and more for folders; -1 for no node.
    int Level(const QModelIndex& index) const;
    // "" for the root, the mount root with "/" for a drive, the full folder path without a trailing
    // "/" for a folder.
    QString PathOfNode(const QModelIndex& index) const;
    // The part of a path that leads to the node, as OpenPath matches it: "/" after a folder's name.
    QString KeyOfNode(const QModelIndex& index) const;

    // Reads a node's sub-folders once, sorted by name; a node that has children already is left alone.
    void LoadFolders(const QModelIndex& index);
    // Reads a node's sub-folders again (the tree was read before the folder changed on disk).
    void RefreshFolders(const QModelIndex& index);
    // Puts a node's children in order again (after one was renamed).
    void SortChildren(const QModelIndex& index);
    // Gives a folder node a new name.
    void RenameNode(const QModelIndex& index, const QString& name);

    // The node drawn with its selected image.
    void SetSelectedNode(const QModelIndex& index);

    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    static void SetDriveSource(TDriveSource source);
    static QList<TDrive> Drives();
    // The root's caption and icon: the computer that holds the drives.
    static QString ComputerName();
    static QIcon ComputerIcon();

private:
    QPersistentModelIndex FSelectedNode;
};

// True when the folder holds at least one sub-folder (hidden ones count); stops at the first.
bool HasSubFolders(const QString& folder);
// The names of the folder's sub-folders, hidden ones included, in the order the system gives them.
QStringList SubFolders(const QString& folder);
// The order of sibling folders: letter case ignored, then exact, so the order is always the same.
bool FolderNameLess(const QString& a, const QString& b);

}  // namespace odz
