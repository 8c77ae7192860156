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

TEST(TableAgainstIconv, EveryLetterCodeDecodesToItsCodePoint) {
    for (const auto& [table, charset] :
         {std::pair{&VisciiTable, "VISCII"}, std::pair{&Tcvn1Table, "TCVN5712-1"},
          std::pair{&Tcvn2Table, "TCVN5712-1"}, std::pair{&Cp1258Table, "CP1258"}}) {
        for (int k = 1; k <= kLastLetter; ++k) {
            const std::string_view code = SlotCode((*table)[k]);
            ASSERT_FALSE(code.empty()) << charset << " letter " << k;
            EXPECT_EQ(DecodeWithIconv(charset, code), UnicodeTable[k])
                << charset << " letter " << k << " code " << test::Hex(code);
        }
    }
}

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

std::string Convert(TEncodingKind source, TEncoding target, std::string_view text) {
    TConversionSetup setup;
    setup.sourceKind = source;
    setup.targetKind = EncodingInfo(target).kind;
    if (const TVnLetterTable* table = LegacyTableFor(target)) setup.targetTable = *table;
    return MakeLineConverter(setup)->ConvertToString(text);
}

// A whole text of every letter, written by our converter and by the library, gives the same bytes; for
// Windows-1258 also a text of real prose with the code page's other characters.
TEST(TableAgainstIconv, Utf8TextEncodesLikeTheLibrary) {
    std::string text;
    for (int k = 1; k <= kLastLetter; ++k) text += Utf8Table[k] + (k % 12 == 0 ? " " : "");
    text += " Hà Nội, 1945. \"Tiếng Việt\" (ngôn ngữ) - được; ";
    const std::string prose =
        "Ngày xửa ngày xưa, ở một làng nọ có hai anh em. Người anh tham lam, người em hiền lành chăm chỉ. "
        "“Ăn quả nhớ kẻ trồng cây” — Ưng Ỵ Ỷ Ỹ ỳ ý, Đà Lạt 25°C, giá 100.000₫ ± 5% (½ × 2), œuvre Ÿ ©®™…";
    for (const auto& [encoding, charset, input] :
         {std::tuple{TEncoding::Viscii, "VISCII", text}, std::tuple{TEncoding::Tcvn1, "TCVN5712-1", text},
          std::tuple{TEncoding::Cp1258, "CP1258", text + prose}}) {
        std::string theirs;
        ASSERT_TRUE(test::Iconv(charset, "UTF-8", input, theirs)) << charset;
        EXPECT_EQ(test::Hex(Convert(TEncodingKind::Utf8, encoding, input)), test::Hex(theirs)) << charset;
    }
}

// Windows-1258 read as the library reads it: its own writing, letters written with a tone-mark byte
// where the code page also has them precomposed, tone marks that join nothing, and every byte of the
// code page on its own.
TEST(TableAgainstIconv, Windows1258ReadsLikeTheLibrary) {
    std::string text;
    ASSERT_TRUE(test::Iconv("CP1258", "UTF-8", "Tiếng Việt có dấu: ấ ầ ẩ ẫ ậ ằ ợ ử ỵ Ý Đđ", text));
    text += " a\xEC A\xCC e\xEC \xE2\xEC \xF5\xF2 x\xEC \xE1\xEC \xEC";
    for (int b = 0x80; b < 0x100; ++b) {
        const std::string byte(1, static_cast<char>(b));
        std::string decoded;
        if (test::Iconv("UTF-8", "CP1258", byte, decoded)) text += " " + byte;
    }
    std::string theirs;
    ASSERT_TRUE(test::Iconv("UTF-8", "CP1258", text, theirs));
    EXPECT_EQ(test::Hex(Convert(TEncodingKind::Cp1258, TEncoding::Utf8, text)), test::Hex(theirs));
}

}  // namespace
}  // namespace odz
