#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Interfaces.h"
#include "LineConverter.h"

namespace odz {

// Edits the converted text on its way to the target (the charset declaration of a web page).
class TOutputEditor {
public:
    // Replaces `length` bytes at `offset` of the converted text (counted from its start) by `text`.
    struct TEdit {
        std::uint64_t offset;
        std::uint64_t length;
        std::string text;
    };
    virtual ~TOutputEditor() = default;
    // Reads the next piece of the converted text and appends the edits it calls for, in the order of
    // their offsets; an edit is given once all the bytes it replaces have been read.
    virtual void Scan(std::string_view text, std::vector<TEdit>& edits) = 0;
    // After the last piece: text to insert (an edit that replaces nothing), when nothing was edited.
    virtual std::optional<TEdit> Insertion() const { return std::nullopt; }
};

// One file converted: read in pieces, converted, written with CR LF after every line (for a UTF-16
// target: the byte-order mark FF FE and the units 000D 000A), stored atomically. Memory stays flat
// whatever the length of the file or of its lines.
struct TFileJob {
    std::filesystem::path source;
    std::filesystem::path target;
    TConversionSetup setup;
    // A converter for the setup to reuse (batches convert many small files alike); made when absent.
    TLineConverter* converter = nullptr;
    bool overwriteAll = false;
    // Replaced in the source text before it is converted, as ReplaceInLine does line by line: for an
    // 8-bit source the bytes, for a UTF-16 source the characters (none when find is empty).
    std::string find;
    std::string replacement;
    std::u32string findCodePoints;
    std::u32string replacementCodePoints;
    TOutputEditor* editor = nullptr;
    TProgress* progress = nullptr;
    TQuestions* questions = nullptr;  // none: an existing target is never replaced without Overwrite All
    std::size_t readSize = 0;         // bytes read at a time (0: the usual size); tests make it tiny
};

struct TFileJobResult {
    enum TOutcome { Written, Declined, SourceMissing } outcome;
    std::uint64_t references = 0;
};

// The overwrite question of every conversion.
inline constexpr const char* kOverwriteQuestion = "File already exists, overwrite it ?";

// Throws EFileError when the source cannot be read or the target cannot be written; the target is then
// left as it was.
TFileJobResult RunFileJob(const TFileJob& job);

}  // namespace odz
