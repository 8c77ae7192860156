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

// A list this long goes behind the box's "Show Details..." button instead of into the text.
constexpr qsizetype kLinesShown = 12;

QString Title() {
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Odizodoruz") : name;
}

// A box whose list follows the text when it is short and can be opened when it is long.
void ShowWithDetails(QWidget* owner, QMessageBox::Icon icon, const QString& text, const QString& details) {
    const TNormalCursor cursor;
    QMessageBox box(icon, Title(), text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);  // file names are never markup
    if (details.count(QLatin1Char('\n')) < kLinesShown) {
        if (!details.isEmpty()) box.setText(text + QStringLiteral("\n\n") + details);
    } else {
        box.setInformativeText(
            QStringLiteral("The files that were not converted are listed under Show Details."));
        box.setDetailedText(details);
    }
    box.exec();
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

void TBoxMessages::InformationWithDetails(const QString& text, const QString& details) {
    ShowWithDetails(FOwner, QMessageBox::Information, text, details);
}

void TBoxMessages::ErrorWithDetails(const QString& text, const QString& details) {
    ShowWithDetails(FOwner, QMessageBox::Critical, text, details);
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
