#pragma once

// The source encoding of each file of a Convert walk when it is told file by file ("Detect
// automatically" in the window, -f auto in the command-line tool): one hook, asked for every file the
// walk converts, on the converting threads when files are converted side by side.

#include <QString>
#include <filesystem>
#include <functional>
#include <optional>

#include "BatchSummary.h"
#include "Encodings.h"
#include "FileDetection.h"

namespace odz {

// What the hook says about one file.
struct TSourceChoice {
    // The encoding the file is converted from; none when it is not converted.
    std::optional<TEncoding> encoding;
    // With an encoding: the name the file is counted under among the encodings read, or empty.
    QString readAs;
    // Without one: how the file is noted, and why. Failed: the file cannot be read, and the reason is
    // the system's explanation.
    TNotConverted::TKind kind = TNotConverted::Skipped;
    QString reason;
};

// Given a source file and the target encoding. It may be called from several threads at once.
using TSourceEncodingOf = std::function<TSourceChoice(const std::filesystem::path& file, TEncoding target)>;

// The window's "Detect automatically": each file read as the detector finds it. A file the detector
// is not sure of, or one in the target encoding already, is left alone; one it cannot read fails.
// Text without Vietnamese letters is counted as plain ASCII.
TSourceEncodingOf SourceByDetection(TFileDetector detector);

}  // namespace odz
