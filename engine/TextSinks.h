#pragma once

// Writers of one target encoding. A decoder hands every character of a line to a sink as one of:
//   Ascii(b)       an ASCII byte, written as itself everywhere;
//   Letter(k)      a letter index 1 to 145 other than the twelve plain vowels;
//   Char(c)        any other character (c >= 0x80);
// and brackets the characters of a tag with TagOpen() and TagClose(); EndLine() follows the last
// character of a line. A sink writes a character the target cannot hold as the decimal reference
// "&#N;" and counts it. Sinks write through a raw pointer into room the converter has reserved for the
// worst case of the text it hands over (see kMaxBytesPerInputByte), plus Backlog(): what a sink may
// still hold back from earlier text.

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "LetterLookup.h"
#include "LetterTables.h"
#include "Windows1252.h"

namespace odz {

// The most bytes any sink writes for one byte of an 8-bit source line (a reference of seven
// characters, each escaped in VIQR), and for one code point of a UTF-16 line.
constexpr std::size_t kMaxBytesPerInputByte = 16;
constexpr std::size_t kMaxBytesPerCodePoint = 32;
constexpr std::size_t kLineSlack = 64;

void AppendUtf8(std::string& out, char32_t code);
// Write at the pointer and return the new end.
char* PutReference(char* at, char32_t code);
char* PutUtf8(char* at, char32_t code);
inline bool IsSurrogate(char32_t code) {
    return code >= 0xD800 && code <= 0xDFFF;
}

class TSinkBase {
public:
    // Whether the sink joins combining marks to the vowel before them (see Composition.h).
    static constexpr bool kJoinsMarks = false;
    void Begin(char* at) { FPos = at; }
    char* End() const { return FPos; }
    std::uint64_t References() const { return FReferences; }
    void TagOpen() {}
    void TagClose() {}
    void EndLine() {}
    // Bytes written as they stand (the line end).
    void Raw(std::string_view bytes) { Put(bytes); }
    std::size_t Backlog() const { return 0; }
    // Forgets a line left unfinished.
    void Reset() {}

protected:
    void Put(char c) { *FPos++ = c; }
    void Put(std::string_view bytes) {
        std::memcpy(FPos, bytes.data(), bytes.size());
        FPos += bytes.size();
    }
    // The first n of N bytes that may all be read, in one move that writes all N.
    template <std::size_t N>
    void PutFirst(const char* bytes, std::size_t n) {
        std::memcpy(FPos, bytes, N);
        FPos += n;
    }
    void Reference(char32_t code) {
        FPos = PutReference(FPos, code);
        ++FReferences;
    }
    char* FPos = nullptr;
    std::uint64_t FReferences = 0;
};

// A legacy 8-bit encoding: letters by its table; other characters as their Windows-1252 byte when no
// letter code of the encoding uses that byte.
class TLegacySink : public TSinkBase {
public:
    explicit TLegacySink(const TVnLetterTable& table) : FIndex(&LegacyIndexFor(table)) {
        for (int k = 0; k < kLetterCount; ++k) FCodes[k] = SlotCode(table[k]);
    }
    void Ascii(std::uint8_t b) { Put(static_cast<char>(b)); }
    void Letter(int k) {
        if (FCodes[k].empty()) {
            Reference(UnicodeTable[k]);
        } else {
            Put(FCodes[k]);
        }
    }
    void Char(char32_t code) {
        const auto byte = UnicodeToWindows1252(code);
        if (byte && *byte >= 0x80 && !FIndex->UsedInCodes(*byte)) {
            Put(static_cast<char>(*byte));
        } else {
            Reference(code);
        }
    }
    static std::string_view LineEnd() { return "\r\n"; }

private:
    const TLegacyIndex* FIndex;
    std::array<std::string, kLetterCount> FCodes;
};

// Text written in UTF-8: every character but a lone surrogate can be held.
class TUtf8TextSink : public TSinkBase {
public:
    void Ascii(std::uint8_t b) { Put(static_cast<char>(b)); }
    void Char(char32_t code) {
        if (IsSurrogate(code)) {
            Reference(code);
        } else {
            FPos = PutUtf8(FPos, code);
        }
    }
    static std::string_view LineEnd() { return "\r\n"; }
};

// Decimal references: letters as "&#N;", everything else as UTF-8 text.
class TNcrSink : public TUtf8TextSink {
public:
    void Letter(int k) { FPos = PutReference(FPos, UnicodeTable[k]); }
};

class TUtf8Sink : public TUtf8TextSink {
public:
    void Letter(int k) { Put(Utf8Table[k]); }
};

// Windows-1258: letters as the C library writes them (precomposed where the code page has the letter,
// else the base letter and a tone-mark byte); other characters as their byte of the code page, the five
// combining tone marks included. A tone-mark byte read back after a vowel joins it, so marks reach this
// sink on their own only where they join nothing.
class TCp1258Sink : public TSinkBase {
public:
    TCp1258Sink() {
        for (int k = 0; k < kLetterCount; ++k) FCodes[k] = SlotCode(Cp1258Table[k]);
    }
    void Ascii(std::uint8_t b) { Put(static_cast<char>(b)); }
    void Letter(int k) { Put(FCodes[k]); }
    void Char(char32_t code) {
        const auto byte = UnicodeToWindows1258(code);
        if (byte && *byte >= 0x80) {
            Put(static_cast<char>(*byte));
        } else {
            Reference(code);
        }
    }
    static std::string_view LineEnd() { return "\r\n"; }

private:
    std::array<std::string_view, kLetterCount> FCodes;
};

// UTF-8 with every vowel letter written as its base (with the circumflex, breve or horn that Unicode
// precomposes) followed by the combining tone mark.
class TUtf8NfdSink : public TUtf8TextSink {
public:
    void Letter(int k) {
        if (k >= kCapitalDStroke) {
            Put(Utf8Table[k]);
            return;
        }
        const int tone = LetterTone(k);
        Put(Utf8Table[k - tone]);
        if (tone != 0) FPos = PutUtf8(FPos, ToneMark(tone));
    }
};

// UTF-16 little-endian units.
class TUtf16Sink : public TSinkBase {
public:
    void Ascii(std::uint8_t b) { Unit(b); }
    void Letter(int k) { Unit(static_cast<char16_t>(UnicodeTable[k])); }
    void Char(char32_t code) {
        if (code >= 0x10000) {
            const char32_t v = code - 0x10000;
            Unit(static_cast<char16_t>(0xD800 + (v >> 10)));
            Unit(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            Unit(static_cast<char16_t>(code));
        }
    }
    static std::string_view LineEnd() { return {"\r\0\n\0", 4}; }

private:
    void Unit(char16_t unit) {
        Put(static_cast<char>(unit & 0xFF));
        Put(static_cast<char>(unit >> 8));
    }
};

}  // namespace odz
