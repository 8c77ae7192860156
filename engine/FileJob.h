#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Interfaces.h"
#include "LineConverter.h"
#include "LineReaders.h"

namespace odz {

// Edits the converted text on its way to the target (the charset declaration of a web page).
class TOutputEditor {
public:
    // Replaces `length` bytes at `offset` of the converted text (counted from its start) by `text`.
    struct TEdit {
        std::uint64_t offset;
        std::uint64_t length;
        std::string text;
        bool operator==(const TEdit&) const = default;
    };
    virtual ~TOutputEditor() = default;
    // Reads the next piece of the converted text and appends the edits it calls for, in the order of
    // their offsets; an edit is given once all the bytes it replaces have been read.
    virtual void Scan(std::string_view text, std::vector<TEdit>& edits) = 0;
    // After the last piece: text to insert (an edit that replaces nothing), when nothing was edited.
    // Asked before the end, what would be inserted if nothing were edited after all.
    virtual std::optional<TEdit> Insertion() const { return std::nullopt; }
    // The offset from which an edit may still come for bytes already read (a value being read), so
    // that they are kept back from the target for a while.
    virtual std::optional<std::uint64_t> Pending() const { return std::nullopt; }
};

// A text replaced in the source text before it is converted, line by line (an occurrence never spans
// a line end), as the source holds it: for an 8-bit source the bytes, for a UTF-16 source the
// characters. Nothing is replaced when the search text is empty.
struct TSourceReplacement {
    std::string find;
    std::string replacement;
    std::u32string findCodePoints;
    std::u32string replacementCodePoints;
};

// One file converted: read in pieces, converted, written with CR LF after every line (for a UTF-16
// target: the byte-order mark FF FE and the units 000D 000A), stored atomically. Memory stays flat
// whatever the length of the file or of its lines.
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
    TSourceReplacement replace;
    TOutputEditor* editor = nullptr;
    TProgress* progress = nullptr;
    // Asked before an existing target is replaced, also one that appeared while the file was being
    // converted; none: an existing target is never replaced without Overwrite All.
    TAskYesNoCancel questions;
    std::size_t readSize = 0;  // bytes read at a time (0: the usual size); tests make it tiny
    // Asked when the converted file is ready to be put in place; false: it is not, and the job ends as
    // Declined.
    std::function<bool()> mayPutInPlace;
};

struct TFileJobResult {
    enum TOutcome { Written, Declined, SourceMissing } outcome;
    std::uint64_t references = 0;
    std::uint64_t replacements = 0;  // occurrences of the search text replaced
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
