#include "FileJob.h"

#include <cstring>
#include <system_error>

#include "AtomicFile.h"
#include "ByteBuffer.h"
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

// Shows the editor the lines of buffer[start, end) that it may change: those holding "<", and the
// ones after a line that leaves a tag open. The converted lines end with CR LF.
void EditOutput(TOutputEditor& editor, TByteBuffer& buffer, std::size_t start, std::uint64_t written) {
    std::size_t position = start;
    std::string line;
    while (position < buffer.Size()) {
        const char* data = buffer.Data();
        std::size_t lineStart = position;
        if (!editor.Continues()) {
            const void* mark = std::memchr(data + position, '<', buffer.Size() - position);
            if (mark == nullptr) break;
            const auto at = static_cast<std::size_t>(static_cast<const char*>(mark) - data);
            if (const void* lf = ::memrchr(data + position, '\n', at - position)) {
                lineStart = static_cast<std::size_t>(static_cast<const char*>(lf) - data) + 1;
            }
        }
        const void* cr = std::memchr(data + lineStart, '\r', buffer.Size() - lineStart);
        const std::size_t lineEnd =
            cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - data) : buffer.Size();
        line.assign(data + lineStart, lineEnd - lineStart);
        editor.SetLineOffset(written + lineStart);
        editor.EditLine(line);
        if (line.size() != lineEnd - lineStart || line != std::string_view(data + lineStart, line.size())) {
            buffer.Replace(lineStart, lineEnd - lineStart, line);
        }
        position = lineStart + line.size() + 2;
    }
}

}  // namespace

TFileJobResult RunFileJob(const TFileJob& job) {
    if (!Exists(job.source)) return {TFileJobResult::SourceMissing, 0};
    std::unique_ptr<TLineConverter> own;
    TLineConverter* converter = job.converter;
    if (converter == nullptr) converter = (own = MakeLineConverter(job.setup)).get();
    const std::uint64_t referencesBefore = converter->References();
    TAtomicFile output(job.target);
    TProgressSteps progress(job.progress);
    TByteBuffer buffer;
    std::uint64_t written = 0;
    if (job.setup.targetKind == TEncodingKind::Utf16) buffer.Append("\xFF\xFE");

    // After each piece of converted text: let the editor see it, and hand full buffers to the file.
    // Conversion never makes a "<", so text without one needs no editing.
    const auto converted = [&](std::size_t start, std::string_view source) {
        if (job.editor && (job.editor->Continues() || std::memchr(source.data(), '<', source.size()))) {
            EditOutput(*job.editor, buffer, start, written);
        }
        if (buffer.Size() >= kFlushSize) {
            output.Write(buffer.View());
            written += buffer.Size();
            buffer.Clear();
        }
    };

    if (job.setup.sourceKind == TEncodingKind::Utf16) {
        TUtf16LineReader reader(job.source);
        std::u32string line;
        std::uint64_t consumed = 0;
        while (reader.Next(line)) {
            if (job.transformCodePoints) job.transformCodePoints(line);
            const std::size_t start = buffer.Size();
            converter->ConvertCodePoints(line, buffer);
            buffer.Append(converter->LineEnd());
            converted(start, std::string_view(buffer.Data() + start, buffer.Size() - start));
            progress.Add(reader.Consumed() - consumed);
            consumed = reader.Consumed();
        }
    } else if (job.transformLine) {
        TLineReader reader(job.source, job.setup.sourceKind != TEncodingKind::Legacy);
        std::string_view view;
        std::string line;
        while (reader.Next(view)) {
            progress.Add(view.size());
            line.assign(view);
            job.transformLine(line);
            const std::size_t start = buffer.Size();
            converter->ConvertLine(line, buffer);
            buffer.Append(converter->LineEnd());
            converted(start, line);
        }
    } else {
        TBlockReader reader(job.source, job.setup.sourceKind != TEncodingKind::Legacy);
        std::string_view block;
        while (reader.Next(block)) {
            progress.Add(block.size());
            const std::size_t start = buffer.Size();
            converter->ConvertBlock(block, buffer);
            converted(start, block);
        }
    }
    output.Write(buffer.View());
    progress.Flush();

    const TFileJobResult result{TFileJobResult::Written, converter->References() - referencesBefore};
    if (!job.overwriteAll && Exists(job.target)) {
        const TAnswer answer =
            job.questions ? job.questions->AskYesNoCancel(OverwriteQuestion(job.target)) : TAnswer::No;
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
