#include "QuitSignals.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <csignal>

#include "TemporaryFiles.h"

namespace odz {

namespace {

// The two ends of the socket pair: the handler writes a byte to the first, the event loop reads the
// second. A signal handler may do nothing more than that.
int gSignalSockets[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void OnQuitSignal(int signal) {
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const auto written = ::write(gSignalSockets[0], &byte, 1);
}

}  // namespace

TQuitSignals::TQuitSignals(std::function<void()> onSignal, std::function<bool()> busy, QObject* parent)
    : QObject(parent), FOnSignal(std::move(onSignal)), FBusy(std::move(busy)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalSockets) != 0) return;
    FNotifier = new QSocketNotifier(gSignalSockets[1], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &TQuitSignals::Received);
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

TQuitSignals::~TQuitSignals() {
    for (int signal : kSignals) std::signal(signal, SIG_DFL);
    delete FNotifier;
    for (int& socket : gSignalSockets) {
        if (socket >= 0) ::close(socket);
        socket = -1;
    }
}

void TQuitSignals::Received() {
    char byte = 0;
    [[maybe_unused]] const auto read = ::read(gSignalSockets[1], &byte, 1);
    if (FBusy && FBusy()) EndOnSignal(static_cast<unsigned char>(byte));
    if (FOnSignal) FOnSignal();
}

}  // namespace odz
