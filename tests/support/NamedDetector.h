#pragma once

// A detector that reads the answer from the file's name, so that tests check what the window and the
// drivers do with detection rather than detection itself: "viscii-letter.txt" is VISCII for sure,
// "ascii..." plain ASCII, "unsure..." perhaps VISCII, anything else undecided.

#include <chrono>
#include <thread>

#include "FileDetection.h"

namespace odz::test {

inline TFileDetector NamedDetector(std::chrono::microseconds delay = {}) {
    return [delay](const std::filesystem::path& file) {
        if (delay.count() > 0) std::this_thread::sleep_for(delay);
        const std::string name = file.filename().string();
        const std::string stem = name.substr(0, name.find_first_of("-."));
        TFileDetection found;
        found.shortName = stem;
        found.confidence = 0.97;
        found.confident = true;
        if (stem == "unsure") {
            found = {TEncoding::Viscii, "viscii", 0.4, false, "tcvn1", {}};
        } else if (const auto encoding = EncodingByName(stem)) {
            found.encoding = encoding;
        } else if (stem != TFileDetection::kAsciiName) {
            found = {};
        }
        return found;
    };
}

}  // namespace odz::test
