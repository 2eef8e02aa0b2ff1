#include "InstallList.h"

#include "FileSystem.h"
#include "Helpers.h"
#include "InstallListReader.h"
#include "WinPath.h"

namespace zvo {

namespace {

const QString kListName = QStringLiteral("InstallList.ini");

bool connectClient(TFtpClient &IdFTPDL)
{
    try {
        if (!IdFTPDL.Connected())
            IdFTPDL.Connect();
    } catch (const EFtpError &e) {
        // A refused login or TLS negotiation fails the load like a network error does.
        IdFTPDL.Disconnect();
        ShowErrorDlg(QStringLiteral("Error connecting to FTP server\r") + e.Message());
        return false;
    }
    if (!IdFTPDL.Connected()) {
        ShowErrorDlg(QStringLiteral("Could not connect to FTP server to get InstallList.ini"));
        return false;
    }
    return true;
}

bool downloadList(TFtpClient &IdFTPDL, const QString &localFile)
{
    try {
        IdFTPDL.ChangeDir(QStringLiteral("/ZVODL/"));
        IdFTPDL.Get(kListName, localFile);
    } catch (const EFtpError &e) {
        IdFTPDL.Disconnect();
        // A network error has the short message; a refusal says what the server refused.
        ShowErrorDlg(e.IsNetworkError()
                         ? QStringLiteral("Error downloading InstallList.ini")
                         : QStringLiteral("Error downloading InstallList.ini\r") + e.Message());
        return false;
    }
    IdFTPDL.Disconnect();
    return true;
}

} // namespace

bool LoadInstallList(TFtpClient &IdFTPDL, TInstallTable &mtInstall, const QString &LocalDir)
{
    const QString dir = IncludeTrailingBackslash(LocalDir.isEmpty() ? ProgramDir() : LocalDir);
    const QString localFile = dir + kListName;
    if (!connectClient(IdFTPDL) || !downloadList(IdFTPDL, localFile))
        return false;
    if (!FileExists(localFile)) {
        ShowErrorDlg(QStringLiteral("Error getting InstallList.ini"));
        return false;
    }
    QString error;
    if (!ReadInstallList(localFile, mtInstall, error)) {
        ShowErrorDlg(error);
        return false;
    }
    return true;
}

} // namespace zvo
