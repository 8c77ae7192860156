// The decorations and the widgets that show them: the gradient effects, pictures placed and tiled, the
// item views' background; the panel (bevels, gradient, picture, caption effects), the label (shadow,
// size), and the list and tree views with a decorated background.

#include <QtTest>
#include <QtWidgets>
#include <optional>
#include <type_traits>

#include "BackgroundDecoration.h"
#include "PicturePlacement.h"
#include "ShadowText.h"
#include "ZTCustomListView.h"
#include "ZTCustomTreeView.h"
#include "ZTLabel.h"
#include "ZTPanel.h"

using namespace odz;

namespace {

// A marker colour nothing in these tests paints with.
constexpr QRgb kUntouched = 0xFFFF00FF;

QRgb Entry(TColor first, TColor second, int index) {
    return BuildColorRamp(first, second)[index] | 0xFF000000;
}

QRgb Pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000;
}

QImage Blank(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kUntouched);
    return image;
}

// One effect painted over the whole image.
QImage PaintedEffect(int effect, TColor first, TColor second, QSize size) {
    QImage image = Blank(size);
    QPainter canvas(&image);
    PaintGradient(TBackEffect(effect), first, second, canvas, image.rect());
    return image;
}

// A font drawn without smoothing, so that every pixel is text, shadow or background.
QFont CrispFont() {
    QFont font = QApplication::font();
    font.setPixelSize(14);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// The widget as it paints itself, over the marker colour.
QImage Render(QWidget& widget) {
    QImage image = Blank(widget.size());
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The bounding box of the pixels in one colour.
QRect Box(const QImage& image, QRgb colour) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Pixel(image, x, y) == (colour | 0xFF000000)) box |= QRect(x, y, 1, 1);
    return box;
}

QPixmap Green(QSize size) {
    QPixmap picture(size);
    picture.fill(Qt::green);
    return picture;
}

// Black text on white without smoothing; a panel without bevels, a label with a red shadow.
template <class TWidget>
void Plain(TWidget& widget) {
    widget.setFont(CrispFont());
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    widget.setPalette(palette);
    widget.SetColor(clWhite);
    if constexpr (std::is_same_v<TWidget, TZTPanel>) widget.SetBevelOuter(bvNone);
    if constexpr (std::is_same_v<TWidget, TZTLabel>) widget.SetShadowColor(clRed);
}

// The decoration shows beside the rows and through an item's own background while the rows are still
// drawn; scrolling leaves it fixed to the viewport or, in a details view, moves it with the rows.
template <class TView>
void ViewDecoration(bool scrolling) {
    TView view;
    QStandardItemModel model;
    for (int i = 0; i < 300; ++i) model.appendRow(new QStandardItem(QString("Row %1").arg(i)));
    view.setModel(&model);
    view.resize(220, 160);
    view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.setFocusPolicy(Qt::NoFocus);  // no current row, which the style tints
    view.SetColor(clBtnFace);
    QCOMPARE(view.palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));
    model.item(0)->setBackground(QColor(0, 255, 0));
    view.SetBackEffect(gdTopToBottom);
    view.SetScrollingBackground(scrolling);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(!view.viewport()->autoFillBackground());
    // What the window shows (its backing store) cut to the viewport, with whatever scrolling moved.
    const auto grab = [&view] {
        QCoreApplication::processEvents();
        const QImage window = view.screen()->grabWindow(view.winId()).toImage();
        return window.copy(QRect(view.viewport()->mapTo(&view, QPoint(0, 0)), view.viewport()->size()));
    };
    QImage reference(view.viewport()->size(), QImage::Format_RGB32);
    {
        QPainter canvas(&reference);
        view.PaintBackground(canvas);
    }
    const QImage shown = grab();
    const QRect firstRow = view.visualRect(model.index(0, 0));
    const int empty = view.viewport()->width() - 3;  // right of every text
    for (const int x : {1, firstRow.right() - 1, empty})
        QCOMPARE(Pixel(shown, x, firstRow.center().y()), Pixel(reference, x, firstRow.center().y()));
    bool text = false;
    for (int x = firstRow.left(); x < firstRow.left() + 40; ++x)
        for (int y = firstRow.top(); y <= firstRow.bottom(); ++y)
            text = text || Pixel(shown, x, y) != Pixel(reference, x, y);
    QVERIFY(text);
    // Small steps too: the views move what they painted for those instead of repainting.
    const int height = view.viewport()->height();
    for (const int position : {37, 40, 39, 60, 3}) {
        view.verticalScrollBar()->setValue(position);
        const QImage moved = grab();
        for (int y = 0; y < height; y += 3)
            QCOMPARE(Pixel(moved, empty, y),
                     Pixel(reference, empty, scrolling ? (y + position) % height : y));
    }
    view.SetBackEffect(gdSolid);
    QVERIFY(view.viewport()->autoFillBackground());
}

}  // namespace

class DecoratedWidgetsTest : public QObject {
    Q_OBJECT
private slots:
    // Every effect paints its whole rectangle only (gdSolid nothing) and leaves the painter as it was.
    void everyEffectCoversItsRectOnly() {
        for (int effect = gdSolid; effect < kBackEffectCount; ++effect)
            for (const QRect& rect : {QRect(3, 1, 37, 91), QRect(5, 5, 3, 2)}) {
                QImage image = Blank(QSize(150, 120));
                QPainter canvas(&image);
                canvas.setClipRect(QRect(0, 0, 149, 119));
                PaintGradient(TBackEffect(effect), clWhite, clBlack, canvas, rect);
                QCOMPARE(canvas.clipBoundingRect().toRect(), QRect(0, 0, 149, 119));
                canvas.end();
                int wrong = 0;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        wrong +=
                            (effect != gdSolid && rect.contains(x, y)) != (Pixel(image, x, y) != kUntouched);
                QVERIFY2(wrong == 0, qPrintable(BackEffectName(TBackEffect(effect))));
            }
    }

    // Every "out" effect and reversed direction is its partner with the colours swapped; diagonals mirror.
    void reversedEffectsSwapTheColours() {
        const QSize size(67, 45);
        QList<std::pair<int, int>> pairs{{gdTopToBottom, gdBottomToTop},
                                         {gdLeftToRight, gdRightToLeft},
                                         {gdHorzIn, gdHorzOut},
                                         {gdVertIn, gdVertOut}};
        for (int effect = gdRectangleIn; effect < kBackEffectCount; effect += 2)
            pairs.append({effect, effect + 1});
        for (const auto& [in, out] : pairs)
            QVERIFY2(PaintedEffect(out, clWhite, clNavy, size) == PaintedEffect(in, clNavy, clWhite, size),
                     qPrintable(BackEffectName(TBackEffect(out))));
        const QImage diagonal = PaintedEffect(gdTLeftToBRight, clWhite, clNavy, size);
        QCOMPARE(PaintedEffect(gdBLeftToTRight, clWhite, clNavy, size), diagonal.mirrored(false, true));
        QCOMPARE(PaintedEffect(gdTRightToBLeft, clWhite, clNavy, size), diagonal.mirrored(true, false));
        QCOMPARE(PaintedEffect(gdBRightToTLeft, clWhite, clNavy, size), diagonal.mirrored(true, true));
    }

    // Each effect at points that tell it from the others: the white-to-black ramp's entry, give or take.
    void effectProbes() {
        const QPoint corner(0, 0), centre(128, 128), top(128, 64), left(64, 128);
        for (const auto& [effect, at, entry, tolerance] :
             {std::tuple{gdTopToBottom, QPoint(7, 255), 255, 0},
              {gdLeftToRight, QPoint(255, 3), 255, 0},
              // Band b shows entry 2b + 1 up to the middle, then back down to 0.
              {gdHorzIn, QPoint(7, 127), 255, 0},
              {gdVertIn, QPoint(127, 7), 255, 0},
              // The last entry, black, is never used.
              {gdTLeftToBRight, QPoint(255, 255), 254, 0},
              // The insets grow by half a pixel per entry: entry 1 still covers the edge, not so an ellipse.
              {gdRectangleIn, corner, 1, 0},
              {gdRectangleIn, centre, 255, 0},
              {gdEllipseIn, corner, 0, 0},
              {gdEllipseIn, centre, 255, 1},
              // Two halves or four quarters, each with its own centre.
              {gdDRecHorIn, top, 255, 0},
              {gdDRecHorIn, QPoint(128, 192), 252, 0},
              {gdDRecVerIn, left, 255, 0},
              {gdQRecIn, QPoint(64, 64), 255, 0},
              {gdQRecIn, QPoint(191, 191), 255, 0},
              {gdDEliHorIn, top, 255, 3},
              {gdDEliVerIn, left, 255, 3},
              {gdQEliIn, QPoint(64, 64), 255, 3},
              {gdQEliIn, centre, 0, 0}}) {
            const QRgb got = Pixel(PaintedEffect(effect, clWhite, clBlack, QSize(256, 256)), at.x(), at.y());
            bool near = false;
            for (int e = qMax(entry - tolerance, 0); e <= qMin(entry + tolerance, 255); ++e)
                near = near || got == Entry(clWhite, clBlack, e);
            QVERIFY2(near, qPrintable(BackEffectName(effect) + QString(" %1,%2").arg(at.x()).arg(at.y())));
        }
    }

    // Tiles are laid from the origin, whichever side of the area it lies.
    void picturesTileFromTheOrigin() {
        QCOMPARE(FitPictureRect(QRect(0, 0, 200, 100), QSize(0, 50)), QRect(0, 0, 200, 100));  // no size: all
        QImage source(3, 2, QImage::Format_RGB32);  // six pixels, all different
        for (int i = 0; i < 6; ++i) source.setPixel(i % 3, i / 3, qRgb(16 * i, 255 - 16 * i, 7));
        for (const QPoint& origin : {QPoint(-1, -7), QPoint(2, 1)}) {
            QImage image = Blank(QSize(11, 7));
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

    // The item views' background in each picture mode, at one point: its colour, the green picture, or
    // the gradient (column 17 of 200 lies in band 22, from MulDiv(22, 200, 256) = 17 to 18).
    void backgroundModes() {
        const QSize none;  // no picture; an empty size sets a null one
        const QPoint beside(17, 5);
        const QRgb colour = qRgb(250, 240, 230), green = qRgb(0, 255, 0),
                   gradient = Entry(clNavy, clBlue, 22);
        for (const auto& [mode, effect, picture, probe, expected] :
             {std::tuple{imNone, gdLeftToRight, QSize(10, 10), beside, gradient},
              {imStretched, gdLeftToRight, QSize(2, 2), QPoint(1, 99), green},
              {imStretched, gdLeftToRight, none, beside, gradient},
              {imTiled, gdSolid, none, beside, colour},
              {imStretchRatio, gdLeftToRight, QSize(50, 50), QPoint(100, 50), green},
              {imStretchRatio, gdLeftToRight, QSize(50, 50), QPoint(17, 50), gradient},
              {imStretchRatio, gdSolid, QSize(0, 0), QPoint(17, 50), colour},
              {imCentered, gdLeftToRight, QSize(20, 20), beside, gradient},
              {imCentered, gdLeftToRight, QSize(300, 300), beside, green}}) {
            TBackgroundDecoration decoration(nullptr);
            decoration.SetColor(RGBColor(250, 240, 230));
            decoration.SetImageMode(mode);
            decoration.SetBackEffect(effect);
            QCOMPARE(decoration.IsOn(), mode != imNone || effect != gdSolid);
            if (picture.isValid()) decoration.SetBackPict(picture.isEmpty() ? QPixmap() : Green(picture));
            QImage image = Blank(QSize(200, 100));
            {
                QPainter canvas(&image);
                decoration.PaintBackground(canvas, image.size());
            }
            QCOMPARE(QColor(Pixel(image, probe.x(), probe.y())), QColor(expected));
            for (int y = 0; y < 100; y += 9)
                for (int x = 0; x < 200; x += 7) QVERIFY(Pixel(image, x, y) != kUntouched);
        }
    }

    // The picture's bottom-left colour is left out while ITransparent is set, whichever came first.
    void backgroundTransparencyFollowsTheFlag() {
        TBackgroundDecoration decoration(nullptr);
        QImage image(2, 1, QImage::Format_RGB32);
        image.setPixel(0, 0, qRgb(255, 0, 0));
        image.setPixel(1, 0, qRgb(0, 255, 0));
        const auto alphas = [&] {
            const QImage drawn = decoration.DrawnPicture().toImage().convertToFormat(QImage::Format_ARGB32);
            return QList<int>{qAlpha(drawn.pixel(0, 0)), qAlpha(drawn.pixel(1, 0))};
        };
        decoration.SetITransparent(true);
        decoration.SetBackPict(image);
        QCOMPARE(alphas(), QList<int>({0, 255}));
        decoration.SetITransparent(false);
        QCOMPARE(alphas(), QList<int>({255, 255}));
    }

    void backgroundCopiesFollowTheContent() {
        TBackgroundDecoration decoration(nullptr);
        decoration.SetBackEffect(gdTopToBottom);
        decoration.SetColor(RGBColor(1, 2, 3));
        const QSize client(40, 256);
        const auto painted = [&](std::optional<QPoint> origin) {
            QImage image = Blank(client);
            QPainter canvas(&image);
            decoration.PaintBackgroundTo(canvas, client, client.height(), origin);
            return image;
        };
        // Scrolled up by 30 rows (plus many screens): row 0 shows row 30, and the copy below continues it.
        for (const int top : {-30, -30 - 256 * 40}) {
            const QImage scrolled = painted(QPoint(-5, top));
            QCOMPARE(Pixel(scrolled, 0, 0), Entry(clNavy, clBlue, 30));
            QCOMPARE(Pixel(scrolled, 0, 225), Entry(clNavy, clBlue, 255));
            QCOMPARE(Pixel(scrolled, 0, 226), Entry(clNavy, clBlue, 0));
        }
        // Rows start lower (below a gap): the gap keeps the plain colour.
        const QImage lower = painted(QPoint(3, 10));
        QCOMPARE(QColor(Pixel(lower, 0, 9)), QColor(1, 2, 3));
        QCOMPARE(Pixel(lower, 0, 10), Entry(clNavy, clBlue, 0));
        // System colours are resolved before the ramp is built.
        decoration.SetColorBegin(clHighlight);
        decoration.SetColorEnd(clHighlight);
        QCOMPARE(QColor(Pixel(painted({}), 5, 100)), QApplication::palette().color(QPalette::Highlight));
    }

    void panelBevels() {
        const QColor red(255, 0, 0), blue(0, 0, 255), white(255, 255, 255);
        // The bevels; the colours of the top and left edges, the bottom and right ones, the inner top left.
        for (const auto& [outer, inner, topLeft, bottomRight, innerTopLeft] :
             {std::tuple{bvRaised, bvNone, red, blue, white},
              {bvLowered, bvNone, blue, red, white},
              {bvRaised, bvLowered, red, blue, blue},
              {bvSpace, bvRaised, white, white, red}}) {
            TZTPanel panel;
            panel.resize(QSize(100, 50));
            Plain(panel);
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
            QCOMPARE(QColor(Pixel(shown, 4, 25)), innerTopLeft);
        }
    }

    void panelGradientFillsTheInnerRect() {
        TZTPanel panel;
        panel.resize(QSize(100, 260));
        Plain(panel);
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

    // The panel's picture in each mode, at one point, with a red bevel round it.
    void panelPictureModes() {
        const QColor colour(250, 240, 230), green(0, 255, 0), bevel(255, 0, 0);
        // With a picture set the gradient covers the whole panel: column 50 of 100 is band 129 (bands
        // 127 and 128 start and end on the same column).
        const QColor gradient(Entry(RGBColor(250, 240, 230), clSilver, 129));
        for (const auto& [mode, effect, picture, transparent, probe, expected] :
             {std::tuple{imStretched, gdSolid, QSize(3, 3), false, QPoint(2, 2), green},
              {imStretched, gdSolid, QSize(3, 3), false, QPoint(0, 50), bevel},
              {imStretched, gdSolid, QSize(3, 3), true, QPoint(2, 2), colour},  // its own colour left out
              {imStretchRatio, gdSolid, QSize(10, 10), false, QPoint(50, 50), green},
              {imStretchRatio, gdSolid, QSize(40, 10), false, QPoint(50, 3), colour},
              {imStretchRatio, gdLeftToRight, QSize(100, 10), false, QPoint(50, 3), gradient},
              {imCentered, gdSolid, QSize(20, 20), false, QPoint(41, 41), green},
              {imTiled, gdSolid, QSize(7, 7), false, QPoint(97, 97), green},
              {imTiled, gdSolid, QSize(7, 7), false, QPoint(99, 50), bevel},
              {imTiled, gdLeftToRight, QSize(), true, QPoint(50, 50), colour}}) {
            TZTPanel panel;
            panel.resize(QSize(100, 100));
            Plain(panel);
            panel.SetBevelOuter(bvRaised);
            panel.SetBeveltopcolor(clRed);
            panel.SetBevelBotColor(clRed);
            panel.SetColor(RGBColor(250, 240, 230));
            panel.SetGradient(TPanBackEffect(effect));
            panel.SetImageMode(mode);
            if (picture.isValid()) panel.SetPicture(Green(picture));
            panel.SetTransparent(transparent);
            // Transparency asked for while there is no picture is refused.
            QCOMPARE(panel.Transparent(), transparent && picture.isValid());
            QCOMPARE(QColor(Pixel(Render(panel), probe.x(), probe.y())), expected);
        }
    }

    // The text stays as it was, drawn over its copies, and the copies lie where the offsets say.
    void panelEffectsDrawTheirCopies() {
        const QList<QPoint> cross{{-3, 0}, {0, -3}, {3, 0}, {0, 3}};
        for (const auto& [effect, offsets] : {std::pair{tenone, QList<QPoint>{}},
                                              {teRaised, cross},
                                              {teLowered, cross},
                                              {teEmbossed, cross},
                                              {teLowerLeftShadow, QList<QPoint>{{-3, 3}}},
                                              {teLowerRightShadow, QList<QPoint>{{3, 3}}},
                                              {teUpperLeftShadow, QList<QPoint>{{-3, -3}}},
                                              {teUpperRightShadow, QList<QPoint>{{3, -3}}}}) {
            TZTPanel panel;
            panel.resize(QSize(120, 40));
            Plain(panel);
            panel.SetCaption("ABC");
            panel.SetShadowColor(clRed);
            panel.SetShadowDepth(3);
            const QImage plain = Render(panel);
            const QRect plainBox = Box(plain, qRgb(0, 0, 0));
            panel.SetTextEffect(effect);
            const QImage shown = Render(panel);
            QCOMPARE(Box(shown, qRgb(0, 0, 0)), plainBox);
            for (int y = plainBox.top(); y <= plainBox.bottom(); ++y)
                for (int x = plainBox.left(); x <= plainBox.right(); ++x)
                    QVERIFY(Pixel(plain, x, y) != qRgb(0, 0, 0) || Pixel(shown, x, y) == qRgb(0, 0, 0));
            const QRect shadow = Box(shown, qRgb(255, 0, 0));
            QRect expected;
            for (const QPoint& offset : offsets) expected |= plainBox.translated(offset);
            QCOMPARE(shadow.isEmpty(), offsets.isEmpty());
            QVERIFY(offsets.isEmpty() || expected.contains(shadow));
        }
    }

    // Flat or turned, the caption keeps to its side (0 left, 1 top, 2 right, 3 bottom, -1 centre), inside.
    void panelCaptionPlacement() {
        for (const TTextRotation rotation : {trNone, TrUp, TrDown})
            for (const auto& [alignment, vertAlign, side] : {std::tuple{taLeftJustify, ztCenter, 0},
                                                             {taCenter, ztTop, 1},
                                                             {taRightJustify, ztCenter, 2},
                                                             {taCenter, ZtBottom, 3},
                                                             {taCenter, ztCenter, -1}}) {
                TZTPanel panel;
                panel.resize(QSize(200, 200));
                Plain(panel);
                panel.SetCaption("Help");
                panel.SetTextRotation(rotation);
                panel.SetAlignment(alignment);
                panel.SetVertAlign(vertAlign);
                const QRect text = Box(Render(panel), qRgb(0, 0, 0));
                const QRect inner = panel.InnerRect();
                const int gaps[] = {text.left() - inner.left(), text.top() - inner.top(),
                                    inner.right() - text.right(), inner.bottom() - text.bottom()};
                QCOMPARE(text.height() > text.width(), rotation != trNone);
                QVERIFY2(side >= 0 ? gaps[side] < 8 : qAbs(gaps[0] - gaps[2]) + qAbs(gaps[1] - gaps[3]) < 16,
                         qPrintable(QString("turned %1, side %2").arg(rotation).arg(side)));
                panel.SetCaption("A caption far too long for this small panel, and longer still than that");
                QVERIFY(inner.contains(Box(Render(panel), qRgb(0, 0, 0))));
            }
    }

    // The text in black over its red shadow, whose outer edges are the text's moved by the offset.
    void labelPainting() {
        for (const auto& [position, offset] : {std::pair{spLeftTop, QPoint(-2, -2)},
                                               {spLeftBottom, QPoint(-2, 2)},
                                               {spRightBottom, QPoint(2, 2)},
                                               {spRightTop, QPoint(2, -2)}}) {
            TZTLabel label;
            Plain(label);
            label.SetAutoSize(false);
            label.resize(60, 30);
            label.SetAlignment(taCenter);
            label.SetLayout(tlCenter);
            label.SetShadowSize(2);
            label.SetShadowPos(position);
            label.SetCaption("XH");
            const QImage shown = Render(label);
            const QRect text = Box(shown, qRgb(0, 0, 0));
            const QRect shadow = Box(shown, qRgb(255, 0, 0));
            QVERIFY(!shadow.isEmpty() && text.translated(offset).contains(shadow));
            QCOMPARE(text | shadow, text | text.translated(offset));
        }
        TZTLabel label;
        Plain(label);
        label.SetCaption("HH");
        QCOMPARE(Pixel(Render(label), label.width() - 1, 0), qRgb(255, 255, 255));
        label.SetShadowSize(0);
        QVERIFY(Box(Render(label), qRgb(255, 0, 0)).isEmpty());
        label.SetTransparent(true);
        QCOMPARE(Pixel(Render(label), label.width() - 1, 0), kUntouched);
        // Disabled, it is engraved: grey text over a light shadow one pixel right and down, shadow or not.
        label.setEnabled(false);
        const QImage shown = Render(label);
        const QRgb grey = QApplication::palette().color(QPalette::Disabled, QPalette::Text).rgb();
        const QRgb light = QApplication::palette().color(QPalette::Active, QPalette::Light).rgb();
        const QRect text = Box(shown, grey);
        QVERIFY(grey != light && !text.isEmpty());
        QCOMPARE(Box(shown, light).bottomRight(), text.bottomRight() + QPoint(1, 1));
    }

    void labelSizeAndLayout() {
        QWidget parent;
        auto* label = new TZTLabel(&parent);
        Plain(*label);
        label->SetCaption("Short");
        // The text, its one-pixel shadow, and a pixel either side.
        const QRect text =
            QFontMetrics(CrispFont()).boundingRect(QRect(0, 0, 1000, 1000), Qt::AlignLeft, "Short");
        QCOMPARE(label->size(), text.size() + QSize(1 + 2, 1));
        // Top, centre or bottom of a taller label.
        const QRect atTop = Box(Render(*label), qRgb(0, 0, 0));
        const int room = 60 - label->height();
        label->SetAutoSize(false);
        label->resize(label->width(), 60);
        for (const auto& [layout, shift] : {std::pair{tlTop, 0}, {tlCenter, room / 2}, {tlBottom, room}}) {
            label->SetLayout(layout);
            QCOMPARE(Box(Render(*label), qRgb(0, 0, 0)), atTop.translated(0, shift));
        }
        label->SetAutoSize(true);
        // An empty caption or a lone access key measures as a space; shown literally, "&" takes room.
        label->SetCaption(" ");
        const QSize space = label->size();
        for (const char* caption : {"", "&"}) {
            label->SetCaption(caption);
            QCOMPARE(label->size(), space);
        }
        label->SetShowAccelChar(false);
        QVERIFY(label->width() > space.width());
        // A right-justified label grows to the left.
        label->SetAlignment(taRightJustify);
        label->move(100, 10);
        const int right = label->geometry().right();
        label->SetCaption("Right justified caption");
        QCOMPARE(label->geometry().right(), right);
        QVERIFY(label->x() < 100);
    }

    void viewDecoration() {
        ViewDecoration<TZTCustomListView>(false);
        ViewDecoration<TZTCustomTreeView>(false);
        ViewDecoration<TZTCustomTreeView>(true);
    }
};

QTEST_MAIN(DecoratedWidgetsTest)
#include "DecoratedWidgetsTest.moc"
