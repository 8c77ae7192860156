// The engine's own routines: line by line and whole files (UTF-16 on either side), each case a whole
// output checked byte for byte; and the VIQR key set, its table and its place in the settings file.

#include "ScriptedMessages.h"
#include "TRaRaru.h"
#include "TestSupport.h"

namespace odz {
namespace {
using namespace std::string_literals;

using TRoutine = void (TRaRaru::*)(std::string_view, std::string_view, bool, std::string&);

// The routines; Convert8To7 is handed the source's identifier, the others the target's.
namespace R {
constexpr TRoutine ToOther = &TRaRaru::ConvertToOther, EightTo7 = &TRaRaru::Convert8To7,
                   SevenTo8 = &TRaRaru::Convert7To8, NcrToOther = &TRaRaru::ConvertHTMLUnicodeToOther,
                   Utf8ToOther = &TRaRaru::ConvertUTF8toOther;
}  // namespace R

struct TLineCase {
    const char* what;
    TRoutine routine;
    const char* source;  // the source identifier (selected first)
    const char* target;
    bool htmlDoc;
    std::string input;
    std::string expected;
};

std::string RunRoutine(TRaRaru& engine, const TLineCase& c) {
    engine.SetSourceEncode(c.source);
    std::string dest = "old content";
    (engine.*c.routine)(c.input, c.routine == R::EightTo7 ? c.source : c.target, c.htmlDoc, dest);
    return dest;
}

const TLineCase kCases[] = {
    // Legacy to legacy, references and UTF-8.
    {"empty line", R::ToOther, "VISCII", "VPS", false, "", ""},
    {"VISCII o dot to VPS", R::ToOther, "VISCII", "VPS", false, "\xF7", "\x86"},
    {"VPS has no O dot below: a reference", R::ToOther, "VISCII", "VPS", false, "x\x9Ay", "x&#7884;y"},
    {"references end with a semicolon", R::ToOther, "VISCII", "Decimal NCR UTF-8", false, "Vi\xAEt",
     "Vi&#7879;t"},
    {"control-range letter converted", R::ToOther, "VISCII", "TCVN1", false, "\x02", "\xBA"},
    {"tab, line feed and escape are no letters", R::ToOther, "VISCII", "Unicode UTF-8", false, "\t\x1B\x0C",
     "\t\x1B\x0C"},
    {"no TCVN1 letter: kept as its Windows-1252 character", R::ToOther, "TCVN1", "Unicode UTF-8", false,
     "\xA0", "\xC2\xA0"},
    {"a character the target cannot hold becomes a reference", R::ToOther, "TCVN1", "VISCII", false, "\xA0",
     "&#160;"},
    {"VPS quotes into VISCII", R::ToOther, "VPS", "VISCII", false, "\x91\x92", "&#8216;&#8217;"},
    {"a Windows-1252 character a legacy target can hold", R::ToOther, "TCVN1", "VNIWind", false, "\xA0",
     "\xA0"},
    {"TCVN2 capital with dot below", R::ToOther, "TCVN2", "VISCII", false, "\xA1\xB4", "\x83"},
    {"TCVN2 breve then space", R::ToOther, "TCVN2", "VISCII", false, "\xA1 ", "\xC5 "},
    {"VNI pair after a vowel that pairs with nothing", R::ToOther, "VNIWind", "VISCII", false,
     "\x56\x69\x65\xE4\x74", "\x56\x69\xAE\x74"},
    {"VNI a acute", R::ToOther, "VNIWind", "VISCII", false, "\x61\xF9", "\xE1"},
    {"VNI O horn acute", R::ToOther, "VNIWind", "VISCII", false, "\xD4\xD9", "\x95"},
    {"VNI O horn then x", R::ToOther, "VNIWind", "VISCII", false, "\xD4\x78", "\xB4\x78"},
    {"VNI final vowel", R::ToOther, "VNIWind", "VISCII", false, "ba", "ba"},
    {"VNI mark byte alone is its Windows-1252 character", R::ToOther, "VNIWind", "Unicode UTF-8", false,
     "c\xDB", "c\xC3\x9B"},
    {"tag kept, word converted", R::ToOther, "VISCII", "Unicode UTF-8", false, "<b>Vi\xAAt</b>",
     "<b>Vi\xE1\xBA\xBFt</b>"},
    {"a < b is text", R::ToOther, "VISCII", "Unicode UTF-8", false, "a < b \xAE", "a < b \xE1\xBB\x87"},
    {"a control-range letter code is a letter inside a tag too", R::ToOther, "VISCII", "Unicode UTF-8", false,
     "<p t=\x02>\x02", "<p t=\xE1\xBA\xB2>\xE1\xBA\xB2"},
    {"non-ASCII inside a tag is converted", R::ToOther, "VISCII", "Unicode UTF-8", false,
     "<img alt=\"\xAE\">", "<img alt=\"\xE1\xBB\x87\">"},
    {"ZTWin to VNI", R::ToOther, "ZTWin", "VNIWind", false, "\x61\xDD\xA8\xE2", "\x61\xF9\xF4\xF9"},

    // Legacy to VIQR: letters spelled, literal keys escaped where the reader would join them.
    {"full stop after a vowel", R::EightTo7, "VISCII", "VIQR", false, "Ha.", "Ha\\."},
    {"full stop after a consonant", R::EightTo7, "VISCII", "VIQR", false, "Hat.", "Hat."},
    {"full stop after a letter", R::EightTo7, "VISCII", "VIQR", false, "\xE2.", "a^\\."},
    {"capital with breve and hook", R::EightTo7, "VISCII", "VIQR", false, "\x02", "A(?"},
    {"apostrophe after a vowel", R::EightTo7, "VISCII", "VIQR", false, "I'm", "I\\'m"},
    {"d next to d", R::EightTo7, "VISCII", "VIQR", false, "Addis", "Ad\\dis"},
    {"d before d stroke", R::EightTo7, "VISCII", "VIQR", false, "d\xF0", "\\ddd"},
    {"D next to D", R::EightTo7, "VISCII", "VIQR", false, "DD \xD0", "D\\D DD"},
    {"backslash", R::EightTo7, "VISCII", "VIQR", false, "C:\\x", "C:\\\\x"},
    {"keys elsewhere stay as they are", R::EightTo7, "VISCII", "VIQR", false, "x' (1+2)^3 ~y",
     "x' (1+2)^3 ~y"},
    {"VNI to VIQR", R::EightTo7, "VNIWind", "VIQR", false, "\x61\xF9", "a'"},
    {"tags kept in HTML", R::EightTo7, "VISCII", "VIQR", true, "<a title='x'>Vi\xAEt", "<a title='x'>Vie^.t"},
    {"no escape inside a tag", R::EightTo7, "VISCII", "VIQR", true, "<a href='a.b'>", "<a href='a.b'>"},
    {"a tag ends at the first >, quoted or not", R::EightTo7, "VISCII", "VIQR", true, "<a t='>a.'>",
     "<a t='>a\\.'>"},
    {"no escape inside a tag, two-byte source", R::EightTo7, "VNIWind", "VIQR", true, "<a href='a.b'>a.b",
     "<a href='a.b'>a\\.b"},

    // VIQR to others.
    {"circumflex and acute", R::SevenTo8, "VIQR", "Unicode UTF-8", false, "a^'", "\xE1\xBA\xA5"},
    {"horn and dot", R::SevenTo8, "VIQR", "Unicode UTF-8", false, "o+.", "\xE1\xBB\xA3"},
    {"tone before shape", R::SevenTo8, "VIQR", "Unicode UTF-8", false, "a'^", "\xC3\xA1^"},
    {"no such letter", R::SevenTo8, "VIQR", "Unicode UTF-8", false, "e('", "e('"},
    {"d and D strokes", R::SevenTo8, "VIQR", "Unicode UTF-8", false, "dd DD Dd", "\xC4\x91 \xC4\x90 Dd"},
    {"escape before the vowel", R::SevenTo8, "VIQR", "Unicode UTF-8", false, "\\a^", "a^"},
    {"escape before the key", R::SevenTo8, "VIQR", "Unicode UTF-8", false, "a\\^", "a^"},
    {"escape last on the line", R::SevenTo8, "VIQR", "Unicode UTF-8", false, "end\\", "end\\"},
    {"VIQR to references", R::SevenTo8, "VIQR", "Decimal NCR UTF-8", false, "Vie^.t", "Vi&#7879;t"},
    {"VIQR to VPS", R::SevenTo8, "VIQR", "VPS", false, "o. O.", "\x86 &#7884;"},
    {"tags kept with HTML Doc", R::SevenTo8, "VIQR", "Unicode UTF-8", true, "<b title=a'>Vie^.t</b>",
     "<b title=a'>Vi\xE1\xBB\x87t</b>"},
    {"tags read as VIQR without", R::SevenTo8, "VIQR", "Unicode UTF-8", false, "<b title=a'>",
     "<b title=\xC3\xA1>"},
    {"UTF-8 inside VIQR", R::SevenTo8, "VIQR", "VISCII", false, "Vi\xE1\xBB\x87t \xE2\x80\x9C",
     "Vi\xAEt &#8220;"},

    // References to others.
    {"reference with semicolon", R::NcrToOther, "Decimal NCR UTF-8", "VISCII", false, "Vi&#7879;t",
     "Vi\xAEt"},
    {"reference without semicolon", R::NcrToOther, "Decimal NCR UTF-8", "VISCII", false, "Vi&#7879t",
     "Vi\xAEt"},
    {"a letter followed by a digit", R::NcrToOther, "Decimal NCR UTF-8", "VISCII", false, "&#7879;5",
     "\xAE\x35"},
    {"to TCVN2", R::NcrToOther, "Decimal NCR UTF-8", "TCVN2", false, "&#7871", "\xD5"},
    {"to VIQR", R::NcrToOther, "Decimal NCR UTF-8", "VIQR", false, "&#7871", "e^'"},
    {"leading zeros", R::NcrToOther, "Decimal NCR UTF-8", "VISCII", false, "&#07871;", "\xAA"},
    {"other references stay", R::NcrToOther, "Decimal NCR UTF-8", "VISCII", false, "&#169; &#x1EBF; &#65;",
     "&#169; &#x1EBF; &#65;"},
    {"too large", R::NcrToOther, "Decimal NCR UTF-8", "VISCII", false, "&#99999999999;", "&#99999999999;"},
    {"lone ampersands", R::NcrToOther, "Decimal NCR UTF-8", "VISCII", false, "a & b &#", "a & b &#"},
    {"a letter reference inside a tag is a letter too", R::NcrToOther, "Decimal NCR UTF-8", "VISCII", false,
     "<a title=\"&#7871;&#169;\">&#7871;", "<a title=\"\xAA&#169;\">\xAA"},
    {"at most 32 digits", R::NcrToOther, "Decimal NCR UTF-8", "VISCII", false,
     "&#" + std::string(28, '0') + "7871;&#" + std::string(29, '0') + "7871;",
     "\xAA&#" + std::string(29, '0') + "7871;"},

    // UTF-8 to others.
    {"D stroke and eth", R::Utf8ToOther, "Unicode UTF-8", "VISCII", false, "\xC4\x90\xC3\x90", "\xD0\xD0"},
    {"UTF-8 to references", R::Utf8ToOther, "Unicode UTF-8", "Decimal NCR UTF-8", false, "\xE1\xBB\x87",
     "&#7879;"},
    {"UTF-8 to VIQR", R::Utf8ToOther, "Unicode UTF-8", "VIQR", false, "Vi\xE1\xBB\x87t", "Vie^.t"},
    {"quotation mark kept in references", R::Utf8ToOther, "Unicode UTF-8", "Decimal NCR UTF-8", false,
     "\xE2\x80\x9C", "\xE2\x80\x9C"},
    {"quotation mark into VISCII", R::Utf8ToOther, "Unicode UTF-8", "VISCII", false, "\xE2\x80\x9C",
     "&#8220;"},
    {"quotation mark into VNI", R::Utf8ToOther, "Unicode UTF-8", "VNIWind", false, "\xE2\x80\x9C", "\x93"},
    {"emoji into VISCII", R::Utf8ToOther, "Unicode UTF-8", "VISCII", false, "\xF0\x9F\x98\x80", "&#128512;"},
    {"truncated sequence read as Windows-1252", R::Utf8ToOther, "Unicode UTF-8", "Decimal NCR UTF-8", false,
     "x\xE1\xBA", "x&#225;\xC2\xBA"},
    {"letters in tags converted without HTML Doc", R::Utf8ToOther, "Unicode UTF-8", "VIQR", false,
     "<b title=\xC3\xA1>", "<b title=a'>"},
    {"tags kept with HTML Doc", R::Utf8ToOther, "Unicode UTF-8", "VIQR", true, "<b title=\"I'm\">I'm",
     "<b title=\"I'm\">I\\'m"},
};

TEST(LineRoutines, WholeLines) {
    TRaRaru engine("/nonexistent/odizodoruz.ini");
    engine.RaRaruCreate();
    for (const TLineCase& c : kCases) {
        EXPECT_EQ(test::Hex(RunRoutine(engine, c)), test::Hex(c.expected)) << c.what << ": " << c.input;
    }
}

// What one line leaves behind in the engine: the progress made, the table selected, changed keys.
TEST(LineRoutines, StateBetweenLines) {
    TRaRaru engine("/nonexistent/odizodoruz.ini");
    engine.RaRaruCreate();
    TPlainProgress progress;
    engine.ProgressBar = &progress;
    std::string dest;
    // Convert7To8 leaves the target's table as the current source; the next level selects again.
    engine.Convert7To8("o.", "VPS", false, dest);
    EXPECT_EQ(engine.SourceTable(), VpsTable);
    engine.SetSourceEncode("VISCII");
    engine.ConvertToOther("\xF7", "VPS", false, dest);
    EXPECT_EQ(dest, "\x86");
    progress.SetPosition(0);
    engine.ConvertToOther("", "Unicode UTF-8", false, dest);
    EXPECT_EQ(progress.Position(), 0);
    engine.ConvertToOther("Vi\xAEt", "Unicode UTF-8", false, dest);
    engine.Convert8To7("Vi\xAEt", "VISCII", false, dest);
    EXPECT_EQ(progress.Position(), 8);
    // Changed keys apply from the next line.
    engine.Convert8To7("\xC2", "VISCII", false, dest);
    EXPECT_EQ(dest, "A^");
    engine.SetTrans('#', "Mu");
    engine.Convert8To7("\xC2", "VISCII", false, dest);
    EXPECT_EQ(dest, "A#");
    engine.Convert7To8("A# A^", "VISCII", false, dest);
    EXPECT_EQ(dest, "\xC2 A^");
}

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
    // The source encoding, the file's name, its bytes and the text after the byte-order mark.
    const std::tuple<const char*, const char*, const char*, std::string, std::u16string> cases[] = {
        {"line ends", "VISCII", "a.txt", "A\r\nB", u"A\r\nB\r\n"},
        {"lone CR and lone LF", "VISCII", "a.txt", "A\rB\nC\r\n\r\n", u"A\r\nB\r\nC\r\n\r\n"},
        {"empty file", "VISCII", "a.txt", "", u""},
        {"control-range letter", "VISCII", "a.txt", "\x02\xAE", u"\u1EB2\u1EC7\r\n"},
        {"VNI pair and final vowel", "VNIWind", "a.txt", "\x61\xF9\x3F ba", u"\u00E1? ba\r\n"},
        {"references", "Decimal NCR UTF-8", "a.txt", "Vi&#7879;t &#169; &# &#x1EBF;",
         u"Vi\u1EC7t &#169; &# &#x1EBF;\r\n"},
        {"UTF-8 letters, eth and emoji", "Unicode UTF-8", "a.txt", "\xE1\xBA\xBF\xC3\x90\xF0\x9F\x98\x80",
         u"\u1EBF\u00D0\U0001F600\r\n"},
        {"UTF-8 byte-order mark is no content", "Unicode UTF-8", "a.txt", "\xEF\xBB\xBFx", u"x\r\n"},
        {"VIQR", "VIQR", "a.txt", "Vie^.t \\a^ I\\'m", u"Vi\u1EC7t a^ I'm\r\n"},
        {"VIQR page with tags", "VIQR", "PAGE.Html", "<b title=a'>a'</b>", u"<b title=a'>\u00E1</b>\r\n"},
        {"VIQR text file without tags", "VIQR", "page.asp", "<b title=a'>", u"<b title=\u00E1>\r\n"},
    };
    for (const auto& [what, from, name, input, expected] : cases) {
        const auto target = FDir / "out.txt";
        test::WriteFile(FDir / name, input);
        std::filesystem::remove(target);
        FEngine.SetSourceEncode(from);
        const std::string_view kind = from;
        const auto routine = kind == "VIQR"                ? &TRaRaru::Convert7ToUnicode16
                             : kind == "Decimal NCR UTF-8" ? &TRaRaru::ConvertHTMLUnicodeToUnicode16
                             : kind == "Unicode UTF-8"     ? &TRaRaru::ConvertUTF8ToUnicode16
                                                           : &TRaRaru::Convert8ToUnicode16;
        EXPECT_TRUE((FEngine.*routine)(FDir / name, target, false)) << what;
        EXPECT_EQ(test::Hex(test::ReadFile(target)), test::Hex("\xFF\xFE" + Units(expected))) << what;
    }
    EXPECT_TRUE(FMessages.asked.isEmpty());
}

TEST_F(Utf16Files, FromUtf16) {
    const std::string mark = "\xFF\xFE";
    const std::tuple<const char*, const char*, std::string, std::string> cases[] = {
        {"one line", "VISCII", mark + Units(u"A\r\n"), "A\r\n"},
        {"no final line end", "TCVN1", mark + Units(u"AB"), "AB\r\n"},
        {"no byte-order mark", "VNIWind", Units(u"AB"), "AB\r\n"},
        {"e circumflex acute to VISCII", "VISCII", Units(u"\u1EBF"), "\xAA\r\n"},
        {"to references", "Decimal NCR UTF-8", Units(u"\u1EBF \u00A9"), "&#7871; \xC2\xA9\r\n"},
        {"to UTF-8", "Unicode UTF-8", Units(u"\u1EBF\U0001F600"), "\xE1\xBA\xBF\xF0\x9F\x98\x80\r\n"},
        {"to VIQR", "VIQR", Units(u"\u1EBF."), "e^'\\.\r\n"},
        {"what VISCII cannot hold", "VISCII", Units(u"\u00A9\u2013"), "&#169;&#8211;\r\n"},
        {"a lone CR keeps the next character", "VISCII", Units(u"x\rA\nB"), "x\r\nA\r\nB\r\n"},
        {"only a byte-order mark at the start is no content", "Unicode UTF-8", mark + Units(u"\uFEFFA\uFEFF"),
         "\xEF\xBB\xBF\x41\xEF\xBB\xBF\r\n"},
        {"U+FEFF inside is text", "VISCII", Units(u"A\uFEFFB\r\n\uFEFF"), "A&#65279;B\r\n&#65279;\r\n"},
        {"odd last byte ignored", "VISCII", Units(u"AB") + "C", "AB\r\n"},
        {"big-endian", "Unicode UTF-8", std::string("\xFE\xFF\x00\x41\x1E\xBF\x00\x0D\x00\x0A\xFE\xFF", 12),
         "A\xE1\xBA\xBF\r\n\xEF\xBB\xBF\r\n"},
        {"lone surrogate", "Unicode UTF-8", Units(u"a") + std::string("\x00\xD8", 2) + Units(u"b"),
         "a&#55296;b\r\n"},
        {"no markup handling", "VISCII", Units(u"<b title=\u1EBF>"), "<b title=\xAA>\r\n"},
    };
    for (const auto& [what, to, input, expected] : cases) {
        test::WriteFile(FDir / "in.txt", input);
        std::filesystem::remove(FDir / "out.txt");
        EXPECT_TRUE(FEngine.ConvertUFt16toOther(to, FDir / "in.txt", FDir / "out.txt")) << what;
        EXPECT_EQ(test::Hex(test::ReadFile(FDir / "out.txt")), test::Hex(expected)) << what;
    }
}

// The whole-file routines ask before they replace a target, unless Overwrite All is on.
TEST_F(Utf16Files, ExistingTargets) {
    const auto source = FDir / "in.txt";
    const auto target = FDir / "out.txt";
    test::WriteFile(source, "\xFF\xFE" + Units(u"A"));
    test::WriteFile(target, "old");
    FMessages.Expect({TAnswer::No, TAnswer::No});
    EXPECT_TRUE(FEngine.ConvertUFt16toOther("VISCII", source, target));
    FEngine.SetSourceEncode("VISCII");
    EXPECT_TRUE(FEngine.Convert8ToUnicode16(source, target, false));
    EXPECT_EQ(test::ReadFile(target), "old");
    EXPECT_EQ(FMessages.asked.value(1).toStdString(),
              "File already exists, overwrite it ?\n" + target.string());
    EXPECT_TRUE(FEngine.ConvertUFt16toOther("VISCII", source, target, true));
    EXPECT_EQ(test::ReadFile(target), "A\r\n");
    test::WriteFile(target.string() + "16", "old");
    EXPECT_TRUE(FEngine.Convert8ToUnicode16(target, target.string() + "16", true));
    EXPECT_EQ(test::ReadFile(target.string() + "16"), "\xFF\xFE\x41\0\r\0\n\0"s);
    EXPECT_TRUE(FMessages.AllAnswered());
    EXPECT_EQ(test::Names(FDir.Path()), (std::vector<std::string>{"in.txt", "out.txt", "out.txt16"}));
}

TEST_F(Utf16Files, MissingSourceWritesNothingAndProgressReachesTheSourceSize) {
    FEngine.SetSourceEncode("VISCII");
    EXPECT_FALSE(FEngine.Convert8ToUnicode16(FDir / "none.txt", FDir / "out.txt", false));
    EXPECT_FALSE(FEngine.ConvertUFt16toOther("VISCII", FDir / "none.txt", FDir / "out.txt"));
    EXPECT_FALSE(std::filesystem::exists(FDir / "out.txt"));
    TPlainProgress progress;
    FEngine.ProgressBar = &progress;
    test::WriteFile(FDir / "in.txt", "\xFF\xFE" + Units(u"ab\r\ncd"));
    FEngine.ConvertUFt16toOther("VISCII", FDir / "in.txt", FDir / "out.txt");
    EXPECT_EQ(progress.Position(), 14);
}

TEST(Keys, LoadedFromTheSettingsFile) {
    // The settings file (empty: none) and the keys.
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"no file", "", "'`?~.^(+Dd\\"},
        {"no entry", "[Other]\nConversion=1234567890!\n", "'`?~.^(+Dd\\"},
        {"ten characters restore all eleven defaults", "[VN Key Current Encode]\nConversion=1234567890\n",
         "'`?~.^(+Dd\\"},
        {"fifteen characters use the first eleven", "[VN Key Current Encode]\nConversion=1234567890!@#$%\n",
         "1234567890!"},
        {"section and key in other letter case", "[vn key current encode]\r\nCONVERSION=#`?~.^(+Dd\\\r\n",
         "#`?~.^(+Dd\\"},
    };
    for (const auto& [what, content, expected] : cases) {
        test::TTempDir dir;
        if (!content.empty()) test::WriteFile(dir / "odizodoruz.ini", content);
        TRaRaru engine(dir / "odizodoruz.ini");
        engine.RaRaruCreate();
        EXPECT_EQ(engine.GetTrans(), expected) << what;
    }
}

TEST(Keys, SavedAtTheEndAsOneLine) {
    test::TTempDir dir;
    {
        TRaRaruInstance instance(dir / "odizodoruz.ini", true);
        EXPECT_EQ(RaRaru, &instance.Engine());
    }
    EXPECT_EQ(RaRaru, nullptr);
    EXPECT_EQ(test::ReadFile(dir / "odizodoruz.ini"), "[VN Key Current Encode]\nConversion='`?~.^(+Dd\\\n");

    // Other settings survive, and a changed key comes back at the next start.
    test::WriteFile(dir / "odizodoruz.ini",
                    "[MainForm]\r\nLeft=10\r\n\r\n[VN Key Current Encode]\r\nConversion='`?~.^(+Dd\\\r\n");
    {
        TRaRaruInstance instance(dir / "odizodoruz.ini", true);
        instance.Engine().SetTrans('#', "Mu");
    }
    EXPECT_EQ(test::ReadFile(dir / "odizodoruz.ini"),
              "[MainForm]\r\nLeft=10\r\n\r\n[VN Key Current Encode]\r\nConversion='`?~.#(+Dd\\\r\n");
    TRaRaruInstance again(dir / "odizodoruz.ini", false);
    EXPECT_EQ(again.Engine().GetTransKey("Mu"), '#');
}

}  // namespace
}  // namespace odz
