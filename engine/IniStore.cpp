#include "IniStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <optional>
#include <system_error>
#include <vector>

#include "AtomicFile.h"
#include "FileError.h"

namespace odz {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

// One line of the file as byte offsets: [Begin, End) is its text without the line end, Next is where
// the following line starts. Offsets rather than copies, so that a write can splice the original
// bytes and leave everything it does not change exactly as it was.
struct TLine {
    std::size_t Begin;
    std::size_t End;
    std::size_t Next;
};

std::vector<TLine> SplitLines(std::string_view text) {
    std::vector<TLine> lines;
    // A byte order mark, as some Windows editors put in, is not part of the first line's text.
    std::size_t pos = text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
    while (pos < text.size()) {
        const auto newline = text.find('\n', pos);
        if (newline == std::string_view::npos) {
            lines.push_back({pos, text.size(), text.size()});
            break;
        }
        const std::size_t end = newline > pos && text[newline - 1] == '\r' ? newline - 1 : newline;
        lines.push_back({pos, end, newline + 1});
        pos = newline + 1;
    }
    return lines;
}

std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (!trimmed.starts_with('[')) return std::nullopt;
    const auto close = trimmed.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(trimmed.substr(1, close - 1));
}

struct TEntry {
    std::string_view Key;
    std::string_view Value;
};

std::optional<TEntry> Entry(std::string_view line) {
    if (Trim(line).starts_with(';') || SectionName(line)) return std::nullopt;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return TEntry{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

// Where a key is, or would go. Line indices refer to Lines.
struct TLocation {
    std::vector<TLine> Lines;
    std::optional<std::size_t> Section;  // the header line
    std::size_t SectionEnd = 0;          // one past the section's last line
    std::optional<std::size_t> Key;
};

TLocation Locate(std::string_view text, std::string_view section, std::string_view key) {
    TLocation where;
    where.Lines = SplitLines(text);
    const auto lineText = [&](std::size_t i) {
        return text.substr(where.Lines[i].Begin, where.Lines[i].End - where.Lines[i].Begin);
    };
    std::size_t i = 0;
    for (; i < where.Lines.size(); ++i) {
        const auto name = SectionName(lineText(i));
        if (name && SameName(*name, section)) break;
    }
    if (i == where.Lines.size()) return where;
    where.Section = i;
    for (++i; i < where.Lines.size() && !SectionName(lineText(i)); ++i) {
        const auto entry = Entry(lineText(i));
        if (!where.Key && entry && SameName(entry->Key, key)) where.Key = i;
    }
    where.SectionEnd = i;
    return where;
}

// Reads a regular file whole. Returns 0 or the errno value of the failure.
int ReadWholeFile(const std::filesystem::path& path, std::string& content) {
    // O_NONBLOCK: a FIFO put where the settings file belongs must not hang the program.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno;
    int error = 0;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error = errno;
    } else if (!S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    } else {
        char chunk[16384];
        for (;;) {
            const ssize_t got = ::read(fd, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) error = errno;
            if (got <= 0) break;
            content.append(chunk, static_cast<std::size_t>(got));
        }
    }
    ::close(fd);
    return error;
}

// Cuts value to fit a buffer of bufferSize bytes with its terminating zero. A UTF-8 character that
// would be split is left out whole rather than leaving a broken byte sequence behind.
std::string FitBuffer(std::string value, std::size_t bufferSize) {
    if (bufferSize == 0 || value.size() < bufferSize) return value;
    std::size_t cut = bufferSize - 1;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(value[i]); };
    if ((byte(cut) & 0xC0) == 0x80) {
        for (std::size_t back = 1; back <= 3 && back <= cut; ++back) {
            const unsigned char c = byte(cut - back);
            if ((c & 0xC0) == 0x80) continue;
            const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            if (length > back) cut -= back;
            break;
        }
    }
    value.resize(cut);
    return value;
}

// A decimal integer with an optional sign and nothing else; out of range counts as not a number.
std::optional<int> ParseInteger(std::string_view text) {
    // from_chars takes a minus sign but no plus sign.
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) return std::nullopt;
    }
    int result = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return result;
}

bool ValidSection(std::string_view name) {
    return name.find_first_of("]\r\n") == std::string_view::npos;
}

bool ValidKey(std::string_view name) {
    return name.find_first_of("=\r\n") == std::string_view::npos && !name.starts_with(';') &&
           !name.starts_with('[');
}

}  // namespace

std::string TIniStore::ReadString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue, std::size_t bufferSize) const {
    std::string content;
    if (ReadWholeFile(FPath, content) != 0) return FitBuffer(std::string(defaultValue), bufferSize);
    const TLocation where = Locate(content, Trim(section), Trim(key));
    if (!where.Key) return FitBuffer(std::string(defaultValue), bufferSize);
    const TLine& line = where.Lines[*where.Key];
    const auto entry = Entry(std::string_view(content).substr(line.Begin, line.End - line.Begin));
    return FitBuffer(std::string(entry->Value), bufferSize);
}

bool TIniStore::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    FLastError.clear();
    FLastErrorReason.clear();
    const std::string_view sectionName = Trim(section);
    const std::string_view keyName = Trim(key);
    if (!ValidSection(sectionName) || !ValidKey(keyName)) {
        FLastError = "Invalid setting name [" + std::string(sectionName) + "] " + std::string(keyName);
        return false;
    }

    try {
        std::string content;
        const int readError = ReadWholeFile(FPath, content);
        const bool existed = readError == 0;
        // Anything but a missing file is a failure: writing now would throw away the other settings.
        if (readError != 0 && readError != ENOENT && readError != ENOTDIR) {
            throw EFileError("Cannot open file " + FPath.string(),
                             std::generic_category().message(readError));
        }

        const auto firstNewline = content.find('\n');
        const std::string_view eol =
            firstNewline != std::string::npos && firstNewline > 0 && content[firstNewline - 1] == '\r'
                ? "\r\n"
                : "\n";
        std::string entryLine = std::string(keyName) + "=" + std::string(value);
        for (char& c : entryLine) {
            if (c == '\r' || c == '\n') c = ' ';
        }

        const std::string before = content;
        const TLocation where = Locate(content, sectionName, keyName);
        const auto blank = [&](const TLine& line) {
            return Trim(std::string_view(content).substr(line.Begin, line.End - line.Begin)).empty();
        };
        if (where.Key) {
            const TLine& line = where.Lines[*where.Key];
            content.replace(line.Begin, line.End - line.Begin, entryLine);
        } else if (where.Section) {
            std::size_t last = where.SectionEnd - 1;
            while (last > *where.Section && blank(where.Lines[last])) --last;
            const TLine& line = where.Lines[last];
            if (line.Next == line.End) {  // the file's last line, without a line end
                content.insert(line.End, std::string(eol) + entryLine + std::string(eol));
            } else {
                content.insert(line.Next, entryLine + std::string(eol));
            }
        } else {
            if (!where.Lines.empty()) {
                if (!content.ends_with('\n')) content += eol;
                if (!blank(where.Lines.back())) content += eol;
            }
            content += "[" + std::string(sectionName) + "]" + std::string(eol) + entryLine + std::string(eol);
        }
        if (existed && content == before) return true;

        if (FPath.has_parent_path()) {
            std::error_code ec;
            std::filesystem::create_directories(FPath.parent_path(), ec);
            if (ec) throw EFileError("Cannot create file " + FPath.string(), ec.message());
        }
        // A settings file linked in from elsewhere (a folder of dotfiles) stays linked.
        TAtomicFile file(FPath, TAtomicFile::TLinks::Follow);
        file.Write(content);
        file.Commit();
        return true;
    } catch (const EFileError& e) {
        FLastError = e.what();
        FLastErrorReason = e.Reason();
    } catch (const std::exception& e) {
        FLastError = "Cannot write file " + FPath.string();
        FLastErrorReason = e.what();
    }
    return false;
}

int TIniStore::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    return ParseInteger(ReadString(section, key, "")).value_or(defaultValue);
}

bool TIniStore::WriteInteger(std::string_view section, std::string_view key, int value) {
    return WriteString(section, key, std::to_string(value));
}

bool TIniStore::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    const auto number = ParseInteger(ReadString(section, key, ""));
    return number ? *number != 0 : defaultValue;
}

bool TIniStore::WriteBool(std::string_view section, std::string_view key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

}  // namespace odz
