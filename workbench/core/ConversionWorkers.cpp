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
