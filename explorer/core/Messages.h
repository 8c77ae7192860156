#pragma once

#include <QString>
#include <string_view>

#include "Interfaces.h"

namespace odz {

// Every message box and question of the program goes through this interface: the window shows real
// boxes, the tests answer from a script, the command-line tool answers by itself.
class TMessages {
public:
    virtual ~TMessages() = default;
    virtual void Information(const QString& text) = 0;
    virtual void Warning(const QString& text) = 0;
    virtual void Error(const QString& text) = 0;
    // A question with Yes and No, or with Yes, No and Cancel.
    virtual TAnswer Confirm(const QString& text, bool withCancel) = 0;
    // An information or error box with a list that may be long (a real box keeps a long one apart,
    // to be opened by the user); by default the list follows the text after a blank line.
    virtual void InformationWithDetails(const QString& text, const QString& details) {
        Information(details.isEmpty() ? text : text + QStringLiteral("\n\n") + details);
    }
    virtual void ErrorWithDetails(const QString& text, const QString& details) {
        Error(details.isEmpty() ? text : text + QStringLiteral("\n\n") + details);
    }
};

// The messages of the running program: set at start-up (and by tests); components that show boxes
// of their own (the file list, the trees, the path routines) use it.
TMessages& Messages();
void SetMessages(TMessages* messages);

// The engine's questions (before it replaces an existing file), asked through the program's messages
// as a question with Yes, No and Cancel.
TAnswer AskYesNoCancel(std::string_view text);

}  // namespace odz
