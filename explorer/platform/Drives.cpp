#include "Drives.h"

#include <QCoreApplication>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <algorithm>

#include "Messages.h"
#include "PathRoutines.h"

namespace odz {

namespace {

bool IsUnder(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

bool IsNetworkFileSystem(const QByteArray& type) {
    static const QSet<QByteArray> network = {
        "nfs",         "nfs4",      "cifs",           "smb3",       "smbfs",       "ncpfs",
        "afs",         "ceph",      "glusterfs",      "sshfs",      "davfs",       "fuse.sshfs",
        "fuse.rclone", "fuse.s3fs", "fuse.curlftpfs", "fuse.davfs", "fuse.davfs2", "fuse.glusterfs",
    };
    return network.contains(type);
}

// Mounts that hold no user files (kernel interfaces, the desktop's own bridges, snap and AppImage
// images), and the places where the system keeps its runtime mounts. Removable media mounted under
// /run/media stay.
bool IsHiddenMount(const QByteArray& type, const QString& root) {
    static const QSet<QByteArray> hidden = {
        "autofs",      "binfmt_misc", "bpf",           "cgroup",    "cgroup2",    "configfs",
        "debugfs",     "devpts",      "devtmpfs",      "efivarfs",  "fusectl",    "fuse.gvfsd-fuse",
        "fuse.portal", "fuse.lxcfs",  "fuse.snapfuse", "hugetlbfs", "mqueue",     "nsfs",
        "proc",        "pstore",      "rpc_pipefs",    "nfsd",      "securityfs", "squashfs",
        "sysfs",       "tracefs",
    };
    if (hidden.contains(type)) return true;
    if (IsUnder(root, QStringLiteral("/run/media"))) return false;
    for (const char* system : {"/proc", "/sys", "/dev", "/run", "/var/run", "/var/lock", "/snap"}) {
        if (IsUnder(root, QLatin1String(system))) return true;
    }
    return false;
}

QString DriveName(const QString& root) {
    return root.size() > 1 ? DelSlash(root) : root;
}

}  // namespace

QList<TDrive> LogicalDrives() {
    QList<TDrive> drives;
    QSet<QString> seen;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        const QString root = volume.rootPath();
        const QByteArray type = volume.fileSystemType().toLower();
        // Files mounted over files (a container's /etc/hosts) are no drives.
        if (IsHiddenMount(type, root) || !QFileInfo(root).isDir()) continue;
        const QString slashed = AddSlash(root);
        if (seen.contains(slashed)) continue;
        seen.insert(slashed);
        const TDriveType driveType = ClassifyVolume(type, root);
        drives.append(
            {slashed, volume.name().isEmpty() ? DriveTypeName(driveType) : volume.name(), driveType});
    }
    std::sort(drives.begin(), drives.end(), [](const TDrive& a, const TDrive& b) { return a.root < b.root; });
    return drives;
}

TDriveType ClassifyVolume(const QByteArray& fileSystemType, const QString& rootPath) {
    const QByteArray type = fileSystemType.toLower();
    if (IsNetworkFileSystem(type)) return kDriveRemote;
    if (type == "iso9660" || type == "udf") return kDriveCdRom;
    if (type == "tmpfs" || type == "ramfs") return kDriveRamDisk;
    if (IsUnder(rootPath, QStringLiteral("/media")) || IsUnder(rootPath, QStringLiteral("/run/media"))) {
        return kDriveRemovable;
    }
    return kDriveFixed;
}

TDriveType DriveType(const QString& path) {
    if (path.isEmpty() || !QFileInfo::exists(path)) return kDriveNoRootDir;
    const QStorageInfo volume(path);
    if (!volume.isValid()) return kDriveUnknown;
    return ClassifyVolume(volume.fileSystemType(), volume.rootPath());
}

QString DriveTypeName(TDriveType type) {
    switch (type) {
        case kDriveNoRootDir:
            return QCoreApplication::translate("Drives", "Not exist");
        case kDriveRemovable:
            return QCoreApplication::translate("Drives", "Removable Disk");
        case kDriveFixed:
            return QCoreApplication::translate("Drives", "Fixed Disk");
        case kDriveRemote:
            return QCoreApplication::translate("Drives", "Network Disk");
        case kDriveCdRom:
            return QCoreApplication::translate("Drives", "CD-ROM Disk");
        case kDriveRamDisk:
            return QCoreApplication::translate("Drives", "RAM Disk");
        case kDriveUnknown:
            break;
    }
    return QCoreApplication::translate("Drives", "Unknown");
}

QString DriveTypeText(const QString& root) {
    return DriveTypeName(DriveType(root));
}

QString DriveCaption(const TDrive& drive) {
    const qsizetype paren = drive.displayName.indexOf(QLatin1Char('('));
    const QString name = paren < 0 ? drive.displayName : drive.displayName.left(paren);
    return QStringLiteral(" (") + DriveName(drive.root) + QStringLiteral(")  ") + name;
}

qint64 DiskSizeKB(const QString& path) {
    if (path.isEmpty()) return 0;
    const QStorageInfo volume(path);
    if (!volume.isValid() || !volume.isReady()) return 0;
    return std::max<qint64>(volume.bytesTotal(), 0) / 1024;
}

qint64 DiskFreeKB(const QString& path) {
    if (path.isEmpty()) return 0;
    const QStorageInfo volume(path);
    if (!volume.isValid() || !volume.isReady()) return 0;
    return std::max<qint64>(volume.bytesAvailable(), 0) / 1024;
}

bool DiskInDrive(const QString& drive, bool showMessage) {
    // Querying a volume never brings up a system dialog here, so there is no error mode to switch off.
    const bool validId = QDir::isAbsolutePath(drive);
    if (!validId) Messages().Error(QCoreApplication::translate("Drives", "Not a valid Drive ID"));
    bool ready = false;
    if (validId && QFileInfo::exists(drive)) {
        const QStorageInfo volume(drive);
        ready = volume.isValid() && volume.isReady();
    }
    if (!ready && showMessage) {
        if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::beep();
        const QString name = DriveName(drive);
        Messages().Warning(
            QCoreApplication::translate("Drives", "There is no disk in Drive %1\nor Drive %1: is not ready")
                .arg(name));
    }
    return ready;
}

}  // namespace odz
