#pragma once

#include <QMargins>
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

// The saved placement, each part missing when it was not saved or unreadable. Left and Top place the
// window's frame (what the user sees as the window); Width and Height are the size inside it.
struct TSavedPlacement {
    std::optional<int> left, top, width, height;
};

// The saved placement over the current bounds, kept on the screen's area: the frame (the inside plus
// `frame` around it) starts inside the area, and where it would reach beyond the area's right or
// bottom edge the inside is made smaller, so that the whole window is on the screen. A window saved
// (almost) beyond the area's edge, as on a larger screen, is moved back into it. Returns the frame's
// position and the inside's size.
QRect CorrectedPlacement(const QRect& current, const TSavedPlacement& saved, const QRect& screen,
                         const QMargins& frame = {});

}  // namespace odz
