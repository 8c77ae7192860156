#pragma once

// Writers of one target encoding. A decoder hands every character of a line to a sink as one of:
//   Ascii(b)       an ASCII byte, written as itself everywhere;
//   Letter(k)      a letter index 1 to 145 other than the twelve plain vowels;
//   Char(c)        any other character (c >= 0x80);
// and brackets the characters of a tag with TagOpen() and TagClose(). A sink writes a character the
// target cannot hold as the decimal reference "&#N;" and counts it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "LetterLookup.h"
#include "LetterTables.h"
#include "Windows1252.h"

namespace odz {

void AppendReference(std::string& out, char32_t code);
void AppendUtf8(std::string& out, char32_t code);
inline bool IsSurrogate(char32_t code) { return code >= 0xD800 && code <= 0xDFFF; }

class TSinkBase {
public:
    void SetOutput(std::string& out) { FOut = &out; }
    std::uint64_t References() const { return FReferences; }
    void TagOpen() {}
    void TagClose() {}
    void EndLine() {}

protected:
    void Reference(char32_t code) {
        AppendReference(*FOut, code);
        ++FReferences;
    }
    std::string* FOut = nullptr;
    std::uint64_t FReferences = 0;
};

// A legacy 8-bit encoding: letters by its table; other characters as their Windows-1252 byte when no
// letter code of the encoding uses that byte.
class TLegacySink : public TSinkBase {
public:
    explicit TLegacySink(const TVnLetterTable& table) : FIndex(&LegacyIndexFor(table)) {
        for (int k = 0; k < kLetterCount; ++k) FCodes[k] = SlotCode(table[k]);
    }
    void Ascii(std::uint8_t b) { FOut->push_back(static_cast<char>(b)); }
    void Letter(int k) {
        if (FCodes[k].empty()) {
            Reference(UnicodeTable[k]);
        } else {
            FOut->append(FCodes[k]);
        }
    }
    void Char(char32_t code) {
        const auto byte = UnicodeToWindows1252(code);
        if (byte && *byte >= 0x80 && !FIndex->UsedInCodes(*byte)) {
            FOut->push_back(static_cast<char>(*byte));
        } else {
            Reference(code);
        }
    }

private:
    const TLegacyIndex* FIndex;
    std::array<std::string, kLetterCount> FCodes;
};

// Decimal references: letters as "&#N;", everything else as UTF-8 text.
class TNcrSink : public TSinkBase {
public:
    void Ascii(std::uint8_t b) { FOut->push_back(static_cast<char>(b)); }
    void Letter(int k) { AppendReference(*FOut, UnicodeTable[k]); }
    void Char(char32_t code) {
        if (IsSurrogate(code)) {
            Reference(code);
        } else {
            AppendUtf8(*FOut, code);
        }
    }
};

class TUtf8Sink : public TSinkBase {
public:
    void Ascii(std::uint8_t b) { FOut->push_back(static_cast<char>(b)); }
    void Letter(int k) { FOut->append(Utf8Table[k]); }
    void Char(char32_t code) {
        if (IsSurrogate(code)) {
            Reference(code);
        } else {
            AppendUtf8(*FOut, code);
        }
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

private:
    void Unit(char16_t unit) {
        FOut->push_back(static_cast<char>(unit & 0xFF));
        FOut->push_back(static_cast<char>(unit >> 8));
    }
};

}  // namespace odz
