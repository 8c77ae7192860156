#pragma once

#include <string_view>

namespace odz {

// The named temporary files this process has made beside the files it writes, so that an interrupted
// program can remove them on its way out. The list is shared by the whole process and may be read
// from a signal handler.
class TTemporaryFileEntry {
public:
    // Notes the file name in the folder dirFd (which must stay open while the entry lives). When the
    // list is full, or the name too long for it, nothing is noted: the file is then only removed by
    // its owner.
    TTemporaryFileEntry(int dirFd, std::string_view name) noexcept;
    ~TTemporaryFileEntry() { Release(); }
    TTemporaryFileEntry(const TTemporaryFileEntry&) = delete;
    TTemporaryFileEntry& operator=(const TTemporaryFileEntry&) = delete;

    // Forgets the file: it has been put in place or removed.
    void Release() noexcept;

private:
    int FSlot = -1;
};

// Removes every file on the list. Safe inside a signal handler.
void RemoveTemporaryFiles() noexcept;

// From now on SIGINT, SIGTERM, SIGHUP and SIGPIPE remove the files on the list, then end the process
// as the signal itself would have (a shell sees the status 128 + the signal's number).
void RemoveTemporaryFilesOnSignals();

// Removes the files on the list and ends the process as the signal would have.
[[noreturn]] void EndOnSignal(int signal) noexcept;

}  // namespace odz
