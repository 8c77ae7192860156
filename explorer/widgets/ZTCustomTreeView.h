#pragma once

#include <QTreeView>

#include "DecoratedView.h"

namespace odz {

// A tree view (the folder tree, or the details view of a file list) whose background is a gradient or
// a picture. It is a plain item view: the model is set from outside. A details view sets
// ScrollingBackground so that the decoration moves with its rows.
class TZTCustomTreeView : public TDecoratedView<QTreeView> {
    Q_OBJECT
public:
    explicit TZTCustomTreeView(QWidget* parent = nullptr);
};

}  // namespace odz
