#include "Colors.h"

#include <QGuiApplication>

namespace odz {

QColor ColorToRgb(TColor color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>(color >> 8 & 0xFF),
                  static_cast<int>(color >> 16 & 0xFF));
}

TSystemColorRole SystemColorRole(TColor color) {
    using P = QPalette;
    // Chosen so that a form designed on the other desktop keeps its look: faces and frames take the
    // button roles, window interiors the base, captions the highlight.
    switch (color & 0xFF) {
        case 0:
            return {P::Active, P::Button};  // scroll bar
        case 1:
            return {P::Active, P::Window};  // desktop
        case 2:
            return {P::Active, P::Highlight};  // active caption
        case 3:
            return {P::Inactive, P::Mid};  // inactive caption
        case 4:
            return {P::Active, P::Window};  // menu
        case 5:
            return {P::Active, P::Base};  // window
        case 6:
            return {P::Active, P::Shadow};  // window frame
        case 7:
            return {P::Active, P::WindowText};  // menu text
        case 8:
            return {P::Active, P::Text};  // window text
        case 9:
            return {P::Active, P::HighlightedText};  // caption text
        case 10:
            return {P::Active, P::Button};  // active border
        case 11:
            return {P::Inactive, P::Button};  // inactive border
        case 12:
            return {P::Active, P::Dark};  // application work space
        case 13:
            return {P::Active, P::Highlight};  // highlight
        case 14:
            return {P::Active, P::HighlightedText};  // highlight text
        case 15:
            return {P::Active, P::Button};  // button face
        case 16:
            return {P::Active, P::Dark};  // button shadow
        case 17:
            return {P::Disabled, P::Text};  // grey text
        case 18:
            return {P::Active, P::ButtonText};  // button text
        case 19:
            return {P::Inactive, P::HighlightedText};  // inactive caption text
        case 20:
            return {P::Active, P::Light};  // button highlight
        case 21:
            return {P::Active, P::Shadow};  // 3-D dark shadow
        case 22:
            return {P::Active, P::Midlight};  // 3-D light
        case 23:
            return {P::Active, P::ToolTipText};  // tool tip text
        case 24:
            return {P::Active, P::ToolTipBase};  // tool tip background
        case 26:
            return {P::Active, P::Link};  // hot-tracked item
        case 27:
            return {P::Active, P::Highlight};  // caption gradient, active
        case 28:
            return {P::Inactive, P::Mid};  // caption gradient, inactive
        case 29:
            return {P::Active, P::Highlight};  // menu highlight
        default:
            return {P::Active, P::Window};  // menu bar and anything unknown
    }
}

QColor ResolveColor(TColor color, const QPalette& palette) {
    if (!IsSystemColor(color)) return ColorToRgb(color);
    const TSystemColorRole which = SystemColorRole(color);
    return palette.color(which.group, which.role);
}

QColor ResolveColor(TColor color) {
    return ResolveColor(color, QGuiApplication::palette());
}

TColor ColorFromQColor(const QColor& color) {
    return RGBColor(color.red(), color.green(), color.blue());
}

}  // namespace odz
