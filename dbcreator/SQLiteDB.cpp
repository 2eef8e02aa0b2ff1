#include "SQLiteDB.h"

#include "RootDirs.h"
#include "TableStructure.h"
#include "WinPath.h"

#include <sqlite3.h>

namespace zvo {

namespace {

// The session needs ten attachments; ask for more where the engine allows it.
constexpr int WantedAttachments = 15;

} // namespace

TdmSQLiteDB::TdmSQLiteDB()
    : fdtblGeneric(fdcnxSQLite, "mpcorb"), fdqGeneric(fdcnxSQLite),
      fdtblCopyTo(fdcnxSQLite, "mpcorb")
{
    fdcnxSQLite.SetDatabase("C:\\ZVOV12\\Databases\\asteroids.sdb");
}

void TdmSQLiteDB::DataModuleCreate()
{
    LoadRootDirs();
    AttachList.clear();
    DBPath = ZVODatabaseDir;
    FillAttachList();
    CurrentDB = "asteroids";
    OpenDBs();
}

void TdmSQLiteDB::DataModuleDestroy()
{
    CloseDBs();
    AttachList.clear();
}

void TdmSQLiteDB::FillAttachList()
{
    AttachList << "aavso" << "alcdef" << "asteroids" << "astrometry" << "catalogs"
               << "doublestars" << "families" << "lookups" << "photometry" << "searches"
               << "settings";
}

QStringList TdmSQLiteDB::AttachedNames() const
{
    QStringList names;
    for (const QString &name : AttachList)
        if (!SameText(name, CurrentDB))
            names << name;
    return names;
}

void TdmSQLiteDB::OpenDBs()
{
    fdcnxSQLite.Disconnect();
    fdcnxSQLite.SetDatabase(DBPath + CurrentDB + ".sdb");
    fdcnxSQLite.Connect();
    fdcnxSQLite.SetLimit(SQLITE_LIMIT_ATTACHED, WantedAttachments);
    for (const QString &name : AttachedNames()) {
        const QString file = DBPath + name + ".sdb";
        // The file name is a bound parameter, so a quote in the folder's name is just a
        // character; the schema names are our own fixed words.
        try {
            fdcnxSQLite.ExecSQL("ATTACH ?1 AS " + name, {SQLiteFileName(file)});
        } catch (const ESQLiteError &e) {
            throw ESQLiteError("Cannot attach " + file + " as " + name + ": " + e.Message(),
                               e.Code());
        }
    }
}

void TdmSQLiteDB::CloseDBs()
{
    // A creation run leaves the connection closed, or open on one new database without
    // attachments: only what is still attached is detached.
    for (const QString &name : AttachedNames())
        if (fdcnxSQLite.IsAttached(name))
            fdcnxSQLite.ExecSQL("DETACH DATABASE " + name);
    fdcnxSQLite.Disconnect();
}

void TdmSQLiteDB::CopyTable(const QString &AName, [[maybe_unused]] bool IncludeIndexs)
{
    const TTableName source = TTableName::Parse(fdtblGeneric.TableName);
    const TTableName target = TTableName::Parse(AName);
    // Read before the drop: copying a table onto itself would drop the source and its rows.
    const TTableStructure structure = TTableStructure::Read(fdcnxSQLite, source);
    if (SameText(structure.TableName(), target.Name) && SameText(source.SchemaOrMain(), target.SchemaOrMain()))
        throw ESQLiteError("Cannot copy the table " + structure.TableName() + " onto itself");

    fdqGeneric.Clear();
    fdqGeneric.SQL = "DROP TABLE IF EXISTS " + target.Quoted();
    fdqGeneric.ExecSQL();
    fdcnxSQLite.ExecSQL(structure.CreateSQL(TTableName::Parse(AName.toLower())));

    fdtblCopyTo.Close();
    fdtblCopyTo.TableName = AName;
    fdtblCopyTo.Open();
}

} // namespace zvo
