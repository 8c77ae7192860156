#pragma once

#include <QApplication>

namespace odz {

// Shows the busy cursor for as long as it lives, so that every way out of an operation restores the
// cursor the user had.
class TFileListBusyCursor {
public:
    TFileListBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TFileListBusyCursor() { QApplication::restoreOverrideCursor(); }
    TFileListBusyCursor(const TFileListBusyCursor&) = delete;
    TFileListBusyCursor& operator=(const TFileListBusyCursor&) = delete;
};

}  // namespace odz
