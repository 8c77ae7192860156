// The settings file reader on any file, and what a write stores reading back as it was stored.

#include "FuzzSupport.h"
#include "IniStore.h"

using namespace odz;

namespace {

std::string Stored(std::string_view value) {
    // Reading takes the blanks around a value off; line ends inside it are stored as spaces.
    std::string text(value);
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.back())) text.pop_back();
    std::size_t start = 0;
    while (start < text.size() && blank(text[start])) ++start;
    return text.substr(start);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TInput input(data, size);
    const std::string section(input.Part());
    const std::string key(input.Part());
    const std::string value(input.Part());
    const TIniStore store(fuzz::WriteScratch("settings.ini", input.Rest()));
    store.ReadString(section, key, "default");
    store.ReadString(section, key, "default", 1 + input.Rest().size() % 64);
    store.ReadInteger(section, key, 7);
    store.ReadBool("MainForm", "Left", false);

    TIniStore writable(store.Path());
    if (writable.WriteString(section, key, value)) {
        fuzz::Check(writable.ReadString(section, key, "\x01") == Stored(value), "a stored value reads back");
    }
    return 0;
}
