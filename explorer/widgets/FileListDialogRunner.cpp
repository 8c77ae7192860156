#include "FileListDialogRunner.h"

#include <QDialog>

#include "ShellRoutines.h"

namespace odz {

namespace {

TDialogRunner& Runner() {
    static TDialogRunner runner;
    return runner;
}

}  // namespace

int RunDialog(QDialog& dialog) {
    if (const TDialogRunner& runner = Runner()) return runner(dialog);
    if (IsHeadlessPlatform()) return QDialog::Rejected;
    return dialog.exec();
}

void SetDialogRunner(TDialogRunner runner) {
    Runner() = std::move(runner);
}

}  // namespace odz
