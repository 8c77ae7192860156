#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "TRaRaru.h"

namespace odz {

// Threads that convert files side by side. Each has an engine of its own, set up with the keys of
// the engine given (an engine keeps the converter of its last setup, so it serves one thread only).
// The work is taken in the order it is given.
// The files of a batch converted side by side, put in place in the order the walk gave them, and none
// after one that failed: what one at a time would have done, where the first failure ends the batch.
// Every file taken is finished once, whatever happens to it.
class TPutInPlaceTurns {
public:
    // The next file's number, in the walk's order.
    std::size_t Take() { return FTaken++; }
    // Waits until every file before the numbered one is finished; false when one of them failed.
    bool Wait(std::size_t file);
    void Finish(std::size_t file, bool failed);

private:
    std::mutex FLock;
    std::condition_variable FChanged;
    std::size_t FTaken = 0;               // taken on the walk's thread only
    std::size_t FFinishedBelow = 0;       // every file below this one is finished
    std::vector<bool> FFinished;          // from FFinishedBelow on
    std::size_t FFirstFailed = SIZE_MAX;  // the first file that failed
};

class TConversionWorkers {
public:
    using TTask = std::function<void(TRaRaru&)>;

    TConversionWorkers(const TRaRaru& model, int count);
    // Finishes the work given, then ends the threads.
    ~TConversionWorkers();
    TConversionWorkers(const TConversionWorkers&) = delete;
    TConversionWorkers& operator=(const TConversionWorkers&) = delete;

    void Give(TTask task);

private:
    void Work(TRaRaru& engine);

    std::mutex FLock;
    std::condition_variable FReady;
    std::deque<TTask> FTasks;
    bool FEnding = false;
    std::vector<std::unique_ptr<TRaRaru>> FEngines;
    std::vector<std::thread> FThreads;
};

}  // namespace odz
