// The module of the folder commands: each runs with the tool's messages, and with new files this
// module writes removed again when the run is interrupted.

#include "CliMessages.h"
#include "DetectMode.h"
#include "DirectoryMode.h"
#include "FolderModes.h"
#include "TemporaryFiles.h"

namespace odz {

namespace {

template <class Options, int (*Command)(const Options&)>
int Run(const Options& options) {
    const TCliMessages messages;
    RemoveTemporaryFilesOnSignals();
    return Command(options);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const TFolderModes* OdzFolderModes() {
    static const TFolderModes modes{&Run<TCliConvert, ConvertTree>, &Run<TCliReplace, ReplaceTree>,
                                    &Run<TCliDetect, DetectFiles>};
    return &modes;
}

}  // namespace odz
