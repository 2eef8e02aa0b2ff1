// The database creator's copy of the family library reads the root directory set with its
// own differences and puts the programs folder on its PATH.
#include "FileSystem.h"
#include "Helpers.h"
#include "RootDirs.h"
#include "TempDrive.h"

#include <gtest/gtest.h>

using namespace zvo;
using zvo::test::TempDrive;

TEST(RootDirsDbCreator, LoadReadSkipsTheInstallerOnlyKeys)
{
    TempDrive drive;
    ClearRootDirs();
    drive.WriteFile("Fam/INIFILES/ROOTDIRS.INI",
                    "[ROOTDIRS]\r\nZVORootDir=C:\\Fam\r\nZVOSarvelExamplesDir=C:\\Fam\\Ex\\\r\n"
                    "ZVOProgramsZVOATLASDLDir=C:\\Fam\\Atlas\\\r\nZVODatabaseDir=C:\\Fam\\DB\r\n");
    ZVOIniFilesDir = "C:\\Fam\\INIFILES\\";
    ZVOSarvelExamplesDir = "untouched";
    ASSERT_TRUE(LoadRootDirs());
    EXPECT_EQ(ZVORootDir, "C:\\FAM\\");
    EXPECT_EQ(ZVODatabaseDir, "C:\\Fam\\DB\\");
    EXPECT_EQ(ZVOSarvelExamplesDir, "untouched");
    EXPECT_EQ(ZVOProgramsZVOATLASDLDir, "");
    EXPECT_EQ(ZVOProgramsInstallerDir, "C:\\FAM\\Programs\\Installer\\");
    ClearRootDirs();
}

TEST(RootDirsDbCreator, ProgramsFolderJoinsThePathOnce)
{
    TempDrive drive;
    const QByteArray saved = qgetenv("PATH");
    ZVOProgramsDir = "C:\\Fam\\Programs\\";
    ASSERT_TRUE(ForceDirectories(ZVOProgramsDir));
    const QString host = HostPath(ZVOProgramsDir);
    AddProgramsDirToPath();
    AddProgramsDirToPath();
    EXPECT_EQ(QString::fromLocal8Bit(qgetenv("PATH")), QString::fromLocal8Bit(saved) + ':' + host);

    qputenv("PATH", "");
    AddProgramsDirToPath(); // no leading separator: that would add the current folder
    EXPECT_EQ(QString::fromLocal8Bit(qgetenv("PATH")), host);
    qputenv("PATH", saved);
    ZVOProgramsDir.clear();
}
