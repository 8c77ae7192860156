#include <QApplication>
#include <QtTest>
#include <functional>

#include "DecorTestHelpers.h"
#include "ShadowText.h"
#include "ZTLabel.h"

using namespace odz;
using namespace odz::test;

using TLabelChange = std::function<void(TZTLabel&, bool)>;  // (label, changed?)
Q_DECLARE_METATYPE(TLabelChange)

class ZTLabelTest : public QObject {
    Q_OBJECT
private slots:
    void initialValues();
    void sameValueDoesNothingChangedValueRepaints_data();
    void sameValueDoesNothingChangedValueRepaints();
    void measuringIncludesTheShadow_data();
    void measuringIncludesTheShadow();
    void shadowFallsWhereItsPositionSays_data();
    void shadowFallsWhereItsPositionSays();
    void zeroShadowLiesUnderTheText();
    void disabledLabelIsEngraved();
    void emptyCaptionMeasuresAsOneSpace_data();
    void emptyCaptionMeasuresAsOneSpace();
    void layoutMovesTheText_data();
    void layoutMovesTheText();
    void autoSize();
    void autoSizeKeepsTheRightEdgeOfARightJustifiedLabel();
    void autoSizeOffKeepsTheSize();
    void transparentLeavesTheBackground();
    void accelCharIsShownOrLiteral();
};

namespace {}  // namespace

void ZTLabelTest::initialValues() {
    TZTLabel label;
    QCOMPARE(label.size(), QSize(65, 17));
    QCOMPARE(label.Alignment(), taLeftJustify);
    QCOMPARE(label.AutoSize(), true);
    QCOMPARE(label.Layout(), tlTop);
    QCOMPARE(label.ShowAccelChar(), true);
    QCOMPARE(label.Transparent(), false);
    QCOMPARE(label.WordWrap(), false);
    QCOMPARE(label.ShadowColor(), clBtnHighlight);
    QCOMPARE(label.ShadowSize(), quint8(1));
    QCOMPARE(label.ShadowPos(), spLeftTop);
    QCOMPARE(label.ShowFocus(), false);
    QCOMPARE(label.FocusControl(), nullptr);
    QVERIFY(label.Caption().isEmpty());
    QCOMPARE(label.MouseInControl(), false);
}

void ZTLabelTest::sameValueDoesNothingChangedValueRepaints_data() {
    QTest::addColumn<TLabelChange>("change");
    const auto row = [](const char* name, TLabelChange change) { QTest::newRow(name) << change; };
    row("Alignment", [](TZTLabel& l, bool c) { l.SetAlignment(c ? taCenter : taLeftJustify); });
    row("AutoSize", [](TZTLabel& l, bool c) { l.SetAutoSize(!c); });
    row("Caption", [](TZTLabel& l, bool c) { l.SetCaption(c ? "Tệp" : ""); });
    row("Color", [](TZTLabel& l, bool c) { l.SetColor(c ? clRed : clBtnFace); });
    row("Layout", [](TZTLabel& l, bool c) { l.SetLayout(c ? tlBottom : tlTop); });
    row("ShowAccelChar", [](TZTLabel& l, bool c) { l.SetShowAccelChar(!c); });
    row("Transparent", [](TZTLabel& l, bool c) { l.SetTransparent(c); });
    row("WordWrap", [](TZTLabel& l, bool c) { l.SetWordWrap(c); });
    row("ShadowColor", [](TZTLabel& l, bool c) { l.SetShadowColor(c ? clRed : clBtnHighlight); });
    row("ShadowSize", [](TZTLabel& l, bool c) { l.SetShadowSize(c ? 3 : 1); });
    row("ShadowPos", [](TZTLabel& l, bool c) { l.SetShadowPos(c ? spRightTop : spLeftTop); });
    row("ShowFocus", [](TZTLabel& l, bool c) { l.SetShowFocus(c); });
}

void ZTLabelTest::sameValueDoesNothingChangedValueRepaints() {
    QFETCH(TLabelChange, change);
    TZTLabel label;
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    TPaintCounter paints(&label);
    QCoreApplication::processEvents();
    paints.count = 0;
    change(label, false);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(paints.count, 0);
    change(label, true);
    QTRY_VERIFY(paints.count > 0);
}

void ZTLabelTest::measuringIncludesTheShadow_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("left top") << int(spLeftTop) << QPoint(7, 7);
    QTest::newRow("left bottom") << int(spLeftBottom) << QPoint(7, 10);
    QTest::newRow("right bottom") << int(spRightBottom) << QPoint(10, 10);
    QTest::newRow("right top") << int(spRightTop) << QPoint(10, 7);
}

void ZTLabelTest::measuringIncludesTheShadow() {
    QFETCH(int, position);
    QFETCH(QPoint, topLeft);
    const QFontMetrics metrics(CrispFont());
    const QSize text = metrics.size(Qt::TextSingleLine, "Hi there");
    QRect rect(10, 10, 100, 20);
    const int height = DrawShadowText(nullptr, metrics, "Hi there", TShadowPosition(position), Qt::red, 3,
                                      Qt::AlignLeft | Qt::TextExpandTabs, rect);
    QCOMPARE(height, text.height() + 3);
    QCOMPARE(rect, QRect(topLeft, text + QSize(3, 3)));
}

void ZTLabelTest::shadowFallsWhereItsPositionSays_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QPoint>("offset");
    QTest::newRow("left top") << int(spLeftTop) << QPoint(-2, -2);
    QTest::newRow("left bottom") << int(spLeftBottom) << QPoint(-2, 2);
    QTest::newRow("right bottom") << int(spRightBottom) << QPoint(2, 2);
    QTest::newRow("right top") << int(spRightTop) << QPoint(2, -2);
}

void ZTLabelTest::shadowFallsWhereItsPositionSays() {
    QFETCH(int, position);
    QFETCH(QPoint, offset);
    QCOMPARE(ShadowOffset(TShadowPosition(position), 2), offset);
    QImage image(120, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter canvas(&image);
        canvas.setFont(CrispFont());
        canvas.setPen(Qt::black);
        QRect rect(10, 10, 100, 20);
        DrawShadowText(&canvas, canvas.fontMetrics(), "XH", TShadowPosition(position), Qt::red, 2,
                       Qt::AlignLeft, rect);
        QCOMPARE(rect, QRect(10, 10, 100, 20).united(QRect(10, 10, 100, 20).translated(offset)));
        QCOMPARE(canvas.pen().color(), QColor(Qt::black));
    }
    const QRect text = Box(image, qRgb(0, 0, 0));
    const QRect shadow = Box(image, qRgb(255, 0, 0));
    QVERIFY(!shadow.isEmpty());
    QVERIFY(text.translated(offset).contains(shadow));
    // The shadow's outer edges are those of the text moved by the offset.
    if (offset.x() < 0) QCOMPARE(shadow.left(), text.left() + offset.x());
    if (offset.x() > 0) QCOMPARE(shadow.right(), text.right() + offset.x());
    if (offset.y() < 0) QCOMPARE(shadow.top(), text.top() + offset.y());
    if (offset.y() > 0) QCOMPARE(shadow.bottom(), text.bottom() + offset.y());
}

void ZTLabelTest::zeroShadowLiesUnderTheText() {
    TZTLabel label;
    PlainLabel(label);
    label.SetCaption("Mã");
    label.SetShadowSize(0);
    const QImage shown = Render(label);
    QVERIFY(Count(shown, qRgb(0, 0, 0)) > 10);
    QCOMPARE(Count(shown, qRgb(255, 0, 0)), 0);
}

void ZTLabelTest::disabledLabelIsEngraved() {
    TZTLabel label;
    PlainLabel(label);
    label.SetColor(clBlack);
    label.SetCaption("HH");
    label.SetShadowSize(0);
    label.setEnabled(false);
    const QImage shown = Render(label);
    const QRgb grey = QApplication::palette().color(QPalette::Disabled, QPalette::Text).rgb();
    const QRgb light = QApplication::palette().color(QPalette::Active, QPalette::Light).rgb();
    QVERIFY(grey != light);
    const QRect text = Box(shown, grey);
    const QRect shadow = Box(shown, light);
    QVERIFY(!text.isEmpty());
    QVERIFY(!shadow.isEmpty());
    // One pixel right and down, although the label has no shadow of its own.
    QCOMPARE(shadow.bottomRight(), text.bottomRight() + QPoint(1, 1));
}

void ZTLabelTest::emptyCaptionMeasuresAsOneSpace_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("showAccelChar");
    QTest::addColumn<bool>("asSpace");
    QTest::newRow("empty") << "" << true << true;
    QTest::newRow("lone ampersand") << "&" << true << true;
    QTest::newRow("literal ampersand") << "&" << false << false;
}

void ZTLabelTest::emptyCaptionMeasuresAsOneSpace() {
    QFETCH(QString, caption);
    QFETCH(bool, showAccelChar);
    QFETCH(bool, asSpace);
    TZTLabel space;
    space.setFont(CrispFont());
    space.SetCaption(" ");
    QVERIFY(space.MeasuredSize().height() > 1);
    TZTLabel label;
    label.setFont(CrispFont());
    label.SetLayout(tlCenter);
    label.SetShowAccelChar(showAccelChar);
    label.SetCaption("x");
    label.SetCaption(caption);
    QCOMPARE(label.MeasuredSize().height(), space.MeasuredSize().height());
    QCOMPARE(label.MeasuredSize() == space.MeasuredSize(), asSpace);
    QCOMPARE(label.size(), label.MeasuredSize());
}

void ZTLabelTest::layoutMovesTheText_data() {
    QTest::addColumn<int>("layout");
    QTest::newRow("top") << int(tlTop);
    QTest::newRow("centre") << int(tlCenter);
    QTest::newRow("bottom") << int(tlBottom);
}

void ZTLabelTest::layoutMovesTheText() {
    QFETCH(int, layout);
    TZTLabel label;
    PlainLabel(label);
    label.SetCaption("HH");
    const int textHeight = label.height();  // auto-sized: the text and its one-pixel shadow
    const QRect atTop = Box(Render(label), qRgb(0, 0, 0));
    label.SetAutoSize(false);
    label.resize(80, 60);
    label.SetLayout(TTextLayout(layout));
    const QRect text = Box(Render(label), qRgb(0, 0, 0));
    const int room = 60 - textHeight;
    const int shift = layout == tlTop ? 0 : layout == tlCenter ? room / 2 : room;
    QCOMPARE(text, atTop.translated(0, shift));
}

void ZTLabelTest::autoSize() {
    TZTLabel label;
    PlainLabel(label);
    label.SetCaption("Short");
    // The text, its one-pixel shadow, and a pixel either side.
    const QFontMetrics metrics(CrispFont());
    const QSize text =
        metrics.boundingRect(QRect(0, 0, 1000, 1000), Qt::AlignLeft | Qt::AlignTop, "Short").size();
    QCOMPARE(label.size(), text + QSize(1 + 2, 1));
    const int shortWidth = label.width();
    label.SetCaption("A much longer caption");
    QVERIFY(label.width() > shortWidth);
    QFont bigger = CrispFont();
    bigger.setPixelSize(28);
    label.setFont(bigger);
    QCOMPARE(label.height(),
             QFontMetrics(bigger).boundingRect(QRect(0, 0, 1000, 1000), Qt::AlignLeft, "A").height() + 1);
    QCOMPARE(label.sizeHint(), label.size());
}

void ZTLabelTest::autoSizeKeepsTheRightEdgeOfARightJustifiedLabel() {
    QWidget parent;
    parent.resize(300, 100);
    auto* label = new TZTLabel(&parent);
    PlainLabel(*label);
    label->SetAlignment(taRightJustify);
    label->move(100, 10);
    const int right = label->geometry().right();
    label->SetCaption("Right justified caption");
    QCOMPARE(label->geometry().right(), right);
    QVERIFY(label->x() < 100);
}

void ZTLabelTest::autoSizeOffKeepsTheSize() {
    TZTLabel label;
    label.SetAutoSize(false);
    label.SetCaption("A caption that would not fit");
    QCOMPARE(label.size(), QSize(65, 17));
    label.SetAutoSize(true);
    QVERIFY(label.width() > 65);
}

void ZTLabelTest::transparentLeavesTheBackground() {
    TZTLabel label;
    PlainLabel(label);
    label.SetCaption("Hi");
    QCOMPARE(QColor(Pixel(Render(label), label.width() - 1, 0)), QColor(Qt::white));
    label.SetTransparent(true);
    QCOMPARE(Pixel(Render(label), label.width() - 1, 0), kUntouched);
}

void ZTLabelTest::accelCharIsShownOrLiteral() {
    TZTLabel label;
    PlainLabel(label);
    label.SetCaption("&Open");
    const int withAccel = label.width();
    label.SetShowAccelChar(false);
    QVERIFY(label.width() > withAccel);
}

QTEST_MAIN(ZTLabelTest)
#include "ZTLabelTest.moc"
