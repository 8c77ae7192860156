// The directory combo: its box, opening paths, choosing a drive without its medium, and the link to a
// file list.

#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "DirTreeModel.h"
#include "ScriptedMessages.h"
#include "ZTDirTreeCombo.h"
#include "ZTDirTreeView.h"
#include "ZTFilelistView.h"

using namespace odz;

class DirTreeComboTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<test::TScriptedMessages> FMessages;

    QString Path(const QString& relative) const { return FDir->path() + QLatin1Char('/') + relative; }
    static QModelIndex Drive(const TZTDirTreeCombo& combo, int row) {
        const TDirTreeModel* model = combo.Tree()->Nodes();
        return model->index(row, 0, model->Root());
    }

private slots:
    void init() {
        FDir = std::make_unique<QTemporaryDir>();
        QVERIFY(FDir->isValid());
        for (const char* folder : {"vol1/Alpha/Inner", "vol1/Beta", "vol2/Gamma", "stick"})
            QVERIFY(QDir().mkpath(Path(folder)));
        const QString root = FDir->path();
        TDirTreeModel::SetDriveSource([root] {
            return QList<TDrive>{{root + "/stick/", "STICK", kDriveRemovable},
                                 {root + "/vol1/", "Fixed Disk", kDriveFixed},
                                 {root + "/vol2/", "Fixed Disk", kDriveFixed}};
        });
        FMessages = std::make_unique<test::TScriptedMessages>();
    }
    void cleanup() {
        TDirTreeModel::SetDriveSource({});
        FMessages.reset();
        FDir.reset();
    }

    void initialState() {
        TZTDirTreeCombo combo;
        QCOMPARE(combo.size(), QSize(216, 21));
        QVERIFY(combo.SelectedPath().isEmpty());
        QVERIFY(combo.ExpandRoot());
        QVERIFY(combo.HideSelection());
        QCOMPARE(combo.TreeHeight(), 240);
        QVERIFY(combo.ReadOnly());
        QVERIFY(combo.Edit()->isReadOnly());
        QVERIFY(!combo.Glyph().isNull());
        QCOMPARE(combo.Btn()->objectName(), QStringLiteral("Btn"));
        QCOMPARE(combo.Btn()->focusPolicy(), Qt::NoFocus);
        QCOMPARE(combo.Btn()->width(), 17);
        QCOMPARE(combo.Btn()->cursor().shape(), Qt::ArrowCursor);
        // The box shows the root, the tree is closed with the root open.
        QCOMPARE(combo.Text(), QStringLiteral("Computer"));
        QCOMPARE(combo.FirstNodeText(), QStringLiteral("Computer"));
        QVERIFY(!combo.DroppedDown());
        QVERIFY(!combo.Tree()->isVisible());
        QVERIFY(!combo.Tree()->isEnabled());
        QVERIFY(combo.Tree()->isWindow());
        QCOMPARE(combo.Tree()->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(combo.Tree()->isExpanded(combo.Tree()->Nodes()->Root()));
        QCOMPARE(combo.Tree()->Nodes()->rowCount(combo.Tree()->Nodes()->Root()), 3);
    }

    void openPathShowsTheFolder_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("with trailing separator") << "vol1/Alpha/";
        QTest::newRow("without trailing separator") << "vol1/Alpha";
    }
    void openPathShowsTheFolder() {
        QFETCH(QString, path);
        TZTDirTreeCombo combo;
        QSignalSpy changes(&combo, &TZTDirTreeCombo::OnPathChange);
        combo.OpenPath(Path(path));
        QCOMPARE(combo.Text(), QStringLiteral("Alpha"));
        QCOMPARE(combo.SelectedPath(), Path("vol1/Alpha/"));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.first().at(1).toString(), Path("vol1/Alpha/"));
        QVERIFY(!combo.Icon().isNull());
        QVERIFY(combo.Tree()->isExpanded(Drive(combo, 1)));
        QVERIFY(!combo.Tree()->isExpanded(Drive(combo, 2)));
        QCOMPARE(combo.Tree()->currentIndex().data().toString(), QStringLiteral("Alpha"));
    }

    void openPathDoesNothingForWhatIsNoFolder_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("empty") << "";
        QTest::newRow("one character") << "v";
        QTest::newRow("missing") << "@/vol1/Gone";
        QTest::newRow("the root's caption") << "Computer";
    }
    void openPathDoesNothingForWhatIsNoFolder() {
        QFETCH(QString, path);
        if (path.startsWith('@')) path = FDir->path() + path.mid(1);
        TZTDirTreeCombo combo;
        combo.OpenPath(Path("vol2/Gamma"));
        QSignalSpy changes(&combo, &TZTDirTreeCombo::OnPathChange);
        combo.OpenPath(path);
        QCOMPARE(changes.count(), 0);
        QCOMPARE(combo.Text(), QStringLiteral("Gamma"));
        QCOMPARE(combo.SelectedPath(), Path("vol2/Gamma/"));
    }

    void aRemovableDriveWithoutMediumIsNotChosen() {
        TZTFilelistView list;
        TZTDirTreeCombo combo;
        combo.SetFileList(&list);
        QVERIFY(QDir(Path("stick")).removeRecursively());
        QSignalSpy changes(&combo, &TZTDirTreeCombo::OnPathChange);
        combo.Tree()->setCurrentIndex(Drive(combo, 0));
        QTest::keyClick(combo.Edit(), Qt::Key_Return);
        QCOMPARE(FMessages->shown.size(), 1);
        QVERIFY(FMessages->shown.first().startsWith("warning: There is no disk in Drive "));
        QCOMPARE(changes.count(), 0);
        QCOMPARE(combo.Text(), QStringLiteral("Computer"));
        QCOMPARE(list.Directory(), QStringLiteral("Drives"));
    }

    void settingTheListLinksBothWays() {
        TZTFilelistView list;
        TZTDirTreeCombo combo;
        combo.OpenPath(Path("vol1/Beta/"));
        combo.SetFileList(&list);
        QVERIFY(list.DirTreeCombo() == &combo);
        QVERIFY(combo.FileList() == &list);
        QCOMPARE(list.Directory(), Path("vol1/Beta/"));
        combo.SetFileList(nullptr);
        QVERIFY(list.DirTreeCombo() == nullptr);
        list.SetDirTreeCombo(&combo);
        QVERIFY(combo.FileList() == &list);
    }

    void theListFollowsAndIsFollowed() {
        TZTFilelistView list;
        TZTDirTreeCombo combo;
        combo.SetFileList(&list);
        // Writing SelectedPath shows it in the list.
        combo.SetSelectedPath(Path("vol2/"));
        QCOMPARE(list.Directory(), Path("vol2/"));
        // A folder opened in the list shows in the box.
        list.UpdateFileList();
        int row = -1;
        for (int i = 0; i < list.Count(); ++i) {
            if (list.Item(i).caption == QLatin1String("Gamma")) row = i;
        }
        QVERIFY(row >= 0);
        list.SetSelected(row, true);
        list.OpenSelected();
        QCOMPARE(combo.Text(), QStringLiteral("Gamma"));
        QCOMPARE(combo.SelectedPath(), Path("vol2/Gamma/"));
    }

    void aDestroyedListIsForgotten() {
        TZTDirTreeCombo combo;
        {
            TZTFilelistView list;
            combo.SetFileList(&list);
        }
        QVERIFY(combo.FileList() == nullptr);
        combo.SetSelectedPath(Path("vol1/"));
        QCOMPARE(combo.SelectedPath(), Path("vol1/"));
    }

    void reloadTreeForgetsTheFolders() {
        TZTDirTreeCombo combo;
        combo.OpenPath(Path("vol1/Alpha/"));
        combo.ReloadTree();
        const TDirTreeModel* model = combo.Tree()->Nodes();
        QCOMPARE(model->rowCount(model->Root()), 3);
        QCOMPARE(model->rowCount(Drive(combo, 1)), 0);
        QVERIFY(combo.Tree()->isExpanded(model->Root()));
    }

    void glyphAndHeight() {
        TZTDirTreeCombo combo;
        const qint64 before = combo.Glyph().cacheKey();
        combo.SetGlyph(QPixmap());
        QCOMPARE(combo.Glyph().cacheKey(), before);
        QPixmap glyph(7, 4);
        glyph.fill(Qt::red);
        combo.SetGlyph(glyph);
        QCOMPARE(combo.Glyph().toImage(), glyph.toImage());
        combo.SetExpandRoot(false);
        QVERIFY(!combo.ExpandRoot());
    }
};

QTEST_MAIN(DirTreeComboTest)
#include "DirTreeComboTest.moc"
