#pragma once

#include <condition_variable>
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
