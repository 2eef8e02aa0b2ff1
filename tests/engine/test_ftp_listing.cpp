// Listing lines as servers write them, and the names that must never reach a local path.
#include "FtpListing.h"

#include <gtest/gtest.h>

using namespace zvo;

namespace {

struct LineCase {
    const char *line;
    bool mlsd;
    bool entry;
    const char *name;
    TFtpItemType type;
    qint64 size;
};

const LineCase kLines[] = {
    // Unix "ls -l", with and without group, time or year, links and names with blanks
    {"-rw-r--r--   1 owner    group        1234 Dec 11 12:50 Docs.zip", false, true,
     "Docs.zip", TFtpItemType::File, 1234},
    {"drwxr-xr-x   2 owner    group        4096 Jan  5  2023 Sarvel", false, true, "Sarvel",
     TFtpItemType::Directory, 4096},
    {"-rw-r--r-- 1 owner 77 Mar 30 09:01 no group.txt", false, true, "no group.txt",
     TFtpItemType::File, 77},
    {"-rw-r--r-- 1 owner group 5 Mar 30 09:01  leading blank", false, true, " leading blank",
     TFtpItemType::File, 5},
    {"lrwxrwxrwx 1 owner group 9 Mar 30 09:01 current -> V12.0.4", false, true, "current",
     TFtpItemType::Other, 9},
    {"-rw-r--r-- 1 may group 12 Jun  1  2024 owner named like a month", false, true,
     "owner named like a month", TFtpItemType::File, 12},
    {"total 128", false, false, "", TFtpItemType::File, -1},
    // DOS / IIS, 2- and 4-digit years, 12- and 24-hour clocks
    {"12-11-26  01:02PM       <DIR>          Catalogs", false, true, "Catalogs",
     TFtpItemType::Directory, -1},
    {"12-11-26  01:02PM              3000000 big file.bin", false, true, "big file.bin",
     TFtpItemType::File, 3000000},
    {"12-11-2026  11:59AM                 42 UCAC4.idx", false, true, "UCAC4.idx",
     TFtpItemType::File, 42},
    {"12-11-2026  23:59                    7 z.txt", false, true, "z.txt", TFtpItemType::File, 7},
    {"12-11-26  01:02PM  notasize x", false, false, "", TFtpItemType::File, -1},
    // MLSD facts, case of fact names free
    {"modify=20261211125810;perm=r;size=6;type=file;unique=fe00g; a.txt", true, true, "a.txt",
     TFtpItemType::File, 6},
    {"Type=dir;Size=4096;Modify=20261211125810; With; semicolon", true, true, "With; semicolon",
     TFtpItemType::Directory, 4096},
    {"type=OS.unix=slink:/x;size=1; link", true, true, "link", TFtpItemType::Other, 1},
    {"type=cdir;size=4096; .", true, false, "", TFtpItemType::File, -1},
    {"type=pdir;size=4096; ..", true, false, "", TFtpItemType::File, -1},
    {"garbage", true, false, "", TFtpItemType::File, -1},
};

} // namespace

TEST(FtpListing, ParsesEachLineStyle)
{
    for (const LineCase &c : kLines) {
        SCOPED_TRACE(c.line);
        TFtpListItem item;
        const QString line = QString::fromUtf8(c.line);
        const bool entry = c.mlsd ? ParseMlsdLine(line, item) : ParseListLine(line, item);
        ASSERT_EQ(entry, c.entry);
        if (!entry)
            continue;
        EXPECT_EQ(item.FileName, QString::fromUtf8(c.name));
        EXPECT_EQ(item.ItemType, c.type);
        EXPECT_EQ(item.Size, c.size);
    }
}

TEST(FtpListing, NamesThatLeaveTheFolderAreRefused)
{
    const QByteArray unix =
        "drwxr-xr-x 2 o g 4096 Dec 11 12:50 .\r\n"
        "drwxr-xr-x 2 o g 4096 Dec 11 12:50 ..\r\n"
        "-rw-r--r-- 1 o g 1 Dec 11 12:50 ../../evil.dll\r\n"
        "-rw-r--r-- 1 o g 1 Dec 11 12:50 ..\\..\\evil.dll\r\n"
        "-rw-r--r-- 1 o g 1 Dec 11 12:50 /etc/passwd\r\n"
        "-rw-r--r-- 1 o g 1 Dec 11 12:50 good.zip\r\n";
    const TFtpListing listing = ParseListing(unix, false);
    ASSERT_EQ(listing.Items.size(), 1);
    EXPECT_EQ(listing.Items.at(0).FileName, "good.zip");
    EXPECT_EQ(listing.RefusedNames,
              QStringList({"../../evil.dll", "..\\..\\evil.dll", "/etc/passwd"}));

    const QByteArray mlsd = "type=file;size=1; sub/x.zip\nsize=1;type=file; ok.zip\n";
    const TFtpListing m = ParseListing(mlsd, true);
    ASSERT_EQ(m.Items.size(), 1);
    EXPECT_EQ(m.Items.at(0).FileName, "ok.zip");
    EXPECT_EQ(m.RefusedNames, QStringList({"sub/x.zip"}));

    for (const char *bad : {"", ".", "..", "a/b", "a\\b", "cr\rlf", "nul\x01"})
        EXPECT_FALSE(IsSafeEntryName(QString::fromUtf8(bad))) << bad;
    EXPECT_TRUE(IsSafeEntryName("...hidden but harmless"));
}

TEST(FtpListing, NamesAreUtf8)
{
    const TFtpListing listing =
        ParseListing("type=file;size=3; Caf\xc3\xa9.txt\r\n", true);
    ASSERT_EQ(listing.Items.size(), 1);
    EXPECT_EQ(listing.Items.at(0).FileName, QString::fromUtf8("Café.txt"));
}
