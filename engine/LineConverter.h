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
    // Combining marks are joined to the vowel before them also for UTF-8, UTF-16 and reference targets.
    // The other targets, and the Windows-1258 and composite UTF-8 sources, always have them joined.
    bool compose = false;

    bool operator==(const TConversionSetup&) const = default;
};

// Converts text of one source encoding into another, appending the result.
class TLineConverter {
public:
    virtual ~TLineConverter() = default;
    // A line of an 8-bit source (legacy, VIQR, references, UTF-8), without its line end.
    virtual void ConvertLine(std::string_view line, TByteBuffer& out) = 0;
    // A whole text of an 8-bit source, handed in piece by piece, cut anywhere: every line end (CR LF,
    // CR or LF) becomes the target's CR LF, and a last line without a line end gets one too. Returns
    // how many bytes at the start of the piece were converted; the rest, never more than
    // kMaxStreamCarry bytes (a character or a reference whose end is not yet known), must come again at
    // the start of the next piece. With `last` the piece ends the text and is converted whole.
    virtual std::size_t ConvertStream(std::string_view piece, bool last, TByteBuffer& out) = 0;
    // A text read from UTF-16, as code points, piece by piece; every line end has become one LF.
    // Each piece is converted whole; with `last` it ends the text.
    virtual void ConvertCodePoints(std::u32string_view piece, bool last, TByteBuffer& out) = 0;
    // Forgets a text left unfinished, so that the next one starts afresh.
    virtual void Restart() = 0;
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

// The most bytes ConvertStream() leaves for the next piece.
constexpr std::size_t kMaxStreamCarry = 256;

std::unique_ptr<TLineConverter> MakeLineConverter(const TConversionSetup& setup);

// The same conversion one character at a time, through a decoder and a writer, without the tables the
// usual conversions walk: what those tables must agree with. A UTF-16 source's converter takes code
// points only.
std::unique_ptr<TLineConverter> MakeCharacterLineConverter(const TConversionSetup& setup);

// Whether the converter of a UTF-16 source also takes its text as little-endian UTF-16 units through
// ConvertStream(), cut anywhere: into every target but VIQR written with keys that need the writer that
// reads its output back, which keeps to the code points.
bool TakesUtf16Units(const TConversionSetup& setup);

// Whether a conversion joins combining marks to the vowel before them. Never from the legacy encodings,
// whose code pages hold no combining marks, nor from VIQR, whose marks are keys.
bool JoinsMarks(const TConversionSetup& setup);

}  // namespace odz
