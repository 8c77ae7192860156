// The folder tree's context menu: its items and when they apply, Tree Size, and the folder-contents
// window.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "DirTreeContents.h"
#include "DirTreeModel.h"
#include "DirTreeSize.h"
#include "ExecuteFile.h"
#include "ScriptedMessages.h"
#include "ZTDirTree.h"
#include "ZTDirTreePopUp.h"

using namespace odz;

class DirTreeCommandsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<test::TScriptedMessages> FMessages;
    QList<TLaunchRequest> FLaunched;

    QString Path(const QString& relative) const { return FDir->path() + QLatin1Char('/') + relative; }
    void Write(const QString& relative, qint64 size) {
        QVERIFY(QDir().mkpath(QFileInfo(Path(relative)).path()));
        QFile file(Path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(size));
    }
    static QModelIndex Drive(const TZTDirTree& tree) {
        return tree.Nodes()->index(0, 0, tree.Nodes()->Root());
    }
    static bool Show(QWidget& widget) {
        widget.resize(300, 240);
        widget.show();
        return QTest::qWaitForWindowExposed(&widget);
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::system()); }
    void init() {
        FDir = std::make_unique<QTemporaryDir>();
        QVERIFY(FDir->isValid());
        Write("vol/Photo/a.bin", 1000);
        Write("vol/Photo/sub/b.bin", 3000);
        Write("vol/Photo/.hidden", 0);
        Write("vol/Photo/Z.txt", 0);
        Write("vol/Photos/c.bin", 50000);
        const QString root = FDir->path();
        TDirTreeModel::SetDriveSource([root] {
            return QList<TDrive>{{root + "/vol/", "Fixed Disk", kDriveFixed}};
        });
        FMessages = std::make_unique<test::TScriptedMessages>();
        FLaunched.clear();
        SetLauncher([this](const TLaunchRequest& request) {
            FLaunched << request;
            return true;
        });
    }
    void cleanup() {
        SetLauncher({});
        TDirTreeModel::SetDriveSource({});
        FMessages.reset();
        FDir.reset();
    }

    void menuItems() {
        TZTDirTree tree;
        TZTDirTreePopUp* menu = tree.PopupMenu();
        QVERIFY(menu);
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.size(), 9);
        const QStringList captions = {"&New Folder",
                                      "&Rename Folder",
                                      "&Delete Folder",
                                      "",
                                      "&Tree Size",
                                      "&Folder Contents",
                                      "",
                                      "&Map Network Drive",
                                      "Di&sConnect Network Drive"};
        const QStringList names = {"AddNode", "EditNode",           "DelNode",
                                   "",        "GetTreeSize",        "ShowFolderContents",
                                   "",        "ConnectNetResource", "DisConnectNetResource"};
        for (int i = 0; i < actions.size(); ++i) {
            QCOMPARE(actions[i]->isSeparator(), names[i].isEmpty());
            if (names[i].isEmpty()) continue;
            QCOMPARE(actions[i]->text(), captions[i]);
            QCOMPARE(actions[i]->objectName(), names[i]);
            QVERIFY(actions[i]->shortcut().isEmpty());
            QVERIFY2(!actions[i]->icon().isNull(), qPrintable(names[i]));
            QCOMPARE(menu->Item(names[i]), actions[i]);
        }
    }

    void menuBitmapsAreTheProgramsResources_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"NewFolder28", "EditFolder28", "DelFolder28", "TreeSize28", "DirContents28",
                                 "NetConnect28", "NetDisConnect28"})
            QTest::newRow(name) << name;
    }
    void menuBitmapsAreTheProgramsResources() {
        QFETCH(QString, name);
        const QPixmap bitmap(":/" + name);
        QVERIFY(!bitmap.isNull());
        QCOMPARE(bitmap.size(), QSize(16, 16));
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

    void menuShowsBesideTheRequestedPoint() {
        TZTDirTree tree;
        QVERIFY(Show(tree));
        tree.setCurrentIndex(Drive(tree));
        const QPoint global = tree.viewport()->mapToGlobal(QPoint(20, 20));
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20), global);
        QApplication::sendEvent(tree.viewport(), &event);
        TZTDirTreePopUp* menu = tree.PopupMenu();
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
    }

    void menuCommandsRunOnTheSelectedNode() {
        TZTDirTree tree;
        QVERIFY(Show(tree));
        tree.OpenPath(Path("vol/Photos/"));
        tree.PopupMenu()->Item("AddNode")->trigger();
        QVERIFY(QFileInfo(Path("vol/Photos/New Folder")).isDir());
        QVERIFY(tree.Editing());
    }

    void treeSizeCountsTheFolderAndItsSubFoldersOnly() {
        TZTDirTree tree;
        tree.OpenPath(Path("vol/Photo/"));
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        tree.GetTreeSize();
        // 1000 + 3000 bytes; the sibling Photos, whose name begins the same, is not counted.
        QCOMPARE(
            FMessages->shown,
            QStringList(
                "information: === TREE SIZE ===\n\nFolder \"Photo\"\nand all its Sub-Folders  =  3.91 KB"));
        // The tree is left at the folder, opened.
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("Photo"));
        QVERIFY(tree.isExpanded(tree.currentIndex()));
        QCOMPARE(tree.SelectedPath(), Path("vol/Photo/"));
        QCOMPARE(changes.count(), 1);
    }

    void treeSizeOfADrive() {
        TZTDirTree tree;
        tree.setCurrentIndex(Drive(tree));
        tree.GetTreeSize();
        QCOMPARE(FMessages->shown, QStringList("information: === TREE SIZE ===\n\nDrive " + Path("vol/") +
                                               "\nand all its Sub-Folders  =  52.73 KB"));
    }

    void treeSizeDoesNotFollowLinks() {
        QVERIFY(QFile::link(Path("vol/Photo"), Path("vol/Photo/sub/loop")));
        QVERIFY(QFile::link(Path("vol/Photos/c.bin"), Path("vol/Photo/c-link.bin")));
        const TTreeSize size = TreeSize(Path("vol/Photo"));
        QCOMPARE(size.bytes, 4000);
        QCOMPARE(size.unreadableFolders, 0);
    }

    void treeSizeText_data() {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing") << qint64(0) << "en_US"
                                 << "0.00 KB";
        QTest::newRow("one byte") << qint64(1) << "en_US"
                                  << "1.00 KB";
        QTest::newRow("1023 bytes") << qint64(1023) << "en_US"
                                    << "1.00 KB";
        QTest::newRow("one and a half KB") << qint64(1536) << "en_US"
                                           << "1.50 KB";
        QTest::newRow("99999 KB") << qint64(99999) * 1024 << "en_US"
                                  << "99,999.00 KB";
        QTest::newRow("above 99999 KB in MB") << qint64(100000) * 1024 << "en_US"
                                              << "97.66 MB";
        QTest::newRow("beyond 32 bits") << (qint64(5) << 30) << "en_US"
                                        << "5,120.00 MB";
        QTest::newRow("German separators") << qint64(99999) * 1024 << "de_DE"
                                           << "99.999,00 KB";
        QTest::newRow("German one byte") << qint64(1) << "de_DE"
                                         << "1,00 KB";
    }
    void treeSizeText() {
        QFETCH(qint64, bytes);
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QCOMPARE(TreeSizeText(bytes, QLocale(locale)), text);
    }

    void treeSizeIsSixtyFourBits() {
        Write("vol/Big/huge.bin", qint64(5) << 30);  // sparse
        const TTreeSize size = TreeSize(Path("vol/Big"));
        QCOMPARE(size.bytes, qint64(5) << 30);
    }

    void folderContentsShowsTheFilesOverTheTree() {
        TZTDirTree tree;
        QVERIFY(Show(tree));
        tree.OpenPath(Path("vol/Photo/"));
        tree.ShowFolderContents();
        TDirTreeContents* window = tree.ContentsWindow();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->geometry(), tree.rect());
        QCOMPARE(window->Caption(), QStringLiteral("Files in \" /Photo \""));
        QCOMPARE(window->OkButton()->text(), QStringLiteral("&OK"));
        // The button is whole: inside what holds it, and as large as it needs to be.
        QPushButton* ok = window->OkButton();
        QVERIFY(ok->parentWidget()->rect().contains(ok->geometry()));
        QVERIFY(window->rect().contains(QRect(ok->mapTo(window, QPoint()), ok->size())));
        QVERIFY(ok->height() >= ok->sizeHint().height());
        QCOMPARE(window->List()->toolTip(), QStringLiteral("LeftClick - Select\nDblClick  - Open"));
        QStringList files;
        for (int row = 0; row < window->List()->count(); ++row) files << window->List()->item(row)->text();
        QCOMPARE(files, QStringList({".hidden", "a.bin", "Z.txt"}));
        QCOMPARE(window->List()->currentRow(), 0);
        QVERIFY(window->List()->selectedItems().isEmpty());
        // The tree under it was collapsed.
        QVERIFY(!tree.isExpanded(tree.Nodes()->Root()));
        // It follows the tree's size.
        tree.resize(320, 260);
        QCOMPARE(window->geometry(), tree.rect());
    }

    void folderContentsOfADrive() {
        TZTDirTree tree;
        tree.setCurrentIndex(Drive(tree));
        tree.ShowFolderContents();
        QVERIFY(tree.ContentsWindow());
        QCOMPARE(tree.ContentsWindow()->Caption(), "Files in \" " + Path("vol/") + " \"");
        QCOMPARE(tree.ContentsWindow()->List()->count(), 0);
    }

    void folderContentsOkReportsTheSelectedFile() {
        TZTDirTree tree;
        QVERIFY(Show(tree));
        tree.OpenPath(Path("vol/Photo/"));
        tree.ShowFolderContents();
        QPointer<TDirTreeContents> window = tree.ContentsWindow();
        QSignalSpy files(&tree, &TZTDirTree::OnFileChange);
        window->List()->item(1)->setSelected(true);
        QTest::mouseClick(window->OkButton(), Qt::LeftButton);
        QCOMPARE(files.count(), 1);
        QCOMPARE(files.first().at(1).toString(), Path("vol/Photo/a.bin"));
        QCOMPARE(tree.SelectedFile(), Path("vol/Photo/a.bin"));
        QVERIFY(tree.ContentsWindow() == nullptr);
        QTRY_VERIFY(window.isNull());
        // The tree is back at the folder.
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("Photo"));
        QCOMPARE(tree.SelectedPath(), Path("vol/Photo/"));
    }

    void folderContentsOkWithoutSelection() {
        TZTDirTree tree;
        tree.OpenPath(Path("vol/Photo/"));
        tree.ShowFolderContents();
        QSignalSpy files(&tree, &TZTDirTree::OnFileChange);
        tree.ContentsWindow()->Finish();
        QCOMPARE(files.count(), 0);
        QVERIFY(tree.SelectedFile().isEmpty());
        QVERIFY(tree.ContentsWindow() == nullptr);
    }

    void folderContentsDoubleClickOpensTheFile() {
        TZTDirTree tree;
        QVERIFY(Show(tree));
        tree.OpenPath(Path("vol/Photo/"));
        tree.ShowFolderContents();
        QListWidget* list = tree.ContentsWindow()->List();
        emit list->itemDoubleClicked(list->item(2));
        QCOMPARE(FLaunched.size(), 1);
        QCOMPARE(FLaunched.first().url, QUrl::fromLocalFile(Path("vol/Photo/Z.txt")));
        QVERIFY(tree.ContentsWindow()->isVisible());
    }

    void theRootHasNoSizeAndNoContents() {
        TZTDirTree tree;
        tree.setCurrentIndex(tree.Nodes()->Root());
        tree.GetTreeSize();
        tree.ShowFolderContents();
        QVERIFY(FMessages->shown.isEmpty());
        QVERIFY(tree.ContentsWindow() == nullptr);
    }
};

QTEST_MAIN(DirTreeCommandsTest)
#include "DirTreeCommandsTest.moc"
