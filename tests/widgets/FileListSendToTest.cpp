// Sending entries into another folder, to a shortcut's folder or program, and to the clipboard; and the
// text "Clipboard as Contents" takes from rich-text documents and from text files of any encoding.

#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>

#include "ExecuteFile.h"
#include "FileListClipboard.h"
#include "FileListRtfText.h"
#include "FileListSendToDialog.h"
#include "FileListTestSupport.h"
#include "ShellRoutines.h"
#include "ZTFilelistViewPopUp.h"

using namespace odz;
using test::RowOf;
using test::Select;

namespace {

// A dialog step that types a path and presses OK (or another button).
test::TScriptedDialogs::TStep Type(const QString& path, int button = QDialog::Accepted) {
    return [path, button](QDialog& dialog) {
        static_cast<TFileListSendToDialog&>(dialog).PathBox()->setText(path);
        return button;
    };
}

}  // namespace

class FileListSendToTest : public QObject, protected test::TExplorerFixture {
    Q_OBJECT

private slots:
    void init() {
        Begin(true);
        for (const char* name : {"work/src/a.txt", "work/src/b.txt", "work/src/sub/inner.txt"})
            Box().Write(name, name);
        Box().MakeFolders({"work/dst", "home/inbox"});
        OpenList("work/src");
    }
    void cleanup() {
        CheckAnswered();
        Release();
        SetLauncher(nullptr);
        SetFolderBrowser(nullptr);
    }

    void sendToDialogOffersItsPathAndBrowsing() {
        TFileListSendToDialog dialog;
        dialog.SetPath("/somewhere/");
        QCOMPARE(dialog.PathBox()->selectedText(), QStringLiteral("/somewhere/"));  // typing replaces it
        QVERIFY(dialog.OkButton()->isDefault());
        dialog.BrowseButton()->click();
        QCOMPARE(dialog.result(), TFileListSendToDialog::kBrowse);
    }

    // Typed paths, with and without a trailing separator, absolute, relative to the folder shown, and
    // in the home folder.
    void anyFolder_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("target");
        QTest::newRow("without trailing separator") << "@/work/dst"
                                                    << "work/dst";
        QTest::newRow("with trailing separator") << "@/work/dst/"
                                                 << "work/dst";
        QTest::newRow("relative") << "../dst"
                                  << "work/dst";
        QTest::newRow("home") << "~/inbox"
                              << "home/inbox";
    }
    void anyFolder() {
        QFETCH(QString, typed);
        QFETCH(QString, target);
        Select(List(), {"a.txt", "sub"});
        FDialogs->Expect(Type(typed.replace("@", Path(""))));
        List().SendTo(0);
        QCOMPARE(Box().Names(target), QStringList({"a.txt", "sub"}));
        QCOMPARE(Box().Read(target + "/sub/inner.txt"), QByteArray("work/src/sub/inner.txt"));
        QVERIFY(FMessages->shown.isEmpty());
    }

    void anyFolderLeavesTheClipboardAlone() {
        Select(List(), {"a.txt"});
        List().CutCopy(false);
        Select(List(), {"sub"});
        FDialogs->Expect(Type(Path("work/dst")));
        FDialogs->Expect(Type("/typed/then/cancelled", QDialog::Rejected));
        List().SendTo(0);
        List().SendTo(0);
        QCOMPARE(Box().Names("work/dst"), QStringList({"sub"}));
        QCOMPARE(List().PendingFiles(), QStringList{Path("work/src/a.txt")});
        List().PopUp()->Prepare();
        QVERIFY(List().PopUp()->Item("ItemOpPaste")->isEnabled());
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
        QCOMPARE(starts, QStringList({Path("work"), Path("work")}));
        QCOMPARE(shownAgain, Box().Folder("work/dst"));
        QCOMPARE(Box().Names("work/dst"), QStringList({"b.txt"}));
    }

    void copyToFolder_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("answer");  // -1 when nothing is asked
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("shown");  // "@" stands for the sandbox
        QTest::newRow("a missing folder, made")
            << "work/new/deeper" << int(TAnswer::Yes) << QStringList({"a.txt"}) << QStringList();
        QTest::newRow("a missing folder, not made")
            << "work/new/deeper" << int(TAnswer::No) << QStringList() << QStringList();
        QTest::newRow("a file is no folder")
            << "work/src/b.txt" << -1 << QStringList()
            << QStringList({"error: ERROR - Can't copy to  @/work/src/b.txt\n"
                            "It is not a folder."});
        QTest::newRow("the folder shown gets copies")
            << "work/src" << -1 << QStringList({"a - Copy.txt", "a.txt", "b.txt", "sub"}) << QStringList();
    }
    void copyToFolder() {
        QFETCH(QString, target);
        QFETCH(int, answer);
        QFETCH(QStringList, names);
        QFETCH(QStringList, shown);
        Select(List(), {"a.txt"});
        if (answer >= 0) FMessages->Expect(TAnswer(answer));
        List().CopyToFolder(Path(target));
        QCOMPARE(FMessages->asked, answer < 0 ? QStringList()
                                              : QStringList("The folder \"" + Path(target) +
                                                            "\" does not exist.\nDo you want to create it?"));
        QCOMPARE(FMessages->shown, shown.replaceInStrings("@", Path("")));
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
        Box().Link(Path("work/bin/tool"), Box().SendToFolder() + "/Tool");
        QList<TLaunchRequest> launched;
        SetLauncher([&](const TLaunchRequest& request) {
            launched << request;
            return true;
        });
        // To a folder: the entries are copied there.
        Select(List(), {"a.txt", "b.txt"});
        List().PopUp()->Prepare();
        QCOMPARE(List().PopUp()->Item("Send_To4")->text(), QStringLiteral("Destination"));
        List().PopUp()->Item("Send_To4")->trigger();
        QCOMPARE(Box().Names("work/dst"), QStringList({"a.txt", "b.txt"}));
        // To a program: it is started with the first entry, in the folder shown.
        Select(List(), {"a.txt", "b.txt"});
        List().SendToShortcut(Box().SendToFolder() + "/Tool");
        QCOMPARE(launched.size(), 1);
        QCOMPARE(launched.first().program, Path("work/bin/tool"));
        QCOMPARE(launched.first().arguments, QStringList({"a.txt"}));
        QCOMPARE(QDir(launched.first().workingDirectory).absolutePath(), Path("work/src"));
        // A plain folder serves as well; a dangling link is reported.
        Select(List(), {"a.txt", "b.txt"});
        List().SendToShortcut(Path("work/plain"));
        QCOMPARE(Box().Names("work/plain"), QStringList({"a.txt", "b.txt"}));
        List().SendToShortcut(Box().SendToFolder() + "/Gone");
        QCOMPARE(FMessages->shown, QStringList({"error: ERROR - Can't Open file  " + Path("work/gone")}));
    }

    void clipboardAsFileNames() {
        Select(List(), {"a.txt", "sub"});
        List().SendTo(2);
        // Display order: the folder first.
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 Path("work/src/sub") + "\r\n" + Path("work/src/a.txt"));
        Select(List(), {" ^ Parent", "b.txt"});
        List().SendTo(2);
        QCOMPARE(QGuiApplication::clipboard()->text(), Path("work/src/b.txt"));
    }

    void clipboardAsContents_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("rtf");
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

    void clipboardAsContentsOfPicturesAndFolders() {
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(Path("work/src/pic.bmp"), "BMP"));
        Box().Write("work/src/broken.bmp", "not a picture");
        List().UpdateFileList();
        Select(List(), {"pic.bmp"});
        List().SendTo(1);
        const QImage pasted = qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData());
        QCOMPARE(pasted.size(), QSize(3, 2));
        QCOMPARE(pasted.pixelColor(1, 1), QColor(Qt::red));
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

    void richTextPlainText_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::newRow("paragraphs and tabs")
            << QByteArray("{\\rtf1 one\\par two\\tab three\\line four}") << "one\ntwo\tthree\nfour";
        QTest::newRow("formatting words")
            << QByteArray("{\\rtf1\\ansi\\deff0 {\\b bold} and {\\i italic}}") << "bold and italic";
        QTest::newRow("tables of the document")
            << QByteArray(
                   "{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                   "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}text}")
            << "text";
        QTest::newRow("unknown optional destination")
            << QByteArray("{\\rtf1 a{\\*\\generator Writer;}b}") << "ab";
        QTest::newRow("escaped characters") << QByteArray("{\\rtf1 \\{x\\} \\\\ y}") << "{x} \\ y";
        QTest::newRow("code-page bytes")
            << QByteArray("{\\rtf1\\ansi caf\\'e9 \\'80}") << QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac");
        QTest::newRow("Unicode with a stand-in") << QByteArray("{\\rtf1 Ti\\u7871?ng Vi\\u7879\\'3fi}")
                                                 << QString::fromUtf8("Ti\xe1\xba\xbfng Vi\xe1\xbb\x87i");
        QTest::newRow("Unicode without stand-in")
            << QByteArray("{\\rtf1\\uc0 \\u273\\u-3872 x}") << QString::fromUtf8("\xc4\x91\xef\x83\xa0x");
        QTest::newRow("picture") << QByteArray("{\\rtf1 a{\\pict\\pngblip 89504e47}b}") << "ab";
        QTest::newRow("field shows its result")
            << QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}") << "link";
        QTest::newRow("typographic words (their blank is a delimiter)")
            << QByteArray("{\\rtf1 \\ldblquote a\\rdblquote \\endash b}")
            << QString::fromUtf8(
                   "\xe2\x80\x9c"
                   "a\xe2\x80\x9d\xe2\x80\x93"
                   "b");
        QTest::newRow("line ends of the source are no text") << QByteArray("{\\rtf1 a\r\nb}") << "ab";
    }
    void richTextPlainText() {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QVERIFY(IsRichText(rtf));
        QCOMPARE(RichTextPlainText(rtf), text);
    }

    void decodeTextFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ASCII") << QByteArray("plain\r\n") << "plain\r\n";
        QTest::newRow("UTF-8") << QByteArray("\xc4\x91") << QString::fromUtf8("\xc4\x91");
        QTest::newRow("UTF-8 mark") << QByteArray("\xef\xbb\xbf\xc4\x91") << QString::fromUtf8("\xc4\x91");
        QTest::newRow("UTF-16 little-endian")
            << QByteArray("\xff\xfe\x11\x01", 4) << QString::fromUtf8("\xc4\x91");
        QTest::newRow("UTF-16 big-endian")
            << QByteArray("\xfe\xff\x01\x11", 4) << QString::fromUtf8("\xc4\x91");
        QTest::newRow("Windows-1252")
            << QByteArray("\x93q\x94 \x81") << QString::fromUtf8("\xe2\x80\x9cq\xe2\x80\x9d \xc2\x81");
        QTest::newRow("empty") << QByteArray() << "";
    }
    void decodeTextFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(DecodeTextFile(bytes), text);
    }
};

QTEST_MAIN(FileListSendToTest)
#include "FileListSendToTest.moc"
