#include <QScreen>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QtTest>
#include <functional>

#include "DecorTestHelpers.h"
#include "ZTCustomListView.h"
#include "ZTCustomTreeView.h"

using namespace odz;
using namespace odz::test;

// Both views offer the same decoration; every test runs on each of them.
class DecoratedViewsTest : public QObject {
    Q_OBJECT
private slots:
    void initialValues_data() { Kinds(); }
    void initialValues();
    void sameValueDoesNothingChangedValueRepaints_data();
    void sameValueDoesNothingChangedValueRepaints();
    void decorationShowsUnderTheRows_data() { Kinds(); }
    void decorationShowsUnderTheRows();
    void itemBackgroundsGiveWayToTheDecoration_data() { Kinds(); }
    void itemBackgroundsGiveWayToTheDecoration();
    void decorationStaysFixedWhenScrolling_data() { Kinds(); }
    void decorationStaysFixedWhenScrolling();
    void scrollingBackgroundMovesWithTheRows();
    void plainColourIsTheBase_data() { Kinds(); }
    void plainColourIsTheBase();

private:
    static void Kinds() {
        QTest::addColumn<bool>("tree");
        QTest::newRow("list view") << false;
        QTest::newRow("tree view") << true;
    }
};

namespace {

template <class TView>
struct TFixture {
    TView view;
    QStandardItemModel model;

    explicit TFixture(int rows) {
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

template <class TView>
void InitialValues() {
    TView view;
    QVERIFY(view.BackPict().isNull());
    QCOMPARE(view.ColorBegin(), RGBColor(0, 0, 128));
    QCOMPARE(view.ColorEnd(), RGBColor(0, 0, 255));
    QCOMPARE(view.ImageMode(), imNone);
    QCOMPARE(view.BackEffect(), gdSolid);
    QCOMPARE(view.ITransparent(), false);
    QCOMPARE(view.Color(), RGBColor(255, 255, 255));
    QCOMPARE(view.ScrollingBackground(), false);
    QVERIFY(view.viewport()->autoFillBackground());
    QCOMPARE(view.palette().color(QPalette::Base), QColor(255, 255, 255));
}

using TSetter = std::function<void(QWidget*, bool)>;  // (view, changed?)

template <class TView>
TSetter Setter(void (TView::*set)(TColor), TColor same, TColor other) {
    return [=](QWidget* w, bool changed) { (static_cast<TView*>(w)->*set)(changed ? other : same); };
}

template <class TView>
void DecorationShowsUnderTheRows() {
    TFixture<TView> f(3);
    f.view.SetBackEffect(gdLeftToRight);
    f.view.SetColorBegin(clRed);
    f.view.SetColorEnd(clYellow);
    QVERIFY(f.Show());
    QVERIFY(!f.view.viewport()->autoFillBackground());
    const QImage shown = f.Grab();
    const QImage reference = f.Reference();
    const QRect firstRow = f.view.visualRect(f.model.index(0, 0));
    for (const int y : {firstRow.center().y(), f.view.viewport()->height() - 2}) {
        const int x = f.EmptyColumn();
        QCOMPARE(Pixel(shown, x, y), Pixel(reference, x, y));
        QCOMPARE(Pixel(shown, 1, y), Pixel(reference, 1, y));
    }
    // The rows are still drawn: the first row's text changes some pixels.
    bool text = false;
    for (int x = firstRow.left(); x < firstRow.left() + 40 && !text; ++x)
        for (int y = firstRow.top(); y <= firstRow.bottom(); ++y)
            text = text || Pixel(shown, x, y) != Pixel(reference, x, y);
    QVERIFY(text);
}

template <class TView>
void ItemBackgroundsGiveWay() {
    TFixture<TView> f(3);
    f.model.item(0)->setBackground(QColor(0, 255, 0));
    QVERIFY(f.Show());
    const QRect row = f.view.visualRect(f.model.index(0, 0));
    const QPoint probe(row.right() - 1, row.center().y());
    QCOMPARE(QColor(Pixel(f.Grab(), probe.x(), probe.y())), QColor(0, 255, 0));
    f.view.SetBackEffect(gdTopToBottom);
    const QImage shown = f.Grab();
    QCOMPARE(Pixel(shown, probe.x(), probe.y()), Pixel(f.Reference(), probe.x(), probe.y()));
}

template <class TView>
void FixedWhenScrolling() {
    TFixture<TView> f(300);
    f.view.SetBackEffect(gdTopToBottom);
    QVERIFY(f.Show());
    QVERIFY(f.view.verticalScrollBar()->maximum() > 100);
    const QImage reference = f.Reference();
    // Small steps too: the views move what they painted for those instead of repainting.
    for (const int position : {37, 40, 39, 60, 3}) {
        f.view.verticalScrollBar()->setValue(position);
        const QImage shown = f.Grab();
        for (int y = 0; y < f.view.viewport()->height(); y += 3)
            QCOMPARE(Pixel(shown, f.EmptyColumn(), y), Pixel(reference, f.EmptyColumn(), y));
    }
}

}  // namespace

void DecoratedViewsTest::initialValues() {
    QFETCH(bool, tree);
    tree ? InitialValues<TZTCustomTreeView>() : InitialValues<TZTCustomListView>();
}

void DecoratedViewsTest::sameValueDoesNothingChangedValueRepaints_data() {
    QTest::addColumn<bool>("tree");
    QTest::addColumn<QString>("property");
    for (const bool tree : {false, true})
        for (const char* property :
             {"ColorBegin", "ColorEnd", "ImageMode", "BackEffect", "ITransparent", "BackPict", "Color"})
            QTest::newRow(QByteArray(tree ? "tree " : "list ") + property) << tree << QString(property);
}

namespace {

template <class TView>
void Change(TView& view, const QString& property, bool changed) {
    QPixmap picture(8, 8);
    picture.fill(Qt::red);
    if (property == "ColorBegin") view.SetColorBegin(changed ? clRed : clNavy);
    if (property == "ColorEnd") view.SetColorEnd(changed ? clRed : clBlue);
    if (property == "ImageMode") view.SetImageMode(changed ? imTiled : imNone);
    if (property == "BackEffect") view.SetBackEffect(changed ? gdHorzOut : gdSolid);
    if (property == "ITransparent") view.SetITransparent(changed);
    if (property == "BackPict") view.SetBackPict(changed ? picture : QPixmap());
    if (property == "Color") view.SetColor(changed ? clSilver : clWhite);
}

template <class TView>
void RepaintsOnlyOnChange(const QString& property) {
    TFixture<TView> f(3);
    QVERIFY(f.Show());
    TPaintCounter paints(f.view.viewport());
    QCoreApplication::processEvents();
    paints.count = 0;
    Change(f.view, property, false);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(paints.count, 0);
    Change(f.view, property, true);
    QTRY_VERIFY(paints.count > 0);
}

}  // namespace

void DecoratedViewsTest::sameValueDoesNothingChangedValueRepaints() {
    QFETCH(bool, tree);
    QFETCH(QString, property);
    tree ? RepaintsOnlyOnChange<TZTCustomTreeView>(property)
         : RepaintsOnlyOnChange<TZTCustomListView>(property);
}

void DecoratedViewsTest::decorationShowsUnderTheRows() {
    QFETCH(bool, tree);
    tree ? DecorationShowsUnderTheRows<TZTCustomTreeView>()
         : DecorationShowsUnderTheRows<TZTCustomListView>();
}

void DecoratedViewsTest::itemBackgroundsGiveWayToTheDecoration() {
    QFETCH(bool, tree);
    tree ? ItemBackgroundsGiveWay<TZTCustomTreeView>() : ItemBackgroundsGiveWay<TZTCustomListView>();
}

void DecoratedViewsTest::decorationStaysFixedWhenScrolling() {
    QFETCH(bool, tree);
    tree ? FixedWhenScrolling<TZTCustomTreeView>() : FixedWhenScrolling<TZTCustomListView>();
}

void DecoratedViewsTest::scrollingBackgroundMovesWithTheRows() {
    TFixture<TZTCustomTreeView> f(300);
    f.view.SetBackEffect(gdTopToBottom);
    f.view.SetScrollingBackground(true);
    QVERIFY(f.Show());
    const QImage reference = f.Reference();
    const int height = f.view.viewport()->height();
    for (const int position : {30, 33, 32, 90}) {
        f.view.verticalScrollBar()->setValue(position);
        const QImage shown = f.Grab();
        for (int y = 0; y < height; y += 3)
            QCOMPARE(Pixel(shown, f.EmptyColumn(), y),
                     Pixel(reference, f.EmptyColumn(), (y + position) % height));
    }
}

void DecoratedViewsTest::plainColourIsTheBase() {
    QFETCH(bool, tree);
    const auto check = [](auto& view) {
        view.SetColor(RGBColor(10, 20, 30));
        QCOMPARE(view.palette().color(QPalette::Base), QColor(10, 20, 30));
        view.SetBackEffect(gdVertIn);
        QVERIFY(!view.viewport()->autoFillBackground());
        view.SetBackEffect(gdSolid);
        QVERIFY(view.viewport()->autoFillBackground());
        view.SetColor(clBtnFace);
        QCOMPARE(view.palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));
    };
    if (tree) {
        TZTCustomTreeView view;
        check(view);
    } else {
        TZTCustomListView view;
        check(view);
    }
}

QTEST_MAIN(DecoratedViewsTest)
#include "DecoratedViewsTest.moc"
