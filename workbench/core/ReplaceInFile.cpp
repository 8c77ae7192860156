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

}  // namespace

void ReplaceInFile(const std::filesystem::path& source, const std::filesystem::path& target,
                   std::string_view find, std::string_view replacement) {
    const bool binary = HoldsNul(source);
    TLineReader reader(source, false);
    TAtomicFile output(target);
    std::string buffer;
    std::string_view line;
    while (reader.Next(line)) {
        buffer += ReplaceInLine(line, find, replacement);
        buffer += binary ? reader.LineEnd() : std::string_view("\r\n");
        if (buffer.size() >= (1 << 20)) {
            output.Write(buffer);
            buffer.clear();
        }
    }
    output.Write(buffer);
    output.Commit();
}

}  // namespace odz
