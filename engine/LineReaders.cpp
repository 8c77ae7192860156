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

TChunkReader::TChunkReader(const TInput& input, bool dropUtf8Mark, std::size_t chunk)
    : FFile(input), FChunk(chunk != 0 ? chunk : BufferFor(FFile)), FDropMark(dropUtf8Mark) {}

bool TChunkReader::Next(std::string_view& piece, bool& last) {
    if (FDone) return false;
    std::memmove(FBuffer.data(), FBuffer.data() + FBegin, FEnd - FBegin);
    FEnd -= FBegin;
    FBegin = 0;
    if (FBuffer.size() < FEnd + FChunk) FBuffer.resize(FEnd + FChunk);
    while (!FEof) {
        const std::size_t n = FFile.Read(FBuffer.data() + FEnd, FChunk);
        FEof = n == 0;
        FEnd += n;
        if (!FDropMark || FEnd >= 3) break;  // the mark needs three bytes to be told apart
        if (FBuffer.size() < FEnd + FChunk) FBuffer.resize(FEnd + FChunk);
    }
    if (FDropMark) {
        FDropMark = false;
        if (FEnd >= 3 && std::memcmp(FBuffer.data(), "\xEF\xBB\xBF", 3) == 0) Consume(3);
    }
    piece = std::string_view(FBuffer.data() + FBegin, FEnd - FBegin);
    last = FEof;
    FDone = FEof;
    return true;
}

TUtf16Reader::TUtf16Reader(const TInput& input, std::size_t chunk)
    : FFile(input),
      FChunk(std::max<std::size_t>(2, chunk != 0 ? chunk : BufferFor(FFile))),
      FBuffer(FChunk + 1) {}

bool TUtf16Reader::Next(std::u32string& text) {
    text.clear();
    for (;;) {
        if (FEnd - FBegin < 2) {
            std::memmove(FBuffer.data(), FBuffer.data() + FBegin, FEnd - FBegin);
            FEnd -= FBegin;
            FBegin = 0;
            const std::size_t n = FFile.Read(FBuffer.data() + FEnd, FBuffer.size() - FEnd);
            if (n == 0) {
                FConsumed += FEnd;  // a last odd byte, ignored
                FBegin = FEnd = 0;
                if (FHigh != 0) text.push_back(FHigh);
                FHigh = 0;
                return !text.empty();
            }
            FEnd += n;
            continue;
        }
        while (FEnd - FBegin >= 2 && text.size() < FChunk) {
            const auto lo = static_cast<std::uint8_t>(FBuffer[FBegin]);
            const auto hi = static_cast<std::uint8_t>(FBuffer[FBegin + 1]);
            FBegin += 2;
            FConsumed += 2;
            if (!FStarted) {
                FStarted = true;
                FBigEndian = lo == 0xFE && hi == 0xFF;
                if ((lo == 0xFE && hi == 0xFF) || (lo == 0xFF && hi == 0xFE)) continue;  // the mark
            }
            const auto unit = static_cast<char16_t>(FBigEndian ? (lo << 8) | hi : (hi << 8) | lo);
            if (FAfterCr) {
                FAfterCr = false;
                if (unit == u'\n') continue;
            }
            if (FHigh != 0) {
                if (unit >= 0xDC00 && unit <= 0xDFFF) {
                    text.push_back(0x10000 + ((static_cast<char32_t>(FHigh) - 0xD800) << 10) +
                                   (unit - 0xDC00));
                    FHigh = 0;
                    continue;
                }
                text.push_back(FHigh);
                FHigh = 0;
            }
            if (unit == u'\r') {
                text.push_back(U'\n');
                FAfterCr = true;
            } else if (unit >= 0xD800 && unit <= 0xDBFF) {
                FHigh = unit;
            } else {
                text.push_back(unit);
            }
        }
        if (text.size() >= FChunk) return true;
    }
}

}  // namespace odz
