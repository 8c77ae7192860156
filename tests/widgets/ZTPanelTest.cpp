#include <QApplication>
#include <QtTest>
#include <functional>

#include "DecorTestHelpers.h"
#include "ZTPanel.h"

using namespace odz;
using namespace odz::test;

using TPanelChange = std::function<void(TZTPanel&, bool)>;  // (panel, changed?)
Q_DECLARE_METATYPE(TPanelChange)

class ZTPanelTest : public QObject {
    Q_OBJECT
private slots:
    void initialValues();
    void sameValueDoesNothingChangedValueRepaints_data();
    void sameValueDoesNothingChangedValueRepaints();
    void transparentNeedsAPicture();
    void bevels_data();
    void bevels();
    void gradientFillsTheInnerRect();
    void pictureModes_data();
    void pictureModes();
    void lowerRightShadowSitsTwoPixelsRightAndDown();
    void effectsDrawTheirCopies_data();
    void effectsDrawTheirCopies();
    void rotationTurnsTheCaption_data();
    void rotationTurnsTheCaption();
    void captionPlacement_data();
    void captionPlacement();
    void longCaptionStaysInside();
};

namespace {

void PlainPanel(TZTPanel& panel, QSize size) {
    panel.resize(size);
    panel.setFont(CrispFont());
    QPalette palette = panel.palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    panel.setPalette(palette);
    panel.SetColor(clWhite);
    panel.SetBevelOuter(bvNone);
}

}  // namespace

void ZTPanelTest::initialValues() {
    TZTPanel panel;
    QCOMPARE(panel.size(), QSize(185, 41));
    QCOMPARE(panel.Beveltopcolor(), clBtnHighlight);
    QCOMPARE(panel.BevelBotColor(), clBtnShadow);
    QCOMPARE(panel.ColorEnd(), RGBColor(192, 192, 192));
    QVERIFY(panel.Picture().isNull());
    QCOMPARE(panel.ImageMode(), imNone);
    QCOMPARE(panel.Gradient(), gdSolid);
    QCOMPARE(panel.Transparent(), false);
    QCOMPARE(panel.TextEffect(), tenone);
    QCOMPARE(panel.VertAlign(), ztCenter);
    QCOMPARE(panel.TextRotation(), trNone);
    QCOMPARE(panel.ShadowColor(), RGBColor(128, 128, 128));
    QCOMPARE(panel.ShadowDepth(), 2);
    QCOMPARE(panel.Alignment(), taCenter);
    QCOMPARE(panel.BevelOuter(), bvRaised);
    QCOMPARE(panel.BevelInner(), bvNone);
    QCOMPARE(panel.BevelWidth(), 1);
    QCOMPARE(panel.BorderWidth(), 0);
    QCOMPARE(panel.Color(), clBtnFace);
    QVERIFY(panel.Caption().isEmpty());
}

void ZTPanelTest::sameValueDoesNothingChangedValueRepaints_data() {
    QTest::addColumn<TPanelChange>("change");
    const auto row = [](const char* name, TPanelChange change) { QTest::newRow(name) << change; };
    row("Beveltopcolor", [](TZTPanel& p, bool c) { p.SetBeveltopcolor(c ? clRed : clBtnHighlight); });
    row("BevelBotColor", [](TZTPanel& p, bool c) { p.SetBevelBotColor(c ? clRed : clBtnShadow); });
    row("ColorEnd", [](TZTPanel& p, bool c) { p.SetColorEnd(c ? clRed : clSilver); });
    row("ImageMode", [](TZTPanel& p, bool c) { p.SetImageMode(c ? imCentered : imNone); });
    row("Gradient", [](TZTPanel& p, bool c) { p.SetGradient(c ? gdQRecIn : gdSolid); });
    row("TextEffect", [](TZTPanel& p, bool c) { p.SetTextEffect(c ? teEmbossed : tenone); });
    row("VertAlign", [](TZTPanel& p, bool c) { p.SetVertAlign(c ? ZtBottom : ztCenter); });
    row("TextRotation", [](TZTPanel& p, bool c) { p.SetTextRotation(c ? TrDown : trNone); });
    row("ShadowColor", [](TZTPanel& p, bool c) { p.SetShadowColor(c ? clRed : clGray); });
    row("ShadowDepth", [](TZTPanel& p, bool c) { p.SetShadowDepth(c ? 3 : 2); });
    row("Caption", [](TZTPanel& p, bool c) { p.SetCaption(c ? "Nguồn" : ""); });
    row("Color", [](TZTPanel& p, bool c) { p.SetColor(c ? clNavy : clBtnFace); });
    row("Alignment", [](TZTPanel& p, bool c) { p.SetAlignment(c ? taLeftJustify : taCenter); });
    row("BevelInner", [](TZTPanel& p, bool c) { p.SetBevelInner(c ? bvLowered : bvNone); });
    row("BevelOuter", [](TZTPanel& p, bool c) { p.SetBevelOuter(c ? bvLowered : bvRaised); });
    row("BevelWidth", [](TZTPanel& p, bool c) { p.SetBevelWidth(c ? 3 : 1); });
    row("BorderWidth", [](TZTPanel& p, bool c) { p.SetBorderWidth(c ? 2 : 0); });
    QPixmap picture(4, 4);
    picture.fill(Qt::red);
    row("Picture", [picture](TZTPanel& p, bool c) { p.SetPicture(c ? picture : QPixmap()); });
}

void ZTPanelTest::sameValueDoesNothingChangedValueRepaints() {
    QFETCH(TPanelChange, change);
    TZTPanel panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    TPaintCounter paints(&panel);
    QCoreApplication::processEvents();
    paints.count = 0;
    change(panel, false);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(paints.count, 0);
    change(panel, true);
    QTRY_VERIFY(paints.count > 0);
}

void ZTPanelTest::transparentNeedsAPicture() {
    TZTPanel panel;
    panel.SetTransparent(true);
    QCOMPARE(panel.Transparent(), false);
    QPixmap empty;
    panel.SetPicture(empty);
    panel.SetTransparent(true);
    QCOMPARE(panel.Transparent(), false);
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.setPixel(1, 1, qRgb(0, 255, 0));
    panel.SetPicture(image);
    panel.SetTransparent(true);
    QCOMPARE(panel.Transparent(), true);

    // The picture drawn stretched over the panel leaves its bottom-left colour out.
    PlainPanel(panel, QSize(40, 40));
    panel.SetImageMode(imStretched);
    panel.SetColor(clBlue);
    const QImage shown = Render(panel);
    QCOMPARE(QColor(Pixel(shown, 5, 30)), QColor(0, 0, 255));
}

void ZTPanelTest::bevels_data() {
    QTest::addColumn<int>("outer");
    QTest::addColumn<int>("inner");
    QTest::addColumn<QColor>("topLeft");
    QTest::addColumn<QColor>("bottomRight");
    QTest::addColumn<QColor>("innerTopLeft");
    const QColor red(255, 0, 0), blue(0, 0, 255), white(255, 255, 255);
    QTest::newRow("raised") << int(bvRaised) << int(bvNone) << red << blue << white;
    QTest::newRow("lowered") << int(bvLowered) << int(bvNone) << blue << red << white;
    QTest::newRow("raised over lowered") << int(bvRaised) << int(bvLowered) << red << blue << blue;
    QTest::newRow("space") << int(bvSpace) << int(bvRaised) << white << white << red;
}

void ZTPanelTest::bevels() {
    QFETCH(int, outer);
    QFETCH(int, inner);
    QFETCH(QColor, topLeft);
    QFETCH(QColor, bottomRight);
    QFETCH(QColor, innerTopLeft);
    TZTPanel panel;
    PlainPanel(panel, QSize(100, 50));
    panel.SetBevelOuter(TPanelBevel(outer));
    panel.SetBevelInner(TPanelBevel(inner));
    panel.SetBevelWidth(2);
    panel.SetBorderWidth(1);
    panel.SetBeveltopcolor(clRed);
    panel.SetBevelBotColor(clBlue);
    const QImage shown = Render(panel);
    QCOMPARE(QColor(Pixel(shown, 0, 0)), topLeft);
    QCOMPARE(QColor(Pixel(shown, 1, 25)), topLeft);
    QCOMPARE(QColor(Pixel(shown, 50, 1)), topLeft);
    QCOMPARE(QColor(Pixel(shown, 99, 25)), bottomRight);
    QCOMPARE(QColor(Pixel(shown, 50, 48)), bottomRight);
    QCOMPARE(QColor(Pixel(shown, 99, 0)), bottomRight);
    // The border (in the panel's colour), then the inner bevel.
    QCOMPARE(QColor(Pixel(shown, 2, 25)), QColor(255, 255, 255));
    QCOMPARE(QColor(Pixel(shown, 3, 25)), innerTopLeft);
    QCOMPARE(QColor(Pixel(shown, 4, 25)), innerTopLeft);
}

void ZTPanelTest::gradientFillsTheInnerRect() {
    TZTPanel panel;
    PlainPanel(panel, QSize(100, 260));
    panel.SetBevelOuter(bvRaised);
    panel.SetColor(clNavy);
    panel.SetColorEnd(clBlue);
    panel.SetGradient(gdTopToBottom);
    QCOMPARE(panel.InnerRect(), QRect(2, 2, 96, 256));
    const QImage shown = Render(panel);
    for (int row = 0; row < 256; row += 15) QCOMPARE(Pixel(shown, 50, 2 + row), Entry(clNavy, clBlue, row));
    // Between the bevel and the inner rectangle the panel keeps its colour.
    QCOMPARE(QColor(Pixel(shown, 1, 100)), QColor(0, 0, 128));
    // A system colour starts the gradient with the colour it names, not with its index bytes.
    panel.SetColor(clBtnFace);
    QCOMPARE(QColor(Pixel(Render(panel), 50, 2)),
             QApplication::palette().color(QPalette::Active, QPalette::Button));
}

void ZTPanelTest::pictureModes_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("gradient");
    QTest::addColumn<QSize>("picture");  // green
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QString>("expected");  // "colour", "green", "gradient", "bevel"
    QTest::newRow("stretched fills the inner rect")
        << int(imStretched) << int(gdSolid) << QSize(3, 3) << QPoint(2, 2) << "green";
    QTest::newRow("stretched leaves the bevel")
        << int(imStretched) << int(gdSolid) << QSize(3, 3) << QPoint(0, 50) << "bevel";
    QTest::newRow("ratio centred in the inner rect")
        << int(imStretchRatio) << int(gdSolid) << QSize(10, 10) << QPoint(50, 50) << "green";
    QTest::newRow("ratio: colour beside")
        << int(imStretchRatio) << int(gdSolid) << QSize(40, 10) << QPoint(50, 3) << "colour";
    QTest::newRow("ratio: gradient beside")
        << int(imStretchRatio) << int(gdLeftToRight) << QSize(100, 10) << QPoint(50, 3) << "gradient";
    QTest::newRow("centred") << int(imCentered) << int(gdSolid) << QSize(20, 20) << QPoint(41, 41) << "green";
    QTest::newRow("centred, around") << int(imCentered) << int(gdSolid) << QSize(20, 20) << QPoint(39, 39)
                                     << "colour";
    QTest::newRow("tiled from the inner corner")
        << int(imTiled) << int(gdSolid) << QSize(7, 7) << QPoint(97, 97) << "green";
    QTest::newRow("tiles stop at the bevel")
        << int(imTiled) << int(gdSolid) << QSize(7, 7) << QPoint(99, 50) << "bevel";
    QTest::newRow("no picture: colour")
        << int(imTiled) << int(gdLeftToRight) << QSize() << QPoint(50, 50) << "colour";
}

void ZTPanelTest::pictureModes() {
    QFETCH(int, mode);
    QFETCH(int, gradient);
    QFETCH(QSize, picture);
    QFETCH(QPoint, probe);
    QFETCH(QString, expected);
    TZTPanel panel;
    PlainPanel(panel, QSize(100, 100));
    panel.SetBevelOuter(bvRaised);
    panel.SetBevelWidth(1);
    panel.SetBeveltopcolor(clRed);
    panel.SetBevelBotColor(clRed);
    panel.SetColor(RGBColor(250, 240, 230));
    panel.SetGradient(TPanBackEffect(gradient));
    panel.SetImageMode(TZTPImageMode(mode));
    if (picture.isValid()) {
        QPixmap green(picture);
        green.fill(Qt::green);
        panel.SetPicture(green);
    }
    const QImage shown = Render(panel);
    // With a picture set the gradient covers the whole panel: column 50 of 100 is band 129 (bands
    // 127 and 128 start and end on the same column).
    const QRgb wanted = expected == "colour"  ? qRgb(250, 240, 230)
                        : expected == "green" ? qRgb(0, 255, 0)
                        : expected == "bevel" ? qRgb(255, 0, 0)
                                              : Entry(RGBColor(250, 240, 230), clSilver, 129);
    QCOMPARE(QColor(Pixel(shown, probe.x(), probe.y())), QColor(wanted));
}

void ZTPanelTest::lowerRightShadowSitsTwoPixelsRightAndDown() {
    TZTPanel panel;
    PlainPanel(panel, QSize(160, 40));
    panel.SetCaption("Mã nguồn");
    const QImage plain = Render(panel);
    panel.SetTextEffect(teLowerRightShadow);
    panel.SetShadowDepth(2);
    panel.SetShadowColor(clRed);
    const QImage shadowed = Render(panel);
    const QRgb black = qRgb(0, 0, 0), red = qRgb(255, 0, 0);
    int shadowPixels = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 160; ++x) {
            const bool text = Pixel(plain, x, y) == black;
            // The text itself is where it was, and every shadow pixel has text two pixels up-left.
            QCOMPARE(Pixel(shadowed, x, y) == black, text);
            if (Pixel(shadowed, x, y) == red) {
                ++shadowPixels;
                QCOMPARE(Pixel(plain, x - 2, y - 2), black);
            }
            if (text && x + 2 < 160 && y + 2 < 40 && Pixel(plain, x + 2, y + 2) != black)
                QCOMPARE(Pixel(shadowed, x + 2, y + 2), red);
        }
    QVERIFY(shadowPixels > 10);
}

void ZTPanelTest::effectsDrawTheirCopies_data() {
    QTest::addColumn<int>("effect");
    QTest::addColumn<QList<QPoint>>("offsets");
    const QList<QPoint> cross{{-3, 0}, {0, -3}, {3, 0}, {0, 3}};
    QTest::newRow("none") << int(tenone) << QList<QPoint>{};
    QTest::newRow("raised") << int(teRaised) << cross;
    QTest::newRow("lowered") << int(teLowered) << cross;
    QTest::newRow("embossed") << int(teEmbossed) << cross;
    QTest::newRow("lower left") << int(teLowerLeftShadow) << QList<QPoint>{{-3, 3}};
    QTest::newRow("lower right") << int(teLowerRightShadow) << QList<QPoint>{{3, 3}};
    QTest::newRow("upper left") << int(teUpperLeftShadow) << QList<QPoint>{{-3, -3}};
    QTest::newRow("upper right") << int(teUpperRightShadow) << QList<QPoint>{{3, -3}};
}

void ZTPanelTest::effectsDrawTheirCopies() {
    QFETCH(int, effect);
    QFETCH(QList<QPoint>, offsets);
    QCOMPARE(CaptionEffectOffsets(TTextEffect(effect), 3), offsets);
    TZTPanel panel;
    PlainPanel(panel, QSize(120, 40));
    panel.SetCaption("ABC");
    panel.SetShadowColor(clRed);
    panel.SetShadowDepth(3);
    panel.SetTextEffect(TTextEffect(effect));
    const QImage shown = Render(panel);
    const QRect text = Box(shown, qRgb(0, 0, 0));
    const QRect shadow = Box(shown, qRgb(255, 0, 0));
    QVERIFY(!text.isEmpty());
    QCOMPARE(shadow.isEmpty(), offsets.isEmpty());
    QRect expected;
    for (const QPoint& offset : offsets) expected |= text.translated(offset);
    if (!offsets.isEmpty())
        QVERIFY2(expected.contains(shadow), qPrintable(QString("%1,%2 %3x%4")
                                                           .arg(shadow.x())
                                                           .arg(shadow.y())
                                                           .arg(shadow.width())
                                                           .arg(shadow.height())));
}

void ZTPanelTest::rotationTurnsTheCaption_data() {
    QTest::addColumn<int>("rotation");
    QTest::addColumn<bool>("upright");
    QTest::newRow("none") << int(trNone) << false;
    QTest::newRow("up") << int(TrUp) << true;
    QTest::newRow("down") << int(TrDown) << true;
}

void ZTPanelTest::rotationTurnsTheCaption() {
    QFETCH(int, rotation);
    QFETCH(bool, upright);
    TZTPanel panel;
    PlainPanel(panel, QSize(160, 160));
    panel.SetCaption("Conversion");
    panel.SetTextRotation(TTextRotation(rotation));
    const QRect text = Box(Render(panel), qRgb(0, 0, 0));
    QVERIFY(!text.isEmpty());
    QCOMPARE(text.height() > text.width(), upright);
    // Centred both ways by default.
    QVERIFY(qAbs(text.center().x() - 80) < 8);
    QVERIFY(qAbs(text.center().y() - 80) < 8);
}

void ZTPanelTest::captionPlacement_data() {
    QTest::addColumn<int>("rotation");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("vertAlign");
    QTest::addColumn<QString>("where");  // the side the text keeps close to
    for (const int rotation : {int(trNone), int(TrUp), int(TrDown)}) {
        const QByteArray name = rotation == trNone ? "flat " : rotation == TrUp ? "up " : "down ";
        QTest::newRow(name + "left") << rotation << int(taLeftJustify) << int(ztCenter) << "left";
        QTest::newRow(name + "right") << rotation << int(taRightJustify) << int(ztCenter) << "right";
        QTest::newRow(name + "top") << rotation << int(taCenter) << int(ztTop) << "top";
        QTest::newRow(name + "bottom") << rotation << int(taCenter) << int(ZtBottom) << "bottom";
    }
}

void ZTPanelTest::captionPlacement() {
    QFETCH(int, rotation);
    QFETCH(int, alignment);
    QFETCH(int, vertAlign);
    QFETCH(QString, where);
    TZTPanel panel;
    PlainPanel(panel, QSize(200, 200));
    panel.SetCaption("Help");
    panel.SetTextRotation(TTextRotation(rotation));
    panel.SetAlignment(TAlignment(alignment));
    panel.SetVertAlign(TVertAlign(vertAlign));
    const QRect text = Box(Render(panel), qRgb(0, 0, 0));
    const QRect inner = panel.InnerRect();
    const int slack = 8;
    if (where == "left") QVERIFY(text.left() - inner.left() < slack);
    if (where == "right") QVERIFY(inner.right() - text.right() < slack);
    if (where == "top") QVERIFY(text.top() - inner.top() < slack);
    if (where == "bottom") QVERIFY(inner.bottom() - text.bottom() < slack);
}

void ZTPanelTest::longCaptionStaysInside() {
    TZTPanel panel;
    PlainPanel(panel, QSize(60, 30));
    panel.SetCaption("A caption far too long for this small panel");
    const QRect text = Box(Render(panel), qRgb(0, 0, 0));
    QVERIFY(!text.isEmpty());
    QVERIFY(panel.InnerRect().contains(text));
}

QTEST_MAIN(ZTPanelTest)
#include "ZTPanelTest.moc"
