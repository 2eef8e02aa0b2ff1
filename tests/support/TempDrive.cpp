#include "TempDrive.h"

#include "Drives.h"
#include "FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

QByteArray TempDrive::ReadFile(const QString &relative) const
{
    QFile f(Host(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace zvo::test
