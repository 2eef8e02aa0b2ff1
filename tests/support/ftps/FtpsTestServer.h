#pragma once
// A real FTPS server (explicit TLS on the control connection, clear data connections) on
// 127.0.0.1, run as a child process for the length of a test. It serves a host folder
// read-only to one account and can be told to misbehave in the ways a download server does.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QProcess;

struct FtpsServerOptions {
    enum class ListStyle {
        Unix, // "ls -l" lines
        Dos,  // IIS lines: "12-11-26  01:02PM       <DIR>          Name"
        Dos4, // the same with 4-digit years: "12-11-2026  01:02PM ..."
    };

    // The download client's compiled-in account.
    QString user = QStringLiteral("zvodl@zvofamily.example");
    QString password = QStringLiteral("V12dlSecret!");

    // >= 0: a download of a file bigger than this gets exactly this many bytes, then the data
    // connection closes and the control connection is reset, with no reply. Smaller files
    // download normally.
    qint64 dropAfterBytes = -1;
    bool refuseLogin = false;       // every login is answered with 530
    int slowReplyMs = 0;            // the greeting and every command reply come this late
                                    // (not the 226 that ends a transfer)
    int slowDataMs = 0;             // a download pauses this long before each 64 KiB chunk
    double idleTimeoutSeconds = 0;  // > 0: the server closes an idle control connection
    bool noMlsd = false;            // MLSD and MLST are unknown: clients must use LIST
    ListStyle listStyle = ListStyle::Unix;
};

class FtpsTestServer {
public:
    explicit FtpsTestServer(QString rootHostPath, FtpsServerOptions options = {});
    ~FtpsTestServer(); // stops the server
    FtpsTestServer(const FtpsTestServer &) = delete;
    FtpsTestServer &operator=(const FtpsTestServer &) = delete;

    // Starts the server and returns once it listens. Throws std::runtime_error, with the
    // server's error output, when it does not come up in time.
    void start();
    // SIGTERM, then SIGKILL if it lingers. Safe to call twice.
    void stop();
    bool isRunning() const;

    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_port; }
    QString user() const { return m_options.user; }
    QString password() const { return m_options.password; }
    // "ftp://127.0.0.1:<port>" + serverPath ("/ZVODL/" unless told otherwise).
    QString url(const QString &serverPath = QStringLiteral("/ZVODL/")) const;

    // What the server saw, one line per event: "<connection> CONNECT", "<connection> <command
    // line>" (the password masked), "<connection> DROP after <n> bytes", "<connection> CLOSE".
    // Connections count from 1. A command is logged before it is answered, so once a client
    // has its reply the line is there; CLOSE of a connection the client ended may come later.
    QStringList commandLog() const;
    // Lines of commandLog() whose event or command word is `word` (case-insensitive):
    // commandCount("PASS") counts logins, commandCount("CONNECT") control connections.
    int commandCount(const QString &word) const;

private:
    QString m_root;
    FtpsServerOptions m_options;
    QTemporaryDir m_scratch; // the server's error output and command log
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
};
