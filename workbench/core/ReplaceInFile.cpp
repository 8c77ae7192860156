#include "ReplaceInFile.h"

#include <cstring>
#include <string>

#include "AtomicFile.h"
#include "FileError.h"
#include "LineReaders.h"
#include "TextReplacer.h"

namespace odz {

namespace {

constexpr std::size_t kFlushSize = 1 << 20;

bool HoldsNul(const std::filesystem::path& source) {
    TInputFile file(source);
    std::string chunk(1 << 16, '\0');
    for (std::size_t n; (n = file.Read(chunk.data(), chunk.size())) != 0;) {
        if (std::memchr(chunk.data(), '\0', n)) return true;
    }
    return false;
}

void AppendUnit(std::string& out, char32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>((unit >> 8) & 0xFF);
}

// One character as little-endian UTF-16.
void AppendUtf16(std::string& out, char32_t code) {
    if (code >= 0x10000) {
        AppendUnit(out, 0xD800 + ((code - 0x10000) >> 10));
        AppendUnit(out, 0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
        AppendUnit(out, code);
    }
}

}  // namespace

std::uint64_t ReplaceInFile(const std::filesystem::path& source, const std::filesystem::path& target,
                            std::string_view find, std::string_view replacement, std::size_t readSize) {
    const bool binary = HoldsNul(source);
    TTextReplacer<char> replacer{std::string(find), std::string(replacement)};
    TChunkReader reader(source, false, readSize);
    TAtomicFile output(target);
    std::string replaced;
    std::string buffer;
    bool afterCr = false;  // an LF next belongs to the CR written before it
    char lastByte = '\n';  // an empty file gains no line end
    std::string_view piece;
    bool last = false;
    while (reader.Next(piece, last)) {
        replaced.clear();
        reader.Consume(replacer.Replace(piece, last, replaced));
        if (binary) {
            buffer += replaced;
        } else {
            // Every line ends with CR LF, whichever line end it had.
            for (const char c : replaced) {
                if (c == '\n' && afterCr) {
                    afterCr = false;
                } else if (c == '\r' || c == '\n') {
                    buffer += "\r\n";
                    afterCr = c == '\r';
                } else {
                    buffer += c;
                    afterCr = false;
                }
            }
        }
        if (!replaced.empty()) lastByte = replaced.back();
        if (buffer.size() >= kFlushSize) {
            output.Write(buffer);
            buffer.clear();
        }
    }
    if (!binary && lastByte != '\r' && lastByte != '\n') buffer += "\r\n";  // the last line's end
    output.Write(buffer);
    output.Commit();
    return replacer.Count();
}

std::uint64_t ReplaceInUtf16File(const std::filesystem::path& source, const std::filesystem::path& target,
                                 std::u32string_view find, std::u32string_view replacement,
                                 std::size_t readSize) {
    TTextReplacer<char32_t> replacer{std::u32string(find), std::u32string(replacement)};
    TUtf16Reader reader(source, readSize);
    TAtomicFile output(target);
    std::string buffer("\xFF\xFE");
    std::u32string text;
    std::u32string waiting;  // read, not yet replaced
    std::u32string replaced;
    char32_t lastCode = U'\n';
    for (bool more = true; more;) {
        more = reader.Next(text);
        waiting += text;
        replaced.clear();
        waiting.erase(0, replacer.Replace(waiting, !more, replaced));
        for (const char32_t code : replaced) {
            if (code == U'\n') AppendUtf16(buffer, U'\r');
            AppendUtf16(buffer, code);
        }
        if (!replaced.empty()) lastCode = replaced.back();
        if (buffer.size() >= kFlushSize) {
            output.Write(buffer);
            buffer.clear();
        }
    }
    if (lastCode != U'\n') {
        AppendUtf16(buffer, U'\r');
        AppendUtf16(buffer, U'\n');
    }
    output.Write(buffer);
    output.Commit();
    return replacer.Count();
}

}  // namespace odz
