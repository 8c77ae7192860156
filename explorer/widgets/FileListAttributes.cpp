// The attributes of one entry: the "Set Attributes" command of the file list and what it changes.

#include "FileListAttributes.h"

#include <QCoreApplication>

#include <QFile>
#include <QFileInfo>

#include "DirectoryListing.h"
#include "FileListAttributesDialog.h"
#include "FileListDialogRunner.h"
#include "FileOperations.h"
#include "Messages.h"
#include "PathRoutines.h"
#include "ZTFilelistView.h"

#include <QCheckBox>

namespace odz {

namespace {

constexpr QFile::Permissions kAnyWrite =
    QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;

bool SetReadOnly(const QString& path, bool readOnly) {
    QFile entry(path);
    const QFile::Permissions now = entry.permissions();
    const QFile::Permissions wanted =
        readOnly ? now & ~kAnyWrite : now | QFile::WriteOwner | QFile::WriteUser;
    if (entry.setPermissions(wanted)) return true;
    Messages().Error(QCoreApplication::translate("FileList", "ERROR - Can't set attributes of  %1")
                         .arg(QFileInfo(path).fileName()) +
                     QLatin1Char('\n') + entry.errorString());
    return false;
}

QString SetHidden(QWidget* owner, const QString& path, bool hidden) {
    const QFileInfo info(path);
    QString name = info.fileName();
    if (hidden) {
        name.prepend(QLatin1Char('.'));
    } else {
        while (name.startsWith(QLatin1Char('.'))) name.remove(0, 1);
        if (name.isEmpty()) {
            Messages().Error(
                QCoreApplication::translate("FileList", "ERROR - Can't set attributes of  %1")
                    .arg(info.fileName()) +
                QLatin1Char('\n') +
                QCoreApplication::translate("FileList", "Without its leading dots the name would be empty."));
            return path;
        }
    }
    const QString target = ConcatPath(info.path(), name);
    bool aborted = false;
    return ShellFileOperation(owner, kFoRename, path, aborted, target) ? target : path;
}

}  // namespace

TEntryAttributes ReadEntryAttributes(const QString& path) {
    const unsigned bits = EntryAttributes(QFileInfo(path));
    return {(bits & kAttrReadOnly) != 0, (bits & kAttrHidden) != 0};
}

QString WriteEntryAttributes(QWidget* owner, const QString& path, const TEntryAttributes& wanted) {
    const TEntryAttributes current = ReadEntryAttributes(path);
    if (wanted.readOnly != current.readOnly) SetReadOnly(path, wanted.readOnly);
    if (wanted.hidden != current.hidden) return SetHidden(owner, path, wanted.hidden);
    return path;
}

void TZTFilelistView::EditAttributes() {
    const QList<int> entries = SelectedEntries();
    if (entries.isEmpty()) return;
    const TListItem item = Item(entries.first());
    const TEntryAttributes current = ReadEntryAttributes(item.fullPath);
    TFileListAttributesDialog dialog(item.Name(), window());
    dialog.ReadOnlyBox()->setChecked(current.readOnly);
    dialog.HiddenBox()->setChecked(current.hidden);
    if (RunDialog(dialog) != QDialog::Accepted) return;
    const TEntryAttributes wanted = {dialog.ReadOnlyBox()->isChecked(), dialog.HiddenBox()->isChecked()};
    if (wanted == current) return;
    const QString path = WriteEntryAttributes(window(), item.fullPath, wanted);
    UpdateFileList();
    SelectPath(path);
    if (path != item.fullPath && item.kind == QLatin1String("dir")) Resynchronise(Directory(), true);
}

}  // namespace odz
