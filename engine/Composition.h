#pragma once

// Letters written decomposed: a vowel followed by combining marks (macOS file names, some editors and
// web pages, Windows-1258's tone-mark bytes) is joined to the precomposed letter before the letter
// tables are consulted. Up to two marks join a vowel, a shape and a tone, in either order; a mark that
// cannot join stays a character of its own, and so does every mark after it.

#include <cstdint>
#include <string_view>
#include <utility>

#include "LetterLookup.h"
#include "TextDecoders.h"
#include "TextSinks.h"

namespace odz {

// The joining mark whose UTF-8 form (two bytes, CC 80 to CD 81) starts at p, or 0.
inline char32_t Utf8MarkAt(const std::uint8_t* p, const std::uint8_t* end) {
    if (end - p < 2 || (p[0] != 0xCC && p[0] != 0xCD)) return 0;
    const char32_t code = static_cast<char32_t>((p[0] & 0x1F) << 6 | (p[1] & 0x3F));
    return (p[1] & 0xC0) == 0x80 && IsJoiningMark(code) ? code : 0;
}

// The joining mark at p written as UTF-8 or, in a reference source, as a reference, with `after` set
// past it; 0 when there is none.
inline char32_t MarkOrReferenceAt(const std::uint8_t* p, const std::uint8_t* end,
                                  const std::uint8_t*& after) {
    if (const char32_t mark = Utf8MarkAt(p, end); mark != 0) {
        after = p + 2;
        return mark;
    }
    if (!MayBeMarkReference(p, end)) return 0;
    const TReference reference = ReadReference(p, end);
    after = reference.end;
    return reference.mark;
}

// The vowel letter index with the UTF-8 marks at p joined, p moved past them.
inline int JoinFollowingMarks(int letter, const std::uint8_t*& p, const std::uint8_t* end) {
    for (char32_t mark; (mark = Utf8MarkAt(p, end)) != 0; p += 2) {
        const int joined = JoinMark(letter, mark);
        if (joined < 0) break;
        letter = joined;
    }
    return letter;
}

// Where a piece of UTF-8 text that ends at `end` (no sequence cut there) may be cut so that no vowel is
// parted from the marks that may join it: before its last character that is no mark, or before a third
// mark in a row. The cut falls on a byte that always starts a character.
inline std::size_t ComposingSafeEnd(std::string_view text, std::size_t end) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto mark = [&](std::size_t i) { return Utf8MarkAt(bytes + i, bytes + end) != 0; };
    const std::size_t floor = end > 16 ? end - 16 : 0;
    for (std::size_t c = end; c-- > floor;) {
        if (bytes[c] >= 0x80 && bytes[c] < 0xC0) continue;
        if (!mark(c) || (c >= 4 && mark(c - 2) && mark(c - 4))) return c;
    }
    return end;  // no vowel among the last bytes
}

// The UTF-16 unit (little-endian) at a position of a text.
inline char16_t Utf16UnitAt(std::string_view text, std::size_t at) {
    return static_cast<char16_t>(static_cast<std::uint8_t>(text[at]) | static_cast<std::uint8_t>(text[at + 1])
                                                                           << 8);
}

// Where a piece of UTF-16 units may be cut: never after a high surrogate, whose low half may follow;
// where marks join, never between a vowel and its marks: before the last unit that is no mark, or
// before a third mark in a row.
inline std::size_t Utf16SafeEnd(std::string_view piece, bool compose) {
    std::size_t end = piece.size();
    if (end >= 2 && Utf16UnitAt(piece, end - 2) - 0xD800u < 0x400u) end -= 2;
    if (!compose) return end;
    const auto mark = [&](std::size_t at) { return IsJoiningMark(Utf16UnitAt(piece, at)); };
    for (std::size_t c = end; c >= 2;) {
        c -= 2;
        if (mark(c) && !(c >= 4 && mark(c - 2) && mark(c - 4))) continue;
        // A surrogate pair is one character: never cut between its halves.
        const bool low = Utf16UnitAt(piece, c) - 0xDC00u < 0x400u;
        return low && c >= 2 && Utf16UnitAt(piece, c - 2) - 0xD800u < 0x400u ? c - 2 : c;
    }
    return 0;
}

// Where a piece of a code page whose marks are bytes of their own (Windows-1258's tone bytes) may be
// cut: before the last byte that is no mark, or before a third mark in a row, which joins nothing.
// `marks` tells the mark each byte is, or 0.
inline std::size_t MarkBytesSafeEnd(std::string_view piece, const char32_t* marks) {
    const auto mark = [&](std::size_t i) { return marks[static_cast<std::uint8_t>(piece[i])] != 0; };
    for (std::size_t c = piece.size(); c-- > 0;) {
        if (!mark(c) || (c >= 2 && mark(c - 1) && mark(c - 2))) return c;
    }
    return 0;
}

// A sink that holds back the last vowel it was given until the next character shows whether that is a
// mark joining it. Everything else goes to the sink it wraps, in order.
template <class Inner>
class TComposingSink : public Inner {
public:
    using Inner::Inner;
    static constexpr bool kJoinsMarks = true;

    [[gnu::always_inline]] void Ascii(std::uint8_t b) {
        if (FPending < 0 && !IsVowelByte(b)) {  // the usual case: nothing held, nothing to hold
            Inner::Ascii(b);
            return;
        }
        HoldOrWrite(b);
    }
    void Letter(int k) {
        Flush();
        if (k < kCapitalDStroke) {
            FPending = k;
        } else {
            Inner::Letter(k);
        }
    }
    void Char(char32_t code) {
        if (FPending >= 0 && Join(code)) return;
        Flush();
        Inner::Char(code);
    }
    // A reference to a combining mark in a reference source: joined, or written as it stands.
    void MarkReference(char32_t code, std::string_view text) {
        if (FPending >= 0 && Join(code)) return;
        Flush();
        for (const char c : text) Inner::Ascii(static_cast<std::uint8_t>(c));
    }
    void TagOpen() {
        Flush();
        Inner::TagOpen();
    }
    void TagClose() {
        Flush();
        Inner::TagClose();
    }
    void EndLine() {
        Flush();
        Inner::EndLine();
    }
    void Raw(std::string_view bytes) {
        Flush();
        Inner::Raw(bytes);
    }
    std::size_t Backlog() const { return Inner::Backlog() + kMaxBytesPerCodePoint; }
    void Reset() {
        FPending = -1;
        Inner::Reset();
    }

private:
    static bool IsVowelByte(std::uint8_t b) {
        // A, E, I, O, U and Y in both cases: bits of the bytes 40 to 7F hex.
        constexpr std::uint64_t kVowels = 0x0220'8222'0220'8222ull;
        return b >= 0x40 && b < 0x80 && (kVowels >> (b - 0x40) & 1) != 0;
    }
    void HoldOrWrite(std::uint8_t b) {
        Flush();
        if (const int k = PlainVowelIndex(b); k >= 0) {
            FPending = k;
        } else {
            Inner::Ascii(b);
        }
    }
    bool Join(char32_t code) {
        const int joined = IsJoiningMark(code) ? JoinMark(FPending, code) : -1;
        if (joined < 0) return false;
        FPending = joined;
        return true;
    }
    void Flush() {
        if (FPending < 0) return;
        const int k = std::exchange(FPending, -1);
        if (IsPlainVowelIndex(k)) {
            Inner::Ascii(static_cast<std::uint8_t>(UnicodeTable[k]));
        } else {
            Inner::Letter(k);
        }
    }

    int FPending = -1;  // the vowel held back
};

}  // namespace odz
