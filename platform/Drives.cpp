#include "Drives.h"

#include "FileSystem.h"
#include "IniFile.h"
#include "WinPath.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace zvo {

TDriveTable &TDriveTable::Instance()
{
    static TDriveTable table;
    return table;
}

void TDriveTable::EnsureLoaded() const
{
    if (FLoaded)
        return;
    auto *self = const_cast<TDriveTable *>(this);
    self->FLoaded = true;
    const QString ini = QFileInfo(ProgramHostPath()).absolutePath() + "/ZVODrives.ini";
    if (QFileInfo::exists(ini)) {
        self->LoadFrom(ini);
        if (!FDrives.empty())
            return;
    }
    self->FDrives['C'] = QDir::homePath() + "/.local/share/zvo/drive_c";
    self->FDrives['Z'] = "/";
}

void TDriveTable::LoadFrom(const QString &iniHostPath)
{
    const TIniFile ini = TIniFile::FromHostPath(iniHostPath);
    FSource = iniHostPath;
    for (const QString &key : ini.ReadSection("Drives")) {
        const QString folder = ini.ReadString("Drives", key, QString());
        if (key.size() == 1 && key.at(0).isLetter() && !folder.isEmpty())
            FDrives[key.at(0).toUpper()] = QDir::cleanPath(folder);
    }
}

void TDriveTable::Clear()
{
    FDrives.clear();
    FSource.clear();
    FLoaded = true;
}

void TDriveTable::SetDrive(QChar letter, const QString &hostFolder)
{
    EnsureLoaded();
    FDrives[letter.toUpper()] = QDir::cleanPath(hostFolder);
}

QString TDriveTable::HostFolder(QChar letter) const
{
    EnsureLoaded();
    const auto it = FDrives.find(letter.toUpper());
    return it == FDrives.end() ? QString() : it->second;
}

QStringList TDriveTable::LogicalDrives() const
{
    EnsureLoaded();
    QStringList drives;
    for (const auto &d : FDrives)
        drives << QString(d.first) + ":\\";
    return drives;
}

namespace {

// The entry of `dir` whose name matches `name` without regard to case, preferring an exact
// match; empty when there is none.
QString findEntry(const QString &dir, const QString &name)
{
    if (QFileInfo::exists(dir + '/' + name))
        return name;
    const QStringList entries =
        QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return e;
    return QString();
}

} // namespace

QString TDriveTable::ToHost(const QString &winPath) const
{
    const QString full = ExpandFileName(winPath);
    if (full.size() < 2 || full.at(1) != ':')
        return QString();
    QString host = HostFolder(full.at(0));
    if (host.isEmpty())
        return QString();
    if (host == "/")
        host.clear();
    bool exists = true;
    for (const QString &part : full.mid(3).split('\\', Qt::SkipEmptyParts)) {
        QString name = part;
        if (exists) {
            const QString found = findEntry(host.isEmpty() ? "/" : host, part);
            if (found.isEmpty())
                exists = false;
            else
                name = found;
        }
        host += '/' + name;
    }
    return host.isEmpty() ? QString("/") : host;
}

QString TDriveTable::ToWindows(const QString &hostPath) const
{
    EnsureLoaded();
    const QString abs = QDir::cleanPath(QFileInfo(hostPath).absoluteFilePath());
    QChar best;
    qsizetype bestLen = -1;
    for (const auto &d : FDrives) {
        const QString &folder = d.second;
        const bool under = folder == "/" || abs == folder || abs.startsWith(folder + '/');
        const qsizetype len = folder == "/" ? 0 : folder.size();
        if (under && len > bestLen) {
            best = d.first;
            bestLen = len;
        }
    }
    if (bestLen < 0) // not under any drive: reach it through Z: all the same
        return "Z:" + QString(abs).replace('/', '\\');
    QString rest = abs.mid(bestLen);
    rest.replace('/', '\\');
    if (!rest.startsWith('\\'))
        rest.prepend('\\');
    return QString(best) + ':' + rest;
}

qint64 TDriveTable::DiskFree(QChar letter) const
{
    const QString host = HostFolder(letter);
    if (host.isEmpty())
        return -1;
    QDir().mkpath(host);
    return QStorageInfo(host).bytesAvailable();
}

qint64 TDriveTable::DiskSize(QChar letter) const
{
    const QString host = HostFolder(letter);
    if (host.isEmpty())
        return -1;
    QDir().mkpath(host);
    return QStorageInfo(host).bytesTotal();
}

QString ExpandFileName(const QString &winPath)
{
    QString p = winPath;
    p.replace('/', '\\');
    const bool isDir = p.endsWith('\\');
    QString drive;
    if (p.size() >= 2 && p.at(1) == ':' && p.at(0).isLetter()) {
        drive = QString(p.at(0).toUpper()) + ':';
        p = p.mid(2);
        if (!p.startsWith('\\')) // "C:x" is relative to C:'s root here: one current folder
            p.prepend('\\');
    } else {
        const QString cur = GetCurrentDir();
        drive = cur.left(2);
        if (!p.startsWith('\\'))
            p = IncludeTrailingBackslash(cur.mid(2)) + p;
    }
    QStringList out;
    for (const QString &part : p.split('\\', Qt::SkipEmptyParts)) {
        if (part == ".")
            continue;
        if (part == "..") {
            if (!out.isEmpty())
                out.removeLast();
            continue;
        }
        out << part;
    }
    QString result = drive + '\\' + out.join('\\');
    if (isDir && !out.isEmpty())
        result += '\\';
    return result;
}

} // namespace zvo
