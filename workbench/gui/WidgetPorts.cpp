#include "WidgetPorts.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <limits>

#include "Messages.h"

namespace odz {

namespace {

constexpr std::int64_t kBarLimit = std::numeric_limits<int>::max();
constexpr int kPaintIntervalMs = 40;

}  // namespace

TProgressBarPort::TProgressBarPort(QProgressBar& bar) : FBar(&bar) {
    FSincePaint.start();
}

void TProgressBarPort::SetMax(std::int64_t max) {
    FMax = std::max<std::int64_t>(max, 0);
    FDivisor = FMax / kBarLimit + 1;
    // A bar with the maximum 0 shows a busy animation: a level without files shows an empty bar.
    if (FBar) FBar->setMaximum(std::max(1, static_cast<int>(FMax / FDivisor)));
    Show();
}

void TProgressBarPort::SetPosition(std::int64_t position) {
    FPosition = position;
    Show();
}

void TProgressBarPort::Show() {
    if (!FBar) return;
    const std::int64_t shown = std::clamp<std::int64_t>(FPosition, 0, FMax) / FDivisor;
    if (FBar->value() == shown) return;
    FBar->setValue(static_cast<int>(shown));
    if (FSincePaint.elapsed() >= kPaintIntervalMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        FSincePaint.restart();
    }
}

TWindowUserPort::~TWindowUserPort() {
    while (FBusy > 0) EndBusy();
}

void TWindowUserPort::Information(const QString& text) {
    Messages().Information(text);
}

TAnswer TWindowUserPort::Confirm(const QString& text, bool withCancel) {
    return Messages().Confirm(text, withCancel);
}

void TWindowUserPort::ShowError(const QString& text) {
    Messages().Error(text);
}

void TWindowUserPort::InformationWithDetails(const QString& text, const QString& details) {
    Messages().InformationWithDetails(text, details);
}

void TWindowUserPort::ErrorWithDetails(const QString& text, const QString& details) {
    Messages().ErrorWithDetails(text, details);
}

void TWindowUserPort::BeginBusy() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ++FBusy;
}

void TWindowUserPort::EndBusy() {
    if (FBusy == 0) return;
    --FBusy;
    QGuiApplication::restoreOverrideCursor();
}

TAnswer TWindowUserPort::AskYesNoCancel(std::string_view text) {
    return Messages().Confirm(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), true);
}

}  // namespace odz
