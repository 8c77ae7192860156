#pragma once

#include "CliOptions.h"

namespace odz {

// The commands that walk folders (and detect), which use the window's batch driver and with it Qt.
// They live in a module of their own that is loaded only when one of them runs, so that converting a
// single file starts without loading Qt and what it needs.
struct TFolderModes {
    int (*convertTree)(const TCliConvert& options);
    int (*replaceTree)(const TCliReplace& options);
    int (*detectFiles)(const TCliDetect& options);
};

// The module's entry: its commands.
extern "C" const TFolderModes* OdzFolderModes();

// The module's commands, loaded from beside the program or from where the package installs it. Throws
// EFileError when it cannot be loaded.
const TFolderModes& FolderModes();

}  // namespace odz
