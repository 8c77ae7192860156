#include "MainFormDesign.h"

namespace odz {

QStringList FilterItems() {
    return {QStringLiteral("All Files (*.*)"), QStringLiteral("Text Files (*.txt)"),
            QStringLiteral("All THML Files (*.htm;*.shtm;;*.asp;*.jsp)")};
}

QString FilterMask(int position, const QString& typedText) {
    switch (position) {
        case 0:
            return QStringLiteral("*.*");
        case 1:
            return QStringLiteral("*.txt");
        case kHtmlFilter:
            return QStringLiteral("*.htm;*.shtm;*.asp;*jsp");
        default:
            return typedText;
    }
}

}  // namespace odz
