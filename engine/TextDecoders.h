#pragma once

// Readers of one source encoding. Each walks a line (without its line end) and hands its characters to
// a sink (see TextSinks.h). Letters are recognised exactly as the letter tables say, first match
// winning; everything else becomes a character of its own, so nothing is dropped.

#include <cstdint>
#include <string_view>

#include "LetterLookup.h"
#include "ViqrKeys.h"
#include "Windows1252.h"

namespace odz {

// The length of the valid UTF-8 sequence at the position (1 to 4) with its code point, or 0 when the
// bytes there are no valid UTF-8.
std::size_t DecodeUtf8At(std::string_view text, std::size_t position, char32_t& code);

// True for a letter index that is one of the twelve plain vowels (no mark at all).
constexpr bool IsPlainVowelIndex(int k) {
    if (k < 0 || k >= kCapitalDStroke) return false;
    const int m = k % 72;
    return m == 0 || m == 18 || m == 30 || m == 36 || m == 54 || m == 66;
}

namespace detail {

// A character that is not ASCII: a letter when its code point is one.
template <class Sink>
void EmitCodePoint(char32_t code, bool edhIsDStroke, Sink& sink) {
    if (code < 0x80) {
        sink.Ascii(static_cast<std::uint8_t>(code));
        return;
    }
    if (edhIsDStroke && code == 0xD0) {
        sink.Letter(kCapitalDStroke);
        return;
    }
    const int k = LetterOfCodePoint(code);
    if (k >= 1) {
        sink.Letter(k);
    } else {
        sink.Char(code);
    }
}

// A non-ASCII character in a text that is UTF-8 where it is valid and Windows-1252 elsewhere.
// Returns the number of bytes consumed.
template <class Sink>
std::size_t EmitNonAscii(std::string_view line, std::size_t i, bool edhIsDStroke, Sink& sink) {
    char32_t code = 0;
    std::size_t length = DecodeUtf8At(line, i, code);
    if (length == 0) {
        code = Windows1252ToUnicode(static_cast<std::uint8_t>(line[i]));
        length = 1;
    }
    EmitCodePoint(code, edhIsDStroke, sink);
    return length;
}

// A tag of a text whose non-ASCII characters are UTF-8 (or Windows-1252): ASCII passes unchanged.
template <class Sink>
std::size_t EmitUnicodeTag(std::string_view line, std::size_t i, bool edhIsDStroke, Sink& sink) {
    const std::size_t end = TagEnd(line, i);
    sink.TagOpen();
    while (i < end) {
        const auto c = static_cast<std::uint8_t>(line[i]);
        if (c < 0x80) {
            sink.Ascii(c);
            ++i;
        } else {
            i += EmitNonAscii(line.substr(0, end), i, edhIsDStroke, sink);
        }
    }
    sink.TagClose();
    return end;
}

}  // namespace detail

// Single-byte legacy encodings (VISCII, VPS, TCVN1): each byte alone is looked up, the control-range
// letter codes included. Inside a tag ASCII bytes pass unchanged.
class TSingleByteDecoder {
public:
    explicit TSingleByteDecoder(const TLegacyIndex& index) {
        for (int b = 0; b < 256; ++b) {
            const int k = index.Single(static_cast<std::uint8_t>(b));
            FLetter[b] = static_cast<std::int16_t>(k >= 1 && !IsPlainVowelIndex(k) ? k : -1);
        }
    }

    // The character of one byte, in text (inTag false) or inside a tag.
    template <class Sink>
    void Byte(std::uint8_t b, bool inTag, Sink& sink) const {
        if (b < 0x80 && (inTag || FLetter[b] < 0)) {
            sink.Ascii(b);
        } else if (FLetter[b] >= 0) {
            sink.Letter(FLetter[b]);
        } else {
            sink.Char(Windows1252ToUnicode(b));
        }
    }

    template <class Sink>
    void Decode(std::string_view line, bool tags, Sink& sink) const {
        std::size_t i = 0;
        while (i < line.size()) {
            if (tags && line[i] == '<' && StartsTag(line, i)) {
                const std::size_t end = TagEnd(line, i);
                sink.TagOpen();
                for (; i < end; ++i) Byte(static_cast<std::uint8_t>(line[i]), true, sink);
                sink.TagClose();
                continue;
            }
            Byte(static_cast<std::uint8_t>(line[i]), false, sink);
            ++i;
        }
    }

private:
    std::array<std::int16_t, 256> FLetter{};
};

// Two-byte legacy encodings (ZTWin, VNIWind, TCVN2). A vowel base is tried together with the byte after
// it; a byte of 80 hex or above is tried alone and, when it is a letter, together with the next byte,
// the longer code winning. All their letter codes hold a byte of 80 hex or above, so tags change nothing.
class TTwoByteDecoder {
public:
    explicit TTwoByteDecoder(const TLegacyIndex& index) : FIndex(&index) {}

    template <class Sink>
    void Decode(std::string_view line, bool /*tags*/, Sink& sink) const {
        const std::size_t n = line.size();
        std::size_t i = 0;
        while (i < n) {
            const auto c = static_cast<std::uint8_t>(line[i]);
            const bool hasNext = i + 1 < n;
            const auto next = hasNext ? static_cast<std::uint8_t>(line[i + 1]) : std::uint8_t{0};
            if (IsVowelBase(c)) {
                const int k = hasNext ? FIndex->Pair(c, next) : -1;
                if (k >= 1) {
                    sink.Letter(k);
                    i += 2;
                } else {
                    sink.Ascii(c);
                    ++i;
                }
            } else if (c >= 0x80) {
                const int single = FIndex->Single(c);
                if (single >= 1) {
                    const int pair = hasNext ? FIndex->Pair(c, next) : -1;
                    sink.Letter(pair >= 1 ? pair : single);
                    i += pair >= 1 ? 2 : 1;
                } else {
                    sink.Char(Windows1252ToUnicode(c));
                    ++i;
                }
            } else {
                sink.Ascii(c);
                ++i;
            }
        }
    }

private:
    const TLegacyIndex* FIndex;
};

// What the VIQR reader finds at a position.
struct TViqrUnit {
    enum TKind { Literal, Letter, Escaped } kind;
    int letter;          // for Letter
    std::size_t length;  // bytes consumed (for Escaped: the Escape key and the next byte)
};

// The VIQR reading rule at one position of an ASCII text.
TViqrUnit ReadViqrUnit(std::string_view line, std::size_t i, const TViqrKeys& keys, const TViqrIndex& index);

class TViqrDecoder {
public:
    TViqrDecoder(const TViqrKeys& keys, const TViqrIndex& index) : FKeys(keys), FIndex(&index) {}

    template <class Sink>
    void Decode(std::string_view line, bool tags, Sink& sink) const {
        std::size_t i = 0;
        while (i < line.size()) {
            const auto c = static_cast<std::uint8_t>(line[i]);
            if (tags && c == '<' && StartsTag(line, i)) {
                i = detail::EmitUnicodeTag(line, i, false, sink);
            } else if (c >= 0x80) {
                i += detail::EmitNonAscii(line, i, false, sink);
            } else {
                const TViqrUnit unit = ReadViqrUnit(line, i, FKeys, *FIndex);
                if (unit.kind == TViqrUnit::Letter) {
                    sink.Letter(unit.letter);
                    i += unit.length;
                } else if (unit.kind == TViqrUnit::Escaped) {
                    // The escaped character is written as it stands, whatever it is.
                    ++i;
                    const auto e = static_cast<std::uint8_t>(line[i]);
                    if (e < 0x80) {
                        sink.Ascii(e);
                        ++i;
                    } else {
                        i += detail::EmitNonAscii(line, i, false, sink);
                    }
                } else {
                    sink.Ascii(c);
                    ++i;
                }
            }
        }
    }

private:
    TViqrKeys FKeys;
    const TViqrIndex* FIndex;
};

// Decimal references "&#N" or "&#N;" of the letters; other references stay as text.
class TNcrDecoder {
public:
    template <class Sink>
    void Decode(std::string_view line, bool tags, Sink& sink) const {
        const std::size_t n = line.size();
        std::size_t i = 0;
        while (i < n) {
            const auto c = static_cast<std::uint8_t>(line[i]);
            if (tags && c == '<' && StartsTag(line, i)) {
                i = detail::EmitUnicodeTag(line, i, false, sink);
            } else if (c == '&' && i + 1 < n && line[i + 1] == '#') {
                i = Reference(line, i, sink);
            } else if (c >= 0x80) {
                i += detail::EmitNonAscii(line, i, false, sink);
            } else {
                sink.Ascii(c);
                ++i;
            }
        }
    }

private:
    template <class Sink>
    static std::size_t Reference(std::string_view line, std::size_t i, Sink& sink) {
        std::size_t j = i + 2;
        std::uint64_t value = 0;
        while (j < line.size() && line[j] >= '0' && line[j] <= '9') {
            if (value <= 0x7FFFFFFF) value = value * 10 + static_cast<std::uint64_t>(line[j] - '0');
            ++j;
        }
        const int k =
            (j > i + 2 && value <= 0x7FFFFFFF) ? LetterOfReference(static_cast<std::uint32_t>(value)) : -1;
        if (k < 0) {
            sink.Ascii('&');
            return i + 1;
        }
        if (IsPlainVowelIndex(k)) {
            sink.Ascii(static_cast<std::uint8_t>(UnicodeTable[k]));
        } else {
            sink.Letter(k);
        }
        return j < line.size() && line[j] == ';' ? j + 1 : j;
    }
    // Entries 1 to 145: the plain vowels other than A are references too.
    static int LetterOfReference(std::uint32_t value);
};

class TUtf8Decoder {
public:
    explicit TUtf8Decoder(bool edhIsDStroke) : FEdhIsDStroke(edhIsDStroke) {}

    template <class Sink>
    void Decode(std::string_view line, bool tags, Sink& sink) const {
        std::size_t i = 0;
        while (i < line.size()) {
            const auto c = static_cast<std::uint8_t>(line[i]);
            if (c < 0x80) {
                if (tags && c == '<' && StartsTag(line, i)) {
                    i = detail::EmitUnicodeTag(line, i, FEdhIsDStroke, sink);
                } else {
                    sink.Ascii(c);
                    ++i;
                }
            } else {
                i += detail::EmitNonAscii(line, i, FEdhIsDStroke, sink);
            }
        }
    }

private:
    bool FEdhIsDStroke;
};

// A line of code points read from UTF-16.
template <class Sink>
void DecodeCodePoints(std::u32string_view line, Sink& sink) {
    for (const char32_t code : line) detail::EmitCodePoint(code, false, sink);
}

}  // namespace odz
