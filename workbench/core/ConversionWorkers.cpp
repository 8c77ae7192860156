#include "ConversionWorkers.h"

namespace odz {

TConversionWorkers::TConversionWorkers(const TRaRaru& model, int count) {
    for (int i = 0; i < count; ++i) {
        auto engine = std::make_unique<TRaRaru>(model.SettingsFile());
        engine->SetTransDau(model.GetTrans());
        FEngines.push_back(std::move(engine));
    }
    for (const auto& engine : FEngines) FThreads.emplace_back([this, &engine = *engine] { Work(engine); });
}

TConversionWorkers::~TConversionWorkers() {
    {
        const std::lock_guard lock(FLock);
        FEnding = true;
    }
    FReady.notify_all();
    for (std::thread& thread : FThreads) thread.join();
}

void TConversionWorkers::Give(TTask task) {
    {
        const std::lock_guard lock(FLock);
        FTasks.push_back(std::move(task));
    }
    FReady.notify_one();
}

bool TPutInPlaceTurns::Wait(std::size_t file) {
    std::unique_lock lock(FLock);
    FChanged.wait(lock, [&] { return FFinishedBelow >= file; });
    return FFirstFailed >= file;
}

void TPutInPlaceTurns::Finish(std::size_t file, bool failed) {
    {
        const std::lock_guard lock(FLock);
        if (failed && file < FFirstFailed) FFirstFailed = file;
        const std::size_t at = file - FFinishedBelow;
        if (FFinished.size() <= at) FFinished.resize(at + 1);
        FFinished[at] = true;
        std::size_t done = 0;
        while (done < FFinished.size() && FFinished[done]) ++done;
        FFinished.erase(FFinished.begin(), FFinished.begin() + static_cast<std::ptrdiff_t>(done));
        FFinishedBelow += done;
    }
    FChanged.notify_all();
}

void TConversionWorkers::Work(TRaRaru& engine) {
    for (;;) {
        TTask task;
        {
            std::unique_lock lock(FLock);
            FReady.wait(lock, [this] { return FEnding || !FTasks.empty(); });
            if (FTasks.empty()) return;
            task = std::move(FTasks.front());
            FTasks.pop_front();
        }
        task(engine);
    }
}

}  // namespace odz
