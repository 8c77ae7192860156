#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace odz {

// Turns SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C in the terminal that started the program) into
// a call on the event loop, so the program can close its window the ordinary way and keep its
// settings. Only one may exist at a time.
class TQuitSignals : public QObject {
    Q_OBJECT
public:
    explicit TQuitSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TQuitSignals() override;
    TQuitSignals(const TQuitSignals&) = delete;
    TQuitSignals& operator=(const TQuitSignals&) = delete;

private:
    void Received();

    std::function<void()> FOnSignal;
    QSocketNotifier* FNotifier = nullptr;
};

}  // namespace odz
