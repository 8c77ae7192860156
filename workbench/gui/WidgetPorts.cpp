#include "WidgetPorts.h"

#include <QCoreApplication>
#include <algorithm>
#include <limits>

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

}  // namespace odz
