#pragma once

// The table walk of VIQR sources into every target but VIQR: a vowel and the keys after it are looked
// up in the key tables, and every letter's and every ASCII byte's output comes from a table; d, D, their
// keys, the escape key, tags and whatever is no ASCII take the reading rule itself.

#include "TableConverters.h"
#include "ViqrKeys.h"

namespace odz {

template <class Sink>
class TViqrSourceConverter final : public TTableConverterBase {
public:
    // Whether the walk reads with these keys: it takes a line end, and NUL, for "nothing after".
    static bool Serves(const TViqrKeys& keys) {
        for (const char key : keys.keys) {
            if (key == '\0' || key == '\r' || key == '\n') return false;
        }
        return true;
    }

    TViqrSourceConverter(const TConversionSetup& setup, Sink sink, std::unique_ptr<TLineConverter> general)
        : TTableConverterBase(Sink::LineEnd(), std::move(general)),
          FSink(std::move(sink)),
          FKeys(setup.keys),
          FIndex(MakeViqrTable(setup.keys)),
          FTags(setup.tags),
          FBaseReferences(FSink.References()) {
        for (int b = 0; b < 0x80; ++b) {
            FAscii[b] = ProbeEntry(FSink, [&](Sink& s) { s.Ascii(static_cast<std::uint8_t>(b)); });
        }
        for (int k = 1; k < kLetterCount; ++k) FLetters[k] = ProbeEntry(FSink, [&](Sink& s) { s.Letter(k); });
        for (int b = 0; b < 0x100; ++b) {
            const auto c = static_cast<std::uint8_t>(b);
            FShape[b] = FKeys.IsShapeKey(static_cast<char>(c));
            FTone[b] = FKeys.IsToneKey(static_cast<char>(c));
            FKind[b] = c >= 0x80 ? kOther : IsVowelBase(c) ? kVowel : kPlain;
            FKindInTag[b] = c >= 0x80 ? kOther : kPlain;
        }
        for (const char c : {'d', 'D', FKeys[kdTh], FKeys[kDHoa], FKeys[kEscape], '<', '>', '\r', '\n'}) {
            if (FKind[static_cast<std::uint8_t>(c)] == kPlain) FKind[static_cast<std::uint8_t>(c)] = kOther;
        }
        for (const char c : {'>', '\r', '\n'}) FKindInTag[static_cast<std::uint8_t>(c)] = kOther;
    }

    void Restart() override {
        FInTag = false;
        TTableConverterBase::Restart();
    }
    std::uint64_t References() const override { return FReferences + FSink.References() - FBaseReferences; }

private:
    enum : std::uint8_t { kPlain, kVowel, kOther };
    // The longest unit the walk reads: the escape key and a character of four bytes.
    static constexpr std::size_t kLongestUnit = 5;

    std::size_t SafeEnd(std::string_view piece) const override {
        return piece.size() > kLongestUnit ? piece.size() - kLongestUnit : 0;
    }
    std::size_t ConvertUpTo(std::string_view text, std::size_t limit, TByteBuffer& out) override {
        const auto* begin = reinterpret_cast<const std::uint8_t*>(text.data());
        char* w = out.Reserve((limit + kLongestUnit) * sizeof(TOutputEntry) + kLineSlack);
        const std::uint8_t* stopped = Read(begin, begin + limit, begin + text.size(), w, true);
        out.CommitTo(w);
        return static_cast<std::size_t>(stopped - begin);
    }
    char* Walk(std::string_view text, char* w, bool lines) override {
        const auto* begin = reinterpret_cast<const std::uint8_t*>(text.data());
        if (!lines) FInTag = false;  // a line of its own
        Read(begin, begin + text.size(), begin + text.size(), w, lines);
        if (!lines) FInTag = false;
        return w;
    }
    char* EndOfText(char* w) override {
        FInTag = false;
        return PutLineEnd(w);
    }

    // Reads the units that start before `stop` in a text that ends at `end`; returns where it stopped.
    const std::uint8_t* Read(const std::uint8_t* p, const std::uint8_t* stop, const std::uint8_t* end,
                             char*& w, bool lines) {
        std::uint64_t references = 0;
        while (p < stop) {
            const std::uint8_t c = *p;
            const std::uint8_t kind = FInTag ? FKindInTag[c] : FKind[c];
            if (kind == kPlain) {
                w = Put(w, FAscii[c]);
                ++p;
            } else if (kind == kVowel) {
                // A vowel, a shape key and a tone key; a vowel and one key; or the vowel alone.
                const std::uint8_t next = p + 1 < end ? p[1] : 0;
                int letter = 0;
                int length = 2;
                if (FShape[next]) {
                    const std::uint8_t third = p + 2 < end ? p[2] : 0;
                    if (FTone[third]) {
                        letter = FIndex.FindVowel(static_cast<char>(c), static_cast<char>(next), third);
                        length = 3;
                    } else {
                        letter = FIndex.FindVowel(static_cast<char>(c), static_cast<char>(next), -1);
                    }
                } else if (FTone[next]) {
                    letter = FIndex.FindVowel(static_cast<char>(c), static_cast<char>(next), -1);
                }
                if (letter != 0) {
                    const TOutputEntry& entry = FLetters[letter];
                    w = Put(w, entry);
                    references += entry.Reference();
                    p += length;
                } else {
                    w = Put(w, FAscii[c]);
                    ++p;
                }
            } else {
                p = Other(p, end, w, lines);
            }
        }
        FReferences += references;
        return p;
    }

    // A line end, a character that is no ASCII, a tag's "<" or ">", or a byte that may start d, D or an
    // escaped character.
    const std::uint8_t* Other(const std::uint8_t* p, const std::uint8_t* end, char*& w, bool lines) {
        const std::uint8_t c = *p;
        if ((c == '\r' || c == '\n') && lines) {
            FInTag = false;
            w = PutLineEnd(w);
            return SkipLineEnd(p, end);
        }
        if (c >= 0x80) return NonAscii(p, end, w);
        if (FInTag && c == '>') {
            w = Put(w, FAscii[c]);
            FInTag = false;
            return p + 1;
        }
        const bool hasNext = p + 1 < end && p[1] != '\r' && p[1] != '\n';
        if (!FInTag && FTags && c == '<' && hasNext &&
            StartsTag(std::string_view(reinterpret_cast<const char*>(p), 2), 0)) {
            w = Put(w, FAscii[c]);
            FInTag = true;
            return p + 1;
        }
        if (FInTag) {
            w = Put(w, FAscii[c]);
            return p + 1;
        }
        const TViqrUnit unit = ReadViqrUnit(
            std::string_view(reinterpret_cast<const char*>(p), hasNext ? 2 : 1), 0, FKeys, FIndex);
        switch (unit.kind) {
            case TViqrUnit::Letter: {
                const TOutputEntry& entry = FLetters[unit.letter];
                FReferences += entry.Reference();
                w = Put(w, entry);
                return p + unit.length;
            }
            case TViqrUnit::Escaped:
                // The escaped character is written as it stands, whatever it is.
                if (p[1] >= 0x80) return NonAscii(p + 1, end, w);
                w = Put(w, FAscii[p[1]]);
                return p + 2;
            case TViqrUnit::Literal:
                break;
        }
        w = Put(w, FAscii[c]);
        return p + 1;
    }

    // A character of UTF-8, or a byte of Windows-1252 where there is none, through the sink.
    const std::uint8_t* NonAscii(const std::uint8_t* p, const std::uint8_t* end, char*& w) {
        char32_t code = 0;
        const std::size_t length = DecodeUtf8Or1252At(
            std::string_view(reinterpret_cast<const char*>(p), static_cast<std::size_t>(end - p)), 0, code);
        FSink.Begin(w);
        detail::EmitCodePoint(code, false, FSink);
        w = FSink.End();
        return p + length;
    }

    Sink FSink;
    TViqrKeys FKeys;
    TViqrIndex FIndex;
    bool FTags;
    bool FInTag = false;  // a tag opened on this line and not yet closed
    std::uint64_t FBaseReferences;
    TOutputEntry FAscii[0x80]{};
    TOutputEntry FLetters[kLetterCount]{};
    bool FShape[0x100]{};
    bool FTone[0x100]{};
    std::uint8_t FKind[0x100]{};       // what a byte is in text
    std::uint8_t FKindInTag[0x100]{};  // and inside a tag
};

}  // namespace odz
