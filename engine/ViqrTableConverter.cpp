#include "ViqrTableConverter.h"

#include <array>

#include "Composition.h"
#include "References.h"
#include "TableConverters.h"
#include "ViqrWriter.h"

namespace odz {

namespace {

bool TagNameStart(std::uint8_t b) {
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b == '/' || b == '!' || b == '?';
}

class TViqrTableConverter final : public TTableConverterBase {
public:
    TViqrTableConverter(const TConversionSetup& setup, const TViqrWriting& writing,
                        std::unique_ptr<TLineConverter> general)
        : TTableConverterBase(TViqrSink::LineEnd(), std::move(general),
                              setup.sourceKind == TEncodingKind::Utf16 ? 2 : 1),
          FSink(writing),
          FTags(setup.tags),
          FUtf8(setup.sourceKind == TEncodingKind::Utf8 || setup.sourceKind == TEncodingKind::Ncr),
          FReferences(setup.sourceKind == TEncodingKind::Ncr),
          FUtf16(setup.sourceKind == TEncodingKind::Utf16),
          FCp1258(setup.sourceKind == TEncodingKind::Cp1258),
          // Ð is read as Đ from UTF-8 only.
          FEdhIsDStroke(setup.sourceKind == TEncodingKind::Utf8 && setup.edhIsDStroke),
          FCompose((FUtf8 || FUtf16 || FCp1258) && setup.compose) {
        FLetter.fill(-1);
        if (FUtf8) {
            FMarkStart[0xCC] = FMarkStart[0xCD] = true;
            FMarkStart[static_cast<std::uint8_t>('&')] = FReferences;
        } else if (FCp1258) {
            // Its letters, and its tone bytes, which join the vowel before them.
            for (int b = 0x80; b < 0x100; ++b) {
                const char32_t code = Windows1258ToUnicode(static_cast<std::uint8_t>(b));
                const int k = LetterOfCodePoint(code);
                if (k >= 1) FLetter[b] = static_cast<std::int16_t>(k);
                if (IsJoiningMark(code)) FMarkByte[b] = code;
                FMarkStart[b] = FMarkByte[b] != 0;
            }
        } else if (!FUtf16) {
            const TLegacyIndex& index = LegacyIndexFor(setup.sourceTable);
            if (index.TwoByte()) FTwoByte.emplace(index);
            for (int b = 0; b < 256; ++b) {
                const int k = index.Single(static_cast<std::uint8_t>(b));
                // Two-byte code pages: only the bytes from 80 hex on are letters alone.
                if (FTwoByte ? k >= 1 && b >= 0x80 : k >= 1 && !IsPlainVowelIndex(k))
                    FLetter[b] = static_cast<std::int16_t>(k);
            }
        }
        for (int b = 0; b < 0x80; ++b) {
            // In a two-byte code page a vowel may start a letter, in tags too.
            const bool ordinary = b != '\r' && b != '\n' && FLetter[b] < 0 &&
                                  !(FTwoByte && IsVowelBase(static_cast<std::uint8_t>(b))) &&
                                  !(FReferences && b == '&');  // references are read in tags too
            FPlainInTag[b] = ordinary && b != '>';
            FPlain[b] =
                ordinary && !(FTags && b == '<') && !FSink.Rule().MayEscape(static_cast<std::uint8_t>(b));
        }
        for (char32_t code = 0x80; code < 0x800; ++code) FTwo[code - 0x80] = LetterOf(code);
        for (char32_t code = 0x1E80; code < 0x1F00; ++code) FVietnamese[code - 0x1E80] = LetterOf(code);
    }

    void ConvertLine(std::string_view line, TByteBuffer& out) override {
        if (FUtf16) {  // text of UTF-16 units only: a line is no piece of it
            FGeneral->ConvertLine(line, out);
            return;
        }
        FSink.Reset();
        Convert(line, out, false);
        FSink.Begin(out.Reserve(kLineSlack));
        FSink.EndLine();
        out.CommitTo(FSink.End());
    }
    void Restart() override {
        TTableConverterBase::Restart();
        FSink.Reset();
    }
    std::uint64_t References() const override { return FSink.References(); }

private:
    std::int16_t LetterOf(char32_t code) const {
        if (FEdhIsDStroke && code == 0xD0) return kCapitalDStroke;
        const int k = LetterOfCodePoint(code);
        return static_cast<std::int16_t>(k >= 1 ? k : -1);
    }

    // A "<" last in a piece may start a tag; a UTF-8 sequence may go on in the next piece.
    std::size_t SafeEnd(std::string_view piece) const override {
        if (FUtf16) {
            const std::size_t n = Utf16SafeEnd(piece, FCompose);
            return FTags && n >= 2 && Utf16UnitAt(piece, n - 2) == u'<' ? n - 2 : n;
        }
        std::size_t n = piece.size();
        if (FUtf8) {
            for (std::size_t back = 1; back <= 3 && back <= piece.size(); ++back) {
                if (static_cast<std::uint8_t>(piece[piece.size() - back]) >= 0xC0) {
                    n = piece.size() - back;
                    break;
                }
            }
        }
        if (FReferences) {
            n = ReferenceSafeEnd(reinterpret_cast<const std::uint8_t*>(piece.data()), n, FCompose);
        } else if (FCp1258) {
            n = MarkBytesSafeEnd(piece, FMarkByte.data());
        } else if (FCompose) {
            n = ComposingSafeEnd(piece, n);
        } else if (FTwoByte) {
            n = FTwoByte->SafeEnd(piece);
        }
        if (FTags && n > 0 && piece[n - 1] == '<') --n;
        return n;
    }

    char* EndOfText(char* w) override {
        FSink.Begin(w);
        FSink.EndLine();
        FSink.Raw(FLineEnd);
        return FSink.End();
    }

    // Two-byte code pages: the letter the byte at p and the next one make together, or -1 (and where
    // the line ends, nothing follows).
    int PairAt(const std::uint8_t* p, const std::uint8_t* end) const {
        return p + 1 < end && p[1] != '\r' && p[1] != '\n' ? FTwoByte->PairOf(p[0], p[1]) : -1;
    }

    // A UTF-16 source's unit.
    static char16_t UnitOf(const std::uint8_t* at) { return static_cast<char16_t>(at[0] | at[1] << 8); }

    // A vowel letter with the UTF-16 marks at p joined, p moved past them.
    static int JoinFollowingUnits(int letter, const std::uint8_t*& p, const std::uint8_t* end) {
        for (; end - p >= 2 && IsJoiningMark(UnitOf(p)); p += 2) {
            const int joined = JoinMark(letter, UnitOf(p));
            if (joined < 0) break;
            letter = joined;
        }
        return letter;
    }

    // UTF-16 sources, unit by unit, as the walk of bytes below reads them.
    char* WalkUnits(std::string_view text, char* w, bool lines) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(text.data());
        const auto* end = p + text.size();
        // Written through the converter's own writer: with a copy, as the byte walk keeps, this walk
        // measured slower.
        FSink.Begin(w);
        while (p < end) {
            const char16_t unit = UnitOf(p);
            p += 2;
            if (unit < 0x80) {
                const auto c = static_cast<std::uint8_t>(unit);
                if (const std::array<bool, 0x80>& plain = FSink.InTag() ? FPlainInTag : FPlain; plain[c]) {
                    // Up to sixteen units of plain ASCII narrowed and written at once; where marks join,
                    // a vowel last among them with a mark after it is left for the join below.
                    char run[16] = {};
                    std::size_t n = 0;
                    const std::uint8_t* q = p - 2;
                    for (; n < 16 && end - q >= 2 && UnitOf(q) < 0x80 && plain[UnitOf(q)]; q += 2)
                        run[n++] = static_cast<char>(UnitOf(q));
                    if (FCompose && end - q >= 2 && IsJoiningMark(UnitOf(q)) &&
                        PlainVowelIndex(static_cast<std::uint8_t>(run[n - 1])) >= 0) {
                        --n;
                        q -= 2;
                    }
                    if (n > 0) {
                        FSink.PlainRun<true>(run, n);
                        p = q;
                        continue;
                    }
                }
                if ((c == '\r' || c == '\n') && lines) {
                    FSink.EndLine();
                    FSink.Raw(FLineEnd);
                    if (c == '\r' && end - p >= 2 && UnitOf(p) == u'\n') p += 2;
                } else if (FSink.InTag() && c == '>') {
                    FSink.Ascii(c);
                    FSink.TagClose();
                } else {
                    if (!FSink.InTag() && c == '<' && FTags && end - p >= 2 && UnitOf(p) < 0x80 &&
                        TagNameStart(static_cast<std::uint8_t>(UnitOf(p))))
                        FSink.TagOpen();
                    const int vowel = FCompose ? PlainVowelIndex(c) : -1;
                    const int joined = vowel >= 0 ? JoinFollowingUnits(vowel, p, end) : vowel;
                    if (joined != vowel) {
                        FSink.Letter(joined);
                    } else {
                        FSink.Ascii(c);
                    }
                }
                continue;
            }
            char32_t code = unit;
            if (unit - 0xD800u < 0x400u && end - p >= 2 && UnitOf(p) - 0xDC00u < 0x400u) {
                code = 0x10000 + ((code - 0xD800) << 10) + (UnitOf(p) - 0xDC00u);
                p += 2;
            }
            const std::int16_t letter = code < 0x800           ? FTwo[code - 0x80]
                                        : code - 0x1E80 < 0x80 ? FVietnamese[code - 0x1E80]
                                                               : std::int16_t{-1};
            if (letter >= 1) {
                FSink.Letter(FCompose && letter < kCapitalDStroke ? JoinFollowingUnits(letter, p, end)
                                                                  : letter);
            } else {
                FSink.Char(code);
            }
        }
        return FSink.End();
    }

    char* Walk(std::string_view text, char* w, bool lines) override {
        if (FUtf16) return WalkUnits(text, w, lines);
        return FReferences ? WalkBytes<true>(text, w, lines) : WalkBytes<false>(text, w, lines);
    }

    // Byte sources; References: a reference source, whose walk is written out apart, with no test
    // left in it for what such a source never holds.
    template <bool References>
    char* WalkBytes(std::string_view text, char* w, bool lines) {
        const bool utf8 = References || FUtf8;
        const bool twoByte = !References && FTwoByte;
        const auto* p = reinterpret_cast<const std::uint8_t*>(text.data());
        const auto* end = p + text.size();
        TViqrSink sink = FSink;  // kept in registers: the bytes written cannot touch it
        sink.Begin(w);
        while (p < end) {
            const std::uint8_t c = *p;
            if (c < 0x80 && (References || FLetter[c] < 0)) {
                const bool inTag = sink.InTag();
                const std::array<bool, 0x80>& plain = inTag ? FPlainInTag : FPlain;
                if (plain[c]) {
                    const auto* q = p + 1;
                    while (q < end && *q < 0x80 && plain[*q]) ++q;
                    if (FCompose && q < end && (References ? MarkMayStart(q, end) : FMarkStart[*q]) &&
                        PlainVowelIndex(q[-1]) >= 0) {
                        // The run's last vowel may take the marks after it. (In prose written as
                        // references a vowel stands before one reference in eight, hardly ever a mark's:
                        // the quick look at its digits keeps such runs whole.)
                        if (q - 1 > p)
                            sink.PlainRun(reinterpret_cast<const char*>(p),
                                          static_cast<std::size_t>(q - 1 - p));
                        p = q - 1;
                        if (JoinedVowel(sink, p, end)) continue;
                        q = p + 1;
                    }
                    if (q - p <= 16 && end - p >= 16) {  // the usual short run, in one move
                        sink.PlainRun<true>(reinterpret_cast<const char*>(p),
                                            static_cast<std::size_t>(q - p));
                    } else {
                        sink.PlainRun(reinterpret_cast<const char*>(p), static_cast<std::size_t>(q - p));
                    }
                    p = q;
                } else if ((c == '\r' || c == '\n') && lines) {
                    sink.EndLine();
                    sink.Raw(FLineEnd);
                    p = SkipLineEnd(p, end);
                } else if (const int pair = twoByte && IsVowelBase(c) ? PairAt(p, end) : -1; pair >= 1) {
                    sink.Letter(pair);
                    p += 2;
                } else if (References && c == '&') {
                    p = PutReference(sink, p, end);
                } else if (inTag) {
                    if (!JoinedVowel(sink, p, end)) {
                        sink.Ascii(c);
                        if (c == '>') sink.TagClose();
                        ++p;
                    }
                } else {
                    if (c == '<' && FTags && p + 1 < end && TagNameStart(p[1])) sink.TagOpen();
                    if (!JoinedVowel(sink, p, end)) {
                        sink.Ascii(c);
                        ++p;
                    }
                }
                continue;
            }
            if (!utf8) {
                if (const int pair = twoByte && FLetter[c] >= 0 ? PairAt(p, end) : -1; pair >= 1) {
                    sink.Letter(pair);
                    ++p;
                } else if (FLetter[c] >= 0) {
                    const int letter = FLetter[c];
                    ++p;
                    sink.Letter(FCompose && letter < kCapitalDStroke ? JoinFollowing(letter, p, end)
                                                                     : letter);
                    continue;
                } else {
                    sink.Char(FCp1258 ? Windows1258ToUnicode(c) : Windows1252ToUnicode(c));
                }
                ++p;
                continue;
            }
            if (c >= 0xC2 && c <= 0xDF && p + 1 < end && (p[1] & 0xC0) == 0x80) {
                const char32_t code = static_cast<char32_t>((c & 0x1F) << 6 | (p[1] & 0x3F));
                p += 2;
                Emit(sink, FTwo[code - 0x80], code, p, end);
            } else if (c == 0xE1 && p + 2 < end && (p[1] == 0xBA || p[1] == 0xBB) && (p[2] & 0xC0) == 0x80) {
                const int at = (p[1] & 0x01) << 6 | (p[2] & 0x3F);
                p += 3;
                Emit(sink, FVietnamese[at], static_cast<char32_t>(0x1E80 + at), p, end);
            } else {
                const std::string_view rest(reinterpret_cast<const char*>(p),
                                            static_cast<std::size_t>(end - p));
                char32_t code = 0;
                const std::size_t length = DecodeUtf8Or1252At(rest, 0, code);
                p += length;
                if (length == 1 && c >= 0xC0) {
                    // A byte of Windows-1252, U+00C0 to U+00FF: a vowel among them takes marks too.
                    Emit(sink, FTwo[code - 0x80], code, p, end);
                } else {
                    detail::EmitCodePoint(code, FEdhIsDStroke, sink);
                }
            }
        }
        FSink = sink;
        return sink.End();
    }

    // A character read from UTF-8; a vowel letter with the marks at p joined, where marks join.
    [[gnu::always_inline]] void Emit(TViqrSink& sink, std::int16_t letter, char32_t code,
                                     const std::uint8_t*& p, const std::uint8_t* end) const {
        if (letter >= 1) {
            sink.Letter(FCompose && letter < kCapitalDStroke ? JoinFollowing(letter, p, end) : letter);
        } else {
            sink.Char(code);
        }
    }

    // Where marks join, an ASCII vowel at p with marks after it that join: written as the letter they
    // make, p moved past them. False when it is no such vowel.
    [[gnu::always_inline]] bool JoinedVowel(TViqrSink& sink, const std::uint8_t*& p,
                                            const std::uint8_t* end) const {
        const int vowel = FCompose && end - p >= 2 && FMarkStart[p[1]] ? PlainVowelIndex(*p) : -1;
        if (vowel < 0) return false;
        const std::uint8_t* after = p + 1;
        const int joined = JoinFollowing(vowel, after, end);
        if (after == p + 1) return false;
        sink.Letter(joined);
        p = after;
        return true;
    }

    // Whether a mark that joins may start at p, before p is read further: a UTF-8 mark's first byte, a
    // Windows-1258 tone byte, a reference that may be a mark's.
    bool MarkMayStart(const std::uint8_t* p, const std::uint8_t* end) const {
        return FMarkStart[*p] && (*p != '&' || MayBeMarkReference(p, end));
    }

    // A vowel letter with the marks at p joined, p moved past them: UTF-8 marks and, in a reference
    // source, references to marks.
    [[gnu::always_inline]] int JoinFollowing(int letter, const std::uint8_t*& p,
                                             const std::uint8_t* end) const {
        if (p == end || !FMarkStart[*p]) return letter;  // the usual case: no mark follows
        return JoinMarksAt(letter, p, end);
    }
    int JoinMarksAt(int letter, const std::uint8_t*& p, const std::uint8_t* end) const {
        if (FCp1258) {
            for (int joined; p < end && FMarkByte[*p] != 0 && (joined = JoinMark(letter, FMarkByte[*p])) >= 0;
                 ++p)
                letter = joined;
            return letter;
        }
        if (!FReferences) return JoinFollowingMarks(letter, p, end);
        for (const std::uint8_t* after = p;;) {
            const char32_t mark = MarkOrReferenceAt(p, end, after);
            const int joined = mark == 0 ? -1 : JoinMark(letter, mark);
            if (joined < 0) return letter;
            letter = joined;
            p = after;
        }
    }

    // At p a reference source's "&": a letter's reference (a vowel with the marks after it joined), a
    // mark's reference that no vowel took, written as it stands, or the "&" alone.
    [[gnu::always_inline]] const std::uint8_t* PutReference(TViqrSink& sink, const std::uint8_t* p,
                                                            const std::uint8_t* end) const {
        if (end - p >= 2 && p[1] == '#') {
            const TReference reference = ReadReferenceInPlace(p, end);
            if (reference.letter >= 0) {
                p = reference.end;
                const int letter = FCompose && reference.letter < kCapitalDStroke
                                       ? JoinFollowing(reference.letter, p, end)
                                       : reference.letter;
                if (IsPlainVowelIndex(letter)) {
                    sink.Ascii(static_cast<std::uint8_t>(UnicodeTable[letter]));
                } else {
                    sink.Letter(letter);
                }
                return p;
            }
            if (reference.mark != 0 && FCompose) {
                for (; p < reference.end; ++p) sink.Ascii(*p);
                return p;
            }
        }
        sink.Ascii('&');
        return p + 1;
    }

    TViqrSink FSink;
    bool FTags;
    bool FUtf8;        // UTF-8 sources, and reference sources, which are UTF-8 too
    bool FReferences;  // reference sources
    bool FUtf16;       // UTF-16 sources, given as little-endian units
    bool FCp1258;
    std::optional<TTwoByteDecoder> FTwoByte;  // two-byte code pages: their reader
    bool FEdhIsDStroke;
    bool FCompose;                            // a UTF-8 source whose marks join the vowels before them
    std::array<std::int16_t, 256> FLetter{};  // single-byte sources: the letter of a byte, or -1
    std::array<char32_t, 256> FMarkByte{};    // Windows-1258: the mark a tone byte is, or 0
    std::array<bool, 256> FMarkStart{};       // where marks join: a byte that may start a mark
    std::array<bool, 0x80> FPlain{};          // ASCII written as itself, never escaped, in text
    std::array<bool, 0x80> FPlainInTag{};     // and inside a tag
    std::array<std::int16_t, 0x800 - 0x80> FTwo{};
    std::array<std::int16_t, 0x80> FVietnamese{};
};

}  // namespace

bool ViqrTablesServe(const TConversionSetup& setup) {
    if (TCheckedViqrSink::Needed(setup.keys)) return false;
    return setup.sourceKind != TEncodingKind::Viqr && setup.sourceKind != TEncodingKind::Utf8Nfd;
}

std::unique_ptr<TLineConverter> MakeViqrTableConverter(const TConversionSetup& setup,
                                                       const TViqrWriting& writing,
                                                       std::unique_ptr<TLineConverter> general) {
    return std::make_unique<TViqrTableConverter>(setup, writing, std::move(general));
}

}  // namespace odz
