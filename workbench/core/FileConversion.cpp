#include "FileConversion.h"

#include "CharsetEditor.h"
#include "FileError.h"
#include "LineConverter.h"
#include "TextDecoders.h"

namespace odz {

std::string EncodeForSource(const TRaRaru& engine, TEncoding source, std::string_view utf8) {
    const TEncodingKind kind = EncodingInfo(source).kind;
    if (kind == TEncodingKind::Utf8) return std::string(utf8);
    TConversionSetup setup;
    setup.sourceKind = TEncodingKind::Utf8;
    setup.targetKind = kind;
    if (const TVnLetterTable* table = LegacyTableFor(source)) setup.targetTable = *table;
    setup.keys = engine.Keys();
    return MakeLineConverter(setup)->ConvertToString(utf8);
}

TSourceReplacement ReplacementForSource(const TRaRaru& engine, std::optional<TEncoding> source,
                                        const TReplacement& typed) {
    TSourceReplacement texts;
    if (!source) {
        texts.find = typed.find;
        texts.replacement = typed.replacement;
    } else if (*source == TEncoding::Utf16) {
        texts.findCodePoints = DecodeUtf8Or1252(typed.find);
        texts.replacementCodePoints = DecodeUtf8Or1252(typed.replacement);
    } else {
        texts.find = EncodeForSource(engine, *source, typed.find);
        texts.replacement = EncodeForSource(engine, *source, typed.replacement);
    }
    return texts;
}

TFileConversionReport ConvertFile(TRaRaru& engine, const TFileConversionRequest& request) {
    if (request.from == request.to) {
        return {TFileConversionReport::Failed, "The source and target encodings are the same", {}, 0};
    }
    TFileJob job;
    job.source =
        request.sourceStream >= 0 ? TInput(request.sourceStream, "standard input") : TInput(request.source);
    job.target = request.target;
    job.targetStream = request.targetStream;
    job.targetStreamName = "standard output";
    job.setup = engine.FileSetup(request.from, request.to, request.htmlDoc, request.source, request.compose);
    job.overwriteAll = request.overwriteAll;
    job.progress = request.progress;
    job.questions = request.questions;
    job.mayPutInPlace = request.mayPutInPlace;
    job.readSize = request.readSize;
    if (request.replace && !request.replace->find.empty()) {
        job.replace = ReplacementForSource(engine, request.from, *request.replace);
    }
    const auto editor = EncodingInfo(request.to).kind == TEncodingKind::Utf16
                            ? nullptr
                            : MakeCharsetEditor(request.from, request.to);
    job.editor = editor.get();

    try {
        const TFileJobResult result = engine.RunJob(job);
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
