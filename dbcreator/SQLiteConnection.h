#pragma once
// One SQLite connection on a database file named by a Windows path.
#include "SQLiteError.h"

#include <QList>
#include <QString>
#include <QStringList>

struct sqlite3;

namespace zvo {

class TSQLiteConnection {
public:
    TSQLiteConnection() = default;
    ~TSQLiteConnection();
    TSQLiteConnection(const TSQLiteConnection &) = delete;
    TSQLiteConnection &operator=(const TSQLiteConnection &) = delete;

    // The "Database" parameter: the main database file, used by the next Connect.
    const QString &Database() const { return FDatabase; }
    void SetDatabase(const QString &winPath) { FDatabase = winPath; }

    // Opens the main database, creating an empty file when there is none.
    void Connect();
    // Closes the connection and with it every attachment; nothing when not connected.
    void Disconnect();
    bool Connected() const { return FDB != nullptr; }
    sqlite3 *Handle() const { return FDB; }

    // Runs a batch of statements in order; the first that fails stops the batch, and those
    // before it keep their effect.
    void ExecSQL(const QString &sql);
    // One statement with text parameters bound in order (?1, ?2, ...).
    void ExecSQL(const QString &sql, const QStringList &params);
    // The rows of one query as texts (a NULL is a null QString).
    QList<QStringList> SelectRows(const QString &sql, const QStringList &params = {}) const;

    // True when `schema` is a database of this connection ("main" or an attachment).
    bool IsAttached(const QString &schema) const;
    // Sets one of the engine's limits; the engine keeps its compile-time maximum when that is
    // lower. Returns the limit in force afterwards.
    int SetLimit(int id, int value);
    bool InTransaction() const;
    void Rollback();

private:
    sqlite3 *CheckedHandle() const;
    ESQLiteError Error(const QString &what) const;

    QString FDatabase;
    sqlite3 *FDB = nullptr;
};

// The host path SQLite is given for a Windows path; ESQLiteError when its drive is unknown,
// since an empty file name would give a temporary database instead.
QString SQLiteFileName(const QString &winPath);

} // namespace zvo
