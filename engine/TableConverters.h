#pragma once

// Converters for the common cases, where every source character's output can be worked out once:
// single-byte sources here, UTF-8 and UTF-16 sources in CodeTableConverters.h, into anything but VIQR.
// They walk tables instead of calling a decoder and a sink for every character, and handle line ends
// themselves.

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <memory>
#include <optional>
#include <stdexcept>

#include "Composition.h"
#include "LineConverter.h"
#include "TextDecoders.h"
#include "TextSinks.h"

namespace odz {

// How many bytes at the start of an 8-byte word are plain ASCII text, written as themselves: not a
// control character, not the given marker ("<" or ">"), nothing of 80 hex or above. 8 when all are.
inline int PlainAsciiPrefix(std::uint64_t word, std::uint8_t marker) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighs = 0x8080808080808080ull;
    const std::uint64_t control = (word - kOnes * 0x20) & ~word & kHighs;  // below 20 hex
    const std::uint64_t marked = word ^ (kOnes * marker);
    const std::uint64_t stop = (word & kHighs) | control | ((marked - kOnes) & ~marked & kHighs);
    return stop == 0 ? 8 : __builtin_ctzll(stop) / 8;
}

// True when every printable ASCII byte but the marker is written as itself by the table.
template <class Table>
bool PrintableAsciiIsIdentity(const Table& table, std::uint8_t marker) {
    for (int b = 0x20; b < 0x80; ++b) {
        if (b == marker) continue;
        if (table[b].info != 1 || static_cast<std::uint8_t>(table[b].bytes[0]) != b) return false;
    }
    return true;
}

// True when every printable ASCII byte but the marker is written as its UTF-16 unit by the table.
template <class Table>
bool PrintableAsciiIsWide(const Table& table, std::uint8_t marker) {
    for (int b = 0x20; b < 0x80; ++b) {
        if (b == marker) continue;
        if (table[b].info != 2 || static_cast<std::uint8_t>(table[b].bytes[0]) != b || table[b].bytes[1] != 0)
            return false;
    }
    return true;
}

#if defined(__SSE2__)
// Writes `count` bytes of printable ASCII, from the 16 at `from`, as the target has them: as they stand,
// or (Wide) as UTF-16 units. Writes up to 32 bytes whatever the count.
template <bool Wide>
inline char* PutAscii(char* w, const std::uint8_t* from, unsigned count) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    if constexpr (Wide) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(w), _mm_unpacklo_epi8(bytes, _mm_setzero_si128()));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(w + 16), _mm_unpackhi_epi8(bytes, _mm_setzero_si128()));
        return w + 2 * count;
    } else {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(w), bytes);
        return w + count;
    }
}
#endif

#if defined(__SSE2__)
// Which of the 16 bytes at `from` are no printable ASCII, one bit each: control codes, DEL and every
// byte from 80 hex on (below 20 hex as signed bytes).
inline unsigned NotPrintableAscii(const std::uint8_t* from) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmplt_epi8(bytes, _mm_set1_epi8(0x20)),
                                                                _mm_cmpeq_epi8(bytes, _mm_set1_epi8(0x7F)))));
}
#endif

#if defined(__SSE2__)
// Which of the 16 bytes at `from` a UTF-8 walk must look at, one bit each: control codes, DEL, every
// byte that begins a sequence, and every continuation byte that no sequence begun among them expects
// (the walk itself makes sure that a sequence is whole). The expected ones are skipped with the
// sequence.
inline unsigned Utf8Stops(const std::uint8_t* from) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const auto high = static_cast<unsigned>(_mm_movemask_epi8(bytes));
    const auto bit6 = static_cast<unsigned>(_mm_movemask_epi8(_mm_add_epi8(bytes, bytes)));
    const auto bit5 = static_cast<unsigned>(_mm_movemask_epi8(_mm_slli_epi16(bytes, 2)));
    const unsigned lead = high & bit6;
    const unsigned expected = lead << 1 | (lead & bit5) << 2;
    return (NotPrintableAscii(from) & ~high) | lead | (high & ~bit6 & ~expected);
}
#endif

#if defined(__SSE2__)
// Which of the 16 bytes at `from` are "&", one bit each.
inline unsigned Ampersands(const std::uint8_t* from) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('&'))));
}
#endif

// The output of one source character: up to 15 bytes, and in one byte what the walk needs to know,
// so that a character costs one load of it.
struct TOutputEntry {
    static constexpr std::uint8_t kLength = 0x0F;
    static constexpr std::uint8_t kReference = 0x10;  // written as a reference: counted
    static constexpr std::uint8_t kMark = 0x20;       // a combining mark that may join the vowel before
    static constexpr std::uint8_t kPair = 0x40;       // a vowel and the tone byte after it, joined
    static constexpr std::uint8_t kSpecial = 0x80;    // the walk looks at the byte itself (line ends, tags)

    char bytes[15];
    std::uint8_t info;

    std::uint8_t Length() const { return info & kLength; }
    bool Reference() const { return (info & kReference) != 0; }
    bool Special() const { return (info & kSpecial) != 0; }
    bool Mark() const { return (info & kMark) != 0; }
    bool Pair() const { return (info & kPair) != 0; }
    void MarkSpecial() { info |= kSpecial; }
};
static_assert(sizeof(TOutputEntry) == 16);

// Works out an entry by running a sink on one character.
template <class Sink, class Emit>
TOutputEntry ProbeEntry(Sink& sink, Emit emit) {
    char probe[kMaxBytesPerCodePoint + kLineSlack];
    const auto before = sink.References();
    sink.Begin(probe);
    emit(sink);
    TOutputEntry entry{};
    const auto length = static_cast<std::uint8_t>(sink.End() - probe);
    std::memcpy(entry.bytes, probe, length);
    entry.info =
        static_cast<std::uint8_t>(length | (sink.References() != before ? TOutputEntry::kReference : 0));
    return entry;
}

// What both walks share: the target's line end, the references count, the pieces of a stream.
class TTableConverterBase : public TLineConverter {
public:
    // unit: the bytes of a source character's unit, 1, or 2 for UTF-16 (little-endian).
    TTableConverterBase(std::string_view lineEnd, std::unique_ptr<TLineConverter> general,
                        std::size_t unit = 1)
        : FGeneral(std::move(general)), FLineEnd(lineEnd), FUnit(unit) {
        if (lineEnd.size() > sizeof(FLineEndBytes))
            throw std::logic_error("a line end of more than four bytes");
        std::memcpy(FLineEndBytes, lineEnd.data(), lineEnd.size());
    }

    void ConvertLine(std::string_view line, TByteBuffer& out) override { Convert(line, out, false); }
    std::size_t ConvertStream(std::string_view piece, bool last, TByteBuffer& out) override {
        std::size_t p = 0;
        if (FSkipLf && piece.size() >= FUnit) {
            FSkipLf = false;
            if (UnitAt(piece, 0) == u'\n') p = FUnit;
        }
        const std::size_t whole = piece.size() - piece.size() % FUnit;  // a last odd byte is no UTF-16 unit
        std::size_t end = std::max(p, last ? whole : SafeEnd(piece.substr(0, whole)));
        if (end > p) {
            end = p + ConvertUpTo(piece.substr(p, whole - p), end - p, out);
            const char16_t c = UnitAt(piece, end - FUnit);
            FLineOpen = c != u'\r' && c != u'\n';
            FSkipLf = c == u'\r' && !last;
        }
        if (!last) return end;
        if (FLineOpen) out.CommitTo(EndOfText(out.Reserve(kLineSlack)));
        FLineOpen = false;
        return piece.size();
    }
    void ConvertCodePoints(std::u32string_view piece, bool last, TByteBuffer& out) override {
        FGeneral->ConvertCodePoints(piece, last, out);
    }
    void Restart() override {
        FSkipLf = false;
        FLineOpen = false;
        FGeneral->Restart();
    }
    std::string_view LineEnd() const override { return FLineEnd; }
    std::uint64_t References() const override { return FReferences; }

protected:
    // Converts text; with lines, CR and LF end lines, otherwise they are characters like others.
    void Convert(std::string_view text, TByteBuffer& out, bool lines) {
        char* w = out.Reserve(text.size() * sizeof(TOutputEntry) + kLineSlack);
        out.CommitTo(Walk(text, w, lines));
    }
    virtual char* Walk(std::string_view text, char* w, bool lines) = 0;
    // Converts the text of a stream (lines ended) up to `limit`, which SafeEnd() gave, and returns
    // where it stopped; the text after the limit is there to be looked at.
    virtual std::size_t ConvertUpTo(std::string_view text, std::size_t limit, TByteBuffer& out) {
        Convert(text.substr(0, limit), out, true);
        return limit;
    }
    // The line end after a last line that has none.
    virtual char* EndOfText(char* w) { return PutLineEnd(w); }
    // Where a piece that does not end the text may be cut: the bytes before it mean the same whatever
    // follows.
    virtual std::size_t SafeEnd(std::string_view piece) const { return piece.size(); }

    char* PutLineEnd(char* w) const {
        std::memcpy(w, FLineEndBytes, sizeof(FLineEndBytes));  // one move, whatever the length
        return w + FLineEnd.size();
    }
    static const std::uint8_t* SkipLineEnd(const std::uint8_t* p, const std::uint8_t* end) {
        return (*p == '\r' && p + 1 < end && p[1] == '\n') ? p + 2 : p + 1;
    }
    static char* Put(char* w, const TOutputEntry& entry) {
        std::memcpy(w, &entry, sizeof(TOutputEntry));
        return w + entry.Length();
    }
    // Writes a vowel with its marks joined in place of the vowel alone, the last thing written.
    static char* PutJoined(char* w, const TOutputEntry& written, const TOutputEntry& joined,
                           std::uint64_t& references) {
        references = references - written.Reference() + joined.Reference();
        return Put(w - written.Length(), joined);
    }

    std::unique_ptr<TLineConverter> FGeneral;
    std::string_view FLineEnd;
    char FLineEndBytes[4]{};  // the line end, in four bytes
    std::uint64_t FReferences = 0;

private:
    char16_t UnitAt(std::string_view text, std::size_t at) const {
        const auto low = static_cast<std::uint8_t>(text[at]);
        return FUnit == 1 ? low : static_cast<char16_t>(low | static_cast<std::uint8_t>(text[at + 1]) << 8);
    }

    std::size_t FUnit;
    bool FSkipLf = false;    // the last piece ended with a CR: an LF first in the next one belongs to it
    bool FLineOpen = false;  // the last byte converted was no line end
};

// Single-byte sources, the legacy code pages and Windows-1258: one entry per byte. A byte is the same
// character in text and inside a tag, so tags need no attention. Windows-1258 writes tones as bytes of
// their own after the vowel: a tone byte is the only thing that looks back, and the vowel written just
// before it is written again with the tones joined.
class TByteTableConverter final : public TTableConverterBase {
public:
    template <class Sink>
    TByteTableConverter(const TConversionSetup& setup, Sink sink, std::unique_ptr<TLineConverter> general)
        : TTableConverterBase(Sink::LineEnd(), std::move(general)),
          FJoins(setup.sourceKind == TEncodingKind::Cp1258) {
        const TLegacyIndex* legacy = FJoins ? nullptr : &LegacyIndexFor(setup.sourceTable);
        if (FJoins) {
            for (int b = 0; b < 256; ++b) {
                const auto byte = static_cast<std::uint8_t>(b);
                const char32_t code = byte < 0x80 ? byte : Windows1258ToUnicode(byte);
                FEntries[b] = ProbeEntry(sink, [&](Sink& s) { detail::EmitCodePoint(code, false, s); });
                FVowel[b] = static_cast<std::int16_t>(VowelOfCodePoint(code));
                if (IsJoiningMark(code)) {
                    FMark[b] = code;
                    FEntries[b].info |= TOutputEntry::kMark | TOutputEntry::kSpecial;
                }
            }
            TOutputEntry letters[kCapitalDStroke]{};
            for (int k = 1; k < kCapitalDStroke; ++k) {
                letters[k] = ProbeEntry(sink, [&](Sink& s) { s.Letter(k); });
            }
            MakePairs(letters);
        } else if (legacy->TwoByte()) {
            // A byte that makes a letter with the byte before it looks back, as a tone byte does.
            FTwoByte.emplace(*legacy);
            for (int b = 0; b < 256; ++b) {
                const auto byte = static_cast<std::uint8_t>(b);
                FEntries[b] = ProbeEntry(sink, [&](Sink& s) { FTwoByte->Byte(byte, s); });
            }
            FLetters = std::make_unique<TOutputEntry[]>(kLetterCount);
            for (int k = 1; k < kLetterCount; ++k)
                FLetters[k] = ProbeEntry(sink, [&](Sink& s) { s.Letter(k); });
            for (int first = 0; first < 256; ++first) {
                for (int second = 0; second < 256; ++second) {
                    if (FTwoByte->PairOf(static_cast<std::uint8_t>(first),
                                         static_cast<std::uint8_t>(second)) >= 1)
                        FEntries[second].info |= TOutputEntry::kMark | TOutputEntry::kSpecial;
                }
            }
            for (int k = 1; k < kLetterCount; ++k)
                FCountReferences = FCountReferences || FLetters[k].Reference();
        } else {
            const TSingleByteDecoder decoder(*legacy);
            for (int b = 0; b < 256; ++b) {
                FEntries[b] =
                    ProbeEntry(sink, [&](Sink& s) { decoder.Byte(static_cast<std::uint8_t>(b), s); });
            }
        }
        for (const TOutputEntry& entry : FEntries) FCountReferences = FCountReferences || entry.Reference();
        FEntries[static_cast<std::uint8_t>('\r')].MarkSpecial();
        FEntries[static_cast<std::uint8_t>('\n')].MarkSpecial();
        FAsciiForm = PrintableAsciiIsIdentity(FEntries, 0x7F) ? 1
                     : PrintableAsciiIsWide(FEntries, 0x7F)   ? 2
                                                              : 0;
    }

private:
    char* Walk(std::string_view text, char* w, bool lines) override {
        return FCountReferences ? Walk<true>(text, w, lines) : Walk<false>(text, w, lines);
    }

    // Where tones join, never between a vowel and its tones: before the last byte that is no tone, or
    // before a third tone in a row, which joins nothing.
    std::size_t SafeEnd(std::string_view piece) const override {
        if (FTwoByte) return FTwoByte->SafeEnd(piece);
        return FJoins ? MarkBytesSafeEnd(piece, FMark) : piece.size();
    }

    template <bool CountReferences>
    char* Walk(std::string_view text, char* w, bool lines) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(text.data());
        const auto* begin = p;
        const auto* end = p + text.size();
        std::uint64_t references = 0;
        const TOutputEntry* table = FEntries;
        while (p < end) {
#if defined(__SSE2__)
            if (FAsciiForm != 0 && end - p >= 32) {
                p = FAsciiForm == 1 ? WalkBlocks<CountReferences, false>(begin, p, end, lines, w, references)
                                    : WalkBlocks<CountReferences, true>(begin, p, end, lines, w, references);
                if (p == end) break;
            }
#endif
            if (end - p >= 4) {
                // Four characters at a time while none is a line end or a tone.
                const TOutputEntry& a = table[p[0]];
                const TOutputEntry& b = table[p[1]];
                const TOutputEntry& c = table[p[2]];
                const TOutputEntry& d = table[p[3]];
                if (((a.info | b.info | c.info | d.info) & TOutputEntry::kSpecial) == 0) {
                    w = Put(Put(Put(Put(w, a), b), c), d);
                    if constexpr (CountReferences) {
                        references += a.Reference() + b.Reference() + c.Reference() + d.Reference();
                    }
                    p += 4;
                    continue;
                }
            }
            const TOutputEntry& entry = table[*p];
            if (entry.Special()) {
                if (entry.Mark()) {
                    if (JoinBack(begin, p, w, references)) continue;
                } else if (lines) {
                    w = PutLineEnd(w);
                    p = SkipLineEnd(p, end);
                    continue;
                }
            }
            w = Put(w, entry);
            if constexpr (CountReferences) references += entry.Reference();
            ++p;
        }
        FReferences += references;
        return w;
    }

#if defined(__SSE2__)
    // Sixteen bytes at a time while at least 32 remain: the printable ASCII between the other bytes is
    // copied as it stands (Wide: as UTF-16 units), each other byte looked up, a byte that joins the one
    // before it joined, line ends written. Returns where it stopped, fewer than 32 bytes before the end.
    template <bool CountReferences, bool Wide>
    const std::uint8_t* WalkBlocks(const std::uint8_t* begin, const std::uint8_t* p, const std::uint8_t* end,
                                   bool lines, char*& out, std::uint64_t& counted) const {
        // Kept in registers here: a store through the output pointer might otherwise change them.
        char* w = out;
        std::uint64_t references = counted;
        while (end - p >= 32) {
            unsigned others = NotPrintableAscii(p);
            unsigned done = 0;  // bytes of the block converted
            while (others != 0) {
                const auto at = static_cast<unsigned>(__builtin_ctz(others));
                others &= others - 1;
                w = PutAscii<Wide>(w, p + done, at - done);  // and bytes written over next
                const unsigned c = p[at];
                const TOutputEntry& entry = FEntries[c];
                done = at + 1;
                if (entry.Special()) {
                    if (entry.Mark()) {
                        const std::uint8_t* q = p + at;
                        char* joined = w;
                        if (JoinBack(begin, q, joined, references)) {
                            w = joined;
                            continue;
                        }
                    } else if (lines) {
                        // A line end, CR LF in one.
                        w = PutLineEnd(w);
                        if (c == '\r' && p[at + 1] == '\n') {
                            others &= others - 1;
                            ++done;
                        }
                        continue;
                    }
                }
                w = Put(w, entry);
                if constexpr (CountReferences) references += entry.Reference();
            }
            if (done < 16) {
                w = PutAscii<Wide>(w, p + done, 16 - done);
                done = 16;
            }
            p += done;
        }
        out = w;
        counted = references;
        return p;
    }
#endif

    // The entry of every byte followed by every tone byte (slot 1 on) or by anything else (slot 0): the
    // vowel with the tone joined, marked as a pair, where the tone joins it.
    void MakePairs(const TOutputEntry* letters) {
        FPairs = std::make_unique<TOutputEntry[]>(256 * kSlots);
        char32_t slots[kSlots] = {};
        int used = 1;
        for (int b = 0; b < 256; ++b) {
            if (FMark[b] == 0) continue;
            if (used == kSlots) throw std::logic_error("more tone bytes than the pair table holds");
            slots[used] = FMark[b];
            FSlot[b] = static_cast<std::uint8_t>(used++);
        }
        for (int b = 0; b < 256; ++b) {
            for (int slot = 0; slot < kSlots; ++slot) {
                TOutputEntry& pair = FPairs[b * kSlots + slot];
                pair = FEntries[b];
                const int joined = slot > 0 && FVowel[b] >= 0 ? JoinMark(FVowel[b], slots[slot]) : -1;
                if (joined >= 1) {
                    pair = letters[joined];
                    pair.info |= TOutputEntry::kPair;
                }
                FCountReferences = FCountReferences || pair.Reference();
            }
        }
    }

    // At p a tone byte: when it joins the vowel just before it in this text, that vowel's output (the
    // last thing written) is replaced by the letter with the tone joined. A vowel takes one tone at
    // most, and every mark of the code page is a tone, so a second tone never joins.
    bool JoinBack(const std::uint8_t* begin, const std::uint8_t*& p, char*& w,
                  std::uint64_t& references) const {
        if (p == begin) return false;
        if (FTwoByte) {
            // The second byte of a letter of a two-byte code page: the byte before it began the letter.
            const int letter = FTwoByte->PairOf(p[-1], *p);
            if (letter < 1) return false;
            w = PutJoined(w, FEntries[p[-1]], FLetters[letter], references);
            ++p;
            return true;
        }
        const TOutputEntry& joined = FPairs[p[-1] * kSlots + FSlot[*p]];
        if (!joined.Pair()) return false;
        w = PutJoined(w, FEntries[p[-1]], joined, references);
        ++p;
        return true;
    }

    static constexpr int kSlots = 6;  // no tone, and the five tone bytes

    TOutputEntry FEntries[256]{};
    bool FCountReferences = false;
    int FAsciiForm = 0;          // printable ASCII is written as itself (1), as UTF-16 units (2)
    bool FJoins;                 // Windows-1258: tone bytes join the vowel before them
    std::int16_t FVowel[256]{};  // where tones join: the vowel letter each byte is, or -1
    char32_t FMark[256]{};       // where tones join: the mark each tone byte is, or 0
    std::uint8_t FSlot[256]{};   // where tones join: each byte's slot in the pair table (0: no tone)
    std::unique_ptr<TOutputEntry[]> FPairs;  // where tones join: 256 bytes times kSlots
    // Two-byte code pages: their reader, and the output of every letter.
    std::optional<TTwoByteDecoder> FTwoByte;
    std::unique_ptr<TOutputEntry[]> FLetters;
};

}  // namespace odz
