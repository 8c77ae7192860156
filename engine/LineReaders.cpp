#include "LineReaders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "BackgroundWorker.h"
#include "FileError.h"

namespace odz {

namespace {

// Small enough that a block and its converted text stay in the processor's cache while they are used.
constexpr std::size_t kChunk = 1 << 18;
// Files up to this size, the usual case in a batch, are read without a thread of their own.
constexpr std::size_t kReadAheadAbove = 1 << 20;
// Room before a block read ahead for the bytes of the last block not yet used (an unfinished
// character, a CR); more of them are copied after the new block instead.
constexpr std::size_t kHeadroom = 64;

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

TBlockReader::TBlockReader(const TInput& input, std::size_t chunk)
    : FFile(input), FChunk(chunk != 0 ? chunk : BufferFor(FFile)) {
    FReadAhead = chunk == 0 && FFile.IsRegular() && FFile.Size() > kReadAheadAbove;
}

TBlockReader::~TBlockReader() = default;

bool TBlockReader::Refill() {
    if (FBegin > 0) {
        std::memmove(FBuffer.data(), FBuffer.data() + FBegin, FEnd - FBegin);
        FEnd -= FBegin;
        FBegin = 0;
    }
    if (FEof) return false;
    std::size_t n = 0;
    if (FAhead) {
        n = TakeAhead();
    } else {
        if (FBuffer.size() < FEnd + FChunk) FBuffer.resize(FEnd + FChunk);
        n = FFile.Read(FBuffer.data() + FEnd, FChunk);
        FEnd += n;
        if (FReadAhead && n != 0) {
            FReadAhead = false;
            FAhead = TBackgroundWorker::StartIfWorthwhile();
            if (FAhead) ReadAhead();
        }
    }
    FEof = n == 0;
    return !FEof;
}

void TBlockReader::ReadAhead() {
    if (FAheadBuffer.size() < kHeadroom + FChunk) FAheadBuffer.resize(kHeadroom + FChunk);
    FAhead->Post([this] { FAheadSize = FFile.Read(FAheadBuffer.data() + kHeadroom, FChunk); });
}

// The block read ahead, after the unused bytes; a read error is thrown here, where the read would
// have been made without the thread.
std::size_t TBlockReader::TakeAhead() {
    FAhead->Wait();
    const std::size_t n = FAheadSize;
    if (FEnd <= kHeadroom) {
        // The unused bytes go in front of the new block, whose buffer becomes the reader's.
        std::memcpy(FAheadBuffer.data() + kHeadroom - FEnd, FBuffer.data(), FEnd);
        std::swap(FBuffer, FAheadBuffer);
        FBegin = kHeadroom - FEnd;
        FEnd = kHeadroom + n;
    } else {
        if (FBuffer.size() < FEnd + n) FBuffer.resize(FEnd + n);
        std::memcpy(FBuffer.data() + FEnd, FAheadBuffer.data() + kHeadroom, n);
        FEnd += n;
    }
    if (n != 0) ReadAhead();
    return n;
}

bool TBlockReader::DropMark(std::string_view mark) {
    while (Unused() < mark.size() && Refill()) {
    }
    if (Unused() < mark.size() || std::memcmp(FBuffer.data() + FBegin, mark.data(), mark.size()) != 0) {
        return false;
    }
    Use(mark.size());
    return true;
}

TChunkReader::TChunkReader(const TInput& input, bool dropUtf8Mark, std::size_t chunk)
    : TBlockReader(input, chunk), FDropMark(dropUtf8Mark) {}

bool TChunkReader::Next(std::string_view& piece, bool& last) {
    if (FDone) return false;
    Refill();
    if (FDropMark) {
        FDropMark = false;
        DropMark("\xEF\xBB\xBF");
    }
    piece = std::string_view(FBuffer.data() + FBegin, FEnd - FBegin);
    last = FEof;
    FDone = FEof;
    return true;
}

TUtf16Reader::TUtf16Reader(const TInput& input, std::size_t chunk) : TBlockReader(input, chunk) {
    FChunk = std::max<std::size_t>(2, FChunk);
}

void TUtf16Reader::Start() {
    if (FStarted) return;
    FStarted = true;
    FBigEndian = DropMark("\xFE\xFF");
    if (!FBigEndian) DropMark("\xFF\xFE");
}

bool TUtf16Reader::Next(std::u32string& text) {
    text.clear();
    Start();
    for (;;) {
        while (Unused() < 2) {
            if (!Refill()) {
                Use(Unused());  // a last odd byte, ignored
                if (FHigh != 0) text.push_back(FHigh);
                FHigh = 0;
                return !text.empty();
            }
        }
        while (Unused() >= 2 && text.size() < FChunk) {
            const auto lo = static_cast<std::uint8_t>(FBuffer[FBegin]);
            const auto hi = static_cast<std::uint8_t>(FBuffer[FBegin + 1]);
            Use(2);
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

bool TUtf16Reader::NextUnits(std::string_view& text, std::size_t keep) {
    Start();
    if (!FUnits) FUnits = std::make_unique_for_overwrite<char[]>(kMaxUnitsKept + FChunk + 2);
    char* const begin = FUnits.get();
    keep = std::min({keep, FUnitsSize, kMaxUnitsKept});
    std::memmove(begin, begin + FUnitsSize - keep, keep);
    char* w = begin + keep;
    bool more = true;
    while (Unused() < 2 && more) {
        more = Refill();
        if (!more) Use(Unused());  // a last odd byte, ignored
    }
    if (more) {
        const std::size_t bytes = std::min(Unused(), FChunk) & ~std::size_t{1};
        const char* p = FBuffer.data() + FBegin;
        if (FBigEndian) {
            for (std::size_t i = 0; i < bytes; i += 2) {
                w[i] = p[i + 1];
                w[i + 1] = p[i];
            }
        } else {
            std::memcpy(w, p, bytes);
        }
        w += bytes;
        Use(bytes);
    }
    FUnitsSize = static_cast<std::size_t>(w - begin);
    text = std::string_view(begin, FUnitsSize);
    return more;
}

}  // namespace odz
