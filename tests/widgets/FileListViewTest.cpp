// The file list as a user meets it: refills, view styles, sorting, keys, the selection report and the
// links to a tree and a combo; and its context menu: when each item can be chosen and what a click on
// each does.

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTreeView>
#include <QtTest>

#include "ExecuteFile.h"
#include "FileListTestSupport.h"
#include "ZTFilelistViewPopUp.h"

using namespace odz;
using test::Captions;
using test::RowOf;
using test::Select;

namespace {

// The menu's items, each with the letter that stands for it in the tables below.
const std::pair<const char*, char> kItems[] = {
    {"ItemOpen", 'o'},     {"ItemView", 'v'},    {"SubMenuSend", 's'}, {"ItemOpCut", 'x'},
    {"ItemOpCopy", 'c'},   {"ItemOpPaste", 'p'}, {"ItemRename", 'r'},  {"ItemDelete", 'd'},
    {"ItemFileAttr", 'a'}, {"ItemFolder", 'f'},  {"Send_To0", '0'},    {"Send_To1", '1'},
    {"Send_To2", '2'},     {"Send_To4", '4'},    {"Send_To5", '5'}};

// Which items can be chosen with the selection of each row.
const struct {
    const char* name;
    const char* folder;
    QStringList selected;
    bool remembered;  // files on the clipboard
    const char* enabled;
} kSelections[] = {
    {"nothing selected", "work/src", {}, false, "f"},
    {"nothing selected, files remembered", "work/src", {}, true, "pf"},
    {"a text file", "work/src", {"a.txt"}, false, "ovsxcrdaf01245"},
    {"a rich-text file", "work/src", {"b.rtf"}, false, "ovsxcrdaf01245"},
    {"a bitmap", "work/src", {"pic.bmp"}, false, "ovsxcrdaf01245"},
    {"an unknown file", "work/src", {"data.xyz"}, false, "osxcrdaf0245"},
    {"a folder named like text", "work/src", {"notes.txt"}, false, "osxcrdaf0245"},
    {"two files", "work/src", {"a.txt", "data.xyz"}, true, "ovsxcpdf0245"},
    {"the parent row", "work/src", {" ^ Parent"}, false, "of"},
    {"the parent row and a file", "work/src", {" ^ Parent", "data.xyz"}, false, "osxcdf0245"},
    {"a drive", "Drives", {}, true, "os2"},
};

}  // namespace

class FileListViewTest : public QObject, protected test::TExplorerFixture {
    Q_OBJECT

private:
    TZTFilelistViewPopUp& PopUp() { return *FList->PopUp(); }
    // The letters of the items that can be chosen, in the menu's order.
    QString EnabledItems() {
        PopUp().Prepare();
        QString enabled;
        for (const auto& [name, letter] : kItems) {
            if (PopUp().Item(name) && PopUp().Item(name)->isEnabled()) enabled += letter;
        }
        return enabled;
    }

private slots:
    void init() {
        Begin();
        const std::pair<const char*, qint64> files[] = {{"a.txt", 0},    {"b.txt", 1024},
                                                        {"c.txt", 2047}, {"d.txt", 2048},
                                                        {"e.htm", 1},    {"huge.txt", 5LL << 30}};
        for (const auto& [name, size] : files) {
            Box().Write(QStringLiteral("work/view/") + name, "");
            QVERIFY(QFile::resize(Path("work/view/") + name, size));  // sparse
        }
        for (const char* name : {"work/src/a.txt", "work/src/b.rtf", "work/src/pic.bmp", "work/src/data.xyz"})
            Box().Write(name, name);
        Box().MakeFolders({"work/view/folder", "work/src/notes.txt", "work/backup"});
        Box().Link(Path("work/backup"), Box().SendToFolder() + "/backup");
        Box().Link(Path("work/tool.sh"), Box().SendToFolder() + "/Tool");
        OpenList("work/src");
    }
    void cleanup() {
        CheckAnswered();
        Release();
        SetLauncher(nullptr);
    }

    void refillOfAFolder() {
        TZTFilelistView list;
        list.SetDirectory(Path("work/view"));  // no trailing separator given
        QCOMPARE(list.Directory(), Box().Folder("work/view"));
        QCOMPARE(Captions(list), QStringList({" ^ Parent", "folder", "a.txt", "b.txt", "c.txt", "d.txt",
                                              "e.htm", "huge.txt"}));
        QCOMPARE(list.SelectedNumber(), 8);
        QCOMPARE(list.SelectedSize(), 1024 + 2047 + 2048 + 1 + (5LL << 30));
        Select(list, {"b.txt", "folder"});
        // Another list elsewhere changes nothing: each list measures its own folder's files.
        TZTFilelistView other;
        other.SetDirectory(Path("work/view/folder"));
        QCOMPARE(list.SelectedNumber(), 2);
        QCOMPARE(list.SelectedSize(), 1024);
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
    }

    // A click on a column's header sorts by it (the order itself is the listing's) and marks it; the
    // drive list is not sorted.
    void sortingByHeaderClicks() {
        TZTFilelistView list;
        list.SetDirectory(Path("work/view"));
        QVERIFY(test::Show(list, {600, 300}));
        QHeaderView* header = qobject_cast<QTreeView*>(list.CurrentView())->header();
        const auto click = [&](int column) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
        };
        click(1);
        QCOMPARE(Captions(list).mid(0, 3), QStringList({" ^ Parent", "huge.txt", "d.txt"}));
        QVERIFY(!list.Model()->headerData(1, Qt::Horizontal, Qt::DecorationRole).isNull());
        QVERIFY(list.Model()->headerData(0, Qt::Horizontal, Qt::DecorationRole).isNull());
        list.SetDirectory("drives");
        click(1);
        QVERIFY(list.Model()->DriveView());
        for (int row = 0; row < list.Count(); ++row) QCOMPARE(list.Item(row).kind, QStringLiteral("drv"));
    }

    void viewStylesShareOneSelectionAndDecoration() {
        TZTFilelistView list;
        list.SetBackEffect(gdTopToBottom);
        list.SetColorBegin(0x0000FF);
        list.SetColorEnd(0xFF0000);
        list.SetDirectory(Path("work/view"));
        list.resize(300, 200);
        list.SetSelected(2, true);
        for (TViewStyle style : {vsIcon, vsSmallIcon, vsList, vsReport}) {
            list.SetViewStyle(style);
            QCOMPARE(list.SelectedRows(), QList<int>({2}));
            QVERIFY(list.CurrentView()->selectionModel()->isRowSelected(2, {}));
            const QImage image = list.CurrentView()->viewport()->grab().toImage();
            // The gradient runs from red at the top (the low byte is red) to blue at the bottom.
            const QColor top = image.pixelColor(image.width() - 2, 1);
            const QColor bottom = image.pixelColor(image.width() - 2, image.height() - 2);
            QVERIFY2(top.red() > top.blue(), qPrintable(top.name()));
            QVERIFY2(bottom.blue() > bottom.red(), qPrintable(bottom.name()));
        }
    }

    void keysAndLinks() {
        TZTFilelistView list;
        auto* tree = new test::TRecordingLink;
        test::TRecordingLink combo;
        list.SetDirTree(tree);
        list.SetDirTreeCombo(&combo);
        QCOMPARE(tree->list, &list);
        list.SetDirectory(Path("work/view/folder"));
        QVERIFY(test::Show(list));
        QWidget* view = list.CurrentView();
        QTest::keyClick(view, Qt::Key_Backspace);  // one level up, in the tree and the combo too
        QCOMPARE(list.Directory(), Box().Folder("work/view"));
        QCOMPARE(tree->opened, QStringList({Box().Folder("work/view")}));
        QCOMPARE(combo.opened, QStringList({Box().Folder("work/view")}));
        Select(list, {"folder"});
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(list.Directory(), Box().Folder("work/view/folder"));
        Box().Write("work/view/folder/new.txt");
        QCOMPARE(list.Count(), 1);
        QTest::keyClick(view, Qt::Key_F5);
        QCOMPARE(Captions(list), QStringList({" ^ Parent", "new.txt"}));
        QTest::keyClick(view, Qt::Key_F4);
        QVERIFY(combo.dropped);
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(!combo.dropped);
        // Moving through the rows reports the row moved to.
        QSignalSpy changes(&list, &TZTFilelistView::OnItemChange);
        view->setFocus();
        list.CurrentView()->setCurrentIndex(list.Model()->index(0, 0));
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.at(0).at(1).toString(), Path("work/view/folder/new.txt"));
        QCOMPARE(list.SelectedItem(), Path("work/view/folder/new.txt"));
        delete tree;  // a link that goes away ends itself
        QCOMPARE(list.DirTree(), nullptr);
        list.SetDirTreeCombo(nullptr);
        QCOMPARE(combo.list, nullptr);
    }

    void sendToShortcutsAreTheLinksOfItsFolder() {
        Box().Link(Path("work/src"), Box().SendToFolder() + "/Tom & Jerry");
        Box().Link(Path("work/src"), Box().SendToFolder() + "/.hidden");
        Box().Write("home/.local/share/odizodoruz/SendTo/plain file");
        PopUp().Prepare();
        const QString folder = Box().SendToFolder() + "/";
        QCOMPARE(PopUp().Shortcuts(),
                 QStringList({folder + "backup", folder + "Tom & Jerry", folder + "Tool"}));
        QCOMPARE(PopUp().Item("Send_To5")->text(), QStringLiteral("Tom && Jerry"));
        for (const auto& [name, letter] : kItems) {
            if (letter != '4' && letter != '5') QVERIFY2(!PopUp().Item(name)->icon().isNull(), name);
        }
        // The folder is read each time the menu opens, and at most 96 shortcuts are offered.
        QFile::remove(folder + "Tool");
        PopUp().Prepare();
        QCOMPARE(PopUp().Shortcuts().size(), 2);
        QCOMPARE(PopUp().Item("Send_To6"), nullptr);
        for (int k = 0; k < 100; ++k)
            Box().Link(Path("work/backup"), folder + QString("link%1").arg(k, 3, 10, QChar('0')));
        PopUp().Prepare();
        QCOMPARE(PopUp().Shortcuts().size(), 96);
        QVERIFY(PopUp().Item("Send_To99"));
        QCOMPARE(PopUp().Item("Send_To100"), nullptr);
    }

    void enabledItems_data() { test::AddRows(kSelections); }
    void enabledItems() {
        QFETCH(int, row);
        const auto& c = kSelections[row];
        if (c.remembered) {
            Select(List(), {"a.txt"});
            List().CutCopy(false);
        }
        const bool drives = QString(c.folder) == "Drives";
        List().SetDirectory(drives ? c.folder : Path(c.folder));
        if (drives && List().Count() == 0) QSKIP("no drives here");
        Select(List(), c.selected);
        if (drives) List().SetSelected(0, true);
        QCOMPARE(EnabledItems(), QString(c.enabled));
    }

    void clicksGoToTheOperationOfTheItem() {
        QList<TLaunchRequest> launched;
        SetLauncher([&](const TLaunchRequest& request) {
            launched << request;
            return true;
        });
        test::TScriptedDialogs dialogs;
        QVERIFY(test::Show(List()));
        Select(List(), {"a.txt", "data.xyz"});
        PopUp().Prepare();  // as when the menu opens
        PopUp().Item("ItemOpCut")->trigger();
        QVERIFY(List().PendingMove());
        PopUp().ItemClick("ItemOpCopy");
        QVERIFY(!List().PendingMove());
        QCOMPARE(List().PendingFiles().size(), 2);
        PopUp().ItemClick("Send_To2");
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 Path("work/src/a.txt") + "\r\n" + Path("work/src/data.xyz"));
        PopUp().ItemClick("Send_To4");  // the shortcut "backup"
        QCOMPARE(Box().Names("work/backup"), QStringList({"a.txt", "data.xyz"}));
        QVERIFY(List().PendingFiles().isEmpty());
        for (const char* name : {"Send_To3", "Send_To", "Send_Toxy", "Send_To40", "Unknown"})
            PopUp().ItemClick(name);
        PopUp().ItemClick("ItemOpPaste");
        QCOMPARE(FMessages->shown, QStringList({"warning: No file(s) selected"}));

        Select(List(), {"a.txt"});
        PopUp().ItemClick("ItemView");
        QCOMPARE(launched.size(), 1);
        PopUp().ItemClick("Send_To1");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("work/src/a.txt"));
        PopUp().ItemClick("ItemFileAttr");
        PopUp().ItemClick("Send_To0");
        QCOMPARE(dialogs.titles, QStringList({"Set Attributes", "Send to any folder"}));
        QCOMPARE(dialogs.unexpected, 2);  // answered by cancelling
        FMessages->Expect(TAnswer::No);
        PopUp().ItemClick("ItemDelete");
        QCOMPARE(FMessages->asked.size(), 1);
        Select(List(), {"a.txt"});  // the refill after the delete cleared the selection
        PopUp().ItemClick("ItemRename");
        QWidget* editor = List().CurrentView()->indexWidget(List().Model()->index(RowOf(List(), "a.txt"), 0));
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Escape);
        PopUp().ItemClick("ItemFolder");
        QVERIFY(QFileInfo(Path("work/src/New Folder")).isDir());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : List().CurrentView(),
                        Qt::Key_Escape);
        Select(List(), {"notes.txt"});
        PopUp().ItemClick("ItemOpen");
        QCOMPARE(List().Directory(), Box().Folder("work/src/notes.txt"));
    }

    void contextMenuOpensBesideThePoint() {
        QVERIFY(test::Show(List()));
        QWidget* viewport = List().CurrentView()->viewport();
        const QPoint global = viewport->mapToGlobal(QPoint(20, 30));
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 30), global);
        QApplication::sendEvent(viewport, &event);
        QVERIFY(PopUp().isVisible());
        QCOMPARE(PopUp().pos(), global + QPoint(10, 10));
        PopUp().close();
        List().SetPopUpMenuEnabled(false);
        QApplication::sendEvent(viewport, &event);
        QVERIFY(!PopUp().isVisible());
    }
};

QTEST_MAIN(FileListViewTest)
#include "FileListViewTest.moc"
