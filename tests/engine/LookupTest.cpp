// Letter lookups: the reverse indexes answer exactly what the first-match scans answer, for every code.

#include <random>

#include "Encodings.h"
#include "LetterLookup.h"
#include "TRaRaru.h"
#include "TestSupport.h"
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
    struct TCase {
        const TVnLetterTable* table;
        std::string code;
        int expected;
    };
    const TCase cases[] = {
        {&Tcvn2Table, "\x45\xB3", 19}, {&Tcvn2Table, "\x45\xB4", 23},   {&Tcvn2Table, "\x45", 18},
        {&VniWindTable, "\xD4", 48},   {&VniWindTable, "\xD4\xD9", 49}, {&VpsTable, "", 35},
        {&VisciiTable, "", -1},        {&Tcvn1Table, "", -1},           {&ZTWinTable, "", -1},
        {&VisciiTable, "\x02", 9},     {&VisciiTable, "\xA0", 40},      {&Tcvn1Table, "\xA0", -1},
    };
    for (const TCase& c : cases) EXPECT_EQ(FindLetterCode(c.code, *c.table), c.expected) << test::Hex(c.code);
}

TEST(Lookup, SourceEncodeKeepsTheLastLegacyTable) {
    TRaRaru engine("/nonexistent/odizodoruz.ini");
    EXPECT_FALSE(engine.SourceIsTwoByte());
    EXPECT_TRUE(engine.SetSourceEncode("VISCII"));
    EXPECT_TRUE(engine.SetSourceEncode("Unicode UTF-8"));
    EXPECT_EQ(engine.SourceTable(), VisciiTable);
    EXPECT_EQ(engine.SourceEncodeName(), "Unicode UTF-8");
    EXPECT_FALSE(engine.SourceIsTwoByte());
    engine.SetSourceEncode("viscii");  // identifiers are compared exactly
    EXPECT_EQ(engine.SourceTable(), VisciiTable);
    engine.SetSourceEncode("VNIWind");
    EXPECT_TRUE(engine.SourceIsTwoByte());
}

TEST(Lookup, CopyHtmlTag) {
    struct TCase {
        std::string input;
        std::size_t position;
        std::string output;
        std::size_t after;
    };
    const TCase cases[] = {
        {"<b>Viet", 0, "<b>", 3},
        {"<b", 0, "<b", 2},
        {"x<b>", 0, "", 0},
        {"a < b", 2, "", 2},
        {"<a href='>'>x", 0, "<a href='>", 10},
        {"</p>", 0, "</p>", 4},
        {"<!-- c -->", 0, "<!-- c -->", 10},
    };
    for (const TCase& c : cases) {
        std::size_t position = c.position;
        std::string output;
        CopyHtmlTag(position, c.input, output);
        EXPECT_EQ(output, c.output) << c.input;
        EXPECT_EQ(position, c.after) << c.input;
    }
}

}  // namespace
}  // namespace odz
