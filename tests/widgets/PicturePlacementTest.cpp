#include <QPainter>
#include <QtTest>

#include "DecorTestHelpers.h"
#include "PicturePlacement.h"

using namespace odz;
using namespace odz::test;

class PicturePlacementTest : public QObject {
    Q_OBJECT
private slots:
    void fitPictureRect_data();
    void fitPictureRect();
    void centredPosition_data();
    void centredPosition();
    void tiles_data();
    void tiles();
    void tilesNothingWithoutAPicture();
    void transparentLeavesTheBottomLeftColourOut();
    void opaquePictureIsUntouched();
};

void PicturePlacementTest::fitPictureRect_data() {
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("wide room, full height")
        << QRect(0, 0, 200, 100) << QSize(50, 50) << QRect(50, 0, 100, 100);
    QTest::newRow("tall room, full width")
        << QRect(0, 0, 200, 100) << QSize(100, 20) << QRect(0, 30, 200, 40);
    QTest::newRow("same proportions") << QRect(0, 0, 200, 100) << QSize(200, 100) << QRect(0, 0, 200, 100);
    QTest::newRow("larger picture shrinks")
        << QRect(0, 0, 200, 100) << QSize(400, 100) << QRect(0, 25, 200, 50);
    QTest::newRow("odd margin rounds toward zero")
        << QRect(0, 0, 101, 100) << QSize(100, 100) << QRect(0, 0, 100, 100);
    QTest::newRow("height truncated") << QRect(0, 0, 100, 300) << QSize(3, 7) << QRect(0, 33, 100, 233);
    QTest::newRow("no width: whole rect") << QRect(0, 0, 200, 100) << QSize(0, 50) << QRect(0, 0, 200, 100);
    QTest::newRow("no height: whole rect") << QRect(0, 0, 200, 100) << QSize(50, 0) << QRect(0, 0, 200, 100);
    QTest::newRow("stays inside an inset rect")
        << QRect(10, 20, 200, 100) << QSize(50, 50) << QRect(60, 20, 100, 100);
    QTest::newRow("inset, tall room") << QRect(4, 4, 92, 92) << QSize(100, 50) << QRect(4, 27, 92, 46);
}

void PicturePlacementTest::fitPictureRect() {
    QFETCH(QRect, rect);
    QFETCH(QSize, picture);
    QFETCH(QRect, expected);
    QCOMPARE(FitPictureRect(rect, picture), expected);
}

void PicturePlacementTest::centredPosition_data() {
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("smaller") << QRect(0, 0, 100, 100) << QSize(50, 30) << QPoint(25, 35);
    QTest::newRow("larger") << QRect(0, 0, 100, 100) << QSize(150, 151) << QPoint(-25, -25);
    QTest::newRow("odd") << QRect(0, 0, 101, 100) << QSize(50, 50) << QPoint(25, 25);
    QTest::newRow("inset") << QRect(2, 2, 96, 96) << QSize(50, 50) << QPoint(25, 25);
}

void PicturePlacementTest::centredPosition() {
    QFETCH(QRect, rect);
    QFETCH(QSize, picture);
    QFETCH(QPoint, expected);
    QCOMPARE(CenteredPicturePos(rect, picture), expected);
}

namespace {

// Three by two pixels, all different.
QPixmap Checker() {
    QImage image(3, 2, QImage::Format_RGB32);
    const QRgb colours[] = {0xFF100000, 0xFF200000, 0xFF300000, 0xFF001000, 0xFF002000, 0xFF003000};
    for (int i = 0; i < 6; ++i) image.setPixel(i % 3, i / 3, colours[i]);
    return QPixmap::fromImage(image);
}

}  // namespace

void PicturePlacementTest::tiles_data() {
    QTest::addColumn<QPoint>("origin");
    QTest::newRow("at the corner") << QPoint(0, 0);
    QTest::newRow("above and left") << QPoint(-1, -7);
    QTest::newRow("inside") << QPoint(2, 1);
}

void PicturePlacementTest::tiles() {
    QFETCH(QPoint, origin);
    const QPixmap picture = Checker();
    const QImage source = picture.toImage();
    QImage image(11, 7, QImage::Format_RGB32);
    image.fill(kUntouched);
    {
        QPainter canvas(&image);
        DrawTiled(canvas, picture, image.rect(), origin);
    }
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 11; ++x) {
            const int sx = ((x - origin.x()) % 3 + 3) % 3;
            const int sy = ((y - origin.y()) % 2 + 2) % 2;
            QCOMPARE(Pixel(image, x, y), source.pixel(sx, sy) | 0xFF000000);
        }
}

void PicturePlacementTest::tilesNothingWithoutAPicture() {
    QImage image(5, 5, QImage::Format_RGB32);
    image.fill(kUntouched);
    QPainter canvas(&image);
    DrawTiled(canvas, QPixmap(), image.rect(), QPoint(0, 0));
    canvas.end();
    QCOMPARE(Pixel(image, 2, 2), kUntouched);
}

void PicturePlacementTest::transparentLeavesTheBottomLeftColourOut() {
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 0, 255));
    const QImage drawn =
        TransparentPicture(QPixmap::fromImage(image), true).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(qAlpha(drawn.pixel(0, 1)), 0);
    QCOMPARE(qAlpha(drawn.pixel(0, 0)), 0);
    QCOMPARE(drawn.pixel(1, 0), qRgb(0, 0, 255));
    QVERIFY(TransparentPicture(QPixmap(), true).isNull());
}

void PicturePlacementTest::opaquePictureIsUntouched() {
    QPixmap picture(4, 4);
    picture.fill(Qt::red);
    QCOMPARE(TransparentPicture(picture, false).cacheKey(), picture.cacheKey());
}

QTEST_MAIN(PicturePlacementTest)
#include "PicturePlacementTest.moc"
