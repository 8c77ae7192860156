// The window's parts that need no main window: its size and placement on a screen, the progress bar as
// the conversions see it, the message boxes; the help window and its book; and the key settings page.

#include <QtTest>
#include <QtWidgets>
#include <filesystem>
#include <memory>
#include <optional>

#include "BoxMessages.h"
#include "FileListTestSupport.h"
#include "HelpWindow.h"
#include "IconvReference.h"
#include "KeySettingsPage.h"
#include "NamedDetector.h"
#include "PreviewPane.h"
#include "TRaRaru.h"
#include "WidgetPorts.h"
#include "WindowPlacement.h"
#include "WorkbenchResources.h"

using namespace odz;

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

QLabel* Picture(const TKeySettingsPage& page, const TKeySettingRow& row) {
    return page.findChild<QLabel*>(QString::fromUtf8(row.pictureName.data(), row.pictureName.size()));
}

// The engine's keys before (empty: the standard ones), the texts typed into boxes ("box=text", a line
// each), the button pressed and the keys then. OK hands the boxes to the engine, a refused box going back
// to the key in effect; Set VIQR brings back the standard keys, whether changed in the engine or only
// typed. Neither saves the keys: that is done when the program ends.
const struct {
    const char *name, *before, *typed, *button, *keys;
} kKeyPresses[] = {
    {"every box", "", "Sac=!\nHuyen=@\nHoi=#\nNga=$\nNang=%\nMu=&\nAA=*\nOO=-\nDHoa==\ndTh=/\nEscape=|",
     "OKSettingsButton", "!@#$%&*-=/|"},
    {"printable ends, letters, digits, one key twice", "", "Nga=!\nNang=~\nSac=s\nHuyen=s\nOO=7\nDHoa=Z",
     "OKSettingsButton", "ss?!~^(7Zd\\"},
    {"refused: empty, blank, beyond ASCII, control", "",
     "Hoi=\nNga= \nMu=ă\nAA=é\nDHoa=\t\ndTh=\x7f\nEscape=\x1b\nSac=*", "OKSettingsButton", "*`?~.^(+Dd\\"},
    {"Set VIQR", "!@#$%&*-=/|", "Sac=*\nEscape=", "KeyVIQRButton", kStandardKeys}};

}  // namespace

class WindowPartsTest : public QObject {
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

    // The preview of a file: its start as the source encoding reads it beside what the conversion
    // writes, read back; what the target cannot hold marked; a sentence when there is nothing to show.
    void previewShowsTheStartBeforeAndAfterConversion() {
        const QString letter = QString::fromUtf8("Kính gửi anh Đức,\nỌ là chữ VPS không có → mũi tên");
        std::string viscii;
        QVERIFY(test::Iconv("VISCII", "UTF-8", "Kính gửi anh Đức,\nNgày mai\n", viscii));
        const QDir dir(FDir->path());
        const auto write = [&](const QString& name, const QByteArray& bytes) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        write("viscii-letter.txt", QByteArray::fromStdString(viscii));
        write("utf8-arrow.txt", letter.toUtf8());
        write("unknown.bin", QByteArray("text\0\x01\x02", 7));
        QByteArray lines;
        for (int i = 0; i < 300; ++i) lines += "line " + QByteArray::number(i) + "\n";
        write("ascii-long.txt", lines);
        QFile::resize(dir.filePath("ascii-long.txt"), qint64(2) << 30);  // 2 GB, the rest a hole
        QFile::link(dir.filePath("gone"), dir.filePath("dangling.txt"));
        struct TCase {
            const char* file;
            std::optional<TEncoding> source, target;
            QString detected, sourceText, targetText = {};
            const char *sourceMarks = "", *targetMarks = "";  // the texts marked, "|" between them
        };
        const QString right = QString::fromUtf8("Kính gửi anh Đức,\nNgày mai");
        const TCase cases[] = {
            {"viscii-letter.txt", TEncoding::Viscii, TEncoding::Utf8, "Detected: VISCII (confidence 97%)",
             right, right},
            {"viscii-letter.txt", std::nullopt, TEncoding::Utf8, "Detected: VISCII (confidence 97%)", right,
             right},
            {"viscii-letter.txt", TEncoding::Tcvn1, TEncoding::Utf8, "Detected: VISCII (confidence 97%)", "!",
             "="},
            {"utf8-arrow.txt", TEncoding::Utf8, TEncoding::Vps, "Detected: Unicode UTF-8 (confidence 97%)",
             letter, QString(letter).replace(u'Ọ', "&#7884;").replace(u'→', "&#8594;"), "Ọ|→",
             "&#7884;|&#8594;"},
            {"ascii-long.txt", TEncoding::Viscii, TEncoding::Utf8,
             "Detected: plain ASCII (every encoding reads it alike)", "@200", "@200"},
            {"unknown.bin", TEncoding::Viscii, TEncoding::Utf8, "Detected: no encoding reads this file well",
             "This file holds binary data, not text."},
            {"unknown.bin", std::nullopt, TEncoding::Utf8, "Detected: no encoding reads this file well",
             "Detection cannot tell this file's encoding: choose its source encoding."},
            {"viscii-letter.txt", TEncoding::Viscii, std::nullopt, "Detected: VISCII (confidence 97%)",
             "Choose the source and the target encoding to see the preview."},
            {".", TEncoding::Viscii, TEncoding::Utf8, "",
             "A folder is selected: select a file to see its preview."},
            {"dangling.txt", TEncoding::Viscii, TEncoding::Utf8, "",
             "The file cannot be read (No such file or directory)."},
            {"", TEncoding::Viscii, TEncoding::Utf8, "",
             "Select a file in the source list to see its preview."},
        };
        TPreviewPane pane;
        pane.SetDetector(test::NamedDetector());
        QSignalSpy shown(&pane, &TPreviewPane::Shown);
        for (const TCase& c : cases) {
            TPreviewRequest request;
            if (*c.file) request.file = dir.filePath(c.file).toStdString();
            request.source = c.source;
            request.detectSource = !c.source;
            request.target = c.target;
            pane.Preview(request);
            QVERIFY(shown.wait(10000));
            const QString what = QString("%1 as %2").arg(c.file).arg(c.source ? int(*c.source) : -1);
            QCOMPARE(pane.DetectionLabel->text(), c.detected);
            if (c.targetText.isEmpty()) {
                QVERIFY2(pane.MessageLabel->isVisibleTo(&pane), qPrintable(what));
                QCOMPARE(pane.MessageLabel->text(), c.sourceText);
                continue;
            }
            QVERIFY2(!pane.MessageLabel->isVisibleTo(&pane), qPrintable(what));
            if (c.sourceText.startsWith('@')) {  // only the start of a huge file
                QCOMPARE(pane.SourceView->document()->blockCount(), c.sourceText.mid(1).toInt());
                QCOMPARE(pane.TargetView->toPlainText(), pane.SourceView->toPlainText());
                QVERIFY(pane.SourceCaption->text().endsWith("(the start of the file)"));
                continue;
            }
            if (c.sourceText == "!") {  // a wrong encoding: other letters, converted as they are read
                QVERIFY(pane.SourceView->toPlainText() != right);
                QCOMPARE(pane.SourceView->document()->blockCount(), 2);
            } else {
                QCOMPARE(pane.SourceView->toPlainText(), c.sourceText);
            }
            QCOMPARE(pane.TargetView->toPlainText(),
                     c.targetText == "=" ? pane.SourceView->toPlainText() : c.targetText);
            QCOMPARE(TPreviewPane::MarkedTexts(*pane.SourceView).join('|'), QString::fromUtf8(c.sourceMarks));
            QCOMPARE(TPreviewPane::MarkedTexts(*pane.TargetView).join('|'), QString::fromUtf8(c.targetMarks));
        }
    }

    void windowSizeFollowsTheScreenWidth() {
        for (const auto& [screen, expected] : {std::pair{QSize(1280, 1024), QSize(1060, 734)},
                                               {QSize(1024, 600), QSize(848, 551)},
                                               {QSize(800, 600), QSize(662, 430)},
                                               {QSize(1920, 1080), QSize(1590, 774)}})
            QCOMPARE(AdjustedWindowSize(QSize(848, 551), screen), expected);
    }

    void savedPlacementIsKeptOnTheScreen_data() {
        QTest::addColumn<QList<int>>("saved");  // left, top, width, height; -9999 for missing
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QRect>("expected");  // the frame's left and top, the inside's width and height
        const QRect screen(0, 0, 1280, 1024), wide(0, 0, 1600, 1000);
        const QMargins none, frame(1, 20, 1, 5);  // a title bar of 20, borders of 1, 1 and 5 pixels
        const auto row = [](const char* name, QList<int> saved, QRect screen, QMargins frame,
                            QRect expected) { QTest::newRow(name) << saved << screen << frame << expected; };
        row("as saved", {10, 20, 600, 400}, screen, none, QRect(10, 20, 600, 400));
        row("negative left and top", {-20, -5, 600, 400}, screen, none, QRect(0, 0, 600, 400));
        row("too wide and too high", {100, 200, 1250, 900}, screen, none, QRect(100, 200, 1180, 824));
        row("nothing saved", {-9999, -9999, -9999, -9999}, screen, none, QRect(50, 144, 848, 551));
        row("only the width", {-9999, -9999, 1300, -9999}, screen, none, QRect(50, 144, 1230, 551));
        row("beyond the right edge", {3000, 100, 800, 600}, screen, none, QRect(480, 100, 800, 600));
        row("framed, fits: exactly as saved", {300, 200, 1260, 700}, wide, frame, QRect(300, 200, 1260, 700));
        row("framed, too large: the whole frame stays on the screen", {300, 200, 1560, 900}, wide, frame,
            QRect(300, 200, 1298, 775));
        row("framed, filling the screen", {0, 0, 1598, 975}, wide, frame, QRect(0, 0, 1598, 975));
        row("framed, beyond the bottom edge", {100, 1900, 600, 400}, wide, frame, QRect(100, 575, 600, 400));
        row("a second screen to the right", {1000, -30, 600, 400}, QRect(1600, 0, 1280, 1024), frame,
            QRect(1600, 0, 600, 400));
    }
    void savedPlacementIsKeptOnTheScreen() {
        QFETCH(QList<int>, saved);
        QFETCH(QRect, screen);
        QFETCH(QMargins, frame);
        QFETCH(QRect, expected);
        const auto part = [](int value) { return value == -9999 ? std::nullopt : std::optional<int>(value); };
        const TSavedPlacement placement{part(saved[0]), part(saved[1]), part(saved[2]), part(saved[3])};
        const QRect placed = CorrectedPlacement(QRect(50, 144, 848, 551), placement, screen, frame);
        QCOMPARE(placed, expected);
        // Whatever was saved, the whole window, frame included, is on the screen.
        QVERIFY(screen.contains(QRect(placed.topLeft(), placed.size().grownBy(frame))));
    }

    // A box shows its whole title beside the title bar's buttons, and opens over the dialog that is
    // open, never behind it.
    void boxesShowTheirTitleOverTheOpenDialog() {
        QGuiApplication::setApplicationDisplayName(QStringLiteral("VE Rez Odizodoruz"));
        QWidget window;
        window.show();
        TBoxMessages messages(&window);
        const auto box = messages.NewBox(QMessageBox::Information, QStringLiteral("Done"), QMessageBox::Ok);
        QCOMPARE(box->parentWidget(), &window);
        QCOMPARE(box->windowTitle(), QStringLiteral("VE Rez Odizodoruz"));
        box->show();
        QFont bold = box->font();
        bold.setBold(true);
        QVERIFY(box->width() >= QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + 150);
        box->hide();
        QDialog dialog(&window);
        dialog.setModal(true);
        dialog.show();
        const auto question = messages.NewBox(QMessageBox::Question, QStringLiteral("Replace it?"),
                                              QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(question->parentWidget(), &dialog);
    }

    void progressBarShowsSizesBeyondItsScale() {
        QProgressBar bar;
        TProgressBarPort port(bar);
        const std::int64_t tenGiB = std::int64_t{10} << 30;
        port.SetMax(tenGiB);
        QVERIFY(bar.maximum() > 0);
        port.SetPosition(tenGiB / 2);
        QCOMPARE(port.Position(), tenGiB / 2);
        QVERIFY(qAbs(bar.value() - bar.maximum() / 2) <= 1);
        port.SetPosition(tenGiB);
        QCOMPARE(bar.value(), bar.maximum());
        port.SetPosition(0);
        QCOMPARE(bar.value(), 0);
    }

    void everyLinkOfTheBookLeadsToAPageAndAnchor() {
        InitWorkbenchResources();
        QHash<QString, TPage> pages;
        for (QDirIterator it(":/help", {"*.html"}, QDir::Files); it.hasNext();) {
            const QString name = QFileInfo(it.next()).fileName();
            pages.insert(name, ReadPage(PageUrl(name)));
        }
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
        for (const QString& name : pages.keys()) QVERIFY2(listed.contains(name), qPrintable(name));
    }

    // Whatever the help command, the window shows the contents, as a window of its own even with a
    // parent; Back and Forward walk the pages read.
    void helpWindowWalksThePagesRead() {
        QWidget owner;
        auto* window = new THelpWindow(&owner);
        window->resize(420, 220);
        QPushButton* back = Button(*window, "BackButton");
        QPushButton* forward = Button(*window, "ForwardButton");
        QPushButton* contents = Button(*window, "ContentsButton");
        // Asking twice keeps one entry for the page: Back has nowhere to go.
        QVERIFY(window->HelpCommand(HELP_FINDER, 0));
        QVERIFY(window->HelpCommand(HELP_FINDER, 42));
        QVERIFY(window->isWindow() && window->isVisible() && !owner.isVisible());
        QVERIFY(!back->isEnabled() && !forward->isEnabled());
        // Follow the first link of the contents with the keyboard, as a reader would.
        QTextBrowser* browser = window->Browser();
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
        QVERIFY(window->HelpCommand(257, 7));
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
        QCOMPARE(ShownKeys(page), QString(kStandardKeys));
        // A byte of the settings file beyond ASCII shows as the character it is in Latin-1.
        FEngine->SetTransDau("'`?~.^(+D\xF0\\");
        page.KeyEdit("Sac")->setText("z");
        page.ShowKeySettings();
        QCOMPARE(ShownKeys(page), QString::fromUtf8("'`?~.^(+Dð\\"));
        // An engine without keys yet (every key the character 0) shows empty boxes and keeps them.
        TRaRaru empty(SettingsFile());
        TKeySettingsPage emptyPage(empty);
        QCOMPARE(ShownKeys(emptyPage), QString());
        emptyPage.OKSettingsButtonClick();
        QCOMPARE(empty.GetTrans(), std::string(11, '\0'));
    }

    void keyButtons_data() { test::AddRows(kKeyPresses); }
    void keyButtons() {
        QFETCH(int, row);
        const auto& c = kKeyPresses[row];
        if (*c.before) FEngine->SetTransDau(c.before);
        TKeySettingsPage page(*FEngine);
        for (const QString& box : QString::fromUtf8(c.typed).split('\n'))
            page.KeyEdit(box.section('=', 0, 0).toStdString())->setText(box.section('=', 1));
        QTest::mouseClick(Button(page, c.button), Qt::LeftButton);
        QCOMPARE(FEngine->GetTrans(), std::string(c.keys));
        QCOMPARE(ShownKeys(page), QString::fromLatin1(c.keys));
        QVERIFY(!std::filesystem::exists(SettingsFile()));
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

    // Every mark has a picture of its own straight above its box: the letter in navy, the mark in red where
    // it belongs, nothing behind them. The boxes run in the engine's order on three lines, and all fits in
    // a tool box page of about 840 by 420 (the page's place in the main window) or at the page's smallest.
    void everyMarkHasItsPictureAboveItsBox() {
        const QHash<QString, QString> places{
            {"Nang", "below"}, {"OO", "upper right"}, {"DHoa", "across"}, {"dTh", "across"}};
        for (const QSize size : {QSize(840, 420), QSize(0, 0)}) {
            TKeySettingsPage page(*FEngine);
            QVERIFY(page.minimumSizeHint().width() <= 840 && page.minimumSizeHint().height() <= 420);
            page.resize(size.expandedTo(page.minimumSizeHint()));
            page.show();
            QVERIFY(QTest::qWaitForWindowExposed(&page));
            QList<QImage> images;
            QSet<int> lines;
            QRect previous;
            for (const TKeySettingRow& row : kKeySettingRows) {
                const QRect edit = page.KeyEdit(row.keyName)->geometry();
                QVERIFY(page.rect().contains(edit));
                QVERIFY(previous.isNull() || edit.y() > previous.bottom() ||
                        (edit.y() == previous.y() && edit.x() > previous.right()));
                lines.insert(edit.y());
                previous = edit;
                if (row.pictureName.empty()) continue;
                const QString key = QString::fromUtf8(row.keyName.data(), row.keyName.size());
                const QLabel* label = Picture(page, row);
                const QRect picture = label->geometry();
                QVERIFY2(page.rect().contains(picture) && picture.bottom() < edit.y() &&
                             edit.y() - picture.bottom() <= 20 &&
                             qAbs(picture.center().x() - edit.center().x()) <= 1,
                         qPrintable(key));
                QCOMPARE(label->pixmap().deviceIndependentSize().toSize(), QSize(40, 40));
                const QImage image = label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
                QVERIFY2(!images.contains(image), qPrintable(key));
                images << image;
                QRect letter, mark;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x) {
                        const QColor c = image.pixelColor(x, y);
                        if (c.alpha() < 230) continue;
                        if (c.blue() > 90 && c.red() < 60 && c.green() < 60) letter |= QRect(x, y, 1, 1);
                        if (c.red() > 150 && c.green() < 60 && c.blue() < 60) mark |= QRect(x, y, 1, 1);
                    }
                QVERIFY2(letter.height() >= 10 && mark.width() * mark.height() >= 9, qPrintable(key));
                QVERIFY(image.pixelColor(0, 0).alpha() == 0 && letter.right() < 39 && mark.right() < 39);
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
            QCOMPARE(lines.size(), 3);
            for (const char* name : {"OKSettingsButton", "KeyVIQRButton", "KeyHelpButton"})
                QVERIFY(page.rect().contains(Button(page, name)->geometry()));
        }
    }
};

QTEST_MAIN(WindowPartsTest)
#include "WindowPartsTest.moc"
