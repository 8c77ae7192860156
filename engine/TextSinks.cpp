#include "TextSinks.h"

namespace odz {

char* PutReference(char* at, char32_t code) {
    char digits[16];
    int n = 0;
    auto value = static_cast<std::uint32_t>(code);
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    *at++ = '&';
    *at++ = '#';
    while (n > 0) *at++ = digits[--n];
    *at++ = ';';
    return at;
}

char* PutUtf8(char* at, char32_t code) {
    if (code < 0x80) {
        *at++ = static_cast<char>(code);
    } else if (code < 0x800) {
        *at++ = static_cast<char>(0xC0 | (code >> 6));
        *at++ = static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *at++ = static_cast<char>(0xE0 | (code >> 12));
        *at++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *at++ = static_cast<char>(0x80 | (code & 0x3F));
    } else {
        *at++ = static_cast<char>(0xF0 | (code >> 18));
        *at++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        *at++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *at++ = static_cast<char>(0x80 | (code & 0x3F));
    }
    return at;
}

void AppendUtf8(std::string& out, char32_t code) {
    char buffer[4];
    out.append(buffer, PutUtf8(buffer, code));
}

}  // namespace odz
