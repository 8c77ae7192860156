#include "IniStore.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include "TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace odz {
namespace {

namespace fs = std::filesystem;

using test::Names;
using test::TTempDir;

// The 11-character value the program stores for its own key layout.
const std::string kAwkwardValue = "'`?~.^(+Dd\\";

struct TReadCase {
    const char* Name;
    std::string Content;
    std::string Section;
    std::string Key;
    std::size_t BufferSize;
    std::string Expected;  // the default is always "default"
};

class IniStoreRead : public ::testing::TestWithParam<TReadCase> {};

TEST_P(IniStoreRead, ReturnsTheValueOrTheDefault) {
    TTempDir dir;
    const fs::path path = dir.Path() / "settings.ini";
    test::WriteFile(path, GetParam().Content);
    const TIniStore store(path);
    const std::string value =
        store.ReadString(GetParam().Section, GetParam().Key, "default", GetParam().BufferSize);
    EXPECT_EQ(value, GetParam().Expected);
    EXPECT_EQ(test::ReadFile(path), GetParam().Content);
}

const std::string kTwentyFive = "abcdefghijklmnopqrstuvwxy";

INSTANTIATE_TEST_SUITE_P(
    IniStore, IniStoreRead,
    ::testing::Values(
        TReadCase{"Plain", "[s]\nk=v\n", "s", "k", 0, "v"},
        TReadCase{"CaseAndBlanks", "[ VN Key Current Encode ]\n conversion = x\n", "vn key current ENCODE",
                  "CONVERSION", 0, "x"},
        TReadCase{"AwkwardValueVerbatim", "[s]\nk='`?~.^(+Dd\\\n", "s", "k", 0, kAwkwardValue},
        TReadCase{"QuotesEqualsBackslashes", "[s]\nk = \"a=b\" \\n 'c'=\n", "s", "k", 0, "\"a=b\" \\n 'c'="},
        TReadCase{"BlanksAroundValueOnly", "[s]\nk= \t v  \t v \t\n", "s", "k", 0, "v  \t v"},
        TReadCase{"CrLf", "[s]\r\nk=v\r\nl=w\r\n", "s", "k", 0, "v"},
        TReadCase{"NoFinalLineEnd", "[s]\nk=v", "s", "k", 0, "v"},
        TReadCase{"ByteOrderMark", "\xEF\xBB\xBF[s]\nk=v\n", "s", "k", 0, "v"},
        TReadCase{"EmptyValueIsAValue", "[s]\nk=\n", "s", "k", 0, ""},
        TReadCase{"CommentIgnored", "[s]\n;k=c\n  ; k=d\nk=v\n", "s", "k", 0, "v"},
        TReadCase{"HeaderWithComment", "[s] ; the main one\nk=v\n", "s", "k", 0, "v"},
        TReadCase{"FirstKeyWins", "[s]\nk=1\nK=2\n", "s", "k", 0, "1"},
        TReadCase{"FirstSectionWins", "[s]\nk=1\n[S]\nk=2\n", "s", "k", 0, "1"},
        TReadCase{"OnlyTheFirstSectionCounts", "[s]\na=1\n[s]\nk=2\n", "s", "k", 0, "default"},
        TReadCase{"MissingSection", "[t]\nk=v\n", "s", "k", 0, "default"},
        TReadCase{"MissingKey", "[s]\nkk=v\n", "s", "k", 0, "default"},
        TReadCase{"KeyOfAnotherSection", "[a]\nk=1\n[s]\nj=2\n", "s", "k", 0, "default"},
        TReadCase{"KeyBeforeAnySection", "k=1\n[s]\n", "s", "k", 0, "default"},
        TReadCase{"LineWithoutEquals", "[s]\nk\n", "s", "k", 0, "default"},
        TReadCase{"EmptyFile", "", "s", "k", 0, "default"},
        TReadCase{"BufferCutsLongValue", "[s]\nk=" + kTwentyFive + "\n", "s", "k", 20,
                  kTwentyFive.substr(0, 19)},
        TReadCase{"BufferJustTooSmall", "[s]\nk=" + kTwentyFive + "\n", "s", "k", 25,
                  kTwentyFive.substr(0, 24)},
        TReadCase{"BufferLargeEnough", "[s]\nk=" + kTwentyFive + "\n", "s", "k", 26, kTwentyFive},
        TReadCase{"BufferOfOneByte", "[s]\nk=v\n", "s", "k", 1, ""},
        TReadCase{"BufferCutsTheDefault", "", "s", "k", 4, "def"},
        TReadCase{"BufferNeverSplitsUtf8", "[s]\nk=a\xC3\xA9z\n", "s", "k", 3, "a"},
        TReadCase{"BufferKeepsWholeUtf8", "[s]\nk=a\xC3\xA9z\n", "s", "k", 4, "a\xC3\xA9"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(IniStore, MissingFileGivesTheDefault) {
    TTempDir dir;
    const TIniStore store(dir.Path() / "none" / "settings.ini");
    EXPECT_EQ(store.ReadString("s", "k", "fallback"), "fallback");
    EXPECT_EQ(store.ReadInteger("s", "k", -3), -3);
    EXPECT_TRUE(store.ReadBool("s", "k", true));
    EXPECT_FALSE(fs::exists(dir.Path() / "none"));
}

TEST(IniStore, SettingsFileThatIsAPipeDoesNotBlock) {
    TTempDir dir;
    const fs::path path = dir.Path() / "settings.ini";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    EXPECT_EQ(TIniStore(path).ReadString("s", "k", "default"), "default");
}

struct TWriteCase {
    const char* Name;
    std::optional<std::string> Before;  // no value: the file does not exist
    std::string Section;
    std::string Key;
    std::string Value;
    std::string After;
};

class IniStoreWrite : public ::testing::TestWithParam<TWriteCase> {};

TEST_P(IniStoreWrite, ChangesOnlyTheOneLine) {
    TTempDir dir;
    const fs::path path = dir.Path() / "settings.ini";
    if (GetParam().Before) test::WriteFile(path, *GetParam().Before);
    TIniStore store(path);
    ASSERT_TRUE(store.WriteString(GetParam().Section, GetParam().Key, GetParam().Value)) << store.LastError();
    EXPECT_EQ(test::ReadFile(path), GetParam().After);
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"settings.ini"});
    EXPECT_TRUE(store.LastError().empty());
}

const std::string kMixed =
    "; written by hand\n[Other]\nA = 1\nnoise without equals\n\n[VN Key Current Encode]\n"
    "  conversion = old ; not a comment\nX=y\n\n; about the next one\n[Last]\nZ=9\n";

INSTANTIATE_TEST_SUITE_P(
    IniStore, IniStoreWrite,
    ::testing::Values(
        TWriteCase{"NewFile", std::nullopt, "VN Key Current Encode", "Conversion", kAwkwardValue,
                   "[VN Key Current Encode]\nConversion='`?~.^(+Dd\\\n"},
        TWriteCase{"ReplaceKeepsEverythingElse", kMixed, "vn key current encode", "Conversion", "new",
                   "; written by hand\n[Other]\nA = 1\nnoise without equals\n\n[VN Key Current Encode]\n"
                   "Conversion=new\nX=y\n\n; about the next one\n[Last]\nZ=9\n"},
        TWriteCase{"AddAfterLastNonBlankLine", kMixed, "Other", "B", "2",
                   "; written by hand\n[Other]\nA = 1\nnoise without equals\nB=2\n\n[VN Key Current Encode]\n"
                   "  conversion = old ; not a comment\nX=y\n\n; about the next one\n[Last]\nZ=9\n"},
        TWriteCase{"AddAfterTrailingComment", kMixed, "VN Key Current Encode", "New", "n",
                   "; written by hand\n[Other]\nA = 1\nnoise without equals\n\n[VN Key Current Encode]\n"
                   "  conversion = old ; not a comment\nX=y\n\n; about the next one\nNew=n\n[Last]\nZ=9\n"},
        TWriteCase{"NewSectionAtTheEnd", kMixed, "Fresh", "K", "v", kMixed + "\n[Fresh]\nK=v\n"},
        TWriteCase{"AddToSectionWithoutFinalLineEnd", "[a]\nx=1", "a", "z", "3", "[a]\nx=1\nz=3\n"},
        TWriteCase{"AddToHeaderOnly", "[a]\n[b]\n", "a", "z", "3", "[a]\nz=3\n[b]\n"},
        TWriteCase{"NewSectionWithoutFinalLineEnd", "[a]\nx=1", "b", "k", "v", "[a]\nx=1\n\n[b]\nk=v\n"},
        TWriteCase{"NewSectionAfterBlankLine", "[a]\nx=1\n\n", "b", "k", "v", "[a]\nx=1\n\n[b]\nk=v\n"},
        TWriteCase{"EmptyFile", "", "b", "k", "v", "[b]\nk=v\n"},
        TWriteCase{"CrLfReplace", "[a]\r\nx=1\r\n", "a", "x", "2", "[a]\r\nx=2\r\n"},
        TWriteCase{"CrLfAdd", "[a]\r\nx=1\r\n\r\n[b]\r\n", "a", "y", "2", "[a]\r\nx=1\r\ny=2\r\n\r\n[b]\r\n"},
        TWriteCase{"CrLfNewSection", "[a]\r\nx=1\r\n", "b", "k", "v", "[a]\r\nx=1\r\n\r\n[b]\r\nk=v\r\n"},
        TWriteCase{"CrLfWithoutFinalLineEnd", "[a]\r\nx=1", "a", "y", "2", "[a]\r\nx=1\r\ny=2\r\n"},
        TWriteCase{"ByteOrderMarkKept", "\xEF\xBB\xBF[a]\nx=1\n", "a", "x", "2", "\xEF\xBB\xBF[a]\nx=2\n"},
        TWriteCase{"FirstDuplicateSection", "[a]\nx=1\n[A]\ny=2\n", "a", "y", "3",
                   "[a]\nx=1\ny=3\n[A]\ny=2\n"},
        TWriteCase{"CommentIsNotAKey", "[a]\n;x=1\n", "a", "x", "2", "[a]\n;x=1\nx=2\n"},
        TWriteCase{"SectionInACommentIsNoSection", "; [a]\nx=1\n", "a", "x", "2", "; [a]\nx=1\n\n[a]\nx=2\n"},
        TWriteCase{"ValueKeptVerbatim", "[a]\nx=1\n", "a", "x", " \"q=1\" \\t ", "[a]\nx= \"q=1\" \\t \n"},
        TWriteCase{"LineEndsInValueBecomeSpaces", std::nullopt, "a", "x", "1\r\n2\n3\r4",
                   "[a]\nx=1  2 3 4\n"},
        TWriteCase{"NamesTrimmed", std::nullopt, " a ", "\tx ", "v", "[a]\nx=v\n"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(IniStore, WrittenValueReadsBackExactly) {
    TTempDir dir;
    TIniStore store(dir.Path() / "settings.ini");
    ASSERT_TRUE(store.WriteString("VN Key Current Encode", "Conversion", kAwkwardValue));
    const std::string value = store.ReadString("VN Key Current Encode", "Conversion", "");
    EXPECT_EQ(value, kAwkwardValue);
    EXPECT_EQ(value.size(), 11u);
}

TEST(IniStore, WriteCreatesMissingFolders) {
    TTempDir dir;
    const fs::path path = dir.Path() / "a" / "b" / "settings.ini";
    TIniStore store(path);
    ASSERT_TRUE(store.WriteInteger("Window", "Width", -640)) << store.LastError();
    ASSERT_TRUE(store.WriteBool("Window", "Maximized", true));
    ASSERT_TRUE(store.WriteBool("Window", "Toolbar", false));
    EXPECT_EQ(test::ReadFile(path), "[Window]\nWidth=-640\nMaximized=1\nToolbar=0\n");
}

TEST(IniStore, UnchangedValueLeavesTheFileAlone) {
    TTempDir dir;
    const fs::path path = dir.Path() / "settings.ini";
    test::WriteFile(path, "[a]\nx=1\n");
    struct stat before {
    }, after{};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    TIniStore store(path);
    ASSERT_TRUE(store.WriteString("A", "x", "1"));
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(test::ReadFile(path), "[a]\nx=1\n");
}

TEST(IniStore, UnwritableFolderReportsFailureAndLeavesNothingBehind) {
    TTempDir dir;
    // Root ignores permission bits, but nobody can create a file below a regular file.
    const bool root = ::geteuid() == 0;
    const fs::path folder = root ? dir.Path() / "plain" : dir.Path() / "locked";
    if (root) {
        test::WriteFile(folder, "a plain file");
    } else {
        fs::create_directory(folder);
        fs::permissions(folder, fs::perms(0555));
    }
    const fs::path path = folder / "settings.ini";
    TIniStore store(path);
    EXPECT_FALSE(store.WriteString("s", "k", "v"));
    EXPECT_EQ(store.LastError(), "Cannot create file " + path.string());
    EXPECT_FALSE(store.LastErrorReason().empty());
    if (root) {
        EXPECT_EQ(test::ReadFile(folder), "a plain file");
    } else {
        EXPECT_TRUE(Names(folder).empty());
    }
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{folder.filename().string()});

    // The next successful write clears the error.
    store = TIniStore(dir.Path() / "settings.ini");
    EXPECT_TRUE(store.WriteString("s", "k", "v"));
    EXPECT_TRUE(store.LastError().empty());
}

TEST(IniStore, UnreadableSettingsFileIsNeverOverwritten) {
    TTempDir dir;
    const fs::path path = dir.Path() / "settings.ini";
    fs::create_directory(path);
    test::WriteFile(path / "inside", "kept");
    TIniStore store(path);
    EXPECT_FALSE(store.WriteString("s", "k", "v"));
    EXPECT_EQ(store.LastError(), "Cannot open file " + path.string());
    EXPECT_EQ(store.LastErrorReason(), "Is a directory");
    EXPECT_EQ(test::ReadFile(path / "inside"), "kept");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"settings.ini"});
}

struct TBadName {
    const char* Name;
    std::string Section;
    std::string Key;
};

class IniStoreBadName : public ::testing::TestWithParam<TBadName> {};

TEST_P(IniStoreBadName, IsRefusedWithoutTouchingTheFile) {
    TTempDir dir;
    const fs::path path = dir.Path() / "settings.ini";
    test::WriteFile(path, "[s]\nk=1\n");
    TIniStore store(path);
    EXPECT_FALSE(store.WriteString(GetParam().Section, GetParam().Key, "v"));
    EXPECT_FALSE(store.LastError().empty());
    EXPECT_EQ(test::ReadFile(path), "[s]\nk=1\n");
}

INSTANTIATE_TEST_SUITE_P(
    IniStore, IniStoreBadName,
    ::testing::Values(TBadName{"BracketInSection", "a]b", "k"}, TBadName{"LineEndInSection", "a\nb", "k"},
                      TBadName{"EqualsInKey", "s", "k=x"}, TBadName{"CommentKey", "s", ";k"},
                      TBadName{"SectionLikeKey", "s", "[k]"}, TBadName{"LineEndInKey", "s", "k\r\nz"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TNumberCase {
    const char* Name;
    std::string Stored;
    int Expected;  // with default 7
};

class IniStoreInteger : public ::testing::TestWithParam<TNumberCase> {};

TEST_P(IniStoreInteger, ParsesDecimalNumbersOnly) {
    TTempDir dir;
    const fs::path path = dir.Path() / "settings.ini";
    test::WriteFile(path, "[s]\nk=" + GetParam().Stored + "\n");
    const TIniStore store(path);
    EXPECT_EQ(store.ReadInteger("s", "k", 7), GetParam().Expected);
    EXPECT_EQ(store.ReadBool("s", "k", true), GetParam().Expected != 0);
    EXPECT_EQ(store.ReadBool("s", "k", false), GetParam().Expected != 0 && GetParam().Expected != 7);
}

INSTANTIATE_TEST_SUITE_P(
    IniStore, IniStoreInteger,
    ::testing::Values(TNumberCase{"Positive", "42", 42}, TNumberCase{"Negative", "-5", -5},
                      TNumberCase{"PlusSign", "+5", 5}, TNumberCase{"Zero", "0", 0},
                      TNumberCase{"Blanks", "  12 ", 12}, TNumberCase{"Largest", "2147483647", 2147483647},
                      TNumberCase{"TooLarge", "2147483648", 7}, TNumberCase{"TrailingText", "12abc", 7},
                      TNumberCase{"Text", "abc", 7}, TNumberCase{"Empty", "", 7},
                      TNumberCase{"SignsOnly", "+-1", 7}, TNumberCase{"MinusOnly", "-", 7},
                      TNumberCase{"Hex", "0x10", 7}, TNumberCase{"Fraction", "1.5", 7}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace odz
