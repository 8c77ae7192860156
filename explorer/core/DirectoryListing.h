#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>

#include "PathRoutines.h"

namespace odz {

// Which files and folders a list admits: a set of the attribute bits read-only, hidden, system,
// archive and normal (kAttr... values). Archive and normal never change what is listed.
using TFileType = unsigned;
constexpr TFileType kAllFileTypes = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;

// The pseudo-folder of the drives. The keyword is what lists compare and settings store, in any
// letter case; DirectoryCaption is what the user reads.
inline const QString kDrives = QStringLiteral("Drives");

// A list's folder as the user reads it: the drives under their name in the user's language.
QString DirectoryCaption(const QString& directory);
// The caption of the row that leads to the folder above.
QString ParentCaption();

// One row of a file list.
struct TListItem {
    QString caption;
    QString sizeText;  // "12 KB", " " for a folder
    QString typeName;  // filled by the view's type provider; " " for the parent entry
    QDateTime modified;
    QString attrText;
    QString fullPath;  // Directory + the entry's name
    // The entry's name as the file system holds it. Names from old archives may be no valid UTF-8:
    // caption and fullPath then show replacement characters, while this keeps the real bytes.
    QByteArray nativeName;
    QString kind;  // "dir", "file" or "drv"
    // The text of a column the window adds after the five (the encoding detected), filled later.
    QString extraText;
    qint64 size = 0;
    unsigned attributes = 0;
    bool isParent = false;

    // The entry's own name (the caption may hide the extension).
    QString Name() const;
};

// True when a file name matches one pattern the way the file list matches its mask: letter case
// ignored, "*" and "?" as wildcards, "*.*" matching every name, and a pattern whose extension has
// exactly three characters also matching a longer last extension that begins with them (*.htm finds
// index.html, but not page.htm.bak).
bool MatchesPattern(const QString& name, const QString& pattern);

// The attribute bits of an entry: read-only when the owner cannot write it, hidden when its name
// begins with ".", directory for folders.
unsigned EntryAttributes(const QFileInfo& info);

// The content of one directory as the file list shows it: folders (the parent entry first) and the
// files that match the mask, each listed once, in the order of the list's sort state.
class TDirectoryListing {
public:
    TDirectoryListing();

    const QString& Directory() const { return FDirectory; }
    // Follows the file list's rule: "Drives" in any letter case is stored as given; an existing folder
    // is stored with a trailing separator (the process's current directory is left alone: two lists
    // show two folders); anything else is ignored. True when the value changed (the caller then
    // refills).
    bool SetDirectory(const QString& value);
    bool IsDrives() const { return FDirectory.compare(kDrives, Qt::CaseInsensitive) == 0; }
    // The folder as the file system spells it, with a trailing separator. A folder whose name is no
    // valid UTF-8 can only be reached this way; Directory() then shows replacement characters.
    const QByteArray& NativeDirectory() const { return FNativeDirectory; }
    // Like SetDirectory for an existing folder given by its bytes.
    bool SetNativeDirectory(const QByteArray& value);

    const QString& Mask() const { return FMask; }
    bool SetMask(const QString& mask);
    TFileType FileType() const { return FFileType; }
    bool SetFileType(TFileType fileType);
    bool ShowFolders() const { return FShowFolders; }
    bool SetShowFolders(bool show);
    bool HideFileExt() const { return FHideFileExt; }
    void SetHideFileExt(bool hide) { FHideFileExt = hide; }
    // Gives each file's type name (the view asks the desktop); without one the Type column is empty.
    void SetTypeNameProvider(std::function<QString(const QFileInfo&)> provider) {
        FTypeName = std::move(provider);
    }

    // Reads the directory again and sorts by name, as after every refill.
    void UpdateFileList();
    const QList<TListItem>& Items() const { return FItems; }

    // Gives the rows the texts of the added column, by full path (rows not named keep theirs).
    void SetExtraTexts(const QHash<QString, QString>& byPath);

    // A click on a column header: the same column toggles the direction, another one sorts by it.
    void ColumnClick(int column);
    int SortColumn() const { return FSortColumn; }
    bool SortInverted() const { return FSortInverted; }
    bool SortEnabled() const { return FSortEnabled; }

private:
    void ListFolder();
    void Sort();
    // What the sort compares of a row, worked out once per row instead of once per comparison.
    struct TSortKey {
        QString caption;  // the caption in capitals (the name column)
        qint64 size = 0;  // the number of the size text (the size column)
        bool folder = false;
    };
    TSortKey SortKey(const TListItem& item) const;
    int Compare(const TListItem& x, const TSortKey& xKey, const TListItem& y, const TSortKey& yKey) const;
    struct TEntry;
    TListItem MakeItem(const TEntry& entry) const;

    QString FDirectory = kDrives;
    QByteArray FNativeDirectory = kDrives.toUtf8();
    QString FMask = QStringLiteral("*.*");
    TFileType FFileType = kAllFileTypes;
    bool FShowFolders = true;
    bool FHideFileExt = false;
    std::function<QString(const QFileInfo&)> FTypeName;
    QList<TListItem> FItems;
    int FSortColumn = 0;
    bool FSortInverted = true;
    bool FSortEnabled = false;
};

}  // namespace odz
