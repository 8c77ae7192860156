#pragma once

// Message boxes answered from a script: every box is recorded, every question takes the next scripted
// answer, and a question nobody scripted is answered Cancel and remembered, so a test fails instead of
// hanging on a dialog. A probe, when set, looks at the program at each question while it is asked.

#include <QStringList>
#include <deque>
#include <functional>
#include <initializer_list>

#include "Messages.h"

namespace odz::test {

class TScriptedMessages : public TMessages {
public:
    TScriptedMessages() { SetMessages(this); }
    ~TScriptedMessages() override { SetMessages(nullptr); }

    void Expect(TAnswer answer) { FAnswers.push_back(answer); }
    void Expect(std::initializer_list<TAnswer> answers) { FAnswers.insert(FAnswers.end(), answers); }
    void Information(const QString& text) override { shown << "information: " + text; }
    void Warning(const QString& text) override { shown << "warning: " + text; }
    void Error(const QString& text) override { shown << "error: " + text; }
    TAnswer Confirm(const QString& text, bool) override {
        if (probe) probe(text);
        asked << text;
        if (FAnswers.empty()) {
            unexpected << text;
            return TAnswer::Cancel;
        }
        const TAnswer answer = FAnswers.front();
        FAnswers.pop_front();
        return answer;
    }
    bool AllAnswered() const { return FAnswers.empty(); }
    // The texts of the boxes of one kind ("information", "warning" or "error").
    QStringList Shown(const QString& kind) const {
        QStringList texts;
        for (const QString& box : shown) {
            if (box.startsWith(kind + ": ")) texts << box.mid(kind.size() + 2);
        }
        return texts;
    }

    std::function<void(const QString&)> probe;
    QStringList shown;       // "information: ...", "warning: ...", "error: ..."
    QStringList asked;       // every question
    QStringList unexpected;  // questions that had no scripted answer

private:
    std::deque<TAnswer> FAnswers;
};

}  // namespace odz::test
