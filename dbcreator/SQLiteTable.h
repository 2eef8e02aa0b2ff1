#pragma once
// A table of a connection, addressed by name ("name" or "schema.name"). Opening checks that
// the table is there and reads its column names; rows are the caller's business.
#include "SQLiteConnection.h"

#include <QString>
#include <QStringList>

namespace zvo {

class TSQLiteTable {
public:
    TSQLiteTable(TSQLiteConnection &connection, const QString &tableName)
        : TableName(tableName), FConnection(connection)
    {
    }

    QString TableName;

    // ESQLiteError when the table does not exist.
    void Open();
    void Close();
    bool Active() const { return FActive; }
    const QStringList &FieldNames() const { return FFieldNames; }

private:
    TSQLiteConnection &FConnection;
    QStringList FFieldNames;
    bool FActive = false;
};

} // namespace zvo
