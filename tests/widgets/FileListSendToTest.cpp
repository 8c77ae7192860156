// Sending entries into another folder, to a shortcut's folder or program, and to the clipboard.

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "ExecuteFile.h"
#include "FileListSendToDialog.h"
#include "FileListTestSupport.h"
#include "ScriptedMessages.h"
#include "ShellRoutines.h"
#include "ZTFilelistViewPopUp.h"

using namespace odz;
using test::RowOf;
using test::Select;

namespace {

// A dialog step that types a path and presses OK.
test::TScriptedDialogs::TStep Type(const QString& path) {
    return [path](QDialog& dialog) {
        static_cast<TFileListSendToDialog&>(dialog).PathBox()->setText(path);
        return int(QDialog::Accepted);
    };
}

}  // namespace

class FileListSendToTest : public QObject, protected test::TFileListFixture {
    Q_OBJECT

private:
private slots:
    void init() {
        FBox = std::make_unique<test::TFileListSandbox>();
        FMessages = std::make_unique<test::TScriptedMessages>();
        FDialogs = std::make_unique<test::TScriptedDialogs>();
        for (const char* name : {"work/src/a.txt", "work/src/b.txt"}) Box().Write(name, name);
        Box().MakeFolder("work/src/sub");
        Box().Write("work/src/sub/inner.txt");
        Box().MakeFolder("work/dst");
        FList = std::make_unique<TZTFilelistView>();
        List().SetDirectory(Box().Path("work/src"));
    }
    void cleanup() {
        CheckAnswered();
        Release();
        SetLauncher(nullptr);
        SetFolderBrowser(nullptr);
    }

    void sendToDialog() {
        TFileListSendToDialog dialog;
        dialog.SetPath("/somewhere/");
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Send to any folder"));
        QCOMPARE(dialog.Prompt()->text(), QStringLiteral("Please enter the send_to path"));
        QCOMPARE(dialog.PathBox()->maxLength(), 285);
        QCOMPARE(dialog.PathBox()->selectedText(), QStringLiteral("/somewhere/"));
        QCOMPARE(dialog.OkButton()->text(), QStringLiteral("OK"));
        QVERIFY(dialog.OkButton()->isDefault());
        QCOMPARE(dialog.CancelButton()->text(), QStringLiteral("Cancel"));
        QCOMPARE(dialog.BrowseButton()->text(), QStringLiteral("Browse"));
        dialog.BrowseButton()->click();
        QCOMPARE(dialog.result(), TFileListSendToDialog::kBrowse);
    }

    // Typed paths, with and without a trailing separator, absolute, relative to the folder shown, and
    // in the home folder.
    void anyFolder_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("target");
        QTest::newRow("without trailing separator") << "{box}/work/dst"
                                                    << "work/dst";
        QTest::newRow("with trailing separator") << "{box}/work/dst/"
                                                 << "work/dst";
        QTest::newRow("relative") << "../dst"
                                  << "work/dst";
        QTest::newRow("home") << "~/inbox"
                              << "home/inbox";
    }
    void anyFolder() {
        QFETCH(QString, typed);
        QFETCH(QString, target);
        Box().MakeFolder("home/inbox");
        Select(List(), {"a.txt", "sub"});
        FDialogs->Expect(Type(typed.replace("{box}", Box().Path())));
        List().SendTo(0);
        QCOMPARE(Box().Names(target), QStringList({"a.txt", "sub"}));
        QVERIFY(QFileInfo::exists(Box().Path(target + "/sub/inner.txt")));
        QVERIFY(FMessages->shown.isEmpty());
    }

    void anyFolderLeavesTheClipboardAlone() {
        Select(List(), {"a.txt"});
        List().CutCopy(false);
        Select(List(), {"sub"});
        FDialogs->Expect(Type(Box().Path("work/dst")));
        List().SendTo(0);
        QCOMPARE(List().PendingFiles(), QStringList{Box().Path("work/src/a.txt")});
        List().PopUp()->Prepare();
        QVERIFY(List().PopUp()->Item("ItemOpPaste")->isEnabled());
    }

    void anyFolderCancelledKeepsWhatWasRemembered() {
        Select(List(), {"a.txt"});
        List().CutCopy(false);
        FDialogs->Expect([](QDialog& dialog) {
            static_cast<TFileListSendToDialog&>(dialog).PathBox()->setText("/typed/then/cancelled");
            return int(QDialog::Rejected);
        });
        List().SendTo(0);
        QCOMPARE(List().PendingFiles().size(), 1);
    }

    void anyFolderByBrowsing() {
        QString browserStart;
        SetFolderBrowser([&](QWidget*, const QString&, const QString& start) {
            browserStart = start;
            return Box().Path("work/dst");
        });
        Select(List(), {"b.txt"});
        FDialogs->Expect([this](QDialog& dialog) {
            static_cast<TFileListSendToDialog&>(dialog).PathBox()->setText(Box().Path("work"));
            return TFileListSendToDialog::kBrowse;
        });
        QString shownAgain;
        FDialogs->Expect([&](QDialog& dialog) {
            shownAgain = static_cast<TFileListSendToDialog&>(dialog).Path();
            return int(QDialog::Accepted);
        });
        List().SendTo(0);
        QCOMPARE(browserStart, Box().Path("work"));
        QCOMPARE(shownAgain, Box().Folder("work/dst"));
        QCOMPARE(Box().Names("work/dst"), QStringList({"b.txt"}));
    }

    void browsingCancelledSendsNothing() {
        SetFolderBrowser([](QWidget*, const QString&, const QString&) { return QString(); });
        Select(List(), {"b.txt"});
        FDialogs->Expect([](QDialog&) { return TFileListSendToDialog::kBrowse; });
        List().SendTo(0);
        QVERIFY(Box().Names("work/dst").isEmpty());
    }

    void aMissingFolderIsMadeWhenTheUserAgrees_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("yes") << int(TAnswer::Yes) << QStringList({"a.txt"});
        QTest::newRow("no") << int(TAnswer::No) << QStringList();
    }
    void aMissingFolderIsMadeWhenTheUserAgrees() {
        QFETCH(int, answer);
        QFETCH(QStringList, names);
        Select(List(), {"a.txt"});
        FMessages->Expect(TAnswer(answer));
        List().CopyToFolder(Box().Path("work/new/deeper"));
        QCOMPARE(FMessages->asked, QStringList({"The folder \"" + Box().Path("work/new/deeper") +
                                                "\" does not exist.\nDo you want to create it?"}));
        QCOMPARE(Box().Names("work/new/deeper"), names);
    }

    void aFileIsNoFolderToSendTo() {
        Select(List(), {"a.txt"});
        List().CopyToFolder(Box().Path("work/src/b.txt"));
        QCOMPARE(FMessages->shown, QStringList({"error: ERROR - Can't copy to  " +
                                                Box().Path("work/src/b.txt") + "\nIt is not a folder."}));
        QCOMPARE(Box().Read("work/src/b.txt"), QByteArray("work/src/b.txt"));
    }

    void intoTheFolderShownMakesCopies() {
        Select(List(), {"a.txt"});
        List().CopyToFolder(Box().Path("work/src"));
        QVERIFY(RowOf(List(), "a - Copy.txt") >= 0);  // the list shows the new entry
    }

    void shortcutToAFolder() {
        Box().Link(Box().Path("work/dst"), Box().SendToFolder() + "/Destination");
        Select(List(), {"a.txt", "b.txt"});
        List().PopUp()->Prepare();
        QCOMPARE(List().PopUp()->Item("Send_To4")->text(), QStringLiteral("Destination"));
        List().PopUp()->Item("Send_To4")->trigger();
        QCOMPARE(Box().Names("work/dst"), QStringList({"a.txt", "b.txt"}));
        QVERIFY(FMessages->shown.isEmpty());
    }

    void shortcutToAProgramStartsItWithTheFirstEntry() {
        Box().Write("work/bin/tool", "#!/bin/sh\n");
        QFile::setPermissions(Box().Path("work/bin/tool"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        Box().Link(Box().Path("work/bin/tool"), Box().SendToFolder() + "/Tool");
        QList<TLaunchRequest> launched;
        SetLauncher([&](const TLaunchRequest& request) {
            launched << request;
            return true;
        });
        Select(List(), {"a.txt", "b.txt"});
        List().SendToShortcut(Box().SendToFolder() + "/Tool");
        QCOMPARE(launched.size(), 1);
        QCOMPARE(launched.first().program, Box().Path("work/bin/tool"));
        QCOMPARE(launched.first().arguments, QStringList({"a.txt"}));
        QCOMPARE(QDir(launched.first().workingDirectory).absolutePath(), Box().Path("work/src"));
    }

    void aDanglingShortcutIsReported() {
        Box().Link(Box().Path("work/gone"), Box().SendToFolder() + "/Gone");
        Select(List(), {"a.txt"});
        List().SendToShortcut(Box().SendToFolder() + "/Gone");
        QCOMPARE(FMessages->shown,
                 QStringList({"error: ERROR - Can't Open file  " + Box().Path("work/gone")}));
    }

    void aPlainFolderAsShortcut() {
        Select(List(), {"a.txt"});
        List().SendToShortcut(Box().Path("work/dst"));
        QCOMPARE(Box().Names("work/dst"), QStringList({"a.txt"}));
    }

    void clipboardAsFileNames() {
        Select(List(), {"a.txt", "sub"});
        List().SendTo(2);
        // Display order: the folder first.
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 Box().Path("work/src/sub") + "\r\n" + Box().Path("work/src/a.txt"));
        Select(List(), {" ^ Parent", "b.txt"});
        List().SendTo(2);
        QCOMPARE(QGuiApplication::clipboard()->text(), Box().Path("work/src/b.txt"));
    }

    void clipboardAsContents_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("rtf");
        QTest::newRow("UTF-8") << "viet.txt" << QByteArray("Ti\xe1\xba\xbfng Vi\xe1\xbb\x87t\r\n")
                               << QString::fromUtf8("Ti\xe1\xba\xbfng Vi\xe1\xbb\x87t\r\n") << QByteArray();
        QTest::newRow("UTF-8 with a byte-order mark") << "bom.txt"
                                                      << QByteArray(
                                                             "\xef\xbb\xbf"
                                                             "abc")
                                                      << "abc" << QByteArray();
        QTest::newRow("UTF-16") << "wide.txt"
                                << QByteArray(
                                       "\xff\xfe"
                                       "a\0b\0",
                                       6)
                                << "ab" << QByteArray();
        QTest::newRow("legacy bytes") << "old.ini" << QByteArray("caf\xe9 \x80")
                                      << QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac") << QByteArray();
        const QByteArray rtf =
            "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hello \\b world\\b0\\par Ti\\u7871?ng}";
        QTest::newRow("rich text") << "doc.rtf" << rtf << QString::fromUtf8("Hello world\nTi\xe1\xba\xbfng")
                                   << rtf;
    }
    void clipboardAsContents() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(QByteArray, rtf);
        Box().Write("work/src/" + name, bytes);
        List().UpdateFileList();
        Select(List(), {name});
        List().SendTo(1);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        QCOMPARE(data->text(), text);
        QCOMPARE(data->data("text/rtf"), rtf);
        QVERIFY(FMessages->shown.isEmpty());
    }

    void clipboardAsContentsOfABitmap() {
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(Box().Path("work/src/pic.bmp"), "BMP"));
        List().UpdateFileList();
        Select(List(), {"pic.bmp"});
        List().SendTo(1);
        const QImage pasted = qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData());
        QCOMPARE(pasted.size(), QSize(3, 2));
        QCOMPARE(pasted.pixelColor(1, 1), QColor(Qt::red));
    }

    void clipboardAsContentsOfAnUnreadablePicture() {
        QGuiApplication::clipboard()->setText("kept");
        Box().Write("work/src/broken.bmp", "not a picture");
        List().UpdateFileList();
        Select(List(), {"broken.bmp"});
        List().SendTo(1);
        QCOMPARE(FMessages->shown,
                 QStringList({"error: ERROR - Can't copy file  broken.bmp\nThe picture cannot be read."}));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    }

    void aFolderHasNoContentsToCopy() {
        QGuiApplication::clipboard()->setText("kept");
        Select(List(), {"sub"});
        List().SendTo(1);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    }
};

QTEST_MAIN(FileListSendToTest)
#include "FileListSendToTest.moc"
