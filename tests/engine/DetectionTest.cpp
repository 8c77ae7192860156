// The syllable rules and the detection of a text's encoding.

#include <gtest/gtest.h>

#include "EncodingDetector.h"
#include "FileError.h"
#include "LineConverter.h"
#include "TestSupport.h"
#include "TextDecoders.h"
#include "VietnameseSyllables.h"

namespace odz {
namespace {

std::u32string Utf32(std::string_view utf8) {
    return DecodeUtf8Or1252(utf8);
}

TEST(Syllables, ValidAndImpossibleWords) {
    const char* const valid[] = {"a",     "ở",      "nghiêng", "nghiệng", "Người", "VIỆT",  "quốc",  "quý",
                                 "gì",    "giường", "giếng",   "khuỷu",   "yêu",   "xoong", "oanh",  "huyện",
                                 "Đường", "chuyện", "ngoằn",   "cũng",    "thuở",  "ấy",    "tiếng", "hạt",
                                 "bích",  "mãi",    "Hồ",      "uống",    "quả"};
    for (const char* word : valid) EXPECT_TRUE(IsVietnameseSyllable(Utf32(word))) << word;
    const char* const impossible[] = {"",    "ng",     "nghỉa h", "café", "hOa",    "HOa",  "cá̀",   "hoá́",
                                      "bat", "ghà",    "ce",      "ngê",  "ăn ",    "ă",    "lyên", "uôc",
                                      "iêú", "tiếngg", "ồx",      "hàt",  "bỉch",   "mãiy", "ươ",   "đ",
                                      "ÀÁ",  "aaa",    "ộ",       "zô",   "việtnam"};
    for (const char* word : impossible) EXPECT_FALSE(IsVietnameseSyllable(Utf32(word))) << word;
}

// Real paragraphs: prose, dialogue, technical text, names.
constexpr std::string_view kParagraphs[] = {
    "Hà Nội mùa thu, những con phố nhỏ rợp bóng cây, gió heo may thổi nhẹ qua mặt hồ Gươm. Người bán hàng "
    "rong đội nón lá, gánh trên vai những thúng cốm xanh thơm mùi lúa non.",
    "— Ông đi đâu đấy? — Tôi về quê ăn Tết, bà ạ. Ở Huế năm nay mưa nhiều quá, đường sá ngập hết cả.\n"
    "— Thế thì cẩn thận nhé, nhớ mang áo mưa theo!",
    "Không thể mở tập tin cấu hình: quyền truy cập bị từ chối. Hãy kiểm tra lại đường dẫn và chạy lệnh "
    "với quyền quản trị.",
    "Nguyễn Thị Ánh Tuyết, Trần Quốc Việt, Lê Văn Ổn, Phạm Thùy Dương, Đặng Hữu Nghĩa, Ỷ Lan, Ứng Hòa.",
};

std::string Encoded(std::string_view utf8, TEncoding target) {
    if (target == TEncoding::Utf8) return std::string(utf8);
    TConversionSetup setup;
    setup.sourceKind = TEncodingKind::Utf8;
    setup.targetKind = EncodingInfo(target).kind;
    if (const TVnLetterTable* table = LegacyTableFor(target)) setup.targetTable = *table;
    TByteBuffer out;
    const auto converter = MakeLineConverter(setup);
    if (target == TEncoding::Utf16) {
        converter->ConvertCodePoints(Utf32(utf8), true, out);
        return std::string(out.View());
    }
    converter->ConvertStream(utf8, true, out);
    return std::string(out.View());
}

bool InBestGroup(const TDetection& d, std::string_view shortName) {
    for (const TCandidateScore* c : d.BestGroup()) {
        if (c->candidate->shortName == shortName) return true;
    }
    return false;
}

// Text written in an encoding is detected as that encoding (or one that reads it as the same text),
// with confidence.
TEST(Detection, ConvertedTextIsDetectedAsItsEncoding) {
    for (int e = 0; e < kEncodingCount; ++e) {
        const auto encoding = static_cast<TEncoding>(e);
        const std::string_view name = EncodingInfo(encoding).shortName;
        for (const std::string_view paragraph : kParagraphs) {
            const TDetection d = DetectEncoding(Encoded(paragraph, encoding));
            ASSERT_EQ(d.kind, TDetection::dk_Text) << name;
            EXPECT_TRUE(d.Confident())
                << name << ": " << d.Best()->candidate->shortName << ' ' << d.Best()->confidence << ' '
                << d.Best()->syllables << ' ' << d.Best()->faults << ' ' << paragraph;
            EXPECT_TRUE(InBestGroup(d, name)) << name << ": " << d.Best()->candidate->shortName;
        }
    }
    // Windows-1258 as the C library writes it, and UTF-8 with combining tone marks.
    std::string cp1258;
    ASSERT_TRUE(test::Iconv("CP1258", "UTF-8", kParagraphs[0], cp1258));
    EXPECT_EQ(DetectEncoding(cp1258).Best()->candidate->shortName, "cp1258");
    const TDetection nfd =
        DetectEncoding("Vie\xCC\xA3t Nam, ti\xC3\xAA\xCC\x81ng Vi\xC3\xAA\xCC\xA3t ho\xCC\x80\x61");
    EXPECT_EQ(nfd.Best()->candidate->shortName, "utf8-nfd");
    EXPECT_EQ(nfd.Reading(), TEncoding::Utf8Nfd);
    // TCVN1 and TCVN2 agree on text without toned capitals; toned capitals tell them apart.
    const TDetection same = DetectEncoding(Encoded("những con phố nhỏ rợp bóng cây", TEncoding::Tcvn2));
    EXPECT_TRUE(InBestGroup(same, "tcvn1") && InBestGroup(same, "tcvn2"));
    EXPECT_FALSE(InBestGroup(DetectEncoding(Encoded(kParagraphs[3], TEncoding::Tcvn2)), "tcvn1"));
}

TEST(Detection, AdversarialTexts) {
    // The text, what it is, the best reading (for text) and whether detection is sure.
    const std::tuple<std::string, TDetection::TKind, std::string_view, bool> cases[] = {
        {"", TDetection::dk_Ascii, "", true},
        {"Plain English, nothing else. Is it? Yes. I'm sure.\r\n", TDetection::dk_Ascii, "", true},
        {"Meeting with Jos\xC3\xA9 M\xC3\xBCller and Fran\xC3\xA7oise in Z\xC3\xBCrich.\n",
         TDetection::dk_Text, "utf8", true},
        {"Vie^.t Nam la` mo^.t quo^'c gia ddo^ng dda^n o+? chda^u A'.\n", TDetection::dk_Text, "viqr", true},
        {"Vi&#7879;t Nam l&#224; m&#7897;t qu&#7889;c gia\n", TDetection::dk_Text, "ncr", true},
        {std::string("ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0\x01\0\0\0", 24), TDetection::dk_Binary, "",
         false},
        {std::string("V\0i\0\xC7\x1Et\0 \0N\0a\0m\0", 16), TDetection::dk_Text, "utf16", true},
        {"\xE9", TDetection::dk_Text, "", false},
        // Lines of two encodings mixed: no reading is right.
        {Encoded(kParagraphs[0], TEncoding::Viscii) + Encoded(kParagraphs[2], TEncoding::VniWind),
         TDetection::dk_Text, "", false},
    };
    for (const auto& [text, kind, best, confident] : cases) {
        const TDetection d = DetectEncoding(text);
        EXPECT_EQ(d.kind, kind) << test::Hex(text);
        EXPECT_EQ(d.Confident(), confident) << text << (d.Best() ? d.Best()->confidence : -1);
        EXPECT_TRUE(best.empty() || d.Best()->candidate->shortName == best) << test::Hex(text);
    }
    // VIQR with the user's keys.
    TViqrKeys keys = TViqrKeys::Defaults();
    keys.keys[kNang] = '*';
    EXPECT_EQ(DetectEncoding("Vie^*t Nam co' nhie^`u ca?nh dde*p\n", keys).Best()->candidate->shortName,
              "viqr");
}

TEST(Detection, SampleOfABigFileComesFromItsStartMiddleAndEnd) {
    test::TTempDir dir;
    std::string text;
    for (int i = 0; text.size() < 300000; ++i) text += "line " + std::to_string(i) + " of the file\n";
    test::WriteFile(dir / "big.txt", text);
    const std::string sample = ReadDetectionSample(dir / "big.txt", 3000);
    EXPECT_LE(sample.size(), 3000u);
    EXPECT_EQ(sample.substr(0, 7), "line 0 ");
    EXPECT_EQ(sample.substr(sample.size() - 12), "of the file\n");
    EXPECT_NE(sample.find("\nline 1"), std::string::npos);  // pieces begin at line starts
    EXPECT_EQ(sample.find("\nine"), std::string::npos);
    test::WriteFile(dir / "small.txt", "short");
    EXPECT_EQ(ReadDetectionSample(dir / "small.txt"), "short");
    EXPECT_THROW(ReadDetectionSample(dir / "missing.txt"), EFileError);
}

}  // namespace
}  // namespace odz
