// Convert and Replace over folder trees, through the ports the window uses, with scripted answers.

#include <sys/stat.h>

#include <map>

#include "BatchDriver.h"
#include "ListingPorts.h"
#include "NamedDetector.h"
#include "QtPrinters.h"
#include "ScriptedMessages.h"
#include "TestSupport.h"

namespace odz {
namespace {

QString Q(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

class BatchDriver : public ::testing::Test {
public:
    BatchDriver()
        : FEngine(FDir / "odizodoruz.ini"),
          FDriver(FEngine, FSource, FTarget, FSourceTree, FTargetTree, FBusy, FProgress) {
        FEngine.RaRaruCreate();
        std::filesystem::create_directories(FDir / "in" / "sub" / "deep");
        std::filesystem::create_directories(FDir / "in" / "empty");
        std::filesystem::create_directories(FDir / "out");
        test::WriteFile(FDir / "in" / "a.txt", "Vi\xAEt\n");
        test::WriteFile(FDir / "in" / "b.txt", "abcabc\n");
        test::WriteFile(FDir / "in" / "c.htm", std::string(500, 'x'));
        test::WriteFile(FDir / "in" / "sub" / "d.txt", "\xAA");
        test::WriteFile(FDir / "in" / "sub" / "deep" / "e.txt", "\xF0");
        Show(FDir / "in", FDir / "out");
        FDriver.SourceEncoding = TEncoding::Viscii;
        FDriver.TargetEncoding = TEncoding::Utf8;
        FDriver.OnFile = [this](const TFileOutcome& outcome) { FFiles << outcome.source; };
    }
    ~BatchDriver() override { EXPECT_EQ(FUser.unexpected, QStringList()); }

    void Show(const std::filesystem::path& source, const std::filesystem::path& target) {
        FSource.SetDirectory(Q(source));
        FSource.UpdateFileList();
        FTarget.SetDirectory(Q(target));
        FTarget.UpdateFileList();
        FSourceTree.OpenPath(FSource.Directory());
        FTargetTree.OpenPath(FTarget.Directory());
    }
    QString In() const { return Q(FDir / "in") + "/"; }
    QString Out() const { return Q(FDir / "out") + "/"; }
    std::string Read(const std::string& path) const { return test::ReadFile(FDir / path); }
    bool Exists(const std::string& path) const { return std::filesystem::exists(FDir / path); }

    test::TTempDir FDir;
    TRaRaru FEngine;
    TListingFileList FSource, FTarget;
    TPathOnlyTree FSourceTree, FTargetTree;
    test::TScriptedMessages FUser;
    TBusyCount FBusy;
    TPlainProgress FProgress;
    TBatchDriver FDriver;
    QStringList FFiles;
};

TEST_F(BatchDriver, RefusalsAreFollowedByDone) {
    struct TCase {
        const char* what;
        std::function<void(BatchDriver&)> prepare;
        QString message;
        QString find{}, with{};  // given either: the Replace button instead of Convert
    };
    const TCase cases[] = {
        {"no source encoding", [](BatchDriver& t) { t.FDriver.SourceEncoding.reset(); },
         "You have to select the different source and target encoding."},
        {"the same encoding", [](BatchDriver& t) { t.FDriver.TargetEncoding = TEncoding::Viscii; },
         "You have to select the different source and target encoding."},
        {"the same folder", [](BatchDriver& t) { t.Show(t.FDir / "in", t.FDir / "in"); },
         "You have to select the different source and target directories."},
        {"the same folder under two spellings",
         [](BatchDriver& t) {
             std::filesystem::create_directory_symlink(t.FDir / "in", t.FDir / "alias");
             t.Show(t.FDir / "in", t.FDir / "alias");
         },
         "You have to select the different source and target directories."},
        {"nothing listed",
         [](BatchDriver& t) {
             t.FSource.Listing().SetShowFolders(false);
             t.FSource.Listing().SetMask("*.none");
             t.FSource.UpdateFileList();
         },
         "There is no file to be converted."},
        {"nothing to find", {}, "There is nothing to find", "", "x"},
        {"nothing to replace", {}, "There is nothing to replace", "x", ""},
        {"the same texts", {}, "The same messages. No replacement is made.", "x", "x"},
    };
    for (const TCase& c : cases) {
        if (c.prepare) c.prepare(*this);
        FUser.shown.clear();
        FDriver.FReplaceAlso = true;
        FDriver.FindText = c.find;
        FDriver.ReplaceText = c.with;
        (c.find + c.with).isEmpty() ? FDriver.ConversebuttonClick() : FDriver.ReplaceButtonClick();
        EXPECT_EQ(FUser.Shown("information"), QStringList({c.message, "Done"})) << c.what;
        EXPECT_FALSE(FDriver.FReplaceAlso) << c.what;
        EXPECT_EQ(FBusy.Depth(), 0) << c.what;
        EXPECT_FALSE(Exists("out/a.txt")) << c.what;
        FDriver.SourceEncoding = TEncoding::Viscii;
        FDriver.TargetEncoding = TEncoding::Utf8;
        FSource.Listing().SetShowFolders(true);
        FSource.Listing().SetMask("*.*");
        Show(FDir / "in", FDir / "out");
    }
}

TEST_F(BatchDriver, ConfirmationTexts) {
    FSource.Listing().SetMask("*.txt");
    FSource.UpdateFileList();
    FUser.Expect({TAnswer::No});
    FDriver.ConversebuttonClick();
    EXPECT_EQ(FUser.asked.back(), "Do you want to convert all files with *.txt in directory " + In() +
                                      " from VISCII to files with *.txt to directory " + Out() +
                                      " with Unicode UTF-8");
    FSource.Select({"a.txt"});
    FUser.Expect({TAnswer::Cancel});
    FDriver.ConversebuttonClick();
    EXPECT_TRUE(FUser.asked.back().startsWith("Do you want to convert selected files with *.txt"));
    // No and Cancel end everything at once: nothing written, no "Done", the cursor back.
    EXPECT_TRUE(FUser.Shown("information").isEmpty());
    EXPECT_EQ(FBusy.Depth(), 0);
    EXPECT_EQ(FBusy.Most(), 1);
    EXPECT_FALSE(Exists("out/a.txt"));

    FDriver.FindText = "colour";
    FDriver.ReplaceText = "color";
    FSource.Select({"a.txt", "b.txt"});
    FUser.Expect({TAnswer::No});
    FDriver.ReplaceButtonClick();
    EXPECT_EQ(FUser.asked.back(), "Do you want to replace all text:  colour in selected files in directory " +
                                      In() + " with text: color to directory " + Out());
    EXPECT_EQ(FUser.Shown("information"), QStringList({"Done"}));
}

TEST_F(BatchDriver, ConvertsTheWholeTree) {
    FSource.Listing().SetMask("*.txt;*.*");  // a file two patterns take is converted once
    FSource.UpdateFileList();
    FTargetTree.OpenPath("/somewhere/else/");
    FUser.Expect({TAnswer::Yes});
    FDriver.ConversebuttonClick();
    EXPECT_EQ(FUser.Shown("information"), QStringList({"Done\n5 files converted, 0 left alone, 0 failed."}));
    EXPECT_EQ(Read("out/a.txt") + Read("out/sub/d.txt") + Read("out/sub/deep/e.txt"),
              "Vi\xE1\xBB\x87t\r\n\xE1\xBA\xBF\r\n\xC4\x91\r\n");
    EXPECT_TRUE(std::filesystem::is_directory(FDir / "out" / "empty"));  // walked whatever the mask
    // Files of a level first, then each subfolder with everything below it.
    EXPECT_EQ(FFiles, QStringList({In() + "a.txt", In() + "b.txt", In() + "c.htm", In() + "sub/d.txt",
                                   In() + "sub/deep/e.txt"}));
    // Both lists and trees end on the outermost folders, each tree read again once, the bar at 0.
    EXPECT_EQ(QStringList({FSource.Directory(), FSourceTree.SelectedPath(), FTarget.Directory(),
                           FTargetTree.SelectedPath()}),
              QStringList({In(), In(), Out(), Out()}));
    EXPECT_EQ(std::tuple(FSourceTree.Reloads(), FTargetTree.Reloads(), FProgress.Position()),
              std::tuple(1, 1, 0));
    EXPECT_FALSE(FDriver.FReplaceAlso);
}

// "Detect automatically": every file is converted as the conversion from its own encoding would
// convert it; a file detection is not sure of, or one in the target encoding already, is left alone.
TEST_F(BatchDriver, DetectedSourcePerFile) {
    const std::string text =
        "Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t c\xC3\xB3 d\xE1\xBA\xA5u\n\xC4\x90\xC6\xB0\xE1\xBB\x9Dng xa\n";
    const QString utf16 = QString::fromUtf8(text);
    const std::map<std::string, std::string> files = {
        {"viscii-a.txt", EncodeForSource(FEngine, TEncoding::Viscii, text)},
        {"vni-b.txt", EncodeForSource(FEngine, TEncoding::VniWind, text)},
        {"sub/viqr-c.txt", EncodeForSource(FEngine, TEncoding::Viqr, text)},
        {"utf16-d.txt",
         "\xFF\xFE" + std::string(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2)},
        {"ascii-e.txt", "plain words\n"},
        {"utf8-f.txt", text},
        {"unsure-g.txt", EncodeForSource(FEngine, TEncoding::Viscii, text)},
    };
    std::filesystem::create_directories(FDir / "mixed" / "sub");
    for (const auto& [name, bytes] : files) test::WriteFile(FDir / "mixed" / name, bytes);
    Show(FDir / "mixed", FDir / "out");
    FDriver.SourceEncoding.reset();
    FDriver.SourceEncodingOf = SourceByDetection(test::NamedDetector());
    FUser.Expect({TAnswer::Yes});
    FDriver.ConversebuttonClick();
    const QString mixed = Q(FDir / "mixed") + "/";
    EXPECT_EQ(FUser.asked, QStringList({"Do you want to convert all files with *.* in directory " + mixed +
                                        " from detected per file to files with *.* to directory " + Out() +
                                        " with Unicode UTF-8"}));
    EXPECT_EQ(
        FUser.Shown("information"),
        QStringList({"Done\n5 files converted, 2 left alone, 0 failed.\n\nFiles read as each encoding: "
                     "plain ASCII: 1, UTF-16 Unicode: 1, VISCII: 1, VNI Wind: 1, 7-bit/ VIQR: 1.\n\n"
                     "Not converted:\n" +
                     mixed +
                     "unsure-g.txt: left alone: its encoding could not be told (best guess viscii, 40%)\n" +
                     mixed + "utf8-f.txt: left alone: it is in the target encoding already"}));
    // Converted side by side, every file is read and noted as one at a time.
    const TBatchSummary one = FDriver.Summary();
    std::filesystem::create_directories(FDir / "side");
    Show(FDir / "mixed", FDir / "side");
    FDriver.Jobs = 4;
    FDriver.GoOnAfterFailure = true;
    FDriver.ConvertWalk();
    EXPECT_EQ(FDriver.Summary().CountsSentence("converted") + FDriver.Summary().Remarks() +
                  FDriver.Summary().NotConvertedList(),
              one.CountsSentence("converted") + one.Remarks() + one.NotConvertedList());
    // Byte for byte what the conversion from the right encoding writes.
    for (const auto& [name, source] : {std::pair{"viscii-a.txt", TEncoding::Viscii},
                                       {"vni-b.txt", TEncoding::VniWind},
                                       {"sub/viqr-c.txt", TEncoding::Viqr},
                                       {"utf16-d.txt", TEncoding::Utf16},
                                       {"ascii-e.txt", TEncoding::Viscii}}) {
        TFileConversionRequest request;
        request.source = FDir / "mixed" / name;
        request.target = FDir / "expected";
        request.from = source;
        request.to = TEncoding::Utf8;
        request.overwriteAll = true;
        const TFileConversionReport report = ConvertFile(FEngine, request);
        EXPECT_EQ(report.outcome, TFileConversionReport::Written) << name;
        EXPECT_EQ(Read(std::string("out/") + name), Read("expected")) << name;
        EXPECT_EQ(Read(std::string("side/") + name), Read("expected")) << name;
    }
    EXPECT_EQ(
        Read("out/vni-b.txt"),
        "Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t c\xC3\xB3 d\xE1\xBA\xA5u\r\n\xC4\x90\xC6\xB0\xE1\xBB\x9Dng xa\r\n");
    EXPECT_FALSE(Exists("out/unsure-g.txt") || Exists("out/utf8-f.txt"));
    // The program's own detector reads these files as their names say.
    for (const auto& [name, bytes] : files) {
        const std::string stem = std::filesystem::path(name).filename().string();
        if (stem.starts_with("unsure")) continue;
        const TFileDetection real = DefaultFileDetector()(FDir / "mixed" / name);
        EXPECT_TRUE(real.confident) << name;
        EXPECT_EQ(real.shortName, stem.substr(0, stem.find('-'))) << name;
    }
}

TEST_F(BatchDriver, SelectionLimitsOnlyTheTopLevel) {
    FSource.Select({"b.txt", "sub"});
    FUser.Expect({TAnswer::Yes});
    FDriver.ConversebuttonClick();
    EXPECT_EQ(FFiles, QStringList({In() + "b.txt", In() + "sub/d.txt", In() + "sub/deep/e.txt"}));
    EXPECT_FALSE(Exists("out/a.txt") || Exists("out/empty"));
}

TEST_F(BatchDriver, ExistingTargets) {
    std::filesystem::create_directories(FDir / "out" / "sub");
    for (const char* name : {"out/a.txt", "out/b.txt", "out/c.htm"}) test::WriteFile(FDir / name, "old");
    FUser.Expect({TAnswer::Yes, TAnswer::Yes, TAnswer::No, TAnswer::Cancel});
    FDriver.ConversebuttonClick();
    // The question names the file it is about; the closing message counts and names what was kept.
    EXPECT_EQ(FUser.asked.mid(1), QStringList({"File already exists, overwrite it ?\n" + Out() + "a.txt",
                                               "File already exists, overwrite it ?\n" + Out() + "b.txt",
                                               "File already exists, overwrite it ?\n" + Out() + "c.htm"}));
    EXPECT_EQ(FUser.Shown("information"),
              QStringList({"Done\n3 files converted, 2 left alone, 0 failed.\n\nNot converted:\n" + In() +
                           "b.txt: left alone: the target already exists\n" + In() +
                           "c.htm: left alone: the target already exists"}));
    // Cancel skips one file only.
    EXPECT_EQ(Read("out/a.txt") + Read("out/b.txt") + Read("out/c.htm") + Read("out/sub/d.txt"),
              "Vi\xE1\xBB\x87t\r\noldold\xE1\xBA\xBF\r\n");
    EXPECT_EQ(FDriver.Summary().leftAlone, 2);

    FDriver.OverwriteAll = true;
    FUser.asked.clear();
    FUser.Expect({TAnswer::Yes});
    FDriver.ConversebuttonClick();
    EXPECT_EQ(FUser.asked.size(), 1);
    EXPECT_EQ(Read("out/b.txt"), "abcabc\r\n");
}

TEST_F(BatchDriver, ReplacementDuringConversion) {
    FDriver.FindText = "b";
    FDriver.ReplaceText = "xx";
    FUser.Expect({TAnswer::Yes, TAnswer::Yes});
    FDriver.ConversebuttonClick();
    EXPECT_EQ(FUser.asked[1], "Do you want to replace text : b with new text : xx also ?");
    EXPECT_EQ(Read("out/b.txt"), "axxcaxxc\r\n");
    EXPECT_FALSE(FDriver.FReplaceAlso);

    FDriver.OverwriteAll = true;
    FUser.Expect({TAnswer::Yes, TAnswer::No});
    FDriver.ConversebuttonClick();
    EXPECT_EQ(Read("out/b.txt"), "abcabc\r\n");
}

TEST_F(BatchDriver, ReplaceInFiles) {
    FDriver.FindText = "a";
    FDriver.ReplaceText = "aa";
    FUser.Expect({TAnswer::Yes});
    FDriver.ReplaceButtonClick();
    EXPECT_EQ(FUser.Shown("information"), QStringList({"Done\n5 files written, 0 left alone, 0 failed."}));
    EXPECT_EQ(Read("out/b.txt"), "aabcaabc\r\n");
    EXPECT_EQ(Read("out/sub/d.txt"), "\xAA\r\n");  // written even without an occurrence

    // In place: the source folder is its own target.
    Show(FDir / "in", FDir / "in");
    FUser.Expect({TAnswer::Yes});
    FDriver.FindText = "abc";
    FDriver.ReplaceText = "X";
    FDriver.ReplaceButtonClick();
    EXPECT_EQ(Read("in/b.txt"), "XX\r\n");
    EXPECT_EQ(Read("in/sub/deep/e.txt"), "\xF0\r\n");
    // A run that finds nothing says so.
    FUser.shown.clear();
    FUser.Expect({TAnswer::Yes});
    FDriver.ReplaceButtonClick();
    EXPECT_EQ(FUser.Shown("information"),
              QStringList({"Done\n5 files written, 0 left alone, 0 failed.\n\nThe searched text "
                           "was not found, so no text was replaced."}));
}

TEST_F(BatchDriver, AnErrorEndsTheWalk) {
    // A file where the walk must create the folder "sub".
    test::WriteFile(FDir / "out" / "sub", "in the way");
    FDriver.FindText = "b";
    FDriver.ReplaceText = "xx";
    FUser.Expect({TAnswer::Yes, TAnswer::Yes});
    FDriver.ConversebuttonClick();
    // The report says what was not tried after the failure.
    EXPECT_EQ(FUser.Shown("error"),
              QStringList({"Cannot create " + Out() +
                           "sub/\n3 files converted, 0 left alone, 1 failed, 2 not tried."
                           "\n\nNot converted:\n" +
                           In() + "sub/d.txt: not tried: the batch stopped at the failure\n" + In() +
                           "sub/deep/e.txt: not tried: the batch stopped at the failure"}));
    EXPECT_TRUE(FUser.Shown("information").isEmpty());  // no "Done"
    EXPECT_FALSE(Exists("out/sub/deep"));
    EXPECT_TRUE(FBusy.Depth() == 0 && !FDriver.FReplaceAlso);
    EXPECT_EQ(Read("out/a.txt"), "Vi\xE1\xBB\x87t\r\n");  // what was written stays
    EXPECT_EQ(FSource.Directory() + FTarget.Directory(), In() + Out());
}

TEST_F(BatchDriver, AFileThatCannotBeWrittenLeavesTheOldOne) {
    // A folder named like the target file: the file cannot replace it; nothing half-written is left.
    // With Overwrite All the files are converted side by side, and still none after the failure is put
    // in place: the batch ends as one at a time ends it.
    for (const int jobs : {1, 2, 1}) {
        SCOPED_TRACE(jobs);
        std::filesystem::remove_all(FDir / "out");
        std::filesystem::create_directories(FDir / "out" / "b.txt");
        FDriver.Jobs = jobs;
        FDriver.OverwriteAll = FUser.Shown("error").size() > 0;
        FUser.Expect({TAnswer::Yes});
        FDriver.ConversebuttonClick();
        EXPECT_EQ(
            FUser.Shown("error").last().section('\n', 0, 1),
            "Cannot create file " + Out() + "b.txt\n1 file converted, 0 left alone, 1 failed, 3 not tried.");
        EXPECT_TRUE(std::filesystem::is_directory(FDir / "out" / "b.txt"));
        EXPECT_EQ(test::Names(FDir / "out"), (std::vector<std::string>{"a.txt", "b.txt"}));
    }
}

TEST_F(BatchDriver, TheWalkIsSafe) {
    // The target inside the source tree is never walked. A link to a folder of the tree is not
    // followed, so the folder is converted under its own name; a link that leads out of the tree is
    // followed once.
    const auto link = [&](const std::string& to, const std::string& at) {
        std::filesystem::create_directory_symlink(FDir / to, FDir / at);
    };
    link("in", "in/sub/loop");
    link("in/sub", "in/a-link");
    std::filesystem::create_directory(FDir / "elsewhere");
    test::WriteFile(FDir / "elsewhere" / "f.txt", "\xAA");
    link("elsewhere", "in/b-outside");
    link("elsewhere", "in/c-again");
    Show(FDir / "in", FDir / "in" / "empty");
    FUser.Expect({TAnswer::Yes});
    FDriver.ConversebuttonClick();
    EXPECT_EQ(FFiles, QStringList({In() + "a.txt", In() + "b.txt", In() + "c.htm", In() + "b-outside/f.txt",
                                   In() + "sub/d.txt", In() + "sub/deep/e.txt"}));
    EXPECT_EQ(FUser.Shown("information"),
              QStringList({"Done\n6 files converted, 0 left alone, 0 failed.\n\nNot converted:\n" + In() +
                           "a-link: folder link not followed: it leads inside the source folder\n" + In() +
                           "c-again: folder link not followed: it leads to a folder already walked\n" + In() +
                           "sub/loop: folder link not followed: it leads inside the source folder"}));
    EXPECT_EQ(Read("in/empty/sub/deep/e.txt"), "\xC4\x91\r\n");
    EXPECT_EQ(Read("in/empty/b-outside/f.txt"), "\xE1\xBA\xBF\r\n");
    for (const char* absent :
         {"in/empty/empty", "in/empty/sub/loop", "in/empty/a-link", "in/empty/c-again"}) {
        EXPECT_FALSE(Exists(absent)) << absent;
    }
}

TEST_F(BatchDriver, EveryFileIsAccountedFor) {
    // Names from old archives are no valid UTF-8: they are converted under the same bytes, and two
    // names that show alike stay two files.
    const std::string latin1 = "Vi\xEAt.txt";
    const std::string alike = "Vi\xEBt.txt";
    const std::string folder = "th\xF0 m\xE7\x63";
    test::WriteFile(FDir / "in" / latin1, "\xAA");
    test::WriteFile(FDir / "in" / alike, "\xF0");
    std::filesystem::create_directory(FDir / "in" / folder);
    test::WriteFile(FDir / "in" / folder / latin1, "\xAE");
    // What is not converted is named: a fifo, and a folder gone before its turn.
    ASSERT_EQ(::mkfifo((FDir / "in" / "pipe").c_str(), 0600), 0);
    std::filesystem::create_directory(FDir / "in" / "vanishing");
    test::WriteFile(FDir / "in" / "vanishing" / "x.txt", "x");
    FDriver.OnFile = [this](const TFileOutcome& outcome) {
        FFiles << outcome.source;
        std::filesystem::remove_all(FDir / "in" / "vanishing");
    };
    FSource.UpdateFileList();
    FUser.Expect({TAnswer::Yes});
    FDriver.ConversebuttonClick();
    EXPECT_EQ(Read("out/" + latin1) + Read("out/" + alike) + Read("out/" + folder + "/" + latin1),
              "\xE1\xBA\xBF\r\n\xC4\x91\r\n\xE1\xBB\x87\r\n");
    EXPECT_TRUE(FFiles.contains(In() + "th\\xF0 m\\xE7c/Vi\\xEAt.txt"));
    EXPECT_EQ(FUser.Shown("information"),
              QStringList({"Done\n8 files converted, 0 left alone, 0 failed, 1 skipped.\n\n"
                           "Not converted:\n" +
                           In() + "pipe: not a regular file (fifo)\n" + In() +
                           "vanishing/: cannot read the folder (No such file or directory)"}));
    EXPECT_FALSE(Exists("out/vanishing") || Exists("out/pipe"));
}

TEST_F(BatchDriver, ReplaceMatchesTheSourceEncoding) {
    // With a source encoding chosen, the texts typed are looked for and written as files of that
    // encoding hold them; with none, as UTF-8 bytes.
    const std::string text = "Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t\n";
    const std::string replaced = "Ti\xE1\xBA\xBFng \xC4\x90\xE1\xBB\xA9\x63\r\n";
    const auto iconv = [](const char* to, const std::string& utf8) {
        std::string out;
        EXPECT_TRUE(test::Iconv(to, "UTF-8", utf8, out)) << to;
        return out;
    };
    const std::tuple<std::optional<TEncoding>, std::string, std::string> cases[] = {
        {std::nullopt, text, replaced},
        {TEncoding::Viqr, "Tie^'ng Vie^.t\n", "Tie^'ng DDu+'c\r\n"},
        {TEncoding::Viscii, iconv("VISCII", text), iconv("VISCII", replaced)},
        {TEncoding::DecimalNcr, "Ti&#7871;ng Vi&#7879;t\n", "Ti&#7871;ng &#272;&#7913;c\r\n"},
        {TEncoding::Utf16, iconv("UTF-16", text), "\xFF\xFE" + iconv("UTF-16LE", replaced)},
    };
    FSource.Select({"a.txt"});
    FDriver.FindText = QString::fromUtf8("Vi\xE1\xBB\x87t");
    FDriver.ReplaceText = QString::fromUtf8("\xC4\x90\xE1\xBB\xA9\x63");
    for (const auto& [encoding, source, expected] : cases) {
        test::WriteFile(FDir / "in" / "a.txt", source);
        FDriver.SourceEncoding = encoding;
        FUser.Expect({TAnswer::Yes});
        FDriver.ReplaceButtonClick();
        EXPECT_EQ(Read("out/a.txt"), expected) << (encoding ? EncodingInfo(*encoding).identifier : "none");
    }
}

TEST_F(BatchDriver, SizesAndProgress) {
    const auto index = [&](const QString& caption) {
        for (int i = 0; i < FSource.Count(); ++i) {
            if (FSource.Item(i).caption == caption) return i;
        }
        return -1;
    };
    EXPECT_EQ(FDriver.ItemSizeBytes(index("c.htm")), 1024);  // 500 bytes count as 1 KB
    EXPECT_EQ(FDriver.ItemSizeBytes(index("sub")), 0);
    EXPECT_EQ(FDriver.ListedSizeBytes(), 3 * 1024);
    FSource.Select({"c.htm"});
    EXPECT_EQ(FDriver.ListedSizeBytes(), 1024);
    // Sizes beyond 4 GiB, from a sparse file.
    std::filesystem::create_directory(FDir / "big");
    test::WriteFile(FDir / "big" / "huge.txt", "");
    std::filesystem::resize_file(FDir / "big" / "huge.txt", 5LL << 30);
    Show(FDir / "big", FDir / "out");
    EXPECT_EQ(FDriver.ListedSizeBytes(), 5LL << 30);
}

}  // namespace
}  // namespace odz
