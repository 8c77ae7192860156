// The painting under the decorated widgets: colour values, gradient ramps and effects, picture
// placement, the background decoration of the item views, and text with a shadow.

#include <QPainter>
#include <QtTest>

#include "BackgroundDecoration.h"
#include "DecorTestHelpers.h"
#include "PicturePlacement.h"
#include "ShadowText.h"

using namespace odz;
using namespace odz::test;

namespace {

// An image of the given size in the marker colour with one effect painted over rect.
QImage PaintedEffect(TBackEffect effect, TColor first, TColor second, const QSize& size, const QRect& rect) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kUntouched);
    QPainter canvas(&image);
    PaintGradient(effect, first, second, canvas, rect);
    return image;
}

QPixmap Solid(int width, int height, QColor colour) {
    QPixmap picture(width, height);
    picture.fill(colour);
    return picture;
}

}  // namespace

class DecorationTest : public QObject {
    Q_OBJECT
private slots:
    // The ramp, checked by hand: entry i is first + i * (second - first) / 256 per channel, truncated.
    void rampValues() {
        for (const auto& [first, second, index, expected] :
             {std::tuple{clNavy, clBlue, 128, QColor(0, 0, 191)},
              {clNavy, clBlue, 255, QColor(0, 0, 254)},
              {clWhite, clBlack, 1, QColor(254, 254, 254)},
              {clWhite, clBlack, 255, QColor(0, 0, 0)},
              {clBlack, clWhite, 1, QColor(0, 0, 0)},
              {clBlack, clWhite, 255, QColor(254, 254, 254)},
              {RGBColor(10, 200, 30), RGBColor(30, 100, 230), 64, QColor(15, 175, 80)},
              {TColor(0xFF00000F), TColor(0x0000000F), 0, QColor(15, 0, 0)}})
            QCOMPARE(QColor(BuildColorRamp(first, second)[index]), expected);
        // Only the entries counted are filled; the rest stay black.
        QCOMPARE(QColor(BuildColorRamp(clWhite, clBlack, 10)[9]), QColor(246, 246, 246));
        QCOMPARE(QColor(BuildColorRamp(clWhite, clBlack, 10)[10]), QColor(0, 0, 0));
        // The bands' arithmetic: halves away from zero, no overflow, nothing for a zero divisor.
        QCOMPARE(MulDiv(-128, 1, 256), -1);
        QCOMPARE(MulDiv(2000000000, 3, 4), 1500000000);
        QCOMPARE(MulDiv(5, 5, 0), 0);
    }

    void everyEffectCoversItsRectOnly_data() {
        QTest::addColumn<int>("effect");
        QTest::addColumn<QRect>("rect");
        for (int effect = gdSolid; effect < kBackEffectCount; ++effect) {
            const QByteArray name = BackEffectName(TBackEffect(effect)).toLatin1();
            QTest::newRow(name + " odd") << effect << QRect(3, 1, 37, 91);
            QTest::newRow(name + " tiny") << effect << QRect(5, 5, 3, 2);
        }
    }

    void everyEffectCoversItsRectOnly() {
        QFETCH(int, effect);
        QFETCH(QRect, rect);
        QImage image(150, 120, QImage::Format_RGB32);
        image.fill(kUntouched);
        QPainter canvas(&image);
        // The painter's state is left as it was found.
        const QPen pen(Qt::red, 3, Qt::DashLine);
        canvas.setPen(pen);
        canvas.setBrush(Qt::green);
        canvas.setClipRect(QRect(0, 0, 149, 119));
        PaintGradient(TBackEffect(effect), clWhite, clBlack, canvas, rect);
        QCOMPARE(canvas.pen(), pen);
        QCOMPARE(canvas.brush().color(), QColor(Qt::green));
        QCOMPARE(canvas.clipBoundingRect().toRect(), QRect(0, 0, 149, 119));
        canvas.end();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                // gdSolid paints nothing: the caller fills.
                const bool painted = effect != gdSolid && rect.contains(x, y);
                if (painted != (Pixel(image, x, y) != kUntouched))
                    QFAIL(qPrintable(
                        QString("pixel (%1, %2) %3").arg(x).arg(y).arg(painted ? "unpainted" : "painted")));
            }
    }

    // Every "out" effect (and every reversed direction) is its partner with the colours swapped; the
    // corners of the diagonals are mirrors of each other.
    void reversedEffectsSwapTheColours() {
        const QSize size(67, 45);
        const auto painted = [&](int effect, TColor first, TColor second) {
            return PaintedEffect(TBackEffect(effect), first, second, size, QRect(QPoint(), size));
        };
        QList<std::pair<int, int>> pairs{{gdTopToBottom, gdBottomToTop},
                                         {gdLeftToRight, gdRightToLeft},
                                         {gdHorzIn, gdHorzOut},
                                         {gdVertIn, gdVertOut}};
        for (int effect = gdRectangleIn; effect < kBackEffectCount; effect += 2)
            pairs.append({effect, effect + 1});
        for (const auto& [in, out] : pairs)
            QVERIFY2(painted(out, clWhite, clNavy) == painted(in, clNavy, clWhite),
                     qPrintable(BackEffectName(TBackEffect(out))));
        const QImage diagonal = painted(gdTLeftToBRight, clWhite, clNavy);
        QCOMPARE(painted(gdBLeftToTRight, clWhite, clNavy), diagonal.mirrored(false, true));
        QCOMPARE(painted(gdTRightToBLeft, clWhite, clNavy), diagonal.mirrored(true, false));
        QCOMPARE(painted(gdBRightToTLeft, clWhite, clNavy), diagonal.mirrored(true, true));
    }

    void effectProbes_data() {
        QTest::addColumn<int>("effect");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("entry");      // of the ramp from white to black
        QTest::addColumn<int>("tolerance");  // in entries, for the rounding of ellipse outlines
        const auto row = [](int effect, QSize size, QPoint at, int entry, int tolerance = 0) {
            QTest::addRow("%s %dx%d at %d,%d", qPrintable(BackEffectName(TBackEffect(effect))), size.width(),
                          size.height(), at.x(), at.y())
                << effect << size << at << entry << tolerance;
        };
        const QSize square(256, 256);
        // On 512 rows every band has two; on 100 rows band 0 starts and ends on row 0 and paints nothing.
        for (const auto& [y, entry] : {std::pair{0, 0}, {2, 1}, {511, 255}})
            row(gdTopToBottom, QSize(8, 512), QPoint(7, y), entry);
        for (const auto& [y, entry] : {std::pair{0, 1}, {49, 126}, {50, 129}, {99, 254}})
            row(gdTopToBottom, QSize(4, 100), QPoint(2, y), entry);
        row(gdLeftToRight, square, QPoint(0, 100), 0);
        row(gdLeftToRight, square, QPoint(255, 3), 255);
        // Symmetric: band b of 256 shows entry 2b + 1 up to the middle, then back down to 0.
        for (const auto& [band, entry] : {std::pair{0, 1}, {127, 255}, {128, 254}, {255, 0}}) {
            row(gdHorzIn, QSize(512, 512), QPoint(7, 2 * band + 1), entry);
            row(gdVertIn, QSize(512, 512), QPoint(2 * band + 1, 7), entry);
        }
        // The insets grow by half a pixel per entry, so entry 1 still covers the edge and a point ten
        // pixels in from an edge lies in the shapes up to entry 21.
        row(gdRectangleIn, square, QPoint(0, 0), 1);
        row(gdRectangleIn, square, QPoint(128, 128), 255);
        row(gdRectangleIn, square, QPoint(10, 128), 21);
        // The corner lies outside every ellipse: the first fill, entry 0, stays.
        row(gdEllipseIn, square, QPoint(0, 0), 0);
        row(gdEllipseIn, square, QPoint(128, 10), 21, 1);
        row(gdEllipseIn, square, QPoint(128, 128), 255, 1);
        // Halves (0, 0, 255, 129) and (0, 127, 255, 255). For each entry the first is painted before the
        // second, so in the three shared rows the first half's later shapes win until they shrink away.
        row(gdDRecHorIn, square, QPoint(128, 64), 255);
        row(gdDRecHorIn, square, QPoint(128, 127), 11);
        row(gdDRecHorIn, square, QPoint(128, 192), 252);
        row(gdDRecVerIn, square, QPoint(64, 128), 255);
        row(gdDRecVerIn, square, QPoint(127, 128), 11);
        // Quarters of 130 by 130 pixels: the insets grow by a pixel every four entries or so.
        row(gdQRecIn, square, QPoint(255, 0), 3);
        row(gdQRecIn, square, QPoint(64, 64), 255);
        row(gdQRecIn, square, QPoint(191, 191), 255);
        for (const auto& [effect, centre] : {std::pair{int(gdDEliHorIn), QPoint(128, 64)},
                                             {int(gdDEliVerIn), QPoint(64, 128)},
                                             {int(gdQEliIn), QPoint(64, 64)}}) {
            row(effect, square, QPoint(0, 255), 0);
            row(effect, square, centre, 255, 3);
        }
    }

    void effectProbes() {
        QFETCH(int, effect);
        QFETCH(QSize, size);
        QFETCH(QPoint, at);
        QFETCH(int, entry);
        QFETCH(int, tolerance);
        const QImage image =
            PaintedEffect(TBackEffect(effect), clWhite, clBlack, size, QRect(QPoint(), size));
        const QRgb got = Pixel(image, at.x(), at.y());
        bool near = false;
        for (int e = qMax(entry - tolerance, 0); e <= qMin(entry + tolerance, 255); ++e)
            near = near || got == Entry(clWhite, clBlack, e);
        QVERIFY2(near,
                 qPrintable(QColor(got).name() + " for " + QColor(Entry(clWhite, clBlack, entry)).name()));
    }

    void diagonalStripes() {
        const QImage image =
            PaintedEffect(gdTLeftToBRight, clWhite, clBlack, QSize(300, 200), QRect(0, 0, 300, 200));
        QCOMPARE(Pixel(image, 0, 0), Entry(clWhite, clBlack, 0));
        QCOMPARE(Pixel(image, 299, 199), Entry(clWhite, clBlack, 254));
        // Entry 255 (black) is never used, the stripes darken away from the corner, and along the
        // anti-diagonal the colour does not change.
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x) {
                const int grey = qRed(Pixel(image, x, y));
                QVERIFY(grey > 0);
                if (x + 1 < 300) QVERIFY(qRed(Pixel(image, x + 1, y)) <= grey);
                if (y + 1 < 200) QVERIFY(qRed(Pixel(image, x, y + 1)) <= grey);
            }
        QCOMPARE(Pixel(image, 153, 97), Pixel(image, 150, 100));
    }

    void picturePlaces() {
        const QRect room(0, 0, 200, 100);
        // The room, the picture's size, the picture stretched keeping its proportions, and centred.
        for (const auto& [rect, picture, fitted, centred] :
             {std::tuple{room, QSize(50, 50), QRect(50, 0, 100, 100), QPoint(75, 25)},
              {room, QSize(100, 20), QRect(0, 30, 200, 40), QPoint(50, 40)},
              {room, QSize(400, 100), QRect(0, 25, 200, 50), QPoint(-100, 0)},
              {QRect(0, 0, 101, 100), QSize(100, 100), QRect(0, 0, 100, 100), QPoint(0, 0)},
              {QRect(0, 0, 100, 300), QSize(3, 7), QRect(0, 33, 100, 233), QPoint(48, 146)},
              {QRect(0, 0, 100, 100), QSize(150, 151), QRect(0, 0, 99, 100), QPoint(-25, -25)},
              {room, QSize(0, 50), room, QPoint(100, 25)},
              {QRect(10, 20, 200, 100), QSize(50, 50), QRect(60, 20, 100, 100), QPoint(85, 45)}}) {
            QCOMPARE(FitPictureRect(rect, picture), fitted);
            QCOMPARE(CenteredPicturePos(rect, picture), centred);
        }
    }

    void tiles() {
        QImage source(3, 2, QImage::Format_RGB32);  // six pixels, all different
        for (int i = 0; i < 6; ++i) source.setPixel(i % 3, i / 3, qRgb(16 * i, 255 - 16 * i, 7));
        for (const QPoint& origin : {QPoint(0, 0), QPoint(-1, -7), QPoint(2, 1)}) {
            QImage image(11, 7, QImage::Format_RGB32);
            image.fill(kUntouched);
            {
                QPainter canvas(&image);
                DrawTiled(canvas, QPixmap(), image.rect(), origin);
                QCOMPARE(Pixel(image, 5, 5), kUntouched);
                DrawTiled(canvas, QPixmap::fromImage(source), image.rect(), origin);
            }
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 11; ++x)
                    QCOMPARE(Pixel(image, x, y),
                             Pixel(source, ((x - origin.x()) % 3 + 3) % 3, ((y - origin.y()) % 2 + 2) % 2));
        }
    }

    void backgroundModes_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("effect");
        QTest::addColumn<QSize>("picture");  // green; invalid for none, empty for a null picture
        QTest::addColumn<QPoint>("probe");
        QTest::addColumn<QString>("expected");  // "colour", "green" or "gradient"
        const QSize none;
        const QPoint beside(17, 5), middle(100, 50);
        const auto row = [](const char* name, int mode, int effect, QSize picture, QPoint probe,
                            const char* expected) {
            QTest::newRow(name) << mode << effect << picture << probe << QString(expected);
        };
        row("none, gradient", imNone, gdLeftToRight, QSize(10, 10), beside, "gradient");
        row("stretched covers all", imStretched, gdLeftToRight, QSize(2, 2), QPoint(1, 99), "green");
        row("stretched without picture: gradient", imStretched, gdLeftToRight, none, beside, "gradient");
        row("tiled without picture: colour", imTiled, gdSolid, none, beside, "colour");
        row("ratio: picture in the middle", imStretchRatio, gdLeftToRight, QSize(50, 50), middle, "green");
        row("ratio: gradient beside", imStretchRatio, gdLeftToRight, QSize(50, 50), QPoint(17, 50),
            "gradient");
        row("ratio, null picture", imStretchRatio, gdSolid, QSize(0, 0), QPoint(17, 50), "colour");
        row("centred small: gradient around", imCentered, gdLeftToRight, QSize(20, 20), beside, "gradient");
        row("centred, narrower only: gradient", imCentered, gdLeftToRight, QSize(150, 300), beside,
            "gradient");
        row("centred large hides the gradient", imCentered, gdLeftToRight, QSize(300, 300), beside, "green");
    }

    void backgroundModes() {
        QFETCH(int, mode);
        QFETCH(int, effect);
        QFETCH(QSize, picture);
        QFETCH(QPoint, probe);
        QFETCH(QString, expected);
        TBackgroundDecoration decoration(nullptr);
        decoration.SetColor(RGBColor(250, 240, 230));
        decoration.SetImageMode(TImageMode(mode));
        decoration.SetBackEffect(TBackEffect(effect));
        QCOMPARE(decoration.IsOn(), mode != imNone || effect != gdSolid);
        if (picture.isValid())
            decoration.SetBackPict(picture.isEmpty() ? QPixmap()
                                                     : Solid(picture.width(), picture.height(), Qt::green));
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(kUntouched);
        {
            QPainter canvas(&image);
            decoration.PaintBackground(canvas, image.size());
        }
        // Column 17 of 200 lies in band 22 (from MulDiv(22, 200, 256) = 17 to 18).
        const QRgb wanted = expected == "colour"  ? qRgb(250, 240, 230)
                            : expected == "green" ? qRgb(0, 255, 0)
                                                  : Entry(clNavy, clBlue, 22);
        QCOMPARE(QColor(Pixel(image, probe.x(), probe.y())), QColor(wanted));
        for (int y = 0; y < 100; y += 9)
            for (int x = 0; x < 200; x += 7) QVERIFY(Pixel(image, x, y) != kUntouched);
    }

    // The picture's bottom-left colour is left out while ITransparent is set.
    void backgroundTransparencyFollowsTheFlag() {
        TBackgroundDecoration decoration(nullptr);
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(qRgb(255, 0, 0));
        image.setPixel(0, 0, qRgb(0, 0, 255));
        image.setPixel(1, 0, qRgb(0, 255, 0));
        const auto alphas = [&] {
            const QImage drawn = decoration.DrawnPicture().toImage().convertToFormat(QImage::Format_ARGB32);
            return QList<int>{qAlpha(drawn.pixel(0, 0)), qAlpha(drawn.pixel(1, 0)), qAlpha(drawn.pixel(0, 1)),
                              qAlpha(drawn.pixel(1, 1))};
        };
        decoration.SetBackPict(image);
        QCOMPARE(alphas(), QList<int>({255, 255, 255, 255}));
        decoration.SetITransparent(true);
        QCOMPARE(alphas(), QList<int>({255, 255, 0, 0}));
        // Set before the picture, the flag applies to the picture that comes.
        decoration.SetBackPict(QPixmap());
        decoration.SetBackPict(QPixmap::fromImage(image));
        QCOMPARE(alphas(), QList<int>({255, 255, 0, 0}));
        decoration.SetITransparent(false);
        QCOMPARE(alphas(), QList<int>({255, 255, 255, 255}));
    }

    void backgroundCopiesFollowTheContent() {
        TBackgroundDecoration decoration(nullptr);
        decoration.SetBackEffect(gdTopToBottom);
        decoration.SetColor(RGBColor(1, 2, 3));
        const QSize client(40, 256);
        const auto painted = [&](int height, std::optional<QPoint> origin) {
            QImage image(client, QImage::Format_RGB32);
            image.fill(kUntouched);
            QPainter canvas(&image);
            decoration.PaintBackgroundTo(canvas, client, height, origin);
            return image;
        };
        // Fixed to the surface, down to the given height.
        QCOMPARE(Pixel(painted(0, {}), 3, 0), kUntouched);
        const QImage upper = painted(60, {});
        QCOMPARE(Pixel(upper, 3, 59), Entry(clNavy, clBlue, 59));
        QCOMPARE(Pixel(upper, 3, 60), kUntouched);
        // Scrolled up by 30 rows (or by 30 rows plus many screens): row 0 shows row 30 of the decoration,
        // and the copy below continues it.
        for (const int top : {-30, -30 - 256 * 40}) {
            const QImage scrolled = painted(256, QPoint(-5, top));
            QCOMPARE(Pixel(scrolled, 0, 0), Entry(clNavy, clBlue, 30));
            QCOMPARE(Pixel(scrolled, 0, 225), Entry(clNavy, clBlue, 255));
            QCOMPARE(Pixel(scrolled, 0, 226), Entry(clNavy, clBlue, 0));
        }
        // Rows start lower (below a gap): the gap keeps the plain colour.
        const QImage lower = painted(256, QPoint(3, 10));
        QCOMPARE(QColor(Pixel(lower, 0, 9)), QColor(1, 2, 3));
        QCOMPARE(Pixel(lower, 0, 10), Entry(clNavy, clBlue, 0));
        // System colours are resolved before the ramp is built.
        decoration.SetColorBegin(clHighlight);
        decoration.SetColorEnd(clHighlight);
        QCOMPARE(QColor(Pixel(painted(256, {}), 5, 100)), QApplication::palette().color(QPalette::Highlight));
        QCOMPARE(ResolveColor(clSystemColor | 0x7Fu), QApplication::palette().color(QPalette::Window));
    }

    void shadowText() {
        const QRect given(10, 10, 100, 20);
        for (const auto& [position, offset] : {std::pair{spLeftTop, QPoint(-2, -2)},
                                               {spLeftBottom, QPoint(-2, 2)},
                                               {spRightBottom, QPoint(2, 2)},
                                               {spRightTop, QPoint(2, -2)}}) {
            QCOMPARE(ShadowOffset(position, 2), offset);
            QImage image(120, 40, QImage::Format_RGB32);
            image.fill(Qt::white);
            {
                QPainter canvas(&image);
                canvas.setFont(CrispFont());
                canvas.setPen(Qt::black);
                QRect rect = given;
                DrawShadowText(&canvas, canvas.fontMetrics(), "XH", position, Qt::red, 2, Qt::AlignLeft,
                               rect);
                QCOMPARE(rect, given.united(given.translated(offset)));
                QCOMPARE(canvas.pen().color(), QColor(Qt::black));
            }
            // The shadow's outer edges are those of the text moved by the offset.
            const QRect text = Box(image, qRgb(0, 0, 0));
            const QRect shadow = Box(image, qRgb(255, 0, 0));
            QVERIFY(!shadow.isEmpty() && text.translated(offset).contains(shadow));
            QCOMPARE(offset.x() < 0 ? shadow.left() : shadow.right(),
                     (offset.x() < 0 ? text.left() : text.right()) + offset.x());
            QCOMPARE(offset.y() < 0 ? shadow.top() : shadow.bottom(),
                     (offset.y() < 0 ? text.top() : text.bottom()) + offset.y());
        }
    }
};

QTEST_MAIN(DecorationTest)
#include "DecorationTest.moc"
