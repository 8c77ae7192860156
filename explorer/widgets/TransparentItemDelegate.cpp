#include "TransparentItemDelegate.h"

namespace odz {

TTransparentItemDelegate::TTransparentItemDelegate(std::function<bool()> transparent, QObject* parent)
    : QStyledItemDelegate(parent), FTransparent(std::move(transparent)) {}

void TTransparentItemDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (FTransparent && FTransparent()) option->backgroundBrush = Qt::NoBrush;
}

}  // namespace odz
