// The file list as a user meets it: refills, view styles, sorting, keys, the selection report and the
// links to a tree and a combo; its context menu: when each item can be chosen and what a click on each
// does; and sending entries into another folder, to a shortcut's folder or program, and to the
// clipboard, with the text "Clipboard as Contents" takes from rich-text documents and text files.

#include "ExecuteFile.h"
#include "FileListClipboard.h"
#include "FileListRtfText.h"
#include "FileListSendToDialog.h"
#include "FileListTestSupport.h"
#include "ShellRoutines.h"
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

// A dialog step that types a path and presses OK (or another button).
test::TScriptedDialogs::TStep Type(const QString& path, int button = QDialog::Accepted) {
    return [path, button](QDialog& dialog) {
        static_cast<TFileListSendToDialog&>(dialog).PathBox()->setText(path);
        return button;
    };
}

// Typed paths, with and without a trailing separator, absolute, relative to the folder shown, and in
// the home folder ("@" stands for the sandbox), and where the entries go.
const struct {
    const char *name, *typed, *target;
} kTypedFolders[] = {{"without trailing separator", "@/work/dst", "work/dst"},
                     {"with trailing separator", "@/work/dst/", "work/dst"},
                     {"relative", "../dst", "work/dst"},
                     {"home", "~/inbox", "home/inbox"}};

// "Copy to Folder" into each kind of target: what is asked, shown ("@" stands for the sandbox) and there.
const struct {
    const char *name, *target;
    int answer;  // -1 when nothing is asked
    const char *names, *shown;
} kCopyTargets[] = {
    {"a missing folder, made", "work/new/deeper", int(TAnswer::Yes), "a.txt", ""},
    {"a missing folder, not made", "work/new/deeper", int(TAnswer::No), "", ""},
    {"a file is no folder", "work/src/b.txt", -1, "",
     "error: ERROR - Can't copy to  @/work/src/b.txt\nIt is not a folder."},
    {"the folder shown gets copies", "work/src", -1,
     "a - Copy.txt,a.txt,b.rtf,b.txt,data.xyz,notes.txt,pic.bmp,sub", ""},
};

// Files copied to the clipboard as their text: the bytes, and the text in UTF-8.
const struct {
    const char *name, *file;
    QByteArray bytes;
    const char* text;
    bool rtf;  // the bytes go to the clipboard as rich text too
} kContents[] = {{"ASCII", "file.ini", "plain\r\n", "plain\r\n", false},
                 {"UTF-8", "file.ini", "\xc4\x91", "\xc4\x91", false},
                 {"UTF-8 mark", "file.ini", "\xef\xbb\xbf\xc4\x91", "\xc4\x91", false},
                 {"UTF-16 little-endian", "file.ini", "\xff\xfe\x11\x01", "\xc4\x91", false},
                 {"UTF-16 big-endian", "file.ini", "\xfe\xff\x01\x11", "\xc4\x91", false},
                 {"Windows-1252", "file.ini", "caf\xe9 \x93q\x94 \x80\x81",
                  "caf\xc3\xa9 \xe2\x80\x9cq\xe2\x80\x9d \xe2\x82\xac\xc2\x81", false},
                 {"rich text", "doc.rtf",
                  "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hello \\b world\\b0\\par Ti\\u7871?ng}",
                  "Hello world\nTi\xe1\xba\xbfng", true}};

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
        Begin(true);
        const std::pair<const char*, qint64> files[] = {{"a.txt", 0},    {"b.txt", 1024},
                                                        {"c.txt", 2047}, {"d.txt", 2048},
                                                        {"e.htm", 1},    {"huge.txt", 5LL << 30}};
        for (const auto& [name, size] : files) {
            Box().Write(QStringLiteral("work/view/") + name, "");
            QVERIFY(QFile::resize(Path("work/view/") + name, size));  // sparse
        }
        for (const char* name : {"work/src/a.txt", "work/src/b.txt", "work/src/b.rtf", "work/src/pic.bmp",
                                 "work/src/data.xyz", "work/src/sub/inner.txt"})
            Box().Write(name, name);
        Box().MakeFolders(
            {"work/view/folder", "work/src/notes.txt", "work/backup", "work/dst", "home/inbox"});
        Box().Link(Path("work/backup"), Box().SendToFolder() + "/backup");
        Box().Link(Path("work/tool.sh"), Box().SendToFolder() + "/Tool");
        OpenList("work/src");
    }
    void cleanup() {
        CheckAnswered();
        Release();
        SetLauncher(nullptr);
        SetFolderBrowser(nullptr);
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
        list.SetMask("*.htm");
        QCOMPARE(Captions(list), QStringList({" ^ Parent", "folder", "e.htm"}));
    }

    void viewStylesShareOneSelectionAndDecoration() {
        TZTFilelistView list;
        list.SetBackEffect(gdTopToBottom);
        list.SetColorEnd(0xFF0000);  // blue at the bottom, the low byte being red
        list.SetDirectory(Path("work/view"));
        list.resize(300, 200);
        list.SetSelected(2, true);
        for (TViewStyle style : {vsIcon, vsSmallIcon, vsList, vsReport}) {
            list.SetViewStyle(style);
            QVERIFY(list.SelectedRows() == QList<int>({2}) &&
                    list.CurrentView()->selectionModel()->isRowSelected(2, {}));
            const QImage image = list.CurrentView()->viewport()->grab().toImage();
            QVERIFY(image.pixelColor(image.width() - 2, image.height() - 2).blue() > 128);
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
        QCOMPARE(QStringList({list.Directory()}) + tree->opened + combo.opened,
                 QStringList(3, Box().Folder("work/view")));
        Select(list, {"folder"});
        QTest::keyClick(view, Qt::Key_Return);
        Box().Write("work/view/folder/new.txt");
        QVERIFY(list.Directory() == Box().Folder("work/view/folder") && list.Count() == 1);
        QTest::keyClick(view, Qt::Key_F5);
        QCOMPARE(Captions(list), QStringList({" ^ Parent", "new.txt"}));
        QTest::keyClick(view, Qt::Key_F4);
        QVERIFY(combo.dropped);
        // Moving through the rows reports the row moved to.
        QSignalSpy changes(&list, &TZTFilelistView::OnItemChange);
        view->setFocus();
        list.CurrentView()->setCurrentIndex(list.Model()->index(0, 0));
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.at(0).at(1).toString() + list.SelectedItem(),
                 Path("work/view/folder/new.txt").repeated(2));
        delete tree;  // a link that goes away ends itself
        list.SetDirTreeCombo(nullptr);
        QVERIFY(list.DirTree() == nullptr && combo.list == nullptr);
    }

    // A folder shown that goes away elsewhere leaves the list and its combo on the nearest folder that
    // is still there, whether the folder itself or one above it goes.
    void aFolderThatGoesAwayIsLeft() {
        TZTFilelistView list;
        test::TRecordingLink combo;
        list.SetDirTreeCombo(&combo);
        Box().MakeFolders({"work/view/folder/deep"});
        list.SetDirectory(Path("work/view/folder/deep"));
        QVERIFY(QDir(Path("work/view/folder")).removeRecursively());
        QTRY_COMPARE(list.Directory(), Box().Folder("work/view"));
        QCOMPARE(combo.opened.last(), Box().Folder("work/view"));
        QVERIFY(QDir().rename(Path("work/view"), Path("work/moved")));
        QTRY_COMPARE(list.Directory(), Box().Folder("work"));
    }

    void sendToShortcutsAreTheLinksOfItsFolder() {
        Box().Link(Path("work/src"), Box().SendToFolder() + "/Tom & Jerry");
        Box().Link(Path("work/src"), Box().SendToFolder() + "/.hidden");
        const QString folder = Box().SendToFolder() + "/";
        Box().Write("home/.local/share/odizodoruz/SendTo/plain file");
        PopUp().Prepare();
        QCOMPARE(PopUp().Shortcuts(),
                 QStringList({folder + "backup", folder + "Tom & Jerry", folder + "Tool"}));
        QCOMPARE(PopUp().Item("Send_To5")->text(), QStringLiteral("Tom && Jerry"));
        // The folder is read each time the menu opens, and at most 96 shortcuts are offered.
        QFile::remove(folder + "Tool");
        PopUp().Prepare();
        QCOMPARE(PopUp().Shortcuts().size(), 2);
        for (int k = 0; k < 100; ++k)
            Box().Link(Path("work/backup"), folder + QString("link%1").arg(k, 3, 10, QChar('0')));
        PopUp().Prepare();
        QCOMPARE(PopUp().Shortcuts().size(), 96);
        QVERIFY(PopUp().Item("Send_To99") && !PopUp().Item("Send_To100"));
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
        int launched = 0;
        SetLauncher([&](const TLaunchRequest&) { return ++launched; });
        for (int i = 0; i < 2; ++i) FDialogs->Expect([](QDialog&) { return int(QDialog::Rejected); });
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
        for (const char* name : {"Send_To3", "Send_Toxy", "Send_To40", "Unknown"}) PopUp().ItemClick(name);
        PopUp().ItemClick("ItemOpPaste");
        QCOMPARE(FMessages->shown, QStringList({"warning: No file(s) selected"}));
        // The names in display order, the folder first, the parent row left out.
        Select(List(), {" ^ Parent", "b.txt", "sub"});
        PopUp().ItemClick("Send_To2");
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 Path("work/src/sub") + "\r\n" + Path("work/src/b.txt"));

        Select(List(), {"a.txt"});
        PopUp().ItemClick("ItemView");
        QCOMPARE(launched, 1);
        PopUp().ItemClick("Send_To1");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("work/src/a.txt"));
        PopUp().ItemClick("ItemFileAttr");
        PopUp().ItemClick("Send_To0");
        QCOMPARE(FDialogs->titles, QStringList({"Set Attributes", "Send to any folder"}));
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

    void anyFolder_data() { test::AddRows(kTypedFolders); }
    void anyFolder() {
        QFETCH(int, row);
        const auto& c = kTypedFolders[row];
        Select(List(), {"b.txt"});
        List().CutCopy(false);
        Select(List(), {"a.txt", "sub"});
        FDialogs->Expect(Type(QString(c.typed).replace("@", Path(""))));
        List().SendTo(0);
        QCOMPARE(Box().Names(c.target), QStringList({"a.txt", "sub"}));
        QCOMPARE(List().PendingFiles(), QStringList{Path("work/src/b.txt")});  // the clipboard is left alone
        QCOMPARE(Box().Read(QString(c.target) + "/sub/inner.txt"), QByteArray("work/src/sub/inner.txt"));
        QVERIFY(FMessages->shown.isEmpty());
    }

    void anyFolderByBrowsing() {
        QStringList browsed = {QString(), Path("work/dst")};  // cancelled first, then a folder chosen
        QStringList starts;
        SetFolderBrowser([&](QWidget*, const QString&, const QString& start) {
            starts << start;
            return browsed.takeFirst();
        });
        Select(List(), {"b.txt"});
        FDialogs->Expect(Type(Path("work"), TFileListSendToDialog::kBrowse));
        List().SendTo(0);
        QVERIFY(Box().Names("work/dst").isEmpty());
        QString shownAgain;
        FDialogs->Expect(Type(Path("work"), TFileListSendToDialog::kBrowse));
        FDialogs->Expect([&](QDialog& dialog) {
            shownAgain = static_cast<TFileListSendToDialog&>(dialog).Path();
            return int(QDialog::Accepted);
        });
        List().SendTo(0);
        QCOMPARE(starts + QStringList({shownAgain}) + Box().Names("work/dst"),
                 QStringList({Path("work"), Path("work"), Box().Folder("work/dst"), "b.txt"}));
    }

    void copyToFolder_data() { test::AddRows(kCopyTargets); }
    void copyToFolder() {
        QFETCH(int, row);
        const QString target = kCopyTargets[row].target;
        const int answer = kCopyTargets[row].answer;
        const QStringList names = QString(kCopyTargets[row].names).split(',', Qt::SkipEmptyParts);
        Select(List(), {"a.txt"});
        if (answer >= 0) FMessages->Expect(TAnswer(answer));
        List().CopyToFolder(Path(target));
        QCOMPARE(FMessages->asked, answer < 0 ? QStringList()
                                              : QStringList("The folder \"" + Path(target) +
                                                            "\" does not exist.\nDo you want to create it?"));
        QCOMPARE(FMessages->shown.join('|'), QString(kCopyTargets[row].shown).replace("@", Path("")));
        QCOMPARE(Box().Names(target), names);
        QCOMPARE(Box().Read("work/src/b.txt"), QByteArray("work/src/b.txt"));
        QCOMPARE(RowOf(List(), "a - Copy.txt") >= 0, names.contains("a - Copy.txt"));  // the list shows it
    }

    void shortcuts() {
        Box().MakeFolders({"work/plain"});
        Box().Link(Path("work/dst"), Box().SendToFolder() + "/Destination");
        Box().Link(Path("work/gone"), Box().SendToFolder() + "/Gone");
        Box().Write("work/bin/tool", "#!/bin/sh\n");
        QFile::setPermissions(Path("work/bin/tool"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        Box().Link(Path("work/bin/tool"), Box().SendToFolder() + "/Program");
        QList<TLaunchRequest> launched;
        SetLauncher([&](const TLaunchRequest& request) {
            launched << request;
            return true;
        });
        // To a folder: the entries are copied there.
        Select(List(), {"a.txt", "b.txt"});
        List().PopUp()->Prepare();
        QCOMPARE(List().PopUp()->Item("Send_To5")->text(), QStringLiteral("Destination"));
        List().PopUp()->Item("Send_To5")->trigger();
        QCOMPARE(Box().Names("work/dst"), QStringList({"a.txt", "b.txt"}));
        // To a program: it is started with the first entry, in the folder shown.
        Select(List(), {"a.txt", "b.txt"});
        List().SendToShortcut(Box().SendToFolder() + "/Program");
        QCOMPARE(launched.size(), 1);
        QCOMPARE(
            QStringList({launched.first().program, QDir(launched.first().workingDirectory).absolutePath()}) +
                launched.first().arguments,
            QStringList({Path("work/bin/tool"), Path("work/src"), "a.txt"}));
        // A plain folder serves as well; a dangling link is reported.
        Select(List(), {"a.txt", "b.txt"});
        List().SendToShortcut(Path("work/plain"));
        QCOMPARE(Box().Names("work/plain"), QStringList({"a.txt", "b.txt"}));
        List().SendToShortcut(Box().SendToFolder() + "/Gone");
        QCOMPARE(FMessages->shown, QStringList({"error: ERROR - Can't Open file  " + Path("work/gone")}));
    }

    void clipboardAsContents_data() { test::AddRows(kContents); }
    void clipboardAsContents() {
        QFETCH(int, row);
        const auto& c = kContents[row];
        Box().Write(QStringLiteral("work/src/") + c.file, c.bytes);
        List().UpdateFileList();
        Select(List(), {c.file});
        List().SendTo(1);
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->text(), QString::fromUtf8(c.text));
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->data("text/rtf"), c.rtf ? c.bytes : QByteArray());
    }

    void clipboardAsContentsOfPicturesAndFolders() {
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(Path("work/src/pic.bmp"), "BMP"));
        Box().Write("work/src/broken.bmp", "not a picture");
        List().UpdateFileList();
        Select(List(), {"pic.bmp"});
        List().SendTo(1);
        const QImage pasted = qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData());
        QVERIFY(pasted.size() == QSize(3, 2) && pasted.pixelColor(1, 1) == QColor(Qt::red));
        // What cannot be read, and a folder, leave the clipboard as it was.
        QGuiApplication::clipboard()->setText("kept");
        for (const char* name : {"broken.bmp", "sub"}) {
            Select(List(), {name});
            List().SendTo(1);
        }
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
        QCOMPARE(FMessages->shown,
                 QStringList({"error: ERROR - Can't copy file  broken.bmp\nThe picture cannot be read."}));
    }

    void richTextPlainText() {
        const std::pair<QByteArray, const char*> cases[] = {
            {"{\\rtf1 one\\par two\\tab three\\line four}", "one\ntwo\tthree\nfour"},
            {"{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 "
             "Normal;}}{\\info{\\title T}}text}",
             "text"},  // the tables of the document are no text
            {"{\\rtf1 \\{x\\} \\\\ y}", "{x} \\ y"},
            {"{\\rtf1\\ansi caf\\'e9 \\'80}", "caf\xc3\xa9 \xe2\x82\xac"},
            {"{\\rtf1 Ti\\u7871?ng Vi\\u7879\\'3fi}", "Ti\xe1\xba\xbfng Vi\xe1\xbb\x87i"},  // with a stand-in
            {"{\\rtf1\\uc0 \\u273\\u-3872 x}", "\xc4\x91\xef\x83\xa0x"},
            {"{\\rtf1 \\ldblquote a\\rdblquote \\endash b}",
             "\xe2\x80\x9c\x61\xe2\x80\x9d\xe2\x80\x93"
             "b"},
        };
        for (const auto& [rtf, text] : cases) {
            QVERIFY(IsRichText(rtf));
            QCOMPARE(RichTextPlainText(rtf), QString::fromUtf8(text));
        }
    }
};

QTEST_MAIN(FileListViewTest)
#include "FileListViewTest.moc"
