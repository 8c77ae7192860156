#include "EncodingScan.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

namespace odz {

namespace {

// A batch goes to the window after this many files or this much time, whichever comes first.
constexpr int kBatchFiles = 64;
constexpr qint64 kBatchMilliseconds = 50;

}  // namespace

TEncodingScan::TEncodingScan(TFileDetector detector) : FDetector(std::move(detector)) {}

TEncodingScan::~TEncodingScan() {
    Cancel();
    // A worker stops after the file it is reading; none may outlive what it reports to.
    for (QFuture<void>& worker : FWorkers) worker.waitForFinished();
}

QString TEncodingScan::ColumnText(const TFileDetection& found) {
    if (!found.problem.empty() || found.shortName.empty()) return {};
    const QString name = QString::fromStdString(found.shortName);
    return found.confident ? name : name + QLatin1Char('?');
}

void TEncodingScan::Cancel() {
    if (FCancel) *FCancel = true;
    FCancel.reset();
    ++FGeneration;
    FRunning = false;
}

void TEncodingScan::Start(QList<TFile> files, std::function<void(const TResults&)> apply,
                          std::function<void()> done) {
    Cancel();
    FWorkers.erase(std::remove_if(FWorkers.begin(), FWorkers.end(),
                                  [](const QFuture<void>& worker) { return worker.isFinished(); }),
                   FWorkers.end());
    FCancel = std::make_shared<std::atomic_bool>(false);
    FRunning = true;
    const quint64 generation = FGeneration;
    // Runs on this thread: a batch of a run that has been replaced or cancelled is dropped.
    const auto deliver = [this, generation, apply, done](const TResults& batch, bool last) {
        if (generation != FGeneration) return;
        if (!batch.isEmpty()) apply(batch);
        if (last) {
            FRunning = false;
            if (done) done();
        }
    };
    FWorkers << QtConcurrent::run(
        [files = std::move(files), detector = FDetector, cancel = FCancel, context = &FContext, deliver] {
            TResults batch;
            QElapsedTimer sinceLast;
            sinceLast.start();
            const auto post = [&](bool last) {
                QMetaObject::invokeMethod(
                    context, [deliver, batch, last] { deliver(batch, last); }, Qt::QueuedConnection);
                batch.clear();
                sinceLast.restart();
            };
            for (const TFile& file : files) {
                if (*cancel) return;
                const TFileDetection found = detector(std::filesystem::path(file.native.toStdString()));
                batch.insert(file.key, ColumnText(found));
                if (batch.size() >= kBatchFiles || sinceLast.elapsed() >= kBatchMilliseconds) post(false);
            }
            if (!*cancel) post(true);
        });
}

}  // namespace odz
