// The charset declaration editor on web pages: line by line, and on whole files through a conversion.
// Lines without markup are never changed, and an inserted declaration lands inside the text.

#include "CharsetEditor.h"
#include "FuzzSupport.h"
#include "LineConverter.h"

using namespace odz;

namespace {

void Lines(fuzz::TInput& input) {
    TCharsetEditor editor(input.Flag() ? "UTF-8" : "windows-1252", input.Flag());
    std::string_view text = input.Rest();
    std::uint64_t offset = 0;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        std::string line(text.substr(0, lf));
        text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
        const std::string before = line;
        const bool continues = editor.Continues();
        editor.SetLineOffset(offset);
        editor.EditLine(line);
        fuzz::Check(continues || before.find('<') != std::string::npos || line == before,
                    "a line without markup stays as it is");
        offset += line.size() + 2;
    }
    if (const auto insertion = editor.Insertion()) {
        fuzz::Check(insertion->offset <= offset, "the declaration is inserted inside the text");
    }
}

void WholeFile(fuzz::TInput& input) {
    const auto source = static_cast<TEncoding>(input.Pick(kEncodingCount - 1));  // not UTF-16: lines
    auto target = static_cast<TEncoding>(input.Pick(kEncodingCount - 1));
    if (target == source)
        target = static_cast<TEncoding>((static_cast<int>(target) + 1) % (kEncodingCount - 1));
    const auto editor = MakeCharsetEditor(source, target);
    if (!editor) return;
    TFileJob job;
    job.source = fuzz::WriteScratch("page", input.Rest());
    job.target = fuzz::ScratchFolder() / "converted";
    job.setup.sourceKind = EncodingInfo(source).kind;
    job.setup.targetKind = EncodingInfo(target).kind;
    if (const TVnLetterTable* table = LegacyTableFor(source)) job.setup.sourceTable = *table;
    if (const TVnLetterTable* table = LegacyTableFor(target)) job.setup.targetTable = *table;
    job.setup.tags = true;
    job.overwriteAll = true;
    job.editor = editor.get();
    RunFileJob(job);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TInput input(data, size);
    if (input.Flag()) {
        Lines(input);
    } else {
        WholeFile(input);
    }
    return 0;
}
