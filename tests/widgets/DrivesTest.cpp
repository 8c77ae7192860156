#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "Drives.h"
#include "ScriptedMessages.h"

using namespace odz;

class DrivesTest : public QObject {
    Q_OBJECT

private slots:
    void classifyVolume_data() {
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("text");
        QTest::newRow("nfs") << QByteArray("nfs") << "/mnt/share"
                             << "Network Disk";
        QTest::newRow("nfs4") << QByteArray("nfs4") << "/srv/home"
                              << "Network Disk";
        QTest::newRow("cifs") << QByteArray("cifs") << "/mnt/office"
                              << "Network Disk";
        QTest::newRow("smb3") << QByteArray("smb3") << "/mnt/office"
                              << "Network Disk";
        QTest::newRow("sshfs") << QByteArray("fuse.sshfs") << "/home/anna/server"
                               << "Network Disk";
        QTest::newRow("network under /media") << QByteArray("cifs") << "/media/share"
                                              << "Network Disk";
        QTest::newRow("iso9660") << QByteArray("iso9660") << "/media/anna/DISC"
                                 << "CD-ROM Disk";
        QTest::newRow("udf") << QByteArray("udf") << "/run/media/anna/DVD"
                             << "CD-ROM Disk";
        QTest::newRow("tmpfs") << QByteArray("tmpfs") << "/tmp"
                               << "RAM Disk";
        QTest::newRow("ramfs") << QByteArray("ramfs") << "/mnt/ram"
                               << "RAM Disk";
        QTest::newRow("stick under /media") << QByteArray("vfat") << "/media/anna/STICK"
                                            << "Removable Disk";
        QTest::newRow("stick under /run/media") << QByteArray("exfat") << "/run/media/anna/X"
                                                << "Removable Disk";
        QTest::newRow("root") << QByteArray("ext4") << "/"
                              << "Fixed Disk";
        QTest::newRow("container root") << QByteArray("overlay") << "/"
                                        << "Fixed Disk";
        QTest::newRow("home") << QByteArray("btrfs") << "/home"
                              << "Fixed Disk";
        QTest::newRow("a name that only begins like /media") << QByteArray("ext4") << "/mediafiles"
                                                             << "Fixed Disk";
        QTest::newRow("upper-case type") << QByteArray("NFS") << "/mnt/share"
                                         << "Network Disk";
    }
    void classifyVolume() {
        QFETCH(QByteArray, type);
        QFETCH(QString, root);
        QFETCH(QString, text);
        QCOMPARE(DriveTypeName(ClassifyVolume(type, root)), text);
    }

    void driveTypeName_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        const char* texts[] = {"Unknown",      "Not exist",   "Removable Disk", "Fixed Disk",
                               "Network Disk", "CD-ROM Disk", "RAM Disk"};
        for (int type = 0; type <= 6; ++type) QTest::newRow(texts[type]) << type << texts[type];
    }
    void driveTypeName() {
        QFETCH(int, type);
        QFETCH(QString, text);
        QCOMPARE(DriveTypeName(static_cast<TDriveType>(type)), text);
    }

    void driveTypeTextOfRealPaths() {
        QTemporaryDir dir;
        const QStorageInfo volume(dir.path());
        QCOMPARE(DriveTypeText(dir.path()),
                 DriveTypeName(ClassifyVolume(volume.fileSystemType(), volume.rootPath())));
        QCOMPARE(DriveTypeText(dir.filePath("gone")), QStringLiteral("Not exist"));
        QCOMPARE(DriveTypeText(QString()), QStringLiteral("Not exist"));
    }

    void driveCaption_data() {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("name with parenthesis") << "/"
                                               << "Local Disk (C:)"
                                               << " (/)  Local Disk ";
        QTest::newRow("name without parenthesis") << "/media/anna/STICK/"
                                                  << "STICK"
                                                  << " (/media/anna/STICK)  STICK";
        QTest::newRow("empty name") << "/mnt/x/"
                                    << ""
                                    << " (/mnt/x)  ";
    }
    void driveCaption() {
        QFETCH(QString, root);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QCOMPARE(DriveCaption({root, name, kDriveFixed}), caption);
    }

    void logicalDrivesAreUsableFolders() {
        const QList<TDrive> drives = LogicalDrives();
        QStringList roots;
        for (const TDrive& drive : drives) {
            QVERIFY2(drive.root.endsWith(QLatin1Char('/')), qPrintable(drive.root));
            QVERIFY2(QFileInfo(drive.root).isDir(), qPrintable(drive.root));
            QVERIFY(!drive.displayName.isEmpty());
            QVERIFY(drive.type >= kDriveRemovable && drive.type <= kDriveRamDisk);
            QVERIFY2(!drive.root.startsWith("/proc/") && !drive.root.startsWith("/sys/"),
                     qPrintable(drive.root));
            roots << drive.root;
        }
        QStringList sorted = roots;
        sorted.sort();
        sorted.removeDuplicates();
        QCOMPARE(roots, sorted);
        const QStorageInfo root = QStorageInfo::root();
        if (!root.isValid() || !root.isReady()) QSKIP("the root file system cannot be queried here");
        QVERIFY(roots.contains(QStringLiteral("/")));
    }

    void diskSizes() {
        QTemporaryDir dir;
        const QStorageInfo volume(dir.path());
        QCOMPARE(DiskSizeKB(dir.path()), volume.bytesTotal() / 1024);
        QVERIFY(DiskSizeKB(dir.path()) > 0);
        QVERIFY(DiskFreeKB(dir.path()) >= 0);
        QVERIFY(DiskFreeKB(dir.path()) <= DiskSizeKB(dir.path()));
        QCOMPARE(DiskSizeKB(dir.filePath("gone/deeper")), 0);
        QCOMPARE(DiskFreeKB(QString()), 0);
    }

    void diskInDrive_data() {
        QTest::addColumn<QString>("drive");  // "@" stands for the temporary folder
        QTest::addColumn<bool>("showMessage");
        QTest::addColumn<bool>("ready");
        QTest::addColumn<QStringList>("shown");
        const QString missing =
            QStringLiteral("There is no disk in Drive @/gone\nor Drive @/gone: is not ready");
        QTest::newRow("ready drive") << "@" << true << true << QStringList();
        QTest::newRow("ready drive with slash") << "@/" << true << true << QStringList();
        QTest::newRow("gone, with message")
            << "@/gone/" << true << false << QStringList{"warning: " + missing};
        QTest::newRow("gone, silent") << "@/gone" << false << false << QStringList();
        QTest::newRow("under a file") << "@/file/x" << false << false << QStringList();
        QTest::newRow("drive letter")
            << "C" << true << false
            << QStringList{"error: Not a valid Drive ID",
                           "warning: There is no disk in Drive C\nor Drive C: is not ready"};
        QTest::newRow("relative, silent")
            << "media" << false << false << QStringList{"error: Not a valid Drive ID"};
        QTest::newRow("empty, silent") << "" << false << false << QStringList{"error: Not a valid Drive ID"};
    }
    void diskInDrive() {
        QFETCH(QString, drive);
        QFETCH(bool, showMessage);
        QFETCH(bool, ready);
        QFETCH(QStringList, shown);
        QTemporaryDir dir;
        QFile file(dir.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        test::TScriptedMessages messages;
        QCOMPARE(DiskInDrive(drive.replace("@", dir.path()), showMessage), ready);
        QCOMPARE(messages.shown, shown.replaceInStrings("@", dir.path()));
        QVERIFY(messages.asked.isEmpty());
    }
};

QTEST_MAIN(DrivesTest)
#include "DrivesTest.moc"
