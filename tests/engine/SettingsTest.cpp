// The settings file: where it lies, and how values are read from it and written to it.

#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "IniStore.h"
#include "SettingsPath.h"
#include "TestSupport.h"

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
        TReadCase{"EmptyValueIsAValue", "[s]\nk=\n", "s", "k", 0, ""},
        TReadCase{"HeaderWithComment", "[s] ; the main one\nk=v\n", "s", "k", 0, "v"},
        TReadCase{"FirstKeyWins", "[s]\nk=1\nK=2\n", "s", "k", 0, "1"},
        TReadCase{"MissingSection", "[t]\nk=v\n", "s", "k", 0, "default"},
        TReadCase{"MissingKey", "[s]\nkk=v\n", "s", "k", 0, "default"},
        TReadCase{"KeyBeforeAnySection", "k=1\n[s]\n", "s", "k", 0, "default"},
        TReadCase{"LineWithoutEquals", "[s]\nk\n", "s", "k", 0, "default"},
        TReadCase{"EmptyFile", "", "s", "k", 0, "default"},
        TReadCase{"BufferJustTooSmall", "[s]\nk=" + kTwentyFive + "\n", "s", "k", 25,
                  kTwentyFive.substr(0, 24)},
        TReadCase{"BufferLargeEnough", "[s]\nk=" + kTwentyFive + "\n", "s", "k", 26, kTwentyFive},
        TReadCase{"BufferOfOneByte", "[s]\nk=v\n", "s", "k", 1, ""},
        TReadCase{"BufferCutsTheDefault", "", "s", "k", 4, "def"},
        TReadCase{"BufferNeverSplitsUtf8", "[s]\nk=a\xC3\xA9z\n", "s", "k", 3, "a"},
        TReadCase{"BufferKeepsWholeUtf8", "[s]\nk=a\xC3\xA9z\n", "s", "k", 4, "a\xC3\xA9"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(IniStore, MissingFileOrPipeGivesTheDefault) {
    TTempDir dir;
    const TIniStore store(dir.Path() / "none" / "settings.ini");
    EXPECT_EQ(store.ReadString("s", "k", "fallback"), "fallback");
    EXPECT_EQ(store.ReadInteger("s", "k", -3), -3);
    EXPECT_TRUE(store.ReadBool("s", "k", true));
    EXPECT_FALSE(fs::exists(dir.Path() / "none"));
    // A settings file that is a pipe does not block.
    ASSERT_EQ(::mkfifo((dir / "settings.ini").c_str(), 0600), 0);
    EXPECT_EQ(TIniStore(dir / "settings.ini").ReadString("s", "k", "default"), "default");
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
    // Nobody, root neither, can create a file below a regular file.
    test::WriteFile(dir / "plain", "a plain file");
    const fs::path path = dir / "plain" / "settings.ini";
    TIniStore store(path);
    EXPECT_FALSE(store.WriteString("s", "k", "v"));
    EXPECT_EQ(store.LastError(), "Cannot create file " + path.string());
    EXPECT_FALSE(store.LastErrorReason().empty());
    EXPECT_EQ(test::ReadFile(dir / "plain"), "a plain file");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"plain"});

    // The next successful write clears the error.
    store = TIniStore(dir / "settings.ini");
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

TEST(IniStore, BadNamesAreRefusedWithoutTouchingTheFile) {
    TTempDir dir;
    const fs::path path = dir.Path() / "settings.ini";
    test::WriteFile(path, "[s]\nk=1\n");
    TIniStore store(path);
    const std::pair<std::string, std::string> names[] = {{"a]b", "k"}, {"a\nb", "k"}, {"s", "k=x"},
                                                         {"s", ";k"},  {"s", "[k]"},  {"s", "k\r\nz"}};
    for (const auto& [section, key] : names) {
        EXPECT_FALSE(store.WriteString(section, key, "v")) << section << " " << key;
        EXPECT_FALSE(store.LastError().empty());
    }
    EXPECT_EQ(test::ReadFile(path), "[s]\nk=1\n");
}

// Decimal numbers only; anything else gives the default 7.
TEST(IniStore, ParsesDecimalNumbersOnly) {
    const std::pair<std::string, int> cases[] = {
        {"42", 42},        {"-5", -5},   {"+5", 5},  {"0", 0}, {"  12 ", 12}, {"2147483647", 2147483647},
        {"2147483648", 7}, {"12abc", 7}, {"abc", 7}, {"", 7},  {"+-1", 7},    {"-", 7},
        {"0x10", 7},       {"1.5", 7}};
    TTempDir dir;
    for (const auto& [stored, expected] : cases) {
        test::WriteFile(dir / "settings.ini", "[s]\nk=" + stored + "\n");
        const TIniStore store(dir / "settings.ini");
        EXPECT_EQ(store.ReadInteger("s", "k", 7), expected) << stored;
        EXPECT_EQ(store.ReadBool("s", "k", true), expected != 0) << stored;
        EXPECT_EQ(store.ReadBool("s", "k", false), expected != 0 && expected != 7) << stored;
    }
}

struct TPathCase {
    const char* Name;
    bool Writable;
    bool Installed;
    const char* XdgConfigHome;
    const char* Home;
    const char* Expected;
};

class SettingsPathFor : public ::testing::TestWithParam<TPathCase> {};

TEST_P(SettingsPathFor, ChoosesTheFolder) {
    const auto& c = GetParam();
    EXPECT_EQ(SettingsFilePathFor("/opt/odz/bin", c.Writable, c.Installed, c.XdgConfigHome, c.Home),
              fs::path(c.Expected));
}

INSTANTIATE_TEST_SUITE_P(
    SettingsPath, SettingsPathFor,
    ::testing::Values(
        TPathCase{"WritableProgramFolder", true, false, "/x/cfg", "/home/u", "/opt/odz/bin/odizodoruz.ini"},
        TPathCase{"XdgConfigHome", false, false, "/x/cfg", "/home/u", "/x/cfg/odizodoruz/odizodoruz.ini"},
        TPathCase{"XdgUnset", false, false, nullptr, "/home/u", "/home/u/.config/odizodoruz/odizodoruz.ini"},
        TPathCase{"XdgEmpty", false, false, "", "/home/u", "/home/u/.config/odizodoruz/odizodoruz.ini"},
        TPathCase{"XdgRelativeIsIgnored", false, false, "cfg", "/home/u",
                  "/home/u/.config/odizodoruz/odizodoruz.ini"},
        TPathCase{"NoHomeStaysBesideProgram", false, false, nullptr, nullptr, "/opt/odz/bin/odizodoruz.ini"},
        // An installed copy keeps its settings with the user even where it may write beside itself
        // (/usr/local/bin for root, a prefix in the user's home).
        TPathCase{"InstalledWritable", true, true, "/x/cfg", "/home/u", "/x/cfg/odizodoruz/odizodoruz.ini"},
        TPathCase{"InstalledWritableXdgUnset", true, true, nullptr, "/home/u",
                  "/home/u/.config/odizodoruz/odizodoruz.ini"},
        TPathCase{"InstalledReadOnly", false, true, "/x/cfg", "/home/u", "/x/cfg/odizodoruz/odizodoruz.ini"},
        TPathCase{"InstalledWithoutHomeStaysBesideProgram", true, true, nullptr, nullptr,
                  "/opt/odz/bin/odizodoruz.ini"}),
    [](const auto& info) { return std::string(info.param.Name); });

// What lies beside the program's folder, and whether that makes an installed copy.
struct TLayoutCase {
    const char* Name;
    std::vector<const char*> Folders;  // made under the temporary prefix
    std::vector<const char*> Files;
    const char* ProgramDir;  // relative to the prefix
    bool Installed;
};

class InstalledLayout : public ::testing::TestWithParam<TLayoutCase> {};

TEST_P(InstalledLayout, IsRecognised) {
    const auto& c = GetParam();
    const test::TTempDir prefix;
    for (const char* folder : c.Folders) fs::create_directories(prefix / folder);
    for (const char* file : c.Files) test::WriteFile(prefix / file, "x");
    EXPECT_EQ(IsInstalledLayout(prefix / c.ProgramDir), c.Installed);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsPath, InstalledLayout,
    ::testing::Values(TLayoutCase{"InstalledPrefix", {"bin", "share/odizodoruz/help"}, {}, "bin", true},
                      TLayoutCase{"BuildTree", {"bin", "tests", "engine"}, {}, "bin", false},
                      TLayoutCase{"ShareWithoutProgramData", {"bin", "share/applications"}, {}, "bin", false},
                      TLayoutCase{"ProgramDataIsAFile", {"bin", "share"}, {"share/odizodoruz"}, "bin", false},
                      TLayoutCase{"MissingProgramFolder", {"share/odizodoruz"}, {}, "bin", false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SettingsPath, InstalledLayoutFollowsALinkedProgramFolder) {
    const test::TTempDir root;
    fs::create_directories(root / "prefix/bin");
    fs::create_directories(root / "prefix/share/odizodoruz");
    fs::create_directories(root / "elsewhere");
    fs::create_directory_symlink(root / "prefix/bin", root / "elsewhere/bin");
    // The folder the link stands for is the installed one; ".." leads to its own prefix.
    EXPECT_TRUE(IsInstalledLayout(root / "elsewhere/bin"));
}

TEST(SettingsPath, FollowsTheRunningProgram) {
    const fs::path dir = ProgramDirectory();
    ASSERT_TRUE(dir.is_absolute() && fs::is_directory(dir));
    bool found = false;
    for (const auto& entry : fs::directory_iterator(dir)) {
        std::error_code ec;
        found = found || fs::equivalent(entry.path(), "/proc/self/exe", ec);
    }
    EXPECT_TRUE(found);
    // The tests run from the build tree, never an installed copy: a writable program folder keeps them.
    ASSERT_FALSE(IsInstalledLayout(dir));
    if (::access(dir.c_str(), W_OK) != 0) return;
    EXPECT_EQ(SettingsFilePath(), dir / "odizodoruz.ini");
}

}  // namespace
}  // namespace odz
