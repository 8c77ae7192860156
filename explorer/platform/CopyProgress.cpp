#include "CopyProgress.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ShellRoutines.h"

namespace odz {

namespace {

constexpr int kSteps = 1000;       // the bar counts in int; byte totals do not fit
constexpr int kShowAfterMs = 700;  // short copies finish without a window flashing up

qint64 Now() {
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    return clock.elapsed();
}

// The window: the file being copied, the bar, and Cancel. Closing it is a Cancel too.
class TProgressWindow : public QDialog {
public:
    TProgressWindow(QWidget* owner, const QString& title) : QDialog(owner) {
        setObjectName(QStringLiteral("CopyProgress"));
        setWindowTitle(title);
        setWindowModality(Qt::WindowModal);
        auto* layout = new QVBoxLayout(this);
        FLabel = new QLabel(this);
        FLabel->setMinimumWidth(360);
        FLabel->setTextFormat(Qt::PlainText);
        FBar = new QProgressBar(this);
        FBar->setRange(0, kSteps);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        layout->addWidget(FLabel);
        layout->addWidget(FBar);
        layout->addWidget(buttons);
    }
    void Show(const QString& file, int step) {
        FLabel->setText(file);
        FBar->setValue(step);
    }
    bool Canceled() const { return FCanceled; }
    void ForgetCancel() { FCanceled = false; }
    void reject() override {
        FCanceled = true;
        hide();
    }

private:
    QLabel* FLabel = nullptr;
    QProgressBar* FBar = nullptr;
    bool FCanceled = false;
};

TProgressWindow* AsWindow(QDialog* dialog) {
    return static_cast<TProgressWindow*>(dialog);
}

}  // namespace

TCopyProgressDialog::TCopyProgressDialog(int showAfterMs, bool evenOffScreen)
    : FShowAfterMs(showAfterMs), FEvenOffScreen(evenOffScreen) {}

TCopyProgressDialog::~TCopyProgressDialog() {
    Finish();
}

void TCopyProgressDialog::Start(QWidget* owner, const QString& title, qint64 totalBytes) {
    Finish();
    FTotal = totalBytes;
    FCounted = 0;
    FSince = Now();
    FSuspended = false;
    FWasVisible = false;
    FCanceledBefore = false;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    if (IsHeadlessPlatform() && !FEvenOffScreen) return;
    // Owned by its owner window, so that closing that window takes it along.
    FWindow = new TProgressWindow(owner ? owner : QApplication::activeWindow(), title);
}

bool TCopyProgressDialog::Due() const {
    return FCounted + (Now() - FSince) >= FShowAfterMs;
}

bool TCopyProgressDialog::Step(const QString& currentFile, qint64 doneBytes) {
    if (!FWindow) return true;
    TProgressWindow* window = AsWindow(FWindow);
    if (!FSuspended && !window->isVisible() && !window->Canceled() && Due()) window->show();
    if (window->isVisible()) {
        const qint64 step = FTotal > 0 ? doneBytes * kSteps / FTotal : kSteps;
        window->Show(currentFile, static_cast<int>(std::clamp<qint64>(step, 0, kSteps - 1)));
        // The user's Cancel arrives here.
        QCoreApplication::processEvents();
    }
    return !FWindow || !AsWindow(FWindow)->Canceled();
}

void TCopyProgressDialog::Finish() {
    delete FWindow.data();
}

void TCopyProgressDialog::Suspend() {
    if (FSuspended) return;
    FSuspended = true;
    FCounted += Now() - FSince;
    if (!FWindow) return;
    FCanceledBefore = AsWindow(FWindow)->Canceled();
    FWasVisible = FWindow->isVisible();
    FWindow->hide();
}

bool TCopyProgressDialog::Resume() {
    if (!FSuspended) return false;
    FSuspended = false;
    FSince = Now();
    if (!FWindow) return false;
    TProgressWindow* window = AsWindow(FWindow);
    // A Cancel that reached the window while the question was open is the caller's to carry out
    // once the answer has been; the work for the answer goes on undisturbed.
    const bool canceledMeanwhile = window->Canceled() && !FCanceledBefore;
    if (canceledMeanwhile) window->ForgetCancel();
    if (FWasVisible && !window->Canceled()) window->show();
    return canceledMeanwhile;
}

namespace {

TCopyProgressDialog& DefaultProgress() {
    static TCopyProgressDialog progress(kShowAfterMs);
    return progress;
}

TCopyProgress* gProgress = nullptr;

}  // namespace

TCopyProgress& CopyProgress() {
    return gProgress ? *gProgress : DefaultProgress();
}

void SetCopyProgress(TCopyProgress* progress) {
    gProgress = progress;
}

}  // namespace odz
