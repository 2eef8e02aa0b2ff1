// The download client against a real FTPS server on 127.0.0.1: one secured control connection
// for every transfer, files that arrive whole or not at all, and a connection state that
// stays true to what the server did.
#include "FtpClient.h"
#include "FtpFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSet>
#include <QThread>

using namespace zvo;

namespace {

constexpr qint64 kBig = 3 * 1024 * 1024 + 17;

QStringList filesIn(const QString &hostDir)
{
    return QDir(hostDir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class FtpClient : public FtpFixture {
protected:
    void SetUp() override
    {
        FDist.addFile("/ZVODL/", "Docs.zip", "small package");
        FDist.addLargeFile("/ZVODL/", "Big.bin", kBig);
        FDist.addFolder("/ZVODL/Sarvel/");
        FDrive.WriteFile("Down/keep.txt", "");
    }

    // A client that counts its disconnect events.
    std::unique_ptr<TFtpClient> NewClient()
    {
        auto client = std::make_unique<TFtpClient>(Settings());
        client->OnDisconnected = [this] { ++FDisconnects; };
        return client;
    }

    int FDisconnects = 0;
};

TEST_F(FtpClient, OneSecuredConnectionCarriesEveryTransfer)
{
    StartServer();
    auto client = NewClient();
    client->Connect();
    ASSERT_TRUE(client->Connected());
    const long port = client->ControlPort();
    EXPECT_NE(port, 0);

    client->ChangeDir("/ZVODL/");
    EXPECT_EQ(client->RetrieveCurrentDir(), "/ZVODL");
    client->ChangeDir("Sarvel");
    EXPECT_EQ(client->RetrieveCurrentDir(), "/ZVODL/Sarvel");
    client->ChangeDir("..");
    EXPECT_EQ(client->RetrieveCurrentDir(), "/ZVODL");
    EXPECT_EQ(client->Size("Big.bin"), kBig);

    client->Get("Big.bin", "C:\\Down\\Big.bin");
    client->Get("Docs.zip", "C:\\Down\\Docs.zip");
    client->List();
    EXPECT_EQ(client->DirectoryListing().size(), 3);

    EXPECT_TRUE(SameAsFiller(FDrive.Host("Down/Big.bin"), "Big.bin", kBig));
    EXPECT_EQ(FDrive.ReadFile("Down/Docs.zip"), "small package");
    EXPECT_EQ(client->ControlPort(), port);
    EXPECT_EQ(Server().commandCount("CONNECT"), 1);
    EXPECT_EQ(Server().commandCount("PASS"), 1);
    const QStringList log = Server().commandLog();
    EXPECT_TRUE(log.contains("1 AUTH TLS"));
    EXPECT_TRUE(log.contains("1 PROT C"));
    EXPECT_TRUE(log.contains("1 TYPE I"));
    EXPECT_EQ(FDisconnects, 0);

    client->Disconnect();
    EXPECT_FALSE(client->Connected());
    EXPECT_EQ(FDisconnects, 1);
    EXPECT_EQ(filesIn(FDrive.Host("Down")), QStringList({"Big.bin", "Docs.zip", "keep.txt"}));
}

TEST_F(FtpClient, GetReplacesTheLocalFileOnlyWhenComplete)
{
    FServer.reset();
    FtpsServerOptions drop;
    drop.dropAfterBytes = 1000000;
    StartServer(drop);
    FDrive.WriteFile("Down/Big.bin", "the old copy");
    auto client = NewClient();
    client->Connect();
    client->ChangeDir("/ZVODL/");
    client->Get("Docs.zip", "C:\\Down\\Docs.zip"); // below the drop size: replaced whole

    try {
        client->Get("Big.bin", "C:\\Down\\Big.bin");
        FAIL() << "a dropped transfer must raise";
    } catch (const EFtpError &e) {
        EXPECT_TRUE(e.IsNetworkError()) << e.what();
    }
    EXPECT_EQ(FDrive.ReadFile("Down/Big.bin"), "the old copy");
    EXPECT_EQ(filesIn(FDrive.Host("Down")), QStringList({"Big.bin", "Docs.zip", "keep.txt"}));
    EXPECT_FALSE(client->Connected());
    EXPECT_EQ(FDisconnects, 1);
    EXPECT_THROW(client->Get("Docs.zip", "C:\\Down\\Docs.zip"), EFtpError);
}

TEST_F(FtpClient, RefusalsRaiseAndKeepTheConnection)
{
    StartServer();
    auto client = NewClient();
    client->Connect();
    client->ChangeDir("/ZVODL/");

    auto expectRefusal = [&](const std::function<void()> &call) {
        try {
            call();
            ADD_FAILURE() << "no error raised";
        } catch (const EFtpError &e) {
            EXPECT_FALSE(e.IsNetworkError()) << e.what();
            EXPECT_FALSE(e.Message().isEmpty());
        }
    };
    expectRefusal([&] { client->ChangeDir("/NoSuchFolder/"); });
    expectRefusal([&] { client->Get("Missing.zip", "C:\\Down\\Missing.zip"); });
    expectRefusal([&] { client->Size("Missing.zip"); });
    expectRefusal([&] { client->Get("Docs.zip", "C:\\NoSuchFolder\\Docs.zip"); });

    EXPECT_FALSE(QFile::exists(FDrive.Host("Down/Missing.zip")));
    EXPECT_EQ(filesIn(FDrive.Host("Down")), QStringList({"keep.txt"}));
    ASSERT_TRUE(client->Connected());
    EXPECT_EQ(client->RetrieveCurrentDir(), "/ZVODL"); // a refused change leaves it
    client->Get("Docs.zip", "C:\\Down\\Docs.zip");
    EXPECT_EQ(Server().commandCount("PASS"), 1);
    EXPECT_EQ(FDisconnects, 0);
}

TEST_F(FtpClient, FailedConnectsRaiseAndLeaveNoConnection)
{
    struct Case {
        const char *what;
        bool refuseLogin;
        bool stopServer;
        int slowReplyMs;
        bool network;
    };
    for (const Case &c : {Case{"refused login", true, false, 0, false},
                          Case{"no server", false, true, 0, true},
                          Case{"replies too slow", false, false, 2500, true}}) {
        SCOPED_TRACE(c.what);
        FtpsServerOptions options;
        options.refuseLogin = c.refuseLogin;
        options.slowReplyMs = c.slowReplyMs;
        StartServer(options);
        auto client = NewClient();
        if (c.stopServer)
            FServer->stop();
        QElapsedTimer timer;
        timer.start();
        try {
            client->Connect();
            ADD_FAILURE() << "Connect must raise";
        } catch (const EFtpError &e) {
            EXPECT_EQ(e.IsNetworkError(), c.network) << e.what();
            EXPECT_FALSE(e.Message().contains(Settings().Password)) << e.what();
        }
        EXPECT_LT(timer.elapsed(), 2400);
        EXPECT_FALSE(client->Connected());
        EXPECT_THROW(client->ChangeDir("/ZVODL/"), EFtpError);
        EXPECT_EQ(FDisconnects, 0);
        FServer.reset();
    }
}

TEST_F(FtpClient, StalledDataTimesOut)
{
    FtpsServerOptions stall;
    stall.slowDataMs = 4000;
    StartServer(stall);
    auto client = NewClient();
    client->Connect();
    client->ChangeDir("/ZVODL/");
    QElapsedTimer timer;
    timer.start();
    try {
        client->Get("Big.bin", "C:\\Down\\Big.bin");
        FAIL() << "a stalled transfer must raise";
    } catch (const EFtpError &e) {
        EXPECT_TRUE(e.IsNetworkError()) << e.what();
    }
    EXPECT_LT(timer.elapsed(), 3900);
    EXPECT_EQ(filesIn(FDrive.Host("Down")), QStringList({"keep.txt"}));
    EXPECT_FALSE(client->Connected());
    EXPECT_EQ(FDisconnects, 1);
}

// The server hangs up on an idle connection: the client must notice, not reuse it as if it
// were fine, and connect afresh when asked to.
TEST_F(FtpClient, ConnectionClosedByTheServerIsNotConnected)
{
    FtpsServerOptions idle;
    idle.idleTimeoutSeconds = 0.3;
    StartServer(idle);
    auto client = NewClient();

    client->Connect();
    QThread::msleep(800);
    EXPECT_FALSE(client->Connected());
    EXPECT_EQ(FDisconnects, 1);
    EXPECT_THROW(client->Get("/ZVODL/Docs.zip", "C:\\Down\\Docs.zip"), EFtpError);

    client->Connect();
    QThread::msleep(800);
    try {
        client->Get("/ZVODL/Docs.zip", "C:\\Down\\Docs.zip");
        FAIL() << "a transfer on a closed connection must raise";
    } catch (const EFtpError &e) {
        EXPECT_TRUE(e.IsNetworkError()) << e.what();
    }
    EXPECT_EQ(FDisconnects, 2);
    EXPECT_FALSE(client->Connected());
    EXPECT_EQ(filesIn(FDrive.Host("Down")), QStringList({"keep.txt"}));

    client->Connect();
    client->Get("/ZVODL/Docs.zip", "C:\\Down\\Docs.zip");
    EXPECT_EQ(FDrive.ReadFile("Down/Docs.zip"), "small package");
    EXPECT_EQ(Server().commandCount("PASS"), 3);
}

TEST_F(FtpClient, AbortStopsTheTransferMidFile)
{
    FtpsServerOptions slow;
    slow.slowDataMs = 100; // 50 pieces of 64 KiB: five seconds unless stopped
    StartServer(slow);
    auto client = NewClient();
    qint64 firstCount = -1, lastCount = 0;
    client->OnWork = [&](qint64 count) {
        if (firstCount < 0) {
            firstCount = count;
            client->Abort();
        }
        lastCount = count;
    };
    client->Connect();
    client->ChangeDir("/ZVODL/");
    QElapsedTimer timer;
    timer.start();
    try {
        client->Get("Big.bin", "C:\\Down\\Big.bin");
        FAIL() << "an aborted transfer must raise";
    } catch (const EFtpError &e) {
        EXPECT_EQ(e.CurlCode(), 42);
        EXPECT_EQ(e.Message(), "Transfer aborted");
    }
    EXPECT_LT(timer.elapsed(), 2500); // well short of the whole file, also on a busy machine
    EXPECT_GT(firstCount, 0);
    EXPECT_LT(lastCount, kBig);
    EXPECT_EQ(filesIn(FDrive.Host("Down")), QStringList({"keep.txt"}));
    client->Abort(); // between transfers: nothing to stop
}

namespace {

struct ListingCase {
    const char *name;
    bool noMlsd;
    FtpsServerOptions::ListStyle style;
};

void PrintTo(const ListingCase &c, std::ostream *os)
{
    *os << c.name;
}

} // namespace

class FtpClientListing : public FtpClient,
                                public ::testing::WithParamInterface<ListingCase> {
};

// MLSD where the server has it; each LIST style otherwise. Names with blanks survive, a name
// holding a backslash (legal on the server's disk) is refused.
TEST_P(FtpClientListing, EntriesHaveNameKindAndSize)
{
    FtpsServerOptions options;
    options.listStyle = GetParam().style;
    options.noMlsd = GetParam().noMlsd;
    StartServer(options);
    FDist.addFile("/STARCATS/APASS", "apass 001.dat", QByteArray(10, 'a'));
    FDist.addFile("/STARCATS/APASS", "b.dat", QByteArray(20, 'b'));
    FDist.addFile("/STARCATS/APASS", "..\\evil.dll", "x");
    FDist.addFolder("/STARCATS/APASS/Zone 1/");

    auto client = NewClient();
    client->Connect();
    client->ChangeDir("/STARCATS/APASS");
    for (int round = 0; round < 2; ++round) { // the second time without trying MLSD again
        client->List();
        QSet<QString> seen;
        for (const TFtpListItem &item : client->DirectoryListing()) {
            seen << item.FileName;
            if (item.FileName == "apass 001.dat") {
                EXPECT_EQ(item.ItemType, TFtpItemType::File);
                EXPECT_EQ(item.Size, 10);
            } else if (item.FileName == "b.dat") {
                EXPECT_EQ(item.Size, 20);
            } else if (item.FileName == "Zone 1") {
                EXPECT_EQ(item.ItemType, TFtpItemType::Directory);
            }
        }
        EXPECT_EQ(seen, QSet<QString>({"apass 001.dat", "b.dat", "Zone 1"}));
        EXPECT_EQ(client->RefusedNames(), QStringList({"..\\evil.dll"}));
    }
    EXPECT_TRUE(client->Connected());
    EXPECT_EQ(Server().commandCount("PASS"), 1);
    EXPECT_EQ(Server().commandCount("MLSD"), GetParam().noMlsd ? 1 : 2);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, FtpClientListing,
    ::testing::Values(ListingCase{"Mlsd", false, FtpsServerOptions::ListStyle::Unix},
                      ListingCase{"UnixList", true, FtpsServerOptions::ListStyle::Unix},
                      ListingCase{"DosList", true, FtpsServerOptions::ListStyle::Dos},
                      ListingCase{"Dos4List", true, FtpsServerOptions::ListStyle::Dos4}),
    [](const ::testing::TestParamInfo<ListingCase> &info) { return std::string(info.param.name); });

TEST_F(FtpClient, ServerSectionOfTheSettingsFileOverridesTheDefaults)
{
    StartServer();
    const TFtpSettings defaults = TFtpSettings::FromSettingsFile("C:\\NoSuch.ini");
    EXPECT_EQ(defaults.Host, "ftp.zvofamily.example");
    EXPECT_EQ(defaults.Port, 21);
    EXPECT_EQ(defaults.User, "zvodl@zvofamily.example");
    EXPECT_EQ(defaults.Password.size(), 12);
    EXPECT_EQ(defaults.KeepAliveMs, 10000);
    EXPECT_EQ(defaults.ReadTimeoutMs, 60000);
    EXPECT_EQ(defaults.RecvBufferSize, 65536);

    FDrive.WriteFile("Bad.ini", "[Server]\r\nPort=abc\r\nHost=\r\n");
    const TFtpSettings bad = TFtpSettings::FromSettingsFile("C:\\Bad.ini");
    EXPECT_EQ(bad.Port, 21);
    EXPECT_EQ(bad.Host, "ftp.zvofamily.example");

    FDrive.WriteFile("ZVOV12InstallSettings.ini",
                     QStringLiteral("[Server]\r\nHost=127.0.0.1\r\nPort=%1\r\nUser=%2\r\n"
                                    "Password=%3\r\n")
                         .arg(Server().port()).arg(Server().user(), Server().password())
                         .toUtf8());
    TFtpClient client(TFtpSettings::FromSettingsFile("C:\\ZVOV12InstallSettings.ini"));
    client.Connect();
    EXPECT_TRUE(client.Connected());
}

TEST_F(FtpClient, AHostNameThatIsNoHostIsRefused)
{
    TFtpSettings s;
    s.Host = "evil.example/path@other";
    TFtpClient client(s);
    EXPECT_THROW(client.Connect(), EFtpError);
    EXPECT_FALSE(client.Connected());
}
