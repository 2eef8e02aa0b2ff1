#pragma once
// The drive table: Windows drive letters mapped to host folders. Every Windows path of the
// system becomes a host path here and nowhere else.
#include <QChar>
#include <QString>
#include <QStringList>
#include <map>

namespace zvo {

class TDriveTable {
public:
    // The process's table. Filled on first use from "ZVODrives.ini" beside the program
    // (section "Drives", keys "C", "D", ...), or with the defaults: C: is
    // ~/.local/share/zvo/drive_c (created when first used) and Z: is "/".
    static TDriveTable &Instance();

    void Clear();
    void SetDrive(QChar letter, const QString &hostFolder);
    QString HostFolder(QChar letter) const;
    // "C:\", "D:\", ... in letter order.
    QStringList LogicalDrives() const;
    // The settings file the table came from (empty when the defaults are in force).
    QString SourceFile() const { return FSource; }

    // An absolute or relative Windows path as a host path. Existing components are found
    // without regard to case; the rest keep the case given. Empty for an unmapped drive.
    QString ToHost(const QString &winPath) const;
    // A host path as a Windows path: through the mapped drive with the longest matching
    // folder, else through Z:.
    QString ToWindows(const QString &hostPath) const;

    qint64 DiskFree(QChar letter) const;  // bytes, -1 when the drive is unknown
    qint64 DiskSize(QChar letter) const;

private:
    TDriveTable() = default;
    void EnsureLoaded() const;
    void LoadFrom(const QString &iniHostPath);

    std::map<QChar, QString> FDrives;
    QString FSource;
    bool FLoaded = false;
};

// A Windows path made absolute against the current directory, with "." and ".." resolved and
// "/" turned into "\"; a directory keeps the trailing "\" it was given.
QString ExpandFileName(const QString &winPath);

} // namespace zvo
