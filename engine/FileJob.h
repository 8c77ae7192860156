#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "Interfaces.h"
#include "LineConverter.h"
#include "LineReaders.h"

namespace odz {

// Edits converted lines on their way to the target (the charset declaration of a web page).
class TOutputEditor {
public:
    virtual ~TOutputEditor() = default;
    // A converted line, before its line end is written.
    virtual void EditLine(std::string& line) = 0;
    // Called once after the last line: text to insert and the byte offset, counted from the start of
    // the converted text, at which to insert it.
    struct TInsertion {
        std::uint64_t offset;
        std::string text;
    };
    virtual std::optional<TInsertion> Insertion() const { return std::nullopt; }
    // Tells the editor where the next line starts in the converted text.
    virtual void SetLineOffset(std::uint64_t /*offset*/) {}
    // True when the next line must be shown to the editor whatever it holds (a tag left open).
    // Otherwise only lines holding "<" are.
    virtual bool Continues() const { return false; }
};

// One file converted: read as lines, each line converted, written with CR LF after every line (for a
// UTF-16 target: the byte-order mark FF FE and the units 000D 000A), stored atomically.
struct TFileJob {
    TInput source;  // a file, or standard input
    std::filesystem::path target;
    // When set, the converted text goes to this stream (standard output) as it comes, instead of to
    // target; messages call it targetStreamName.
    int targetStream = -1;
    std::string targetStreamName;
    TConversionSetup setup;
    // A converter for the setup to reuse (batches convert many small files alike); made when absent.
    TLineConverter* converter = nullptr;
    bool overwriteAll = false;
    // Applied to every source line before it is converted.
    std::function<void(std::string&)> transformLine;
    std::function<void(std::u32string&)> transformCodePoints;
    TOutputEditor* editor = nullptr;
    TProgress* progress = nullptr;
    // Asked before an existing target is replaced, also one that appeared while the file was being
    // converted; none: an existing target is never replaced without Overwrite All.
    TQuestions* questions = nullptr;
};

struct TFileJobResult {
    enum TOutcome { Written, Declined, SourceMissing } outcome;
    std::uint64_t references = 0;
};

// The overwrite question of every conversion: this line, then the target's path on a second one.
inline constexpr const char* kOverwriteQuestion = "File already exists, overwrite it ?";
inline std::string OverwriteQuestion(const std::filesystem::path& target) {
    return std::string(kOverwriteQuestion) + '\n' + target.string();
}

// Throws EFileError when the source cannot be read or the target cannot be written; the target is then
// left as it was. A symbolic link at the target is replaced, never written through.
TFileJobResult RunFileJob(const TFileJob& job);

}  // namespace odz
