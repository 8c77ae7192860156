#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace odz {

// The drives of this machine are its mounted volumes, each named by its root folder ("/",
// "/media/anna/STICK/"). Every routine here that takes a drive takes such a root; any path on the
// volume names the same drive.

// The drive types, numbered as the components know them.
enum TDriveType : int {
    kDriveUnknown = 0,
    kDriveNoRootDir = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdRom = 5,
    kDriveRamDisk = 6,
};

struct TDrive {
    QString root;         // with a trailing "/"
    QString displayName;  // the volume's label, or its type ("Fixed Disk") when it has none
    TDriveType type = kDriveUnknown;
};

// The mounted volumes that hold files a user works with, ordered by root: system runtime mounts,
// pseudo and image file systems, and volumes that are not ready are left out.
QList<TDrive> LogicalDrives();

// The type of a volume from its file system and where it is mounted: network file systems, optical
// discs, memory file systems, mounts under /media or /run/media (removable), else a fixed disk.
TDriveType ClassifyVolume(const QByteArray& fileSystemType, const QString& rootPath);
// The type of the drive holding `path`: kDriveNoRootDir when the path does not exist.
TDriveType DriveType(const QString& path);
// "Unknown", "Not exist", "Removable Disk", "Fixed Disk", "Network Disk", "CD-ROM Disk", "RAM Disk".
QString DriveTypeName(TDriveType type);
QString DriveTypeText(const QString& root);

// The caption of a drive row or node: " (" + root + ")  " + the display name up to its first "(".
QString DriveCaption(const TDrive& drive);

// Total and free (available to this user) size in KB of the drive holding `path`; 0 when it cannot
// tell.
qint64 DiskSizeKB(const QString& path);
qint64 DiskFreeKB(const QString& path);

// Whether the drive can be used now. `drive` must be an absolute path (a drive root, or any path on the
// volume), else "Not a valid Drive ID" is shown and the answer is no. A volume that is gone or not ready
// gives false, with the warning "There is no disk in Drive " + drive + " or ... is not ready" when
// `showMessage` is set.
bool DiskInDrive(const QString& drive, bool showMessage);

}  // namespace odz
