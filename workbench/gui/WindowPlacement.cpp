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

// One axis of the placement: start and length, kept on a screen of the given length.
std::pair<int, int> KeptOnScreen(int start, int length, int screenLength) {
    if (start < 0) start = 0;
    if (start > screenLength - kLeastVisible) start = std::max(0, screenLength - length);
    if (start + length > screenLength) length = screenLength - start;
    return {start, length};
}

}  // namespace

QRect CorrectedPlacement(const QRect& current, const TSavedPlacement& saved, QSize screen) {
    const auto [left, width] = KeptOnScreen(saved.left.value_or(current.left()),
                                            saved.width.value_or(current.width()), screen.width());
    const auto [top, height] = KeptOnScreen(saved.top.value_or(current.top()),
                                            saved.height.value_or(current.height()), screen.height());
    return {left, top, width, height};
}

}  // namespace odz
