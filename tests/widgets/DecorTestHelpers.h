#pragma once

// Pixel probes shared by the tests of the decorations and the decorated widgets.

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QWidget>

#include "Gradient.h"

namespace odz::test {

// A marker colour nothing in these tests paints with.
inline constexpr QRgb kUntouched = 0xFFFF00FF;

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

// The widget as it paints itself, over the marker colour.
inline QImage Render(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(kUntouched);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The bounding box of the pixels in one colour, and their number.
inline QRect Box(const QImage& image, QRgb colour, int* count = nullptr) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Pixel(image, x, y) == (colour | 0xFF000000)) {
                box |= QRect(x, y, 1, 1);
                if (count) ++*count;
            }
    return box;
}

}  // namespace odz::test
