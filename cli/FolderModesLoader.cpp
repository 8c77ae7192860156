#include <dlfcn.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "FolderModes.h"
#include "SettingsPath.h"

namespace odz {

namespace {

constexpr const char* kModule = "odizodoruz-cli-folders.so";

}  // namespace

const TFolderModes& FolderModes() {
    static const TFolderModes* modes = [] {
        // Beside the program in a build; where the package puts it otherwise.
        const std::filesystem::path program = ProgramDirectory();
        std::string failure;
        for (const std::filesystem::path& module :
             {program / kModule, program / ODZ_FOLDERS_MODULE_DIR / kModule}) {
            if (!std::filesystem::exists(module)) continue;
            if (void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL)) {
                using TEntry = const TFolderModes* (*)();
                if (auto entry = reinterpret_cast<TEntry>(::dlsym(handle, "OdzFolderModes"))) return entry();
            }
            failure = ::dlerror();
        }
        throw std::runtime_error("cannot load the folder commands (" + std::string(kModule) +
                                 "): " + (failure.empty() ? "it is not installed" : failure));
    }();
    return *modes;
}

}  // namespace odz
