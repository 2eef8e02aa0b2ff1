// The install table: list order kept, lookups by Category and NodePath without regard to case
// where the first of equal keys wins, and stores that fail without changing anything.
#include "InstallTable.h"

#include <gtest/gtest.h>

using namespace zvo;

namespace {

TInstallRecord record(const QString &category, const QString &nodePath)
{
    TInstallRecord r;
    r.Category = category;
    r.NodePath = nodePath;
    return r;
}

} // namespace

TEST(InstallTable, LookupsIgnoreCaseAndTakeTheFirstOfEqualKeys)
{
    TInstallTable mtInstall;
    mtInstall.Append(record("Docs", "Sarvel\\Docs\\"));                            // 0
    mtInstall.Append(record("sarvelcorefiles", "Sarvel\\Core Files\\ALCDEFSubmit\\")); // 1
    mtInstall.Append(record("SarvelCoreFiles", "APASS\\"));                        // 2
    mtInstall.Append(record("DOCS", "sarvel\\docs\\"));                            // 3

    EXPECT_EQ(mtInstall.Order(), TInstallTable::TOrder::NodePath);
    EXPECT_EQ(mtInstall.FindKey("SARVEL\\DOCS\\"), 0);
    EXPECT_EQ(mtInstall.FindKey("apass\\"), 2);
    EXPECT_EQ(mtInstall.FindKey("Sarvel\\"), -1);
    EXPECT_EQ(mtInstall.Rows(), QList<int>({2, 1, 0, 3}));

    mtInstall.SetOrder(TInstallTable::TOrder::Category);
    EXPECT_EQ(mtInstall.Range("SARVELCOREFILES"), QList<int>({1, 2}));
    EXPECT_EQ(mtInstall.Range("docs"), QList<int>({0, 3}));
    EXPECT_TRUE(mtInstall.Range("Databases").isEmpty());
    EXPECT_EQ(mtInstall.FindKey("SarvelCoreFiles"), 1);
    EXPECT_EQ(mtInstall.Rows(), QList<int>({0, 3, 1, 2}));
    EXPECT_EQ(mtInstall.Record(3).NodePath, "sarvel\\docs\\"); // list order is untouched
}

TEST(InstallTable, AStoreThatFailsChangesNothing)
{
    struct Case {
        const char *field;
        int width;
        void (*set)(TInstallRecord &, const QString &);
    };
    const Case cases[] = {
        {"Category", 50, [](TInstallRecord &r, const QString &v) { r.Category = v; }},
        {"NodePath", 100, [](TInstallRecord &r, const QString &v) { r.NodePath = v; }},
        {"ZipName", 50, [](TInstallRecord &r, const QString &v) { r.ZipName = v; }},
        {"ServerPath", 80, [](TInstallRecord &r, const QString &v) { r.ServerPath = v; }},
        {"DestPath", 100, [](TInstallRecord &r, const QString &v) { r.DestPath = v; }},
    };
    TInstallTable mtInstall;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.field);
        TInstallRecord fits, tooLong;
        c.set(fits, QString(c.width, 'x'));
        c.set(tooLong, QString(c.width + 1, 'x'));
        const int before = mtInstall.RecordCount();
        EXPECT_THROW(mtInstall.Append(tooLong), EInstallTableError);
        EXPECT_EQ(mtInstall.RecordCount(), before);
        mtInstall.Append(fits);
        EXPECT_EQ(mtInstall.RecordCount(), before + 1);
    }

    mtInstall.SetDestPath(0, "C:\\ZVOV12\\Docs\\");
    EXPECT_THROW(mtInstall.SetDestPath(0, "C:\\" + QString(100, 'd')), EInstallTableError);
    EXPECT_EQ(mtInstall.Record(0).DestPath, "C:\\ZVOV12\\Docs\\");
    mtInstall.SetInstall(0, false);
    EXPECT_FALSE(mtInstall.Record(0).Install);
    mtInstall.EmptyDataSet();
    EXPECT_EQ(mtInstall.RecordCount(), 0);
}
