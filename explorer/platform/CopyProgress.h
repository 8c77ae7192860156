#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

namespace odz {

// What the user sees while files are copied or moved, and how they stop it.
class TCopyProgress {
public:
    virtual ~TCopyProgress() = default;
    virtual void Start(QWidget* owner, const QString& title, qint64 totalBytes) = 0;
    // Called as the work goes on; false when the user asked to stop.
    virtual bool Step(const QString& currentFile, qint64 doneBytes) = 0;
    virtual void Finish() = 0;
    // A question is open: the progress steps aside (nothing of it covers the question, and the time
    // the user takes to answer does not count) until Resume. Resume tells whether a stop was asked
    // for meanwhile; that stop is then the caller's to carry out, after what the answer asked for.
    virtual void Suspend() {}
    virtual bool Resume() { return false; }
};

// The progress window: it appears once a copy has gone on for `showAfterMs` (short copies finish
// without a window flashing up), lies over its owner window, and stops the work with its Cancel
// button. Off screen (no display) it shows nothing unless `evenOffScreen` is set, as tests do.
class TCopyProgressDialog : public TCopyProgress {
public:
    explicit TCopyProgressDialog(int showAfterMs, bool evenOffScreen = false);
    ~TCopyProgressDialog() override;
    TCopyProgressDialog(const TCopyProgressDialog&) = delete;
    TCopyProgressDialog& operator=(const TCopyProgressDialog&) = delete;

    void Start(QWidget* owner, const QString& title, qint64 totalBytes) override;
    bool Step(const QString& currentFile, qint64 doneBytes) override;
    void Finish() override;
    void Suspend() override;
    bool Resume() override;

    // The window while a copy runs (hidden until it is due, and while a question is open).
    QDialog* Window() const { return FWindow; }

private:
    bool Due() const;

    const int FShowAfterMs;
    const bool FEvenOffScreen;
    QPointer<QDialog> FWindow;
    qint64 FTotal = 0;
    qint64 FCounted = 0;  // milliseconds of work before the last question
    qint64 FSince = 0;    // when the work went on after it
    bool FSuspended = false;
    bool FWasVisible = false;
    bool FCanceledBefore = false;
};

// The progress in use. By default a TCopyProgressDialog; tests install their own, nullptr restores
// the default.
TCopyProgress& CopyProgress();
void SetCopyProgress(TCopyProgress* progress);

}  // namespace odz
