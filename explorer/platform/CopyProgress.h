#pragma once

#include <QString>

class QWidget;

namespace odz {

// What the user sees while files are copied or moved, and how they stop it.
class TCopyProgress {
public:
    virtual ~TCopyProgress() = default;
    virtual void Start(QWidget* owner, const QString& title, qint64 totalBytes) = 0;
    // Called as the work goes on; false when the user asked to stop.
    virtual bool Step(const QString& currentFile, qint64 doneBytes) = 0;
    virtual void Finish() = 0;
};

// The progress in use. By default a dialog that appears only when a copy takes a while (none on the
// off-screen platforms); tests install their own, nullptr restores the default.
TCopyProgress& CopyProgress();
void SetCopyProgress(TCopyProgress* progress);

}  // namespace odz
