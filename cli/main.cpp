// odizodoruz-cli: converts Vietnamese text files between encodings from the command line, with the
// same engine as the window. It never asks questions.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "DirectoryMode.h"
#include "FileConversion.h"
#include "SettingsPath.h"
#include "TRaRaru.h"

namespace fs = std::filesystem;
using namespace odz;

namespace {

constexpr int kConverted = 0;
constexpr int kNotConverted = 1;
constexpr int kUsage = 2;

int UsageError(const std::string& message) {
    std::cerr << "odizodoruz-cli: " << message << '\n';
    return kUsage;
}

// Answers every question with No: an existing target is only replaced with --overwrite.
class TNeverReplace : public TQuestions {
public:
    TAnswer AskYesNoCancel(std::string_view) override { return TAnswer::No; }
};

// A private folder for standard input and output, removed at the end.
class TScratchFolder {
public:
    TScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "odizodoruz-cli.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        FPath = pattern;
    }
    ~TScratchFolder() {
        std::error_code error;
        fs::remove_all(FPath, error);
    }
    const fs::path& Path() const { return FPath; }

private:
    fs::path FPath;
};

bool CopyStream(std::istream& in, std::ostream& out) {
    std::vector<char> buffer(1 << 20);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        out.write(buffer.data(), in.gcount());
    }
    out.flush();
    return !in.bad() && static_cast<bool>(out);
}

int ListEncodings() {
    for (int i = 0; i < kEncodingCount; ++i) {
        const TEncodingInfo& info = EncodingAt(i);
        std::string name(info.shortName);
        name.resize(8, ' ');
        std::cout << name << info.identifier << '\n';
    }
    return kConverted;
}

int Convert(const TCliConvert& options) {
    const std::string_view from = EncodingInfo(options.from).identifier;
    const std::string_view to = EncodingInfo(options.to).identifier;
    const bool fromStdin = options.source == "-";
    const bool toStdout = options.target == "-";
    std::error_code error;
    if (!fromStdin) {
        if (!fs::exists(options.source, error))
            return UsageError("SOURCE '" + options.source + "' does not exist");
        if (fs::is_directory(options.source, error)) return ConvertTree(options);
    }
    if (!toStdout && !options.overwrite && fs::exists(options.target, error)) {
        std::cerr << "odizodoruz-cli: " << options.target
                  << " already exists and was left as it is (--overwrite replaces it)\n";
        return kNotConverted;
    }

    std::optional<TScratchFolder> scratch;
    if (fromStdin || toStdout) scratch.emplace();
    fs::path source = options.source;
    fs::path target = options.target;
    if (fromStdin) {
        source = scratch->Path() / "standard-input";
        std::ofstream file(source, std::ios::binary);
        if (!CopyStream(std::cin, file)) return UsageError("cannot read standard input");
    }
    if (toStdout) target = scratch->Path() / "standard-output";

    TRaRaruInstance instance(SettingsFilePath(), /*saveKeys=*/false);
    TRaRaru& engine = instance.Engine();
    if (options.keys) engine.SetTransDau(*options.keys);
    TNeverReplace answers;
    engine.Questions = &answers;

    TFileConversionRequest request;
    request.source = source;
    request.target = target;
    request.from = from;
    request.to = to;
    request.htmlDoc = options.html;
    request.overwriteAll = options.overwrite || toStdout;
    request.replace = options.replace;
    const TFileConversionReport report = ConvertFile(engine, request);

    const std::string sourceName = fromStdin ? "standard input" : options.source;
    const std::string targetName = toStdout ? "standard output" : options.target;
    switch (report.outcome) {
        case TFileConversionReport::Written: {
            if (toStdout) {
                std::ifstream file(target, std::ios::binary);
                if (!CopyStream(file, std::cout)) {
                    std::cerr << "odizodoruz-cli: cannot write standard output\n";
                    return kNotConverted;
                }
            }
            std::cerr << "Converted " << sourceName << " (" << from << ") to " << targetName << " (" << to
                      << ")";
            if (report.references > 0) {
                std::cerr << "; " << report.references << " character" << (report.references == 1 ? "" : "s")
                          << " the target cannot hold written as &#N; references";
            }
            std::cerr << '\n';
            return kConverted;
        }
        case TFileConversionReport::LeftAlone:
            std::cerr << "odizodoruz-cli: " << targetName
                      << " already exists and was left as it is (--overwrite replaces it)\n";
            return kNotConverted;
        case TFileConversionReport::Failed:
            break;
    }
    std::cerr << "odizodoruz-cli: " << report.Reason() << '\n';
    return kNotConverted;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const TCliCommand command = ParseCommandLine(arguments);
    try {
        if (std::holds_alternative<TCliHelp>(command)) {
            std::cout << kCliUsage;
            return kConverted;
        }
        if (const auto* usage = std::get_if<TCliUsageError>(&command)) return UsageError(usage->message);
        if (std::holds_alternative<TCliEncodings>(command)) return ListEncodings();
        if (const auto* replace = std::get_if<TCliReplace>(&command)) return ReplaceTree(*replace);
        return Convert(std::get<TCliConvert>(command));
    } catch (const std::exception& failure) {
        std::cerr << "odizodoruz-cli: " << failure.what() << '\n';
        return kNotConverted;
    }
}
