#include <sys/stat.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "CopyProgress.h"
#include "FileOperations.h"
#include "ScriptedMessages.h"
#include "ShellRoutines.h"

using namespace odz;

namespace {

const QChar kNul(u'\0');

void Write(const QString& path, const QByteArray& bytes) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The permission bits as stored, without what this process may do (root may write anything).
QFile::Permissions Mode(const QString& path) {
    return QFileInfo(path).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
}

// Names in a folder, hidden ones included, sorted.
QStringList Names(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// Records the progress and stops the work at a chosen step, as the user's Cancel would.
class TRecordedProgress : public TCopyProgress {
public:
    void Start(QWidget*, const QString&, qint64 totalBytes) override {
        ++starts;
        total = totalBytes;
    }
    bool Step(const QString&, qint64 doneBytes) override {
        done = doneBytes;
        return stopAtStep < 0 || ++steps < stopAtStep;
    }
    void Finish() override { ++finishes; }

    int starts = 0, finishes = 0, steps = 0, stopAtStep = -1;
    qint64 total = 0, done = 0;
};

// Scripted answers, with a look at the window while each question is open.
class TProbingMessages : public test::TScriptedMessages {
public:
    std::function<void()> probe;
    TAnswer Confirm(const QString& text, bool withCancel) override {
        if (probe) probe();
        return TScriptedMessages::Confirm(text, withCancel);
    }
};

}  // namespace

class FileOperationsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        FDir = std::make_unique<QTemporaryDir>();
        FProgress = std::make_unique<TRecordedProgress>();
        SetCopyProgress(FProgress.get());
        Write(Path("src/a.txt"), "alpha");
        Write(Path("src/b.txt"), "beta");
        QVERIFY(QDir().mkpath(Path("dst")));
    }
    void cleanup() {
        SetCopyProgress(nullptr);
        QCOMPARE(FProgress->starts, FProgress->finishes);
        FDir.reset();
    }

    void requestListsEndWithTwoNuls_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one name") << "/a" << QString("/a") + kNul + kNul;
        QTest::newRow("one name, closed") << QString("/a") + kNul << QString("/a") + kNul + kNul;
        QTest::newRow("two names") << QString("/a") + kNul + "/b"
                                   << QString("/a") + kNul + "/b" + kNul + kNul;
        QTest::newRow("two names, closed")
            << QString("/a") + kNul + "/b" + kNul << QString("/a") + kNul + "/b" + kNul + kNul;
    }
    void requestListsEndWithTwoNuls() {
        QFETCH(QString, list);
        QFETCH(QString, expected);
        const TFileOperationRequest request = MakeFileOperationRequest(nullptr, kFoCopy, list, list);
        QCOMPARE(request.from, expected);
        QCOMPARE(request.to, expected);
        QCOMPARE(request.function, kFoCopy);
        QVERIFY(!request.aborted);
    }

    void copyKeepsContentTimeAndPermissions() {
        const QDateTime old(QDate(2001, 2, 3), QTime(4, 5, 6));
        {
            QFile file(Path("src/a.txt"));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        }
        QVERIFY(QFile::setPermissions(Path("src/a.txt"), QFile::ReadOwner | QFile::ReadUser));
        test::TScriptedMessages messages;
        bool aborted = true;
        QVERIFY(ShellFileOperation(nullptr, kFoCopy, Path("src/a.txt"), aborted, Path("dst/a.txt")));
        QVERIFY(!aborted);
        QCOMPARE(Read(Path("dst/a.txt")), QByteArray("alpha"));
        QCOMPARE(Read(Path("src/a.txt")), QByteArray("alpha"));
        QCOMPARE(QFileInfo(Path("dst/a.txt")).lastModified(), old);
        QCOMPARE(Mode(Path("dst/a.txt")), Mode(Path("src/a.txt")));
        QCOMPARE(Names(Path("dst")), QStringList{"a.txt"});
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(FProgress->total, 5);
        QCOMPARE(FProgress->done, 5);
    }

    void noProgressDialogOffScreen() {
        SetCopyProgress(nullptr);
        test::TScriptedMessages messages;
        bool aborted = false;
        QVERIFY(ShellFileOperation(nullptr, kFoCopy, Path("src/a.txt"), aborted, Path("dst/a.txt")));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
        QCOMPARE(Read(Path("dst/a.txt")), QByteArray("alpha"));
    }

    void copyIntoAFolder_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("both");
        QTest::newRow("folder with slash, one file") << "dst/new/" << false;
        QTest::newRow("several files into a new folder") << "dst/new" << true;
        QTest::newRow("existing folder of another name") << "dst" << false;
    }
    void copyIntoAFolder() {
        QFETCH(QString, target);
        QFETCH(bool, both);
        const QString source = both ? Path("src/a.txt") + kNul + Path("src/b.txt") + kNul : Path("src/a.txt");
        const QString folder = target == "dst" ? Path("dst") : Path("dst/new");
        test::TScriptedMessages messages;
        bool aborted = false;
        QVERIFY(ShellFileOperation(nullptr, kFoCopy, source, aborted, Path(target)));
        QCOMPARE(Names(folder), both ? QStringList({"a.txt", "b.txt"}) : QStringList{"a.txt"});
        QVERIFY(messages.shown.isEmpty());
    }

    void copyConflict_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("result");
        QTest::addColumn<bool>("aborted");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("Yes replaces") << int(TAnswer::Yes) << true << false << QByteArray("alpha");
        QTest::newRow("No leaves it") << int(TAnswer::No) << true << false << QByteArray("old");
        QTest::newRow("Cancel stops") << int(TAnswer::Cancel) << false << true << QByteArray("old");
    }
    void copyConflict() {
        QFETCH(int, answer);
        QFETCH(bool, result);
        QFETCH(bool, aborted);
        QFETCH(QByteArray, content);
        Write(Path("dst/a.txt"), "old");
        test::TScriptedMessages messages;
        messages.Expect(static_cast<TAnswer>(answer));
        bool stopped = false;
        QCOMPARE(ShellFileOperation(nullptr, kFoCopy, Path("src/a.txt"), stopped, Path("dst/a.txt")), result);
        QCOMPARE(stopped, aborted);
        QCOMPARE(Read(Path("dst/a.txt")), content);
        QCOMPARE(messages.asked,
                 QStringList{"The file \"" + Path("dst/a.txt") + "\" already exists.\nReplace it with \"" +
                             Path("src/a.txt") + "\"?"});
        QVERIFY(messages.unexpected.isEmpty());
        QCOMPARE(Names(Path("dst")), QStringList{"a.txt"});  // no temporary file left behind
    }

    // The progress window never covers a question, and both the user's Cancel on it and the answer to
    // the question are carried out, whatever comes first.
    void cancelAndAnswerAreBothHonoured_data() {
        QTest::addColumn<QString>("cancel");  // when Cancel is pressed on the progress window
        QTest::addColumn<int>("answer");      // to "Replace a.txt?"
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QByteArray>("replaced");
        QTest::addColumn<bool>("aborted");
        const QStringList all = {"a.txt", "b.txt", "c.txt"};
        QTest::newRow("never") << "never" << int(TAnswer::Yes) << all << QByteArray("alpha") << false;
        QTest::newRow("before the question")
            << "before" << int(TAnswer::Yes) << QStringList{"a.txt"} << QByteArray("old") << true;
        QTest::newRow("during the question, then Yes")
            << "during" << int(TAnswer::Yes) << QStringList{"a.txt", "b.txt"} << QByteArray("alpha") << true;
        QTest::newRow("during the question, then No")
            << "during" << int(TAnswer::No) << QStringList{"a.txt", "b.txt"} << QByteArray("old") << true;
        QTest::newRow("after a Yes, during the copy")
            << "after" << int(TAnswer::Yes) << QStringList{"a.txt", "b.txt"} << QByteArray("old") << true;
    }
    void cancelAndAnswerAreBothHonoured() {
        QFETCH(QString, cancel);
        QFETCH(int, answer);
        QFETCH(QStringList, names);
        QFETCH(QByteArray, replaced);
        QFETCH(bool, aborted);
        Write(Path("src/c.txt"), "gamma");
        Write(Path("dst/a.txt"), "old");
        TCopyProgressDialog progress(0, true);  // shown at the first step
        SetCopyProgress(&progress);
        const auto pressCancel = [&progress] {
            QVERIFY(progress.Window());
            progress.Window()->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
        };
        if (cancel == "before") QTimer::singleShot(0, this, pressCancel);
        TProbingMessages messages;
        messages.Expect(static_cast<TAnswer>(answer));
        bool hidden = false;
        messages.probe = [&] {
            hidden = progress.Window() && !progress.Window()->isVisible() &&
                     QApplication::activeModalWidget() != progress.Window();
            if (cancel == "during") pressCancel();
            if (cancel == "after") QTimer::singleShot(0, this, pressCancel);
        };
        bool stopped = false;
        const QString sources = Path("src/b.txt") + kNul + Path("src/a.txt") + kNul + Path("src/c.txt");
        QCOMPARE(ShellFileOperation(nullptr, kFoCopy, sources, stopped, Path("dst/")), !aborted);
        QCOMPARE(stopped, aborted);
        QCOMPARE(Names(Path("dst")), names);
        QCOMPARE(Read(Path("dst/a.txt")), replaced);
        QCOMPARE(messages.asked.size(), cancel == "before" ? 0 : 1);
        if (cancel != "before") QVERIFY(hidden);
        QVERIFY(messages.unexpected.isEmpty());
        QVERIFY(!progress.Window());  // gone with the copy
    }

    void copyOntoItselfMakesACopy() {
        test::TScriptedMessages messages;
        bool aborted = false;
        QVERIFY(ShellFileOperation(nullptr, kFoCopy, Path("src/a.txt"), aborted, Path("src/a.txt")));
        QVERIFY(ShellFileOperation(nullptr, kFoCopy, Path("src/a.txt"), aborted, Path("src/a.txt")));
        QCOMPARE(Names(Path("src")), QStringList({"a - Copy (2).txt", "a - Copy.txt", "a.txt", "b.txt"}));
        QCOMPARE(Read(Path("src/a - Copy.txt")), QByteArray("alpha"));
        QVERIFY(messages.asked.isEmpty());
    }

    void copyFolderTree() {
        Write(Path("src/tree/.hidden"), "h");
        Write(Path("src/tree/deep/er/file.bin"), QByteArray(3000, 'x'));
        QVERIFY(QDir().mkpath(Path("src/tree/empty")));
        QVERIFY(QFile::link("deep/er/file.bin", Path("src/tree/link")));
        test::TScriptedMessages messages;
        bool aborted = false;
        QVERIFY(ShellFileOperation(nullptr, kFoCopy, Path("src/tree"), aborted, Path("dst/tree")));
        QCOMPARE(Names(Path("dst/tree")), QStringList({".hidden", "deep", "empty", "link"}));
        QCOMPARE(Read(Path("dst/tree/deep/er/file.bin")), QByteArray(3000, 'x'));
        QCOMPARE(QFileInfo(Path("dst/tree/link")).symLinkTarget(), Path("dst/tree/deep/er/file.bin"));
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(FProgress->total, 3001);
    }

    void folderIsNeverCopiedIntoItself() {
        Write(Path("src/tree/x"), "x");
        test::TScriptedMessages messages;
        bool aborted = false;
        QVERIFY(
            !ShellFileOperation(nullptr, kFoCopy, Path("src/tree"), aborted, Path("src/tree/inner/tree")));
        QCOMPARE(Names(Path("src/tree")), QStringList{"x"});
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].contains("the target lies inside the folder itself"));
    }

    void mergeFolders_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QByteArray>("shared");
        QTest::newRow("Yes merges and replaces")
            << int(TAnswer::Yes) << QStringList({"mine", "shared", "theirs"}) << QByteArray("new");
        QTest::newRow("No leaves the folder")
            << int(TAnswer::No) << QStringList({"mine", "shared"}) << QByteArray("old");
    }
    void mergeFolders() {
        QFETCH(int, answer);
        QFETCH(QStringList, names);
        QFETCH(QByteArray, shared);
        Write(Path("src/tree/shared"), "new");
        Write(Path("src/tree/theirs"), "t");
        Write(Path("dst/tree/shared"), "old");
        Write(Path("dst/tree/mine"), "m");
        test::TScriptedMessages messages;
        messages.Expect(static_cast<TAnswer>(answer));
        bool aborted = false;
        QVERIFY(ShellFileOperation(nullptr, kFoCopy, Path("src/tree"), aborted, Path("dst/tree")));
        QCOMPARE(Names(Path("dst/tree")), names);
        QCOMPARE(Read(Path("dst/tree/shared")), shared);
        QCOMPARE(messages.asked.size(), 1);  // one question for the folder, none per file
        QVERIFY(messages.asked[0].startsWith("The folder \"" + Path("dst/tree") + "\" already exists."));
    }

    void fileAndFolderNeverReplaceEachOther() {
        QVERIFY(QDir().mkpath(Path("dst/a.txt")));
        test::TScriptedMessages messages;
        bool aborted = false;
        QVERIFY(!ShellFileOperation(nullptr, kFoCopy, Path("src/a.txt"), aborted, Path("dst/a.txt")));
        QVERIFY(QFileInfo(Path("dst/a.txt")).isDir());
        QVERIFY(messages.asked.isEmpty());
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].startsWith("error: ERROR - Can't copy \"" + Path("src/a.txt") + "\""));
    }

    void stopDuringACopyLeavesNothingHalfWritten() {
        Write(Path("src/big.bin"), QByteArray(3 * 1024 * 1024, 'b'));
        Write(Path("dst/big.bin"), "precious");
        FProgress->stopAtStep = 2;
        test::TScriptedMessages messages;
        messages.Expect(TAnswer::Yes);
        bool aborted = false;
        QVERIFY(!ShellFileOperation(nullptr, kFoCopy, Path("src/big.bin"), aborted, Path("dst/big.bin")));
        QVERIFY(aborted);
        QCOMPARE(Read(Path("dst/big.bin")), QByteArray("precious"));
        QCOMPARE(Names(Path("dst")), QStringList{"big.bin"});
    }

    void specialFilesAreNotRead() {
        QCOMPARE(::mkfifo(QFile::encodeName(Path("src/pipe")).constData(), 0600), 0);
        test::TScriptedMessages messages;
        bool aborted = false;
        QVERIFY(!ShellFileOperation(nullptr, kFoCopy, Path("src/pipe"), aborted, Path("dst/pipe")));
        QVERIFY(Names(Path("dst")).isEmpty());
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].endsWith("it is not a regular file (a device, pipe or socket)"));
    }

    void moveFileAndFolder() {
        Write(Path("src/tree/x"), "x");
        test::TScriptedMessages messages;
        bool aborted = false;
        QVERIFY(ShellFileOperation(nullptr, kFoMove, Path("src/a.txt") + kNul + Path("src/tree") + kNul,
                                   aborted, Path("dst/")));
        QCOMPARE(Names(Path("src")), QStringList{"b.txt"});
        QCOMPARE(Read(Path("dst/a.txt")), QByteArray("alpha"));
        QCOMPARE(Read(Path("dst/tree/x")), QByteArray("x"));
        QVERIFY(messages.shown.isEmpty());
    }

    void moveCancelledAtAConflictKeepsBoth() {
        Write(Path("dst/a.txt"), "old");
        test::TScriptedMessages messages;
        messages.Expect(TAnswer::Cancel);
        bool aborted = false;
        QVERIFY(!ShellFileOperation(nullptr, kFoMove, Path("src/a.txt"), aborted, Path("dst/a.txt")));
        QVERIFY(aborted);
        QCOMPARE(Read(Path("src/a.txt")), QByteArray("alpha"));
        QCOMPARE(Read(Path("dst/a.txt")), QByteArray("old"));
    }

    void moveAcrossVolumes() {
        const QString other = QStringLiteral("/dev/shm");
        if (!QFileInfo(other).isDir() || !QFileInfo(other).isWritable() ||
            QStorageInfo(other) == QStorageInfo(FDir->path())) {
            QSKIP("no second writable volume here");
        }
        QTemporaryDir target(other + QStringLiteral("/odz-move-XXXXXX"));
        Write(Path("src/tree/deep/x"), "x");
        test::TScriptedMessages messages;
        bool aborted = false;
        QVERIFY(ShellFileOperation(nullptr, kFoMove, Path("src/tree") + kNul + Path("src/a.txt"), aborted,
                                   target.path()));
        QCOMPARE(Names(Path("src")), QStringList{"b.txt"});
        QCOMPARE(Read(target.filePath("tree/deep/x")), QByteArray("x"));
        QCOMPARE(Read(target.filePath("a.txt")), QByteArray("alpha"));
        QVERIFY(messages.shown.isEmpty());
    }

    void rename_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("message");
        const QString prefix = "error: ERROR - Can't rename \"@src/a.txt\" to \"@src/";
        QTest::newRow("new name") << "@src/c.txt" << true << QStringList({"b.txt", "c.txt"}) << "";
        QTest::newRow("bare name") << "c.txt" << true << QStringList({"b.txt", "c.txt"}) << "";
        QTest::newRow("same name") << "@src/a.txt" << true << QStringList({"a.txt", "b.txt"}) << "";
        QTest::newRow("existing name") << "@src/b.txt" << false << QStringList({"a.txt", "b.txt"})
                                       << "error: \"b.txt\" already exists !";
        QTest::newRow("name with a slash") << "@src/x/c.txt" << false << QStringList({"a.txt", "b.txt"})
                                           << prefix + "x/c.txt\": a name cannot contain \"/\".";
        QTest::newRow("empty name") << "@src/" << false << QStringList({"a.txt", "b.txt"})
                                    << prefix + "\": the new name is empty.";
    }
    void rename() {
        QFETCH(QString, target);
        QFETCH(bool, result);
        QFETCH(QStringList, names);
        QFETCH(QString, message);
        test::TScriptedMessages messages;
        bool aborted = false;
        QCOMPARE(ShellFileOperation(nullptr, kFoRename, Path("src/a.txt"), aborted,
                                    AddNullToStr(target.replace("@", FDir->path() + "/"))),
                 result);
        QCOMPARE(Names(Path("src")), names);
        QCOMPARE(messages.shown,
                 message.isEmpty() ? QStringList() : QStringList{message.replace("@", FDir->path() + "/")});
        QVERIFY(messages.asked.isEmpty());
    }

    void failuresNameTheFile() {
        Write(Path("plain"), "p");
        test::TScriptedMessages messages;
        bool aborted = false;
        QVERIFY(!ShellFileOperation(nullptr, kFoCopy, Path("src/gone.txt"), aborted, Path("dst/gone.txt")));
        QVERIFY(!ShellFileOperation(nullptr, kFoCopy, Path("src/a.txt"), aborted, Path("plain/under/")));
        QVERIFY(!ShellFileOperation(nullptr, kFoCopy, Path("src/a.txt"), aborted, Path("plain/a.txt")));
        QVERIFY(!ShellFileOperation(nullptr, kFoRename, Path("src/gone.txt"), aborted, Path("src/c.txt")));
        // A name without its folder could only be taken in the process's current folder, which belongs
        // to no list.
        QVERIFY(!ShellFileOperation(nullptr, kFoCopy, "a.txt", aborted, Path("dst")));
        QCOMPARE(messages.shown.size(), 5);
        QCOMPARE(messages.shown[0], "error: ERROR - Can't copy \"" + Path("src/gone.txt") + "\" to \"" +
                                        Path("dst/gone.txt") + "\": it does not exist");
        QCOMPARE(messages.shown[1], "error: ERROR - Can't copy into \"" + Path("plain/under") +
                                        "\": the folder cannot be created.");
        QVERIFY(messages.shown[2].startsWith("error: ERROR - Can't copy \"" + Path("src/a.txt") + "\" to \"" +
                                             Path("plain/a.txt") + "\": "));
        QVERIFY(messages.shown[3].startsWith("error: ERROR - Can't rename \"" + Path("src/gone.txt") + "\""));
        QCOMPARE(messages.shown[4],
                 "error: ERROR - Can't copy \"a.txt\": the entry is not named by its full path.");
        QVERIFY(!aborted);
    }

    void nothingToDo() {
        test::TScriptedMessages messages;
        bool aborted = false;
        QVERIFY(!ShellFileOperation(nullptr, kFoCopy, QString(), aborted, Path("dst")));
        QCOMPARE(messages.shown, QStringList{"warning: No file(s) selected"});
    }

private:
    QString Path(const QString& relative) const { return FDir->filePath(relative); }

    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TRecordedProgress> FProgress;
};

QTEST_MAIN(FileOperationsTest)
#include "FileOperationsTest.moc"
