// The desktop under the file views. Copying, moving, renaming and deleting entries as every file command
// of the program does them: a file is written whole or not at all, a folder is never entered through a
// link nor copied into itself, questions come before anything is replaced, and deleted entries go to the
// sandbox's trash. Date texts, the shared icon cache, the small shell routines, and opening files,
// folders and searches through the desktop's programs.

#include <sys/stat.h>

#include <ctime>

#include "CopyProgress.h"
#include "DateTexts.h"
#include "DesktopApplications.h"
#include "ExecuteFile.h"
#include "FileListTestSupport.h"
#include "FileOperations.h"
#include "ShellIcons.h"
#include "ShellRoutines.h"

using namespace odz;

namespace {

const QChar kNul(u'\0');

// The permission bits as stored, without what this process may do (root may write anything).
QFile::Permissions Mode(const QString& path) {
    return QFileInfo(path).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
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

// When Cancel is pressed on the progress window while b, a and c are copied, and the answer to "Replace
// a.txt?": what is in the target then, and what a.txt holds.
const struct {
    const char *name, *cancel;
    TAnswer answer;
    const char* after;
} kCancels[] = {
    {"never", "never", TAnswer::Yes, "a.txt b.txt c.txt alpha"},
    {"before the question", "before", TAnswer::Yes, "a.txt old"},
    {"during the question, then Yes", "during", TAnswer::Yes, "a.txt b.txt alpha"},
    {"during the question, then No", "during", TAnswer::No, "a.txt b.txt old"},
    {"after a Yes, during the copy", "after", TAnswer::Yes, "a.txt b.txt old"},
};

// Whether the text is the pattern, "*" standing for any text and "@" for the folder given.
bool Matches(const QString& text, QString pattern, const QString& folder) {
    const QString expression = QRegularExpression::escape(pattern.replace("@", folder)).replace("\\*", ".*");
    return QRegularExpression("^" + expression + "$", QRegularExpression::DotMatchesEverythingOption)
        .match(text)
        .hasMatch();
}

// The entries under a folder, the sandbox's own left out: "name=content", "name/" for a folder.
QString Snapshot(const QString& root) {
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = path.mid(root.size() + 1);
        if (name.startsWith("home") || name.startsWith("work")) continue;  // the sandbox's own
        QFile file(path);
        entries << (it.fileInfo().isDir()
                        ? name + "/"
                        : name + "=" + (file.open(QIODevice::ReadOnly) ? file.readAll() : "?"));
    }
    entries.sort();
    return entries.join(' ');
}

// What is asked and shown, each question as "? text".
QString Dialogue(const test::TScriptedMessages& messages) {
    return (QStringList(messages.asked).replaceInStrings(QRegularExpression("^"), "? ") + messages.shown)
        .join('\n');
}

// "~" in the sandbox's entries after a transfer stands for the source folder as it was.
const struct TTransfer {
    const char* name;
    TFileFunction function;
    const char *before, *sources, *target;
    int answer;                // -1 when nothing is asked
    const char *after, *said;  // what is asked and shown: "*" stands for any text, "@" for the sandbox
} kTransfers[] = {
    {"into a folder named with a slash", kFoCopy, "", "src/a.txt", "dst/new/", -1,
     "dst/ dst/new/ dst/new/a.txt=alpha ~", ""},
    {"several into a new folder", kFoCopy, "", "src/a.txt src/b.txt", "dst/new", -1,
     "dst/ dst/new/ dst/new/a.txt=alpha dst/new/b.txt=beta ~", ""},
    {"onto itself: a copy, numbered past those there", kFoCopy, "src/a - Copy.txt=c", "src/a.txt",
     "src/a.txt", -1,
     "dst/ src/ src/a - Copy (2).txt=alpha src/a - Copy.txt=c src/a.txt=alpha src/b.txt=beta", ""},
    {"a file replaced", kFoCopy, "dst/a.txt=old", "src/a.txt", "dst/a.txt", int(TAnswer::Yes),
     "dst/ dst/a.txt=alpha ~",
     "? The file \"@/dst/a.txt\" already exists.\nReplace it with \"@/src/a.txt\"?"},
    {"a file kept", kFoCopy, "dst/a.txt=old", "src/a.txt", "dst/a.txt", int(TAnswer::No),
     "dst/ dst/a.txt=old ~", "? The file*"},
    {"folders merged, files replaced", kFoCopy, "src/t/same=new|src/t/theirs=t|dst/t/same=old|dst/t/mine=m",
     "src/t", "dst/t", int(TAnswer::Yes),
     "dst/ dst/t/ dst/t/mine=m dst/t/same=new dst/t/theirs=t ~ src/t/ src/t/same=new src/t/theirs=t",
     "? The folder \"@/dst/t\" already exists.\nMerge \"@/src/t\" into it?*"},
    {"folders not merged", kFoCopy, "src/t/same=new|dst/t/same=old", "src/t", "dst/t", int(TAnswer::No),
     "dst/ dst/t/ dst/t/same=old ~ src/t/ src/t/same=new", "? The folder*"},
    {"a folder into itself", kFoCopy, "src/t/x=x", "src/t", "src/t/inner/t", -1, "dst/ ~ src/t/ src/t/x=x",
     "error: ERROR - Can't copy*: the target lies inside the folder itself"},
    {"a file never replaces a folder", kFoCopy, "dst/a.txt/", "src/a.txt", "dst/a.txt", -1,
     "dst/ dst/a.txt/ ~", "error: ERROR - Can't copy \"@/src/a.txt\"*"},
    {"a move cancelled at a conflict", kFoMove, "dst/a.txt=old", "src/a.txt", "dst/a.txt",
     int(TAnswer::Cancel), "dst/ dst/a.txt=old ~", "? The file*"},
    {"a missing entry", kFoCopy, "", "src/gone.txt", "dst/gone.txt", -1, "dst/ ~",
     "error: ERROR - Can't copy \"@/src/gone.txt\" to \"@/dst/gone.txt\": it does not exist"},
    {"a folder that cannot be made", kFoCopy, "plain=p", "src/a.txt", "plain/under/", -1, "dst/ plain=p ~",
     "error: ERROR - Can't copy into \"@/plain/under\": the folder cannot be created."},
    // A name without its folder could only be taken in the process's current folder, which belongs to no
    // list.
    {"a name without its folder", kFoCopy, "", "!a.txt", "dst", -1, "dst/ ~",
     "error: ERROR - Can't copy \"a.txt\": the entry is not named by its full path."},
    {"nothing", kFoCopy, "", "", "dst", -1, "dst/ ~", "warning: No file(s) selected"},
};

// Deleting asks once, then moves every entry to the trash of the sandbox's home.
const QString kKept = QStringLiteral(". It has not been deleted.");
const struct {
    const char *name, *sources;  // in the sandbox
    bool trash;                  // whether a trash can be made
    const char* trashed;
    QString said;  // what is asked and shown: "*" stands for any text, "@" for the sandbox
} kTrashings[] = {
    {"three, asked about once", "src/a.txt src/b.txt src/sub", true, "a.txt b.txt sub",
     "? Are you sure you want to move these 3 items to the Trash?"},
    {"without a trash", "src/a.txt src/b.txt", false, "",
     "? *\nerror: ERROR - Can't move \"@/src/a.txt\" to the Trash: *" + kKept +
         "\nERROR - Can't move \"@/src/b.txt\" to the Trash: *" + kKept},
    {"a missing entry", "src/gone.txt src/a.txt", true, "a.txt",
     "? *\nerror: ERROR - Can't move \"@/src/gone.txt\" to the Trash: it does not exist" + kKept},
    {"the parent entry is left out", "src/sub/.. src/sub/c.txt", true, "c.txt",
     "? Are you sure you want to move \"c.txt\" to the Trash?"},
    {"the parent entry alone", "src/sub/..", true, "", "error: ERROR - Can't delete \"..\"*"},
};

QByteArray Entry(const QByteArray& exec) {
    return "[Desktop Entry]\nType=Application\nName=Test\nExec=" + exec + "\n";
}

// File types are told by the shared MIME database, which lives among the desktop's data folders.
const QString& MimeDatabaseFolder() {
    static const QString folder =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, "mime", QStandardPaths::LocateDirectory);
    return folder;
}

void MakeProgram(const test::TSandbox& box, const QString& name) {
    box.Write("bin/" + name, "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(box.Path("bin/" + name), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// ExecuteFile with an operation, a file and its parameters, on the usual desktop but for what is said
// in "desktop": what it answers, what is started ("|" between the words) and what is said ("@" stands
// for the desktop's folder).
const struct {
    const char *name, *operation, *file, *parameters, *desktop;
    int result;
    const char *launched, *said;
} kExecutions[] = {
    {"open hands the file to the desktop", "Open", "readme.TXT", "", "", kExecStarted,
     "file://@/docs/readme.TXT", ""},
    {"a program with a parameter is started", "Open", "@/bin/fake-viewer", "my picture.bmp", "", kExecStarted,
     "@/bin/fake-viewer|my picture.bmp|in @/docs/", ""},
    // The Windows accessories stand for the desktop's own programs.
    {"NotePad, Pascal", "Open", "C:/WINDOWS/NotePad.exe", "unit.pas", "", kExecStarted,
     "fake-editor|--new|@/docs/unit.pas|in @/docs/", ""},
    {"Write, rich text", "Open", "Write.exe", "letter.rtf", "", kExecStarted,
     "fake-writer|file://@/docs/letter.rtf|in @/docs/", ""},
    {"PBrush, bitmap", "Open", "PBrush", "picture.bmp", "", kExecStarted,
     "fake-viewer|@/docs/picture.bmp|in @/docs/", ""},
    // A viewer's failure names what was really tried: the desktop's program, else the document.
    {"NotePad, no such document", "Open", "NotePad", "gone.txt", "launch fails", kExecFileNotFound, "",
     "ERROR - Can't Open file  gone.txt\nThe file @/docs/gone.txt does not exist."},
    {"NotePad, the editor does not start", "Open", "NotePad.exe", "readme.TXT", "launch fails",
     kExecOutOfResources, "fake-editor|--new|@/docs/readme.TXT|in @/docs/",
     "ERROR - Can't Open file  fake-editor\nThe text editor Test could not be started for "
     "@/docs/readme.TXT."},
    {"PBrush, no image viewer at all", "Open", "PBrush", "picture.bmp", "no viewer, launch fails",
     kExecNoAssociation, "file://@/docs/picture.bmp",
     "ERROR - Can't Open file  picture.bmp\nNo image viewer for @/docs/picture.bmp was found on this "
     "desktop."},
    {"find in a folder", "Find", "@/docs/", "", "catfish", kExecStarted,
     "@/bin/catfish|--path=@/docs|in @/docs", ""},
    {"find without a search program", "Find", "@/docs", "", "", kExecNoAssociation, "",
     "ERROR - Can't Find file  @/docs\nNo file search program (kfind, catfish, mate-search-tool or "
     "gnome-search-tool) is installed on this desktop."}};

}  // namespace

class PlatformTest : public QObject, protected test::TExplorerFixture {
    Q_OBJECT

private:
    std::unique_ptr<TRecordedProgress> FProgress;
    QStringList FLaunched;  // the document's URL, or the program, its arguments and "in <folder>"
    bool FLaunches = true;
    QByteArray FSystemDataDirs;

    // A desktop of the sandbox's making: programs on the PATH, desktop entries, default programs for
    // text, rich text and bitmaps, and documents; nothing is started, the launcher only records.
    void MakeDesktop() {
        qputenv("PATH", Path("bin").toLocal8Bit());
        qputenv("XDG_CURRENT_DESKTOP", "Test");
        Box().Link(MimeDatabaseFolder(), Path("system/share/mime"));
        for (const char* program : {"fake-editor", "fake-writer", "fake-viewer"}) MakeProgram(Box(), program);
        Box().Write("home/.local/share/applications/editor.desktop", Entry("fake-editor --new %F"));
        Box().Write("system/share/applications/writer.desktop", Entry("fake-writer %U"));
        Box().Write("system/share/applications/viewer.desktop", Entry("fake-viewer"));
        for (const char* name : {"readme.TXT", "unit.pas", "letter.rtf", "picture.bmp"})
            Box().Write(QStringLiteral("docs/") + name, "text");
        Box().Write("home/.config/mimeapps.list",
                    "[Default Applications]\ntext/plain=editor.desktop\napplication/rtf=writer.desktop\n");
        Box().Write("system/share/applications/mimeinfo.cache", "[MIME Cache]\nimage/bmp=viewer.desktop;\n");
        SetLauncher([this](const TLaunchRequest& request) {
            FLaunched << (request.url.isEmpty() ? QStringList{request.program} + request.arguments +
                                                      QStringList{"in " + request.workingDirectory}
                                                : QStringList{request.url.toString()});
            return FLaunches;
        });
    }

private slots:
    // The system's MIME database and icons are found before any sandbox hides them.
    void initTestCase() {
        FSystemDataDirs = qgetenv("XDG_DATA_DIRS");
        MimeDatabaseFolder();
    }
    void init() {
        Begin();
        FProgress = std::make_unique<TRecordedProgress>();
        SetCopyProgress(FProgress.get());
        Box().Write("src/a.txt", "alpha");
        Box().Write("src/b.txt", "beta");
        Box().MakeFolders({"dst"});
        FLaunched.clear();
        FLaunches = true;
    }
    void cleanup() {
        SetCopyProgress(nullptr);
        QCOMPARE(FProgress->starts, FProgress->finishes);
        SetLauncher({});
        SetFolderBrowser({});
        CheckAnswered();
        Release();
    }

    void copyKeepsContentTimeAndPermissions() {
        const QDateTime old(QDate(2001, 2, 3), QTime(4, 5, 6));
        {
            QFile file(Path("src/a.txt"));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        }
        QVERIFY(QFile::setPermissions(Path("src/a.txt"), QFile::ReadOwner | QFile::ReadUser));
        bool aborted = true;
        QVERIFY(ShellFileOperation(nullptr, kFoCopy, Path("src/a.txt"), aborted, Path("dst/a.txt")) &&
                !aborted);
        QCOMPARE(Box().Read("dst/a.txt") + Box().Read("src/a.txt"), QByteArray("alphaalpha"));
        QCOMPARE(QFileInfo(Path("dst/a.txt")).lastModified(), old);
        QCOMPARE(Mode(Path("dst/a.txt")), Mode(Path("src/a.txt")));
        QCOMPARE(Box().Names("dst"), QStringList{"a.txt"});
        QVERIFY(FMessages->shown.isEmpty() && FProgress->total == 5 && FProgress->done == 5);
    }

    // The progress window never covers a question, and both the user's Cancel on it and the answer to
    // the question are carried out, whatever comes first.
    void cancelAndAnswerAreBothHonoured_data() { test::AddRows(kCancels); }
    void cancelAndAnswerAreBothHonoured() {
        QFETCH(int, row);
        const QString cancel = kCancels[row].cancel;
        const bool aborted = cancel != "never";
        Box().Write("src/c.txt", "gamma");
        Box().Write("dst/a.txt", "old");
        TCopyProgressDialog progress(0, true);  // shown at the first step
        SetCopyProgress(&progress);
        const auto pressCancel = [&progress] {
            QVERIFY(progress.Window());
            progress.Window()->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
        };
        if (cancel == "before") QTimer::singleShot(0, this, pressCancel);
        FMessages->Expect(kCancels[row].answer);
        bool hidden = false;
        FMessages->probe = [&](const QString&) {
            hidden = progress.Window() && !progress.Window()->isVisible() &&
                     QApplication::activeModalWidget() != progress.Window();
            if (cancel == "during") pressCancel();
            if (cancel == "after") QTimer::singleShot(0, this, pressCancel);
        };
        bool stopped = false;
        const QString sources = Path("src/b.txt") + kNul + Path("src/a.txt") + kNul + Path("src/c.txt");
        QCOMPARE(ShellFileOperation(nullptr, kFoCopy, sources, stopped, Path("dst/")), !aborted);
        QCOMPARE(stopped, aborted);
        QCOMPARE(Box().Names("dst").join(' ') + " " + Box().Read("dst/a.txt"), QString(kCancels[row].after));
        QCOMPARE(FMessages->asked.size(), cancel == "before" ? 0 : 1);
        if (cancel != "before") QVERIFY(hidden);
        QVERIFY(!progress.Window());  // gone with the copy
    }

    void copyFolderTree() {
        Box().Write("src/tree/.hidden", "h");
        Box().Write("src/tree/deep/er/file.bin", QByteArray(3000, 'x'));
        QVERIFY(QDir().mkpath(Path("src/tree/empty")));
        QVERIFY(QFile::link("deep/er/file.bin", Path("src/tree/link")));
        bool aborted = false;
        QVERIFY(ShellFileOperation(nullptr, kFoCopy, Path("src/tree"), aborted, Path("dst/tree")));
        QCOMPARE(Box().Names("dst/tree"), QStringList({".hidden", "deep", "empty", "link"}));
        QCOMPARE(Box().Read("dst/tree/deep/er/file.bin"), QByteArray(3000, 'x'));
        QCOMPARE(QFileInfo(Path("dst/tree/link")).symLinkTarget(), Path("dst/tree/deep/er/file.bin"));
        QVERIFY(FMessages->shown.isEmpty() && FProgress->total == 3001);
    }

    void stopDuringACopyLeavesNothingHalfWritten() {
        Box().Write("src/big.bin", QByteArray(3 * 1024 * 1024, 'b'));
        Box().Write("dst/big.bin", "precious");
        FProgress->stopAtStep = 2;
        FMessages->Expect(TAnswer::Yes);
        bool aborted = false;
        QVERIFY(!ShellFileOperation(nullptr, kFoCopy, Path("src/big.bin"), aborted, Path("dst/big.bin")) &&
                aborted);
        QCOMPARE(Box().Read("dst/big.bin"), QByteArray("precious"));
        QCOMPARE(Box().Names("dst"), QStringList{"big.bin"});
    }

    void specialFilesAreNotRead() {
        QCOMPARE(::mkfifo(QFile::encodeName(Path("src/pipe")).constData(), 0600), 0);
        bool aborted = false;
        QVERIFY(!ShellFileOperation(nullptr, kFoCopy, Path("src/pipe"), aborted, Path("dst/pipe")));
        QVERIFY(Box().Names("dst").isEmpty() && FMessages->shown.size() == 1);
        QVERIFY(FMessages->shown[0].endsWith("it is not a regular file (a device, pipe or socket)"));
    }

    void moveAcrossVolumes() {
        const QString other = QStringLiteral("/dev/shm");
        if (!QFileInfo(other).isDir() || !QFileInfo(other).isWritable() ||
            QStorageInfo(other) == QStorageInfo(Path(""))) {
            QSKIP("no second writable volume here");
        }
        QTemporaryDir target(other + QStringLiteral("/odz-move-XXXXXX"));
        Box().Write("src/tree/deep/x", "x");
        bool aborted = false;
        QVERIFY(ShellFileOperation(nullptr, kFoMove, Path("src/tree") + kNul + Path("src/a.txt"), aborted,
                                   target.path()));
        QCOMPARE(Box().Names("src"), QStringList{"b.txt"});
        QCOMPARE(Snapshot(target.path()), QStringLiteral("a.txt=alpha tree/ tree/deep/ tree/deep/x=x"));
        QVERIFY(FMessages->shown.isEmpty());
    }

    // Copies and moves as the file list's commands ask for them, with the sandbox's folders before and
    // after: "name=content", "name/" for a folder ("|" between those made before); a "!" source is given as
    // it is, not in the sandbox.
    void transfers_data() { test::AddRows(kTransfers); }
    void transfers() {
        QFETCH(int, row);
        const TTransfer& c = kTransfers[row];
        for (const QString& entry : QString(c.before).split('|', Qt::SkipEmptyParts)) {
            if (entry.endsWith('/')) Box().MakeFolders({entry});
            if (!entry.endsWith('/')) Box().Write(entry.section('=', 0, 0), entry.section('=', 1).toUtf8());
        }
        QString sources;
        for (const QString& source : QString(c.sources).split(' ', Qt::SkipEmptyParts))
            sources += (source.startsWith('!') ? source.mid(1) : Path(source)) + kNul;
        if (c.answer >= 0) FMessages->Expect(TAnswer(c.answer));
        bool aborted = false;
        QCOMPARE(ShellFileOperation(nullptr, c.function, sources, aborted, Path(c.target)),
                 !QString(c.said).contains(QRegularExpression("(error|warning): ")) &&
                     c.answer != int(TAnswer::Cancel));
        QCOMPARE(aborted, c.answer == int(TAnswer::Cancel));
        QCOMPARE(Snapshot(Path("")), QString(c.after).replace("~", "src/ src/a.txt=alpha src/b.txt=beta"));
        QVERIFY2(Matches(Dialogue(*FMessages), c.said, Path("")), qPrintable(Dialogue(*FMessages)));
    }

    void deleteMovesToTheTrash_data() { test::AddRows(kTrashings); }
    void deleteMovesToTheTrash() {
        QFETCH(int, row);
        const auto& c = kTrashings[row];
        const QStringList trashed = QString(c.trashed).split(' ', Qt::SkipEmptyParts);
        Box().Write("src/sub/c.txt");
        if (!c.trash) {
            Box().Write("blocker");
            qputenv("XDG_DATA_HOME", Path("blocker/share").toLocal8Bit());
        }
        QString source;
        for (const QString& name : QString(c.sources).split(' ')) source += Path(name) + kNul;
        if (c.said.startsWith("?")) FMessages->Expect(TAnswer::Yes);
        bool aborted = false;
        QCOMPARE(ShellFileOperation(nullptr, kFoDelete, source, aborted, QString()),
                 !trashed.isEmpty() && !c.said.contains("error:"));
        QVERIFY2(Matches(Dialogue(*FMessages), c.said, Path("")), qPrintable(Dialogue(*FMessages)));
        QCOMPARE(Box().Names("home/.local/share/Trash/files"), trashed);
        QCOMPARE(Box().Names("home/.local/share/Trash/info"),
                 QStringList(trashed).replaceInStrings(QRegularExpression("$"), ".trashinfo"));
        if (trashed.contains("sub")) QVERIFY(QFile::exists(Box().Trash() + "/sub/c.txt"));
        for (const char* name : {"a.txt", "b.txt", "sub"})
            QCOMPARE(QFileInfo::exists(Path(QStringLiteral("src/") + name)), !trashed.contains(name));
    }
    // Dates and times in the chosen order with the locale's separators (quoted text stays), or in the
    // locale's own short formats.
    void fileTimeToText() {
        const QDateTime newYearsEve(QDate(2023, 12, 31), QTime(13, 5, 9));  // local time
        const std::tuple<const char*, TDTFormat, const char*, const char*> cases[] = {
            {"en_US", df_MMddyyyy, "HH:mm:ss", "12/31/2023 13:05:09"},
            {"fi_FI", df_yyyyMMdd, "HH:mm:ss", "2023-12-31 13.05.09"},
            {"en_US", df_Customize, "", "12/31/23 1:05 PM"},
            {"de_DE", df_ddMMyyyy, "HH'h/'mm", "31.12.2023 13h/05"}};
        for (const auto& [locale, format, time, text] : cases) {
            // Locale data differ between Qt builds in the blank before AM/PM.
            QCOMPARE(FileTimeToText(newYearsEve, format, time, QLocale(locale)).replace(QChar(0x202F), ' '),
                     QString(text));
        }
    }

    void fileTimeIsShownInLocalTime() {
        const QByteArray saved = qgetenv("TZ");
        const auto restore = qScopeGuard([&] {
            saved.isNull() ? qunsetenv("TZ") : qputenv("TZ", saved);
            tzset();
        });
        qputenv("TZ", "UTC-07");
        tzset();
        const QDateTime utc(QDate(2024, 2, 29), QTime(23, 30, 0), Qt::UTC);
        QCOMPARE(FileTimeToText(utc, df_yyyyMMdd, "HH:mm", QLocale("en_US")), QString("2024-03-01 06:30"));
        QVERIFY(FileTimeToText(QDateTime(), df_MMddyyyy, QString()).isEmpty());
    }

    // Files of one type share an icon entry, whether they exist or not; folders, open folders and drives
    // have their own; the type names are the MIME database's; looking up known kinds again adds nothing.
    void shellIcons() {
        qputenv("XDG_DATA_DIRS", FSystemDataDirs);
        for (const char* name : {"a.txt", "b.TXT", "c.png", "sub/deeper/x"}) Box().Write(name, "");
        const int text = SmallIconIndex(Path("a.txt")), folder = SmallIconIndex(Path("sub"));
        QCOMPARE(QList<int>({SmallIconIndex(Path("b.TXT")), SmallIconIndex(Path("gone.txt")),
                             OpenIconIndex(Path("a.txt"))}),
                 QList<int>(3, text));
        QVERIFY(SmallIconIndex(Path("c.png")) != text && folder != text && SmallIconIndex("/") != folder &&
                OpenIconIndex(Path("sub")) != folder);
        QString comment = QMimeDatabase().mimeTypeForName("text/plain").comment();
        comment[0] = comment[0].toUpper();
        QCOMPARE(QStringList({ShellTypeName(Path("a.txt")), TShellIcons::Shared().TypeName(text),
                              ShellTypeName(Path("sub"))}),
                 QStringList({comment, comment, "Folder"}));
        const int count = TShellIcons::Shared().Count();
        for (const char* name : {"file1.txt", "b.txt", "sub/deeper", "sub"}) {
            SmallIconIndex(Path(name));
            OpenIconIndex(Path(name));
        }
        QCOMPARE(TShellIcons::Shared().Count(), count);
    }

    // (The lists of names split at NULs are read by every file operation above.)
    void sendToFolderIsMade() {
        QCOMPARE(SendToFolder(), Box().SendToFolder() + "/");
        QVERIFY(QFileInfo(Box().SendToFolder()).isDir());
    }

    void fileDirExist() {
        Box().Write("a.txt");
        Box().MakeFolders({"sub"});
        Box().Link(Path("gone"), Path("link"));
        // The name reported as taken ("" when nothing has it).
        const std::pair<QString, const char*> cases[] = {{"a.txt", "a.txt"},
                                                         {QString("sub/") + kNul, "sub"},
                                                         {"link", "link"},
                                                         {"b.txt", ""},
                                                         {"a.txt/x", ""}};
        for (const auto& [relative, name] : cases) {
            FMessages->shown.clear();
            QCOMPARE(FileDirExist(Path(relative)), *name != 0);
            QCOMPARE(FMessages->shown.join('|'),
                     *name ? "error: \"" + QString(name) + "\" already exists !" : "");
        }
    }

    void executeFile_data() { test::AddRows(kExecutions); }
    void executeFile() {
        QFETCH(int, row);
        const auto& c = kExecutions[row];
        const QString desktop = c.desktop, root = Path("");
        if (MimeDatabaseFolder().isEmpty()) QSKIP("no shared MIME database here");
        MakeDesktop();
        FLaunches = !desktop.contains("launch fails");
        if (desktop.contains("no viewer")) QFile::remove(Path("system/share/applications/mimeinfo.cache"));
        if (desktop.contains("catfish")) MakeProgram(Box(), "catfish");
        QCOMPARE(ExecuteFile(c.operation, QString(c.file).replace("@", root), c.parameters, kShowNormal,
                             Path("docs/")),
                 c.result);
        QCOMPARE(FLaunched.join('|'), QString(c.launched).replace("@", root));
        QCOMPARE(FMessages->shown.join('|'), *c.said ? "error: " + QString(c.said).replace("@", root) : "");
    }

    void expandExec() {
        const QString file = "/tmp/a b.txt";
        const QString url = QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
        for (const auto& [exec, command] :
             {std::pair{"prog %F", QStringList{"prog", file}},
              {"prog %u", QStringList{"prog", url}},
              {"\"/opt/my prog\" \"say \\\"hi\\\"\" %f", QStringList{"/opt/my prog", "say \"hi\"", file}},
              {"prog 100%% --name %c %i %d %f",
               QStringList{"prog", "100%", "--name", "Editor", "--icon", "ed", file}}}) {
            const TDesktopApplication application{"ed.desktop", "/x/ed.desktop", "Editor", exec, "ed"};
            QCOMPARE(ExpandExec(application, file), command);
        }
    }
};

QTEST_MAIN(PlatformTest)
#include "PlatformTest.moc"
