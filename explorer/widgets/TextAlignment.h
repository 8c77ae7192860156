#pragma once

#include <Qt>

namespace odz {

// Horizontal placement of a caption, with the names form files store.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Vertical placement of a label's text.
enum TTextLayout { tlTop, tlCenter, tlBottom };

constexpr Qt::AlignmentFlag HorizontalAlignment(TAlignment alignment) {
    switch (alignment) {
        case taRightJustify:
            return Qt::AlignRight;
        case taCenter:
            return Qt::AlignHCenter;
        default:
            return Qt::AlignLeft;
    }
}

}  // namespace odz
