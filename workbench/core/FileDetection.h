#pragma once

// How the window learns which encoding a file is in: the Encoding column of the source list, the
// preview pane and Convert with "Detect automatically" all ask one detector, given as a function so that
// tests can hand in their own.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "EncodingDetector.h"
#include "Encodings.h"
#include "ViqrKeys.h"

namespace odz {

// What detection says about one file.
struct TFileDetection {
    // The encoding that reads the file best; none for text without a single Vietnamese letter (every
    // encoding reads it alike: shortName is "ascii") and for a file nothing reads well.
    std::optional<TEncoding> encoding;
    std::string shortName;    // the encoding's short name ("viscii"), "ascii", or empty
    double confidence = 0.0;  // 0 to 1
    bool confident = false;   // the file may be converted on the strength of it
    std::string runnerUp;     // the short name of the next best encoding when it is close, or empty
    // A file that cannot be read: why (the rest is empty).
    std::string problem;

    bool PlainAscii() const { return confident && !encoding && shortName == kAsciiName; }
    static constexpr const char* kAsciiName = "ascii";
};

using TFileDetector = std::function<TFileDetection(const std::filesystem::path& file)>;

// What the window shows and converts by, from what detection says.
TFileDetection FileDetectionOf(const TDetection& detection);

// The program's detector, reading VIQR with the given keys. It may be called from any thread at once.
TFileDetector DefaultFileDetector(const TViqrKeys& keys = TViqrKeys::Defaults());

// The bytes at most a detector needs from the start of a file.
inline constexpr std::size_t kDetectionSample = 64 * 1024;

}  // namespace odz
