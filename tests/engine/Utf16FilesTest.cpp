// The whole-file routines that read or write UTF-16, checked file by file, byte for byte.

#include "ScriptedMessages.h"
#include "TRaRaru.h"
#include "TestSupport.h"

namespace odz {
namespace {
using namespace std::string_literals;

std::string Units(std::u16string_view units) {
    std::string bytes;
    for (const char16_t u : units) {
        bytes.push_back(static_cast<char>(u & 0xFF));
        bytes.push_back(static_cast<char>(u >> 8));
    }
    return bytes;
}

class Utf16Files : public ::testing::Test {
protected:
    Utf16Files() : FEngine(FDir / "odizodoruz.ini") {
        FEngine.RaRaruCreate();
        FEngine.Questions = AskYesNoCancel;
    }
    ~Utf16Files() override { EXPECT_TRUE(FMessages.unexpected.isEmpty()); }
    test::TTempDir FDir;
    TRaRaru FEngine;
    test::TScriptedMessages FMessages;
};

TEST_F(Utf16Files, ToUtf16) {
    struct TCase {
        const char* what;
        const char* source;
        std::string name;
        std::string input;
        std::u16string expected;  // after the byte-order mark
    };
    const TCase cases[] = {
        {"line ends", "VISCII", "a.txt", "A\r\nB", u"A\r\nB\r\n"},
        {"lone CR and lone LF", "VISCII", "a.txt", "A\rB\nC\r\n\r\n", u"A\r\nB\r\nC\r\n\r\n"},
        {"empty file", "VISCII", "a.txt", "", u""},
        {"control-range letter", "VISCII", "a.txt", "\x02\xAE", u"\u1EB2\u1EC7\r\n"},
        {"no space before a full stop", "VISCII", "a.txt", "Ha. ba?", u"Ha. ba?\r\n"},
        {"no TCVN1 letter", "TCVN1", "a.txt", "\xA0", u"\u00A0\r\n"},
        {"VPS o dot", "VPS", "a.txt", "\x86", u"\u1ECD\r\n"},
        {"VNI pair and final vowel", "VNIWind", "a.txt", "\x61\xF9\x3F ba", u"\u00E1? ba\r\n"},
        {"references", "Decimal NCR UTF-8", "a.txt", "Vi&#7879;t &#169; &# &#x1EBF;",
         u"Vi\u1EC7t &#169; &# &#x1EBF;\r\n"},
        {"UTF-8 letters, eth and emoji", "Unicode UTF-8", "a.txt", "\xE1\xBA\xBF\xC3\x90\xF0\x9F\x98\x80",
         u"\u1EBF\u00D0\U0001F600\r\n"},
        {"UTF-8 byte-order mark is no content", "Unicode UTF-8", "a.txt", "\xEF\xBB\xBFx", u"x\r\n"},
        {"broken UTF-8 read as Windows-1252", "Unicode UTF-8", "a.txt", "\xE1\xBA", u"\u00E1\u00BA\r\n"},
        {"VIQR", "VIQR", "a.txt", "Vie^.t \\a^ I\\'m", u"Vi\u1EC7t a^ I'm\r\n"},
        {"VIQR page with tags", "VIQR", "PAGE.Html", "<b title=a'>a'</b>", u"<b title=a'>\u00E1</b>\r\n"},
        {"VIQR text file without tags", "VIQR", "page.asp", "<b title=a'>", u"<b title=\u00E1>\r\n"},
        {"SHTM is a page", "VIQR", "x.SHTM", "<i a=e^>", u"<i a=e^>\r\n"},
    };
    for (const TCase& c : cases) {
        const auto source = FDir / c.name;
        const auto target = FDir / "out.txt";
        test::WriteFile(source, c.input);
        std::filesystem::remove(target);
        FEngine.SetSourceEncode(c.source);
        bool result = false;
        const std::string from = c.source;
        if (from == "VIQR") {
            result = FEngine.Convert7ToUnicode16(source, target, false);
        } else if (from == "Decimal NCR UTF-8") {
            result = FEngine.ConvertHTMLUnicodeToUnicode16(source, target, false);
        } else if (from == "Unicode UTF-8") {
            result = FEngine.ConvertUTF8ToUnicode16(source, target, false);
        } else {
            result = FEngine.Convert8ToUnicode16(source, target, false);
        }
        EXPECT_TRUE(result) << c.what;
        EXPECT_EQ(test::Hex(test::ReadFile(target)), test::Hex("\xFF\xFE" + Units(c.expected))) << c.what;
    }
    EXPECT_TRUE(FMessages.asked.isEmpty());
}

TEST_F(Utf16Files, FromUtf16) {
    struct TCase {
        const char* what;
        const char* target;
        std::string input;
        std::string expected;
    };
    const std::string mark = "\xFF\xFE";
    const TCase cases[] = {
        {"one line", "VISCII", mark + Units(u"A\r\n"), "A\r\n"},
        {"no final line end", "TCVN1", mark + Units(u"AB"), "AB\r\n"},
        {"no byte-order mark", "VNIWind", Units(u"AB"), "AB\r\n"},
        {"e circumflex acute to VISCII", "VISCII", Units(u"\u1EBF"), "\xAA\r\n"},
        {"to references", "Decimal NCR UTF-8", Units(u"\u1EBF \u00A9"), "&#7871; \xC2\xA9\r\n"},
        {"to UTF-8", "Unicode UTF-8", Units(u"\u1EBF\U0001F600"), "\xE1\xBA\xBF\xF0\x9F\x98\x80\r\n"},
        {"to VIQR", "VIQR", Units(u"\u1EBF."), "e^'\\.\r\n"},
        {"what VISCII cannot hold", "VISCII", Units(u"\u00A9\u2013"), "&#169;&#8211;\r\n"},
        {"what VIQR cannot hold", "VIQR", Units(u"\u00A9"), "&#169;\r\n"},
        {"VPS has no O dot below", "VPS", Units(u"\u1ECC"), "&#7884;\r\n"},
        {"a lone CR keeps the next character", "VISCII", Units(u"x\rA\nB"), "x\r\nA\r\nB\r\n"},
        {"only a byte-order mark at the start is no content", "Unicode UTF-8", mark + Units(u"\uFEFFA\uFEFF"),
         "\xEF\xBB\xBF"
         "A\xEF\xBB\xBF\r\n"},
        {"U+FEFF inside is text", "VISCII", Units(u"A\uFEFFB\r\n\uFEFF"), "A&#65279;B\r\n&#65279;\r\n"},
        {"odd last byte ignored", "VISCII", Units(u"AB") + "C", "AB\r\n"},
        {"big-endian", "Unicode UTF-8", std::string("\xFE\xFF\x00\x41\x1E\xBF\x00\x0D\x00\x0A\xFE\xFF", 12),
         "A\xE1\xBA\xBF\r\n\xEF\xBB\xBF\r\n"},
        {"lone surrogate", "Unicode UTF-8", Units(u"a") + std::string("\x00\xD8", 2) + Units(u"b"),
         "a&#55296;b\r\n"},
        {"no markup handling", "VISCII", Units(u"<b title=\u1EBF>"), "<b title=\xAA>\r\n"},
    };
    for (const TCase& c : cases) {
        const auto source = FDir / "in.txt";
        const auto target = FDir / "out.txt";
        test::WriteFile(source, c.input);
        std::filesystem::remove(target);
        EXPECT_TRUE(FEngine.ConvertUFt16toOther(c.target, source, target)) << c.what;
        EXPECT_EQ(test::Hex(test::ReadFile(target)), test::Hex(c.expected)) << c.what;
    }
}

TEST_F(Utf16Files, ExistingTargets) {
    const auto source = FDir / "in.txt";
    const auto target = FDir / "out.txt";
    test::WriteFile(source, "\xFF\xFE" + Units(u"A"));
    test::WriteFile(target, "old");

    FMessages.Expect(TAnswer::No);
    EXPECT_TRUE(FEngine.ConvertUFt16toOther("VISCII", source, target));
    FMessages.Expect(TAnswer::Cancel);
    EXPECT_TRUE(FEngine.ConvertUFt16toOther("VISCII", source, target));
    EXPECT_EQ(test::ReadFile(target), "old");
    ASSERT_EQ(FMessages.asked.size(), 2);
    EXPECT_EQ(FMessages.asked[0].toStdString(), "File already exists, overwrite it ?\n" + target.string());

    FMessages.Expect(TAnswer::Yes);
    EXPECT_TRUE(FEngine.ConvertUFt16toOther("VISCII", source, target));
    EXPECT_EQ(test::ReadFile(target), "A\r\n");

    // Overwrite All is honoured for UTF-16 sources too: no question.
    test::WriteFile(target, "old");
    EXPECT_TRUE(FEngine.ConvertUFt16toOther("VISCII", source, target, true));
    EXPECT_EQ(test::ReadFile(target), "A\r\n");

    test::WriteFile(source, "x");
    FEngine.SetSourceEncode("VISCII");
    FMessages.Expect(TAnswer::No);
    EXPECT_TRUE(FEngine.Convert8ToUnicode16(source, target, false));
    EXPECT_EQ(test::ReadFile(target), "A\r\n");
    EXPECT_TRUE(FEngine.Convert8ToUnicode16(source, target, true));
    EXPECT_EQ(test::ReadFile(target), "\xFF\xFEx\0\r\0\n\0"s);
    EXPECT_TRUE(FMessages.AllAnswered());

    // No file left behind but the target.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(FDir.Path())) ++files;
    EXPECT_EQ(files, 2);
}

TEST_F(Utf16Files, MissingSourceWritesNothing) {
    FEngine.SetSourceEncode("VISCII");
    EXPECT_FALSE(FEngine.Convert8ToUnicode16(FDir / "none.txt", FDir / "out.txt", false));
    EXPECT_FALSE(FEngine.ConvertUFt16toOther("VISCII", FDir / "none.txt", FDir / "out.txt"));
    EXPECT_FALSE(std::filesystem::exists(FDir / "out.txt"));
}

TEST_F(Utf16Files, ProgressReachesTheSourceSize) {
    TPlainProgress progress;
    FEngine.ProgressBar = &progress;
    test::WriteFile(FDir / "in.txt", "\xFF\xFE" + Units(u"ab\r\ncd"));
    FEngine.ConvertUFt16toOther("VISCII", FDir / "in.txt", FDir / "out.txt");
    EXPECT_EQ(progress.Position(), 14);
}

}  // namespace
}  // namespace odz
