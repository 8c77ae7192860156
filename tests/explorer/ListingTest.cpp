// The listing the file list shows and the batch walks: masks, attributes, captions and order.

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "DirectoryListing.h"
#include "PathRoutines.h"
#include "QtPrinters.h"
#include "TestSupport.h"

namespace odz {
namespace {

QString Q(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

QStringList Captions(const TDirectoryListing& listing) {
    QStringList captions;
    for (const TListItem& item : listing.Items()) captions << item.caption;
    return captions;
}

class Listing : public ::testing::Test {
protected:
    Listing() {
        for (const char* name :
             {"b.txt", "A.TXT", "c.htm", "index.html", "notes", "a.b.txt", ".hidden.txt"}) {
            test::WriteFile(FDir / name, "x");
        }
        test::WriteFile(FDir / "big.txt", std::string(2048, 'x'));
        test::WriteFile(FDir / "small.txt", std::string(1023, 'x'));
        std::filesystem::create_directory(FDir / "sub");
        std::filesystem::create_directory(FDir / "Alpha.dir");
        test::WriteFile(FDir / "ro.txt", "x");
        ::chmod((FDir / "ro.txt").c_str(), 0444);
        FListing.SetDirectory(Q(FDir.Path()));
    }
    QStringList Refill(const QString& mask) {
        FListing.SetMask(mask);
        FListing.UpdateFileList();
        return Captions(FListing);
    }

    test::TTempDir FDir;
    TDirectoryListing FListing;
};

TEST_F(Listing, MasksAndAttributes) {
    const QStringList folders = {" ^ Parent", "Alpha.dir", "sub"};
    struct TCase {
        QString mask;
        QStringList files;
    };
    const TCase cases[] = {
        {"*.txt", {".hidden.txt", "a.b.txt", "A.TXT", "b.txt", "big.txt", "ro.txt", "small.txt"}},
        {"   ",
         {".hidden.txt", "a.b.txt", "A.TXT", "b.txt", "big.txt", "c.htm", "index.html", "notes", "ro.txt",
          "small.txt"}},
        // A file matching two parts is listed once.
        {"*.txt;*.*",
         {".hidden.txt", "a.b.txt", "A.TXT", "b.txt", "big.txt", "c.htm", "index.html", "notes", "ro.txt",
          "small.txt"}},
        // A pattern keeps its leading blank, so " *.htm" finds nothing.
        {"*.htm; *.htm", {"c.htm", "index.html"}},
        {"b.txt;;notes", {"b.txt", "notes"}},
        {"?.txt", {"A.TXT", "b.txt"}},
        {"*.", {"notes"}},
        {"*.html", {"index.html"}},
    };
    for (const TCase& c : cases) EXPECT_EQ(Refill(c.mask), folders + c.files) << c.mask.toStdString();

    FListing.SetFileType(0);  // no read-only, hidden or system entries
    EXPECT_EQ(Refill("*.txt"), folders + QStringList({"a.b.txt", "A.TXT", "b.txt", "big.txt", "small.txt"}));
    FListing.SetFileType(kAttrArchive | kAttrNormal);
    EXPECT_EQ(Refill("*.txt"), folders + QStringList({"a.b.txt", "A.TXT", "b.txt", "big.txt", "small.txt"}));
    FListing.SetFileType(kAllFileTypes);
    FListing.SetShowFolders(false);
    EXPECT_EQ(Refill("*.htm"), QStringList({"c.htm", "index.html"}));
}

TEST_F(Listing, Rows) {
    FListing.SetHideFileExt(true);
    Refill("*.txt");
    std::map<QString, TListItem> rows;
    for (const TListItem& item : FListing.Items()) rows[item.Name()] = item;
    EXPECT_EQ(rows["a.b.txt"].caption, "a");
    EXPECT_EQ(rows["Alpha.dir"].caption, "Alpha");
    EXPECT_EQ(rows[".hidden.txt"].caption, ".hidden.txt");  // nothing before the dot: the name stays
    EXPECT_EQ(rows["big.txt"].sizeText, "2 KB");
    EXPECT_EQ(rows["small.txt"].sizeText, "1 KB");
    EXPECT_EQ(rows["sub"].sizeText, " ");
    EXPECT_EQ(rows["sub"].kind, "dir");
    EXPECT_EQ(rows["b.txt"].kind, "file");
    EXPECT_EQ(rows["b.txt"].fullPath, AddSlash(Q(FDir.Path())) + "b.txt");
    EXPECT_EQ(rows["ro.txt"].attrText, "R");
    EXPECT_EQ(rows[".hidden.txt"].attrText, "H");
    EXPECT_TRUE(rows[".."].isParent);
    EXPECT_EQ(rows[".."].typeName, " ");
}

TEST_F(Listing, OrderAfterRefillAndHeaderClicks) {
    std::filesystem::remove(FDir / "ro.txt");
    const QStringList byName = {" ^ Parent", "Alpha.dir", "sub",     ".hidden.txt", "a.b.txt",
                                "A.TXT",     "b.txt",     "big.txt", "small.txt"};
    EXPECT_EQ(Refill("*.txt"), byName);
    FListing.ColumnClick(0);  // inverted completely, but the parent entry stays first
    EXPECT_EQ(Captions(FListing), QStringList({" ^ Parent", "small.txt", "big.txt", "b.txt", "A.TXT",
                                               "a.b.txt", ".hidden.txt", "sub", "Alpha.dir"}));
    FListing.ColumnClick(1);  // by size, largest first, files before folders; equal sizes keep their order
    EXPECT_EQ(Captions(FListing).mid(0, 2), QStringList({" ^ Parent", "big.txt"}));
    EXPECT_EQ(Captions(FListing).mid(7), QStringList({"sub", "Alpha.dir"}));
    FListing.UpdateFileList();  // back to the name column, with the inverted flag set
    EXPECT_EQ(FListing.SortColumn(), 0);
    EXPECT_EQ(Captions(FListing).mid(0, 2), QStringList({" ^ Parent", "small.txt"}));
    FListing.UpdateFileList();  // and then plain again
    EXPECT_EQ(Captions(FListing), byName);
}

TEST_F(Listing, SettingTheDirectory) {
    const QString folder = Q(FDir.Path());
    EXPECT_EQ(FListing.Directory(), AddSlash(folder));
    const QString current = QDir::currentPath();
    EXPECT_FALSE(FListing.SetDirectory(folder + "/missing"));
    EXPECT_EQ(FListing.Directory(), AddSlash(folder));
    EXPECT_TRUE(FListing.SetDirectory("drives"));
    EXPECT_EQ(FListing.Directory(), "drives");
    EXPECT_TRUE(FListing.IsDrives());
    EXPECT_FALSE(FListing.SetDirectory("DRIVES"));
    EXPECT_TRUE(FListing.SetDirectory(folder + "/sub"));
    EXPECT_EQ(FListing.Directory(), folder + "/sub/");
    FListing.UpdateFileList();
    EXPECT_EQ(Captions(FListing), QStringList({" ^ Parent"}));
    FListing.SetDirectory("/");
    FListing.UpdateFileList();
    EXPECT_FALSE(Captions(FListing).contains(" ^ Parent"));
    // Two lists show two folders: neither moves the process's current directory.
    EXPECT_EQ(QDir::currentPath(), current);
}

TEST(PathTexts, Routines) {
    EXPECT_EQ(AddSlash("/data"), "/data/");
    EXPECT_EQ(AddSlash("/data/"), "/data/");
    EXPECT_EQ(AddSlash(""), "");
    EXPECT_EQ(DelSlash("/data//"), "/data/");
    EXPECT_EQ(DelSlash("/data"), "/data");
    EXPECT_EQ(ConcatPath("/data", "a.txt"), "/data/a.txt");
    EXPECT_EQ(ConcatPath("", "a.txt"), "");
    EXPECT_EQ(ConcatPath("/data", ""), "");
    const std::pair<qint64, QString> sizes[] = {{0, "0 KB"},    {1, "1 KB"},    {1023, "1 KB"},
                                                {2047, "1 KB"}, {2048, "2 KB"}, {5368709120LL, "5242880 KB"}};
    for (const auto& [size, text] : sizes) EXPECT_EQ(SizeText(size, "file"), text) << size;
    EXPECT_EQ(SizeText(4096, "DIR"), " ");
    EXPECT_EQ(AttrText(0x21), "AR");
    EXPECT_EQ(AttrText(0x07), "RHS");
    EXPECT_EQ(AttrText(0), "");
}

TEST(PathTexts, Patterns) {
    // The three-letter rule looks at the name's last extension only (the last rows).
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"index.html", "*.htm", true},    {"INDEX.HTM", "*.htm", true},   {"a.htmx", "*.htm", true},
        {"a.ht", "*.htm", false},         {"notes", "*.*", true},         {"notes", "*.", true},
        {"a.txt", "*.", false},           {"a.txt", "a.*", true},         {"a", "a.*", true},
        {"ab.txt", "?.txt", false},       {"b.txt", "?.txt", true},       {"a.txt", "", false},
        {"a.tx", "*.tx", true},           {"a.txtx", "*.tx", false},      {"Tiếng.txt", "TIẾNG.*", true},
        {"notes.txt.gz", "*.txt", false}, {"x.txt.bak", "*.txt", false},  {"h.txt.bak", "?.txt", false},
        {"page.htm.bak", "*.htm", false}, {"a.b.html", "*.htm", true},    {"h.txtx", "?.txt", true},
        {"a.b.html", "a.*.htm", true},    {"a.html.x", "a.*.htm", false},
    };
    for (const auto& [name, pattern, expected] : cases) {
        EXPECT_EQ(MatchesPattern(QString::fromUtf8(name), QString::fromUtf8(pattern)), expected)
            << name << " " << pattern;
    }
}

}  // namespace
}  // namespace odz
