#pragma once

#include <QByteArray>
#include <QFuture>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

#include "FileDetection.h"

namespace odz {

// Detects the encodings of the files of a list on a worker thread and hands the results back, a batch
// at a time, on the thread that started it, so that a folder of thousands of files lists at once and
// its Encoding column fills while the window goes on answering. Starting again drops what is left of
// the run before.
class TEncodingScan {
public:
    struct TFile {
        QString key;        // what the results are given by (the list's full path)
        QByteArray native;  // the path as the file system spells it
    };
    using TResults = QHash<QString, QString>;  // key: the text of the column

    explicit TEncodingScan(TFileDetector detector);
    ~TEncodingScan();
    TEncodingScan(const TEncodingScan&) = delete;
    TEncodingScan& operator=(const TEncodingScan&) = delete;

    void SetDetector(TFileDetector detector) { FDetector = std::move(detector); }
    // apply gets every batch, done follows the last one.
    void Start(QList<TFile> files, std::function<void(const TResults&)> apply, std::function<void()> done);
    void Cancel();
    bool Running() const { return FRunning; }

    // The column's text for a detection: the short name, with "?" when detection is not sure.
    static QString ColumnText(const TFileDetection& found);

private:
    TFileDetector FDetector;
    QObject FContext;  // where the batches are delivered; gone with the scan
    std::shared_ptr<std::atomic_bool> FCancel;
    QList<QFuture<void>> FWorkers;
    quint64 FGeneration = 0;
    bool FRunning = false;
};

}  // namespace odz
