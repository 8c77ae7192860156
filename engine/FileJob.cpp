#include "FileJob.h"

#include <system_error>

#include "AtomicFile.h"
#include "LineReaders.h"

namespace odz {

namespace {

constexpr std::size_t kFlushSize = 1 << 20;

// Progress is reported in steps, not per line: the indicator needs no more.
class TProgressSteps {
public:
    explicit TProgressSteps(TProgress* progress) : FProgress(progress) {}
    ~TProgressSteps() { Flush(); }
    void Add(std::uint64_t bytes) {
        FPending += bytes;
        if (FPending >= kFlushSize) Flush();
    }
    void Flush() {
        if (FProgress && FPending) FProgress->Advance(static_cast<std::int64_t>(FPending));
        FPending = 0;
    }

private:
    TProgress* FProgress;
    std::uint64_t FPending = 0;
};

bool Exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// Writes the converted text again with the editor's insertion in place.
void Reinsert(TAtomicFile& first, const TOutputEditor::TInsertion& insertion, TAtomicFile& second) {
    first.Flush();
    TInputFile input(first.TempPath());
    std::string chunk(kFlushSize, '\0');
    std::uint64_t position = 0;
    bool inserted = false;
    for (;;) {
        const std::size_t n = input.Read(chunk.data(), chunk.size());
        if (n == 0) break;
        std::string_view data(chunk.data(), n);
        if (!inserted && insertion.offset < position + n) {
            const auto at = static_cast<std::size_t>(insertion.offset - position);
            second.Write(data.substr(0, at));
            second.Write(insertion.text);
            second.Write(data.substr(at));
            inserted = true;
        } else {
            second.Write(data);
        }
        position += n;
    }
    if (!inserted) second.Write(insertion.text);
}

}  // namespace

TFileJobResult RunFileJob(const TFileJob& job) {
    if (!Exists(job.source)) return {TFileJobResult::SourceMissing, 0};
    const bool utf16Target = job.setup.targetKind == TEncodingKind::Utf16;
    const auto converter = MakeLineConverter(job.setup);
    TAtomicFile output(job.target);
    TProgressSteps progress(job.progress);
    std::string buffer;
    buffer.reserve(kFlushSize * 2);
    const std::string_view lineEnd = utf16Target ? std::string_view("\r\0\n\0", 4) : std::string_view("\r\n");
    std::uint64_t written = 0;
    if (utf16Target) buffer.append("\xFF\xFE");

    const auto finishLine = [&](std::size_t lineStart) {
        if (job.editor) {
            std::string line = buffer.substr(lineStart);
            job.editor->SetLineOffset(written + lineStart);
            job.editor->EditLine(line);
            buffer.resize(lineStart);
            buffer.append(line);
        }
        buffer.append(lineEnd);
        if (buffer.size() >= kFlushSize) {
            output.Write(buffer);
            written += buffer.size();
            buffer.clear();
        }
    };

    if (job.setup.sourceKind == TEncodingKind::Utf16) {
        TUtf16LineReader reader(job.source);
        std::u32string line;
        std::uint64_t consumed = 0;
        while (reader.Next(line)) {
            if (job.transformCodePoints) job.transformCodePoints(line);
            const std::size_t start = buffer.size();
            converter->ConvertCodePoints(line, buffer);
            finishLine(start);
            progress.Add(reader.Consumed() - consumed);
            consumed = reader.Consumed();
        }
    } else {
        const bool unicodeText = job.setup.sourceKind != TEncodingKind::Legacy;
        TLineReader reader(job.source, unicodeText);
        std::string_view view;
        std::string edited;
        while (reader.Next(view)) {
            progress.Add(view.size());
            if (job.transformLine) {
                edited.assign(view);
                job.transformLine(edited);
                view = edited;
            }
            const std::size_t start = buffer.size();
            converter->ConvertLine(view, buffer);
            finishLine(start);
        }
    }
    output.Write(buffer);
    progress.Flush();

    const TFileJobResult result{TFileJobResult::Written, converter->References()};
    if (!job.overwriteAll && Exists(job.target)) {
        const TAnswer answer = job.questions ? job.questions->AskYesNoCancel(kOverwriteQuestion) : TAnswer::No;
        if (answer != TAnswer::Yes) {
            output.Discard();
            return {TFileJobResult::Declined, result.references};
        }
    }
    if (job.editor) {
        if (const auto insertion = job.editor->Insertion()) {
            TAtomicFile edited(job.target);
            Reinsert(output, *insertion, edited);
            output.Discard();
            edited.Commit();
            return result;
        }
    }
    output.Commit();
    return result;
}

}  // namespace odz
