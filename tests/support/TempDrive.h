#pragma once
// A temporary folder mapped as a drive letter (C: unless told otherwise), with Z: as "/".
// The drive table is reset to just these two; the folder is removed with the object.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace zvo::test {

class TempDrive {
public:
    explicit TempDrive(QChar letter = 'C');
    ~TempDrive();

    QChar Letter() const { return FLetter; }
    QString Root() const { return QString(FLetter) + ":\\"; }
    QString HostRoot() const { return FDir.path(); }
    // Host path of a path relative to the drive root, written with "/".
    QString Host(const QString &relative) const { return FDir.path() + '/' + relative; }

    // Writes a host file (parents created) and reads one back.
    void WriteFile(const QString &relative, const QByteArray &bytes) const;
    QByteArray ReadFile(const QString &relative) const;
    // Makes a file or folder read-only for real, also for root (which ignores file modes):
    // the immutable attribute is set as well, and cleared again with the drive.
    void MakeReadOnly(const QString &relative);

private:
    QTemporaryDir FDir;
    QChar FLetter;
    QStringList FImmutable;
};

} // namespace zvo::test
