// Network locations: what the tree does around the two dialogs, the dialogs' own steps against a
// recorded desktop, and how gio is run and its answers read.

#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QtTest>

#include "DirTreeNetwork.h"
#include "DirTreeNetworkDialogs.h"
#include "FileListTestSupport.h"
#include "ZTDirTree.h"

using namespace odz;

namespace {

// A desktop that records what it is asked and answers as told.
class TRecordedNetwork : public TNetworkBackend {
public:
    bool available = true;
    bool succeed = true;
    QString localPath;
    QString error = QStringLiteral("Failed to mount Windows share: Connection refused");
    QStringList calls;

    bool Available() const override { return available; }
    bool Mount(const QString& location, const QString& user, const QString& password, QString& local,
               QString& failure) override {
        calls << "mount " + location + " " + user + " " + password;
        if (!succeed) failure = error;
        if (succeed) local = localPath;
        return succeed;
    }
    QList<TNetworkMount> Mounts() override { return {}; }
    bool Unmount(const TNetworkMount& mount, QString& failure) override {
        calls << "unmount " + mount.target;
        if (!succeed) failure = error;
        return succeed;
    }
};

// After a connection the tree and the list show the location's folder, or the drives when it has
// none; after a disconnection, whatever its outcome, the drives. A cancelled connection changes nothing.
const struct {
    const char* name;
    bool connect, outcome;
    const char *local, *shown, *node;  // the location's folder; what is shown then (relative, or "Drives")
} kDialogOutcomes[] = {
    {"connected", true, true, "net/share", "net/share/", "share"},
    {"connected without a folder", true, true, "", "Drives", "Computer"},
    {"connection cancelled", true, false, "net/share", "vol/Docs/", "Docs"},
    {"disconnected", false, true, "", "Drives", "Computer"},
    {"disconnection cancelled or failed", false, false, "", "Drives", "Computer"},
};

const QString kCannot = QStringLiteral("error: ERROR - Can't connect to smb://server/share\n");
const QString kNoLocation = QStringLiteral(" is not a network location.\nWrite it like smb://host/share");
const struct {
    const char* name;
    const char* location;
    bool available, succeed;
    QString shown;  // "@" stands for the sandbox
} kConnections[] = {
    {"connected", "  smb://server/share ", true, true,
     "information: Connected to smb://server/share\nIts files are in @/net/share"},
    {"no location", "server/share", true, true, "error: \"server/share\"" + kNoLocation},
    {"a local file", "file:///home", true, true, "error: \"file:///home\"" + kNoLocation},
    {"no gio", "smb://server/share", false, true,
     kCannot + "Network locations are connected with the \"gio\" program, which is not installed."},
    {"mount fails", "smb://server/share", true, false,
     kCannot + "Failed to mount Windows share: Connection refused"},
};

}  // namespace

class DirTreeNetworkTest : public QObject, protected test::TExplorerFixture {
    Q_OBJECT

private:
    TRecordedNetwork FNetwork;

private slots:
    void init() {
        Begin();
        Box().SetDrives({{"net", "Network Disk", kDriveRemote}, {"vol", "Fixed Disk", kDriveFixed}});
        Box().MakeFolders({"vol/Docs", "net/share/Reports"});
        FNetwork = TRecordedNetwork();
        FNetwork.localPath = Path("net/share");
        SetNetworkBackend(&FNetwork);
    }
    void cleanup() {
        SetConnectNetworkDialog({});
        SetDisconnectNetworkDialog({});
        SetNetworkBackend(nullptr);
        CheckAnswered();
        Release();
    }

    void treeFollowsTheDialogs_data() { test::AddRows(kDialogOutcomes); }
    void treeFollowsTheDialogs() {
        QFETCH(int, row);
        const auto& c = kDialogOutcomes[row];
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        tree.OpenPath(Path("vol/Docs/"));
        list.SetDirectory(Path("vol/Docs/"));
        QList<QWidget*> owners;
        SetConnectNetworkDialog([&](QWidget* owner, QString& localPath) {
            owners << owner;
            if (*c.local) localPath = Path(c.local);
            return c.outcome;
        });
        SetDisconnectNetworkDialog([&](QWidget* owner) {
            owners << owner;
            return c.outcome;
        });
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        c.connect ? tree.ConnectNetResource() : tree.DisConnectNetResource();
        QCOMPARE(owners, QList<QWidget*>({tree.window()}));
        const QString shown = QString(c.shown) == "Drives" ? c.shown : Path(c.shown);
        QCOMPARE(tree.SelectedPath(), shown);
        QCOMPARE(list.Directory(), shown);
        QCOMPARE(tree.currentIndex().data().toString(), c.node);
        QVERIFY(tree.isExpanded(tree.Nodes()->Root()));
        QCOMPARE(changes.count(), 0);
        // Off screen the real dialogs are never shown: nobody could answer them.
        SetConnectNetworkDialog({});
        SetDisconnectNetworkDialog({});
        QString local;
        QVERIFY(!RunConnectNetworkDialog(nullptr, local) && !RunDisconnectNetworkDialog(nullptr));
        QVERIFY(FNetwork.calls.isEmpty());
    }

    void connectDialog_data() { test::AddRows(kConnections); }
    void connectDialog() {
        QFETCH(int, row);
        const auto& c = kConnections[row];
        FNetwork.available = c.available;
        FNetwork.succeed = c.succeed;
        TDirTreeConnectDialog dialog(nullptr);
        dialog.LocationEdit()->setText(c.location);
        dialog.UserEdit()->setText("anna");
        dialog.PasswordEdit()->setText("secret");
        const bool connected = c.shown.startsWith("information");
        const bool mounted = c.available && QString(c.location).contains("smb://");
        QCOMPARE(dialog.Apply(), connected);
        QCOMPARE(FMessages->shown, QStringList(QString(c.shown).replace("@", Path(""))));
        QCOMPARE(FNetwork.calls,
                 mounted ? QStringList("mount smb://server/share anna secret") : QStringList());
        QCOMPARE(dialog.result() == QDialog::Accepted, connected);
        if (connected) QCOMPARE(dialog.LocalPath(), Path("net/share"));
        if (mounted) QVERIFY(dialog.PasswordEdit()->text().isEmpty());  // the password is not kept
    }

    void disconnectDialog() {
        TDirTreeDisconnectDialog dialog(
            nullptr, {{"share on server", "smb://server/share/"}, {"office", "/mnt/office/"}});
        QCOMPARE(dialog.List()->count(), 2);
        dialog.List()->clearSelection();
        QVERIFY(!dialog.Apply());
        dialog.List()->setCurrentRow(1);
        QVERIFY(dialog.Apply());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        FNetwork.succeed = false;
        TDirTreeDisconnectDialog failing(nullptr, {{"share on server", "smb://server/share/"}});
        failing.List()->setCurrentRow(0);
        QVERIFY(!failing.Apply());
        QCOMPARE(FNetwork.calls, QStringList({"unmount /mnt/office/", "unmount smb://server/share/"}));
        QCOMPARE(FMessages->shown,
                 QStringList({"warning: Choose the network drive to disconnect.",
                              "information: Disconnected office",
                              "error: ERROR - Can't disconnect share on server\n" + FNetwork.error}));
    }

    // The desktop's side runs gio; a stand-in of it, first on the PATH, asks what gio asks.
    void gioIsAnsweredAndItsOutcomeRead() {
        Box().Write(
            "bin/gio",
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
        QVERIFY(
            QFile::setPermissions(Path("bin/gio"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", Path("bin").toLocal8Bit() + ":" + oldPath);
        qputenv("GIO_LOG", Path("gio.log").toLocal8Bit());
        SetNetworkBackend(nullptr);
        TNetworkBackend& gio = NetworkBackend();
        const bool available = gio.Available();
        QString local, error;
        const bool mounted = gio.Mount("smb://server/share", "anna", "secret", local, error);
        const QString mountLog = Box().Read("gio.log").trimmed();
        const bool refused = !gio.Mount("smb://server/share", "anna", "wrong", local, error);
        const QString refusal = error;
        const bool asked = !gio.Mount("smb://ask/share", "", "", local, error);
        const QString question = error;
        const QList<TNetworkMount> mounts = gio.Mounts();
        const bool unmounted = gio.Unmount(mounts.value(0), error);
        const QString unmountLog = Box().Read("gio.log").trimmed();
        qputenv("PATH", oldPath);
        qunsetenv("GIO_LOG");

        QVERIFY(available && mounted && refused && asked && unmounted);
        QCOMPARE(mountLog, QStringLiteral("smb://server/share anna [] secret"));
        QCOMPARE(local, QStringLiteral("/run/user/0/gvfs/share"));
        QCOMPARE(refusal,
                 QStringLiteral("gio: smb://server/share: Failed to mount Windows share: Permission denied"));
        QVERIFY2(question.startsWith("the server asked a question this dialog cannot answer:"),
                 qPrintable(question));
        QCOMPARE(mounts, QList<TNetworkMount>({{"share on server", "smb://server/share/"}}));
        QCOMPARE(unmountLog, QStringLiteral("unmount smb://server/share/"));
    }

    // gio runs in the user's language with UTF-8 characters (a locale without them turns "doesn’t"
    // into "doesn?t"); what the program reads back is untranslated.
    void gioEnvironment() {
        const struct {
            QStringList user;  // NAME=value
            TGioText text;
            QStringList expected;
        } cases[] = {
            {{"LANG=vi_VN.UTF-8"}, TGioText::Shown, {"LANG=vi_VN.UTF-8"}},
            {{"LANG=C", "LC_ALL=fr_FR.utf8"}, TGioText::Shown, {"LANG=C", "LC_ALL=fr_FR.utf8"}},
            {{}, TGioText::Shown, {"LC_CTYPE=C.UTF-8"}},
            {{"LC_ALL=C"}, TGioText::Shown, {"LC_CTYPE=C.UTF-8", "LC_MESSAGES=C"}},
            {{"LANG=de_DE.ISO-8859-1"}, TGioText::Shown, {"LANG=de_DE.ISO-8859-1", "LC_CTYPE=C.UTF-8"}},
            {{"LANG=vi_VN.UTF-8", "LC_ALL=de_DE@euro"},
             TGioText::Shown,
             {"LANG=vi_VN.UTF-8", "LC_CTYPE=C.UTF-8", "LC_MESSAGES=de_DE@euro"}},
            {{"LANG=vi_VN.UTF-8", "LANGUAGE=vi:fr"}, TGioText::Read, {"LANG=vi_VN.UTF-8", "LC_ALL=C.UTF-8"}},
        };
        for (const auto& c : cases) {
            QProcessEnvironment environment;
            for (const QString& entry : c.user)
                environment.insert(entry.section('=', 0, 0), entry.section('=', 1));
            QStringList result = GioEnvironment(environment, c.text).toStringList();
            result.sort();
            QCOMPARE(result, c.expected);
        }
    }

    void gioTextsAreRead() {
        const std::pair<const char*, const char*> locations[] = {
            {"smb://host/share", "smb://host/share"},
            {" sftp://anna@host/home/anna ", "sftp://anna@host/home/anna"},
            {"\\\\host\\share\\dir", "smb://host/share/dir"},
            {"host/share", ""},
            {"smb:///share", ""},
            {"file:///tmp", ""},
            {"", ""},
        };
        for (const auto& [text, location] : locations) QCOMPARE(NetworkLocation(text), QString(location));
        const std::pair<const char*, TGioPrompt> prompts[] = {
            {"", TGioPrompt::None},
            {"Use", TGioPrompt::None},
            {"Authentication Required\nUser [anna]: ", TGioPrompt::User},
            {"Domain [WORKGROUP]: ", TGioPrompt::Domain},
            {"Password: ", TGioPrompt::Password},
            {"Can't verify the identity\n[1] Log In Anyway\n[2] Cancel\nChoice: ", TGioPrompt::Other},
            {"Mounted\n", TGioPrompt::None},
        };
        for (const auto& [output, prompt] : prompts) QVERIFY2(GioPromptAt(output) == prompt, output);
        // Local disks are left out, and a location mounted twice is listed once.
        const QString list =
            "Drive(0): QEMU HARDDISK\n"
            "  Type: GProxyDrive (GProxyVolumeMonitorUDisks2)\n"
            "  Volume(0): data\n"
            "    Mount(0): data -> file:///media/anna/data\n"
            "Mount(0): share on server -> smb://server/share/\n"
            "  Type: GDaemonMount\n"
            "Mount(1): anna on host -> sftp://anna@host/\n"
            "Mount(2): share on server -> smb://server/share/\n";
        QCOMPARE(ParseGioMountList(list), QList<TNetworkMount>({{"share on server", "smb://server/share/"},
                                                                {"anna on host", "sftp://anna@host/"}}));
        QVERIFY(ParseGioMountList("").isEmpty());
        QCOMPARE(
            ParseGioLocalPath("display name: share on server\nname: share\ntype: directory\n"
                              "uri: smb://server/share/\nlocal path: /run/user/1000/gvfs/smb-share:server=s\n"
                              "attributes:\n"),
            QStringLiteral("/run/user/1000/gvfs/smb-share:server=s"));
        QVERIFY(ParseGioLocalPath("uri: smb://server/share/\nattributes:\n").isEmpty());
    }
};

QTEST_MAIN(DirTreeNetworkTest)
#include "DirTreeNetworkTest.moc"
