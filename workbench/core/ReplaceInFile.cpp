#include "ReplaceInFile.h"

#include <cstring>
#include <string>

#include "AtomicFile.h"
#include "FileError.h"
#include "LineReaders.h"
#include "ReplaceInLine.h"

namespace odz {

namespace {

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
                            std::string_view find, std::string_view replacement) {
    std::uint64_t count = 0;
    const bool binary = HoldsNul(source);
    TLineReader reader(source, false);
    TAtomicFile output(target);
    std::string buffer;
    std::string_view line;
    while (reader.Next(line)) {
        buffer += ReplaceInLine(line, find, replacement, &count);
        buffer += binary ? reader.LineEnd() : std::string_view("\r\n");
        if (buffer.size() >= (1 << 20)) {
            output.Write(buffer);
            buffer.clear();
        }
    }
    output.Write(buffer);
    output.Commit();
    return count;
}

std::uint64_t ReplaceInUtf16File(const std::filesystem::path& source, const std::filesystem::path& target,
                                 std::u32string_view find, std::u32string_view replacement) {
    std::uint64_t count = 0;
    TUtf16LineReader reader(source);
    TAtomicFile output(target);
    std::string buffer("\xFF\xFE");
    std::u32string line;
    while (reader.Next(line)) {
        for (const char32_t code : ReplaceInLine(line, find, replacement, &count)) AppendUtf16(buffer, code);
        AppendUtf16(buffer, U'\r');
        AppendUtf16(buffer, U'\n');
        if (buffer.size() >= (1 << 20)) {
            output.Write(buffer);
            buffer.clear();
        }
    }
    output.Write(buffer);
    output.Commit();
    return count;
}

}  // namespace odz
