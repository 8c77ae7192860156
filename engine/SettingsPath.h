#pragma once

#include <filesystem>

namespace odz {

// The folder that holds the running program; the current folder when the system cannot tell.
std::filesystem::path ProgramDirectory();

// Where the program keeps its settings, see SettingsFilePathFor().
std::filesystem::path SettingsFilePath();

// The settings file lives beside the program when that folder is writable, so that a copy carried
// around on a stick, or run from the build tree, keeps its own settings. An installed copy uses the
// user's configuration folder instead: $XDG_CONFIG_HOME, or $HOME/.config when that is unset, empty
// or not an absolute path (a relative one would depend on the current folder). Without a usable home
// either, the file stays beside the program: saving then fails visibly instead of scattering settings
// into whatever folder the program was started from.
std::filesystem::path SettingsFilePathFor(const std::filesystem::path& programDir, bool programDirWritable,
                                          const char* xdgConfigHome, const char* home);

}  // namespace odz
