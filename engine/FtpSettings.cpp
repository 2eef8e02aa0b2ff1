#include "FtpSettings.h"

#include "IniFile.h"

namespace zvo {

namespace {

// A key's value, or the fallback when the key is absent or empty (the file trims values).
QString valueOr(const TIniFile &ini, const char *key, const QString &fallback)
{
    const QString v = ini.ReadString(QStringLiteral("Server"), QString::fromLatin1(key), QString());
    return v.isEmpty() ? fallback : v;
}

} // namespace

TFtpSettings TFtpSettings::FromSettingsFile(const QString &winPath)
{
    TFtpSettings s;
    const TIniFile ini(winPath);
    s.Host = valueOr(ini, "Host", s.Host);
    s.User = valueOr(ini, "User", s.User);
    s.Password = valueOr(ini, "Password", s.Password);
    const int port = ini.ReadInteger(QStringLiteral("Server"), QStringLiteral("Port"), s.Port);
    if (port > 0 && port <= 65535)
        s.Port = port;
    return s;
}

} // namespace zvo
