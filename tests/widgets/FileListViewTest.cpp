// The file list as a user meets it: refills, view styles, sorting, keys and the selection report.

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "ScriptedMessages.h"
#include "ZTFilelistView.h"

using namespace odz;

// A tree that records what the list asks of it.
class TRecordingLink : public QObject, public TFileListLink {
public:
    QStringList opened;
    TZTFilelistView* list = nullptr;
    bool dropped = false;
    void OpenPath(const QString& path) override { opened << path; }
    QString FirstNodeText() const override { return QStringLiteral("Drives"); }
    void LinkFileList(TZTFilelistView* linked) override { list = linked; }
    void ToggleDropDown() override { dropped = !dropped; }
    bool DroppedDown() const override { return dropped; }
    void CloseUp() override { dropped = false; }
};

class FileListViewTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir FDir;

    void Write(const QString& name, qint64 size) {
        QFile file(FDir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(size));
    }
    static QStringList Captions(const TZTFilelistView& list) {
        QStringList captions;
        for (int row = 0; row < list.Count(); ++row) captions << list.Item(row).caption;
        return captions;
    }
    static int RowOf(const TZTFilelistView& list, const QString& caption) {
        return Captions(list).indexOf(caption);
    }

private slots:
    void initTestCase() {
        QVERIFY(FDir.isValid());
        Write("a.txt", 0);
        Write("b.txt", 1024);
        Write("c.txt", 2047);
        Write("d.txt", 2048);
        Write("e.htm", 1);
        Write("huge.txt", 5LL << 30);  // sparse
        QVERIFY(QDir(FDir.path()).mkdir("folder"));
    }

    void initialValues() {
        TZTFilelistView list;
        QCOMPARE(list.Directory(), QStringLiteral("Drives"));
        QCOMPARE(list.Mask(), QStringLiteral("*.*"));
        QCOMPARE(list.FileType(), kAllFileTypes);
        QVERIFY(list.ShowFolders());
        QVERIFY(!list.HideFileExt());
        QCOMPARE(list.DateFormat(), df_Customize);
        QCOMPARE(list.TimeFormatStr(), QStringLiteral("HH:mm:ss"));
        QCOMPARE(QList<int>({list.ColWidth(0), list.ColWidth(1), list.ColWidth(2), list.ColWidth(3),
                             list.ColWidth(4)}),
                 QList<int>({165, 75, 95, 115, 40}));
        QVERIFY(list.DblClickToOpen());
        QVERIFY(list.PopUpMenuEnabled());
        QCOMPARE(list.ViewStyle(), vsReport);
        QCOMPARE(list.Count(), 0);  // nothing is listed before the first refill
    }

    void refillOfAFolder() {
        TZTFilelistView list;
        list.SetDirectory(FDir.path());  // no trailing separator given
        QCOMPARE(list.Directory(), FDir.path() + "/");
        QCOMPARE(Captions(list), QStringList({" ^ Parent", "folder", "a.txt", "b.txt", "c.txt", "d.txt",
                                              "e.htm", "huge.txt"}));
        QCOMPARE(list.Item(RowOf(list, "a.txt")).sizeText, QStringLiteral("0 KB"));
        QCOMPARE(list.Item(RowOf(list, "b.txt")).sizeText, QStringLiteral("1 KB"));
        QCOMPARE(list.Item(RowOf(list, "c.txt")).sizeText, QStringLiteral("1 KB"));
        QCOMPARE(list.Item(RowOf(list, "d.txt")).sizeText, QStringLiteral("2 KB"));
        QCOMPARE(list.Item(RowOf(list, "e.htm")).sizeText, QStringLiteral("1 KB"));
        QCOMPARE(list.Item(RowOf(list, "huge.txt")).sizeText, QStringLiteral("5242880 KB"));
        QCOMPARE(list.Item(RowOf(list, "folder")).sizeText, QStringLiteral(" "));
        QCOMPARE(list.Model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Name"));
        QCOMPARE(list.Model()->headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Attr"));
        QCOMPARE(list.SelectedNumber(), 8);
        QCOMPARE(list.SelectedSize(), 1024 + 2047 + 2048 + 1 + (5LL << 30));
        // Another list elsewhere changes nothing: each list measures its own folder's files.
        TZTFilelistView other;
        other.SetDirectory(FDir.path() + "/folder");
        QCOMPARE(list.SelectedSize(), 1024 + 2047 + 2048 + 1 + (5LL << 30));

        // Nothing is cut: every column is at least as wide as what it shows, and no narrower than its
        // width setting. The user can still drag it narrower.
        auto* report = qobject_cast<QTreeView*>(list.CurrentView());
        QVERIFY(report);
        list.SetDateFormat(df_ddMMyyyy);
        list.SetTimeFormatStr("HH:mm:ss AP");
        list.SetColWidth(3, 20);
        list.UpdateFileList();
        const QFontMetrics metrics(report->font());
        for (int column = 0; column < 5; ++column) {
            const int width = report->header()->sectionSize(column);
            QVERIFY(width >= (column == 3 ? 20 : list.ColWidth(column)));
            const int extra = column == 0 ? report->iconSize().width() : 0;
            for (int row = 0; row < list.Count(); ++row) {
                const QString text = list.Model()->index(row, column).data().toString();
                QVERIFY2(width >= metrics.horizontalAdvance(text) + extra, qPrintable(text));
            }
        }
        QCOMPARE(report->header()->sectionResizeMode(3), QHeaderView::Interactive);
        report->header()->resizeSection(3, 30);
        QCOMPARE(report->header()->sectionSize(3), 30);

        list.SetMask("*.htm");
        QCOMPARE(Captions(list), QStringList({" ^ Parent", "folder", "e.htm"}));
        list.SetMask("*.txt; *.htm");  // the second pattern keeps its blank and finds nothing
        QCOMPARE(Captions(list).size(), 7);
    }

    void sortingByColumns() {
        TZTFilelistView list;
        list.SetDirectory(FDir.path());
        list.ColumnClick(0);
        QCOMPARE(Captions(list).first(), QStringLiteral(" ^ Parent"));
        QCOMPARE(Captions(list).at(1), QStringLiteral("huge.txt"));
        QCOMPARE(Captions(list).last(), QStringLiteral("folder"));
        list.ColumnClick(1);  // size, largest first
        QCOMPARE(Captions(list).mid(0, 3), QStringList({" ^ Parent", "huge.txt", "d.txt"}));
        QVERIFY(!list.Model()->headerData(1, Qt::Horizontal, Qt::DecorationRole).isNull());
        QVERIFY(list.Model()->headerData(0, Qt::Horizontal, Qt::DecorationRole).isNull());
        list.UpdateFileList();
        QCOMPARE(Captions(list).at(1), QStringLiteral("huge.txt"));  // name order, inverted
        list.UpdateFileList();
        QCOMPARE(Captions(list).at(1), QStringLiteral("folder"));
    }

    void settingTheDirectory() {
        TZTFilelistView list;
        list.SetDirectory(FDir.path());
        const int rows = list.Count();
        const QString current = QDir::currentPath();
        list.SetDirectory(FDir.filePath("missing"));
        QCOMPARE(list.Directory(), FDir.path() + "/");
        QCOMPARE(list.Count(), rows);
        QCOMPARE(QDir::currentPath(), current);
        list.SetDirectory("drives");
        QCOMPARE(list.Directory(), QStringLiteral("drives"));
        QVERIFY(list.Model()->DriveView());
        QCOMPARE(list.Model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Disk Size"));
        for (int row = 0; row < list.Count(); ++row) QCOMPARE(list.Item(row).kind, QStringLiteral("drv"));
        list.ColumnClick(1);  // no sorting in the drive list
        QVERIFY(list.Model()->DriveView());
    }

    void viewStylesShareOneSelection() {
        TZTFilelistView list;
        list.SetDirectory(FDir.path());
        list.SetSelected(2, true);
        for (TViewStyle style : {vsIcon, vsSmallIcon, vsList, vsReport}) {
            list.SetViewStyle(style);
            QCOMPARE(list.SelectedRows(), QList<int>({2}));
            QVERIFY(list.CurrentView()->selectionModel()->isRowSelected(2, {}));
        }
    }

    void keys() {
        test::TScriptedMessages messages;
        TZTFilelistView list;
        list.SetDirectory(FDir.filePath("folder"));
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QWidget* view = list.CurrentView();
        QTest::keyClick(view, Qt::Key_Backspace);
        QCOMPARE(list.Directory(), FDir.path() + "/");
        list.SetSelected(RowOf(list, "folder"), true);
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(list.Directory(), FDir.filePath("folder") + "/");
        Write("folder/new.txt", 3);
        QCOMPARE(list.Count(), 1);
        QTest::keyClick(view, Qt::Key_F5);
        QCOMPARE(Captions(list), QStringList({" ^ Parent", "new.txt"}));
        QVERIFY(messages.unexpected.isEmpty());
    }

    void decorationInEveryViewStyle() {
        TZTFilelistView list;
        list.SetBackEffect(gdTopToBottom);
        list.SetColorBegin(0x0000FF);
        list.SetColorEnd(0xFF0000);
        list.SetDirectory(FDir.path());
        list.resize(300, 200);
        for (TViewStyle style : {vsIcon, vsReport}) {
            list.SetViewStyle(style);
            const QImage image = list.CurrentView()->viewport()->grab().toImage();
            // The gradient runs from red at the top (the low byte is red) to blue at the bottom.
            const QColor top = image.pixelColor(image.width() - 2, 1);
            const QColor bottom = image.pixelColor(image.width() - 2, image.height() - 2);
            QVERIFY2(top.red() > top.blue(), qPrintable(top.name()));
            QVERIFY2(bottom.blue() > bottom.red(), qPrintable(bottom.name()));
        }
        QCOMPARE(list.BackEffect(), gdTopToBottom);
    }

    void links() {
        TZTFilelistView list;
        auto* tree = new TRecordingLink;
        TRecordingLink combo;
        list.SetDirTree(tree);
        list.SetDirTreeCombo(&combo);
        QCOMPARE(tree->list, &list);
        list.SetDirectory(FDir.filePath("folder"));
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QTest::keyClick(list.CurrentView(), Qt::Key_Backspace);
        QCOMPARE(tree->opened, QStringList({FDir.path() + "/"}));
        QCOMPARE(combo.opened, QStringList({FDir.path() + "/"}));
        QTest::keyClick(list.CurrentView(), Qt::Key_F4);
        QVERIFY(combo.dropped);
        QTest::keyClick(list.CurrentView(), Qt::Key_Escape);
        QVERIFY(!combo.dropped);
        delete tree;  // a link that goes away ends itself
        QCOMPARE(list.DirTree(), nullptr);
        list.SetDirTreeCombo(nullptr);
        QCOMPARE(combo.list, nullptr);
    }

    void selectionReport() {
        TZTFilelistView list;
        list.SetDirectory(FDir.path());
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QSignalSpy spy(&list, &TZTFilelistView::OnItemChange);
        auto* view = static_cast<QAbstractItemView*>(list.CurrentView());
        view->setFocus();
        view->setCurrentIndex(list.Model()->index(0, 0));
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(1).toString(), list.Item(1).fullPath);
        QCOMPARE(list.SelectedItem(), list.Item(1).fullPath);
    }
};

QTEST_MAIN(FileListViewTest)
#include "FileListViewTest.moc"
