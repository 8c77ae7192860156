#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace odz {

// What a reader reads: a file named by its path, or a stream that is already open (standard input),
// read from where it stands, never closed by the reader and called by its name in messages.
struct TInput {
    TInput() = default;
    TInput(std::filesystem::path file) : path(std::move(file)) {}  // NOLINT: most inputs are files
    TInput(int stream, std::string streamName) : descriptor(stream), name(std::move(streamName)) {}

    bool IsStream() const { return descriptor >= 0; }

    std::filesystem::path path;
    int descriptor = -1;
    std::string name;
};

// An open file or stream for reading; closes the file itself. Throws EFileError("Cannot open file
// <path>").
class TInputFile {
public:
    explicit TInputFile(const TInput& input);
    ~TInputFile();
    TInputFile(const TInputFile&) = delete;
    TInputFile& operator=(const TInputFile&) = delete;

    // Reads up to size bytes; 0 at the end. Throws EFileError("Cannot read file <path>"), for a stream
    // EFileError("Cannot read <name>").
    std::size_t Read(char* data, std::size_t size);
    // The size of a regular file; 0 for a stream, whose size is unknown.
    std::uint64_t Size() const { return FSize; }
    bool IsRegular() const { return FRegular; }

private:
    std::string FReadMessage;
    int FFd = -1;
    bool FOwned = true;
    bool FRegular = false;
    std::uint64_t FSize = 0;
};

// The lines of an 8-bit text file, read in chunks: a line ends at CR LF, at a lone LF or at a lone CR;
// a line end at the very end of the file adds no empty line.
class TLineReader {
public:
    // dropUtf8Mark: a UTF-8 byte-order mark at the start is no content.
    TLineReader(const TInput& input, bool dropUtf8Mark);

    // The next line without its line end (valid until the next call), or false at the end.
    bool Next(std::string_view& line);
    // Bytes of the file consumed so far, line ends included.
    std::uint64_t Consumed() const { return FConsumed; }
    std::uint64_t Size() const { return FFile.Size(); }
    // The line end after the last line (CR LF, CR, LF, or nothing at the end of the file).
    std::string_view LineEnd() const { return FLineEnd; }

private:
    bool Fill();

    TInputFile FFile;
    std::vector<char> FBuffer;
    std::size_t FBegin = 0;
    std::size_t FEnd = 0;
    std::size_t FScanned = 0;  // FBegin..FScanned holds no line end
    std::string_view FLineEnd;
    bool FEof = false;
    bool FDropMark;
    std::uint64_t FConsumed = 0;
};

// An 8-bit text file in blocks of whole lines (about a megabyte each): a block ends right after a line
// end, never between the CR and LF of a pair; the last block may end without one.
class TBlockReader {
public:
    TBlockReader(const TInput& input, bool dropUtf8Mark);

    // The next block (valid until the next call), or false at the end.
    bool Next(std::string_view& block);

private:
    bool Fill();

    TInputFile FFile;
    std::vector<char> FBuffer;
    std::size_t FBegin = 0;
    std::size_t FEnd = 0;
    bool FEof = false;
    bool FDropMark;
};

// The lines of a UTF-16 file as code points. A byte-order mark FE FF selects big-endian, otherwise
// little-endian; CR LF, a lone CR and a lone LF end a line; surrogate pairs are one character; the
// unit FEFF is skipped wherever it stands; a last odd byte is ignored.
class TUtf16LineReader {
public:
    explicit TUtf16LineReader(const TInput& input);

    bool Next(std::u32string& line);
    std::uint64_t Consumed() const { return FConsumed; }
    std::uint64_t Size() const { return FFile.Size(); }

private:
    bool NextUnit(char16_t& unit);

    TInputFile FFile;
    std::vector<char> FBuffer;
    std::size_t FBegin = 0;
    std::size_t FEnd = 0;
    bool FBigEndian = false;
    bool FStarted = false;
    bool FPendingUnit = false;
    char16_t FPending = 0;
    std::uint64_t FConsumed = 0;
};

}  // namespace odz
