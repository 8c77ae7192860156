#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "LetterTables.h"

namespace odz {

// The encodings in the order of the window's encoding lists.
enum class TEncoding {
    Viqr,
    ZTWin,
    Viscii,
    Vps,
    VniWind,
    Tcvn1,
    Tcvn2,
    DecimalNcr,
    Utf8,
    Utf16,
    Cp1258,
    Utf8Nfd
};
constexpr int kEncodingCount = 12;

// How an encoding is read and written. Cp1258: Windows-1258, letters precomposed where the code page has
// them, else a base letter and a tone-mark byte. Utf8Nfd: UTF-8 with the tone marks as combining marks
// after the letter.
enum class TEncodingKind { Viqr, Legacy, Ncr, Utf8, Utf16, Cp1258, Utf8Nfd };

struct TEncodingInfo {
    TEncoding encoding;
    std::string_view identifier;  // the text handed to the engine, compared exactly
    std::string_view shortName;   // the command-line tool's name
    std::string_view sourceText;  // the source list's item text
    std::string_view targetText;  // the target list's item text
    TEncodingKind kind;
};

const TEncodingInfo& EncodingInfo(TEncoding encoding);
const TEncodingInfo& EncodingAt(int position);

// The encoding an identifier names, compared exactly ("VISCII", "Unicode UTF-8", ...).
std::optional<TEncoding> EncodingByIdentifier(std::string_view identifier);
// An identifier or a short name in any letter case ("unicode utf-8", "utf8", "VNI").
std::optional<TEncoding> EncodingByName(std::string_view name);

// The constant table of a legacy identifier, or none for every other identifier.
const TVnLetterTable* LegacyTableFor(std::string_view identifier);
const TVnLetterTable* LegacyTableFor(TEncoding encoding);

}  // namespace odz
