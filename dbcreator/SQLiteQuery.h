#pragma once
// A query on a connection: its text is run as written, as one batch, without parameters.
#include "SQLiteConnection.h"

#include <QString>

namespace zvo {

class TSQLiteQuery {
public:
    explicit TSQLiteQuery(TSQLiteConnection &connection) : FConnection(connection) {}

    QString SQL;

    void Clear() { SQL.clear(); }
    // ESQLiteError from the first statement that fails.
    void ExecSQL() { FConnection.ExecSQL(SQL); }

private:
    TSQLiteConnection &FConnection;
};

} // namespace zvo
