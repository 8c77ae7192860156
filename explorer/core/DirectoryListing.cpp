#include "DirectoryListing.h"

#include <QDir>
#include <QSet>
#include <algorithm>
#include <cmath>

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

// The number in a size text ("12 KB"); 0 for a folder's blank.
qint64 SizeNumber(const QString& text) {
    const qsizetype k = text.indexOf(QLatin1Char('K'));
    if (text == QLatin1String(" ") || k < 2) return 0;
    return text.left(k - 1).trimmed().toLongLong();
}

int Sign(qint64 value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

}  // namespace

QString TListItem::Name() const {
    return fullPath.mid(fullPath.lastIndexOf(QLatin1Char('/')) + 1);
}

bool MatchesPattern(const QString& name, const QString& pattern) {
    if (pattern.isEmpty()) return false;
    const QString n = name.toCaseFolded();
    const QString p = pattern.toCaseFolded();
    if (p == QLatin1String("*.*") || Glob(n, p)) return true;
    // "name.*" also finds "name", and "*." finds names without any extension.
    if (p.endsWith(QLatin1String(".*")) && Glob(n, QStringView(p).chopped(2))) return true;
    if (p.endsWith(QLatin1Char('.')) && !n.contains(QLatin1Char('.')) && Glob(n, QStringView(p).chopped(1))) {
        return true;
    }
    const qsizetype dot = p.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0 && p.size() - dot - 1 == 3 && !p.mid(dot + 1).contains(QLatin1Char('*'))) {
        return Glob(n, QString(p + QLatin1Char('*')));
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
        return true;
    }
    // Paths are compared exactly: on this system /data/A and /data/a are two folders.
    if (value == FDirectory || AddSlash(value) == FDirectory) return false;
    const QFileInfo info(value);
    if (value.isEmpty() || !info.isDir()) return false;
    FDirectory = AddSlash(value);
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

TListItem TDirectoryListing::MakeItem(const QFileInfo& info, const QString& name) const {
    TListItem item;
    item.isParent = name == QLatin1String("..");
    item.attributes = EntryAttributes(info);
    item.kind = (item.attributes & kAttrDirectory) ? QStringLiteral("dir") : QStringLiteral("file");
    item.fullPath = FDirectory + name;
    item.size = item.kind == QLatin1String("file") ? info.size() : 0;
    item.sizeText = SizeText(item.size, item.kind);
    item.modified = info.lastModified();
    item.attrText = AttrText(item.attributes);
    if (item.isParent) {
        item.caption = kParentCaption;
        item.typeName = QStringLiteral(" ");
    } else {
        const qsizetype dot = name.indexOf(QLatin1Char('.'));
        item.caption = (FHideFileExt && dot > 0) ? name.left(dot) : name;
        if (FTypeName) item.typeName = FTypeName(info);
    }
    return item;
}

void TDirectoryListing::ListFolder() {
    const QDir dir(FDirectory);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDot, QDir::NoSort);
    const unsigned admitted = FFileType & (kAttrReadOnly | kAttrHidden | kAttrSystem);
    const auto admits = [&](const QFileInfo& info, bool folders) {
        const unsigned bits = EntryAttributes(info);
        const unsigned barred = (kAttrReadOnly | kAttrHidden | kAttrSystem) & ~admitted;
        return ((bits & kAttrDirectory) != 0) == folders && (bits & barred) == 0;
    };
    if (FShowFolders) {
        for (const QFileInfo& info : entries) {
            const QString name = info.fileName();
            if (name == QLatin1String("..") && dir.isRoot()) continue;
            if (admits(info, true)) FItems.append(MakeItem(info, name));
        }
    }
    QString mask = FMask.trimmed();
    if (mask.isEmpty()) mask = QStringLiteral("*.*");
    // Every part of the mask is a pattern of its own (an empty part matches nothing); a file that
    // matches two parts is still listed once.
    const QStringList parts = mask.split(QLatin1Char(';'));
    QSet<QString> listed;
    for (const QString& part : parts) {
        for (const QFileInfo& info : entries) {
            const QString name = info.fileName();
            if (name == QLatin1String("..") || listed.contains(name)) continue;
            if (admits(info, false) && MatchesPattern(name, part)) {
                listed.insert(name);
                FItems.append(MakeItem(info, name));
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

int TDirectoryListing::Compare(const TListItem& x, const TListItem& y) const {
    const bool xDir = x.kind == QLatin1String("dir");
    const bool yDir = y.kind == QLatin1String("dir");
    int r;
    if (xDir != yDir) {
        r = xDir ? -1 : 1;
    } else {
        switch (FSortColumn) {
            case 1:
                r = Sign(SizeNumber(x.sizeText) - SizeNumber(y.sizeText));
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
            default: {
                const QString a = x.caption.toUpper();
                const QString b = y.caption.toUpper();
                r = a < b ? -1 : (b < a ? 1 : 0);
            }
        }
    }
    if (FSortInverted && !x.isParent && !y.isParent) r = -r;
    return r;
}

void TDirectoryListing::Sort() {
    std::stable_sort(FItems.begin(), FItems.end(),
                     [this](const TListItem& x, const TListItem& y) { return Compare(x, y) < 0; });
}

}  // namespace odz
