#pragma once

#include <cstdint>
#include <cstring>

namespace odz {

// The first CR or LF in [p, end), or end. Eight bytes at a time: text lines are long enough for it
// to matter.
inline const char* FindLineEnd(const char* p, const char* end) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighs = 0x8080808080808080ull;
    while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        const std::uint64_t lf = word ^ (kOnes * '\n');
        const std::uint64_t cr = word ^ (kOnes * '\r');
        if ((((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr)) & kHighs) break;
        p += 8;
    }
    while (p < end && *p != '\n' && *p != '\r') ++p;
    return p;
}

// Past the line end that starts at p (CR LF, CR or LF).
inline const char* SkipLineEnd(const char* p, const char* end) {
    if (*p == '\r' && p + 1 < end && p[1] == '\n') return p + 2;
    return p + 1;
}

}  // namespace odz
