// The folder tree's commands: making, renaming and deleting folders (deleted ones go to the sandbox's
// trash), the context menu and when its items apply, Tree Size, and the folder-contents window.

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "DirTreeContents.h"
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

}  // namespace

class DirTreeCommandsTest : public QObject, protected test::TExplorerFixture {
    Q_OBJECT

private:
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
        Box().SetDrives({{"vol", "Fixed Disk", kDriveFixed}});
        Box().MakeFolders({"vol/Docs/Letters", "vol/Music"});
        WriteSized("vol/Photo/a.bin", 1000);
        WriteSized("vol/Photo/sub/b.bin", 3000);
        WriteSized("vol/Photo/.hidden", 0);
        WriteSized("vol/Photo/Z.txt", 0);
        WriteSized("vol/Photos/c.bin", 50000);
    }
    void cleanup() {
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
        QVERIFY(!tree.EditSelected());
        QVERIFY(!tree.Editing());
        QVERIFY(FMessages->asked.isEmpty());
        QCOMPARE(Box().Names("vol"), QStringList({"Docs", "Music", "Photo", "Photos"}));
    }

    void renameInPlace() {
        TZTDirTree tree;
        QVERIFY(test::Show(tree));
        tree.OpenPath(Path("vol/Docs/"));
        QVERIFY(tree.EditSelected());
        auto* editor = tree.viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText("Papers");
        FMessages->Expect(TAnswer::Yes);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(Child(tree.Nodes(), Drive(tree), "Papers").isValid());
        QVERIFY(QFileInfo(Path("vol/Papers")).isDir());
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
        QCOMPARE(tree.SelectedPath(), Path("vol/Docs/New Folder/"));
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("New Folder"));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(list.Directory(), Path("vol/Docs/New Folder/"));  // as the tree shows it
        // The user names it in place, without being asked; the folder it is in is chosen again, in the
        // tree and in the list.
        QVERIFY(tree.Editing());
        auto* editor = tree.viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText("Drafts");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(Box().Names("vol/Docs"), QStringList({"Drafts", "Letters"}));
        QVERIFY(FMessages->asked.isEmpty());
        QCOMPARE(tree.SelectedPath(), Path("vol/Docs"));
        QCOMPARE(list.Directory(), Path("vol/Docs/"));
        QCOMPARE(changes.count(), 2);
        // The next rename asks again.
        tree.OpenPath(Path("vol/Music/"));
        FMessages->Expect(TAnswer::No);
        QVERIFY(!tree.RenameNode(tree.currentIndex(), "Songs"));
        QCOMPARE(FMessages->asked.size(), 1);
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
        if (before.startsWith("vol"))
            QCOMPARE(Box().Names("vol/Docs"), QStringList({"Letters", "New Folder"}));
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

    void menuItemsFollowTheSelectedNode_data() {
        QTest::addColumn<int>("level");  // -1: nothing selected
        QTest::addColumn<QList<bool>>("enabled");
        // New, Rename, Delete, Tree Size, Folder Contents, Map, Disconnect.
        QTest::newRow("nothing selected") << -1 << QList<bool>{false, false, false, false, false, true, true};
        QTest::newRow("root") << 0 << QList<bool>{false, false, false, false, false, true, true};
        QTest::newRow("drive") << 1 << QList<bool>{true, false, false, true, true, true, true};
        QTest::newRow("folder") << 2 << QList<bool>{true, true, true, true, true, true, true};
    }
    void menuItemsFollowTheSelectedNode() {
        QFETCH(int, level);
        QFETCH(QList<bool>, enabled);
        TZTDirTree tree;
        if (level == 0) tree.setCurrentIndex(tree.Nodes()->Root());
        if (level == 1) tree.setCurrentIndex(Drive(tree));
        if (level == 2) tree.OpenPath(Path("vol/Photo/"));
        tree.PopupMenu()->UpdateItems();
        const QStringList names = {"AddNode",
                                   "EditNode",
                                   "DelNode",
                                   "GetTreeSize",
                                   "ShowFolderContents",
                                   "ConnectNetResource",
                                   "DisConnectNetResource"};
        for (int i = 0; i < names.size(); ++i)
            QVERIFY2(tree.PopupMenu()->Item(names[i])->isEnabled() == enabled[i], qPrintable(names[i]));
    }

    void menuShowsBesideThePointAndRunsTheCommands() {
        TZTDirTree tree;
        QVERIFY(test::Show(tree, {300, 240}));
        TZTDirTreePopUp* menu = tree.PopupMenu();
        for (QAction* item : menu->actions()) QVERIFY(item->isSeparator() || !item->icon().isNull());
        tree.setCurrentIndex(Drive(tree));
        const QPoint global = tree.viewport()->mapToGlobal(QPoint(20, 20));
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20), global);
        QApplication::sendEvent(tree.viewport(), &event);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->pos(), global + QPoint(10, 10));
        // Its items were set for the drive when it opened.
        QVERIFY(menu->Item("AddNode")->isEnabled());
        QVERIFY(!menu->Item("DelNode")->isEnabled());
        menu->close();
        // Detached, it does not show.
        tree.SetPopUpMenuEnabled(false);
        QApplication::sendEvent(tree.viewport(), &event);
        QVERIFY(!menu->isVisible());
        // An item runs its command on the selected node.
        tree.OpenPath(Path("vol/Photos/"));
        menu->Item("AddNode")->trigger();
        QVERIFY(QFileInfo(Path("vol/Photos/New Folder")).isDir());
        QVERIFY(tree.Editing());
    }

    void treeSizeCountsTheFolderAndItsSubFolders() {
        TZTDirTree tree;
        tree.setCurrentIndex(tree.Nodes()->Root());  // which has no size and no contents
        tree.GetTreeSize();
        tree.ShowFolderContents();
        QVERIFY(FMessages->shown.isEmpty());
        QVERIFY(tree.ContentsWindow() == nullptr);
        tree.setCurrentIndex(Drive(tree));
        tree.GetTreeSize();
        tree.OpenPath(Path("vol/Photo/"));
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        tree.GetTreeSize();
        // 1000 + 3000 bytes in the folder; the sibling Photos, whose name begins the same, is not counted.
        const QString title = "information: === TREE SIZE ===\n\n";
        QCOMPARE(FMessages->shown,
                 QStringList({title + "Drive " + Path("vol/") + "\nand all its Sub-Folders  =  52.73 KB",
                              title + "Folder \"Photo\"\nand all its Sub-Folders  =  3.91 KB"}));
        // The tree is left at the folder, opened.
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("Photo"));
        QVERIFY(tree.isExpanded(tree.currentIndex()));
        QCOMPARE(tree.SelectedPath(), Path("vol/Photo/"));
        QCOMPARE(changes.count(), 1);
        // Links are not followed (one leads back into the tree); sizes beyond 32 bits are counted.
        QVERIFY(QFile::link(Path("vol/Photo"), Path("vol/Photo/sub/loop")));
        QVERIFY(QFile::link(Path("vol/Photos/c.bin"), Path("vol/Photo/c-link.bin")));
        QCOMPARE(TreeSize(Path("vol/Photo")).bytes, 4000);
        QCOMPARE(TreeSize(Path("vol/Photo")).unreadableFolders, 0);
        WriteSized("vol/Big/huge.bin", qint64(5) << 30);  // sparse
        QCOMPARE(TreeSize(Path("vol/Big")).bytes, qint64(5) << 30);
    }

    void treeSizeText() {
        const struct {
            qint64 bytes;
            const char *locale, *text;
        } sizes[] = {
            {0, "en_US", "0.00 KB"},
            {1, "en_US", "1.00 KB"},
            {1023, "en_US", "1.00 KB"},
            {1536, "en_US", "1.50 KB"},
            {qint64(99999) * 1024, "en_US", "99,999.00 KB"},
            {qint64(100000) * 1024, "en_US", "97.66 MB"},  // above 99999 KB in MB
            {qint64(5) << 30, "en_US", "5,120.00 MB"},     // beyond 32 bits
            {qint64(99999) * 1024, "de_DE", "99.999,00 KB"},
            {1, "de_DE", "1,00 KB"},
        };
        for (const auto& size : sizes) QCOMPARE(TreeSizeText(size.bytes, QLocale(size.locale)), size.text);
    }

    void folderContentsShowsTheFilesOverTheTree() {
        QList<TLaunchRequest> launched;
        SetLauncher([&](const TLaunchRequest& request) {
            launched << request;
            return true;
        });
        TZTDirTree tree;
        QVERIFY(test::Show(tree, {300, 240}));
        tree.setCurrentIndex(Drive(tree));
        tree.ShowFolderContents();
        QCOMPARE(tree.ContentsWindow()->Caption(), "Files in \" " + Path("vol/") + " \"");
        QCOMPARE(tree.ContentsWindow()->List()->count(), 0);
        tree.OpenPath(Path("vol/Photo/"));
        tree.ShowFolderContents();
        QPointer<TDirTreeContents> window = tree.ContentsWindow();
        QVERIFY(window->isVisible());
        QCOMPARE(window->geometry(), tree.rect());
        QCOMPARE(window->Caption(), QStringLiteral("Files in \" /Photo \""));
        // The button is whole: inside what holds it, and as large as it needs to be.
        QPushButton* ok = window->OkButton();
        QVERIFY(ok->parentWidget()->rect().contains(ok->geometry()));
        QVERIFY(window->rect().contains(QRect(ok->mapTo(window, QPoint()), ok->size())));
        QVERIFY(ok->height() >= ok->sizeHint().height());
        QStringList files;
        for (int row = 0; row < window->List()->count(); ++row) files << window->List()->item(row)->text();
        QCOMPARE(files, QStringList({".hidden", "a.bin", "Z.txt"}));
        QCOMPARE(window->List()->currentRow(), 0);
        QVERIFY(window->List()->selectedItems().isEmpty());
        QVERIFY(!tree.isExpanded(tree.Nodes()->Root()));  // the tree under it was collapsed
        tree.resize(320, 260);
        QCOMPARE(window->geometry(), tree.rect());
        // A double click opens a file and leaves the window open.
        emit window->List()->itemDoubleClicked(window->List()->item(2));
        QCOMPARE(launched.size(), 1);
        QCOMPARE(launched.first().url, QUrl::fromLocalFile(Path("vol/Photo/Z.txt")));
        QVERIFY(window->isVisible());
        // OK reports the selected file, closes the window and puts the tree back at the folder.
        QSignalSpy chosen(&tree, &TZTDirTree::OnFileChange);
        window->List()->item(1)->setSelected(true);
        QTest::mouseClick(window->OkButton(), Qt::LeftButton);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.first().at(1).toString(), Path("vol/Photo/a.bin"));
        QCOMPARE(tree.SelectedFile(), Path("vol/Photo/a.bin"));
        QVERIFY(tree.ContentsWindow() == nullptr);
        QTRY_VERIFY(window.isNull());
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("Photo"));
        QCOMPARE(tree.SelectedPath(), Path("vol/Photo/"));
        // Without a selection it reports nothing.
        tree.ShowFolderContents();
        tree.ContentsWindow()->Finish();
        QCOMPARE(chosen.count(), 1);
        QVERIFY(tree.ContentsWindow() == nullptr);
    }
};

QTEST_MAIN(DirTreeCommandsTest)
#include "DirTreeCommandsTest.moc"
