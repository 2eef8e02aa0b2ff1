#include "FileSystem.h"

#include "Drives.h"
#include "WinPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <unistd.h>

namespace zvo {

QString HostPath(const QString &winPath)
{
    return TDriveTable::Instance().ToHost(winPath);
}

QString WindowsPath(const QString &hostPath)
{
    return TDriveTable::Instance().ToWindows(hostPath);
}

QString ProgramHostPath()
{
    return QFileInfo("/proc/self/exe").canonicalFilePath();
}

QString ProgramFileName()
{
    return WindowsPath(ProgramHostPath());
}

QString ProgramDir()
{
    return ExtractFilePath(ProgramFileName());
}

namespace {

QString &currentDir()
{
    static QString dir;
    return dir;
}

} // namespace

QString GetCurrentDir()
{
    QString &cur = currentDir();
    if (cur.isEmpty())
        cur = IncludeTrailingBackslash(WindowsPath(QDir::currentPath()));
    return cur;
}

bool SetCurrentDir(const QString &dir)
{
    const QString full = IncludeTrailingBackslash(ExpandFileName(dir));
    const QString host = HostPath(full);
    if (host.isEmpty() || !QFileInfo(host).isDir())
        return false;
    currentDir() = full;
    // Keep the host process in step, so host-relative paths of libraries agree with ours;
    // our own paths never depend on it.
    if (::chdir(QFile::encodeName(host).constData()) != 0)
        qWarning("could not follow the current directory on the host: %s", qPrintable(host));
    return true;
}

bool FileExists(const QString &path)
{
    const QString host = HostPath(path);
    return !host.isEmpty() && QFileInfo(host).isFile();
}

bool DirectoryExists(const QString &path)
{
    const QString host = HostPath(path);
    return !host.isEmpty() && QFileInfo(host).isDir();
}

bool ForceDirectories(const QString &dir)
{
    const QString host = HostPath(ExcludeTrailingBackslash(dir));
    return !host.isEmpty() && QDir().mkpath(host);
}

bool RemoveDir(const QString &dir)
{
    const QString host = HostPath(ExcludeTrailingBackslash(dir));
    return !host.isEmpty() && QDir().rmdir(host);
}

bool RemoveDirRecursive(const QString &dir)
{
    const QString host = HostPath(ExcludeTrailingBackslash(dir));
    return !host.isEmpty() && QFileInfo(host).isDir() && QDir(host).removeRecursively();
}

bool DeleteFile(const QString &path)
{
    const QString host = HostPath(path);
    return !host.isEmpty() && QFileInfo(host).isFile() && QFile::remove(host);
}

bool RenameFile(const QString &from, const QString &to)
{
    const QString src = HostPath(from), dst = HostPath(to);
    return !src.isEmpty() && !dst.isEmpty() && QFile::rename(src, dst);
}

bool CopyFileReplacing(const QString &from, const QString &to)
{
    const QString src = HostPath(from), dst = HostPath(to);
    if (src.isEmpty() || dst.isEmpty() || !QFileInfo(src).isFile())
        return false;
    QFile in(src);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QFileInfo target(dst);
    if (target.exists() && !target.isWritable())
        return false; // a read-only target is not replaced, as on Windows
    QTemporaryFile out(target.absolutePath() + "/.zvocopy-XXXXXX");
    if (!out.open())
        return false;
    static constexpr qint64 chunk = 1 << 20;
    QByteArray buffer(chunk, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(buffer.data(), chunk);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        if (out.write(buffer.constData(), n) != n)
            return false;
    }
    out.setPermissions(in.permissions());
    if (!out.flush())
        return false;
    out.setFileTime(QFileInfo(src).lastModified(), QFileDevice::FileModificationTime);
    out.close();
    QFile::remove(dst);
    if (!out.rename(dst))
        return false;
    out.setAutoRemove(false);
    return true;
}

namespace {

TSearchRec toSearchRec(const QFileInfo &fi)
{
    TSearchRec r;
    r.Name = fi.fileName();
    r.IsDirectory = fi.isDir();
    r.Hidden = r.Name.startsWith('.');
    r.ReadOnly = !fi.isWritable();
    r.Size = fi.isDir() ? 0 : fi.size();
    r.LastWrite = fi.lastModified();
    return r;
}

QList<TSearchRec> list(const QString &dir, QDir::Filters kind, const QString &mask,
                       bool includeHidden)
{
    QList<TSearchRec> result;
    const QString host = HostPath(IncludeTrailingBackslash(dir));
    if (host.isEmpty())
        return result;
    QDir::Filters filters = kind | QDir::NoDotAndDotDot;
    if (includeHidden)
        filters |= QDir::Hidden;
    for (const QFileInfo &fi : QDir(host).entryInfoList(filters)) {
        if (!includeHidden && fi.fileName().startsWith('.'))
            continue;
        if (MatchesMask(fi.fileName(), mask))
            result << toSearchRec(fi);
    }
    std::sort(result.begin(), result.end(), [](const TSearchRec &a, const TSearchRec &b) {
        return a.Name.compare(b.Name, Qt::CaseInsensitive) < 0;
    });
    return result;
}

} // namespace

QList<TSearchRec> ListFiles(const QString &dir, const QString &mask, bool includeHidden)
{
    return list(dir, QDir::Files, mask, includeHidden);
}

QList<TSearchRec> ListDirectories(const QString &dir, bool includeHidden)
{
    return list(dir, QDir::Dirs, "*", includeHidden);
}

std::optional<QDateTime> FileLastWriteTime(const QString &path)
{
    const QString host = HostPath(path);
    const QFileInfo fi(host);
    if (host.isEmpty() || !fi.exists())
        return std::nullopt;
    return fi.lastModified();
}

bool SetFileLastWriteTime(const QString &path, const QDateTime &time)
{
    QFile f(HostPath(path));
    return f.open(QIODevice::ReadWrite) && f.setFileTime(time, QFileDevice::FileModificationTime);
}

qint64 FileSize(const QString &path)
{
    const QFileInfo fi(HostPath(path));
    return fi.isFile() ? fi.size() : -1;
}

} // namespace zvo
