// The command-line tool, run as a user runs it.

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <iterator>
#include <map>
#include <optional>

#include "CliOptions.h"
#include "TestSupport.h"

namespace odz {
namespace {

namespace fs = std::filesystem;

struct TRun {
    int status;
    std::string out;
    std::string err;
};

class Cli : public ::testing::Test {
protected:
    // Runs the tool with the arguments (already quoted for the shell), standard input coming through a
    // pipe. FEnvironment goes before the program, FRedirect after the usual redirections.
    TRun Run(const std::string& arguments, const std::string& input = "",
             std::string program = ODZ_CLI_PATH) {
        test::WriteFile(FDir / "stdin", input);
        const std::string command = "cd '" + FDir.Path().string() + "' && cat stdin | " + FEnvironment + "'" +
                                    program + "' " + arguments + " >stdout 2>stderr" + FRedirect;
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test::ReadFile(FDir / "stdout"),
                test::ReadFile(FDir / "stderr")};
    }
    std::string P(std::string_view name) const { return "'" + (FDir / name).string() + "'"; }

    test::TTempDir FDir;
    std::string FEnvironment;
    std::string FRedirect;
};

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

// The options from standard input to standard output: the arguments, the input and the output.
TEST_F(Cli, StandardInputAndOutputWithOptions) {
    using namespace std::string_literals;
    const std::tuple<const char*, const char*, std::string> cases[] = {
        {"-f utf8 -t viqr", "Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t. I'm\n", "Tie^'ng Vie^.t. I\\'m\r\n"},
        {"-f utf8 -t viscii", "\xC2\xA9\xE1\xBB\x87", "&#169;\xAE\r\n"},
        {"-f utf8 -t viqr --keys '1234567890!'", "\xE1\xBA\xA5 1 a1\n", "a61 1 a!1\r\n"},
        {"-f viscii -t utf8 --replace b xx", "abcabc", "axxcaxxc\r\n"},
        {"-f viqr -t utf8 --html", "<a title=a'>a'", "<a title=a'>\xC3\xA1\r\n"},
        // Letters written with combining marks: kept in Unicode targets unless --compose joins them.
        {"-f utf8 -t utf16", "a\xCC\x81", "\xFF\xFE\x61\0\x01\x03\r\0\n\0"s},
        {"-f utf8 -t utf16 --compose", "a\xCC\x81", "\xFF\xFE\xE1\0\r\0\n\0"s},
        {"-f CP1258 -t utf8-nfd", "\xE1\xE2\xEC", "a\xCC\x81\xC3\xA2\xCC\x81\r\n"}};
    for (const auto& [arguments, input, output] : cases) {
        const TRun run = Run("convert " + std::string(arguments) + " - -", input);
        EXPECT_EQ(run.status, 0) << arguments << run.err;
        EXPECT_EQ(run.out, output) << arguments;
        EXPECT_EQ(run.err.find("1 character the target cannot hold written as &#N; references") !=
                      std::string::npos,
                  std::string_view(arguments) == "-f utf8 -t viscii")
            << run.err;
    }
}

// Standard input and output are streams: they give byte for byte what a conversion of files gives,
// whether or not the temporary folder can be used, and leave nothing in it. A page without a charset
// declaration is held back from its <head> on, beyond a bound in an unnamed file.
TEST_F(Cli, StreamsGiveWhatFilesGive) {
    const std::string head = "<html><head><title>x</title></head><body>\n";
    std::string body;
    while (body.size() < (5 << 20)) body += "Vi\xAEt Nam <b>\xAA</b>\n";
    // What is converted, from and to, and the input.
    const std::tuple<const char*, const char*, const char*, std::string> cases[] = {
        {"letters and references", "utf8", "viscii", "\xC2\xA9\xE1\xBB\x87 a\r\nb"},
        {"UTF-16 in", "utf16", "utf8", std::string("\xFF\xFE\x61\0\xBF\x1E\r\0\n\0b\0", 12)},
        {"UTF-16 out", "viscii", "utf16", "Vi\xAEt\n"},
        {"a page gets its declaration", "viscii", "utf8", head + "Vi\xAEt\n"},
        {"a long page without declaration", "viscii", "utf8", head + body},
        {"a declaration far down", "viscii", "ncr", head + body + "<meta charset=\"x\">\n"},
        // A value read across several writes is held back until it can be edited.
        {"a long declaration", "ncr", "utf8", "<meta charset=\"" + std::string(3 << 19, 'x') + "\">\n"},
    };
    fs::create_directory(FDir / "tmp");
    for (const auto& [what, from, to, input] : cases) {
        SCOPED_TRACE(what);
        test::WriteFile(FDir / "in", input);
        fs::remove(FDir / "out");
        FEnvironment.clear();
        const std::string pair = std::string("convert -f ") + from + " -t " + to;
        ASSERT_EQ(Run(pair + " in out").status, 0);
        const std::string expected = test::ReadFile(FDir / "out");
        for (const char* tmp : {"tmp", "/nonexistent/tmp"}) {
            FEnvironment = std::string("TMPDIR=") + tmp + " ";
            const TRun run = Run(pair + " - -", input);
            EXPECT_EQ(run.status, 0) << run.err;
            EXPECT_EQ(run.out.size(), expected.size());
            EXPECT_TRUE(run.out == expected);
            EXPECT_TRUE(fs::is_empty(FDir / "tmp"));
        }
    }
}

TEST_F(Cli, StreamFailuresSayWhatIsWrong) {
    const std::pair<const char*, const char*> cases[] = {
        {" <.", "odizodoruz-cli: Cannot read standard input (Is a directory)\n"},
        {" >/dev/full", "odizodoruz-cli: Cannot write standard output (No space left on device)\n"},
    };
    for (const auto& [redirect, message] : cases) {
        FRedirect = redirect;
        const TRun run = Run("convert -f viscii -t utf8 - -", "Vi\xAEt\n");
        EXPECT_EQ(run.status, 1) << redirect;
        EXPECT_EQ(run.err, message);
    }
}

// A reader that stops early ends the tool as it ends cat: quietly, by SIGPIPE, leaving nothing behind.
TEST_F(Cli, AReaderThatStopsEarlyEndsTheToolQuietly) {
    std::string input;
    while (input.size() < (4 << 20)) input += "Vi\xAEt Nam\n";
    test::WriteFile(FDir / "in", input);
    fs::create_directory(FDir / "tmp");
    const std::string command = "cd '" + FDir.Path().string() +
                                "' && (TMPDIR=tmp '" ODZ_CLI_PATH
                                "' convert -f viscii -t utf8 - - <in 2>stderr; echo $? >status) | head -c 10 "
                                ">stdout";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(test::ReadFile(FDir / "status"), std::to_string(128 + SIGPIPE) + "\n");
    EXPECT_EQ(test::ReadFile(FDir / "stderr"), "");
    EXPECT_EQ(test::ReadFile(FDir / "stdout"), "Vi\xE1\xBB\x87t Nam");
    EXPECT_TRUE(fs::is_empty(FDir / "tmp"));
}

// Interrupted in the middle of a file, the tool leaves the old target as it was and nothing else, and
// ends as the signal would have. SIGKILL too, where the file system has unnamed files.
TEST_F(Cli, AnInterruptedConversionLeavesTheOldTargetAndNothingElse) {
    fs::create_directory(FDir / "out");
    const int probe = ::open((FDir / "out").c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (probe >= 0) ::close(probe);
    ASSERT_EQ(::mkfifo((FDir / "slow").c_str(), 0600), 0);
    std::string chunk;
    while (chunk.size() < (1 << 20)) chunk += "Vi\xAEt Nam\n";
    const std::string target = (FDir / "out" / "a.txt").string();
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
        if (signal == SIGKILL && probe < 0) continue;
        SCOPED_TRACE(signal);
        test::WriteFile(target, "old");
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execl(ODZ_CLI_PATH, ODZ_CLI_PATH, "convert", "--overwrite", "-f", "viscii", "-t", "utf8",
                    (FDir / "slow").c_str(), target.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        const auto oldPipeAction = std::signal(SIGPIPE, SIG_IGN);
        const int input = ::open((FDir / "slow").c_str(), O_WRONLY);
        // Once three megabytes went in, the tool is well inside the file.
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(::write(input, chunk.data(), chunk.size()), ssize_t(chunk.size()));
        ::kill(pid, signal);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::close(input);
        std::signal(SIGPIPE, oldPipeAction);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(std::distance(fs::directory_iterator(FDir / "out"), {}), 1);
        EXPECT_EQ(test::ReadFile(target), "old");
    }
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
    // As for a single file, the search text is replaced also by nothing.
    run =
        Run("convert -f viscii -t ncr --overwrite --replace b '' --mask '*.txt' " + P("in") + " " + P("out"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::ReadFile(FDir / "out" / "sub" / "c.txt"), "acac\r\n");
    test::WriteFile(FDir / "in" / "d.htm", "a&#769;");
    run = Run("convert -f ncr -t utf8 --compose --mask '*.htm' " + P("in") + " " + P("joined"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::ReadFile(FDir / "joined" / "d.htm"), "\xC3\xA1\r\n");
}

// Each file's encoding detected: the same bytes as conversions that name the right encodings; a file
// whose encoding is not sure is left alone and named.
TEST_F(CliFolders, DetectsEachFilesEncoding) {
    const std::string prose =
        "Ng\xC6\xB0\xE1\xBB\x9Di b\xC3\xA1n h\xC3\xA0ng rong \xC4\x91\xE1\xBB\x99i n\xC3\xB3n "
        "l\xC3\xA1, g\xC3\xA1nh tr\xC3\xAAn vai nh\xE1\xBB\xAFng th\xC3\xBAng c\xE1\xBB\x91m "
        "xanh th\xC6\xA1m m\xC3\xB9i l\xC3\xBA\x61 non.\n";
    fs::remove_all(FDir / "in");
    fs::create_directories(FDir / "in" / "sub");
    fs::create_directories(FDir / "want" / "sub");
    test::WriteFile(FDir / "prose.txt", prose);
    const std::pair<const char*, const char*> files[] = {{"viscii", "a.txt"},
                                                         {"vni", "sub/b.txt"},
                                                         {"tcvn2", "c.txt"},
                                                         {"utf16", "sub/d.txt"},
                                                         {"viqr", "e.txt"}};
    for (const auto& [encoding, name] : files) {
        ASSERT_EQ(
            Run("convert -f utf8 -t " + std::string(encoding) + " " + P("prose.txt") + " " + P("in/") + name)
                .status,
            0);
        ASSERT_EQ(Run("convert -f " + std::string(encoding) + " -t ncr " + P("in/") + name + " " +
                      P("want/") + name)
                      .status,
                  0);
    }
    test::WriteFile(FDir / "in" / "f.txt", "Plain ASCII text.\n");
    test::WriteFile(FDir / "in" / "g.dat", std::string("\x7F\x45LF\x02\x01\0\0", 8));

    TRun run = Run("detect --mask '*.txt' " + P("in") + " " + P("in/g.dat"));
    EXPECT_EQ(run.status, 1) << run.err;
    const std::string in = (FDir / "in").string() + "/";
    EXPECT_EQ(run.out, in + "a.txt: viscii 0.99\n" + in + "c.txt: tcvn1 0.99, same text as tcvn2\n" + in +
                           "e.txt: viqr 0.99\n" + in +
                           "f.txt: ascii (no Vietnamese letters: every encoding reads it alike)\n" + in +
                           "sub/b.txt: vni 1.00\n" + in + "sub/d.txt: utf16 1.00\n" + in +
                           "g.dat: binary (not a text file)\n");

    run = Run("convert -f auto -t ncr " + P("in") + " " + P("out"));
    EXPECT_EQ(run.status, 1);
    for (const auto& [encoding, name] : files)
        EXPECT_EQ(test::ReadFile(FDir / "out" / name), test::ReadFile(FDir / "want" / name)) << name;
    EXPECT_EQ(test::ReadFile(FDir / "out" / "f.txt"), "Plain ASCII text.\r\n");
    EXPECT_FALSE(fs::exists(FDir / "out" / "g.dat"));
    EXPECT_EQ(run.err,
              "Converted 6 files.\nSkipped 1 file (listed below).\nNot converted:\n  " + in +
                  "g.dat: not converted: not a text file\nRead as ascii: 1 file.\nRead as tcvn1: 1 "
                  "file.\nRead as utf16: 1 file.\nRead as viqr: 1 file.\nRead as viscii: 1 file.\nRead "
                  "as vni: 1 file.\n");

    // One word of a legacy encoding is no evidence: left alone, unless the best guess is asked for.
    test::WriteFile(FDir / "word.txt", "Vi\xEAt\n");
    run = Run("convert -f auto -t utf8 " + P("word.txt") + " " + P("word-out.txt"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("not detected with confidence"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(FDir / "word-out.txt"));
    // Standard input is detected from its start and converted whole.
    run = Run("convert -f auto -t utf8 - -", test::ReadFile(FDir / "in" / "sub" / "b.txt"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, test::ReadFile(FDir / "prose.txt").insert(prose.size() - 1, "\r"));
}

TEST_F(CliFolders, ReplacesInPlace) {
    // Another run's file in the making is no source.
    test::WriteFile(FDir / "in" / "sub" / ".odztmp.AbC123.c.txt", "abc");
    const TRun run = Run("replace --find abc --with X " + P("in") + " " + P("in"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "Wrote 3 files.\n");
    EXPECT_EQ(test::ReadFile(FDir / "in" / "sub" / "c.txt"), "XX\r\n");
    EXPECT_EQ(test::ReadFile(FDir / "in" / "sub" / ".odztmp.AbC123.c.txt"), "abc");
}

TEST_F(CliFolders, UsageErrors) {
    test::WriteFile(FDir / "out", "a file");
    const std::pair<std::string, std::string> cases[] = {
        {"", "no command given"},
        {"frobnicate", "unknown command 'frobnicate'"},
        {"convert -f klingon -t utf8 a b", "unknown encoding 'klingon'"},
        {"convert -f utf8 -t UTF8 a b", "the source and target encodings are the same"},
        {"convert -f utf8 a b", "the target encoding is missing"},
        {"convert -f viscii -t utf8 " + P("none.txt") + " x", "does not exist"},
        {"convert -f viscii -t utf8 " + P("in/a.txt"), "TARGET is missing"},
        {"convert -f viscii -t utf8 --keys abc " + P("in/a.txt") + " x",
         "bad key string: the key string must hold"},
        {"convert -f viscii -t utf8 --keys \"''?~.^(+Dd\\\\\" " + P("in/a.txt") + " x",
         "bad key string: keys Sac and Huyen are the same"},
        {"convert -f viscii -t utf8 --bogus " + P("in/a.txt") + " x", "unknown option --bogus"},
        {"convert -f viscii -t utf8 --jobs 0 " + P("in") + " x", "--jobs takes a number from 1 to 256: '0'"},
        {"convert -f viscii -t utf8 '' x", "SOURCE is an empty name"},
        {"convert -f viscii -t utf8 " + P("in/a.txt") + " ''", "TARGET is an empty name"},
        {"replace --find a --with b " + P("in") + " ''", "TARGET_DIR is an empty name"},
        {"convert -f viscii -t utf8 -- --html x", "SOURCE '--html' does not exist"},
        {"convert -f viscii -t utf8 " + std::string(300, 'x') + " x", "cannot be read (File name too long)"},
        {"replace --with x " + P("in") + " " + P("x"), "there is nothing to find"},
        {"replace --find x --with x " + P("in") + " " + P("x"), "are the same"},
        {"replace --find x --with y " + P("in/a.txt") + " " + P("x"), "is not a folder"},
        {"convert -f viscii -t utf8 " + P("in") + " " + P("in/"), "are the same folder"},
        {"convert -f viscii -t utf8 " + P("in") + " " + P("out"), "is a file, not a folder"},
    };
    for (const auto& [arguments, message] : cases) {
        const TRun run = Run(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find(message), std::string::npos) << arguments << ": " << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

// Whether the text names the word on its own, not as part of a longer option or name ("-h" is not
// found in "--html").
bool NamesWord(const std::string& text, std::string_view word) {
    const auto partOfWord = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-'; };
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        if ((at == 0 || !partOfWord(text[at - 1])) && (end == text.size() || !partOfWord(text[end])))
            return true;
    }
    return false;
}

// The usage text and the manual page name every option the parser accepts, every command and every
// encoding, so neither can fall behind the program.
TEST_F(Cli, TheUsageTheManualAndTheCompletionNameEverything) {
    TRun run = Run("--version");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, std::string("odizodoruz-cli ") + ODIZODORUZ_VERSION + "\n");
    run = Run("--help");
    ASSERT_EQ(run.status, 0);
    const std::string usage = run.out;
    std::string manual = test::ReadFile(ODZ_MANUAL_PATH);
    ASSERT_FALSE(manual.empty());
    // Roff writes a minus as \- and changes fonts with \fB, \fI, \fR and \fP.
    for (std::size_t at = manual.find('\\'); at != std::string::npos; at = manual.find('\\', at)) {
        const bool font = at + 2 < manual.size() && manual[at + 1] == 'f';
        manual.erase(at, font ? 3 : 1);
    }
    const std::string completion = test::ReadFile(ODZ_COMPLETION_PATH);
    for (const TCliOption& option : CliOptions()) {
        EXPECT_TRUE(NamesWord(usage, option.name)) << option.name << " is missing from --help";
        EXPECT_TRUE(NamesWord(manual, option.name)) << option.name << " is missing from the manual page";
        EXPECT_TRUE(NamesWord(completion, option.name)) << option.name << " is not completed";
    }
    for (const std::string_view command : CliCommands()) {
        EXPECT_TRUE(NamesWord(manual, command)) << command << " is not in the manual";
        EXPECT_TRUE(NamesWord(completion, command)) << command << " is not completed";
    }
    for (int i = 0; i < kEncodingCount; ++i) {
        const std::string_view name = EncodingAt(i).shortName;
        EXPECT_TRUE(NamesWord(manual, name)) << name << " is not in the manual";
    }
}

TEST_F(CliFolders, OnATerminalTheSummaryStartsOnItsOwnLine) {
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (terminal < 0 || ::grantpt(terminal) != 0 || ::unlockpt(terminal) != 0) GTEST_SKIP() << "no terminals";
    const std::string name = ::ptsname(terminal);
    const int keep = ::open(name.c_str(), O_RDWR | O_NOCTTY);  // keeps the output readable afterwards
    FRedirect = " 2>" + name;
    const TRun run = Run("convert -f viscii -t utf8 " + P("in") + " " + P("out"));
    // A terminal passes what was written on a little later: read until the summary's line is whole.
    std::string shown;
    pollfd ready{terminal, POLLIN, 0};
    while ((shown.find("Converted 3 files.") == std::string::npos || shown.back() != '\n') &&
           ::poll(&ready, 1, 5000) > 0) {
        char block[4096];
        const ssize_t n = ::read(terminal, block, sizeof block);
        if (n <= 0) break;
        shown.append(block, static_cast<std::size_t>(n));
    }
    ::close(keep);
    ::close(terminal);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(shown.find(" of 3 files, "), std::string::npos) << shown;
    const std::size_t at = shown.find("Converted 3 files.");
    ASSERT_TRUE(at != std::string::npos && at >= 4) << shown;
    EXPECT_EQ(shown.substr(at - 4, 4), "\r\033[K") << test::Hex(shown);
}

TEST_F(CliFolders, FolderProblems) {
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
    // A target that cannot be made at all ends the tool with one line.
    const std::string tooLong(300, 'x');
    for (const auto& [arguments, message] :
         {std::pair{P("in") + " " + tooLong, "Cannot create " + tooLong + " (File name too long)"},
          std::pair{P("in/a.txt") + " " + P("missing/out.txt"), "Cannot create file " +
                                                                    (FDir / "missing/out.txt").string() +
                                                                    " (No such file or directory)"}}) {
        const TRun failed = Run("convert -f viscii -t utf8 " + arguments);
        EXPECT_EQ(failed.status, 1);
        EXPECT_EQ(failed.err, "odizodoruz-cli: " + message + "\n");
    }
}

// Every file and folder under the folder, with the bytes of every file, by path.
std::map<std::string, std::string> TreeContents(const fs::path& root) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).string();
        contents[name] = entry.is_directory() ? "(folder)" : test::ReadFile(entry.path());
    }
    return contents;
}

// Files converted side by side give the same targets, messages, summary and exit status as one at a
// time, with files that fail, are left alone, skipped or not tried among them.
TEST_F(CliFolders, JobsGiveWhatOneJobGives) {
    const std::string prose = "Tr\xE5m n\xE5m trong c\xF5i ng\xD7\xF5i ta, ch\xE6 t\xE0i ch\xE6 m\xAEnh\n";
    for (const char* folder : {"in/p", "in/p/q", "in/r"}) {
        fs::create_directories(FDir / folder);
        for (int i = 0; i < 12; ++i) {
            std::string text;
            for (int line = 0; line <= i * 40; ++line) text += prose;
            test::WriteFile(FDir / folder / ("f" + std::to_string(i) + ".txt"), text);
        }
    }
    test::WriteFile(FDir / "in" / "p" / "word.txt", "Vi\xEAt\n");  // no sure encoding
    test::WriteFile(FDir / "in" / "p" / "g.dat", std::string("\x7F\x45LF\0\0", 6));
    ASSERT_EQ(::mkfifo((FDir / "in" / "p" / "pipe").c_str(), 0600), 0);
    fs::create_directory_symlink(FDir / "in" / "r", FDir / "in" / "p" / "r-link");
    // In every target: a folder where a file goes (fails), a file where a folder goes (its files are
    // not tried) and a file that exists already (left alone without --overwrite).
    const auto obstacles = [&](const fs::path& out) {
        fs::create_directories(out / "p" / "f3.txt");
        test::WriteFile(out / "r", "in the way");
        test::WriteFile(out / "p" / "f5.txt", "already here");
    };
    const std::string cases[] = {
        "-f viscii -t utf8",
        "-f auto -t ncr",
        "-f viscii -t utf16 --overwrite --replace n N",
        "-f auto -t viqr --best-guess --mask '*.txt'",
    };
    int run = 0;
    for (const std::string& options : cases) {
        SCOPED_TRACE(options);
        std::optional<TRun> one;
        std::map<std::string, std::string> oneTree;
        for (const char* jobs : {"1", "4"}) {
            const fs::path out = FDir / ("out" + std::to_string(run++));
            obstacles(out);
            TRun result = Run("convert --jobs " + std::string(jobs) + " " + options + " " + P("in") + " '" +
                              out.string() + "'");
            for (std::size_t at; (at = result.err.find(out.string())) != std::string::npos;)
                result.err.replace(at, out.string().size(), "OUT");
            const auto tree = TreeContents(out);
            if (!one) {
                EXPECT_EQ(result.status, 1);
                EXPECT_NE(result.err.find("Failed: "), std::string::npos) << result.err;
                EXPECT_GT(tree.size(), 25U);
                one = result;
                oneTree = tree;
                continue;
            }
            EXPECT_EQ(result.status, one->status);
            EXPECT_EQ(result.out, one->out);
            EXPECT_EQ(result.err, one->err);
            EXPECT_TRUE(tree == oneTree);
        }
    }
}

}  // namespace
}  // namespace odz
