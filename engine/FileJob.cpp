#include "FileJob.h"

#include <cstring>
#include <system_error>

#include "AtomicFile.h"
#include "ByteBuffer.h"
#include "LineReaders.h"
#include "StreamOutput.h"

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

// Where the converted text goes: a new file that takes the target's place at the end, or a stream.
class TJobOutput {
public:
    explicit TJobOutput(const TFileJob& job) {
        if (job.targetStream >= 0) {
            FStream.emplace(job.targetStream, job.targetStreamName, job.editor);
        } else {
            FFile.emplace(job.target);
        }
    }
    void Write(std::string_view bytes) { FFile ? FFile->Write(bytes) : FStream->Write(bytes); }

    std::optional<TAtomicFile> FFile;
    std::optional<TStreamOutput> FStream;
};

// Writes the converted text again with the editor's insertion in place.
void Reinsert(TAtomicFile& first, const TOutputEditor::TInsertion& insertion, TAtomicFile& second) {
    std::string chunk(kFlushSize, '\0');
    std::uint64_t position = 0;
    bool inserted = false;
    for (;;) {
        const std::size_t n = first.ReadBack(position, chunk.data(), chunk.size());
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

// Puts the converted file in place. Without Overwrite All it never replaces a target, not even one
// that appeared while the file was converted, unless the user says so.
TFileJobResult PutInPlace(const TFileJob& job, TJobOutput& output, const TFileJobResult& result) {
    if (output.FStream) {
        output.FStream->Finish();
        return result;
    }
    TAtomicFile* file = &*output.FFile;
    std::optional<TAtomicFile> edited;
    if (job.editor) {
        if (const auto insertion = job.editor->Insertion()) {
            edited.emplace(job.target);
            Reinsert(*file, *insertion, *edited);
            file->Discard();
            file = &*edited;
        }
    }
    if (job.overwriteAll) {
        file->Commit();
        return result;
    }
    if (file->CommitNew()) return result;
    const TAnswer answer =
        job.questions ? job.questions->AskYesNoCancel(OverwriteQuestion(job.target)) : TAnswer::No;
    if (answer != TAnswer::Yes) {
        file->Discard();
        return {TFileJobResult::Declined, result.references};
    }
    file->Commit();
    return result;
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
    if (!job.source.IsStream() && !Exists(job.source.path)) return {TFileJobResult::SourceMissing, 0};
    std::unique_ptr<TLineConverter> own;
    TLineConverter* converter = job.converter;
    if (converter == nullptr) converter = (own = MakeLineConverter(job.setup)).get();
    const std::uint64_t referencesBefore = converter->References();
    TJobOutput output(job);
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
    return PutInPlace(job, output, result);
}

}  // namespace odz
