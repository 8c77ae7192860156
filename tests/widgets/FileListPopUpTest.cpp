// The file list's context menu: its items, when each can be chosen, and what a click on each does.

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QtTest>
#include <memory>

#include "ExecuteFile.h"
#include "FileListTestSupport.h"
#include "ScriptedMessages.h"
#include "ZTFilelistViewPopUp.h"

using namespace odz;
using test::RowOf;
using test::Select;

namespace {

QImage Pixels(const QIcon& icon) {
    return icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage Resource(const QString& name) {
    return QImage(QStringLiteral(":/") + name).convertToFormat(QImage::Format_ARGB32);
}

const QStringList kAllItems = {"ItemOpen",    "ItemView",   "SubMenuSend", "ItemOpCut",    "ItemOpCopy",
                               "ItemOpPaste", "ItemRename", "ItemDelete",  "ItemFileAttr", "ItemFolder",
                               "Send_To0",    "Send_To1",   "Send_To2",    "Send_To4",     "Send_To5"};

}  // namespace

class FileListPopUpTest : public QObject, protected test::TFileListFixture {
    Q_OBJECT

private:
    TZTFilelistViewPopUp& PopUp() { return *FList->PopUp(); }

    QStringList EnabledItems() {
        PopUp().Prepare();
        QStringList enabled;
        for (const QString& name : kAllItems) {
            QAction* item = PopUp().Item(name);
            if (item && item->isEnabled()) enabled << name;
        }
        return enabled;
    }

private slots:
    void init() {
        FBox = std::make_unique<test::TFileListSandbox>();
        FMessages = std::make_unique<test::TScriptedMessages>();
        for (const char* name : {"work/src/a.txt", "work/src/b.rtf", "work/src/pic.bmp", "work/src/data.xyz"})
            Box().Write(name, name);
        Box().MakeFolder("work/src/notes.txt");
        Box().MakeFolder("work/backup");
        Box().Link(Box().Path("work/backup"), Box().SendToFolder() + "/backup");
        Box().Link(Box().Path("work/tool.sh"), Box().SendToFolder() + "/Tool");
        FList = std::make_unique<TZTFilelistView>();
        List().SetDirectory(Box().Path("work/src"));
    }
    void cleanup() {
        CheckAnswered();
        Release();
        SetLauncher(nullptr);
    }

    void menuItems_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("bitmap");
        const struct {
            int position;
            const char *caption, *name, *bitmap;
        } items[] = {
            {0, "&Open", "ItemOpen", "Open"},
            {1, "&View", "ItemView", "View"},
            {3, "Se&nd To", "SubMenuSend", "SendTo"},
            {5, "Cu&t", "ItemOpCut", "Cut"},
            {6, "&Copy", "ItemOpCopy", "Copy"},
            {7, "&Paste", "ItemOpPaste", "Paste"},
            {9, "&Rename", "ItemRename", "ReName"},
            {10, "&Delete", "ItemDelete", "Delete"},
            {12, "&Attributes ...", "ItemFileAttr", "Attributes"},
            {14, "&New Folder ...", "ItemFolder", "NewFolder"},
        };
        for (const auto& item : items) {
            QTest::newRow(item.name) << item.position << item.caption << item.name << item.bitmap;
        }
    }
    void menuItems() {
        QFETCH(int, position);
        QFETCH(QString, caption);
        QFETCH(QString, name);
        QFETCH(QString, bitmap);
        const QList<QAction*> items = PopUp().actions();
        QCOMPARE(items.size(), 15);
        for (int separator : {2, 4, 8, 11, 13}) QVERIFY(items[separator]->isSeparator());
        QAction* item = items[position];
        QCOMPARE(item->text(), caption);
        QCOMPARE(item->objectName(), name);
        QCOMPARE(PopUp().Item(name), item);
        QVERIFY(!Resource(bitmap).isNull());
        QCOMPARE(Pixels(item->icon()), Resource(bitmap));
        QVERIFY(!item->isCheckable());
        QVERIFY(item->shortcut().isEmpty());
    }

    void sendToItems_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("bitmap");
        QTest::newRow("any folder") << 0 << "Any Folder ..."
                                    << "Send_To0"
                                    << "AnyFolder";
        QTest::newRow("contents") << 1 << "Clipboard as Contents"
                                  << "Send_To1"
                                  << "ClipBoard";
        QTest::newRow("file names") << 2 << "Clipboard as FileName"
                                    << "Send_To2"
                                    << "ClipBoard";
        QTest::newRow("first shortcut") << 4 << "backup"
                                        << "Send_To4"
                                        << "";
        QTest::newRow("second shortcut") << 5 << "Tool"
                                         << "Send_To5"
                                         << "";
    }
    void sendToItems() {
        QFETCH(int, position);
        QFETCH(QString, caption);
        QFETCH(QString, name);
        QFETCH(QString, bitmap);
        PopUp().Prepare();
        QCOMPARE(PopUp().Item("SubMenuSend")->menu(), PopUp().SendToMenu());
        const QList<QAction*> items = PopUp().SendToMenu()->actions();
        QCOMPARE(items.size(), 6);
        QVERIFY(items[3]->isSeparator());
        QCOMPARE(items[position]->text(), caption);
        QCOMPARE(items[position]->objectName(), name);
        if (!bitmap.isEmpty()) QCOMPARE(Pixels(items[position]->icon()), Resource(bitmap));
    }

    void shortcutsAreTheLinksOfTheSendToFolder() {
        Box().Link(Box().Path("work/src"), Box().SendToFolder() + "/Tom & Jerry");
        Box().Link(Box().Path("work/src"), Box().SendToFolder() + "/.hidden");
        Box().Write("home/.local/share/odizodoruz/SendTo/plain file");
        PopUp().Prepare();
        const QString folder = Box().SendToFolder() + "/";
        QCOMPARE(PopUp().Shortcuts(),
                 QStringList({folder + "backup", folder + "Tom & Jerry", folder + "Tool"}));
        QCOMPARE(PopUp().Item("Send_To5")->text(), QStringLiteral("Tom && Jerry"));
        // The folder is read each time the menu opens.
        QFile::remove(folder + "Tool");
        PopUp().Prepare();
        QCOMPARE(PopUp().Shortcuts().size(), 2);
        QCOMPARE(PopUp().Item("Send_To6"), nullptr);
    }

    void atMostNinetySixShortcuts() {
        for (int k = 0; k < 100; ++k) {
            Box().Link(Box().Path("work/backup"),
                       Box().SendToFolder() + QString("/link%1").arg(k, 3, 10, QChar('0')));
        }
        PopUp().Prepare();
        QCOMPARE(PopUp().Shortcuts().size(), 96);
        QVERIFY(PopUp().Item("Send_To99"));
        QCOMPARE(PopUp().Item("Send_To100"), nullptr);
    }

    void enabledItems_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<QStringList>("enabled");
        const QStringList oneEntry = {"ItemOpen",   "SubMenuSend", "ItemOpCut",    "ItemOpCopy",
                                      "ItemRename", "ItemDelete",  "ItemFileAttr", "ItemFolder",
                                      "Send_To0",   "Send_To2",    "Send_To4",     "Send_To5"};
        auto with = [](QStringList names, const QStringList& more) {
            names << more;
            QStringList ordered;
            for (const QString& name : kAllItems) {
                if (names.contains(name)) ordered << name;
            }
            return ordered;
        };
        QTest::newRow("nothing selected")
            << "work/src" << QStringList() << false << QStringList({"ItemFolder"});
        QTest::newRow("nothing selected, files remembered")
            << "work/src" << QStringList() << true << QStringList({"ItemOpPaste", "ItemFolder"});
        QTest::newRow("a text file") << "work/src" << QStringList({"a.txt"}) << false
                                     << with(oneEntry, {"ItemView", "Send_To1"});
        QTest::newRow("a rich-text file")
            << "work/src" << QStringList({"b.rtf"}) << false << with(oneEntry, {"ItemView", "Send_To1"});
        QTest::newRow("a bitmap") << "work/src" << QStringList({"pic.bmp"}) << false
                                  << with(oneEntry, {"ItemView", "Send_To1"});
        QTest::newRow("an unknown file") << "work/src" << QStringList({"data.xyz"}) << false << oneEntry;
        QTest::newRow("a folder named like text")
            << "work/src" << QStringList({"notes.txt"}) << false << oneEntry;
        QTest::newRow("two files") << "work/src" << QStringList({"a.txt", "data.xyz"}) << true
                                   << QStringList({"ItemOpen", "ItemView", "SubMenuSend", "ItemOpCut",
                                                   "ItemOpCopy", "ItemOpPaste", "ItemDelete", "ItemFolder",
                                                   "Send_To0", "Send_To2", "Send_To4", "Send_To5"});
        QTest::newRow("the parent row")
            << "work/src" << QStringList({" ^ Parent"}) << false << QStringList({"ItemOpen", "ItemFolder"});
        QTest::newRow("the parent row and a file")
            << "work/src" << QStringList({" ^ Parent", "data.xyz"}) << false
            << QStringList({"ItemOpen", "SubMenuSend", "ItemOpCut", "ItemOpCopy", "ItemDelete", "ItemFolder",
                            "Send_To0", "Send_To2", "Send_To4", "Send_To5"});
        QTest::newRow("a drive") << "Drives" << QStringList({"first"}) << true
                                 << QStringList({"ItemOpen", "SubMenuSend", "Send_To2"});
    }
    void enabledItems() {
        QFETCH(QString, folder);
        QFETCH(QStringList, selected);
        QFETCH(bool, pending);
        QFETCH(QStringList, enabled);
        if (pending) {
            Select(List(), {"a.txt"});
            List().CutCopy(false);
        }
        List().SetDirectory(folder == "Drives" ? folder : Box().Path(folder));
        if (folder == "Drives") {
            if (List().Count() == 0) QSKIP("no drives here");
            List().CurrentView()->clearSelection();
            List().SetSelected(0, true);
        } else {
            Select(List(), selected);
        }
        QCOMPARE(EnabledItems(), enabled);
    }

    void clicksGoToTheOperationOfTheItem() {
        QList<TLaunchRequest> launched;
        SetLauncher([&](const TLaunchRequest& request) {
            launched << request;
            return true;
        });
        test::TScriptedDialogs dialogs;
        List().show();
        QVERIFY(QTest::qWaitForWindowExposed(&List()));

        Select(List(), {"a.txt", "data.xyz"});
        PopUp().Prepare();  // as when the menu opens
        PopUp().Item("ItemOpCut")->trigger();
        QVERIFY(List().PendingMove());
        PopUp().ItemClick("ItemOpCopy");
        QVERIFY(!List().PendingMove());
        QCOMPARE(List().PendingFiles().size(), 2);
        PopUp().ItemClick("Send_To2");
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 Box().Path("work/src/a.txt") + "\r\n" + Box().Path("work/src/data.xyz"));
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
        FMessages->Expect(TAnswer::No);
        PopUp().ItemClick("ItemDelete");
        QCOMPARE(FMessages->asked.size(), 1);
        Select(List(), {"a.txt"});  // the refill after the delete cleared the selection
        PopUp().ItemClick("ItemRename");
        QVERIFY(List().CurrentView()->indexWidget(List().Model()->index(RowOf(List(), "a.txt"), 0)));
        QTest::keyClick(List().CurrentView()->indexWidget(List().Model()->index(RowOf(List(), "a.txt"), 0)),
                        Qt::Key_Escape);
        PopUp().ItemClick("ItemFolder");
        QVERIFY(QFileInfo(Box().Path("work/src/New Folder")).isDir());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : List().CurrentView(),
                        Qt::Key_Escape);
        Select(List(), {"notes.txt"});
        PopUp().ItemClick("ItemOpen");
        QCOMPARE(List().Directory(), Box().Folder("work/src/notes.txt"));
        QCOMPARE(dialogs.unexpected, 2);  // answered by cancelling
    }

    void contextMenuOpensBesideThePoint() {
        List().show();
        QVERIFY(QTest::qWaitForWindowExposed(&List()));
        QWidget* viewport = List().CurrentView()->viewport();
        const QPoint global = viewport->mapToGlobal(QPoint(20, 30));
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 30), global);
        QApplication::sendEvent(viewport, &event);
        QVERIFY(PopUp().isVisible());
        QCOMPARE(PopUp().pos(), global + QPoint(10, 10));
        PopUp().close();

        List().SetPopUpMenuEnabled(false);
        QContextMenuEvent again(QContextMenuEvent::Mouse, QPoint(20, 30), global);
        QApplication::sendEvent(viewport, &again);
        QVERIFY(!PopUp().isVisible());
    }
};

QTEST_MAIN(FileListPopUpTest)
#include "FileListPopUpTest.moc"
