// Making, renaming and deleting folders in the folder tree. Deleted folders go to a trash inside the
// temporary folder (HOME and XDG_DATA_HOME point there), never to the real one.

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

#include "DirTreeModel.h"
#include "ScriptedMessages.h"
#include "ZTDirTree.h"
#include "ZTFilelistView.h"

using namespace odz;

class DirTreeFoldersTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<test::TScriptedMessages> FMessages;
    QList<std::optional<QByteArray>> FSaved;

    QString Path(const QString& relative) const { return FDir->path() + QLatin1Char('/') + relative; }
    static QModelIndex Find(const TZTDirTree& tree, const QModelIndex& parent, const QString& caption) {
        const TDirTreeModel* model = tree.Nodes();
        for (int row = 0; row < model->rowCount(parent); ++row) {
            const QModelIndex child = model->index(row, 0, parent);
            if (child.data().toString() == caption) return child;
        }
        return {};
    }
    static QModelIndex Drive(const TZTDirTree& tree) {
        return tree.Nodes()->index(0, 0, tree.Nodes()->Root());
    }
    QStringList Folders(const QString& relative) const {
        return QDir(Path(relative)).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }
    static bool Show(QWidget& widget) {
        widget.resize(400, 300);
        widget.show();
        return QTest::qWaitForWindowExposed(&widget);
    }

private slots:
    void initTestCase() {
        for (const char* name : {"HOME", "XDG_DATA_HOME"})
            FSaved << (qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    }
    void cleanupTestCase() {
        const char* names[] = {"HOME", "XDG_DATA_HOME"};
        for (int i = 0; i < 2; ++i) {
            if (FSaved[i])
                qputenv(names[i], *FSaved[i]);
            else
                qunsetenv(names[i]);
        }
    }
    void init() {
        FDir = std::make_unique<QTemporaryDir>();
        QVERIFY(FDir->isValid());
        for (const char* folder : {"vol/Docs/Letters", "vol/Music", "home/.local/share"})
            QVERIFY(QDir().mkpath(Path(folder)));
        qputenv("HOME", Path("home").toLocal8Bit());
        qputenv("XDG_DATA_HOME", Path("home/.local/share").toLocal8Bit());
        const QString root = FDir->path();
        TDirTreeModel::SetDriveSource([root] {
            return QList<TDrive>{{root + "/vol/", "Fixed Disk", kDriveFixed}};
        });
        FMessages = std::make_unique<test::TScriptedMessages>();
    }
    void cleanup() {
        QVERIFY2(FMessages->unexpected.isEmpty(), qPrintable(FMessages->unexpected.join(" | ")));
        TDirTreeModel::SetDriveSource({});
        FMessages.reset();
        FDir.reset();
    }

    void renameAsksAndRenames() {
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        tree.OpenPath(Path("vol/Docs/"));
        const QModelIndex docs = tree.currentIndex();
        FMessages->Expect(TAnswer::Yes);
        QVERIFY(tree.RenameNode(docs, "Papers"));
        QCOMPARE(FMessages->asked,
                 QStringList(
                     "Do you want to rename the selected folder\n\n    From  : Docs\n    To     : Papers"));
        QCOMPARE(Folders("vol"), QStringList({"Music", "Papers"}));
        const QModelIndex papers = Find(tree, Drive(tree), "Papers");
        QVERIFY(papers.isValid());
        QCOMPARE(tree.PathOfNode(papers), Path("vol/Papers"));
        // The children keep their place under the new name.
        tree.Nodes()->LoadFolders(papers);
        QCOMPARE(tree.PathOfNode(Find(tree, papers, "Letters")), Path("vol/Papers/Letters"));
        // The parent is selected and shown.
        QCOMPARE(tree.currentIndex(), Drive(tree));
        QCOMPARE(list.Directory(), Path("vol/"));
        QCOMPARE(tree.SelectedPath(), Path("vol/"));
    }

    void renameDeclinedChangesNothing() {
        TZTDirTree tree;
        tree.OpenPath(Path("vol/Docs/"));
        FMessages->Expect(TAnswer::No);
        QVERIFY(!tree.RenameNode(tree.currentIndex(), "Papers"));
        QCOMPARE(Folders("vol"), QStringList({"Docs", "Music"}));
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("Docs"));
    }

    void renameRefusesInvalidNames_data() {
        QTest::addColumn<QString>("name");
        for (const QChar c : QStringLiteral("\\*?/=\"<>|:,;+^"))
            QTest::newRow(qPrintable(QString(c))) << QString("a") + c + "b";
    }
    void renameRefusesInvalidNames() {
        QFETCH(QString, name);
        TZTDirTree tree;
        tree.OpenPath(Path("vol/Docs/"));
        QVERIFY(!tree.RenameNode(tree.currentIndex(), name));
        QCOMPARE(FMessages->shown, QStringList("error: Error - Invalid Directory Name\n" + name));
        QVERIFY(FMessages->asked.isEmpty());
        QCOMPARE(Folders("vol"), QStringList({"Docs", "Music"}));
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("Docs"));
    }

    void renameOfAnEmptyOrUnchangedNameDoesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("unchanged") << "Docs";
    }
    void renameOfAnEmptyOrUnchangedNameDoesNothing() {
        QFETCH(QString, name);
        TZTDirTree tree;
        tree.OpenPath(Path("vol/Docs/"));
        QVERIFY(!tree.RenameNode(tree.currentIndex(), name));
        QVERIFY(FMessages->shown.isEmpty());
        QVERIFY(FMessages->asked.isEmpty());
        QCOMPARE(Folders("vol"), QStringList({"Docs", "Music"}));
    }

    void renameRefusedForDrivesAndTheRoot() {
        TZTDirTree tree;
        QVERIFY(Show(tree));
        for (const QModelIndex& node : {tree.Nodes()->Root(), Drive(tree)}) {
            QVERIFY(!tree.RenameNode(node, "Other"));
            tree.setCurrentIndex(node);
            QVERIFY(!tree.EditSelected());
            QVERIFY(!tree.Editing());
        }
        QVERIFY(FMessages->asked.isEmpty());
        QVERIFY(QFileInfo(Path("vol")).isDir());
    }

    void renameOntoAnExistingFolderIsRefused() {
        TZTDirTree tree;
        tree.OpenPath(Path("vol/Docs/"));
        FMessages->Expect(TAnswer::Yes);
        QVERIFY(!tree.RenameNode(tree.currentIndex(), "Music"));
        QCOMPARE(FMessages->shown, QStringList("error: \"Music\" already exists !"));
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("Docs"));
    }

    void readOnlyTreeEditsNothing() {
        TZTDirTree tree;
        tree.SetReadOnly(true);
        QVERIFY(Show(tree));
        tree.OpenPath(Path("vol/Docs/"));
        QVERIFY(!tree.EditSelected());
    }

    void renameInPlace() {
        TZTDirTree tree;
        QVERIFY(Show(tree));
        tree.OpenPath(Path("vol/Docs/"));
        QVERIFY(tree.EditSelected());
        auto* editor = tree.viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText("Papers");
        FMessages->Expect(TAnswer::Yes);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(Folders("vol"), QStringList({"Music", "Papers"}));
        QTRY_VERIFY(Find(tree, Drive(tree), "Papers").isValid());
    }

    void addNewNodeMakesNewFolderAndLetsItBeNamed() {
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        QVERIFY(Show(tree));
        tree.OpenPath(Path("vol/Docs/"));
        list.SetDirectory(Path("vol/Docs/"));
        QSignalSpy changes(&tree, &TZTDirTree::OnDirChange);
        QVERIFY(tree.AddNewNode(tree.currentIndex(), QString()));
        QCOMPARE(Folders("vol/Docs"), QStringList({"Letters", "New Folder"}));
        QCOMPARE(tree.SelectedPath(), Path("vol/Docs/New Folder/"));
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("New Folder"));
        QCOMPARE(changes.count(), 1);
        // The list shows the chosen folder, as the tree does.
        QCOMPARE(list.Directory(), Path("vol/Docs/New Folder/"));
        // The user names it in place, without being asked; the folder it is in is chosen again, in the
        // tree and in the list.
        QVERIFY(tree.Editing());
        auto* editor = tree.viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText("Drafts");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(Folders("vol/Docs"), QStringList({"Drafts", "Letters"}));
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

    void addNewNodeWithAGivenName() {
        TZTDirTree tree;
        tree.OpenPath(Path("vol/"));
        QVERIFY(tree.AddNewNode(tree.currentIndex(), "Archive"));
        QCOMPARE(Folders("vol"), QStringList({"Archive", "Docs", "Music"}));
        QCOMPARE(tree.SelectedPath(), Path("vol/Archive/"));
        QVERIFY(!tree.Editing());
    }

    void addNewNodeRefusals() {
        TZTDirTree tree;
        QVERIFY(!tree.AddNewNode(tree.Nodes()->Root(), QString()));
        QCOMPARE(FMessages->shown, QStringList("error: Can't add drives"));
        tree.OpenPath(Path("vol/"));
        QVERIFY(!tree.AddNewNode(tree.currentIndex(), "a:b"));
        QCOMPARE(FMessages->shown.last(), QStringLiteral("error: Folder Name contains invalid characters"));
        QVERIFY(!tree.AddNewNode(QModelIndex(), "x"));
        QCOMPARE(Folders("vol"), QStringList({"Docs", "Music"}));
    }

    void newFolderBesideAnExistingOneDoesNothingVisible() {
        QVERIFY(QDir().mkdir(Path("vol/Docs/New Folder")));
        TZTDirTree tree;
        tree.OpenPath(Path("vol/Docs/"));
        QVERIFY(!tree.AddNewNode(tree.currentIndex(), QString()));
        QVERIFY(FMessages->shown.isEmpty());
        QCOMPARE(Folders("vol/Docs"), QStringList({"Letters", "New Folder"}));
        // No numbered name, and the next rename still asks.
        FMessages->Expect(TAnswer::No);
        QVERIFY(!tree.RenameNode(tree.currentIndex(), "Other"));
        QCOMPARE(FMessages->asked.size(), 1);
    }

    void aFolderThatCannotBeMadeIsReported() {
        TZTDirTree tree;
        tree.OpenPath(Path("vol/Docs/"));
        QVERIFY(QDir(Path("vol/Docs")).removeRecursively());  // gone behind the tree's back
        QVERIFY(!tree.AddNewNode(tree.currentIndex(), "Sub"));
        QCOMPARE(FMessages->shown, QStringList("error: Cannot create " + Path("vol/Docs/Sub")));
    }

    void deleteNodeMovesTheFolderToTheTrash() {
        TZTFilelistView list;
        TZTDirTree tree;
        tree.SetFileList(&list);
        tree.OpenPath(Path("vol/Docs/Letters/"));
        list.SetDirectory(Path("vol/Docs/Letters/"));
        const QModelIndex docs = tree.currentIndex().parent();
        tree.setCurrentIndex(docs);
        FMessages->Expect(TAnswer::Yes);
        QVERIFY(tree.DeleteNode(docs));
        QCOMPARE(Folders("vol"), QStringList({"Music"}));
        QVERIFY(QFileInfo(Path("home/.local/share/Trash/files/Docs/Letters")).isDir());
        QVERIFY(!Find(tree, Drive(tree), "Docs").isValid());
        QCOMPARE(tree.currentIndex(), Drive(tree));
        QCOMPARE(list.Directory(), Path("vol/"));
    }

    void deleteNodeDeletesTheNodeItIsGiven() {
        TZTDirTree tree;
        tree.OpenPath(Path("vol/Music/"));
        const QModelIndex docs = Find(tree, Drive(tree), "Docs");
        FMessages->Expect(TAnswer::Yes);
        QVERIFY(tree.DeleteNode(docs));
        QCOMPARE(Folders("vol"), QStringList({"Music"}));
    }

    void deleteDeclinedKeepsTheFolder() {
        TZTDirTree tree;
        tree.OpenPath(Path("vol/Docs/"));
        FMessages->Expect(TAnswer::No);
        QVERIFY(!tree.DeleteNode(tree.currentIndex()));
        QCOMPARE(Folders("vol"), QStringList({"Docs", "Music"}));
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("Docs"));
    }

    void deleteOfAVanishedFolder() {
        TZTDirTree tree;
        tree.OpenPath(Path("vol/Docs/"));
        QVERIFY(QDir(Path("vol/Docs")).removeRecursively());
        QVERIFY(!tree.DeleteNode(tree.currentIndex()));
        QCOMPARE(FMessages->shown, QStringList("error: " + Path("vol/Docs") + "not found"));
    }

    void drivesAndTheRootAreNeverDeleted() {
        TZTDirTree tree;
        QVERIFY(!tree.DeleteNode(Drive(tree)));
        QVERIFY(!tree.DeleteNode(tree.Nodes()->Root()));
        QVERIFY(FMessages->asked.isEmpty());
        QVERIFY(QFileInfo(Path("vol/Docs")).isDir());
    }
};

QTEST_MAIN(DirTreeFoldersTest)
#include "DirTreeFoldersTest.moc"
