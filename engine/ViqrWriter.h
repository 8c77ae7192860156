#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "TextSinks.h"
#include "ViqrKeys.h"

namespace odz {

// Writes VIQR so that reading it back gives the original text. A letter is its spelling from the VIQR
// table. A literal character that the reader would otherwise join to a neighbour gets the Escape key
// before it: a tone or shape key after a vowel or a vowel letter, d or D next to its partner key or to
// đ/Đ, and the Escape key itself. Inside a tag everything is written as it stands.
//
// The rule needs only the item before a character and the letter after it, so the writer holds back at
// most one character and never more than that, however long the line.
class TViqrEscapeRule {
public:
    explicit TViqrEscapeRule(const TViqrKeys& keys);

    // What stands before a character on its line (nothing, or a tag, counts as None).
    struct TBefore {
        enum TKind : std::uint8_t { None, Literal, Letter } kind = None;
        std::uint8_t byte = 0;  // Literal: the byte
        bool escaped = false;   // Literal: written with the Escape key
        int letter = 0;         // Letter: its index
    };

    // Whether a literal byte gets the Escape key, with nextLetter the letter right after it (-1: no
    // letter follows).
    bool Escapes(TBefore before, std::uint8_t x, int nextLetter) const;
    // False for bytes that never get the Escape key.
    bool MayEscape(std::uint8_t x) const { return FClass[x] != 0; }
    // True when only the letter after the byte can still decide (d, D and their partner keys).
    bool WaitsForNext(std::uint8_t x) const { return (FClass[x] & (kSmallD | kCapitalD)) != 0; }
    bool Joins(std::uint8_t before, std::uint8_t after) const;
    char Escape() const { return FKeys[kEscape]; }
    const TViqrKeys& Keys() const { return FKeys; }

private:
    static constexpr std::uint8_t kEscapeKey = 1, kToneOrShape = 2, kSmallD = 4, kCapitalD = 8;
    // The byte a letter's spelling begins with (its base letter).
    static std::uint8_t FirstByte(int letter);
    TViqrKeys FKeys;
    std::array<std::uint8_t, 256> FClass{};
};

// The spellings of the letters, ready to copy.
class TViqrSpellings {
public:
    explicit TViqrSpellings(const TViqrTable& table);
    std::string_view operator[](int k) const { return {FBytes[k].data(), FLength[k]}; }
    // The spelling in four bytes, of which the first Length(k) count.
    const char* Four(int k) const { return FBytes[k].data(); }
    std::size_t Length(int k) const { return FLength[k]; }

private:
    std::array<std::array<char, 4>, kLetterCount> FBytes{};
    std::array<std::uint8_t, kLetterCount> FLength{};
};

// What the writer below spells with for one key set: the escape rule and the letters' spellings,
// built once and shared by the copies of the writer.
struct TViqrWriting {
    TViqrWriting(const TViqrKeys& keys, const TViqrTable& table) : rule(keys), spellings(table) {}
    TViqrEscapeRule rule;
    TViqrSpellings spellings;
};

// The writer for key sets where the escape rule is enough. It holds only its place and the state of the
// line, so that a converter can keep a copy of it in registers while it walks a block.
class TViqrSink : public TSinkBase {
public:
    explicit TViqrSink(const TViqrWriting& writing) : FWriting(&writing) {}

    void Ascii(std::uint8_t b) {
        if (FInTag) {
            Put(static_cast<char>(b));
            return;
        }
        if (FHeld) Release(-1);
        Literal(b);
    }
    void Letter(int k) {
        if (FInTag) {
            Put(FWriting->spellings[k]);
            return;
        }
        if (FHeld) Release(k);
        PutFirst<4>(FWriting->spellings.Four(k), FWriting->spellings.Length(k));
        FBefore = {TViqrEscapeRule::TBefore::Letter, 0, false, k};
    }
    // ASCII bytes of which none ever gets the Escape key (MayEscape() false for each; no line end).
    // Readable16: n is at most 16, and 16 bytes may be read at `bytes` and written where the sink writes.
    template <bool Readable16 = false>
    void PlainRun(const char* bytes, std::size_t n) {
        if (!FInTag) {
            if (FHeld) Release(-1);
            FBefore = {TViqrEscapeRule::TBefore::Literal, static_cast<std::uint8_t>(bytes[n - 1]), false, 0};
        }
        if constexpr (Readable16) {
            PutFirst<16>(bytes, n);
        } else {
            Put(std::string_view(bytes, n));
        }
    }
    [[gnu::always_inline]] void Char(char32_t code) {
        // VIQR is 7-bit text: any other character becomes a reference, written like typed text.
        char reference[16];
        const char* end = PutReference(reference, code);
        ++FReferences;
        for (const char* c = reference; c < end; ++c) Ascii(static_cast<std::uint8_t>(*c));
    }
    void TagOpen() {
        if (FHeld) Release(-1);
        FInTag = true;
        FBefore = {};
    }
    void TagClose() { FInTag = false; }
    void EndLine() {
        if (FHeld) Release(-1);
        FBefore = {};
        FInTag = false;
    }
    std::size_t Backlog() const { return 2; }
    void Reset() {
        FHeld = false;
        FBefore = {};
        FInTag = false;
    }
    bool InTag() const { return FInTag; }
    const TViqrEscapeRule& Rule() const { return FWriting->rule; }
    static std::string_view LineEnd() { return "\r\n"; }

private:
    void Literal(std::uint8_t x) {
        if (!FWriting->rule.MayEscape(x)) {
            Put(static_cast<char>(x));
            FBefore = {TViqrEscapeRule::TBefore::Literal, x, false, 0};
        } else if (FWriting->rule.Escapes(FBefore, x, -1)) {
            Put(FWriting->rule.Escape());
            Put(static_cast<char>(x));
            FBefore = {TViqrEscapeRule::TBefore::Literal, x, true, 0};
        } else if (FWriting->rule.WaitsForNext(x)) {
            FHeld = true;
            FHeldByte = x;
        } else {
            Put(static_cast<char>(x));
            FBefore = {TViqrEscapeRule::TBefore::Literal, x, false, 0};
        }
    }
    // Writes the character held back, now that the letter after it (or -1) is known.
    void Release(int nextLetter) {
        const bool escaped = FWriting->rule.Escapes(FBefore, FHeldByte, nextLetter);
        if (escaped) Put(FWriting->rule.Escape());
        Put(static_cast<char>(FHeldByte));
        FBefore = {TViqrEscapeRule::TBefore::Literal, FHeldByte, escaped, 0};
        FHeld = false;
    }

    const TViqrWriting* FWriting;
    TViqrEscapeRule::TBefore FBefore;
    bool FHeld = false;  // a literal waits for the item after it
    std::uint8_t FHeldByte = 0;
    bool FInTag = false;
};

// The writer for key sets where d, D or "<" is a tone or shape key, or the Escape key is d or D. There
// the escape rule alone can still leave two neighbours that the reader joins, so every character
// written is read back; where the reader would go wrong, the character after it (or else the character
// itself) gets the Escape key, or đ/Đ its other spelling (key first), and the reading is checked again
// from two characters earlier. The check looks at no more than three bytes at a time, and a character
// whose spelling can no longer change (a letter, an escaped character) settles all before it, so the
// writer holds back only a few characters: memory stays flat and time linear, however long the line.
class TCheckedViqrSink : public TSinkBase {
public:
    TCheckedViqrSink(const TViqrKeys& keys, const TViqrTable& table, const TViqrIndex& index);

    // True for the key sets that need this writer.
    static bool Needed(const TViqrKeys& keys);

    void Ascii(std::uint8_t b);
    void Letter(int k);
    void Char(char32_t code);
    void TagOpen();
    void TagClose();
    void EndLine();
    std::size_t Backlog() const { return (FItems.size() - FHead) * 4 + FTagText.size(); }
    void Reset();
    static std::string_view LineEnd() { return "\r\n"; }

private:
    struct TItem {
        enum TKind : std::uint8_t { Literal, Letter, Tag } kind;
        bool ruleEscaped;  // Literal: escaped by the escape rule (what the next character's rule sees)
        bool marked;       // Literal: escaped; Đ/đ: spelled key first; Tag: its text has been written
        std::uint8_t byte;
        std::int16_t letter;
    };

    TItem& At(std::size_t i) { return FItems[FHead + (i - FFirst)]; }
    const TItem& At(std::size_t i) const { return FItems[FHead + (i - FFirst)]; }
    std::size_t Size() const { return FFirst + (FItems.size() - FHead); }
    void Push(const TItem& item);
    void ApplyRule(std::size_t i, const TItem* next);
    // Reads back from item j on; false when the items it needs have not all come yet.
    bool Check(std::size_t j, bool lineEnded, bool& right) const;
    // True when the item reads back as itself whatever follows it.
    bool ReadsBackAlone(const TItem& item) const;
    // Writes the item's bytes at the pointer and returns the new end.
    char* Spell(const TItem& item, char* at) const;
    bool Repair(std::size_t j);
    void Advance(bool lineEnded);
    void EmitFront();
    void PutItem(const TItem& item);

    TViqrEscapeRule FRule;
    TViqrSpellings FSpellings;
    const TViqrIndex* FIndex;
    // What reads back as itself whatever follows: a byte as it stands, a byte after the Escape key, a
    // letter's spelling, Đ/đ spelled key first.
    std::array<bool, 256> FByteAlone{};
    std::array<bool, 256> FEscapedAlone{};
    std::array<bool, kLetterCount> FLetterAlone{};
    std::array<bool, 2> FKeyFirstAlone{};
    std::vector<TItem> FItems;  // items FFirst, FFirst + 1, ... of the line start at FHead
    std::size_t FHead = 0;
    std::size_t FFirst = 0;     // the first item of the line not yet written
    std::size_t FRuleDone = 0;  // items before it have had the escape rule applied
    std::size_t FFrom = 0;      // the next item to read back
    std::size_t FSettled = 0;   // items before it are written as they will stay
    std::string FTagText;       // the text of a tag not yet written
    bool FInTag = false;
    bool FTagStreams = false;  // the open tag has been reached: its text is written as it comes
};

}  // namespace odz
