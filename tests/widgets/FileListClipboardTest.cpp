// The text "Clipboard as Contents" takes from rich-text documents and from text files of any encoding.

#include <QtTest>

#include "FileListClipboard.h"
#include "FileListRtfText.h"

using namespace odz;

class FileListClipboardTest : public QObject {
    Q_OBJECT

private slots:
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

    void fileNamesText() {
        QCOMPARE(FileNamesText({"/a.txt", "/b"}), QStringLiteral("/a.txt\r\n/b"));
        QCOMPARE(FileNamesText({"/only"}), QStringLiteral("/only"));
    }
};

QTEST_MAIN(FileListClipboardTest)
#include "FileListClipboardTest.moc"
