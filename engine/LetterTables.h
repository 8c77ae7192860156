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

// The shape of a vowel letter index below 144: 0 none, 1 breve, 2 circumflex, 3 horn.
int LetterShape(int index);

// The base vowel (A E I O U Y a e i o u y) of a letter index below 144.
char LetterBase(int index);

}  // namespace odz
