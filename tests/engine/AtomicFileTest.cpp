#include "AtomicFile.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include "TestSupport.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace odz {
namespace {

namespace fs = std::filesystem;

using test::TTempDir;

std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

std::optional<EFileError> ErrorFrom(const std::function<void()>& action) {
    try {
        action();
    } catch (const EFileError& e) {
        return e;
    }
    return std::nullopt;
}

// Bytes that differ from position to position, so that reordered or repeated chunks show.
std::string Pattern(std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + seed + i / 251) & 0xFF);
    return bytes;
}

class TUmask {
public:
    explicit TUmask(mode_t mask) : FOld(::umask(mask)) {}
    ~TUmask() { ::umask(FOld); }

private:
    mode_t FOld;
};

TEST(AtomicFile, CommitReplacesContentAndCountsBytes) {
    TTempDir dir;
    const fs::path target = dir.Path() / "text.txt";
    test::WriteFile(target, "old content that is longer than the new one\n");
    TAtomicFile file(target);
    file.Write("new ");
    file.Write("");
    file.Write("content\n");
    EXPECT_EQ(file.BytesWritten(), 12u);
    EXPECT_EQ(test::ReadFile(target), "old content that is longer than the new one\n");
    file.Commit();
    EXPECT_TRUE(file.Committed());
    EXPECT_EQ(test::ReadFile(target), "new content\n");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"text.txt"});
}

class AtomicFileMode : public ::testing::TestWithParam<mode_t> {};

TEST_P(AtomicFileMode, ReplacementKeepsTheOldFilesMode) {
    TTempDir dir;
    const fs::path target = dir.Path() / "kept.txt";
    test::WriteFile(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), GetParam()), 0);
    TAtomicFile file(target);
    file.Write("new");
    file.Commit();
    EXPECT_EQ(test::ReadFile(target), "new");
    EXPECT_EQ(ModeOf(target), GetParam());
}

INSTANTIATE_TEST_SUITE_P(AtomicFile, AtomicFileMode, ::testing::Values(0600, 0640, 0644, 0755, 0444, 0664));

struct TUmaskCase {
    mode_t Umask;
    mode_t Expected;
};

class AtomicFileUmask : public ::testing::TestWithParam<TUmaskCase> {};

TEST_P(AtomicFileUmask, NewFileGetsTheUsualModeForTheUmask) {
    TTempDir dir;
    const fs::path target = dir.Path() / "new.txt";
    {
        TUmask mask(GetParam().Umask);
        TAtomicFile file(target);
        file.Write("x");
        file.Commit();
    }
    EXPECT_EQ(ModeOf(target), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(AtomicFile, AtomicFileUmask,
                         ::testing::Values(TUmaskCase{022, 0644}, TUmaskCase{077, 0600},
                                           TUmaskCase{002, 0664}, TUmaskCase{0, 0666}));

TEST(AtomicFile, WithoutCommitTheOldTargetStaysAndNoTemporaryFileRemains) {
    TTempDir dir;
    const fs::path target = dir.Path() / "keep.txt";
    test::WriteFile(target, "precious\r\nlines\r\n");
    {
        TAtomicFile file(target);
        file.Write(Pattern(3 << 20, 1));  // more than the buffer, so bytes really reached the disk
        file.Write("tail");
        EXPECT_TRUE(fs::exists(file.TempPath()));
    }
    EXPECT_EQ(test::ReadFile(target), "precious\r\nlines\r\n");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"keep.txt"});
}

TEST(AtomicFile, WithoutCommitNoTargetAppears) {
    TTempDir dir;
    { TAtomicFile(dir.Path() / "never.txt").Write("abc"); }
    EXPECT_TRUE(Names(dir.Path()).empty());
}

TEST(AtomicFile, DiscardRemovesTheTemporaryFileAndForbidsCommit) {
    TTempDir dir;
    const fs::path target = dir.Path() / "t.txt";
    test::WriteFile(target, "old");
    TAtomicFile file(target);
    file.Write("new");
    file.Flush();
    file.Discard();
    EXPECT_FALSE(fs::exists(file.TempPath()));
    EXPECT_THROW(file.Commit(), std::logic_error);
    EXPECT_THROW(file.Write("more"), std::logic_error);
    EXPECT_EQ(test::ReadFile(target), "old");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"t.txt"});
}

TEST(AtomicFile, TemporaryFileIsHiddenBesideTheTarget) {
    TTempDir dir;
    TAtomicFile file(dir.Path() / "name.txt");
    EXPECT_EQ(file.TempPath().parent_path(), dir.Path());
    const std::string name = file.TempPath().filename().string();
    EXPECT_TRUE(name.starts_with(".name.txt.")) << name;
    EXPECT_EQ(name.size(), std::string(".name.txt.XXXXXX").size());
    EXPECT_TRUE(fs::is_regular_file(file.TempPath()));
}

TEST(AtomicFile, TemporaryContentCanBeRereadAndRewrittenBeforeCommit) {
    TTempDir dir;
    const fs::path target = dir.Path() / "t.txt";
    TAtomicFile file(target);
    file.Write("first draft");
    file.Flush();
    EXPECT_EQ(test::ReadFile(file.TempPath()), "first draft");
    test::WriteFile(file.TempPath(), "final");
    file.Commit();
    EXPECT_EQ(test::ReadFile(target), "final");
}

TEST(AtomicFile, MixedSmallAndLargeWritesArriveInOrder) {
    TTempDir dir;
    const fs::path target = dir.Path() / "big.bin";
    const std::vector<std::string> pieces = {Pattern(10, 1), Pattern((1 << 20) - 5, 2),
                                             Pattern(7, 3),  Pattern(3 << 20, 4),
                                             Pattern(1, 5),  Pattern(1 << 20, 6)};
    std::string expected;
    TAtomicFile file(target);
    for (const auto& piece : pieces) {
        file.Write(piece);
        expected += piece;
    }
    EXPECT_EQ(file.BytesWritten(), expected.size());
    file.Commit();
    EXPECT_TRUE(test::ReadFile(target) == expected);
}

TEST(AtomicFile, WritingThroughASymbolicLinkKeepsTheLink) {
    TTempDir dir;
    const fs::path real = dir.Path() / "real.txt";
    const fs::path link = dir.Path() / "link.txt";
    test::WriteFile(real, "old");
    fs::create_symlink("real.txt", link);
    TAtomicFile file(link);
    file.Write("new");
    file.Commit();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::ReadFile(real), "new");
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"link.txt", "real.txt"}));
}

TEST(AtomicFile, LongFileNamesStillGetATemporaryFile) {
    TTempDir dir;
    const fs::path target = dir.Path() / (std::string(250, 'n') + ".txt");
    TAtomicFile file(target);
    file.Write("x");
    file.Commit();
    EXPECT_EQ(test::ReadFile(target), "x");
}

struct TCreateFailure {
    const char* Name;
    const char* Target;  // relative to the test folder, which holds a regular file "plain"
    const char* Reason;
};

class AtomicFileCreateFailure : public ::testing::TestWithParam<TCreateFailure> {};

TEST_P(AtomicFileCreateFailure, ThrowsCannotCreateFile) {
    TTempDir dir;
    test::WriteFile(dir.Path() / "plain", "untouched");
    fs::create_directory(dir.Path() / "folder");
    const fs::path target = dir.Path() / GetParam().Target;
    const auto error = ErrorFrom([&] { TAtomicFile file(target); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(std::string(error->what()), "Cannot create file " + target.string());
    EXPECT_EQ(error->Reason(), GetParam().Reason);
    EXPECT_EQ(test::ReadFile(dir.Path() / "plain"), "untouched");
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"folder", "plain"}));
}

INSTANTIATE_TEST_SUITE_P(
    AtomicFile, AtomicFileCreateFailure,
    ::testing::Values(TCreateFailure{"FolderIsAFile", "plain/out.txt", "Not a directory"},
                      TCreateFailure{"FolderMissing", "missing/out.txt", "No such file or directory"},
                      TCreateFailure{"TargetIsAFolder", "folder", "Is a directory"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(AtomicFile, TargetTurnedIntoAFolderMakesCommitFailAndLeavesNothingBehind) {
    TTempDir dir;
    const fs::path target = dir.Path() / "out.txt";
    TAtomicFile file(target);
    file.Write("content");
    fs::create_directory(target);
    test::WriteFile(target / "inside", "kept");
    const auto error = ErrorFrom([&] { file.Commit(); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(std::string(error->what()), "Cannot create file " + target.string());
    EXPECT_FALSE(error->Reason().empty());
    EXPECT_EQ(test::ReadFile(target / "inside"), "kept");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"out.txt"});
}

// The file size limit makes write(2) fail with EFBIG for root too, unlike permission tricks.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &FOld);
        rlimit limit = FOld;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }

private:
    rlimit FOld{};
    void (*FOldHandler)(int);
};

// Size 2 MiB goes straight past the buffer and fails inside Write(); 10000 bytes stay buffered and
// fail only when Commit() hands them over.
class AtomicFileWriteFailure : public ::testing::TestWithParam<std::size_t> {};

TEST_P(AtomicFileWriteFailure, ThrowsRemovesTheTemporaryFileAndNeverCommits) {
    TTempDir dir;
    const fs::path target = dir.Path() / "out.txt";
    test::WriteFile(target, "old");
    TAtomicFile file(target);
    std::optional<EFileError> error;
    {
        TFileSizeLimit limit(4096);
        error = ErrorFrom([&] {
            file.Write(Pattern(GetParam(), 7));
            file.Commit();
        });
    }
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(std::string(error->what()), "Cannot write file " + target.string());
    EXPECT_EQ(error->Reason(), "File too large");
    EXPECT_FALSE(fs::exists(file.TempPath()));

    // A caller that ignores the failure must not get a truncated file in place of the old one.
    const auto commitError = ErrorFrom([&] { file.Commit(); });
    ASSERT_TRUE(commitError.has_value());
    EXPECT_EQ(std::string(commitError->what()), "Cannot write file " + target.string());
    EXPECT_EQ(test::ReadFile(target), "old");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"out.txt"});
}

INSTANTIATE_TEST_SUITE_P(AtomicFile, AtomicFileWriteFailure, ::testing::Values(2u << 20, 10000u));

}  // namespace
}  // namespace odz
