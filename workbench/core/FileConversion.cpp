#include "FileConversion.h"

#include "CharsetEditor.h"
#include "FileError.h"
#include "LineConverter.h"
#include "TextDecoders.h"

namespace odz {

namespace {

std::u32string CodePoints(std::string_view utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t code = 0;
        const std::size_t length = DecodeUtf8At(utf8, i, code);
        if (length == 0) {
            out.push_back(Windows1252ToUnicode(static_cast<std::uint8_t>(utf8[i])));
            ++i;
        } else {
            out.push_back(code);
            i += length;
        }
    }
    return out;
}

}  // namespace

std::string EncodeForSource(TRaRaru& engine, TEncoding source, std::string_view utf8) {
    const TEncodingKind kind = EncodingInfo(source).kind;
    if (kind == TEncodingKind::Utf8) return std::string(utf8);
    TConversionSetup setup;
    setup.sourceKind = TEncodingKind::Utf8;
    setup.targetKind = kind;
    if (const TVnLetterTable* table = LegacyTableFor(source)) setup.targetTable = *table;
    setup.keys = engine.Keys();
    return MakeLineConverter(setup)->ConvertToString(utf8);
}

TFileConversionReport ConvertFile(TRaRaru& engine, const TFileConversionRequest& request) {
    const auto source = EncodingByIdentifier(request.from);
    const auto target = EncodingByIdentifier(request.to);
    if (!source || !target) {
        return {
            TFileConversionReport::Failed, "Unknown encoding " + (source ? request.to : request.from), {}, 0};
    }
    if (*source == *target) {
        return {TFileConversionReport::Failed, "The source and target encodings are the same", {}, 0};
    }
    engine.SetSourceEncode(request.from);
    engine.BuildViqrTable();

    TFileJob job;
    job.source =
        request.sourceStream >= 0 ? TInput(request.sourceStream, "standard input") : TInput(request.source);
    job.target = request.target;
    job.targetStream = request.targetStream;
    job.targetStreamName = "standard output";
    job.setup = engine.FileSetup(EncodingInfo(*source).kind, *target, request.htmlDoc, request.source);
    job.converter = &engine.FileConverter(job.setup);
    job.overwriteAll = request.overwriteAll;
    job.progress = engine.ProgressBar;
    job.questions = engine.Questions;
    job.readSize = request.readSize;

    if (request.replace && !request.replace->find.empty()) {
        if (*source == TEncoding::Utf16) {
            job.findCodePoints = CodePoints(request.replace->find);
            job.replacementCodePoints = CodePoints(request.replace->replacement);
        } else {
            job.find = EncodeForSource(engine, *source, request.replace->find);
            job.replacement = EncodeForSource(engine, *source, request.replace->replacement);
        }
    }
    const auto editor =
        EncodingInfo(*target).kind == TEncodingKind::Utf16 ? nullptr : MakeCharsetEditor(*source, *target);
    job.editor = editor.get();

    try {
        const TFileJobResult result = RunFileJob(job);
        switch (result.outcome) {
            case TFileJobResult::Written:
                return {TFileConversionReport::Written, {}, {}, result.references, result.replacements};
            case TFileJobResult::Declined:
                return {TFileConversionReport::LeftAlone, {}, {}, 0, result.replacements};
            case TFileJobResult::SourceMissing:
                return {TFileConversionReport::Failed, "Cannot open file " + request.source.string(),
                        "No such file or directory", 0};
        }
    } catch (const EFileError& error) {
        return {TFileConversionReport::Failed, error.what(), error.Reason(), 0};
    }
    return {};
}

}  // namespace odz
