// The letter tables checked against the C library's converters, which nobody here wrote.

#include "Encodings.h"
#include "LetterLookup.h"
#include "LetterTables.h"
#include "LineConverter.h"
#include "TestSupport.h"

namespace odz {
namespace {

char32_t DecodeWithIconv(const char* charset, std::string_view code) {
    std::string out;
    if (!test::Iconv("UTF-32LE", charset, code, out) || out.size() != 4) return 0xFFFFFFFF;
    return static_cast<char32_t>(static_cast<unsigned char>(out[0]) |
                                 static_cast<unsigned char>(out[1]) << 8 |
                                 static_cast<unsigned char>(out[2]) << 16);
}

struct TIconvCase {
    const char* name;
    const TVnLetterTable* table;
    const char* charset;
};

class TableAgainstIconv : public ::testing::TestWithParam<TIconvCase> {};

TEST_P(TableAgainstIconv, EveryLetterCodeDecodesToItsCodePoint) {
    const TIconvCase& c = GetParam();
    for (int k = 1; k <= kLastLetter; ++k) {
        const std::string_view code = SlotCode((*c.table)[k]);
        ASSERT_FALSE(code.empty()) << "letter " << k;
        EXPECT_EQ(DecodeWithIconv(c.charset, code), UnicodeTable[k])
            << c.name << " letter " << k << " code " << test::Hex(code);
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, TableAgainstIconv,
                         ::testing::Values(TIconvCase{"VISCII", &VisciiTable, "VISCII"},
                                           TIconvCase{"TCVN1", &Tcvn1Table, "TCVN5712-1"},
                                           TIconvCase{"TCVN2", &Tcvn2Table, "TCVN5712-1"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Every byte the C library decodes as a Vietnamese letter is that letter in our table too, and the
// other bytes are no letter: nothing is missing from the single-byte tables.
TEST(TableAgainstIconv, SingleByteTablesHoldEveryLetterByteTheLibraryKnows) {
    for (const auto& [table, charset] :
         {std::pair{&VisciiTable, "VISCII"}, std::pair{&Tcvn1Table, "TCVN5712-1"}}) {
        const TLegacyIndex index(*table);
        for (int b = 1; b < 256; ++b) {
            const std::string byte(1, static_cast<char>(b));
            const char32_t code = DecodeWithIconv(charset, byte);
            const int letter = LetterOfCodePoint(code);
            const int ours = index.Single(static_cast<std::uint8_t>(b));
            if (letter >= 1) {
                EXPECT_EQ(ours, letter) << charset << " byte " << b;
            } else if (b >= 0x80 || b < 0x20) {
                EXPECT_TRUE(ours < 1 || UnicodeTable[ours] < 0x80) << charset << " byte " << b;
            }
        }
    }
}

// A whole text of every letter, written by our converter and by the library, gives the same bytes.
TEST(TableAgainstIconv, Utf8TextEncodesLikeTheLibrary) {
    std::string text;
    for (int k = 1; k <= kLastLetter; ++k) text += Utf8Table[k] + (k % 12 == 0 ? " " : "");
    text += " Hà Nội, 1945. \"Tiếng Việt\" (ngôn ngữ) - được; ";
    for (const auto& [encoding, charset] :
         {std::pair{TEncoding::Viscii, "VISCII"}, std::pair{TEncoding::Tcvn1, "TCVN5712-1"}}) {
        TConversionSetup setup;
        setup.sourceKind = TEncodingKind::Utf8;
        setup.targetKind = TEncodingKind::Legacy;
        setup.targetTable = *LegacyTableFor(encoding);
        const auto converter = MakeLineConverter(setup);
        const std::string ours = converter->ConvertToString(text);
        std::string theirs;
        ASSERT_TRUE(test::Iconv(charset, "UTF-8", text, theirs)) << charset;
        EXPECT_EQ(test::Hex(ours), test::Hex(theirs)) << charset;
        EXPECT_EQ(converter->References(), 0u);
    }
}

}  // namespace
}  // namespace odz
