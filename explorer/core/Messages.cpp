#include "Messages.h"

#include <QDebug>

namespace odz {

namespace {

// Before the program sets its own: messages go to the log, questions are answered No.
class TLoggedMessages : public TMessages {
public:
    void Information(const QString& text) override { qInfo().noquote() << text; }
    void Warning(const QString& text) override { qWarning().noquote() << text; }
    void Error(const QString& text) override { qCritical().noquote() << text; }
    TAnswer Confirm(const QString& text, bool) override {
        qWarning().noquote() << "Answered No:" << text;
        return TAnswer::No;
    }
};

TLoggedMessages gLogged;
TMessages* gCurrent = &gLogged;

}  // namespace

TMessages& Messages() {
    return *gCurrent;
}

void SetMessages(TMessages* messages) {
    gCurrent = messages ? messages : &gLogged;
}

TAnswer AskYesNoCancel(std::string_view text) {
    return Messages().Confirm(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), true);
}

}  // namespace odz
