#pragma once

#include <QString>

class QWidget;

namespace odz {

// The attributes an entry has on this platform.
struct TEntryAttributes {
    bool readOnly = false;  // the owner cannot write it
    bool hidden = false;    // its name begins with "."

    bool operator==(const TEntryAttributes&) const = default;
};

TEntryAttributes ReadEntryAttributes(const QString& path);

// Gives the entry the wanted attributes. Read-only takes the write permission from everybody, writable
// gives it back to the owner; hiding puts a "." before the name, showing takes the leading dots away,
// both through the file operations' rename (which never replaces an entry of the new name). Failures
// are reported. The result is the entry's path afterwards.
QString WriteEntryAttributes(QWidget* owner, const QString& path, const TEntryAttributes& wanted);

}  // namespace odz
