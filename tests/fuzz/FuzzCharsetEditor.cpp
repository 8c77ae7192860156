// The charset declaration editor on web pages: on the text alone, read in pieces of any size, and on
// whole files through a conversion. The edits do not depend on where the text is cut, come in order
// inside the text, and touch markup only.

#include <vector>

#include "CharsetEditor.h"
#include "FuzzSupport.h"
#include "LineConverter.h"

using namespace odz;

namespace {

// The edits of a page read in pieces of the given size (0: at once).
std::vector<TOutputEditor::TEdit> Edits(bool insert, std::string_view text, std::size_t size) {
    TCharsetEditor editor("UTF-8", insert);
    std::vector<TOutputEditor::TEdit> edits;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t take = size == 0 ? text.size() : std::min(size, text.size() - at);
        editor.Scan(text.substr(at, take), edits);
        at += take;
    }
    if (auto insertion = editor.Insertion()) edits.push_back(std::move(*insertion));
    return edits;
}

void Lines(fuzz::TInput& input) {
    const bool insert = input.Flag();
    const std::size_t size = 1 + input.Pick(16);
    const std::string_view text = input.Rest();
    const auto edits = Edits(insert, text, 0);
    fuzz::Check(Edits(insert, text, size) == edits, "pieces of any size give the same edits");
    std::uint64_t end = 0;
    for (const auto& edit : edits) {
        fuzz::Check(edit.offset >= end && edit.offset + edit.length <= text.size(),
                    "edits come in order, inside the text");
        fuzz::Check(edit.length == 0 || text.substr(0, edit.offset).rfind('<') != std::string_view::npos,
                    "only markup is edited");
        end = edit.offset + edit.length;
    }
}

void WholeFile(fuzz::TInput& input) {
    // The encodings converted by lines: all but UTF-16.
    std::vector<TEncoding> lines;
    for (int i = 0; i < kEncodingCount; ++i) {
        if (EncodingAt(i).kind != TEncodingKind::Utf16) lines.push_back(EncodingAt(i).encoding);
    }
    const unsigned count = static_cast<unsigned>(lines.size());
    const unsigned from = input.Pick(count);
    const unsigned to = input.Pick(count);
    const TEncoding source = lines[from];
    const TEncoding target = lines[to == from ? (to + 1) % count : to];
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
