#pragma once

#include <QRect>
#include <QSize>
#include <optional>

namespace odz {

// The window was laid out for a screen 1024 pixels wide and 768 high.
inline constexpr QSize kDesignScreen{1024, 768};

// The window's size on a screen of another width: the height follows the screen's height and the
// width its width, in whole pixels. A screen 1024 pixels wide keeps the size, whatever its height.
QSize AdjustedWindowSize(QSize window, QSize screen);
// How much the controls inside grow or shrink: only the screen's width decides.
double ControlScale(QSize screen);

// The saved placement, each part missing when it was not saved or unreadable.
struct TSavedPlacement {
    std::optional<int> left, top, width, height;
};

// The saved placement over the current bounds, kept on the screen: no negative left or top, and
// the right and bottom edges cut back to the screen's.
QRect CorrectedPlacement(const QRect& current, const TSavedPlacement& saved, QSize screen);

}  // namespace odz
