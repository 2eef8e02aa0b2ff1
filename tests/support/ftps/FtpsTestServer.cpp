#include "FtpsTestServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <stdexcept>

namespace {

// The Debian interpreter: the one on PATH may lack pyftpdlib and pyOpenSSL.
const char *const kPython = "/usr/bin/python3";
constexpr int kStartTimeoutMs = 15000;
constexpr int kStopGraceMs = 3000;

// One certificate for the whole test process: the first server writes it, later ones reuse
// it and skip the openssl run.
QString sharedCertificatePath()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/zvo-ftps-cert-XXXXXX"));
    return dir.isValid() ? dir.filePath(QStringLiteral("server.pem")) : QString();
}

QString readText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).trimmed();
}

QString listStyleArgument(FtpsServerOptions::ListStyle style)
{
    switch (style) {
    case FtpsServerOptions::ListStyle::Dos:
        return QStringLiteral("dos");
    case FtpsServerOptions::ListStyle::Dos4:
        return QStringLiteral("dos4");
    case FtpsServerOptions::ListStyle::Unix:
        break;
    }
    return QStringLiteral("unix");
}

} // namespace

FtpsTestServer::FtpsTestServer(QString rootHostPath, FtpsServerOptions options)
    : m_root(std::move(rootHostPath)), m_options(std::move(options))
{
}

FtpsTestServer::~FtpsTestServer()
{
    stop();
}

bool FtpsTestServer::isRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

QString FtpsTestServer::url(const QString &serverPath) const
{
    QString path = serverPath.startsWith('/') ? serverPath : '/' + serverPath;
    return QStringLiteral("ftp://%1:%2%3").arg(host()).arg(m_port).arg(path);
}

void FtpsTestServer::start()
{
    if (isRunning())
        return;
    if (!m_scratch.isValid())
        throw std::runtime_error("FtpsTestServer: no temporary folder for the server's files");
    if (!QFileInfo(m_root).isDir())
        throw std::runtime_error(
            QStringLiteral("FtpsTestServer: root folder does not exist: %1").arg(m_root)
                .toStdString());

    const QString errFile = m_scratch.filePath(QStringLiteral("stderr.txt"));
    const QString logFile = m_scratch.filePath(QStringLiteral("commands.log"));
    QFile::remove(errFile);
    QFile::remove(logFile);

    QStringList args{QStringLiteral(ZVO_FTPS_SERVER_SCRIPT),
                     QStringLiteral("--root"), m_root,
                     QStringLiteral("--user"), m_options.user,
                     QStringLiteral("--password"), m_options.password,
                     QStringLiteral("--log"), logFile,
                     QStringLiteral("--list-style"), listStyleArgument(m_options.listStyle),
                     // Our end of its stdin closes when this process dies in any way, so a
                     // crashed test leaves no server behind.
                     QStringLiteral("--exit-on-stdin-eof")};
    const QString cert = sharedCertificatePath();
    if (!cert.isEmpty())
        args << QStringLiteral("--cert") << cert;
    if (m_options.dropAfterBytes >= 0)
        args << QStringLiteral("--drop-after") << QString::number(m_options.dropAfterBytes);
    if (m_options.refuseLogin)
        args << QStringLiteral("--refuse-login");
    if (m_options.slowReplyMs > 0)
        args << QStringLiteral("--slow-ms") << QString::number(m_options.slowReplyMs);
    if (m_options.slowDataMs > 0)
        args << QStringLiteral("--slow-data-ms") << QString::number(m_options.slowDataMs);
    if (m_options.idleTimeoutSeconds > 0)
        args << QStringLiteral("--idle-timeout")
             << QString::number(m_options.idleTimeoutSeconds, 'g', 6);
    if (m_options.noMlsd)
        args << QStringLiteral("--no-mlsd");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Settings meant for another interpreter would break the Debian one.
    env.remove(QStringLiteral("PYTHONHOME"));
    env.remove(QStringLiteral("PYTHONPATH"));
    env.insert(QStringLiteral("PYTHONDONTWRITEBYTECODE"), QStringLiteral("1"));

    m_process = std::make_unique<QProcess>();
    m_process->setProcessEnvironment(env);
    m_process->setProgram(QString::fromLatin1(kPython));
    m_process->setArguments(args);
    // Into a file, not a pipe: without an event loop nobody drains a pipe, and a full one
    // would block the server.
    m_process->setStandardErrorFile(errFile);
    m_process->start(QIODevice::ReadWrite);

    auto fail = [&](const QString &what) {
        stop();
        QString message = QStringLiteral("FtpsTestServer: %1").arg(what);
        const QString err = readText(errFile);
        if (!err.isEmpty())
            message += QStringLiteral("\nserver error output:\n") + err;
        throw std::runtime_error(message.toStdString());
    };

    if (!m_process->waitForStarted(kStartTimeoutMs))
        fail(QStringLiteral("cannot start %1: %2")
                 .arg(QString::fromLatin1(kPython), m_process->errorString()));

    QDeadlineTimer deadline(kStartTimeoutMs);
    QByteArray seen;
    for (;;) {
        while (m_process->canReadLine()) {
            const QByteArray line = m_process->readLine().trimmed();
            if (line.startsWith("READY ")) {
                bool ok = false;
                const uint port = line.mid(6).toUInt(&ok);
                if (!ok || port == 0 || port > 65535)
                    fail(QStringLiteral("bad ready line: %1").arg(QString::fromUtf8(line)));
                m_port = quint16(port);
                return;
            }
            seen += line + '\n';
        }
        if (m_process->state() == QProcess::NotRunning) {
            seen += m_process->readAll();
            fail(QStringLiteral("server exited with code %1 before it was ready%2")
                     .arg(m_process->exitCode())
                     .arg(seen.isEmpty() ? QString()
                                         : QStringLiteral("; output: ") + QString::fromUtf8(seen)));
        }
        if (deadline.hasExpired())
            fail(QStringLiteral("server not ready after %1 ms").arg(kStartTimeoutMs));
        m_process->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
}

void FtpsTestServer::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(kStopGraceMs)) {
            m_process->kill();
            m_process->waitForFinished(kStopGraceMs);
        }
    }
    m_process.reset();
    m_port = 0;
}

QStringList FtpsTestServer::commandLog() const
{
    QFile f(m_scratch.filePath(QStringLiteral("commands.log")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

int FtpsTestServer::commandCount(const QString &word) const
{
    int count = 0;
    for (const QString &line : commandLog()) {
        const QStringList parts = line.split(' ', Qt::SkipEmptyParts);
        if (parts.size() >= 2 && parts.at(1).compare(word, Qt::CaseInsensitive) == 0)
            ++count;
    }
    return count;
}
