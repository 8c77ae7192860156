// One file converted as the window and the command-line tool do it.

#include <random>

#include "CharsetEditor.h"
#include "FileConversion.h"
#include "ReplaceInFile.h"
#include "ScriptedMessages.h"
#include "TestSupport.h"

namespace odz {
namespace {

// The encoding an identifier names.
TEncoding E(std::string_view identifier) {
    return *EncodingByIdentifier(identifier);
}

class FileConversion : public ::testing::Test {
protected:
    FileConversion() : FEngine(FDir / "odizodoruz.ini") { FEngine.RaRaruCreate(); }
    ~FileConversion() override { EXPECT_TRUE(FMessages.unexpected.isEmpty()); }

    TFileConversionReport Convert(const std::string& from, const std::string& to, std::string_view input,
                                  bool htmlDoc = false, std::optional<TReplacement> replace = std::nullopt,
                                  const std::string& name = "in.htm") {
        test::WriteFile(FDir / name, input);
        std::filesystem::remove(FDir / "out");
        TFileConversionRequest request;
        request.source = FDir / name;
        request.target = FDir / "out";
        request.from = E(from);
        request.to = E(to);
        request.htmlDoc = htmlDoc;
        request.replace = std::move(replace);
        request.questions = AskYesNoCancel;
        request.progress = FProgress;
        return ConvertFile(FEngine, request);
    }
    std::string Output() const { return test::ReadFile(FDir / "out"); }

    test::TTempDir FDir;
    TRaRaru FEngine;
    test::TScriptedMessages FMessages;
    TProgress* FProgress = nullptr;
};

TEST_F(FileConversion, LinePipeline) {
    struct TCase {
        const char* what;
        const char* from;
        const char* to;
        std::string input;
        std::string expected;
        bool htmlDoc = false;
        std::optional<TReplacement> replace = std::nullopt;  // done before the conversion
    };
    const TCase cases[] = {
        {"every line end becomes CR LF", "VISCII", "Unicode UTF-8", "a\nb\rc\r\nd", "a\r\nb\r\nc\r\nd\r\n"},
        {"empty file", "VISCII", "Unicode UTF-8", "", ""},
        {"empty lines kept", "VISCII", "TCVN1", "\n\n", "\r\n\r\n"},
        {"NUL bytes pass", "VISCII", "Unicode UTF-8", std::string("a\0b", 3), std::string("a\0b\r\n", 5)},
        {"UTF-8 byte-order mark dropped", "Unicode UTF-8", "VISCII", "\xEF\xBB\xBF\xE1\xBB\x87", "\xAE\r\n"},
        {"references decoded into UTF-8", "Decimal NCR UTF-8", "Unicode UTF-8", "Vi&#7879;t &#169; \xC2\xA9",
         "Vi\xE1\xBB\x87t &#169; \xC2\xA9\r\n"},
        {"a VIQR escape at a line end", "VIQR", "VISCII", "a\\\nb", "a\\\r\nb\r\n"},
        {"a tag ends with its line", "VISCII", "VIQR", "<b x=\x02.\n\x02.>", "<b x=A(?.\r\nA(?\\.>\r\n",
         true},
        {"UTF-16 target from UTF-8", "Unicode UTF-8", "Unicode16", "a\xC3\x90\n",
         std::string("\xFF\xFE\x61\0\xD0\0\r\0\n\0", 10)},
        {"legacy byte-order-mark lookalike is text", "VISCII", "Unicode UTF-8", "\xEF\xBB\xBF",
         "\xE1\xBB\x89\xE1\xBB\xAA\xC6\xAF\r\n"},
        // The search text is typed in Unicode and found in the source's own bytes.
        {"replaced in a legacy source", "VISCII", "Unicode UTF-8", "Vi\xAEt Nam\nVi\xAEt",
         "Vi\xE1\xBB\x87t-ng\xE1\xBB\xAF Nam\r\nVi\xE1\xBB\x87t-ng\xE1\xBB\xAF\r\n", false,
         TReplacement{"Vi\xE1\xBB\x87t", "Vi\xE1\xBB\x87t-ng\xE1\xBB\xAF"}},
        {"a match goes on after the one before", "VISCII", "TCVN1", "aaa", "ba\r\n", false,
         TReplacement{"aa", "b"}},
        {"replaced into UTF-16", "VISCII", "Unicode16", "abcabc",
         std::string("\xFF\xFE\x61\0x\0x\0c\0a\0x\0x\0c\0\r\0\n\0", 22), false, TReplacement{"b", "xx"}},
        {"replaced in UTF-16", "Unicode16", "Unicode UTF-8", std::string("\xFF\xFE\x61\0b\0c\0a\0b\0c\0", 14),
         "a\xE1\xBB\x87\x63\x61\xE1\xBB\x87\x63\r\n", false, TReplacement{"b", "\xE1\xBB\x87"}},
    };
    for (const TCase& c : cases) {
        const auto report = Convert(c.from, c.to, c.input, c.htmlDoc, c.replace);
        EXPECT_EQ(report.outcome, TFileConversionReport::Written) << c.what << report.Reason();
        EXPECT_EQ(test::Hex(Output()), test::Hex(c.expected)) << c.what;
    }
}

TEST_F(FileConversion, CharsetDeclarations) {
    struct TCase {
        const char* what;
        const char* from;
        const char* to;
        std::string input;
        std::string expected;
    };
    const std::string meta1258 =
        R"(<meta http-equiv="Content-Type" content="text/html; charset=windows-1258">)";
    const TCase cases[] = {
        {"declaration value edited, the rest of the line kept", "VISCII", "Unicode UTF-8",
         "<html><head>" + meta1258 + "<title>\xAE</title>\n</head>",
         R"(<html><head><meta http-equiv="Content-Type" content="text/html; charset=UTF-8"><title>ệ</title>)"
         "\r\n</head>\r\n"},
        {"no declaration: meta tag after the head tag, even on the only line", "VISCII", "Unicode UTF-8",
         "<html><head><title>x</title></head></html>",
         R"(<html><head><meta http-equiv="Content-Type" content="text/html; charset=UTF-8"><title>x</title></head></html>)"
         "\r\n"},
        {"a head tag with attributes; declaration on the last line", "VISCII", "Decimal NCR UTF-8",
         "<head lang=vi>\n<meta charset='x-viet'>", "<head lang=vi>\r\n<meta charset='UTF-8'>\r\n"},
        {"UTF-8 page into a legacy encoding", "Unicode UTF-8", "VISCII",
         "<meta charset=\"utf-8\"><p>\xE1\xBB\x87</p>", "<meta charset=\"windows-1252\"><p>\xAE</p>\r\n"},
        {"nothing inserted for a legacy target", "Unicode UTF-8", "TCVN1", "<head></head>",
         "<head></head>\r\n"},
        {"legacy to legacy keeps the declaration", "VISCII", "TCVN1", meta1258, meta1258 + "\r\n"},
        {"Windows-1258 target", "VISCII", "Windows-1258", "<meta charset=\"VISCII\">\xAE",
         "<meta charset=\"windows-1258\">\xEA\xF2\r\n"},
        {"a Windows-1258 source is a legacy one", "Windows-1258", "VISCII", meta1258 + "\xEA\xF2",
         meta1258 + "\xAE\r\n"},
        {"composite UTF-8 declared UTF-8", "Windows-1258", "Unicode UTF-8 Composite", "<head>\xEA\xF2",
         "<head>" + std::string(kUtf8MetaTag) + "\xC3\xAA\xCC\xA3\r\n"},
        {"composite UTF-8 into a legacy target", "Unicode UTF-8 Composite", "TCVN2",
         "<meta charset=utf-8>\xC3\xAA\xCC\xA3", "<meta charset=windows-1252>\xD6\r\n"},
        {"references into UTF-8 end with UTF-8", "Decimal NCR UTF-8", "Unicode UTF-8",
         "<meta charset=utf-8>&#7879;", "<meta charset=UTF-8>\xE1\xBB\x87\r\n"},
        {"XML declaration", "Unicode UTF-8", "VIQR", "<?xml version=\"1.0\" encoding=\"utf-8\"?>",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n"},
        {"a meta tag over two lines", "VISCII", "Unicode UTF-8",
         "<meta http-equiv=\"Content-Type\"\n content=\"text/html; charset=VISCII\">",
         "<meta http-equiv=\"Content-Type\"\r\n content=\"text/html; charset=UTF-8\">\r\n"},
        {"plain text mentioning a charset is not changed", "VISCII", "Unicode UTF-8",
         "the charset=VISCII line\nnext", "the charset=VISCII line\r\nnext\r\n"},
        {"a header tag is no head tag", "VISCII", "Unicode UTF-8", "<header>x</header>",
         "<header>x</header>\r\n"},
        {"a value longer than what is held in memory", "VISCII", "Unicode UTF-8",
         "<meta charset=\"" + std::string(3 << 20, 'x') + "\">\xAE",
         "<meta charset=\"UTF-8\">\xE1\xBB\x87\r\n"},
        {"the same in an XML declaration", "Unicode UTF-8", "VIQR",
         "<?xml encoding=\"" + std::string(3 << 20, '-') + "\"?>", "<?xml encoding=\"windows-1252\"?>\r\n"},
    };
    for (const TCase& c : cases) {
        const auto report = Convert(c.from, c.to, c.input, true);
        EXPECT_EQ(report.outcome, TFileConversionReport::Written) << c.what << report.Reason();
        EXPECT_EQ(Output(), c.expected) << c.what;
    }
}

// Without Overwrite All a target is replaced only on the user's word: one there from the start, one
// that another program made while the file was being converted, and a (dangling) symbolic link, which
// is replaced itself, never written through.
TEST_F(FileConversion, AnExistingTargetIsReplacedOnlyWhenAllowed) {
    class TPlanting : public TPlainProgress {
    public:
        std::function<void()> plant;
        void SetPosition(std::int64_t position) override {
            if (plant) std::exchange(plant, nullptr)();
            TPlainProgress::SetPosition(position);
        }
    };
    enum TTarget { Old, Appears, Link, Dangling };
    struct TCase {
        const char* what;
        TTarget target;
        bool overwriteAll;
        std::optional<TAnswer> answer;  // none: there is nobody to ask
        TFileConversionReport::TOutcome outcome;
    };
    const TCase cases[] = {
        {"old, No", Old, false, TAnswer::No, TFileConversionReport::LeftAlone},
        {"old, Yes", Old, false, TAnswer::Yes, TFileConversionReport::Written},
        {"old, Overwrite All", Old, true, std::nullopt, TFileConversionReport::Written},
        {"appears, nobody to ask", Appears, false, std::nullopt, TFileConversionReport::LeftAlone},
        {"appears, Yes", Appears, false, TAnswer::Yes, TFileConversionReport::Written},
        {"dangling link, nobody to ask", Dangling, false, std::nullopt, TFileConversionReport::LeftAlone},
        {"link, Cancel", Link, false, TAnswer::Cancel, TFileConversionReport::LeftAlone},
        {"link, Yes", Link, false, TAnswer::Yes, TFileConversionReport::Written},
        {"link, Overwrite All", Link, true, std::nullopt, TFileConversionReport::Written},
    };
    const std::string converted = "<head>" + std::string(kUtf8MetaTag) + "\xE1\xBB\x87\r\n";
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::TTempDir dir;
        test::WriteFile(dir / "in.htm", "<head>\xAE");
        test::WriteFile(dir / "real.txt", "real");
        TPlanting progress;
        const bool link = c.target == Link || c.target == Dangling;
        if (c.target == Old) test::WriteFile(dir / "out.htm", "old");
        if (c.target == Appears) progress.plant = [&] { test::WriteFile(dir / "out.htm", "old"); };
        if (link) std::filesystem::create_symlink(c.target == Link ? "real.txt" : "none", dir / "out.htm");
        if (c.answer) FMessages.Expect(*c.answer);
        TFileConversionRequest request{
            dir / "in.htm", dir / "out.htm", TEncoding::Viscii, TEncoding::Utf8, false, c.overwriteAll, {}};
        if (c.answer) request.questions = AskYesNoCancel;
        request.progress = &progress;
        EXPECT_EQ(ConvertFile(FEngine, request).outcome, c.outcome);
        EXPECT_EQ(std::filesystem::is_symlink(dir / "out.htm"),
                  link && c.outcome == TFileConversionReport::LeftAlone);
        if (c.outcome == TFileConversionReport::Written) {
            EXPECT_EQ(test::ReadFile(dir / "out.htm"), converted);
        } else if (!link) {
            EXPECT_EQ(test::ReadFile(dir / "out.htm"), "old");
        }
        EXPECT_EQ(test::ReadFile(dir / "real.txt"), "real");
        EXPECT_EQ(test::Names(dir.Path()), (std::vector<std::string>{"in.htm", "out.htm", "real.txt"}));
        EXPECT_TRUE(FMessages.AllAnswered());
    }
    EXPECT_EQ(FMessages.asked.size(), 5);
}

TEST_F(FileConversion, FailuresLeaveNothingBehind) {
    test::WriteFile(FDir / "in.txt", "\xAE");
    test::WriteFile(FDir / "plain", "a file, not a folder");
    const std::tuple<const char*, const char*, TEncoding, std::string> cases[] = {
        {"in.txt", "plain/out.txt", TEncoding::Utf8,
         "Cannot create file " + (FDir / "plain/out.txt").string() + " (Not a directory)"},
        {"none.txt", "out.txt", TEncoding::Utf8,
         "Cannot open file " + (FDir / "none.txt").string() + " (No such file or directory)"},
        {"in.txt", "out.txt", TEncoding::Viscii, "The source and target encodings are the same"},
    };
    for (const auto& [source, target, to, reason] : cases) {
        const auto report =
            ConvertFile(FEngine, {FDir / source, FDir / target, TEncoding::Viscii, to, false, false, {}});
        EXPECT_EQ(report.outcome, TFileConversionReport::Failed);
        EXPECT_EQ(report.Reason(), reason);
    }
    EXPECT_EQ(test::Names(FDir.Path()), (std::vector<std::string>{"in.txt", "plain"}));
}

TEST_F(FileConversion, ReferencesAreCounted) {
    const auto report = Convert("Unicode UTF-8", "VISCII", "\xC2\xA9 \xE2\x80\x9C\xE1\xBB\x87\xE2\x80\x9D");
    EXPECT_EQ(report.references, 3u);
    EXPECT_EQ(Output(), "&#169; &#8220;\xAE&#8221;\r\n");
    EXPECT_EQ(Convert("Unicode UTF-8", "VPS", "\xE1\xBB\x8C").references, 1u);
    EXPECT_EQ(Convert("Unicode UTF-8", "Unicode16", "\xC2\xA9").references, 0u);
}

// A file far larger than the read buffer, with a line longer than the buffer, comes out whole, and the
// progress reaches the file's size. (Every split by a read's edge is tried with tiny reads below.)
TEST_F(FileConversion, BigFilesStream) {
    std::string input;
    std::string expected;
    for (int i = 0; i < 100000; ++i) {
        input += "Ti\xAAng Vi\xAEt\n";
        expected += "Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t\r\n";
    }
    input += std::string(3 << 20, '\xAE') + "\r\n\r";
    for (int i = 0; i < (3 << 20); ++i) expected += "\xE1\xBB\x87";
    expected += "\r\n\r\n";
    TPlainProgress progress;
    FProgress = &progress;
    EXPECT_EQ(Convert("VISCII", "Unicode UTF-8", input, false, std::nullopt, "big.txt").outcome,
              TFileConversionReport::Written);
    EXPECT_TRUE(Output() == expected);
    EXPECT_EQ(progress.Position(), static_cast<std::int64_t>(input.size()));
}

TEST_F(FileConversion, TinyReadsWriteTheSameBytes) {
    // Read a few bytes at a time, cut anywhere (inside characters, references, VIQR spellings, tags,
    // letters written with combining marks and line ends), every conversion writes what it writes with the
    // usual reads: from every source, into every kind of target, with "HTML Doc" off and on, ordinary and odd
    // keys, a search text replaced, line ends of every kind, and a line longer than many reads. Replace alone
    // writes the same bytes too.
    std::mt19937 random(2004);
    const std::string pieces[] = {"Vi\xE1\xBB\x87t ",
                                  "\xC4\x90\xE1\xBB\x93ng \xC3\x90",
                                  "Ha. I'm a^' dd DD \\ ",
                                  "n9zD;5_7d63 ",
                                  "<b title=\"\xE1\xBA\xBF a.b\">",
                                  "<meta charset=\"windows-1258\">",
                                  "<head>",
                                  "<?xml version=\"1.0\" encoding=\"utf-8\"?>",
                                  "<i ",
                                  "> a < b ",
                                  "&#7871;&#0000000000007879 &#169; &# ",
                                  "\xE2\x80\x9C\xF0\x9F\x98\x80\xE1\xBA \xC2\xA9",
                                  "a\xCC\x82\xCC\x81 e\xCC\xA3\xCC\x82\xC6\xA1\xCC\x80",
                                  "x\xCC\x81\xCC\x81\xCC\x81\xCC\x81 U\xCC\x9B\xCD\x81",
                                  "o&#770;&#0769;a&#769",
                                  "\r\n",
                                  "\n",
                                  "\r"};
    const std::string targets[] = {"VISCII",        "VNIWind",   "VIQR",         "Decimal NCR UTF-8",
                                   "Unicode UTF-8", "Unicode16", "Windows-1258", "Unicode UTF-8 Composite"};
    for (int round = 0; round < 3; ++round) {
        const bool longLine = round == 2;
        FEngine.SetTransDau(round == 1 ? "n9zD;5_7d63" : "");
        std::string text;
        while (text.size() < (longLine ? 200000u : 3000u)) {
            const std::string& piece = pieces[random() % std::size(pieces)];
            if (!longLine || piece.find_first_of("\r\n") == std::string::npos) text += piece;
        }
        for (int s = 0; s < kEncodingCount; ++s) {
            const std::string from(EncodingAt(s).identifier);
            if (from == "Unicode UTF-8") {
                test::WriteFile(FDir / "source", text);
            } else {
                test::WriteFile(FDir / "text", text);
                TFileConversionRequest request{
                    FDir / "text", FDir / "source", TEncoding::Utf8, E(from), true, true, {}};
                ASSERT_EQ(ConvertFile(FEngine, request).outcome, TFileConversionReport::Written);
            }
            // Replace alone too, in the file's own encoding.
            const std::size_t readSize = longLine ? 4093 : 1 + random() % 7;
            const std::string find = EncodeForSource(FEngine, EncodingAt(s).encoding, "Vi\xE1\xBB\x87t");
            const auto replace = [&](const std::filesystem::path& target, std::size_t size) {
                return from == "Unicode16"
                           ? ReplaceInUtf16File(FDir / "source", target, U"Vi\u1EC7t", U"<x>", size)
                           : ReplaceInFile(FDir / "source", target, find, "<x>", size);
            };
            ASSERT_EQ(replace(FDir / "usual", 0), replace(FDir / "tiny", readSize)) << from;
            ASSERT_TRUE(test::ReadFile(FDir / "usual") == test::ReadFile(FDir / "tiny"))
                << "replace in " << from;
            for (const std::string& to : targets) {
                if (to == from) continue;
                for (const bool htmlDoc : {false, true}) {
                    TFileConversionRequest request{FDir / "source", FDir / "usual", E(from), E(to),
                                                   htmlDoc,         true,           {}};
                    if (random() % 3 == 0) request.replace = TReplacement{"Vi\xE1\xBB\x87t", "<V\xC3\xA2n>"};
                    request.compose = random() % 2 == 0;
                    ASSERT_EQ(ConvertFile(FEngine, request).outcome, TFileConversionReport::Written);
                    request.target = FDir / "tiny";
                    request.readSize = readSize;
                    ASSERT_EQ(ConvertFile(FEngine, request).outcome, TFileConversionReport::Written);
                    ASSERT_TRUE(test::ReadFile(FDir / "usual") == test::ReadFile(FDir / "tiny"))
                        << from << " to " << to << (htmlDoc ? " with HTML Doc" : "") << ", round " << round;
                }
            }
        }
    }
}

}  // namespace
}  // namespace odz
