// The command-line tool, run as a user runs it.

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>

#include "TestSupport.h"

namespace odz {
namespace {

struct TRun {
    int status;
    std::string out;
    std::string err;
};

class Cli : public ::testing::Test {
protected:
    // Runs the tool with the arguments (already quoted for the shell) and optional standard input.
    TRun Run(const std::string& arguments, const std::string& input = "",
             std::string program = ODZ_CLI_PATH) {
        test::WriteFile(FDir / "stdin", input);
        const std::string command = "'" + program + "' " + arguments + " <'" + (FDir / "stdin").string() +
                                    "' >'" + (FDir / "stdout").string() + "' 2>'" +
                                    (FDir / "stderr").string() + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test::ReadFile(FDir / "stdout"),
                test::ReadFile(FDir / "stderr")};
    }
    std::string P(std::string_view name) const { return "'" + (FDir / name).string() + "'"; }

    test::TTempDir FDir;
};

TEST_F(Cli, ListsTheEncodings) {
    const TRun run = Run("encodings");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "viqr    VIQR\nztwin   ZTWin\nviscii  VISCII\nvps     VPS\nvni     VNIWind\ntcvn1   TCVN1\n"
              "tcvn2   TCVN2\nncr     Decimal NCR UTF-8\nutf8    Unicode UTF-8\nutf16   Unicode16\n");
}

TEST_F(Cli, ConvertsAFile) {
    test::WriteFile(FDir / "in.txt", "Vi\xAEt Nam\n");
    TRun run = Run("convert -f viscii -t 'Unicode UTF-8' " + P("in.txt") + " " + P("out.txt"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::ReadFile(FDir / "out.txt"), "Vi\xE1\xBB\x87t Nam\r\n");
    EXPECT_EQ(run.err, "Converted " + (FDir / "in.txt").string() + " (VISCII) to " +
                           (FDir / "out.txt").string() + " (Unicode UTF-8)\n");

    // An existing target is left alone without --overwrite.
    test::WriteFile(FDir / "in.txt", "\xAA");
    run = Run("convert -f VISCII -t UTF8 " + P("in.txt") + " " + P("out.txt"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(test::ReadFile(FDir / "out.txt"), "Vi\xE1\xBB\x87t Nam\r\n");
    EXPECT_NE(run.err.find("already exists"), std::string::npos) << run.err;
    run = Run("convert --overwrite -f viscii -t utf8 " + P("in.txt") + " " + P("out.txt"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::ReadFile(FDir / "out.txt"), "\xE1\xBA\xBF\r\n");
}

TEST_F(Cli, StandardInputAndOutput) {
    TRun run = Run("convert -f utf8 -t viqr - -", "Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t. I'm\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Tie^'ng Vie^.t. I\\'m\r\n");
    run = Run("convert -f utf8 -t viscii - -", "\xC2\xA9\xE1\xBB\x87");
    EXPECT_EQ(run.out, "&#169;\xAE\r\n");
    EXPECT_NE(run.err.find("1 character the target cannot hold written as &#N; references"),
              std::string::npos)
        << run.err;
}

TEST_F(Cli, KeysReplacementAndHtml) {
    TRun run = Run("convert -f utf8 -t viqr --keys '1234567890!' - -", "\xE1\xBA\xA5 1 a1\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "a61 1 a!1\r\n");
    run = Run("convert -f viscii -t utf8 --replace b xx - -", "abcabc");
    EXPECT_EQ(run.out, "axxcaxxc\r\n");
    run = Run("convert -f viqr -t utf8 --html - -", "<a title=a'>a'");
    EXPECT_EQ(run.out, "<a title=a'>\xC3\xA1\r\n");
}

TEST_F(Cli, UsageErrors) {
    test::WriteFile(FDir / "in.txt", "x");
    const std::pair<std::string, std::string> cases[] = {
        {"", "no command given"},
        {"frobnicate", "unknown command 'frobnicate'"},
        {"convert -f klingon -t utf8 a b", "unknown encoding 'klingon'"},
        {"convert -f utf8 -t UTF8 a b", "the source and target encodings are the same"},
        {"convert -f utf8 a b", "the target encoding is missing"},
        {"convert -f viscii -t utf8 " + P("none.txt") + " x", "does not exist"},
        {"convert -f viscii -t utf8 " + P("in.txt"), "TARGET is missing"},
        {"convert -f viscii -t utf8 --keys abc " + P("in.txt") + " x",
         "bad key string: the key string must hold"},
        {"convert -f viscii -t utf8 --keys \"''?~.^(+Dd\\\\\" " + P("in.txt") + " x",
         "bad key string: keys Sac and Huyen are the same"},
        {"convert -f viscii -t utf8 --bogus " + P("in.txt") + " x", "unknown option --bogus"},
    };
    for (const auto& [arguments, message] : cases) {
        const TRun run = Run(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find(message), std::string::npos) << arguments << ": " << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

TEST_F(Cli, FailureExitsWithOne) {
    test::WriteFile(FDir / "in.txt", "x");
    const TRun run = Run("convert -f viscii -t utf8 " + P("in.txt") + " " + P("missing/out.txt"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "odizodoruz-cli: Cannot create file " + (FDir / "missing/out.txt").string() +
                           " (No such file or directory)\n");
}

TEST_F(Cli, KeysComeFromTheSettingsFileBesideTheProgram) {
    std::filesystem::create_directory(FDir / "bin");
    std::filesystem::copy_file(ODZ_CLI_PATH, FDir / "bin" / "odizodoruz-cli");
    test::WriteFile(FDir / "bin" / "odizodoruz.ini", "[VN Key Current Encode]\nConversion=1234567890!\n");
    const TRun run =
        Run("convert -f utf8 -t viqr - -", "\xE1\xBA\xA5", (FDir / "bin" / "odizodoruz-cli").string());
    EXPECT_EQ(run.out, "a61\r\n");
    // The tool reads the settings, it never writes them.
    EXPECT_EQ(test::ReadFile(FDir / "bin" / "odizodoruz.ini"),
              "[VN Key Current Encode]\nConversion=1234567890!\n");
    std::filesystem::remove(FDir / "bin" / "odizodoruz.ini");
    Run("convert -f utf8 -t viqr - -", "x", (FDir / "bin" / "odizodoruz-cli").string());
    EXPECT_FALSE(std::filesystem::exists(FDir / "bin" / "odizodoruz.ini"));
}

}  // namespace
}  // namespace odz

namespace odz {
namespace {

class CliFolders : public Cli {
protected:
    CliFolders() {
        std::filesystem::create_directories(FDir / "in" / "sub");
        test::WriteFile(FDir / "in" / "a.txt", "Vi\xAEt\n");
        test::WriteFile(FDir / "in" / "b.htm", "<b>\xAA</b>");
        test::WriteFile(FDir / "in" / "sub" / "c.txt", "abcabc");
    }
};

TEST_F(CliFolders, ConvertsATree) {
    TRun run = Run("convert -f viscii -t utf8 " + P("in") + " " + P("out"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "Converted 3 files.\n");
    EXPECT_EQ(test::ReadFile(FDir / "out" / "sub" / "c.txt"), "abcabc\r\n");
    EXPECT_EQ(test::ReadFile(FDir / "out" / "b.htm"), "<b>\xE1\xBA\xBF</b>\r\n");

    run = Run("convert -f viscii -t utf8 --mask '*.txt' " + P("in") + " " + P("out"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "Converted 0 files.\nLeft 2 files alone because the target already existed (--overwrite "
              "replaces them).\nNot converted:\n  " +
                  (FDir / "in" / "a.txt").string() + ": left alone: the target already exists\n  " +
                  (FDir / "in" / "sub" / "c.txt").string() + ": left alone: the target already exists\n");
    run =
        Run("convert -f viscii -t ncr --overwrite --replace b xx --mask '*.txt' " + P("in") + " " + P("out"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::ReadFile(FDir / "out" / "sub" / "c.txt"), "axxcaxxc\r\n");
    EXPECT_EQ(test::ReadFile(FDir / "out" / "a.txt"), "Vi&#7879;t\r\n");
}

TEST_F(CliFolders, ReplacesInPlace) {
    const TRun run = Run("replace --find abc --with X " + P("in") + " " + P("in"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "Wrote 3 files.\n");
    EXPECT_EQ(test::ReadFile(FDir / "in" / "sub" / "c.txt"), "XX\r\n");
}

TEST_F(CliFolders, FolderProblems) {
    test::WriteFile(FDir / "out", "a file");
    const std::pair<std::string, std::string> usage[] = {
        {"replace --with x " + P("in") + " " + P("x"), "there is nothing to find"},
        {"replace --find x --with x " + P("in") + " " + P("x"), "are the same"},
        {"replace --find x --with y " + P("in/a.txt") + " " + P("x"), "is not a folder"},
        {"convert -f viscii -t utf8 " + P("in") + " " + P("in/"), "are the same folder"},
        {"convert -f viscii -t utf8 " + P("in") + " " + P("out"), "is a file, not a folder"},
    };
    for (const auto& [arguments, message] : usage) {
        const TRun run = Run(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    // A failure ends nothing: the other files are converted, and every file that is not is named.
    std::filesystem::create_directories(FDir / "out2" / "a.txt");
    test::WriteFile(FDir / "out2" / "sub", "in the way");
    test::WriteFile(FDir / "in" / "caf\xE9.txt", "\xAA");
    ASSERT_EQ(::mkfifo((FDir / "in" / "pipe").c_str(), 0600), 0);
    std::filesystem::create_directory_symlink(FDir / "in" / "sub", FDir / "in" / "a-link");
    const TRun run = Run("convert -f viscii -t utf8 " + P("in") + " " + P("out2"));
    EXPECT_EQ(run.status, 1);
    const std::string in = (FDir / "in").string() + "/";
    const std::string out = (FDir / "out2").string() + "/";
    EXPECT_EQ(run.err, "Converted 2 files.\nFailed: Cannot create file " + out +
                           "a.txt (Is a directory)\nFailed: Cannot create " + out +
                           "sub/ (File exists)\nSkipped 1 file (listed below).\nDid not try 1 file (listed "
                           "below).\nSkipped 1 folder link (listed below).\nNot converted:\n  " +
                           in + "pipe: not a regular file (fifo)\n  " + in +
                           "a-link: folder link not followed: it leads inside the source folder\n  " + in +
                           "sub/c.txt: not tried: its target folder cannot be created\n");
    EXPECT_EQ(test::ReadFile(FDir / "out2" / "caf\xE9.txt"), "\xE1\xBA\xBF\r\n");
    EXPECT_EQ(test::ReadFile(FDir / "out2" / "b.htm"), "<b>\xE1\xBA\xBF</b>\r\n");
}

}  // namespace
}  // namespace odz
