#include "BoxMessages.h"

#include <QApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>

#include "OverrideCursor.h"

namespace odz {

namespace {

// A list this long goes behind the box's "Show Details..." button instead of into the text.
constexpr qsizetype kLinesShown = 12;

QString Title() {
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Odizodoruz") : name;
}

// The answer a box was closed with.
QMessageBox::StandardButton Run(QMessageBox& box) {
    // The arrow cursor over a box while an operation shows its busy cursor.
    const TOverrideCursor cursor(Qt::ArrowCursor);
    box.exec();
    return box.standardButton(box.clickedButton());
}

}  // namespace

int TitleRoom(const QString& title, const QFont& font) {
    // Title bars write in bold and keep room for an icon and three buttons.
    constexpr int kTitleBarExtras = 160;
    QFont bold = font;
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(title) * 11 / 10 + kTitleBarExtras;
}

std::unique_ptr<QMessageBox> TBoxMessages::NewBox(QMessageBox::Icon icon, const QString& text,
                                                  QMessageBox::StandardButtons buttons) const {
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* parent = modal && modal->isVisible() ? modal : FOwner.data();
    auto box = std::make_unique<QMessageBox>(icon, Title(), text, buttons, parent);
    // The box is as wide as its layout needs at least: a blank row as wide as the title makes room.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        grid->addItem(new QSpacerItem(TitleRoom(box->windowTitle(), box->font()), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    return box;
}

void TBoxMessages::Information(const QString& text) {
    Run(*NewBox(QMessageBox::Information, text, QMessageBox::Ok));
}

void TBoxMessages::Warning(const QString& text) {
    Run(*NewBox(QMessageBox::Warning, text, QMessageBox::Ok));
}

void TBoxMessages::Error(const QString& text) {
    Run(*NewBox(QMessageBox::Critical, text, QMessageBox::Ok));
}

void TBoxMessages::InformationWithDetails(const QString& text, const QString& details) {
    ShowWithDetails(QMessageBox::Information, text, details);
}

void TBoxMessages::ErrorWithDetails(const QString& text, const QString& details) {
    ShowWithDetails(QMessageBox::Critical, text, details);
}

void TBoxMessages::ShowWithDetails(QMessageBox::Icon icon, const QString& text,
                                   const QString& details) const {
    // A short list follows the text; a long one can be opened under Show Details.
    const bool shortList = details.count(QLatin1Char('\n')) < kLinesShown;
    const auto box =
        NewBox(icon, shortList && !details.isEmpty() ? text + QStringLiteral("\n\n") + details : text,
               QMessageBox::Ok);
    box->setTextFormat(Qt::PlainText);  // file names are never markup
    if (!shortList) {
        box->setInformativeText(QCoreApplication::translate(
            "Batch", "The files that were not converted are listed under Show Details."));
        box->setDetailedText(details);
    }
    Run(*box);
}

TAnswer TBoxMessages::Confirm(const QString& text, bool withCancel) {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) buttons |= QMessageBox::Cancel;
    const auto box = NewBox(QMessageBox::Question, text, buttons);
    box->setDefaultButton(QMessageBox::Yes);
    const auto answer = Run(*box);
    if (answer == QMessageBox::Yes) return TAnswer::Yes;
    if (answer == QMessageBox::No) return TAnswer::No;
    // Closing the box with Escape or its close button is a Cancel, or a No where there is no Cancel.
    return withCancel ? TAnswer::Cancel : TAnswer::No;
}

}  // namespace odz
