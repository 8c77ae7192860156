// The desktop services under the file views: date texts, the shared icon cache, the small shell
// routines, and opening files, folders and searches through the desktop's programs.

#include <ctime>

#include "DateTexts.h"
#include "DesktopApplications.h"
#include "ExecuteFile.h"
#include "FileListTestSupport.h"
#include "ShellIcons.h"
#include "ShellRoutines.h"

using namespace odz;

namespace {

const QChar kNul(u'\0');

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

}  // namespace

class PlatformTest : public QObject, protected test::TExplorerFixture {
    Q_OBJECT

private:
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
        FLaunched.clear();
        FLaunches = true;
    }
    void cleanup() {
        SetLauncher({});
        SetFolderBrowser({});
        CheckAnswered();
        Release();
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

    void shellRoutines() {
        QCOMPARE(AddNullToStr("a"), QString("a") + kNul);
        QCOMPARE(AddNullToStr(QString("a") + kNul), QString("a") + kNul);
        QCOMPARE(SplitNullList(QString("/a") + kNul + "/b c" + kNul + kNul), QStringList({"/a", "/b c"}));
        QVERIFY(ContainsChars("\\/:*?", "new:name") && !ContainsChars("abc", "xyz"));
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

    void executeFile_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("parameters");
        QTest::addColumn<QString>("desktop");  // what differs from the usual desktop
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("launched");  // "@" stands for the desktop's folder
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const char* operation, const char* file, const char* parameters,
                            const char* desktop, int result, QStringList launched, const char* message = "") {
            QTest::newRow(name) << QString(operation) << QString(file) << QString(parameters)
                                << QString(desktop) << result << launched << QString(message);
        };
        row("open hands the file to the desktop", "Open", "readme.TXT", "", "", kExecStarted,
            {"file://@/docs/readme.TXT"});
        row("a program with a parameter is started", "Open", "@/bin/fake-viewer", "my picture.bmp", "",
            kExecStarted, {"@/bin/fake-viewer", "my picture.bmp", "in @/docs/"});
        // The Windows accessories stand for the desktop's own programs.
        row("NotePad, Pascal", "Open", "C:/WINDOWS/NotePad.exe", "unit.pas", "", kExecStarted,
            {"fake-editor", "--new", "@/docs/unit.pas", "in @/docs/"});
        row("Write, rich text", "Open", "Write.exe", "letter.rtf", "", kExecStarted,
            {"fake-writer", "file://@/docs/letter.rtf", "in @/docs/"});
        row("PBrush, bitmap", "Open", "PBrush", "picture.bmp", "", kExecStarted,
            {"fake-viewer", "@/docs/picture.bmp", "in @/docs/"});
        // A viewer's failure names what was really tried: the desktop's program, else the document.
        row("NotePad, no such document", "Open", "NotePad", "gone.txt", "launch fails", kExecFileNotFound, {},
            "ERROR - Can't Open file  gone.txt\nThe file @/docs/gone.txt does not exist.");
        row("NotePad, the editor does not start", "Open", "NotePad.exe", "readme.TXT", "launch fails",
            kExecOutOfResources, {"fake-editor", "--new", "@/docs/readme.TXT", "in @/docs/"},
            "ERROR - Can't Open file  fake-editor\nThe text editor Test could not be started for "
            "@/docs/readme.TXT.");
        row("PBrush, no image viewer at all", "Open", "PBrush", "picture.bmp", "no viewer, launch fails",
            kExecNoAssociation, {"file://@/docs/picture.bmp"},
            "ERROR - Can't Open file  picture.bmp\nNo image viewer for @/docs/picture.bmp was found on this "
            "desktop.");
        row("find in a folder", "Find", "@/docs/", "", "catfish", kExecStarted,
            {"@/bin/catfish", "--path=@/docs", "in @/docs"});
        row("find without a search program", "Find", "@/docs", "", "", kExecNoAssociation, {},
            "ERROR - Can't Find file  @/docs\nNo file search program (kfind, catfish, mate-search-tool or "
            "gnome-search-tool) is installed on this desktop.");
    }
    void executeFile() {
        QFETCH(QString, operation);
        QFETCH(QString, file);
        QFETCH(QString, parameters);
        QFETCH(QString, desktop);
        QFETCH(int, result);
        QFETCH(QStringList, launched);
        QFETCH(QString, message);
        if (MimeDatabaseFolder().isEmpty()) QSKIP("no shared MIME database here");
        MakeDesktop();
        FLaunches = !desktop.contains("launch fails");
        if (desktop.contains("no viewer")) QFile::remove(Path("system/share/applications/mimeinfo.cache"));
        if (desktop.contains("catfish")) MakeProgram(Box(), "catfish");
        const QString root = Path("");
        QCOMPARE(ExecuteFile(operation, file.replace("@", root), parameters, kShowNormal, Path("docs/")),
                 result);
        QCOMPARE(FLaunched, launched.replaceInStrings("@", root));
        QCOMPARE(FMessages->shown,
                 message.isEmpty() ? QStringList() : QStringList{"error: " + message.replace("@", root)});
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
