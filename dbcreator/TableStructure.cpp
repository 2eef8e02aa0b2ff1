#include "TableStructure.h"

namespace zvo {

namespace {

QString masterOf(const TTableName &table)
{
    return table.Schema.isEmpty() ? QString("sqlite_master")
                                  : QuoteIdentifier(table.Schema) + ".sqlite_master";
}

} // namespace

TTableStructure TTableStructure::Read(const TSQLiteConnection &connection,
                                      const TTableName &table)
{
    const QString master = masterOf(table);
    const QList<QStringList> tables = connection.SelectRows(
        "SELECT name, sql FROM " + master + " WHERE type = 'table' AND name = ?1 COLLATE NOCASE",
        {table.Name});
    if (tables.isEmpty())
        throw ESQLiteError("no such table: " + table.Name);
    TTableStructure s;
    s.FTableName = tables.first().value(0);
    s.FTableSQL = tables.first().value(1);
    // Indexes made by PRIMARY KEY and UNIQUE constraints have no text: the table's own
    // statement makes them again.
    const QList<QStringList> indexes = connection.SelectRows(
        "SELECT name, sql FROM " + master + " WHERE type = 'index' AND tbl_name = ?1"
        " COLLATE NOCASE AND sql IS NOT NULL ORDER BY rowid",
        {s.FTableName});
    for (const QStringList &row : indexes)
        s.FIndexes << TIndex{row.value(0), row.value(1)};
    return s;
}

QString TTableStructure::CreateSQL(const TTableName &target) const
{
    QString sql = RenameCreateTable(FTableSQL, target.Quoted()) + ";\n";
    for (const TIndex &index : FIndexes)
        sql += RenameCreateIndex(index.SQL, target.QuotedInSchema(index.Name + "_" + target.Name),
                                 QuoteIdentifier(target.Name))
               + ";\n";
    return sql;
}

} // namespace zvo
