#pragma once

#include <cstdint>
#include <string_view>

namespace odz {

// A progress indicator the engine advances while it converts. Positions and maxima are byte counts.
class TProgress {
public:
    virtual ~TProgress() = default;
    virtual std::int64_t Position() const = 0;
    virtual void SetPosition(std::int64_t position) = 0;
    virtual std::int64_t Max() const = 0;
    virtual void SetMax(std::int64_t max) = 0;
    void Advance(std::int64_t by) { SetPosition(Position() + by); }
};

enum class TAnswer { Yes, No, Cancel };

// Questions the engine and the drivers put to the user. The window shows message boxes, the
// command-line tool answers by itself, tests script the answers.
class TQuestions {
public:
    virtual ~TQuestions() = default;
    // A modal confirmation with the buttons Yes, No and Cancel.
    virtual TAnswer AskYesNoCancel(std::string_view text) = 0;
};

}  // namespace odz
