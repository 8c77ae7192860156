#include "BoxMessages.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

namespace odz {

namespace {

// The arrow cursor over a box while an operation shows its busy cursor.
class TNormalCursor {
public:
    TNormalCursor() { QGuiApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~TNormalCursor() { QGuiApplication::restoreOverrideCursor(); }
    TNormalCursor(const TNormalCursor&) = delete;
    TNormalCursor& operator=(const TNormalCursor&) = delete;
};

QString Title() {
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Odizodoruz") : name;
}

}  // namespace

void TBoxMessages::Information(const QString& text) {
    const TNormalCursor cursor;
    QMessageBox::information(FOwner, Title(), text);
}

void TBoxMessages::Warning(const QString& text) {
    const TNormalCursor cursor;
    QMessageBox::warning(FOwner, Title(), text);
}

void TBoxMessages::Error(const QString& text) {
    const TNormalCursor cursor;
    QMessageBox::critical(FOwner, Title(), text);
}

TAnswer TBoxMessages::Confirm(const QString& text, bool withCancel) {
    const TNormalCursor cursor;
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) buttons |= QMessageBox::Cancel;
    const auto answer = QMessageBox::question(FOwner, Title(), text, buttons, QMessageBox::Yes);
    if (answer == QMessageBox::Yes) return TAnswer::Yes;
    if (answer == QMessageBox::No) return TAnswer::No;
    // Closing the box with Escape or its close button is a Cancel, or a No where there is no Cancel.
    return withCancel ? TAnswer::Cancel : TAnswer::No;
}

}  // namespace odz
