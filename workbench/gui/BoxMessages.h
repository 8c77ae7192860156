#pragma once

#include <QPointer>
#include <QWidget>

#include "Messages.h"

namespace odz {

// The program's real message boxes, shown over the main window. While a box is open the normal
// cursor is shown, whatever busy cursor an operation has put up.
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

private:
    QPointer<QWidget> FOwner;
};

}  // namespace odz
