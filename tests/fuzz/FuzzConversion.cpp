// Every source decoder, through the line path, the stream path and the whole-file path, into every
// target. Besides not crashing: a text converted line by line, at once, or in pieces cut anywhere gives
// the same bytes, and so does the whole-file conversion with reads of any size; and the tables of the
// usual conversions give what the decoders and writers give one character at a time.

#include "Encodings.h"
#include "FileJob.h"
#include "FuzzSupport.h"
#include "LineConverter.h"
#include "LineEnds.h"
#include "LineReaders.h"

using namespace odz;

namespace {

TConversionSetup Setup(fuzz::TInput& input) {
    const auto source = static_cast<TEncoding>(input.Pick(kEncodingCount));
    auto target = static_cast<TEncoding>(input.Pick(kEncodingCount));
    if (target == source) target = static_cast<TEncoding>((static_cast<int>(target) + 1) % kEncodingCount);
    TConversionSetup setup;
    setup.sourceKind = EncodingInfo(source).kind;
    setup.targetKind = EncodingInfo(target).kind;
    if (const TVnLetterTable* table = LegacyTableFor(source)) setup.sourceTable = *table;
    if (const TVnLetterTable* table = LegacyTableFor(target)) setup.targetTable = *table;
    setup.tags = input.Flag();
    setup.edhIsDStroke = input.Flag();
    setup.compose = input.Flag();
    // Keys of the user's choosing, any printable ones, alike or not.
    if (input.Flag()) {
        for (char& key : setup.keys.keys) key = static_cast<char>(' ' + input.Pick(95));
    }
    return setup;
}

std::string ByLines(const TConversionSetup& setup, std::string_view text) {
    const auto converter = MakeLineConverter(setup);
    TByteBuffer out;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* lineEnd = FindLineEnd(p, end);
        converter->ConvertLine(std::string_view(p, static_cast<std::size_t>(lineEnd - p)), out);
        out.Append(converter->LineEnd());
        if (lineEnd == end) break;
        p = SkipLineEnd(lineEnd, end);
    }
    return std::string(out.View());
}

// The text handed over in pieces of the given size (0: at once), each starting with what the one
// before left unconverted.
std::string InPieces(const TConversionSetup& setup, std::string_view text, std::size_t size,
                     decltype(&MakeLineConverter) make = &MakeLineConverter) {
    const auto converter = make(setup);
    TByteBuffer out;
    std::string carry;
    std::size_t at = 0;
    for (;;) {
        const std::size_t take = size == 0 ? text.size() - at : std::min(size, text.size() - at);
        carry.append(text.substr(at, take));
        at += take;
        const bool last = at == text.size();
        const std::size_t used = converter->ConvertStream(carry, last, out);
        fuzz::Check(last ? used == carry.size() : carry.size() - used <= kMaxStreamCarry,
                    "a piece leaves at most a few bytes for the next");
        carry.erase(0, used);
        if (last) break;
    }
    return std::string(out.View());
}

std::string WholeFile(const TConversionSetup& setup, std::string_view text, std::size_t readSize) {
    TFileJob job;
    job.source = fuzz::WriteScratch("source", text);
    job.target = fuzz::ScratchFolder() / "target";
    job.setup = setup;
    job.overwriteAll = true;
    job.readSize = readSize;
    RunFileJob(job);
    return fuzz::ReadWhole(job.target);
}

// A UTF-16 file read as code points and converted one character at a time.
std::string Utf16ByCharacters(const TConversionSetup& setup, std::string_view text) {
    TUtf16Reader reader(fuzz::WriteScratch("source16", text));
    const auto converter = MakeCharacterLineConverter(setup);
    TByteBuffer out;
    if (setup.targetKind == TEncodingKind::Utf16) out.Append("\xFF\xFE");
    std::u32string characters;
    for (bool more = true; more;) {
        more = reader.Next(characters);
        converter->ConvertCodePoints(characters, !more, out);
    }
    return std::string(out.View());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TInput input(data, size);
    const TConversionSetup setup = Setup(input);
    const std::size_t pieceSize = 1 + input.Pick(16);
    const std::string_view text = input.Rest();
    const std::string file = WholeFile(setup, text, 0);
    fuzz::Check(WholeFile(setup, text, pieceSize) == file, "tiny reads give the same bytes");
    if (setup.sourceKind == TEncodingKind::Utf16) {  // read whole files only
        fuzz::Check(Utf16ByCharacters(setup, text) == file, "the tables give what the characters give");
        return 0;
    }

    const std::string block = InPieces(setup, text, 0);
    fuzz::Check(InPieces(setup, text, 0, &MakeCharacterLineConverter) == block,
                "the tables give what the characters give");
    fuzz::Check(ByLines(setup, text) == block, "line by line and at once give the same bytes");
    fuzz::Check(InPieces(setup, text, pieceSize) == block, "in pieces and at once give the same bytes");
    // A file's UTF-8 byte-order mark is no content, except in a file of an 8-bit code page.
    std::string_view content = text;
    const bool codePage =
        setup.sourceKind == TEncodingKind::Legacy || setup.sourceKind == TEncodingKind::Cp1258;
    if (!codePage && content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);
    const std::string expected =
        (setup.targetKind == TEncodingKind::Utf16 ? std::string("\xFF\xFE") : std::string()) +
        (content.empty() ? std::string() : InPieces(setup, content, 0));
    fuzz::Check(file == expected, "the whole file gives the same bytes as the block");
    return 0;
}
