#include "AtomicFile.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <optional>

#include "TemporaryFiles.h"
#include "TestSupport.h"

namespace odz {
namespace {

namespace fs = std::filesystem;

using test::Names;
using test::TTempDir;

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

// A replaced file keeps its mode; a new one gets the usual mode for the umask.
TEST(AtomicFile, ModesOfReplacedAndNewFiles) {
    TTempDir dir;
    const fs::path target = dir.Path() / "t.txt";
    const auto write = [&] {
        TAtomicFile file(target);
        file.Write("new");
        file.Commit();
        EXPECT_EQ(test::ReadFile(target), "new");
    };
    for (const mode_t mode : {0600, 0640, 0644, 0755, 0444, 0664}) {
        fs::remove(target);
        test::WriteFile(target, "old");
        ASSERT_EQ(::chmod(target.c_str(), mode), 0);
        write();
        EXPECT_EQ(ModeOf(target), mode);
    }
    for (const auto& [mask, mode] :
         {std::pair<mode_t, mode_t>{022, 0644}, {077, 0600}, {002, 0664}, {0, 0666}}) {
        fs::remove(target);
        const mode_t old = ::umask(mask);
        write();
        ::umask(old);
        EXPECT_EQ(ModeOf(target), mode) << mask;
    }
}

// Every test of this group runs with unnamed new files (where the file system has them) and with the
// named ones that other file systems get.
class AtomicFileKinds : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { TAtomicFile::AllowUnnamedFiles(GetParam()); }
    void TearDown() override { TAtomicFile::AllowUnnamedFiles(true); }
    // Whether this file system gave the file the kind the test asked for.
    static bool KindAsked(const TAtomicFile& file) { return file.Unnamed() == GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(AtomicFile, AtomicFileKinds, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Unnamed" : "Named"; });

TEST_P(AtomicFileKinds, WhileWritingOnlyATemporaryFileThatWalksSkipAppearsAndWithoutCommitItGoes) {
    TTempDir dir;
    const fs::path target = dir.Path() / "keep.txt";
    test::WriteFile(target, "precious\r\nlines\r\n");
    {
        TAtomicFile file(target);
        file.Write(Pattern(3 << 20, 1));  // more than the buffer, so bytes really reached the disk
        file.Write("tail");
        if (!KindAsked(file)) GTEST_SKIP() << "this file system has no unnamed files";
        std::vector<std::string> names = Names(dir.Path());
        EXPECT_EQ(names.size(), GetParam() ? 1u : 2u);
        std::erase(names, "keep.txt");
        for (const std::string& name : names) {
            EXPECT_TRUE(name.starts_with(".odztmp.") && name.ends_with(".keep.txt")) << name;
            EXPECT_TRUE(IsTemporaryFileName(name)) << name;
        }
    }
    for (const char* name : {"keep.txt", ".keep.txt.aZ09xY", ".odztmp.aZ09xY.", ".odztmp.aZ0-xY.keep"})
        EXPECT_FALSE(IsTemporaryFileName(name)) << name;
    EXPECT_EQ(test::ReadFile(target), "precious\r\nlines\r\n");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"keep.txt"});
    { TAtomicFile(dir.Path() / "never.txt").Write("abc"); }
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"keep.txt"});
    // Discarded, the file forbids what would commit or write it.
    TAtomicFile file(target);
    file.Write("new");
    file.Flush();
    file.Discard();
    EXPECT_THROW(file.Commit(), std::logic_error);
    EXPECT_THROW(file.CommitNew(), std::logic_error);
    EXPECT_THROW(file.Write("more"), std::logic_error);
    EXPECT_EQ(test::ReadFile(target), "precious\r\nlines\r\n");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"keep.txt"});
}

// Whatever has the target's name (a dangling symbolic link too) keeps it on CommitNew(); Commit() then
// replaces it, a symbolic link itself and never what it points to.
TEST_P(AtomicFileKinds, CommitNewNeverReplacesAndCommitReplacesTheNameItself) {
    struct TCase {
        const char* name;
        std::function<void(const fs::path&)> plant;  // puts something at the target
    };
    TTempDir elsewhere;
    const fs::path real = elsewhere.Path() / "real.txt";
    const TCase cases[] = {
        {"nothing", [](const fs::path&) {}},
        {"file", [](const fs::path& t) { test::WriteFile(t, "old"); }},
        {"link", [&](const fs::path& t) { fs::create_symlink(real, t); }},
        {"dangling link", [&](const fs::path& t) { fs::create_symlink(elsewhere.Path() / "none", t); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TTempDir dir;
        const fs::path target = dir.Path() / "out.txt";
        test::WriteFile(real, "outside the folder");
        TAtomicFile file(target);
        file.Write("new");
        c.plant(target);  // after the file was opened: as by another program meanwhile
        const bool placed = file.CommitNew();
        EXPECT_EQ(placed, std::string_view(c.name) == "nothing");
        if (!placed) {
            EXPECT_FALSE(file.Committed());
            EXPECT_TRUE(fs::exists(fs::symlink_status(target)));
            EXPECT_NE(test::ReadFile(target), "new");
            file.Commit();
        }
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)));
        EXPECT_EQ(test::ReadFile(target), "new");
        EXPECT_EQ(test::ReadFile(real), "outside the folder");
        EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"out.txt"});
        EXPECT_EQ(Names(elsewhere.Path()), std::vector<std::string>{"real.txt"});
    }
}

TEST(AtomicFile, AFileSwappedInAtTheTemporaryNameNeverTakesTheTargetsPlace) {
    TTempDir dir;
    const fs::path target = dir.Path() / "t.txt";
    test::WriteFile(target, "old");
    TAtomicFile::AllowUnnamedFiles(false);
    TAtomicFile file(target);
    TAtomicFile::AllowUnnamedFiles(true);
    file.Write("new");
    file.Flush();
    std::vector<std::string> names = Names(dir.Path());
    std::erase(names, "t.txt");
    ASSERT_EQ(names.size(), 1u);
    // As a walk that took the file for a source and wrote its own over it would.
    test::WriteFile(dir.Path() / "other", "partial");
    fs::rename(dir.Path() / "other", dir.Path() / names[0]);
    const auto error = ErrorFrom([&] { file.Commit(); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->FullText(),
              "Cannot create file " + target.string() + " (Another program replaced the temporary file)");
    EXPECT_EQ(test::ReadFile(target), "old");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"t.txt"});
}

// A signal that ends the program removes its named temporary file; an unnamed one goes even with
// SIGKILL. The old target stays as it was.
TEST(AtomicFileDeathTest, AnInterruptedWriteLeavesNothingBehind) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGKILL}) {
        SCOPED_TRACE(signal);
        TTempDir dir;
        const fs::path target = dir.Path() / "t.txt";
        test::WriteFile(target, "old");
        bool unnamed = signal == SIGKILL;
        if (unnamed) {
            TAtomicFile probe(dir.Path() / "probe");
            unnamed = probe.Unnamed();
        }
        if (signal == SIGKILL && !unnamed) continue;  // this file system has no unnamed files
        EXPECT_EXIT(
            {
                TAtomicFile::AllowUnnamedFiles(unnamed);
                RemoveTemporaryFilesOnSignals();
                TAtomicFile file(target);
                file.Write(Pattern(3 << 20, 2));
                ::raise(signal);
            },
            ::testing::KilledBySignal(signal), "");
        EXPECT_EQ(test::ReadFile(target), "old");
        EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"t.txt"});
    }
}

// Under a long name too, whose temporary file's name must still fit.
TEST_P(AtomicFileKinds, MixedSmallAndLargeWritesArriveInOrderAndReadBack) {
    TTempDir dir;
    const fs::path target = dir.Path() / (std::string(250, 'n') + ".bin");
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
    std::string back(expected.size() + 10, '\0');
    std::size_t got = 0;
    while (const std::size_t n =
               file.ReadBack(got, back.data() + got, std::min<std::size_t>(999999, back.size() - got)))
        got += n;
    back.resize(got);
    EXPECT_TRUE(back == expected);
    file.Commit();
    EXPECT_TRUE(file.Committed());
    EXPECT_TRUE(test::ReadFile(target) == expected);
}

TEST(AtomicFile, WritingThroughASymbolicLinkKeepsTheLink) {
    TTempDir dir;
    const fs::path real = dir.Path() / "real.txt";
    const fs::path link = dir.Path() / "link.txt";
    test::WriteFile(real, "old");
    fs::create_symlink("real.txt", link);
    TAtomicFile file(link, TAtomicFile::TLinks::Follow);
    file.Write("new");
    file.Commit();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::ReadFile(real), "new");
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"link.txt", "real.txt"}));
}

TEST(AtomicFile, CreateFailuresThrowCannotCreateFile) {
    // Targets relative to the test folder, which holds a regular file "plain" and a folder "folder".
    const std::pair<std::string, const char*> cases[] = {{"plain/out.txt", "Not a directory"},
                                                         {"missing/out.txt", "No such file or directory"},
                                                         {"folder", "Is a directory"},
                                                         {std::string(300, 'n'), "File name too long"}};
    for (const auto& [name, reason] : cases) {
        TTempDir dir;
        test::WriteFile(dir.Path() / "plain", "untouched");
        fs::create_directory(dir.Path() / "folder");
        const fs::path target = dir.Path() / name;
        const auto error = ErrorFrom([&] { TAtomicFile file(target); });
        ASSERT_TRUE(error.has_value()) << name;
        EXPECT_EQ(error->FullText(), "Cannot create file " + target.string() + " (" + reason + ")");
        EXPECT_EQ(test::ReadFile(dir.Path() / "plain"), "untouched");
        EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"folder", "plain"}));
    }
}

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

// 2 MiB go straight past the buffer and fail inside Write(); 10000 bytes stay buffered and fail only
// when Commit() hands them over.
TEST(AtomicFile, AFailedWriteThrowsRemovesTheTemporaryFileAndNeverCommits) {
    for (const std::size_t size : {std::size_t{2} << 20, std::size_t{10000}}) {
        SCOPED_TRACE(size);
        TTempDir dir;
        const fs::path target = dir.Path() / "out.txt";
        test::WriteFile(target, "old");
        TAtomicFile file(target);
        // The file size limit makes write(2) fail with EFBIG for root too, unlike permission tricks.
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{}, limit{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        limit = {4096, old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::optional<EFileError> error = ErrorFrom([&] {
            file.Write(Pattern(size, 7));
            file.Commit();
        });
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->FullText(), "Cannot write file " + target.string() + " (File too large)");
        // A caller that ignores the failure must not get a truncated file in place of the old one.
        const auto commitError = ErrorFrom([&] { file.Commit(); });
        ASSERT_TRUE(commitError.has_value());
        EXPECT_EQ(std::string(commitError->what()), "Cannot write file " + target.string());
        EXPECT_EQ(test::ReadFile(target), "old");
        EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"out.txt"});
    }
}

}  // namespace
}  // namespace odz
