#pragma once

#include <QListView>

#include "DecoratedView.h"

namespace odz {

// A list view (icons, small icons, list) whose background is a gradient or a picture. It is a plain
// item view: the model is set from outside.
class TZTCustomListView : public TDecoratedView<QListView> {
    Q_OBJECT
public:
    explicit TZTCustomListView(QWidget* parent = nullptr);
};

}  // namespace odz
