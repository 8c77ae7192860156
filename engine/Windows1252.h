#pragma once

#include <cstdint>
#include <optional>

namespace odz {

// The character of a byte in the Windows-1252 code page, the page the legacy Vietnamese font encodings
// were used with. The five bytes the page leaves undefined (81 8D 8F 90 9D) stand for U+0081 ...
char32_t Windows1252ToUnicode(std::uint8_t byte);

// The byte of a character in Windows-1252, if the page has it.
std::optional<std::uint8_t> UnicodeToWindows1252(char32_t code);

// The same for Windows-1258, the Vietnamese code page: Windows-1252 with Vietnamese letters, the dong
// sign and five combining tone marks in place of some of its bytes. The bytes it leaves undefined (81 8A
// 8D 8E 8F 90 9A 9D 9E) stand for U+0081 ... as in Windows-1252.
char32_t Windows1258ToUnicode(std::uint8_t byte);
std::optional<std::uint8_t> UnicodeToWindows1258(char32_t code);

}  // namespace odz
