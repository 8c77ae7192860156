#include "ReplaceInLine.h"

namespace odz {

namespace {

template <class Char>
std::basic_string<Char> Replace(std::basic_string_view<Char> line, std::basic_string_view<Char> find,
                                std::basic_string_view<Char> replacement, std::uint64_t* count) {
    std::basic_string<Char> out;
    std::size_t rest = 0;
    std::size_t found;
    if (find.empty() || (found = line.find(find)) == line.npos) return std::basic_string<Char>(line);
    do {
        out.append(line.substr(rest, found - rest));
        out.append(replacement);
        rest = found + find.size();
        if (count) ++*count;
    } while ((found = line.find(find, rest)) != line.npos);
    out.append(line.substr(rest));
    return out;
}

}  // namespace

std::string ReplaceInLine(std::string_view Line, std::string_view Find, std::string_view Replacement,
                          std::uint64_t* Count) {
    return Replace(Line, Find, Replacement, Count);
}

std::u32string ReplaceInLine(std::u32string_view Line, std::u32string_view Find,
                             std::u32string_view Replacement, std::uint64_t* Count) {
    return Replace(Line, Find, Replacement, Count);
}

}  // namespace odz
