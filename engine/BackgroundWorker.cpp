#include "BackgroundWorker.h"

#include <pthread.h>

#include <csignal>
#include <utility>

namespace odz {

namespace {

// Blocks every signal but the faults a job may cause itself while the thread is made, so that the
// thread starts with them blocked; the caller's mask is put back afterwards.
class TSignalsBlocked {
public:
    TSignalsBlocked() {
        sigset_t all;
        sigfillset(&all);
        for (const int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGXFSZ}) sigdelset(&all, fault);
        FBlocked = ::pthread_sigmask(SIG_BLOCK, &all, &FOld) == 0;
    }
    ~TSignalsBlocked() {
        if (FBlocked) ::pthread_sigmask(SIG_SETMASK, &FOld, nullptr);
    }
    TSignalsBlocked(const TSignalsBlocked&) = delete;
    TSignalsBlocked& operator=(const TSignalsBlocked&) = delete;

private:
    sigset_t FOld{};
    bool FBlocked = false;
};

}  // namespace

TBackgroundWorker::TBackgroundWorker() {
    const TSignalsBlocked blocked;
    FThread = std::thread([this] { Run(); });
}

TBackgroundWorker::~TBackgroundWorker() {
    {
        std::unique_lock lock(FMutex);
        FChanged.wait(lock, [this] { return !FBusy; });
        FStop = true;
    }
    FChanged.notify_all();
    FThread.join();
}

void TBackgroundWorker::Post(std::function<void()> job) {
    {
        const std::lock_guard lock(FMutex);
        FJob = std::move(job);
        FError = nullptr;
        FBusy = true;
    }
    FChanged.notify_all();
}

void TBackgroundWorker::Wait() {
    std::unique_lock lock(FMutex);
    FChanged.wait(lock, [this] { return !FBusy; });
    if (FError) std::rethrow_exception(std::exchange(FError, nullptr));
}

void TBackgroundWorker::WaitQuietly() noexcept {
    std::unique_lock lock(FMutex);
    FChanged.wait(lock, [this] { return !FBusy; });
    FError = nullptr;
}

bool TBackgroundWorker::Worthwhile() noexcept {
    static const bool worthwhile = std::thread::hardware_concurrency() >= 2;
    return worthwhile;
}

std::unique_ptr<TBackgroundWorker> TBackgroundWorker::StartIfWorthwhile() noexcept {
    if (!Worthwhile()) return nullptr;
    try {
        return std::make_unique<TBackgroundWorker>();
    } catch (const std::exception&) {
        return nullptr;  // no thread to be had: the work is simply done in turn
    }
}

void TBackgroundWorker::Run() {
    std::unique_lock lock(FMutex);
    for (;;) {
        FChanged.wait(lock, [this] { return FBusy || FStop; });
        if (FStop) return;
        std::function<void()> job = std::move(FJob);
        lock.unlock();
        std::exception_ptr error;
        try {
            job();
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        FError = error;
        FBusy = false;
        FChanged.notify_all();
    }
}

}  // namespace odz
