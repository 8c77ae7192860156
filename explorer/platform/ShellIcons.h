#pragma once

#include <QHash>
#include <QIcon>
#include <QList>
#include <QMimeDatabase>
#include <QString>
#include <memory>

#include "Drives.h"

class QFileIconProvider;

namespace odz {

// One icon and type name per kind of entry (a MIME type, a folder, an open folder, a drive type),
// shared by every list and tree of the program: rows and nodes keep an index into it, never an icon of
// their own. Indexes stay valid for the life of the application.
class TShellIcons {
public:
    static TShellIcons& Shared();
    ~TShellIcons();

    // The index of the icon shown for the path: a drive's for the root of a mounted volume, a folder's,
    // or the one for the file's type (known by its name, so large folders list fast). Paths that do not
    // exist get the icon their name suggests.
    int SmallIconIndex(const QString& path);
    // The same, with a folder drawn open.
    int OpenIconIndex(const QString& path);
    int DriveIconIndex(TDriveType type);

    // Null icons where no application with widgets runs. Out-of-range indexes give a null icon and an
    // empty name.
    QIcon Icon(int index) const;
    // "Folder", the drive type text, or the description of the file type ("Plain text document").
    QString TypeName(int index) const;
    QString TypeName(const QString& path) { return TypeName(SmallIconIndex(path)); }
    int Count() const { return static_cast<int>(FEntries.size()); }

private:
    struct TEntry {
        QIcon icon;
        QString typeName;
    };

    TShellIcons() = default;
    int IndexFor(const QString& path, bool open);
    int FolderIndex(bool open);
    int FileIndex(const QString& path);
    int Add(const QString& key, const QIcon& icon, const QString& typeName);
    QFileIconProvider* Provider();
    void Release();

    QList<TEntry> FEntries;
    QHash<QString, int> FIndexes;
    QMimeDatabase FMimes;
    std::unique_ptr<QFileIconProvider> FProvider;
};

// Shortcuts to the shared cache.
int SmallIconIndex(const QString& path);
int OpenIconIndex(const QString& path);
QIcon ShellIcon(int index);
QString ShellTypeName(const QString& path);

}  // namespace odz
