#pragma once

#include <iostream>

#include "Messages.h"

namespace odz {

// The command-line tool's messages, the program's for as long as they live: every one goes to
// standard error. They never ask: an existing target is left alone (with --overwrite the question
// never comes).
class TCliMessages : public TMessages {
public:
    TCliMessages() { SetMessages(this); }
    ~TCliMessages() override { SetMessages(nullptr); }
    TCliMessages(const TCliMessages&) = delete;
    TCliMessages& operator=(const TCliMessages&) = delete;

    void Information(const QString& text) override { Print(text); }
    void Warning(const QString& text) override { Print(text); }
    void Error(const QString& text) override { Print(text); }
    TAnswer Confirm(const QString&, bool) override { return TAnswer::No; }

private:
    static void Print(const QString& text) { std::cerr << "odizodoruz-cli: " << text.toStdString() << '\n'; }
};

}  // namespace odz
