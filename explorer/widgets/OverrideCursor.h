#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace odz {

// The application's cursor in one shape (the busy cursor unless told) for as long as the guard lives or
// until it is released, so that every way out of an operation gives the user back the cursor they
// had. Guards nest.
class TOverrideCursor {
public:
    explicit TOverrideCursor(Qt::CursorShape shape = Qt::WaitCursor) {
        QGuiApplication::setOverrideCursor(shape);
    }
    ~TOverrideCursor() { Release(); }
    TOverrideCursor(const TOverrideCursor&) = delete;
    TOverrideCursor& operator=(const TOverrideCursor&) = delete;

    void Release() {
        if (FSet) QGuiApplication::restoreOverrideCursor();
        FSet = false;
    }

private:
    bool FSet = true;
};

}  // namespace odz
