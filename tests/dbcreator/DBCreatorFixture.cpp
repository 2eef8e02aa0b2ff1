#include "DBCreatorFixture.h"

#include "CodePage.h"
#include "FamilyFormats.h"
#include "RootDirs.h"
#include "SQLiteDB.h"
#include "SchemistWindow.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace zvo::test {

TDBCreatorTest::TDBCreatorTest()
{
    InitFamilyFormats();
    ClearRootDirs();
}

TDBCreatorTest::~TDBCreatorTest()
{
    ClearRootDirs();
}

void TDBCreatorTest::MakeFolder(const QString &relative) const
{
    ASSERT_TRUE(QDir().mkpath(Drive.Host(relative)));
}

void TDBCreatorTest::SetDatabaseDir(const QString &winDir) const
{
    // With no settings folder known yet, the load read looks in the current folder (C:\).
    Drive.WriteFile("ROOTDIRS.INI", StringToAnsi("[ROOTDIRS]\r\nZVORootDir=C:\\ZVOv12\\\r\n"
                                                 "ZVODatabaseDir="
                                                 + winDir + "\r\n"));
}

void TSchemistTest::TearDown()
{
    App.Finish();
    EXPECT_TRUE(Dialogs.Unexpected().isEmpty()) << Dialogs.Unexpected().join(" / ").toStdString();
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);
}

void TSchemistTest::Start()
{
    App.Start();
}

QWidget *TSchemistTest::Window() const
{
    return App.frmSchemist();
}

sqlite3 *TSchemistTest::Session() const
{
    return App.dmSQLiteDB()->fdcnxSQLite.Handle();
}

void TSchemistTest::WriteRunFolder(const QString &relative, const QByteArray &list,
                                   const TScripts &scripts) const
{
    Drive.WriteFile(relative + "/CreateDBTables/V12.txt", "V12");
    Drive.WriteFile(relative + "/CreateDBTables/ZVOV12_DBs.txt", list);
    for (const auto &script : scripts)
        Drive.WriteFile(relative + "/CreateDBTables/Create" + script.first + "Tables.sql",
                        script.second);
}

void TSchemistTest::Click(const char *button) const
{
    if (auto *b = Control<QAbstractButton>(Window(), button))
        QTest::mouseClick(b, Qt::LeftButton);
}

void TSchemistTest::RunOn(const QString &winPath) const
{
    if (auto *field = Control<QLineEdit>(Window(), "flxV12DBPath"))
        field->setText(winPath);
    Click("btnAction");
}

QString TSchemistTest::StatusText() const
{
    auto *bar = Control<QStatusBar>(Window(), "sbarMain");
    return bar ? bar->currentMessage() : QString();
}

namespace {

class TReadConnection {
public:
    explicit TReadConnection(const QString &hostFile)
    {
        if (sqlite3_open_v2(QFile::encodeName(hostFile).constData(), &FDB, SQLITE_OPEN_READONLY,
                            nullptr)
            != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << hostFile.toStdString();
    }
    ~TReadConnection() { sqlite3_close_v2(FDB); }
    QStringList Column(const QString &sql, const QString &param) const
    {
        QStringList out;
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(FDB, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sqlite3_errmsg(FDB);
            return out;
        }
        const QByteArray p = param.toUtf8();
        sqlite3_bind_text(st, 1, p.constData(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(st) == SQLITE_ROW)
            out << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        return out;
    }

private:
    sqlite3 *FDB = nullptr;
};

QByteArray utf16(const QString &text, bool bom, bool bigEndian)
{
    QByteArray out;
    if (bom)
        out = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (QChar c : text) {
        const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
        out += bigEndian ? QByteArray(1, hi) + QByteArray(1, lo)
                         : QByteArray(1, lo) + QByteArray(1, hi);
    }
    return out;
}

} // namespace

QStringList SchemaNames(const QString &hostFile, const QString &type)
{
    return TReadConnection(hostFile).Column(
        "SELECT name FROM sqlite_master WHERE type = ?1 ORDER BY rowid", type);
}

QString SchemaSQL(const QString &hostFile, const QString &name)
{
    return TReadConnection(hostFile)
        .Column("SELECT sql FROM sqlite_master WHERE name = ?1", name)
        .value(0);
}

void ExecOn(const QString &hostFile, const QString &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(hostFile).constData(), &db);
    char *error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK)
        ADD_FAILURE() << hostFile.toStdString() << ": " << (error ? error : "?");
    sqlite3_free(error);
    sqlite3_close(db);
}

QStringList DatabaseNames(sqlite3 *db)
{
    QStringList names;
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA database_list", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        const QString name = QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(st, 1)));
        if (name != "temp")
            names << name;
    }
    sqlite3_finalize(st);
    return names;
}

QString DatabaseFile(sqlite3 *db, const QString &schema)
{
    const char *file = sqlite3_db_filename(db, schema.toUtf8().constData());
    return file ? QFile::decodeName(file) : QString();
}

QByteArray Utf16LE(const QString &text, bool bom)
{
    return utf16(text, bom, false);
}

QByteArray Utf16BE(const QString &text, bool bom)
{
    return utf16(text, bom, true);
}

TReadOnlyFolder::TReadOnlyFolder(const QString &hostDir) : FDir(hostDir)
{
    QFile::setPermissions(FDir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                    | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    if (geteuid() == 0)
        SetImmutable(true);
    QFile probe(FDir + "/probe");
    FEffective = !probe.open(QIODevice::WriteOnly);
    if (!FEffective)
        probe.remove();
}

TReadOnlyFolder::~TReadOnlyFolder()
{
    if (FImmutable)
        SetImmutable(false);
    QFile::setPermissions(FDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TReadOnlyFolder::SetImmutable(bool on)
{
    const int fd = ::open(QFile::encodeName(FDir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0)
            FImmutable = on;
    }
    ::close(fd);
}

} // namespace zvo::test
