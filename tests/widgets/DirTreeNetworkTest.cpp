// Network locations: what the tree does around the two dialogs, the dialogs' own steps against a
// recorded desktop, and how gio's answers are read.

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "DirTreeModel.h"
#include "DirTreeNetwork.h"
#include "DirTreeNetworkDialogs.h"
#include "ScriptedMessages.h"
#include "ZTDirTree.h"
#include "ZTFilelistView.h"

using namespace odz;

namespace {

// A desktop that records what it is asked and answers as told.
class TRecordedNetwork : public TNetworkBackend {
public:
    bool available = true;
    bool succeed = true;
    QString localPath;
    QString error = QStringLiteral("Failed to mount Windows share: Connection refused");
    QList<TNetworkMount> mounts;
    QStringList calls;

    bool Available() const override { return available; }
    bool Mount(const QString& location, const QString& user, const QString& password, QString& local,
               QString& failure) override {
        calls << "mount " + location + " " + user + " " + password;
        if (!succeed) {
            failure = error;
            return false;
        }
        local = localPath;
        return true;
    }
    QList<TNetworkMount> Mounts() override { return mounts; }
    bool Unmount(const TNetworkMount& mount, QString& failure) override {
        calls << "unmount " + mount.target;
        if (!succeed) failure = error;
        return succeed;
    }
};

}  // namespace

class DirTreeNetworkTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<test::TScriptedMessages> FMessages;
    TRecordedNetwork FNetwork;

    QString Path(const QString& relative) const { return FDir->path() + QLatin1Char('/') + relative; }

private slots:
    void init() {
        FDir = std::make_unique<QTemporaryDir>();
        QVERIFY(FDir->isValid());
        for (const char* folder : {"vol/Docs", "net/share/Reports"}) QVERIFY(QDir().mkpath(Path(folder)));
        const QString root = FDir->path();
        TDirTreeModel::SetDriveSource([root] {
            return QList<TDrive>{{root + "/net/", "Network Disk", kDriveRemote},
                                 {root + "/vol/", "Fixed Disk", kDriveFixed}};
        });
        FMessages = std::make_unique<test::TScriptedMessages>();
        FNetwork = TRecordedNetwork();
        SetNetworkBackend(&FNetwork);
    }
    void cleanup() {
        SetConnectNetworkDialog({});
        SetDisconnectNetworkDialog({});
        SetNetworkBackend(nullptr);
        TDirTreeModel::SetDriveSource({});
        FMessages.reset();
        FDir.reset();
    }

    void connectShowsTheNewLocation() {
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        const QString local = Path("net/share");
        int shown = 0;
        QWidget* owner = nullptr;
        SetConnectNetworkDialog([&](QWidget* over, QString& localPath) {
            ++shown;
            owner = over;
            localPath = local;
            return true;
        });
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        tree.ConnectNetResource();
        QCOMPARE(shown, 1);
        QVERIFY(owner == tree.window());
        QCOMPARE(tree.SelectedPath(), Path("net/share/"));
        QCOMPARE(list.Directory(), Path("net/share/"));
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("share"));
        QVERIFY(tree.isExpanded(tree.Nodes()->Root()));
        QCOMPARE(changes.count(), 0);
    }

    void connectWithoutAFolderShowsTheDrives() {
        TZTFilelistView list;
        list.SetDirectory(Path("vol/"));
        TZTDirTree tree;
        tree.SetFileList(&list);
        SetConnectNetworkDialog([](QWidget*, QString&) { return true; });
        tree.ConnectNetResource();
        QCOMPARE(tree.currentIndex(), tree.Nodes()->Root());
        QCOMPARE(tree.SelectedPath(), QStringLiteral("Drives"));
        QCOMPARE(list.Directory(), QStringLiteral("Drives"));
    }

    void connectCancelledChangesNothing() {
        TZTDirTree tree;
        tree.OpenPath(Path("vol/Docs/"));
        SetConnectNetworkDialog([](QWidget*, QString&) { return false; });
        tree.ConnectNetResource();
        QCOMPARE(tree.SelectedPath(), Path("vol/Docs/"));
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("Docs"));
    }

    void disconnectShowsTheDrivesWhateverTheOutcome_data() {
        QTest::addColumn<bool>("outcome");
        QTest::newRow("disconnected") << true;
        QTest::newRow("cancelled or failed") << false;
    }
    void disconnectShowsTheDrivesWhateverTheOutcome() {
        QFETCH(bool, outcome);
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        tree.OpenPath(Path("vol/Docs/"));
        list.SetDirectory(Path("vol/Docs/"));
        int shown = 0;
        SetDisconnectNetworkDialog([&](QWidget*) {
            ++shown;
            return outcome;
        });
        tree.DisConnectNetResource();
        QCOMPARE(shown, 1);
        QCOMPARE(tree.currentIndex(), tree.Nodes()->Root());
        QCOMPARE(tree.SelectedPath(), QStringLiteral("Drives"));
        QCOMPARE(list.Directory(), QStringLiteral("Drives"));
        QCOMPARE(list.Count(), list.Model()->rowCount());
    }

    void realDialogsAreNotShownOffScreen() {
        QString local;
        QVERIFY(!RunConnectNetworkDialog(nullptr, local));
        QVERIFY(!RunDisconnectNetworkDialog(nullptr));
        QVERIFY(FNetwork.calls.isEmpty());
    }

    void connectDialogConnects() {
        FNetwork.localPath = Path("net/share");
        TDirTreeConnectDialog dialog(nullptr);
        dialog.LocationEdit()->setText("  smb://server/share ");
        dialog.UserEdit()->setText("anna");
        dialog.PasswordEdit()->setText("secret");
        QVERIFY(dialog.Apply());
        QCOMPARE(FNetwork.calls, QStringList("mount smb://server/share anna secret"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.LocalPath(), Path("net/share"));
        QCOMPARE(FMessages->shown,
                 QStringList("information: Connected to smb://server/share\nIts files are in " +
                             Path("net/share")));
        // The password is not kept.
        QVERIFY(dialog.PasswordEdit()->text().isEmpty());
    }

    void connectDialogReportsFailures_data() {
        QTest::addColumn<QString>("location");
        QTest::addColumn<bool>("available");
        QTest::addColumn<QString>("message");
        QTest::newRow("no location")
            << "server/share" << true
            << "error: \"server/share\" is not a network location.\nWrite it like smb://host/share";
        QTest::newRow("a local file")
            << "file:///home" << true
            << "error: \"file:///home\" is not a network location.\nWrite it like smb://host/share";
        QTest::newRow("no gio")
            << "smb://server/share" << false
            << "error: ERROR - Can't connect to smb://server/share\nNetwork locations are connected "
               "with the \"gio\" program, which is not installed.";
        QTest::newRow("mount fails")
            << "smb://server/share" << true
            << "error: ERROR - Can't connect to smb://server/share\nFailed to mount Windows "
               "share: Connection refused";
    }
    void connectDialogReportsFailures() {
        QFETCH(QString, location);
        QFETCH(bool, available);
        QFETCH(QString, message);
        FNetwork.available = available;
        FNetwork.succeed = false;
        TDirTreeConnectDialog dialog(nullptr);
        dialog.LocationEdit()->setText(location);
        QVERIFY(!dialog.Apply());
        QCOMPARE(FMessages->shown, QStringList(message));
        QVERIFY(dialog.result() != QDialog::Accepted);
    }

    void windowsShareNamesAreTakenAsSmb() {
        TDirTreeConnectDialog dialog(nullptr);
        dialog.LocationEdit()->setText("\\\\server\\share");
        QVERIFY(dialog.Apply());
        QCOMPARE(FNetwork.calls, QStringList("mount smb://server/share  "));
    }

    void disconnectDialog() {
        const QList<TNetworkMount> mounts = {{"share on server", "smb://server/share/"},
                                             {"office", "/mnt/office/"}};
        TDirTreeDisconnectDialog dialog(nullptr, mounts);
        QCOMPARE(dialog.List()->count(), 2);
        dialog.List()->setCurrentRow(1);
        QVERIFY(dialog.Apply());
        QCOMPARE(FNetwork.calls, QStringList("unmount /mnt/office/"));
        QCOMPARE(FMessages->shown, QStringList("information: Disconnected office"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void disconnectDialogReportsFailures() {
        FNetwork.succeed = false;
        TDirTreeDisconnectDialog dialog(nullptr, {{"share on server", "smb://server/share/"}});
        dialog.List()->clearSelection();
        QVERIFY(!dialog.Apply());
        QCOMPARE(FMessages->shown, QStringList("warning: Choose the network drive to disconnect."));
        dialog.List()->setCurrentRow(0);
        QVERIFY(!dialog.Apply());
        QCOMPARE(FMessages->shown.last(),
                 "error: ERROR - Can't disconnect share on server\n" + FNetwork.error);
    }

    // The desktop's side runs gio; a stand-in of it, first on the PATH, asks what gio asks.
    void gioIsAnsweredAndItsOutcomeRead() {
        const QString bin = Path("bin");
        QVERIFY(QDir().mkpath(bin));
        QFile script(bin + "/gio");
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(
            "#!/bin/sh\n"
            "case \"$1 $2\" in\n"
            "'mount -l') echo 'Mount(0): share on server -> smb://server/share/'; exit 0;;\n"
            "'mount -u') echo \"unmount $3\" > \"$GIO_LOG\"; exit 0;;\n"
            "'info '*) echo \"uri: $2\"; echo 'local path: /run/user/0/gvfs/share'; exit 0;;\n"
            "'mount smb://ask/'*) printf 'Log in anyway?\\n[1] Yes\\n[2] No\\nChoice: '; read c; exit 0;;\n"
            "esac\n"
            "printf 'User [root]: '; read user\n"
            "printf 'Domain [WORKGROUP]: '; read domain\n"
            "printf 'Password: '; read pass\n"
            "echo \"$2 $user [$domain] $pass\" > \"$GIO_LOG\"\n"
            "[ \"$pass\" = secret ] && exit 0\n"
            "echo \"gio: $2: Failed to mount Windows share: Permission denied\" >&2; exit 2\n");
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner | QFile::ExeUser));
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", bin.toLocal8Bit() + ":" + oldPath);
        qputenv("GIO_LOG", Path("gio.log").toLocal8Bit());
        SetNetworkBackend(nullptr);
        TNetworkBackend& gio = NetworkBackend();
        auto log = [this] {
            QFile file(Path("gio.log"));
            return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()).trimmed()
                                                  : QString();
        };
        QVERIFY(gio.Available());
        QString local;
        QString error;
        const bool mounted = gio.Mount("smb://server/share", "anna", "secret", local, error);
        const QString mountLog = log();
        const bool refused = !gio.Mount("smb://server/share", "anna", "wrong", local, error);
        const QString refusal = error;
        const bool asked = !gio.Mount("smb://ask/share", "", "", local, error);
        const QString question = error;
        const QList<TNetworkMount> mounts = gio.Mounts();
        const bool unmounted = gio.Unmount(mounts.value(0), error);
        const QString unmountLog = log();
        qputenv("PATH", oldPath);
        qunsetenv("GIO_LOG");

        QVERIFY(mounted);
        QCOMPARE(mountLog, QStringLiteral("smb://server/share anna [] secret"));
        QCOMPARE(local, QStringLiteral("/run/user/0/gvfs/share"));
        QVERIFY(refused);
        QCOMPARE(refusal,
                 QStringLiteral("gio: smb://server/share: Failed to mount Windows share: Permission denied"));
        QVERIFY(asked);
        QVERIFY2(question.startsWith("the server asked a question this dialog cannot answer:"),
                 qPrintable(question));
        QVERIFY(mounts.contains(TNetworkMount{"share on server", "smb://server/share/"}));
        QVERIFY(unmounted);
        QCOMPARE(unmountLog, QStringLiteral("unmount smb://server/share/"));
    }

    // gio runs in the user's language with UTF-8 characters (a locale without them turns "doesn’t"
    // into "doesn?t"); what the program reads back is untranslated.
    void gioEnvironment_data() {
        QTest::addColumn<QStringList>("user");  // NAME=value
        QTest::addColumn<int>("text");
        QTest::addColumn<QStringList>("expected");
        const int shown = int(TGioText::Shown), read = int(TGioText::Read);
        QTest::newRow("UTF-8 language")
            << QStringList{"LANG=vi_VN.UTF-8"} << shown << QStringList{"LANG=vi_VN.UTF-8"};
        QTest::newRow("UTF-8 for everything") << QStringList{"LANG=C", "LC_ALL=fr_FR.utf8"} << shown
                                              << QStringList{"LANG=C", "LC_ALL=fr_FR.utf8"};
        QTest::newRow("nothing set") << QStringList() << shown << QStringList{"LC_CTYPE=C.UTF-8"};
        QTest::newRow("C for everything")
            << QStringList{"LC_ALL=C"} << shown << QStringList{"LC_CTYPE=C.UTF-8", "LC_MESSAGES=C"};
        QTest::newRow("Latin-1 language") << QStringList{"LANG=de_DE.ISO-8859-1"} << shown
                                          << QStringList{"LANG=de_DE.ISO-8859-1", "LC_CTYPE=C.UTF-8"};
        QTest::newRow("Latin-1 for everything")
            << QStringList{"LANG=vi_VN.UTF-8", "LC_ALL=de_DE@euro"} << shown
            << QStringList{"LANG=vi_VN.UTF-8", "LC_CTYPE=C.UTF-8", "LC_MESSAGES=de_DE@euro"};
        QTest::newRow("read back") << QStringList{"LANG=vi_VN.UTF-8", "LANGUAGE=vi:fr"} << read
                                   << QStringList{"LANG=vi_VN.UTF-8", "LC_ALL=C.UTF-8"};
    }
    void gioEnvironment() {
        QFETCH(QStringList, user);
        QFETCH(int, text);
        QFETCH(QStringList, expected);
        QProcessEnvironment environment;
        for (const QString& entry : user) environment.insert(entry.section('=', 0, 0), entry.section('=', 1));
        QStringList result = GioEnvironment(environment, static_cast<TGioText>(text)).toStringList();
        result.sort();
        QCOMPARE(result, expected);
    }

    void networkLocation_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("location");
        QTest::newRow("smb") << "smb://host/share"
                             << "smb://host/share";
        QTest::newRow("blanks around") << " sftp://anna@host/home/anna "
                                       << "sftp://anna@host/home/anna";
        QTest::newRow("windows share") << "\\\\host\\share\\dir"
                                       << "smb://host/share/dir";
        QTest::newRow("no scheme") << "host/share"
                                   << "";
        QTest::newRow("no host") << "smb:///share"
                                 << "";
        QTest::newRow("local file") << "file:///tmp"
                                    << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void networkLocation() {
        QFETCH(QString, text);
        QFETCH(QString, location);
        QCOMPARE(NetworkLocation(text), location);
    }

    void gioMountListIsRead() {
        const QString output =
            "Drive(0): QEMU HARDDISK\n"
            "  Type: GProxyDrive (GProxyVolumeMonitorUDisks2)\n"
            "  Volume(0): data\n"
            "    Mount(0): data -> file:///media/anna/data\n"
            "Mount(0): share on server -> smb://server/share/\n"
            "  Type: GDaemonMount\n"
            "Mount(1): anna on host -> sftp://anna@host/\n"
            "Mount(2): share on server -> smb://server/share/\n";
        const QList<TNetworkMount> expected = {{"share on server", "smb://server/share/"},
                                               {"anna on host", "sftp://anna@host/"}};
        QCOMPARE(ParseGioMountList(output), expected);
        QVERIFY(ParseGioMountList("").isEmpty());
    }

    void gioLocalPathIsRead() {
        QCOMPARE(ParseGioLocalPath("display name: share on server\nname: share\ntype: directory\n"
                                   "uri: smb://server/share/\nlocal path: "
                                   "/run/user/1000/gvfs/smb-share:server=server,share=share\n"
                                   "attributes:\n"),
                 QStringLiteral("/run/user/1000/gvfs/smb-share:server=server,share=share"));
        QVERIFY(ParseGioLocalPath("uri: smb://server/share/\nattributes:\n").isEmpty());
    }

    void gioQuestionsAreRecognised_data() {
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("prompt");
        QTest::newRow("nothing yet") << "" << int(TGioPrompt::None);
        QTest::newRow("half a line") << "Use" << int(TGioPrompt::None);
        QTest::newRow("user with default")
            << "Authentication Required\nUser [anna]: " << int(TGioPrompt::User);
        QTest::newRow("domain") << "Domain [WORKGROUP]: " << int(TGioPrompt::Domain);
        QTest::newRow("password") << "Password: " << int(TGioPrompt::Password);
        QTest::newRow("a choice") << "Can't verify the identity\n[1] Log In Anyway\n[2] Cancel\nChoice: "
                                  << int(TGioPrompt::Other);
        QTest::newRow("a finished line") << "Mounted\n" << int(TGioPrompt::None);
    }
    void gioQuestionsAreRecognised() {
        QFETCH(QString, output);
        QFETCH(int, prompt);
        QCOMPARE(int(GioPromptAt(output)), prompt);
    }
};

QTEST_MAIN(DirTreeNetworkTest)
#include "DirTreeNetworkTest.moc"
