#pragma once

// Decimal references "&#N" and "&#N;" as a reference source reads them: a letter's reference is that
// letter, a joining mark's is that mark (where marks join), anything else stays text, its "&" and all.

#include <cstddef>
#include <cstdint>

#include "LetterLookup.h"

namespace odz {

// A reference with more digits than this (leading zeros included) is no letter.
constexpr std::size_t kMaxReferenceDigits = 32;
// The most bytes a reference that is read as a letter or a mark takes: "&#", the digits and ";".
constexpr std::size_t kMaxReferenceLength = kMaxReferenceDigits + 3;

// The letter index of a reference's number below 80 hex, or -1: the plain vowels other than A.
int LetterOfAsciiReference(std::uint32_t value);

// The letter index of a reference's number, or -1: letters 1 to 145, so the plain vowels other than A
// too.
inline int LetterOfReference(std::uint32_t value) {
    return value >= 0x80 ? LetterOfCodePoint(value) : LetterOfAsciiReference(value);
}

struct TReference {
    int letter = -1;                    // the letter it stands for, or -1
    char32_t mark = 0;                  // else the joining mark it stands for, or 0
    const std::uint8_t* end = nullptr;  // just past it, its ";" included, when it stands for either
};

// The reference at p, where "&#" stands, read no further than `end`; written out where it is called,
// for walks in which a call would cost as much as the reading.
[[gnu::always_inline]] inline TReference ReadReferenceInPlace(const std::uint8_t* p,
                                                              const std::uint8_t* end) {
    const std::uint8_t* const digits = p + 2;
    const std::uint8_t* j = digits;
    std::uint64_t value = 0;
    if (end - digits >= 5) {
        // The usual reference, of three or four digits, without a loop.
        const auto digit = [&](int i) { return static_cast<unsigned>(digits[i] - '0'); };
        const unsigned d0 = digit(0), d1 = digit(1), d2 = digit(2), d3 = digit(3);
        const bool four = d3 <= 9;
        if (d0 <= 9 && d1 <= 9 && d2 <= 9 && digit(3 + four) > 9) {
            const unsigned three = d0 * 100 + d1 * 10 + d2;
            value = four ? three * 10 + d3 : three;
            j = digits + 3 + four;
        }
    }
    if (j == digits) {
        while (j < end && static_cast<unsigned>(*j - '0') <= 9u &&
               static_cast<std::size_t>(j - digits) <= kMaxReferenceDigits) {
            value = value * 10 + static_cast<unsigned>(*j - '0');
            if (value > 0x7FFFFFFF) value = 0x80000000;
            ++j;
        }
    }
    const auto count = static_cast<std::size_t>(j - digits);
    TReference reference;
    if (count == 0 || count > kMaxReferenceDigits || value > 0x7FFFFFFF) return reference;
    reference.letter = LetterOfReference(static_cast<std::uint32_t>(value));
    if (reference.letter < 0) {
        if (!IsJoiningMark(static_cast<char32_t>(value))) return reference;
        reference.mark = static_cast<char32_t>(value);
    }
    reference.end = j < end && *j == ';' ? j + 1 : j;
    return reference;
}

// The same, left to the compiler to call or write out.
inline TReference ReadReference(const std::uint8_t* p, const std::uint8_t* end) {
    return ReadReferenceInPlace(p, end);
}

// False when what stands at p is surely no reference to a joining mark (U+0300 to U+0341, 768 to 833):
// a quick look before ReadReference().
inline bool MayBeMarkReference(const std::uint8_t* p, const std::uint8_t* end) {
    // Leading zeros, or three digits, the first 7 or 8 (the letters of the Vietnamese block have four,
    // from 7840 on). Worked out without branches where six bytes can be read: whether the reference
    // before a letter has three digits or four is a toss-up in prose.
    if (end - p >= 6) {
        const unsigned first = p[2];
        const bool seven = (first == '7') | (first == '8');
        const bool threeDigits = static_cast<unsigned>(p[5] - '0') > 9u;
        return (p[0] == '&') & (p[1] == '#') & ((first == '0') | (seven & threeDigits));
    }
    return end - p >= 3 && p[0] == '&' && p[1] == '#' && (p[2] == '0' || p[2] == '7' || p[2] == '8');
}

// The letter of the reference that ends just before p, in a text that starts at `begin`, or -1 when
// what ends there is no letter's reference. The byte at p must be neither a digit nor ";".
inline int LetterOfReferenceBefore(const std::uint8_t* begin, const std::uint8_t* p) {
    const std::uint8_t* q = p;
    if (q > begin && q[-1] == ';') --q;
    const std::uint8_t* const last = q;
    while (q > begin && static_cast<unsigned>(q[-1] - '0') <= 9u &&
           static_cast<std::size_t>(last - q) <= kMaxReferenceDigits)
        --q;
    if (q == last || q - begin < 2 || q[-1] != '#' || q[-2] != '&') return -1;
    const TReference reference = ReadReference(q - 2, p);
    return reference.end == p ? reference.letter : -1;
}

// Where a piece of a reference source that ends at `end` (no UTF-8 sequence cut there) may be cut so
// that what comes before reads the same whatever follows: never inside a reference, and, where marks
// join, never between a vowel and the marks (written as references or as UTF-8) that may join it. At
// most kMaxReferenceLength * 4 + 4 bytes are left after the cut.
std::size_t ReferenceSafeEnd(const std::uint8_t* text, std::size_t end, bool compose);

}  // namespace odz
