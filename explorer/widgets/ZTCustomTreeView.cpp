#include "ZTCustomTreeView.h"

namespace odz {

TZTCustomTreeView::TZTCustomTreeView(QWidget* parent) : TDecoratedView<QTreeView>(parent) {}

}  // namespace odz
