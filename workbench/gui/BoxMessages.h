#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "Messages.h"

namespace odz {

// The program's real message boxes, shown over the window that has the user's attention: an open
// dialog (a question asked from inside it must not hide behind it), else the main window. While a box
// is open the normal cursor is shown, whatever busy cursor an operation has put up.
class TBoxMessages : public TMessages {
public:
    explicit TBoxMessages(QWidget* owner = nullptr) : FOwner(owner) {}
    void SetOwner(QWidget* owner) { FOwner = owner; }

    void Information(const QString& text) override;
    void Warning(const QString& text) override;
    void Error(const QString& text) override;
    TAnswer Confirm(const QString& text, bool withCancel) override;
    void InformationWithDetails(const QString& text, const QString& details) override;
    void ErrorWithDetails(const QString& text, const QString& details) override;

    // The box itself, not yet shown: over the open dialog or the owner, and wide enough for its
    // whole title beside the buttons that the desktop puts in a title bar.
    std::unique_ptr<QMessageBox> NewBox(QMessageBox::Icon icon, const QString& text,
                                        QMessageBox::StandardButtons buttons) const;

private:
    void ShowWithDetails(QMessageBox::Icon icon, const QString& text, const QString& details) const;

    QPointer<QWidget> FOwner;
};

// The room a box's title needs: the title in a bold font, the window's icon and the title bar's
// buttons.
int TitleRoom(const QString& title, const QFont& font);

}  // namespace odz
