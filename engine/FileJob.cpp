#include "FileJob.h"

#include <cstring>
#include <system_error>

#include "AtomicFile.h"
#include "ByteBuffer.h"
#include "LineReaders.h"
#include "TextReplacer.h"

namespace odz {

namespace {

constexpr std::size_t kFlushSize = 1 << 20;

// Progress is reported in steps, not per piece: the indicator needs no more.
class TProgressSteps {
public:
    explicit TProgressSteps(TProgress* progress) : FProgress(progress) {}
    ~TProgressSteps() { Flush(); }
    // The source has been read up to this many bytes.
    void Reached(std::uint64_t consumed) {
        FPending += consumed - FReported;
        FReported = consumed;
        if (FPending >= kFlushSize) Flush();
    }
    void Flush() {
        if (FProgress && FPending) FProgress->Advance(static_cast<std::int64_t>(FPending));
        FPending = 0;
    }

private:
    TProgress* FProgress;
    std::uint64_t FReported = 0;
    std::uint64_t FPending = 0;
};

bool Exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// The converted text on its way to the file: the editor sees every byte of it, and its edits are made
// while the bytes are written. An edit whose bytes were written before the editor asked for it is kept
// for a second pass over the written file.
class TOutput {
public:
    TOutput(TAtomicFile& file, TOutputEditor* editor) : FFile(file), FEditor(editor) {}

    TByteBuffer& Buffer() { return FBuffer; }

    // The bytes from `start` of the buffer on are newly converted.
    void Converted(std::size_t start) {
        if (FEditor) FEditor->Scan(FBuffer.View().substr(start), FEdits);
        if (FBuffer.Size() >= kFlushSize) Flush();
    }

    void Flush() {
        std::size_t position = 0;
        for (TOutputEditor::TEdit& edit : FEdits) {
            if (edit.offset < FBufferStart) {
                edit.offset += FDelta;  // in the written file
                FLater.push_back(std::move(edit));
                continue;
            }
            const auto at = static_cast<std::size_t>(edit.offset - FBufferStart);
            FFile.Write(FBuffer.View().substr(position, at - position));
            FFile.Write(edit.text);
            position = at + static_cast<std::size_t>(edit.length);
            FDelta += edit.text.size() - edit.length;
        }
        FEdits.clear();
        FFile.Write(FBuffer.View().substr(position));
        FBufferStart += FBuffer.Size();
        FBuffer.Clear();
    }

    // Edits left for a second pass, in the written file's offsets, with the editor's insertion.
    std::vector<TOutputEditor::TEdit> Later() {
        if (FEditor) {
            if (auto insertion = FEditor->Insertion()) FLater.push_back(std::move(*insertion));
        }
        return std::move(FLater);
    }

private:
    TAtomicFile& FFile;
    TOutputEditor* FEditor;
    TByteBuffer FBuffer;
    std::uint64_t FBufferStart = 0;  // offset of the buffer's first byte in the converted text
    std::uint64_t FDelta = 0;        // bytes the edits made so far added (modulo 2^64: removed)
    std::vector<TOutputEditor::TEdit> FEdits;
    std::vector<TOutputEditor::TEdit> FLater;
};

// Writes the converted text again with the edits in place.
void Rewrite(TAtomicFile& first, const std::vector<TOutputEditor::TEdit>& edits, TAtomicFile& second) {
    first.Flush();
    TInputFile input(first.TempPath());
    std::string chunk(kFlushSize, '\0');
    std::uint64_t position = 0;  // offset of the chunk in the first file
    std::uint64_t skip = 0;      // bytes still to leave out for the edit before
    auto edit = edits.begin();
    for (;;) {
        const std::size_t n = input.Read(chunk.data(), chunk.size());
        if (n == 0) break;
        std::string_view data(chunk.data(), n);
        while (!data.empty()) {
            if (skip > 0) {
                const std::size_t drop = static_cast<std::size_t>(std::min<std::uint64_t>(skip, data.size()));
                data.remove_prefix(drop);
                position += drop;
                skip -= drop;
                continue;
            }
            if (edit != edits.end() && edit->offset < position + data.size()) {
                const auto at = static_cast<std::size_t>(edit->offset - position);
                second.Write(data.substr(0, at));
                second.Write(edit->text);
                data.remove_prefix(at);
                position += at;
                skip = edit->length;
                ++edit;
                continue;
            }
            second.Write(data);
            position += data.size();
            data = {};
        }
    }
    for (; edit != edits.end(); ++edit) second.Write(edit->text);
}

}  // namespace

TFileJobResult RunFileJob(const TFileJob& job) {
    if (!Exists(job.source)) return {TFileJobResult::SourceMissing, 0};
    std::unique_ptr<TLineConverter> own;
    TLineConverter* converter = job.converter;
    if (converter == nullptr) converter = (own = MakeLineConverter(job.setup)).get();
    converter->Restart();
    const std::uint64_t referencesBefore = converter->References();
    TAtomicFile file(job.target);
    TOutput output(file, job.editor);
    TByteBuffer& buffer = output.Buffer();
    TProgressSteps progress(job.progress);
    if (job.setup.targetKind == TEncodingKind::Utf16) buffer.Append("\xFF\xFE");

    if (job.setup.sourceKind == TEncodingKind::Utf16) {
        TUtf16Reader reader(job.source, job.readSize);
        const TTextReplacer<char32_t> replacer(job.findCodePoints, job.replacementCodePoints);
        std::u32string text;
        std::u32string waiting;  // read, not yet replaced
        std::u32string replaced;
        for (bool more = true; more;) {
            more = reader.Next(text);
            std::u32string_view piece = text;
            if (!job.findCodePoints.empty()) {
                waiting += text;
                replaced.clear();
                waiting.erase(0, replacer.Replace(waiting, !more, replaced));
                piece = replaced;
            }
            const std::size_t start = buffer.Size();
            converter->ConvertCodePoints(piece, !more, buffer);
            output.Converted(start);
            progress.Reached(reader.Consumed());
        }
    } else {
        TChunkReader reader(job.source, job.setup.sourceKind != TEncodingKind::Legacy, job.readSize);
        const TTextReplacer<char> replacer(job.find, job.replacement);
        std::string replaced;  // replaced, not yet converted
        std::string_view piece;
        bool last = false;
        while (reader.Next(piece, last)) {
            std::string_view text = piece;
            if (!job.find.empty()) {
                reader.Consume(replacer.Replace(piece, last, replaced));
                text = replaced;
            }
            const std::size_t start = buffer.Size();
            const std::size_t used = converter->ConvertStream(text, last, buffer);
            if (job.find.empty()) {
                reader.Consume(used);
            } else {
                replaced.erase(0, used);
            }
            output.Converted(start);
            progress.Reached(reader.Consumed());
        }
    }
    output.Flush();
    progress.Flush();

    const TFileJobResult result{TFileJobResult::Written, converter->References() - referencesBefore};
    if (!job.overwriteAll && Exists(job.target)) {
        const TAnswer answer =
            job.questions ? job.questions->AskYesNoCancel(kOverwriteQuestion) : TAnswer::No;
        if (answer != TAnswer::Yes) {
            file.Discard();
            return {TFileJobResult::Declined, result.references};
        }
    }
    if (const auto later = output.Later(); !later.empty()) {
        TAtomicFile edited(job.target);
        Rewrite(file, later, edited);
        file.Discard();
        edited.Commit();
        return result;
    }
    file.Commit();
    return result;
}

}  // namespace odz
