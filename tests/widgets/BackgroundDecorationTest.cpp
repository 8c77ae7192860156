#include <QApplication>
#include <QPainter>
#include <QtTest>
#include <functional>
#include <memory>

#include "BackgroundDecoration.h"
#include "DecorTestHelpers.h"

using namespace odz;
using namespace odz::test;

using TChange = std::function<void(TBackgroundDecoration&)>;
Q_DECLARE_METATYPE(TChange)

class BackgroundDecorationTest : public QObject {
    Q_OBJECT
private slots:
    void initialValues();
    void setters_data();
    void setters();
    void pictureChanges();
    void transparencyReachesThePicture();
    void decorationIsOnForAPictureModeOrAGradient_data();
    void decorationIsOnForAPictureModeOrAGradient();
    void modes_data();
    void modes();
    void systemColoursAreResolved();
    void paintBackgroundToStopsAtTheHeight();
    void tilesFollowTheContentOrigin();
};

namespace {

QPixmap Solid(int width, int height, QColor colour) {
    QPixmap picture(width, height);
    picture.fill(colour);
    return picture;
}

QImage Painted(const TBackgroundDecoration& decoration, const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kUntouched);
    QPainter canvas(&image);
    decoration.PaintBackground(canvas, size);
    return image;
}

}  // namespace

void BackgroundDecorationTest::initialValues() {
    TBackgroundDecoration decoration(nullptr);
    QVERIFY(decoration.BackPict().isNull());
    QCOMPARE(decoration.ColorBegin(), clNavy);
    QCOMPARE(decoration.ColorBegin(), RGBColor(0, 0, 128));
    QCOMPARE(decoration.ColorEnd(), RGBColor(0, 0, 255));
    QCOMPARE(decoration.ImageMode(), imNone);
    QCOMPARE(decoration.BackEffect(), gdSolid);
    QCOMPARE(decoration.ITransparent(), false);
    QCOMPARE(decoration.Color(), RGBColor(255, 255, 255));
    QVERIFY(!decoration.IsOn());
}

void BackgroundDecorationTest::setters_data() {
    QTest::addColumn<TChange>("same");
    QTest::addColumn<TChange>("changed");
    QTest::newRow("ColorBegin") << TChange([](auto& d) { d.SetColorBegin(clNavy); })
                                << TChange([](auto& d) { d.SetColorBegin(clRed); });
    QTest::newRow("ColorEnd") << TChange([](auto& d) { d.SetColorEnd(clBlue); })
                              << TChange([](auto& d) { d.SetColorEnd(clRed); });
    QTest::newRow("ImageMode") << TChange([](auto& d) { d.SetImageMode(imNone); })
                               << TChange([](auto& d) { d.SetImageMode(imTiled); });
    QTest::newRow("BackEffect") << TChange([](auto& d) { d.SetBackEffect(gdSolid); })
                                << TChange([](auto& d) { d.SetBackEffect(gdQEliOut); });
    QTest::newRow("ITransparent") << TChange([](auto& d) { d.SetITransparent(false); })
                                  << TChange([](auto& d) { d.SetITransparent(true); });
    QTest::newRow("Color") << TChange([](auto& d) { d.SetColor(clWhite); })
                           << TChange([](auto& d) { d.SetColor(clBtnFace); });
    const auto picture = std::make_shared<QPixmap>(Solid(3, 3, Qt::red));
    QTest::newRow("BackPict") << TChange([](auto& d) { d.SetBackPict(QPixmap()); })
                              << TChange([picture](auto& d) { d.SetBackPict(*picture); });
}

void BackgroundDecorationTest::setters() {
    QFETCH(TChange, same);
    QFETCH(TChange, changed);
    int changes = 0;
    TBackgroundDecoration decoration([&] { ++changes; });
    same(decoration);
    QCOMPARE(changes, 0);
    changed(decoration);
    QCOMPARE(changes, 1);
    changed(decoration);
    QCOMPARE(changes, 1);
}

void BackgroundDecorationTest::pictureChanges() {
    int changes = 0;
    TBackgroundDecoration decoration([&] { ++changes; });
    const QPixmap picture = Solid(4, 3, Qt::red);
    decoration.SetBackPict(picture);
    QCOMPARE(changes, 1);
    decoration.SetBackPict(picture);
    QCOMPARE(changes, 1);
    decoration.SetBackPict(Solid(4, 3, Qt::red));
    QCOMPARE(changes, 2);
    decoration.SetBackPict(QPixmap());
    QCOMPARE(changes, 3);
    QVERIFY(decoration.BackPict().isNull());
    decoration.SetBackPict(QImage(2, 2, QImage::Format_RGB32));
    QCOMPARE(changes, 4);
    QCOMPARE(decoration.BackPict().size(), QSize(2, 2));
}

void BackgroundDecorationTest::transparencyReachesThePicture() {
    TBackgroundDecoration decoration(nullptr);
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 0));
    image.setPixel(1, 1, qRgb(0, 255, 0));
    decoration.SetBackPict(QPixmap::fromImage(image));
    QVERIFY(!decoration.DrawnPicture().hasAlpha());
    decoration.SetITransparent(true);
    QVERIFY(decoration.DrawnPicture().hasAlpha());
    // Set before the picture, the flag applies to the picture that comes.
    decoration.SetBackPict(QPixmap());
    decoration.SetBackPict(QPixmap::fromImage(image));
    QCOMPARE(qAlpha(decoration.DrawnPicture().toImage().pixel(0, 0)), 0);
    QCOMPARE(qAlpha(decoration.DrawnPicture().toImage().pixel(1, 1)), 255);
    decoration.SetITransparent(false);
    QVERIFY(!decoration.DrawnPicture().hasAlpha());
}

void BackgroundDecorationTest::decorationIsOnForAPictureModeOrAGradient_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("effect");
    QTest::addColumn<bool>("on");
    QTest::newRow("none, solid") << int(imNone) << int(gdSolid) << false;
    QTest::newRow("none, gradient") << int(imNone) << int(gdHorzIn) << true;
    QTest::newRow("tiled, solid") << int(imTiled) << int(gdSolid) << true;
    QTest::newRow("centred, gradient") << int(imCentered) << int(gdVertOut) << true;
}

void BackgroundDecorationTest::decorationIsOnForAPictureModeOrAGradient() {
    QFETCH(int, mode);
    QFETCH(int, effect);
    QFETCH(bool, on);
    TBackgroundDecoration decoration(nullptr);
    decoration.SetImageMode(TImageMode(mode));
    decoration.SetBackEffect(TBackEffect(effect));
    QCOMPARE(decoration.IsOn(), on);
}

void BackgroundDecorationTest::modes_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("effect");
    QTest::addColumn<QSize>("picture");  // green; an empty size for none
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QString>("expected");  // "colour", "green" or "gradient"
    const QSize none;
    QTest::newRow("none, solid: colour") << int(imNone) << int(gdSolid) << none << QPoint(50, 50) << "colour";
    QTest::newRow("none, gradient") << int(imNone) << int(gdLeftToRight) << QSize(10, 10) << QPoint(17, 5)
                                    << "gradient";
    QTest::newRow("stretched covers all")
        << int(imStretched) << int(gdLeftToRight) << QSize(2, 2) << QPoint(1, 99) << "green";
    QTest::newRow("stretched without picture: gradient")
        << int(imStretched) << int(gdLeftToRight) << none << QPoint(17, 5) << "gradient";
    QTest::newRow("tiled without picture: colour")
        << int(imTiled) << int(gdSolid) << none << QPoint(17, 5) << "colour";
    QTest::newRow("ratio: picture in the middle")
        << int(imStretchRatio) << int(gdLeftToRight) << QSize(50, 50) << QPoint(100, 50) << "green";
    QTest::newRow("ratio: gradient beside")
        << int(imStretchRatio) << int(gdLeftToRight) << QSize(50, 50) << QPoint(17, 50) << "gradient";
    QTest::newRow("ratio, solid: colour beside")
        << int(imStretchRatio) << int(gdSolid) << QSize(50, 50) << QPoint(17, 50) << "colour";
    QTest::newRow("ratio, empty picture: stretched")
        << int(imStretchRatio) << int(gdSolid) << QSize(0, 0) << QPoint(17, 50) << "colour";
    QTest::newRow("centred small: gradient around")
        << int(imCentered) << int(gdLeftToRight) << QSize(20, 20) << QPoint(17, 5) << "gradient";
    QTest::newRow("centred small: picture")
        << int(imCentered) << int(gdLeftToRight) << QSize(20, 20) << QPoint(100, 50) << "green";
    QTest::newRow("centred small, solid: colour around")
        << int(imCentered) << int(gdSolid) << QSize(20, 20) << QPoint(17, 5) << "colour";
    QTest::newRow("centred, narrower only: gradient")
        << int(imCentered) << int(gdLeftToRight) << QSize(150, 300) << QPoint(17, 5) << "gradient";
    QTest::newRow("centred large hides the gradient")
        << int(imCentered) << int(gdLeftToRight) << QSize(300, 300) << QPoint(17, 5) << "green";
}

void BackgroundDecorationTest::modes() {
    QFETCH(int, mode);
    QFETCH(int, effect);
    QFETCH(QSize, picture);
    QFETCH(QPoint, probe);
    QFETCH(QString, expected);
    TBackgroundDecoration decoration(nullptr);
    decoration.SetColor(RGBColor(250, 240, 230));
    decoration.SetImageMode(TImageMode(mode));
    decoration.SetBackEffect(TBackEffect(effect));
    if (picture.isValid())
        decoration.SetBackPict(picture.isEmpty() ? QPixmap()
                                                 : Solid(picture.width(), picture.height(), Qt::green));
    const QImage image = Painted(decoration, QSize(200, 100));
    // Column 17 of 200 lies in band 22 (from MulDiv(22, 200, 256) = 17 to 18).
    const QRgb wanted = expected == "colour"  ? qRgb(250, 240, 230)
                        : expected == "green" ? qRgb(0, 255, 0)
                                              : Entry(clNavy, clBlue, 22);
    QCOMPARE(QColor(Pixel(image, probe.x(), probe.y())), QColor(wanted));
    for (int y = 0; y < 100; y += 9)
        for (int x = 0; x < 200; x += 7) QVERIFY(Pixel(image, x, y) != kUntouched);
}

void BackgroundDecorationTest::systemColoursAreResolved() {
    TBackgroundDecoration decoration(nullptr);
    decoration.SetBackEffect(gdTopToBottom);
    decoration.SetColorBegin(clHighlight);
    decoration.SetColorEnd(clHighlight);
    const QImage image = Painted(decoration, QSize(10, 256));
    QCOMPARE(QColor(Pixel(image, 5, 100)),
             QApplication::palette().color(QPalette::Active, QPalette::Highlight));
}

void BackgroundDecorationTest::paintBackgroundToStopsAtTheHeight() {
    TBackgroundDecoration decoration(nullptr);
    decoration.SetBackEffect(gdTopToBottom);
    for (const int height : {0, 60}) {
        QImage image(40, 256, QImage::Format_RGB32);
        image.fill(kUntouched);
        {
            QPainter canvas(&image);
            decoration.PaintBackgroundTo(canvas, image.size(), height);
        }
        QCOMPARE(Pixel(image, 3, 0) == kUntouched, height == 0);
        QCOMPARE(Pixel(image, 3, 59) == kUntouched, height == 0);
        QCOMPARE(Pixel(image, 3, 60), kUntouched);
        if (height) QCOMPARE(Pixel(image, 3, 59), Entry(clNavy, clBlue, 59));
    }
}

void BackgroundDecorationTest::tilesFollowTheContentOrigin() {
    TBackgroundDecoration decoration(nullptr);
    decoration.SetBackEffect(gdTopToBottom);
    decoration.SetColor(RGBColor(1, 2, 3));
    const QSize client(40, 256);
    const auto paintedFrom = [&](QPoint origin) {
        QImage image(client, QImage::Format_RGB32);
        image.fill(kUntouched);
        QPainter canvas(&image);
        decoration.PaintBackgroundTo(canvas, client, client.height(), origin);
        return image;
    };
    // Scrolled up by 30 rows (or by 30 rows plus many screens): row 0 shows row 30 of the decoration,
    // and the copy below continues it.
    for (const int top : {-30, -30 - 256 * 40}) {
        const QImage scrolled = paintedFrom(QPoint(-5, top));
        QCOMPARE(Pixel(scrolled, 0, 0), Entry(clNavy, clBlue, 30));
        QCOMPARE(Pixel(scrolled, 0, 225), Entry(clNavy, clBlue, 255));
        QCOMPARE(Pixel(scrolled, 0, 226), Entry(clNavy, clBlue, 0));
    }
    // Rows start lower (below a gap): the gap keeps the plain colour.
    const QImage lower = paintedFrom(QPoint(3, 10));
    QCOMPARE(QColor(Pixel(lower, 0, 9)), QColor(1, 2, 3));
    QCOMPARE(Pixel(lower, 0, 10), Entry(clNavy, clBlue, 0));
}

QTEST_MAIN(BackgroundDecorationTest)
#include "BackgroundDecorationTest.moc"
