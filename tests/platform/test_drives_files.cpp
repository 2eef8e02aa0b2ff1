#include "Drives.h"
#include "FileSystem.h"
#include "TempDrive.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace zvo;
using zvo::test::TempDrive;

TEST(Drives, ExistingComponentsAreFoundWithoutRegardToCase)
{
    TempDrive drive;
    drive.WriteFile("Programs/Sarvel/ROOTDIRS.ini", "x");
    EXPECT_EQ(HostPath("C:\\PROGRAMS\\sarvel\\rootdirs.INI"),
              drive.Host("Programs/Sarvel/ROOTDIRS.ini"));
    // New components keep the case given; existing ones before them are still matched.
    EXPECT_EQ(HostPath("c:\\programs\\NewDir\\a.txt"), drive.Host("Programs/NewDir/a.txt"));
    EXPECT_TRUE(FileExists("C:\\programs\\SARVEL\\RootDirs.Ini"));
    EXPECT_TRUE(DirectoryExists("C:\\PROGRAMS\\"));
    EXPECT_FALSE(DirectoryExists("C:\\PROGRAMS\\Sarvel\\ROOTDIRS.ini"));
}

TEST(Drives, PathsRoundTripThroughTheTable)
{
    TempDrive drive;
    TDriveTable &t = TDriveTable::Instance();
    EXPECT_EQ(t.LogicalDrives(), QStringList({"C:\\", "Z:\\"}));
    EXPECT_EQ(t.ToWindows(drive.Host("A/b.txt")), "C:\\A\\b.txt");
    EXPECT_EQ(t.ToWindows(drive.HostRoot()), "C:\\");
    EXPECT_EQ(t.ToWindows("/usr/lib"), "Z:\\usr\\lib"); // outside any drive: through Z:
    EXPECT_EQ(HostPath("Q:\\x"), ""); // unmapped drive
    EXPECT_GT(t.DiskSize('C'), 0);
    EXPECT_GE(t.DiskFree('C'), 0);
    EXPECT_LE(t.DiskFree('C'), t.DiskSize('C'));
    EXPECT_EQ(t.DiskFree('Q'), -1);
    EXPECT_TRUE(ProgramDir().startsWith("Z:\\") || ProgramDir().startsWith("C:\\"));
    EXPECT_TRUE(ProgramDir().endsWith('\\'));
}

TEST(Drives, RelativePathsFollowTheCurrentDirectory)
{
    TempDrive drive;
    ASSERT_TRUE(ForceDirectories("C:\\Root\\IniFiles"));
    ASSERT_TRUE(SetCurrentDir("c:\\root"));
    EXPECT_EQ(GetCurrentDir(), "C:\\root\\");
    EXPECT_EQ(ExpandFileName("IniFiles\\..\\.\\x.ini"), "C:\\root\\x.ini");
    EXPECT_EQ(ExpandFileName("\\top\\"), "C:\\top\\");
    EXPECT_TRUE(DirectoryExists("INIFILES"));
    EXPECT_FALSE(SetCurrentDir("C:\\Missing\\"));
    EXPECT_EQ(GetCurrentDir(), "C:\\root\\");
}

TEST(Files, ListingKeepsHiddenFilesOutAndSortsByName)
{
    TempDrive drive;
    drive.WriteFile("D/b.txt", "bb");
    drive.WriteFile("D/A.rc2", "a");
    drive.WriteFile("D/.c.rc2", "c");
    drive.WriteFile("D/Sub/x", "x");
    drive.WriteFile("D/.hiddendir/x", "x");
    QStringList names;
    for (const TSearchRec &r : ListFiles("C:\\d\\"))
        names << r.Name;
    EXPECT_EQ(names, QStringList({"A.rc2", "b.txt"}));
    EXPECT_EQ(ListFiles("C:\\D", "*.RC2").size(), 1);
    EXPECT_EQ(ListFiles("C:\\D", "*.rc2", true).size(), 2);
    ASSERT_EQ(ListDirectories("C:\\D").size(), 1);
    EXPECT_EQ(ListDirectories("C:\\D").first().Name, "Sub");
    EXPECT_EQ(ListFiles("C:\\D").last().Size, 2);
    EXPECT_TRUE(ListFiles("C:\\Missing").isEmpty());
}

TEST(Files, CopyReplacesAndKeepsTheSourceTime)
{
    TempDrive drive;
    drive.WriteFile("src.bin", QByteArray(3 << 20, 'x'));
    drive.WriteFile("Dest/src.bin", "old");
    const QDateTime past = QDateTime::currentDateTime().addDays(-10);
    ASSERT_TRUE(SetFileLastWriteTime("C:\\src.bin", past));
    ASSERT_TRUE(CopyFileReplacing("C:\\src.bin", "C:\\DEST\\src.bin"));
    EXPECT_EQ(drive.ReadFile("Dest/src.bin").size(), 3 << 20);
    EXPECT_EQ(FileLastWriteTime("C:\\Dest\\src.bin")->toSecsSinceEpoch(), past.toSecsSinceEpoch());
    EXPECT_EQ(ListFiles("C:\\Dest", "*", true).size(), 1); // no temporary file left

    EXPECT_FALSE(CopyFileReplacing("C:\\missing.bin", "C:\\Dest\\x"));
    EXPECT_FALSE(CopyFileReplacing("C:\\src.bin", "C:\\NoFolder\\x"));
    drive.MakeReadOnly("Dest/src.bin");
    EXPECT_FALSE(CopyFileReplacing("C:\\src.bin", "C:\\Dest\\src.bin"));
    EXPECT_EQ(drive.ReadFile("Dest/src.bin").size(), 3 << 20);
}

TEST(Files, CreateAndDelete)
{
    TempDrive drive;
    EXPECT_TRUE(ForceDirectories("C:\\a\\b\\c\\"));
    EXPECT_TRUE(DirectoryExists("C:\\A\\B\\C"));
    drive.WriteFile("a/f.txt", "1");
    EXPECT_EQ(FileSize("C:\\A\\F.TXT"), 1);
    EXPECT_TRUE(DeleteFile("C:\\A\\F.TXT"));
    EXPECT_FALSE(DeleteFile("C:\\A\\F.TXT"));
    EXPECT_FALSE(DeleteFile("C:\\A\\B")); // a folder is not a file
    EXPECT_FALSE(RemoveDir("C:\\A"));     // not empty
    EXPECT_TRUE(RemoveDirRecursive("C:\\A"));
    EXPECT_FALSE(DirectoryExists("C:\\A"));
    EXPECT_FALSE(ForceDirectories("Q:\\nowhere"));
}
