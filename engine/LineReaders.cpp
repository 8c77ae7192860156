#include "LineReaders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "FileError.h"
#include "LineEnds.h"

namespace odz {

namespace {

constexpr std::size_t kChunk = 1 << 20;

// Small files, the usual case in a batch, get a buffer of their own size.
std::size_t BufferFor(const TInputFile& file) {
    if (!file.IsRegular()) return kChunk;
    return static_cast<std::size_t>(std::clamp<std::uint64_t>(file.Size() + 1, 4096, kChunk));
}

}  // namespace

TInputFile::TInputFile(const TInput& input) {
    if (input.IsStream()) {
        FFd = input.descriptor;
        FOwned = false;
        FReadMessage = "Cannot read " + input.name;
    } else {
        FReadMessage = "Cannot read file " + input.path.string();
        FFd = ::open(input.path.c_str(), O_RDONLY | O_CLOEXEC);
        if (FFd < 0) throw EFileError("Cannot open file " + input.path.string(), std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(FFd, &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            const std::string message =
                input.IsStream() ? FReadMessage : "Cannot open file " + input.path.string();
            if (FOwned) ::close(FFd);
            FFd = -1;
            throw EFileError(message, std::strerror(EISDIR));
        }
        FRegular = S_ISREG(info.st_mode);
        if (FRegular) FSize = static_cast<std::uint64_t>(info.st_size);
    }
}

TInputFile::~TInputFile() {
    if (FOwned && FFd >= 0) ::close(FFd);
}

std::size_t TInputFile::Read(char* data, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(FFd, data, size);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) throw EFileError(FReadMessage, std::strerror(errno));
    }
}

TLineReader::TLineReader(const TInput& input, bool dropUtf8Mark)
    : FFile(input), FBuffer(BufferFor(FFile)), FDropMark(dropUtf8Mark) {}

bool TLineReader::Fill() {
    if (FEof) return false;
    if (FBegin > 0) {
        std::memmove(FBuffer.data(), FBuffer.data() + FBegin, FEnd - FBegin);
        FEnd -= FBegin;
        FScanned -= FBegin;
        FBegin = 0;
    }
    if (FEnd == FBuffer.size()) FBuffer.resize(FBuffer.size() * 2);  // a line longer than the buffer
    const std::size_t n = FFile.Read(FBuffer.data() + FEnd, FBuffer.size() - FEnd);
    if (n == 0) {
        FEof = true;
        return false;
    }
    FEnd += n;
    if (FDropMark) {
        if (FEnd < 3 && !FEof) return true;  // too short to tell yet
        FDropMark = false;
        if (FEnd >= 3 && std::memcmp(FBuffer.data(), "\xEF\xBB\xBF", 3) == 0) {
            FBegin = FScanned = 3;
            FConsumed = 3;
        }
    }
    return true;
}

bool TLineReader::Next(std::string_view& line) {
    for (;;) {
        const char* data = FBuffer.data();
        std::size_t p = static_cast<std::size_t>(FindLineEnd(data + FScanned, data + FEnd) - data);
        FScanned = p;
        if (p < FEnd) {
            std::size_t after = p + 1;
            if (data[p] == '\r') {
                if (after == FEnd && !FEof) {
                    // CR at the end of the buffer: an LF may follow in the next chunk.
                    if (Fill()) continue;
                    data = FBuffer.data();
                    p = FScanned;
                    after = p + 1;
                }
                if (after < FEnd && data[after] == '\n') ++after;
            }
            line = std::string_view(data + FBegin, p - FBegin);
            FLineEnd = after - p == 2 ? std::string_view("\r\n") : (data[p] == '\r' ? "\r" : "\n");
            FConsumed += after - FBegin;
            FBegin = FScanned = after;
            return true;
        }
        if (!Fill()) {
            if (FDropMark && FEnd - FBegin >= 3 &&
                std::memcmp(FBuffer.data() + FBegin, "\xEF\xBB\xBF", 3) == 0) {
                FBegin += 3;
                FConsumed += 3;
            }
            FDropMark = false;
            if (FBegin == FEnd) return false;
            line = std::string_view(FBuffer.data() + FBegin, FEnd - FBegin);
            FLineEnd = {};
            FConsumed += FEnd - FBegin;
            FBegin = FScanned = FEnd;
            return true;
        }
    }
}

TBlockReader::TBlockReader(const TInput& input, bool dropUtf8Mark)
    : FFile(input), FBuffer(BufferFor(FFile)), FDropMark(dropUtf8Mark) {}

bool TBlockReader::Fill() {
    std::memmove(FBuffer.data(), FBuffer.data() + FBegin, FEnd - FBegin);
    FEnd -= FBegin;
    FBegin = 0;
    if (FEnd == FBuffer.size()) FBuffer.resize(FBuffer.size() * 2);  // a line longer than the buffer
    const std::size_t n = FFile.Read(FBuffer.data() + FEnd, FBuffer.size() - FEnd);
    FEof = n == 0;
    FEnd += n;
    if (FDropMark && (FEnd >= 3 || FEof)) {
        FDropMark = false;
        if (FEnd >= 3 && std::memcmp(FBuffer.data(), "\xEF\xBB\xBF", 3) == 0) FBegin = 3;
    }
    return n != 0;
}

bool TBlockReader::Next(std::string_view& block) {
    for (;;) {
        if (FBegin < FEnd && !FDropMark) {
            const char* data = FBuffer.data();
            const void* lf = ::memrchr(data + FBegin, '\n', FEnd - FBegin);
            std::size_t cut = 0;
            if (lf != nullptr) {
                cut = static_cast<std::size_t>(static_cast<const char*>(lf) - data) + 1;
            } else {
                // Without any LF, a CR ends the block, but not the very last byte read: its LF may follow.
                const std::size_t limit = FEof ? FEnd : FEnd - 1;
                if (limit > FBegin) {
                    if (const void* cr = ::memrchr(data + FBegin, '\r', limit - FBegin)) {
                        cut = static_cast<std::size_t>(static_cast<const char*>(cr) - data) + 1;
                    }
                }
                if (cut == 0 && FEof) cut = FEnd;
            }
            if (cut != 0) {
                block = std::string_view(data + FBegin, cut - FBegin);
                FBegin = cut;
                return true;
            }
        }
        if (FEof) return false;
        Fill();
    }
}

TUtf16LineReader::TUtf16LineReader(const TInput& input) : FFile(input), FBuffer(BufferFor(FFile)) {}

bool TUtf16LineReader::NextUnit(char16_t& unit) {
    if (FPendingUnit) {
        FPendingUnit = false;
        unit = FPending;
        return true;
    }
    if (FEnd - FBegin < 2) {
        std::memmove(FBuffer.data(), FBuffer.data() + FBegin, FEnd - FBegin);
        FEnd -= FBegin;
        FBegin = 0;
        while (FEnd < 2) {
            const std::size_t n = FFile.Read(FBuffer.data() + FEnd, FBuffer.size() - FEnd);
            if (n == 0) return false;  // a last odd byte is no unit
            FEnd += n;
        }
    }
    const auto lo = static_cast<std::uint8_t>(FBuffer[FBegin]);
    const auto hi = static_cast<std::uint8_t>(FBuffer[FBegin + 1]);
    FBegin += 2;
    FConsumed += 2;
    if (!FStarted) {
        FStarted = true;
        if (lo == 0xFE && hi == 0xFF) FBigEndian = true;
    }
    unit = FBigEndian ? static_cast<char16_t>((lo << 8) | hi) : static_cast<char16_t>((hi << 8) | lo);
    return true;
}

bool TUtf16LineReader::Next(std::u32string& line) {
    line.clear();
    bool any = false;
    char16_t unit;
    while (NextUnit(unit)) {
        any = true;
        if (unit == 0xFEFF) continue;
        if (unit == u'\n') return true;
        if (unit == u'\r') {
            char16_t after;
            if (NextUnit(after) && after != u'\n') {
                FPendingUnit = true;
                FPending = after;
            }
            return true;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            char16_t low;
            if (NextUnit(low)) {
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    line.push_back(0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00));
                    continue;
                }
                FPendingUnit = true;
                FPending = low;
            }
        }
        line.push_back(unit);
    }
    return any && !line.empty();
}

}  // namespace odz
