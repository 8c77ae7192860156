#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace odz {

// Turns SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C in the terminal that started the program) into
// a call on the event loop, so the program can close its window the ordinary way and keep its
// settings. While busy() says that work is under way that the window cannot close under (a batch
// writing files), the program instead removes its temporary files and ends at once, as the signal
// would have ended it: the file being written never takes its target's place. Only one may exist at a
// time.
class TQuitSignals : public QObject {
    Q_OBJECT
public:
    explicit TQuitSignals(std::function<void()> onSignal, std::function<bool()> busy = {},
                          QObject* parent = nullptr);
    ~TQuitSignals() override;
    TQuitSignals(const TQuitSignals&) = delete;
    TQuitSignals& operator=(const TQuitSignals&) = delete;

private:
    void Received();

    std::function<void()> FOnSignal;
    std::function<bool()> FBusy;
    QSocketNotifier* FNotifier = nullptr;
};

}  // namespace odz
