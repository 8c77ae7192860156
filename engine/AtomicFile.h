#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "FileError.h"

namespace odz {

class TTemporaryFileEntry;

// Writes a file so that neither an error, nor an interruption, nor a crash can leave it truncated or
// lose what it held before: the bytes go to a new file in the target's folder, which takes the
// target's place only on Commit() or CommitNew(). Without that the new file is removed and the target
// stays as it was.
//
// Where the file system allows it the new file has no name until it is put in place, so that not even
// a killed process leaves anything behind. Elsewhere it is a hidden file whose name
// IsTemporaryFileName() recognises, removed by RemoveTemporaryFiles() when a signal ends the program.
//
// The new file gets the permission bits (and, where allowed, the owner) of the file it replaces, or
// the usual bits of a newly created file when there is none.
//
// There is deliberately no fsync: batches of thousands of small files must stay fast, and the rename
// alone already guarantees that readers see either the whole old or the whole new content.
class TAtomicFile {
public:
    enum class TLinks {
        Replace,  // a symbolic link at the target is replaced by the new file; what it points to stays
        Follow,   // the file a symbolic link points to gets the new content; the link stays
    };

    // Throws EFileError("Cannot create file <target>") when the new file cannot be made.
    explicit TAtomicFile(const std::filesystem::path& target, TLinks links = TLinks::Replace);
    ~TAtomicFile();

    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    // Throws EFileError("Cannot write file <target>"). After a failed write the file can no longer be
    // committed: a half-written file must never replace the target.
    void Write(std::string_view bytes);

    // Hands the buffered bytes to the system. Throws like Write().
    void Flush();

    // Reads back what was written, from offset on: up to size bytes, 0 at the end. Throws like Write().
    std::size_t ReadBack(std::uint64_t offset, char* data, std::size_t size);

    // Puts the new file in place, replacing whatever has the target's name. Throws
    // EFileError("Cannot write file <target>") when the last bytes cannot be written,
    // EFileError("Cannot create file <target>") when the file cannot be put in place; the target is
    // untouched then.
    void Commit();

    // Puts the new file in place only where nothing has the target's name yet. Returns false when
    // something has (a dangling symbolic link too); the new file is kept then, for Commit() or
    // Discard(). Throws like Commit().
    bool CommitNew();

    // Gives up: removes the new file at once and leaves the target untouched.
    void Discard() noexcept;

    // Bytes passed to Write() so far, buffered ones included.
    std::uint64_t BytesWritten() const noexcept { return FBytesWritten; }
    // The path as the caller gave it; used in messages.
    const std::filesystem::path& Target() const noexcept { return FTarget; }
    bool Committed() const noexcept { return FState == TState::Committed; }
    // True when the new file has no name in the folder until it is put in place.
    bool Unnamed() const noexcept { return FTempName.empty(); }

    // Whether new files may be unnamed where the file system allows it (the default). Tests turn it off
    // to see the named files that other file systems get.
    static void AllowUnnamedFiles(bool allowed) noexcept;

private:
    enum class TState { Open, Failed, Committed, Discarded };

    bool Place(bool replace);
    bool PlaceNamed(bool replace);
    bool LinkUnnamed(const std::string& name);
    void WriteOut(std::string_view bytes);
    [[noreturn]] void Fail(const std::string& message, int error);
    [[noreturn]] void Fail(const std::string& message, const std::string& reason);
    void RemoveTemporary() noexcept;
    void CloseQuietly() noexcept;

    std::filesystem::path FTarget;
    std::string FName;      // the name in the folder that Place() gives the file
    std::string FTempName;  // the name of a named new file; empty while it has none
    std::unique_ptr<TTemporaryFileEntry> FEntry;
    int FDir = -1;
    int FFd = -1;
    dev_t FDevice = 0;
    ino_t FInode = 0;
    std::string FBuffer;
    std::uint64_t FBytesWritten = 0;
    TState FState = TState::Open;
    std::optional<EFileError> FFailure;
};

// True for the names TAtomicFile gives its named new files, which no walk over a folder may take for
// the user's own files.
bool IsTemporaryFileName(std::string_view name) noexcept;

}  // namespace odz
