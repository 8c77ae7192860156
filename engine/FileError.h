#pragma once

#include <stdexcept>
#include <string>

namespace odz {

// A file that cannot be opened, read, created or written. what() is the text shown to the user
// ("Cannot open file /path/name"); Reason() is the system's explanation, when there is one.
class EFileError : public std::runtime_error {
public:
    EFileError(const std::string& message, std::string reason = {})
        : std::runtime_error(message), FReason(std::move(reason)) {}

    const std::string& Reason() const noexcept { return FReason; }

    // The message followed by the reason in parentheses, for reports that have room for both.
    std::string FullText() const {
        return FReason.empty() ? what() : std::string(what()) + " (" + FReason + ")";
    }

private:
    std::string FReason;
};

}  // namespace odz
