#pragma once

// The spelling rules of a Vietnamese syllable: an initial consonant, a vowel nucleus, a final consonant,
// at most one tone mark, and the letters each of these may take. Detection of a file's encoding reads
// the text with each candidate and counts the words that are syllables against those that cannot be.

#include <cstdint>
#include <string_view>

namespace odz {

// The letters of the Vietnamese alphabet without tone and case, and the four Latin letters it does not
// use (f j w z, which no syllable holds).
enum TVnLetter : std::uint8_t {
    vl_a,
    vl_aBreve,
    vl_aCircumflex,
    vl_e,
    vl_eCircumflex,
    vl_i,
    vl_o,
    vl_oCircumflex,
    vl_oHorn,
    vl_u,
    vl_uHorn,
    vl_y,  // the twelve vowels come first
    vl_b,
    vl_c,
    vl_d,
    vl_dStroke,
    vl_g,
    vl_h,
    vl_k,
    vl_l,
    vl_m,
    vl_n,
    vl_p,
    vl_q,
    vl_r,
    vl_s,
    vl_t,
    vl_v,
    vl_x,
    vl_foreign,
    vl_count
};

constexpr bool IsVnVowel(TVnLetter letter) {
    return letter <= vl_y;
}

// The longest syllable, "nghiêng", has seven letters.
constexpr int kMaxSyllableLetters = 7;

// A letter as it stands in a word: its letter, its tone (0 none, 1 acute, 2 grave, 3 hook above,
// 4 tilde, 5 dot below) and whether it is a capital. Valid only for `vl_count` letters.
struct TVnLetterForm {
    TVnLetter letter = vl_foreign;
    std::uint8_t tone = 0;
    bool capital = false;
    bool known = false;  // a letter of the alphabet (or a foreign Latin letter), else nothing
};

// The form of a letter index (0 to 145 of the letter tables).
TVnLetterForm LetterFormOfIndex(int index);
// The form of a code point: an ASCII letter or one of the letters of the tables; `known` false for
// every other character.
TVnLetterForm LetterFormOfCodePoint(char32_t code);

// True when the toneless small letters spell a syllable that may carry the tone: an initial consonant
// as Vietnamese spells it (c before a o u, k before e ê i y, gh and ngh before e ê i, q with u), a vowel
// nucleus the language has, and a final consonant that nucleus takes (or none where it may stand open);
// a syllable ending in p, t, c or ch carries the acute or the dot below; a vowel alone is a word
// with the tones it has as one (à, ở, ý, not ộ or ẵ).
bool IsSyllable(const TVnLetter* letters, int count, int tone);

// The same for a word as code points (precomposed letters): every character a letter, at most one tone
// mark, and written in small letters, capitalised or all in capitals.
bool IsVietnameseSyllable(std::u32string_view word);

}  // namespace odz
