#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "FileError.h"

namespace odz {

// Writes a file so that neither an error nor a crash can leave it truncated or lose what it held
// before: the bytes go to a hidden temporary file beside the target, which replaces the target only
// on Commit(). Without a Commit() the temporary file is removed and the target stays as it was.
//
// The new file gets the permission bits (and, where allowed, the owner) of the file it replaces, or
// the usual bits of a newly created file when there is none. A target that is a symbolic link is
// written through the link, so the link survives and the file it points to gets the new content.
//
// There is deliberately no fsync: batches of thousands of small files must stay fast, and the rename
// alone already guarantees that readers see either the whole old or the whole new content.
class TAtomicFile {
public:
    // Throws EFileError("Cannot create file <target>") when the temporary file cannot be made.
    explicit TAtomicFile(const std::filesystem::path& target);
    ~TAtomicFile();

    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    // Throws EFileError("Cannot write file <target>"). After a failed write the file can no longer be
    // committed: a half-written file must never replace the target.
    void Write(std::string_view bytes);

    // Hands the buffered bytes to the system, so that the temporary file can be read back (or
    // rewritten) through TempPath() before committing. Throws like Write().
    void Flush();

    // Replaces the target with the temporary file. Throws EFileError("Cannot write file <target>")
    // when the last bytes cannot be written, EFileError("Cannot create file <target>") when the
    // target cannot be replaced; the target is untouched then.
    void Commit();

    // Gives up: removes the temporary file at once and leaves the target untouched.
    void Discard() noexcept;

    // Bytes passed to Write() so far, buffered ones included.
    std::uint64_t BytesWritten() const noexcept { return FBytesWritten; }
    const std::filesystem::path& TempPath() const noexcept { return FTempPath; }
    // The path as the caller gave it; used in messages.
    const std::filesystem::path& Target() const noexcept { return FTarget; }
    bool Committed() const noexcept { return FState == TState::Committed; }

private:
    enum class TState { Open, Failed, Committed, Discarded };

    void WriteOut(std::string_view bytes);
    [[noreturn]] void Fail(const std::string& message, int error);
    void CloseQuietly() noexcept;

    std::filesystem::path FTarget;
    std::filesystem::path FRealTarget;  // where the rename goes: FTarget with symbolic links followed
    std::filesystem::path FTempPath;
    int FFd = -1;
    std::string FBuffer;
    std::uint64_t FBytesWritten = 0;
    TState FState = TState::Open;
    std::optional<EFileError> FFailure;
};

}  // namespace odz
