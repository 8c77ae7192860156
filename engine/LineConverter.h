#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "Encodings.h"
#include "LetterTables.h"
#include "ViqrKeys.h"

namespace odz {

// What a conversion reads and writes.
struct TConversionSetup {
    TEncodingKind sourceKind = TEncodingKind::Legacy;
    TVnLetterTable sourceTable{};  // for a legacy source
    TEncodingKind targetKind = TEncodingKind::Utf8;
    TVnLetterTable targetTable{};  // for a legacy target
    TViqrKeys keys = TViqrKeys::Defaults();
    bool tags = false;          // "<" starts a tag whose ASCII passes unchanged
    bool edhIsDStroke = false;  // a UTF-8 source's Ð (U+00D0) is read as Đ

    bool operator==(const TConversionSetup&) const = default;
};

// Converts lines (without their line ends) of one source encoding into another, appending the result.
class TLineConverter {
public:
    virtual ~TLineConverter() = default;
    // A line of an 8-bit source (legacy, VIQR, references, UTF-8).
    virtual void ConvertLine(std::string_view line, std::string& out) = 0;
    // A line of code points read from UTF-16.
    virtual void ConvertCodePoints(std::u32string_view line, std::string& out) = 0;
    // Characters the target could not hold, written as references so far.
    virtual std::uint64_t References() const = 0;
};

std::unique_ptr<TLineConverter> MakeLineConverter(const TConversionSetup& setup);

}  // namespace odz
