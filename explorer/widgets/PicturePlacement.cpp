#include "PicturePlacement.h"

#include <QImage>
#include <QPainter>
#include <cstdint>

namespace odz {

namespace {

// Floor division, so that a grid origin left of or above the area still lines up.
int FloorDiv(int value, int divisor) {
    const int quotient = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

}  // namespace

QRect FitPictureRect(const QRect& rect, const QSize& picture) {
    const int w = rect.width();
    const int h = rect.height();
    const int pw = picture.width();
    const int ph = picture.height();
    if (pw < 1 || ph < 1) return rect;
    // w / pw > h / ph, compared exactly.
    if (static_cast<std::int64_t>(w) * ph > static_cast<std::int64_t>(h) * pw) {
        const int width = static_cast<int>(static_cast<std::int64_t>(pw) * h / ph);
        return QRect(rect.left() + (w - width) / 2, rect.top(), width, h);
    }
    const int height = static_cast<int>(static_cast<std::int64_t>(ph) * w / pw);
    return QRect(rect.left(), rect.top() + (h - height) / 2, w, height);
}

QPixmap TransparentPicture(const QPixmap& picture, bool transparent) {
    if (!transparent || picture.isNull()) return picture;
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] == key) line[x] = qRgba(0, 0, 0, 0);
    }
    QPixmap drawn = QPixmap::fromImage(image);
    drawn.setDevicePixelRatio(picture.devicePixelRatio());
    return drawn;
}

void DrawTiled(QPainter& painter, const QPixmap& picture, const QRect& area, const QPoint& origin) {
    if (picture.isNull() || area.isEmpty()) return;
    const QSize cell = picture.deviceIndependentSize().toSize();
    if (cell.width() < 1 || cell.height() < 1) return;
    const int firstColumn = FloorDiv(area.left() - origin.x(), cell.width());
    const int lastColumn = FloorDiv(area.right() - origin.x(), cell.width());
    const int firstRow = FloorDiv(area.top() - origin.y(), cell.height());
    const int lastRow = FloorDiv(area.bottom() - origin.y(), cell.height());
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column)
            painter.drawPixmap(origin.x() + column * cell.width(), origin.y() + row * cell.height(), picture);
}

QPoint CenteredPicturePos(const QRect& rect, const QSize& picture) {
    return QPoint(rect.left() + (rect.width() - picture.width()) / 2,
                  rect.top() + (rect.height() - picture.height()) / 2);
}

}  // namespace odz
