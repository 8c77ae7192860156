#pragma once

// The window's pictures (":/workbench/ToolFolder", ":/workbench/odizodoruz", ...) and the help book
// (":/help/index.html", ...) live in this static library; they become visible once this has run. Safe to
// call any number of times, from any thread.
void InitWorkbenchResources();

namespace odz {
using ::InitWorkbenchResources;
}  // namespace odz
