#include "WindowPlacement.h"

#include <algorithm>
#include <utility>

namespace odz {

QSize AdjustedWindowSize(QSize window, QSize screen) {
    if (screen.width() == kDesignScreen.width()) return window;
    const auto scaled = [](int length, int screenLength, int designLength) {
        return static_cast<int>(static_cast<long long>(length) * screenLength / designLength);
    };
    return {scaled(window.width(), screen.width(), kDesignScreen.width()),
            scaled(window.height(), screen.height(), kDesignScreen.height())};
}

double ControlScale(QSize screen) {
    if (screen.width() == kDesignScreen.width()) return 1.0;
    return static_cast<double>(screen.width()) / kDesignScreen.width();
}

namespace {

// A window placed (almost) beyond the screen's edge, as one saved on a larger screen can be, is moved
// back so that it shows at least this much of itself.
constexpr int kLeastVisible = 160;

// One axis of the placement: the frame's start and the inside's length, with `before` and `after` the
// frame's parts on either side, kept between `first` and `end` (one past the last pixel).
std::pair<int, int> KeptOnScreen(int start, int length, int before, int after, int first, int end) {
    if (start < first) start = first;
    if (start > end - kLeastVisible) start = std::max(first, end - (before + length + after));
    if (start + before + length + after > end) length = end - start - before - after;
    return {start, length};
}

}  // namespace

QRect CorrectedPlacement(const QRect& current, const TSavedPlacement& saved, const QRect& screen,
                         const QMargins& frame) {
    const auto [left, width] =
        KeptOnScreen(saved.left.value_or(current.left()), saved.width.value_or(current.width()), frame.left(),
                     frame.right(), screen.left(), screen.left() + screen.width());
    const auto [top, height] =
        KeptOnScreen(saved.top.value_or(current.top()), saved.height.value_or(current.height()), frame.top(),
                     frame.bottom(), screen.top(), screen.top() + screen.height());
    return {left, top, width, height};
}

}  // namespace odz
