// The folder tree as a user meets it: opening paths, choosing nodes by mouse and keys, and the link to
// a file list in both directions.

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "DirTreeModel.h"
#include "DirTreeNavigation.h"
#include "ScriptedMessages.h"
#include "ZTDirTree.h"
#include "ZTFilelistView.h"

using namespace odz;

class DirTreeTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<test::TScriptedMessages> FMessages;
    QString FCurrent;

    QString Path(const QString& relative) const { return FDir->path() + QLatin1Char('/') + relative; }
    static QModelIndex Find(const TZTDirTree& tree, const QModelIndex& parent, const QString& caption) {
        const TDirTreeModel* model = tree.Nodes();
        for (int row = 0; row < model->rowCount(parent); ++row) {
            const QModelIndex child = model->index(row, 0, parent);
            if (child.data().toString() == caption) return child;
        }
        return {};
    }
    static QModelIndex Drive(const TZTDirTree& tree, int row) {
        return tree.Nodes()->index(row, 0, tree.Nodes()->Root());
    }
    static bool Show(QWidget& widget) {
        widget.show();
        return QTest::qWaitForWindowExposed(&widget);
    }

private slots:
    void init() {
        FDir = std::make_unique<QTemporaryDir>();
        QVERIFY(FDir->isValid());
        for (const char* folder :
             {"vol1/Photos/Summer", "vol1/Photo", "vol1/Other/Deep", "vol2/Work/x", "stick"})
            QVERIFY(QDir().mkpath(Path(folder)));
        const QString root = FDir->path();
        TDirTreeModel::SetDriveSource([root] {
            return QList<TDrive>{{root + "/stick/", "STICK", kDriveRemovable},
                                 {root + "/vol1/", "Fixed Disk", kDriveFixed},
                                 {root + "/vol2/", "Fixed Disk", kDriveFixed}};
        });
        FMessages = std::make_unique<test::TScriptedMessages>();
        FCurrent = QDir::currentPath();
    }
    void cleanup() {
        QDir::setCurrent(FCurrent);
        TDirTreeModel::SetDriveSource({});
        FMessages.reset();
        FDir.reset();
    }

    void initialState() {
        TZTDirTree tree;
        QCOMPARE(tree.size(), QSize(180, 120));
        QCOMPARE(tree.FirstNodeText(), QStringLiteral("Computer"));
        QVERIFY(tree.isExpanded(tree.Nodes()->Root()));
        QCOMPARE(tree.Nodes()->rowCount(tree.Nodes()->Root()), 3);
        QVERIFY(tree.SelectedPath().isEmpty());
        QVERIFY(tree.SelectedFile().isEmpty());
        QVERIFY(tree.PopUpMenuEnabled());
        QCOMPARE(tree.contextMenuPolicy(), Qt::DefaultContextMenu);
        QVERIFY(!tree.ReadOnly());
        QVERIFY(tree.FileList() == nullptr);
        // No folder is read before a drive is opened.
        for (int row = 0; row < 3; ++row) QCOMPARE(tree.Nodes()->rowCount(Drive(tree, row)), 0);
    }

    void openPathExpandsOnlyThePath_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("with trailing separator") << "vol1/Photos/";
        QTest::newRow("without trailing separator") << "vol1/Photos";
        QTest::newRow("not clean") << "vol1/./Photos//";
    }
    void openPathExpandsOnlyThePath() {
        QFETCH(QString, path);
        TZTDirTree tree;
        tree.OpenPath(Path("vol2/Work/"));  // expanded first, collapsed by the next OpenPath
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        tree.OpenPath(Path(path));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.first().at(1).toString(), Path("vol1/Photos/"));
        QCOMPARE(tree.SelectedPath(), Path("vol1/Photos/"));
        const QModelIndex vol1 = Drive(tree, 1);
        const QModelIndex photos = Find(tree, vol1, "Photos");
        QCOMPARE(tree.currentIndex(), photos);
        QVERIFY(tree.isExpanded(tree.Nodes()->Root()));
        QVERIFY(tree.isExpanded(vol1));
        QVERIFY(tree.isExpanded(photos));
        QVERIFY(!tree.isExpanded(Drive(tree, 2)));
        QVERIFY(!tree.isExpanded(Find(tree, Drive(tree, 2), "Work")));
        QVERIFY(!tree.isExpanded(Find(tree, vol1, "Other")));
        // A sibling whose name begins the same is not taken for it.
        QVERIFY(Find(tree, vol1, "Photo") != photos);
    }

    void openPathOfAVolume() {
        TZTDirTree tree;
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        tree.OpenPath(Path("vol2"));
        QCOMPARE(tree.currentIndex(), Drive(tree, 2));
        QCOMPARE(tree.SelectedPath(), Path("vol2/"));
        QCOMPARE(changes.count(), 1);
    }

    void openPathDoesNothingForWhatIsNoFolder_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("empty") << "";
        QTest::newRow("one character") << "x";
        QTest::newRow("relative") << "vol1/Photos";
        QTest::newRow("missing") << "@/vol1/Gone/";
        QTest::newRow("a file") << "@/vol1/file.txt";
        QTest::newRow("outside every volume") << "@/";
    }
    void openPathDoesNothingForWhatIsNoFolder() {
        QFETCH(QString, path);
        if (path.startsWith('@')) path = FDir->path() + path.mid(1);
        QVERIFY(QDir().mkdir(Path("x")));
        QFile file(Path("vol1/file.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        // Relative names would be found from here.
        QVERIFY(QDir::setCurrent(FDir->path()));
        TZTDirTree tree;
        tree.OpenPath(Path("vol2/Work/"));
        const QModelIndex before = tree.currentIndex();
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        tree.OpenPath(path);
        QCOMPARE(changes.count(), 0);
        QCOMPARE(tree.SelectedPath(), Path("vol2/Work/"));
        QCOMPARE(tree.currentIndex(), before);
    }

    void openPathOfTheFileSystemRoot() {
        // "/" is one character long, and still the root volume.
        TDirTreeModel::SetDriveSource([] { return QList<TDrive>{{"/", "Fixed Disk", kDriveFixed}}; });
        TZTDirTree tree;
        tree.OpenPath("/");
        QCOMPARE(tree.currentIndex(), Drive(tree, 0));
        QCOMPARE(tree.SelectedPath(), QStringLiteral("/"));
    }

    void openPathFindsAFolderMadeAfterItsParentWasRead() {
        TZTDirTree tree;
        tree.OpenPath(Path("vol1/"));
        QVERIFY(QDir().mkdir(Path("vol1/Fresh")));
        tree.OpenPath(Path("vol1/Fresh/"));
        QCOMPARE(tree.SelectedPath(), Path("vol1/Fresh/"));
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("Fresh"));
    }

    void theInnermostVolumeHoldsThePath() {
        const QString root = FDir->path();
        TDirTreeModel::SetDriveSource([root] {
            return QList<TDrive>{{root + "/", "Outer", kDriveFixed}, {root + "/vol2/", "Inner", kDriveFixed}};
        });
        TZTDirTree tree;
        tree.OpenPath(Path("vol2/Work/x"));
        QCOMPARE(tree.Nodes()->Level(tree.currentIndex()), 3);
        QCOMPARE(tree.currentIndex().parent().parent(), Drive(tree, 1));
    }

    void clickingANodeShowsItInTheList() {
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        tree.resize(400, 300);
        QVERIFY(Show(tree));
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        const QModelIndex vol1 = Drive(tree, 1);
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, NodeLabelCenter(&tree, vol1));
        QCOMPARE(tree.SelectedPath(), Path("vol1/"));
        QCOMPARE(list.Directory(), Path("vol1/"));
        tree.expand(vol1);
        const QModelIndex photos = Find(tree, vol1, "Photos");
        QVERIFY(photos.isValid());
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, NodeLabelCenter(&tree, photos));
        // A click gives the path without the trailing separator; OpenPath gives it with one.
        QCOMPARE(tree.SelectedPath(), Path("vol1/Photos"));
        QCOMPARE(list.Directory(), Path("vol1/Photos/"));
        QCOMPARE(changes.count(), 2);
        QCOMPARE(changes.last().at(1).toString(), Path("vol1/Photos"));
        // The root stands for the drive list.
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, NodeLabelCenter(&tree, tree.Nodes()->Root()));
        QCOMPARE(tree.SelectedPath(), QStringLiteral("Drives"));
        QCOMPARE(list.Directory(), QStringLiteral("Drives"));
    }

    void clicksBesideTheCaptionsChooseNothing() {
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        tree.resize(600, 300);
        QVERIFY(Show(tree));
        const QModelIndex vol1 = Drive(tree, 1);
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        const QRect row = tree.visualRect(vol1);
        // Far right of the (short) root caption, below the last node, and with the right button.
        const int rootRow = tree.visualRect(tree.Nodes()->Root()).center().y();
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {},
                          QPoint(tree.viewport()->width() - 10, rootRow));
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(20, 290));
        QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, NodeLabelCenter(&tree, vol1));
        QCOMPARE(changes.count(), 0);
        QVERIFY(tree.currentIndex() != vol1);
        QCOMPARE(list.Directory(), QStringLiteral("Drives"));
        // The expand button opens the drive without choosing it.
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {},
                          QPoint(row.left() - tree.indentation() / 2, row.center().y()));
        QVERIFY(tree.isExpanded(vol1));
        QCOMPARE(changes.count(), 0);
    }

    void draggingOverNodesMovesNothing() {
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        tree.resize(400, 300);
        QVERIFY(Show(tree));
        const QModelIndex vol1 = Drive(tree, 1);
        QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, NodeLabelCenter(&tree, vol1));
        QMouseEvent move(QEvent::MouseMove, NodeLabelCenter(&tree, Drive(tree, 2)),
                         tree.viewport()->mapToGlobal(NodeLabelCenter(&tree, Drive(tree, 2))), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tree.viewport(), &move);
        QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, NodeLabelCenter(&tree, Drive(tree, 2)));
        QCOMPARE(tree.currentIndex(), vol1);
        QCOMPARE(list.Directory(), Path("vol1/"));
    }

    void arrowKeysChooseTheNodeMovedTo() {
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        tree.resize(400, 300);
        QVERIFY(Show(tree));
        tree.setFocus();
        tree.setCurrentIndex(Drive(tree, 0));
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        QTest::keyClick(&tree, Qt::Key_Down);
        QCOMPARE(tree.currentIndex(), Drive(tree, 1));
        QCOMPARE(tree.SelectedPath(), Path("vol1/"));
        QCOMPARE(list.Directory(), Path("vol1/"));
        QTest::keyClick(&tree, Qt::Key_Right);  // expands, reading its folders
        QVERIFY(tree.isExpanded(Drive(tree, 1)));
        QTest::keyClick(&tree, Qt::Key_Right);  // to the first folder
        QCOMPARE(tree.SelectedPath(), Path("vol1/Other"));
        QCOMPARE(list.Directory(), Path("vol1/Other/"));
        QCOMPARE(changes.count(), 3);
        // Keys that leave the selection where it is choose nothing; others that move it choose the node
        // moved to, so the list never shows another folder than the tree.
        QTest::keyClick(&tree, Qt::Key_Escape);
        QCOMPARE(changes.count(), 3);
        QTest::keyClick(&tree, Qt::Key_Home);
        QCOMPARE(changes.count(), 4);
        QCOMPARE(list.Directory(), QStringLiteral("Drives"));
    }

    void aRemovableDriveWithoutMediumIsNotShown() {
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        tree.resize(400, 300);
        QVERIFY(Show(tree));
        QVERIFY(QDir(Path("stick")).removeRecursively());  // the medium was taken out
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, NodeLabelCenter(&tree, Drive(tree, 0)));
        QCOMPARE(FMessages->shown.size(), 1);
        QVERIFY(FMessages->shown.first().startsWith("warning: There is no disk in Drive " + Path("stick")));
        QCOMPARE(changes.count(), 0);
        QCOMPARE(list.Directory(), QStringLiteral("Drives"));
    }

    void settingTheListLinksBothWays() {
        TZTFilelistView list;
        TZTDirTree tree;
        tree.OpenPath(Path("vol2/Work/"));
        tree.SetFileList(&list);
        QVERIFY(list.DirTree() == &tree);
        QVERIFY(tree.FileList() == &list);
        // The list shows what the tree chose.
        QCOMPARE(list.Directory(), Path("vol2/Work/"));
        tree.SetFileList(nullptr);
        QVERIFY(list.DirTree() == nullptr);
        QVERIFY(tree.FileList() == nullptr);
    }

    void linkingFromTheListLinksBothWays() {
        TZTFilelistView list;
        TZTDirTree tree;
        list.SetDirTree(&tree);
        QVERIFY(tree.FileList() == &list);
        // Another list takes the tree over; the first one lets go of it.
        TZTFilelistView other;
        tree.SetFileList(&other);
        QVERIFY(list.DirTree() == nullptr);
        QVERIFY(other.DirTree() == &tree);
        QVERIFY(tree.FileList() == &other);
        list.SetDirTree(nullptr);
        QVERIFY(tree.FileList() == &other);
    }

    void theListFollowsTheTreeAndTheTreeFollowsTheList() {
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        list.SetDirectory(Path("vol1/"));
        list.UpdateFileList();
        int row = -1;
        for (int i = 0; i < list.Count(); ++i) {
            if (list.Item(i).caption == QLatin1String("Photos")) row = i;
        }
        QVERIFY(row >= 0);
        list.SetSelected(row, true);
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        list.OpenSelected();
        QCOMPARE(list.Directory(), Path("vol1/Photos/"));
        QCOMPARE(tree.SelectedPath(), Path("vol1/Photos/"));
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("Photos"));
        QCOMPARE(changes.count(), 1);
    }

    void aDestroyedListIsForgotten() {
        TZTDirTree tree;
        {
            TZTFilelistView list;
            tree.SetFileList(&list);
        }
        QVERIFY(tree.FileList() == nullptr);
        tree.OpenPath(Path("vol1/"));  // nothing to follow it, nothing to crash
        QCOMPARE(tree.SelectedPath(), Path("vol1/"));
    }

    void aDestroyedTreeIsForgottenByItsList() {
        TZTFilelistView list;
        {
            TZTDirTree tree;
            tree.SetFileList(&list);
        }
        QVERIFY(list.DirTree() == nullptr);
    }

    void writingSelectedPathOnlyStoresIt() {
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        tree.OpenPath(Path("vol1/Photo/"));
        const QModelIndex before = tree.currentIndex();
        tree.SetSelectedPath(Path("vol2/"));
        QCOMPARE(tree.SelectedPath(), Path("vol2/"));
        QCOMPARE(tree.currentIndex(), before);
        QCOMPARE(list.Directory(), QStringLiteral("Drives"));
        tree.SetSelectedFile("/some/file.txt");
        QCOMPARE(tree.SelectedFile(), QStringLiteral("/some/file.txt"));
    }

    void reloadTreeForgetsTheFolders() {
        TZTDirTree tree;
        tree.OpenPath(Path("vol1/Photos/Summer/"));
        tree.ReloadTree();
        QCOMPARE(tree.Nodes()->rowCount(tree.Nodes()->Root()), 3);
        for (int row = 0; row < 3; ++row) QCOMPARE(tree.Nodes()->rowCount(Drive(tree, row)), 0);
    }

    void popUpMenuCanBeDetached() {
        TZTDirTree tree;
        tree.SetPopUpMenuEnabled(false);
        QCOMPARE(tree.contextMenuPolicy(), Qt::NoContextMenu);
        tree.SetPopUpMenuEnabled(true);
        QCOMPARE(tree.contextMenuPolicy(), Qt::DefaultContextMenu);
    }
};

QTEST_MAIN(DirTreeTest)
#include "DirTreeTest.moc"
