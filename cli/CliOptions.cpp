#include "CliOptions.h"

#include <algorithm>
#include <iterator>

#include "LetterLookup.h"
#include "ViqrKeys.h"

namespace odz {

const char* const kCliUsage =
    "Usage:\n"
    "  odizodoruz-cli encodings\n"
    "  odizodoruz-cli convert -f FROM -t TO [--html] [--overwrite] [--compose]\n"
    "                         [--replace FIND REPLACEMENT] [--keys KEYS] SOURCE TARGET\n"
    "  odizodoruz-cli convert -f FROM -t TO [--mask MASK] [--jobs N] [options as above]\n"
    "                         SOURCE_DIR TARGET_DIR\n"
    "  odizodoruz-cli replace --find TEXT --with TEXT [--mask MASK] SOURCE_DIR TARGET_DIR\n"
    "  odizodoruz-cli detect [--mask MASK] [--keys KEYS] FILE_OR_DIR...\n"
    "  odizodoruz-cli --help | -h | help | --version\n"
    "\n"
    "FROM and TO are encoding names as 'odizodoruz-cli encodings' lists them, in any letter case.\n"
    "FROM 'auto' detects the encoding of each file (of standard input: from its first 64 KiB); a file\n"
    "whose encoding is not detected with confidence is left alone and named, unless --best-guess is\n"
    "given. 'detect' prints for each file the encoding, the confidence (0 to 1), the encodings that\n"
    "read it as the same text and, when close, the runner-up; 'ascii' means no Vietnamese letter at\n"
    "all (every encoding reads it alike). VIQR is recognised by the keys of --keys or of the settings.\n"
    "SOURCE or TARGET '-' means standard input or standard output; after '--' every argument is a\n"
    "SOURCE or TARGET, even one that begins with '-'.\n"
    "A SOURCE_DIR is walked with all its subfolders; every file matching MASK (default *.*; several\n"
    "patterns separated by ';') goes under the same name into the matching folder of TARGET_DIR.\n"
    "'replace' writes every such file with FIND replaced by the text after --with; SOURCE_DIR and\n"
    "TARGET_DIR may be the same folder.\n"
    "  -f, --from   the encoding of SOURCE\n"
    "  -t, --to     the encoding TARGET is written in\n"
    "  --html       treat markup as HTML: tags pass unconverted (VIQR and UTF-8 sources, VIQR targets)\n"
    "  --overwrite  replace an existing TARGET (without it an existing TARGET is left as it is)\n"
    "  --compose    join letters written with combining marks (a + U+0302 + U+0301) into one\n"
    "               character also for the targets utf8, utf16 and ncr; the other targets always\n"
    "               get them joined\n"
    "  --replace    replace the text FIND by REPLACEMENT in every line before converting\n"
    "  --best-guess with -f auto, convert a file by the best reading even when it is not sure\n"
    "  --keys       the eleven VIQR keys for this run, in the order Sac Huyen Hoi Nga Nang Mu AA OO\n"
    "               DHoa dTh Escape (default '`?~.^(+Dd\\); otherwise the keys of the settings file\n"
    "  --mask       the names of the files taken from a SOURCE_DIR\n"
    "  --jobs       how many files of a SOURCE_DIR are converted at once (default: one per processor);\n"
    "               the messages and the summary are the same whatever the number\n"
    "  --find       (replace) the text to look for\n"
    "  --with       (replace) the text written in its place\n"
    "  -h, --help   show this text; --version shows the version of the tool\n"
    "Exit status: 0 when every file was done (detected with confidence), 1 when one was left alone,\n"
    "failed or not detected with confidence, 2 usage error.\n";

std::optional<std::string> CheckKeyString(std::string_view keys) {
    if (keys.size() != kViqrKeyCount) {
        return "the key string must hold exactly 11 characters, it holds " + std::to_string(keys.size());
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto c = static_cast<unsigned char>(keys[i]);
        if (c < 0x21 || c > 0x7E)
            return "key " + std::string(ViqrKeyNames[i]) + " is not a printable ASCII character";
        if (IsVowelBase(c)) return "key " + std::string(ViqrKeyNames[i]) + " is a vowel";
        if (keys.find(keys[i]) != i) {
            return "keys " + std::string(ViqrKeyNames[keys.find(keys[i])]) + " and " +
                   std::string(ViqrKeyNames[i]) + " are the same character";
        }
    }
    return std::nullopt;
}

namespace {

constexpr int kMaxJobs = 256;

constexpr TCliOption kOptions[] = {
    {"", "--help"},
    {"", "-h"},
    {"", "--version"},
    {"convert", "-f"},
    {"convert", "--from"},
    {"convert", "-t"},
    {"convert", "--to"},
    {"convert", "--html"},
    {"convert", "--overwrite"},
    {"convert", "--compose"},
    {"convert", "--best-guess"},
    {"convert", "--replace"},
    {"convert", "--keys"},
    {"convert", "--mask"},
    {"convert", "--jobs"},
    {"replace", "--find"},
    {"replace", "--with"},
    {"replace", "--mask"},
    {"detect", "--mask"},
    {"detect", "--keys"},
};

constexpr std::string_view kCommands[] = {"encodings", "convert", "replace", "detect", "help"};

// An argument that looks like an option but is none of the command's.
bool UnknownOption(std::string_view command, std::string_view argument) {
    if (argument.size() < 2 || argument[0] != '-') return false;
    return std::none_of(std::begin(kOptions), std::end(kOptions), [&](const TCliOption& option) {
        return option.command == command && option.name == argument;
    });
}

TCliCommand ParseReplace(const std::vector<std::string>& arguments) {
    TCliReplace replace;
    std::optional<std::string> find;
    std::optional<std::string> with;
    std::vector<std::string> paths;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (optionsEnded) {
            paths.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (UnknownOption("replace", a)) {
            return TCliUsageError{"unknown option " + a};
        } else if (a == "--find" || a == "--with" || a == "--mask") {
            if (i + 1 >= arguments.size()) return TCliUsageError{"option " + a + " needs a value"};
            const std::string& v = arguments[++i];
            if (a == "--find") {
                find = v;
            } else if (a == "--with") {
                with = v;
            } else {
                replace.mask = v;
            }
        } else if (a.size() > 1 && a[0] == '-') {
            return TCliUsageError{"unknown option " + a};
        } else {
            paths.push_back(a);
        }
    }
    if (!find || find->empty()) return TCliUsageError{"there is nothing to find (--find TEXT)"};
    if (!with || with->empty()) return TCliUsageError{"there is nothing to replace (--with TEXT)"};
    if (*find == *with) return TCliUsageError{"the search text and its replacement are the same"};
    if (paths.size() != 2) return TCliUsageError{"give SOURCE_DIR and TARGET_DIR"};
    if (paths[0].empty()) return TCliUsageError{"SOURCE_DIR is an empty name"};
    if (paths[1].empty()) return TCliUsageError{"TARGET_DIR is an empty name"};
    replace.find = *find;
    replace.with = *with;
    replace.source = paths[0];
    replace.target = paths[1];
    return replace;
}

TCliCommand ParseDetect(const std::vector<std::string>& arguments) {
    TCliDetect detect;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (optionsEnded) {
            detect.paths.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--mask" || a == "--keys") {
            if (i + 1 >= arguments.size()) return TCliUsageError{"option " + a + " needs a value"};
            (a == "--mask" ? detect.mask : detect.keys.emplace()) = arguments[++i];
        } else if (UnknownOption("detect", a)) {
            return TCliUsageError{"unknown option " + a};
        } else {
            detect.paths.push_back(a);
        }
    }
    if (detect.paths.empty()) return TCliUsageError{"give the files or folders to detect"};
    if (detect.keys) {
        if (const auto problem = CheckKeyString(*detect.keys))
            return TCliUsageError{"bad key string: " + *problem};
    }
    return detect;
}

}  // namespace

std::span<const TCliOption> CliOptions() {
    return kOptions;
}

std::span<const std::string_view> CliCommands() {
    return kCommands;
}

TCliCommand ParseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return TCliUsageError{"no command given (try 'odizodoruz-cli --help')"};
    const std::string& command = arguments[0];
    if (command == "--help" || command == "-h" || command == "help") return TCliHelp{};
    if (command == "--version") return TCliVersion{};
    if (command == "encodings") {
        if (arguments.size() > 1) return TCliUsageError{"'encodings' takes no arguments"};
        return TCliEncodings{};
    }
    if (command == "replace") return ParseReplace(arguments);
    if (command == "detect") return ParseDetect(arguments);
    if (command != "convert") {
        return TCliUsageError{"unknown command '" + command + "' (try 'odizodoruz-cli --help')"};
    }

    TCliConvert convert{};
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::vector<std::string> paths;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        const auto value = [&](std::size_t count) { return i + count < arguments.size(); };
        if (optionsEnded) {
            paths.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (UnknownOption("convert", a)) {
            return TCliUsageError{"unknown option " + a};
        } else if (a == "-f" || a == "--from" || a == "-t" || a == "--to" || a == "--keys" || a == "--mask") {
            if (!value(1)) return TCliUsageError{"option " + a + " needs a value"};
            const std::string& v = arguments[++i];
            if (a == "-f" || a == "--from") {
                from = v;
            } else if (a == "-t" || a == "--to") {
                to = v;
            } else if (a == "--mask") {
                convert.mask = v;
            } else {
                convert.keys = v;
            }
        } else if (a == "--jobs") {
            if (!value(1)) return TCliUsageError{"option --jobs needs a value"};
            const std::string& v = arguments[++i];
            const bool digits = !v.empty() && v.size() <= 4 &&
                                std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; });
            convert.jobs = digits ? std::stoi(v) : 0;
            if (convert.jobs < 1 || convert.jobs > kMaxJobs)
                return TCliUsageError{"--jobs takes a number from 1 to " + std::to_string(kMaxJobs) + ": '" +
                                      v + "'"};
        } else if (a == "--html") {
            convert.html = true;
        } else if (a == "--overwrite") {
            convert.overwrite = true;
        } else if (a == "--compose") {
            convert.compose = true;
        } else if (a == "--best-guess") {
            convert.bestGuess = true;
        } else if (a == "--replace") {
            if (!value(2)) return TCliUsageError{"option --replace needs FIND and REPLACEMENT"};
            convert.replace = TReplacement{arguments[i + 1], arguments[i + 2]};
            i += 2;
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            return TCliUsageError{"unknown option " + a};
        } else {
            paths.push_back(a);
        }
    }
    if (!from) return TCliUsageError{"the source encoding is missing (-f FROM)"};
    if (!to) return TCliUsageError{"the target encoding is missing (-t TO)"};
    convert.detect = *from == "auto";
    const auto fromEncoding =
        convert.detect ? std::optional<TEncoding>(TEncoding::Viqr) : EncodingByName(*from);
    if (!fromEncoding)
        return TCliUsageError{"unknown encoding '" + *from + "' (see 'odizodoruz-cli encodings')"};
    const auto toEncoding = EncodingByName(*to);
    if (!toEncoding) return TCliUsageError{"unknown encoding '" + *to + "' (see 'odizodoruz-cli encodings')"};
    if (!convert.detect && *fromEncoding == *toEncoding) {
        return TCliUsageError{"the source and target encodings are the same (" +
                              std::string(EncodingInfo(*fromEncoding).identifier) + ")"};
    }
    if (convert.bestGuess && !convert.detect) return TCliUsageError{"--best-guess goes with -f auto"};
    if (paths.size() < 2)
        return TCliUsageError{paths.empty() ? "SOURCE and TARGET are missing" : "TARGET is missing"};
    if (paths.size() > 2) return TCliUsageError{"too many arguments: '" + paths[2] + "'"};
    if (paths[0].empty()) return TCliUsageError{"SOURCE is an empty name"};
    if (paths[1].empty()) return TCliUsageError{"TARGET is an empty name"};
    if (convert.keys) {
        if (const auto problem = CheckKeyString(*convert.keys))
            return TCliUsageError{"bad key string: " + *problem};
    }
    convert.from = *fromEncoding;
    convert.to = *toEncoding;
    convert.source = paths[0];
    convert.target = paths[1];
    return convert;
}

}  // namespace odz
