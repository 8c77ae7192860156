// The file operations of the file list: cut, copy and paste, delete, view, new folder and renaming in
// place. The keys and the context menu call them; each leaves the list and its linked tree or combo
// showing what is now on disk.

#include <sys/stat.h>

#include <QCoreApplication>

#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <algorithm>
#include <cerrno>

#include "ExecuteFile.h"
#include "FileClipboard.h"
#include "FileListViewers.h"
#include "FileOperations.h"
#include "FileTransfer.h"
#include "Messages.h"
#include "OverrideCursor.h"
#include "PathRoutines.h"
#include "ShellRoutines.h"
#include "ZTFilelistView.h"

namespace odz {

namespace {

QString NameOf(const QString& path) {
    return QFileInfo(path).fileName();
}

// The folder part of a path, with its trailing separator.
QString FolderOf(const QString& path) {
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool EntryExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

}  // namespace

QList<int> TZTFilelistView::SelectedEntries() const {
    QList<int> rows;
    for (int row : SelectedRows()) {
        const TListItem& item = Item(row);
        if (!item.isParent && (item.kind == QLatin1String("file") || item.kind == QLatin1String("dir")))
            rows << row;
    }
    return rows;
}

QStringList TZTFilelistView::PathsOf(const QList<int>& rows) const {
    QStringList paths;
    for (int row : rows) paths << Item(row).fullPath;
    return paths;
}

void TZTFilelistView::SelectPath(const QString& path) {
    for (int row = 0; row < Count(); ++row) {
        if (Item(row).fullPath != path) continue;
        SetSelected(row, true);
        FSelection->setCurrentIndex(FModel->index(row, 0), QItemSelectionModel::NoUpdate);
        CurrentView()->scrollTo(FModel->index(row, 0));
        return;
    }
}

void TZTFilelistView::Resynchronise(const QString& path, bool treeFirst) {
    TFileListLink* preferred = treeFirst ? FDirTree : FDirTreeCombo;
    TFileListLink* other = treeFirst ? FDirTreeCombo : FDirTree;
    if (preferred) {
        preferred->OpenPath(path);
    } else if (other) {
        other->OpenPath(path);
    }
}

QStringList TZTFilelistView::PendingFiles() const {
    return FilesOnClipboard().paths;
}

bool TZTFilelistView::PendingMove() const {
    return FilesOnClipboard().cut;
}

void TZTFilelistView::CutCopy(bool move) {
    const QStringList paths = PathsOf(SelectedEntries());
    if (!paths.isEmpty()) PutFilesOnClipboard({paths, move});
}

bool TZTFilelistView::ShowsExistingFolder() const {
    return !FListing.IsDrives() && QFileInfo(Directory()).isDir();
}

void TZTFilelistView::PasteFiles() {
    if (!ShowsExistingFolder()) return;
    const TClipboardFiles files = FilesOnClipboard();
    if (files.paths.isEmpty()) {
        Messages().Warning(QCoreApplication::translate("FileList", "No file(s) selected"));
        return;
    }
    {
        const TOverrideCursor busy;
        const TFileFunction function = files.cut ? kFoMove : kFoCopy;
        // One request per entry, so that each conflict is asked about on its own.
        for (const QString& source : files.paths) {
            bool aborted = false;
            ShellFileOperation(window(), function, source, aborted, ConcatPath(Directory(), NameOf(source)));
            if (aborted) break;  // the user's Cancel stops the rest too
        }
        // What was cut is no longer where it was, so it cannot be pasted again; a copy can.
        if (files.cut) ClearClipboardOf(files);
        UpdateFileList();
    }
    Resynchronise(Directory(), false);
}

void TZTFilelistView::DeleteSelected() {
    const QStringList paths = PathsOf(SelectedEntries());
    if (paths.isEmpty() || !ShowsExistingFolder()) return;
    {
        const TOverrideCursor busy;
        QString source;
        for (const QString& path : paths) source += AddNullToStr(path);
        bool aborted = false;
        ShellFileOperation(window(), kFoDelete, source, aborted, QString());
        // Deleted entries on the clipboard could only fail to paste.
        const TClipboardFiles onClipboard = FilesOnClipboard();
        const bool gone = std::any_of(paths.begin(), paths.end(), [&](const QString& path) {
            return onClipboard.paths.contains(path) && !EntryExists(path);
        });
        if (gone) ClearClipboardOf(onClipboard);
        UpdateFileList();
    }
    Resynchronise(Directory(), false);
}

void TZTFilelistView::ViewFile() {
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty() || Item(rows.first()).kind != QLatin1String("file")) return;
    const QFileInfo file(Item(rows.first()).fullPath);
    const QString program = ViewerProgram(UpperExtension(file.fileName()));
    if (program.isEmpty()) return;
    ExecuteFile(QStringLiteral("Open"), program, file.fileName(), kShowNormal, AddSlash(file.path()));
}

void TZTFilelistView::NewFolder() {
    if (FListing.IsDrives()) return;
    const QString directory = Directory();
    // Named as desktops name new folders in the user's language.
    const QString name = QCoreApplication::translate("FileList", "New Folder");
    QString path = ConcatPath(directory, name);
    for (int k = 2; EntryExists(path); ++k)
        path = directory + name + QLatin1Char('(') + QString::number(k) + QLatin1Char(')');
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0) {
        const int error = errno;
        Messages().Error(
            QCoreApplication::translate("FileList", "ERROR - Can't create folder  %1").arg(path) +
            QLatin1Char('\n') + SystemErrorText(error));
        return;
    }
    UpdateFileList();
    FSelection->clearSelection();
    SelectPath(path);
    // The tree moves first: editing ends when the editor loses the focus. Walking to the new folder
    // makes the tree read it; it then shows the folder this list shows, as the window's path box and
    // the conversions do, with the new folder under it.
    Resynchronise(path, false);
    Resynchronise(directory, false);
    const QList<int> rows = SelectedRows();
    if (!rows.isEmpty()) BeginEdit(rows.first());
}

bool TZTFilelistView::BeginEdit(int row) {
    if (FReadOnly) return false;
    QAbstractItemView* view = CurrentView();
    const QModelIndex index = FModel->index(row, 0);
    FSelection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    view->scrollTo(index);
    view->edit(index);
    return true;
}

void TZTFilelistView::RenameSelected() {
    const QList<int> entries = SelectedEntries();
    if (entries.isEmpty()) return;
    const int row = entries.first();
    if (FReadOnly || Item(row).attrText.contains(QLatin1Char('R'))) {
        Messages().Warning(QCoreApplication::translate("FileList", "It's ReadOnly"));
        return;
    }
    BeginEdit(row);
}

void TZTFilelistView::RenameEdited(const QString& oldPath, const QString& caption) {
    QString name = caption;
    bool folder = QFileInfo(oldPath).isDir() && !QFileInfo(oldPath).isSymLink();
    for (int row = 0; row < Count(); ++row) {
        const TListItem& item = Item(row);
        if (item.fullPath != oldPath) continue;
        folder = item.kind.compare(QLatin1String("dir"), Qt::CaseInsensitive) == 0;
        // A caption that hides the extension must not take it away: the hidden part stays.
        const QString oldName = item.Name();
        if (!caption.isEmpty() && oldName != item.caption && oldName.startsWith(item.caption))
            name += oldName.mid(item.caption.size());
        break;
    }
    const QString newPath = FolderOf(oldPath) + name;
    if (newPath.compare(oldPath, Qt::CaseInsensitive) == 0) return;
    // An empty name or one with a separator is refused by the rename itself, which says why.
    const bool plainName = !name.isEmpty() && !name.contains(QLatin1Char('/'));
    if (plainName && FileDirExist(newPath)) return;
    {
        const TOverrideCursor busy;
        bool aborted = false;
        ShellFileOperation(window(), kFoRename, oldPath, aborted, newPath);
        UpdateFileList();
        SelectPath(EntryExists(newPath) ? newPath : oldPath);
    }
    if (folder) Resynchronise(FolderOf(oldPath), true);
}

}  // namespace odz
