#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "ScriptedMessages.h"
#include "ShellRoutines.h"

using namespace odz;

namespace {

const QChar kNul(u'\0');

void Touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

}  // namespace

class ShellRoutinesTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetFolderBrowser({}); }

    void addNullToStr_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty stays empty") << QString() << QString();
        QTest::newRow("one name") << QStringLiteral("a") << QStringLiteral("a") + kNul;
        QTest::newRow("already closed") << QStringLiteral("a") + kNul << QStringLiteral("a") + kNul;
        QTest::newRow("list") << QStringLiteral("a") + kNul + "b" << QStringLiteral("a") + kNul + "b" + kNul;
    }
    void addNullToStr() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(AddNullToStr(text), expected);
    }

    void splitNullList() {
        QCOMPARE(SplitNullList(QStringLiteral("/a") + kNul + "/b c" + kNul + kNul),
                 QStringList({QStringLiteral("/a"), QStringLiteral("/b c")}));
        QVERIFY(SplitNullList(QString()).isEmpty());
    }

    void containsChars_data() {
        QTest::addColumn<QString>("chars");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        QTest::newRow("none") << "abc"
                              << "xyz" << false;
        QTest::newRow("one in the middle") << "abc"
                                           << "xbz" << true;
        QTest::newRow("no characters") << ""
                                       << "abc" << false;
        QTest::newRow("empty text") << "abc"
                                    << "" << false;
        QTest::newRow("separators") << "\\/:*?"
                                    << "new:name" << true;
    }
    void containsChars() {
        QFETCH(QString, chars);
        QFETCH(QString, text);
        QFETCH(bool, expected);
        QCOMPARE(ContainsChars(chars, text), expected);
    }

    void fileDirExist_data() {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("message");
        QTest::newRow("file") << "a.txt" << true << "error: \"a.txt\" already exists !";
        QTest::newRow("folder with slash") << "sub/" << true << "error: \"sub\" already exists !";
        QTest::newRow("with NUL") << QString("a.txt") + kNul << true << "error: \"a.txt\" already exists !";
        QTest::newRow("folder with slash and NUL")
            << QString("sub/") + kNul << true << "error: \"sub\" already exists !";
        QTest::newRow("dangling link") << "link" << true << "error: \"link\" already exists !";
        QTest::newRow("missing") << "b.txt" << false << QString();
        QTest::newRow("under a file") << "a.txt/x" << false << QString();
    }
    void fileDirExist() {
        QFETCH(QString, relative);
        QFETCH(bool, exists);
        QFETCH(QString, message);
        QTemporaryDir dir;
        Touch(dir.filePath("a.txt"));
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        QVERIFY(QFile::link(dir.filePath("gone"), dir.filePath("link")));
        test::TScriptedMessages messages;
        QCOMPARE(FileDirExist(dir.path() + QLatin1Char('/') + relative), exists);
        QCOMPARE(messages.shown, message.isEmpty() ? QStringList() : QStringList{message});
    }

    void browseForFolderTakesTheChoice() {
        QTemporaryDir dir;
        QString title, start;
        SetFolderBrowser([&](QWidget*, const QString& t, const QString& s) {
            title = t;
            start = s;
            return dir.path();
        });
        QString path = dir.path();
        QVERIFY(BrowseForFolder(nullptr, path));
        QCOMPARE(path, dir.path() + QLatin1Char('/'));
        QCOMPARE(title, QStringLiteral("Please specify a directory"));
        QCOMPARE(start, dir.path());
    }

    void browseForFolderCancelled() {
        SetFolderBrowser([](QWidget*, const QString&, const QString&) { return QString(); });
        QString path = QStringLiteral("/kept/");
        QVERIFY(!BrowseForFolder(nullptr, path));
        QCOMPARE(path, QStringLiteral("/kept/"));
    }

    void browseForFolderShowsNoDialogOffScreen() {
        QVERIFY(IsHeadlessPlatform());
        QString path;
        QVERIFY(!BrowseForFolder(nullptr, path));
        QVERIFY(path.isEmpty());
    }

    void sendToFolderIsCreated() {
        QTemporaryDir data;
        const QByteArray saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
        const QString folder = SendToFolder();
        qputenv("XDG_DATA_HOME", saved);
        QCOMPARE(folder, data.path() + QStringLiteral("/odizodoruz/SendTo/"));
        QVERIFY(QFileInfo(folder).isDir());
    }
};

QTEST_MAIN(ShellRoutinesTest)
#include "ShellRoutinesTest.moc"
