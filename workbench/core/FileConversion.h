#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "TRaRaru.h"

namespace odz {

struct TReplacement {
    std::string find;         // as the user typed it (UTF-8); matched in the source's own encoding
    std::string replacement;  // likewise
};

struct TFileConversionRequest {
    std::filesystem::path source;
    std::filesystem::path target;
    TEncoding from = TEncoding::Viqr;
    TEncoding to = TEncoding::Viqr;
    bool htmlDoc = false;       // "HTML Doc"
    bool overwriteAll = false;  // "Overwrite All"
    std::optional<TReplacement> replace;
    bool compose = false;           // combining marks joined to their letters for Unicode targets too
    int sourceStream = -1;          // standard input: read from this descriptor instead of source
    int targetStream = -1;          // standard output: write to this descriptor instead of target
    std::size_t readSize = 0;       // bytes read from the source at a time (0: the usual size)
    TProgress* progress = nullptr;  // advanced by the source bytes read; not owned
    // Asked before an existing target is replaced (unless overwriteAll); none: it is left alone.
    TAskYesNoCancel questions{};
    // Asked when the converted file is ready to be put in place; false: it is left alone.
    std::function<bool()> mayPutInPlace{};
};

struct TFileConversionReport {
    enum TOutcome { Written, LeftAlone, Failed } outcome = Failed;
    std::string message;             // for Failed: the text shown to the user ("Cannot open file ...")
    std::string detail;              // for Failed: the system's explanation, when there is one
    std::uint64_t references = 0;    // characters written as "&#N;" because the target cannot hold them
    std::uint64_t replacements = 0;  // occurrences of the search text replaced

    // The message with its explanation in parentheses.
    std::string Reason() const { return detail.empty() ? message : message + " (" + detail + ")"; }
};

// Converts one file from one encoding to another: UTF-16 on either side is read or written whole, every
// other pair goes line by line, with the search text replaced first when asked, the charset declaration
// of a web page kept true, and CR LF after every line.
TFileConversionReport ConvertFile(TRaRaru& engine, const TFileConversionRequest& request);

// A text typed by the user, in the bytes a source of the given encoding holds it as.
std::string EncodeForSource(const TRaRaru& engine, TEncoding source, std::string_view utf8);

// The texts typed by the user as the files of the source encoding hold them; with no source encoding,
// as the bytes typed.
TSourceReplacement ReplacementForSource(const TRaRaru& engine, std::optional<TEncoding> source,
                                        const TReplacement& typed);

}  // namespace odz
