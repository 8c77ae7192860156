// The desktop services under the file views: date texts, the shared icon cache, the small shell
// routines, and opening files, folders and searches through the desktop's programs.

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <ctime>
#include <optional>

#include "DateTexts.h"
#include "DesktopApplications.h"
#include "ExecuteFile.h"
#include "ScriptedMessages.h"
#include "ShellIcons.h"
#include "ShellRoutines.h"

using namespace odz;

namespace {

const QChar kNul(u'\0');

void Write(const QString& path, const QByteArray& bytes = {}) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray Entry(const QByteArray& exec, const QByteArray& extra = {}) {
    return "[Desktop Entry]\nType=Application\nName=Test\nExec=" + exec + "\n" + extra;
}

// File types are told by the shared MIME database, which lives among the desktop's data folders.
const QString& MimeDatabaseFolder() {
    static const QString folder =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, "mime", QStandardPaths::LocateDirectory);
    return folder;
}

// A desktop of the test's own making: the XDG folders and PATH point into a temporary folder, and
// nothing is started, the launcher only records. Everything is put back when it goes.
struct TDesktop {
    static constexpr const char* kVariables[] = {"XDG_DATA_HOME",   "XDG_DATA_DIRS",       "XDG_CONFIG_HOME",
                                                 "XDG_CONFIG_DIRS", "XDG_CURRENT_DESKTOP", "PATH"};
    QTemporaryDir root;
    QList<std::optional<QByteArray>> saved;
    QStringList launched;  // the document's URL, or the program, its arguments and "in <folder>"
    bool launches = true;

    TDesktop() {
        for (const char* name : kVariables)
            saved << (qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        const QStringList values{Path("data"), Path("system"), Path("config"),
                                 Path("etc"),  "Test",         Path("bin")};
        for (int i = 0; i < values.size(); ++i) qputenv(kVariables[i], values[i].toLocal8Bit());
        QDir().mkpath(Path("system"));
        QFile::link(MimeDatabaseFolder(), Path("system/mime"));
        for (const char* program : {"fake-editor", "fake-writer", "fake-viewer", "fake-terminal-editor"}) {
            Write(Path("bin/") + program, "#!/bin/sh\nexit 0\n");
            QFile::setPermissions(Path("bin/") + program,
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        Write(Path("data/applications/editor.desktop"), Entry("fake-editor --new %F"));
        Write(Path("system/applications/writer.desktop"), Entry("fake-writer %U"));
        Write(Path("system/applications/viewer.desktop"), Entry("fake-viewer"));
        for (const char* name : {"readme.TXT", "unit.pas", "setup.ini", "letter.rtf", "picture.bmp"})
            Write(Path("docs/") + name, "text");
        Write(Path("config/mimeapps.list"),
              "[Default Applications]\ntext/plain=editor.desktop\napplication/rtf=writer.desktop\n");
        Write(Path("system/applications/mimeinfo.cache"), "[MIME Cache]\nimage/bmp=viewer.desktop;\n");
        SetLauncher([this](const TLaunchRequest& request) {
            launched << (request.url.isEmpty() ? QStringList{request.program} + request.arguments +
                                                     QStringList{"in " + request.workingDirectory}
                                               : QStringList{request.url.toString()});
            return launches;
        });
    }
    ~TDesktop() {
        SetLauncher({});
        for (int i = 0; i < saved.size(); ++i)
            saved[i] ? qputenv(kVariables[i], *saved[i]) : qunsetenv(kVariables[i]);
    }
    QString Path(const QString& relative) const { return root.filePath(relative); }
};

}  // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void fileTimeToText_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("timeFormat");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* name, const char* locale, int format, const char* time,
                            const char* text) {
            QTest::newRow(name) << QString(locale) << format << QString(time) << QString(text);
        };
        row("US month first", "en_US", df_MMddyyyy, "HH:mm:ss", "12/31/2023 13:05:09");
        row("day first", "en_US", df_ddMMyyyy, "HH:mm:ss", "31/12/2023 13:05:09");
        row("GB", "en_GB", df_ddMMyy_GB, "HH:mm", "31/12/23 13:05");
        row("IT", "en_US", df_ddMMyy_IT, "HH:mm:ss", "31-12-23 13:05:09");
        row("ISO", "en_US", df_yyyyMMdd, "HH:mm:ss", "2023-12-31 13:05:09");
        row("slash is the locale's separator", "de_DE", df_MMddyyyy, "HH:mm:ss", "12.31.2023 13:05:09");
        row("colon is the locale's separator", "fi_FI", df_yyyyMMdd, "HH:mm:ss", "2023-12-31 13.05.09");
        row("DE", "de_DE", df_ddMMyy_DE, "HH:mm:ss", "31.12.23 13:05:09");
        row("US locale formats", "en_US", df_Customize, "", "12/31/23 1:05 PM");
        row("DE locale formats", "de_DE", df_Customize, "", "31.12.23 13:05");
        row("quoted text stays", "de_DE", df_ddMMyyyy, "HH'h/'mm", "31.12.2023 13h/05");
    }
    void fileTimeToText() {
        QFETCH(QString, locale);
        QFETCH(int, format);
        QFETCH(QString, timeFormat);
        QFETCH(QString, text);
        const QDateTime newYearsEve(QDate(2023, 12, 31), QTime(13, 5, 9));  // local time
        QString actual = FileTimeToText(newYearsEve, TDTFormat(format), timeFormat, QLocale(locale));
        // Locale data differ between Qt builds in the blank before AM/PM.
        QCOMPARE(actual.replace(QChar(0x202F), QChar(' ')), text);
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

    void shellIcons() {
        QTemporaryDir dir;
        for (const char* name : {"a.txt", "b.TXT", "c.png", "d.unknownextension", "noext", "sub/deeper/x"})
            Write(dir.filePath(name));
        const auto path = [&](const char* name) { return dir.filePath(name); };
        TShellIcons& icons = TShellIcons::Shared();
        // Files of one type share an entry, whether they exist or not; folders and drives have their own.
        const int text = SmallIconIndex(path("a.txt"));
        const int folder = SmallIconIndex(path("sub"));
        QCOMPARE(SmallIconIndex(path("b.TXT")), text);
        QCOMPARE(SmallIconIndex(path("not-there.txt")), text);
        QVERIFY(SmallIconIndex(path("c.png")) != text);
        QVERIFY(folder != text);
        QVERIFY(OpenIconIndex(path("sub")) != folder);
        QCOMPARE(OpenIconIndex(path("sub/deeper")), OpenIconIndex(path("sub")));
        QCOMPARE(OpenIconIndex(path("a.txt")), text);
        QCOMPARE(SmallIconIndex("/"), icons.DriveIconIndex(DriveType("/")));
        QVERIFY(SmallIconIndex("/") != folder);
        QCOMPARE(ShellTypeName("/"), DriveTypeText("/"));
        QCOMPARE(ShellTypeName(path("sub")), QString("Folder"));
        for (const auto& [name, mime] : {std::pair{"a.txt", "text/plain"},
                                         {"c.png", "image/png"},
                                         {"d.unknownextension", "application/octet-stream"},
                                         {"noext", "application/octet-stream"}}) {
            QString comment = QMimeDatabase().mimeTypeForName(mime).comment();
            comment[0] = comment[0].toUpper();
            QCOMPARE(ShellTypeName(path(name)), comment);
            QCOMPARE(icons.TypeName(SmallIconIndex(path(name))), comment);
        }
        QCOMPARE(ShellIcon(text).cacheKey(), ShellIcon(text).cacheKey());
        QVERIFY(ShellIcon(-1).isNull() && ShellIcon(icons.Count()).isNull() && icons.TypeName(-1).isEmpty());
        // Looking up the same kinds again adds nothing.
        const int count = icons.Count();
        for (int i = 0; i < 500; ++i) {
            SmallIconIndex(dir.filePath(QString("file%1.txt").arg(i)));
            OpenIconIndex(path("sub/deeper"));
            SmallIconIndex(path("sub"));
        }
        QCOMPARE(icons.Count(), count);
    }

    void nullSeparatedLists() {
        for (const auto& [text, closed] : {std::pair{QString(), QString()},
                                           {QString("a"), QString("a") + kNul},
                                           {QString("a") + kNul, QString("a") + kNul},
                                           {QString("a") + kNul + "b", QString("a") + kNul + "b" + kNul}})
            QCOMPARE(AddNullToStr(text), closed);
        QCOMPARE(SplitNullList(QString("/a") + kNul + "/b c" + kNul + kNul), QStringList({"/a", "/b c"}));
        QVERIFY(SplitNullList(QString()).isEmpty());
        QVERIFY(ContainsChars("\\/:*?", "new:name"));
        QVERIFY(!ContainsChars("abc", "xyz") && !ContainsChars("", "abc") && !ContainsChars("abc", ""));
    }

    void fileDirExist_data() {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("name");  // the name reported as taken; none when nothing has it
        const auto row = [](const char* tag, const QString& relative, const char* name) {
            QTest::newRow(tag) << relative << QString(name);
        };
        row("file", "a.txt", "a.txt");
        row("folder with slash", "sub/", "sub");
        row("with NUL", QString("a.txt") + kNul, "a.txt");
        row("folder with slash and NUL", QString("sub/") + kNul, "sub");
        row("dangling link", "link", "link");
        row("missing", "b.txt", "");
        row("under a file", "a.txt/x", "");
    }
    void fileDirExist() {
        QFETCH(QString, relative);
        QFETCH(QString, name);
        QTemporaryDir dir;
        Write(dir.filePath("a.txt"));
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        QVERIFY(QFile::link(dir.filePath("gone"), dir.filePath("link")));
        test::TScriptedMessages messages;
        QCOMPARE(FileDirExist(dir.path() + '/' + relative), !name.isEmpty());
        QCOMPARE(messages.shown,
                 name.isEmpty() ? QStringList() : QStringList{"error: \"" + name + "\" already exists !"});
    }

    void browseForFolder() {
        // Off screen no dialog is shown: nothing is chosen.
        QVERIFY(IsHeadlessPlatform());
        QString path;
        QVERIFY(!BrowseForFolder(nullptr, path));
        const auto reset = qScopeGuard([] { SetFolderBrowser({}); });
        QTemporaryDir dir;
        QString title, start, chosen = dir.path();
        SetFolderBrowser([&](QWidget*, const QString& t, const QString& s) {
            title = t;
            start = s;
            return chosen;
        });
        path = dir.path();
        QVERIFY(BrowseForFolder(nullptr, path));
        QCOMPARE(path, dir.path() + '/');
        QCOMPARE(title, QString("Please specify a directory"));
        QCOMPARE(start, dir.path());
        // Cancelled: the path stays.
        chosen.clear();
        QVERIFY(!BrowseForFolder(nullptr, path));
        QCOMPARE(path, dir.path() + '/');
    }

    void sendToFolderIsCreated() {
        QTemporaryDir data;
        const QByteArray saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
        const QString folder = SendToFolder();
        qputenv("XDG_DATA_HOME", saved);
        QCOMPARE(folder, data.path() + "/odizodoruz/SendTo/");
        QVERIFY(QFileInfo(folder).isDir());
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
        row("open of a missing file", "Open", "gone.txt", "", "", kExecFileNotFound, {},
            "ERROR - Can't Open file  gone.txt");
        row("open without a program", "Open", "unit.pas", "", "launch fails", kExecNoAssociation,
            {"file://@/docs/unit.pas"}, "ERROR - Can't Open file  unit.pas");
        row("a program with a parameter is started", "Open", "@/bin/fake-viewer", "my picture.bmp", "",
            kExecStarted, {"@/bin/fake-viewer", "my picture.bmp", "in @/docs/"});
        // The Windows accessories stand for the desktop's own programs.
        row("NotePad, text", "Open", "NotePad", "readme.TXT", "", kExecStarted,
            {"fake-editor", "--new", "@/docs/readme.TXT", "in @/docs/"});
        row("NotePad, Pascal", "Open", "C:/WINDOWS/NotePad.exe", "unit.pas", "", kExecStarted,
            {"fake-editor", "--new", "@/docs/unit.pas", "in @/docs/"});
        row("NotePad, unknown type", "Open", "notepad.EXE", "setup.ini", "", kExecStarted,
            {"fake-editor", "--new", "@/docs/setup.ini", "in @/docs/"});
        row("Write, rich text", "Open", "Write.exe", "letter.rtf", "", kExecStarted,
            {"fake-writer", "file://@/docs/letter.rtf", "in @/docs/"});
        row("PBrush, bitmap", "Open", "PBrush", "picture.bmp", "", kExecStarted,
            {"fake-viewer", "@/docs/picture.bmp", "in @/docs/"});
        row("PBrush without a viewer asks the desktop", "Open", "PBrush", "picture.bmp", "no viewer",
            kExecStarted, {"file://@/docs/picture.bmp"});
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
        row("find on all drives", "Find", "Drives", "", "catfish", kExecStarted,
            {"@/bin/catfish", "--path=/", "in /"});
        row("find without a search program", "Find", "@/docs", "", "", kExecNoAssociation, {},
            "ERROR - Can't Find file  @/docs\nNo file search program (kfind, catfish, mate-search-tool or "
            "gnome-search-tool) is installed on this desktop.");
        row("unknown operation", "Print", "readme.TXT", "", "", kExecNoAssociation, {},
            "ERROR - Can't Print file  readme.TXT\nThis desktop has no \"Print\" action for files.");
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
        TDesktop sandbox;
        sandbox.launches = !desktop.contains("launch fails");
        if (desktop.contains("no viewer")) QFile::remove(sandbox.Path("system/applications/mimeinfo.cache"));
        if (desktop.contains("catfish")) {
            Write(sandbox.Path("bin/catfish"), "#!/bin/sh\n");
            QFile::setPermissions(sandbox.Path("bin/catfish"), QFile::ReadOwner | QFile::ExeOwner);
        }
        const QString root = sandbox.root.path();
        test::TScriptedMessages messages;
        QCOMPARE(
            ExecuteFile(operation, file.replace("@", root), parameters, kShowNormal, sandbox.Path("docs/")),
            result);
        QCOMPARE(sandbox.launched, launched.replaceInStrings("@", root));
        QCOMPARE(messages.shown,
                 message.isEmpty() ? QStringList() : QStringList{"error: " + message.replace("@", root)});
    }

    void defaultApplication_data() {
        QTest::addColumn<QString>("list");  // a desktop's own list, or the common one
        QTest::addColumn<QByteArray>("listText");
        QTest::addColumn<QByteArray>("other");  // the desktop entry other.desktop
        QTest::addColumn<QString>("ids");       // the programs for plain text and for bitmaps
        const auto row = [](const char* name, const char* list, const char* listText, const QByteArray& other,
                            const char* ids) {
            QTest::newRow(name) << QString(list) << QByteArray(listText) << other << QString(ids);
        };
        const char* own = "config/test-mimeapps.list";
        const char* both = "[Default Applications]\ntext/plain=other.desktop;editor.desktop\n";
        const char* fallback = "editor.desktop viewer.desktop";
        // Programs that cannot run here are passed over for the next one listed.
        row("needs a terminal", own, both, Entry("fake-terminal-editor %f", "Terminal=true\n"), fallback);
        row("hidden", own, both, Entry("fake-terminal-editor %f", "Hidden=true\n"), fallback);
        row("not installed", own, both, Entry("no-such-editor %f"), fallback);
        row("TryExec missing", own, both, Entry("fake-terminal-editor %f", "TryExec=no-such-editor\n"),
            fallback);
        row("the desktop's own list comes first", own, "[Default Applications]\ntext/plain=other.desktop\n",
            Entry("fake-viewer %f"), "other.desktop viewer.desktop");
        row("removed associations are left out", "config/mimeapps.list",
            "[Removed Associations]\nimage/bmp=viewer.desktop\n", {}, "- -");
    }
    void defaultApplication() {
        QFETCH(QString, list);
        QFETCH(QByteArray, listText);
        QFETCH(QByteArray, other);
        QFETCH(QString, ids);
        if (MimeDatabaseFolder().isEmpty()) QSKIP("no shared MIME database here");
        TDesktop sandbox;
        Write(sandbox.Path(list), listText);
        Write(sandbox.Path("data/applications/other.desktop"), other);
        QStringList found;
        for (const char* type : {"text/plain", "image/bmp"}) {
            const auto application = DefaultApplication({type});
            found << (application ? application->id : "-");
        }
        QCOMPARE(found.join(' '), ids);
    }

    void expandExec() {
        const QString file = "/tmp/a b.txt";
        const QString url = QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
        for (const auto& [exec, command] :
             {std::pair{"prog %F", QStringList{"prog", file}},
              {"prog %u", QStringList{"prog", url}},
              {"prog --open=%f", QStringList{"prog", "--open=" + file}},
              {"prog -n", QStringList{"prog", "-n", file}},
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
