#include "FileListPlatform.h"

#include <QCoreApplication>
#include <QLocale>

#include "Drives.h"
#include "ExecuteFile.h"
#include "PathRoutines.h"
#include "ShellIcons.h"

namespace odz::listplatform {

namespace {

// "###,###,### Mb": whole thousands of kilobytes with thousands separators.
QString MegabyteText(qint64 kilobytes) {
    const QString number =
        kilobytes <= 0 ? QStringLiteral("0") : QLocale::system().toString(kilobytes / 1000);
    return QCoreApplication::translate("FileList", "%1 Mb").arg(number);
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

void Find(const QString& folder) {
    ExecuteFile(QStringLiteral("Find"), folder, {}, kShowNormal, {});
}

QString TimeText(const QDateTime& time, TDTFormat format, const QString& timeFormat) {
    return FileTimeToText(time, format, timeFormat);
}

qint64 FreeKB(const QString& path) {
    return DiskFreeKB(path);
}

}  // namespace odz::listplatform
