#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace odz {

// A thread of its own that does one job at a time while the caller goes on, so that reading the next
// block of a big file overlaps with converting the current one. The caller
// waits for a job before it touches what the job works on, and before it posts the next one.
//
// The thread takes no signals meant for the process (an interruption is handled where it was before);
// the faults a job itself causes still reach it.
class TBackgroundWorker {
public:
    TBackgroundWorker();
    // Waits for the job in hand, then ends the thread.
    ~TBackgroundWorker();
    TBackgroundWorker(const TBackgroundWorker&) = delete;
    TBackgroundWorker& operator=(const TBackgroundWorker&) = delete;

    // Starts a job; the one before must have been waited for.
    void Post(std::function<void()> job);
    // Waits for the job in hand, if any, and rethrows what it threw.
    void Wait();
    // Waits without rethrowing: for paths that are giving up anyway.
    void WaitQuietly() noexcept;

    // A worker where overlapping is worth a thread (with one processor it only adds switches) and one
    // can be had; null otherwise.
    static std::unique_ptr<TBackgroundWorker> StartIfWorthwhile() noexcept;

private:
    static bool Worthwhile() noexcept;
    void Run();

    std::mutex FMutex;
    std::condition_variable FChanged;
    std::function<void()> FJob;
    bool FBusy = false;
    bool FStop = false;
    std::exception_ptr FError;
    std::thread FThread;  // last: started when everything it uses exists
};

}  // namespace odz
