// Cut, copy and paste, delete, new folder, renaming in place, viewing and the "Set Attributes" dialog
// (read-only is the owner's write permission, hidden a leading "." in the name), as the file list's keys
// and commands reach them.

#include "ExecuteFile.h"
#include "FileListAttributes.h"
#include "FileListAttributesDialog.h"
#include "FileListTestSupport.h"
#include "ZTFilelistViewPopUp.h"

using namespace odz;
using test::RowOf;
using test::Select;

namespace {

// A dialog step that sets the two boxes this platform has and presses OK (or Cancel).
test::TScriptedDialogs::TStep Answer(bool readOnly, bool hidden, bool ok) {
    return [=](QDialog& dialog) {
        auto& attributes = static_cast<TFileListAttributesDialog&>(dialog);
        attributes.ReadOnlyBox()->setChecked(readOnly);
        attributes.HiddenBox()->setChecked(hidden);
        return int(ok ? QDialog::Accepted : QDialog::Rejected);
    };
}

// Files go from list to list, and to and from the desktop's file manager, on the desktop's clipboard: a
// copy stays there, a cut is moved and then cleared.
const struct {
    const char* name;
    const char* origin;         // the key pressed in the first list, or who wrote the data
    const char *format, *data;  // "@" stands for the source folder's URL
    bool moved;
} kPastes[] = {
    {"Ctrl+C in the other list", "C", "", "", false},
    {"Ctrl+X in the other list", "X", "", "", true},
    {"GNOME copy", "desktop", "x-special/gnome-copied-files", "copy\n@/sub\n@/a.txt", false},
    {"GNOME cut", "desktop", "x-special/gnome-copied-files", "cut\n@/sub\n@/a.txt\n", true},
    {"KDE cut", "KDE", "text/uri-list", "@/sub\r\n@/a.txt\r\n", true},
    {"URI list only", "desktop", "text/uri-list", "@/sub\r\n@/a.txt\r\n", false},
    {"newer GNOME, as text", "desktop", "text/plain", "x-special/nautilus-clipboard\ncut\n@/sub\n@/a.txt\n",
     true},
};

// Names typed over a caption: "old>new" tells what is renamed; "@" stands for the folder shown.
const QString kEmpty =
    QStringLiteral("error: ERROR - Can't rename \"@a.txt\" to \"@\": the new name is empty.");
const struct {
    const char* name;
    bool hideExtensions;
    const char *selected, *typed, *renamed;  // "|" between the selected
    QString shown;
} kRenames[] = {
    {"new name", false, "a.txt", "d.txt", "a.txt>d.txt", ""},
    {"other letter case", false, "a.txt", "A.TXT", "", ""},
    {"existing name", false, "a.txt", "b.txt", "", "error: \"b.txt\" already exists !"},
    {"empty name", false, "a.txt", "", "", kEmpty},
    {"a name with a slash", false, "a.txt", "x/c.txt", "",
     "error: ERROR - Can't rename \"@a.txt\" to \"@x/c.txt\": a name cannot contain \"/\"."},
    {"two selected: the first", false, "b.txt|a.txt", "first.txt", "a.txt>first.txt", ""},
    {"a folder", false, "sub", "letters", "sub>letters", ""},
    {"hidden extension kept", true, "data", "numbers", "data.xyz>numbers.xyz", ""},
    {"hidden extension, emptied", true, "data", "", "", QString(kEmpty).replace("a.txt", "data.xyz")},
};

// What the "Set Attributes" dialog is answered with, and what the entry is then.
const struct {
    const char* name;
    const char* entry;
    const char* before;  // "read-only", or "clash": ".a.txt" is there already
    bool readOnly, hidden, ok;
    const char *result, *attrText, *shown;
} kAttributeChanges[] = {
    {"read-only", "a.txt", "", true, false, true, "a.txt", "R", ""},
    {"hidden", "a.txt", "", false, true, true, ".a.txt", "H", ""},
    {"both", "a.txt", "", true, true, true, ".a.txt", "RH", ""},
    {"shown again", ".profile", "", false, false, true, "profile", "", ""},
    {"hidden folder", "sub", "", false, true, true, ".sub", "H", ""},
    {"writable again", "a.txt", "read-only", false, false, true, "a.txt", "", ""},
    {"cancelled", "a.txt", "", true, true, false, "a.txt", "", ""},
    {"hidden onto an existing name", "a.txt", "clash", false, true, true, "a.txt", "",
     "error: \".a.txt\" already exists !"},
};

}  // namespace

class FileListOperationsTest : public QObject, protected test::TExplorerFixture {
    Q_OBJECT

private:
    QAbstractItemView* View() { return List().CurrentView(); }
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
    // The names of the entries the list shows, sorted as the folder's are.
    QStringList ListedNames() {
        QStringList names;
        for (int row = 0; row < List().Count(); ++row) {
            if (!List().Item(row).isParent) names << List().Item(row).Name();
        }
        names.sort();
        return names;
    }

private slots:
    void init() {
        Begin(true);
        for (const char* name :
             {"work/src/a.txt", "work/src/b.txt", "work/src/c.txt", "work/src/readme.TXT",
              "work/src/data.xyz", "work/dst/keep.txt", "work/attr/a.txt", "work/attr/.profile"}) {
            Box().Write(name, name);
        }
        Box().MakeFolders({"work/src/sub", "work/attr/sub"});
        OpenList("work/src");
    }
    void cleanup() {
        CheckAnswered();
        Release();
        SetLauncher(nullptr);
    }

    void pasteTakesFilesFromTheDesktopClipboard_data() { test::AddRows(kPastes); }
    void pasteTakesFilesFromTheDesktopClipboard() {
        QFETCH(int, row);
        const QString origin = kPastes[row].origin;
        const bool moved = kPastes[row].moved;
        QVERIFY(test::Show(List()));
        const QByteArray source = QUrl::fromLocalFile(Path("work/src")).toEncoded();
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
            mime->setData(kPastes[row].format, QByteArray(kPastes[row].data).replace("@", source));
            if (origin == "KDE") mime->setData("application/x-kde-cutselection", "1");
            clipboard->setMimeData(mime);
        }
        TZTFilelistView other;
        other.SetDirectory(Path("work/dst"));
        QVERIFY(test::Show(other));
        other.PopUp()->Prepare();
        QVERIFY(other.PopUp()->Item("ItemOpPaste")->isEnabled());
        QTest::keyClick(other.CurrentView(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Box().Names("work/dst"), QStringList({"a.txt", "keep.txt", "sub"}));
        QCOMPARE(Box().Read("work/dst/a.txt"), QByteArray("work/src/a.txt"));
        QCOMPARE(Box().Names("work/src").mid(0, 2),
                 moved ? QStringList({"b.txt", "c.txt"}) : QStringList({"a.txt", "b.txt"}));
        QVERIFY(Box().Names("work/src").contains("sub") != moved && RowOf(other, "a.txt") >= 0);
        // What was moved is no longer where the clipboard says, so it is cleared; a copy stays.
        QCOMPARE(other.PendingFiles().size(), moved ? 0 : 2);
        other.PopUp()->Prepare();
        QCOMPARE(other.PopUp()->Item("ItemOpPaste")->isEnabled(), !moved);
        QVERIFY(FMessages->shown.isEmpty());
    }

    void cancelInAConflictStopsThePaste() {
        Box().Write("work/dst/a.txt", "old");
        test::TRecordingLink tree, combo;
        List().SetDirTree(&tree);
        List().SetDirTreeCombo(&combo);
        Select(List(), {"a.txt", "b.txt"});
        List().CutCopy(false);
        List().SetDirectory(Path("work/dst"));
        FMessages->Expect(TAnswer::Cancel);  // "Replace it?" for a.txt
        List().PasteFiles();
        QCOMPARE(FMessages->asked.size(), 1);
        QCOMPARE(Box().Read("work/dst/a.txt"), QByteArray("old"));
        QCOMPARE(Box().Names("work/dst"), QStringList({"a.txt", "keep.txt"}));
        QCOMPARE(List().PendingFiles().size(), 2);  // a copy stays on the clipboard
        // The linked combo, rather than the tree, reads the folder again.
        QCOMPARE(combo.opened + tree.opened, QStringList({Box().Folder("work/dst")}));
    }

    // The Delete key asks once for all the selected entries, the parent row left out; the trash, the list
    // and the clipboard follow.
    void deleteSelected() {
        QVERIFY(test::Show(List()));
        Select(List(), {" ^ Parent"});
        QTest::keyClick(View(), Qt::Key_Delete);  // nothing to ask about
        FMessages->Expect({TAnswer::No, TAnswer::Yes});
        for (int time = 0; time < 2; ++time) {
            Select(List(), {" ^ Parent", "a.txt", "b.txt", "c.txt"});
            List().CutCopy(false);
            QTest::keyClick(View(), Qt::Key_Delete);
            QCOMPARE(Box().Names("work/src").size(), time == 0 ? 6 : 3);
        }
        const QString question = "Are you sure you want to move these 3 items to the Trash?";
        QCOMPARE(FMessages->asked, QStringList({question, question}));
        QCOMPARE(Box().Names("home/.local/share/Trash/files"), QStringList({"a.txt", "b.txt", "c.txt"}));
        QCOMPARE(ListedNames(), QStringList({"data.xyz", "readme.TXT", "sub"}));
        QVERIFY(List().PendingFiles().isEmpty());  // deleted files leave the clipboard
        QVERIFY(FMessages->shown.isEmpty());
    }

    void newFolder() {
        QVERIFY(test::Show(List()));
        test::TRecordingLink combo;
        List().SetDirTreeCombo(&combo);
        QTest::keyClick(View(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(QFileInfo(Path("work/src/New Folder")).isDir());
        QCOMPARE(List().SelectedRows(), QList<int>({RowOf(List(), "New Folder")}));
        QVERIFY(Editor());  // its name is ready to be typed
        QTest::keyClick(Editor(), Qt::Key_Escape);
        // The next one is numbered past every entry in the way, a file among them; it is named as typed.
        Box().Write("work/src/New Folder(2)");
        List().NewFolder();
        QVERIFY(QFileInfo(Path("work/src/New Folder(3)")).isDir());
        TypeName("Letters");
        QCOMPARE(Box().Names("work/src").filter("e"),
                 QStringList({"Letters", "New Folder", "New Folder(2)", "readme.TXT"}));
        QCOMPARE(List().Item(List().SelectedRows().value(0)).caption, QStringLiteral("Letters"));
        // The combo reads each new folder, then shows the folder the list shows.
        QCOMPARE(combo.opened, QStringList({Path("work/src/New Folder"), Box().Folder("work/src"),
                                            Path("work/src/New Folder(3)"), Box().Folder("work/src"),
                                            Box().Folder("work/src")}));
        List().SetDirTreeCombo(nullptr);
        QVERIFY(QDir(Path("work/src")).removeRecursively());  // gone while the list shows it
        List().NewFolder();
        QCOMPARE(FMessages->shown,
                 QStringList({"error: ERROR - Can't create folder  " + Path("work/src/New Folder") +
                              "\nNo such file or directory"}));
    }

    void renameInPlace_data() { test::AddRows(kRenames); }
    void renameInPlace() {
        QFETCH(int, row);
        const auto& c = kRenames[row];
        const QString renamed = c.renamed;
        test::TRecordingLink tree, combo;
        List().SetDirTree(&tree);
        List().SetDirTreeCombo(&combo);
        List().SetHideFileExt(c.hideExtensions);
        List().UpdateFileList();
        QVERIFY(test::Show(List()));
        Select(List(), QString(c.selected).split('|'));
        QTest::keyClick(View(), Qt::Key_F2);
        TypeName(c.typed);
        QStringList names = {"a.txt", "b.txt", "c.txt", "data.xyz", "readme.TXT", "sub"};
        if (!renamed.isEmpty()) {
            names.removeOne(renamed.section('>', 0, 0));
            names << renamed.section('>', 1);
            names.sort();
            QCOMPARE(List().Item(List().SelectedRows().value(0)).Name(), renamed.section('>', 1));
        }
        QCOMPARE(Box().Names("work/src"), names);
        QCOMPARE(ListedNames(), names);  // the list shows the names on disk
        QCOMPARE(FMessages->shown.join('|'), QString(c.shown).replace("@", Box().Folder("work/src")));
        // A renamed folder moves the tree (not the combo) to the folder it is in.
        QCOMPARE(tree.opened,
                 renamed.startsWith("sub") ? QStringList({Box().Folder("work/src")}) : QStringList());
        QVERIFY(combo.opened.isEmpty());
    }

    void whatIsReadOnlyIsNotRenamed() {
        QVERIFY(test::Show(List()));
        QFile::setPermissions(Path("work/src/b.txt"), QFile::ReadOwner);
        List().UpdateFileList();
        for (const char* name : {"a.txt", "b.txt"}) {
            List().SetReadOnly(QString(name) == "a.txt");
            Select(List(), {name});
            List().RenameSelected();
            QVERIFY(!Editor());
        }
        QCOMPARE(FMessages->shown, QStringList({"warning: It's ReadOnly", "warning: It's ReadOnly"}));
    }

    void nothingHappensInTheDriveList() {
        List().SetDirectory("Drives");
        if (List().Count() == 0) QSKIP("no drives here");
        List().SetSelected(0, true);
        List().CutCopy(false);
        List().DeleteSelected();
        List().NewFolder();
        List().EditAttributes();
        QVERIFY(List().PendingFiles().isEmpty() && FDialogs->titles.isEmpty());
        QVERIFY(FMessages->asked.isEmpty() && FMessages->shown.isEmpty());
    }

    void attributeChanges_data() { test::AddRows(kAttributeChanges); }
    void attributeChanges() {
        QFETCH(int, row);
        const auto& c = kAttributeChanges[row];
        const QString before = c.before, name = c.entry, result = c.result;
        if (before == "read-only")
            QFile::setPermissions(Path("work/attr/a.txt"), QFile::ReadOwner | QFile::ReadGroup);
        if (before == "clash") Box().Write("work/attr/.a.txt", "other");
        test::TRecordingLink tree;
        List().SetDirTree(&tree);
        List().SetDirectory(Path("work/attr"));
        Select(List(), {name});
        FDialogs->Expect(Answer(c.readOnly, c.hidden, c.ok));
        List().EditAttributes();
        QVERIFY(QFileInfo::exists(Path("work/attr/" + result)));
        if (result != name) QVERIFY(!QFileInfo::exists(Path("work/attr/" + name)));
        QCOMPARE(QFileInfo(Path("work/attr/" + result)).permission(QFile::WriteOwner), !(c.ok && c.readOnly));
        const int shownRow = RowOf(List(), result);
        QCOMPARE(List().Item(shownRow).attrText, QString(c.attrText));
        QCOMPARE(List().SelectedRows(), QList<int>({shownRow}));
        QCOMPARE(FMessages->shown, *c.shown ? QStringList(c.shown) : QStringList());
        if (before == "clash") QCOMPARE(Box().Read("work/attr/.a.txt"), QByteArray("other"));
        // A folder renamed by hiding it moves the tree to the folder it is in.
        QCOMPARE(tree.opened, name == "sub" ? QStringList({Box().Folder("work/attr")}) : QStringList());
    }

    void aNameOfDotsOnlyCannotBeShown() {
        Box().Write("work/attr/...");
        QCOMPARE(WriteEntryAttributes(nullptr, Path("work/attr/..."), {false, false}), Path("work/attr/..."));
        QCOMPARE(FMessages->shown, QStringList({"error: ERROR - Can't set attributes of  ...\nWithout its "
                                                "leading dots the name would be empty."}));
    }
};

QTEST_MAIN(FileListOperationsTest)
#include "FileListOperationsTest.moc"
