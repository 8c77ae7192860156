#include "Windows1252.h"

#include <array>

namespace odz {

namespace {

// Bytes 80 to 9F; the rest of the page equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The bytes where Windows-1258 differs from Windows-1252.
struct TDifference {
    std::uint8_t byte;
    char32_t code;
};
constexpr TDifference k1258Differences[] = {
    {0x8A, 0x008A}, {0x8E, 0x008E}, {0x9A, 0x009A}, {0x9E, 0x009E}, {0xC3, 0x0102}, {0xCC, 0x0300},
    {0xD0, 0x0110}, {0xD2, 0x0309}, {0xD5, 0x01A0}, {0xDD, 0x01AF}, {0xDE, 0x0303}, {0xE3, 0x0103},
    {0xEC, 0x0301}, {0xF0, 0x0111}, {0xF2, 0x0323}, {0xF5, 0x01A1}, {0xFD, 0x01B0}, {0xFE, 0x20AB}};

}  // namespace

char32_t Windows1258ToUnicode(std::uint8_t byte) {
    for (const auto& [b, code] : k1258Differences) {
        if (b == byte) return code;
    }
    return Windows1252ToUnicode(byte);
}

std::optional<std::uint8_t> UnicodeToWindows1258(char32_t code) {
    for (const auto& [b, c] : k1258Differences) {
        if (c == code) return b;
    }
    const auto byte = UnicodeToWindows1252(code);
    if (!byte) return std::nullopt;
    for (const auto& difference : k1258Differences) {
        if (difference.byte == *byte) return std::nullopt;  // the byte means something else here
    }
    return byte;
}

char32_t Windows1252ToUnicode(std::uint8_t byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
    return byte;
}

std::optional<std::uint8_t> UnicodeToWindows1252(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<std::uint8_t>(code);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == code) return static_cast<std::uint8_t>(0x80 + i);
    }
    return std::nullopt;
}

}  // namespace odz
