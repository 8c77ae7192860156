#pragma once

#include "CliOptions.h"

namespace odz {

// odizodoruz-cli detect: one line per file. Returns the exit status.
int DetectFiles(const TCliDetect& options);

}  // namespace odz
