#include "FtpClient.h"

#include "FileSystem.h"

#include <QSaveFile>
#include <QUrl>
#include <curl/curl.h>

#include <exception>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>

namespace zvo {

namespace {

// A listing bigger than this is no directory of ours; it is refused rather than held.
constexpr qsizetype kMaxListingBytes = 64 * 1024 * 1024;

CURL *handleOf(void *p)
{
    return static_cast<CURL *>(p);
}

long seconds(int ms)
{
    return ms <= 0 ? 0L : static_cast<long>((ms + 999) / 1000);
}

// The path out of a 257 reply: 257 "/ZVODL" is the current directory ("" is a quote).
bool parsePwdReply(const QString &line, QString &path)
{
    if (!line.startsWith(QLatin1String("257")))
        return false;
    qsizetype i = line.indexOf('"');
    if (i < 0)
        return false;
    QString out;
    for (++i; i < line.size(); ++i) {
        if (line.at(i) != '"') {
            out += line.at(i);
        } else if (i + 1 < line.size() && line.at(i + 1) == '"') {
            out += '"';
            ++i;
        } else {
            path = out;
            return true;
        }
    }
    return false;
}

bool hasControlCharacters(const QString &s)
{
    for (const QChar c : s)
        if (c.unicode() < 32 || c.unicode() == 127)
            return true;
    return false;
}

// Host names and addresses only: nothing that could change the meaning of the URL.
bool validHost(const QString &host)
{
    if (host.isEmpty())
        return false;
    for (const QChar c : host)
        if (!(c.isLetterOrNumber() || c == '.' || c == '-' || c == ':' || c == '_'))
            return false;
    return true;
}

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

// One request on the client's easy handle: the fixed connection settings, what this request
// needs, and the callbacks. C callbacks must not let exceptions through curl; they are kept
// and raised again after the request.
class TFtpClient::TTransfer {
public:
    TTransfer(TFtpClient &client, const QString &url) : FClient(client)
    {
        CURL *h = handleOf(client.FCurl);
        curl_easy_reset(h);
        const TFtpSettings &s = client.FSettings;
        FUrl = url.toUtf8();
        FUser = s.User.toUtf8();
        FPassword = s.Password.toUtf8();
        curl_easy_setopt(h, CURLOPT_URL, FUrl.constData());
        curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "ftp");
        curl_easy_setopt(h, CURLOPT_USERNAME, FUser.constData());
        curl_easy_setopt(h, CURLOPT_PASSWORD, FPassword.constData());
        curl_easy_setopt(h, CURLOPT_PROXY, "");
        // Explicit TLS on the control connection; data connections stay clear (PROT C).
        curl_easy_setopt(h, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_CONTROL));
        curl_easy_setopt(h, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
        curl_easy_setopt(h, CURLOPT_SSLVERSION,
                         static_cast<long>(CURL_SSLVERSION_TLSv1_0 | CURL_SSLVERSION_MAX_TLSv1_2));
        // OpenSSL 3 refuses TLS 1.0 and 1.1 at its default security level.
        curl_easy_setopt(h, CURLOPT_SSL_CIPHER_LIST, "DEFAULT:@SECLEVEL=0");
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 0L);
        curl_easy_setopt(h, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
        curl_easy_setopt(h, CURLOPT_TRANSFERTEXT, 0L);
        // The connection lives as long as we keep it, not curl's idle default of 118 s.
        curl_easy_setopt(h, CURLOPT_MAXAGE_CONN, 365L * 24 * 3600);
        curl_easy_setopt(h, CURLOPT_TCP_KEEPALIVE, 1L);
        curl_easy_setopt(h, CURLOPT_TCP_KEEPIDLE, seconds(s.KeepAliveMs));
        curl_easy_setopt(h, CURLOPT_TCP_KEEPINTVL, seconds(s.KeepAliveMs));
        curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, seconds(s.ReadTimeoutMs));
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, seconds(s.ReadTimeoutMs));
        curl_easy_setopt(h, CURLOPT_BUFFERSIZE, static_cast<long>(s.RecvBufferSize));
        FError[0] = '\0';
        curl_easy_setopt(h, CURLOPT_ERRORBUFFER, FError);
        curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &TTransfer::OnHeader);
        curl_easy_setopt(h, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &TTransfer::OnWrite);
        curl_easy_setopt(h, CURLOPT_WRITEDATA, this);
    }

    ~TTransfer() { curl_slist_free_all(FPostQuote); }

    void NoBody() { curl_easy_setopt(handleOf(FClient.FCurl), CURLOPT_NOBODY, 1L); }

    void PostQuote(const char *command)
    {
        FPostQuote = curl_slist_append(FPostQuote, command);
        curl_easy_setopt(handleOf(FClient.FCurl), CURLOPT_POSTQUOTE, FPostQuote);
    }

    void CustomRequest(const char *command)
    {
        curl_easy_setopt(handleOf(FClient.FCurl), CURLOPT_CUSTOMREQUEST, command);
    }

    // Where the data goes; false from the sink fails the request with a write error.
    void WriteTo(std::function<bool(const char *, size_t)> sink) { FSink = std::move(sink); }

    // Each piece written is reported through OnWork; an abort asked for there stops the
    // transfer before the next piece.
    void WithProgress() { FReportWork = true; }

    CURLcode Perform()
    {
        FClient.FBusy = true;
        FClient.FAbortRequested = false;
        const CURLcode rc = curl_easy_perform(handleOf(FClient.FCurl));
        FClient.FBusy = false;
        FClient.FAbortRequested = false;
        return FAborted ? CURLE_ABORTED_BY_CALLBACK : rc;
    }

    // Raises what a callback raised during the request, if anything did.
    void RethrowCallbackError() const
    {
        if (FCallbackError)
            std::rethrow_exception(FCallbackError);
    }

    QString ErrorText(CURLcode rc) const
    {
        if (rc == CURLE_ABORTED_BY_CALLBACK)
            return QStringLiteral("Transfer aborted");
        const QString general = QString::fromUtf8(curl_easy_strerror(rc));
        const QString detail = QString::fromUtf8(FError).trimmed();
        if (detail.isEmpty() || detail.contains(general))
            return detail.isEmpty() ? general : detail;
        return general + QStringLiteral(" (") + detail + ')';
    }

    long ResponseCode() const
    {
        long code = 0;
        curl_easy_getinfo(handleOf(FClient.FCurl), CURLINFO_RESPONSE_CODE, &code);
        return code;
    }

    const QString &PwdPath() const { return FPwdPath; }
    bool HasPwd() const { return FHasPwd; }

private:
    static size_t OnHeader(char *data, size_t size, size_t count, void *self)
    {
        auto *t = static_cast<TTransfer *>(self);
        const QString line = QString::fromUtf8(data, static_cast<qsizetype>(size * count));
        if (parsePwdReply(line, t->FPwdPath))
            t->FHasPwd = true;
        return size * count;
    }

    static size_t OnWrite(char *data, size_t size, size_t count, void *self)
    {
        auto *t = static_cast<TTransfer *>(self);
        const size_t bytes = size * count;
        if (!t->FSink)
            return bytes; // header-like lines of a size probe
        try {
            if (!t->FSink(data, bytes))
                return 0;
            if (t->FReportWork) {
                t->FWork += static_cast<qint64>(bytes);
                if (t->FClient.OnWork)
                    t->FClient.OnWork(t->FWork);
            }
        } catch (...) {
            t->FCallbackError = std::current_exception();
            return 0;
        }
        if (t->FClient.FAbortRequested) {
            t->FAborted = true;
            return 0;
        }
        return bytes;
    }

    TFtpClient &FClient;
    QByteArray FUrl, FUser, FPassword;
    char FError[CURL_ERROR_SIZE];
    curl_slist *FPostQuote = nullptr;
    std::function<bool(const char *, size_t)> FSink;
    bool FReportWork = false;
    bool FAborted = false;
    qint64 FWork = 0;
    QString FPwdPath;
    bool FHasPwd = false;
    std::exception_ptr FCallbackError;
};

TFtpClient::TFtpClient(TFtpSettings settings) : FSettings(std::move(settings))
{
    initCurlOnce();
}

TFtpClient::~TFtpClient()
{
    OnDisconnected = nullptr; // whoever listened may be gone already
    OnWork = nullptr;
    if (!FBusy)
        Disconnect();
}

QString TFtpClient::UrlOf(const QString &serverPath) const
{
    const QString host = FSettings.Host.contains(':') ? '[' + FSettings.Host + ']' : FSettings.Host;
    QString url = QStringLiteral("ftp://%1:%2/").arg(host).arg(FSettings.Port);
    if (serverPath.isEmpty())
        return url; // log in only, no change of folder
    // "%2F" makes the path absolute rather than relative to the login folder.
    return url + QStringLiteral("%2F")
         + QString::fromLatin1(QUrl::toPercentEncoding(serverPath.mid(1), "/"));
}

QString TFtpClient::ResolvePath(const QString &path, bool directory) const
{
    if (hasControlCharacters(path))
        throw EFtpError(QStringLiteral("Invalid server path: %1").arg(path));
    QString full = path.startsWith('/') ? path : FCurrentDir + path;
    if (directory && !full.endsWith('/'))
        full += '/';
    return full;
}

bool TFtpClient::ConnectionAlive() const
{
    curl_socket_t s = CURL_SOCKET_BAD;
    if (!FCurl || curl_easy_getinfo(handleOf(FCurl), CURLINFO_ACTIVESOCKET, &s) != CURLE_OK
        || s == CURL_SOCKET_BAD)
        return false;
    pollfd p{s, POLLIN, 0};
    const int ready = poll(&p, 1, 0);
    if (ready == 0)
        return true;
    if (ready < 0)
        return errno == EINTR;
    // Between requests the server has nothing to say: end of stream, a reset, or words
    // nobody asked for (a 421 before it hangs up) all mean the connection is over.
    char c;
    const ssize_t n = recv(s, &c, 1, MSG_PEEK | MSG_DONTWAIT);
    return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
}

void TFtpClient::CloseHandle(bool dead)
{
    if (!FCurl)
        return;
    curl_socket_t s = CURL_SOCKET_BAD;
    if (dead && curl_easy_getinfo(handleOf(FCurl), CURLINFO_ACTIVESOCKET, &s) == CURLE_OK
        && s != CURL_SOCKET_BAD)
        shutdown(s, SHUT_RDWR); // so the clean-up's QUIT cannot wait on a silent server
    curl_easy_cleanup(handleOf(FCurl));
    FCurl = nullptr;
    FControlPort = 0;
}

void TFtpClient::ConnectionLost()
{
    CloseHandle(true);
    const bool was = FConnected;
    FConnected = false;
    if (was && OnDisconnected)
        OnDisconnected();
}

void TFtpClient::CheckConnectionAfter(bool transferFailed)
{
    curl_socket_t s = CURL_SOCKET_BAD;
    curl_easy_getinfo(handleOf(FCurl), CURLINFO_ACTIVESOCKET, &s);
    if (s == CURL_SOCKET_BAD || (transferFailed && !ConnectionAlive())) {
        ConnectionLost();
        return;
    }
    curl_easy_getinfo(handleOf(FCurl), CURLINFO_LOCAL_PORT, &FControlPort);
}

void TFtpClient::RequireIdleConnection()
{
    if (FBusy)
        throw EFtpError(QStringLiteral("The download client is busy with another transfer"));
    if (!FConnected)
        throw EFtpError(QStringLiteral("Not connected"));
    if (!ConnectionAlive()) {
        ConnectionLost();
        throw EFtpError(QStringLiteral("Connection closed by the server"), CURLE_RECV_ERROR);
    }
}

void TFtpClient::Connect()
{
    if (FBusy)
        throw EFtpError(QStringLiteral("The download client is busy with another transfer"));
    if (Connected())
        return;
    if (!validHost(FSettings.Host))
        throw EFtpError(QStringLiteral("Invalid server name: %1").arg(FSettings.Host));
    CloseHandle(true);
    FCurl = curl_easy_init();
    if (!FCurl)
        throw EFtpError(QStringLiteral("Cannot create the FTP session"));
    FNoMlsd = false;
    FCurrentDir = QStringLiteral("/");
    TTransfer t(*this, UrlOf(QString()));
    t.NoBody();
    const CURLcode rc = t.Perform();
    if (rc != CURLE_OK) {
        const QString message = t.ErrorText(rc);
        CloseHandle(true);
        throw EFtpError(message, rc);
    }
    FConnected = true;
    curl_easy_getinfo(handleOf(FCurl), CURLINFO_LOCAL_PORT, &FControlPort);
    if (t.HasPwd())
        FCurrentDir = t.PwdPath().endsWith('/') ? t.PwdPath() : t.PwdPath() + '/';
}

bool TFtpClient::Connected()
{
    if (FConnected && !FBusy && !ConnectionAlive())
        ConnectionLost();
    return FConnected;
}

void TFtpClient::ChangeDir(const QString &path)
{
    RequireIdleConnection();
    const QString target = ResolvePath(path, true);
    TTransfer t(*this, UrlOf(target));
    t.NoBody();
    t.PostQuote("PWD");
    const CURLcode rc = t.Perform();
    CheckConnectionAfter(rc != CURLE_OK);
    if (rc != CURLE_OK)
        throw EFtpError(t.ErrorText(rc), rc);
    FPwdReply = t.HasPwd() ? t.PwdPath() : target;
    FCurrentDir = FPwdReply.endsWith('/') ? FPwdReply : FPwdReply + '/';
}

QString TFtpClient::RetrieveCurrentDir()
{
    ChangeDir(FCurrentDir);
    return FPwdReply;
}

void TFtpClient::List()
{
    RequireIdleConnection();
    if (!FNoMlsd && ListWith("MLSD"))
        return;
    ListWith(nullptr); // LIST
}

bool TFtpClient::ListWith(const char *command)
{
    QByteArray raw;
    TTransfer t(*this, UrlOf(FCurrentDir));
    if (command)
        t.CustomRequest(command);
    t.WriteTo([&raw](const char *data, size_t n) {
        if (raw.size() + static_cast<qsizetype>(n) > kMaxListingBytes)
            return false;
        raw.append(data, static_cast<qsizetype>(n));
        return true;
    });
    const CURLcode rc = t.Perform();
    // 500-504: the server does not know MLSD, and LIST takes over from now on.
    if (command && rc != CURLE_OK && t.ResponseCode() >= 500 && t.ResponseCode() <= 504
        && ConnectionAlive()) {
        FNoMlsd = true;
        return false;
    }
    CheckConnectionAfter(rc != CURLE_OK);
    if (rc == CURLE_WRITE_ERROR)
        throw EFtpError(QStringLiteral("Directory listing too large"), rc);
    if (rc != CURLE_OK)
        throw EFtpError(t.ErrorText(rc), rc);
    FListing = ParseListing(raw, command != nullptr);
    return true;
}

qint64 TFtpClient::Size(const QString &fileName)
{
    RequireIdleConnection();
    TTransfer t(*this, UrlOf(ResolvePath(fileName, false)));
    t.NoBody();
    const CURLcode rc = t.Perform();
    CheckConnectionAfter(rc != CURLE_OK);
    if (rc != CURLE_OK)
        throw EFtpError(t.ErrorText(rc), rc);
    curl_off_t size = -1;
    curl_easy_getinfo(handleOf(FCurl), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size);
    if (size < 0)
        throw EFtpError(QStringLiteral("The server did not report the size of %1").arg(fileName));
    return static_cast<qint64>(size);
}

void TFtpClient::Get(const QString &remoteName, const QString &localPath)
{
    RequireIdleConnection();
    const QString url = UrlOf(ResolvePath(remoteName, false));
    const QString host = HostPath(localPath);
    if (host.isEmpty())
        throw EFtpError(QStringLiteral("Invalid local path: %1").arg(localPath));
    QSaveFile file(host);
    if (!file.open(QIODevice::WriteOnly))
        throw EFtpError(QStringLiteral("Cannot create %1: %2").arg(localPath, file.errorString()));
    TTransfer t(*this, url);
    t.WriteTo([&file](const char *data, size_t n) {
        return file.write(data, static_cast<qint64>(n)) == static_cast<qint64>(n);
    });
    t.WithProgress();
    const CURLcode rc = t.Perform();
    if (rc != CURLE_OK)
        file.cancelWriting();
    CheckConnectionAfter(rc != CURLE_OK);
    t.RethrowCallbackError();
    if (rc == CURLE_WRITE_ERROR)
        throw EFtpError(QStringLiteral("Cannot write %1: %2").arg(localPath, file.errorString()), rc);
    if (rc != CURLE_OK)
        throw EFtpError(t.ErrorText(rc), rc);
    if (!file.commit())
        throw EFtpError(QStringLiteral("Cannot write %1: %2").arg(localPath, file.errorString()));
}

void TFtpClient::Abort()
{
    if (FBusy)
        FAbortRequested = true;
}

void TFtpClient::Disconnect()
{
    if (FBusy)
        throw EFtpError(QStringLiteral("The download client is busy with another transfer"));
    CloseHandle(!ConnectionAlive());
    const bool was = FConnected;
    FConnected = false;
    if (was && OnDisconnected)
        OnDisconnected();
}

} // namespace zvo
