// Sending the selected entries elsewhere: into a folder, to a shortcut's folder or program, or to the
// clipboard.

#include "FileListSendTo.h"

#include <QCoreApplication>

#include <QDir>
#include <QFileInfo>

#include "Drives.h"
#include "ExecuteFile.h"
#include "FileListClipboard.h"
#include "FileListSendToDialog.h"
#include "FileOperations.h"
#include "Messages.h"
#include "OverrideCursor.h"
#include "PathRoutines.h"
#include "ZTFilelistView.h"

namespace odz {

namespace {

// The target must be a folder; a missing one is made when the user agrees.
bool EnsureFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (info.isDir()) return true;
    if (info.exists() || info.isSymLink()) {
        Messages().Error(
            QCoreApplication::translate("FileList", "ERROR - Can't copy to  %1\nIt is not a folder.")
                .arg(folder));
        return false;
    }
    const QString question = QCoreApplication::translate(
                                 "FileList", "The folder \"%1\" does not exist.\nDo you want to create it?")
                                 .arg(folder);
    if (Messages().Confirm(question, false) != TAnswer::Yes) return false;
    if (QDir().mkpath(folder)) return true;
    Messages().Error(QCoreApplication::translate("FileList", "ERROR - Can't create folder  %1").arg(folder));
    return false;
}

}  // namespace

QStringList SendToShortcuts(const QString& folder) {
    QStringList shortcuts;
    if (folder.isEmpty()) return shortcuts;
    const QDir dir(folder);
    const QStringList names =
        dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const QString path = dir.absoluteFilePath(name);
        if (QFileInfo(path).isSymLink()) shortcuts << path;
    }
    return shortcuts;
}

QString ShortcutCaption(const QString& shortcut) {
    QString caption = QFileInfo(shortcut).fileName();
    return caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString SendToTarget(const QString& typed, const QString& folder) {
    QString path = typed;
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path = QDir::homePath() + path.mid(1);
    if (path.isEmpty()) return {};
    return QDir::cleanPath(QDir(folder).absoluteFilePath(path));
}

void TZTFilelistView::SendTo(int kind) {
    switch (kind) {
        case 0: {
            const QString folder = AskSendToFolder(window(), QString());
            if (!folder.isEmpty()) CopyToFolder(folder);
            break;
        }
        case 1: {
            const QList<int> rows = SelectedRows();
            // A folder, a drive or the parent row has no content to copy.
            if (!rows.isEmpty() && Item(rows.first()).kind == QLatin1String("file"))
                CopyContentsToClipboard(Item(rows.first()).fullPath);
            break;
        }
        case 2: {
            QStringList paths;
            for (int row : SelectedRows()) {
                if (!Item(row).isParent) paths << Item(row).fullPath;
            }
            if (!paths.isEmpty()) CopyFileNamesToClipboard(paths);
            break;
        }
        default:
            break;
    }
}

void TZTFilelistView::SendToShortcut(const QString& shortcut) {
    const QList<int> entries = SelectedEntries();
    if (entries.isEmpty()) return;
    const QFileInfo link(shortcut);
    if (link.isSymLink()) {
        const QString target = link.symLinkTarget();
        if (target.isEmpty()) return;
        if (DriveType(target) == kDriveRemovable) {
            const TOverrideCursor busy;
            if (DiskInDrive(target, true)) CopyToFolder(target);
        } else if (!QFileInfo(target).isDir()) {
            // A program gets the first entry to work on; a document is simply opened.
            const QFileInfo first(Item(entries.first()).fullPath);
            ExecuteFile(QStringLiteral("Open"), target, first.fileName(), kShowNormal,
                        AddSlash(first.path()));
        } else {
            CopyToFolder(target);
        }
    } else if (link.isDir()) {
        CopyToFolder(shortcut);
    }
}

void TZTFilelistView::CopyToFolder(const QString& folder) {
    if (!ShowsExistingFolder()) return;
    const QString target = SendToTarget(folder, Directory());
    const QStringList sources = PathsOf(SelectedEntries());
    if (target.isEmpty() || sources.isEmpty() || !EnsureFolder(target)) return;
    {
        // The clipboard is left as it was: sending is not a Copy.
        const TOverrideCursor busy;
        for (const QString& source : sources) {
            bool aborted = false;
            ShellFileOperation(window(), kFoCopy, source, aborted,
                               AddSlash(target) + QFileInfo(source).fileName());
            if (aborted) break;  // the user's Cancel stops the rest too
        }
    }
    // The list shows the folder the entries came from; it changed only when they went into it.
    if (QFileInfo(target).canonicalFilePath() == QFileInfo(Directory()).canonicalFilePath()) UpdateFileList();
}

}  // namespace odz
