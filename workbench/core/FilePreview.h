#pragma once

// The preview of a file before it is converted: its first lines as the source encoding reads them and,
// beside them, as they read back after conversion to the target encoding, with the characters the
// target cannot hold (written as references) marked. Only the start of the file is read, so a huge file
// previews as fast as a small one. Free of widgets and safe to build on a worker thread.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Encodings.h"
#include "FileDetection.h"
#include "ViqrKeys.h"

namespace odz {

inline constexpr std::size_t kPreviewLines = 200;
inline constexpr std::size_t kPreviewBytes = 256 * 1024;

struct TPreviewRequest {
    std::filesystem::path file;  // empty: no file chosen
    std::optional<TEncoding> source;
    bool detectSource = false;  // read the file as detection finds it instead of by source
    std::optional<TEncoding> target;
    bool htmlDoc = false;
    TViqrKeys keys = TViqrKeys::Defaults();
    std::size_t maxLines = kPreviewLines;
    std::size_t maxBytes = kPreviewBytes;
};

enum class TPreviewState {
    Shown,       // the two columns
    NoFile,      // no file chosen
    Folder,      // a folder is chosen
    NotAFile,    // a device, pipe or socket: never read
    Unreadable,  // see problem
    Binary,      // NUL bytes in a start that is not UTF-16
    NoEncoding,  // the source or the target encoding is not chosen
    Undetected,  // "Detect automatically" and detection cannot tell
};

// Characters of one line, counted from 0.
struct TPreviewMark {
    std::size_t line;
    std::size_t start;
    std::size_t length;
    bool operator==(const TPreviewMark&) const = default;
};

struct TPreview {
    TPreviewState state = TPreviewState::NoFile;
    std::string problem;
    // What detection finds for the file, whatever source is chosen (not asked without a file).
    std::optional<TFileDetection> detection;
    std::optional<TEncoding> readAs;       // the source encoding the columns are read with
    std::optional<TEncoding> convertedTo;  // the target encoding
    std::vector<std::u32string> sourceLines;
    std::vector<std::u32string> targetLines;
    std::vector<TPreviewMark> sourceMarks;  // the characters the target cannot hold
    std::vector<TPreviewMark> targetMarks;  // the references they become
    bool cut = false;                       // the file goes on after the lines shown
};

TPreview BuildPreview(const TPreviewRequest& request, const TFileDetector& detector);

}  // namespace odz
