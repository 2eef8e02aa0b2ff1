#include "SQLiteConnection.h"

#include "FileSystem.h"

#include <QFile>
#include <sqlite3.h>

namespace zvo {

namespace {

// Finalizes its statement whatever way the caller leaves.
class TStatement {
public:
    TStatement(sqlite3 *db, const QString &sql)
    {
        const QByteArray text = sql.toUtf8();
        FRc = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &FStmt, nullptr);
    }
    ~TStatement() { sqlite3_finalize(FStmt); }
    TStatement(const TStatement &) = delete;
    TStatement &operator=(const TStatement &) = delete;

    bool Prepared() const { return FRc == SQLITE_OK && FStmt; }
    void Bind(const QStringList &params)
    {
        for (int i = 0; i < params.size(); ++i) {
            const QByteArray value = params.at(i).toUtf8();
            sqlite3_bind_text(FStmt, i + 1, value.constData(), int(value.size()),
                              SQLITE_TRANSIENT);
        }
    }
    int Step() { return sqlite3_step(FStmt); }
    sqlite3_stmt *Handle() const { return FStmt; }

private:
    sqlite3_stmt *FStmt = nullptr;
    int FRc = SQLITE_OK;
};

} // namespace

QString SQLiteFileName(const QString &winPath)
{
    const QString host = HostPath(winPath);
    if (host.isEmpty())
        throw ESQLiteError("Cannot open the database " + winPath + ": the drive is not known",
                           SQLITE_CANTOPEN);
    return host;
}

TSQLiteConnection::~TSQLiteConnection()
{
    Disconnect();
}

void TSQLiteConnection::Connect()
{
    if (FDB)
        return;
    const QByteArray file = QFile::encodeName(SQLiteFileName(FDatabase));
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(file.constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db))
                                   : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw ESQLiteError("Cannot open the database " + FDatabase + ": " + message, rc);
    }
    sqlite3_extended_result_codes(db, 1);
    FDB = db;
}

void TSQLiteConnection::Disconnect()
{
    if (!FDB)
        return;
    sqlite3_close_v2(FDB); // rolls back what is still open
    FDB = nullptr;
}

sqlite3 *TSQLiteConnection::CheckedHandle() const
{
    if (!FDB)
        throw ESQLiteError("The connection to " + FDatabase + " is closed", SQLITE_MISUSE);
    return FDB;
}

ESQLiteError TSQLiteConnection::Error(const QString &what) const
{
    const QString message = QString::fromUtf8(sqlite3_errmsg(FDB));
    return ESQLiteError(what.isEmpty() ? message : what + ": " + message,
                        sqlite3_extended_errcode(FDB));
}

void TSQLiteConnection::ExecSQL(const QString &sql)
{
    sqlite3 *db = CheckedHandle();
    char *error = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc == SQLITE_OK)
        return;
    const QString message = error ? QString::fromUtf8(error) : QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_free(error);
    throw ESQLiteError(message, rc);
}

void TSQLiteConnection::ExecSQL(const QString &sql, const QStringList &params)
{
    TStatement st(CheckedHandle(), sql);
    if (!st.Prepared())
        throw Error(QString());
    st.Bind(params);
    const int rc = st.Step();
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw Error(QString());
}

QList<QStringList> TSQLiteConnection::SelectRows(const QString &sql,
                                                 const QStringList &params) const
{
    TStatement st(CheckedHandle(), sql);
    if (!st.Prepared())
        throw Error(QString());
    st.Bind(params);
    QList<QStringList> rows;
    int rc;
    while ((rc = st.Step()) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(st.Handle()); ++c) {
            const auto *text = sqlite3_column_text(st.Handle(), c);
            row << (text ? QString::fromUtf8(reinterpret_cast<const char *>(text)) : QString());
        }
        rows << row;
    }
    if (rc != SQLITE_DONE)
        throw Error(QString());
    return rows;
}

bool TSQLiteConnection::IsAttached(const QString &schema) const
{
    return FDB && sqlite3_db_filename(FDB, schema.toUtf8().constData()) != nullptr;
}

int TSQLiteConnection::SetLimit(int id, int value)
{
    sqlite3 *db = CheckedHandle();
    sqlite3_limit(db, id, value);
    return sqlite3_limit(db, id, -1);
}

bool TSQLiteConnection::InTransaction() const
{
    return FDB && !sqlite3_get_autocommit(FDB);
}

void TSQLiteConnection::Rollback()
{
    if (InTransaction())
        sqlite3_exec(FDB, "ROLLBACK", nullptr, nullptr, nullptr);
}

} // namespace zvo
