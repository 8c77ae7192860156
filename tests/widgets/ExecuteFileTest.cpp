#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

#include "DesktopApplications.h"
#include "ExecuteFile.h"
#include "ScriptedMessages.h"

using namespace odz;

namespace {

void Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void WriteProgram(const QString& path) {
    Write(path, "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
}

QByteArray Entry(const QByteArray& exec, const QByteArray& extra = {}) {
    return "[Desktop Entry]\nType=Application\nName=Test\nExec=" + exec + "\n" + extra;
}

}  // namespace

// Every case runs against a desktop of its own making: the XDG folders and PATH point into a temporary
// folder, and nothing is started, the launcher only records.
class ExecuteFileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        for (const char* name : kVariables) {
            FSaved << (qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        }
        // File types are told by the shared MIME database, which lives among the desktop's data folders.
        FMimeDatabase = QStandardPaths::locate(QStandardPaths::GenericDataLocation, "mime",
                                               QStandardPaths::LocateDirectory);
        if (FMimeDatabase.isEmpty()) QSKIP("no shared MIME database here");
    }
    void cleanupTestCase() {
        for (int i = 0; i < FSaved.size(); ++i) {
            if (FSaved[i])
                qputenv(kVariables[i], *FSaved[i]);
            else
                qunsetenv(kVariables[i]);
        }
    }

    void init() {
        FRoot = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", Path("data").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", Path("system").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", Path("config").toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", Path("etc").toLocal8Bit());
        qputenv("XDG_CURRENT_DESKTOP", "Test");
        qputenv("PATH", Path("bin").toLocal8Bit());
        QDir().mkpath(Path("bin"));
        QDir().mkpath(Path("system"));
        QVERIFY(QFile::link(FMimeDatabase, Path("system/mime")));
        for (const char* program : {"fake-editor", "fake-writer", "fake-viewer", "fake-terminal-editor"}) {
            WriteProgram(Path("bin/") + program);
        }
        Write(Path("data/applications/editor.desktop"), Entry("fake-editor --new %F"));
        Write(Path("system/applications/writer.desktop"), Entry("fake-writer %U"));
        Write(Path("system/applications/viewer.desktop"), Entry("fake-viewer"));
        Write(Path("docs/readme.TXT"), "text");
        Write(Path("docs/unit.pas"), "begin end.");
        Write(Path("docs/setup.ini"), "[a]");
        Write(Path("docs/letter.rtf"), "{\\rtf1}");
        Write(Path("docs/picture.bmp"), "BM");
        Write(Path("config/mimeapps.list"),
              "[Default Applications]\ntext/plain=editor.desktop\n"
              "application/rtf=writer.desktop\n");
        Write(Path("system/applications/mimeinfo.cache"), "[MIME Cache]\nimage/bmp=viewer.desktop;\n");
        FRequests.clear();
        FLaunchResult = true;
        SetLauncher([this](const TLaunchRequest& request) {
            FRequests << request;
            return FLaunchResult;
        });
    }
    void cleanup() {
        SetLauncher({});
        FRoot.reset();
    }

    void openHandsTheFileToTheDesktop() {
        test::TScriptedMessages messages;
        QCOMPARE(ExecuteFile("Open", "readme.TXT", QString(), kShowNormal, Path("docs")), kExecStarted);
        QCOMPARE(FRequests.size(), 1);
        QCOMPARE(FRequests[0].url, QUrl::fromLocalFile(Path("docs/readme.TXT")));
        QVERIFY(messages.shown.isEmpty());
    }

    void openOfAMissingFileIsReported() {
        test::TScriptedMessages messages;
        QVERIFY(ExecuteFile("Open", "gone.txt", QString(), kShowNormal, Path("docs")) <= 32);
        QVERIFY(FRequests.isEmpty());
        QCOMPARE(messages.shown, QStringList{"error: ERROR - Can't Open file  gone.txt"});
    }

    void openWithoutAProgramIsReported() {
        test::TScriptedMessages messages;
        FLaunchResult = false;
        QCOMPARE(ExecuteFile("Open", "unit.pas", QString(), kShowNormal, Path("docs")), kExecNoAssociation);
        QCOMPARE(messages.shown, QStringList{"error: ERROR - Can't Open file  unit.pas"});
    }

    void openOfAProgramWithAParameterStartsIt() {
        test::TScriptedMessages messages;
        QCOMPARE(ExecuteFile("Open", Path("bin/fake-viewer"), "my picture.bmp", kShowNormal, Path("docs")),
                 kExecStarted);
        QCOMPARE(FRequests.size(), 1);
        QCOMPARE(FRequests[0].program, Path("bin/fake-viewer"));
        QCOMPARE(FRequests[0].arguments, QStringList{"my picture.bmp"});
        QCOMPARE(FRequests[0].workingDirectory, Path("docs"));
    }

    void viewers_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QStringList>("command");  // "@" stands for the documents' folder, "@@" for its URL
        QTest::newRow("NotePad, text") << "NotePad"
                                       << "readme.TXT" << QStringList{"fake-editor", "--new", "@/readme.TXT"};
        QTest::newRow("NotePad, Pascal") << "C:/WINDOWS/NotePad.exe"
                                         << "unit.pas" << QStringList{"fake-editor", "--new", "@/unit.pas"};
        QTest::newRow("NotePad, unknown type")
            << "notepad.EXE"
            << "setup.ini" << QStringList{"fake-editor", "--new", "@/setup.ini"};
        QTest::newRow("Write, rich text") << "Write.exe"
                                          << "letter.rtf" << QStringList{"fake-writer", "@@/letter.rtf"};
        QTest::newRow("PBrush, bitmap") << "PBrush"
                                        << "picture.bmp" << QStringList{"fake-viewer", "@/picture.bmp"};
    }
    void viewers() {
        QFETCH(QString, program);
        QFETCH(QString, document);
        QFETCH(QStringList, command);
        command.replaceInStrings("@@", QUrl::fromLocalFile(Path("docs")).toString(QUrl::FullyEncoded));
        command.replaceInStrings("@", Path("docs"));
        test::TScriptedMessages messages;
        QCOMPARE(ExecuteFile("Open", program, document, kShowNormal, Path("docs") + "/"), kExecStarted);
        QCOMPARE(FRequests.size(), 1);
        QVERIFY(FRequests[0].url.isEmpty());
        QCOMPARE(QStringList{FRequests[0].program} + FRequests[0].arguments, command);
        QVERIFY(messages.shown.isEmpty());
    }

    void viewerWithoutAProgramAsksTheDesktop() {
        QFile::remove(Path("system/applications/mimeinfo.cache"));
        test::TScriptedMessages messages;
        QCOMPARE(ExecuteFile("Open", "PBrush", "picture.bmp", kShowNormal, Path("docs")), kExecStarted);
        QCOMPARE(FRequests.size(), 1);
        QCOMPARE(FRequests[0].url, QUrl::fromLocalFile(Path("docs/picture.bmp")));
        QVERIFY(messages.shown.isEmpty());
    }

    // A viewer's failure names what was really tried: the desktop's program, else the document (never
    // the Windows accessory the caller named).
    void viewerFailuresNameWhatWasTried_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("document");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message");  // "@" stands for the documents' folder
        QTest::newRow("no such document")
            << "NotePad"
            << "gone.txt" << kExecFileNotFound
            << "ERROR - Can't Open file  gone.txt\nThe file @/gone.txt does not exist.";
        QTest::newRow("the editor does not start")
            << "NotePad.exe"
            << "readme.TXT" << kExecOutOfResources
            << "ERROR - Can't Open file  fake-editor\nThe text editor Test could not be started for "
               "@/readme.TXT.";
        QTest::newRow("no image viewer at all")
            << "PBrush"
            << "picture.bmp" << kExecNoAssociation
            << "ERROR - Can't Open file  picture.bmp\nNo image viewer for @/picture.bmp was found on this "
               "desktop.";
    }
    void viewerFailuresNameWhatWasTried() {
        QFETCH(QString, program);
        QFETCH(QString, document);
        QFETCH(int, result);
        QFETCH(QString, message);
        QFile::remove(Path("system/applications/mimeinfo.cache"));
        FLaunchResult = false;
        test::TScriptedMessages messages;
        QCOMPARE(ExecuteFile("Open", program, document, kShowNormal, Path("docs")), result);
        QCOMPARE(messages.shown, QStringList{"error: " + message.replace("@", Path("docs"))});
    }

    void programsThatCannotRunHereAreSkipped_data() {
        QTest::addColumn<QByteArray>("entry");
        QTest::newRow("needs a terminal") << Entry("fake-terminal-editor %f", "Terminal=true\n");
        QTest::newRow("hidden") << Entry("fake-terminal-editor %f", "Hidden=true\n");
        QTest::newRow("not installed") << Entry("no-such-editor %f");
        QTest::newRow("TryExec missing") << Entry("fake-terminal-editor %f", "TryExec=no-such-editor\n");
    }
    void programsThatCannotRunHereAreSkipped() {
        QFETCH(QByteArray, entry);
        Write(Path("data/applications/other.desktop"), entry);
        Write(Path("config/test-mimeapps.list"),
              "[Default Applications]\ntext/plain=other.desktop;editor.desktop\n");
        const auto application = DefaultApplication({"text/plain"});
        QVERIFY(application);
        QCOMPARE(application->id, QStringLiteral("editor.desktop"));
    }

    void desktopListComesFirst() {
        Write(Path("data/applications/other.desktop"), Entry("fake-viewer %f"));
        Write(Path("config/test-mimeapps.list"), "[Default Applications]\ntext/plain=other.desktop\n");
        QCOMPARE(DefaultApplication({"text/plain"})->id, QStringLiteral("other.desktop"));
    }

    void removedAssociationsAreLeftOut() {
        Write(Path("config/mimeapps.list"), "[Removed Associations]\nimage/bmp=viewer.desktop\n");
        QVERIFY(!DefaultApplication({"image/bmp"}));
    }

    void expandExec_data() {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("command");
        const QString file = "/tmp/a b.txt";
        const QString url = QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
        QTest::newRow("file list") << "prog %F" << QStringList{"prog", file};
        QTest::newRow("url") << "prog %u" << QStringList{"prog", url};
        QTest::newRow("inside an argument") << "prog --open=%f" << QStringList{"prog", "--open=" + file};
        QTest::newRow("no field code") << "prog -n" << QStringList{"prog", "-n", file};
        QTest::newRow("quoted") << "\"/opt/my prog\" \"say \\\"hi\\\"\" %f"
                                << QStringList{"/opt/my prog", "say \"hi\"", file};
        QTest::newRow("percent, name, icon, deprecated")
            << "prog 100%% --name %c %i %d %f"
            << QStringList{"prog", "100%", "--name", "Editor", "--icon", "ed", file};
    }
    void expandExec() {
        QFETCH(QString, exec);
        QFETCH(QStringList, command);
        const TDesktopApplication application{"ed.desktop", "/x/ed.desktop", "Editor", exec, "ed"};
        QCOMPARE(ExpandExec(application, "/tmp/a b.txt"), command);
    }

    void findOpensASearchProgram() {
        WriteProgram(Path("bin/catfish"));
        test::TScriptedMessages messages;
        QCOMPARE(ExecuteFile("Find", Path("docs") + "/", QString(), kShowNormal, QString()), kExecStarted);
        QCOMPARE(FRequests.size(), 1);
        QCOMPARE(FRequests[0].program, Path("bin/catfish"));
        QCOMPARE(FRequests[0].arguments, QStringList{"--path=" + Path("docs")});

        QCOMPARE(ExecuteFile("Find", "Drives", QString(), kShowNormal, QString()), kExecStarted);
        QCOMPARE(FRequests[1].arguments, QStringList{"--path=/"});
        QVERIFY(messages.shown.isEmpty());
    }

    void findWithoutASearchProgramSaysSo() {
        test::TScriptedMessages messages;
        QCOMPARE(ExecuteFile("Find", Path("docs"), QString(), kShowNormal, QString()), kExecNoAssociation);
        QVERIFY(FRequests.isEmpty());
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].startsWith("error: ERROR - Can't Find file  " + Path("docs") +
                                             "\nNo file search program"));
    }

    void unknownOperationIsReported() {
        test::TScriptedMessages messages;
        QVERIFY(ExecuteFile("Print", "readme.TXT", QString(), kShowNormal, Path("docs")) <= 32);
        QVERIFY(FRequests.isEmpty());
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].startsWith("error: ERROR - Can't Print file  readme.TXT"));
    }

private:
    static constexpr const char* kVariables[] = {"XDG_DATA_HOME",   "XDG_DATA_DIRS",       "XDG_CONFIG_HOME",
                                                 "XDG_CONFIG_DIRS", "XDG_CURRENT_DESKTOP", "PATH"};
    QString Path(const QString& relative) const { return FRoot->filePath(relative); }

    std::unique_ptr<QTemporaryDir> FRoot;
    QList<std::optional<QByteArray>> FSaved;
    QString FMimeDatabase;
    QList<TLaunchRequest> FRequests;
    bool FLaunchResult = true;
};

QTEST_MAIN(ExecuteFileTest)
#include "ExecuteFileTest.moc"
