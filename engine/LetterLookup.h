#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "LetterTables.h"

namespace odz {

// The letter index whose slot holds exactly the given code, scanning indexes 0 to 145 in order; -1 when
// none does. The first match wins.
int FindLetterCode(std::string_view code, const TVnLetterTable& table);

// True for the twelve vowel base letters A E I O U Y a e i o u y.
constexpr bool IsVowelBase(std::uint8_t c) {
    switch (c) {
        case 'A':
        case 'E':
        case 'I':
        case 'O':
        case 'U':
        case 'Y':
        case 'a':
        case 'e':
        case 'i':
        case 'o':
        case 'u':
        case 'y':
            return true;
        default:
            return false;
    }
}

// The letter index of an ASCII vowel base (a plain vowel), or -1 for any other byte.
constexpr int PlainVowelIndex(std::uint8_t c) {
    const int small = c >= 'a' && c <= 'z' ? 72 : 0;
    switch (small ? c - 'a' + 'A' : c) {
        case 'A':
            return small;
        case 'E':
            return small + 18;
        case 'I':
            return small + 30;
        case 'O':
            return small + 36;
        case 'U':
            return small + 54;
        case 'Y':
            return small + 66;
        default:
            return -1;
    }
}

// True for the combining marks that join a vowel written before them: the tones grave (U+0300, and
// U+0340), acute (U+0301, and U+0341), tilde (U+0303), hook above (U+0309) and dot below (U+0323), and
// the shapes circumflex (U+0302), breve (U+0306) and horn (U+031B).
constexpr bool IsJoiningMark(char32_t code) {
    // A bit for each of U+0300 to U+033F; a test this small is written out wherever it is used.
    constexpr std::uint64_t kBelow0340 = 1ULL << 0x00 | 1ULL << 0x01 | 1ULL << 0x02 | 1ULL << 0x03 |
                                         1ULL << 0x06 | 1ULL << 0x09 | 1ULL << 0x1B | 1ULL << 0x23;
    const char32_t at = code - 0x300;
    return at < 0x40 ? (kBelow0340 >> at & 1) != 0 : at - 0x40 < 2;
}

// The vowel letter index (0 to 143, the plain vowels included) with the mark joined to it: a tone to a
// vowel without one, a shape to a vowel without one that takes it (the tone kept, so that a tone
// written before the shape joins too). -1 when the mark does not join that vowel.
constexpr char32_t kJoiningMarkSpan = 0x42;  // the joining marks lie in U+0300 to U+0341
extern const std::array<std::array<std::int16_t, kJoiningMarkSpan>, kCapitalDStroke> MarkJoins;
inline int JoinMark(int letter, char32_t mark) {
    const char32_t at = mark - 0x300;
    return letter >= 0 && letter < kCapitalDStroke && at < kJoiningMarkSpan ? MarkJoins[letter][at] : -1;
}

// The vowel letter index of a character (0 to 143, the plain vowels included), or -1.
int VowelOfCodePoint(char32_t code);

// True when the table holds at least one two-byte code in slots 0 to 145.
bool HasTwoByteCodes(const TVnLetterTable& table);

// The letter index of a code point, 1 to 145, or -1. Plain vowels and characters outside the table
// give -1.
constexpr char32_t kCodePointLetterCount = 0x1F00;
extern const std::array<std::int16_t, kCodePointLetterCount> CodePointLetters;
inline int LetterOfCodePoint(char32_t code) {
    return code < kCodePointLetterCount ? CodePointLetters[code] : -1;
}

// A "<" starts a tag only when an ASCII letter, "/", "!" or "?" follows it, so "a < b" stays text.
inline bool StartsTag(std::string_view text, std::size_t position) {
    if (position + 1 >= text.size() || text[position] != '<') return false;
    const auto next = static_cast<unsigned char>(text[position + 1]);
    return (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z') || next == '/' || next == '!' ||
           next == '?';
}

// The position just past the tag that starts at the given position: after the next ">" or, when the
// text holds none, the end of the text.
inline std::size_t TagEnd(std::string_view text, std::size_t position) {
    const auto close = text.find('>', position + 1);
    return close == std::string_view::npos ? text.size() : close + 1;
}

// Copies the tag that starts at the 0-based position of the input to the end of the output and moves
// the position past it; does nothing when no tag starts there.
void CopyHtmlTag(std::size_t& position, std::string_view input, std::string& output);

// Reverse index of a legacy table: answers exactly what FindLetterCode answers for one- and two-byte
// codes, without the scan.
class TLegacyIndex {
public:
    explicit TLegacyIndex(const TVnLetterTable& table);

    int Single(std::uint8_t code) const { return FSingle[code]; }
    int Pair(std::uint8_t first, std::uint8_t second) const {
        return FPairs.empty() ? -1 : FPairs[(first << 8) | second];
    }
    bool TwoByte() const { return FTwoByte; }
    // True when the byte appears anywhere in the table's codes.
    bool UsedInCodes(std::uint8_t byte) const { return FUsed[byte]; }

private:
    std::array<std::int16_t, 256> FSingle{};
    std::vector<std::int16_t> FPairs;  // 65536 entries for tables with two-byte codes
    std::array<bool, 256> FUsed{};
    bool FTwoByte = false;
};

// A shared, immutable index for a table's content (the constant tables are indexed once per process).
const TLegacyIndex& LegacyIndexFor(const TVnLetterTable& table);

}  // namespace odz
