#include <QPainter>
#include <QSet>
#include <QtTest>

#include "DecorTestHelpers.h"
#include "Gradient.h"

using namespace odz;
using namespace odz::test;

class GradientTest : public QObject {
    Q_OBJECT
private slots:
    void rampValues_data();
    void rampValues();
    void rampCountLeavesTheRestBlack();
    void mulDiv_data();
    void mulDiv();
    void effectNames();
    void solidPaintsNothing();
    void everyEffectCoversItsRectOnly_data();
    void everyEffectCoversItsRectOnly();
    void topToBottomOn512RowsHasTwoRowBands();
    void bandsOn100Rows_data();
    void bandsOn100Rows();
    void linearDirections_data();
    void linearDirections();
    void horzInFromWhiteToBlack();
    void symmetricEffects_data();
    void symmetricEffects();
    void diagonalCorners_data();
    void diagonalCorners();
    void shapes_data();
    void shapes();
    void painterStateIsKept();
};

void GradientTest::rampValues_data() {
    QTest::addColumn<uint>("first");
    QTest::addColumn<uint>("second");
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("navy-blue 0") << uint(clNavy) << uint(clBlue) << 0 << QColor(0, 0, 128);
    QTest::newRow("navy-blue 128") << uint(clNavy) << uint(clBlue) << 128 << QColor(0, 0, 191);
    QTest::newRow("navy-blue 255 one step short") << uint(clNavy) << uint(clBlue) << 255 << QColor(0, 0, 254);
    QTest::newRow("white-black 1") << uint(clWhite) << uint(clBlack) << 1 << QColor(254, 254, 254);
    QTest::newRow("white-black 254") << uint(clWhite) << uint(clBlack) << 254 << QColor(1, 1, 1);
    QTest::newRow("white-black 255") << uint(clWhite) << uint(clBlack) << 255 << QColor(0, 0, 0);
    QTest::newRow("black-white 1 truncates") << uint(clBlack) << uint(clWhite) << 1 << QColor(0, 0, 0);
    QTest::newRow("black-white 255") << uint(clBlack) << uint(clWhite) << 255 << QColor(254, 254, 254);
    QTest::newRow("red-blue 128") << uint(clRed) << uint(clBlue) << 128 << QColor(127, 0, 127);
    QTest::newRow("channels kept apart")
        << uint(RGBColor(10, 200, 30)) << uint(RGBColor(30, 100, 230)) << 64 << QColor(15, 175, 80);
    QTest::newRow("top byte ignored") << uint(0xFF00000F) << uint(0x0000000F) << 0 << QColor(15, 0, 0);
}

void GradientTest::rampValues() {
    QFETCH(uint, first);
    QFETCH(uint, second);
    QFETCH(int, index);
    QFETCH(QColor, expected);
    QCOMPARE(QColor(BuildColorRamp(first, second)[index]), expected);
}

void GradientTest::rampCountLeavesTheRestBlack() {
    const TGradientColors ramp = BuildColorRamp(clWhite, clBlack, 10);
    QCOMPARE(QColor(ramp[9]), QColor(246, 246, 246));
    QCOMPARE(QColor(ramp[10]), QColor(0, 0, 0));
}

void GradientTest::mulDiv_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("expected");
    QTest::newRow("exact") << 1 << 512 << 256 << 2;
    QTest::newRow("rounds down") << 1 << 100 << 256 << 0;
    QTest::newRow("rounds up") << 2 << 100 << 256 << 1;
    QTest::newRow("half away from zero") << 128 << 1 << 256 << 1;
    QTest::newRow("negative half") << -128 << 1 << 256 << -1;
    QTest::newRow("no overflow") << 2000000000 << 3 << 4 << 1500000000;
    QTest::newRow("zero divisor") << 5 << 5 << 0 << 0;
}

void GradientTest::mulDiv() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QFETCH(int, expected);
    QCOMPARE(MulDiv(a, b, c), expected);
}

void GradientTest::effectNames() {
    QCOMPARE(BackEffectName(gdSolid), QString("gdSolid"));
    QCOMPARE(BackEffectName(gdRectVerOut), QString("gdRectVerOut"));
    QCOMPARE(BackEffectName(gdDEHorOut), QString("gdDEHorOut"));
    QCOMPARE(BackEffectName(gdQEliOut), QString("gdQEliOut"));
    QCOMPARE(kBackEffectCount, 29);
    QVERIFY(BackEffectName(TBackEffect(29)).isEmpty());
}

void GradientTest::solidPaintsNothing() {
    const QImage image = PaintedEffect(gdSolid, clWhite, clBlack, QSize(40, 30), QRect(0, 0, 40, 30));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) QCOMPARE(Pixel(image, x, y), kUntouched);
}

void GradientTest::everyEffectCoversItsRectOnly_data() {
    QTest::addColumn<int>("effect");
    QTest::addColumn<QRect>("rect");
    for (int effect = gdTopToBottom; effect < kBackEffectCount; ++effect) {
        const QByteArray name = BackEffectName(TBackEffect(effect)).toLatin1();
        QTest::newRow(name + " offset") << effect << QRect(10, 20, 100, 50);
        QTest::newRow(name + " odd") << effect << QRect(3, 1, 37, 91);
        QTest::newRow(name + " tiny") << effect << QRect(5, 5, 3, 2);
    }
}

void GradientTest::everyEffectCoversItsRectOnly() {
    QFETCH(int, effect);
    QFETCH(QRect, rect);
    const QImage image = PaintedEffect(TBackEffect(effect), clWhite, clBlack, QSize(150, 120), rect);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = rect.contains(x, y);
            if (inside != (Pixel(image, x, y) != kUntouched))
                QFAIL(qPrintable(QString("pixel (%1, %2) %3")
                                     .arg(x)
                                     .arg(y)
                                     .arg(inside ? "unpainted" : "painted outside")));
        }
}

void GradientTest::topToBottomOn512RowsHasTwoRowBands() {
    const QImage image = PaintedEffect(gdTopToBottom, clNavy, clBlue, QSize(8, 512), QRect(0, 0, 8, 512));
    for (int i = 0; i < 256; ++i) {
        QCOMPARE(Pixel(image, 0, 2 * i), Entry(clNavy, clBlue, i));
        QCOMPARE(Pixel(image, 7, 2 * i + 1), Entry(clNavy, clBlue, i));
    }
}

void GradientTest::bandsOn100Rows_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("entry");
    // Band 0 starts and ends on row 0 and paints nothing; band 1 is the first with a row.
    QTest::newRow("top") << 0 << 1;
    QTest::newRow("row 49") << 49 << 126;
    QTest::newRow("row 50") << 50 << 129;
    QTest::newRow("bottom") << 99 << 254;
}

void GradientTest::bandsOn100Rows() {
    QFETCH(int, row);
    QFETCH(int, entry);
    const QImage image = PaintedEffect(gdTopToBottom, clBlack, clWhite, QSize(4, 100), QRect(0, 0, 4, 100));
    QCOMPARE(Pixel(image, 2, row), Entry(clBlack, clWhite, entry));
    QSet<QRgb> colours;
    for (int y = 0; y < 100; ++y) colours.insert(Pixel(image, 0, y));
    QVERIFY(colours.size() <= 100);
}

void GradientTest::linearDirections_data() {
    QTest::addColumn<int>("effect");
    QTest::addColumn<QPoint>("firstEntryAt");
    QTest::addColumn<QPoint>("lastEntryAt");
    QTest::addColumn<bool>("reversed");
    QTest::newRow("top to bottom") << int(gdTopToBottom) << QPoint(100, 0) << QPoint(3, 255) << false;
    QTest::newRow("bottom to top") << int(gdBottomToTop) << QPoint(100, 0) << QPoint(3, 255) << true;
    QTest::newRow("left to right") << int(gdLeftToRight) << QPoint(0, 100) << QPoint(255, 3) << false;
    QTest::newRow("right to left") << int(gdRightToLeft) << QPoint(0, 100) << QPoint(255, 3) << true;
}

void GradientTest::linearDirections() {
    QFETCH(int, effect);
    QFETCH(QPoint, firstEntryAt);
    QFETCH(QPoint, lastEntryAt);
    QFETCH(bool, reversed);
    const QImage image =
        PaintedEffect(TBackEffect(effect), clRed, clBlue, QSize(256, 256), QRect(0, 0, 256, 256));
    const TColor from = reversed ? clBlue : clRed;
    const TColor to = reversed ? clRed : clBlue;
    QCOMPARE(Pixel(image, firstEntryAt.x(), firstEntryAt.y()), Entry(from, to, 0));
    QCOMPARE(Pixel(image, lastEntryAt.x(), lastEntryAt.y()), Entry(from, to, 255));
}

void GradientTest::horzInFromWhiteToBlack() {
    const QImage image = PaintedEffect(gdHorzIn, clWhite, clBlack, QSize(10, 256), QRect(0, 0, 10, 256));
    QCOMPARE(QColor(Pixel(image, 5, 0)), QColor(254, 254, 254));
    QCOMPARE(QColor(Pixel(image, 5, 255)), QColor(255, 255, 255));
    QCOMPARE(QColor(Pixel(image, 5, 127)), QColor(0, 0, 0));
    QCOMPARE(QColor(Pixel(image, 5, 128)), QColor(1, 1, 1));
}

void GradientTest::symmetricEffects_data() {
    QTest::addColumn<int>("effect");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("reversed");
    QTest::newRow("horz in") << int(gdHorzIn) << false << false;
    QTest::newRow("horz out") << int(gdHorzOut) << false << true;
    QTest::newRow("vert in") << int(gdVertIn) << true << false;
    QTest::newRow("vert out") << int(gdVertOut) << true << true;
}

void GradientTest::symmetricEffects() {
    QFETCH(int, effect);
    QFETCH(bool, vertical);
    QFETCH(bool, reversed);
    const QImage image =
        PaintedEffect(TBackEffect(effect), clYellow, clNavy, QSize(512, 512), QRect(0, 0, 512, 512));
    const TColor from = reversed ? clNavy : clYellow;
    const TColor to = reversed ? clYellow : clNavy;
    for (int band = 0; band < 256; ++band) {
        const int entry = band < 128 ? 2 * band + 1 : 510 - 2 * band;
        const QRgb pixel = vertical ? Pixel(image, 2 * band + 1, 7) : Pixel(image, 7, 2 * band + 1);
        QCOMPARE(pixel, Entry(from, to, entry));
    }
}

void GradientTest::diagonalCorners_data() {
    QTest::addColumn<int>("effect");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QPoint>("far");
    const int r = 299, b = 199;
    QTest::newRow("top-left") << int(gdTLeftToBRight) << QPoint(0, 0) << QPoint(r, b);
    QTest::newRow("bottom-left") << int(gdBLeftToTRight) << QPoint(0, b) << QPoint(r, 0);
    QTest::newRow("top-right") << int(gdTRightToBLeft) << QPoint(r, 0) << QPoint(0, b);
    QTest::newRow("bottom-right") << int(gdBRightToTLeft) << QPoint(r, b) << QPoint(0, 0);
}

void GradientTest::diagonalCorners() {
    QFETCH(int, effect);
    QFETCH(QPoint, start);
    QFETCH(QPoint, far);
    const QImage image =
        PaintedEffect(TBackEffect(effect), clWhite, clBlack, QSize(300, 200), QRect(0, 0, 300, 200));
    QCOMPARE(Pixel(image, start.x(), start.y()), Entry(clWhite, clBlack, 0));
    QCOMPARE(Pixel(image, far.x(), far.y()), Entry(clWhite, clBlack, 254));
    // Entry 255 (black) is never used, and the stripes darken away from the start corner.
    const int stepX = far.x() > start.x() ? 1 : -1;
    const int stepY = far.y() > start.y() ? 1 : -1;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const int grey = qRed(Pixel(image, x, y));
            QVERIFY(grey > 0);
            const int nx = x + stepX;
            if (nx >= 0 && nx < 300) QVERIFY(qRed(Pixel(image, nx, y)) <= grey);
            const int ny = y + stepY;
            if (ny >= 0 && ny < 200) QVERIFY(qRed(Pixel(image, x, ny)) <= grey);
        }
    // Across a stripe, along the anti-diagonal, the colour does not change.
    const QPoint mid((start.x() + far.x()) / 2, (start.y() + far.y()) / 2);
    QCOMPARE(Pixel(image, mid.x() + 3, mid.y() - 3 * stepX * stepY), Pixel(image, mid.x(), mid.y()));
}

void GradientTest::shapes_data() {
    QTest::addColumn<int>("effect");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("tolerance");  // in entries, for the rounding of ellipse outlines
    // 256 by 256 pixels: the insets grow by half a pixel per entry, so entry 1 still covers the edge
    // and a point ten pixels in from an edge lies in the shapes up to entry 21.
    for (int effect : {int(gdRectangleIn), int(gdRectangleOut)}) {
        const QByteArray name = BackEffectName(TBackEffect(effect)).toLatin1();
        QTest::newRow(name + " corner") << effect << QPoint(0, 0) << 1 << 0;
        QTest::newRow(name + " centre") << effect << QPoint(128, 128) << 255 << 0;
        QTest::newRow(name + " ten in") << effect << QPoint(10, 128) << 21 << 0;
        QTest::newRow(name + " ten in, other side") << effect << QPoint(128, 245) << 21 << 0;
    }
    for (int effect : {int(gdEllipseIn), int(gdEllipseOut)}) {
        const QByteArray name = BackEffectName(TBackEffect(effect)).toLatin1();
        // The corner lies outside every ellipse: the first fill, entry 0, stays.
        QTest::newRow(name + " corner") << effect << QPoint(0, 0) << 0 << 0;
        QTest::newRow(name + " ten in") << effect << QPoint(128, 10) << 21 << 1;
        QTest::newRow(name + " centre") << effect << QPoint(128, 128) << 255 << 1;
    }
    // Halves (0, 0, 255, 129) and (0, 127, 255, 255). For each entry the first is painted before the
    // second, so in the three shared rows the first half's later shapes win until they shrink away.
    for (int effect : {int(gdDRecHorIn), int(gdDRecHorOut)}) {
        const QByteArray name = BackEffectName(TBackEffect(effect)).toLatin1();
        QTest::newRow(name + " first centre") << effect << QPoint(128, 64) << 255 << 0;
        QTest::newRow(name + " shared row") << effect << QPoint(128, 127) << 11 << 0;
        QTest::newRow(name + " second centre") << effect << QPoint(128, 192) << 252 << 0;
        QTest::newRow(name + " bottom edge") << effect << QPoint(128, 255) << 3 << 0;
    }
    for (int effect : {int(gdDRecVerIn), int(gdRectVerOut)}) {
        const QByteArray name = BackEffectName(TBackEffect(effect)).toLatin1();
        QTest::newRow(name + " first centre") << effect << QPoint(64, 128) << 255 << 0;
        QTest::newRow(name + " shared column") << effect << QPoint(127, 128) << 11 << 0;
        QTest::newRow(name + " second centre") << effect << QPoint(192, 128) << 252 << 0;
    }
    // Quarters of 130 by 130 pixels: the insets grow by a pixel every four entries or so.
    for (int effect : {int(gdQRecIn), int(gdQRecOut)}) {
        const QByteArray name = BackEffectName(TBackEffect(effect)).toLatin1();
        QTest::newRow(name + " corner") << effect << QPoint(255, 0) << 3 << 0;
        QTest::newRow(name + " first centre") << effect << QPoint(64, 64) << 255 << 0;
        QTest::newRow(name + " last centre") << effect << QPoint(191, 191) << 255 << 0;
    }
    const struct {
        int effect;
        QPoint centre;
    } ellipseAreas[] = {{gdDEliHorIn, {128, 64}},  {gdDEHorOut, {128, 64}}, {gdDEliVerIn, {64, 128}},
                        {gdDEliVerOut, {64, 128}}, {gdQEliIn, {64, 64}},    {gdQEliOut, {64, 64}}};
    for (const auto& area : ellipseAreas) {
        const QByteArray name = BackEffectName(TBackEffect(area.effect)).toLatin1();
        QTest::newRow(name + " corner") << area.effect << QPoint(0, 255) << 0 << 0;
        QTest::newRow(name + " first centre") << area.effect << area.centre << 255 << 3;
    }
}

void GradientTest::shapes() {
    QFETCH(int, effect);
    QFETCH(QPoint, at);
    QFETCH(int, entry);
    QFETCH(int, tolerance);
    const bool in = (effect - gdRectangleIn) % 2 == 0;
    const TColor from = in ? clWhite : clBlack;
    const TColor to = in ? clBlack : clWhite;
    const QImage image =
        PaintedEffect(TBackEffect(effect), clWhite, clBlack, QSize(256, 256), QRect(0, 0, 256, 256));
    const QRgb got = Pixel(image, at.x(), at.y());
    if (tolerance == 0) {
        QCOMPARE(got, Entry(from, to, entry));
        return;
    }
    bool near = false;
    for (int e = qMax(entry - tolerance, 0); e <= qMin(entry + tolerance, 255); ++e)
        near = near || got == Entry(from, to, e);
    QVERIFY2(near, qPrintable(QColor(got).name()));
}

void GradientTest::painterStateIsKept() {
    QImage image(50, 50, QImage::Format_RGB32);
    QPainter canvas(&image);
    const QPen pen(Qt::red, 3, Qt::DashLine);
    canvas.setPen(pen);
    canvas.setBrush(Qt::green);
    canvas.setClipRect(QRect(0, 0, 40, 40));
    PaintGradient(gdQEliIn, clWhite, clBlack, canvas, QRect(0, 0, 50, 50));
    QCOMPARE(canvas.pen(), pen);
    QCOMPARE(canvas.brush().color(), QColor(Qt::green));
    QCOMPARE(canvas.clipBoundingRect().toRect(), QRect(0, 0, 40, 40));
    canvas.end();
}

QTEST_MAIN(GradientTest)
#include "GradientTest.moc"
