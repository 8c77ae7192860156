#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <random>
#include <stdexcept>
#include <system_error>

namespace odz {

namespace {

// Large enough that a typical text file goes out in one write(2), small enough not to matter when
// many files are converted one after the other.
constexpr std::size_t kBufferSize = 1 << 20;

// ".<name>.XXXXXX" must still fit into one directory entry of the usual 255 bytes.
constexpr std::size_t kMaxNameBytes = 255;
constexpr std::size_t kSuffixLength = 6;
constexpr int kNameAttempts = 100;

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

std::string RandomSuffix() {
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string suffix(kSuffixLength, 'X');
    for (char& c : suffix) c = kAlphabet[pick(RandomEngine())];
    return suffix;
}

}  // namespace

TAtomicFile::TAtomicFile(const std::filesystem::path& target) : FTarget(target), FRealTarget(target) {
    const std::string createMessage = "Cannot create file " + FTarget.string();

    // Replacing a symbolic link would cut it loose from the file it points to; write that file instead.
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(target, ec))) {
        std::filesystem::path resolved = std::filesystem::canonical(target, ec);
        if (!ec) FRealTarget = std::move(resolved);
    }
    if (!FRealTarget.has_filename()) throw EFileError(createMessage, ErrorText(EISDIR));

    struct stat old {};
    const bool replacesFile = ::stat(FRealTarget.c_str(), &old) == 0;
    if (replacesFile && S_ISDIR(old.st_mode)) throw EFileError(createMessage, ErrorText(EISDIR));
    // A device or a pipe must not silently turn into a plain file.
    if (replacesFile && !S_ISREG(old.st_mode)) throw EFileError(createMessage, "Not a regular file");

    std::string name = FRealTarget.filename().string();
    const std::size_t maxBase = kMaxNameBytes - 2 - kSuffixLength;
    if (name.size() > maxBase) name.resize(maxBase);

    // A new file is created with 0666 so that the kernel applies the umask (and any default ACL) just
    // as for a file created directly; a replacement starts private and takes the old file's bits below.
    const mode_t createMode = replacesFile ? 0600 : 0666;
    int error = EEXIST;
    for (int attempt = 0; attempt < kNameAttempts && error == EEXIST; ++attempt) {
        FTempPath = FRealTarget.parent_path() / ("." + name + "." + RandomSuffix());
        FFd = ::open(FTempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
        error = FFd < 0 ? errno : 0;
        if (error == EINTR) error = EEXIST;  // simply try again
    }
    if (FFd < 0) {
        FState = TState::Discarded;
        throw EFileError(createMessage, ErrorText(error));
    }

    if (replacesFile) {
        // Keeping the owner only works for root or within one's own groups; otherwise the file simply
        // belongs to whoever converts it.
        [[maybe_unused]] const bool ownerKept = ::fchown(FFd, old.st_uid, old.st_gid) == 0 ||
                                                ::fchown(FFd, static_cast<uid_t>(-1), old.st_gid) == 0;
        // After fchown, since changing the owner clears the set-user-ID and set-group-ID bits. Some file
        // systems know no permissions at all; the content matters more than the bits then.
        [[maybe_unused]] const bool modeKept = ::fchmod(FFd, old.st_mode & 07777) == 0;
    }
}

TAtomicFile::~TAtomicFile() {
    Discard();
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

void TAtomicFile::Commit() {
    if (FState == TState::Failed) throw *FFailure;
    if (FState != TState::Open) throw std::logic_error("TAtomicFile::Commit after Commit or Discard");

    Flush();
    const int fd = FFd;
    FFd = -1;
    // Some file systems (NFS among them) report write errors only here. EINTR still closes the file
    // on Linux and says nothing about the data, so it is not a failure.
    if (::close(fd) != 0 && errno != EINTR) Fail("Cannot write file ", errno);
    if (::rename(FTempPath.c_str(), FRealTarget.c_str()) != 0) Fail("Cannot create file ", errno);
    FState = TState::Committed;
}

void TAtomicFile::Discard() noexcept {
    if (FState != TState::Open) return;
    CloseQuietly();
    ::unlink(FTempPath.c_str());
    FState = TState::Discarded;
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
    FFailure.emplace(message + FTarget.string(), ErrorText(error));
    // Removed at once rather than at destruction: after "disk full" the space is needed back.
    CloseQuietly();
    ::unlink(FTempPath.c_str());
    FBuffer.clear();
    FBuffer.shrink_to_fit();
    FState = TState::Failed;
    throw *FFailure;
}

void TAtomicFile::CloseQuietly() noexcept {
    if (FFd < 0) return;
    ::close(FFd);
    FFd = -1;
}

}  // namespace odz
