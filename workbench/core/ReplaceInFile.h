#pragma once

#include <filesystem>
#include <string_view>

namespace odz {

// Writes the source file to the target with every occurrence of find replaced in each line; lines end
// with CR LF, a last line without a line end gains one. A file that holds NUL bytes is no text: its
// line ends are kept as they are. Source and target may be the same file; the target is replaced only
// when the whole file has been written. Throws EFileError ("Cannot open file ...", "Cannot create
// file ...").
void ReplaceInFile(const std::filesystem::path& source, const std::filesystem::path& target,
                   std::string_view find, std::string_view replacement);

}  // namespace odz
