// The directory combo's drop-down tree: opening and closing it, clicks on it and beside it, the
// node under the pointer, and the keys of the box and of the open tree.

#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "DirTreeModel.h"
#include "DirTreeNavigation.h"
#include "ScriptedMessages.h"
#include "ZTDirTreeCombo.h"
#include "ZTDirTreeView.h"
#include "ZTFilelistView.h"

using namespace odz;

class DirTreeComboDropDownTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<test::TScriptedMessages> FMessages;

    QString Path(const QString& relative) const { return FDir->path() + QLatin1Char('/') + relative; }
    static QModelIndex Drive(const TZTDirTreeCombo& combo, int row) {
        const TDirTreeModel* model = combo.Tree()->Nodes();
        return model->index(row, 0, model->Root());
    }
    static QModelIndex Find(const TZTDirTreeCombo& combo, const QModelIndex& parent, const QString& caption) {
        const TDirTreeModel* model = combo.Tree()->Nodes();
        for (int row = 0; row < model->rowCount(parent); ++row) {
            if (model->index(row, 0, parent).data().toString() == caption)
                return model->index(row, 0, parent);
        }
        return {};
    }

    // A window with the combo at the top and something else below it to click on.
    struct TWindow {
        QWidget window;
        TZTDirTreeCombo* combo = new TZTDirTreeCombo(&window);
        QWidget* elsewhere = new QWidget(&window);
        TWindow() {
            window.resize(400, 400);
            combo->move(10, 10);
            elsewhere->setGeometry(10, 300, 100, 50);
        }
        bool Show() {
            window.show();
            return QTest::qWaitForWindowExposed(&window);
        }
    };

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

    void dropDownOpensBelowTheBoxAndCloses() {
        TWindow window;
        QVERIFY(window.Show());
        TZTDirTreeCombo* combo = window.combo;
        combo->DropDown();
        QVERIFY(combo->DroppedDown());
        QVERIFY(combo->Tree()->isEnabled());
        QCOMPARE(combo->Tree()->geometry(),
                 QRect(combo->mapToGlobal(QPoint(0, combo->height())), QSize(combo->width(), 240)));
        combo->DropDown();
        QVERIFY(!combo->DroppedDown());
        QVERIFY(!combo->Tree()->isVisible());
        QVERIFY(!combo->Tree()->isEnabled());
        // The button does the same.
        combo->SetTreeHeight(150);
        combo->Btn()->click();
        QVERIFY(combo->DroppedDown());
        QCOMPARE(combo->Tree()->height(), 150);
    }

    void aClickOutsideClosesTheDropDown() {
        TWindow window;
        QVERIFY(window.Show());
        window.combo->DropDown();
        QVERIFY(window.combo->DroppedDown());
        // Through the window system, as a real click comes, so the open drop-down sees it first.
        QTest::mouseClick(window.window.windowHandle(), Qt::LeftButton, {},
                          window.elsewhere->geometry().center());
        QTRY_VERIFY(!window.combo->DroppedDown());
        QVERIFY(!window.combo->Tree()->isEnabled());
    }

    void aClickOnTheButtonWhileOpenOnlyCloses() {
        TWindow window;
        QVERIFY(window.Show());
        window.combo->DropDown();
        const QPoint onButton = window.combo->Btn()->mapTo(&window.window, QPoint(5, 5));
        QTest::mouseClick(window.window.windowHandle(), Qt::LeftButton, {}, onButton);
        QTRY_VERIFY(!window.combo->DroppedDown());
        QCoreApplication::processEvents();
        QVERIFY(!window.combo->DroppedDown());
    }

    void aClickOnANodeChoosesIt() {
        TZTFilelistView list;
        TWindow window;
        TZTDirTreeCombo* combo = window.combo;
        combo->SetFileList(&list);
        QVERIFY(window.Show());
        combo->DropDown();
        TZTDirTreeView* tree = combo->Tree();
        QVERIFY(QTest::qWaitForWindowExposed(tree));
        QSignalSpy changes(combo, &TZTDirTreeCombo::OnPathChange);
        const QModelIndex vol2 = Drive(*combo, 2);
        QTest::mouseClick(tree->windowHandle(), Qt::LeftButton, {},
                          tree->viewport()->mapTo(tree, NodeLabelCenter(tree, vol2)));
        QTRY_VERIFY(!combo->DroppedDown());
        QCOMPARE(combo->SelectedPath(), Path("vol2/"));
        QCOMPARE(list.Directory(), Path("vol2/"));
        QCOMPARE(combo->Text(), vol2.data().toString());
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.first().at(1).toString(), Path("vol2/"));
        // The root stands for the drive list.
        combo->DropDown();
        QTest::mouseClick(tree->windowHandle(), Qt::LeftButton, {},
                          tree->viewport()->mapTo(tree, NodeLabelCenter(tree, tree->Nodes()->Root())));
        QTRY_VERIFY(!combo->DroppedDown());
        QCOMPARE(combo->SelectedPath(), QStringLiteral("Drives"));
        QCOMPARE(list.Directory(), QStringLiteral("Drives"));
        QCOMPARE(combo->Text(), QStringLiteral("Computer"));
    }

    void theNodeUnderThePointerIsHighlighted() {
        TWindow window;
        QVERIFY(window.Show());
        window.combo->DropDown();
        TZTDirTreeView* tree = window.combo->Tree();
        QVERIFY(QTest::qWaitForWindowExposed(tree));
        const QModelIndex vol1 = Drive(*window.combo, 1);
        QTest::mouseMove(tree->viewport(), NodeLabelCenter(tree, vol1));
        QTRY_COMPARE(tree->currentIndex(), vol1);
        // Highlighting chooses nothing.
        QVERIFY(window.combo->SelectedPath().isEmpty());
        QVERIFY(window.combo->DroppedDown());
    }

    void keysWithTheTreeClosed() {
        TZTFilelistView list;
        TZTDirTreeCombo combo;
        combo.SetFileList(&list);
        QSignalSpy changes(&combo, &TZTDirTreeCombo::OnPathChange);
        QLineEdit* edit = combo.Edit();
        TZTDirTreeView* tree = combo.Tree();
        // Escape with the tree closed does nothing.
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!combo.DroppedDown());
        // Down moves the hidden selection: from nothing to the root, then down the drives.
        QTest::keyClick(edit, Qt::Key_Down);
        QCOMPARE(tree->currentIndex(), tree->Nodes()->Root());
        QTest::keyClick(edit, Qt::Key_Down);
        QTest::keyClick(edit, Qt::Key_Down);
        QCOMPARE(tree->currentIndex(), Drive(combo, 1));
        QVERIFY(!combo.DroppedDown());
        QCOMPARE(changes.count(), 0);
        // Enter applies it.
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(combo.SelectedPath(), Path("vol1/"));
        QCOMPARE(list.Directory(), Path("vol1/"));
        QCOMPARE(combo.Text(), Drive(combo, 1).data().toString());
        QCOMPARE(changes.count(), 1);
        // Right opens the drive, Down goes into it.
        QTest::keyClick(edit, Qt::Key_Right);
        QVERIFY(tree->isExpanded(Drive(combo, 1)));
        QTest::keyClick(edit, Qt::Key_Down);
        QCOMPARE(tree->currentIndex().data().toString(), QStringLiteral("Alpha"));
        // Up goes back; at the root it stays.
        QTest::keyClick(edit, Qt::Key_Up);
        QCOMPARE(tree->currentIndex(), Drive(combo, 1));
        tree->setCurrentIndex(tree->Nodes()->Root());
        QTest::keyClick(edit, Qt::Key_Up);
        QCOMPARE(tree->currentIndex(), tree->Nodes()->Root());
    }

    void downStopsAtTheLastNode() {
        TZTDirTreeCombo combo;
        TZTDirTreeView* tree = combo.Tree();
        tree->setCurrentIndex(Drive(combo, 2));
        QTest::keyClick(combo.Edit(), Qt::Key_Down);
        QCOMPARE(tree->currentIndex(), Drive(combo, 2));
    }

    void leftCollapsesAndMovesUp() {
        TZTDirTreeCombo combo;
        TZTDirTreeView* tree = combo.Tree();
        combo.OpenPath(Path("vol1/Alpha/"));
        const QModelIndex alpha = tree->currentIndex();
        QVERIFY(tree->isExpanded(alpha));
        QTest::keyClick(combo.Edit(), Qt::Key_Left);
        QVERIFY(!tree->isExpanded(alpha));
        QCOMPARE(tree->currentIndex(), Drive(combo, 1));
        // Just below the root, Left moves no further.
        tree->setCurrentIndex(Drive(combo, 0));
        QTest::keyClick(combo.Edit(), Qt::Key_Left);
        QCOMPARE(tree->currentIndex(), Drive(combo, 0));
    }

    void leftCollapsesWithTheDescendants() {
        TZTDirTreeCombo combo;
        TZTDirTreeView* tree = combo.Tree();
        combo.OpenPath(Path("vol1/Alpha/Inner/"));
        const QModelIndex alpha = Find(combo, Drive(combo, 1), "Alpha");
        tree->setCurrentIndex(Drive(combo, 1));
        QTest::keyClick(combo.Edit(), Qt::Key_Left);
        QVERIFY(!tree->isExpanded(Drive(combo, 1)));
        QVERIFY(!tree->isExpanded(alpha));
    }

    void f4AndEscape() {
        TWindow window;
        QVERIFY(window.Show());
        TZTDirTreeCombo* combo = window.combo;
        combo->Edit()->setFocus();
        QTest::keyClick(combo->Edit(), Qt::Key_F4);
        QVERIFY(combo->DroppedDown());
        QTest::keyClick(combo->Tree(), Qt::Key_Escape);
        QVERIFY(!combo->DroppedDown());
        QTest::keyClick(combo->Edit(), Qt::Key_F4);
        QVERIFY(combo->DroppedDown());
        QTest::keyClick(combo->Edit(), Qt::Key_Escape);
        QVERIFY(!combo->DroppedDown());
    }

    void enterInTheOpenTreeChooses() {
        TZTFilelistView list;
        TWindow window;
        window.combo->SetFileList(&list);
        QVERIFY(window.Show());
        window.combo->DropDown();
        TZTDirTreeView* tree = window.combo->Tree();
        tree->setCurrentIndex(Drive(*window.combo, 2));
        QTest::keyClick(tree, Qt::Key_Return);
        QVERIFY(!window.combo->DroppedDown());
        QCOMPARE(list.Directory(), Path("vol2/"));
    }

    void theListOpensAndClosesTheDropDown() {
        TZTFilelistView list;
        TWindow window;
        window.combo->SetFileList(&list);
        QVERIFY(window.Show());
        QAbstractItemView* view = list.CurrentView();
        QTest::keyClick(view, Qt::Key_F4);
        QVERIFY(window.combo->DroppedDown());
        window.combo->CloseUp();
        QVERIFY(!window.combo->DroppedDown());
    }
};

QTEST_MAIN(DirTreeComboDropDownTest)
#include "DirTreeComboDropDownTest.moc"
