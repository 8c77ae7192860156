#pragma once

// What the batch drivers reach of the window: the two file lists, the two directory trees, the busy
// cursor and the progress bar (messages and questions go through the program's messages). The window
// adapts its widgets to these; the command-line tool and the tests have their own small
// implementations.

#include <QString>

#include "DirectoryListing.h"
#include "Interfaces.h"

namespace odz {

class TFileListPort {
public:
    virtual ~TFileListPort() = default;
    virtual QString Directory() const = 0;
    virtual void SetDirectory(const QString& directory) = 0;
    // The folder by its name bytes, with a trailing separator; the walk goes by these, so that folders
    // whose names are no valid UTF-8 are walked too.
    virtual QByteArray NativeDirectory() const = 0;
    virtual void SetNativeDirectory(const QByteArray& directory) = 0;
    virtual void UpdateFileList() = 0;
    virtual QString Mask() const = 0;
    // The rows in display order.
    virtual int Count() const = 0;
    virtual const TListItem& Item(int index) const = 0;
    virtual bool Selected(int index) const = 0;
    virtual int SelectedCount() const = 0;
};

class TDirTreePort {
public:
    virtual ~TDirTreePort() = default;
    virtual QString SelectedPath() const = 0;
    virtual void ReloadTree() = 0;
    virtual void OpenPath(const QString& path) = 0;
};

// The application's busy cursor, shown from BeginBusy to EndBusy.
class TBusyPort {
public:
    virtual ~TBusyPort() = default;
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;
};

}  // namespace odz
