// The decorated widgets as they show: the panel (bevels, gradient, picture, caption effects), the label
// (shadow, size, access key, focus control), and the list and tree views with a decorated background.

#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QVBoxLayout>
#include <QtTest>
#include <functional>
#include <memory>

#include "DecorTestHelpers.h"
#include "ZTCustomListView.h"
#include "ZTCustomTreeView.h"
#include "ZTLabel.h"
#include "ZTPanel.h"

using namespace odz;
using namespace odz::test;

using TMake = std::function<QWidget*()>;
using TChange = std::function<void(QWidget*, bool)>;  // (widget, changed?)
Q_DECLARE_METATYPE(TMake)
Q_DECLARE_METATYPE(TChange)

namespace {

// A row of the repaint table: the change sets the widget's initial value again, or another one.
template <class TWidget>
void ChangeRow(const char* name, void (*change)(TWidget&, bool)) {
    QTest::newRow(name) << TMake([] { return static_cast<QWidget*>(new TWidget); })
                        << TChange([change](QWidget* w, bool c) { change(*static_cast<TWidget*>(w), c); });
}

// Counts the paint events a widget receives.
class TPaintCounter : public QObject {
public:
    explicit TPaintCounter(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
};

void Plain(QWidget& widget, QSize size) {
    widget.resize(size);
    widget.setFont(CrispFont());
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    widget.setPalette(palette);
}

void PlainPanel(TZTPanel& panel, QSize size) {
    Plain(panel, size);
    panel.SetColor(clWhite);
    panel.SetBevelOuter(bvNone);
}

// A label drawn in black on white with a red shadow.
void PlainLabel(TZTLabel& label) {
    Plain(label, label.size());
    label.SetColor(clWhite);
    label.SetShadowColor(clRed);
}

template <class TView>
struct TViewFixture {
    TView view;
    QStandardItemModel model;

    explicit TViewFixture(int rows) {
        for (int i = 0; i < rows; ++i) model.appendRow(new QStandardItem(QString("Row %1").arg(i)));
        view.setModel(&model);
        view.resize(220, 160);
        view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
        // No current item: the style marks the current row with a tint of its own.
        view.setFocusPolicy(Qt::NoFocus);
    }
    bool Show() {
        view.show();
        return QTest::qWaitForWindowExposed(&view);
    }
    // What the window shows (its backing store), cut to the viewport: unlike QWidget::grab(), which
    // paints afresh, this keeps whatever scrolling moved.
    QImage Grab() {
        QCoreApplication::processEvents();
        const QImage window = view.screen()->grabWindow(view.winId()).toImage();
        return window.copy(QRect(view.viewport()->mapTo(&view, QPoint(0, 0)), view.viewport()->size()));
    }
    // The decoration alone, as the view composes it.
    QImage Reference() {
        QImage image(view.viewport()->size(), QImage::Format_RGB32);
        QPainter canvas(&image);
        view.PaintBackground(canvas);
        return image;
    }
    // A column right of every text, where only the background shows.
    int EmptyColumn() const { return view.viewport()->width() - 3; }
};

// The decoration shows beside the rows and through an item's own background while the rows are still
// drawn; scrolling leaves it fixed to the viewport or, in a details view, moves it with the rows.
template <class TView>
void ViewDecoration(bool scrolling) {
    TViewFixture<TView> f(300);
    QVERIFY(f.view.viewport()->autoFillBackground());
    f.view.SetColor(RGBColor(10, 20, 30));
    QCOMPARE(f.view.palette().color(QPalette::Base), QColor(10, 20, 30));
    f.view.SetColor(clBtnFace);
    QCOMPARE(f.view.palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));
    f.model.item(0)->setBackground(QColor(0, 255, 0));
    f.view.SetBackEffect(gdTopToBottom);
    f.view.SetScrollingBackground(scrolling);
    QVERIFY(f.Show());
    QVERIFY(!f.view.viewport()->autoFillBackground());
    const QImage reference = f.Reference();
    const QImage shown = f.Grab();
    const QRect firstRow = f.view.visualRect(f.model.index(0, 0));
    for (const int x : {1, firstRow.right() - 1, f.EmptyColumn()})
        QCOMPARE(Pixel(shown, x, firstRow.center().y()), Pixel(reference, x, firstRow.center().y()));
    bool text = false;
    for (int x = firstRow.left(); x < firstRow.left() + 40 && !text; ++x)
        for (int y = firstRow.top(); y <= firstRow.bottom(); ++y)
            text = text || Pixel(shown, x, y) != Pixel(reference, x, y);
    QVERIFY(text);
    // Small steps too: the views move what they painted for those instead of repainting.
    const int height = f.view.viewport()->height();
    for (const int position : {37, 40, 39, 60, 3}) {
        f.view.verticalScrollBar()->setValue(position);
        const QImage moved = f.Grab();
        for (int y = 0; y < height; y += 3)
            QCOMPARE(Pixel(moved, f.EmptyColumn(), y),
                     Pixel(reference, f.EmptyColumn(), scrolling ? (y + position) % height : y));
    }
    f.view.SetBackEffect(gdSolid);
    QVERIFY(f.view.viewport()->autoFillBackground());
}

}  // namespace

class DecoratedWidgetsTest : public QObject {
    Q_OBJECT
private slots:

    void sameValueDoesNothingChangedValueRepaints_data() {
        QTest::addColumn<TMake>("make");
        QTest::addColumn<TChange>("change");
        using P = TZTPanel;
        ChangeRow<P>("panel Beveltopcolor",
                     [](P& p, bool c) { p.SetBeveltopcolor(c ? clRed : clBtnHighlight); });
        ChangeRow<P>("panel BevelBotColor",
                     [](P& p, bool c) { p.SetBevelBotColor(c ? clRed : clBtnShadow); });
        ChangeRow<P>("panel ColorEnd", [](P& p, bool c) { p.SetColorEnd(c ? clRed : clSilver); });
        ChangeRow<P>("panel ImageMode", [](P& p, bool c) { p.SetImageMode(c ? imCentered : imNone); });
        ChangeRow<P>("panel Gradient", [](P& p, bool c) { p.SetGradient(c ? gdQRecIn : gdSolid); });
        ChangeRow<P>("panel TextEffect", [](P& p, bool c) { p.SetTextEffect(c ? teEmbossed : tenone); });
        ChangeRow<P>("panel VertAlign", [](P& p, bool c) { p.SetVertAlign(c ? ZtBottom : ztCenter); });
        ChangeRow<P>("panel TextRotation", [](P& p, bool c) { p.SetTextRotation(c ? TrDown : trNone); });
        ChangeRow<P>("panel ShadowColor", [](P& p, bool c) { p.SetShadowColor(c ? clRed : clGray); });
        ChangeRow<P>("panel ShadowDepth", [](P& p, bool c) { p.SetShadowDepth(c ? 3 : 2); });
        ChangeRow<P>("panel Caption", [](P& p, bool c) { p.SetCaption(c ? "Nguồn" : ""); });
        ChangeRow<P>("panel Color", [](P& p, bool c) { p.SetColor(c ? clNavy : clBtnFace); });
        ChangeRow<P>("panel Alignment", [](P& p, bool c) { p.SetAlignment(c ? taLeftJustify : taCenter); });
        ChangeRow<P>("panel BevelInner", [](P& p, bool c) { p.SetBevelInner(c ? bvLowered : bvNone); });
        ChangeRow<P>("panel BevelOuter", [](P& p, bool c) { p.SetBevelOuter(c ? bvLowered : bvRaised); });
        ChangeRow<P>("panel BevelWidth", [](P& p, bool c) { p.SetBevelWidth(c ? 3 : 1); });
        ChangeRow<P>("panel BorderWidth", [](P& p, bool c) { p.SetBorderWidth(c ? 2 : 0); });
        ChangeRow<P>("panel Picture", [](P& p, bool c) { p.SetPicture(c ? QPixmap(4, 4) : QPixmap()); });
        using L = TZTLabel;
        ChangeRow<L>("label Alignment", [](L& l, bool c) { l.SetAlignment(c ? taCenter : taLeftJustify); });
        ChangeRow<L>("label AutoSize", [](L& l, bool c) { l.SetAutoSize(!c); });
        ChangeRow<L>("label Caption", [](L& l, bool c) { l.SetCaption(c ? "Tệp" : ""); });
        ChangeRow<L>("label Color", [](L& l, bool c) { l.SetColor(c ? clRed : clBtnFace); });
        ChangeRow<L>("label Layout", [](L& l, bool c) { l.SetLayout(c ? tlBottom : tlTop); });
        ChangeRow<L>("label ShowAccelChar", [](L& l, bool c) { l.SetShowAccelChar(!c); });
        ChangeRow<L>("label Transparent", [](L& l, bool c) { l.SetTransparent(c); });
        ChangeRow<L>("label WordWrap", [](L& l, bool c) { l.SetWordWrap(c); });
        ChangeRow<L>("label ShadowColor", [](L& l, bool c) { l.SetShadowColor(c ? clRed : clBtnHighlight); });
        ChangeRow<L>("label ShadowSize", [](L& l, bool c) { l.SetShadowSize(c ? 3 : 1); });
        ChangeRow<L>("label ShadowPos", [](L& l, bool c) { l.SetShadowPos(c ? spRightTop : spLeftTop); });
        ChangeRow<L>("label ShowFocus", [](L& l, bool c) { l.SetShowFocus(c); });
        // Both views share the decoration's code; the list view stands for them.
        using V = TZTCustomListView;
        ChangeRow<V>("view ColorBegin", [](V& v, bool c) { v.SetColorBegin(c ? clRed : clNavy); });
        ChangeRow<V>("view ColorEnd", [](V& v, bool c) { v.SetColorEnd(c ? clRed : clBlue); });
        ChangeRow<V>("view ImageMode", [](V& v, bool c) { v.SetImageMode(c ? imTiled : imNone); });
        ChangeRow<V>("view BackEffect", [](V& v, bool c) { v.SetBackEffect(c ? gdHorzOut : gdSolid); });
        ChangeRow<V>("view ITransparent", [](V& v, bool c) { v.SetITransparent(c); });
        ChangeRow<V>("view BackPict", [](V& v, bool c) { v.SetBackPict(c ? QPixmap(4, 4) : QPixmap()); });
        ChangeRow<V>("view Color", [](V& v, bool c) { v.SetColor(c ? clSilver : clWhite); });
        ChangeRow<TZTCustomTreeView>("tree view ScrollingBackground",
                                     [](TZTCustomTreeView& v, bool c) { v.SetScrollingBackground(c); });
    }

    void sameValueDoesNothingChangedValueRepaints() {
        QFETCH(TMake, make);
        QFETCH(TChange, change);
        const std::unique_ptr<QWidget> widget(make());
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
        auto* view = qobject_cast<QAbstractScrollArea*>(widget.get());
        TPaintCounter paints(view ? view->viewport() : widget.get());
        QCoreApplication::processEvents();
        paints.count = 0;
        change(widget.get(), false);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QCOMPARE(paints.count, 0);
        change(widget.get(), true);
        QTRY_VERIFY(paints.count > 0);
    }

    void panelBevels() {
        const QColor red(255, 0, 0), blue(0, 0, 255), white(255, 255, 255);
        // The outer and the inner bevel; the colour of the top and left edges, of the bottom and right
        // ones, and of the inner bevel's top left.
        for (const auto& [outer, inner, topLeft, bottomRight, innerTopLeft] :
             {std::tuple{bvRaised, bvNone, red, blue, white},
              {bvLowered, bvNone, blue, red, white},
              {bvRaised, bvLowered, red, blue, blue},
              {bvSpace, bvRaised, white, white, red}}) {
            TZTPanel panel;
            PlainPanel(panel, QSize(100, 50));
            panel.SetBevelOuter(outer);
            panel.SetBevelInner(inner);
            panel.SetBevelWidth(2);
            panel.SetBorderWidth(1);
            panel.SetBeveltopcolor(clRed);
            panel.SetBevelBotColor(clBlue);
            const QImage shown = Render(panel);
            for (const QPoint& at : {QPoint(0, 0), QPoint(1, 25), QPoint(50, 1)})
                QCOMPARE(QColor(Pixel(shown, at.x(), at.y())), topLeft);
            for (const QPoint& at : {QPoint(99, 25), QPoint(50, 48), QPoint(99, 0)})
                QCOMPARE(QColor(Pixel(shown, at.x(), at.y())), bottomRight);
            // The border (in the panel's colour), then the inner bevel.
            QCOMPARE(QColor(Pixel(shown, 2, 25)), white);
            QCOMPARE(QColor(Pixel(shown, 3, 25)), innerTopLeft);
            QCOMPARE(QColor(Pixel(shown, 4, 25)), innerTopLeft);
        }
    }

    void panelGradientFillsTheInnerRect() {
        TZTPanel panel;
        PlainPanel(panel, QSize(100, 260));
        panel.SetBevelOuter(bvRaised);
        panel.SetColor(clNavy);
        panel.SetColorEnd(clBlue);
        panel.SetGradient(gdTopToBottom);
        QCOMPARE(panel.InnerRect(), QRect(2, 2, 96, 256));
        const QImage shown = Render(panel);
        for (int row = 0; row < 256; row += 15)
            QCOMPARE(Pixel(shown, 50, 2 + row), Entry(clNavy, clBlue, row));
        // Between the bevel and the inner rectangle the panel keeps its colour.
        QCOMPARE(QColor(Pixel(shown, 1, 100)), QColor(0, 0, 128));
        // A system colour starts the gradient with the colour it names, not with its index bytes.
        panel.SetColor(clBtnFace);
        QCOMPARE(QColor(Pixel(Render(panel), 50, 2)), QApplication::palette().color(QPalette::Button));
    }

    void panelPictureModes_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("gradient");
        QTest::addColumn<QSize>("picture");  // green
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<QPoint>("probe");
        QTest::addColumn<QColor>("expected");
        const QColor colour(250, 240, 230), green(0, 255, 0), bevel(255, 0, 0);
        // With a picture set the gradient covers the whole panel: column 50 of 100 is band 129 (bands
        // 127 and 128 start and end on the same column).
        const QColor gradient(Entry(RGBColor(250, 240, 230), clSilver, 129));
        const auto row = [](const char* name, int mode, int effect, QSize picture, QPoint probe,
                            QColor expected, bool transparent = false) {
            QTest::newRow(name) << mode << effect << picture << transparent << probe << expected;
        };
        row("stretched fills the inner rect", imStretched, gdSolid, QSize(3, 3), QPoint(2, 2), green);
        row("stretched leaves the bevel", imStretched, gdSolid, QSize(3, 3), QPoint(0, 50), bevel);
        row("transparent: the picture's colour left out", imStretched, gdSolid, QSize(3, 3), QPoint(2, 2),
            colour, true);
        row("ratio centred in the inner rect", imStretchRatio, gdSolid, QSize(10, 10), QPoint(50, 50), green);
        row("ratio: colour beside", imStretchRatio, gdSolid, QSize(40, 10), QPoint(50, 3), colour);
        row("ratio: gradient beside", imStretchRatio, gdLeftToRight, QSize(100, 10), QPoint(50, 3), gradient);
        row("centred", imCentered, gdSolid, QSize(20, 20), QPoint(41, 41), green);
        row("tiled from the inner corner", imTiled, gdSolid, QSize(7, 7), QPoint(97, 97), green);
        row("tiles stop at the bevel", imTiled, gdSolid, QSize(7, 7), QPoint(99, 50), bevel);
        row("no picture: colour", imTiled, gdLeftToRight, QSize(), QPoint(50, 50), colour);
    }

    void panelPictureModes() {
        QFETCH(int, mode);
        QFETCH(int, gradient);
        QFETCH(QSize, picture);
        QFETCH(bool, transparent);
        QFETCH(QPoint, probe);
        QFETCH(QColor, expected);
        TZTPanel panel;
        QCOMPARE(panel.size(), QSize(185, 41));
        PlainPanel(panel, QSize(100, 100));
        panel.SetBevelOuter(bvRaised);
        panel.SetBeveltopcolor(clRed);
        panel.SetBevelBotColor(clRed);
        panel.SetColor(RGBColor(250, 240, 230));
        panel.SetGradient(TPanBackEffect(gradient));
        panel.SetImageMode(TZTPImageMode(mode));
        // Transparency asked for while there is no picture is refused.
        panel.SetTransparent(true);
        QCOMPARE(panel.Transparent(), false);
        if (picture.isValid()) {
            QPixmap green(picture);
            green.fill(Qt::green);
            panel.SetPicture(green);
        }
        panel.SetTransparent(transparent);
        QCOMPARE(QColor(Pixel(Render(panel), probe.x(), probe.y())), expected);
    }

    void panelEffectsDrawTheirCopies_data() {
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

    void panelEffectsDrawTheirCopies() {
        QFETCH(int, effect);
        QFETCH(QList<QPoint>, offsets);
        QCOMPARE(CaptionEffectOffsets(TTextEffect(effect), 3), offsets);
        TZTPanel panel;
        PlainPanel(panel, QSize(120, 40));
        panel.SetCaption("ABC");
        panel.SetShadowColor(clRed);
        panel.SetShadowDepth(3);
        int plainText = 0, text = 0;
        const QRect plainBox = Box(Render(panel), qRgb(0, 0, 0), &plainText);
        panel.SetTextEffect(TTextEffect(effect));
        const QImage shown = Render(panel);
        // The text stays as it was, drawn over its copies, and the copies lie where the offsets say.
        QCOMPARE(Box(shown, qRgb(0, 0, 0), &text), plainBox);
        QCOMPARE(text, plainText);
        const QRect shadow = Box(shown, qRgb(255, 0, 0));
        QCOMPARE(shadow.isEmpty(), offsets.isEmpty());
        QRect expected;
        for (const QPoint& offset : offsets) expected |= plainBox.translated(offset);
        if (!offsets.isEmpty()) QVERIFY(expected.contains(shadow));
    }

    void panelCaptionPlacement_data() {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("vertAlign");
        QTest::addColumn<QString>("where");  // the side the text keeps close to
        for (const int rotation : {int(trNone), int(TrUp), int(TrDown)}) {
            const QByteArray name = rotation == trNone ? "flat " : rotation == TrUp ? "up " : "down ";
            QTest::newRow(name + "centre") << rotation << int(taCenter) << int(ztCenter) << "centre";
            QTest::newRow(name + "left") << rotation << int(taLeftJustify) << int(ztCenter) << "left";
            QTest::newRow(name + "right") << rotation << int(taRightJustify) << int(ztCenter) << "right";
            QTest::newRow(name + "top") << rotation << int(taCenter) << int(ztTop) << "top";
            QTest::newRow(name + "bottom") << rotation << int(taCenter) << int(ZtBottom) << "bottom";
        }
    }

    void panelCaptionPlacement() {
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
        QCOMPARE(text.height() > text.width(), rotation != trNone);
        const int slack = 8;
        if (where == "centre") QVERIFY((text.center() - inner.center()).manhattanLength() < slack);
        if (where == "left") QVERIFY(text.left() - inner.left() < slack);
        if (where == "right") QVERIFY(inner.right() - text.right() < slack);
        if (where == "top") QVERIFY(text.top() - inner.top() < slack);
        if (where == "bottom") QVERIFY(inner.bottom() - text.bottom() < slack);
        // A caption too long for the panel stays inside it.
        panel.SetCaption("A caption far too long for this small panel, and longer still than that");
        QVERIFY(inner.contains(Box(Render(panel), qRgb(0, 0, 0))));
    }

    void labelPainting() {
        TZTLabel label;
        PlainLabel(label);
        label.SetCaption("HH");
        QCOMPARE(QColor(Pixel(Render(label), label.width() - 1, 0)), QColor(Qt::white));
        label.SetShadowSize(0);
        int black = 0;
        QVERIFY(Box(Render(label), qRgb(0, 0, 0), &black).isValid() && black > 10);
        QVERIFY(Box(Render(label), qRgb(255, 0, 0)).isEmpty());
        label.SetTransparent(true);
        QCOMPARE(Pixel(Render(label), label.width() - 1, 0), kUntouched);
        // Disabled, it is engraved: grey text over a light shadow one pixel right and down, although the
        // label has no shadow of its own.
        label.setEnabled(false);
        const QImage shown = Render(label);
        const QRgb grey = QApplication::palette().color(QPalette::Disabled, QPalette::Text).rgb();
        const QRgb light = QApplication::palette().color(QPalette::Active, QPalette::Light).rgb();
        QVERIFY(grey != light);
        const QRect text = Box(shown, grey);
        QVERIFY(!text.isEmpty());
        QCOMPARE(Box(shown, light).bottomRight(), text.bottomRight() + QPoint(1, 1));
    }

    void labelEmptyCaptionMeasuresAsOneSpace() {
        TZTLabel space;
        space.setFont(CrispFont());
        space.SetCaption(" ");
        QVERIFY(space.MeasuredSize().height() > 1);
        for (const auto& [caption, showAccelChar, asSpace] :
             {std::tuple{"", true, true}, {"&", true, true}, {"&", false, false}}) {
            TZTLabel label;
            label.setFont(CrispFont());
            label.SetShowAccelChar(showAccelChar);
            label.SetCaption("x");
            label.SetCaption(caption);
            QCOMPARE(label.MeasuredSize().height(), space.MeasuredSize().height());
            QCOMPARE(label.MeasuredSize() == space.MeasuredSize(), asSpace);
            QCOMPARE(label.size(), label.MeasuredSize());
        }
    }

    void labelLayoutMovesTheText() {
        TZTLabel label;
        PlainLabel(label);
        label.SetCaption("HH");
        const int room = 60 - label.height();  // auto-sized: the text and its one-pixel shadow
        const QRect atTop = Box(Render(label), qRgb(0, 0, 0));
        label.SetAutoSize(false);
        label.resize(80, 60);
        for (const auto& [layout, shift] : {std::pair{tlTop, 0}, {tlCenter, room / 2}, {tlBottom, room}}) {
            label.SetLayout(layout);
            QCOMPARE(Box(Render(label), qRgb(0, 0, 0)), atTop.translated(0, shift));
        }
    }

    void labelAutoSize() {
        QWidget parent;
        auto* label = new TZTLabel(&parent);
        label->SetAutoSize(false);
        label->SetCaption("A caption that would not fit");
        QCOMPARE(label->size(), QSize(65, 17));
        // The text, its one-pixel shadow, and a pixel either side.
        PlainLabel(*label);
        label->SetCaption("Short");
        label->SetAutoSize(true);
        const QFontMetrics metrics(CrispFont());
        QCOMPARE(label->size(), metrics.boundingRect(QRect(0, 0, 1000, 1000), Qt::AlignLeft, "Short").size() +
                                    QSize(1 + 2, 1));
        QFont bigger = CrispFont();
        bigger.setPixelSize(28);
        label->setFont(bigger);
        QCOMPARE(label->height(),
                 QFontMetrics(bigger).boundingRect(QRect(0, 0, 1000, 1000), Qt::AlignLeft, "A").height() + 1);
        QCOMPARE(label->sizeHint(), label->size());
        // An access key takes no room; shown literally, the ampersand does.
        label->SetCaption("&Open");
        const int withAccel = label->width();
        label->SetShowAccelChar(false);
        QVERIFY(label->width() > withAccel);
        // A right-justified label grows to the left.
        label->SetAlignment(taRightJustify);
        label->move(100, 10);
        const int right = label->geometry().right();
        label->SetCaption("Right justified caption");
        QCOMPARE(label->geometry().right(), right);
        QVERIFY(label->x() < 100);
    }

    void labelMouseEnterAndLeave() {
        TZTLabel label;
        // Away from where the pointer rests, so that showing the label does not count as entering it.
        label.move(300, 300);
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        QSignalSpy entered(&label, &TZTLabel::OnMouseEnter);
        QSignalSpy left(&label, &TZTLabel::OnMouseLeave);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), label.mapToGlobal(QPointF(5, 5)));
        QEvent leave(QEvent::Leave);
        for (int twice = 0; twice < 2; ++twice) QCoreApplication::sendEvent(&label, &enter);
        QCOMPARE(entered.count(), 1);
        QVERIFY(label.MouseInControl());
        for (int twice = 0; twice < 2; ++twice) QCoreApplication::sendEvent(&label, &leave);
        QCOMPARE(left.count(), 1);
        // Hidden or disabled while the mouse is over it, it leaves; a disabled label takes no notice.
        QCoreApplication::sendEvent(&label, &enter);
        label.hide();
        QCOMPARE(left.count(), 2);
        label.show();
        QCoreApplication::sendEvent(&label, &enter);
        label.setEnabled(false);
        QCOMPARE(left.count(), 3);
        QVERIFY(!label.MouseInControl());
        QCoreApplication::sendEvent(&label, &enter);
        QCOMPARE(entered.count(), 3);
    }

    void labelFocusControl() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* other = new QLineEdit(&window);
        auto* label = new TZTLabel(&window);
        auto* edit = new QLineEdit(&window);
        for (QWidget* widget : std::initializer_list<QWidget*>{other, label, edit}) layout->addWidget(widget);
        PlainLabel(*label);
        label->SetCaption("&Name");
        label->SetFocusControl(edit);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        const QImage unfocused = Render(*label);
        // The access key gives the focus control the focus; the label shows a focus frame if asked to.
        QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
        QTRY_VERIFY(edit->hasFocus());
        QCOMPARE(Render(*label), unfocused);
        label->SetShowFocus(true);
        QVERIFY(Render(*label) != unfocused);
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        QCOMPARE(Render(*label), unfocused);
        // Without the access key shown, the same key does nothing.
        label->SetShowAccelChar(false);
        QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
        QCoreApplication::processEvents();
        QVERIFY(other->hasFocus());
    }

    void viewDecoration_data() {
        QTest::addColumn<bool>("tree");
        QTest::addColumn<bool>("scrolling");
        QTest::newRow("list view") << false << false;
        QTest::newRow("tree view") << true << false;
        QTest::newRow("tree view, scrolling background") << true << true;
    }
    void viewDecoration() {
        QFETCH(bool, tree);
        QFETCH(bool, scrolling);
        tree ? ViewDecoration<TZTCustomTreeView>(scrolling) : ViewDecoration<TZTCustomListView>(scrolling);
    }
};

QTEST_MAIN(DecoratedWidgetsTest)
#include "DecoratedWidgetsTest.moc"
