// The window's parts that need no main window: its size and placement on a screen, the progress bar
// as the conversions see it, and the message boxes.

#include <QDialog>
#include <QProgressBar>
#include <QtTest>
#include <optional>

#include "BoxMessages.h"
#include "WidgetPorts.h"
#include "WindowPlacement.h"

using namespace odz;

class WindowPartsTest : public QObject {
    Q_OBJECT

private slots:
    void windowSizeFollowsTheScreenWidth_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("1280 x 1024") << QSize(1280, 1024) << QSize(1060, 734);
        QTest::newRow("1024 wide, any height") << QSize(1024, 600) << QSize(848, 551);
        QTest::newRow("800 x 600") << QSize(800, 600) << QSize(662, 430);
        QTest::newRow("1920 x 1080") << QSize(1920, 1080) << QSize(1590, 774);
    }
    void windowSizeFollowsTheScreenWidth() {
        QFETCH(QSize, screen);
        QFETCH(QSize, expected);
        QCOMPARE(AdjustedWindowSize(QSize(848, 551), screen), expected);
    }

    void savedPlacementIsKeptOnTheScreen_data() {
        QTest::addColumn<QList<int>>("saved");  // left, top, width, height; -9999 for missing
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QRect>("expected");  // the frame's left and top, the inside's width and height
        const QRect screen(0, 0, 1280, 1024);
        const QRect current(50, 144, 848, 551);
        QTest::newRow("as saved") << QList<int>{10, 20, 600, 400} << screen << QMargins()
                                  << QRect(10, 20, 600, 400);
        QTest::newRow("negative left and top")
            << QList<int>{-20, -5, 600, 400} << screen << QMargins() << QRect(0, 0, 600, 400);
        QTest::newRow("too wide and too high")
            << QList<int>{100, 200, 1250, 900} << screen << QMargins() << QRect(100, 200, 1180, 824);
        QTest::newRow("nothing saved")
            << QList<int>{-9999, -9999, -9999, -9999} << screen << QMargins() << current;
        QTest::newRow("only the width")
            << QList<int>{-9999, -9999, 1300, -9999} << screen << QMargins() << QRect(50, 144, 1230, 551);
        QTest::newRow("beyond the right edge")
            << QList<int>{3000, 100, 800, 600} << screen << QMargins() << QRect(480, 100, 800, 600);
        // With the desktop's frame: a title bar of 20 and borders of 1, 1 and 5 pixels.
        const QRect wide(0, 0, 1600, 1000);
        const QMargins frame(1, 20, 1, 5);
        QTest::newRow("framed, fits: exactly as saved")
            << QList<int>{300, 200, 1260, 700} << wide << frame << QRect(300, 200, 1260, 700);
        QTest::newRow("framed, too large: the whole frame stays on the screen")
            << QList<int>{300, 200, 1560, 900} << wide << frame << QRect(300, 200, 1298, 775);
        QTest::newRow("framed, filling the screen")
            << QList<int>{0, 0, 1598, 975} << wide << frame << QRect(0, 0, 1598, 975);
        QTest::newRow("framed, beyond the bottom edge")
            << QList<int>{100, 1900, 600, 400} << wide << frame << QRect(100, 575, 600, 400);
        QTest::newRow("a second screen to the right")
            << QList<int>{1000, -30, 600, 400} << QRect(1600, 0, 1280, 1024) << frame
            << QRect(1600, 0, 600, 400);
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
};

QTEST_MAIN(WindowPartsTest)
#include "WindowPartsTest.moc"
