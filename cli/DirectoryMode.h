#pragma once

#include "CliOptions.h"

namespace odz {

// Walks a folder tree as the window's Convert and Replace do. Returns the exit status.
int ConvertTree(const TCliConvert& options);
int ReplaceTree(const TCliReplace& options);

}  // namespace odz
