#include "TemporaryFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace odz {

namespace {

// A handful of files are open at a time: a conversion's target and its rewrite, the settings file.
constexpr std::size_t kSlots = 32;
constexpr std::size_t kMaxName = 256;

enum TSlotState : int { kFree, kFilling, kNoted };

struct TSlot {
    std::atomic<int> state{kFree};
    int dirFd = -1;
    char name[kMaxName] = {};
};

static_assert(std::atomic<int>::is_always_lock_free, "the list is read inside signal handlers");

std::array<TSlot, kSlots> gSlots;

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

extern "C" void OnCleanupSignal(int signal) {
    const int savedErrno = errno;
    RemoveTemporaryFiles();
    // The handler was installed with SA_RESETHAND: the signal's own action ends the process as soon
    // as the handler returns, since the signal stays blocked until then.
    ::raise(signal);
    errno = savedErrno;
}

}  // namespace

TTemporaryFileEntry::TTemporaryFileEntry(int dirFd, std::string_view name) noexcept {
    if (name.empty() || name.size() >= kMaxName) return;
    for (std::size_t i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (!gSlots[i].state.compare_exchange_strong(expected, kFilling)) continue;
        gSlots[i].dirFd = dirFd;
        std::memcpy(gSlots[i].name, name.data(), name.size());
        gSlots[i].name[name.size()] = '\0';
        gSlots[i].state.store(kNoted);
        FSlot = static_cast<int>(i);
        return;
    }
}

void TTemporaryFileEntry::Release() noexcept {
    if (FSlot < 0) return;
    gSlots[static_cast<std::size_t>(FSlot)].state.store(kFree);
    FSlot = -1;
}

void RemoveTemporaryFiles() noexcept {
    for (TSlot& slot : gSlots) {
        if (slot.state.load() == kNoted) ::unlinkat(slot.dirFd, slot.name, 0);
    }
}

void RemoveTemporaryFilesOnSignals() {
    struct sigaction action {};
    action.sa_handler = OnCleanupSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : kCleanupSignals) sigaddset(&action.sa_mask, signal);
    action.sa_flags = SA_RESETHAND;
    for (const int signal : kCleanupSignals) ::sigaction(signal, &action, nullptr);
}

void EndOnSignal(int signal) noexcept {
    RemoveTemporaryFiles();
    std::signal(signal, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(signal);
    // A signal whose own action does not end the process.
    ::_exit(128 + signal);
}

}  // namespace odz
