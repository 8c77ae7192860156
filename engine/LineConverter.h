#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ByteBuffer.h"
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

// Converts text of one source encoding into another, appending the result.
class TLineConverter {
public:
    virtual ~TLineConverter() = default;
    // A line of an 8-bit source (legacy, VIQR, references, UTF-8), without its line end.
    virtual void ConvertLine(std::string_view line, TByteBuffer& out) = 0;
    // Whole lines: every line end (CR LF, CR or LF) becomes the target's CR LF, and a last line
    // without a line end gets one too. A CR LF pair must not be split between two blocks.
    virtual void ConvertBlock(std::string_view block, TByteBuffer& out) = 0;
    // A line of code points read from UTF-16.
    virtual void ConvertCodePoints(std::u32string_view line, TByteBuffer& out) = 0;
    // CR LF in the target: two bytes, or two UTF-16 units.
    virtual std::string_view LineEnd() const = 0;
    // Characters the target could not hold, written as references so far.
    virtual std::uint64_t References() const = 0;

    std::string ConvertToString(std::string_view line) {
        TByteBuffer out;
        ConvertLine(line, out);
        return std::string(out.View());
    }
};

std::unique_ptr<TLineConverter> MakeLineConverter(const TConversionSetup& setup);

}  // namespace odz
