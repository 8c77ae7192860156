// The key settings page as a user meets it: the boxes show the engine's VIQR keys, OK hands the typed
// keys to the engine, Set VIQR brings back the standard set, and every mark has its picture.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "KeyPictures.h"
#include "KeySettingsPage.h"
#include "TRaRaru.h"

using namespace odz;

using TBoxTexts = QList<QPair<QString, QString>>;  // (engine key name, text typed into its box)
Q_DECLARE_METATYPE(TBoxTexts)

namespace {

constexpr char kStandardKeys[] = "'`?~.^(+Dd\\";

// The engine's key names in the order of its key string.
const QStringList kKeyNames = {"Sac", "Huyen", "Hoi",  "Nga", "Nang",  "Mu",
                               "AA",  "OO",    "DHoa", "dTh", "Escape"};

// Where a picture's mark sits against its letter.
enum TMarkPlace { mpAbove, mpBelow, mpUpperRight, mpAcross };

}  // namespace

Q_DECLARE_METATYPE(TMarkPlace)

class KeySettingsPageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TRaRaru> FEngine;

    std::filesystem::path SettingsFile() const {
        return std::filesystem::path(FDir->path().toStdString()) / "odizodoruz.ini";
    }

    // The texts of all eleven boxes joined in the engine's order.
    static QString ShownKeys(const TKeySettingsPage& page) {
        QString joined;
        for (const QString& name : kKeyNames) {
            const QLineEdit* edit = page.KeyEdit(name.toStdString());
            if (edit == nullptr) return QStringLiteral("<no box for %1>").arg(name);
            joined += edit->text();
        }
        return joined;
    }

    static QByteArray FileBytes(const std::filesystem::path& path) {
        QFile file(QString::fromStdString(path.string()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
    }

    static QPushButton* Button(const TKeySettingsPage& page, const char* name) {
        return page.findChild<QPushButton*>(QString::fromLatin1(name));
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

    void panel() {
        TKeySettingsPage page(*FEngine);
        QCOMPARE(page.objectName(), QStringLiteral("KeySettingPanel"));
        QCOMPARE(page.Color(), clNavy);
        QCOMPARE(page.ColorEnd(), clBlue);
        QCOMPARE(page.Gradient(), gdTopToBottom);
    }

    void boxes_data() {
        QTest::addColumn<QString>("keyName");
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<QString>("hint");
        const auto row = [](const char* key, const char* object, const char* hint) {
            QTest::newRow(key) << QString(key) << QString(object) << QString(hint);
        };
        row("Sac", "SacEdit", "Change key for Acute");
        row("Huyen", "HuyenEdit", "");
        row("Hoi", "HoiEdit", "Change key for Hookabove");
        row("Nga", "NgaEdit", "Change key for Tilde");
        row("Nang", "NangEdit", "Change key for Dot below");
        row("Mu", "MuEdit", "Change key for Circumflex");
        row("AA", "AAEdit", "Change key for Breve");
        row("OO", "OOEdit", "Change key for Horn");
        row("DHoa", "DHoaEdit", "Change key for D bar");
        row("dTh", "DthEdit", "Change key for d bar");
        row("Escape", "EscapeEdit", "");
    }
    void boxes() {
        QFETCH(QString, keyName);
        QFETCH(QString, objectName);
        QFETCH(QString, hint);
        TKeySettingsPage page(*FEngine);
        QLineEdit* edit = page.KeyEdit(keyName.toStdString());
        QVERIFY(edit != nullptr);
        QCOMPARE(page.findChild<QLineEdit*>(objectName), edit);
        QCOMPARE(edit->toolTip(), hint);
        QCOMPARE(edit->maxLength(), 1);
        QCOMPARE(edit->alignment(), Qt::AlignCenter);
        QVERIFY(edit->font().bold());
        QVERIFY(edit->font().pointSize() >= 16);
        QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::red));
        // One character at most, however much is typed.
        edit->clear();
        QTest::keyClicks(edit, "xyz");
        QCOMPARE(edit->text(), QStringLiteral("x"));
    }

    void unknownNameHasNoBox_data() {
        QTest::addColumn<QString>("keyName");
        QTest::newRow("empty") << QString();
        QTest::newRow("other case") << QStringLiteral("sac");
        QTest::newRow("object name") << QStringLiteral("SacEdit");
        QTest::newRow("table spelling of d bar") << QStringLiteral("Dth");
    }
    void unknownNameHasNoBox() {
        QFETCH(QString, keyName);
        TKeySettingsPage page(*FEngine);
        QCOMPARE(page.KeyEdit(keyName.toStdString()), nullptr);
    }

    void elevenDifferentBoxes() {
        TKeySettingsPage page(*FEngine);
        QSet<QLineEdit*> edits;
        for (const QString& name : kKeyNames) edits.insert(page.KeyEdit(name.toStdString()));
        edits.remove(nullptr);
        QCOMPARE(edits.size(), 11);
        QCOMPARE(page.findChildren<QLineEdit*>().size(), 11);
    }

    void showKeySettings_data() {
        QTest::addColumn<QByteArray>("engineKeys");
        QTest::addColumn<QString>("shown");
        QTest::newRow("standard") << QByteArray(kStandardKeys) << QString(kStandardKeys);
        QTest::newRow("all different") << QByteArray("!@#$%&*-=/|") << QStringLiteral("!@#$%&*-=/|");
        QTest::newRow("letters and digits") << QByteArray("sfrxj6w7Z9q") << QStringLiteral("sfrxj6w7Z9q");
        // A byte of the settings file beyond ASCII shows as the character it is in Latin-1.
        QTest::newRow("byte beyond ASCII")
            << QByteArray("'`?~.^(+D\xF0\\") << QString::fromUtf8("'`?~.^(+Dð\\");
    }
    void showKeySettings() {
        QFETCH(QByteArray, engineKeys);
        QFETCH(QString, shown);
        TKeySettingsPage page(*FEngine);
        FEngine->SetTransDau(engineKeys.toStdString());
        page.KeyEdit("Sac")->setText(QStringLiteral("z"));
        page.ShowKeySettings();
        QCOMPARE(ShownKeys(page), shown);
    }

    void newPageShowsKeysFromTheSettingsFile() {
        TRaRaru writer(SettingsFile());
        writer.SetTransDau("!@#$%&*-=/|");
        QVERIFY(writer.RARaruSaveToIni());
        TRaRaru engine(SettingsFile());
        engine.RaRaruCreate();
        TKeySettingsPage page(engine);
        QCOMPARE(ShownKeys(page), QStringLiteral("!@#$%&*-=/|"));
    }

    void engineWithoutKeysShowsEmptyBoxes() {
        TRaRaru engine(SettingsFile());  // RaRaruCreate not run: every key is the character 0
        TKeySettingsPage page(engine);
        QCOMPARE(ShownKeys(page), QString());
        page.OKSettingsButtonClick();
        QCOMPARE(engine.GetTrans(), std::string(11, '\0'));
    }

    void okHandsTheBoxesToTheEngine_data() {
        QTest::addColumn<TBoxTexts>("typed");
        QTest::addColumn<QByteArray>("keys");
        const auto row = [](const char* name, TBoxTexts typed, const char* keys) {
            QTest::newRow(name) << typed << QByteArray(keys);
        };
        row("nothing typed", {}, kStandardKeys);
        row("star for Sac", {{"Sac", "*"}}, "*`?~.^(+Dd\\");
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
            QLineEdit* edit = page.KeyEdit(name.toStdString());
            QVERIFY(edit != nullptr);
            edit->setText(text);
            QCOMPARE(edit->text(), text);
        }
        page.OKSettingsButtonClick();
        QCOMPARE(QByteArray::fromStdString(FEngine->GetTrans()), keys);
        // A refused box goes back to the key still in effect.
        QCOMPARE(ShownKeys(page), QString::fromLatin1(keys));
    }

    void starTypedIntoSac() {
        TKeySettingsPage page(*FEngine);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QLineEdit* sac = page.KeyEdit("Sac");
        sac->setFocus(Qt::TabFocusReason);
        sac->selectAll();
        QTest::keyClicks(sac, "*");
        QTest::mouseClick(Button(page, "OKSettingsButton"), Qt::LeftButton);
        QCOMPARE(FEngine->GetTransKey("Sac"), '*');
        QCOMPARE(FEngine->GetTrans(), std::string("*`?~.^(+Dd\\"));
    }

    void clickIntoABoxSelectsItsKey() {
        TKeySettingsPage page(*FEngine);
        page.show();
        page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        QLineEdit* hoi = page.KeyEdit("Hoi");
        QTest::mouseClick(hoi, Qt::LeftButton, {}, hoi->rect().center());
        QTRY_COMPARE(hoi->selectedText(), QStringLiteral("?"));
        QTest::keyClicks(hoi, "q");
        QCOMPARE(hoi->text(), QStringLiteral("q"));
    }

    void okWritesNothingToTheSettingsFile_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::newRow("no settings file") << QByteArray("<absent>");
        QTest::newRow("settings file")
            << QByteArray("[VN Key Current Encode]\r\nConversion='`?~.^(+Dd\\\r\n");
    }
    void okWritesNothingToTheSettingsFile() {
        QFETCH(QByteArray, before);
        if (before != "<absent>") {
            QFile file(QString::fromStdString(SettingsFile().string()));
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(before), before.size());
        }
        TKeySettingsPage page(*FEngine);
        page.KeyEdit("Sac")->setText(QStringLiteral("*"));
        QTest::mouseClick(Button(page, "OKSettingsButton"), Qt::LeftButton);
        QCOMPARE(FEngine->GetTransKey("Sac"), '*');
        QCOMPARE(FileBytes(SettingsFile()), before);
        QCOMPARE(QDir(FDir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(),
                 before == "<absent>" ? 0 : 1);
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

    void buttons_data() {
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hint");
        QTest::newRow("OK") << "OKSettingsButton"
                            << "OK"
                            << "Use current settings";
        QTest::newRow("Set VIQR") << "KeyVIQRButton"
                                  << "Set VIQR"
                                  << "set VIQR sstandard";
        QTest::newRow("Help") << "KeyHelpButton"
                              << "Help"
                              << "Show help";
    }
    void buttons() {
        QFETCH(QString, objectName);
        QFETCH(QString, text);
        QFETCH(QString, hint);
        TKeySettingsPage page(*FEngine);
        const QPushButton* button = page.findChild<QPushButton*>(objectName);
        QVERIFY(button != nullptr);
        QCOMPARE(button->text(), text);
        QCOMPARE(button->toolTip(), hint);
        QCOMPARE(page.findChildren<QPushButton*>().size(), 3);
    }

    void helpAsksForHelpAndChangesNothing() {
        FEngine->SetTransDau("!@#$%&*-=/|");
        TKeySettingsPage page(*FEngine);
        page.KeyEdit("Sac")->setText(QStringLiteral("z"));
        QSignalSpy help(&page, &TKeySettingsPage::HelpRequested);
        QTest::mouseClick(Button(page, "KeyHelpButton"), Qt::LeftButton);
        QCOMPARE(help.count(), 1);
        QCOMPARE(FEngine->GetTrans(), std::string("!@#$%&*-=/|"));
        QCOMPARE(ShownKeys(page), QStringLiteral("z@#$%&*-=/|"));
    }

    void pictures_data() {
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<QString>("keyName");
        QTest::addColumn<TMarkPlace>("place");
        QTest::newRow("á") << "AsacImage"
                           << "Sac" << mpAbove;
        QTest::newRow("à") << "HuyenImage"
                           << "Huyen" << mpAbove;
        QTest::newRow("ả") << "AhoiImage"
                           << "Hoi" << mpAbove;
        QTest::newRow("ã") << "ANgaImage"
                           << "Nga" << mpAbove;
        QTest::newRow("ạ") << "ANangImage"
                           << "Nang" << mpBelow;
        QTest::newRow("â") << "AMuImage"
                           << "Mu" << mpAbove;
        QTest::newRow("ă") << "AaaImage"
                           << "AA" << mpAbove;
        QTest::newRow("ơ") << "OOImage"
                           << "OO" << mpUpperRight;
        QTest::newRow("Đ") << "DHoabarImage"
                           << "DHoa" << mpAcross;
        QTest::newRow("đ") << "DThbarImage"
                           << "dTh" << mpAcross;
    }
    void pictures() {
        QFETCH(QString, objectName);
        QFETCH(QString, keyName);
        QFETCH(TMarkPlace, place);
        TKeySettingsPage page(*FEngine);
        const QLabel* label = page.findChild<QLabel*>(objectName);
        QVERIFY(label != nullptr);
        const QPixmap pixmap = label->pixmap();
        QVERIFY(!pixmap.isNull());
        QCOMPARE(pixmap.deviceIndependentSize().toSize(), QSize(40, 40));
        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);

        // The letter in navy, the mark in red, nothing behind them.
        QRect letter, mark;
        int transparent = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() == 0) ++transparent;
                if (c.alpha() < 230) continue;
                if (c.blue() > 90 && c.red() < 60 && c.green() < 60) letter |= QRect(x, y, 1, 1);
                if (c.red() > 150 && c.green() < 60 && c.blue() < 60) mark |= QRect(x, y, 1, 1);
            }
        }
        QVERIFY2(letter.height() >= 10, "no letter drawn");
        QVERIFY2(mark.width() * mark.height() >= 9, "no mark drawn");
        QVERIFY(transparent > image.width() * image.height() / 3);
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        QVERIFY(letter.right() < image.width() - 1 && mark.right() < image.width() - 1);

        switch (place) {
            case mpAbove:
                QVERIFY(mark.bottom() <= letter.top() + 1);
                QVERIFY(mark.left() < letter.right() && mark.right() > letter.left());
                break;
            case mpBelow:
                QVERIFY(mark.top() >= letter.bottom() - 1);
                QVERIFY(mark.left() < letter.right() && mark.right() > letter.left());
                break;
            case mpUpperRight:
                QVERIFY(mark.right() > letter.right());
                QVERIFY(mark.top() < letter.top());
                QVERIFY(mark.bottom() < letter.center().y());
                break;
            case mpAcross:
                QVERIFY(mark.top() > letter.top() && mark.bottom() < letter.bottom());
                QVERIFY(mark.left() < letter.right() && mark.right() > letter.left());
                break;
        }

        // The page's picture is the one the program draws for that key.
        QCOMPARE(image,
                 KeyPicture(keyName.toStdString(), 40).toImage().convertToFormat(QImage::Format_ARGB32));
    }

    void everyPictureDiffers() {
        TKeySettingsPage page(*FEngine);
        const QList<QLabel*> labels = page.findChildren<QLabel*>();
        QList<QImage> images;
        for (const QLabel* label : labels) {
            if (!label->pixmap().isNull()) images.append(label->pixmap().toImage());
        }
        QCOMPARE(images.size(), 10);
        for (int i = 0; i < images.size(); ++i) {
            for (int j = i + 1; j < images.size(); ++j)
                QVERIFY2(images[i] != images[j], qPrintable(labels[j]->objectName()));
        }
    }

    void noPictureForOtherNames_data() {
        QTest::addColumn<QString>("keyName");
        QTest::addColumn<int>("size");
        QTest::newRow("escape") << "Escape" << 40;
        QTest::newRow("unknown") << "Hook" << 40;
        QTest::newRow("too small") << "Sac" << 0;
    }
    void noPictureForOtherNames() {
        QFETCH(QString, keyName);
        QFETCH(int, size);
        QVERIFY(KeyPicture(keyName.toStdString(), size).isNull());
    }

    void pictureForThePixelRatio() {
        const QPixmap picture = KeyPicture("Nga", 40, 2.0);
        QCOMPARE(picture.size(), QSize(80, 80));
        QCOMPARE(picture.devicePixelRatio(), 2.0);
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
        QList<int> lineTops;
        for (const QString& name : kKeyNames) {
            const QLineEdit* edit = page.KeyEdit(name.toStdString());
            QVERIFY(inside.contains(edit->geometry()));
            QVERIFY(edit->width() >= edit->fontMetrics().horizontalAdvance(QLatin1Char('W')));
            if (!lineTops.contains(edit->y())) lineTops.append(edit->y());
        }
        QCOMPARE(lineTops.size(), 3);
        QVERIFY(lineTops[0] < lineTops[1] && lineTops[1] < lineTops[2]);
        // Line by line: Sac to Nang, Mu to OO, DHoa to Escape, left to right, each line centred.
        const QList<QStringList> lines = {kKeyNames.mid(0, 5), kKeyNames.mid(5, 3), kKeyNames.mid(8, 3)};
        for (int l = 0; l < lines.size(); ++l) {
            int right = -1, left = INT_MAX, end = 0;
            for (const QString& name : lines[l]) {
                const QLineEdit* edit = page.KeyEdit(name.toStdString());
                QCOMPARE(edit->y(), lineTops[l]);
                QVERIFY(edit->x() > right);
                right = edit->geometry().right();
                left = std::min(left, edit->x());
                end = edit->geometry().right();
            }
            QVERIFY(std::abs(left - (inside.width() - 1 - end)) <= 2);
        }
        // Each picture straight above its box.
        const QList<QPair<QString, QString>> pictures = {
            {"AsacImage", "Sac"},     {"HuyenImage", "Huyen"}, {"AhoiImage", "Hoi"}, {"ANgaImage", "Nga"},
            {"ANangImage", "Nang"},   {"AMuImage", "Mu"},      {"AaaImage", "AA"},   {"OOImage", "OO"},
            {"DHoabarImage", "DHoa"}, {"DThbarImage", "dTh"}};
        for (const auto& [pictureName, keyName] : pictures) {
            const QLabel* picture = page.findChild<QLabel*>(pictureName);
            const QLineEdit* edit = page.KeyEdit(keyName.toStdString());
            QVERIFY(inside.contains(picture->geometry()));
            QVERIFY(picture->geometry().bottom() < edit->y());
            QVERIFY(edit->y() - picture->geometry().bottom() <= 20);
            QVERIFY(std::abs(picture->geometry().center().x() - edit->geometry().center().x()) <= 1);
        }
        // The buttons side by side below the last line.
        int buttonsLeft = INT_MAX, buttonsRight = 0, x = -1;
        for (const char* name : {"OKSettingsButton", "KeyVIQRButton", "KeyHelpButton"}) {
            const QPushButton* button = Button(page, name);
            QVERIFY(inside.contains(button->geometry()));
            QVERIFY(button->y() > page.KeyEdit("Escape")->geometry().bottom());
            QVERIFY(button->x() > x);
            x = button->geometry().right();
            buttonsLeft = std::min(buttonsLeft, button->x());
            buttonsRight = std::max(buttonsRight, button->geometry().right());
        }
        QVERIFY(std::abs(buttonsLeft - (inside.width() - 1 - buttonsRight)) <= 2);
    }
};

QTEST_MAIN(KeySettingsPageTest)
#include "KeySettingsPageTest.moc"
