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

TEST(IniStore, ReadReturnsTheValueOrTheDefault) {
    const std::string twentyFive = "abcdefghijklmnopqrstuvwxy";
    // The content, the section, the key, the buffer's size (0: none) and the value read; the default is
    // "default".
    const std::tuple<const char*, std::string, const char*, const char*, std::size_t, std::string> cases[] = {
        {"plain", "[s]\nk=v\n", "s", "k", 0, "v"},
        {"case and blanks", "[ VN Key Current Encode ]\n conversion = x\n", "vn key current ENCODE",
         "CONVERSION", 0, "x"},
        {"awkward value verbatim", "[s]\nk='`?~.^(+Dd\\\n", "s", "k", 0, kAwkwardValue},
        {"quotes, equals, backslashes", "[s]\nk = \"a=b\" \\n 'c'=\n", "s", "k", 0, "\"a=b\" \\n 'c'="},
        {"blanks around the value only", "[s]\nk= \t v  \t v \t\n", "s", "k", 0, "v  \t v"},
        {"CR LF", "[s]\r\nk=v\r\nl=w\r\n", "s", "k", 0, "v"},
        {"no final line end", "[s]\nk=v", "s", "k", 0, "v"},
        {"an empty value is a value", "[s]\nk=\n", "s", "k", 0, ""},
        {"header with comment", "[s] ; the main one\nk=v\n", "s", "k", 0, "v"},
        {"the first key wins", "[s]\nk=1\nK=2\n", "s", "k", 0, "1"},
        {"missing section", "[t]\nk=v\n", "s", "k", 0, "default"},
        {"missing key", "[s]\nkk=v\n", "s", "k", 0, "default"},
        {"key before any section", "k=1\n[s]\n", "s", "k", 0, "default"},
        {"line without equals", "[s]\nk\n", "s", "k", 0, "default"},
        {"empty file", "", "s", "k", 0, "default"},
        {"buffer just too small", "[s]\nk=" + twentyFive + "\n", "s", "k", 25, twentyFive.substr(0, 24)},
        {"buffer large enough", "[s]\nk=" + twentyFive + "\n", "s", "k", 26, twentyFive},
        {"buffer of one byte", "[s]\nk=v\n", "s", "k", 1, ""},
        {"buffer cuts the default", "", "s", "k", 4, "def"},
        {"buffer never splits UTF-8", "[s]\nk=a\xC3\xA9z\n", "s", "k", 3, "a"},
        {"buffer keeps whole UTF-8", "[s]\nk=a\xC3\xA9z\n", "s", "k", 4, "a\xC3\xA9"}};
    TTempDir dir;
    for (const auto& [what, content, section, key, size, expected] : cases) {
        test::WriteFile(dir / "settings.ini", content);
        EXPECT_EQ(TIniStore(dir / "settings.ini").ReadString(section, key, "default", size), expected)
            << what;
        EXPECT_EQ(test::ReadFile(dir / "settings.ini"), content) << what;
    }
}

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

const std::string kMixed =
    "; written by hand\n[Other]\nA = 1\nnoise without equals\n\n[VN Key Current Encode]\n"
    "  conversion = old ; not a comment\nX=y\n\n; about the next one\n[Last]\nZ=9\n";

// Writing one value changes only its line: the file before (none: no file), the section, the key, the
// value and the file after.
TEST(IniStore, WriteChangesOnlyTheOneLine) {
    const std::tuple<const char*, std::optional<std::string>, const char*, const char*, std::string,
                     std::string>
        cases[] = {
            {"new file", std::nullopt, "VN Key Current Encode", "Conversion", kAwkwardValue,
             "[VN Key Current Encode]\nConversion='`?~.^(+Dd\\\n"},
            {"replace keeps everything else", kMixed, "vn key current encode", "Conversion", "new",
             "; written by hand\n[Other]\nA = 1\nnoise without equals\n\n[VN Key Current Encode]\n"
             "Conversion=new\nX=y\n\n; about the next one\n[Last]\nZ=9\n"},
            {"add after last non blank line", kMixed, "Other", "B", "2",
             "; written by hand\n[Other]\nA = 1\nnoise without equals\nB=2\n\n[VN Key Current Encode]\n"
             "  conversion = old ; not a comment\nX=y\n\n; about the next one\n[Last]\nZ=9\n"},
            {"add after trailing comment", kMixed, "VN Key Current Encode", "New", "n",
             "; written by hand\n[Other]\nA = 1\nnoise without equals\n\n[VN Key Current Encode]\n"
             "  conversion = old ; not a comment\nX=y\n\n; about the next one\nNew=n\n[Last]\nZ=9\n"},
            {"new section at the end", kMixed, "Fresh", "K", "v", kMixed + "\n[Fresh]\nK=v\n"},
            {"add to section without final line end", "[a]\nx=1", "a", "z", "3", "[a]\nx=1\nz=3\n"},
            {"add to header only", "[a]\n[b]\n", "a", "z", "3", "[a]\nz=3\n[b]\n"},
            {"new section without final line end", "[a]\nx=1", "b", "k", "v", "[a]\nx=1\n\n[b]\nk=v\n"},
            {"new section after blank line", "[a]\nx=1\n\n", "b", "k", "v", "[a]\nx=1\n\n[b]\nk=v\n"},
            {"empty file", "", "b", "k", "v", "[b]\nk=v\n"},
            {"CR LF replace", "[a]\r\nx=1\r\n", "a", "x", "2", "[a]\r\nx=2\r\n"},
            {"CR LF add", "[a]\r\nx=1\r\n\r\n[b]\r\n", "a", "y", "2", "[a]\r\nx=1\r\ny=2\r\n\r\n[b]\r\n"},
            {"CR LF new section", "[a]\r\nx=1\r\n", "b", "k", "v", "[a]\r\nx=1\r\n\r\n[b]\r\nk=v\r\n"},
            {"CR LF without final line end", "[a]\r\nx=1", "a", "y", "2", "[a]\r\nx=1\r\ny=2\r\n"},
            {"byte order mark kept", "\xEF\xBB\xBF[a]\nx=1\n", "a", "x", "2", "\xEF\xBB\xBF[a]\nx=2\n"},
            {"first duplicate section", "[a]\nx=1\n[A]\ny=2\n", "a", "y", "3", "[a]\nx=1\ny=3\n[A]\ny=2\n"},
            {"comment is not a key", "[a]\n;x=1\n", "a", "x", "2", "[a]\n;x=1\nx=2\n"},
            {"section in a comment is no section", "; [a]\nx=1\n", "a", "x", "2", "; [a]\nx=1\n\n[a]\nx=2\n"},
            {"value kept verbatim", "[a]\nx=1\n", "a", "x", " \"q=1\" \\t ", "[a]\nx= \"q=1\" \\t \n"},
            {"line ends in value become spaces", std::nullopt, "a", "x", "1\r\n2\n3\r4", "[a]\nx=1  2 3 4\n"},
            {"names trimmed", std::nullopt, " a ", "\tx ", "v", "[a]\nx=v\n"}};
    for (const auto& [what, before, section, key, value, after] : cases) {
        TTempDir dir;
        const fs::path path = dir.Path() / "settings.ini";
        if (before) test::WriteFile(path, *before);
        TIniStore store(path);
        ASSERT_TRUE(store.WriteString(section, key, value)) << what << store.LastError();
        EXPECT_EQ(test::ReadFile(path), after) << what;
        EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"settings.ini"}) << what;
        EXPECT_TRUE(store.LastError().empty()) << what;
    }
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

// The settings file's folder, for a program in /opt/odz/bin: whether that folder may be written, whether
// the copy is installed, XDG_CONFIG_HOME and HOME.
TEST(SettingsPath, ChoosesTheFolder) {
    const std::tuple<const char*, bool, bool, const char*, const char*, const char*> cases[] = {
        {"writable program folder", true, false, "/x/cfg", "/home/u", "/opt/odz/bin/odizodoruz.ini"},
        {"XDG_CONFIG_HOME", false, false, "/x/cfg", "/home/u", "/x/cfg/odizodoruz/odizodoruz.ini"},
        {"XDG unset", false, false, nullptr, "/home/u", "/home/u/.config/odizodoruz/odizodoruz.ini"},
        {"XDG empty", false, false, "", "/home/u", "/home/u/.config/odizodoruz/odizodoruz.ini"},
        {"XDG relative is ignored", false, false, "cfg", "/home/u",
         "/home/u/.config/odizodoruz/odizodoruz.ini"},
        {"no home: beside the program", false, false, nullptr, nullptr, "/opt/odz/bin/odizodoruz.ini"},
        // An installed copy keeps its settings with the user even where it may write beside itself
        // (/usr/local/bin for root, a prefix in the user's home).
        {"installed, writable", true, true, "/x/cfg", "/home/u", "/x/cfg/odizodoruz/odizodoruz.ini"},
        {"installed, writable, XDG unset", true, true, nullptr, "/home/u",
         "/home/u/.config/odizodoruz/odizodoruz.ini"},
        {"installed, read-only", false, true, "/x/cfg", "/home/u", "/x/cfg/odizodoruz/odizodoruz.ini"},
        {"installed without home: beside the program", true, true, nullptr, nullptr,
         "/opt/odz/bin/odizodoruz.ini"}};
    for (const auto& [what, writable, installed, xdg, home, expected] : cases)
        EXPECT_EQ(SettingsFilePathFor("/opt/odz/bin", writable, installed, xdg, home), fs::path(expected))
            << what;
}

// What lies beside the program's folder "bin", and whether that makes an installed copy; a linked
// program folder stands for the folder it leads to.
TEST(SettingsPath, InstalledLayoutIsRecognised) {
    const std::tuple<const char*, std::vector<const char*>, const char*, bool> cases[] = {
        {"installed prefix", {"bin", "share/odizodoruz/help"}, "", true},
        {"build tree", {"bin", "tests", "engine"}, "", false},
        {"share without the program's data", {"bin", "share/applications"}, "", false},
        {"the program's data is a file", {"bin", "share"}, "share/odizodoruz", false},
        {"missing program folder", {"share/odizodoruz"}, "", false}};
    for (const auto& [what, folders, file, installed] : cases) {
        const test::TTempDir prefix;
        for (const char* folder : folders) fs::create_directories(prefix / folder);
        if (*file) test::WriteFile(prefix / file, "x");
        EXPECT_EQ(IsInstalledLayout(prefix / "bin"), installed) << what;
    }
    const test::TTempDir root;
    fs::create_directories(root / "prefix/bin");
    fs::create_directories(root / "prefix/share/odizodoruz");
    fs::create_directory_symlink(root / "prefix/bin", root / "bin");
    EXPECT_TRUE(IsInstalledLayout(root / "bin"));  // ".." leads to the prefix of the folder linked
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
