// The nodes of the directory trees: paths built from the nodes, folders read only where the tree is
// opened, in order, hidden ones included.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "DirTreeModel.h"
#include "ScriptedMessages.h"
#include "ShellIcons.h"

using namespace odz;

class DirTreeModelTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FDir;

    QString Path(const QString& relative) const { return FDir->path() + QLatin1Char('/') + relative; }
    void MakeFolders(const QStringList& folders) {
        for (const QString& folder : folders) QVERIFY(QDir().mkpath(Path(folder)));
    }
    static QStringList Captions(const TDirTreeModel& model, const QModelIndex& parent) {
        QStringList captions;
        for (int row = 0; row < model.rowCount(parent); ++row)
            captions << model.index(row, 0, parent).data().toString();
        return captions;
    }
    static QModelIndex Child(const TDirTreeModel& model, const QModelIndex& parent, const QString& caption) {
        for (int row = 0; row < model.rowCount(parent); ++row) {
            if (model.index(row, 0, parent).data().toString() == caption) return model.index(row, 0, parent);
        }
        return {};
    }
    QModelIndex Drive(const TDirTreeModel& model, int row) const { return model.index(row, 0, model.Root()); }

private slots:
    void init() {
        FDir = std::make_unique<QTemporaryDir>();
        QVERIFY(FDir->isValid());
        MakeFolders({"vol1/a/b/c", "vol1/B", "vol1/c", "vol1/.hidden", "vol1/a/b2", "vol2"});
        QFile file(Path("vol1/file.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QString root = FDir->path();
        TDirTreeModel::SetDriveSource([root] {
            return QList<TDrive>{{root + "/vol1/", "Data (main)", kDriveFixed},
                                 {root + "/vol2/", "STICK", kDriveRemovable}};
        });
    }
    void cleanup() {
        TDirTreeModel::SetDriveSource({});
        FDir.reset();
    }

    void reloadAddsTheRootAndOneNodePerVolume() {
        TDirTreeModel model;
        model.Reload();
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.RootText(), QStringLiteral("Computer"));
        QCOMPARE(Captions(model, model.Root()),
                 QStringList({" (" + Path("vol1") + ")  Data ", " (" + Path("vol2") + ")  STICK"}));
        QCOMPARE(model.Level(model.Root()), 0);
        QCOMPARE(model.Level(Drive(model, 0)), 1);
        QCOMPARE(model.Node(Drive(model, 1))->DriveType(), kDriveRemovable);
        // Drives show their expand button before anything is read.
        QVERIFY(model.hasChildren(Drive(model, 0)));
        QVERIFY(model.hasChildren(Drive(model, 1)));
        QCOMPARE(model.rowCount(Drive(model, 0)), 0);
    }

    void pathOfNode_data() {
        QTest::addColumn<QStringList>("captions");  // from the first drive down
        QTest::addColumn<QString>("expected");      // relative to the temporary folder; "" for the root
        QTest::newRow("root") << QStringList() << "";
        QTest::newRow("volume") << QStringList({"vol1"}) << "vol1/";
        QTest::newRow("folder") << QStringList({"vol1", "a"}) << "vol1/a";
        QTest::newRow("deeper folder") << QStringList({"vol1", "a", "b", "c"}) << "vol1/a/b/c";
        QTest::newRow("hidden folder") << QStringList({"vol1", ".hidden"}) << "vol1/.hidden";
    }
    void pathOfNode() {
        QFETCH(QStringList, captions);
        QFETCH(QString, expected);
        TDirTreeModel model;
        model.Reload();
        QModelIndex node = model.Root();
        if (!captions.isEmpty()) node = Drive(model, 0);
        for (const QString& caption : captions.mid(1)) {
            model.LoadFolders(node);
            node = Child(model, node, caption);
            QVERIFY2(node.isValid(), qPrintable(caption));
        }
        QCOMPARE(model.PathOfNode(node), expected.isEmpty() ? QString() : Path(expected));
    }

    void pathComesFromTheNodesNotFromTheirCaptions() {
        TDirTreeModel model;
        model.Reload();
        const QModelIndex drive = Drive(model, 0);
        model.LoadFolders(drive);
        const QModelIndex a = Child(model, drive, "a");
        // Captions are only shown: changing one (a drive's caption holds blanks and brackets) moves no path.
        model.itemFromIndex(drive)->setText(" (X:)  Something (else)");
        model.itemFromIndex(a)->setText("shown differently");
        QCOMPARE(model.PathOfNode(drive), Path("vol1/"));
        QCOMPARE(model.PathOfNode(a), Path("vol1/a"));
        QCOMPARE(model.KeyOfNode(drive), Path("vol1/"));
        QCOMPARE(model.KeyOfNode(a), QStringLiteral("a/"));
    }

    void lazyLoadingReadsOnlyWhatIsExpanded() {
        TDirTreeModel model;
        model.Reload();
        const QModelIndex drive = Drive(model, 0);
        QVERIFY(model.canFetchMore(drive));
        model.fetchMore(drive);
        QVERIFY(!model.canFetchMore(drive));
        // Sorted without regard to case, hidden folders included, files left out.
        QCOMPARE(Captions(model, drive), QStringList({".hidden", "a", "B", "c"}));
        const QModelIndex a = Child(model, drive, "a");
        const QModelIndex c = Child(model, drive, "c");
        // One level below is only looked at: "a" has sub-folders, "c" none, and neither is read yet.
        QVERIFY(model.hasChildren(a));
        QVERIFY(!model.hasChildren(c));
        QCOMPARE(model.rowCount(a), 0);
        QVERIFY(model.canFetchMore(a));
        model.LoadFolders(a);
        QCOMPARE(Captions(model, a), QStringList({"b", "b2"}));
        // Two levels below "a" nothing is read.
        QCOMPARE(model.rowCount(Child(model, a, "b")), 0);
        QVERIFY(model.hasChildren(Child(model, a, "b")));
        QVERIFY(!model.hasChildren(Child(model, a, "b2")));
        // The other volume was never read.
        QCOMPARE(model.rowCount(Drive(model, 1)), 0);
    }

    void loadingTwiceAddsNothing() {
        TDirTreeModel model;
        model.Reload();
        const QModelIndex drive = Drive(model, 0);
        model.LoadFolders(drive);
        QVERIFY(QDir().mkdir(Path("vol1/later")));
        model.LoadFolders(drive);
        QCOMPARE(Captions(model, drive), QStringList({".hidden", "a", "B", "c"}));
        // Until the node is read again.
        model.RefreshFolders(drive);
        QCOMPARE(Captions(model, drive), QStringList({".hidden", "a", "B", "c", "later"}));
    }

    void aFolderWithoutSubFoldersLosesItsExpandButton() {
        TDirTreeModel model;
        model.Reload();
        const QModelIndex empty = Drive(model, 1);
        QVERIFY(model.hasChildren(empty));
        model.LoadFolders(empty);
        QVERIFY(!model.hasChildren(empty));
    }

    void linkedFoldersAreFolders() {
        QVERIFY(QFile::link(Path("vol1/a"), Path("vol1/link")));
        TDirTreeModel model;
        model.Reload();
        const QModelIndex drive = Drive(model, 0);
        model.LoadFolders(drive);
        const QModelIndex link = Child(model, drive, "link");
        QVERIFY(link.isValid());
        QCOMPARE(model.PathOfNode(link), Path("vol1/link"));
    }

    void onlyFoldersAreEditable() {
        TDirTreeModel model;
        model.Reload();
        const QModelIndex drive = Drive(model, 0);
        model.LoadFolders(drive);
        QVERIFY(!(model.flags(model.Root()) & Qt::ItemIsEditable));
        QVERIFY(!(model.flags(drive) & Qt::ItemIsEditable));
        QVERIFY(model.flags(Child(model, drive, "a")) & Qt::ItemIsEditable);
    }

    void theSelectedNodeShowsItsOpenImage() {
        TDirTreeModel model;
        model.Reload();
        const QModelIndex drive = Drive(model, 0);
        model.LoadFolders(drive);
        const QModelIndex a = Child(model, drive, "a");
        const TDirTreeNode* node = model.Node(a);
        QVERIFY(node->ImageIndex() >= 0);
        QVERIFY(node->SelectedImageIndex() >= 0);
        const qint64 closed = model.data(a, Qt::DecorationRole).value<QIcon>().cacheKey();
        model.SetSelectedNode(a);
        QCOMPARE(model.data(a, Qt::DecorationRole).value<QIcon>().cacheKey(),
                 ShellIcon(node->SelectedImageIndex()).cacheKey());
        model.SetSelectedNode(QModelIndex());
        QCOMPARE(model.data(a, Qt::DecorationRole).value<QIcon>().cacheKey(), closed);
    }

    void renamedNodeIsSortedAgain() {
        TDirTreeModel model;
        model.Reload();
        const QModelIndex drive = Drive(model, 0);
        model.LoadFolders(drive);
        QPersistentModelIndex a = Child(model, drive, "a");
        model.RenameNode(a, "zz");
        model.SortChildren(drive);
        QCOMPARE(Captions(model, drive), QStringList({".hidden", "B", "c", "zz"}));
        QCOMPARE(model.PathOfNode(a), Path("vol1/zz"));
    }
};

QTEST_MAIN(DirTreeModelTest)
#include "DirTreeModelTest.moc"
