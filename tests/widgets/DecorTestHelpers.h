#pragma once

// Helpers shared by the tests of the decorated widgets: paint counting and pixel probes.

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPainter>
#include <QWidget>

#include "Colors.h"
#include "Gradient.h"

namespace odz::test {

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

// A marker colour nothing in these tests paints with.
inline constexpr QRgb kUntouched = 0xFFFF00FF;

// An image of the given size in the marker colour with one effect painted over rect.
inline QImage PaintedEffect(TBackEffect effect, TColor first, TColor second, const QSize& size,
                            const QRect& rect) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kUntouched);
    QPainter canvas(&image);
    PaintGradient(effect, first, second, canvas, rect);
    return image;
}

inline QRgb Entry(TColor first, TColor second, int index) {
    return BuildColorRamp(first, second)[index] | 0xFF000000;
}

inline QRgb Pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000;
}

// A font drawn without smoothing, so that every pixel is text, shadow or background.
inline QFont CrispFont() {
    QFont font = QApplication::font();
    font.setPixelSize(14);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// The widget as it paints itself, over the marker colour (or another background).
inline QImage Render(QWidget& widget, QRgb background = kUntouched) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(background);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The bounding box of the pixels in one colour, and their number.
inline QRect Box(const QImage& image, QRgb colour) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Pixel(image, x, y) == (colour | 0xFF000000)) box |= QRect(x, y, 1, 1);
    return box;
}

inline int Count(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += Pixel(image, x, y) == (colour | 0xFF000000);
    return count;
}

// A label drawn in black on white with a red shadow.
template <class TLabel>
void PlainLabel(TLabel& label) {
    label.setFont(CrispFont());
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label.setPalette(palette);
    label.SetColor(clWhite);
    label.SetShadowColor(clRed);
}

}  // namespace odz::test
