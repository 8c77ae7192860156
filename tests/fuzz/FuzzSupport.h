#pragma once

// Shared by the fuzz harnesses: reading choices off the front of an input, a scratch folder for the
// harnesses that need files, and a check that stops the fuzzer with a message when a property fails.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace odz::fuzz {

// The input as a sequence of choices followed by the rest of the bytes.
class TInput {
public:
    TInput(const std::uint8_t* data, std::size_t size) : FData(reinterpret_cast<const char*>(data), size) {}

    // A number below count taken from the next byte (0 when the input is used up).
    unsigned Pick(unsigned count) {
        if (FData.empty()) return 0;
        const auto byte = static_cast<std::uint8_t>(FData.front());
        FData.remove_prefix(1);
        return byte % count;
    }
    bool Flag() { return Pick(2) == 1; }
    // Bytes up to the next NUL (consumed with it), or the rest.
    std::string_view Part() {
        const std::size_t nul = FData.find('\0');
        const std::string_view part = FData.substr(0, nul);
        FData.remove_prefix(nul == std::string_view::npos ? FData.size() : nul + 1);
        return part;
    }
    std::string_view Rest() const { return FData; }
    bool Empty() const { return FData.empty(); }

private:
    std::string_view FData;
};

// A property that must hold: the fuzzer stops and keeps the input when it does not.
inline void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "property failed: %s\n", what);
    std::abort();
}

// A folder of the process's own for files, removed when the process ends.
inline const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "odz-fuzz.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchFolder(), ignored);
        });
        return std::filesystem::path(pattern);
    }();
    return folder;
}

inline std::filesystem::path WriteScratch(std::string_view name, std::string_view bytes) {
    const std::filesystem::path path = ScratchFolder() / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

inline std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace odz::fuzz
