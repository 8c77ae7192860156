#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace odz {

// Writes the source file to the target with every occurrence of find replaced in each line; lines end
// with CR LF, a last line without a line end gains one. A file that holds NUL bytes is no text: its
// line ends are kept as they are. Source and target may be the same file; the target is replaced only
// when the whole file has been written. Returns the number of occurrences replaced. Throws EFileError
// ("Cannot open file ...", "Cannot create file ..."). Memory stays flat whatever the length of the lines;
// readSize is the bytes read at a time (0: the usual size; tests make it tiny).
std::uint64_t ReplaceInFile(const std::filesystem::path& source, const std::filesystem::path& target,
                            std::string_view find, std::string_view replacement, std::size_t readSize = 0);

// The same for a UTF-16 file, matched character by character: the target is written as UTF-16 the
// way every UTF-16 file of this program is (little-endian, the mark FF FE, CR LF after every line).
std::uint64_t ReplaceInUtf16File(const std::filesystem::path& source, const std::filesystem::path& target,
                                 std::u32string_view find, std::u32string_view replacement,
                                 std::size_t readSize = 0);

}  // namespace odz
