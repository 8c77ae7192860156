// Every source decoder, through the line path and the whole-file path, into every target. Besides
// not crashing: converting a text line by line gives the same bytes as converting it as one block, and
// the whole-file conversion gives the same bytes as the block.

#include "Encodings.h"
#include "FileJob.h"
#include "FuzzSupport.h"
#include "LineConverter.h"
#include "LineEnds.h"

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

std::string AsBlock(const TConversionSetup& setup, std::string_view text) {
    TByteBuffer out;
    MakeLineConverter(setup)->ConvertBlock(text, out);
    return std::string(out.View());
}

std::string WholeFile(const TConversionSetup& setup, std::string_view text) {
    TFileJob job;
    job.source = fuzz::WriteScratch("source", text);
    job.target = fuzz::ScratchFolder() / "target";
    job.setup = setup;
    job.overwriteAll = true;
    RunFileJob(job);
    return fuzz::ReadWhole(job.target);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TInput input(data, size);
    const TConversionSetup setup = Setup(input);
    const std::string_view text = input.Rest();
    const std::string file = WholeFile(setup, text);
    if (setup.sourceKind == TEncodingKind::Utf16) return 0;  // read whole files only

    const std::string block = AsBlock(setup, text);
    fuzz::Check(ByLines(setup, text) == block, "line by line and as one block give the same bytes");
    // A file's UTF-8 byte-order mark is no content, except in a legacy file.
    std::string_view content = text;
    if (setup.sourceKind != TEncodingKind::Legacy && content.substr(0, 3) == "\xEF\xBB\xBF")
        content.remove_prefix(3);
    const std::string expected =
        (setup.targetKind == TEncodingKind::Utf16 ? std::string("\xFF\xFE") : std::string()) +
        (content.empty() ? std::string() : AsBlock(setup, content));
    fuzz::Check(file == expected, "the whole file gives the same bytes as the block");
    return 0;
}
