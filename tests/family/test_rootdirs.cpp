#include "Dialogs.h"
#include "FamilyFormats.h"
#include "FileSystem.h"
#include "IniFile.h"
#include "RootDirs.h"
#include "TempDrive.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace zvo;
using zvo::test::TempDrive;

namespace {

class RootDirs : public ::testing::Test {
protected:
    void SetUp() override { ClearRootDirs(); }
    void TearDown() override { ClearRootDirs(); }

    // The ROOTDIRS.INI keys of a file, in order.
    static QStringList keysOf(const QString &file)
    {
        return TIniFile(file).ReadSection("ROOTDIRS");
    }

    TempDrive drive;
    TScriptedResponder script; // any box that shows up is an unexpected one
};

const QStringList savedKeys = {
    "ZVORootDir", "ZVOAAVSODir", "ZVOALCDEFDir", "ZVOAnalysisDir", "ZVOSarvelDir",
    "ZVOChartsDir", "ZVOCommonDir", "ZVOTobrinDir", "ZVODataDir", "ZVODatabaseDir",
    "ZVODocsDir", "ZVODownloadsDir", "ZVOSarvelExamplesDir", "ZVOExportsDir", "ZVOImagesDir",
    "ZVOIniFilesDir", "ZVOLogsDir", "ZVOZVODir", "ZVOKelmorDir", "ZVOPlotsDir",
    "ZVOProgramsDir", "ZVOProgramsALCDEFDir", "ZVOProgramsSarvelDir", "ZVOProgramsExportV10Dir",
    "ZVOProgramsExtractDir", "ZVOProgramsExtractFile", "ZVOProgramsImportV10Dir",
    "ZVOProgramsInstallerDir", "ZVOProgramsFendralDir", "ZVOProgramsZVOATLASDLDir",
    "ZVOProgramsKelmorDir", "ZVOProgramsScripterDir", "ZVOProgramsUtilitiesDir",
    "ZVOScriptsDir", "ZVOScopePosDir", "ZVOUDataDir", "ZVOUpdatesDir"};

// Every folder the tree-building read makes, relative to the root.
const QStringList treeFolders = {
    "AAVSO/BatchRef", "AAVSO/Reports", "ALCDEF/Archives", "AnalysisData",
    "Sarvel/Astrometry/AST", "Sarvel/Astrometry/MPC80", "Sarvel/Astrometry/ADES",
    "Sarvel/Astrometry/ImageLists", "Sarvel/Astrometry/EMFChecks", "Charts", "Common",
    "Tobrin/Scripts", "Data", "Docs", "Downloads", "Databases", "Examples/Sarvel",
    "UData/ImportsExports/V12DB", "UData/ImportsExports/V10Imports", "Images", "Logs",
    "ZVOAvg", "Kelmor/ObsData", "Kelmor/Transforms", "Plots", "Programs/ALCDEF",
    "Programs/Sarvel", "Programs/ExportV10", "Programs/Extract", "Programs/ImportV10",
    "Programs/ZVOV12Installer", "Programs/Fendral", "Programs/ZVOATLASDL", "Programs/Kelmor",
    "Programs/Scripter", "Programs/Utilities", "Updates", "INIFILES/Sarvel", "INIFILES/Forms",
    "INIFILES/Components", "INIFILES/Fendral", "INIFILES/Kelmor", "INIFILES/Scripter",
    "INIFILES/MRULists", "INIFILES/Sessions"};

} // namespace

TEST_F(RootDirs, TreeBuildingReadMakesTheWholeTreeAndSavesAllEntries)
{
    // What the installation run leaves before the read: the root and its two entries.
    ASSERT_TRUE(ForceDirectories("C:\\My Root\\INIFILES\\"));
    TIniFile first("C:\\My Root\\INIFILES\\ROOTDIRS.ini");
    first.WriteString("ROOTDIRS", "ZVORootDir", "C:\\My Root\\");
    first.WriteString("ROOTDIRS", "ZVOIniFilesDir", "C:\\My Root\\INIFILES\\");

    ASSERT_TRUE(ReadRootDirs("c:\\My Root"));

    for (const QString &f : treeFolders)
        EXPECT_TRUE(QFileInfo(drive.Host("My Root/" + f)).isDir()) << qPrintable(f);
    const QString file = "C:\\My Root\\INIFILES\\ROOTDIRS.INI";
    // Entries already in the file keep their place; the others follow in saving order.
    QStringList expectedKeys = savedKeys;
    expectedKeys.move(expectedKeys.indexOf("ZVOIniFilesDir"), 1);
    EXPECT_EQ(keysOf(file), expectedKeys);
    const TIniFile saved(file);
    EXPECT_EQ(saved.ReadString("ROOTDIRS", "ZVORootDir", ""), "c:\\My Root\\");
    EXPECT_EQ(saved.ReadString("ROOTDIRS", "ZVOExportsDir", ""), "c:\\My Root\\UData\\ImportsExports\\");
    EXPECT_EQ(saved.ReadString("ROOTDIRS", "ZVOProgramsExtractFile", ""),
              "c:\\My Root\\Programs\\Extract\\Extract.exe");
    EXPECT_EQ(saved.ReadString("ROOTDIRS", "ZVOScopePosDir", ""), "c:\\My Root\\Programs\\Scripter\\");
    // After the save the set holds the load read's values: the root in upper case.
    EXPECT_EQ(ZVORootDir, "C:\\MY ROOT\\");
    EXPECT_EQ(ZVODatabaseDir, "c:\\My Root\\Databases\\");
    EXPECT_EQ(ZVOIniFilesDir, "C:\\My Root\\INIFILES\\");
    EXPECT_EQ(GetCurrentDir(), "C:\\"); // an existing Dir needs no search
    EXPECT_TRUE(script.Unexpected().isEmpty()) << qPrintable(script.Unexpected().join('|'));
}

TEST_F(RootDirs, EntriesOfTheFileAndTheirDefaults)
{
    drive.WriteFile("R/INIFILES/ROOTDIRS.INI",
                    "[ROOTDIRS]\r\nZVORootDir=C:\\Elsewhere\\\r\nZVOTobrinDir=D:\\X\\\r\n"
                    "ZVOChartsDir=\r\nZVOProgramsInstallerDir=C:\\Custom\\\r\n"
                    "ZVOProgramsScripterDir=C:\\R\\Scr\r\nZVOUDataDir=C:\\R\\U\r\n"
                    "unrelated=kept\r\n");
    ASSERT_TRUE(ReadRootDirs("C:\\R\\"));
    const TIniFile saved("C:\\R\\INIFILES\\ROOTDIRS.INI");
    auto entry = [&](const char *key) { return saved.ReadString("ROOTDIRS", key, "?"); };
    EXPECT_EQ(entry("ZVORootDir"), "C:\\R\\");            // the file's own root is not used
    EXPECT_EQ(entry("ZVOScriptsDir"), "D:\\X\\Scripts\\"); // hangs off the file's Tobrin entry
    EXPECT_EQ(entry("ZVOChartsDir"), "\\");               // present but empty: not the default
    EXPECT_EQ(entry("ZVOProgramsInstallerDir"), "C:\\R\\Programs\\ZVOV12Installer\\");
    EXPECT_EQ(entry("ZVOScopePosDir"), "C:\\R\\Scr\\");
    EXPECT_EQ(entry("ZVOExportsDir"), "C:\\R\\U\\ImportsExports\\");
    EXPECT_EQ(entry("unrelated"), "kept");
    EXPECT_TRUE(QFileInfo(drive.Host("R/U/ImportsExports/V12DB")).isDir());
}

TEST_F(RootDirs, MissingFileFallsBackToTheDefaultRoot)
{
    ASSERT_TRUE(ForceDirectories("C:\\Chosen\\INIFILES\\"));
    ASSERT_TRUE(ReadRootDirs("C:\\Chosen"));
    // The chosen root's settings file gets the default root, and the tree goes there.
    EXPECT_EQ(drive.ReadFile("Chosen/INIFILES/ROOTDIRS.INI"),
              "[ROOTDIRS]\r\nZVORootDir=C:\\ZVOv12\\\r\n");
    EXPECT_TRUE(QFileInfo(drive.Host("ZVOv12/Programs/Sarvel")).isDir());
    EXPECT_EQ(keysOf("C:\\ZVOv12\\IniFiles\\ROOTDIRS.INI"), savedKeys);
    EXPECT_EQ(ZVORootDir, "C:\\ZVOV12\\");
}

TEST_F(RootDirs, AWriteIntoAMissingSettingsFolderReachesTheCaller)
{
    ASSERT_TRUE(ForceDirectories("C:\\NoIni\\"));
    EXPECT_THROW(ReadRootDirs("C:\\NoIni"), EIniFileException);
    EXPECT_FALSE(QFileInfo::exists(drive.Host("NoIni/INIFILES")));
}

TEST_F(RootDirs, SearchUpwardsForTheSettingsFolder)
{
    drive.WriteFile("Fam/INIFILES/ROOTDIRS.INI", "[ROOTDIRS]\r\n");
    ASSERT_TRUE(ForceDirectories("C:\\Fam\\Sub\\Deeper\\"));
    ASSERT_TRUE(SetCurrentDir("C:\\Fam\\Sub\\Deeper\\"));
    ASSERT_TRUE(ReadRootDirs("C:\\Missing\\"));
    EXPECT_EQ(TIniFile("C:\\Fam\\INIFILES\\ROOTDIRS.INI").ReadString("ROOTDIRS", "ZVOLogsDir", ""),
              "C:\\Fam\\Logs\\");
    EXPECT_EQ(GetCurrentDir(), "C:\\Fam\\"); // the search leaves the root current
    EXPECT_TRUE(script.FolderRequests().isEmpty());
}

TEST_F(RootDirs, AtTheDriveRootTheUserIsAsked)
{
    drive.WriteFile("Picked/INIFILES/ROOTDIRS.ini", "[ROOTDIRS]\r\n");
    ASSERT_TRUE(ForceDirectories("C:\\Lost\\"));

    struct Case { bool pick; QString folder; bool found; };
    const Case cases[] = {{false, {}, false},
                         {true, "C:\\Lost", false},     // no ROOTDIRS.ini under it
                         {true, "C:\\Picked", true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(qPrintable(c.folder));
        ASSERT_TRUE(SetCurrentDir("C:\\Lost\\"));
        c.pick ? script.PickFolder(c.folder) : script.CancelFolder();
        const QByteArray before = drive.ReadFile("Picked/INIFILES/ROOTDIRS.ini");
        EXPECT_EQ(ReadRootDirs("C:\\Missing\\"), c.found);
        EXPECT_EQ(script.FolderRequests().last().Caption, "ZVO v12 Root Directory");
        EXPECT_FALSE(script.FolderRequests().last().AllowNewFolder);
        if (!c.found) {
            EXPECT_EQ(drive.ReadFile("Picked/INIFILES/ROOTDIRS.ini"), before);
        }
    }
    EXPECT_EQ(keysOf("C:\\Picked\\INIFILES\\ROOTDIRS.INI"), savedKeys);
}

TEST_F(RootDirs, LoadReadCopesWithBadFiles)
{
    struct Case { const char *name; QByteArray bytes; };
    const Case cases[] = {{"empty", ""},
                          {"garbage", QByteArray("\x00\xFF[[=\x01\r\n=\n[ROOTDIRS\n", 17)},
                          {"blank root", "[rootdirs]\r\nzvorootdir=   \r\n"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ClearRootDirs();
        drive.WriteFile("Set/ROOTDIRS.INI", c.bytes);
        ZVOIniFilesDir = "C:\\Set\\";
        EXPECT_TRUE(LoadRootDirs());
        EXPECT_EQ(ZVORootDir, "C:\\ZVOV12\\");
        EXPECT_EQ(ZVOIniFilesDir, "C:\\ZVOV12\\IniFIles\\");
        EXPECT_EQ(ZVOProgramsScripterDir, "C:\\ZVOV12\\Programs\\Scripter\\");
        EXPECT_EQ(ZVOScopePosDir, "C:\\ZVOV12\\");
        EXPECT_EQ(ZVOUDataDir, "C:\\ZVOV12\\UData\\");
    }
    EXPECT_TRUE(QFileInfo(drive.Host("ZVOV12/IniFIles/Scripter")).isDir());
    EXPECT_TRUE(QFileInfo(drive.Host("ZVOV12/Downloads")).isDir());
}

TEST_F(RootDirs, LoadReadOfAReadOnlyFile)
{
    drive.WriteFile("Ro/INIFILES/ROOTDIRS.INI",
                    "[ROOTDIRS]\r\nZVORootDir=c:\\ro\\\r\nZVODatabaseDir=C:\\Ro\\DB\\\r\n");
    drive.MakeReadOnly("Ro/INIFILES/ROOTDIRS.INI");
    ZVOIniFilesDir = "C:\\Ro\\INIFILES\\";
    EXPECT_TRUE(LoadRootDirs());
    EXPECT_EQ(ZVORootDir, "C:\\RO\\");
    EXPECT_EQ(ZVODatabaseDir, "C:\\Ro\\DB\\");
    EXPECT_THROW(SaveRootDirs(), EIniFileException);
}

TEST(RootedPath, TrimsTheRelativePath)
{
    ZVORootDir = "D:\\R\\";
    EXPECT_EQ(RootedPath("  Programs\\Sarvel\\ "), "D:\\R\\Programs\\Sarvel\\");
    ZVORootDir.clear();
}
