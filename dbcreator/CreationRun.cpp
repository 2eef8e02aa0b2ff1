#include "CreationRun.h"

#include "FileSystem.h"
#include "Helpers.h"
#include "Messages.h"
#include "SQLiteDB.h"
#include "TextFiles.h"

namespace zvo {

namespace {

// A name is a bare file stem: one with a separator would reach outside the folder.
bool isBareName(const QString &name)
{
    return !name.contains('\\') && !name.contains('/') && !name.contains(':');
}

} // namespace

TCreationRun::TCreationRun(TdmSQLiteDB &dmSQLiteDB, TStatusProc status)
    : FdmSQLiteDB(dmSQLiteDB), FStatus(std::move(status))
{
}

QString TCreationRun::ListFile() const
{
    return FDBPath + "CreateDBTables\\ZVOV12_DBs.txt";
}

QString TCreationRun::ScriptFile(const QString &name) const
{
    return FDBPath + "CreateDBTables\\Create" + name + "Tables.sql";
}

void TCreationRun::Execute(const QString &DBPath)
{
    FDBPath = DBPath;
    FStatus(QString());
    if (!ListFilesPresent()) {
        ShowPlainMessage("The file ZVOV12_DBs.txt is not in the CreateDBTables subdirectory");
        return;
    }
    if (!Confirmed())
        return;
    const std::optional<QStringList> names = ReadNames();
    if (!names)
        return;
    for (const QString &name : *names)
        if (!CreateDB(name))
            return;
    FdmSQLiteDB.fdqGeneric.Clear();
    FdmSQLiteDB.fdcnxSQLite.Disconnect();
    FStatus("Done");
}

// The marker says the folder is a V12 database folder; the list is what the run reads.
bool TCreationRun::ListFilesPresent() const
{
    return FileExists(FDBPath + "CreateDBTables\\V12.txt") && FileExists(ListFile());
}

bool TCreationRun::Confirmed()
{
    return ShowMessageDlg("WARNING!\rThis will destroy existing data\r\rContinue?",
                          {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, TMsgDlgBtn::mbNo,
                          TMsgDlgType::mtWarning)
           == mrYes;
}

// Every name is checked before any database is touched.
std::optional<QStringList> TCreationRun::ReadNames() const
{
    QStringList names;
    try {
        names = TextLines(ReadTextFile(ListFile(), TTextEncoding::UTF8));
    } catch (const ETextFileError &e) {
        ShowExceptionDlg(e);
        return std::nullopt;
    }
    for (const QString &name : names) {
        if (!isBareName(name)) {
            ShowPlainMessage("The name \"" + name + "\" in ZVOV12_DBs.txt is not a database"
                             " name. The process will stop");
            return std::nullopt;
        }
    }
    return names;
}

bool TCreationRun::CreateDB(const QString &name)
{
    FStatus("Creating DB: " + name);
    FdmSQLiteDB.fdcnxSQLite.Disconnect();
    const QString dbFile = FDBPath + name + ".sdb";
    DeleteFile(dbFile); // a file that cannot be deleted is opened as it is
    if (!Connect(dbFile))
        return false;
    const QString script = ScriptFile(name);
    if (!FileExists(script)) {
        ShowPlainMessage(script + " is missing. The process will stop");
        return false;
    }
    return RunScript(script);
}

bool TCreationRun::Connect(const QString &dbFile)
{
    try {
        FdmSQLiteDB.fdcnxSQLite.SetDatabase(dbFile);
        FdmSQLiteDB.fdcnxSQLite.Connect();
        return true;
    } catch (const ESQLiteError &e) {
        ShowExceptionDlg(e);
        return false;
    }
}

bool TCreationRun::RunScript(const QString &script)
{
    TSQLiteQuery &query = FdmSQLiteDB.fdqGeneric;
    query.Clear();
    try {
        query.SQL = ReadTextFile(script, TTextEncoding::ANSI);
    } catch (const ETextFileError &e) {
        ShowExceptionDlg(e);
        return false;
    }
    if (ScriptRanToItsEnd())
        return true;
    ShowPlainMessage("Error running " + script + "\rThe process will stop");
    return false;
}

// A script that opened its own transaction keeps it open when it fails, or when it forgets
// to commit: roll it back so the file is not left locked, and count it as a failure, since
// closing the connection would drop the work anyway.
bool TCreationRun::ScriptRanToItsEnd()
{
    TSQLiteConnection &connection = FdmSQLiteDB.fdcnxSQLite;
    bool ok = true;
    try {
        FdmSQLiteDB.fdqGeneric.ExecSQL();
    } catch (const ESQLiteError &) {
        ok = false;
    }
    if (connection.InTransaction()) {
        connection.Rollback();
        ok = false;
    }
    return ok;
}

} // namespace zvo
