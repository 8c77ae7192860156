#include "ZTCustomListView.h"

namespace odz {

TZTCustomListView::TZTCustomListView(QWidget* parent) : TDecoratedView<QListView>(parent) {}

}  // namespace odz
