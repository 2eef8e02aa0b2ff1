#pragma once
// The creation run: deletes and re-creates every database of the list file in a database
// folder and runs each one's table script, reporting through the status text.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace zvo {

class TdmSQLiteDB;

class TCreationRun {
public:
    // Sets the status text and lets the window process pending messages.
    using TStatusProc = std::function<void(const QString &)>;

    TCreationRun(TdmSQLiteDB &dmSQLiteDB, TStatusProc status);

    // DBPath is an existing folder ending with "\". Stops at the first failure with its
    // message; "Done" in the status text when every database is made.
    void Execute(const QString &DBPath);

private:
    QString ListFile() const;
    QString ScriptFile(const QString &name) const;
    bool ListFilesPresent() const;
    static bool Confirmed();
    std::optional<QStringList> ReadNames() const;
    bool CreateDB(const QString &name);
    bool Connect(const QString &dbFile);
    bool RunScript(const QString &script);
    bool ScriptRanToItsEnd();

    TdmSQLiteDB &FdmSQLiteDB;
    TStatusProc FStatus;
    QString FDBPath;
};

} // namespace zvo
