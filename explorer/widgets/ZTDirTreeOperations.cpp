// The context menu's commands of the folder tree: new, rename and delete folder, tree size, folder
// contents, and network locations.

#include <QDir>

#include <QCoreApplication>
#include <QFileInfo>
#include <QListWidget>

#include "DirTreeContents.h"
#include "DirTreeGuards.h"
#include "DirTreeModel.h"
#include "DirTreeNavigation.h"
#include "DirTreeNetworkDialogs.h"
#include "DirTreeSize.h"
#include "FileOperations.h"
#include "Messages.h"
#include "OverrideCursor.h"
#include "PathRoutines.h"
#include "ShellRoutines.h"
#include "ZTDirTree.h"

namespace odz {

namespace {

// Characters that other systems do not allow in folder names: names with them are refused, so that
// folders made here can be copied anywhere.
const QString kInvalidNameChars = QStringLiteral("\\*?/=\"<>|:,;+^");

QString LastComponent(const QString& path) {
    const QString plain = path.size() > 1 ? DelSlash(path) : path;
    return plain.mid(plain.lastIndexOf(QLatin1Char('/')) + 1);
}

}  // namespace

bool TZTDirTree::EditSelected() {
    const QModelIndex node = currentIndex();
    if (FReadOnly || FModel->Level(node) < 2) return false;
    scrollTo(node);
    edit(node);
    return FEditedNode == node;
}

bool TZTDirTree::RenameNode(const QModelIndex& node, const QString& name) {
    // Whatever happens, this rename is over, and the next one asks again.
    struct TEndOfRename {
        bool& flag;
        ~TEndOfRename() { flag = false; }
    } end{FSuppressRenameQuestion};
    if (FModel->Level(node) < 2) return false;
    if (name.isEmpty()) {
        DirTreeBeep();
        return false;
    }
    if (ContainsChars(kInvalidNameChars, name)) {
        DirTreeBeep();
        Messages().Error(QCoreApplication::translate("DirTree", "Error - Invalid Directory Name") +
                         QLatin1Char('\n') + name);
        return false;
    }
    const QString oldPath = DelSlash(PathOfNode(node));
    if (oldPath.isEmpty()) return false;
    const QString oldName = LastComponent(oldPath);
    if (name == oldName) return false;
    const QString newPath = oldPath.left(oldPath.lastIndexOf(QLatin1Char('/')) + 1) + name;
    if (!FSuppressRenameQuestion) {
        const QString question =
            QCoreApplication::translate(
                "DirTree", "Do you want to rename the selected folder\n\n    From  : %1\n    To     : %2")
                .arg(oldName, name);
        if (Messages().Confirm(question, false) != TAnswer::Yes) return false;
    }
    bool renamed = false;
    {
        const TOverrideCursor busy;
        bool aborted = false;
        renamed = ShellFileOperation(window(), kFoRename, oldPath, aborted, newPath);
    }
    if (!renamed) return false;
    const QPersistentModelIndex renamedNode = node;
    FModel->RenameNode(renamedNode, name);
    FModel->SortChildren(renamedNode.parent());
    SelectParentOf(renamedNode);
    ShowInList(FSelectedPath);
    return true;
}

bool TZTDirTree::AddNewNode(const QModelIndex& node, const QString& name) {
    const int level = FModel->Level(node);
    if (level < 0) return false;
    if (level == 0) {
        Messages().Error(QCoreApplication::translate("DirTree", "Can't add drives"));
        return false;
    }
    // An unnamed folder gets the name desktops give new folders in the user's language.
    const QString newFolder = QCoreApplication::translate("DirTree", "New Folder");
    QString folderName = name;
    if (folderName.isEmpty()) {
        folderName = newFolder;
        FSuppressRenameQuestion = true;
    }
    const QString parent = AddSlash(PathOfNode(node));
    const QString path = parent + folderName;
    if (ContainsChars(kInvalidNameChars, folderName)) {
        FSuppressRenameQuestion = false;
        DirTreeBeep();
        Messages().Error(QCoreApplication::translate("DirTree", "Folder Name contains invalid characters"));
        return false;
    }
    const bool existed = QFileInfo(path).exists() || QFileInfo(path).isSymLink();
    bool created = false;
    {
        const TDirTreeUpdateBracket bracket(this);
        created = QDir().mkdir(path);
        if (created) {
            ReloadTree();
            OpenPath(AddSlash(path));
        }
    }
    if (!created) {
        FSuppressRenameQuestion = false;
        // A folder of that name is simply there already; any other failure is told.
        if (!existed) Messages().Error(QCoreApplication::translate("DirTree", "Cannot create %1").arg(path));
        return false;
    }
    // The new folder is the chosen node now: the list shows it too, so that the tree, the list and
    // what works on the list's folder agree. Naming it chooses its parent again.
    ShowInList(FSelectedPath);
    if (folderName != newFolder || !EditSelected()) FSuppressRenameQuestion = false;
    return true;
}

bool TZTDirTree::DeleteNode(const QModelIndex& node) {
    // Drives and the computer are never deleted.
    if (FModel->Level(node) < 2) return false;
    const QString path = PathOfNode(node);
    if (!QFileInfo(path).isDir()) {
        DirTreeBeep();
        Messages().Error(QCoreApplication::translate("DirTree", "%1not found").arg(path));
        return false;
    }
    bool deleted = false;
    {
        const TOverrideCursor busy;
        bool aborted = false;
        deleted = ShellFileOperation(window(), kFoDelete, DelSlash(path), aborted, QString());
    }
    if (!deleted) return false;
    const QPersistentModelIndex gone = node;
    SelectParentOf(gone);
    FModel->removeRow(gone.row(), gone.parent());
    ShowInList(FSelectedPath);
    return true;
}

void TZTDirTree::GetTreeSize() {
    const QModelIndex node = currentIndex();
    const int level = FModel->Level(node);
    if (level < 1) return;
    const QString path = PathOfNode(node);
    TTreeSize size;
    {
        const TOverrideCursor busy;
        const TDirTreeUpdateBracket bracket(this);
        size = TreeSize(path);
        ExpandNode(this, FModel, node);
        OpenPath(path);
    }
    Messages().Information(TreeSizeMessage(path, level == 1, size));
}

void TZTDirTree::ShowFolderContents() {
    const QModelIndex node = currentIndex();
    const int level = FModel->Level(node);
    if (level < 1) return;
    const QString folder = AddSlash(PathOfNode(node));
    if (FContents) delete FContents;
    collapseAll();
    const QString shown = level == 1 ? folder : QStringLiteral("/") + LastComponent(folder);
    const QString caption = QCoreApplication::translate("DirTree", "Files in \" %1 \"").arg(shown);
    FContents = new TDirTreeContents(this, folder, caption);
    connect(FContents, &TDirTreeContents::Finished, this, &TZTDirTree::ContentsFinished);
    FContents->show();
    FContents->raise();
    FContents->Fill();
    FContents->List()->setFocus();
}

void TZTDirTree::ContentsFinished(const QString& file) {
    if (!FContents) return;
    const QString folder = FContents->Folder();
    FContents->deleteLater();
    FContents = nullptr;
    if (!file.isEmpty()) {
        FSelectedFile = file;
        emit OnFileChange(this, FSelectedFile);
    }
    OpenPath(folder);
    setFocus();
}

void TZTDirTree::ConnectNetResource() {
    QString localPath;
    if (!RunConnectNetworkDialog(window(), localPath)) return;
    ReloadTree();
    const QModelIndex root = FModel->Root();
    setExpanded(root, true);
    if (localPath.isEmpty() || !QFileInfo(localPath).isDir()) {
        // Connected, but its files have no folder here to be shown in.
        setCurrentIndex(root);
        FSelectedPath = kDrives;
    } else {
        bool complete = false;
        WalkToPath(this, FModel, localPath, true, complete);
        FSelectedPath = AddSlash(QDir::cleanPath(localPath));
    }
    if (FFileList) FFileList->SetDirectory(FSelectedPath);
}

void TZTDirTree::DisConnectNetResource() {
    RunDisconnectNetworkDialog(window());
    ReloadTree();
    const QModelIndex root = FModel->Root();
    setExpanded(root, true);
    setCurrentIndex(root);
    FSelectedPath = kDrives;
    if (FFileList) {
        FFileList->SetDirectory(FSelectedPath);
        FFileList->UpdateFileList();
    }
}

}  // namespace odz
