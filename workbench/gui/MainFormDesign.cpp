#include "MainFormDesign.h"

#include <QComboBox>
#include <QCoreApplication>

namespace odz {

namespace {

constexpr char kDetectItem[] = "detect";

}  // namespace

QStringList FilterItems() {
    return {QCoreApplication::translate("odz::TMainForm", "All Files (*.*)"),
            QCoreApplication::translate("odz::TMainForm", "Text Files (*.txt)"),
            QCoreApplication::translate("odz::TMainForm", "All THML Files (*.htm;*.shtm;;*.asp;*.jsp)")};
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

void FillEncodingList(QComboBox& list, bool source) {
    for (int position = 0; position < kEncodingCount; ++position) {
        const TEncodingInfo& info = EncodingAt(position);
        const std::string_view item = source ? info.sourceText : info.targetText;
        list.addItem(QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size())),
                     QVariant::fromValue(info.encoding));
    }
    if (source) {
        list.addItem(QCoreApplication::translate("TMainForm", "Detect automatically"), QString(kDetectItem));
    }
    list.setCurrentIndex(-1);
}

std::optional<TEncoding> ChosenEncoding(const QComboBox& list) {
    const QVariant chosen = list.currentData();
    if (chosen.metaType() != QMetaType::fromType<TEncoding>()) return std::nullopt;
    return chosen.value<TEncoding>();
}

bool DetectChosen(const QComboBox& list) {
    return list.currentData() == QString(kDetectItem);
}

}  // namespace odz
