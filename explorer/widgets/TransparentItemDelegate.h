#pragma once

#include <QStyledItemDelegate>
#include <functional>

namespace odz {

// The item delegate of the decorated views: while the view shows a decoration, items paint no
// background of their own (selection and focus are still drawn), so the decoration shows between and
// behind the texts.
class TTransparentItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TTransparentItemDelegate(std::function<bool()> transparent, QObject* parent);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    std::function<bool()> FTransparent;
};

}  // namespace odz
