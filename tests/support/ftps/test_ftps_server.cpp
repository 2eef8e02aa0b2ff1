// The test FTPS server and the fixture builder, checked with libcurl configured the way the
// download client is: explicit TLS on the control connection, clear data, no verification.
#include "FixtureDistribution.h"
#include "FtpsTestServer.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <zip.h>

#include <functional>

namespace {

size_t appendTo(char *data, size_t size, size_t count, void *userdata)
{
    static_cast<QByteArray *>(userdata)->append(data, qsizetype(size * count));
    return size * count;
}

// One easy handle: like the client, it keeps its control connection between transfers.
class Client {
public:
    explicit Client(const FtpsTestServer &server) : m_server(server)
    {
        static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
        EXPECT_TRUE(initialised);
        m_handle = curl_easy_init();
        setUser(server.user(), server.password());
        curl_easy_setopt(m_handle, CURLOPT_USE_SSL, long(CURLUSESSL_CONTROL));
        curl_easy_setopt(m_handle, CURLOPT_FTPSSLAUTH, long(CURLFTPAUTH_TLS));
        curl_easy_setopt(m_handle, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(m_handle, CURLOPT_SSL_VERIFYHOST, 0L);
        curl_easy_setopt(m_handle, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(m_handle, CURLOPT_TIMEOUT, 30L);
        curl_easy_setopt(m_handle, CURLOPT_WRITEFUNCTION, appendTo);
        curl_easy_setopt(m_handle, CURLOPT_WRITEDATA, &m_body);
    }
    ~Client() { curl_easy_cleanup(m_handle); }
    Client(const Client &) = delete;
    Client &operator=(const Client &) = delete;

    CURL *handle() const { return m_handle; }
    void setUser(const QString &user, const QString &password)
    {
        m_user = user.toUtf8();
        m_password = password.toUtf8();
        curl_easy_setopt(m_handle, CURLOPT_USERNAME, m_user.constData());
        curl_easy_setopt(m_handle, CURLOPT_PASSWORD, m_password.constData());
    }

    // Fetches a server path (a file, or a folder's LIST when it ends in "/"); `request`
    // replaces LIST, e.g. "MLSD".
    CURLcode get(const QString &serverPath, const char *request = nullptr)
    {
        m_body.clear();
        const QByteArray url = m_server.url(serverPath).toUtf8();
        curl_easy_setopt(m_handle, CURLOPT_URL, url.constData());
        curl_easy_setopt(m_handle, CURLOPT_NOBODY, 0L);
        curl_easy_setopt(m_handle, CURLOPT_CUSTOMREQUEST, request);
        return curl_easy_perform(m_handle);
    }
    // Connects, logs in and changes to the folder without a data connection.
    CURLcode connect(const QString &serverPath)
    {
        const QByteArray url = m_server.url(serverPath).toUtf8();
        curl_easy_setopt(m_handle, CURLOPT_URL, url.constData());
        curl_easy_setopt(m_handle, CURLOPT_NOBODY, 1L);
        return curl_easy_perform(m_handle);
    }
    const QByteArray &body() const { return m_body; }
    QStringList lines() const
    {
        return QString::fromUtf8(m_body).split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts);
    }

private:
    const FtpsTestServer &m_server;
    CURL *m_handle = nullptr;
    QByteArray m_user, m_password, m_body;
};

QByteArray readHostFile(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

struct Served {
    QTemporaryDir dir;
    FixtureDistribution dist{dir.path()};
};

} // namespace

TEST(FtpsTestServer, ServesFilesByteIdenticalOverOneSecuredControlConnection)
{
    Served s;
    s.dist.addSection("Docs", {{"Category", "Docs"}, {"ZipName", "Docs.zip"}});
    const QString list = s.dist.writeInstallList();
    const QString zip = s.dist.addPackage(
        {"Docs.zip", "/ZVODL/Docs/", {{"readme.txt", "read me"}, FixtureEntry::filled("a.bin", 70000)}});
    const QString big = s.dist.addLargeFile("/STARCATS/UCAC4/", "z001.zip", 3 * 1024 * 1024 + 7);

    FtpsTestServer server(s.dir.path());
    server.start();
    Client client(server);
    const QList<QPair<QString, QString>> files{{"/ZVODL/InstallList.ini", list},
                                               {"/ZVODL/Docs/Docs.zip", zip},
                                               {"/STARCATS/UCAC4/z001.zip", big}};
    for (const auto &file : files) {
        ASSERT_EQ(client.get(file.first), CURLE_OK) << file.first.toStdString();
        EXPECT_EQ(client.body(), readHostFile(file.second)) << file.first.toStdString();
    }

    EXPECT_EQ(server.commandCount("CONNECT"), 1);
    EXPECT_EQ(server.commandCount("PASS"), 1);
    const QStringList log = server.commandLog();
    const auto at = [&](const QString &line) { return log.indexOf(line); };
    ASSERT_GE(at("1 AUTH TLS"), 0) << log.join('\n').toStdString();
    EXPECT_LT(at("1 AUTH TLS"), at("1 USER zvodl@zvofamily.example"));
    EXPECT_GE(at("1 PASS ******"), 0) << "the password must not reach the log";
    EXPECT_GE(at("1 PROT C"), 0);
}

TEST(FtpsTestServer, LoginOutcomes)
{
    struct Case {
        const char *what;
        std::function<void(FtpsServerOptions &)> server;
        std::function<void(Client &)> client;
        CURLcode expected;
    };
    const Case cases[] = {
        {"default account", [](FtpsServerOptions &) {}, [](Client &) {}, CURLE_OK},
        {"TLS 1.0 only", [](FtpsServerOptions &) {},
         [](Client &c) {
             curl_easy_setopt(c.handle(), CURLOPT_SSLVERSION,
                              long(CURL_SSLVERSION_TLSv1_0 | CURL_SSLVERSION_MAX_TLSv1_0));
             curl_easy_setopt(c.handle(), CURLOPT_SSL_CIPHER_LIST, "DEFAULT:@SECLEVEL=0");
         },
         CURLE_OK},
        {"refused login", [](FtpsServerOptions &o) { o.refuseLogin = true; }, [](Client &) {},
         CURLE_LOGIN_DENIED},
        {"wrong password", [](FtpsServerOptions &) {},
         [](Client &c) { c.setUser("zvodl@zvofamily.example", "V12dlSecret?"); },
         CURLE_LOGIN_DENIED},
        {"login without TLS", [](FtpsServerOptions &) {},
         [](Client &c) { curl_easy_setopt(c.handle(), CURLOPT_USE_SSL, long(CURLUSESSL_NONE)); },
         CURLE_LOGIN_DENIED},
    };
    Served s;
    s.dist.writeRawInstallList("[A]\r\nZipName=a.zip\r\n");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        FtpsServerOptions options;
        c.server(options);
        FtpsTestServer server(s.dir.path(), options);
        server.start();
        Client client(server);
        c.client(client);
        const CURLcode code = client.get("/ZVODL/InstallList.ini");
        EXPECT_EQ(code, c.expected) << curl_easy_strerror(code);
        if (c.expected == CURLE_OK) {
            EXPECT_EQ(client.body(), QByteArray("[A]\r\nZipName=a.zip\r\n"));
        }
    }
}

TEST(FtpsTestServer, DropAfterCutsBiggerDownloadsAndKillsTheConnection)
{
    Served s;
    s.dist.writeRawInstallList("[A]\r\n");
    s.dist.addLargeFile("/ZVODL/Sarvel/", "Sarvel.zip", 1000000);
    FtpsServerOptions options;
    options.dropAfterBytes = 100000;
    FtpsTestServer server(s.dir.path(), options);
    server.start();
    Client client(server);

    ASSERT_EQ(client.get("/ZVODL/InstallList.ini"), CURLE_OK) << "small files pass";
    const CURLcode code = client.get("/ZVODL/Sarvel/Sarvel.zip");
    EXPECT_NE(code, CURLE_OK);
    EXPECT_EQ(client.body(), FixtureDistribution::filler("Sarvel.zip", 0, 100000));

    const QStringList log = server.commandLog();
    const qsizetype drop = log.indexOf("1 DROP after 100000 bytes");
    ASSERT_GE(drop, 0) << log.join('\n').toStdString();
    EXPECT_EQ(log.value(drop + 1), "1 CLOSE") << "the server ends the control connection";
    // The next transfer needs a new connection.
    EXPECT_EQ(client.get("/ZVODL/InstallList.ini"), CURLE_OK);
    EXPECT_EQ(server.commandCount("CONNECT"), 2);
}

TEST(FtpsTestServer, ListingsMlsdOrLegacyListStyles)
{
    Served s;
    QFile file(s.dist.addFile("/ZVODL/Docs/", "file.zip", QByteArray(1234, 'x')));
    s.dist.addFolder("/ZVODL/Docs/Sub Dir");
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2009, 11, 12), QTime(13, 2), Qt::UTC),
                                 QFileDevice::FileModificationTime));
    file.close();

    using Style = FtpsServerOptions::ListStyle;
    struct Case {
        const char *what;
        Style style;
        bool noMlsd;
        const char *fileLine; // regular expressions, whole lines
        const char *dirLine;
    };
    const Case cases[] = {
        {"unix", Style::Unix, false, R"(^-r\S+ +\d+ \S+ +\S+ +1234 Nov 12  2009 file\.zip$)",
         R"(^dr\S+ .* Sub Dir$)"},
        {"dos", Style::Dos, true, R"(^11-12-09  01:02PM {17}1234 file\.zip$)",
         R"(^\d\d-\d\d-\d\d  \d\d:\d\d[AP]M       <DIR>          Sub Dir$)"},
        {"dos4", Style::Dos4, true, R"(^11-12-2009  01:02PM {17}1234 file\.zip$)",
         R"(^\d\d-\d\d-\d{4}  \d\d:\d\d[AP]M       <DIR>          Sub Dir$)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        FtpsServerOptions options;
        options.listStyle = c.style;
        options.noMlsd = c.noMlsd;
        FtpsTestServer server(s.dir.path(), options);
        server.start();
        Client client(server);

        const CURLcode mlsd = client.get("/ZVODL/Docs/", "MLSD");
        if (c.noMlsd) {
            EXPECT_NE(mlsd, CURLE_OK);
        } else {
            ASSERT_EQ(mlsd, CURLE_OK);
            EXPECT_TRUE(client.lines().contains(QRegularExpression(
                "^type=file;.*size=1234;.* file\\.zip$|^.*;size=1234;.*type=file;.* file\\.zip$")))
                << client.body().toStdString();
        }

        ASSERT_EQ(client.get("/ZVODL/Docs/"), CURLE_OK);
        const QStringList lines = client.lines();
        EXPECT_EQ(lines.size(), 2) << client.body().toStdString();
        EXPECT_TRUE(lines.contains(QRegularExpression(c.fileLine))) << client.body().toStdString();
        EXPECT_TRUE(lines.contains(QRegularExpression(c.dirLine))) << client.body().toStdString();
    }
}

TEST(FtpsTestServer, SlowRepliesAndStallingData)
{
    struct Case {
        const char *what;
        int replyMs;
        int dataMs;
        long responseTimeout; // s, CURLOPT_SERVER_RESPONSE_TIMEOUT
        long lowSpeedTime;    // s below 1 byte/s; 0: no check
        CURLcode expected;
        qint64 atLeastMs;
    };
    const Case cases[] = {
        {"slow replies within the client's patience", 100, 0, 5, 0, CURLE_OK, 100 * 8},
        {"reply later than the client waits", 2000, 0, 1, 0, CURLE_OPERATION_TIMEDOUT, 900},
        {"stalled download", 0, 5000, 5, 1, CURLE_OPERATION_TIMEDOUT, 900},
    };
    Served s;
    s.dist.addLargeFile("/STARCATS/APASS/", "apass.dat", 200000);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        FtpsServerOptions options;
        options.slowReplyMs = c.replyMs;
        options.slowDataMs = c.dataMs;
        FtpsTestServer server(s.dir.path(), options);
        server.start();
        Client client(server);
        curl_easy_setopt(client.handle(), CURLOPT_SERVER_RESPONSE_TIMEOUT, c.responseTimeout);
        curl_easy_setopt(client.handle(), CURLOPT_LOW_SPEED_LIMIT, c.lowSpeedTime ? 1L : 0L);
        curl_easy_setopt(client.handle(), CURLOPT_LOW_SPEED_TIME, c.lowSpeedTime);
        QElapsedTimer clock;
        clock.start();
        const CURLcode code = client.get("/STARCATS/APASS/apass.dat");
        EXPECT_EQ(code, c.expected) << curl_easy_strerror(code);
        EXPECT_GE(clock.elapsed(), c.atLeastMs);
        EXPECT_LT(clock.elapsed(), 4000) << "the fault, not a general hang, ended it";
    }
}

TEST(FtpsTestServer, IdleTimeoutClosesTheControlConnection)
{
    Served s;
    s.dist.addFolder("/ZVODL/");
    FtpsServerOptions options;
    options.idleTimeoutSeconds = 0.5;
    FtpsTestServer server(s.dir.path(), options);
    server.start();
    Client client(server);
    ASSERT_EQ(client.connect("/ZVODL/"), CURLE_OK);
    EXPECT_FALSE(server.commandLog().contains("1 CLOSE"));
    QThread::msleep(1500);
    EXPECT_TRUE(server.commandLog().contains("1 CLOSE")) << server.commandLog().join('\n').toStdString();
}

TEST(FixtureDistribution, WritesTheListAsWindowsTextAndPackagesAsGiven)
{
    Served s;
    s.dist.addSection("Café €", {{"DestPath", "Docs\\Übersicht"}, {"SizeMB", "12,5"}});
    s.dist.addSection("Second", {{"Install", ""}});
    EXPECT_EQ(readHostFile(s.dist.writeInstallList()),
              QByteArray("[Caf\xE9 \x80]\r\nDestPath=Docs\\\xDC" "bersicht\r\nSizeMB=12,5\r\n\r\n"
                         "[Second]\r\nInstall=\r\n\r\n"));
    EXPECT_EQ(s.dist.hostPathOf("/ZVODL/", "InstallList.ini"),
              s.dir.path() + "/ZVODL/InstallList.ini");

    const qint64 fill = 300001;
    const QString zipPath = s.dist.addPackage(
        {"Evil.zip", "/ZVODL/Evil/",
         {{"../escape.txt", "out"}, {"sub/", {}}, {"sub/a.txt", "a"}, {"C:/x.txt", ""},
          FixtureEntry::filled("big.bin", fill)}});
    EXPECT_EQ(zipPath, s.dir.path() + "/ZVODL/Evil/Evil.zip");

    int error = 0;
    zip_t *za = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    ASSERT_NE(za, nullptr) << error;
    const QList<QPair<QString, QByteArray>> expected{
        {"../escape.txt", "out"}, {"sub/", {}}, {"sub/a.txt", "a"}, {"C:/x.txt", {}},
        {"big.bin", FixtureDistribution::filler("big.bin", 0, fill)}};
    ASSERT_EQ(zip_get_num_entries(za, 0), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(QString::fromUtf8(zip_get_name(za, i, 0)), expected[i].first);
        zip_file_t *f = zip_fopen_index(za, i, 0);
        ASSERT_NE(f, nullptr);
        QByteArray content, chunk(65536, Qt::Uninitialized);
        zip_int64_t n;
        while ((n = zip_fread(f, chunk.data(), zip_uint64_t(chunk.size()))) > 0)
            content.append(chunk.constData(), qsizetype(n));
        EXPECT_EQ(n, 0);
        EXPECT_EQ(zip_fclose(f), 0) << "CRC of " << expected[i].first.toStdString();
        EXPECT_EQ(content, expected[i].second) << expected[i].first.toStdString();
    }
    zip_close(za);

    // A large file is the same stream as a filled entry of that name, and any range of the
    // stream can be recomputed on its own.
    const QByteArray large = readHostFile(s.dist.addLargeFile("/STARCATS/CMC15", "big.bin", fill));
    EXPECT_EQ(large, FixtureDistribution::filler("big.bin", 0, fill));
    EXPECT_EQ(large.mid(99997, 20), FixtureDistribution::filler("big.bin", 99997, 20));
    EXPECT_NE(FixtureDistribution::filler("a", 0, 64), FixtureDistribution::filler("b", 0, 64));
}
