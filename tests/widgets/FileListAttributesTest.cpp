// The "Set Attributes" dialog and what it changes: read-only is the owner's write permission, hidden is
// a leading "." in the name.

#include <QCheckBox>
#include <QLabel>
#include <QtTest>
#include <memory>

#include "FileListAttributes.h"
#include "FileListAttributesDialog.h"
#include "FileListTestSupport.h"
#include "ScriptedMessages.h"

using namespace odz;
using test::RowOf;
using test::Select;

namespace {

// A dialog step that sets the two boxes this platform has and presses OK (or Cancel).
test::TScriptedDialogs::TStep Answer(bool readOnly, bool hidden, bool ok = true) {
    return [=](QDialog& dialog) {
        auto& attributes = static_cast<TFileListAttributesDialog&>(dialog);
        attributes.ReadOnlyBox()->setChecked(readOnly);
        attributes.HiddenBox()->setChecked(hidden);
        return int(ok ? QDialog::Accepted : QDialog::Rejected);
    };
}

}  // namespace

class FileListAttributesTest : public QObject, protected test::TFileListFixture {
    Q_OBJECT

private:
    bool OwnerCanWrite(const QString& name) {
        return QFileInfo(Box().Path(name)).permission(QFile::WriteOwner);
    }

private slots:
    void init() {
        FBox = std::make_unique<test::TFileListSandbox>();
        FMessages = std::make_unique<test::TScriptedMessages>();
        FDialogs = std::make_unique<test::TScriptedDialogs>();
        Box().Write("work/src/a.txt");
        Box().Write("work/src/.profile");
        Box().MakeFolder("work/src/sub");
        FList = std::make_unique<TZTFilelistView>();
        List().SetDirectory(Box().Path("work/src"));
    }
    void cleanup() {
        CheckAnswered();
        Release();
    }

    void dialogShowsTheEntry() {
        QFile::setPermissions(Box().Path("work/src/.profile"), QFile::ReadOwner);
        List().UpdateFileList();
        Select(List(), {".profile"});
        FDialogs->Expect([](QDialog& dialog) {
            auto& attributes = static_cast<TFileListAttributesDialog&>(dialog);
            [&] {
                QCOMPARE(dialog.windowTitle(), QStringLiteral("Set Attributes"));
                QCOMPARE(attributes.NameLabel()->text(), QStringLiteral(".profile"));
                const struct {
                    QCheckBox* box;
                    const char* caption;
                    bool enabled, checked;
                } boxes[] = {{attributes.ReadOnlyBox(), "ReadOnly", true, true},
                             {attributes.ArchiveBox(), "Archive", false, false},
                             {attributes.HiddenBox(), "Hidden", true, true},
                             {attributes.SystemBox(), "System", false, false}};
                for (const auto& box : boxes) {
                    QCOMPARE(box.box->text(), QString::fromLatin1(box.caption));
                    QCOMPARE(box.box->isEnabled(), box.enabled);
                    QCOMPARE(box.box->isChecked(), box.checked);
                }
            }();
            return int(QDialog::Rejected);
        });
        List().EditAttributes();
        QCOMPARE(FDialogs->titles, QStringList({"Set Attributes"}));
    }

    void changes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("attrText");
        QTest::newRow("read-only") << "a.txt" << true << false << "a.txt"
                                   << "R";
        QTest::newRow("hidden") << "a.txt" << false << true << ".a.txt"
                                << "H";
        QTest::newRow("both") << "a.txt" << true << true << ".a.txt"
                              << "RH";
        QTest::newRow("shown again") << ".profile" << false << false << "profile"
                                     << "";
        QTest::newRow("hidden folder") << "sub" << false << true << ".sub"
                                       << "H";
    }
    void changes() {
        QFETCH(QString, name);
        QFETCH(bool, readOnly);
        QFETCH(bool, hidden);
        QFETCH(QString, result);
        QFETCH(QString, attrText);
        Select(List(), {name});
        FDialogs->Expect(Answer(readOnly, hidden));
        List().EditAttributes();
        QVERIFY(QFileInfo::exists(Box().Path("work/src/" + result)));
        if (result != name) QVERIFY(!QFileInfo::exists(Box().Path("work/src/" + name)));
        QCOMPARE(OwnerCanWrite("work/src/" + result), !readOnly);
        const int row = RowOf(List(), result);
        QVERIFY(row >= 0);
        QCOMPARE(List().Item(row).attrText, attrText);
        QCOMPARE(List().SelectedRows(), QList<int>({row}));
        QVERIFY(FMessages->shown.isEmpty());
    }

    void writableAgain() {
        QFile::setPermissions(Box().Path("work/src/a.txt"), QFile::ReadOwner | QFile::ReadGroup);
        List().UpdateFileList();
        Select(List(), {"a.txt"});
        FDialogs->Expect(Answer(false, false));
        List().EditAttributes();
        QVERIFY(OwnerCanWrite("work/src/a.txt"));
        QCOMPARE(List().Item(RowOf(List(), "a.txt")).attrText, QString());
    }

    void cancelChangesNothing() {
        Select(List(), {"a.txt"});
        FDialogs->Expect(Answer(true, true, false));
        List().EditAttributes();
        QVERIFY(OwnerCanWrite("work/src/a.txt"));
        QCOMPARE(Box().Names("work/src"), QStringList({".profile", "a.txt", "sub"}));
    }

    void hidingOntoAnExistingNameRenamesNothing() {
        Box().Write("work/src/.a.txt", "other");
        List().UpdateFileList();
        Select(List(), {"a.txt"});
        FDialogs->Expect(Answer(false, true));
        List().EditAttributes();
        QCOMPARE(FMessages->shown, QStringList({"error: \".a.txt\" already exists !"}));
        QVERIFY(QFileInfo::exists(Box().Path("work/src/a.txt")));
        QCOMPARE(Box().Read("work/src/.a.txt"), QByteArray("other"));
    }

    void aNameOfDotsOnlyCannotBeShown() {
        Box().Write("work/src/...");
        QCOMPARE(WriteEntryAttributes(nullptr, Box().Path("work/src/..."), {false, false}),
                 Box().Path("work/src/..."));
        QCOMPARE(FMessages->shown, QStringList({"error: ERROR - Can't set attributes of  ...\nWithout its "
                                                "leading dots the name would be empty."}));
    }

    void renamingAHiddenFolderMovesTheTree() {
        test::TRecordingLink tree;
        List().SetDirTree(&tree);
        Select(List(), {"sub"});
        FDialogs->Expect(Answer(false, true));
        List().EditAttributes();
        QCOMPARE(tree.opened, QStringList({Box().Folder("work/src")}));
        List().SetDirTree(nullptr);
    }

    void onlyEntriesHaveAttributes() {
        Select(List(), {" ^ Parent"});
        List().EditAttributes();
        QVERIFY(FDialogs->titles.isEmpty());
    }
};

QTEST_MAIN(FileListAttributesTest)
#include "FileListAttributesTest.moc"
