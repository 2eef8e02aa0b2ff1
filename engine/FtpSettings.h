#pragma once
// Where and how the download client connects: the maker's server and account, compiled in,
// over which the "Server" section of the installer's settings file may write its own.
#include <QString>

namespace zvo {

struct TFtpSettings {
    QString Host = QStringLiteral("ftp.zvofamily.example");
    int Port = 21;
    QString User = QStringLiteral("zvodl@zvofamily.example");
    QString Password = QStringLiteral("V12dlSecret!");

    int KeepAliveMs = 10000;   // first probe after this much idle time, then this often
    int ReadTimeoutMs = 60000; // a reply or data that does not come for this long fails
    int RecvBufferSize = 65536;

    // Keys "Host", "Port", "User", "Password" of section "Server"; an absent or unusable
    // value keeps the compiled-in one. A missing file gives the defaults.
    static TFtpSettings FromSettingsFile(const QString &winPath);
};

} // namespace zvo
