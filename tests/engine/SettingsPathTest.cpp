#include "SettingsPath.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace odz {
namespace {

namespace fs = std::filesystem;

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
        TPathCase{"WritableWithoutEnvironment", true, false, nullptr, nullptr, "/opt/odz/bin/odizodoruz.ini"},
        TPathCase{"XdgConfigHome", false, false, "/x/cfg", "/home/u", "/x/cfg/odizodoruz/odizodoruz.ini"},
        TPathCase{"XdgConfigHomeWithSlash", false, false, "/x/cfg/", "/home/u",
                  "/x/cfg/odizodoruz/odizodoruz.ini"},
        TPathCase{"XdgUnset", false, false, nullptr, "/home/u", "/home/u/.config/odizodoruz/odizodoruz.ini"},
        TPathCase{"XdgEmpty", false, false, "", "/home/u", "/home/u/.config/odizodoruz/odizodoruz.ini"},
        TPathCase{"XdgRelativeIsIgnored", false, false, "cfg", "/home/u",
                  "/home/u/.config/odizodoruz/odizodoruz.ini"},
        TPathCase{"NoHomeStaysBesideProgram", false, false, nullptr, nullptr, "/opt/odz/bin/odizodoruz.ini"},
        TPathCase{"EmptyHomeStaysBesideProgram", false, false, "", "", "/opt/odz/bin/odizodoruz.ini"},
        TPathCase{"RelativeHomeStaysBesideProgram", false, false, nullptr, "home",
                  "/opt/odz/bin/odizodoruz.ini"},
        // An installed copy keeps its settings with the user even where it may write beside itself
        // (/usr/local/bin for root, a prefix in the user's home).
        TPathCase{"InstalledWritable", true, true, "/x/cfg", "/home/u", "/x/cfg/odizodoruz/odizodoruz.ini"},
        TPathCase{"InstalledWritableXdgUnset", true, true, nullptr, "/home/u",
                  "/home/u/.config/odizodoruz/odizodoruz.ini"},
        TPathCase{"InstalledWritableXdgRelative", true, true, "cfg", "/root",
                  "/root/.config/odizodoruz/odizodoruz.ini"},
        TPathCase{"InstalledReadOnly", false, true, "/x/cfg", "/home/u", "/x/cfg/odizodoruz/odizodoruz.ini"},
        TPathCase{"InstalledReadOnlyXdgEmpty", false, true, "", "/home/u",
                  "/home/u/.config/odizodoruz/odizodoruz.ini"},
        TPathCase{"InstalledWithoutHomeStaysBesideProgram", true, true, nullptr, nullptr,
                  "/opt/odz/bin/odizodoruz.ini"},
        TPathCase{"InstalledReadOnlyRelativeHome", false, true, "", "home", "/opt/odz/bin/odizodoruz.ini"}),
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
                      TLayoutCase{
                          "ProgramFolderWithTrailingSlash", {"bin", "share/odizodoruz"}, {}, "bin/", true},
                      TLayoutCase{"BuildTree", {"bin", "tests", "engine"}, {}, "bin", false},
                      TLayoutCase{"ShareWithoutProgramData", {"bin", "share/applications"}, {}, "bin", false},
                      TLayoutCase{"ProgramDataIsAFile", {"bin", "share"}, {"share/odizodoruz"}, "bin", false},
                      TLayoutCase{"DataBesideTheProgramOnly", {"bin/share/odizodoruz"}, {}, "bin", false},
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

TEST(SettingsPath, ProgramDirectoryHoldsTheRunningProgram) {
    const fs::path dir = ProgramDirectory();
    EXPECT_TRUE(dir.is_absolute());
    ASSERT_TRUE(fs::is_directory(dir));
    bool found = false;
    for (const auto& entry : fs::directory_iterator(dir)) {
        std::error_code ec;
        if (entry.is_regular_file(ec) && fs::equivalent(entry.path(), "/proc/self/exe", ec)) found = true;
    }
    EXPECT_TRUE(found);
}

// Sets an environment variable for the duration of a test.
class TEnvironment {
public:
    TEnvironment(const char* name, const std::string& value) : FName(name) {
        if (const char* old = std::getenv(name)) FOld = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~TEnvironment() {
        if (FOld) {
            ::setenv(FName, FOld->c_str(), 1);
        } else {
            ::unsetenv(FName);
        }
    }

private:
    const char* FName;
    std::optional<std::string> FOld;
};

TEST(SettingsPath, SettingsFileFollowsTheProgramFolder) {
    const TEnvironment xdg("XDG_CONFIG_HOME", "/somewhere/config");
    const fs::path dir = ProgramDirectory();
    // The tests run from the build tree, never from an installed copy.
    ASSERT_FALSE(IsInstalledLayout(dir));
    if (::access(dir.c_str(), W_OK) == 0) {
        EXPECT_EQ(SettingsFilePath(), dir / "odizodoruz.ini");
    } else {
        EXPECT_EQ(SettingsFilePath(), fs::path("/somewhere/config/odizodoruz/odizodoruz.ini"));
    }
}

}  // namespace
}  // namespace odz
