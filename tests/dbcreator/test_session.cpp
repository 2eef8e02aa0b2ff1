#include "DBCreatorFixture.h"
#include "RootDirs.h"
#include "SQLiteDB.h"

#include <QFileInfo>
#include <sqlite3.h>

using namespace zvo;
using namespace zvo::test;

namespace {

const QStringList Attached = {"aavso",    "alcdef",   "astrometry", "catalogs", "doublestars",
                              "families", "lookups",  "photometry", "searches", "settings"};

class dbcreator_Session : public TDBCreatorTest {
protected:
    sqlite3 *Handle() const { return dm.fdcnxSQLite.Handle(); }
    TdmSQLiteDB dm;
};

} // namespace

TEST_F(dbcreator_Session, OpensTheMainDatabaseWithTenAttachedInListOrder)
{
    MakeFolder("ZVOV12/Databases");
    dm.DataModuleCreate();

    EXPECT_EQ(dm.DBPath, DefaultDBDir());
    EXPECT_EQ(dm.CurrentDB, "asteroids");
    ASSERT_TRUE(dm.fdcnxSQLite.Connected());
    EXPECT_EQ(DatabaseNames(Handle()), QStringList{"main"} + Attached);
    EXPECT_EQ(DatabaseFile(Handle(), "main"), DefaultDBHost() + "/asteroids.sdb");
    for (const QString &name : Attached) {
        EXPECT_EQ(DatabaseFile(Handle(), name), DefaultDBHost() + "/" + name + ".sdb");
        EXPECT_TRUE(QFileInfo::exists(DefaultDBHost() + "/" + name + ".sdb")) << name.toStdString();
    }
    // Statements reach every family database by its schema name.
    dm.fdcnxSQLite.ExecSQL("CREATE TABLE lookups.t(x); INSERT INTO lookups.t VALUES(1);");
    EXPECT_EQ(SchemaNames(DefaultDBHost() + "/lookups.sdb"), QStringList{"t"});

    dm.DataModuleDestroy();
    EXPECT_FALSE(dm.fdcnxSQLite.Connected());
    EXPECT_TRUE(dm.AttachList.isEmpty());
}

// A quote in the folder's name used to end the ATTACH's text early.
TEST_F(dbcreator_Session, FolderWithQuoteBlanksAndNonAsciiCharacters)
{
    const QString dir = QString::fromUtf8("C:\\O'Brien\\Data B\xC3\xA4ses\\");
    const QString host = Drive.Host(QString::fromUtf8("O'Brien/Data B\xC3\xA4ses"));
    MakeFolder(QString::fromUtf8("O'Brien/Data B\xC3\xA4ses"));
    SetDatabaseDir(dir);

    dm.DataModuleCreate();

    EXPECT_EQ(dm.DBPath, dir);
    EXPECT_EQ(DatabaseNames(Handle()), QStringList{"main"} + Attached);
    EXPECT_EQ(DatabaseFile(Handle(), "settings"), host + "/settings.sdb");
    EXPECT_TRUE(QFileInfo::exists(host + "/aavso.sdb"));
}

TEST_F(dbcreator_Session, CurrentDBIsComparedWithoutRegardToCase)
{
    MakeFolder("ZVOV12/Databases");
    dm.DataModuleCreate();
    dm.CurrentDB = "ASTEROIDS";
    dm.OpenDBs();

    EXPECT_EQ(DatabaseNames(Handle()), QStringList{"main"} + Attached);
    EXPECT_EQ(DatabaseFile(Handle(), "main"), DefaultDBHost() + "/asteroids.sdb");
    EXPECT_NO_THROW(dm.CloseDBs());
}

TEST_F(dbcreator_Session, OpeningErrorsCarryTheEngineMessage)
{
    const auto expectError = [](TdmSQLiteDB &session, const char *message) {
        try {
            session.DataModuleCreate();
            ADD_FAILURE() << "opened";
        } catch (const ESQLiteError &e) {
            EXPECT_TRUE(e.Message().contains(message)) << e.Message().toStdString();
            EXPECT_TRUE(e.Message().contains(DefaultDBDir())) << e.Message().toStdString();
        }
    };
    {
        SCOPED_TRACE("no database folder");
        TdmSQLiteDB session;
        expectError(session, "unable to open database file");
        EXPECT_FALSE(session.fdcnxSQLite.Connected());
        EXPECT_NO_THROW(session.DataModuleDestroy());
    }
    {
        SCOPED_TRACE("a file that is not a database");
        Drive.WriteFile("ZVOV12/Databases/lookups.sdb", QByteArray(4096, 'x'));
        TdmSQLiteDB session;
        expectError(session, "file is not a database");
        // What was attached before the failure stays attached, and closes cleanly.
        EXPECT_EQ(DatabaseNames(session.fdcnxSQLite.Handle()),
                  QStringList{"main"} + Attached.mid(0, 6));
        EXPECT_NO_THROW(session.DataModuleDestroy());
    }
}

TEST_F(dbcreator_Session, LockedDatabaseIsReportedAtOpening)
{
    MakeFolder("ZVOV12/Databases");
    const QString locked = DefaultDBHost() + "/catalogs.sdb";
    ExecOn(locked, "CREATE TABLE c(x);");
    sqlite3 *other = nullptr;
    sqlite3_open(locked.toUtf8().constData(), &other);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE; INSERT INTO c VALUES(1);", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);

    try {
        dm.DataModuleCreate();
        ADD_FAILURE() << "opened";
    } catch (const ESQLiteError &e) {
        EXPECT_TRUE(e.Message().contains("database is locked")) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains("catalogs")) << e.Message().toStdString();
    }
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
}

// After a creation run the connection is closed, or open on one new database: closing the
// session must not detach names that are gone.
TEST_F(dbcreator_Session, ClosingAfterTheConnectionChangedRaisesNothing)
{
    MakeFolder("ZVOV12/Databases");
    dm.DataModuleCreate();
    dm.fdcnxSQLite.Disconnect();
    EXPECT_NO_THROW(dm.CloseDBs());

    dm.OpenDBs();
    dm.fdcnxSQLite.Disconnect();
    dm.fdcnxSQLite.SetDatabase(DefaultDBDir() + "lookups.sdb");
    dm.fdcnxSQLite.Connect();
    EXPECT_NO_THROW(dm.CloseDBs());
    EXPECT_FALSE(dm.fdcnxSQLite.Connected());
}
