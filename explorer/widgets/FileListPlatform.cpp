#include "FileListPlatform.h"

#include <QLocale>

#include "Drives.h"
#include "ExecuteFile.h"
#include "FileOperations.h"
#include "PathRoutines.h"
#include "ShellIcons.h"
#include "ShellRoutines.h"

namespace odz::listplatform {

namespace {

// "###,###,### Mb": whole thousands of kilobytes with thousands separators.
QString MegabyteText(qint64 kilobytes) {
    if (kilobytes <= 0) return QStringLiteral("0 Mb");
    return QLocale::system().toString(kilobytes / 1000) + QStringLiteral(" Mb");
}

}  // namespace

QIcon Icon(const TListItem& item) {
    return ShellIcon(SmallIconIndex(item.fullPath));
}

QString TypeName(const QFileInfo& info) {
    return ShellTypeName(info.absoluteFilePath());
}

QList<TDriveRow> Drives() {
    QList<TDriveRow> rows;
    for (const TDrive& drive : LogicalDrives()) {
        TDriveRow row;
        row.root = drive.root;
        row.caption = DriveCaption(drive);
        row.typeText = DriveTypeText(drive.root);
        // Removable media and optical discs are not asked for their size: that would wait for a medium.
        const bool skipSizes = drive.type == kDriveRemovable || drive.type == kDriveCdRom;
        row.sizeText = MegabyteText(skipSizes ? 0 : DiskSizeKB(drive.root));
        row.freeText = MegabyteText(skipSizes ? 0 : DiskFreeKB(drive.root));
        row.icon = ShellIcon(TShellIcons::Shared().DriveIconIndex(drive.type));
        rows.append(row);
    }
    return rows;
}

bool DiskReady(const QString& root) {
    return DiskInDrive(root, true);
}

void Open(const QString& file) {
    const QFileInfo info(file);
    ExecuteFile(QStringLiteral("Open"), info.fileName(), {}, kShowNormal, AddSlash(info.path()));
}

void View(const QString& file) {
    const QFileInfo info(file);
    const QString extension = QLatin1Char('.') + info.suffix().toUpper();
    static const QStringList kText = {".C",   ".CPP", ".DPK", ".DPR", ".H",
                                      ".INF", ".INI", ".PAS", ".PRG", ".TXT"};
    static const QStringList kDocuments = {".DOC", ".RTF", ".WRI"};
    QString program;
    if (kText.contains(extension)) {
        program = QStringLiteral("NotePad");
    } else if (kDocuments.contains(extension)) {
        program = QStringLiteral("Write");
    } else if (extension == QLatin1String(".BMP")) {
        program = QStringLiteral("PBrush");
    } else {
        return;
    }
    ExecuteFile(QStringLiteral("Open"), program, info.fileName(), kShowNormal, AddSlash(info.path()));
}

void Find(const QString& folder) {
    ExecuteFile(QStringLiteral("Find"), folder, {}, kShowNormal, {});
}

QString TimeText(const QDateTime& time, TDTFormat format, const QString& timeFormat) {
    return FileTimeToText(time, format, timeFormat);
}

qint64 FreeKB(const QString& path) {
    return DiskFreeKB(path);
}

bool FileOperation(QWidget* owner, TOperation operation, const QStringList& sources, const QString& target) {
    QString list;
    for (const QString& source : sources) list += AddNullToStr(source);
    bool aborted = false;
    return ShellFileOperation(owner, static_cast<TFileFunction>(operation), list, aborted, target);
}

}  // namespace odz::listplatform
