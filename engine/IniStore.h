#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace odz {

// The program's settings file, read and written the way Windows' private profile functions do, so
// that a settings file carried over from there keeps working and stays readable by hand:
//
//   [Section]
//   Key=Value
//
// Section and key names match regardless of ASCII letter case and of blanks around them; the first
// matching section and the first matching key in it count. Lines whose first non-blank character is
// ';' are comments. A value is everything after the first '=' with the blanks around it removed, and
// nothing else: no quotes are taken off and no escapes are read, so any printable text survives.
//
// Every call goes to the file itself, so several stores on one file, or a change made by hand while
// the program runs, never get out of step. The file is small; rereading it costs nothing noticeable.
class TIniStore {
public:
    explicit TIniStore(std::filesystem::path path) : FPath(std::move(path)) {}

    const std::filesystem::path& Path() const noexcept { return FPath; }

    // The value, or defaultValue when the file, the section or the key is missing (or the file cannot
    // be read). A bufferSize other than 0 stands for a caller's buffer of that many bytes including its
    // terminating zero: at most bufferSize - 1 bytes come back, never ending in a cut UTF-8 character.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue,
                           std::size_t bufferSize = 0) const;

    // Sets the value and leaves every other byte of the file as it was. The file and its folder are
    // created when missing; the file is replaced atomically, so a failure never damages it. Returns
    // false when the value cannot be stored; LastError() then says why. Never throws.
    //
    // Blanks around the value are not kept (reading removes them). Line ends inside the value would
    // break the file apart, so each CR and LF is stored as a space. Names that could never be read
    // back are refused: a section name holding ']', a key holding '=' or starting with ';' or '[',
    // and either holding a line end.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);

    // A decimal integer with an optional sign; anything else, or a number out of range, gives the
    // default.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    bool WriteInteger(std::string_view section, std::string_view key, int value);

    // Stored as "1" and "0"; any integer other than 0 reads as true.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    bool WriteBool(std::string_view section, std::string_view key, bool value);

    // The message of the last failed write, like "Cannot create file /path/odizodoruz.ini", and the
    // system's explanation of it. Both are empty after a successful write.
    const std::string& LastError() const noexcept { return FLastError; }
    const std::string& LastErrorReason() const noexcept { return FLastErrorReason; }

private:
    std::filesystem::path FPath;
    std::string FLastError;
    std::string FLastErrorReason;
};

}  // namespace odz
