#include "FilePreview.h"

#include <system_error>

#include "ByteBuffer.h"
#include "FileError.h"
#include "LineConverter.h"
#include "LineReaders.h"
#include "TRaRaru.h"
#include "TextDecoders.h"

namespace odz {

namespace {

// The first maxBytes bytes of the file, and whether more follow.
std::string ReadStart(const std::filesystem::path& file, std::size_t maxBytes, bool& more) {
    TInputFile input{TInput(file)};
    std::string start(maxBytes + 1, '\0');
    std::size_t size = 0;
    while (size < start.size()) {
        const std::size_t read = input.Read(start.data() + size, start.size() - size);
        if (read == 0) break;
        size += read;
    }
    more = size > maxBytes;
    start.resize(std::min(size, maxBytes));
    return start;
}

// The lines of an 8-bit text, split at CR LF, CR and LF; a line the cut ends is left out unless it is
// the only one.
std::vector<std::string_view> SplitLines(std::string_view text, std::size_t maxLines, bool cutAtEnd,
                                         bool& cut) {
    std::vector<std::string_view> lines;
    std::size_t begin = 0;
    while (begin < text.size() && lines.size() < maxLines) {
        const std::size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) {
            if (!cutAtEnd || lines.empty()) lines.push_back(text.substr(begin));
            begin = text.size();
            break;
        }
        lines.push_back(text.substr(begin, end - begin));
        begin = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    cut = cutAtEnd || begin < text.size();
    return lines;
}

// Where the line after the first maxLines lines of an 8-bit text begins.
std::size_t EndOfLines(std::string_view text, std::size_t maxLines) {
    std::size_t begin = 0;
    for (std::size_t line = 0; line < maxLines && begin < text.size(); ++line) {
        const std::size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) return text.size();
        begin = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return begin;
}

// The lines of a UTF-16 text: a byte-order mark FE FF selects big-endian, otherwise little-endian;
// surrogate pairs are one character.
std::vector<std::u32string> Utf16Lines(std::string_view bytes, std::size_t maxLines, bool cutAtEnd,
                                       bool& cut) {
    bool bigEndian = false;
    std::size_t p = 0;
    if (bytes.starts_with("\xFE\xFF")) {
        bigEndian = true;
        p = 2;
    } else if (bytes.starts_with("\xFF\xFE")) {
        p = 2;
    }
    const auto unitAt = [&](std::size_t at) {
        const auto first = static_cast<std::uint8_t>(bytes[at]);
        const auto second = static_cast<std::uint8_t>(bytes[at + 1]);
        return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    std::vector<std::u32string> lines(1);
    bool afterCr = false;
    for (; p + 1 < bytes.size(); p += 2) {
        char32_t code = unitAt(p);
        if (code >= 0xD800 && code < 0xDC00 && p + 3 < bytes.size()) {
            const char32_t low = unitAt(p + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                p += 2;
            }
        }
        const bool lfAfterCr = afterCr && code == U'\n';
        afterCr = code == U'\r';
        if (lfAfterCr) continue;
        if (code == U'\r' || code == U'\n') {
            if (lines.size() == maxLines) {
                cut = true;
                return lines;
            }
            lines.emplace_back();
        } else {
            lines.back().push_back(code);
        }
    }
    // A line end closes the last line: no empty line after it.
    if (lines.back().empty() && lines.size() > 1) lines.pop_back();
    if (cutAtEnd && lines.size() > 1) lines.pop_back();
    cut = cutAtEnd;
    return lines;
}

std::u32string Utf16Units(std::string_view bytes) {
    std::u32string text;
    for (std::size_t p = 0; p + 1 < bytes.size(); p += 2) {
        char32_t code = static_cast<std::uint8_t>(bytes[p]) | (static_cast<std::uint8_t>(bytes[p + 1]) << 8);
        if (code >= 0xD800 && code < 0xDC00 && p + 3 < bytes.size()) {
            const char32_t low =
                static_cast<std::uint8_t>(bytes[p + 2]) | (static_cast<std::uint8_t>(bytes[p + 3]) << 8);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                p += 2;
            }
        }
        text.push_back(code);
    }
    return text;
}

std::u32string Reference(char32_t code) {
    std::u32string text = U"&#";
    for (const char digit : std::to_string(static_cast<std::uint32_t>(code))) text.push_back(digit);
    return text + U";";
}

// Walks a line as the source reads it beside the same line read back from the target: where the
// target holds a reference instead of the character, both are marked.
void MarkReferences(std::size_t line, const std::u32string& source, const std::u32string& readBack,
                    TPreview& preview) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < source.size() && j < readBack.size()) {
        if (source[i] != readBack[j]) {
            const std::u32string reference = Reference(source[i]);
            if (readBack.compare(j, reference.size(), reference) == 0) {
                preview.sourceMarks.push_back({line, i, 1});
                preview.targetMarks.push_back({line, j, reference.size()});
                ++i;
                j += reference.size();
                continue;
            }
        }
        ++i;
        ++j;
    }
}

// Reads the lines of the start of a file, converts them and reads them back.
class TPreviewBuilder {
public:
    TPreviewBuilder(const TPreviewRequest& request, TEncoding source, TEncoding target)
        : FRequest(request), FSource(source), FScratch(std::filesystem::path()) {
        FScratch.SetTransDau(request.keys.AsString());
        FConvert = FScratch.FileSetup(source, target, request.htmlDoc, request.file);
        TConversionSetup view = FConvert;
        view.targetKind = TEncodingKind::Utf8;
        view.targetTable = {};
        FView = MakeLineConverter(view);
        FToTarget = MakeLineConverter(FConvert);
        if (EncodingInfo(target).kind != TEncodingKind::Utf16) {
            TConversionSetup back =
                FScratch.FileSetup(target, TEncoding::Utf8, request.htmlDoc, request.file);
            back.tags = FConvert.tags;
            back.edhIsDStroke = false;  // shown as the file holds it
            FBack = MakeLineConverter(back);
        }
    }

    void Build(std::string_view start, bool more, TPreview& preview) {
        if (EncodingInfo(FSource).kind == TEncodingKind::Utf16) {
            for (const std::u32string& line : Utf16Lines(start, FRequest.maxLines, more, preview.cut)) {
                TByteBuffer target;
                FToTarget->ConvertCodePoints(line + U"\n", false, target);
                Add(line, WithoutLineEnd(target.View()), preview);
            }
            return;
        }
        const TEncodingKind kind = EncodingInfo(FSource).kind;
        if ((kind == TEncodingKind::Utf8 || kind == TEncodingKind::Ncr || kind == TEncodingKind::Viqr) &&
            start.starts_with("\xEF\xBB\xBF")) {
            start.remove_prefix(3);
        }
        for (const std::string_view line : SplitLines(start, FRequest.maxLines, more, preview.cut)) {
            TByteBuffer target;
            FToTarget->ConvertLine(line, target);
            Add(DecodeUtf8Or1252(FView->ConvertToString(line)), target.View(), preview);
        }
    }

private:
    std::string_view WithoutLineEnd(std::string_view bytes) const {
        const std::string_view end = FToTarget->LineEnd();
        if (bytes.ends_with(end)) bytes.remove_suffix(end.size());
        return bytes;
    }

    void Add(const std::u32string& source, std::string_view target, TPreview& preview) {
        std::u32string readBack =
            FBack ? DecodeUtf8Or1252(FBack->ConvertToString(target)) : Utf16Units(target);
        MarkReferences(preview.sourceLines.size(), source, readBack, preview);
        preview.sourceLines.push_back(source);
        preview.targetLines.push_back(std::move(readBack));
    }

    const TPreviewRequest& FRequest;
    TEncoding FSource;
    TRaRaru FScratch;  // the setups of the request's keys, apart from the program's engine
    TConversionSetup FConvert;
    std::unique_ptr<TLineConverter> FView;
    std::unique_ptr<TLineConverter> FToTarget;
    std::unique_ptr<TLineConverter> FBack;
};

}  // namespace

TPreview BuildPreview(const TPreviewRequest& request, const TFileDetector& detector) {
    TPreview preview;
    if (request.file.empty()) return preview;
    std::error_code error;
    const auto status = std::filesystem::status(request.file, error);
    if (std::filesystem::is_directory(status)) {
        preview.state = TPreviewState::Folder;
        return preview;
    }
    if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        preview.state = TPreviewState::NotAFile;
        return preview;
    }
    bool more = false;
    std::string start;
    try {
        start = ReadStart(request.file, request.maxBytes, more);
    } catch (const EFileError& failure) {
        preview.state = TPreviewState::Unreadable;
        preview.problem = failure.Reason().empty() ? failure.what() : failure.Reason();
        return preview;
    }
    if (detector) preview.detection = detector(request.file);

    std::optional<TEncoding> source = request.source;
    if (request.detectSource) {
        source.reset();
        if (preview.detection && preview.detection->encoding) {
            source = preview.detection->encoding;
        } else if (preview.detection && preview.detection->PlainAscii()) {
            source = TEncoding::Utf8;  // every encoding reads it alike
        } else if (request.target) {
            preview.state = TPreviewState::Undetected;
            return preview;
        }
    }
    if (!source || !request.target) {
        preview.state = TPreviewState::NoEncoding;
        return preview;
    }
    if (EncodingInfo(*source).kind != TEncodingKind::Utf16) {
        // Only the lines shown count: what follows them is neither read as text nor judged.
        const std::size_t end = EndOfLines(start, request.maxLines);
        if (end < start.size()) {
            start.resize(end);
            more = true;
        }
    }
    if (EncodingInfo(*source).kind != TEncodingKind::Utf16 && start.find('\0') != std::string::npos) {
        preview.state = TPreviewState::Binary;
        return preview;
    }
    preview.state = TPreviewState::Shown;
    preview.readAs = source;
    preview.convertedTo = request.target;
    TPreviewBuilder(request, *source, *request.target).Build(start, more, preview);
    return preview;
}

}  // namespace odz
