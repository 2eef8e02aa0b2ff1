#include "SQLiteTable.h"

#include "SchemaSQL.h"

namespace zvo {

void TSQLiteTable::Open()
{
    Close();
    const TTableName name = TTableName::Parse(TableName);
    const QString sql = name.Schema.isEmpty()
                            ? QString("SELECT name FROM pragma_table_info(?1) ORDER BY cid")
                            : QString("SELECT name FROM pragma_table_info(?1, ?2) ORDER BY cid");
    QStringList params{name.Name};
    if (!name.Schema.isEmpty())
        params << name.Schema;
    QStringList fields;
    for (const QStringList &row : FConnection.SelectRows(sql, params))
        fields << row.value(0);
    if (fields.isEmpty())
        throw ESQLiteError("no such table: " + TableName);
    FFieldNames = fields;
    FActive = true;
}

void TSQLiteTable::Close()
{
    FFieldNames.clear();
    FActive = false;
}

} // namespace zvo
