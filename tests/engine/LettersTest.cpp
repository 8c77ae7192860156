// Letter lookups: the reverse indexes answer exactly what the first-match scans answer, for every code.
// Reading back VIQR that the engine wrote gives the original text, on random texts full of the
// characters that tempt the reader to join neighbours, with the default keys and with changed keys.

#include <algorithm>
#include <random>

#include "Encodings.h"
#include "LetterLookup.h"
#include "LineConverter.h"
#include "TRaRaru.h"
#include "TestSupport.h"
#include "TextSinks.h"
#include "ViqrKeys.h"

namespace odz {
namespace {

const std::pair<const char*, const TVnLetterTable*> kTables[] = {
    {"ZTWin", &ZTWinTable},     {"VISCII", &VisciiTable}, {"VPS", &VpsTable},
    {"VNIWind", &VniWindTable}, {"TCVN1", &Tcvn1Table},   {"TCVN2", &Tcvn2Table}};

TEST(Lookup, LegacyIndexEqualsTheScanForEveryOneAndTwoByteCode) {
    for (const auto& [name, table] : kTables) {
        const TLegacyIndex& index = LegacyIndexFor(*table);
        for (int a = 0; a < 256; ++a) {
            const char first = static_cast<char>(a);
            ASSERT_EQ(index.Single(static_cast<std::uint8_t>(a)),
                      FindLetterCode(std::string_view(&first, 1), *table))
                << name << " " << a;
            for (int b = 0; b < 256; ++b) {
                const char pair[2] = {first, static_cast<char>(b)};
                ASSERT_EQ(index.Pair(static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)),
                          FindLetterCode(std::string_view(pair, 2), *table))
                    << name << " " << a << " " << b;
            }
        }
    }
}

TEST(Lookup, CodePointIndexEqualsTheTable) {
    for (char32_t code = 0; code < 0x11000; ++code) {
        int expected = -1;
        for (int k = 1; k <= kLastLetter; ++k) {
            if (UnicodeTable[k] == code && code >= 0x80) {
                expected = k;
                break;
            }
        }
        ASSERT_EQ(LetterOfCodePoint(code), expected) << std::hex << static_cast<std::uint32_t>(code);
    }
}

// The plain scan of the VIQR table: indexes 1 to 146, the first equal entry.
int ScanViqrTable(const TViqrTable& table, std::string_view text) {
    for (int k = 1; k < kLetterCount; ++k) {
        if (table[k] == text) return k;
    }
    return 0;
}

void ExpectViqrIndexEqualsScan(const std::string& keys) {
    TRaRaru engine("/nonexistent/odizodoruz.ini");
    engine.SetTransDau(keys);
    engine.BuildViqrTable();
    std::string text;
    const auto check = [&] {
        ASSERT_EQ(engine.FindViqrLetter(text), ScanViqrTable(engine.ViqrTable(), text))
            << "keys " << keys << " text " << test::Hex(text);
    };
    for (int a = 0; a < 256; ++a) {
        text.assign(1, static_cast<char>(a));
        check();
        for (int b = 0; b < 256; ++b) {
            text.assign({static_cast<char>(a), static_cast<char>(b)});
            check();
        }
    }
    // Three-character spellings: a base letter and two printable keys.
    for (const char a : std::string_view("AEIOUYaeiouyDdx")) {
        for (int b = 0x20; b < 0x7F; ++b) {
            for (int c = 0x20; c < 0x7F; ++c) {
                text.assign({static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)});
                check();
            }
        }
    }
}

TEST(Lookup, ViqrIndexEqualsTheScanWithDefaultAndCollidingKeys) {
    ExpectViqrIndexEqualsScan(std::string(kDefaultViqrKeys));
    ExpectViqrIndexEqualsScan("''?~.^^+Dd\\");  // Sac = Huyen and Mu = AA: the lower index wins
    ExpectViqrIndexEqualsScan("1234567890!");
}

TEST(Lookup, SpecificCodes) {
    const std::tuple<const TVnLetterTable*, std::string, int> cases[] = {
        {&Tcvn2Table, "\x45\xB3", 19}, {&Tcvn2Table, "\x45\xB4", 23},   {&Tcvn2Table, "\x45", 18},
        {&VniWindTable, "\xD4", 48},   {&VniWindTable, "\xD4\xD9", 49}, {&VpsTable, "", 35},
        {&VisciiTable, "", -1},        {&Tcvn1Table, "", -1},           {&ZTWinTable, "", -1},
        {&VisciiTable, "\x02", 9},     {&VisciiTable, "\xA0", 40},      {&Tcvn1Table, "\xA0", -1},
    };
    for (const auto& [table, code, letter] : cases)
        EXPECT_EQ(FindLetterCode(code, *table), letter) << test::Hex(code);
}

std::string Convert(TEncodingKind from, TEncodingKind to, const std::string& text, const TViqrKeys& keys) {
    TConversionSetup setup;
    setup.sourceKind = from;
    setup.targetKind = to;
    setup.keys = keys;
    return MakeLineConverter(setup)->ConvertToString(text);
}

std::string ToViqr(const std::string& utf8, const TViqrKeys& keys) {
    return Convert(TEncodingKind::Utf8, TEncodingKind::Viqr, utf8, keys);
}

std::string FromViqr(const std::string& viqr, const TViqrKeys& keys) {
    return Convert(TEncodingKind::Viqr, TEncodingKind::Utf8, viqr, keys);
}

// Random lines of letters, vowels, the keys themselves, d and D, and ordinary characters.
std::string RandomLine(std::mt19937& random, const TViqrKeys& keys) {
    std::string pool = "AEIOUYaeiouydDbcx 19.,;:-";
    pool += keys.AsString();
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> kind(0, 2);
    std::uniform_int_distribution<int> letter(1, kLastLetter);
    std::uniform_int_distribution<std::size_t> ascii(0, pool.size() - 1);
    std::string line;
    for (int i = length(random); i > 0; --i) {
        if (kind(random) == 0) {
            AppendUtf8(line, UnicodeTable[letter(random)]);
        } else {
            line.push_back(pool[ascii(random)]);
        }
    }
    return line;
}

TViqrKeys RandomKeys(std::mt19937& random) {
    // Any eleven different printable characters other than the vowels; the Escape key is not d or D,
    // since a reader could not then tell a literal d from an escape.
    std::string candidates;
    for (char c = 0x21; c < 0x7F; ++c) {
        if (std::string_view("AEIOUYaeiouy").find(c) == std::string_view::npos) candidates.push_back(c);
    }
    for (;;) {
        std::shuffle(candidates.begin(), candidates.end(), random);
        TViqrKeys keys;
        for (int k = 0; k < kViqrKeyCount; ++k) keys.keys[k] = candidates[k];
        if (keys[kEscape] != 'd' && keys[kEscape] != 'D') return keys;
    }
}

TEST(ViqrRoundTrip, DefaultKeys) {
    std::mt19937 random(1456);
    const TViqrKeys keys = TViqrKeys::Defaults();
    for (int i = 0; i < 20000; ++i) {
        std::string line = RandomLine(random, keys);
        // Now and then a line far longer than what the writer holds back.
        while (i % 1000 == 999 && line.size() < 6000) line += RandomLine(random, keys);
        const std::string viqr = ToViqr(line, keys);
        ASSERT_EQ(FromViqr(viqr, keys), line) << "VIQR: " << viqr;
    }
}

TEST(ViqrRoundTrip, ChangedKeys) {
    std::mt19937 random(2024);
    // First key sets where one d is the other's partner key (đ written dD, Đ written Dd).
    const std::string_view awkward[] = {"m|$h9>Pz(DV", "'`?~.^(+d#\\"};
    for (int set = 0; set < 300; ++set) {
        TViqrKeys keys = RandomKeys(random);
        if (set < 2) {
            std::copy(awkward[set].begin(), awkward[set].end(), keys.keys.begin());
            const std::string pairs = "idĐY dđ Dđ DĐ đd Đd đD ĐD (Đ Đ( d(";
            ASSERT_EQ(FromViqr(ToViqr(pairs, keys), keys), pairs) << keys.AsString();
        }
        for (int i = 0; i < 200; ++i) {
            const std::string line = RandomLine(random, keys);
            const std::string viqr = ToViqr(line, keys);
            ASSERT_EQ(FromViqr(viqr, keys), line) << "keys " << keys.AsString() << " VIQR: " << viqr;
        }
    }
}

}  // namespace
}  // namespace odz
