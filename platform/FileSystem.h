#pragma once
// File operations on Windows paths. Names are matched without regard to case (see
// TDriveTable::ToHost); a name starting with "." is hidden.
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace zvo {

struct TSearchRec {
    QString Name;
    bool IsDirectory = false;
    bool Hidden = false;
    bool ReadOnly = false;
    qint64 Size = 0;
    QDateTime LastWrite;
};

// The running program's file as a host path and as Windows paths.
QString ProgramHostPath();
QString ProgramFileName();
QString ProgramDir(); // with trailing "\"

// The process's current directory, held as a Windows path with trailing "\". Setting it
// to a folder that does not exist fails and changes nothing.
QString GetCurrentDir();
bool SetCurrentDir(const QString &dir);

bool FileExists(const QString &path);
bool DirectoryExists(const QString &path);
// Creates the folder with every missing parent; true when it exists afterwards.
bool ForceDirectories(const QString &dir);
bool RemoveDir(const QString &dir);            // only an empty folder
bool RemoveDirRecursive(const QString &dir);   // the folder and all it holds
bool DeleteFile(const QString &path);
bool RenameFile(const QString &from, const QString &to);
// Copies through a temporary file beside the target, so the target is either the old file or
// the whole new one; the copy keeps the source's last-write time, as Windows copies do.
bool CopyFileReplacing(const QString &from, const QString &to);

// Plain files of `dir` matching `mask`, and sub-directories (without "." and ".."); hidden
// entries only when asked for. Sorted by name without regard to case.
QList<TSearchRec> ListFiles(const QString &dir, const QString &mask = "*",
                            bool includeHidden = false);
QList<TSearchRec> ListDirectories(const QString &dir, bool includeHidden = false);

std::optional<QDateTime> FileLastWriteTime(const QString &path);
bool SetFileLastWriteTime(const QString &path, const QDateTime &time);
qint64 FileSize(const QString &path); // -1 when missing

// The host path of a Windows path (TDriveTable::ToHost of the process's table).
QString HostPath(const QString &winPath);
// The Windows path of a host path (TDriveTable::ToWindows).
QString WindowsPath(const QString &hostPath);

} // namespace zvo
