#pragma once
// The session data module: one SQLite connection on the family's main database with the
// other ten family databases attached under their own names.
//
// The connection keeps no date and time format of its own: SQLite stores what a statement
// gives it, and this program writes no date or time values.
#include "SQLiteConnection.h"
#include "SQLiteQuery.h"
#include "SQLiteTable.h"

#include <QString>
#include <QStringList>

namespace zvo {

class TdmSQLiteDB {
public:
    TdmSQLiteDB();
    TdmSQLiteDB(const TdmSQLiteDB &) = delete;
    TdmSQLiteDB &operator=(const TdmSQLiteDB &) = delete;

    // Loads the root directory set and opens the session in its database folder.
    // ESQLiteError when a database cannot be opened or attached.
    void DataModuleCreate();
    // Closes the session; errors reach the caller.
    void DataModuleDestroy();

    void FillAttachList();
    // (Re)opens the session: DBPath + CurrentDB + ".sdb" with the others attached.
    void OpenDBs();
    // Detaches what is still attached and disconnects.
    void CloseDBs();
    // Re-creates the structure of fdtblGeneric's table as AName (its columns, keys,
    // constraints and indexes, no rows) and opens fdtblCopyTo on it. Indexes are always
    // re-created, whatever IncludeIndexs says.
    void CopyTable(const QString &AName, bool IncludeIndexs);

    TSQLiteConnection fdcnxSQLite;
    TSQLiteTable fdtblGeneric;
    TSQLiteQuery fdqGeneric;
    TSQLiteTable fdtblCopyTo;

    QStringList AttachList;
    QString CurrentDB;
    QString DBPath;

private:
    QStringList AttachedNames() const; // the list without CurrentDB
};

} // namespace zvo
