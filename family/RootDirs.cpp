#include "RootDirs.h"

#include "FamilyVariant.h"
#include "FileSystem.h"
#include "Helpers.h"
#include "IniFile.h"
#include "WinPath.h"

#include <vector>

namespace zvo {

QString ZVORootDir, ZVOAAVSODir, ZVOALCDEFDir, ZVOAnalysisDir, ZVOSarvelDir, ZVOChartsDir,
    ZVOCommonDir, ZVOTobrinDir, ZVODataDir, ZVODatabaseDir, ZVODocsDir, ZVODownloadsDir,
    ZVOSarvelExamplesDir, ZVOExportsDir, ZVOImagesDir, ZVOIniFilesDir, ZVOLogsDir, ZVOZVODir,
    ZVOKelmorDir, ZVOPlotsDir, ZVOProgramsDir, ZVOProgramsALCDEFDir, ZVOProgramsSarvelDir,
    ZVOProgramsExportV10Dir, ZVOProgramsExtractDir, ZVOProgramsExtractFile,
    ZVOProgramsImportV10Dir, ZVOProgramsInstallerDir, ZVOProgramsFendralDir,
    ZVOProgramsZVOATLASDLDir, ZVOProgramsKelmorDir, ZVOProgramsScripterDir,
    ZVOProgramsUtilitiesDir, ZVOScriptsDir, ZVOScopePosDir, ZVOUDataDir, ZVOUpdatesDir;

const QString DefaultZVORoot = "C:\\ZVOv12\\";

namespace {

const QString Section = "ROOTDIRS";
const QString FileName = "ROOTDIRS.INI";

// The entries in the order they are saved.
struct Entry {
    const char *key;
    QString *value;
};
const std::vector<Entry> &savedEntries()
{
    static const std::vector<Entry> entries = {
        {"ZVORootDir", &ZVORootDir},
        {"ZVOAAVSODir", &ZVOAAVSODir},
        {"ZVOALCDEFDir", &ZVOALCDEFDir},
        {"ZVOAnalysisDir", &ZVOAnalysisDir},
        {"ZVOSarvelDir", &ZVOSarvelDir},
        {"ZVOChartsDir", &ZVOChartsDir},
        {"ZVOCommonDir", &ZVOCommonDir},
        {"ZVOTobrinDir", &ZVOTobrinDir},
        {"ZVODataDir", &ZVODataDir},
        {"ZVODatabaseDir", &ZVODatabaseDir},
        {"ZVODocsDir", &ZVODocsDir},
        {"ZVODownloadsDir", &ZVODownloadsDir},
        {"ZVOSarvelExamplesDir", &ZVOSarvelExamplesDir},
        {"ZVOExportsDir", &ZVOExportsDir},
        {"ZVOImagesDir", &ZVOImagesDir},
        {"ZVOIniFilesDir", &ZVOIniFilesDir},
        {"ZVOLogsDir", &ZVOLogsDir},
        {"ZVOZVODir", &ZVOZVODir},
        {"ZVOKelmorDir", &ZVOKelmorDir},
        {"ZVOPlotsDir", &ZVOPlotsDir},
        {"ZVOProgramsDir", &ZVOProgramsDir},
        {"ZVOProgramsALCDEFDir", &ZVOProgramsALCDEFDir},
        {"ZVOProgramsSarvelDir", &ZVOProgramsSarvelDir},
        {"ZVOProgramsExportV10Dir", &ZVOProgramsExportV10Dir},
        {"ZVOProgramsExtractDir", &ZVOProgramsExtractDir},
        {"ZVOProgramsExtractFile", &ZVOProgramsExtractFile},
        {"ZVOProgramsImportV10Dir", &ZVOProgramsImportV10Dir},
        {"ZVOProgramsInstallerDir", &ZVOProgramsInstallerDir},
        {"ZVOProgramsFendralDir", &ZVOProgramsFendralDir},
        {"ZVOProgramsZVOATLASDLDir", &ZVOProgramsZVOATLASDLDir},
        {"ZVOProgramsKelmorDir", &ZVOProgramsKelmorDir},
        {"ZVOProgramsScripterDir", &ZVOProgramsScripterDir},
        {"ZVOProgramsUtilitiesDir", &ZVOProgramsUtilitiesDir},
        {"ZVOScriptsDir", &ZVOScriptsDir},
        {"ZVOScopePosDir", &ZVOScopePosDir},
        {"ZVOUDataDir", &ZVOUDataDir},
        {"ZVOUpdatesDir", &ZVOUpdatesDir},
    };
    return entries;
}

// One read of the set from a file: each value with its default, "\" appended.
class TSetReader {
public:
    explicit TSetReader(const QString &file) : FIni(file) {}

    void Dir(QString &value, const QString &key, const QString &def)
    {
        value = IncludeTrailingBackslash(FIni.ReadString(Section, key, def));
    }
    void File(QString &value, const QString &key, const QString &def)
    {
        value = FIni.ReadString(Section, key, def);
    }

private:
    TIniFile FIni;
};

// The keys both reads take alike, in their order; `root` is the root at that moment.
void readCommonHead(TSetReader &r, const QString &root)
{
    r.Dir(ZVOAAVSODir, "ZVOAAVSODir", root + "AAVSO\\");
    r.Dir(ZVOALCDEFDir, "ZVOALCDEFDir", root + "ALCDEF\\");
    r.Dir(ZVOAnalysisDir, "ZVOAnalysisDir", root + "AnalysisData\\");
    r.Dir(ZVOSarvelDir, "ZVOSarvelDir", root + "Sarvel\\");
    r.Dir(ZVOChartsDir, "ZVOChartsDir", root + "Charts\\");
    r.Dir(ZVOCommonDir, "ZVOCommonDir", root + "Common\\");
    r.Dir(ZVOTobrinDir, "ZVOTobrinDir", root + "Tobrin\\");
    r.Dir(ZVODataDir, "ZVODataDir", root + "Data\\");
    r.Dir(ZVODatabaseDir, "ZVODatabaseDir", root + "Databases\\");
    r.Dir(ZVODocsDir, "ZVODocsDir", root + "Docs\\");
    r.Dir(ZVODownloadsDir, "ZVODownloadsDir", root + "Downloads\\");
}

void readProgramsCommon(TSetReader &r, const QString &root)
{
    r.Dir(ZVOProgramsDir, "ZVOProgramsDir", root + "Programs\\");
    r.Dir(ZVOProgramsALCDEFDir, "ZVOProgramsALCDEFDir", root + "Programs\\ALCDEF\\");
    r.Dir(ZVOProgramsSarvelDir, "ZVOProgramsSarvelDir", root + "Programs\\Sarvel\\");
}

void readTreeBuilding(const QString &file)
{
    const QString root = ZVORootDir;
    TSetReader r(file);
    readCommonHead(r, root);
    r.Dir(ZVOSarvelExamplesDir, "ZVOSarvelExamplesDir", root + "Examples\\Sarvel\\");
    // The exports folder hangs off the user-data folder, so that one is read first.
    r.Dir(ZVOUDataDir, "ZVOUDataDir", root + "UData");
    r.Dir(ZVOExportsDir, "ZVOExportsDir", ZVOUDataDir + "ImportsExports\\");
    r.Dir(ZVOImagesDir, "ZVOImagesDir", root + "Images\\");
    r.Dir(ZVOIniFilesDir, "ZVOIniFilesDir", root + "IniFiles\\");
    r.Dir(ZVOLogsDir, "ZVOLogsDir", root + "Logs\\");
    r.Dir(ZVOZVODir, "ZVOZVODir", root + "ZVOAvg\\");
    r.Dir(ZVOKelmorDir, "ZVOKelmorDir", root + "Kelmor\\");
    r.Dir(ZVOPlotsDir, "ZVOPlotsDir", root + "Plots\\");
    readProgramsCommon(r, root);
    r.Dir(ZVOProgramsExportV10Dir, "ZVOProgramsExportV10Dir", root + "Programs\\ExportV10\\");
    r.Dir(ZVOProgramsExtractDir, "ZVOProgramsExtractDir", root + "Programs\\Extract\\");
    r.File(ZVOProgramsExtractFile, "ZVOProgramsExtractFile",
           root + "Programs\\Extract\\Extract.exe");
    r.Dir(ZVOProgramsImportV10Dir, "ZVOProgramsImportV10Dir", root + "Programs\\ImportV10\\");
    // This read knows these two folders under older key names than the save writes.
    r.Dir(ZVOProgramsInstallerDir, "ZVOProgramsV12InstallerDir",
          root + "Programs\\ZVOV12Installer\\");
    r.Dir(ZVOProgramsFendralDir, "ZVOProgramsFendralDir", root + "Programs\\Fendral\\");
    r.Dir(ZVOProgramsZVOATLASDLDir, "ZVOProgramsZVOATLASDLV10Dir",
          root + "Programs\\ZVOATLASDL\\");
    r.Dir(ZVOProgramsKelmorDir, "ZVOProgramsKelmorDir", root + "Programs\\Kelmor\\");
    r.Dir(ZVOProgramsScripterDir, "ZVOProgramsScripterDir", root + "Programs\\Scripter\\");
    r.Dir(ZVOProgramsUtilitiesDir, "ZVOProgramsUtilitiesDir", root + "Programs\\Utilities\\");
    r.Dir(ZVOScriptsDir, "ZVOScriptsDir", ZVOTobrinDir + "Scripts\\");
    r.Dir(ZVOScopePosDir, "ZVOScopePosDir", ZVOProgramsScripterDir);
    r.Dir(ZVOUpdatesDir, "ZVOUpdatesDir", root + "Updates\\");
}

void readForLoad(const QString &file)
{
    const QString root = ZVORootDir;
    TSetReader r(file);
    readCommonHead(r, root);
    if (!IsDatabaseCreator)
        r.Dir(ZVOSarvelExamplesDir, "ZVOSarvelExamplesDir", root + "Examples\\Sarvel\\");
    r.Dir(ZVOImagesDir, "ZVOImagesDir", root + "Images\\");
    r.Dir(ZVOIniFilesDir, "ZVOIniFilesDir", root + "IniFIles\\");
    r.Dir(ZVOLogsDir, "ZVOLogsDir", root + "Logs\\");
    r.Dir(ZVOZVODir, "ZVOZVODir", root + "ZVOAvg\\");
    r.Dir(ZVOKelmorDir, "ZVOKelmorDir", root + "Kelmor\\");
    r.Dir(ZVOPlotsDir, "ZVOPlotsDir", root + "Plots\\");
    readProgramsCommon(r, root);
    if (!IsDatabaseCreator)
        r.Dir(ZVOProgramsExportV10Dir, "ZVOProgramsExportV10Dir",
              root + "Programs\\ExportV10\\");
    r.Dir(ZVOProgramsExtractDir, "ZVOProgramsExtractDir", root + "Programs\\Extract\\");
    r.File(ZVOProgramsExtractFile, "ZVOProgramsExtractFile",
           root + "Programs\\Extract\\Extract.exe");
    if (!IsDatabaseCreator)
        r.Dir(ZVOProgramsImportV10Dir, "ZVOProgramsImportV10Dir",
              root + "Programs\\ImportV10\\");
    r.Dir(ZVOProgramsInstallerDir, "ZVOProgramsInstallerDir",
          root + (IsDatabaseCreator ? "Programs\\Installer\\" : "Programs\\ZVOV12Installer\\"));
    r.Dir(ZVOProgramsFendralDir, "ZVOProgramsFendralDir", root + "Programs\\Fendral\\");
    if (!IsDatabaseCreator)
        r.Dir(ZVOProgramsZVOATLASDLDir, "ZVOProgramsZVOATLASDLDir",
              root + "Programs\\ZVOATLASDL\\");
    r.Dir(ZVOProgramsKelmorDir, "ZVOProgramsKelmorDir", root + "Programs\\Kelmor\\");
    r.Dir(ZVOProgramsScripterDir, "ZVOProgramsScripterDir", root + "Programs\\Scripter");
    r.Dir(ZVOProgramsUtilitiesDir, "ZVOProgramsUtilitiesDir", root + "Programs\\Utilities\\");
    r.Dir(ZVOScriptsDir, "ZVOScriptsDir", ZVOTobrinDir + "Scripts\\");
    r.Dir(ZVOScopePosDir, "ZVOScopePosDir", root);
    r.Dir(ZVOUDataDir, "ZVOUDataDir", root + "UData");
    r.Dir(ZVOUpdatesDir, "ZVOUpdatesDir", root + "Updates\\");
}

void force(const QString &dir)
{
    ForceDirectories(dir); // a folder that cannot be made is passed over
}

void forceUnder(const QString &dir, std::initializer_list<const char *> subs)
{
    for (const char *s : subs)
        force(dir + s);
}

void createIniSubDirs(bool withMoreLists)
{
    forceUnder(ZVOIniFilesDir, {"Sarvel", "Forms", "Components", "Fendral", "Kelmor",
                                "Scripter"});
    if (withMoreLists)
        forceUnder(ZVOIniFilesDir, {"MRULists", "Sessions"});
}

void createTree()
{
    force(ZVOScopePosDir);
    force(ZVOAnalysisDir);
    force(ZVOAAVSODir);
    forceUnder(ZVOAAVSODir, {"BatchRef", "Reports"});
    force(ZVOALCDEFDir);
    forceUnder(ZVOALCDEFDir, {"Archives"});
    force(ZVOSarvelDir);
    forceUnder(ZVOSarvelDir, {"Astrometry", "Astrometry\\AST", "Astrometry\\MPC80",
                              "Astrometry\\ADES", "Astrometry\\ImageLists",
                              "Astrometry\\EMFChecks"});
    for (const QString *d : {&ZVOChartsDir, &ZVOCommonDir, &ZVOTobrinDir, &ZVODataDir,
                             &ZVODocsDir, &ZVODownloadsDir, &ZVODatabaseDir,
                             &ZVOSarvelExamplesDir, &ZVOExportsDir, &ZVOImagesDir,
                             &ZVOIniFilesDir, &ZVOLogsDir, &ZVOZVODir})
        force(*d);
    force(ZVOKelmorDir);
    forceUnder(ZVOKelmorDir, {"ObsData", "Transforms"});
    for (const QString *d :
         {&ZVOPlotsDir, &ZVOProgramsDir, &ZVOProgramsALCDEFDir, &ZVOProgramsSarvelDir,
          &ZVOProgramsExportV10Dir, &ZVOProgramsExtractDir, &ZVOProgramsImportV10Dir,
          &ZVOProgramsInstallerDir, &ZVOProgramsFendralDir, &ZVOProgramsZVOATLASDLDir,
          &ZVOProgramsKelmorDir, &ZVOProgramsScripterDir, &ZVOProgramsUtilitiesDir,
          &ZVOScriptsDir, &ZVOUDataDir, &ZVOUpdatesDir})
        force(*d);
    forceUnder(ZVOExportsDir, {"V12DB", "V10Imports"});
    createIniSubDirs(true);
}

// Makes the current directory's parent current and returns it with trailing "\".
QString parentOfCurrent()
{
    return IncludeTrailingBackslash(ParentDir(GetCurrentDir()));
}

} // namespace

bool ReadRootDirs(const QString &Dir)
{
    if (DirectoryExists(Dir)) {
        ZVORootDir = IncludeTrailingBackslash(Dir);
        ZVOIniFilesDir = ZVORootDir + "INIFILES\\";
    } else {
        const QString s = TrimText(FindIniFilesDir());
        if (s.isEmpty())
            return false;
        ZVOIniFilesDir = IncludeTrailingBackslash(s);
        SetCurrentDir(ZVOIniFilesDir);
        ZVORootDir = parentOfCurrent();
        SetCurrentDir(ZVORootDir);
    }
    const QString file = ZVOIniFilesDir + FileName;
    if (!FileExists(file)) {
        TIniFile(file).WriteString(Section, "ZVORootDir", DefaultZVORoot);
        ZVORootDir = DefaultZVORoot;
    }
    readTreeBuilding(file);
    createTree();
    SaveRootDirs();
    return true;
}

QString FindIniFilesDir()
{
    QString c = IncludeTrailingBackslash(GetCurrentDir());
    do {
        if (!DirectoryExists(c + "INIFILES\\")) {
            const QString p = c;
            SetCurrentDir(c);
            c = parentOfCurrent();
            if (SameText(c, p))
                break;
        }
        if (c.endsWith(":\\"))
            break;
    } while (!DirectoryExists(c + "INIFILES\\"));

    if (c.endsWith(":\\")) {
        TFolderRequest request;
        request.Caption = "ZVO v12 Root Directory";
        request.AllowNewFolder = false;
        const std::optional<QString> f = TDialogs::BrowseForFolder(request);
        if (!f)
            return QString();
        const QString r = IncludeTrailingBackslash(*f) + "INIFILES\\";
        if (!FileExists(r + "ROOTDIRS.ini"))
            return QString();
        SetCurrentDir(r);
        return r;
    }
    SetCurrentDir(c);
    SetCurrentDir(IncludeTrailingBackslash(GetCurrentDir()) + "INIFILES\\");
    return IncludeTrailingBackslash(GetCurrentDir());
}

void SaveRootDirs()
{
    TIniFile ini(ZVOIniFilesDir + FileName);
    for (const Entry &e : savedEntries()) {
        const bool programs = e.value == &ZVOProgramsDir;
        ini.WriteString(Section, e.key, programs ? ZVORootDir + "Programs\\" : *e.value);
    }
    LoadRootDirs();
}

bool LoadRootDirs()
{
    QString file = ZVOIniFilesDir + FileName;
    if (!FileExists(file))
        file = ProgramDir() + FileName;
    if (FileExists(file)) {
        QString root = TIniFile(file).ReadString(Section, "ZVORootDir", QString());
        ZVORootDir = TrimText(root).isEmpty() ? DefaultZVORoot : IncludeTrailingBackslash(root);
    } else {
        ZVORootDir = DefaultZVORoot;
    }
    ZVORootDir = ZVORootDir.toUpper();
    readForLoad(file);

    force(ZVOIniFilesDir);
    createIniSubDirs(false);
    for (const QString *d : {&ZVOAAVSODir, &ZVOALCDEFDir, &ZVOPlotsDir, &ZVOLogsDir,
                             &ZVODownloadsDir})
        force(*d);

    if (IsDatabaseCreator)
        AddProgramsDirToPath();
    else if (!CheckSSLLibraries())
        ShowErrorDlg("Could not load SSL libaries");
    return true;
}

QString RootedPath(const QString &RelPath)
{
    return ZVORootDir + TrimText(RelPath);
}

void ClearRootDirs()
{
    for (const Entry &e : savedEntries())
        e.value->clear();
}

} // namespace zvo
