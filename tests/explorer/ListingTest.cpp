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

QString Captions(const TDirectoryListing& listing) {
    QStringList captions;
    for (const TListItem& item : listing.Items()) captions << item.caption;
    return captions.join(' ');
}

class Listing : public ::testing::Test {
protected:
    Listing() {
        for (const char* name : {"b.txt", "A.TXT", "c.htm", "index.html", "notes", "a.b.txt", ".hidden.txt"})
            test::WriteFile(FDir / name, "x");
        test::WriteFile(FDir / "big.txt", std::string(2048, 'x'));
        test::WriteFile(FDir / "small.txt", std::string(1023, 'x'));
        std::filesystem::create_directory(FDir / "sub");
        std::filesystem::create_directory(FDir / "Alpha.dir");
        test::WriteFile(FDir / "ro.txt", "x");
        ::chmod((FDir / "ro.txt").c_str(), 0444);
        FListing.SetDirectory(Q(FDir.Path()));
    }
    QString Refill(const QString& mask) {
        FListing.SetMask(mask);
        FListing.UpdateFileList();
        return Captions(FListing);
    }

    test::TTempDir FDir;
    TDirectoryListing FListing;
};

TEST_F(Listing, MasksAndAttributes) {
    const QString folders = " ^ Parent Alpha.dir sub ";
    const QString all = ".hidden.txt a.b.txt A.TXT b.txt big.txt c.htm index.html notes ro.txt small.txt";
    const std::pair<QString, QString> cases[] = {
        {"*.txt", ".hidden.txt a.b.txt A.TXT b.txt big.txt ro.txt small.txt"},
        {"   ", all},
        {"*.txt;*.*", all},                    // a file matching two parts is listed once
        {"*.htm; *.htm", "c.htm index.html"},  // a pattern keeps its leading blank: " *.htm" finds nothing
        {"b.txt;;notes", "b.txt notes"},
        {"?.txt", "A.TXT b.txt"},
        {"*.", "notes"},
    };
    for (const auto& [mask, files] : cases) EXPECT_EQ(Refill(mask), folders + files) << mask.toStdString();
    FListing.SetFileType(0);  // no read-only, hidden or system entries
    EXPECT_EQ(Refill("*.txt"), folders + "a.b.txt A.TXT b.txt big.txt small.txt");
    FListing.SetFileType(kAttrArchive | kAttrNormal);
    EXPECT_EQ(Refill("*.txt"), folders + "a.b.txt A.TXT b.txt big.txt small.txt");
    FListing.SetFileType(kAllFileTypes);
    FListing.SetShowFolders(false);
    EXPECT_EQ(Refill("*.htm"), "c.htm index.html");
}

TEST_F(Listing, Rows) {
    FListing.SetHideFileExt(true);
    Refill("*.txt");
    QStringList rows;  // name:caption,size,kind,attributes
    for (const TListItem& item : FListing.Items()) {
        rows << item.Name() + ":" + item.caption + "," + item.sizeText + "," + item.kind + "," +
                    item.attrText;
        EXPECT_EQ(item.fullPath, AddSlash(Q(FDir.Path())) + item.Name());
    }
    EXPECT_EQ(rows.join('|'),
              "..: ^ Parent, ,dir,|Alpha.dir:Alpha, ,dir,|sub:sub, ,dir,|.hidden.txt:.hidden.txt,1 KB,file,H|"
              "A.TXT:A,1 KB,file,|a.b.txt:a,1 KB,file,|b.txt:b,1 KB,file,|big.txt:big,2 KB,file,|ro.txt:ro,1 "
              "KB,file,R|small.txt:small,1 KB,file,");
}

TEST_F(Listing, OrderAfterRefillAndHeaderClicks) {
    std::filesystem::remove(FDir / "ro.txt");
    const QString byName = " ^ Parent Alpha.dir sub .hidden.txt a.b.txt A.TXT b.txt big.txt small.txt";
    EXPECT_EQ(Refill("*.txt"), byName);
    FListing.ColumnClick(0);  // inverted completely, but the parent entry stays first
    EXPECT_EQ(Captions(FListing),
              " ^ Parent small.txt big.txt b.txt A.TXT a.b.txt .hidden.txt sub Alpha.dir");
    FListing.ColumnClick(1);  // by size, largest first, files before folders; equal sizes keep their order
    EXPECT_TRUE(Captions(FListing).startsWith(" ^ Parent big.txt ")) << Captions(FListing).toStdString();
    EXPECT_TRUE(Captions(FListing).endsWith(" sub Alpha.dir")) << Captions(FListing).toStdString();
    FListing.UpdateFileList();  // back to the name column, with the inverted flag set
    EXPECT_EQ(FListing.SortColumn(), 0);
    EXPECT_TRUE(Captions(FListing).startsWith(" ^ Parent small.txt "));
    FListing.UpdateFileList();  // and then plain again
    EXPECT_EQ(Captions(FListing), byName);
}

// A missing folder is not taken; the drive list is named in any case; the root has no parent row; and
// the process's current folder stays where it is, as two lists show two folders.
TEST_F(Listing, SettingTheDirectory) {
    const QString folder = Q(FDir.Path()), current = QDir::currentPath();
    EXPECT_FALSE(FListing.SetDirectory(folder + "/missing"));
    EXPECT_TRUE(FListing.SetDirectory("drives") && FListing.IsDrives() && !FListing.SetDirectory("DRIVES"));
    EXPECT_TRUE(FListing.SetDirectory(folder + "/sub"));
    FListing.UpdateFileList();
    EXPECT_EQ(FListing.Directory() + Captions(FListing), folder + "/sub/ ^ Parent");
    FListing.SetDirectory("/");
    FListing.UpdateFileList();
    EXPECT_FALSE(Captions(FListing).contains(" ^ Parent"));
    EXPECT_EQ(QDir::currentPath(), current);
}

// Each pattern with the names it finds and, after the "|", names it does not; the three-letter rule looks
// at the name's last extension only.
TEST(PathTexts, Patterns) {
    const QStringList cases =
        QString::fromUtf8(
            "*.htm=index.html INDEX.HTM a.b.html|a.ht page.htm.bak;?.txt=h.txtx|ab.txt h.txt.bak;"
            "*.txt=|notes.txt.gz;a.*.htm=a.b.html|a.html.x;*.*=notes|;*.=|a.txt;a.*=a|;"
            "*.tx=|a.txtx;TIẾNG.*=Tiếng.txt|;=|a.txt")
            .split(';');
    for (const QString& text : cases) {
        const QString pattern = text.section('=', 0, 0);
        const QStringList sides = text.section('=', 1).split('|');
        for (int side = 0; side < 2; ++side)
            for (const QString& name : sides[side].split(' ', Qt::SkipEmptyParts))
                EXPECT_EQ(MatchesPattern(name, pattern), side == 0)
                    << text.toStdString() << " " << name.toStdString();
    }
    const std::pair<qint64, QString> sizes[] = {{0, "0 KB"}, {2047, "1 KB"}, {5368709120LL, "5242880 KB"}};
    for (const auto& [size, text] : sizes) EXPECT_EQ(SizeText(size, "file"), text) << size;
    EXPECT_EQ(AttrText(0x07), "RHS");
}

}  // namespace
}  // namespace odz
