#include "FileJob.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "AtomicFile.h"
#include "ByteBuffer.h"
#include "LineReaders.h"
#include "StreamOutput.h"
#include "TextReplacer.h"

namespace odz {

namespace {

constexpr std::size_t kFlushSize = 1 << 18;
// Converted text kept back while an edit may still come for it (a charset value being read). A value
// longer than this is edited in a second pass over the written file.
constexpr std::size_t kMaxKeptBack = 4 << 20;

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

// Where the converted text goes: a new file that takes the target's place at the end, or a stream.
class TSink {
public:
    explicit TSink(const TFileJob& job) {
        if (job.targetStream >= 0) {
            stream.emplace(job.targetStream, job.targetStreamName, job.editor);
        } else {
            file.emplace(job.target);
        }
    }
    void Write(std::string_view bytes) { file ? file->Write(bytes) : stream->Write(bytes); }

    std::optional<TAtomicFile> file;
    std::optional<TStreamOutput> stream;
};

// The converted text on its way to the sink: the editor sees every byte of it, and its edits are made
// while the bytes are written. An edit whose bytes were written before the editor asked for it is kept
// for a second pass over the written file.
class TOutput {
public:
    TOutput(TSink& sink, TOutputEditor* editor) : FSink(sink), FEditor(editor) {}

    TByteBuffer& Buffer() { return FBuffer; }

    // The bytes from `start` of the buffer on are newly converted.
    void Converted(std::size_t start) {
        if (FEditor) FEditor->Scan(FBuffer.View().substr(start), FEdits);
        if (FBuffer.Size() >= kFlushSize) Flush(false);
    }

    // Writes the buffer with the edits made. Before the end, bytes that an edit may still come for stay
    // in the buffer, unless there are too many of them.
    void Flush(bool end) {
        std::size_t upTo = FBuffer.Size();
        if (!end && FEditor) {
            if (const auto pending = FEditor->Pending(); pending && *pending >= FBufferStart) {
                const auto from = static_cast<std::size_t>(*pending - FBufferStart);
                if (FBuffer.Size() - from <= kMaxKeptBack) upTo = from;
            }
        }
        std::size_t position = 0;
        for (TOutputEditor::TEdit& edit : FEdits) {
            if (edit.offset < FBufferStart) {
                edit.offset += FDelta;  // in the written file
                FLater.push_back(std::move(edit));
                continue;
            }
            const auto at = static_cast<std::size_t>(edit.offset - FBufferStart);
            FSink.Write(FBuffer.View().substr(position, at - position));
            FSink.Write(edit.text);
            position = at + static_cast<std::size_t>(edit.length);
            FDelta += edit.text.size() - edit.length;
        }
        FEdits.clear();
        FSink.Write(FBuffer.View().substr(position, upTo - position));
        FBuffer.Replace(0, upTo, {});
        FBufferStart += upTo;
    }

    // Edits left for a second pass, in the written file's offsets, with the editor's insertion.
    std::vector<TOutputEditor::TEdit> Later() {
        if (FEditor) {
            if (auto insertion = FEditor->Insertion()) FLater.push_back(std::move(*insertion));
        }
        return std::move(FLater);
    }

private:
    TSink& FSink;
    TOutputEditor* FEditor;
    TByteBuffer FBuffer;
    std::uint64_t FBufferStart = 0;  // offset of the buffer's first byte in the converted text
    std::uint64_t FDelta = 0;        // bytes the edits made so far added (modulo 2^64: removed)
    std::vector<TOutputEditor::TEdit> FEdits;
    std::vector<TOutputEditor::TEdit> FLater;
};

// Writes the converted text again with the edits in place.
void Rewrite(TAtomicFile& first, const std::vector<TOutputEditor::TEdit>& edits, TAtomicFile& second) {
    std::string chunk(kFlushSize, '\0');
    std::uint64_t position = 0;  // offset of the chunk in the first file
    std::uint64_t skip = 0;      // bytes still to leave out for the edit before
    auto edit = edits.begin();
    for (;;) {
        const std::size_t n = first.ReadBack(position, chunk.data(), chunk.size());
        if (n == 0) break;
        std::string_view data(chunk.data(), n);
        while (!data.empty()) {
            if (skip > 0) {
                const auto drop = static_cast<std::size_t>(std::min<std::uint64_t>(skip, data.size()));
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

// Puts the converted file in place. Without Overwrite All it never replaces a target, not even one
// that appeared while the file was converted, unless the user says so.
TFileJobResult PutInPlace(const TFileJob& job, TSink& sink, TOutput& output, const TFileJobResult& result) {
    if (sink.stream) {
        // The stream holds back what its insertion needs; edits it could no longer make are lost.
        sink.stream->Finish();
        return result;
    }
    TAtomicFile* file = &*sink.file;
    std::optional<TAtomicFile> edited;
    if (const auto later = output.Later(); !later.empty()) {
        edited.emplace(job.target);
        Rewrite(*file, later, *edited);
        file->Discard();
        file = &*edited;
    }
    if (job.mayPutInPlace && !job.mayPutInPlace()) {
        file->Discard();
        return {TFileJobResult::Declined, result.references, result.replacements};
    }
    if (job.overwriteAll) {
        file->Commit();
        return result;
    }
    if (file->CommitNew()) return result;
    const TAnswer answer = job.questions ? job.questions(OverwriteQuestion(job.target)) : TAnswer::No;
    if (answer != TAnswer::Yes) {
        file->Discard();
        return {TFileJobResult::Declined, result.references, result.replacements};
    }
    file->Commit();
    return result;
}

}  // namespace

TFileJobResult RunFileJob(const TFileJob& job) {
    if (!job.source.IsStream() && !Exists(job.source.path)) return {TFileJobResult::SourceMissing, 0};
    std::unique_ptr<TLineConverter> own;
    TLineConverter* converter = job.converter;
    if (converter == nullptr) converter = (own = MakeLineConverter(job.setup)).get();
    converter->Restart();
    const std::uint64_t referencesBefore = converter->References();
    TSink sink(job);
    TOutput output(sink, job.editor);
    TByteBuffer& buffer = output.Buffer();
    TProgressSteps progress(job.progress);
    if (job.setup.targetKind == TEncodingKind::Utf16) buffer.Append("\xFF\xFE");

    std::uint64_t replacements = 0;
    if (TakesUtf16Units(job.setup) && job.replace.findCodePoints.empty()) {
        // The units as they stand, which the converter walks faster than code points.
        static_assert(TUtf16Reader::kMaxUnitsKept >= kMaxStreamCarry);
        TUtf16Reader reader(job.source, job.readSize);
        std::string_view text;
        std::size_t keep = 0;
        for (bool more = true; more;) {
            more = reader.NextUnits(text, keep);
            const std::size_t start = buffer.Size();
            keep = text.size() - converter->ConvertStream(text, !more, buffer);
            output.Converted(start);
            progress.Reached(reader.Consumed());
        }
    } else if (job.setup.sourceKind == TEncodingKind::Utf16) {
        TUtf16Reader reader(job.source, job.readSize);
        TTextReplacer<char32_t> replacer(job.replace.findCodePoints, job.replace.replacementCodePoints);
        std::u32string text;
        std::u32string waiting;  // read, not yet replaced
        std::u32string replaced;
        for (bool more = true; more;) {
            more = reader.Next(text);
            std::u32string_view piece = text;
            if (!job.replace.findCodePoints.empty()) {
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
        replacements = replacer.Count();
    } else {
        // A UTF-8 byte-order mark is no content of a Unicode, VIQR or reference source; in an 8-bit code
        // page its bytes are characters.
        const bool dropBom =
            job.setup.sourceKind != TEncodingKind::Legacy && job.setup.sourceKind != TEncodingKind::Cp1258;
        TChunkReader reader(job.source, dropBom, job.readSize);
        TTextReplacer<char> replacer(job.replace.find, job.replace.replacement);
        std::string replaced;  // replaced, not yet converted
        std::string_view piece;
        bool last = false;
        while (reader.Next(piece, last)) {
            std::string_view text = piece;
            if (!job.replace.find.empty()) {
                reader.Consume(replacer.Replace(piece, last, replaced));
                text = replaced;
            }
            const std::size_t start = buffer.Size();
            const std::size_t used = converter->ConvertStream(text, last, buffer);
            if (job.replace.find.empty()) {
                reader.Consume(used);
            } else {
                replaced.erase(0, used);
            }
            output.Converted(start);
            progress.Reached(reader.Consumed());
        }
        replacements = replacer.Count();
    }
    output.Flush(true);
    progress.Flush();

    const TFileJobResult result{TFileJobResult::Written, converter->References() - referencesBefore,
                                replacements};
    return PutInPlace(job, sink, output, result);
}

}  // namespace odz
