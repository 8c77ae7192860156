#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace odz {

class TBackgroundWorker;

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

// A file or stream read a block at a time. The bytes not yet used stay in the buffer and come first
// when it is refilled; memory stays at about two blocks, whatever the file. A regular file of more
// than a megabyte, read in blocks of the reader's own choice, is read ahead: the next block is read on
// a thread of its own while the current one is used.
class TBlockReader {
public:
    ~TBlockReader();
    TBlockReader(const TBlockReader&) = delete;
    TBlockReader& operator=(const TBlockReader&) = delete;

    // Bytes of the file used so far.
    std::uint64_t Consumed() const { return FConsumed; }

protected:
    // chunk: bytes read at a time (0: a size that suits the file).
    TBlockReader(const TInput& input, std::size_t chunk);

    // Moves the unused bytes to the start of the buffer and reads up to a chunk more after them; false
    // once the end has been reached.
    bool Refill();
    // Reads until the unused bytes are at least as long as the mark (or the file ends), and drops the
    // mark when they begin with it. True when it was there.
    bool DropMark(std::string_view mark);
    std::size_t Unused() const { return FEnd - FBegin; }
    void Use(std::size_t n) {
        FBegin += n;
        FConsumed += n;
    }

    TInputFile FFile;
    std::size_t FChunk;
    std::vector<char> FBuffer;
    std::size_t FBegin = 0;
    std::size_t FEnd = 0;
    bool FEof = false;
    std::uint64_t FConsumed = 0;

private:
    std::size_t TakeAhead();
    void ReadAhead();

    bool FReadAhead = false;
    std::vector<char> FAheadBuffer;  // the next block, after room for the unused bytes of this one
    std::size_t FAheadSize = 0;
    std::unique_ptr<TBackgroundWorker> FAhead;  // last: stopped before anything it uses goes
};

// An 8-bit text file in pieces of any length: each piece is what the reader of the last one left
// unused, followed by up to a chunk more of the file.
class TChunkReader : public TBlockReader {
public:
    // dropUtf8Mark: a UTF-8 byte-order mark at the start is no content. chunk: bytes read at a time
    // (0: a size that suits the file).
    TChunkReader(const TInput& input, bool dropUtf8Mark, std::size_t chunk = 0);

    // The next piece (valid until the next call), with last telling that the file ends with it; false
    // once the last piece has been handed out.
    bool Next(std::string_view& piece, bool& last);
    // The first n bytes of the piece have been used; the rest comes again at the start of the next.
    void Consume(std::size_t n) { Use(n); }

private:
    bool FDone = false;
    bool FDropMark;
};

// A UTF-16 file as code points, in pieces. A byte-order mark FE FF selects big-endian, otherwise
// little-endian; the mark at the very start is no content, the same character anywhere else is text.
// CR LF, a lone CR and a lone LF each become one LF; surrogate pairs are one character; a lone
// surrogate stays as it is; a last odd byte is ignored.
class TUtf16Reader : public TBlockReader {
public:
    explicit TUtf16Reader(const TInput& input, std::size_t chunk = 0);

    // The next characters (at most about a chunk of the file), or false at the end.
    bool Next(std::u32string& text);
    // The next units as little-endian bytes (valid until the next call), after the last `keep` bytes
    // (at most kMaxUnitsKept) of the text handed out before; false once the end was reached. Line ends
    // and surrogates stay as they are; a last odd byte is left out. Not to be mixed with Next().
    bool NextUnits(std::string_view& text, std::size_t keep);
    static constexpr std::size_t kMaxUnitsKept = 256;

private:
    // The first call: the byte-order mark is read.
    void Start();

    bool FBigEndian = false;
    bool FStarted = false;
    bool FAfterCr = false;           // an LF next belongs to the CR before it
    char16_t FHigh = 0;              // a high surrogate waiting for its low half
    std::unique_ptr<char[]> FUnits;  // what NextUnits() hands out
    std::size_t FUnitsSize = 0;      // and how much of it it handed out last
};

}  // namespace odz
