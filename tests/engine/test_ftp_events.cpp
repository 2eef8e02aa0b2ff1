// The window's handlers of the client's events: the status panel in bursts every 5 MB, Stop
// taken while the panel is updated, and the two log lines of a closed connection.
#include "FamilyFormats.h"
#include "FtpClientEvents.h"
#include "FtpFixture.h"
#include "InstallLog.h"
#include "LogStrings.h"

#include <QPlainTextEdit>

using namespace zvo;

namespace {

constexpr qint64 MB = 1024000;

qint64 bytesOf(double megabytes)
{
    return qint64(megabytes * MB + 0.5);
}

} // namespace

TEST(FtpClientEvents, PanelUpdatesInAWindowEveryFiveMegabytes)
{
    InitFamilyFormats();
    struct Case {
        qint64 count;
        bool due;
    };
    const Case cases[] = {
        {0, true},
        {bytesOf(0.1), true},
        {MB * 21 / 100, true},      // 0.21 MB is still inside
        {MB * 21 / 100 + 1, false}, // one byte more is not
        {bytesOf(1.0), false},
        {bytesOf(4.99), false},
        {bytesOf(5.0), true},
        {bytesOf(5.10), true},
        {bytesOf(5.30), false},
        {bytesOf(7.10), false},
        {bytesOf(10.2), true},
        {bytesOf(15.0) - 1, false},
        {bytesOf(500.05), true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TFtpClientEvents::PanelUpdateDue(c.count), c.due) << c.count;

    EXPECT_EQ(TFtpClientEvents::PanelText("Downloading: Docs.zip", bytesOf(5.12)),
              "Downloading: Docs.zip 5.12 MB");
    EXPECT_EQ(TFtpClientEvents::PanelText("x", 1000), "x 0.00 MB");
    EXPECT_EQ(TFtpClientEvents::PanelText("x", bytesOf(1234.5)), "x 1234.50 MB");
}

class FtpEventsWithServer : public FtpFixture {
protected:
    void SetUp() override { InitFamilyFormats(); }
};

TEST_F(FtpEventsWithServer, PanelFollowsARealDownload)
{
    const qint64 size = 11 * MB + 5;
    FDist.addLargeFile("/ZVODL/", "Cat.bin", size);
    StartServer();
    TFtpClient client(Settings());
    QStringList panel;
    TFtpClientEvents events(client, [&](const QString &t) { panel << t; }, [] { return false; },
                            nullptr);
    events.XferPreString = "Downloading: Cat.bin";
    client.Connect();
    client.Get("/ZVODL/Cat.bin", "C:\\Cat.bin");

    ASSERT_FALSE(panel.isEmpty());
    QSet<int> bursts;
    for (const QString &text : panel) {
        ASSERT_TRUE(text.startsWith("Downloading: Cat.bin ") && text.endsWith(" MB")) << text.toStdString();
        const double mb = text.section(' ', 2, 2).toDouble();
        EXPECT_EQ(int(mb) % 5, 0) << text.toStdString();
        EXPECT_LE(mb - int(mb), 0.215) << text.toStdString();
        bursts << int(mb);
    }
    EXPECT_TRUE(bursts.contains(5) && bursts.contains(10)) << panel.join(" | ").toStdString();
    EXPECT_TRUE(SameAsFiller(FDrive.Host("Cat.bin"), "Cat.bin", size));
}

// Stop is clicked while the panel update lets input through; the next notification aborts.
TEST_F(FtpEventsWithServer, StopDuringADownloadAbortsIt)
{
    FDist.addLargeFile("/ZVODL/", "Big.bin", 3 * MB);
    FtpsServerOptions slow;
    slow.slowDataMs = 25;
    StartServer(slow);
    TFtpClient client(Settings());
    bool Abort = false;
    QStringList panel;
    TFtpClientEvents events(client,
                            [&](const QString &t) {
                                panel << t;
                                Abort = true; // the user's Stop, taken during processEvents
                            },
                            [&] { return Abort; }, nullptr);
    events.XferPreString = "Downloading: Big.bin";
    client.Connect();
    EXPECT_THROW(client.Get("/ZVODL/Big.bin", "C:\\Big.bin"), EFtpError);
    EXPECT_EQ(panel.size(), 1);
    EXPECT_FALSE(QFile::exists(FDrive.Host("Big.bin")));
}

TEST_F(FtpEventsWithServer, AbortAlreadySetStopsAtTheFirstNotification)
{
    FDist.addLargeFile("/ZVODL/", "Big.bin", 3 * MB);
    FtpsServerOptions slow;
    slow.slowDataMs = 25;
    StartServer(slow);
    TFtpClient client(Settings());
    int notifications = 0;
    TFtpClientEvents events(client, nullptr, [&] { return ++notifications > 0; }, nullptr);
    client.Connect();
    EXPECT_THROW(client.Get("/ZVODL/Big.bin", "C:\\Big.bin"), EFtpError);
    EXPECT_EQ(notifications, 1);
    EXPECT_FALSE(QFile::exists(FDrive.Host("Big.bin")));
}

TEST_F(FtpEventsWithServer, AClosedConnectionLogsTwoLines)
{
    StartServer();
    QPlainTextEdit memConfirm;
    TInstallLog log(&memConfirm, "C:\\LOGS\\", [] { return QDateTime({2024, 3, 5}, {14, 3, 7}); });
    log.SwitchLogFile(false);
    TFtpClient client(Settings());
    TFtpClientEvents events(client, nullptr, [] { return false; },
                            [&](const QString &t, bool d, bool b) { log.AddToLog(t, d, b); });
    client.Connect();
    EXPECT_TRUE(memConfirm.toPlainText().isEmpty());
    client.Disconnect();
    EXPECT_EQ(memConfirm.toPlainText(),
              "   14:03:07   " + Divider + "\n   14:03:07   FTP connection closed");
    client.Disconnect(); // nothing left to close: no more lines
    EXPECT_EQ(memConfirm.document()->blockCount(), 2);
    EXPECT_EQ(FDrive.ReadFile("LOGS/ConfirmationLog_2024-03-05_1403.txt"),
              "   14:03:07   " + Divider.toLatin1() + "\r\n   14:03:07   FTP connection closed\r\n");
}
