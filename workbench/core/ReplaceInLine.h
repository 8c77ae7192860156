#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace odz {

// The line with every occurrence of Find replaced by Replacement: exact, case-sensitive, occurrences do
// not overlap and the inserted text is never searched again. An empty Find changes nothing. The number
// of occurrences replaced is added to *Count when given.
std::string ReplaceInLine(std::string_view Line, std::string_view Find, std::string_view Replacement,
                          std::uint64_t* Count = nullptr);
std::u32string ReplaceInLine(std::u32string_view Line, std::u32string_view Find,
                             std::u32string_view Replacement, std::uint64_t* Count = nullptr);

}  // namespace odz
