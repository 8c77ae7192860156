// odizodoruz-cli: converts Vietnamese text files between encodings from the command line, with the
// same engine as the window. It never asks questions.

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "CliOptions.h"
#include "DetectedSource.h"
#include "EncodingDetector.h"
#include "FileConversion.h"
#include "FileError.h"
#include "FolderModes.h"
#include "SettingsPath.h"
#include "TRaRaru.h"
#include "TemporaryFiles.h"

namespace fs = std::filesystem;
using namespace odz;

namespace {

constexpr int kConverted = 0;
constexpr int kNotConverted = 1;

int UsageError(const std::string& message) {
    std::cerr << "odizodoruz-cli: " << message << '\n';
    return kUsage;
}

int LeftAlone(const std::string& target) {
    std::cerr << "odizodoruz-cli: " << target
              << " already exists and was left as it is (--overwrite replaces it)\n";
    return kNotConverted;
}

int ListEncodings() {
    std::size_t width = 0;
    for (int i = 0; i < kEncodingCount; ++i) width = std::max(width, EncodingAt(i).shortName.size() + 2);
    for (int i = 0; i < kEncodingCount; ++i) {
        const TEncodingInfo& info = EncodingAt(i);
        std::string name(info.shortName);
        name.resize(width, ' ');
        std::cout << name << info.identifier << '\n';
    }
    return kConverted;
}

// Standard input read again from its start after its first piece was read for detection: the piece,
// then the rest of the stream, handed on through a socket by a thread of its own.
class TReplayedInput {
public:
    explicit TReplayedInput(std::string first) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, FEnds) != 0)
            throw EFileError("Cannot read standard input");
        FWriter = std::thread([this, first = std::move(first)] {
            std::string block = first;
            std::vector<char> buffer(1 << 16);
            for (;;) {
                for (std::size_t sent = 0; sent < block.size();) {
                    const ssize_t n =
                        ::send(FEnds[1], block.data() + sent, block.size() - sent, MSG_NOSIGNAL);
                    if (n < 0 && errno == EINTR) continue;
                    if (n <= 0) return Close();
                    sent += static_cast<std::size_t>(n);
                }
                const ssize_t got = ::read(STDIN_FILENO, buffer.data(), buffer.size());
                if (got < 0 && errno == EINTR) {
                    block.clear();
                    continue;
                }
                if (got <= 0) return Close();
                block.assign(buffer.data(), static_cast<std::size_t>(got));
            }
        });
    }
    ~TReplayedInput() {
        // A conversion that stopped early stops the writer; one that read everything finds it done.
        ::shutdown(FEnds[0], SHUT_RDWR);
        FWriter.join();
        ::close(FEnds[0]);
    }
    TReplayedInput(const TReplayedInput&) = delete;
    TReplayedInput& operator=(const TReplayedInput&) = delete;
    int Descriptor() const { return FEnds[0]; }

private:
    void Close() { ::close(FEnds[1]); }
    int FEnds[2] = {-1, -1};
    std::thread FWriter;
};

int Convert(TCliConvert options) {
    std::optional<TReplayedInput> replayed;
    std::string detected;
    if (options.detect && options.source != "-") {
        std::error_code error;
        if (!fs::exists(options.source, error))
            return UsageError("SOURCE '" + options.source + "' does not exist");
        if (fs::is_directory(options.source, error)) return FolderModes().convertTree(options);
    }
    if (options.detect) {
        TRaRaruInstance instance(SettingsFilePath(), /*saveKeys=*/false);
        if (options.keys) instance.Engine().SetTransDau(*options.keys);
        const bool fromStdin = options.source == "-";
        const TInput input = fromStdin ? TInput(STDIN_FILENO, "standard input") : TInput(options.source);
        std::string sample = ReadDetectionSample(input);
        std::string reason;
        const auto source = DetectedSource(DetectEncoding(sample, instance.Engine().Keys()), options.to,
                                           options.bestGuess, detected, reason);
        if (!source) {
            std::cerr << "odizodoruz-cli: " << (fromStdin ? "standard input" : options.source) << ": "
                      << reason << '\n';
            return kNotConverted;
        }
        options.from = *source;
        if (fromStdin) replayed.emplace(std::move(sample));
    }
    const std::string_view from = EncodingInfo(options.from).identifier;
    const std::string_view to = EncodingInfo(options.to).identifier;
    const bool fromStdin = options.source == "-";
    const bool toStdout = options.target == "-";
    std::error_code error;
    if (!fromStdin) {
        const fs::file_status status = fs::status(options.source, error);
        if (status.type() == fs::file_type::not_found)
            return UsageError("SOURCE '" + options.source + "' does not exist");
        if (error)
            return UsageError("SOURCE '" + options.source + "' cannot be read (" + error.message() + ")");
        if (fs::is_directory(status)) return FolderModes().convertTree(options);
    }
    // A dangling symbolic link is there too: it is replaced only with --overwrite.
    if (!toStdout && !options.overwrite && fs::exists(fs::symlink_status(options.target, error))) {
        return LeftAlone(options.target);
    }

    TRaRaruInstance instance(SettingsFilePath(), /*saveKeys=*/false);
    TRaRaru& engine = instance.Engine();
    if (options.keys) engine.SetTransDau(*options.keys);

    TFileConversionRequest request;
    if (replayed) {
        request.sourceStream = replayed->Descriptor();
    } else if (fromStdin) {
        request.sourceStream = STDIN_FILENO;
    } else {
        request.source = options.source;
    }
    if (toStdout) {
        request.targetStream = STDOUT_FILENO;
    } else {
        request.target = options.target;
    }
    request.from = options.from;
    request.to = options.to;
    request.htmlDoc = options.html;
    request.overwriteAll = options.overwrite;
    request.compose = options.compose;
    request.replace = options.replace;
    // The tool never asks: an existing target is only replaced with --overwrite.
    request.questions = [](std::string_view) { return TAnswer::No; };
    const TFileConversionReport report = ConvertFile(engine, request);

    const std::string sourceName = fromStdin ? "standard input" : options.source;
    const std::string targetName = toStdout ? "standard output" : options.target;
    switch (report.outcome) {
        case TFileConversionReport::Written: {
            std::cerr << "Converted " << sourceName << " (" << from;
            if (options.detect) std::cerr << ", detected";
            std::cerr << ") to " << targetName << " (" << to << ")";
            if (report.references > 0) {
                std::cerr << "; " << report.references << " character" << (report.references == 1 ? "" : "s")
                          << " the target cannot hold written as &#N; references";
            }
            std::cerr << '\n';
            return kConverted;
        }
        case TFileConversionReport::LeftAlone:
            return LeftAlone(targetName);
        case TFileConversionReport::Failed:
            break;
    }
    std::cerr << "odizodoruz-cli: " << report.Reason() << '\n';
    return kNotConverted;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // An interrupted run, or a reader of standard output that stops early, leaves nothing behind.
    RemoveTemporaryFilesOnSignals();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const TCliCommand command = ParseCommandLine(arguments);
    try {
        if (std::holds_alternative<TCliHelp>(command)) {
            std::cout << kCliUsage;
            return kConverted;
        }
        if (std::holds_alternative<TCliVersion>(command)) {
            std::cout << "odizodoruz-cli " << ODIZODORUZ_VERSION << '\n';
            return kConverted;
        }
        if (const auto* usage = std::get_if<TCliUsageError>(&command)) return UsageError(usage->message);
        if (std::holds_alternative<TCliEncodings>(command)) return ListEncodings();
        if (const auto* replace = std::get_if<TCliReplace>(&command))
            return FolderModes().replaceTree(*replace);
        if (const auto* detect = std::get_if<TCliDetect>(&command)) return FolderModes().detectFiles(*detect);
        return Convert(std::get<TCliConvert>(command));
    } catch (const std::exception& failure) {
        std::cerr << "odizodoruz-cli: " << failure.what() << '\n';
        return kNotConverted;
    }
}
