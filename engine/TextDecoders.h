#pragma once

// Readers of one source encoding. Each walks a line (without its line end) and hands its characters to
// a sink (see TextSinks.h). Letters are recognised exactly as the letter tables say, first match
// winning; everything else becomes a character of its own, so nothing is dropped.
//
// A line may come in pieces. Decode() reads the characters that start before `limit` and returns where
// it stopped (at `limit`, or just past a character that began before it); to decide on a character it
// may look at most kDecodeLookahead bytes ahead, so a caller that has not reached the end of the line
// hands in at least that many bytes after `limit`. What a decoder must remember between two pieces of
// a line (a tag left open) is kept in a TDecodeState.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "LetterLookup.h"
#include "References.h"
#include "ViqrKeys.h"
#include "Windows1252.h"

namespace odz {

// The most bytes any decoder looks at from the start of a character: a reference's "&#", its digits and
// the ";" after them.
constexpr std::size_t kDecodeLookahead = 40;
static_assert(kMaxReferenceDigits + 4 <= kDecodeLookahead);

struct TDecodeState {
    bool inTag = false;  // a tag opened on this line and not yet closed
};

// The length of the valid UTF-8 sequence at the position (1 to 4) with its code point, or 0 when the
// bytes there are no valid UTF-8.
std::size_t DecodeUtf8At(std::string_view text, std::size_t position, char32_t& code);

// The character at the position of a text that is UTF-8 where it is valid and Windows-1252 elsewhere,
// with the number of bytes it takes (1 to 4).
inline std::size_t DecodeUtf8Or1252At(std::string_view text, std::size_t position, char32_t& code) {
    if (const std::size_t length = DecodeUtf8At(text, position, code); length != 0) return length;
    code = Windows1252ToUnicode(static_cast<std::uint8_t>(text[position]));
    return 1;
}

// All the characters of such a text.
std::u32string DecodeUtf8Or1252(std::string_view text);

// True for a letter index that is one of the twelve plain vowels (no mark at all).
constexpr bool IsPlainVowelIndex(int k) {
    // Bit k % 72 of the capitals' pattern: 0, 18, 30, 36, 54 and 66.
    constexpr std::uint64_t kLow = 1ull << 0 | 1ull << 18 | 1ull << 30 | 1ull << 36 | 1ull << 54;
    if (k < 0 || k >= kCapitalDStroke) return false;
    const int m = k >= 72 ? k - 72 : k;
    return m < 64 ? (kLow >> m & 1) != 0 : m == 66;
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
    const std::size_t length = DecodeUtf8Or1252At(line, i, code);
    EmitCodePoint(code, edhIsDStroke, sink);
    return length;
}

// Tag bookkeeping shared by the decoders: at a "<" that starts a tag the sink is told a tag opens, and
// after its ">" that it closes. Returns true when the byte at i was "<" or ">" and has been handled
// (written to the sink as ASCII).
template <class Sink>
[[gnu::always_inline]] inline bool TagMark(std::string_view text, std::size_t i, bool tags,
                                           TDecodeState& state, Sink& sink) {
    const char c = text[i];
    if (c != '<' && c != '>') return false;  // the usual case, decided first
    if (state.inTag) {
        if (c != '>') return false;
        sink.Ascii('>');
        sink.TagClose();
        state.inTag = false;
        return true;
    }
    if (!tags || c != '<' || !StartsTag(text, i)) return false;
    sink.TagOpen();
    state.inTag = true;
    sink.Ascii('<');
    return true;
}

// The walk of the decoders of text that is ASCII where it is not UTF-8 or Windows-1252 (VIQR,
// references, UTF-8): tags marked, other characters decoded, and each ASCII byte outside those handed
// to `ascii`, which returns the position after what it read.
template <class Sink, class AsciiRule>
std::size_t DecodeText(std::string_view line, std::size_t limit, bool tags, bool edhIsDStroke,
                       TDecodeState& state, Sink& sink, AsciiRule&& ascii) {
    std::size_t i = 0;
    while (i < limit) {
        if (TagMark(line, i, tags, state, sink)) {
            ++i;
        } else if (static_cast<std::uint8_t>(line[i]) >= 0x80) {
            i += EmitNonAscii(line, i, edhIsDStroke, sink);
        } else {
            i = ascii(i);
        }
    }
    return i;
}

}  // namespace detail

// Called at the end of a line: a tag still open ends there.
template <class Sink>
void EndDecodedLine(TDecodeState& state, Sink& sink) {
    if (state.inTag) sink.TagClose();
    state = {};
}

// Single-byte legacy encodings (VISCII, VPS, TCVN1): each byte alone is looked up, the control-range
// letter codes included, in text and inside tags alike.
class TSingleByteDecoder {
public:
    explicit TSingleByteDecoder(const TLegacyIndex& index) {
        for (int b = 0; b < 256; ++b) {
            const int k = index.Single(static_cast<std::uint8_t>(b));
            FLetter[b] = static_cast<std::int16_t>(k >= 1 && !IsPlainVowelIndex(k) ? k : -1);
        }
    }

    // The character of one byte.
    template <class Sink>
    void Byte(std::uint8_t b, Sink& sink) const {
        if (FLetter[b] >= 0) {
            sink.Letter(FLetter[b]);
        } else if (b < 0x80) {
            sink.Ascii(b);
        } else {
            sink.Char(Windows1252ToUnicode(b));
        }
    }

    template <class Sink>
    std::size_t Decode(std::string_view line, std::size_t limit, bool tags, TDecodeState& state,
                       Sink& sink) const {
        std::size_t i = 0;
        for (; i < limit; ++i) {
            if (!detail::TagMark(line, i, tags, state, sink)) Byte(static_cast<std::uint8_t>(line[i]), sink);
        }
        return i;
    }

private:
    std::array<std::int16_t, 256> FLetter{};
};

// Two-byte legacy encodings (ZTWin, VNIWind, TCVN2). A vowel base is tried together with the byte after
// it; a byte of 80 hex or above is tried alone and, when it is a letter, together with the next byte,
// the longer code winning. All their letter codes hold a byte of 80 hex or above (never "<" or ">"), so
// letters are read alike in text and inside tags.
class TTwoByteDecoder {
public:
    explicit TTwoByteDecoder(const TLegacyIndex& index) : FIndex(&index) {}

    // The character of a byte that makes no letter with the next one.
    template <class Sink>
    void Byte(std::uint8_t c, Sink& sink) const {
        const int single = c >= 0x80 ? FIndex->Single(c) : -1;
        if (single >= 1) {
            sink.Letter(single);
        } else if (c < 0x80) {
            sink.Ascii(c);
        } else {
            sink.Char(Windows1252ToUnicode(c));
        }
    }
    // Whether a byte may make a letter with the next one: a vowel, or a letter of its own from 80 hex on.
    bool MayStartPair(std::uint8_t c) const {
        return IsVowelBase(c) || (c >= 0x80 && FIndex->Single(c) >= 1);
    }
    // The letter two bytes make as this reader reads them, or -1.
    int PairOf(std::uint8_t first, std::uint8_t second) const {
        return MayStartPair(first) ? FIndex->Pair(first, second) : -1;
    }
    // Where a piece of text may be cut: a last byte that may make a letter with the next one waits for
    // it. (No byte of these code pages both begins and ends a two-byte letter, so nothing before it
    // needs to wait.)
    std::size_t SafeEnd(std::string_view piece) const {
        const std::size_t n = piece.size();
        return n > 0 && MayStartPair(static_cast<std::uint8_t>(piece[n - 1])) ? n - 1 : n;
    }

    template <class Sink>
    std::size_t Decode(std::string_view line, std::size_t limit, bool tags, TDecodeState& state,
                       Sink& sink) const {
        const std::size_t n = line.size();
        std::size_t i = 0;
        while (i < limit) {
            if (detail::TagMark(line, i, tags, state, sink)) {
                ++i;
                continue;
            }
            const auto c = static_cast<std::uint8_t>(line[i]);
            const int pair = i + 1 < n ? PairOf(c, static_cast<std::uint8_t>(line[i + 1])) : -1;
            if (pair >= 1) {
                sink.Letter(pair);
                i += 2;
            } else {
                Byte(c, sink);
                ++i;
            }
        }
        return i;
    }

private:
    const TLegacyIndex* FIndex;
};

// Windows-1258: each byte is the character of the code page; its tone-mark bytes are combining marks,
// which a composing sink joins to the letter before them. Letters are read alike in text and in tags.
class TCp1258Decoder {
public:
    TCp1258Decoder() {
        for (int b = 0x80; b < 0x100; ++b) {
            FCode[b - 0x80] = Windows1258ToUnicode(static_cast<std::uint8_t>(b));
            const int k = LetterOfCodePoint(FCode[b - 0x80]);
            FLetter[b - 0x80] = static_cast<std::int16_t>(k >= 1 ? k : -1);
        }
    }

    template <class Sink>
    std::size_t Decode(std::string_view line, std::size_t limit, bool tags, TDecodeState& state,
                       Sink& sink) const {
        std::size_t i = 0;
        for (; i < limit; ++i) {
            if (detail::TagMark(line, i, tags, state, sink)) continue;
            const auto b = static_cast<std::uint8_t>(line[i]);
            if (b < 0x80) {
                sink.Ascii(b);
            } else if (FLetter[b - 0x80] >= 0) {
                sink.Letter(FLetter[b - 0x80]);
            } else {
                sink.Char(FCode[b - 0x80]);
            }
        }
        return i;
    }

private:
    std::array<char32_t, 0x80> FCode{};
    std::array<std::int16_t, 0x80> FLetter{};
};

// What the VIQR reader finds at a position.
struct TViqrUnit {
    enum TKind { Literal, Letter, Escaped } kind;
    int letter;          // for Letter
    std::size_t length;  // bytes consumed (for Escaped: the Escape key and the next byte)
};

// The VIQR reading rule at one position of an ASCII text.
inline TViqrUnit ReadViqrUnit(std::string_view line, std::size_t i, const TViqrKeys& keys,
                              const TViqrIndex& index) {
    const std::size_t n = line.size();
    const char c = line[i];
    const bool hasNext = i + 1 < n;
    const char next = hasNext ? line[i + 1] : '\0';
    if (IsVowelBase(static_cast<std::uint8_t>(c))) {
        if (hasNext && keys.IsShapeKey(next)) {
            if (i + 2 < n && keys.IsToneKey(line[i + 2])) {
                if (const int k = index.FindVowel(c, next, static_cast<std::uint8_t>(line[i + 2])); k != 0) {
                    return {TViqrUnit::Letter, k, 3};
                }
            } else if (const int k = index.FindVowel(c, next, -1); k != 0) {
                return {TViqrUnit::Letter, k, 2};
            }
        } else if (hasNext && keys.IsToneKey(next)) {
            if (const int k = index.FindVowel(c, next, -1); k != 0) return {TViqrUnit::Letter, k, 2};
        }
        return {TViqrUnit::Literal, 0, 1};
    }
    if (hasNext) {
        if ((c == 'd' && next == keys[kdTh]) || (c == keys[kdTh] && next == 'd')) {
            return {TViqrUnit::Letter, kSmallDStroke, 2};
        }
        if ((c == 'D' && next == keys[kDHoa]) || (c == keys[kDHoa] && next == 'D')) {
            return {TViqrUnit::Letter, kCapitalDStroke, 2};
        }
        // An Escape key last on the line has nothing to protect and stays as it is.
        if (c == keys[kEscape]) return {TViqrUnit::Escaped, 0, 2};
    }
    return {TViqrUnit::Literal, 0, 1};
}

// VIQR: ASCII text read by the keys; inside a tag ASCII passes unchanged.
class TViqrDecoder {
public:
    TViqrDecoder(const TViqrKeys& keys, const TViqrIndex& index) : FKeys(keys), FIndex(&index) {}

    template <class Sink>
    std::size_t Decode(std::string_view line, std::size_t limit, bool tags, TDecodeState& state,
                       Sink& sink) const {
        return detail::DecodeText(line, limit, tags, false, state, sink, [&](std::size_t i) {
            const auto c = static_cast<std::uint8_t>(line[i]);
            const TViqrUnit unit =
                state.inTag ? TViqrUnit{TViqrUnit::Literal, 0, 1} : ReadViqrUnit(line, i, FKeys, *FIndex);
            if (unit.kind == TViqrUnit::Letter) {
                sink.Letter(unit.letter);
                return i + unit.length;
            }
            if (unit.kind == TViqrUnit::Literal) {
                sink.Ascii(c);
                return i + 1;
            }
            // The escaped character is written as it stands, whatever it is.
            const auto e = static_cast<std::uint8_t>(line[i + 1]);
            if (e >= 0x80) return i + 1 + detail::EmitNonAscii(line, i + 1, false, sink);
            sink.Ascii(e);
            return i + 2;
        });
    }

private:
    TViqrKeys FKeys;
    const TViqrIndex* FIndex;
};

// Decimal references "&#N" or "&#N;" of the letters, read as letters wherever they stand, inside tags
// too (a reference in an attribute value means the same letter); other references stay as text.
class TNcrDecoder {
public:
    template <class Sink>
    std::size_t Decode(std::string_view line, std::size_t limit, bool tags, TDecodeState& state,
                       Sink& sink) const {
        return detail::DecodeText(line, limit, tags, false, state, sink, [&](std::size_t i) {
            if (line[i] == '&' && i + 1 < line.size() && line[i + 1] == '#') return Reference(line, i, sink);
            sink.Ascii(static_cast<std::uint8_t>(line[i]));
            return i + 1;
        });
    }

private:
    template <class Sink>
    static std::size_t Reference(std::string_view line, std::size_t i, Sink& sink) {
        const auto* begin = reinterpret_cast<const std::uint8_t*>(line.data());
        const TReference reference = ReadReference(begin + i, begin + line.size());
        if (reference.end == nullptr) {
            sink.Ascii('&');
            return i + 1;
        }
        const auto after = static_cast<std::size_t>(reference.end - begin);
        if (reference.letter >= 0) {
            if (IsPlainVowelIndex(reference.letter)) {
                sink.Ascii(static_cast<std::uint8_t>(UnicodeTable[reference.letter]));
            } else {
                sink.Letter(reference.letter);
            }
            return after;
        }
        if constexpr (Sink::kJoinsMarks) {
            if (reference.mark != 0) {
                sink.MarkReference(reference.mark, line.substr(i, after - i));
                return after;
            }
        }
        sink.Ascii('&');  // a mark's reference, where marks do not join
        return i + 1;
    }
};

class TUtf8Decoder {
public:
    explicit TUtf8Decoder(bool edhIsDStroke) : FEdhIsDStroke(edhIsDStroke) {}

    template <class Sink>
    std::size_t Decode(std::string_view line, std::size_t limit, bool tags, TDecodeState& state,
                       Sink& sink) const {
        return detail::DecodeText(line, limit, tags, FEdhIsDStroke, state, sink, [&](std::size_t i) {
            sink.Ascii(static_cast<std::uint8_t>(line[i]));
            return i + 1;
        });
    }

private:
    bool FEdhIsDStroke;
};

}  // namespace odz
