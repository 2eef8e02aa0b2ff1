// The install list fetched from a real FTPS server into the program folder and read into the
// install table: the key rules, and every way the load can fail, each with its message, the
// client disconnected and nothing half-written left behind.
#include "Dialogs.h"
#include "FamilyFormats.h"
#include "FixtureDistribution.h"
#include "FtpsTestServer.h"
#include "InstallList.h"
#include "TempDrive.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace zvo;

namespace {

const QString kProgramDir = QStringLiteral("C:\\Program\\");

QByteArray crlf(const QStringList &lines)
{
    return lines.join("\r\n").toLatin1() + "\r\n";
}

} // namespace

class InstallList : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitFamilyFormats();
        FDrive.WriteFile("Program/keep.txt", "");
    }

    void StartServer(const FtpsServerOptions &options = {})
    {
        FServer = std::make_unique<FtpsTestServer>(FServerDir.path(), options);
        FServer->start();
        TFtpSettings s;
        s.Host = FServer->host();
        s.Port = FServer->port();
        s.User = FServer->user();
        s.Password = FServer->password();
        s.ReadTimeoutMs = 1000;
        FClient = std::make_unique<TFtpClient>(s);
    }

    bool Load() { return LoadInstallList(*FClient, FTable, kProgramDir); }

    QStringList ProgramFiles() const
    {
        return QDir(FDrive.Host("Program")).entryList(QDir::Files | QDir::Hidden);
    }

    test::TempDrive FDrive;
    QTemporaryDir FServerDir;
    FixtureDistribution FDist{FServerDir.path()};
    std::unique_ptr<FtpsTestServer> FServer;
    std::unique_ptr<TFtpClient> FClient;
    TInstallTable FTable;
};

TEST_F(InstallList, FetchedIntoTheProgramFolderAndReadSectionBySection)
{
    FDist.addSection("Minimal", {{"NodePath", "Sarvel\\Docs\\"}, {"ZipName", "Docs.zip"}});
    FDist.addSection("NotSelected", {{"install", "0"}, {"Enabled", "0x0"},
                                     {"Category", "SarvelCoreFiles"}, {"SizeMB", "12.3456"},
                                     {"Updated", "2024-03-05"}});
    FDist.addSection("WordsAndHex", {{"Install", "no"}, {"Enabled", "0x10"},
                                     {"CATEGORY", "sarvelcorefiles"}, {"SizeMB", "12,3456"},
                                     {"Updated", "2024-03-05 14:30:15"}});
    FDist.addSection("HalfDown", {{"SizeMB", "2.0625"}, {"Updated", "05/03/2024"}});
    FDist.addSection("HalfUp", {{"SizeMB", " 2.1875 "}, {"Updated", "2024-03-05 9:07"},
                                {"ServerPath", "/ZVODL/Docs/"}, {"DestPath", "\"Docs\\\""},
                                {"ZipName", QString::fromUtf8("Übersicht.zip")}});
    QFile served(FDist.writeInstallList());
    ASSERT_TRUE(served.open(QIODevice::ReadOnly));
    FDrive.WriteFile("Program/InstallList.ini", "[Old]\r\nZipName=old.zip\r\n");
    StartServer();

    TScriptedResponder noBoxes;
    ASSERT_TRUE(Load());
    EXPECT_TRUE(noBoxes.MessageTexts().isEmpty());
    EXPECT_FALSE(FClient->Connected());
    EXPECT_EQ(ProgramFiles(), QStringList({"InstallList.ini", "keep.txt"}));
    EXPECT_EQ(FDrive.ReadFile("Program/InstallList.ini"), served.readAll());

    ASSERT_EQ(FTable.RecordCount(), 5);
    const TInstallRecord &minimal = FTable.Record(0);
    EXPECT_TRUE(minimal.Install);
    EXPECT_TRUE(minimal.Enabled);
    EXPECT_EQ(minimal.NodePath, "Sarvel\\Docs\\");
    EXPECT_EQ(minimal.ZipName, "Docs.zip");
    EXPECT_TRUE(minimal.Category.isEmpty() && minimal.ServerPath.isEmpty()
                && minimal.DestPath.isEmpty());
    EXPECT_EQ(minimal.SizeMB, 0.0);
    EXPECT_EQ(minimal.Updated, ZeroDateTime());

    const TInstallRecord &off = FTable.Record(1);
    EXPECT_FALSE(off.Install);
    EXPECT_FALSE(off.Enabled);
    EXPECT_EQ(off.SizeMB, 12.346);
    EXPECT_EQ(off.Updated, QDateTime(QDate(2024, 3, 5), QTime(0, 0)));

    const TInstallRecord &words = FTable.Record(2);
    EXPECT_TRUE(words.Install);  // "no" is no integer: absent
    EXPECT_TRUE(words.Enabled);  // 0x10
    EXPECT_EQ(words.SizeMB, 0.0); // a comma does not convert
    EXPECT_EQ(words.Updated, QDateTime(QDate(2024, 3, 5), QTime(14, 30, 15)));

    EXPECT_EQ(FTable.Record(3).SizeMB, 2.062); // halves go to the even neighbour
    EXPECT_EQ(FTable.Record(3).Updated, ZeroDateTime());
    const TInstallRecord &up = FTable.Record(4);
    EXPECT_EQ(up.SizeMB, 2.188);
    EXPECT_EQ(up.Updated, QDateTime(QDate(2024, 3, 5), QTime(9, 7)));
    EXPECT_EQ(up.DestPath, "Docs\\");
    EXPECT_EQ(up.ServerPath, "/ZVODL/Docs/");
    EXPECT_EQ(up.ZipName, QString::fromUtf8("Übersicht.zip"));

    FTable.SetOrder(TInstallTable::TOrder::Category);
    EXPECT_EQ(FTable.Range("SarvelCoreFiles"), QList<int>({1, 2}));

    // A client that is already connected is used as it is, and disconnected afterwards.
    FClient->Connect();
    ASSERT_TRUE(Load());
    EXPECT_FALSE(FClient->Connected());
    EXPECT_EQ(FTable.RecordCount(), 10); // the load appends
    EXPECT_EQ(FServer->commandCount("CONNECT"), 2);
}

TEST_F(InstallList, FailuresShowTheirMessageAndLeaveNothingBehind)
{
    struct Case {
        const char *what;
        FtpsServerOptions options;
        bool writeList;
        bool makeFolder;
        bool stopServer;
        QString message; // exact, or a prefix when it ends in "\n"
    };
    FtpsServerOptions refuse, drop, stall;
    refuse.refuseLogin = true;
    drop.dropAfterBytes = 100;
    stall.slowDataMs = 3000;
    const Case cases[] = {
        {"refused login", refuse, true, true, false, "Error connecting to FTP server\n"},
        {"no server", {}, true, true, true, "Error connecting to FTP server\n"},
        {"no list folder", {}, false, false, false, "Error downloading InstallList.ini\n"},
        {"no list file", {}, false, true, false, "Error downloading InstallList.ini\n"},
        {"dropped download", drop, true, true, false, "Error downloading InstallList.ini"},
        {"stalled download", stall, true, true, false, "Error downloading InstallList.ini"},
    };
    FDrive.WriteFile("Program/InstallList.ini", "[Old]\r\n");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QDir(FServerDir.path()).removeRecursively();
        QDir().mkpath(FServerDir.path());
        if (c.makeFolder)
            FDist.addFolder("/ZVODL/");
        if (c.writeList)
            FDist.writeRawInstallList("[A]\r\nZipName=" + QByteArray(400, 'z') + "\r\n");
        StartServer(c.options);
        if (c.stopServer)
            FServer->stop();

        TScriptedResponder boxes;
        boxes.Press("OK");
        EXPECT_FALSE(Load());
        ASSERT_EQ(boxes.MessageTexts().size(), 1);
        const QString shown = boxes.MessageTexts().at(0);
        if (c.message.endsWith('\n')) {
            EXPECT_TRUE(shown.startsWith(c.message) && shown.size() > c.message.size())
                << shown.toStdString();
        } else {
            EXPECT_EQ(shown, c.message);
        }
        EXPECT_EQ(boxes.Messages().at(0).Kind, TMsgDlgType::mtError);
        EXPECT_FALSE(shown.contains(FServer->password()));
        EXPECT_FALSE(FClient->Connected());
        EXPECT_EQ(FTable.RecordCount(), 0);
        EXPECT_EQ(FDrive.ReadFile("Program/InstallList.ini"), "[Old]\r\n"); // old copy intact
        EXPECT_EQ(ProgramFiles(), QStringList({"InstallList.ini", "keep.txt"}));
        FClient.reset();
        FServer.reset();
    }
}

TEST_F(InstallList, ListsThatCannotBeReadStopAtTheBadSection)
{
    struct Case {
        const char *what;
        QByteArray list;
        QString message; // empty: the load succeeds
        int records;
    };
    QStringList five;
    for (int i = 1; i <= 5; ++i)
        five << QString("[Sec%1]").arg(i)
             << "Category=" + QString(i == 5 ? 51 : 50, 'c') << "ZipName=p.zip";
    const Case cases[] = {
        {"empty file", "", "", 0},
        {"fifth section too long", crlf(five), "Error reading Sec5", 4},
        {"a section twice", crlf({"[A]", "ZipName=a.zip", "[B]", "[a]", "ZipName=other.zip"}),
         "Error reading a", 2},
        {"a value of 100 000 characters",
         crlf({"[One]", "ZipName=1.zip", "[Two]", "ZipName=" + QString(100000, 'z')}),
         "Error reading Two", 1},
        {"a size no table can hold", crlf({"[Huge]", "SizeMB=1e306"}), "Error reading Huge", 0},
        {"binary", QByteArray("[A]\r\nZipName=a\0\x01\xff\r\n[B]\r\n", 22),
         "Error reading InstallList.ini\nThe file is not a text file", 0},
    };
    StartServer();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        FTable.EmptyDataSet();
        FDist.writeRawInstallList(c.list);
        TScriptedResponder boxes;
        if (!c.message.isEmpty())
            boxes.Press("OK");
        EXPECT_EQ(Load(), c.message.isEmpty());
        EXPECT_EQ(boxes.MessageTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(FTable.RecordCount(), c.records);
        EXPECT_FALSE(FClient->Connected());
        EXPECT_EQ(FDrive.ReadFile("Program/InstallList.ini"), c.list); // the copy stays
    }
    EXPECT_EQ(FServer->commandCount("PASS"), int(std::size(cases)));
}
