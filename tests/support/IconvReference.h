#pragma once

// The C library's converter, a reference nobody here wrote; usable from GoogleTest and Qt Test alike.

#include <iconv.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace odz::test {

// The C library's converter, used as a reference nobody here wrote. False when it fails.
inline bool Iconv(const char* to, const char* from, std::string_view input, std::string& output) {
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    output.assign(input.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t result = ::iconv(cd, &in, &inLeft, &out, &outLeft);
    const std::size_t flushed = ::iconv(cd, nullptr, nullptr, &out, &outLeft);
    ::iconv_close(cd);
    output.resize(output.size() - outLeft);
    return result != static_cast<std::size_t>(-1) && flushed != static_cast<std::size_t>(-1) && inLeft == 0;
}

}  // namespace odz::test
