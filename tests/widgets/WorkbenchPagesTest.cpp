// The help window and its book, and the key settings page as a user meets them: the contents open on
// every help command, every link leads to a page and an anchor that exist, Back and Forward walk the
// pages read; the boxes show the engine's VIQR keys, OK hands the typed keys to the engine, Set VIQR
// brings back the standard set, and every mark has its picture above its box.

#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "HelpWindow.h"
#include "KeyPictures.h"
#include "KeySettingsPage.h"
#include "TRaRaru.h"
#include "WorkbenchResources.h"

using namespace odz;

using TBoxTexts = QList<QPair<QString, QString>>;  // (engine key name, text typed into its box)
Q_DECLARE_METATYPE(TBoxTexts)

namespace {

const QUrl kContents("qrc:/help/index.html");
constexpr char kStandardKeys[] = "'`?~.^(+Dd\\";

// What a page holds as the help browser reads it.
struct TPage {
    QString title;
    QStringList links;      // every href, as written
    QSet<QString> anchors;  // every name a link may point to with "#name"
    QStringList images;     // every picture's source
    bool empty = true;
};

TPage ReadPage(const QUrl& url) {
    QTextBrowser browser;
    browser.setSource(url);
    TPage page;
    const QTextDocument* document = browser.document();
    page.title = document->metaInformation(QTextDocument::DocumentTitle);
    page.empty = document->isEmpty();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            for (const QString& name : format.anchorNames()) page.anchors.insert(name);
            if (format.isAnchor() && !format.anchorHref().isEmpty() &&
                !page.links.contains(format.anchorHref()))
                page.links << format.anchorHref();
            if (format.isImageFormat()) page.images << format.toImageFormat().name();
        }
    return page;
}

// The pages of the book in the resources: "index.html", ...
QStringList BookPages() {
    QStringList pages;
    QDirIterator it(":/help", {"*.html"}, QDir::Files);
    while (it.hasNext()) pages << QFileInfo(it.next()).fileName();
    pages.sort();
    return pages;
}

QUrl PageUrl(const QString& name) {
    return QUrl("qrc:/help/" + name);
}

template <class TWindow>
QPushButton* Button(const TWindow& window, const char* name) {
    auto* button = window.template findChild<QPushButton*>(QLatin1String(name));
    if (!button) qFatal("no button %s", name);
    return button;
}

// The texts of all eleven boxes joined in the engine's order.
QString ShownKeys(const TKeySettingsPage& page) {
    QString joined;
    for (const TKeySettingRow& row : kKeySettingRows) joined += page.KeyEdit(row.keyName)->text();
    return joined;
}

}  // namespace

class WorkbenchPagesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TRaRaru> FEngine;

    std::filesystem::path SettingsFile() const {
        return std::filesystem::path(FDir->path().toStdString()) / "odizodoruz.ini";
    }

private slots:
    void init() {
        FDir = std::make_unique<QTemporaryDir>();
        QVERIFY(FDir->isValid());
        FEngine = std::make_unique<TRaRaru>(SettingsFile());
        FEngine->RaRaruCreate();  // no settings file yet: the standard keys
    }
    void cleanup() {
        FEngine.reset();
        FDir.reset();
    }

    // Whatever the command, the window shows the contents, as a window of its own even with a parent.
    void everyHelpCommandShowsTheContents() {
        for (const auto& [command, data] :
             {std::pair{HELP_FINDER, 0}, {HELP_FINDER, 42}, {1, 7}, {257, 0}, {-1, 0}}) {
            QWidget owner;
            auto* window = new THelpWindow(&owner);
            QCOMPARE(window->ContentsUrl(), kContents);
            window->Browser()->setSource(PageUrl("keys.html"));
            QVERIFY(window->HelpCommand(command, quintptr(data)));
            QCOMPARE(window->Browser()->source(), kContents);
            QVERIFY(window->isWindow() && window->isVisible() && !owner.isVisible());
            QVERIFY(!window->windowIcon().isNull());
            // The pages share one style sheet: the heading takes its colour from there.
            QCOMPARE(window->Browser()->document()->firstBlock().charFormat().foreground().color(),
                     QColor(0x1f, 0x4e, 0x9a));
        }
    }

    void everyLinkOfTheBookLeadsToAPageAndAnchor() {
        InitWorkbenchResources();
        QHash<QString, TPage> pages;
        for (const QString& name : BookPages()) pages.insert(name, ReadPage(PageUrl(name)));
        QVERIFY(pages.contains("index.html"));
        int links = 0, anchored = 0;
        for (auto it = pages.cbegin(); it != pages.cend(); ++it) {
            QVERIFY2(!it->empty && !it->title.trimmed().isEmpty(), qPrintable(it.key()));
            // Pages are UTF-8 and say so, for the window and for a web browser alike.
            QFile page(":/help/" + it.key());
            QVERIFY(page.open(QIODevice::ReadOnly));
            QStringDecoder decoder(QStringDecoder::Utf8);
            QVERIFY2(
                QString(decoder(page.readAll())).contains("<meta charset=\"utf-8\">") && !decoder.hasError(),
                qPrintable(it.key()));
            for (const QString& href : it->links + it->images) {
                ++links;
                const QString where = it.key() + ": " + href;
                const QUrl target = PageUrl(it.key()).resolved(QUrl(href));
                // The book is read without a network: every link stays inside it.
                QVERIFY2(target.scheme() == "qrc" && QFile::exists(':' + target.path()), qPrintable(where));
                if (target.fragment().isEmpty()) continue;
                ++anchored;
                const QString page = QFileInfo(target.path()).fileName();
                QVERIFY2(pages.value(page).anchors.contains(target.fragment()), qPrintable(where));
            }
        }
        // The walk saw the book's links, anchored ones among them, rather than nothing at all.
        QVERIFY(links > 50 && anchored > 10);
        // Every page is listed in the contents itself.
        QSet<QString> listed{"index.html"};
        for (const QString& href : pages["index.html"].links) listed.insert(QUrl(href).path());
        for (const QString& name : BookPages()) QVERIFY2(listed.contains(name), qPrintable(name));
    }

    void backAndForwardWalkThePagesRead() {
        THelpWindow window;
        window.resize(420, 220);
        QPushButton* back = Button(window, "BackButton");
        QPushButton* forward = Button(window, "ForwardButton");
        QPushButton* contents = Button(window, "ContentsButton");
        // Asking twice keeps one entry for the page: Back has nowhere to go.
        QVERIFY(window.HelpCommand(HELP_FINDER, 0));
        QVERIFY(window.HelpCommand(HELP_FINDER, 0));
        QVERIFY(!back->isEnabled() && !forward->isEnabled());
        // Follow the first link of the contents with the keyboard, as a reader would.
        QTextBrowser* browser = window.Browser();
        browser->setFocus();
        QTest::keyClick(browser, Qt::Key_Tab);
        QTest::keyClick(browser, Qt::Key_Return);
        const QUrl first = PageUrl("window.html");
        QCOMPARE(browser->source(), first);
        QVERIFY(back->isEnabled() && !forward->isEnabled());
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(browser->source(), kContents);
        QVERIFY(!back->isEnabled() && forward->isEnabled());
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
        // Contents on the contents goes to its top and adds nothing to the pages read.
        QScrollBar* scroll = browser->verticalScrollBar();
        QTRY_VERIFY(scroll->maximum() > scroll->minimum());
        scroll->setValue(scroll->maximum());
        QTest::mouseClick(contents, Qt::LeftButton);
        QCOMPARE(scroll->value(), scroll->minimum());
        QCOMPARE(browser->source(), kContents);
        QVERIFY(forward->isEnabled());
    }

    void boxesShowTheKeysInEffect() {
        TKeySettingsPage page(*FEngine);
        for (const auto& [engineKeys, shown] :
             {std::pair{kStandardKeys, QString(kStandardKeys)},
              {"!@#$%&*-=/|", QString("!@#$%&*-=/|")},
              {"sfrxj6w7Z9q", QString("sfrxj6w7Z9q")},
              // A byte of the settings file beyond ASCII shows as the character it is in Latin-1.
              {"'`?~.^(+D\xF0\\", QString::fromUtf8("'`?~.^(+Dð\\")}}) {
            FEngine->SetTransDau(engineKeys);
            page.KeyEdit("Sac")->setText("z");
            page.ShowKeySettings();
            QCOMPARE(ShownKeys(page), shown);
        }
        // An engine without keys yet (every key the character 0) shows empty boxes and keeps them.
        TRaRaru empty(SettingsFile());
        TKeySettingsPage emptyPage(empty);
        QCOMPARE(ShownKeys(emptyPage), QString());
        emptyPage.OKSettingsButtonClick();
        QCOMPARE(empty.GetTrans(), std::string(11, '\0'));
    }

    void okHandsTheBoxesToTheEngine_data() {
        QTest::addColumn<TBoxTexts>("typed");
        QTest::addColumn<QByteArray>("keys");
        const auto row = [](const char* name, TBoxTexts typed, const char* keys) {
            QTest::newRow(name) << typed << QByteArray(keys);
        };
        row("every box",
            {{"Sac", "!"},
             {"Huyen", "@"},
             {"Hoi", "#"},
             {"Nga", "$"},
             {"Nang", "%"},
             {"Mu", "&"},
             {"AA", "*"},
             {"OO", "-"},
             {"DHoa", "="},
             {"dTh", "/"},
             {"Escape", "|"}},
            "!@#$%&*-=/|");
        row("lowest and highest printable", {{"Nga", "!"}, {"Nang", "~"}}, "'`?!~^(+Dd\\");
        row("letters and digits", {{"Sac", "s"}, {"OO", "7"}, {"DHoa", "Z"}}, "s`?~.^(7Zd\\");
        row("two marks on one key", {{"Sac", "x"}, {"Huyen", "x"}}, "xx?~.^(+Dd\\");
        row("emptied box keeps its key", {{"Hoi", ""}, {"Sac", "*"}, {"Escape", "/"}}, "*`?~.^(+Dd/");
        row("blank keeps its key", {{"Nga", " "}, {"Nang", "!"}}, "'`?~!^(+Dd\\");
        row("non-ASCII letters keep their keys", {{"Mu", "ă"}, {"AA", "é"}, {"OO", "#"}}, "'`?~.^(#Dd\\");
        row("control characters keep their keys", {{"DHoa", "\t"}, {"dTh", "\x7f"}, {"Huyen", "<"}},
            "'<?~.^(+Dd\\");
        row("everything refused", {{"Sac", ""}, {"Huyen", " "}, {"Hoi", "ơ"}, {"Escape", "\x1b"}},
            kStandardKeys);
    }
    void okHandsTheBoxesToTheEngine() {
        QFETCH(TBoxTexts, typed);
        QFETCH(QByteArray, keys);
        TKeySettingsPage page(*FEngine);
        for (const auto& [name, text] : typed) {
            page.KeyEdit(name.toStdString())->setText(text);
            QCOMPARE(page.KeyEdit(name.toStdString())->text(), text);
        }
        page.OKSettingsButtonClick();
        QCOMPARE(QByteArray::fromStdString(FEngine->GetTrans()), keys);
        // A refused box goes back to the key still in effect.
        QCOMPARE(ShownKeys(page), QString::fromLatin1(keys));
    }

    // The keys are saved when the program ends, never by the OK button.
    void okButtonWritesNothingToTheSettingsFile() {
        TKeySettingsPage page(*FEngine);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QLineEdit* sac = page.KeyEdit("Sac");
        sac->setFocus(Qt::TabFocusReason);
        sac->selectAll();
        QTest::keyClicks(sac, "*");
        QTest::mouseClick(Button(page, "OKSettingsButton"), Qt::LeftButton);
        QCOMPARE(FEngine->GetTrans(), std::string("*`?~.^(+Dd\\"));
        QVERIFY(QDir(FDir->path()).isEmpty());
    }

    void clickIntoABoxSelectsItsKey() {
        TKeySettingsPage page(*FEngine);
        page.show();
        page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        QLineEdit* hoi = page.KeyEdit("Hoi");
        QTest::mouseClick(hoi, Qt::LeftButton, {}, hoi->rect().center());
        QTRY_COMPARE(hoi->selectedText(), QString("?"));
        // A box holds one character however many are typed.
        QTest::keyClicks(hoi, "qxy");
        QCOMPARE(hoi->text(), QString("q"));
    }

    void setViqrRestoresTheStandardKeys_data() {
        QTest::addColumn<QByteArray>("engineKeys");
        QTest::addColumn<TBoxTexts>("typed");
        QTest::newRow("changed keys") << QByteArray("!@#$%&*-=/|") << TBoxTexts{};
        QTest::newRow("typed but not applied")
            << QByteArray(kStandardKeys) << TBoxTexts{{"Sac", "*"}, {"Escape", ""}, {"Mu", " "}};
        QTest::newRow("one key changed, another typed")
            << QByteArray("'`?~.^(+D#\\") << TBoxTexts{{"Nga", "x"}};
    }
    void setViqrRestoresTheStandardKeys() {
        QFETCH(QByteArray, engineKeys);
        QFETCH(TBoxTexts, typed);
        FEngine->SetTransDau(engineKeys.toStdString());
        TKeySettingsPage page(*FEngine);
        for (const auto& [name, text] : typed) page.KeyEdit(name.toStdString())->setText(text);
        QTest::mouseClick(Button(page, "KeyVIQRButton"), Qt::LeftButton);
        QCOMPARE(FEngine->GetTrans(), std::string(kStandardKeys));
        QCOMPARE(ShownKeys(page), QString(kStandardKeys));
        QVERIFY(!std::filesystem::exists(SettingsFile()));
    }

    void helpAsksForHelpAndChangesNothing() {
        FEngine->SetTransDau("!@#$%&*-=/|");
        TKeySettingsPage page(*FEngine);
        page.KeyEdit("Sac")->setText("z");
        QSignalSpy help(&page, &TKeySettingsPage::HelpRequested);
        QTest::mouseClick(Button(page, "KeyHelpButton"), Qt::LeftButton);
        QCOMPARE(help.count(), 1);
        QCOMPARE(FEngine->GetTrans(), std::string("!@#$%&*-=/|"));
        QCOMPARE(ShownKeys(page), QString("z@#$%&*-=/|"));
    }

    // Each mark's picture: the letter in navy, the mark in red where it belongs, nothing behind them.
    void markPictures() {
        TKeySettingsPage page(*FEngine);
        const QHash<QString, QString> places{
            {"Nang", "below"}, {"OO", "upper right"}, {"DHoa", "across"}, {"dTh", "across"}};
        QList<QImage> images;
        for (const TKeySettingRow& row : kKeySettingRows) {
            if (row.pictureName.empty()) continue;
            const QString key = QString::fromUtf8(row.keyName.data(), row.keyName.size());
            const QLabel* label =
                page.findChild<QLabel*>(QString::fromUtf8(row.pictureName.data(), row.pictureName.size()));
            QVERIFY2(label != nullptr, qPrintable(key));
            QCOMPARE(label->pixmap().deviceIndependentSize().toSize(), QSize(40, 40));
            const QImage image = label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(image, KeyPicture(row.keyName, 40).toImage().convertToFormat(QImage::Format_ARGB32));
            QVERIFY2(!images.contains(image), qPrintable(key));
            images << image;
            QRect letter, mark;
            int transparent = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    transparent += c.alpha() == 0;
                    if (c.alpha() < 230) continue;
                    if (c.blue() > 90 && c.red() < 60 && c.green() < 60) letter |= QRect(x, y, 1, 1);
                    if (c.red() > 150 && c.green() < 60 && c.blue() < 60) mark |= QRect(x, y, 1, 1);
                }
            QVERIFY2(letter.height() >= 10 && mark.width() * mark.height() >= 9, qPrintable(key));
            QVERIFY(transparent > image.width() * image.height() / 3 && image.pixelColor(0, 0).alpha() == 0);
            QVERIFY(letter.right() < image.width() - 1 && mark.right() < image.width() - 1);
            const bool acrossTheLetter = mark.left() < letter.right() && mark.right() > letter.left();
            const QString place = places.value(key, "above");
            if (place == "above")
                QVERIFY2(mark.bottom() <= letter.top() + 1 && acrossTheLetter, qPrintable(key));
            if (place == "below")
                QVERIFY2(mark.top() >= letter.bottom() - 1 && acrossTheLetter, qPrintable(key));
            if (place == "upper right")
                QVERIFY(mark.right() > letter.right() && mark.top() < letter.top() &&
                        mark.bottom() < letter.center().y());
            if (place == "across")
                QVERIFY2(mark.top() > letter.top() && mark.bottom() < letter.bottom() && acrossTheLetter,
                         qPrintable(key));
        }
        QCOMPARE(images.size(), 10);
        QVERIFY(KeyPicture("Escape", 40).isNull() && KeyPicture("Hook", 40).isNull() &&
                KeyPicture("Sac", 0).isNull());
        const QPixmap sharp = KeyPicture("Nga", 40, 2.0);
        QCOMPARE(sharp.size(), QSize(80, 80));
        QCOMPARE(sharp.devicePixelRatio(), 2.0);
    }

    // In the main window the page fills a tool box page of about 840 by 420; it must also survive a
    // smaller window.
    void layout_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("tool box page") << QSize(840, 420);
        QTest::newRow("large") << QSize(1400, 800);
        QTest::newRow("smallest") << QSize(0, 0);  // grows to the minimum size
    }
    void layout() {
        QFETCH(QSize, size);
        TKeySettingsPage page(*FEngine);
        const QSize minimum = page.minimumSizeHint();
        QVERIFY(minimum.width() <= 840 && minimum.height() <= 420);
        page.resize(size.expandedTo(minimum));
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        const QRect inside = page.rect();
        // Three lines of boxes, each picture straight above its box, left to right in the engine's order;
        // the buttons side by side below the last line.
        QList<int> lineTops;
        int right = -1;
        for (const TKeySettingRow& row : kKeySettingRows) {
            const QRect edit = page.KeyEdit(row.keyName)->geometry();
            QVERIFY(inside.contains(edit));
            if (lineTops.isEmpty() || lineTops.last() != edit.y()) {
                QVERIFY(lineTops.isEmpty() || edit.y() > lineTops.last());
                lineTops << edit.y();
                right = -1;
            }
            QVERIFY(edit.x() > right);
            right = edit.right();
            if (row.pictureName.empty()) continue;
            const QRect picture =
                page.findChild<QLabel*>(QString::fromUtf8(row.pictureName.data(), row.pictureName.size()))
                    ->geometry();
            QVERIFY(inside.contains(picture) && picture.bottom() < edit.y() &&
                    edit.y() - picture.bottom() <= 20);
            QVERIFY(std::abs(picture.center().x() - edit.center().x()) <= 1);
        }
        QCOMPARE(lineTops.size(), 3);
        int buttons = -1;
        for (const char* name : {"OKSettingsButton", "KeyVIQRButton", "KeyHelpButton"}) {
            const QRect button = Button(page, name)->geometry();
            QVERIFY(inside.contains(button) && button.y() > page.KeyEdit("Escape")->geometry().bottom());
            QVERIFY(button.x() > buttons);
            buttons = button.right();
        }
    }
};

QTEST_MAIN(WorkbenchPagesTest)
#include "WorkbenchPagesTest.moc"
