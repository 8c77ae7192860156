#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QtTest>

#include "ShellIcons.h"

using namespace odz;

class ShellIconsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(FDir.isValid());
        for (const char* name : {"a.txt", "b.TXT", "c.png", "d.unknownextension", "noext"}) {
            QFile file(FDir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(FDir.path()).mkpath("sub/deeper"));
    }

    void filesOfOneTypeShareAnEntry() {
        const int text = SmallIconIndex(FDir.filePath("a.txt"));
        QCOMPARE(SmallIconIndex(FDir.filePath("b.TXT")), text);
        QCOMPARE(SmallIconIndex(FDir.filePath("not-there.txt")), text);
        QVERIFY(SmallIconIndex(FDir.filePath("c.png")) != text);
        QVERIFY(SmallIconIndex(FDir.filePath("sub")) != text);
    }

    void lookupsDoNotGrowTheCache() {
        SmallIconIndex(FDir.filePath("a.txt"));
        SmallIconIndex(FDir.filePath("sub"));
        const int count = TShellIcons::Shared().Count();
        for (int i = 0; i < 500; ++i) {
            SmallIconIndex(FDir.filePath(QStringLiteral("file%1.txt").arg(i)));
            OpenIconIndex(FDir.filePath("sub/deeper"));
            SmallIconIndex(FDir.filePath("sub"));
        }
        QCOMPARE(TShellIcons::Shared().Count(), count + 1);  // the open folder, once
    }

    void openIcons() {
        const QString folder = FDir.filePath("sub");
        QVERIFY(OpenIconIndex(folder) != SmallIconIndex(folder));
        QCOMPARE(OpenIconIndex(FDir.filePath("sub/deeper")), OpenIconIndex(folder));
        QCOMPARE(OpenIconIndex(FDir.filePath("a.txt")), SmallIconIndex(FDir.filePath("a.txt")));
    }

    void typeNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("mime");
        QTest::newRow("text") << "a.txt"
                              << "text/plain";
        QTest::newRow("image") << "c.png"
                               << "image/png";
        QTest::newRow("unknown") << "d.unknownextension"
                                 << "application/octet-stream";
        QTest::newRow("no extension") << "noext"
                                      << "application/octet-stream";
    }
    void typeNames() {
        QFETCH(QString, name);
        QFETCH(QString, mime);
        QString comment = QMimeDatabase().mimeTypeForName(mime).comment();
        comment[0] = comment[0].toUpper();
        QCOMPARE(ShellTypeName(FDir.filePath(name)), comment);
        QCOMPARE(TShellIcons::Shared().TypeName(SmallIconIndex(FDir.filePath(name))), comment);
    }

    void foldersAndDrives() {
        QCOMPARE(ShellTypeName(FDir.filePath("sub")), QStringLiteral("Folder"));
        QCOMPARE(ShellTypeName(QStringLiteral("/")), DriveTypeText(QStringLiteral("/")));
        QCOMPARE(SmallIconIndex(QStringLiteral("/")), TShellIcons::Shared().DriveIconIndex(DriveType("/")));
        QVERIFY(SmallIconIndex(QStringLiteral("/")) != SmallIconIndex(FDir.filePath("sub")));
    }

    void iconsAreSharedNotCopied() {
        const int index = SmallIconIndex(FDir.filePath("a.txt"));
        QCOMPARE(ShellIcon(index).cacheKey(), ShellIcon(index).cacheKey());
        QVERIFY(ShellIcon(-1).isNull());
        QVERIFY(ShellIcon(TShellIcons::Shared().Count()).isNull());
        QVERIFY(TShellIcons::Shared().TypeName(-1).isEmpty());
    }

private:
    QTemporaryDir FDir;
};

QTEST_MAIN(ShellIconsTest)
#include "ShellIconsTest.moc"
