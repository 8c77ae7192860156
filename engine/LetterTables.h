#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace odz {

// Every letter table has one slot per letter index: 72 capital vowels (families A, E, I, O, U, Y; each
// group a toneless letter followed by acute, grave, hook above, tilde, dot below), the same 72 as small
// letters, then Đ, đ and a closing position.
constexpr int kLetterCount = 147;
constexpr int kLastLetter = 145;    // the highest index that is a letter
constexpr int kClosingIndex = 146;  // holds no letter
constexpr int kCapitalDStroke = 144;
constexpr int kSmallDStroke = 145;

// One slot: a code of one or two bytes, zero-padded; three zero bytes mean "no code".
using TVnSlot = std::array<std::uint8_t, 3>;
// A legacy encoding's table: 147 packed slots of 3 bytes.
using TVnLetterTable = std::array<TVnSlot, kLetterCount>;

extern const TVnLetterTable VisciiTable;
extern const TVnLetterTable VpsTable;
extern const TVnLetterTable Tcvn1Table;
extern const TVnLetterTable Tcvn2Table;
extern const TVnLetterTable VniWindTable;
extern const TVnLetterTable ZTWinTable;
// Windows-1258 as written: a letter the code page lacks is its base letter and a tone-mark byte.
extern const TVnLetterTable Cp1258Table;

// The code point of each letter index; entry 146 is 0.
extern const std::array<std::uint32_t, kLetterCount> UnicodeTable;
// The UTF-8 form of each letter index; entry 146 is two zero bytes.
extern const std::array<std::string, kLetterCount> Utf8Table;

// The code held in a slot: its bytes up to the first zero byte.
inline std::string_view SlotCode(const TVnSlot& slot) {
    const auto length = slot[0] == 0 ? 0 : (slot[1] == 0 ? 1 : 2);
    return {reinterpret_cast<const char*>(slot.data()), static_cast<std::size_t>(length)};
}

// Tone of a letter index below 144: 0 none, 1 acute, 2 grave, 3 hook above, 4 tilde, 5 dot below.
constexpr int LetterTone(int index) {
    return (index % 72) % 6;
}

// The combining mark of a tone 1 to 5 (U+0301 acute, U+0300 grave, U+0309 hook above, U+0303 tilde,
// U+0323 dot below).
constexpr char32_t ToneMark(int tone) {
    constexpr char32_t marks[] = {0, 0x0301, 0x0300, 0x0309, 0x0303, 0x0323};
    return marks[tone];
}

// The shape of a vowel letter index below 144: 0 none, 1 breve, 2 circumflex, 3 horn.
int LetterShape(int index);

// The base vowel (A E I O U Y a e i o u y) of a letter index below 144.
char LetterBase(int index);

}  // namespace odz
