#include "CopyProgress.h"

#include <QApplication>
#include <QPointer>
#include <QProgressDialog>
#include <algorithm>
#include <memory>

#include "ShellRoutines.h"

namespace odz {

namespace {

constexpr int kSteps = 1000;       // the dialog counts in int; byte totals do not fit
constexpr int kShowAfterMs = 700;  // short copies finish without a dialog flashing up

class TDialogProgress : public TCopyProgress {
public:
    void Start(QWidget* owner, const QString& title, qint64 totalBytes) override {
        FTotal = totalBytes;
        Finish();
        if (IsHeadlessPlatform() || !qobject_cast<QApplication*>(QCoreApplication::instance())) return;
        FDialog = std::make_unique<QProgressDialog>(title, QStringLiteral("Cancel"), 0, kSteps,
                                                    owner ? owner : QApplication::activeWindow());
        FDialog->setWindowTitle(title);
        FDialog->setWindowModality(Qt::WindowModal);
        FDialog->setMinimumDuration(kShowAfterMs);
        FDialog->setAutoClose(false);
        FDialog->setAutoReset(false);
        FDialog->setValue(0);
        FWatch = FDialog.get();
    }

    bool Step(const QString& currentFile, qint64 doneBytes) override {
        if (!FDialog || !FWatch) return true;
        FDialog->setLabelText(currentFile);
        const qint64 step = FTotal > 0 ? doneBytes * kSteps / FTotal : kSteps;
        // A window-modal dialog lets the events through in setValue, Cancel included.
        FDialog->setValue(static_cast<int>(std::clamp<qint64>(step, 0, kSteps - 1)));
        return !FDialog->wasCanceled();
    }

    void Finish() override {
        // Closing the owner window while the copy ran has already deleted the dialog with it.
        if (FDialog && !FWatch) (void)FDialog.release();
        FDialog.reset();
    }

private:
    std::unique_ptr<QProgressDialog> FDialog;
    QPointer<QProgressDialog> FWatch;
    qint64 FTotal = 0;
};

TDialogProgress gDialogProgress;
TCopyProgress* gProgress = &gDialogProgress;

}  // namespace

TCopyProgress& CopyProgress() {
    return *gProgress;
}

void SetCopyProgress(TCopyProgress* progress) {
    gProgress = progress ? progress : &gDialogProgress;
}

}  // namespace odz
