#include "TextDecoders.h"

namespace odz {

std::size_t DecodeUtf8At(std::string_view text, std::size_t position, char32_t& code) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::size_t n = text.size();
    const std::uint8_t lead = byte(position);
    std::size_t length;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (position + length > n) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const std::uint8_t b = byte(position + i);
        if (b < (i == 1 ? low : 0x80) || b > (i == 1 ? high : 0xBF)) return 0;
        code = (code << 6) | (b & 0x3F);
    }
    return length;
}

std::u32string DecodeUtf8Or1252(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        char32_t code = 0;
        i += DecodeUtf8Or1252At(text, i, code);
        out.push_back(code);
    }
    return out;
}

}  // namespace odz
