// Every ordered pair of the encodings, with "HTML Doc" off and on: a text of all letters, ASCII,
// other characters and markup goes from one encoding to the other and back, and comes back as it was,
// except that a character the middle encoding cannot hold comes back as its decimal reference.

#include "FileConversion.h"
#include "IconvReference.h"
#include "LetterLookup.h"
#include "TestSupport.h"
#include "TextDecoders.h"
#include "TextSinks.h"
#include "Windows1252.h"

namespace odz {
namespace {

std::vector<char32_t> Decode(std::string_view utf8) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t n = DecodeUtf8At(utf8, i, c);
        out.push_back(c);
        i += n == 0 ? 1 : n;
    }
    return out;
}

// What the encoding can hold, worked out here from the tables and the C library's Windows-1258 rather
// than asked of the program.
bool Holds(TEncoding encoding, char32_t c) {
    if (c < 0x80) return true;
    const TEncodingKind kind = EncodingInfo(encoding).kind;
    if (kind == TEncodingKind::Utf8 || kind == TEncodingKind::Utf16 || kind == TEncodingKind::Ncr ||
        kind == TEncodingKind::Utf8Nfd)
        return true;
    const int letter = LetterOfCodePoint(c);
    if (kind == TEncodingKind::Viqr) return letter >= 1;
    if (kind == TEncodingKind::Cp1258) {
        std::string utf8;
        std::string byte;
        AppendUtf8(utf8, c);
        return letter >= 1 || (test::Iconv("CP1258", "UTF-8", utf8, byte) && byte.size() == 1);
    }
    const TVnLetterTable& table = *LegacyTableFor(encoding);
    if (letter >= 1) return !SlotCode(table[letter]).empty();
    const auto byte = UnicodeToWindows1252(c);
    if (!byte || *byte < 0x80) return false;
    for (int k = 0; k <= kLastLetter; ++k) {
        if (SlotCode(table[k]).find(static_cast<char>(*byte)) != std::string_view::npos) return false;
    }
    return true;
}

std::string WithReferences(std::string_view utf8, TEncoding encoding) {
    std::string out;
    for (const char32_t c : Decode(utf8)) {
        if (Holds(encoding, c)) {
            AppendUtf8(out, c);
        } else {
            out += "&#" + std::to_string(static_cast<std::uint32_t>(c)) + ';';
        }
    }
    return out;
}

std::string Text() {
    std::string letters;
    for (int k = 1; k <= kLastLetter; ++k) letters += Utf8Table[k] + (k % 6 == 5 ? " " : "");
    std::string ascii;
    for (char c = 0x20; c < 0x7F; ++c) ascii.push_back(c);
    return letters + "\r\n" + ascii + "\r\n" +
           "Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t: \xE2\x80\x9CXin ch\xC3\xA0o\xE2\x80\x9D \xE2\x80\x94 \xC2\xA9 "
           "2024 "
           "\xE2\x82\xAC \xC2\xBD \xF0\x9F\x98\x80 \xC2\xB7\xC2\xA0\r\n" +
           "I'm a.b (ca) \xC4\x91\x64 D\xC4\x90 DD dd e( o^ x\\y &amp; a < b\r\n" +
           // Letters inside angle brackets; the capitals with control-range codes in VISCII, VPS, TCVN1.
           "<kh\xC3\xB4ng c\xC3\xB3 th\xC6\xB0 m\xE1\xBB\xA5\x63 hi\xE1\xBB\x87n th\xE1\xBB\x9Di> <p "
           "title=\"" +
           Utf8Table[9] + Utf8Table[10] + Utf8Table[16] + Utf8Table[69] + Utf8Table[70] + Utf8Table[71] +
           " " + Utf8Table[55] + Utf8Table[59] + Utf8Table[61] + Utf8Table[62] + Utf8Table[63] +
           Utf8Table[64] + Utf8Table[65] + " " + Utf8Table[5] + Utf8Table[11] + Utf8Table[17] +
           Utf8Table[23] + Utf8Table[29] + "\">a.b <a href='a.b'>I'm</a>\r\n\r\nend\r\n";
}

// A pair of encodings, and "HTML Doc".
using TRoundTripCase = std::tuple<std::pair<TEncoding, TEncoding>, bool>;

class RoundTrip : public ::testing::TestWithParam<TRoundTripCase> {};

TEST_P(RoundTrip, ThereAndBack) {
    const auto [pair, htmlDoc] = GetParam();
    const auto [a, b] = pair;
    test::TTempDir dir;
    TRaRaru engine(dir / "odizodoruz.ini");
    engine.RaRaruCreate();
    const auto convert = [&](const std::filesystem::path& from, TEncoding fromEncoding,
                             const std::filesystem::path& to, TEncoding toEncoding) {
        if (fromEncoding == toEncoding) {
            std::filesystem::copy_file(from, to);
            return;
        }
        TFileConversionRequest request;
        request.source = from;
        request.target = to;
        request.from = fromEncoding;
        request.to = toEncoding;
        request.htmlDoc = htmlDoc;
        const TFileConversionReport report = ConvertFile(engine, request);
        ASSERT_EQ(report.outcome, TFileConversionReport::Written) << report.Reason();
    };
    test::WriteFile(dir / "text.utf8", Text());
    test::WriteFile(dir / "expected.utf8", WithReferences(Text(), b));
    convert(dir / "text.utf8", TEncoding::Utf8, dir / "text.a", a);
    convert(dir / "expected.utf8", TEncoding::Utf8, dir / "expected.a", a);
    convert(dir / "text.a", a, dir / "text.b", b);
    convert(dir / "text.b", b, dir / "back.a", a);
    EXPECT_EQ(test::Hex(test::ReadFile(dir / "back.a")), test::Hex(test::ReadFile(dir / "expected.a")));
}

// With "HTML Doc" the ASCII inside a tag is never read as VIQR keys: letters spelled in VIQR there stay
// spelled in the other encoding, so VIQR takes part with "HTML Doc" off only.
std::vector<TRoundTripCase> AllPairs() {
    std::vector<TRoundTripCase> cases;
    for (const bool htmlDoc : {false, true}) {
        for (int a = 0; a < kEncodingCount; ++a) {
            for (int b = 0; b < kEncodingCount; ++b) {
                const TEncoding from = EncodingAt(a).encoding;
                const TEncoding to = EncodingAt(b).encoding;
                if (a == b || (htmlDoc && (from == TEncoding::Viqr || to == TEncoding::Viqr))) continue;
                cases.emplace_back(std::pair{from, to}, htmlDoc);
            }
        }
    }
    return cases;
}

std::string PairName(const ::testing::TestParamInfo<RoundTrip::ParamType>& info) {
    const auto& pair = std::get<0>(info.param);
    std::string name = std::string(EncodingInfo(pair.first).shortName) + "_" +
                       std::string(EncodingInfo(pair.second).shortName) +
                       (std::get<1>(info.param) ? "_html" : "");
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(AllPairs, RoundTrip, ::testing::ValuesIn(AllPairs()), PairName);

}  // namespace
}  // namespace odz
