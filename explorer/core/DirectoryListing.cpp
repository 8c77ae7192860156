#include "DirectoryListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>
#include <optional>
#include <vector>

namespace odz {

namespace {

// "*" and "?" over case-folded text, with backtracking on the last "*".
bool Glob(QStringView name, QStringView pattern) {
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == QLatin1Char('?') || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*')) ++p;
    return p == pattern.size();
}

// The kilobytes the Size column shows (whatever language it shows them in); 0 for a folder.
qint64 SizeNumber(const TListItem& item) {
    return item.kind == QLatin1String("file") ? SizeKB(item.size) : 0;
}

int Sign(qint64 value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

bool IsFolder(const QByteArray& native) {
    struct stat facts {};
    return !native.isEmpty() && ::stat(native.constData(), &facts) == 0 && S_ISDIR(facts.st_mode);
}

struct TCloseDir {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

// One entry of the folder: its name bytes and what the file system tells about it, links followed
// (a link that leads nowhere tells about itself).
struct TDirectoryListing::TEntry {
    QByteArray native;
    QString name;
    struct stat facts {};

    bool IsDir() const { return S_ISDIR(facts.st_mode); }
    unsigned Attributes() const {
        unsigned bits = IsDir() ? static_cast<unsigned>(kAttrDirectory) : 0U;
        if ((facts.st_mode & S_IWUSR) == 0) bits |= kAttrReadOnly;
        if (name.startsWith(QLatin1Char('.')) && name != QLatin1String("..")) bits |= kAttrHidden;
        return bits;
    }
};

QString DirectoryCaption(const QString& directory) {
    if (directory.compare(kDrives, Qt::CaseInsensitive) != 0) return directory;
    const QString shown = QCoreApplication::translate("FileList", "Drives");
    // Untranslated, the keyword is shown as it was written.
    return shown == kDrives ? directory : shown;
}

QString ParentCaption() {
    return QCoreApplication::translate("FileList", " ^ Parent");
}

QString TListItem::Name() const {
    return fullPath.mid(fullPath.lastIndexOf(QLatin1Char('/')) + 1);
}

bool MatchesPattern(const QString& name, const QString& pattern) {
    if (pattern.isEmpty()) return false;
    const QString p = pattern.toCaseFolded();
    if (p == QLatin1String("*.*")) return true;
    const QString n = name.toCaseFolded();
    if (Glob(n, p)) return true;
    // "name.*" also finds "name", and "*." finds names without any extension.
    if (p.endsWith(QLatin1String(".*")) && Glob(n, QStringView(p).chopped(2))) return true;
    if (p.endsWith(QLatin1Char('.')) && !n.contains(QLatin1Char('.')) && Glob(n, QStringView(p).chopped(1))) {
        return true;
    }
    // The three-letter rule looks at the name's last extension only: *.htm finds page.html, never
    // page.htm.bak.
    const qsizetype dot = p.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0 && p.size() - dot - 1 == 3 && !p.mid(dot + 1).contains(QLatin1Char('*'))) {
        const qsizetype nameDot = n.lastIndexOf(QLatin1Char('.'));
        return nameDot >= 0 && Glob(QStringView(n).left(nameDot), QStringView(p).left(dot)) &&
               Glob(QStringView(n).mid(nameDot + 1), QString(p.mid(dot + 1) + QLatin1Char('*')));
    }
    return false;
}

unsigned EntryAttributes(const QFileInfo& info) {
    unsigned bits = 0;
    if (info.isDir()) bits |= kAttrDirectory;
    if (!info.permission(QFileDevice::WriteOwner)) bits |= kAttrReadOnly;
    if (info.fileName().startsWith(QLatin1Char('.')) && info.fileName() != QLatin1String(".."))
        bits |= kAttrHidden;
    return bits;
}

TDirectoryListing::TDirectoryListing() = default;

bool TDirectoryListing::SetDirectory(const QString& value) {
    if (value.compare(kDrives, Qt::CaseInsensitive) == 0) {
        if (IsDrives()) return false;
        FDirectory = value;
        FNativeDirectory = value.toUtf8();
        return true;
    }
    // Paths are compared exactly: on this system /data/A and /data/a are two folders.
    if (value == FDirectory || AddSlash(value) == FDirectory) return false;
    const QFileInfo info(value);
    if (value.isEmpty() || !info.isDir()) return false;
    FDirectory = AddSlash(value);
    FNativeDirectory = QFile::encodeName(FDirectory);
    return true;
}

bool TDirectoryListing::SetNativeDirectory(const QByteArray& value) {
    const QByteArray folder = value.endsWith('/') ? value : value + '/';
    if ((folder == FNativeDirectory && !IsDrives()) || !IsFolder(value)) return false;
    FNativeDirectory = folder;
    FDirectory = QFile::decodeName(folder);
    return true;
}

bool TDirectoryListing::SetMask(const QString& mask) {
    if (mask == FMask) return false;
    FMask = mask;
    return true;
}

bool TDirectoryListing::SetFileType(TFileType fileType) {
    if (fileType == FFileType) return false;
    FFileType = fileType;
    return true;
}

bool TDirectoryListing::SetShowFolders(bool show) {
    if (show == FShowFolders) return false;
    FShowFolders = show;
    return true;
}

TListItem TDirectoryListing::MakeItem(const TEntry& entry) const {
    TListItem item;
    item.isParent = entry.name == QLatin1String("..");
    item.attributes = entry.Attributes();
    item.kind = entry.IsDir() ? QStringLiteral("dir") : QStringLiteral("file");
    item.fullPath = FDirectory + entry.name;
    item.nativeName = entry.native;
    item.size = entry.IsDir() ? 0 : static_cast<qint64>(entry.facts.st_size);
    item.sizeText = SizeText(item.size, item.kind);
    // In UTC: working out the local time costs more than the rest of the row, and only the rows shown
    // need it.
    item.modified = QDateTime::fromMSecsSinceEpoch(
        static_cast<qint64>(entry.facts.st_mtim.tv_sec) * 1000 + entry.facts.st_mtim.tv_nsec / 1000000,
        Qt::UTC);
    item.attrText = AttrText(item.attributes);
    if (item.isParent) {
        item.caption = ParentCaption();
        item.typeName = QStringLiteral(" ");
    } else {
        const qsizetype dot = entry.name.indexOf(QLatin1Char('.'));
        item.caption = (FHideFileExt && dot > 0) ? entry.name.left(dot) : entry.name;
        if (FTypeName) item.typeName = FTypeName(QFileInfo(item.fullPath));
    }
    return item;
}

// Lists the folder by its name bytes, so that entries whose names are no valid UTF-8 are found too.
void TDirectoryListing::ListFolder() {
    const std::unique_ptr<DIR, TCloseDir> dir(::opendir(FNativeDirectory.constData()));
    if (!dir) return;
    std::vector<TEntry> entries;
    while (const dirent* found = ::readdir(dir.get())) {
        TEntry entry;
        entry.native = QByteArray(found->d_name);
        if (entry.native == ".") continue;
        if (entry.native == ".." && FNativeDirectory == "/") continue;
        if (::fstatat(::dirfd(dir.get()), found->d_name, &entry.facts, 0) != 0 &&
            ::fstatat(::dirfd(dir.get()), found->d_name, &entry.facts, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;  // gone since the folder was read
        }
        entry.name = QFile::decodeName(entry.native);
        entries.push_back(std::move(entry));
    }
    FItems.reserve(static_cast<qsizetype>(entries.size()));
    const unsigned barred = (kAttrReadOnly | kAttrHidden | kAttrSystem) & ~FFileType;
    const auto admits = [&](const TEntry& entry, bool folders) {
        return entry.IsDir() == folders && (entry.Attributes() & barred) == 0;
    };
    if (FShowFolders) {
        for (const TEntry& entry : entries) {
            if (admits(entry, true)) FItems.append(MakeItem(entry));
        }
    }
    QString mask = FMask.trimmed();
    if (mask.isEmpty()) mask = QStringLiteral("*.*");
    // Every part of the mask is a pattern of its own (an empty part matches nothing); a file that
    // matches two parts is still listed once. Names are told apart by their bytes: two names that
    // show alike are still two files.
    const QStringList parts = mask.split(QLatin1Char(';'));
    QSet<QByteArray> listed;
    for (const QString& part : parts) {
        for (const TEntry& entry : entries) {
            if (entry.native == ".." || listed.contains(entry.native)) continue;
            if (admits(entry, false) && MatchesPattern(entry.name, part)) {
                listed.insert(entry.native);
                FItems.append(MakeItem(entry));
            }
        }
    }
}

void TDirectoryListing::UpdateFileList() {
    FItems.clear();
    if (IsDrives()) {
        FSortEnabled = false;
        return;  // the drive list belongs to the view
    }
    FSortEnabled = true;
    ListFolder();
    FSortInverted = true;
    ColumnClick(0);
}

void TDirectoryListing::SetExtraTexts(const QHash<QString, QString>& byPath) {
    for (TListItem& item : FItems) {
        const auto found = byPath.constFind(item.fullPath);
        if (found != byPath.constEnd()) item.extraText = *found;
    }
}

void TDirectoryListing::ColumnClick(int column) {
    if (!FSortEnabled) return;
    if (column != FSortColumn) {
        FSortColumn = column;
        FSortInverted = true;
    } else {
        FSortInverted = !FSortInverted;
    }
    Sort();
}

TDirectoryListing::TSortKey TDirectoryListing::SortKey(const TListItem& item) const {
    TSortKey key;
    key.folder = item.kind == QLatin1String("dir");
    if (FSortColumn == 1) {
        key.size = SizeNumber(item);
    } else if (FSortColumn < 2 || FSortColumn > 5) {
        key.caption = item.caption.toUpper();
    }
    return key;
}

int TDirectoryListing::Compare(const TListItem& x, const TSortKey& xKey, const TListItem& y,
                               const TSortKey& yKey) const {
    const bool xDir = xKey.folder;
    const bool yDir = yKey.folder;
    int r;
    if (xDir != yDir) {
        r = xDir ? -1 : 1;
    } else {
        switch (FSortColumn) {
            case 1:
                r = Sign(xKey.size - yKey.size);
                break;
            case 3: {
                // Times that differ by less than 0.432 seconds count as equal.
                const double days = static_cast<double>(y.modified.msecsTo(x.modified)) / 86400000.0;
                r = Sign(std::llround(days * 100000));
                break;
            }
            case 2:
                r = x.typeName.compare(y.typeName, Qt::CaseInsensitive);
                break;
            case 4:
                r = x.attrText.compare(y.attrText, Qt::CaseInsensitive);
                break;
            case 5:
                r = x.extraText.compare(y.extraText, Qt::CaseInsensitive);
                break;
            default: {
                const QString& a = xKey.caption;
                const QString& b = yKey.caption;
                r = a < b ? -1 : (b < a ? 1 : 0);
            }
        }
    }
    if (FSortInverted && !x.isParent && !y.isParent) r = -r;
    return r;
}

void TDirectoryListing::Sort() {
    // A folder of many thousand files: the keys are worked out once, the rows moved once.
    std::vector<TSortKey> keys;
    keys.reserve(static_cast<std::size_t>(FItems.size()));
    for (const TListItem& item : FItems) keys.push_back(SortKey(item));
    std::vector<qsizetype> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        return Compare(FItems[a], keys[static_cast<std::size_t>(a)], FItems[b],
                       keys[static_cast<std::size_t>(b)]) < 0;
    });
    QList<TListItem> sorted;
    sorted.reserve(FItems.size());
    for (const qsizetype i : order) sorted.append(std::move(FItems[i]));
    FItems = std::move(sorted);
}

}  // namespace odz
