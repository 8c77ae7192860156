#pragma once

#include <filesystem>

namespace odz {

// The folder that holds the running program; the current folder when the system cannot tell.
std::filesystem::path ProgramDirectory();

// Where the program keeps its settings, see SettingsFilePathFor().
std::filesystem::path SettingsFilePath();

// Whether the program runs from an installed copy: its folder is the bin folder of an installation
// prefix whose share folder holds the program's data (<programDir>/../share/odizodoruz). A build
// tree's bin folder, or a copy carried around on a stick, has no such sibling.
bool IsInstalledLayout(const std::filesystem::path& programDir);

// The settings file lives beside the program when that folder is writable and the program is not an
// installed copy, so that a copy carried around on a stick, or run from the build tree, keeps its own
// settings. An installed copy (even one whose folder the user may write to, such as /usr/local/bin for
// root) and a copy in a read-only folder use the user's configuration folder instead: $XDG_CONFIG_HOME,
// or $HOME/.config when that is unset, empty or not an absolute path (a relative one would depend on
// the current folder). Without a usable home either, the file stays beside the program: saving then
// fails visibly instead of scattering settings into whatever folder the program was started from.
std::filesystem::path SettingsFilePathFor(const std::filesystem::path& programDir, bool programDirWritable,
                                          bool installed, const char* xdgConfigHome, const char* home);

}  // namespace odz
