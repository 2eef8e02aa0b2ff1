#pragma once
// The download client: FTP with explicit TLS on the control connection (passive, binary,
// clear data connections), one control connection kept for many transfers. Every call
// blocks; progress and the end of the connection come back through OnWork and
// OnDisconnected. Failures raise EFtpError.
#include "FtpError.h"
#include "FtpListing.h"
#include "FtpSettings.h"

#include <QString>
#include <functional>

namespace zvo {

class TFtpClient {
public:
    explicit TFtpClient(TFtpSettings settings = TFtpSettings());
    ~TFtpClient();
    TFtpClient(const TFtpClient &) = delete;
    TFtpClient &operator=(const TFtpClient &) = delete;

    const TFtpSettings &Settings() const { return FSettings; }
    // Takes effect at the next Connect.
    void SetSettings(const TFtpSettings &settings) { FSettings = settings; }

    // Connects, secures the control connection and logs in; raises when any of it fails.
    void Connect();
    // True while the control connection is open. Looks at the connection itself, so a
    // connection the server has closed reads false (and OnDisconnected fires then).
    bool Connected();
    // Absolute ("/ZVODL/") or relative to the current directory; raises when refused.
    void ChangeDir(const QString &path);
    // The server's own answer to PWD, e.g. "/ZVODL".
    QString RetrieveCurrentDir();
    // Lists the current directory into DirectoryListing().
    void List();
    const QList<TFtpListItem> &DirectoryListing() const { return FListing.Items; }
    // Entries of the last listing left out for unsafe names ("../x", "a/b").
    const QStringList &RefusedNames() const { return FListing.RefusedNames; }
    // The file's size in bytes as the server reports it (SIZE).
    qint64 Size(const QString &fileName);
    // Downloads into a temporary file beside localPath and puts it in place of localPath
    // only once the transfer is complete; on failure or abort localPath is untouched.
    void Get(const QString &remoteName, const QString &localPath);
    // Stops the transfer in progress (it then raises); no effect between transfers.
    void Abort();
    // Closes the connection (QUIT); OnDisconnected fires when one was open.
    void Disconnect();

    // Bytes of the current download so far, after each piece that arrived.
    std::function<void(qint64 workCount)> OnWork;
    // The control connection is gone: closed by us, by the server, or by a failure.
    std::function<void()> OnDisconnected;

    // Local port of the control connection, 0 when not connected.
    long ControlPort() const { return FControlPort; }

private:
    class TTransfer;
    friend class TTransfer;

    QString UrlOf(const QString &serverPath) const;
    QString ResolvePath(const QString &path, bool directory) const;
    // One listing request; false when the server does not know `command` (MLSD).
    bool ListWith(const char *command);
    void RequireIdleConnection();
    bool ConnectionAlive() const;
    void CheckConnectionAfter(bool transferFailed);
    void ConnectionLost();
    void CloseHandle(bool dead);

    TFtpSettings FSettings;
    void *FCurl = nullptr; // CURL*, kept across calls so the control connection is reused
    bool FConnected = false;
    bool FBusy = false;
    bool FAbortRequested = false;
    bool FNoMlsd = false;
    long FControlPort = 0;
    QString FCurrentDir = QStringLiteral("/"); // with trailing "/"
    QString FPwdReply;
    TFtpListing FListing;
};

} // namespace zvo
