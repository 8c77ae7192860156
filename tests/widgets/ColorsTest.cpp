#include <QApplication>
#include <QtTest>

#include "Colors.h"

using namespace odz;

Q_DECLARE_METATYPE(QPalette::ColorGroup)
Q_DECLARE_METATYPE(QPalette::ColorRole)

class ColorsTest : public QObject {
    Q_OBJECT
private slots:
    void plainColoursAreTheirLowBytes_data();
    void plainColoursAreTheirLowBytes();
    void systemColoursComeFromThePalette_data();
    void systemColoursComeFromThePalette();
    void resolvesAgainstAGivenPalette();
    void roundTrip();
};

void ColorsTest::plainColoursAreTheirLowBytes_data() {
    QTest::addColumn<uint>("value");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("red is the low byte") << 0x000000FFu << QColor(255, 0, 0);
    QTest::newRow("blue is the third byte") << 0x00FF0000u << QColor(0, 0, 255);
    QTest::newRow("mixed") << 0x00804020u << QColor(0x20, 0x40, 0x80);
    QTest::newRow("navy") << uint(clNavy) << QColor(0, 0, 128);
    QTest::newRow("silver") << uint(clSilver) << QColor(192, 192, 192);
}

void ColorsTest::plainColoursAreTheirLowBytes() {
    QFETCH(uint, value);
    QFETCH(QColor, expected);
    QVERIFY(!IsSystemColor(value));
    QCOMPARE(ColorToRgb(value), expected);
    QCOMPARE(ResolveColor(value), expected);
}

void ColorsTest::systemColoursComeFromThePalette_data() {
    QTest::addColumn<uint>("value");
    QTest::addColumn<QPalette::ColorGroup>("group");
    QTest::addColumn<QPalette::ColorRole>("role");
    QTest::newRow("button face") << uint(clBtnFace) << QPalette::Active << QPalette::Button;
    QTest::newRow("button highlight") << uint(clBtnHighlight) << QPalette::Active << QPalette::Light;
    QTest::newRow("button shadow") << uint(clBtnShadow) << QPalette::Active << QPalette::Dark;
    QTest::newRow("grey text") << uint(clGrayText) << QPalette::Disabled << QPalette::Text;
    QTest::newRow("window") << uint(clWindow) << QPalette::Active << QPalette::Base;
    QTest::newRow("window text") << uint(clWindowText) << QPalette::Active << QPalette::Text;
    QTest::newRow("highlight") << uint(clHighlight) << QPalette::Active << QPalette::Highlight;
    QTest::newRow("tool tip") << uint(clInfoBk) << QPalette::Active << QPalette::ToolTipBase;
    QTest::newRow("unknown index") << (clSystemColor | 0x7Fu) << QPalette::Active << QPalette::Window;
}

void ColorsTest::systemColoursComeFromThePalette() {
    QFETCH(uint, value);
    QFETCH(QPalette::ColorGroup, group);
    QFETCH(QPalette::ColorRole, role);
    QVERIFY(IsSystemColor(value));
    QCOMPARE(ResolveColor(value), QApplication::palette().color(group, role));
}

void ColorsTest::resolvesAgainstAGivenPalette() {
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Button, QColor(1, 2, 3));
    QCOMPARE(ResolveColor(clBtnFace, palette), QColor(1, 2, 3));
    // The low bytes of a system colour are an index, never a colour.
    QVERIFY(ResolveColor(clBtnFace, palette) != ColorToRgb(clBtnFace));
}

void ColorsTest::roundTrip() {
    QCOMPARE(ColorFromQColor(QColor(10, 20, 30)), RGBColor(10, 20, 30));
    QCOMPARE(ColorFromQColor(ColorToRgb(0x00123456)), TColor(0x00123456));
}

QTEST_MAIN(ColorsTest)
#include "ColorsTest.moc"
