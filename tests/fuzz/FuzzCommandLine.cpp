// The command-line parser on any arguments: it names a command or explains the usage error, and a
// conversion it accepts has a source and a target.

#include "CliOptions.h"
#include "FuzzSupport.h"

using namespace odz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TInput input(data, size);
    std::vector<std::string> arguments;
    while (!input.Empty() && arguments.size() < 64) arguments.emplace_back(input.Part());
    const TCliCommand command = ParseCommandLine(arguments);
    if (const auto* usage = std::get_if<TCliUsageError>(&command)) {
        fuzz::Check(!usage->message.empty(), "a usage error explains itself");
    }
    if (const auto* convert = std::get_if<TCliConvert>(&command)) {
        fuzz::Check(!convert->source.empty() && !convert->target.empty(), "a conversion names both files");
    }
    return 0;
}
