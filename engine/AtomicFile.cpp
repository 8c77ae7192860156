#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <system_error>

#include "TemporaryFiles.h"

namespace odz {

namespace {

// Large enough that a typical text file goes out in one write(2), small enough to stay in the
// processor's cache and not to matter when many files are converted one after the other.
constexpr std::size_t kBufferSize = 1 << 18;

// ".odztmp.XXXXXX.<name>" must still fit into one directory entry of the usual 255 bytes.
constexpr std::string_view kTempPrefix = ".odztmp.";
constexpr std::size_t kMaxNameBytes = 255;
constexpr std::size_t kSuffixLength = 6;
constexpr std::size_t kTempHeadLength = kTempPrefix.size() + kSuffixLength + 1;
constexpr int kNameAttempts = 100;

std::atomic<bool> gUnnamedAllowed{true};

std::string ErrorText(int error) {
    return std::generic_category().message(error);
}

std::mt19937_64& RandomEngine() {
    thread_local std::mt19937_64 engine = [] {
        std::seed_seq seed{
            static_cast<std::uint64_t>(::getpid()),
            static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()),
            static_cast<std::uint64_t>(std::random_device{}())};
        return std::mt19937_64(seed);
    }();
    return engine;
}

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::string TemporaryName(std::string_view target) {
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string name(kTempPrefix);
    for (std::size_t i = 0; i < kSuffixLength; ++i) name.push_back(kAlphabet[pick(RandomEngine())]);
    name.push_back('.');
    name.append(target.substr(0, kMaxNameBytes - kTempHeadLength));
    return name;
}

bool Unsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == EPERM;
}

}  // namespace

bool IsTemporaryFileName(std::string_view name) noexcept {
    if (name.size() <= kTempHeadLength || !name.starts_with(kTempPrefix)) return false;
    for (std::size_t i = kTempPrefix.size(); i < kTempHeadLength - 1; ++i) {
        if (kAlphabet.find(name[i]) == std::string_view::npos) return false;
    }
    return name[kTempHeadLength - 1] == '.';
}

void TAtomicFile::AllowUnnamedFiles(bool allowed) noexcept {
    gUnnamedAllowed = allowed;
}

TAtomicFile::TAtomicFile(const std::filesystem::path& target, TLinks links) : FTarget(target) {
    const std::string createMessage = "Cannot create file " + FTarget.string();
    const auto fail = [&](const std::string& reason) {
        FState = TState::Discarded;
        RemoveTemporary();
        CloseQuietly();
        if (FDir >= 0) ::close(FDir);
        FDir = -1;
        throw EFileError(createMessage, reason);
    };

    std::filesystem::path real = target;
    std::error_code ec;
    if (links == TLinks::Follow && std::filesystem::is_symlink(std::filesystem::symlink_status(target, ec))) {
        std::filesystem::path resolved = std::filesystem::canonical(target, ec);
        if (!ec) real = std::move(resolved);
    }
    if (!real.has_filename()) fail(ErrorText(EISDIR));
    FName = real.filename().string();
    const std::filesystem::path folder = real.has_parent_path() ? real.parent_path() : ".";
    FDir = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (FDir < 0) fail(ErrorText(errno));

    // Only the name itself is looked at: a symbolic link there is replaced, never written through.
    struct stat old {};
    const bool found = ::fstatat(FDir, FName.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (!found && errno != ENOENT) fail(ErrorText(errno));
    if (found && S_ISDIR(old.st_mode)) fail(ErrorText(EISDIR));
    // A device or a pipe must not silently turn into a plain file.
    if (found && !S_ISREG(old.st_mode) && !S_ISLNK(old.st_mode)) fail("Not a regular file");
    const bool replacesFile = found && S_ISREG(old.st_mode);

    // A new file is created with 0666 so that the kernel applies the umask (and any default ACL) just
    // as for a file created directly; a replacement starts private and takes the old file's bits below.
    const mode_t createMode = replacesFile ? 0600 : 0666;
    if (gUnnamedAllowed) FFd = ::openat(FDir, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, createMode);
    int error = FFd < 0 ? EEXIST : 0;
    for (int attempt = 0; attempt < kNameAttempts && error == EEXIST; ++attempt) {
        FTempName = TemporaryName(FName);
        // Noted before it exists, so that no moment passes in which a signal would leave it behind.
        FEntry = std::make_unique<TTemporaryFileEntry>(FDir, FTempName);
        FFd = ::openat(FDir, FTempName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
        error = FFd < 0 ? errno : 0;
        if (error == EINTR) error = EEXIST;  // simply try again
        if (FFd < 0) {
            FEntry.reset();
            FTempName.clear();
        }
    }
    if (FFd < 0) fail(ErrorText(error));

    if (replacesFile) {
        // Keeping the owner only works for root or within one's own groups; otherwise the file simply
        // belongs to whoever converts it.
        [[maybe_unused]] const bool ownerKept = ::fchown(FFd, old.st_uid, old.st_gid) == 0 ||
                                                ::fchown(FFd, static_cast<uid_t>(-1), old.st_gid) == 0;
        // After fchown, since changing the owner clears the set-user-ID and set-group-ID bits. Some file
        // systems know no permissions at all; the content matters more than the bits then.
        [[maybe_unused]] const bool modeKept = ::fchmod(FFd, old.st_mode & 07777) == 0;
    }
    struct stat created {};
    if (::fstat(FFd, &created) != 0) fail(ErrorText(errno));
    FDevice = created.st_dev;
    FInode = created.st_ino;
}

TAtomicFile::~TAtomicFile() {
    Discard();
    if (FDir >= 0) ::close(FDir);
}

void TAtomicFile::Write(std::string_view bytes) {
    if (FState == TState::Failed) throw *FFailure;
    if (FState != TState::Open) throw std::logic_error("TAtomicFile::Write after Commit or Discard");

    if (FBuffer.size() + bytes.size() > kBufferSize) Flush();
    if (bytes.size() >= kBufferSize) {
        WriteOut(bytes);
    } else {
        FBuffer.append(bytes);
    }
    FBytesWritten += bytes.size();
}

void TAtomicFile::Flush() {
    if (FState == TState::Failed) throw *FFailure;
    if (FState != TState::Open) throw std::logic_error("TAtomicFile::Flush after Commit or Discard");
    if (FBuffer.empty()) return;
    WriteOut(FBuffer);
    FBuffer.clear();
}

std::size_t TAtomicFile::ReadBack(std::uint64_t offset, char* data, std::size_t size) {
    Flush();
    if (FFd < 0) throw std::logic_error("TAtomicFile::ReadBack after CommitNew");
    for (;;) {
        const ssize_t n = ::pread(FFd, data, size, static_cast<off_t>(offset));
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) Fail("Cannot write file ", errno);
    }
}

void TAtomicFile::Commit() {
    if (FState == TState::Failed) throw *FFailure;
    if (FState != TState::Open) throw std::logic_error("TAtomicFile::Commit after Commit or Discard");
    Flush();
    Place(true);
}

bool TAtomicFile::CommitNew() {
    if (FState == TState::Failed) throw *FFailure;
    if (FState != TState::Open) throw std::logic_error("TAtomicFile::CommitNew after Commit or Discard");
    Flush();
    return Place(false);
}

void TAtomicFile::Discard() noexcept {
    if (FState != TState::Open) return;
    CloseQuietly();
    RemoveTemporary();
    FState = TState::Discarded;
}

bool TAtomicFile::Place(bool replace) {
    if (Unnamed()) {
        if (!replace) {
            if (!LinkUnnamed(FName)) {
                if (errno == EEXIST) return false;
                Fail("Cannot create file ", errno);
            }
            CloseQuietly();
            FState = TState::Committed;
            return true;
        }
        // A link cannot replace anything: the file gets a temporary name first and is renamed over
        // the target from there.
        int error = EEXIST;
        for (int attempt = 0; attempt < kNameAttempts && error == EEXIST; ++attempt) {
            FTempName = TemporaryName(FName);
            FEntry = std::make_unique<TTemporaryFileEntry>(FDir, FTempName);
            error = LinkUnnamed(FTempName) ? 0 : errno;
            if (error != 0) {
                FEntry.reset();
                FTempName.clear();
            }
        }
        if (error != 0) Fail("Cannot create file ", error);
    }
    return PlaceNamed(replace);
}

bool TAtomicFile::LinkUnnamed(const std::string& name) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", FFd);
    if (::linkat(AT_FDCWD, path, FDir, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
    // Without /proc the descriptor itself can be linked, by a process that is allowed to.
    if (errno == ENOENT && ::linkat(FFd, "", FDir, name.c_str(), AT_EMPTY_PATH) == 0) return true;
    return false;
}

bool TAtomicFile::PlaceNamed(bool replace) {
    if (FFd >= 0) {
        const int fd = FFd;
        FFd = -1;
        // Some file systems (NFS among them) report write errors only here. EINTR still closes the file
        // on Linux and says nothing about the data, so it is not a failure.
        if (::close(fd) != 0 && errno != EINTR) Fail("Cannot write file ", errno);
    }
    // The name must still hold the file written here: another program may have put a file of its own
    // there, and that must never take the target's place.
    struct stat now {};
    if (::fstatat(FDir, FTempName.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0)
        Fail("Cannot create file ", errno);
    if (now.st_dev != FDevice || now.st_ino != FInode) {
        Fail("Cannot create file ", std::string("Another program replaced the temporary file"));
    }

    const char* from = FTempName.c_str();
    const char* to = FName.c_str();
    if (replace) {
        if (::renameat(FDir, from, FDir, to) != 0) Fail("Cannot create file ", errno);
    } else if (::renameat2(FDir, from, FDir, to, RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST) return false;
        if (!Unsupported(errno)) Fail("Cannot create file ", errno);
        // A file system without that kind of rename: a new link never replaces anything either.
        if (::linkat(FDir, from, FDir, to, 0) == 0) {
            ::unlinkat(FDir, from, 0);
        } else {
            if (errno == EEXIST) return false;
            if (!Unsupported(errno)) Fail("Cannot create file ", errno);
            // Nor links: the best that is left is to look right before renaming.
            struct stat existing {};
            if (::fstatat(FDir, to, &existing, AT_SYMLINK_NOFOLLOW) == 0) return false;
            if (::renameat(FDir, from, FDir, to) != 0) Fail("Cannot create file ", errno);
        }
    }
    FEntry.reset();
    FTempName.clear();
    FState = TState::Committed;
    return true;
}

void TAtomicFile::WriteOut(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(FFd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            Fail("Cannot write file ", errno);
        }
        // A regular file that accepts nothing is full; retrying would spin forever.
        if (written == 0) Fail("Cannot write file ", ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void TAtomicFile::Fail(const std::string& message, int error) {
    Fail(message, ErrorText(error));
}

void TAtomicFile::Fail(const std::string& message, const std::string& reason) {
    FFailure.emplace(message + FTarget.string(), reason);
    // Removed at once rather than at destruction: after "disk full" the space is needed back.
    CloseQuietly();
    RemoveTemporary();
    FBuffer.clear();
    FBuffer.shrink_to_fit();
    FState = TState::Failed;
    throw *FFailure;
}

void TAtomicFile::RemoveTemporary() noexcept {
    if (!FTempName.empty()) ::unlinkat(FDir, FTempName.c_str(), 0);
    FTempName.clear();
    FEntry.reset();
}

void TAtomicFile::CloseQuietly() noexcept {
    if (FFd < 0) return;
    ::close(FFd);
    FFd = -1;
}

}  // namespace odz
