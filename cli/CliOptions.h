#pragma once

#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "Encodings.h"
#include "FileConversion.h"

namespace odz {

// The exit statuses: every file done, one left alone, not detected with confidence or failed, a
// mistake in the command line.
inline constexpr int kAllDone = 0;
inline constexpr int kNotAllDone = 1;
inline constexpr int kUsage = 2;

struct TCliEncodings {};
struct TCliHelp {};
struct TCliVersion {};
struct TCliConvert {
    TEncoding from;
    bool detect = false;     // -f auto: each file's source encoding is detected (from is not used)
    bool bestGuess = false;  // with -f auto: a file whose detection is not confident is converted too
    TEncoding to;
    bool html = false;
    bool overwrite = false;
    bool compose = false;
    std::optional<TReplacement> replace;
    std::optional<std::string> keys;
    std::string mask = "*.*";  // for folders
    int jobs = 0;              // for folders: files converted side by side (0: one per processor)
    std::string source;        // a file, a folder, or "-" for standard input
    std::string target;        // a file, a folder, or "-" for standard output
};

struct TCliReplace {
    std::string find;
    std::string with;
    std::string mask = "*.*";
    std::string source;  // folders
    std::string target;
};

// A command line that names no valid command: the one-line explanation.
// Detection of the encoding of files (folders walked with the mask).
struct TCliDetect {
    std::string mask = "*.*";
    std::optional<std::string> keys;
    std::vector<std::string> paths;
};

struct TCliUsageError {
    std::string message;
};

using TCliCommand =
    std::variant<TCliEncodings, TCliHelp, TCliVersion, TCliConvert, TCliReplace, TCliDetect, TCliUsageError>;

TCliCommand ParseCommandLine(const std::vector<std::string>& arguments);

// Every option the parser accepts, with the command it belongs to ("" for those that stand alone in
// place of a command, like --help). The parser refuses any other option, so the usage text, the
// manual page and the completion can be checked against this list.
struct TCliOption {
    std::string_view command;
    std::string_view name;
};
std::span<const TCliOption> CliOptions();
// The commands, in the order the usage text shows them.
std::span<const std::string_view> CliCommands();

// Why an eleven-key string cannot be used, or nothing when it can.
std::optional<std::string> CheckKeyString(std::string_view keys);

extern const char* const kCliUsage;

}  // namespace odz
