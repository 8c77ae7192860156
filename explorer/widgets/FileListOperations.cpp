// The file operations of the file list: cut, copy and paste, view, new folder, rename and delete.
// The keys and the context menu call them.

#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>

#include "FileListPlatform.h"
#include "Messages.h"
#include "ZTFilelistView.h"

namespace odz {

void TZTFilelistView::CutCopy(bool move) {
    FPendingFiles.clear();
    for (int row : SelectedRows()) {
        if (!Item(row).isParent && Item(row).kind != QLatin1String("drv"))
            FPendingFiles << Item(row).fullPath;
    }
    FPendingMove = move;
}

void TZTFilelistView::PasteFiles() {
    if (FPendingFiles.isEmpty() || FListing.IsDrives()) return;
    const auto operation = FPendingMove ? listplatform::opMove : listplatform::opCopy;
    listplatform::FileOperation(this, operation, FPendingFiles, Directory());
    FPendingFiles.clear();
    UpdateFileList();
}

void TZTFilelistView::ViewFile() {
    const QList<int> rows = SelectedRows();
    if (!rows.isEmpty() && Item(rows.first()).kind == QLatin1String("file"))
        listplatform::View(Item(rows.first()).fullPath);
}

void TZTFilelistView::NewFolder() {
    if (FListing.IsDrives()) return;
    QString name = QStringLiteral("New Folder");
    for (int n = 2; QFileInfo::exists(Directory() + name); ++n)
        name = QStringLiteral("New Folder (%1)").arg(n);
    if (!QDir().mkdir(Directory() + name)) {
        Messages().Error(QStringLiteral("Cannot create ") + Directory() + name);
        return;
    }
    UpdateFileList();
    if (FDirTree) FDirTree->OpenPath(Directory());
}

void TZTFilelistView::RenameSelected() {
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty() || Item(rows.first()).isParent || FModel->DriveView()) return;
    QAbstractItemView* view = CurrentView();
    view->edit(FModel->index(rows.first(), 0));
}

void TZTFilelistView::DeleteSelected() {
    QStringList paths;
    for (int row : SelectedRows()) {
        if (!Item(row).isParent && Item(row).kind != QLatin1String("drv")) paths << Item(row).fullPath;
    }
    if (paths.isEmpty()) return;
    listplatform::FileOperation(this, listplatform::opDelete, paths, {});
    UpdateFileList();
    if (FDirTree) FDirTree->OpenPath(Directory());
}

}  // namespace odz
