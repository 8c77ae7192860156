#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace odz {

// Replaces every occurrence of a text in a stream of lines handed in piece by piece, cut anywhere:
// exact and case-sensitive, occurrences do not overlap, the inserted text is never searched again, and
// an occurrence never spans a line end (CR or LF). An empty search text changes nothing.
template <class Char>
class TTextReplacer {
public:
    using TView = std::basic_string_view<Char>;
    using TString = std::basic_string<Char>;

    TTextReplacer(TString find, TString replacement)
        : FFind(std::move(find)), FReplacement(std::move(replacement)) {}

    // Appends the replaced text of a piece and returns how much of the piece it used; the rest (shorter
    // than the search text, perhaps the start of an occurrence) must come again at the start of the
    // next piece. With `last` the whole piece is used.
    std::size_t Replace(TView piece, bool last, TString& out) {
        const std::size_t n = piece.size();
        std::size_t p = 0;
        while (p < n) {
            const auto lineEnd = static_cast<std::size_t>(
                std::find_if(piece.begin() + static_cast<std::ptrdiff_t>(p), piece.end(),
                             [](Char c) { return c == Char('\r') || c == Char('\n'); }) -
                piece.begin());
            const bool complete = lineEnd < n || last;
            const std::size_t used = ReplaceInSegment(piece.substr(p, lineEnd - p), complete, out);
            p += used;
            if (!complete) break;
            if (lineEnd < n) {
                out.push_back(piece[lineEnd]);
                ++p;
            }
        }
        return p;
    }

    // Occurrences replaced so far.
    std::uint64_t Count() const { return FCount; }

private:
    // A part of a line; unless complete, the line goes on after it.
    std::size_t ReplaceInSegment(TView segment, bool complete, TString& out) {
        const std::size_t m = FFind.size();
        std::size_t rest = 0;
        if (m > 0) {
            for (std::size_t found; (found = segment.find(FFind, rest)) != TView::npos; rest = found + m) {
                out.append(segment.substr(rest, found - rest));
                out.append(FReplacement);
                ++FCount;
            }
        }
        // An occurrence that begins in the last m - 1 characters may go on in the next piece.
        const std::size_t end = complete || m == 0
                                    ? segment.size()
                                    : std::max(rest, segment.size() - std::min(segment.size(), m - 1));
        out.append(segment.substr(rest, end - rest));
        return end;
    }

    TString FFind;
    TString FReplacement;
    std::uint64_t FCount = 0;
};

}  // namespace odz
