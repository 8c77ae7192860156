#include "SettingsPath.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>

namespace odz {
namespace {

namespace fs = std::filesystem;

struct TPathCase {
    const char* Name;
    bool Writable;
    const char* XdgConfigHome;
    const char* Home;
    const char* Expected;
};

class SettingsPathFor : public ::testing::TestWithParam<TPathCase> {};

TEST_P(SettingsPathFor, ChoosesTheFolder) {
    const auto& c = GetParam();
    EXPECT_EQ(SettingsFilePathFor("/opt/odz/bin", c.Writable, c.XdgConfigHome, c.Home), fs::path(c.Expected));
}

INSTANTIATE_TEST_SUITE_P(
    SettingsPath, SettingsPathFor,
    ::testing::Values(
        TPathCase{"WritableProgramFolder", true, "/x/cfg", "/home/u", "/opt/odz/bin/odizodoruz.ini"},
        TPathCase{"WritableWithoutEnvironment", true, nullptr, nullptr, "/opt/odz/bin/odizodoruz.ini"},
        TPathCase{"XdgConfigHome", false, "/x/cfg", "/home/u", "/x/cfg/odizodoruz/odizodoruz.ini"},
        TPathCase{"XdgConfigHomeWithSlash", false, "/x/cfg/", "/home/u", "/x/cfg/odizodoruz/odizodoruz.ini"},
        TPathCase{"XdgUnset", false, nullptr, "/home/u", "/home/u/.config/odizodoruz/odizodoruz.ini"},
        TPathCase{"XdgEmpty", false, "", "/home/u", "/home/u/.config/odizodoruz/odizodoruz.ini"},
        TPathCase{"XdgRelativeIsIgnored", false, "cfg", "/home/u",
                  "/home/u/.config/odizodoruz/odizodoruz.ini"},
        TPathCase{"NoHomeStaysBesideProgram", false, nullptr, nullptr, "/opt/odz/bin/odizodoruz.ini"},
        TPathCase{"EmptyHomeStaysBesideProgram", false, "", "", "/opt/odz/bin/odizodoruz.ini"},
        TPathCase{"RelativeHomeStaysBesideProgram", false, nullptr, "home", "/opt/odz/bin/odizodoruz.ini"}),
    [](const auto& info) { return std::string(info.param.Name); });

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
    if (::access(dir.c_str(), W_OK) == 0) {
        EXPECT_EQ(SettingsFilePath(), dir / "odizodoruz.ini");
    } else {
        EXPECT_EQ(SettingsFilePath(), fs::path("/somewhere/config/odizodoruz/odizodoruz.ini"));
    }
}

}  // namespace
}  // namespace odz
