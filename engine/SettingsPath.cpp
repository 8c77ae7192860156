#include "SettingsPath.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>
#include <system_error>
#include <vector>

namespace odz {

namespace {

constexpr std::string_view kFileName = "odizodoruz.ini";
constexpr std::string_view kFolderName = "odizodoruz";

bool UsableBase(const char* value) {
    return value != nullptr && value[0] == '/';
}

// $HOME, or the home folder from the user database for programs started without an environment.
std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') return home;
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

}  // namespace

std::filesystem::path ProgramDirectory() {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && program.has_parent_path()) return program.parent_path();
    std::filesystem::path current = std::filesystem::current_path(ec);
    return ec ? std::filesystem::path(".") : current;
}

std::filesystem::path SettingsFilePath() {
    const std::filesystem::path programDir = ProgramDirectory();
    const bool writable = ::access(programDir.c_str(), W_OK) == 0;
    const std::string home = HomeDirectory();
    return SettingsFilePathFor(programDir, writable, IsInstalledLayout(programDir),
                               std::getenv("XDG_CONFIG_HOME"), home.c_str());
}

bool IsInstalledLayout(const std::filesystem::path& programDir) {
    // ".." is resolved by the file system, so a program folder reached through a link counts where it
    // really lies.
    std::error_code error;
    return std::filesystem::is_directory(programDir / ".." / "share" / kFolderName, error);
}

std::filesystem::path SettingsFilePathFor(const std::filesystem::path& programDir, bool programDirWritable,
                                          bool installed, const char* xdgConfigHome, const char* home) {
    if (programDirWritable && !installed) return programDir / kFileName;
    if (UsableBase(xdgConfigHome)) return std::filesystem::path(xdgConfigHome) / kFolderName / kFileName;
    if (UsableBase(home)) return std::filesystem::path(home) / ".config" / kFolderName / kFileName;
    return programDir / kFileName;
}

}  // namespace odz
