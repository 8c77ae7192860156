// The folder tree and the directory combo as a user meets them: the drives they show, folders read as
// nodes are opened, opening paths, choosing nodes by mouse and keys, the combo's drop-down, and the link
// to a file list in both directions.

#include <algorithm>

#include "DirTreeNavigation.h"
#include "Drives.h"
#include "FileListTestSupport.h"
#include "ShellIcons.h"
#include "ZTDirTree.h"
#include "ZTDirTreeCombo.h"
#include "ZTDirTreeView.h"

using namespace odz;
using test::Child;

namespace {

QModelIndex Drive(const TDirTreeModel* model, int row) {
    return model->index(row, 0, model->Root());
}

// Every node the model has read, depth first.
QModelIndexList Nodes(const TDirTreeModel* model, const QModelIndex& parent = {}) {
    QModelIndexList nodes;
    for (int row = 0; row < model->rowCount(parent); ++row)
        nodes << model->index(row, 0, parent) << Nodes(model, model->index(row, 0, parent));
    return nodes;
}

// The nodes a path is shown under: "vol1/Photos/" is under the root (""), "vol1/" and "vol1/Photos".
QStringList Ancestry(const QString& path) {
    QStringList nodes = {QString()};
    for (const QString& part : path.split('/', Qt::SkipEmptyParts))
        nodes << (nodes.size() == 1   ? part + "/"
                  : nodes.size() == 2 ? nodes.last() + part
                                      : nodes.last() + "/" + part);
    return nodes;
}

// Paths given to OpenPath ("@": the sandbox) and the folder then shown ("" when nothing changes).
const struct {
    const char *name, *path, *selected;
} kOpenedPaths[] = {
    {"with trailing separator", "@/vol1/Photos/", "vol1/Photos/"},
    {"not clean", "@/vol1/./Photos//", "vol1/Photos/"},
    {"a volume", "@/vol2", "vol2/"},
    {"made after its parent was read", "@/vol2/Fresh", "vol2/Fresh/"},
    {"empty", "", ""},
    {"relative", "vol1/Photos", ""},
    {"the root's caption", "Computer", ""},
    {"missing", "@/vol1/Gone/", ""},
    {"a file", "@/vol1/file.txt", ""},
    {"outside every volume", "@/", ""},
};

const int kDown = Qt::Key_Down, kUp = Qt::Key_Up, kLeft = Qt::Key_Left, kRight = Qt::Key_Right;
const struct {
    const char* name;
    const char* open;   // a folder opened first
    const char* start;  // the node made current then ("-": none, "": the root)
    QList<int> keys;
    const char* current;
    QStringList expanded;  // below the root
} kComboKeys[] = {
    {"down the drives", "", "", {kDown, kDown}, "vol1/", {}},
    {"up", "", "vol1/", {kUp}, "stick/", {}},
    {"right opens, down enters", "", "vol1/", {kRight, kDown}, "vol1/.hidden", {"vol1/"}},
    {"left closes and moves up", "vol2/Work/", "-", {kLeft}, "vol2/", {"vol2/"}},
    {"left closes the branch", "vol2/Work/x/", "vol2/", {kLeft}, "vol1/", {}},
};

}  // namespace

class DirTreeTest : public QObject, protected test::TExplorerFixture {
    Q_OBJECT

private:
    // A node's path relative to the sandbox ("" for the root, "vol1/" for a drive).
    QString RelPath(const TDirTreeModel* model, const QModelIndex& node) const {
        return FBox->Relative(model->PathOfNode(node));
    }
    QModelIndex NodeAt(const TDirTreeModel* model, const QString& path) const {
        const QModelIndexList nodes = Nodes(model);
        return *std::find_if(nodes.begin(), nodes.end(),
                             [&](const QModelIndex& node) { return RelPath(model, node) == path; });
    }
    // What is chosen: the path and the list's folder (relative to the sandbox), and how many choices.
    QString Chosen(const QString& path, const TZTFilelistView& list, const QSignalSpy& changes) const {
        return FBox->Relative(path) + " " + FBox->Relative(list.Directory()) + " " +
               QString::number(changes.count());
    }
    QStringList Expanded(const QTreeView& view, const TDirTreeModel* model) const {
        QStringList paths;
        for (const QModelIndex& node : Nodes(model))
            if (view.isExpanded(node)) paths << RelPath(model, node);
        return paths;
    }

private slots:
    void init() {
        Begin();
        Box().SetDrives({{"stick", "STICK", kDriveRemovable},
                         {"vol1", "Data (main)", kDriveFixed},
                         {"vol2", "Fixed Disk", kDriveFixed}});
        Box().MakeFolders({"vol1/Photos/Summer", "vol1/Photo", "vol1/beta", "vol1/Other/Deep", "vol1/.hidden",
                           "vol2/Work/x"});
        Box().Write("vol1/file.txt");
    }
    void cleanup() {
        CheckAnswered();
        Release();
    }

    void nodesAreReadAsTheyAreOpened() {
        Box().Link(Path("vol1/Photos"), Path("vol1/link"));
        TDirTreeModel model;
        model.Reload();
        QCOMPARE(test::Captions(&model, model.Root()),
                 QStringList({" (" + Path("stick") + ")  STICK", " (" + Path("vol1") + ")  Data ",
                              " (" + Path("vol2") + ")  Fixed Disk"}));
        // Drives show their expand button before anything is read.
        QVERIFY(model.hasChildren(Drive(&model, 2)) && model.rowCount(Drive(&model, 2)) == 0);
        const QModelIndex vol1 = Drive(&model, 1);
        model.fetchMore(vol1);
        // Sorted without regard to case, hidden and linked folders included, files left out.
        QCOMPARE(test::Captions(&model, vol1),
                 QStringList({".hidden", "beta", "link", "Other", "Photo", "Photos"}));
        QCOMPARE(model.PathOfNode(Child(&model, vol1, "link")), Path("vol1/link"));
        // One level below is only looked at: "Photos" has sub-folders, "Photo" none, neither is read.
        const QModelIndex photos = Child(&model, vol1, "Photos");
        QVERIFY(model.hasChildren(photos));
        QVERIFY(!model.hasChildren(Child(&model, vol1, "Photo")));
        QCOMPARE(model.rowCount(photos), 0);
        model.LoadFolders(photos);
        QCOMPARE(test::Captions(&model, photos), QStringList({"Summer"}));
        QCOMPARE(model.rowCount(Drive(&model, 2)), 0);
        // The selected node shows its open image.
        const auto image = [&] { return model.data(photos, Qt::DecorationRole).value<QIcon>().cacheKey(); };
        model.SetSelectedNode(photos);
        QCOMPARE(image(), ShellIcon(model.Node(photos)->SelectedImageIndex()).cacheKey());
        // A drive without folders loses its expand button once read.
        model.LoadFolders(Drive(&model, 0));
        QVERIFY(!model.hasChildren(Drive(&model, 0)));
        // Reading again adds nothing, until the node is read anew.
        Box().MakeFolders({"vol1/later"});
        model.LoadFolders(vol1);
        QCOMPARE(model.rowCount(vol1), 6);
        model.RefreshFolders(vol1);
        QCOMPARE(test::Captions(&model, vol1),
                 QStringList({".hidden", "beta", "later", "link", "Other", "Photo", "Photos"}));
        // Paths come from the nodes: captions are only shown (a drive's holds blanks and brackets).
        const QModelIndex folder = Child(&model, vol1, "Photos");
        for (const QModelIndex& node : {vol1, folder})
            model.itemFromIndex(node)->setText(" (X:)  Something (else)");
        QCOMPARE(model.PathOfNode(folder), Path("vol1/Photos"));
        QCOMPARE(model.PathOfNode(vol1), Box().Folder("vol1"));
        QCOMPARE(model.PathOfNode(model.Root()), QString());
    }

    // Both the tree and the combo open a folder only: expanded along its path and nothing else.
    void openPath_data() { test::AddRows(kOpenedPaths); }
    void openPath() {
        QFETCH(int, row);
        const QString path = QString(kOpenedPaths[row].path).replace("@", Path("")),
                      selected = kOpenedPaths[row].selected;
        Box().MakeFolders({"x"});
        QVERIFY(QDir::setCurrent(Path("")));  // relative names would be found from here
        TZTDirTree tree;
        TZTDirTreeCombo combo;
        tree.OpenPath(Path("vol2/Work/"));
        combo.OpenPath(Path("vol2/Work"));
        Box().MakeFolders({"vol2/Fresh"});
        QSignalSpy treeChanges(&tree, &TZTDirTree::OnDirChange);
        QSignalSpy comboChanges(&combo, &TZTDirTreeCombo::OnPathChange);
        tree.OpenPath(path);
        combo.OpenPath(path);
        const QString shown = selected.isEmpty() ? "vol2/Work/" : selected;
        QCOMPARE(tree.SelectedPath(), Path(shown));
        QCOMPARE(combo.SelectedPath(), Path(shown));
        for (const QSignalSpy* changes : {&treeChanges, &comboChanges}) {
            QCOMPARE(changes->count(), selected.isEmpty() ? 0 : 1);
            if (!selected.isEmpty()) QCOMPARE(changes->first().at(1).toString(), Path(selected));
        }
        const QStringList nodes = Ancestry(shown);
        const TDirTreeModel* dropDown = combo.Tree()->Nodes();
        QCOMPARE(RelPath(tree.Nodes(), tree.currentIndex()), nodes.last());
        QCOMPARE(RelPath(dropDown, combo.Tree()->currentIndex()), nodes.last());
        if (!selected.isEmpty()) {
            QCOMPARE(Expanded(tree, tree.Nodes()), nodes);
            QCOMPARE(Expanded(*combo.Tree(), dropDown), nodes);
        }
        QCOMPARE(combo.Text(), combo.Tree()->currentIndex().data().toString());
        QVERIFY(!combo.Icon().isNull());
    }

    void theInnermostVolumeHoldsThePath() {
        const QString inner = Box().Folder("vol2");
        TDirTreeModel::SetDriveSource([inner] {
            return QList<TDrive>{{"/", "Fixed Disk", kDriveFixed}, {inner, "Inner", kDriveFixed}};
        });
        TZTDirTree tree;
        tree.OpenPath("/");  // one character long, and still a volume
        QCOMPARE(tree.currentIndex(), Drive(tree.Nodes(), 0));
        QCOMPARE(tree.SelectedPath(), QStringLiteral("/"));
        tree.OpenPath(Path("vol2/Work/x"));
        QCOMPARE(tree.Nodes()->Level(tree.currentIndex()), 3);
        QCOMPARE(tree.currentIndex().parent().parent(), Drive(tree.Nodes(), 1));
    }

    void mouseChoosesNodesByTheirCaptions() {
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        QVERIFY(test::Show(tree, {600, 300}));
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        const auto chosen = [&] { return Chosen(tree.SelectedPath(), list, changes); };
        const auto click = [&](const QPoint& at, Qt::MouseButton button = Qt::LeftButton) {
            QTest::mouseClick(tree.viewport(), button, {}, at);
        };
        const QModelIndex vol1 = Drive(tree.Nodes(), 1);
        // Beside the short root caption, with the right button, and on the expand button: nothing is chosen.
        click({tree.viewport()->width() - 10, tree.visualRect(tree.Nodes()->Root()).center().y()});
        click(NodeLabelCenter(&tree, vol1), Qt::RightButton);
        const QRect row = tree.visualRect(vol1);
        click({row.left() - tree.indentation() / 2, row.center().y()});
        QVERIFY(tree.isExpanded(vol1));
        QCOMPARE(chosen(), QStringLiteral(" Drives 0"));
        // A click on a caption gives the path without the trailing separator.
        click(NodeLabelCenter(&tree, vol1));
        click(NodeLabelCenter(&tree, Child(tree.Nodes(), vol1, "Photos")));
        QCOMPARE(chosen(), QStringLiteral("vol1/Photos vol1/Photos/ 2"));
        click(NodeLabelCenter(&tree, tree.Nodes()->Root()));  // which stands for the drive list
        QCOMPARE(chosen(), QStringLiteral("Drives Drives 3"));
        const QPoint over = NodeLabelCenter(&tree, Drive(tree.Nodes(), 0));
        // A removable drive without its medium is not shown.
        QVERIFY(QDir(Path("stick")).removeRecursively());
        click(over);
        QCOMPARE(Chosen({}, list, changes), QStringLiteral(" Drives 3"));
        QCOMPARE(FMessages->shown.size(), 1);
        QVERIFY(FMessages->shown.first().startsWith("warning: There is no disk in Drive " + Path("stick")));
    }

    void arrowKeysChooseTheNodeMovedTo() {
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        QVERIFY(test::Show(tree));
        tree.setFocus();
        tree.setCurrentIndex(Drive(tree.Nodes(), 0));
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        const auto chosen = [&] { return Chosen(tree.SelectedPath(), list, changes); };
        QTest::keyClick(&tree, Qt::Key_Down);
        QCOMPARE(chosen(), QStringLiteral("vol1/ vol1/ 1"));
        QTest::keyClick(&tree, Qt::Key_Right);  // expands, reading its folders
        QVERIFY(tree.isExpanded(Drive(tree.Nodes(), 1)));
        QTest::keyClick(&tree, Qt::Key_Right);  // to the first folder
        QCOMPARE(chosen(), QStringLiteral("vol1/.hidden vol1/.hidden/ 3"));
        // Keys that leave the selection choose nothing; those that move it choose the node moved to.
        QTest::keyClick(&tree, Qt::Key_Escape);
        QTest::keyClick(&tree, Qt::Key_Home);
        QCOMPARE(chosen(), QStringLiteral("Drives Drives 4"));
    }

    // The combo's box moves the closed tree's selection; nothing is chosen until Enter.
    void comboKeysMoveTheHiddenSelection_data() { test::AddRows(kComboKeys); }
    void comboKeysMoveTheHiddenSelection() {
        QFETCH(int, row);
        const auto& c = kComboKeys[row];
        TZTDirTreeCombo combo;
        TZTDirTreeView* tree = combo.Tree();
        if (*c.open) combo.OpenPath(Path(c.open));
        if (QString(c.start) != "-") tree->setCurrentIndex(NodeAt(tree->Nodes(), c.start));
        QSignalSpy changes(&combo, &TZTDirTreeCombo::OnPathChange);
        for (int key : c.keys) QTest::keyClick(combo.Edit(), Qt::Key(key));
        QCOMPARE(RelPath(tree->Nodes(), tree->currentIndex()), QString(c.current));
        QCOMPARE(Expanded(*tree, tree->Nodes()), QStringList({""}) + c.expanded);
        QVERIFY(tree->currentIndex().isValid() && !combo.DroppedDown());
        QCOMPARE(changes.count(), 0);
    }

    void comboDropDown() {
        TZTFilelistView list;
        QWidget window;
        auto* combo = new TZTDirTreeCombo(&window);
        auto* elsewhere = new QWidget(&window);
        combo->SetFileList(&list);
        combo->move(10, 10);
        elsewhere->setGeometry(10, 300, 100, 50);
        QVERIFY(test::Show(window, {400, 400}));
        TZTDirTreeView* tree = combo->Tree();
        const TDirTreeModel* nodes = tree->Nodes();
        QSignalSpy changes(combo, &TZTDirTreeCombo::OnPathChange);
        // Below the box; the button and F4 open and close it alike, Escape closes it.
        combo->Btn()->click();
        QVERIFY(tree->isEnabled());
        QCOMPARE(tree->geometry().topLeft(), combo->mapToGlobal(QPoint(0, combo->height())));
        QTest::keyClick(combo->Edit(), Qt::Key_F4);
        QVERIFY(!tree->isVisible() && !tree->isEnabled());
        QTest::keyClick(combo->Edit(), Qt::Key_F4);
        QTest::keyClick(tree, Qt::Key_Escape);
        QVERIFY(!combo->DroppedDown());
        // A click on a node chooses it, the root standing for the drive list; so does Enter, in the open
        // tree and in the box. The box, the path, the list and the count of choices agree.
        const auto shown = [&] {
            return QStringList({Box().Relative(combo->SelectedPath()), combo->Text(),
                                Box().Relative(list.Directory()), QString::number(changes.count())});
        };
        const auto clickOn = [&](const QModelIndex& node) {
            if (!combo->DroppedDown()) combo->DropDown();
            QVERIFY(QTest::qWaitForWindowExposed(tree));
            QTest::mouseClick(tree->windowHandle(), Qt::LeftButton, {},
                              tree->viewport()->mapTo(tree, NodeLabelCenter(tree, node)));
            QTRY_VERIFY(!combo->DroppedDown());
        };
        const QString vol1 = Drive(nodes, 1).data().toString(), vol2 = Drive(nodes, 2).data().toString();
        clickOn(Drive(nodes, 2));
        QCOMPARE(shown(), QStringList({"vol2/", vol2, "vol2/", "1"}));
        QCOMPARE(changes.first().at(1).toString(), Path("vol2/"));
        clickOn(nodes->Root());
        QCOMPARE(shown(), QStringList({"Drives", "Computer", "Drives", "2"}));
        combo->DropDown();
        tree->setCurrentIndex(Drive(nodes, 1));
        QTest::keyClick(tree, Qt::Key_Return);
        QCOMPARE(shown(), QStringList({"vol1/", vol1, "vol1/", "3"}));
        tree->setCurrentIndex(Drive(nodes, 2));
        QTest::keyClick(combo->Edit(), Qt::Key_Return);
        QCOMPARE(shown(), QStringList({"vol2/", vol2, "vol2/", "4"}));
        // A removable drive without its medium is not chosen.
        QVERIFY(QDir(Path("stick")).removeRecursively());
        tree->setCurrentIndex(Drive(nodes, 0));
        QTest::keyClick(combo->Edit(), Qt::Key_Return);
        QVERIFY(FMessages->shown.join('|').startsWith("warning: There is no disk in Drive " + Path("stick")));
        QCOMPARE(shown(), QStringList({"vol2/", vol2, "vol2/", "4"}));
        // A click outside, or on the button while open, only closes it: real clicks, seen by it first.
        for (const QPoint& at :
             {elsewhere->geometry().center(), combo->Btn()->mapTo(&window, QPoint(5, 5))}) {
            combo->DropDown();
            QVERIFY(combo->DroppedDown());
            QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, at);
            QTRY_VERIFY(!combo->DroppedDown());
            QCoreApplication::processEvents();
            QVERIFY(!combo->DroppedDown() && !tree->isEnabled());
        }
    }

    // Linked from either side, tree or combo and list know each other; the list shows what was chosen
    // and the tree what was opened in the list; a partner that goes away is forgotten.
    void linkToTheList_data() {
        QTest::addColumn<bool>("combo");
        QTest::newRow("tree") << false;
        QTest::newRow("combo") << true;
    }
    void linkToTheList() {
        QFETCH(bool, combo);
        TZTDirTree tree;
        TZTDirTreeCombo box;
        TFileListLink* link = combo ? static_cast<TFileListLink*>(&box) : &tree;
        const auto linkOf = [&](const TZTFilelistView& list) {
            return combo ? list.DirTreeCombo() : list.DirTree();
        };
        const auto listOf = [&] { return combo ? box.FileList() : tree.FileList(); };
        const auto setList = [&](TZTFilelistView* list) {
            combo ? box.SetFileList(list) : tree.SetFileList(list);
        };
        const auto selected = [&] { return combo ? box.SelectedPath() : tree.SelectedPath(); };
        TZTFilelistView list, other;
        link->OpenPath(Path("vol2/Work/"));
        setList(&list);
        QVERIFY(linkOf(list) == link && listOf() == &list && list.Directory() == Path("vol2/Work/"));
        // Another list takes it over; the first lets go, and letting go again changes nothing.
        setList(&other);
        QVERIFY(linkOf(list) == nullptr && linkOf(other) == link && listOf() == &other);
        combo ? list.SetDirTreeCombo(nullptr) : list.SetDirTree(nullptr);
        QVERIFY(listOf() == &other);
        combo ? list.SetDirTreeCombo(link) : list.SetDirTree(link);
        QVERIFY(listOf() == &list && linkOf(other) == nullptr);
        // A folder opened in the list shows in the tree.
        list.SetDirectory(Path("vol1/"));
        test::Select(list, {"Photos"});
        list.OpenSelected();
        QCOMPARE(list.Directory() + selected(), Path("vol1/Photos/").repeated(2));
        QCOMPARE(combo ? box.Text() : tree.currentIndex().data().toString(), QStringLiteral("Photos"));
        // Writing SelectedPath shows it in the list from the combo; the tree only stores it.
        combo ? box.SetSelectedPath(Path("vol2/")) : tree.SetSelectedPath(Path("vol2/"));
        QCOMPARE(selected() + list.Directory(),
                 Path("vol2/") + (combo ? Path("vol2/") : Path("vol1/Photos/")));
        {
            TZTFilelistView gone;
            setList(&gone);
        }
        QVERIFY(listOf() == nullptr);
        link->OpenPath(Path("vol1/"));  // nothing to follow it, nothing to crash
        QCOMPARE(selected(), Path("vol1/"));
        combo ? TZTDirTreeCombo().SetFileList(&other) : TZTDirTree().SetFileList(&other);
        QVERIFY(linkOf(other) == nullptr);
    }

    // A network volume wherever it is mounted; removable media only under /media itself.
    void volumeTypesAndSizes() {
        const std::tuple<const char*, const char*, TDriveType> volumes[] = {
            {"cifs", "/media/share", kDriveRemote},
            {"NFS", "/mnt/share", kDriveRemote},
            {"vfat", "/media/anna/STICK", kDriveRemovable},
            {"ext4", "/mediafiles", kDriveFixed},
            {"iso9660", "/media/anna/DISC", kDriveCdRom}};
        for (const auto& [type, root, expected] : volumes)
            QVERIFY2(ClassifyVolume(type, root) == expected, type);
        QCOMPARE(DiskSizeKB(Path("")), QStorageInfo(Path("")).bytesTotal() / 1024);
        QVERIFY(DiskSizeKB(Path("gone/deeper")) == 0 && DriveTypeText(Path("gone")) == "Not exist");
    }

    // Whether a drive can be used, and what is said when it cannot ("@" stands for the sandbox).
    void diskInDrive() {
        const QString noDisk = "warning: There is no disk in Drive @\nor Drive @: is not ready";
        const std::tuple<const char*, bool, bool, QString> cases[] = {
            {"@", true, true, ""},
            {"@/gone/", true, false, QString(noDisk).replace("@", "@/gone")},
            {"C", true, false, "error: Not a valid Drive ID|" + QString(noDisk).replace("@", "C")},
            {"", false, false, "error: Not a valid Drive ID"}};
        for (const auto& [drive, showMessage, ready, shown] : cases) {
            FMessages->shown.clear();
            QCOMPARE(DiskInDrive(QString(drive).replace("@", Path("")), showMessage), ready);
            QCOMPARE(FMessages->shown.join('|'), QString(shown).replace("@", Path("")));
        }
        QVERIFY(FMessages->asked.isEmpty());
    }
};

QTEST_MAIN(DirTreeTest)
#include "DirTreeTest.moc"
