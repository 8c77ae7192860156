#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace odz {

// Many node changes drawn as one: painting is held back while the guard lives and restored as it was,
// so brackets may nest and every way out closes them.
class TDirTreeUpdateBracket {
public:
    explicit TDirTreeUpdateBracket(QWidget* widget) : FWidget(widget), FWasEnabled(widget->updatesEnabled()) {
        if (FWasEnabled) widget->setUpdatesEnabled(false);
    }
    ~TDirTreeUpdateBracket() {
        if (FWidget && FWasEnabled) FWidget->setUpdatesEnabled(true);
    }
    TDirTreeUpdateBracket(const TDirTreeUpdateBracket&) = delete;
    TDirTreeUpdateBracket& operator=(const TDirTreeUpdateBracket&) = delete;

private:
    QPointer<QWidget> FWidget;
    bool FWasEnabled;
};

// The error beep, where an application with windows runs.
inline void DirTreeBeep() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::beep();
}

}  // namespace odz
