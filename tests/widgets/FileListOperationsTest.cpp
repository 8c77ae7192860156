// Cut, copy and paste, delete, new folder, renaming in place and viewing, as the file list's keys and
// menu reach them.

#include <QApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QtTest>
#include <memory>

#include "ExecuteFile.h"
#include "FileListTestSupport.h"
#include "ScriptedMessages.h"
#include "ZTFilelistViewPopUp.h"

using namespace odz;
using test::RowOf;
using test::Select;

class FileListOperationsTest : public QObject, protected test::TFileListFixture {
    Q_OBJECT

private:
    QAbstractItemView* View() { return List().CurrentView(); }

    void Show() {
        List().show();
        QVERIFY(QTest::qWaitForWindowExposed(&List()));
    }
    QLineEdit* Editor() {
        const QModelIndex index = View()->currentIndex();
        return qobject_cast<QLineEdit*>(View()->indexWidget(List().Model()->index(index.row(), 0)));
    }
    // Types a name into the open caption editor and presses Enter.
    void TypeName(const QString& name) {
        QLineEdit* editor = Editor();
        QVERIFY(editor);
        editor->setText(name);
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor hands its text over after the key, the list renames after the editor has closed:
        // both are posted.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
    }
    bool MenuEnabled(const char* name) {
        List().PopUp()->Prepare();
        return List().PopUp()->Item(QString::fromLatin1(name))->isEnabled();
    }

private slots:
    void init() {
        FBox = std::make_unique<test::TFileListSandbox>();
        FMessages = std::make_unique<test::TScriptedMessages>();
        for (const char* name : {"work/src/a.txt", "work/src/b.txt", "work/src/c.txt", "work/src/readme.TXT",
                                 "work/src/data.xyz", "work/dst/keep.txt"}) {
            Box().Write(name, name);
        }
        Box().MakeFolder("work/src/sub");
        FList = std::make_unique<TZTFilelistView>();
        List().SetDirectory(Box().Path("work/src"));
    }
    void cleanup() {
        CheckAnswered();
        Release();
        SetLauncher(nullptr);
    }

    // Files go from list to list, and to and from the desktop's file manager, on the desktop's
    // clipboard: a copy stays there, a cut is moved and then cleared.
    void pasteTakesFilesFromTheDesktopClipboard_data() {
        QTest::addColumn<QString>("origin");  // the key pressed in the first list, or who wrote the data
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("data");  // "@" stands for the source folder's URL
        QTest::addColumn<bool>("moved");
        QTest::newRow("Ctrl+C in the other list") << "C" << QString() << QByteArray() << false;
        QTest::newRow("Ctrl+X in the other list") << "X" << QString() << QByteArray() << true;
        QTest::newRow("GNOME copy") << "desktop"
                                    << "x-special/gnome-copied-files" << QByteArray("copy\n@/sub\n@/a.txt")
                                    << false;
        QTest::newRow("GNOME cut") << "desktop"
                                   << "x-special/gnome-copied-files" << QByteArray("cut\n@/sub\n@/a.txt\n")
                                   << true;
        QTest::newRow("KDE cut") << "KDE"
                                 << "text/uri-list" << QByteArray("@/sub\r\n@/a.txt\r\n") << true;
        QTest::newRow("URI list only") << "desktop"
                                       << "text/uri-list" << QByteArray("@/sub\r\n@/a.txt\r\n") << false;
        QTest::newRow("newer GNOME, as text")
            << "desktop"
            << "text/plain" << QByteArray("x-special/nautilus-clipboard\ncut\n@/sub\n@/a.txt\n") << true;
    }
    void pasteTakesFilesFromTheDesktopClipboard() {
        QFETCH(QString, origin);
        QFETCH(QString, format);
        QFETCH(QByteArray, data);
        QFETCH(bool, moved);
        Show();
        const QByteArray source = QUrl::fromLocalFile(Box().Path("work/src")).toEncoded();
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (origin.size() == 1) {
            Select(List(), {"a.txt", "sub"});
            QTest::keyClick(View(), origin == "C" ? Qt::Key_C : Qt::Key_X, Qt::ControlModifier);
            // As file managers write it, in the list's order (folders first).
            const QByteArray uris = source + "/sub\n" + source + "/a.txt";
            const QMimeData* written = clipboard->mimeData();
            QCOMPARE(written->data("x-special/gnome-copied-files"), (moved ? "cut\n" : "copy\n") + uris);
            QCOMPARE(written->data("text/uri-list"), QByteArray(uris).replace("\n", "\r\n") + "\r\n");
            QCOMPARE(written->data("application/x-kde-cutselection"), QByteArray(moved ? "1" : "0"));
        } else {
            auto* mime = new QMimeData;
            mime->setData(format, data.replace("@", source));
            if (origin == "KDE") mime->setData("application/x-kde-cutselection", "1");
            clipboard->setMimeData(mime);
        }
        TZTFilelistView other;
        other.SetDirectory(Box().Path("work/dst"));
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        other.PopUp()->Prepare();
        QVERIFY(other.PopUp()->Item("ItemOpPaste")->isEnabled());
        QTest::keyClick(other.CurrentView(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Box().Names("work/dst"), QStringList({"a.txt", "keep.txt", "sub"}));
        QCOMPARE(Box().Read("work/dst/a.txt"), QByteArray("work/src/a.txt"));
        QCOMPARE(QFileInfo::exists(Box().Path("work/src/a.txt")), !moved);
        QCOMPARE(QFileInfo::exists(Box().Path("work/src/sub")), !moved);
        QVERIFY(RowOf(other, "a.txt") >= 0);  // the list shows the pasted files
        // What was moved is no longer where the clipboard says, so it is cleared; a copy stays.
        QCOMPARE(other.PendingFiles().size(), moved ? 0 : 2);
        other.PopUp()->Prepare();
        QCOMPARE(other.PopUp()->Item("ItemOpPaste")->isEnabled(), !moved);
        QVERIFY(FMessages->shown.isEmpty());
    }

    void cancelInAConflictStopsThePaste() {
        Box().Write("work/dst/a.txt", "old");
        Select(List(), {"a.txt", "b.txt"});
        List().CutCopy(false);
        List().SetDirectory(Box().Path("work/dst"));
        FMessages->Expect(TAnswer::Cancel);  // "Replace it?" for a.txt
        List().PasteFiles();
        QCOMPARE(FMessages->asked.size(), 1);
        QCOMPARE(Box().Read("work/dst/a.txt"), QByteArray("old"));
        QVERIFY(!QFileInfo::exists(Box().Path("work/dst/b.txt")));
        QCOMPARE(List().PendingFiles().size(), 2);  // a copy stays on the clipboard
    }

    void pasteRefreshesTheLinkedComboBeforeTheTree() {
        test::TRecordingLink tree, combo;
        List().SetDirTree(&tree);
        List().SetDirTreeCombo(&combo);
        Select(List(), {"a.txt"});
        List().CutCopy(false);
        List().SetDirectory(Box().Path("work/dst"));
        List().PasteFiles();
        QCOMPARE(combo.opened, QStringList({Box().Folder("work/dst")}));
        QVERIFY(tree.opened.isEmpty());
        List().SetDirTreeCombo(nullptr);
        List().SetDirTree(nullptr);
    }

    void deleteOfThreeFilesIsOneRequest() {
        Show();
        Select(List(), {"a.txt", "b.txt", "c.txt"});
        List().CutCopy(false);
        FMessages->Expect(TAnswer::Yes);
        QTest::keyClick(View(), Qt::Key_Delete);
        QCOMPARE(FMessages->asked,
                 QStringList({"Are you sure you want to move these 3 items to the Trash?"}));
        QCOMPARE(Box().Names("work/src"), QStringList({"data.xyz", "readme.TXT", "sub"}));
        QCOMPARE(QDir(Box().Trash()).entryList(QDir::Files, QDir::Name),
                 QStringList({"a.txt", "b.txt", "c.txt"}));
        QCOMPARE(RowOf(List(), "a.txt"), -1);
        QVERIFY(List().PendingFiles().isEmpty());
        QVERIFY(FMessages->shown.isEmpty());
    }

    void deleteDeclinedKeepsTheFiles() {
        Select(List(), {"a.txt"});
        FMessages->Expect(TAnswer::No);
        List().DeleteSelected();
        QVERIFY(QFileInfo::exists(Box().Path("work/src/a.txt")));
        QVERIFY(RowOf(List(), "a.txt") >= 0);
    }

    void theParentRowTakesNoPartInFileOperations() {
        Select(List(), {" ^ Parent"});
        List().DeleteSelected();
        List().CutCopy(false);
        QVERIFY(FMessages->asked.isEmpty());
        QVERIFY(List().PendingFiles().isEmpty());
        Select(List(), {" ^ Parent", "a.txt"});
        FMessages->Expect(TAnswer::Yes);
        List().DeleteSelected();
        QCOMPARE(FMessages->asked, QStringList({"Are you sure you want to move \"a.txt\" to the Trash?"}));
        QVERIFY(QFileInfo::exists(Box().Path("work")));
        QVERIFY(QFileInfo::exists(Box().Path("work/src/b.txt")));
    }

    void newFolderTwiceInTheSameFolder() {
        Show();
        test::TRecordingLink combo;
        List().SetDirTreeCombo(&combo);
        QTest::keyClick(View(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(QFileInfo(Box().Path("work/src/New Folder")).isDir());
        QCOMPARE(List().SelectedRows(), QList<int>({RowOf(List(), "New Folder")}));
        QVERIFY(Editor());  // its name is ready to be typed
        QTest::keyClick(Editor(), Qt::Key_Escape);
        List().NewFolder();
        QVERIFY(QFileInfo(Box().Path("work/src/New Folder(2)")).isDir());
        QCOMPARE(List().Item(List().SelectedRows().value(0)).caption, QStringLiteral("New Folder(2)"));
        // The combo reads each new folder, then shows the folder the list shows.
        QCOMPARE(combo.opened, QStringList({Box().Path("work/src/New Folder"), Box().Folder("work/src"),
                                            Box().Path("work/src/New Folder(2)"), Box().Folder("work/src")}));
        QTest::keyClick(Editor(), Qt::Key_Escape);
        List().SetDirTreeCombo(nullptr);
    }

    void newFolderIsNamedAsTyped() {
        Show();
        List().NewFolder();
        TypeName("Letters");
        QCOMPARE(Box().Names("work/src").filter("Folder"), QStringList());
        QVERIFY(QFileInfo(Box().Path("work/src/Letters")).isDir());
        QCOMPARE(List().Item(List().SelectedRows().value(0)).caption, QStringLiteral("Letters"));
    }

    void newFolderBesideAFileOfThatName() {
        Box().Write("work/src/New Folder");
        List().NewFolder();
        QVERIFY(QFileInfo(Box().Path("work/src/New Folder(2)")).isDir());
        QVERIFY(FMessages->shown.isEmpty());
    }

    void newFolderThatCannotBeMadeIsReported() {
        QVERIFY(QDir(Box().Path("work/src")).removeRecursively());  // gone while the list shows it
        List().NewFolder();
        QCOMPARE(FMessages->shown,
                 QStringList({"error: ERROR - Can't create folder  " + Box().Path("work/src/New Folder") +
                              "\nNo such file or directory"}));
    }

    void renameInPlace_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("shown");
        const QStringList all = {"a.txt", "b.txt", "c.txt", "data.xyz", "readme.TXT", "sub"};
        QTest::newRow("new name") << "d.txt"
                                  << QStringList({"b.txt", "c.txt", "d.txt", "data.xyz", "readme.TXT", "sub"})
                                  << QStringList();
        QTest::newRow("same name") << "a.txt" << all << QStringList();
        QTest::newRow("other letter case") << "A.TXT" << all << QStringList();
        QTest::newRow("existing name")
            << "b.txt" << all << QStringList({"error: \"b.txt\" already exists !"});
        QTest::newRow("empty name") << "" << all
                                    << QStringList(
                                           {"error: ERROR - Can't rename \"{dir}a.txt\" to \"{dir}\": "
                                            "the new name is empty."});
    }
    void renameInPlace() {
        QFETCH(QString, typed);
        QFETCH(QStringList, names);
        QFETCH(QStringList, shown);
        Show();
        Select(List(), {"a.txt"});
        QTest::keyClick(View(), Qt::Key_F2);
        TypeName(typed);
        QCOMPARE(Box().Names("work/src"), names);
        shown.replaceInStrings("{dir}", Box().Folder("work/src"));
        QCOMPARE(FMessages->shown, shown);
        QCOMPARE(RowOf(List(), "A.TXT"), -1);  // the list shows the names on disk
    }

    void renameWithTwoSelectedTakesTheFirst() {
        Show();
        Select(List(), {"b.txt", "a.txt"});
        QVERIFY(!MenuEnabled("ItemRename"));
        List().RenameSelected();
        QCOMPARE(View()->currentIndex().row(), RowOf(List(), "a.txt"));
        TypeName("first.txt");
        QVERIFY(QFileInfo::exists(Box().Path("work/src/first.txt")));
        QVERIFY(QFileInfo::exists(Box().Path("work/src/b.txt")));
    }

    void renameKeepsAHiddenExtension() {
        Show();
        List().SetHideFileExt(true);
        List().UpdateFileList();
        Select(List(), {"data"});
        List().RenameSelected();
        TypeName("numbers");
        QVERIFY(QFileInfo::exists(Box().Path("work/src/numbers.xyz")));
        QVERIFY(!QFileInfo::exists(Box().Path("work/src/data.xyz")));
        // An emptied name is refused rather than leaving just the extension.
        Select(List(), {"numbers"});
        List().RenameSelected();
        TypeName("");
        QVERIFY(QFileInfo::exists(Box().Path("work/src/numbers.xyz")));
        QCOMPARE(FMessages->shown.size(), 1);
        QVERIFY(FMessages->shown.first().endsWith("the new name is empty."));
    }

    void renamingAFolderMovesTheTree() {
        Show();
        test::TRecordingLink tree, combo;
        List().SetDirTree(&tree);
        List().SetDirTreeCombo(&combo);
        Select(List(), {"sub"});
        List().RenameSelected();
        TypeName("letters");
        QVERIFY(QFileInfo(Box().Path("work/src/letters")).isDir());
        QCOMPARE(tree.opened, QStringList({Box().Folder("work/src")}));
        QVERIFY(combo.opened.isEmpty());
        QCOMPARE(List().Item(List().SelectedRows().value(0)).caption, QStringLiteral("letters"));
        List().SetDirTreeCombo(nullptr);
        List().SetDirTree(nullptr);
    }

    void readOnlyRefusesRenaming() {
        Show();
        List().SetReadOnly(true);
        QCOMPARE(View()->editTriggers(), QAbstractItemView::NoEditTriggers);
        Select(List(), {"a.txt"});
        List().RenameSelected();
        QVERIFY(!Editor());
        QCOMPARE(FMessages->shown, QStringList({"warning: It's ReadOnly"}));
        List().SetReadOnly(false);
        QCOMPARE(View()->editTriggers(), QAbstractItemView::SelectedClicked);
    }

    void aReadOnlyFileIsNotRenamed() {
        Show();
        QFile::setPermissions(Box().Path("work/src/a.txt"), QFile::ReadOwner);
        List().UpdateFileList();
        Select(List(), {"a.txt"});
        List().RenameSelected();
        QVERIFY(!Editor());
        QCOMPARE(FMessages->shown, QStringList({"warning: It's ReadOnly"}));
    }

    void keysWhileEditingStayWithTheEditor() {
        Show();
        QApplication::setActiveWindow(&List());
        Select(List(), {"a.txt"});
        List().RenameSelected();
        QLineEdit* editor = Editor();
        QVERIFY(editor);
        editor->setFocus();
        if (QApplication::focusWidget() != editor) QSKIP("the editor cannot take the focus here");
        QTest::keyClick(editor, Qt::Key_F5);  // no refill under the editor
        QCOMPARE(Editor(), editor);
        TypeName("e.txt");
        QVERIFY(QFileInfo::exists(Box().Path("work/src/e.txt")));
    }

    void viewOpensKnownFilesInTheirViewer_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("viewed");
        QTest::newRow("text") << "readme.TXT" << true;
        QTest::newRow("unknown") << "data.xyz" << false;
        QTest::newRow("folder") << "sub" << false;
    }
    void viewOpensKnownFilesInTheirViewer() {
        QFETCH(QString, caption);
        QFETCH(bool, viewed);
        QList<TLaunchRequest> launched;
        SetLauncher([&](const TLaunchRequest& request) {
            launched << request;
            return true;
        });
        Show();
        Select(List(), {caption});
        QCOMPARE(MenuEnabled("ItemView"), viewed);
        QTest::keyClick(View(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(launched.size(), viewed ? 1 : 0);
        if (viewed) {
            const TLaunchRequest& request = launched.first();
            const QString document = Box().Path("work/src/") + caption;
            QVERIFY2(request.url == QUrl::fromLocalFile(document) || request.arguments.contains(document),
                     qPrintable(request.url.toString() + request.arguments.join(' ')));
        }
        QVERIFY(FMessages->shown.isEmpty());
    }

    void nothingHappensInTheDriveList() {
        List().SetDirectory("Drives");
        if (List().Count() == 0) QSKIP("no drives here");
        List().SetSelected(0, true);
        List().CutCopy(false);
        List().DeleteSelected();
        List().NewFolder();
        QVERIFY(List().PendingFiles().isEmpty());
        QVERIFY(FMessages->asked.isEmpty());
        QVERIFY(FMessages->shown.isEmpty());
    }
};

QTEST_MAIN(FileListOperationsTest)
#include "FileListOperationsTest.moc"
