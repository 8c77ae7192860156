#include "StreamOutput.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "FileError.h"
#include "FileJob.h"

namespace odz {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
// A page's head rarely lies further from its charset declaration than this.
constexpr std::size_t kHoldInMemory = 4 << 20;

// An unnamed file in the temporary folder (the user's, or /tmp when that one cannot be used), or a
// named one removed at once; -1 when neither can be made.
int OpenSpillFile() {
    std::vector<std::string> folders;
    if (const char* tmpdir = std::getenv("TMPDIR"); tmpdir && *tmpdir && std::string_view(tmpdir) != "/tmp") {
        folders.emplace_back(tmpdir);
    }
    folders.emplace_back("/tmp");
    for (const std::string& folder : folders) {
        int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd >= 0) return fd;
        std::string pattern = folder + "/odz-held.XXXXXX";
        fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd >= 0) {
            ::unlink(pattern.c_str());
            return fd;
        }
    }
    return -1;
}

}  // namespace

TStreamOutput::TStreamOutput(int descriptor, std::string name, const TOutputEditor* editor)
    : FFd(descriptor), FName(std::move(name)), FEditor(editor) {}

TStreamOutput::~TStreamOutput() {
    if (FSpill >= 0) ::close(FSpill);
}

void TStreamOutput::Write(std::string_view bytes) {
    const auto insertion = FEditor ? FEditor->Insertion() : std::nullopt;
    if (FHolding && !insertion) Release({});  // a declaration came after all: nothing will be inserted
    if (!FHolding && insertion && insertion->offset < FPosition + bytes.size()) {
        const auto direct =
            static_cast<std::size_t>(insertion->offset > FPosition ? insertion->offset - FPosition : 0);
        Out(bytes.substr(0, direct));
        FHolding = true;
        Hold(bytes.substr(direct));
    } else if (FHolding) {
        Hold(bytes);
    } else {
        Out(bytes);
    }
    FPosition += bytes.size();
}

void TStreamOutput::Finish() {
    const auto insertion = FEditor ? FEditor->Insertion() : std::nullopt;
    if (FHolding) {
        Release(insertion ? std::string_view(insertion->text) : std::string_view());
    } else if (insertion && insertion->offset >= FPosition) {
        Out(insertion->text);
    }
    Flush();
}

void TStreamOutput::Hold(std::string_view bytes) {
    if (FSpill < 0 && !FSpillTried && FHeld.size() + bytes.size() > kHoldInMemory) {
        FSpillTried = true;  // when none can be had, the text stays in memory
        FSpill = OpenSpillFile();
    }
    if (FSpill < 0) {
        FHeld.append(bytes);
        return;
    }
    while (!bytes.empty()) {
        const ssize_t n = ::write(FSpill, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            throw EFileError("Cannot write " + FName,
                             std::string("cannot hold back the text in a temporary file: ") +
                                 std::strerror(n < 0 ? errno : ENOSPC));
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void TStreamOutput::Release(std::string_view insertion) {
    Out(insertion);
    Out(FHeld);
    FHeld.clear();
    if (FSpill >= 0) {
        std::string chunk(kBufferSize, '\0');
        for (std::uint64_t offset = 0;;) {
            const ssize_t n = ::pread(FSpill, chunk.data(), chunk.size(), static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                throw EFileError("Cannot write " + FName,
                                 std::string("cannot read back the text held in a temporary file: ") +
                                     std::strerror(errno));
            }
            if (n == 0) break;
            Out(std::string_view(chunk.data(), static_cast<std::size_t>(n)));
            offset += static_cast<std::uint64_t>(n);
        }
        ::close(FSpill);
        FSpill = -1;
    }
    FSpillTried = false;
    FHolding = false;
}

void TStreamOutput::Out(std::string_view bytes) {
    if (FBuffer.size() + bytes.size() > kBufferSize) Flush();
    if (bytes.size() >= kBufferSize) {
        WriteAll(bytes);
    } else {
        FBuffer.append(bytes);
    }
}

void TStreamOutput::Flush() {
    WriteAll(FBuffer);
    FBuffer.clear();
}

void TStreamOutput::WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(FFd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // A stream left non-blocking by whoever opened it: wait until it takes more.
            pollfd wait{FFd, POLLOUT, 0};
            ::poll(&wait, 1, -1);
            continue;
        }
        if (n < 0) Fail(errno);
        if (n == 0) Fail(ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void TStreamOutput::Fail(int error) {
    FBuffer.clear();
    throw EFileError("Cannot write " + FName, std::strerror(error));
}

}  // namespace odz
