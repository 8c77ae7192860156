#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "Interfaces.h"

class QFileInfo;
class QWidget;

namespace odz {

// True for an entry that is there, also a link that points nowhere.
bool EntryExists(const QFileInfo& info);

// One entry to copy or move and the full path it is to have.
struct TTransferItem {
    QString source;
    QString target;
};

// Copies or moves files and folders (with everything in them) for the file operations.
//  - A target that exists is asked about: a file "Replace it?", a folder "Merge?" (files of the same
//    name inside are then replaced without further questions). Yes goes on, No leaves that item, Cancel
//    stops everything. A file and a folder never replace each other. The progress steps aside while a
//    question is open; a stop asked for on it meanwhile takes effect once the answered item is done.
//  - A file is written under a temporary name beside the target and renamed over it only when complete,
//    so a failure or a stop never leaves a half-written file nor loses the file it was to replace.
//    Permissions and the modification time are kept; links are copied as links, never followed.
//  - A copy onto itself makes "name - Copy" (then "name - Copy (2)" ...); a folder is never copied or
//    moved into itself.
//  - A move renames where it can; across volumes it copies and removes each original only after its
//    copy is complete.
// Each failure is recorded with a text that names the file; the caller shows them.
class TFileTransfer {
public:
    TFileTransfer(QWidget* owner, bool move);

    // False when anything failed or the user stopped.
    bool Run(const QList<TTransferItem>& items);
    bool Aborted() const { return FAborted; }
    const QStringList& Failures() const { return FFailures; }

private:
    bool Item(const QString& source, QString target);
    TAnswer Ask(const QString& question);
    bool File(const QString& source, const QString& target, bool replace);
    bool Folder(const QString& source, const QString& target);
    bool CopyFile(const QString& source, const QString& target, bool replace);
    bool CopyLink(const QString& source, const QString& target, bool replace);
    bool Fail(const QString& source, const QString& target, const QString& reason);
    bool Advance(const QString& name, qint64 bytes);

    QWidget* FOwner;
    bool FMove;
    bool FAborted = false;
    bool FStopAfterItem = false;
    qint64 FDone = 0;
    QStringList FFailures;
};

// Renames without ever replacing an existing entry unless `replace` is set. 0 on success, else the
// system's error number.
int RenameEntry(const QString& from, const QString& to, bool replace);
// The text of a system error number ("Permission denied").
QString SystemErrorText(int error);

}  // namespace odz
