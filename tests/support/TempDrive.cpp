#include "TempDrive.h"

#include "Drives.h"
#include "FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <stdexcept>

namespace zvo::test {

TempDrive::TempDrive(QChar letter) : FLetter(letter.toUpper())
{
    if (!FDir.isValid())
        throw std::runtime_error("cannot make a temporary folder");
    TDriveTable &table = TDriveTable::Instance();
    table.Clear();
    table.SetDrive('Z', "/");
    table.SetDrive(FLetter, FDir.path());
    SetCurrentDir(Root());
}

TempDrive::~TempDrive()
{
    // Leave the folder before it goes, and make a read-only test folder removable again.
    SetCurrentDir("Z:\\tmp\\");
    for (const QString &path : FImmutable) {
        QProcess::execute("chattr", {"-i", path});
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QDir(FDir.path()).removeRecursively();
}

void TempDrive::WriteFile(const QString &relative, const QByteArray &bytes) const
{
    const QString path = Host(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

void TempDrive::MakeReadOnly(const QString &relative)
{
    const QString path = Host(relative);
    const bool dir = QFileInfo(path).isDir();
    QFile(path).setPermissions(dir ? QFile::ReadOwner | QFile::ExeOwner : QFile::ReadOwner);
    if (QProcess::execute("chattr", {"+i", path}) == 0)
        FImmutable << path;
}

QByteArray TempDrive::ReadFile(const QString &relative) const
{
    QFile f(Host(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace zvo::test
