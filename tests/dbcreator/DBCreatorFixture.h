#pragma once
// What the database creator's tests share: a temporary drive C: under the family formats
// with an empty root directory set, SQLite read back with SQLite itself, and a folder that
// even root cannot write to.
#include "Dialogs.h"
#include "SchemistApp.h"
#include "TempDrive.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

struct sqlite3;

namespace zvo::test {

class TDBCreatorTest : public ::testing::Test {
protected:
    TDBCreatorTest();
    ~TDBCreatorTest() override;

    // The database folder of the root directory set when there is no ROOTDIRS.INI.
    static QString DefaultDBDir() { return "C:\\ZVOV12\\Databases\\"; }
    QString DefaultDBHost() const { return Drive.Host("ZVOV12/Databases"); }
    void MakeFolder(const QString &relative) const;
    // A ROOTDIRS.INI where the load read finds it, naming `winDir` as the database folder
    // (written in the ANSI code page, as profile files are).
    void SetDatabaseDir(const QString &winDir) const;

    TempDrive Drive;
};

using TScripts = QList<QPair<QString, QByteArray>>; // database name, script bytes

// The program as a person meets it: started, its window driven by object names, every box
// answered by `Dialogs`. Finishing the program must show no box of its own.
class TSchemistTest : public TDBCreatorTest {
protected:
    void TearDown() override;

    void Start();
    QWidget *Window() const;
    sqlite3 *Session() const;
    // Lays out a database folder for a run: the marker, the list file and the scripts.
    void WriteRunFolder(const QString &relative, const QByteArray &list,
                        const TScripts &scripts) const;
    void Click(const char *button) const;
    // Types the folder into the field and presses Action.
    void RunOn(const QString &winPath) const;
    QString StatusText() const;

    TScriptedResponder Dialogs;
    TSchemistApp App;
};

// Names of the schema objects of one type in a database file, in creation order.
QStringList SchemaNames(const QString &hostFile, const QString &type = "table");
// The SQL SQLite keeps for an object of the file.
QString SchemaSQL(const QString &hostFile, const QString &name);
// Runs statements on a file (made when missing); fails the test on an error.
void ExecOn(const QString &hostFile, const QString &sql);
// The names of the databases of a connection, "main" first, in attachment order.
QStringList DatabaseNames(sqlite3 *db);
// The file of an attached database (host path), or empty.
QString DatabaseFile(sqlite3 *db, const QString &schema);

QByteArray Utf16LE(const QString &text, bool bom = true);
QByteArray Utf16BE(const QString &text, bool bom = true);

template <class T>
T *Control(const QWidget *window, const char *name)
{
    T *c = window->findChild<T *>(name);
    if (!c)
        ADD_FAILURE() << "no control " << name;
    return c;
}

// Makes a folder read-only for as long as it lives; as root, where permissions do not
// bind, through the file system's immutable flag. Effective() says whether it took.
class TReadOnlyFolder {
public:
    explicit TReadOnlyFolder(const QString &hostDir);
    ~TReadOnlyFolder();
    TReadOnlyFolder(const TReadOnlyFolder &) = delete;
    TReadOnlyFolder &operator=(const TReadOnlyFolder &) = delete;

    bool Effective() const { return FEffective; }

private:
    void SetImmutable(bool on);

    QString FDir;
    bool FImmutable = false;
    bool FEffective = false;
};

} // namespace zvo::test
