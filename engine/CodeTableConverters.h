#pragma once

// The table walks of the Unicode sources, UTF-8 and UTF-16, and of references, into anything but VIQR.

#include "References.h"
#include "TableConverters.h"

namespace odz {

// The outputs of the characters a Unicode source's walk looks up: ASCII, U+0080 to U+07FF, the
// Vietnamese block U+1E80 to U+1EFF, and, where marks join, the vowel letters. CR and LF are marked for
// the walk to see, and so are the joining marks where marks join.
struct TCodeEntries {
    static constexpr unsigned kVietnamese = 0x800;  // where U+1E80 is in `entries`

    template <class Sink>
    TCodeEntries(Sink& sink, bool edhIsDStroke, bool compose) {
        const auto emit = [&](char32_t code) {
            return ProbeEntry(sink, [&](Sink& s) { detail::EmitCodePoint(code, edhIsDStroke, s); });
        };
        for (char32_t code = 0; code < 0x800; ++code) entries[code] = emit(code);
        for (char32_t code = 0x1E80; code < 0x1F00; ++code) entries[kVietnamese + code - 0x1E80] = emit(code);
        entries[static_cast<std::uint8_t>('\r')].MarkSpecial();
        entries[static_cast<std::uint8_t>('\n')].MarkSpecial();
        asciiRuns =
            PrintableAsciiIsIdentity(entries, '<') && entries[static_cast<unsigned char>('<')].info == 1;
        asciiWide = PrintableAsciiIsWide(entries, '<') && entries[static_cast<unsigned char>('<')].info == 2;
        if (compose) {
            for (char32_t code = 0x300; code <= 0x341; ++code) {
                if (IsJoiningMark(code)) entries[code].info |= TOutputEntry::kMark;
            }
            for (int k = 1; k < kCapitalDStroke; ++k) {
                letters[k] = ProbeEntry(sink, [&](Sink& s) { s.Letter(k); });
            }
            MakeJoins();
        }
    }

    // Where marks join: the vowel letter a character is (or -1), and that letter with a mark joined
    // (or -1), looked up instead of worked out for every mark.
    int VowelAt(unsigned index) const { return vowels[index]; }
    int Join(int letter, char32_t mark) const {
        const unsigned at = mark - 0x300;
        const int slot = at < std::size(markSlots) ? markSlots[at] : -1;
        return slot < 0 ? -1 : joins[letter][slot];
    }

    // Where a character's entry is, or kNone when it has none; without a branch on which of the three
    // ranges it is in.
    static constexpr unsigned kNone = ~0u;
    static unsigned IndexOf(char32_t code) {
        const unsigned vietnamese = code - 0x1E80;
        const unsigned index = code < 0x800 ? code : kVietnamese + vietnamese;
        return code < 0x800 || vietnamese < 0x80 ? index : kNone;
    }
    const TOutputEntry* Of(char32_t code) const {
        const unsigned index = IndexOf(code);
        return index == kNone ? nullptr : &entries[index];
    }

    // U+0000 to U+07FF, then U+1E80 to U+1EFF from kVietnamese on.
    TOutputEntry entries[kVietnamese + 0x80]{};
    TOutputEntry letters[kCapitalDStroke]{};  // where marks join
    bool asciiRuns = false;                   // printable ASCII is written as itself
    bool asciiWide = false;                   // printable ASCII is written as its UTF-16 unit

private:
    void MakeJoins() {
        for (unsigned index = 0; index < std::size(vowels); ++index) {
            const char32_t code = index < kVietnamese ? index : 0x1E80 + index - kVietnamese;
            vowels[index] = static_cast<std::int16_t>(VowelOfCodePoint(code));
        }
        int slots = 0;
        for (char32_t mark = 0x300; mark < 0x300 + std::size(markSlots); ++mark) {
            if (!IsJoiningMark(mark)) {
                markSlots[mark - 0x300] = -1;
                continue;
            }
            for (int k = 0; k < kCapitalDStroke; ++k)
                joins[k][slots] = static_cast<std::int16_t>(JoinMark(k, mark));
            markSlots[mark - 0x300] = static_cast<std::int8_t>(slots++);
        }
    }

    static constexpr int kMarks = 10;  // the joining marks, U+0300 to U+0341
    std::int16_t vowels[kVietnamese + 0x80]{};
    std::int8_t markSlots[0x42]{};
    std::int16_t joins[kCapitalDStroke][kMarks]{};
};

// What the walks of the Unicode sources share: the sink that writes what no table holds, the tables,
// and the references counted by both.
template <class Sink>
class TCodeTableConverterBase : public TTableConverterBase {
public:
    TCodeTableConverterBase(const TConversionSetup& setup, Sink sink, bool edhIsDStroke,
                            std::unique_ptr<TLineConverter> general, std::size_t unit = 1)
        : TTableConverterBase(Sink::LineEnd(), std::move(general), unit),
          FSink(std::move(sink)),
          FEdhIsDStroke(edhIsDStroke),
          FCompose(setup.compose),
          FCodes(FSink, FEdhIsDStroke, FCompose),
          FBaseReferences(FSink.References()) {}

    std::uint64_t References() const override { return FReferences + FSink.References() - FBaseReferences; }

protected:
    // A character no table holds, through the sink.
    char* PutBySink(char* w, char32_t code) {
        FSink.Begin(w);
        detail::EmitCodePoint(code, FEdhIsDStroke, FSink);
        return FSink.End();
    }

    Sink FSink;
    bool FEdhIsDStroke;
    bool FCompose;
    TCodeEntries FCodes;

private:
    std::uint64_t FBaseReferences;
};

// UTF-8 sources into every target but VIQR, and (References) reference sources, which are UTF-8 with the
// letters written as references. Whether a "<" starts a tag changes nothing for them: ASCII is written as
// itself in text and in tags, and other characters (references too) are converted in both. The two-byte
// sequences and the three-byte ones of the Vietnamese block (E1 BA xx, E1 BB xx) are looked up; anything
// else goes through the sink. Where marks join, a joining mark (a reference to one too) is the only thing
// that looks back: the vowel written just before it is written again with the marks joined.
template <class Sink, bool References = false>
class TUtf8TableConverter final : public TCodeTableConverterBase<Sink> {
    using Base = TCodeTableConverterBase<Sink>;
    using Base::Convert;
    using Base::FCodes;
    using Base::FCompose;
    using Base::FEdhIsDStroke;
    using Base::FGeneral;
    using Base::FReferences;
    using Base::FSink;
    using Base::Put;
    using Base::PutJoined;
    using Base::PutLineEnd;
    using Base::SkipLineEnd;

public:
    // A reference source's Ð is read as itself.
    TUtf8TableConverter(const TConversionSetup& setup, Sink sink, std::unique_ptr<TLineConverter> general)
        : Base(setup, std::move(sink), !References && setup.edhIsDStroke, std::move(general)) {
        for (int b = 0x80; b < 0x100; ++b) {
            const char32_t code = Windows1252ToUnicode(static_cast<std::uint8_t>(b));
            FWindows1252[b - 0x80] =
                ProbeEntry(FSink, [&](Sink& s) { detail::EmitCodePoint(code, FEdhIsDStroke, s); });
        }
        if constexpr (References) {
            for (int k = 1; k <= kLastLetter; ++k) {
                FReferenceLetters[k] = IsPlainVowelIndex(k)
                                           ? FCodes.entries[UnicodeTable[k]]
                                           : ProbeEntry(FSink, [&](Sink& s) { s.Letter(k); });
            }
        }
    }

private:
    // Before the last byte that can start a sequence, when the piece may end inside that sequence; where
    // marks join, never between a vowel and its marks.
    std::size_t SafeEnd(std::string_view piece) const override {
        const std::size_t n = piece.size();
        std::size_t end = n;
        for (std::size_t back = 1; back <= 3 && back <= n; ++back) {
            if (static_cast<std::uint8_t>(piece[n - back]) >= 0xC0) {
                end = n - back;
                break;
            }
        }
        if constexpr (References) {
            return ReferenceSafeEnd(reinterpret_cast<const std::uint8_t*>(piece.data()), end, FCompose);
        }
        return FCompose ? ComposingSafeEnd(piece, end) : end;
    }

    // The joining mark at p, as UTF-8 or as a reference, with where it ends; 0 when there is none.
    static char32_t MarkAt(const std::uint8_t* p, const std::uint8_t* end, const std::uint8_t*& after) {
        if constexpr (References) return MarkOrReferenceAt(p, end, after);
        after = p + 2;
        return Utf8MarkAt(p, end);
    }

    // At p a reference source's "&": the letter of a reference, a joining mark's reference joined to the
    // vowel before it or written as it stands, or the "&" alone.
    char* PutReference(const std::uint8_t* begin, const std::uint8_t*& p, const std::uint8_t* end, char* w,
                       std::uint64_t& references) const {
        if (end - p >= 2 && p[1] == '#') {
            const TReference reference = ReadReference(p, end);
            if (reference.letter >= 0) {
                const TOutputEntry& entry = FReferenceLetters[reference.letter];
                references += entry.Reference();
                p = reference.end;
                return Put(w, entry);
            }
            if (reference.mark != 0 && FCompose) {
                if (JoinBack(begin, p, end, w, references)) return w;
                for (; p < reference.end; ++p) w = Put(w, FCodes.entries[*p]);
                return w;
            }
        }
        ++p;
        return Put(w, FCodes.entries[static_cast<std::uint8_t>('&')]);
    }

    // At p a joining mark: when a vowel stands just before it in this text, that vowel's output (the
    // last thing written) is replaced by the letter with the marks joined. False when nothing joins.
    bool JoinBack(const std::uint8_t* begin, const std::uint8_t*& p, const std::uint8_t* end, char*& w,
                  std::uint64_t& references) const {
        // The character just before: ASCII, a two-byte sequence, one of the Vietnamese block, or a lead
        // byte alone (the mark's first byte continues no sequence), read as Windows-1252, which is
        // U+00C0 to U+00FF there; no other character is a vowel.
        // In a reference source, a reference may end there instead.
        const TOutputEntry* written = nullptr;
        int joined = -1;
        if (References && p - begin >= 1 && (p[-1] == ';' || p[-1] - static_cast<unsigned>('0') <= 9u)) {
            joined = LetterOfReferenceBefore(begin, p);
            if (joined >= kCapitalDStroke) return false;
            if (joined >= 0) written = &FReferenceLetters[joined];
        } else {
            unsigned index = TCodeEntries::kNone;
            if (p - begin >= 1 && (p[-1] < 0x80 || p[-1] >= 0xC0)) {
                index = p[-1];
            } else if (p - begin >= 2 && p[-2] - 0xC2u <= 0xDFu - 0xC2u && (p[-1] & 0xC0) == 0x80) {
                index = (p[-2] & 0x1Fu) << 6 | (p[-1] & 0x3Fu);
            } else if (p - begin >= 3 && p[-3] == 0xE1 && (p[-2] & 0xFE) == 0xBA && (p[-1] & 0xC0) == 0x80) {
                index = TCodeEntries::kVietnamese + ((p[-2] & 0x01u) << 6 | (p[-1] & 0x3Fu));
            }
            if (index != TCodeEntries::kNone) {
                joined = FCodes.VowelAt(index);
                written = &FCodes.entries[index];
            }
        }
        if (joined < 0) return false;
        const std::uint8_t* after = p;
        for (const std::uint8_t* next = p;;) {
            const char32_t mark = MarkAt(after, end, next);
            const int letter = mark == 0 ? -1 : FCodes.Join(joined, mark);
            if (letter < 0) break;
            joined = letter;
            after = next;
        }
        if (after == p) return false;
        w = PutJoined(w, *written, FCodes.letters[joined], references);
        p = after;
        return true;
    }

#if defined(__SSE2__)
    // Sixteen bytes at a time while at least 32 remain: the printable ASCII between the other
    // characters is copied as it stands (Wide: as UTF-16 units); the two-byte sequences and those of the
    // Vietnamese block are looked up, a joining mark joined to the vowel before it, control codes and
    // line ends written. Returns where it stopped: at a character the walk must look at itself (any
    // other sequence, a byte that is no UTF-8), or where fewer than 32 bytes remain.
    template <bool Wide>
    const std::uint8_t* WalkBlocks(const std::uint8_t* begin, const std::uint8_t* p, const std::uint8_t* end,
                                   bool lines, char*& out, std::uint64_t& counted) const {
        // Kept in registers here: a store through the output pointer might otherwise change them.
        char* w = out;
        std::uint64_t references = counted;
        const auto stop = [&](const std::uint8_t* at) {
            out = w;
            counted = references;
            return at;
        };
        while (end - p >= 32) {
            unsigned others = Utf8Stops(p);
            if constexpr (References) others |= Ampersands(p);
            unsigned done = 0;  // bytes of the block converted
            while (others != 0) {
                const auto at = static_cast<unsigned>(__builtin_ctz(others));
                others &= others - 1;
                w = PutAscii<Wide>(w, p + done, at - done);  // and bytes written over next
                const unsigned c = p[at];
                if (References && c == '&') {
                    const std::uint8_t* next = p + at;
                    w = PutReference(begin, next, end, w, references);
                    done = static_cast<unsigned>(next - p);
                    others &= done < 32 ? ~0u << done : 0u;
                    continue;
                }
                if (c < 0x80) {
                    // A control code or DEL; a line end, CR LF in one.
                    done = at + 1;
                    if (lines && (c == '\n' || c == '\r')) {
                        w = PutLineEnd(w);
                        if (c == '\r' && p[at + 1] == '\n') {
                            others &= others - 1;
                            ++done;
                        }
                    } else {
                        w = Put(w, FCodes.entries[c]);
                        references += FCodes.entries[c].Reference();
                    }
                    continue;
                }
                const unsigned b1 = p[at + 1];
                const unsigned b2 = p[at + 2];
                // A two-byte sequence or one of the Vietnamese block; anything else is left to the walk.
                const bool two = c - 0xC2u <= 0xDFu - 0xC2u && (b1 & 0xC0) == 0x80;
                const bool three = c == 0xE1 && (b1 & 0xFE) == 0xBA && (b2 & 0xC0) == 0x80;
                if (!two && !three) return stop(p + at);
                const unsigned index = three ? TCodeEntries::kVietnamese + ((b1 & 0x01) << 6 | (b2 & 0x3F))
                                             : (c & 0x1F) << 6 | (b1 & 0x3F);
                const TOutputEntry& entry = FCodes.entries[index];
                const std::uint8_t* next = p + at + 2 + three;
                if (entry.Mark()) {
                    // Joined to the vowel before it (and the marks after it skipped), or a character of
                    // its own.
                    next = p + at;
                    char* joined = w;
                    if (JoinBack(begin, next, end, joined, references)) {
                        w = joined;
                        done = static_cast<unsigned>(next - p);
                        others &= done < 32 ? ~0u << done : 0u;
                        continue;
                    }
                    w = Put(w, entry);
                    next += 2;
                } else {
                    w = Put(w, entry);
                    references += entry.Reference();
                }
                done = static_cast<unsigned>(next - p);
            }
            if (done < 16) {
                w = PutAscii<Wide>(w, p + done, 16 - done);
                done = 16;
            }
            p += done;
        }
        return stop(p);
    }
#endif

    char* Walk(std::string_view text, char* w, bool lines) override {
        const auto* p = reinterpret_cast<const std::uint8_t*>(text.data());
        const auto* begin = p;
        const auto* end = p + text.size();
        std::uint64_t references = 0;
        while (p < end) {
#if defined(__SSE2__)
            if ((FCodes.asciiRuns || FCodes.asciiWide) && end - p >= 32) {
                p = FCodes.asciiRuns ? WalkBlocks<false>(begin, p, end, lines, w, references)
                                     : WalkBlocks<true>(begin, p, end, lines, w, references);
                if (p == end) break;
            }
#endif
            if (FCodes.asciiRuns && end - p >= 8) {
                std::uint64_t word;
                std::memcpy(&word, p, 8);
                std::memcpy(w, &word, 8);
                const int plain = PlainAsciiPrefix(word, References ? '&' : 0x7F);
                p += plain;
                w += plain;
                if (plain == 8 || p == end) continue;
            }
            const std::uint8_t c = *p;
            if (References && c == '&') {
                w = PutReference(begin, p, end, w, references);
                continue;
            }
            if (c < 0x80) {
                const TOutputEntry& entry = FCodes.entries[c];
                if (entry.Special() && lines) {
                    w = PutLineEnd(w);
                    p = SkipLineEnd(p, end);
                } else {
                    w = Put(w, entry);
                    ++p;
                }
                continue;
            }
            const TOutputEntry* entry = nullptr;
            std::size_t length = 0;
            if (c >= 0xC2 && c <= 0xDF && p + 1 < end && (p[1] & 0xC0) == 0x80) {
                entry = &FCodes.entries[(c & 0x1F) << 6 | (p[1] & 0x3F)];
                length = 2;
                if (entry->Mark() && JoinBack(begin, p, end, w, references)) continue;
            } else if (c == 0xE1 && p + 2 < end && (p[1] == 0xBA || p[1] == 0xBB) && (p[2] & 0xC0) == 0x80) {
                entry = &FCodes.entries[TCodeEntries::kVietnamese + ((p[1] & 0x01) << 6 | (p[2] & 0x3F))];
                length = 3;
            }
            if (entry) {
                w = Put(w, *entry);
                references += entry->Reference();
                p += length;
                continue;
            }
            const std::string_view rest(reinterpret_cast<const char*>(p), static_cast<std::size_t>(end - p));
            char32_t code = 0;
            length = DecodeUtf8At(rest, 0, code);
            if (length == 0) {
                const TOutputEntry& fallback = FWindows1252[c - 0x80];
                w = Put(w, fallback);
                references += fallback.Reference();
                ++p;
            } else {
                w = this->PutBySink(w, code);
                p += length;
            }
        }
        FReferences += references;
        return w;
    }

    TOutputEntry FWindows1252[0x80]{};
    TOutputEntry FReferenceLetters[kLastLetter + 1]{};  // reference sources: what a letter's reference gives
};

// UTF-16 sources, handed over as little-endian units, into every target but VIQR. As for UTF-8, markup
// changes nothing; ASCII, U+0080 to U+07FF and the Vietnamese block are looked up, anything else (a
// surrogate pair, a lone surrogate as itself) goes through the sink, and a joining mark looks back at
// the vowel written just before it.
template <class Sink>
class TUtf16TableConverter final : public TCodeTableConverterBase<Sink> {
    using Base = TCodeTableConverterBase<Sink>;
    using Base::Convert;
    using Base::FCodes;
    using Base::FCompose;
    using Base::FGeneral;
    using Base::FReferences;
    using Base::Put;
    using Base::PutJoined;
    using Base::PutLineEnd;
    using Base::SkipLineEnd;

public:
    // A UTF-16 source's Ð is read as itself, as its code points are.
    TUtf16TableConverter(const TConversionSetup& setup, Sink sink, std::unique_ptr<TLineConverter> general)
        : Base(setup, std::move(sink), false, std::move(general), 2) {}

    // Text of UTF-16 units only: a line is no piece of it.
    void ConvertLine(std::string_view line, TByteBuffer& out) override { FGeneral->ConvertLine(line, out); }

private:
    static char16_t Unit(std::string_view text, std::size_t at) {
        return static_cast<char16_t>(static_cast<std::uint8_t>(text[at]) |
                                     static_cast<std::uint8_t>(text[at + 1]) << 8);
    }
    static char16_t Unit(const std::uint8_t* at) { return static_cast<char16_t>(at[0] | at[1] << 8); }
    static bool IsMark(char16_t unit) { return IsJoiningMark(unit); }

    std::size_t SafeEnd(std::string_view piece) const override { return Utf16SafeEnd(piece, FCompose); }

    // At p a joining mark: when a vowel stands just before it in this text, that vowel's output (the
    // last thing written) is replaced by the letter with the marks joined. False when nothing joins.
    bool JoinBack(const std::uint8_t* begin, const std::uint8_t*& p, const std::uint8_t* end, char*& w,
                  std::uint64_t& references) const {
        if (p == begin) return false;
        const unsigned index = TCodeEntries::IndexOf(Unit(p - 2));
        if (index == TCodeEntries::kNone || FCodes.VowelAt(index) < 0) return false;
        int letter = FCodes.VowelAt(index);
        const std::uint8_t* after = p;
        for (; end - after >= 2 && IsMark(Unit(after)); after += 2) {
            const int joined = FCodes.Join(letter, Unit(after));
            if (joined < 0) break;
            letter = joined;
        }
        if (after == p) return false;
        w = PutJoined(w, FCodes.entries[index], FCodes.letters[letter], references);
        p = after;
        return true;
    }

#if defined(__SSE2__)
    // Sixteen units at a time while at least 32 remain, where printable ASCII is written as its byte: the
    // printable ASCII between the other units copied, narrowed to bytes, the other units looked up while
    // they need nothing but their entry, line ends written. Returns where it stopped: at a unit the walk
    // must look at itself (a mark, a unit outside the tables), or where fewer than 32 remain.
    const std::uint8_t* WalkBlocks(const std::uint8_t* p, const std::uint8_t* end, bool lines, char*& out,
                                   std::uint64_t& counted) const {
        // Kept in registers here: a store through the output pointer might otherwise change them.
        char* w = out;
        std::uint64_t references = counted;
        const auto stop = [&](const std::uint8_t* at) {
            out = w;
            counted = references;
            return at;
        };
        alignas(16) std::uint8_t narrow[32] = {};
        while (end - p >= 64) {
            const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
            // Units from 8000 hex on are negative here, below 20 hex like the control codes.
            const auto outside = [](__m128i units) {
                return _mm_or_si128(_mm_cmplt_epi16(units, _mm_set1_epi16(0x20)),
                                    _mm_cmpgt_epi16(units, _mm_set1_epi16(0x7E)));
            };
            auto others =
                static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(outside(low), outside(high))));
            _mm_store_si128(reinterpret_cast<__m128i*>(narrow), _mm_packus_epi16(low, high));
            unsigned done = 0;  // units of the block converted
            while (others != 0) {
                const auto at = static_cast<unsigned>(__builtin_ctz(others));
                std::memcpy(w, narrow + done, 16);  // and bytes written over next
                w += at - done;
                const char16_t unit = Unit(p + 2 * at);
                const unsigned index = TCodeEntries::IndexOf(unit);
                if (index == TCodeEntries::kNone) return stop(p + 2 * at);
                const TOutputEntry& entry = FCodes.entries[index];
                done = at + 1;
                others &= others - 1;
                if ((entry.info & (TOutputEntry::kSpecial | TOutputEntry::kMark)) != 0) {
                    if (!lines || entry.Mark()) return stop(p + 2 * at);
                    // A line end, CR LF in one.
                    w = PutLineEnd(w);
                    if (unit == u'\r' && Unit(p + 2 * at + 2) == u'\n') {
                        others &= others - 1;
                        ++done;
                    }
                    continue;
                }
                w = Put(w, entry);
                references += entry.Reference();
            }
            if (done < 16) {
                std::memcpy(w, narrow + done, 16);
                w += 16 - done;
                done = 16;
            }
            p += 2 * done;
        }
        return stop(p);
    }
#endif

    char* Walk(std::string_view text, char* w, bool lines) override {
        const auto* p = reinterpret_cast<const std::uint8_t*>(text.data());
        const auto* begin = p;
        const auto* end = p + text.size();
        std::uint64_t references = 0;
        while (p < end) {
#if defined(__SSE2__)
            if (FCodes.asciiRuns && end - p >= 64) {
                p = WalkBlocks(p, end, lines, w, references);
                if (end - p < 2) break;
            }
#endif
            if (end - p >= 16) {
#if defined(__SSE2__)
                if (FCodes.asciiRuns) {
                    // Eight units of printable ASCII at once.
                    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                    const __m128i outside = _mm_or_si128(_mm_cmplt_epi16(units, _mm_set1_epi16(0x20)),
                                                         _mm_cmpgt_epi16(units, _mm_set1_epi16(0x7E)));
                    if (_mm_movemask_epi8(outside) == 0) {
                        _mm_storel_epi64(reinterpret_cast<__m128i*>(w), _mm_packus_epi16(units, units));
                        w += 8;
                        p += 16;
                        continue;
                    }
                }
#endif
                // Eight units looked up while none needs more than its entry.
                const std::uint8_t* const stop = p + 16;
                while (p < stop) {
                    const unsigned index = TCodeEntries::IndexOf(Unit(p));
                    if (index == TCodeEntries::kNone) break;
                    const TOutputEntry& entry = FCodes.entries[index];
                    if ((entry.info & (TOutputEntry::kSpecial | TOutputEntry::kMark)) != 0) break;
                    w = Put(w, entry);
                    references += entry.Reference();
                    p += 2;
                }
                if (p == stop) continue;
            }
            const char16_t unit = Unit(p);
            if (const TOutputEntry* entry = FCodes.Of(unit)) {
                if (entry->Mark() && JoinBack(begin, p, end, w, references)) continue;
                if (entry->Special() && lines) {
                    // CR LF, a lone CR and a lone LF end a line alike.
                    w = PutLineEnd(w);
                    p += unit == u'\r' && end - p >= 4 && Unit(p + 2) == u'\n' ? 4 : 2;
                    continue;
                }
                w = Put(w, *entry);
                references += entry->Reference();
                p += 2;
                continue;
            }
            char32_t code = unit;
            p += 2;
            if (unit - 0xD800u < 0x400u && end - p >= 2 && Unit(p) - 0xDC00u < 0x400u) {
                code = 0x10000 + ((code - 0xD800) << 10) + (Unit(p) - 0xDC00u);
                p += 2;
            }
            w = this->PutBySink(w, code);
        }
        FReferences += references;
        return w;
    }
};

}  // namespace odz
