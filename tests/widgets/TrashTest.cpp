#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

#include "FileOperations.h"
#include "ScriptedMessages.h"

using namespace odz;

namespace {

const QChar kNul(u'\0');

void Write(const QString& path) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

QStringList Names(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

}  // namespace

// Deleting moves to the trash. HOME and XDG_DATA_HOME point into a temporary folder on the same volume as
// the files, so the home trash there is the one used and the real home is never touched.
class TrashTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        for (const char* name : {"HOME", "XDG_DATA_HOME"}) {
            FSaved << (qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        }
    }
    void cleanupTestCase() {
        const char* names[] = {"HOME", "XDG_DATA_HOME"};
        for (int i = 0; i < 2; ++i) {
            if (FSaved[i])
                qputenv(names[i], *FSaved[i]);
            else
                qunsetenv(names[i]);
        }
    }

    void init() {
        FDir = std::make_unique<QTemporaryDir>();
        qputenv("HOME", Path("home").toLocal8Bit());
        qputenv("XDG_DATA_HOME", Path("home/.local/share").toLocal8Bit());
        QVERIFY(QDir().mkpath(Path("home")));
        for (const char* name : {"work/a.txt", "work/b.txt", "work/sub/c.txt", "work/keep.txt"})
            Write(Path(name));
        FCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(Path("work")));
    }
    void cleanup() {
        QDir::setCurrent(FCurrent);
        FDir.reset();
    }

    void deleteAsksOnceAndTrashesAll() {
        test::TScriptedMessages messages;
        messages.Expect(TAnswer::Yes);
        bool aborted = true;
        const QString source =
            Path("work/a.txt") + kNul + Path("work/b.txt") + kNul + Path("work/sub") + kNul;
        QVERIFY(ShellFileOperation(nullptr, kFoDelete, source, aborted, QString()));
        QVERIFY(!aborted);
        QCOMPARE(messages.asked, QStringList{"Are you sure you want to move these 3 items to the Trash?"});
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(Names(Path("work")), QStringList{"keep.txt"});
        const QString trash = Path("home/.local/share/Trash/");
        QCOMPARE(Names(trash + "files"), QStringList({"a.txt", "b.txt", "sub"}));
        QCOMPARE(Names(trash + "info"), QStringList({"a.txt.trashinfo", "b.txt.trashinfo", "sub.trashinfo"}));
        QVERIFY(QFile::exists(trash + "files/sub/c.txt"));
    }

    void deleteOfOneNamesIt() {
        test::TScriptedMessages messages;
        messages.Expect(TAnswer::Yes);
        bool aborted = false;
        QVERIFY(ShellFileOperation(nullptr, kFoDelete, Path("work/a.txt") + kNul, aborted, QString()));
        QCOMPARE(messages.asked, QStringList{"Are you sure you want to move \"a.txt\" to the Trash?"});
    }

    void deleteDeclinedKeepsEverything() {
        test::TScriptedMessages messages;
        messages.Expect(TAnswer::No);
        bool aborted = false;
        QVERIFY(!ShellFileOperation(nullptr, kFoDelete, Path("work/a.txt") + kNul + Path("work/b.txt"),
                                    aborted, QString()));
        QVERIFY(aborted);
        QCOMPARE(Names(Path("work")), QStringList({"a.txt", "b.txt", "keep.txt", "sub"}));
    }

    void withoutATrashNothingIsDeleted() {
        Write(Path("blocker"));
        qputenv("XDG_DATA_HOME", Path("blocker/share").toLocal8Bit());
        test::TScriptedMessages messages;
        messages.Expect(TAnswer::Yes);
        bool aborted = false;
        QVERIFY(!ShellFileOperation(nullptr, kFoDelete, Path("work/a.txt") + kNul + Path("work/b.txt"),
                                    aborted, QString()));
        QVERIFY(!aborted);
        QCOMPARE(Names(Path("work")), QStringList({"a.txt", "b.txt", "keep.txt", "sub"}));
        QCOMPARE(messages.shown.size(), 1);
        const QStringList lines = messages.shown[0].split('\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY(
            lines[0].startsWith("error: ERROR - Can't move \"" + Path("work/a.txt") + "\" to the Trash: "));
        QVERIFY(lines[0].endsWith(". It has not been deleted."));
        QVERIFY(lines[1].startsWith("ERROR - Can't move \"" + Path("work/b.txt") + "\" to the Trash: "));
    }

    void missingEntryIsReported() {
        test::TScriptedMessages messages;
        messages.Expect(TAnswer::Yes);
        bool aborted = false;
        QVERIFY(!ShellFileOperation(nullptr, kFoDelete, Path("work/gone.txt") + kNul + Path("work/a.txt"),
                                    aborted, QString()));
        QCOMPARE(Names(Path("work")), QStringList({"b.txt", "keep.txt", "sub"}));
        QCOMPARE(messages.shown, QStringList{"error: ERROR - Can't move \"" + Path("work/gone.txt") +
                                             "\" to the Trash: it does not exist. It has not been deleted."});
    }

    void parentEntryIsNeverDeleted() {
        test::TScriptedMessages messages;
        messages.Expect(TAnswer::Yes);
        bool aborted = false;
        // The list's parent row names the folder above: with other rows it is left out...
        QVERIFY(ShellFileOperation(nullptr, kFoDelete, Path("work/sub/..") + kNul + Path("work/sub/c.txt"),
                                   aborted, QString()));
        QCOMPARE(messages.asked, QStringList{"Are you sure you want to move \"c.txt\" to the Trash?"});
        QVERIFY(QFileInfo(Path("work")).isDir());
        // ... and alone it is refused.
        QVERIFY(!ShellFileOperation(nullptr, kFoDelete, Path("work/sub/..") + kNul, aborted, QString()));
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].startsWith("error: ERROR - Can't delete \"..\""));
        QCOMPARE(Names(Path("work")), QStringList({"a.txt", "b.txt", "keep.txt", "sub"}));
    }

private:
    QString Path(const QString& relative) const { return FDir->filePath(relative); }

    std::unique_ptr<QTemporaryDir> FDir;
    QString FCurrent;
    QList<std::optional<QByteArray>> FSaved;
};

QTEST_MAIN(TrashTest)
#include "TrashTest.moc"
