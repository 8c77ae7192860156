#include "Messages.h"

#include <QCoreApplication>
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

// The questions the engine asks (in English, it has no translations): their first line is translated
// here for the window.
[[maybe_unused]] constexpr const char* kEngineQuestions[] = {
    QT_TRANSLATE_NOOP("Engine", "File already exists, overwrite it ?"),
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
    const QString question = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const qsizetype lineEnd = question.indexOf(QLatin1Char('\n'));
    const QString first = lineEnd < 0 ? question : question.left(lineEnd);
    return Messages().Confirm(
        QCoreApplication::translate("Engine", first.toUtf8().constData()) + question.mid(first.size()), true);
}

}  // namespace odz
