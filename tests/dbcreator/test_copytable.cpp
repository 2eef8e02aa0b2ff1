#include "DBCreatorFixture.h"
#include "SQLiteDB.h"

#include <sqlite3.h>

using namespace zvo;
using namespace zvo::test;

namespace {

class dbcreator_CopyTable : public TDBCreatorTest {
protected:
    void SetUp() override
    {
        MakeFolder("ZVOV12/Databases");
        dm.DataModuleCreate();
    }
    QStringList Rows(const QString &sql) const
    {
        QStringList out;
        for (const QStringList &row : dm.fdcnxSQLite.SelectRows(sql))
            out << row.join('|');
        return out;
    }
    QString Main() const { return DefaultDBHost() + "/asteroids.sdb"; }

    TdmSQLiteDB dm;
};

const char *const Columns =
    "(Id INTEGER NOT NULL, Name TEXT COLLATE NOCASE NOT NULL CHECK (length(Name) > 0),"
    " Zone INTEGER DEFAULT 7 REFERENCES zones(Id), PRIMARY KEY (Id, Zone))";

} // namespace

// However the source's statement was written, the copy has its columns, keys, constraints
// and indexes under the new names, and none of its rows.
TEST_F(dbcreator_CopyTable, CopiesTheStructureUnderTheNewName)
{
    const char *const forms[] = {
        "CREATE TABLE mpcorb ",
        "CREATE TABLE IF NOT EXISTS \"mpcorb\"",
        "create table [MPCorb] ",
        "CREATE TABLE main.`mpcorb`",
        "CREATE TABLE /* the orbits */ mpcorb -- one per object\n",
    };
    for (const char *form : forms) {
        SCOPED_TRACE(form);
        dm.fdcnxSQLite.ExecSQL("DROP TABLE IF EXISTS mpcorb; DROP TABLE IF EXISTS targets;");
        dm.fdcnxSQLite.ExecSQL(QString(form) + Columns + ";"
                               "CREATE INDEX ByName ON mpcorb (Name);"
                               "CREATE UNIQUE INDEX \"By Zone\" ON MPCORB (Zone, Name DESC)"
                               " WHERE Zone > 0;"
                               "INSERT INTO mpcorb VALUES (1, 'Ceres', 1);");

        dm.CopyTable("Targets", false);

        EXPECT_EQ(SchemaNames(Main()).join(',').toLower(), "mpcorb,targets");
        const QString sql = SchemaSQL(Main(), "targets");
        for (const char *kept : {"COLLATE NOCASE", "CHECK (length(Name) > 0)", "DEFAULT 7",
                                 "REFERENCES zones(Id)", "PRIMARY KEY (Id, Zone)"})
            EXPECT_TRUE(sql.contains(kept)) << kept << " lost from " << sql.toStdString();
        EXPECT_EQ(Rows("SELECT name, tbl_name FROM sqlite_master WHERE type = 'index'"
                       " AND tbl_name = 'targets' ORDER BY name"),
                  (QStringList{"By Zone_targets|targets", "ByName_targets|targets",
                               "sqlite_autoindex_targets_1|targets"}));
        EXPECT_TRUE(SchemaSQL(Main(), "By Zone_targets").contains("WHERE Zone > 0"));
        EXPECT_EQ(Rows("SELECT count(*) FROM targets"), QStringList{"0"});
        EXPECT_EQ(Rows("SELECT Name FROM mpcorb"), QStringList{"Ceres"});
        EXPECT_THROW(dm.fdcnxSQLite.ExecSQL("INSERT INTO targets VALUES (1, '', 1)"),
                     ESQLiteError);

        EXPECT_TRUE(dm.fdtblCopyTo.Active());
        EXPECT_EQ(dm.fdtblCopyTo.TableName, "Targets");
        EXPECT_EQ(dm.fdtblCopyTo.FieldNames(), (QStringList{"Id", "Name", "Zone"}));
    }
}

TEST_F(dbcreator_CopyTable, ReplacesAnEarlierCopyAndWorksInAttachedDatabases)
{
    dm.fdcnxSQLite.ExecSQL(QString("CREATE TABLE aavso.stars ") + Columns
                           + "; CREATE INDEX aavso.ByName ON stars (Name);"
                             "CREATE TABLE aavso.copy (old TEXT); INSERT INTO aavso.copy"
                             " VALUES ('x');");
    dm.fdtblGeneric.TableName = "aavso.stars";

    dm.CopyTable("aavso.Copy", true);

    const QString aavso = DefaultDBHost() + "/aavso.sdb";
    EXPECT_EQ(SchemaNames(aavso), (QStringList{"stars", "copy"}));
    EXPECT_EQ(SchemaNames(aavso, "index").filter("ByName"),
              (QStringList{"ByName", "ByName_copy"}));
    EXPECT_EQ(dm.fdtblCopyTo.FieldNames(), (QStringList{"Id", "Name", "Zone"}));
    EXPECT_TRUE(SchemaNames(Main()).isEmpty());
}

TEST_F(dbcreator_CopyTable, NamesAreIdentifiersAndTheSourceIsNeverDropped)
{
    dm.fdcnxSQLite.ExecSQL(QString("CREATE TABLE mpcorb ") + Columns
                           + "; CREATE TABLE keep (x); INSERT INTO mpcorb VALUES (1, 'a', 1);");

    const QString hostile = "x\"; DROP TABLE keep; --";
    dm.CopyTable(hostile, false);
    EXPECT_EQ(SchemaNames(Main()), (QStringList{"mpcorb", "keep", hostile.toLower()}));

    EXPECT_THROW(dm.CopyTable("MPCORB", false), ESQLiteError);
    EXPECT_EQ(Rows("SELECT count(*) FROM mpcorb"), QStringList{"1"});

    dm.fdtblGeneric.TableName = "nosuch";
    EXPECT_THROW(dm.CopyTable("Targets", false), ESQLiteError);
}
