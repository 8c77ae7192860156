#pragma once

#include <QPixmap>
#include <QRect>
#include <QSize>

class QPainter;

namespace odz {

// How a background picture is placed. The panel's name for the same set is TZTPImageMode.
enum TImageMode { imNone, imStretched, imStretchRatio, imCentered, imTiled };
using TZTPImageMode = TImageMode;

// The largest rectangle of the picture's proportions that fits the given rectangle, centred in it. A
// picture without width or height gets the whole rectangle. Sizes are whole pixels, truncated.
QRect FitPictureRect(const QRect& rect, const QSize& picture);

// The picture as drawn: when transparent is set, the colour of its bottom-left pixel is left out
// wherever it appears (a picture with an alpha channel keeps that too). A null picture stays null.
QPixmap TransparentPicture(const QPixmap& picture, bool transparent);

// Fills the area with copies of the picture, unscaled, in a grid whose cells start at origin (which
// may lie above or left of the area). Nothing happens for a null picture.
void DrawTiled(QPainter& painter, const QPixmap& picture, const QRect& area, const QPoint& origin);

// The top-left corner that centres a picture of the given size in the rectangle, unscaled; negative
// offsets when the picture is larger.
QPoint CenteredPicturePos(const QRect& rect, const QSize& picture);

}  // namespace odz
