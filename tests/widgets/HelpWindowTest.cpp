// The help window and its book: the contents open on the help command, every link of every page leads
// to a page and an anchor that exist, Back and Forward walk the pages read, and the window's pictures
// load at their sizes.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QStringDecoder>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include "HelpWindow.h"
#include "WorkbenchResources.h"

using namespace odz;

namespace {

const QUrl kContents(QStringLiteral("qrc:/help/index.html"));

// What a page holds as the help browser reads it.
struct TPage {
    QString title;
    QStringList links;      // every href, as written
    QSet<QString> anchors;  // every name a link may point to with "#name"
    QStringList images;     // every picture's source
    bool empty = true;
};

// Reads a page the way the help window does and walks its text for links and anchors.
TPage ReadPage(const QUrl& url) {
    QTextBrowser browser;
    browser.setSource(url);
    TPage page;
    const QTextDocument* document = browser.document();
    page.title = document->metaInformation(QTextDocument::DocumentTitle);
    page.empty = document->isEmpty();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            for (const QString& name : format.anchorNames()) page.anchors.insert(name);
            if (format.isAnchor() && !format.anchorHref().isEmpty() &&
                !page.links.contains(format.anchorHref()))
                page.links << format.anchorHref();
            if (format.isImageFormat()) page.images << format.toImageFormat().name();
        }
    }
    return page;
}

// The pages of the book in the resources: "index.html", ...
QStringList BookPages() {
    QStringList pages;
    QDirIterator it(QStringLiteral(":/help"), {QStringLiteral("*.html")}, QDir::Files);
    while (it.hasNext()) pages << QFileInfo(it.next()).fileName();
    pages.sort();
    return pages;
}

QUrl PageUrl(const QString& name) {
    return QUrl(QStringLiteral("qrc:/help/") + name);
}

QPushButton* Button(const THelpWindow& window, const char* name) {
    auto* button = window.findChild<QPushButton*>(QLatin1String(name));
    if (!button) qFatal("the help window has no button %s", name);
    return button;
}

}  // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    void HelpFinderShowsTheContents();
    void EveryCommandShowsTheContents_data();
    void EveryCommandShowsTheContents();
    void WindowStandsAloneEvenWithAParent();
    void BookHasTheExpectedPages();
    void EveryPageHasATitleAndText();
    void EveryLinkLeadsToAPageAndAnchor();
    void EveryPageIsReachableFromTheContents();
    void BookInTheProgramMatchesItsSources();
    void BackAndForwardWalkThePagesRead();
    void ContentsOnTheContentsGoesToItsTop();
    void PicturesLoadAtTheirSizes_data();
    void PicturesLoadAtTheirSizes();
};

void HelpWindowTest::HelpFinderShowsTheContents() {
    THelpWindow window;
    QCOMPARE(window.ContentsUrl(), kContents);
    QVERIFY(window.HelpCommand(HELP_FINDER, 0));
    QCOMPARE(window.Browser()->source(), kContents);
    QCOMPARE(window.Browser()->documentTitle(), QStringLiteral("Odizodoruz Help"));
    QVERIFY(window.Browser()->toPlainText().contains(QStringLiteral("Contents")));
    // The pages share one style sheet: the heading takes its colour from there.
    const QTextBlock heading = window.Browser()->document()->firstBlock();
    QCOMPARE(heading.charFormat().foreground().color(), QColor(0x1f, 0x4e, 0x9a));
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("Odizodoruz Help"));
    // Asking again keeps one entry for the page: Back has nowhere to go.
    QVERIFY(window.HelpCommand(HELP_FINDER, 0));
    QVERIFY(!window.Browser()->isBackwardAvailable());
    QVERIFY(!Button(window, "BackButton")->isEnabled());
}

void HelpWindowTest::EveryCommandShowsTheContents_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<quintptr>("data");
    QTest::newRow("finder") << HELP_FINDER << quintptr(0);
    QTest::newRow("finder with data") << HELP_FINDER << quintptr(42);
    QTest::newRow("context") << 1 << quintptr(7);
    QTest::newRow("contents") << 3 << quintptr(0);
    QTest::newRow("key") << 257 << quintptr(0);
    QTest::newRow("negative") << -1 << quintptr(0);
}

void HelpWindowTest::EveryCommandShowsTheContents() {
    QFETCH(int, command);
    QFETCH(quintptr, data);
    THelpWindow window;
    // From another page the command still comes back to the contents.
    window.Browser()->setSource(PageUrl(QStringLiteral("keys.html")));
    QCOMPARE(window.Browser()->source(), PageUrl(QStringLiteral("keys.html")));
    QVERIFY(window.HelpCommand(command, data));
    QCOMPARE(window.Browser()->source(), kContents);
    QVERIFY(window.isVisible());
}

void HelpWindowTest::WindowStandsAloneEvenWithAParent() {
    QWidget owner;
    auto* window = new THelpWindow(&owner);
    QCOMPARE(window->parentWidget(), &owner);
    QVERIFY(window->isWindow());
    QVERIFY(window->HelpCommand(HELP_FINDER, 0));
    QVERIFY(window->isVisible());
    QVERIFY(!owner.isVisible());
    QVERIFY(!window->windowIcon().isNull());
}

void HelpWindowTest::BookHasTheExpectedPages() {
    InitWorkbenchResources();
    const QStringList expected = {
        QStringLiteral("cli.html"),      QStringLiteral("converting.html"), QStringLiteral("encodings.html"),
        QStringLiteral("explorer.html"), QStringLiteral("index.html"),      QStringLiteral("keys.html"),
        QStringLiteral("replace.html"),  QStringLiteral("settings.html"),   QStringLiteral("window.html")};
    QCOMPARE(BookPages(), expected);
}

void HelpWindowTest::EveryPageHasATitleAndText() {
    InitWorkbenchResources();
    for (const QString& name : BookPages()) {
        const TPage page = ReadPage(PageUrl(name));
        QVERIFY2(!page.empty, qPrintable(name));
        QVERIFY2(!page.title.trimmed().isEmpty(), qPrintable(name + QStringLiteral(" has no title")));
    }
}

void HelpWindowTest::EveryLinkLeadsToAPageAndAnchor() {
    InitWorkbenchResources();
    QHash<QString, TPage> pages;
    for (const QString& name : BookPages()) pages.insert(name, ReadPage(PageUrl(name)));
    int links = 0;
    int anchored = 0;
    for (auto it = pages.cbegin(); it != pages.cend(); ++it) {
        const QUrl base = PageUrl(it.key());
        for (const QString& href : it.value().links) {
            ++links;
            const QString where = it.key() + QStringLiteral(": ") + href;
            const QUrl target = base.resolved(QUrl(href));
            // The book is read without a network: every link stays inside it.
            QVERIFY2(target.scheme() == QLatin1String("qrc"),
                     qPrintable(where + QStringLiteral(" leaves the book")));
            QVERIFY2(QFile::exists(QLatin1Char(':') + target.path()),
                     qPrintable(where + QStringLiteral(" leads to no page")));
            if (!target.fragment().isEmpty()) {
                ++anchored;
                const QString targetName = QFileInfo(target.path()).fileName();
                QVERIFY2(pages.contains(targetName), qPrintable(where));
                QVERIFY2(pages[targetName].anchors.contains(target.fragment()),
                         qPrintable(where + QStringLiteral(" names no anchor of ") + targetName));
            }
        }
        for (const QString& image : it.value().images) {
            const QUrl target = base.resolved(QUrl(image));
            QVERIFY2(QFile::exists(QLatin1Char(':') + target.path()),
                     qPrintable(it.key() + QStringLiteral(": ") + image));
        }
    }
    // The walk saw the book's links, anchored ones among them, rather than nothing at all.
    QVERIFY(links > 50);
    QVERIFY(anchored > 10);
}

void HelpWindowTest::EveryPageIsReachableFromTheContents() {
    InitWorkbenchResources();
    QSet<QString> reached{QStringLiteral("index.html")};
    QStringList queue{QStringLiteral("index.html")};
    while (!queue.isEmpty()) {
        const QString name = queue.takeFirst();
        for (const QString& href : ReadPage(PageUrl(name)).links) {
            const QString target = QFileInfo(PageUrl(name).resolved(QUrl(href)).path()).fileName();
            if (!reached.contains(target)) {
                reached.insert(target);
                queue << target;
            }
        }
    }
    for (const QString& name : BookPages()) QVERIFY2(reached.contains(name), qPrintable(name));
    // Every page is listed in the contents itself, not only somewhere down a chain of links.
    QSet<QString> listed;
    for (const QString& href : ReadPage(kContents).links) listed.insert(QUrl(href).path());
    for (const QString& name : BookPages()) {
        if (name != QLatin1String("index.html")) QVERIFY2(listed.contains(name), qPrintable(name));
    }
}

void HelpWindowTest::BookInTheProgramMatchesItsSources() {
    InitWorkbenchResources();
    // The pages installed for reading in a web browser are the source files; the window shows the
    // copies built into the program. They must be the same pages.
    const QDir sources(QFileInfo(QStringLiteral(__FILE__)).absolutePath() +
                       QStringLiteral("/../../resources/help"));
    if (!sources.exists()) QSKIP("the source tree is not at hand");
    QStringList files = sources.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    QCOMPARE(files, BookPages());
    files << QStringLiteral("help.css");
    for (const QString& name : files) {
        QFile source(sources.filePath(name));
        QFile built(QStringLiteral(":/help/") + name);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QVERIFY(built.open(QIODevice::ReadOnly));
        const QByteArray bytes = source.readAll();
        QVERIFY2(bytes == built.readAll(), qPrintable(name));
        // Pages are UTF-8 and say so, for the window and for a web browser alike.
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder(bytes);
        QVERIFY2(!decoder.hasError(), qPrintable(name));
        if (name.endsWith(QStringLiteral(".html")))
            QVERIFY2(text.contains(QStringLiteral("<meta charset=\"utf-8\">")), qPrintable(name));
    }
}

void HelpWindowTest::BackAndForwardWalkThePagesRead() {
    THelpWindow window;
    QPushButton* back = Button(window, "BackButton");
    QPushButton* forward = Button(window, "ForwardButton");
    QPushButton* contents = Button(window, "ContentsButton");
    QVERIFY(window.HelpCommand(HELP_FINDER, 0));
    QVERIFY(!back->isEnabled());
    QVERIFY(!forward->isEnabled());

    // Follow the first link of the contents with the keyboard, as a reader would.
    QTextBrowser* browser = window.Browser();
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_Tab);
    QVERIFY(browser->textCursor().charFormat().isAnchor() || browser->textCursor().hasSelection());
    QTest::keyClick(browser, Qt::Key_Return);
    const QUrl first = PageUrl(QStringLiteral("window.html"));
    QCOMPARE(browser->source(), first);
    QVERIFY(back->isEnabled());
    QVERIFY(!forward->isEnabled());

    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(browser->source(), kContents);
    QVERIFY(!back->isEnabled());
    QVERIFY(forward->isEnabled());

    QTest::mouseClick(forward, Qt::LeftButton);
    QCOMPARE(browser->source(), first);
    QVERIFY(!forward->isEnabled());

    QTest::mouseClick(contents, Qt::LeftButton);
    QCOMPARE(browser->source(), kContents);
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(browser->source(), first);

    // The keys of a web browser do the same.
    QTest::keyClick(browser, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(browser->source(), kContents);
}

void HelpWindowTest::ContentsOnTheContentsGoesToItsTop() {
    THelpWindow window;
    window.resize(420, 220);
    QVERIFY(window.HelpCommand(HELP_FINDER, 0));
    QScrollBar* scroll = window.Browser()->verticalScrollBar();
    QTRY_VERIFY(scroll->maximum() > scroll->minimum());
    scroll->setValue(scroll->maximum());
    QTest::mouseClick(Button(window, "ContentsButton"), Qt::LeftButton);
    QCOMPARE(scroll->value(), scroll->minimum());
    QCOMPARE(window.Browser()->source(), kContents);
    QVERIFY(!window.Browser()->isBackwardAvailable());
}

void HelpWindowTest::PicturesLoadAtTheirSizes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    for (const char* name : {"ToolFolder", "ToolConvert", "ToolReplace", "ToolHelp", "ToolExit"})
        QTest::newRow(name) << QString::fromLatin1(name) << 32;
    for (const char* name : {"ViewLargeIcons", "ViewSmallIcons", "ViewList", "ViewDetails"})
        QTest::newRow(name) << QString::fromLatin1(name) << 16;
    QTest::newRow("odizodoruz") << QStringLiteral("odizodoruz") << 256;
    QTest::newRow("odizodoruz-48") << QStringLiteral("odizodoruz-48") << 48;
}

void HelpWindowTest::PicturesLoadAtTheirSizes() {
    QFETCH(QString, name);
    QFETCH(int, size);
    // Called twice on purpose: setting the resources up again changes nothing.
    InitWorkbenchResources();
    InitWorkbenchResources();
    const QPixmap picture(QStringLiteral(":/workbench/") + name);
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.size(), QSize(size, size));
    // A picture with a transparent background and something drawn on it.
    const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(image.hasAlphaChannel());
    int opaque = 0;
    int clear = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            if (alpha == 255) ++opaque;
            if (alpha == 0) ++clear;
        }
    }
    QVERIFY2(opaque >= size * size / 5, qPrintable(QString::number(opaque)));
    QVERIFY2(clear > 0, qPrintable(name));
}

QTEST_MAIN(HelpWindowTest)
#include "HelpWindowTest.moc"
