// The per-line routines, each case a whole output line checked byte for byte.

#include "TRaRaru.h"
#include "TestSupport.h"

namespace odz {
namespace {

enum class TRoutine { ToOther, EightTo7, SevenTo8, NcrToOther, Utf8ToOther };

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
    switch (c.routine) {
        case TRoutine::ToOther:
            engine.ConvertToOther(c.input, c.target, c.htmlDoc, dest);
            break;
        case TRoutine::EightTo7:
            engine.Convert8To7(c.input, c.source, c.htmlDoc, dest);
            break;
        case TRoutine::SevenTo8:
            engine.Convert7To8(c.input, c.target, c.htmlDoc, dest);
            break;
        case TRoutine::NcrToOther:
            engine.ConvertHTMLUnicodeToOther(c.input, c.target, c.htmlDoc, dest);
            break;
        case TRoutine::Utf8ToOther:
            engine.ConvertUTF8toOther(c.input, c.target, c.htmlDoc, dest);
            break;
    }
    return dest;
}

using R = TRoutine;
const TLineCase kCases[] = {
    // Legacy to legacy, references and UTF-8.
    {"empty line", R::ToOther, "VISCII", "VPS", false, "", ""},
    {"VISCII o dot to VPS", R::ToOther, "VISCII", "VPS", false, "\xF7", "\x86"},
    {"VPS has no O dot below: a reference", R::ToOther, "VISCII", "VPS", false, "x\x9Ay", "x&#7884;y"},
    {"references end with a semicolon", R::ToOther, "VISCII", "Decimal NCR UTF-8", false, "Vi\xAEt",
     "Vi&#7879;t"},
    {"VISCII to UTF-8", R::ToOther, "VISCII", "Unicode UTF-8", false, "\xAE", "\xE1\xBB\x87"},
    {"VISCII to TCVN2", R::ToOther, "VISCII", "TCVN2", false, "\xAA", "\xD5"},
    {"control-range letter converted", R::ToOther, "VISCII", "TCVN1", false, "\x02", "\xBA"},
    {"tab, line feed and escape are no letters", R::ToOther, "VISCII", "Unicode UTF-8", false, "\t\x1B\x0C",
     "\t\x1B\x0C"},
    {"no TCVN1 letter: kept as its Windows-1252 character", R::ToOther, "TCVN1", "Unicode UTF-8", false,
     "\xA0", "\xC2\xA0"},
    {"a character the target cannot hold becomes a reference", R::ToOther, "TCVN1", "VISCII", false, "\xA0",
     "&#160;"},
    {"VPS quotes into VISCII", R::ToOther, "VPS", "VISCII", false, "\x91\x92", "&#8216;&#8217;"},
    {"VPS quotes into UTF-8", R::ToOther, "VPS", "Unicode UTF-8", false, "\x91\x92",
     "\xE2\x80\x98\xE2\x80\x99"},
    {"a Windows-1252 character a legacy target can hold", R::ToOther, "TCVN1", "VNIWind", false, "\xA0",
     "\xA0"},
    {"TCVN2 capital with dot below", R::ToOther, "TCVN2", "VISCII", false, "\xA1\xB4", "\x83"},
    {"TCVN2 breve then space", R::ToOther, "TCVN2", "VISCII", false, "\xA1 ", "\xC5 "},
    {"TCVN2 A acute", R::ToOther, "TCVN2", "VISCII", false, "\x41\xB3", "\xC1"},
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
    {"no escape inside a tag, two-byte source", R::EightTo7, "VNIWind", "VIQR", true, "<a href='a.b'>a.b",
     "<a href='a.b'>a\\.b"},

    // VIQR to others.
    {"circumflex and acute", R::SevenTo8, "VIQR", "Unicode UTF-8", false, "a^'", "\xE1\xBA\xA5"},
    {"breve and tilde", R::SevenTo8, "VIQR", "Unicode UTF-8", false, "A(~", "\xE1\xBA\xB4"},
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
     "\xAE"
     "5"},
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
    {"UTF-8 to VISCII", R::Utf8ToOther, "Unicode UTF-8", "VISCII", false, "\xE1\xBA\xBF", "\xAA"},
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
    {"VPS has no O dot below", R::Utf8ToOther, "Unicode UTF-8", "VPS", false, "\xE1\xBB\x8C", "&#7884;"},
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

TEST(LineRoutines, ProgressCountsSourceBytes) {
    TRaRaru engine("/nonexistent/odizodoruz.ini");
    engine.RaRaruCreate();
    TPlainProgress progress;
    engine.ProgressBar = &progress;
    engine.SetSourceEncode("VISCII");
    std::string dest;
    engine.ConvertToOther("", "Unicode UTF-8", false, dest);
    EXPECT_EQ(progress.Position(), 0);
    engine.ConvertToOther("Vi\xAEt", "Unicode UTF-8", false, dest);
    engine.Convert8To7("Vi\xAEt", "VISCII", false, dest);
    EXPECT_EQ(progress.Position(), 8);
}

TEST(LineRoutines, ChangedKeysApplyFromTheNextLine) {
    TRaRaru engine("/nonexistent/odizodoruz.ini");
    engine.RaRaruCreate();
    engine.SetSourceEncode("VISCII");
    std::string dest;
    engine.Convert8To7("\xC2", "VISCII", false, dest);
    EXPECT_EQ(dest, "A^");
    engine.SetTrans('#', "Mu");
    engine.Convert8To7("\xC2", "VISCII", false, dest);
    EXPECT_EQ(dest, "A#");
    engine.Convert7To8("A# A^", "VISCII", false, dest);
    EXPECT_EQ(dest, "\xC2 A^");
}

TEST(LineRoutines, VisciiToVpsDoesNotDependOnTheLastVisciiRun) {
    // Convert7To8 leaves the target's table as the current source; the next level selects again.
    TRaRaru engine("/nonexistent/odizodoruz.ini");
    engine.RaRaruCreate();
    std::string dest;
    engine.Convert7To8("o.", "VPS", false, dest);
    EXPECT_EQ(engine.SourceTable(), VpsTable);
    engine.SetSourceEncode("VISCII");
    engine.ConvertToOther("\xF7", "VPS", false, dest);
    EXPECT_EQ(dest, "\x86");
}

}  // namespace
}  // namespace odz
