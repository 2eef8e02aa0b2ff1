#pragma once
// The root directory set: the family's folders, one value per ROOTDIRS.INI key, each ending
// with "\" (ZVOProgramsExtractFile is a file). Process-wide, empty at start.
#include <QString>

namespace zvo {

extern QString ZVORootDir;
extern QString ZVOAAVSODir;
extern QString ZVOALCDEFDir;
extern QString ZVOAnalysisDir;
extern QString ZVOSarvelDir;
extern QString ZVOChartsDir;
extern QString ZVOCommonDir;
extern QString ZVOTobrinDir;
extern QString ZVODataDir;
extern QString ZVODatabaseDir;
extern QString ZVODocsDir;
extern QString ZVODownloadsDir;
extern QString ZVOSarvelExamplesDir;
extern QString ZVOExportsDir;
extern QString ZVOImagesDir;
extern QString ZVOIniFilesDir;
extern QString ZVOLogsDir;
extern QString ZVOZVODir;
extern QString ZVOKelmorDir;
extern QString ZVOPlotsDir;
extern QString ZVOProgramsDir;
extern QString ZVOProgramsALCDEFDir;
extern QString ZVOProgramsSarvelDir;
extern QString ZVOProgramsExportV10Dir;
extern QString ZVOProgramsExtractDir;
extern QString ZVOProgramsExtractFile;
extern QString ZVOProgramsImportV10Dir;
extern QString ZVOProgramsInstallerDir;
extern QString ZVOProgramsFendralDir;
extern QString ZVOProgramsZVOATLASDLDir;
extern QString ZVOProgramsKelmorDir;
extern QString ZVOProgramsScripterDir;
extern QString ZVOProgramsUtilitiesDir;
extern QString ZVOScriptsDir;
extern QString ZVOScopePosDir;
extern QString ZVOUDataDir;
extern QString ZVOUpdatesDir;

// The default family root.
extern const QString DefaultZVORoot; // "C:\ZVOv12\"

// The tree-building read: establishes the root (Dir, or found through FindIniFilesDir),
// reads the set, creates the whole tree and saves it. False when no settings folder is found.
bool ReadRootDirs(const QString &Dir);
// Searches upwards from the current directory for a folder holding "INIFILES\", asking the
// user at a drive root; the settings directory with trailing "\", or empty.
QString FindIniFilesDir();
// Writes the 37 entries and loads the set again. A write that fails raises EIniFileException.
void SaveRootDirs();
// The load read used at start-up and after a save; always true.
bool LoadRootDirs();
// ZVORootDir + RelPath without its leading and trailing blanks and control characters.
QString RootedPath(const QString &RelPath);

// Empties every value (as at program start).
void ClearRootDirs();

} // namespace zvo
