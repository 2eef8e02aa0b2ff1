#include "CodePage.h"
#include "DBCreatorFixture.h"
#include "SQLiteDB.h"

#include <QAbstractButton>
#include <QFile>
#include <QTest>
#include <sqlite3.h>

using namespace zvo;
using namespace zvo::test;

namespace {

const QStringList Family = {"aavso",       "alcdef",   "asteroids", "astrometry",
                            "catalogs",    "doublestars", "families", "lookups",
                            "photometry",  "searches", "settings"};

const QString Warning = "WARNING!\nThis will destroy existing data\n\nContinue?";

QByteArray tableScript(const QString &name)
{
    return QString("CREATE TABLE %1_t (id INTEGER PRIMARY KEY, label TEXT);\r\n"
                   "CREATE INDEX %1_i ON %1_t (label);\r\n")
        .arg(name)
        .toUtf8();
}

class dbcreator_Run : public TSchemistTest {
protected:
    void SetUp() override
    {
        MakeFolder("ZVOV12/Databases");
        Start();
    }
    TdmSQLiteDB &dm() const { return *App.dmSQLiteDB(); }
    // An old database with one table "old", to see whether a run touched it.
    void WriteOldDB(const QString &relativeFile) const
    {
        ExecOn(Drive.Host(relativeFile), "CREATE TABLE IF NOT EXISTS old (x); INSERT INTO old VALUES (1);");
    }
    QStringList Tables(const QString &relativeFile) const
    {
        return SchemaNames(Drive.Host(relativeFile));
    }
};

} // namespace

TEST_F(dbcreator_Run, RecreatesEveryListedDatabaseFromItsScript)
{
    // The run goes where the session is open, over old databases and an unlisted one.
    const QString dir = "ZVOV12/Databases/";
    for (const QString &name : Family)
        WriteOldDB(dir + name + ".sdb");
    WriteOldDB(dir + "other.sdb");
    TScripts scripts;
    for (const QString &name : Family)
        scripts << qMakePair(name, tableScript(name));
    // Scripts come in every encoding the family writes.
    scripts[0].second = "CREATE TABLE aavso_t (label TEXT DEFAULT 'caf\xE9');"; // Windows-1252
    scripts[1].second = Utf16BE("CREATE TABLE alcdef_t (x);");
    scripts[3].second = "\xEF\xBB\xBF" "CREATE TABLE \"astrometry_\xC3\xA9\" (x);";
    WriteRunFolder("ZVOV12/Databases", Utf16LE(Family.join("\r\n") + "\r\n"), scripts);
    Dialogs.Press("Yes");

    RunOn(DefaultDBDir());

    ASSERT_EQ(Dialogs.Messages().size(), 1);
    const TMessageRequest question = Dialogs.Messages().first();
    EXPECT_EQ(question.Text, Warning);
    EXPECT_EQ(question.Kind, TMsgDlgType::mtWarning);
    EXPECT_EQ(question.Buttons, (TMsgDlgButtons{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}));
    EXPECT_EQ(question.DefaultButton, TMsgDlgBtn::mbNo);
    EXPECT_EQ(StatusText(), "Done");

    EXPECT_EQ(Tables(dir + "aavso.sdb"), QStringList{"aavso_t"});
    EXPECT_TRUE(SchemaSQL(Drive.Host(dir + "aavso.sdb"), "aavso_t")
                    .contains(QString::fromUtf8("caf\xC3\xA9")));
    EXPECT_EQ(Tables(dir + "alcdef.sdb"), QStringList{"alcdef_t"});
    EXPECT_EQ(Tables(dir + "astrometry.sdb"), QStringList{QString::fromUtf8("astrometry_\xC3\xA9")});
    for (const QString &name : Family.mid(4)) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(Tables(dir + name + ".sdb"), QStringList{name + "_t"});
        EXPECT_EQ(SchemaNames(Drive.Host(dir + name + ".sdb"), "index"), QStringList{name + "_i"});
    }
    EXPECT_EQ(Tables(dir + "other.sdb"), QStringList{"old"});

    // The run leaves the connection closed on the last database, the session not reopened.
    EXPECT_FALSE(dm().fdcnxSQLite.Connected());
    EXPECT_EQ(dm().fdcnxSQLite.Database(), DefaultDBDir() + "settings.sdb");
    EXPECT_EQ(dm().DBPath, DefaultDBDir());
    EXPECT_EQ(dm().CurrentDB, "asteroids");
}

TEST_F(dbcreator_Run, NothingChangesWithoutTheFilesOrTheYes)
{
    WriteRunFolder("R", "a\n", {{"a", tableScript("a")}});
    WriteOldDB("R/a.sdb");
    const QByteArray before = Drive.ReadFile("R/a.sdb");

    Dialogs.Press("No");
    RunOn("C:\\R\\");
    EXPECT_EQ(Dialogs.MessageTexts(), QStringList{Warning});

    struct Case {
        const char *what;
        const char *missing;
    };
    const Case cases[] = {{"no marker", "R/CreateDBTables/V12.txt"},
                          {"no list", "R/CreateDBTables/ZVOV12_DBs.txt"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        WriteRunFolder("R", "a\n", {});
        QFile::remove(Drive.Host(c.missing));
        Dialogs.Press("OK");
        RunOn("C:\\R\\");
        EXPECT_EQ(Dialogs.MessageTexts().last(),
                  "The file ZVOV12_DBs.txt is not in the CreateDBTables subdirectory");
    }
    EXPECT_EQ(Dialogs.Messages().size(), 3);
    EXPECT_EQ(Drive.ReadFile("R/a.sdb"), before);
    EXPECT_EQ(DatabaseNames(Session()).size(), 11); // the start-up session is still open
    EXPECT_TRUE(StatusText().isEmpty());
}

// Each case runs in a folder of its own whose listed databases hold an old table first; the
// run must stop where the case says, leaving earlier databases made and later ones alone.
TEST_F(dbcreator_Run, StopsAtTheFirstFailureAndLeavesTheRestAlone)
{
    struct Case {
        const char *what;
        QByteArray list;
        TScripts scripts;
        QString message; // "%1" is the folder
        QString status;
        QList<QPair<QString, QStringList>> tables; // database, its tables afterwards
        QString openOn;                            // the database left connected, if any
    };
    const QList<Case> cases = {
        {"script missing for the third name", "a\nb\nc\nd\n",
         {{"a", tableScript("a")}, {"b", tableScript("b")}, {"d", tableScript("d")}},
         "%1CreateDBTables\\CreatecTables.sql is missing. The process will stop",
         "Creating DB: c",
         {{"a", {"a_t"}}, {"b", {"b_t"}}, {"c", {}}, {"d", {"old"}}}, "c"},
        {"syntax error halfway", "a\nb\nc\n",
         {{"a", tableScript("a")},
          {"b", "CREATE TABLE b1 (x);\nCREATE TABLE b2 (x;\nCREATE TABLE b3 (x);\n"},
          {"c", tableScript("c")}},
         "Error running %1CreateDBTables\\CreatebTables.sql\nThe process will stop",
         "Creating DB: b", {{"a", {"a_t"}}, {"b", {"b1"}}, {"c", {"old"}}}, "b"},
        {"failure inside the script's own transaction", "a\n",
         {{"a", "BEGIN;\nCREATE TABLE a1 (x);\nCREATE TABLE a1 (x);\nCOMMIT;\n"}},
         "Error running %1CreateDBTables\\CreateaTables.sql\nThe process will stop",
         "Creating DB: a", {{"a", {}}}, "a"},
        {"transaction never committed", "a\n",
         {{"a", "BEGIN;\nCREATE TABLE a1 (x);\n"}},
         "Error running %1CreateDBTables\\CreateaTables.sql\nThe process will stop",
         "Creating DB: a", {{"a", {}}}, "a"},
        {"blank line is a database without a name", "a\n\nb\n",
         {{"a", tableScript("a")}, {"b", tableScript("b")}},
         "%1CreateDBTables\\CreateTables.sql is missing. The process will stop",
         "Creating DB: ", {{"a", {"a_t"}}, {"", {}}, {"b", {"old"}}}, ""},
        {"trailing blank belongs to the name", "a \n", {{"a ", tableScript("a")}}, "", "Done",
         {{"a ", {"a_t"}}, {"a", {"old"}}}, QString()},
        {"a name listed twice starts again from an empty file", "a\r\na\r\n",
         {{"a", "CREATE TABLE a_t (x);"}}, "", "Done", {{"a", {"a_t"}}}, QString()},
        {"empty list", "", {}, "", "Done", {}, QString()},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString rel = QString("R%1").arg(++n), dir = "C:\\" + rel + "\\";
        WriteRunFolder(rel, c.list, c.scripts);
        for (const auto &t : c.tables)
            WriteOldDB(rel + "/" + t.first + ".sdb");
        const qsizetype before = Dialogs.Messages().size();
        Dialogs.Press("Yes");
        if (!c.message.isEmpty())
            Dialogs.Press("OK");

        RunOn(dir);

        QStringList expected{Warning};
        if (!c.message.isEmpty())
            expected << QString(c.message).replace("%1", dir);
        EXPECT_EQ(Dialogs.MessageTexts().mid(before), expected);
        if (!c.message.isEmpty()) {
            EXPECT_EQ(Dialogs.Messages().last().Kind, TMsgDlgType::mtCustom);
        }
        EXPECT_EQ(StatusText(), c.status);
        for (const auto &t : c.tables)
            EXPECT_EQ(Tables(rel + "/" + t.first + ".sdb"), t.second) << "in " << t.first.toStdString();
        // Stopped runs stay connected on the database they stopped at, with no transaction
        // left open: another connection can write to it.
        EXPECT_EQ(dm().fdcnxSQLite.Connected(), !c.openOn.isNull());
        if (!c.openOn.isNull()) {
            EXPECT_EQ(dm().fdcnxSQLite.Database(), dir + c.openOn + ".sdb");
            EXPECT_FALSE(dm().fdcnxSQLite.InTransaction());
            ExecOn(Drive.Host(rel + "/" + c.openOn + ".sdb"), "CREATE TABLE probe (x);");
        }
    }
}

TEST_F(dbcreator_Run, BadListFilesStopBeforeAnyDatabaseIsTouched)
{
    struct Case {
        const char *what;
        QByteArray list;
        QString message; // "%1" is the folder
        TMsgDlgType kind;
    };
    const Case cases[] = {
        {"not text", QByteArray("a\n\xFF\xFE\x00\x01\xC0", 8),
         "The file \"%1CreateDBTables\\ZVOV12_DBs.txt\" is not a text file",
         TMsgDlgType::mtError},
        {"a name that leaves the folder", "a\n..\\outside\n",
         "The name \"..\\outside\" in ZVOV12_DBs.txt is not a database name. The process will"
         " stop",
         TMsgDlgType::mtCustom},
    };
    WriteOldDB("outside.sdb");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        WriteRunFolder("R", c.list, {{"a", tableScript("a")}});
        WriteOldDB("R/a.sdb");
        Dialogs.Press("Yes").Press("OK");
        RunOn("C:\\R\\");
        EXPECT_EQ(Dialogs.MessageTexts().last(), QString(c.message).replace("%1", "C:\\R\\"));
        EXPECT_EQ(Dialogs.Messages().last().Kind, c.kind);
        EXPECT_EQ(Tables("R/a.sdb"), QStringList{"old"});
        EXPECT_EQ(Tables("outside.sdb"), QStringList{"old"});
        EXPECT_EQ(DatabaseNames(Session()).size(), 11);
    }
}

TEST_F(dbcreator_Run, UnreadableListFileShowsTheFileError)
{
    WriteRunFolder("R", "a\n", {{"a", tableScript("a")}});
    const QString list = Drive.Host("R/CreateDBTables/ZVOV12_DBs.txt");
    QFile::setPermissions(list, QFile::WriteOwner);
    if (QFile f(list); f.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "permissions do not bind for this user";
    Dialogs.Press("Yes").Press("OK");
    RunOn("C:\\R\\");
    EXPECT_TRUE(Dialogs.MessageTexts().last().startsWith(
        "Cannot open file \"C:\\R\\CreateDBTables\\ZVOV12_DBs.txt\""));
    EXPECT_EQ(Dialogs.Messages().last().Kind, TMsgDlgType::mtError);
    EXPECT_EQ(DatabaseNames(Session()).size(), 11);
}

TEST_F(dbcreator_Run, ReadOnlyFolderReportsTheEngineOrTheScript)
{
    WriteRunFolder("RO", "a\n", {{"a", tableScript("a")}, {"b", tableScript("b")}});
    WriteOldDB("RO/a.sdb");
    TReadOnlyFolder readOnly(Drive.Host("RO"));
    if (!readOnly.Effective())
        GTEST_SKIP() << "cannot make a read-only folder here";

    // The old file cannot be deleted and is opened as it is; the script cannot write to it.
    Dialogs.Press("Yes").Press("OK");
    RunOn("C:\\RO\\");
    EXPECT_EQ(Dialogs.MessageTexts().last(),
              "Error running C:\\RO\\CreateDBTables\\CreateaTables.sql\nThe process will stop");
    EXPECT_EQ(Tables("RO/a.sdb"), QStringList{"old"});

    // No old file: the database cannot be made at all.
    Drive.WriteFile("RO/CreateDBTables/ZVOV12_DBs.txt", "b\n");
    Dialogs.Press("Yes").Press("OK");
    RunOn("C:\\RO\\");
    EXPECT_EQ(Dialogs.Messages().last().Kind, TMsgDlgType::mtError);
    EXPECT_EQ(Dialogs.MessageTexts().last(),
              "Cannot open the database C:\\RO\\b.sdb: unable to open database file");
    EXPECT_EQ(StatusText(), "Creating DB: b");
    EXPECT_FALSE(QFile::exists(Drive.Host("RO/b.sdb")));
}

TEST_F(dbcreator_Run, ReplacesBrokenAndLockedFilesInAnyFolderName)
{
    const QString rel = QString::fromUtf8("O'Brien/Data B\xC3\xA4ses \xCE\xA9");
    WriteRunFolder(rel, "a\nb\n", {{"a", tableScript("a")}, {"b", tableScript("b")}});
    Drive.WriteFile(rel + "/a.sdb", QByteArray(4096, 'x')); // not a database
    WriteOldDB(rel + "/b.sdb");
    sqlite3 *locker = nullptr;
    sqlite3_open(QFile::encodeName(Drive.Host(rel + "/b.sdb")).constData(), &locker);
    ASSERT_EQ(sqlite3_exec(locker, "BEGIN EXCLUSIVE; INSERT INTO old VALUES (2);", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);

    Dialogs.Press("Yes");
    RunOn("C:\\" + QString(rel).replace('/', '\\'));

    EXPECT_EQ(StatusText(), "Done");
    EXPECT_EQ(Tables(rel + "/a.sdb"), QStringList{"a_t"});
    EXPECT_EQ(Tables(rel + "/b.sdb"), QStringList{"b_t"});
    sqlite3_exec(locker, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(locker);
}

namespace {

// An impatient user: while the run asks its question, presses Action again and tries to
// close the window.
class TImpatientUser : public TDialogResponder {
public:
    TImpatientUser(TScriptedResponder &script, QWidget *window)
        : FScript(script), FWindow(window)
    {
        TDialogs::SetResponder(this);
    }
    ~TImpatientUser() override { TDialogs::SetResponder(&FScript); }

    TModalResult AnswerMessage(const TMessageRequest &request) override
    {
        if (!FActed) {
            FActed = true;
            auto *action = FWindow->findChild<QAbstractButton *>("btnAction");
            ActionEnabled = action->isEnabled();
            QTest::mouseClick(action, Qt::LeftButton);
            Closed = FWindow->close();
        }
        return FScript.AnswerMessage(request);
    }
    std::optional<QString> AnswerFolder(const TFolderRequest &request) override
    {
        return FScript.AnswerFolder(request);
    }

    bool ActionEnabled = true;
    bool Closed = true;

private:
    TScriptedResponder &FScript;
    QWidget *FWindow;
    bool FActed = false;
};

} // namespace

TEST_F(dbcreator_Run, ActionIsDisabledAndClosingRefusedDuringARun)
{
    WriteRunFolder("R", "a\n", {{"a", tableScript("a")}});
    Dialogs.Press("Yes");
    {
        TImpatientUser user(Dialogs, Window());
        RunOn("C:\\R\\");
        EXPECT_FALSE(user.ActionEnabled);
        EXPECT_FALSE(user.Closed);
    }
    EXPECT_EQ(Dialogs.MessageTexts(), QStringList{Warning}); // one run, one question
    EXPECT_EQ(StatusText(), "Done");
    EXPECT_TRUE(Window()->isVisible());
    EXPECT_TRUE(Window()->findChild<QAbstractButton *>("btnAction")->isEnabled());
}
