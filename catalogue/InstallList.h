#pragma once
// The install list: fetched from the download server's "/ZVODL/" folder into the program's
// folder and read into the install table.
#include "FtpClient.h"
#include "InstallTable.h"

#include <QString>

namespace zvo {

// Connects the client when it is not connected, downloads "InstallList.ini" into LocalDir
// (the program's folder unless told otherwise), disconnects, and appends a record per
// section to mtInstall. Every failure shows its own error box and gives false; the client
// is disconnected afterwards in every case.
bool LoadInstallList(TFtpClient &IdFTPDL, TInstallTable &mtInstall,
                     const QString &LocalDir = QString());

} // namespace zvo
