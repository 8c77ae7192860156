#pragma once

#include <cstdint>
#include <functional>
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

// A progress that only counts, for work nobody watches as it goes.
class TPlainProgress : public TProgress {
public:
    std::int64_t Position() const override { return FPosition; }
    void SetPosition(std::int64_t position) override { FPosition = position; }
    std::int64_t Max() const override { return FMax; }
    void SetMax(std::int64_t max) override { FMax = max; }

protected:
    std::int64_t FPosition = 0;
    std::int64_t FMax = 0;
};

enum class TAnswer { Yes, No, Cancel };

// A modal confirmation with the buttons Yes, No and Cancel, put to the user before the engine replaces
// an existing file. The window asks it in a message box, the command-line tool answers it by itself,
// tests script the answers.
using TAskYesNoCancel = std::function<TAnswer(std::string_view text)>;

}  // namespace odz
