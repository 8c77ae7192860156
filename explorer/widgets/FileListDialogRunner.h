#pragma once

#include <functional>

class QDialog;

namespace odz {

// Shows one of the file list's own dialogs (attributes, send to any folder) and gives its result code.
// Tests install their own runner, which fills in the dialog and answers for the user; an empty function
// restores the default: a modal dialog, except on the platforms that draw nowhere, where nobody could
// answer it and the dialog counts as cancelled.
using TDialogRunner = std::function<int(QDialog& dialog)>;
int RunDialog(QDialog& dialog);
void SetDialogRunner(TDialogRunner runner);

}  // namespace odz
