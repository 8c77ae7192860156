// The folder tree's commands: making, renaming and deleting folders (deleted ones go to the sandbox's
// trash), the context menu and when its items apply, Tree Size, the folder-contents window, and network
// locations: what the tree does around the two dialogs, the dialogs' own steps against a recorded
// desktop, and how gio's answers are read.

#include "DirTreeContents.h"
#include "DirTreeNetwork.h"
#include "DirTreeNetworkDialogs.h"
#include "DirTreeSize.h"
#include "ExecuteFile.h"
#include "FileListTestSupport.h"
#include "ZTDirTree.h"
#include "ZTDirTreePopUp.h"

using namespace odz;
using test::Child;

namespace {

const struct {
    const char* name;
    const char* node;    // where: "" the root, "-" no node
    const char* folder;  // its name
    const char* before;  // a folder made first, or "gone": the node's folder is removed first
    const char* shown;   // "@" stands for the sandbox
} kNewNodes[] = {
    {"named", "vol", "Archive", "", ""},
    {"drives cannot be added", "", "", "", "error: Can't add drives"},
    {"invalid characters", "vol", "a:b", "", "error: Folder Name contains invalid characters"},
    {"no node", "-", "x", "", ""},
    {"beside an existing one", "vol/Docs", "", "vol/Docs/New Folder", ""},
    {"in a folder gone behind the tree's back", "vol/Docs", "Sub", "gone",
     "error: Cannot create @/vol/Docs/Sub"},
};

const struct {
    const char* name;
    const char* current;  // the folder chosen when "vol/Docs" is deleted
    int answer;           // -1 when nothing is asked
    bool vanished;        // the folder was removed behind the tree's back
} kDeletions[] = {
    {"the selected one", "vol/Docs/Letters/", int(TAnswer::Yes), false},
    {"another than the selected", "vol/Music/", int(TAnswer::Yes), false},
    {"declined", "vol/Docs/", int(TAnswer::No), false},
    {"vanished", "vol/Docs/", -1, true},
};

// A desktop that records what it is asked and answers as told.
class TRecordedNetwork : public TNetworkBackend {
public:
    bool available = true, succeed = true;
    QString localPath;
    QString error = QStringLiteral("Failed to mount Windows share: Connection refused");
    QStringList calls;

    bool Available() const override { return available; }
    bool Mount(const QString& location, const QString& user, const QString& password, QString& local,
               QString& failure) override {
        calls << "mount " + location + " " + user + " " + password;
        (succeed ? local : failure) = succeed ? localPath : error;
        return succeed;
    }
    QList<TNetworkMount> Mounts() override { return {}; }
    bool Unmount(const TNetworkMount&, QString&) override { return false; }
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

class DirTreeCommandsTest : public QObject, protected test::TExplorerFixture {
    Q_OBJECT

private:
    TRecordedNetwork FNetwork;

    static QModelIndex Drive(const TZTDirTree& tree) {
        return tree.Nodes()->index(0, 0, tree.Nodes()->Root());
    }
    void WriteSized(const QString& name, qint64 size) {
        Box().Write(name, "");
        QVERIFY(QFile::resize(Path(name), size));
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::system()); }
    void init() {
        Begin();
        Box().SetDrives({{"vol", "Fixed Disk", kDriveFixed}, {"net", "Network Disk", kDriveRemote}});
        Box().MakeFolders({"vol/Docs/Letters", "vol/Music", "net/share/Reports"});
        WriteSized("vol/Photo/a.bin", 1000);
        WriteSized("vol/Photo/sub/b.bin", 3000);
        WriteSized("vol/Photo/.hidden", 0);
        WriteSized("vol/Photo/Z.txt", 0);
        WriteSized("vol/Photos/c.bin", 50000);
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
        SetLauncher({});
    }

    void renameNode_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("answer");  // to the question, -1 when none is asked
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("renamed") << "Papers" << int(TAnswer::Yes) << QStringList();
        QTest::newRow("declined") << "Papers" << int(TAnswer::No) << QStringList();
        QTest::newRow("onto an existing folder")
            << "Music" << int(TAnswer::Yes) << QStringList("error: \"Music\" already exists !");
        QTest::newRow("empty") << "" << -1 << QStringList();
        QTest::newRow("unchanged") << "Docs" << -1 << QStringList();
        for (const QChar c : QStringLiteral("\\*?/=\"<>|:,;+^")) {
            QTest::newRow(qPrintable(QString(c)))
                << "a" + QString(c) + "b" << -1
                << QStringList("error: Error - Invalid Directory Name\na" + QString(c) + "b");
        }
    }
    void renameNode() {
        QFETCH(QString, name);
        QFETCH(int, answer);
        QFETCH(QStringList, shown);
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        tree.OpenPath(Path("vol/Docs/"));
        const QPersistentModelIndex docs = tree.currentIndex();
        if (answer >= 0) FMessages->Expect(TAnswer(answer));
        const bool renamed = tree.RenameNode(docs, name);
        QCOMPARE(renamed, answer == int(TAnswer::Yes) && shown.isEmpty());
        QCOMPARE(
            FMessages->asked,
            answer < 0
                ? QStringList()
                : QStringList("Do you want to rename the selected folder\n\n    From  : Docs\n    To     : " +
                              name));
        QCOMPARE(FMessages->shown, shown);
        QCOMPARE(Box().Names("vol"),
                 QStringList({renamed ? "Music" : "Docs", renamed ? "Papers" : "Music", "Photo", "Photos"}));
        if (!renamed) {
            QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("Docs"));
            return;
        }
        // The node takes its place in the order, its children follow it, and its parent is chosen.
        QCOMPARE(test::Captions(tree.Nodes(), Drive(tree)),
                 QStringList({"Music", "Papers", "Photo", "Photos"}));
        tree.Nodes()->LoadFolders(docs);
        QCOMPARE(tree.PathOfNode(Child(tree.Nodes(), docs, "Letters")), Path("vol/Papers/Letters"));
        QCOMPARE(tree.currentIndex(), Drive(tree));
        QCOMPARE(tree.SelectedPath(), Path("vol/"));
        QCOMPARE(list.Directory(), Path("vol/"));
    }

    void drivesAndTheRootAreNeverRenamedOrDeleted() {
        TZTDirTree tree;
        QVERIFY(test::Show(tree));
        for (const QModelIndex& node : {tree.Nodes()->Root(), Drive(tree)}) {
            QVERIFY(!tree.RenameNode(node, "Other"));
            QVERIFY(!tree.DeleteNode(node));
            tree.setCurrentIndex(node);
            QVERIFY(!tree.EditSelected());
        }
        // Nor is anything edited in a read-only tree.
        tree.OpenPath(Path("vol/Docs/"));
        tree.SetReadOnly(true);
        QVERIFY(!tree.EditSelected() && !tree.Editing() && FMessages->asked.isEmpty());
        QCOMPARE(Box().Names("vol"), QStringList({"Docs", "Music", "Photo", "Photos"}));
    }

    void addNewNodeMakesNewFolderAndLetsItBeNamed() {
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        QVERIFY(test::Show(tree));
        tree.OpenPath(Path("vol/Docs/"));
        list.SetDirectory(Path("vol/Docs/"));
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        QVERIFY(tree.AddNewNode(tree.currentIndex(), QString()));
        QCOMPARE(Box().Names("vol/Docs"), QStringList({"Letters", "New Folder"}));
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("New Folder"));
        QCOMPARE(QStringList({tree.SelectedPath(), list.Directory()}),
                 QStringList(2, Path("vol/Docs/New Folder/")));
        QCOMPARE(changes.count(), 1);
        // The user names it in place, unasked; the folder it is in is chosen again, in the tree and the list.
        QVERIFY(tree.Editing());
        auto* editor = tree.viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText("Drafts");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(Box().Names("vol/Docs"), QStringList({"Drafts", "Letters"}));
        QVERIFY(FMessages->asked.isEmpty() && changes.count() == 2);
        QCOMPARE(tree.SelectedPath() + " " + list.Directory(), Path("vol/Docs") + " " + Path("vol/Docs/"));
    }

    void addNewNode_data() { test::AddRows(kNewNodes); }
    void addNewNode() {
        QFETCH(int, row);
        const QString node = kNewNodes[row].node, name = kNewNodes[row].folder,
                      before = kNewNodes[row].before;
        TZTDirTree tree;
        if (!node.isEmpty() && node != "-") tree.OpenPath(Path(node));
        const QModelIndex parent = node.isEmpty() ? tree.Nodes()->Root()
                                   : node == "-"  ? QModelIndex()
                                                  : tree.currentIndex();
        if (before == "gone") QVERIFY(QDir(Path(node)).removeRecursively());
        if (before.startsWith("vol")) Box().MakeFolders({before});
        const QStringList folders = Box().Names("vol");
        const bool added = tree.AddNewNode(parent, name);
        QCOMPARE(FMessages->shown.join('|'), QString(kNewNodes[row].shown).replace("@", Path("")));
        QCOMPARE(added, name == "Archive");
        if (added) {
            QCOMPARE(Box().Names("vol"), QStringList({"Archive", "Docs", "Music", "Photo", "Photos"}));
            QCOMPARE(tree.SelectedPath(), Path("vol/Archive/"));
            QVERIFY(!tree.Editing());
            return;
        }
        QCOMPARE(Box().Names("vol"), folders);
        // No numbered name was made, and the next rename still asks.
        QVERIFY(Box().Names("vol/Docs").size() == (before.startsWith("vol") ? 2 : 1) || before == "gone");
        tree.OpenPath(Path("vol/Music/"));
        FMessages->Expect(TAnswer::No);
        QVERIFY(!tree.RenameNode(tree.currentIndex(), "Songs"));
        QCOMPARE(FMessages->asked.size(), 1);
    }

    void deleteNode_data() { test::AddRows(kDeletions); }
    void deleteNode() {
        QFETCH(int, row);
        const QString current = kDeletions[row].current;
        const int answer = kDeletions[row].answer;
        const bool vanished = kDeletions[row].vanished;
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        tree.OpenPath(Path(current));
        list.SetDirectory(Path(current));
        const QModelIndex docs = Child(tree.Nodes(), Drive(tree), "Docs");
        if (current.endsWith("Letters/")) tree.setCurrentIndex(docs);
        if (vanished) QVERIFY(QDir(Path("vol/Docs")).removeRecursively());
        if (answer >= 0) FMessages->Expect(TAnswer(answer));
        const bool deleted = answer == int(TAnswer::Yes);
        QCOMPARE(tree.DeleteNode(docs), deleted);
        QCOMPARE(FMessages->asked.size(), answer >= 0 ? 1 : 0);
        QCOMPARE(FMessages->shown.join('|'),
                 vanished ? "error: " + Path("vol/Docs") + "not found" : QString());
        QCOMPARE(Box().Names("vol").contains("Docs"), !deleted && !vanished);
        if (!deleted) {
            QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("Docs"));
            return;
        }
        QVERIFY(QFileInfo(Box().Trash() + "/Docs/Letters").isDir());
        QVERIFY(!Child(tree.Nodes(), Drive(tree), "Docs").isValid());
        QCOMPARE(tree.currentIndex(), Drive(tree));
        QCOMPARE(list.Directory(), Path("vol/"));
    }

    // "1" for the items that apply: New, Rename, Delete, Tree Size, Folder Contents, Map, Disconnect.
    void menuItemsFollowTheSelectedNode() {
        const char* expected[] = {"0000011", "0000011", "1001111", "1111111"};  // none, root, drive, folder
        for (int level = -1; level <= 2; ++level) {
            TZTDirTree tree;
            if (level == 0) tree.setCurrentIndex(tree.Nodes()->Root());
            if (level == 1) tree.setCurrentIndex(Drive(tree));
            if (level == 2) tree.OpenPath(Path("vol/Photo/"));
            tree.PopupMenu()->UpdateItems();
            QString enabled;
            for (const char* name : {"AddNode", "EditNode", "DelNode", "GetTreeSize", "ShowFolderContents",
                                     "ConnectNetResource", "DisConnectNetResource"})
                enabled += tree.PopupMenu()->Item(name)->isEnabled() ? '1' : '0';
            QCOMPARE(enabled, QString(expected[level + 1]));
        }
    }

    // Tree Size counts the folder and its sub-folders, following no link (one leads back into the tree), not
    // the sibling Photos whose name begins the same; the tree is left at the folder, opened.
    void treeSizeCountsTheFolderAndItsSubFolders() {
        TZTDirTree tree;
        tree.OpenPath(Path("vol/Photo/"));
        QVERIFY(QFile::link(Path("vol/Photo"), Path("vol/Photo/sub/loop")));
        QVERIFY(QFile::link(Path("vol/Photos/c.bin"), Path("vol/Photo/c-link.bin")));
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        tree.GetTreeSize();
        QCOMPARE(FMessages->shown,
                 QStringList({"information: === TREE SIZE ===\n\nFolder \"Photo\"\nand all its "
                              "Sub-Folders  =  3.91 KB"}));
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("Photo"));
        QVERIFY(tree.isExpanded(tree.currentIndex()) && changes.count() == 1);
        WriteSized("vol/Big/huge.bin", qint64(5) << 30);  // sparse, beyond 32 bits
        QCOMPARE(TreeSize(Path("vol/Big")).bytes, qint64(5) << 30);
        QCOMPARE(TreeSizeText(qint64(100000) * 1024, QLocale("en_US")), "97.66 MB");  // above 99999 KB
        QCOMPARE(TreeSizeText(qint64(99999) * 1024, QLocale("de_DE")), "99.999,00 KB");
    }

    // The files of the folder over the tree; a double click opens one, OK reports the selected one and
    // puts the tree back at the folder.
    void folderContentsShowsTheFilesOverTheTree() {
        QList<QUrl> launched;
        SetLauncher([&](const TLaunchRequest& request) {
            launched << request.url;
            return true;
        });
        TZTDirTree tree;
        QVERIFY(test::Show(tree, {300, 240}));
        tree.OpenPath(Path("vol/Photo/"));
        tree.ShowFolderContents();
        QPointer<TDirTreeContents> window = tree.ContentsWindow();
        QVERIFY(window->isVisible() && window->geometry() == tree.rect());
        QCOMPARE(window->Caption(), QStringLiteral("Files in \" /Photo \""));
        QStringList files;
        for (int row = 0; row < window->List()->count(); ++row) files << window->List()->item(row)->text();
        QCOMPARE(files, QStringList({".hidden", "a.bin", "Z.txt"}));
        emit window->List()->itemDoubleClicked(window->List()->item(2));
        QCOMPARE(launched, QList<QUrl>({QUrl::fromLocalFile(Path("vol/Photo/Z.txt"))}));
        QSignalSpy chosen(&tree, &TZTDirTree::OnFileChange);
        window->List()->item(1)->setSelected(true);
        QTest::mouseClick(window->OkButton(), Qt::LeftButton);
        QCOMPARE(chosen.first().at(1).toString() + tree.SelectedFile(), Path("vol/Photo/a.bin").repeated(2));
        QTRY_VERIFY(window.isNull() && tree.ContentsWindow() == nullptr);
        QCOMPARE(tree.SelectedPath(), Path("vol/Photo/"));
        tree.ShowFolderContents();  // without a selection it reports nothing
        tree.ContentsWindow()->Finish();
        QCOMPARE(chosen.count(), 1);
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
        QCOMPARE(QStringList({tree.SelectedPath(), list.Directory(), tree.currentIndex().data().toString()}),
                 QStringList({shown, shown, c.node}));
        QVERIFY(tree.isExpanded(tree.Nodes()->Root()) && changes.isEmpty());
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

    // What gio writes is read: locations as typed, its questions, its list of mounts (local disks left
    // out, a location mounted twice listed once) and the local folder of a location.
    void gioTextsAreRead() {
        QCOMPARE(NetworkLocation(" \\\\host\\share\\dir "), QStringLiteral("smb://host/share/dir"));
        QCOMPARE(GioPromptAt("Authentication Required\nUser [anna]: "), TGioPrompt::User);
        QCOMPARE(GioPromptAt("Can't verify the identity\n[1] Log In Anyway\nChoice: "), TGioPrompt::Other);
        const QString list =
            "    Mount(0): data -> file:///media/anna/data\n"
            "Mount(0): share on server -> smb://server/share/\n"
            "  Type: GDaemonMount\n"
            "Mount(1): anna on host -> sftp://anna@host/\n"
            "Mount(2): share on server -> smb://server/share/\n";
        QCOMPARE(ParseGioMountList(list), QList<TNetworkMount>({{"share on server", "smb://server/share/"},
                                                                {"anna on host", "sftp://anna@host/"}}));
        QCOMPARE(
            ParseGioLocalPath("uri: smb://server/share/\nlocal path: /run/user/1000/gvfs/s\nattributes:\n"),
            QStringLiteral("/run/user/1000/gvfs/s"));
    }
};

QTEST_MAIN(DirTreeCommandsTest)
#include "DirTreeCommandsTest.moc"
