#pragma once
// The structure of a table as SQLite itself keeps it: the CREATE TABLE text from
// sqlite_master (every column, key and constraint as declared) and the texts of its
// declared indexes. The pragmas would lose CHECK, COLLATE and REFERENCES.
#include "SQLiteConnection.h"
#include "SchemaSQL.h"

#include <QList>
#include <QString>

namespace zvo {

class TTableStructure {
public:
    // ESQLiteError when the table does not exist.
    static TTableStructure Read(const TSQLiteConnection &connection, const TTableName &table);

    const QString &TableName() const { return FTableName; } // as the schema spells it
    // The statements that make the same table as `target`, each index renamed to its old
    // name + "_" + the target's name. Rows are not part of the structure.
    QString CreateSQL(const TTableName &target) const;

private:
    struct TIndex {
        QString Name;
        QString SQL;
    };
    QString FTableName;
    QString FTableSQL;
    QList<TIndex> FIndexes;
};

} // namespace zvo
